#include "platform/Controls.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <utility>

#include "platform/Caret.h"
#include "platform/Ime.h"
#include "platform/InputState.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"
#include "platform/SystemMetrics.h"

namespace vk {

namespace {

// Process-wide input state, as the desktop keeps it. Plain pointers, so they
// are valid during static destruction too.
TWinControl* GFocused = nullptr;
TControl* GCapture = nullptr;
HWND GLastHandle = 0;

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
TDragSession GDrag;
// Every window that exists, oldest first: where a drag looks for its target.
std::vector<TWinControl*> GWindows;

// Messages posted for the message loop, oldest first.
struct TPostedMessage {
  TControl* Target;
  TMessage Message;
};
std::deque<TPostedMessage> GPosted;
TMessagePostedHook GMessagePosted = nullptr;

// The backend's peer factory and the controls whose peers it made, oldest
// first (so parents before their children).
TPeerFactory* GPeerFactory = nullptr;
std::vector<TControl*> GPeered;

// The largest number of rectangles an update region keeps apart; beyond it
// they are merged into their bounding rectangle.
constexpr size_t MaxRegionRects = 32;

bool IsInside(const TControl* control, const TWinControl* ancestor) {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == ancestor) return true;
  return false;
}

bool FocusInside(const TWinControl* control) { return GFocused && IsInside(GFocused, control); }

long long Area(const TRect& r) { return IsRectEmpty(r) ? 0 : static_cast<long long>(r.Width()) * r.Height(); }

bool Contains(const TRect& outer, const TRect& inner) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

bool IsWindowControl(const TControl* control) { return dynamic_cast<const TWinControl*>(control) != nullptr; }

}  // namespace

// ---------------------------------------------------------------- peers

void SetPeerFactory(TPeerFactory* factory) {
  // Children go before their parents: their widgets live in the parents'.
  while (!GPeered.empty()) GPeered.back()->ReleasePeer();
  GPeerFactory = factory;
}

void TControl::PeerNeeded() {
  if (FPeer || !GPeerFactory) return;
  FOwnedPeer = GPeerFactory->CreatePeer(*this);
  FPeer = FOwnedPeer.get();
  if (FPeer) GPeered.push_back(this);
}

void TControl::ReleasePeer() {
  if (!FOwnedPeer) return;
  std::erase(GPeered, this);
  FPeer = nullptr;
  FOwnedPeer.reset();
}

void TControl::DropPeer() {
  if (FOwnedPeer) {
    ReleasePeer();
  } else if (FPeer) {
    std::exchange(FPeer, nullptr)->ControlFreed();
  }
}

void TControl::SetPeer(TControlPeer* peer) {
  if (peer == FPeer) return;
  ReleasePeer();
  FPeer = peer;
}

void TControl::NotifyPeer(TPeerProperty property) const {
  if (FPeer) FPeer->PropertyChanged(property);
}

namespace {

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  FFont.OnChange = TNotifyEvent(this, &TControl::FontChangeHandler);
}

TControl::~TControl() {
  DropPeer();
  std::erase_if(GPosted, [this](const TPostedMessage& m) { return m.Target == this; });
  if (GCapture == this) GCapture = nullptr;
  if (GDrag.Source == this) GDrag = TDragSession{};
  if (GDrag.Target == this) GDrag.Target = nullptr;
  if (FParent) FParent->RemoveControl(this);
  FParent = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent && IsInside(parent, dynamic_cast<TWinControl*>(this)))
    throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) {
    if (auto* window = dynamic_cast<TWinControl*>(this)) {
      if (FocusInside(window)) TWinControl::MoveFocus(nullptr, true);
      window->DestroyHandle();
    } else {
      ReleasePeer();
    }
    if (GCapture == this) SetMouseCapture(false);
    FParent->RemoveControl(this);
  }
  FParent = parent;
  if (!parent) return;
  parent->InsertControl(this);
  ParentFontChanged();
  ParentColorChanged();
  if (auto* window = dynamic_cast<TWinControl*>(this)) {
    if (FVisible && parent->HandleAllocated()) window->HandleNeeded();
  } else if (parent->HandleAllocated()) {
    PeerNeeded();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect(), true);
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect(), true);
  NotifyPeer(ppBounds);
  if (FAlign != alNone || (FParent && FParent->ArrangesControls())) RequestAlign();
}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

