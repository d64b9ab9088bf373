#pragma once
// The desktop's state that the control units share (Controls.cpp,
// ControlDrag.cpp, WinControls.cpp, CustomControls.cpp): focus, mouse
// capture, the drag under way, the windows that exist and the posted
// messages. Only those units include it.

#include <deque>
#include <vector>

#include "platform/Controls.h"

namespace vk::controls {

// Process-wide input state, as the desktop keeps it. Plain pointers, so they
// are valid during static destruction too.
extern TWinControl* GFocused;
extern TControl* GCapture;
extern HWND GLastHandle;

// The control drag under way: its source, whether the pointer has passed
// the threshold, and the window under the pointer that was told of it.
struct TDragSession {
  TControl* Source = nullptr;
  bool Started = false;
  TPoint Start;
  TPoint Last;  // where the pointer was last seen, in screen coordinates
  int Threshold = 0;
  TWinControl* Target = nullptr;
  bool Accepted = false;
};
extern TDragSession GDrag;
// Every window that exists, oldest first: where a drag looks for its target.
extern std::vector<TWinControl*> GWindows;

// Messages posted for the message loop, oldest first.
struct TPostedMessage {
  TControl* Target;
  TMessage Message;
};
extern std::deque<TPostedMessage> GPosted;
extern TMessagePostedHook GMessagePosted;

bool IsInside(const TControl* control, const TWinControl* ancestor);
inline bool FocusInside(const TWinControl* control) { return GFocused && IsInside(GFocused, control); }

inline bool Contains(const TRect& outer, const TRect& inner) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

inline bool IsWindowControl(const TControl* control) { return dynamic_cast<const TWinControl*>(control) != nullptr; }

}  // namespace vk::controls
