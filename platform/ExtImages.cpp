#include "platform/ExtImages.h"

namespace vk {

TImage::TImage(TComponent* owner) : TControl(owner) {
  SetBounds(0, 0, 105, 105);
  FPicture.OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  NotifyPeer(ppStyle);
}

void TImage::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  NotifyPeer(ppStyle);
}

void TImage::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  FitToPicture();
}

void TImage::FitToPicture() {
  if (FAutoSize && !FPicture.Empty()) SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
}

void TImage::PictureChanged(TObject*) {
  FitToPicture();
  NotifyPeer(ppPicture);
}

TRect TImage::DestRect() const {
  if (FStretch) return Rect(0, 0, Width(), Height());
  TRect r = Rect(0, 0, FPicture.Width(), FPicture.Height());
  if (FCenter) OffsetRect(r, (Width() - FPicture.Width()) / 2, (Height() - FPicture.Height()) / 2);
  return r;
}

void TImage::PaintTo(TCanvas& canvas) const {
  if (FPicture.Empty()) return;
  if (FStretch)
    canvas.StretchDraw(DestRect(), FPicture.Bitmap());
  else
    canvas.Draw(DestRect().Left, DestRect().Top, FPicture.Bitmap());
}

}  // namespace vk