TPoint TControl::ClientOrigin() const {
  TPoint origin{FLeft, FTop};
  if (FParent) {
    TPoint parentOrigin = FParent->ClientOrigin();
    origin.X += parentOrigin.X;
    origin.Y += parentOrigin.Y;
  }
  return origin;
}

TPoint TControl::ClientToScreen(const TPoint& point) const {
  TPoint origin = ClientOrigin();
  return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(const TPoint& point) const {
  TPoint origin = ClientOrigin();
  return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
  if (value == FAlign) return;
  FAlign = value;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->Realign();
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  NotifyPeer(ppVisible);
  VisibleChanged();
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  NotifyPeer(ppEnabled);
  EnabledChanged();
}

void TControl::SetHint(const std::string& value) {
  if (value == FHint) return;
  FHint = value;
  NotifyPeer(ppHint);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  Link(FPopupMenu, menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetAction(TBasicAction* action) {
  if (!action) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = CreateActionLink();
  FActionLink->SetAction(action);
  if (TCustomAction* custom = FActionLink->CustomAction()) ActionChange(*custom);
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() {
  return std::make_unique<TControlActionLink>(*this);
}

void TControl::ActionChange(TCustomAction& action) {
  SetCaption(action.Caption());
  SetEnabled(action.Enabled());
  SetHint(action.Hint());
  SetVisible(action.Visible());
}

// A property follows the action while it still equals the action's value.
void TControlActionLink::SetCaption(const std::string& value) {
  if (FClient.Caption() == CustomAction()->Caption()) FClient.SetCaption(value);
}
void TControlActionLink::SetEnabled(bool value) {
  if (FClient.Enabled() == CustomAction()->Enabled()) FClient.SetEnabled(value);
}
void TControlActionLink::SetHint(const std::string& value) {
  if (FClient.Hint() == CustomAction()->Hint()) FClient.SetHint(value);
}
void TControlActionLink::SetVisible(bool value) {
  if (FClient.Visible() == CustomAction()->Visible()) FClient.SetVisible(value);
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::SetColor(TColor value) {
  FParentColor = false;
  if (value == FColor) return;
  FColor = value;
  NotifyPeer(ppColor);
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  if (value) ParentColorChanged();
}

void TControl::FontChangeHandler(TObject*) {
  if (!FTakingParentFont) FParentFont = false;
  NotifyPeer(ppFont);
  FontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  TTempValue taking(FTakingParentFont, true);
  FFont.Assign(FParent->Font());
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent || FColor == FParent->Color()) return;
  FColor = FParent->Color();
  NotifyPeer(ppColor);
  ColorChanged();
}

void TControl::FontChanged() { Invalidate(); }
void TControl::ColorChanged() { Invalidate(); }

void TControl::VisibleChanged() {
  if (FAlign != alNone || (FParent && FParent->ArrangesControls())) RequestAlign();
  if (FParent) FParent->InvalidateRect(BoundsRect(), true);
  if (!FVisible && GCapture == this) SetMouseCapture(false);
}

void TControl::EnabledChanged() { Invalidate(); }

std::string TControl::Text() const {
  // Asking a window for its text is a message, as on the system, so a
  // control that keeps its text elsewhere answers with its own.
  auto* self = const_cast<TControl*>(this);
  intptr_t length = self->Perform(WM_GETTEXTLENGTH);
  if (length <= 0) return "";
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  intptr_t copied = self->Perform(WM_GETTEXT, buffer.size(), reinterpret_cast<intptr_t>(buffer.data()));
  buffer.resize(static_cast<size_t>(std::clamp<intptr_t>(copied, 0, length)));
  return buffer;
}

void TControl::SetText(const std::string& value) {
  if (Text() == value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(value.c_str()));
  NotifyPeer(ppText);
  TextChanged();
}

bool TControl::MouseCapture() const { return GCapture == this; }

TControl* CaptureControl() { return GCapture; }

void TControl::SetMouseCapture(bool value) {
  if (value) {
    if (GCapture == this) return;
    TControl* previous = GCapture;
    GCapture = this;
    if (previous) previous->Perform(WM_CAPTURECHANGED, 0, reinterpret_cast<intptr_t>(this));
  } else if (GCapture == this) {
    GCapture = nullptr;
    Perform(WM_CAPTURECHANGED, 0, 0);
  }
}

bool AnswerTextMessage(TMessage& message, const std::string& text) {
  if (message.Msg == WM_GETTEXTLENGTH) {
    message.Result = static_cast<intptr_t>(text.size());
    return true;
  }
  if (message.Msg != WM_GETTEXT) return false;
  if (message.WParam == 0 || !message.LParam) return true;
  const size_t count = std::min(text.size(), static_cast<size_t>(message.WParam) - 1);
  char* buffer = reinterpret_cast<char*>(message.LParam);
  text.copy(buffer, count);
  buffer[count] = '\0';
  message.Result = static_cast<intptr_t>(count);
  return true;
}

intptr_t TControl::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
      if (GDrag.Source == this && HandleDragMessage(message)) return;
      // The desktop gives no input to a disabled control.
      if (FEnabled) HandleMouseMessage(message);
      return;
    case WM_CAPTURECHANGED:
      // A drag lives on the capture: losing it cancels the drag.
      if (GDrag.Source == this) EndDrag(false);
      DefaultHandler(message);
      return;
    case WM_SETTEXT:
      FText = MessageText(message);
      message.Result = 1;
      return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      AnswerTextMessage(message, FText);
      return;
    case WM_CANCELMODE:
      SetMouseCapture(false);
      return;
    case WM_CONTEXTMENU:
      if (FPopupMenu && FPopupMenu->AutoPopup()) {
        TPoint at{SmallLo(static_cast<uintptr_t>(message.LParam)), SmallHi(static_cast<uintptr_t>(message.LParam))};
        if (at.X == -1 && at.Y == -1) at = ClientToScreen({0, 0});
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(at.X, at.Y);
        message.Result = 1;
        return;
      }
      Dispatch(message);
      return;
    default:
      Dispatch(message);
  }
}

void TControl::Dispatch(TMessage& message) { DefaultHandler(message); }

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::HandleMouseMessage(TMessage& message) {
  if (message.Msg == WM_MOUSEWHEEL) {
    TPoint at = ScreenToClient({SmallLo(static_cast<uintptr_t>(message.LParam)), SmallHi(static_cast<uintptr_t>(message.LParam))});
    bool handled = MouseWheel(KeysToShiftState(LoWord(message.WParam)), SmallHi(message.WParam), at.X, at.Y);
    message.Result = handled ? 1 : 0;
    return;
  }
  int x = SmallLo(static_cast<uintptr_t>(message.LParam));
  int y = SmallHi(static_cast<uintptr_t>(message.LParam));
  TShiftState shift = KeysToShiftState(message.WParam);
  if (message.Msg == WM_MOUSEMOVE) {
    MouseMove(shift, x, y);
    return;
  }
  TMouseButton button = mbLeft;
  switch (message.Msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: button = mbRight; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: button = mbMiddle; break;
    default: break;
  }
  bool up = message.Msg == WM_LBUTTONUP || message.Msg == WM_RBUTTONUP || message.Msg == WM_MBUTTONUP;
  bool doubleClick = (message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_RBUTTONDBLCLK ||
                      message.Msg == WM_MBUTTONDBLCLK) &&
                     FControlStyle.Contains(csDoubleClicks);
  if (up) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (button == mbLeft) {
      FControlState.Exclude(csLButtonDown);
      if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        if (PtInRect(ClientRect(), {x, y})) Click();
      }
    }
    MouseUp(button, shift, x, y);
    return;
  }
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (button == mbLeft) {
    FControlState.Include(csLButtonDown);
    // A double click is no click of its own when the button goes up.
    if (FControlStyle.Contains(csClickEvents) && !doubleClick) FControlState.Include(csClicked);
  }
  if (doubleClick) {
    if (button == mbLeft && FControlStyle.Contains(csClickEvents)) DblClick();
    shift.Include(ssDouble);
  }
  MouseDown(button, shift, x, y);
}

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

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

