#include "platform/Panels.h"

#include <algorithm>

#include "platform/Canvas.h"

namespace vk {

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == FBevelOuter) return;
  FBevelOuter = value;
  BevelsChanged();
}

void TPanel::SetBevelInner(TBevelCut value) {
  if (value == FBevelInner) return;
  FBevelInner = value;
  BevelsChanged();
}

void TPanel::SetBevelWidth(int value) {
  value = std::max(value, 1);
  if (value == FBevelWidth) return;
  FBevelWidth = value;
  BevelsChanged();
}

void TPanel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  NotifyPeer(ppStyle);
}

void TPanel::BevelsChanged() {
  NotifyPeer(ppStyle);
  Realign();
}

void TPanel::AdjustClientRect(TRect& rect) const {
  int inset = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
  InflateRect(rect, -inset, -inset);
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 105);
  SetColor(clBtnFace);
}

void TGroupBox::AdjustClientRect(TRect& rect) const {
  rect.Top += FontMetrics().TextMetrics(Font().LogFont()).tmHeight;
  InflateRect(rect, -2, -2);
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) {
  if (value == FShape) return;
  FShape = value;
  NotifyPeer(ppStyle);
}

void TBevel::SetStyle(TBevelStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  NotifyPeer(ppStyle);
}

}  // namespace vk
