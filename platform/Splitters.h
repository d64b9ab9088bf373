#pragma once
// The splitter: a bar aligned to one side that the user drags to resize
// the control aligned next to it on that side.

#include <string>

#include "platform/Controls.h"

namespace vk {

class TSplitter : public TControl {
public:
  explicit TSplitter(TComponent* owner);
  std::string ClassName() const override { return "TSplitter"; }

  // The smallest size of the resized control and of what its parent's
  // client area keeps for the rest (30 by default).
  int MinSize() const { return FMinSize; }
  void SetMinSize(int value) { FMinSize = value; }
  // The control it resizes: the visible one aligned the same way that
  // touches it on the side it is aligned to; nullptr when there is none.
  TControl* FindControl() const;

  // Fires after every size the drag gives the control.
  TNotifyEvent OnMoved;

protected:
  // A drag with the left button resizes the control as the pointer moves.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }

  int FMinSize = 30;
  TControl* FControl = nullptr;  // while dragging
  int FDownPos = 0;              // pointer position at the press, parent coordinates
  int FStartSize = 0;
  int FMaxSize = 0;
};

}  // namespace vk