void TControl::Click() {
  // An OnClick of its own that is not its action's handler runs instead of
  // the action.
  TBasicAction* action = Action();
  if (OnClick && action && !(OnClick == action->OnExecute))
    OnClick(this);
  else if (action)
    FActionLink->Execute();
  else if (OnClick)
    OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TControl::MouseWheel(TShiftState, int, int, int) { return false; }

void TControl::Invalidate() {
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect(), true);
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Withdraw();
  std::erase(GWindows, this);
  for (TControl* control : FControls) control->FParent = nullptr;
  FControls.clear();
}

void TWinControl::Withdraw() {
  // A peer made by hand hears it first; the factory's goes with the window,
  // after the children's.
  if (!FOwnedPeer) DropPeer();
  // Gone without a word: no message may reach a half-destroyed control.
  if (GFocused == this) GFocused = nullptr;
  DestroyHandle();
  DropPeer();
}

TControl* TWinControl::Controls(int index) const {
  CheckListIndex(index, ControlCount());
  return FControls[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
  if (auto* window = dynamic_cast<TWinControl*>(control)) FTabList.push_back(window);
  if (control->Align() != alNone || ArrangesControls()) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  auto found = std::find(FControls.begin(), FControls.end(), control);
  if (found == FControls.end()) return;
  FControls.erase(found);
  std::erase(FTabList, control);
  if (control->Align() != alNone || ArrangesControls()) Realign();
}

// ----- tab order

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const std::vector<TWinControl*>& list = Parent()->FTabList;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  std::vector<TWinControl*>& list = Parent()->FTabList;
  std::erase(list, this);
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

void TWinControl::TabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* child : FTabList) {
    list.push_back(child);
    child->TabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  TabOrderList(list);
  const int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == count) start = goForward ? count - 1 : 0;  // not in the list: from the first (or last)
  for (int step = 1; step <= count; ++step) {
    TWinControl* candidate = list[static_cast<size_t>(((goForward ? start + step : start - step) % count + count) % count)];
    if (candidate == current) continue;
    if ((!checkTabStop || candidate->TabStop()) && (!checkParent || candidate->Parent() == this) &&
        candidate->CanFocus())
      return candidate;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  // Without tab stops (the arrow keys) the focus stays among the children.
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (Parent()) Parent()->HandleNeeded();
  // The parent's window may have made this one already (a visible child).
  if (!FHandle) {
    FControlState.Include(csCreating);
    TScopeExit created([this] { FControlState.Exclude(csCreating); });
    CreateWnd();
  }
  // Copy the list: a child's creation may change it.
  std::vector<TControl*> children = FControls;
  for (TControl* child : children)
    if (auto* window = dynamic_cast<TWinControl*>(child); window && window->Visible()) window->HandleNeeded();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* child : std::vector<TControl*>(FControls))
    if (auto* window = dynamic_cast<TWinControl*>(child)) window->DestroyHandle();
  FControlState.Include(csDestroyingHandle);
  TScopeExit destroyed([this] { FControlState.Exclude(csDestroyingHandle); });
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  bool wasFocused = GFocused == this;
  DestroyHandle();
  HandleNeeded();
  if (wasFocused && CanFocus()) MoveFocus(this, false);
}

