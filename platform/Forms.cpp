#include "platform/Forms.h"

#include <algorithm>
#include <exception>

#include "platform/InputState.h"
#include "platform/ScopeGuard.h"
#include "platform/SystemMetrics.h"

namespace vk {

namespace {

// Forms placed by the system step down and right from the last one.
constexpr int DefaultPlacementStep = 22;
constexpr int DefaultPlacements = 8;
int GDefaultPlacement = 0;

// Offers a dialog key or an Alt chord (msg) to every control inside parent,
// depth first, until one takes it (a default or cancel button, a label).
bool BroadcastDialogKey(TWinControl& parent, uint32_t msg, uint16_t key, intptr_t keyData) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    if (control->Perform(msg, key, keyData)) return true;
    if (auto* window = dynamic_cast<TWinControl*>(control); window && BroadcastDialogKey(*window, msg, key, keyData))
      return true;
  }
  return false;
}

}  // namespace

TCustomForm* GetParentForm(const TControl& control) {
  const TControl* top = &control;
  while (top->Parent()) top = top->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

// ---------------------------------------------------------------- construction

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
  Screen().FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
  if (TCustomForm* parent = MDIParent()) parent->ChildGone(this);
  BeforeDestruction();
  Withdraw();
  FMDIChildren.clear();
  FMDICreated.clear();
  std::erase(Screen().FForms, this);
  if (Screen().FLastActive == this) Screen().FLastActive = nullptr;
}

void TCustomForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  DoCreate();
  if (FFormStyle == fsMDIChild && !Visible())
    SetVisible(true);
  else if (Visible())
    VisibleChanged();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::CreateWnd() {
  TCustomForm* parent = nullptr;
  if (FFormStyle == fsMDIChild) {
    parent = MDIParent();
    if (!parent) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    parent->HandleNeeded();
  }
  TWinControl::CreateWnd();
  if (parent && std::find(parent->FMDICreated.begin(), parent->FMDICreated.end(), this) == parent->FMDICreated.end()) {
    parent->FMDICreated.push_back(this);
    parent->FMDIChildren.push_back(this);
    parent->UpdateWindowMenu();
  }
}

void TCustomForm::DestroyWnd() {
  // An MDI parent's children have their windows in its window.
  for (TCustomForm* child : std::vector<TCustomForm*>(FMDIChildren)) child->DestroyHandle();
  TWinControl::DestroyWnd();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FMenu) {
    FMenu = nullptr;
    if (!ComponentState().Contains(csDestroying)) NotifyPeer(ppMenu);
  }
  if (component == FWindowMenu) FWindowMenu = nullptr;
  if (component == FActiveControl) FActiveControl = nullptr;
  std::erase(FWindowListItems, component);
}

// ---------------------------------------------------------------- the window

TCustomForm* TCustomForm::MDIParent() const {
  if (FFormStyle != fsMDIChild) return nullptr;
  TCustomForm* main = Application().MainForm();
  return main && main != this && main->FFormStyle == fsMDIForm ? main : nullptr;
}

void TCustomForm::SetFormStyle(TFormStyle value) { FFormStyle = value; }

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == FBorderStyle) return;
  TRect oldClient = ClientRect();
  FBorderStyle = value;
  if (ClientRect() != oldClient) ClientSizeChanged(oldClient);
  NotifyPeer(ppFrame);
}

int TCustomForm::FrameSize() const {
  if (FFormStyle == fsMDIChild && FWindowState == wsMaximized) return 0;
  return GetSystemMetrics(FBorderStyle == bsDialog ? SM_CXDLGFRAME : SM_CXFRAME);
}

int TCustomForm::CaptionHeight() const {
  return FFormStyle == fsMDIChild && FWindowState == wsMaximized ? 0 : GetSystemMetrics(SM_CYCAPTION);
}

// An MDI child's menu shows merged in its parent's bar.
int TCustomForm::MenuHeight() const { return FMenu && FFormStyle != fsMDIChild ? GetSystemMetrics(SM_CYMENU) : 0; }

TRect TCustomForm::ClientRect() const {
  int frame = FrameSize();
  int width = Width() - 2 * frame;
  int height = Height() - 2 * frame - CaptionHeight() - MenuHeight();
  return Rect(0, 0, std::max(width, 0), std::max(height, 0));
}

