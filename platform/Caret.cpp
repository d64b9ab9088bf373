#include "platform/Caret.h"

#include "platform/Controls.h"

namespace vk {

namespace {

TCaretState GCaret;

bool Owns(TWinControl* control) { return GCaret.Owner && (!control || control == GCaret.Owner); }

}  // namespace

bool CreateCaret(TWinControl& control, int width, int height) {
  if (!control.HandleAllocated()) return false;
  GCaret = TCaretState{};
  GCaret.Owner = &control;
  GCaret.Width = width;
  GCaret.Height = height;
  GCaret.HideCount = 1;
  return true;
}

bool DestroyCaret() {
  if (!GCaret.Owner) return false;
  GCaret = TCaretState{};
  return true;
}

bool SetCaretPos(int x, int y) {
  if (!GCaret.Owner) return false;
  GCaret.Pos = {x, y};
  return true;
}

bool GetCaretPos(TPoint& pos) {
  pos = GCaret.Pos;
  return GCaret.Owner != nullptr;
}

bool ShowCaret(TWinControl* control) {
  if (!Owns(control)) return false;
  if (GCaret.HideCount > 0) --GCaret.HideCount;
  return true;
}

bool HideCaret(TWinControl* control) {
  if (!Owns(control)) return false;
  ++GCaret.HideCount;
  return true;
}

const TCaretState& CaretState() { return GCaret; }

}  // namespace vk
