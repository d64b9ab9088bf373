// The application: its forms, the message loop and its seams, idle
// processing, the exception box and the route of a key through shortcuts
// and dialog keys; and the screen.

#include <algorithm>

#include "platform/Forms.h"
#include "platform/InputState.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"
#include "platform/SystemMetrics.h"
#include "platform/Timers.h"

namespace vk {

TModalAnswers& ModalAnswers() {
  static TModalAnswers answers;
  return answers;
}

TApplication& Application() {
  // Never destroyed: what it owns may be reached until the process ends.
  static auto* application = new TApplication(nullptr);
  return *application;
}

void TApplication::FormCreated(TCustomForm* form) {
  form->AfterConstruction();
  if (FMainForm) return;
  FMainForm = form;
  form->HandleNeeded();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

void TApplication::Reset() {
  // The last made first: MDI children before their parent.
  for (int i = ComponentCount() - 1; i >= 0; --i)
    if (i < ComponentCount())
      if (auto* form = dynamic_cast<TCustomForm*>(Components(i))) delete form;
  FTerminated = false;
  FModalLevel = 0;
}

// ---------------------------------------------------------------- the loop

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  if (FEventLoop) {
    FEventLoop->Run();
    return;
  }
  // Headless nothing new can happen: handle what waits and return.
  do {
    HandlePostedMessages();
    if (!FTerminated) Idle();
  } while (!FTerminated && PostedMessagesWaiting());
}

void TApplication::ProcessMessages() {
  if (FEventLoop)
    FEventLoop->ProcessMessages();
  else
    HandlePostedMessages();
}

void TApplication::HandlePostedMessages() {
  for (;;) {
    try {
      if (!DispatchPostedMessage()) return;
    } catch (const std::exception& e) {
      HandleException(e);
    }
  }
}

void TApplication::RunModal(TCustomForm& form) {
  if (FEventLoop) {
    FEventLoop->RunModal(form);
    return;
  }
  TModalResult answer =
      ModalAnswers().Take(&form, Format("modal form \"%s\" (%s)", form.Caption().c_str(), form.ClassName().c_str()));
  if (answer != mrNone && form.ModalResult() == mrNone) form.SetModalResult(answer);
}

void TApplication::Terminate() { FTerminated = true; }

void TApplication::Idle() {
  if (FInIdle) return;
  TTempValue idle(FInIdle, true);
  TScreen& screen = Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    TCustomForm* form = screen.Forms(i);
    if (!form->Visible()) continue;
    for (int c = 0; c < form->ComponentCount(); ++c) {
      auto* list = dynamic_cast<TActionList*>(form->Components(c));
      if (!list) continue;
      try {
        list->UpdateActions();
      } catch (const std::exception& e) {
        HandleException(e);
      }
    }
  }
}

void TApplication::AdvanceTimers(int ms) { vk::AdvanceTimers(ms); }

// ---------------------------------------------------------------- the exception box

void TApplication::HandleException(const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  std::string text = e.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  // A failure is never a box the user asked for.
  MessageBox(text, FTitle, MB_OK | MB_ICONERROR | MB_UNASKED);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  return vk::MessageBox(text, caption, flags);
}

// ---------------------------------------------------------------- keys

bool TApplication::IsKeyMsg(TWinControl& control, uint32_t msg, uintptr_t key, intptr_t keyData) {
  if (msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN) return false;
  const auto code = static_cast<uint16_t>(key);
  const TShortCut shortCut = ShortCut(code, KeyDataToShiftState(keyData));
  for (TControl* c = &control; c; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
  TCustomForm* form = GetParentForm(control);
  if (form && form->IsShortCut(shortCut)) return true;
  // The main form's commands are out of reach while a modal form is up.
  if (FMainForm && FMainForm != form && FModalLevel == 0 && FMainForm->Enabled() && FMainForm->IsShortCut(shortCut))
    return true;
  intptr_t wants = 0;
  switch (code) {
    case VK_TAB: wants = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: wants = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL: wants = DLGC_WANTALLKEYS; break;
    default:
      // Alt and a letter or digit may be a label's key on the form.
      if (msg != WM_SYSKEYDOWN || !((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))) return false;
      return form && form->Perform(CM_DIALOGCHAR, code, keyData) != 0;
  }
  // The control is asked about this key, as the system asks.
  return form && !(control.Perform(WM_GETDLGCODE, code) & wants) && form->Perform(CM_DIALOGKEY, code, keyData) != 0;
}

bool TApplication::KeyboardMessage(TWinControl& control, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (IsKeyMsg(control, msg, wParam, lParam)) return false;
  control.Perform(msg, wParam, lParam);
  return true;
}

// ---------------------------------------------------------------- the screen

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  if (OnCursorChange) OnCursorChange(cursor);
}

TCustomForm* TScreen::Forms(int index) const {
  CheckListIndex(index, FormCount());
  return FForms[static_cast<size_t>(index)];
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

}  // namespace vk
