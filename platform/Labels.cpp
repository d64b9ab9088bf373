#include "platform/Labels.h"

#include "platform/Canvas.h"

namespace vk {

TLabel::TLabel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  NotifyPeer(ppStyle);
}

std::string TLabel::DisplayText() const {
  const std::string caption = Caption();
  std::string shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!FAutoSize) return;
  std::unique_ptr<TCanvas> canvas = CreateScreenCanvas();
  canvas->Font().Assign(Font());
  const TSize size = canvas->TextExtent(DisplayText());
  const int left = FAlignment == taRightJustify ? Left() + Width() - size.cx : Left();
  SetBounds(left, Top(), size.cx, size.cy);
}

}  // namespace vk