void TWinControl::CreateParams(TCreateParams& params) {
  params = TCreateParams{};
  if (FControlStyle.Contains(csSetCaption)) params.Caption = FText;
  if (Parent()) params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (FTabStop) params.Style |= WS_TABSTOP;
  if (Visible()) params.Style |= WS_VISIBLE;
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  CreateWindowHandle(params);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  FParams = params;
  FHandle = ++GLastHandle;
  GWindows.push_back(this);
  FScrollBars[0] = TScrollBarState{};
  FScrollBars[0].Visible = (params.Style & WS_HSCROLL) != 0;
  FScrollBars[1] = TScrollBarState{};
  FScrollBars[1].Visible = (params.Style & WS_VSCROLL) != 0;
  // The window's peer, then those of the children without a window of
  // their own, which show in it.
  PeerNeeded();
  for (TControl* child : std::vector<TControl*>(FControls))
    if (!IsWindowControl(child)) child->PeerNeeded();
  Realign();
  NotifyPeer(ppFrame);
  InvalidateRect(ClientRect(), true);
  Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
}

void TWinControl::DestroyWnd() {
  if (CaretState().Owner == this) DestroyCaret();
  // Without DoExit: a window recreated in place keeps the focus (RecreateWnd),
  // and one that leaves its parent has lost it already (SetParent).
  if (GFocused == this) MoveFocus(nullptr, false);
  if (GCapture == this) SetMouseCapture(false);
  std::erase(GWindows, this);
  FHandle = 0;
  FParams = TCreateParams{};
  FScrollBars[0] = TScrollBarState{};
  FScrollBars[1] = TScrollBarState{};
  FUpdateRegion.clear();
  FUpdateErase = false;
  FScrollRequests.clear();
  FImeContext.reset();
  for (TControl* child : FControls)
    if (!IsWindowControl(child)) child->ReleasePeer();
  ReleasePeer();
  NotifyPeer(ppFrame);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TRect oldClient = ClientRect();
  TControl::SetBounds(left, top, width, height);
  if (ClientRect() != oldClient) ClientSizeChanged(oldClient);
}