TPoint TCustomForm::ClientOrigin() const {
  TPoint origin{Left(), Top()};
  if (TCustomForm* parent = MDIParent()) {
    TPoint area = parent->ClientOrigin();
    origin.X += area.X + parent->FMDIClient.Left;
    origin.Y += area.Y + parent->FMDIClient.Top;
  }
  int frame = FrameSize();
  return {origin.X + frame, origin.Y + frame + CaptionHeight() + MenuHeight()};
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  if (FWindowState == wsNormal) FRestoreBounds = BoundsRect();
}

void TCustomForm::SetWindowState(TWindowState value) {
  if (value == FWindowState) return;
  TRect oldClient = ClientRect();
  FWindowState = value;
  if (HandleAllocated() && Visible()) ApplyWindowState();
  if (ClientRect() != oldClient) ClientSizeChanged(oldClient);
  NotifyPeer(ppWindowState);
}

void TCustomForm::ApplyWindowState() {
  TCustomForm* parent = MDIParent();
  switch (FWindowState) {
    case wsMaximized:
      if (parent)
        SetBounds(0, 0, parent->FMDIClient.Width(), parent->FMDIClient.Height());
      else
        SetBounds(0, 0, Screen().Width(), Screen().Height());
      break;
    case wsMinimized:
      if (parent) parent->ArrangeIcons();
      break;
    case wsNormal:
      SetBoundsRect(FRestoreBounds);
      break;
  }
}

void TCustomForm::ApplyFirstPosition() { PlaceAt(std::exchange(FPosition, poDesigned)); }

void TCustomForm::PlaceAt(TPosition position) {
  TCustomForm* parent = MDIParent();
  TCustomForm* main = Application().MainForm();
  int left = Left();
  int top = Top();
  switch (position) {
    case poDesigned: return;
    case poDefault: {
      int step = GDefaultPlacement++ % DefaultPlacements * DefaultPlacementStep;
      left = top = step;
      break;
    }
    case poMainFormCenter:
      if (main && main != this && !parent) {
        left = main->Left() + (main->Width() - Width()) / 2;
        top = main->Top() + (main->Height() - Height()) / 2;
        break;
      }
      [[fallthrough]];
    case poScreenCenter:
    case poDesktopCenter:
      left = (Screen().Width() - Width()) / 2;
      top = (Screen().Height() - Height()) / 2;
      break;
  }
  SetBounds(std::max(left, 0), std::max(top, 0), Width(), Height());
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  TRect oldClient = ClientRect();
  if (FMenu) {
    FMenu->OnWindowChange = nullptr;
    RemoveFreeNotification(FMenu);
  }
  FMenu = menu;
  if (menu) {
    menu->OnWindowChange = TNotifyEvent(this, &TCustomForm::MenuShown);
    FreeNotification(menu);
  }
  if (TCustomForm* parent = MDIParent())
    if (parent->FActiveMDIChild == this && parent->FMenu) parent->FMenu->Merge(menu);
  if (ClientRect() != oldClient) ClientSizeChanged(oldClient);
  NotifyPeer(ppMenu);
}

void TCustomForm::MenuShown(TObject*) {
  if (!ComponentState().Contains(csDestroying)) NotifyPeer(ppMenu);
}

void TCustomForm::TextChanged() {
  if (TCustomForm* parent = MDIParent()) parent->UpdateWindowMenu();
}

// ---------------------------------------------------------------- showing and closing

