#include "platform/Caret.h"

#include <utility>

#include "platform/Controls.h"

namespace vk {

namespace {

TCaretState GCaret;
TCaretChangeEvent GChangeHandler;

bool Owns(TWinControl* control) { return GCaret.Owner && (!control || control == GCaret.Owner); }

void Changed() {
  if (GChangeHandler) GChangeHandler();
}

}  // namespace

bool CreateCaret(TWinControl& control, int width, int height) {
  if (!control.HandleAllocated()) return false;
  GCaret = TCaretState{};
  GCaret.Owner = &control;
  GCaret.Width = width;
  GCaret.Height = height;
  GCaret.HideCount = 1;
  Changed();
  return true;
}

bool DestroyCaret() {
  if (!GCaret.Owner) return false;
  GCaret = TCaretState{};
  Changed();
  return true;
}

bool SetCaretPos(int x, int y) {
  if (!GCaret.Owner) return false;
  if (GCaret.Pos == TPoint{x, y}) return true;
  GCaret.Pos = {x, y};
  Changed();
  return true;
}

bool GetCaretPos(TPoint& pos) {
  pos = GCaret.Pos;
  return GCaret.Owner != nullptr;
}

bool ShowCaret(TWinControl* control) {
  if (!Owns(control)) return false;
  if (GCaret.HideCount > 0) {
    --GCaret.HideCount;
    Changed();
  }
  return true;
}

bool HideCaret(TWinControl* control) {
  if (!Owns(control)) return false;
  ++GCaret.HideCount;
  Changed();
  return true;
}

const TCaretState& CaretState() { return GCaret; }

TCaretChangeEvent SetCaretChangeHandler(TCaretChangeEvent handler) {
  std::swap(GChangeHandler, handler);
  return handler;
}

}  // namespace vk
