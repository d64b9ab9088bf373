#pragma once
// The image control: shows a picture at its top left corner, centred, or
// stretched over the whole control. With AutoSize the control takes the
// size of each picture it gets. It has no window of its own.

#include <string>

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Pictures.h"

namespace vk {

class TImage : public TControl {
public:
  // 105 x 105 pixels.
  explicit TImage(TComponent* owner);
  std::string ClassName() const override { return "TImage"; }

  // Loading or assigning a picture shows it.
  TPicture* Picture() { return &FPicture; }
  const TPicture* Picture() const { return &FPicture; }
  void SetPicture(const TPicture& value) { FPicture.Assign(value); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);
  bool AutoSize() const { return FAutoSize; }
  // Turning it on sizes the control to the picture at once.
  void SetAutoSize(bool value);

  // Where the picture goes in the control: the whole control when
  // stretched, else the picture's size at the top left or in the middle.
  TRect DestRect() const;
  // Draws the picture as the control shows it on a canvas of the control's
  // size.
  void PaintTo(TCanvas& canvas) const;

private:
  void PictureChanged(TObject*);
  void FitToPicture();

  TPicture FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FAutoSize = false;
};

}  // namespace vk
