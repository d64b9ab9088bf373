// TWinControl: children, tab order, the window and its handle, client area
// and alignment, focus, keys and its messages.

#include "platform/Controls.h"

#include <algorithm>

#include "platform/Caret.h"
#include "platform/ControlsShared.h"
#include "platform/Ime.h"
#include "platform/InputState.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"
#include "platform/SystemMetrics.h"

namespace vk {

using namespace controls;

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

namespace {

int GPostedHolds = 0;

}  // namespace

bool DispatchPostedMessage() {
  if (!PostedMessagesWaiting()) return false;
  TPostedMessage posted = GPosted.front();
  GPosted.pop_front();
  posted.Target->Perform(posted.Message.Msg, posted.Message.WParam, posted.Message.LParam);
  return true;
}

bool PostedMessagesWaiting() { return GPostedHolds == 0 && !GPosted.empty(); }

TPostedMessagesHold::TPostedMessagesHold() { ++GPostedHolds; }

TPostedMessagesHold::~TPostedMessagesHold() {
  if (--GPostedHolds == 0 && !GPosted.empty() && GMessagePosted) GMessagePosted();
}

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

}  // namespace vk
