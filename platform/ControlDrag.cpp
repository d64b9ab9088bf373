// TControl's drag and drop between controls: the drag under way, the window
// under the pointer that is told of it, the drop and the end.

#include "platform/Controls.h"

#include "platform/ControlsShared.h"
#include "platform/InputState.h"
#include "platform/SystemMetrics.h"

namespace vk {

using namespace controls;

// ---------------------------------------------------------------- control drag and drop

TControl* DragSourceControl() { return GDrag.Source; }

bool TControl::Dragging() const { return GDrag.Source == this; }

void TControl::BeginDrag(bool immediate, int threshold) {
  if (GDrag.Source) return;  // one drag at a time
  TDragSession drag;
  drag.Source = this;
  drag.Threshold = threshold < 0 ? GetSystemMetrics(SM_CXDRAG) : threshold;
  GetCursorPos(drag.Start);
  drag.Last = drag.Start;
  GDrag = drag;
  SetMouseCapture(true);
  if (immediate && GDrag.Source == this) {
    GDrag.Started = true;
    DragTo(GDrag.Start);
  }
}

bool TControl::HandleDragMessage(const TMessage& message) {
  const TPoint screen = ClientToScreen({SmallLo(static_cast<uintptr_t>(message.LParam)),
                                        SmallHi(static_cast<uintptr_t>(message.LParam))});
  switch (message.Msg) {
    case WM_MOUSEWHEEL: return false;
    case WM_MOUSEMOVE:
      GDrag.Last = screen;
      if (!GDrag.Started) {
        if (std::abs(screen.X - GDrag.Start.X) < GDrag.Threshold && std::abs(screen.Y - GDrag.Start.Y) < GDrag.Threshold)
          return true;
        GDrag.Started = true;
      }
      DragTo(screen);
      return true;
    case WM_LBUTTONUP:
      GDrag.Last = screen;
      if (!GDrag.Started) {
        // A press that never became a drag is an ordinary click.
        EndDrag(false);
        return false;
      }
      EndDrag(true);
      return true;
    default: return true;
  }
}

void TControl::DragTo(const TPoint& screen) {
  TControl* source = GDrag.Source;
  TWinControl* target = FindDragTarget(screen);
  bool accept = false;
  if (target != GDrag.Target) {
    if (TWinControl* old = GDrag.Target) {
      GDrag.Target = nullptr;
      TPoint p = old->ScreenToClient(screen);
      old->DragOver(source, p.X, p.Y, dsDragLeave, accept);
      accept = false;
    }
    if (GDrag.Source != source) return;  // a handler ended the drag
    GDrag.Target = target;
    if (target) {
      TPoint p = target->ScreenToClient(screen);
      target->DragOver(source, p.X, p.Y, dsDragEnter, accept);
    }
  } else if (target) {
    TPoint p = target->ScreenToClient(screen);
    target->DragOver(source, p.X, p.Y, dsDragMove, accept);
  }
  if (GDrag.Source != source) return;
  GDrag.Accepted = accept;
  SetPointerShape(accept ? source->DragCursor() : crNoDrop);
}

void TControl::EndDrag(bool drop) {
  if (GDrag.Source != this) return;
  // The session ends first: what the notices do cannot end it twice.
  const TDragSession drag = GDrag;
  GDrag = TDragSession{};
  if (GCapture == this) SetMouseCapture(false);
  const TPoint screen = drag.Last;
  if (drag.Started && drop && drag.Target && drag.Accepted) {
    TPoint p = drag.Target->ScreenToClient(screen);
    drag.Target->DragDrop(this, p.X, p.Y);
    DoEndDrag(drag.Target, p.X, p.Y);
    return;
  }
  if (drag.Target) {
    TPoint p = drag.Target->ScreenToClient(screen);
    bool accept = false;
    drag.Target->DragOver(this, p.X, p.Y, dsDragLeave, accept);
  }
  if (drag.Started) DragCanceled();
  DoEndDrag(nullptr, 0, 0);
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}

TWinControl* FindDragTarget(const TPoint& screen) {
  TWinControl* found = nullptr;
  int foundDepth = -1;
  for (TWinControl* window : GWindows) {
    if (!window->CanFocus() || !PtInRect(window->ClientRect(), window->ScreenToClient(screen))) continue;
    int depth = 0;
    for (const TControl* c = window->Parent(); c; c = c->Parent()) ++depth;
    if (depth >= foundDepth) {
      found = window;
      foundDepth = depth;
    }
  }
  return found;
}

}  // namespace vk
