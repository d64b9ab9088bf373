#include "platform/Splitters.h"

#include <algorithm>

namespace vk {

TSplitter::TSplitter(TComponent* owner) : TControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
}

TControl* TSplitter::FindControl() const {
  TWinControl* parent = Parent();
  if (!parent || Align() == alNone || Align() == alClient) return nullptr;
  // The edge of the splitter that faces its neighbour.
  const TRect r = BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    const TRect b = c->BoundsRect();
    bool touches = false;
    switch (Align()) {
      case alLeft: touches = b.Right == r.Left; break;
      case alRight: touches = b.Left == r.Right; break;
      case alTop: touches = b.Bottom == r.Top; break;
      case alBottom: touches = b.Top == r.Bottom; break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FControl = FindControl();
  if (!FControl) return;
  FDownPos = Horizontal() ? Top() + y : Left() + x;
  FStartSize = Horizontal() ? FControl->Height() : FControl->Width();
  // What the client area keeps for the rest: the other aligned controls
  // of the same axis stay, alClient keeps MinSize.
  const TWinControl* parent = Parent();
  int taken = 0;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    const TControl* c = parent->Controls(i);
    if (c == FControl || !c->Visible()) continue;
    if (Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) taken += c->Height();
    if (!Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) taken += c->Width();
  }
  const int space = Horizontal() ? parent->ClientHeight() : parent->ClientWidth();
  FMaxSize = std::max(space - taken - FMinSize, FMinSize);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TControl::MouseMove(shift, x, y);
  if (!FControl || !MouseCapture()) return;
  const int pos = Horizontal() ? Top() + y : Left() + x;
  int delta = pos - FDownPos;
  // A control on the far side grows as the splitter moves towards it.
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  const int size = std::clamp(FStartSize + delta, FMinSize, FMaxSize);
  if (size == (Horizontal() ? FControl->Height() : FControl->Width())) return;
  // A control on the far side keeps its far edge where it is.
  const TRect b = FControl->BoundsRect();
  switch (Align()) {
    case alLeft: FControl->SetWidth(size); break;
    case alTop: FControl->SetHeight(size); break;
    case alRight: FControl->SetBounds(b.Right - size, b.Top, size, b.Height()); break;
    default: FControl->SetBounds(b.Left, b.Bottom - size, b.Width(), size); break;
  }
  if (OnMoved) OnMoved(this);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) FControl = nullptr;
  TControl::MouseUp(button, shift, x, y);
}

}  // namespace vk
