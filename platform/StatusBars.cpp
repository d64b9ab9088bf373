#include "platform/StatusBars.h"

namespace vk {

void TStatusPanel::SetText(const std::string& value) {
  if (value == FText) return;
  FText = value;
  Changed(false);
}

void TStatusPanel::SetWidth(int value) {
  if (value == FWidth) return;
  FWidth = value;
  Changed(false);
}

TStatusPanels::TStatusPanels(TStatusBar& bar) : TCollection(&bar), FBar(bar) {}

void TStatusPanels::Update(TCollectionItem*) { FBar.NotifyPeer(ppPanels); }

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 19);
  SetAlign(alBottom);
  SetColor(clBtnFace);
}

}  // namespace vk