int TWinControl::FrameWidth() const {
  int frame = FBorderWidth;
  if (FParams.Style & WS_BORDER) frame += 1;
  if (FParams.ExStyle & WS_EX_CLIENTEDGE) frame += 2;
  return frame;
}

TRect TWinControl::ClientRect() const {
  int frame = FrameWidth();
  int width = Width() - 2 * frame - (FScrollBars[1].Visible ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  int height = Height() - 2 * frame - (FScrollBars[0].Visible ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  return Rect(0, 0, std::max(width, 0), std::max(height, 0));
}

TPoint TWinControl::ClientOrigin() const {
  TPoint origin = TControl::ClientOrigin();
  int frame = FrameWidth();
  return {origin.X + frame, origin.Y + frame};
}

void TWinControl::ClientSizeChanged(const TRect& oldClient) {
  TRect client = ClientRect();
  const int dx = client.Width() - oldClient.Width(), dy = client.Height() - oldClient.Height();
  // Children keep their distance to the edges they are anchored to.
  for (TControl* child : std::vector<TControl*>(FControls)) {
    const TAnchors anchors = child->Anchors();
    if (child->Align() != alNone) continue;
    TRect r = child->BoundsRect();
    if (anchors.Contains(akRight)) {
      if (!anchors.Contains(akLeft)) r.Left += dx;
      r.Right += dx;
    }
    if (anchors.Contains(akBottom)) {
      if (!anchors.Contains(akTop)) r.Top += dy;
      r.Bottom += dy;
    }
    child->SetBoundsRect(r);
  }
  Realign();
  if (!FHandle) return;
  uint32_t classStyle = FParams.WindowClass.style;
  bool redrawAll = ((classStyle & CS_HREDRAW) && client.Width() != oldClient.Width()) ||
                   ((classStyle & CS_VREDRAW) && client.Height() != oldClient.Height());
  if (redrawAll) {
    AddToUpdateRegion(client, true);
  } else {
    // Only the newly exposed strips need painting.
    if (client.Right > oldClient.Right) AddToUpdateRegion(Rect(oldClient.Right, 0, client.Right, client.Bottom), true);
    if (client.Bottom > oldClient.Bottom)
      AddToUpdateRegion(Rect(0, oldClient.Bottom, client.Right, client.Bottom), true);
  }
  Perform(WM_SIZE, 0, MakeLParam(client.Width(), client.Height()));
}

void TWinControl::SetBorderWidth(int value) {
  value = std::max(value, 0);
  if (value == FBorderWidth) return;
  TRect oldClient = ClientRect();
  FBorderWidth = value;
  if (ClientRect() != oldClient) ClientSizeChanged(oldClient);
  NotifyPeer(ppFrame);
  Invalidate();
}

void TWinControl::SetCtl3D(bool value) {
  if (value == FCtl3D) return;
  FCtl3D = value;
  RecreateWnd();
}

void TWinControl::Realign() {
  if (FAligning) return;
  ++FAligning;
  TScopeExit aligned([this] { --FAligning; });
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(rect);
}

void TWinControl::AlignControls(TRect& rect) {
  auto placed = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* control : FControls)
      if (control->Visible() && control->Align() == align) list.push_back(control);
    // Nearest to the side they stick to first.
    auto key = [align](const TControl* c) {
      switch (align) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) { return key(a) < key(b); });
    return list;
  };
  for (TControl* c : placed(alTop)) {
    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
    rect.Top = std::min(rect.Top + c->Height(), rect.Bottom);
  }
  for (TControl* c : placed(alBottom)) {
    c->SetBounds(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
    rect.Bottom = std::max(rect.Bottom - c->Height(), rect.Top);
  }
  for (TControl* c : placed(alLeft)) {
    c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
    rect.Left = std::min(rect.Left + c->Width(), rect.Right);
  }
  for (TControl* c : placed(alRight)) {
    c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
    rect.Right = std::max(rect.Right - c->Width(), rect.Left);
  }
  for (TControl* c : placed(alClient)) c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
}

