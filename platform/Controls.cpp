// The peers of controls and TControl: parent, bounds, alignment, visibility,
// actions, font and colour, text, mouse capture and its messages.

#include "platform/Controls.h"

#include <algorithm>
#include <utility>

#include "platform/ControlsShared.h"
#include "platform/InputState.h"
#include "platform/ScopeGuard.h"

namespace vk {

namespace controls {

TWinControl* GFocused = nullptr;
TControl* GCapture = nullptr;
HWND GLastHandle = 0;
TDragSession GDrag;
std::vector<TWinControl*> GWindows;
std::deque<TPostedMessage> GPosted;
TMessagePostedHook GMessagePosted = nullptr;

bool IsInside(const TControl* control, const TWinControl* ancestor) {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == ancestor) return true;
  return false;
}

}  // namespace controls

using namespace controls;

namespace {

// The backend's peer factory and the controls whose peers it made, oldest
// first (so parents before their children).
TPeerFactory* GPeerFactory = nullptr;
std::vector<TControl*> GPeered;

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


}  // namespace vk
