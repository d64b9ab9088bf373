#include "platform/Labels.h"

#include "platform/Canvas.h"
#include "platform/CodePage.h"

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

void TLabel::SetFocusControl(TWinControl* control) {
  Link(FFocusControl, control);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::WndProc(TMessage& message) {
  if (message.Msg == CM_DIALOGCHAR && Enabled() && FFocusControl && FFocusControl->CanFocus() &&
      AccelKey() == message.WParam) {
    FFocusControl->SetFocus();
    message.Result = 1;
    return;
  }
  TControl::WndProc(message);
}

uint16_t TLabel::AccelKey() const {
  const std::string caption = Caption();
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[++i] != '&') return CodePage::AsciiUpper(static_cast<unsigned char>(caption[i]));
  }
  return 0;
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