bool TWinControl::Focused() const { return GFocused == this; }

TWinControl* FocusedControl() { return GFocused; }

TWinControl* FindControl(HWND handle) {
  for (TWinControl* window : GWindows)
    if (window->HandleAllocated() && window->Handle() == handle) return window;
  return nullptr;
}

intptr_t SendMessage(HWND handle, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  TWinControl* window = FindControl(handle);
  return window ? window->Perform(msg, wParam, lParam) : 0;
}

void PostMessage(TControl* control, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  GPosted.push_back({control, {msg, wParam, lParam, 0}});
  if (GMessagePosted) GMessagePosted();
}

bool DispatchPostedMessage() {
  if (GPosted.empty()) return false;
  TPostedMessage posted = GPosted.front();
  GPosted.pop_front();
  posted.Target->Perform(posted.Message.Msg, posted.Message.WParam, posted.Message.LParam);
  return true;
}

bool PostedMessagesWaiting() { return !GPosted.empty(); }

void SetMessagePostedHook(TMessagePostedHook hook) { GMessagePosted = hook; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  HandleNeeded();
  MoveFocus(this, true);
}

void TWinControl::RemoveFocus(bool enterExit) { MoveFocus(nullptr, enterExit); }

void TWinControl::MoveFocus(TWinControl* to, bool enterExit) {
  TWinControl* from = GFocused;
  if (from == to) return;
  GFocused = to;
  if (to) {
    TWinControl* top = to;
    while (top->Parent()) top = top->Parent();
    top->SetFocusedControl(to);
  }
  if (from) from->NotifyPeer(ppFocus);
  if (to) to->NotifyPeer(ppFocus);
  if (from) from->Perform(WM_KILLFOCUS, reinterpret_cast<uintptr_t>(to));
  if (to && GFocused == to) to->Perform(WM_SETFOCUS, reinterpret_cast<uintptr_t>(from));
  if (!enterExit) return;
  if (from) from->DoExit();
  if (to && GFocused == to) to->DoEnter();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::VisibleChanged() {
  TControl::VisibleChanged();
  if (!Visible()) {
    if (FocusInside(this)) MoveFocus(nullptr, true);
  } else if (Parent() && Parent()->HandleAllocated()) {
    HandleNeeded();
    Invalidate();
  } else {
    Invalidate();
  }
}

void TWinControl::EnabledChanged() {
  if (!Enabled() && FocusInside(this)) MoveFocus(nullptr, true);
  TControl::EnabledChanged();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* child : std::vector<TControl*>(FControls)) child->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* child : std::vector<TControl*>(FControls)) child->ParentColorChanged();
}

void TWinControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      if (!Enabled()) return;
      uint16_t key = static_cast<uint16_t>(message.WParam);
      if (message.Msg == WM_KEYDOWN && key == VK_ESCAPE && GDrag.Source) {
        // Escape cancels a drag, whoever has the focus.
        GDrag.Source->EndDrag(false);
        return;
      }
      TShiftState shift = KeyDataToShiftState(message.LParam);
      if (message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN)
        KeyDown(key, shift);
      else
        KeyUp(key, shift);
      message.Result = 0;
      return;
    }
    case WM_CHAR: {
      if (!Enabled()) return;
      char key = static_cast<char>(message.WParam);
      KeyPress(key);
      message.Result = 0;
      return;
    }
    case WM_PAINT:
      PaintWindow(IsRectEmpty(FPaintRect) ? ClientRect() : FPaintRect);
      return;
    case WM_ERASEBKGND:
      message.Result = EraseBackground(IsRectEmpty(FPaintRect) ? ClientRect() : FPaintRect) ? 1 : 0;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      message.Result = 0;
      return;
    case WM_SIZE:
      message.Result = 0;
      Resize();
      return;
    default:
      TControl::WndProc(message);
  }
}

void TWinControl::PaintWindow(const TRect&) {}

bool TWinControl::EraseBackground(const TRect&) { return false; }

// ----- the update region

void TWinControl::InvalidateRect(const TRect& rect, bool erase) {
  if (!FHandle || !Visible()) return;
  AddToUpdateRegion(rect, erase);
}

void TWinControl::Invalidate() {
  // The window call itself, not the overridable InvalidateRect: a control
  // that filters its own invalidations still gets repainted whole.
  if (!FHandle || !Visible()) return;
  AddToUpdateRegion(ClientRect(), !FControlStyle.Contains(csOpaque));
}

void TWinControl::AddToUpdateRegion(const TRect& rect, bool erase) {
  TRect r;
  if (!IntersectRect(r, rect, ClientRect())) return;
  if (erase) FUpdateErase = true;
  for (const TRect& e : FUpdateRegion)
    if (Contains(e, r)) return;
  std::erase_if(FUpdateRegion, [&](const TRect& e) { return Contains(r, e); });
  // Join rectangles that make a rectangle together, until none does.
  for (bool joined = true; joined;) {
    joined = false;
    for (size_t i = 0; i < FUpdateRegion.size(); ++i) {
      const TRect& e = FUpdateRegion[i];
      TRect both, common;
      UnionRect(both, e, r);
      IntersectRect(common, e, r);
      if (Area(both) == Area(e) + Area(r) - Area(common)) {
        r = both;
        FUpdateRegion.erase(FUpdateRegion.begin() + static_cast<std::ptrdiff_t>(i));
        joined = true;
        break;
      }
    }
  }
  FUpdateRegion.push_back(r);
  if (FPeer) FPeer->RegionInvalidated(r);
  if (FUpdateRegion.size() > MaxRegionRects) {
    TRect all = UpdateRect();
    FUpdateRegion.assign(1, all);
  }
}

TRect TWinControl::UpdateRect() const {
  TRect all;
  for (const TRect& r : FUpdateRegion) UnionRect(all, all, r);
  return all;
}

void TWinControl::ValidateAll() {
  FUpdateRegion.clear();
  FUpdateErase = false;
}

