#pragma once
// The label: a caption on its parent, in its font and colours, without a
// window of its own. With AutoSize (the default) it takes the size of its
// text; a right-aligned label keeps its right edge. An ampersand marks the
// character after it as the label's key ("&&" shows one ampersand): Alt
// and that key focus the label's FocusControl, the field it names.

#include <string>

#include "platform/Controls.h"

namespace vk {

class TLabel : public TControl {
public:
  explicit TLabel(TComponent* owner);
  std::string ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);

  // The caption as it shows: without the ampersands that mark a key.
  std::string DisplayText() const;

protected:
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;
  void Notification(TComponent* component, TOperation operation) override;
  // CM_DIALOGCHAR: the label's key focuses its focus control when it can
  // take the focus.
  void WndProc(TMessage& message) override;

private:
  void AdjustBounds();
  // The virtual key of the marked character (upper-case); 0 without one.
  uint16_t AccelKey() const;

  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
  TWinControl* FFocusControl = nullptr;
};

}  // namespace vk
