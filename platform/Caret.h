#pragma once
// The caret: one per process, as the system has it. It belongs to a window,
// starts hidden, and hiding counts: it shows only after as many ShowCaret
// calls as there were HideCaret calls (plus the one it was created with).
// The backend draws it from CaretState(); tests read the same.

#include "platform/Events.h"
#include "platform/Graphics.h"

namespace vk {

class TWinControl;

struct TCaretState {
  TWinControl* Owner = nullptr;  // nullptr: there is no caret
  int Width = 0;
  int Height = 0;
  TPoint Pos;
  int HideCount = 0;
  bool Visible() const { return Owner != nullptr && HideCount == 0; }
};

// Replaces any caret with a hidden one of this size at (0, 0) in the
// control's window; false when the window does not exist.
bool CreateCaret(TWinControl& control, int width, int height);
// False when there is no caret.
bool DestroyCaret();
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& pos);
// One step toward showing (not below 0); false when the control (nullptr:
// whoever owns it) does not own the caret.
bool ShowCaret(TWinControl* control);
// One step toward hiding; false when the control does not own the caret.
bool HideCaret(TWinControl* control);
const TCaretState& CaretState();

// The backend that draws the caret is told after every change of the caret
// state; an empty delegate tells nobody. Answers the handler it replaces.
using TCaretChangeEvent = TDelegate<void()>;
TCaretChangeEvent SetCaretChangeHandler(TCaretChangeEvent handler);

}  // namespace vk