void TWinControl::Update() {
  if (FUpdateRegion.empty()) return;
  if (FPeer) {
    FPeer->PaintRequested();
    return;
  }
  std::vector<TRect> region = std::move(FUpdateRegion);
  FUpdateRegion.clear();
  bool erase = FUpdateErase;
  FUpdateErase = false;
  PaintRegion(region, erase);
}

void TWinControl::PaintRegion(const std::vector<TRect>& region, bool erase) {
  TScopeExit reset([this] { FPaintRect = TRect{}; });
  if (erase) {
    for (const TRect& r : region)
      if (IntersectRect(FPaintRect, r, ClientRect())) Perform(WM_ERASEBKGND);
  }
  for (const TRect& r : region)
    if (FHandle && IntersectRect(FPaintRect, r, ClientRect())) Perform(WM_PAINT);
}

void TWinControl::ScrollWindow(int dx, int dy, const TRect* rect, const TRect* clip) {
  if (!FHandle) return;
  TRect area = ClientRect();
  if (rect && !IntersectRect(area, area, *rect)) return;
  if (clip && !IntersectRect(area, area, *clip)) return;
  FScrollRequests.push_back({dx, dy, area});
  if (FPeer) FPeer->WindowScrolled(FScrollRequests.back());
  // Pending damage inside the area moves with the pixels.
  std::vector<TRect> moved;
  for (const TRect& r : FUpdateRegion) {
    TRect inside;
    if (!IntersectRect(inside, r, area)) continue;
    OffsetRect(inside, dx, dy);
    if (IntersectRect(inside, inside, area)) moved.push_back(inside);
  }
  for (const TRect& r : moved) AddToUpdateRegion(r, false);
  // The strips the pixels left behind.
  if (dx > 0) AddToUpdateRegion(Rect(area.Left, area.Top, std::min(area.Left + dx, area.Right), area.Bottom), true);
  if (dx < 0) AddToUpdateRegion(Rect(std::max(area.Right + dx, area.Left), area.Top, area.Right, area.Bottom), true);
  if (dy > 0) AddToUpdateRegion(Rect(area.Left, area.Top, area.Right, std::min(area.Top + dy, area.Bottom)), true);
  if (dy < 0) AddToUpdateRegion(Rect(area.Left, std::max(area.Bottom + dy, area.Top), area.Right, area.Bottom), true);
}

TInputContext& TWinControl::ImeContext() {
  if (!FImeContext) FImeContext = std::make_unique<TInputContext>();
  return *FImeContext;
}

void DragAcceptFiles(TWinControl& control, bool accept) {
  if (!control.FHandle) return;
  if (accept)
    control.FParams.ExStyle |= WS_EX_ACCEPTFILES;
  else
    control.FParams.ExStyle &= ~WS_EX_ACCEPTFILES;
}

bool AcceptsDroppedFiles(const TWinControl& control) {
  return control.HandleAllocated() && (control.WindowParams().ExStyle & WS_EX_ACCEPTFILES) != 0;
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(CreateScreenCanvas()) {}

// The peer paints through the canvas: it goes while the canvas is here.
TCustomControl::~TCustomControl() { Withdraw(); }

void TCustomControl::SetCanvas(std::unique_ptr<TCanvas> canvas) {
  if (!canvas) return;
  canvas->Font().Assign(FCanvas->Font());
  canvas->Brush().Assign(FCanvas->Brush());
  canvas->Pen().Assign(FCanvas->Pen());
  FCanvas = std::move(canvas);
}

void TCustomControl::PaintWindow(const TRect& rect) {
  TCanvas& canvas = *FCanvas;
  TScopeExit restore([&canvas, state = canvas.SaveDC()] { canvas.RestoreDC(state); });
  canvas.SetClipRect(rect);
  Paint();
}

bool TCustomControl::EraseBackground(const TRect& rect) {
  TCanvas& canvas = *FCanvas;
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(rect);
  return true;
}

}  // namespace vk