void TCustomForm::Show() {
  AfterConstruction();
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() {
  if (FFormStyle == fsMDIChild) throw EInvalidOperation("Cannot hide an MDI Child Form");
  SetVisible(false);
}

void TCustomForm::VisibleChanged() {
  // While the form is built it only records that it is to be shown.
  if (!FCreated) return;
  TWinControl::VisibleChanged();
  if (Visible())
    Showing();
  else
    Hiding();
}

void TCustomForm::Showing() {
  HandleNeeded();
  // A message box that OnShow opens finds the form already where it is to
  // stand; the final place follows the size that OnShow leaves.
  if (FPosition == poMainFormCenter || FPosition == poScreenCenter || FPosition == poDesktopCenter) PlaceAt(FPosition);
  try {
    DoShow();
  } catch (const std::exception& e) {
    Application().HandleException(e);
  }
  ApplyFirstPosition();
  if (FWindowState != wsNormal) ApplyWindowState();
  Activate();
}

void TCustomForm::Hiding() {
  if (Screen().FLastActive != this) return;
  Screen().FLastActive = nullptr;
  // The main form takes the activation back.
  TCustomForm* main = Application().MainForm();
  if (main && main != this && main->Visible()) main->ReturnFocus();
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  TCloseAction action = FFormStyle == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application().MainForm() == this)
    Application().Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() { PostMessage(this, CM_RELEASE, 0, 0); }

TModalResult TCustomForm::ShowModal() {
  AfterConstruction();
  if (Visible() || !Enabled() || FModal || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  FModal = true;
  ++Application().FModalLevel;
  TScopeExit ended([this] {
    FModal = false;
    --Application().FModalLevel;
  });
  {
    // A loop that fails leaves the form hidden; its own exception is the
    // one that goes on.
    TScopeFailure hideOnFailure([this] {
      if (Visible()) Hide();
    });
    FModalResult = mrNone;
    Show();
    do {
      Application().RunModal(*this);
      if (Application().Terminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    } while (FModalResult == mrNone);
  }
  TModalResult result = FModalResult;
  if (Visible()) Hide();
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone)
    FModalResult = mrNone;
  else if (action == caFree)
    Release();
}

bool TCustomForm::Active() const {
  if (TCustomForm* parent = MDIParent()) return parent->FActiveMDIChild == this;
  return Screen().FLastActive == this;
}

void TCustomForm::BringToFront() {
  if (Visible()) Activate();
}

void TCustomForm::ReturnFocus() {
  TTempValue returning(Screen().FFocusReturning, true);
  BringToFront();
}

void TCustomForm::Activate() {
  if (TCustomForm* parent = MDIParent()) {
    parent->ActivateChild(this);
    return;
  }
  Screen().FLastActive = this;
  NotifyPeer(ppActivated);
  if (FFormStyle == fsMDIForm && FActiveMDIChild)
    FActiveMDIChild->FocusActiveControl();
  else
    FocusActiveControl();
}

// ---------------------------------------------------------------- focus and keys

void TCustomForm::FocusActiveControl() {
  if (!CanFocus()) return;
  TWinControl* target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : nullptr;
  if (!target) target = FindNextControl(nullptr, true, true, false);
  if (target)
    target->SetFocus();
  else
    SetFocus();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  if (FActiveControl) RemoveFreeNotification(FActiveControl);
  FActiveControl = control;
  if (control) FreeNotification(control);
  if (control && Active() && Visible() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  TWinControl* active = control == this ? nullptr : control;
  if (active != FActiveControl) {
    if (FActiveControl) RemoveFreeNotification(FActiveControl);
    FActiveControl = active;
    if (active) FreeNotification(active);
  }
  if (TCustomForm* parent = MDIParent()) {
    // A click into a child activates it.
    if (parent->FActiveMDIChild != this) parent->ActivateChild(this);
  } else {
    Screen().FLastActive = this;
  }
}

bool TCustomForm::IsShortCut(TShortCut shortCut) {
  if (FMenu && FMenu->IsShortCut(shortCut)) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TActionList*>(Components(i)); list && list->IsShortCut(shortCut)) return true;
  return false;
}

bool TCustomForm::DialogKey(uint16_t key, intptr_t keyData) {
  TShiftState shift = KeyDataToShiftState(keyData);
  if (shift.Contains(ssAlt)) return false;
  switch (key) {
    case VK_TAB:
      if (shift.Contains(ssCtrl)) break;
      SelectNext(FActiveControl, !shift.Contains(ssShift), true);
      return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (!FActiveControl || !FActiveControl->Parent()) return false;
      FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
      return true;
    default: break;
  }
  return BroadcastDialogKey(*this, CM_DIALOGKEY, key, keyData);
}

void TCustomForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NEXTDLGCTL:
      if (message.LParam == 0) {
        SelectNext(FActiveControl, message.WParam == 0, true);
      } else if (TWinControl* control = FindControl(static_cast<HWND>(message.WParam))) {
        control->SetFocus();
      }
      return;
    case CM_DIALOGKEY:
      message.Result = DialogKey(static_cast<uint16_t>(message.WParam), message.LParam) ? 1 : 0;
      return;
    case CM_DIALOGCHAR:
      message.Result =
          BroadcastDialogKey(*this, CM_DIALOGCHAR, static_cast<uint16_t>(message.WParam), message.LParam) ? 1 : 0;
      return;
    case CM_RELEASE:
      delete this;
      return;
    default:
      TWinControl::WndProc(message);
  }
}

}  // namespace vk
