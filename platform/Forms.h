#pragma once
// Forms and the application. A form is a top-level window with a caption,
// a frame, a menu bar and the controls on it: shown modelessly, modally
// (answering a modal result) or as an MDI child inside the main form. The
// application owns the forms it creates, runs the message loop, brings the
// actions up to date when it is idle and shows the exceptions that escape
// an event handler in its exception box.
//
// Forms are C++ construction code: a form class builds its components in
// its constructor. Make a form with Application().CreateForm(reference) or
// NewForm<T>(owner): both finish the construction (OnCreate runs, then a
// form made visible, and every MDI child, is shown).
//
// The message loop, ShowModal's loop and the message boxes are seams: a
// backend installs its event loop (TEventLoop) and message-box service;
// headless, ShowModal takes its answer from ModalAnswers() and posted
// messages wait for ProcessMessages.

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/Actions.h"
#include "platform/Components.h"
#include "platform/Controls.h"
#include "platform/Menus.h"
#include "platform/MessageBoxes.h"
#include "platform/ScriptedAnswers.h"

namespace vk {

enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm };
enum TFormBorderStyle : uint8_t { bsSizeable, bsDialog };
// Where a form goes when it is first shown; after that it stays where it was.
enum TPosition : uint8_t { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TTileMode : uint8_t { tbHorizontal, tbVertical };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* owner);
  // Its components go first, while the form is whole; an MDI child leaves
  // its parent.
  ~TCustomForm() override;
  std::string ClassName() const override { return "TCustomForm"; }

  // Ends the construction: OnCreate, then the form is shown when it was
  // made visible (an MDI child always is). Runs once; showing a form runs
  // it first when nobody did.
  void AfterConstruction();

  // ----- the window (Caption is the title)
  TFormStyle FormStyle() const { return FFormStyle; }
  // Set while the form is built, before its window exists.
  void SetFormStyle(TFormStyle value);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState value);
  // Bounds less the frame, the caption and the menu bar; a maximised MDI
  // child shows no frame or caption.
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetClientWidth(int value) { SetWidth(value + Width() - ClientWidth()); }
  void SetClientHeight(int value) { SetHeight(value + Height() - ClientHeight()); }
  void SetBounds(int left, int top, int width, int height) override;

  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // The menu item under which an MDI parent lists its children.
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* item);

  // ----- showing and closing
  // Visible, brought to the front and activated.
  void Show();
  // Raises EInvalidOperation "Cannot hide an MDI Child Form" for an MDI child.
  void Hide();
  // A modal form gets the modal result mrCancel. Otherwise OnClose decides
  // (the default: hide, an MDI child is minimised): none keeps the form,
  // hide hides it, minimise minimises it, free releases it. Closing the
  // main form ends the application.
  void Close();
  // Shows the form modally until it has a modal result, then closes it
  // (OnClose with hide as the default; none keeps it open) and hides it.
  // Raises EInvalidOperation "Cannot make a visible window modal" for a
  // visible, disabled or modal form or an MDI child.
  TModalResult ShowModal();
  // Frees the form once the messages waiting now are handled, so that a
  // handler of the form may release it.
  void Release();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  bool Modal() const { return FModal; }
  // The form has the activation (for an MDI child: it is the active one).
  bool Active() const;
  // An MDI child becomes the active one; another form is activated.
  void BringToFront();
  // The program hands the activation back to the form after its own box or
  // dialog has gone: as BringToFront, but Screen().FocusReturning() says so
  // meanwhile, since the user did not bring the form to the front.
  void ReturnFocus();

  // ----- focus
  // The control that has (or gets, when the form is activated) the focus.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // The form's menu, then its action lists, run the shortcut; true when
  // one of them took it.
  bool IsShortCut(TShortCut shortCut);

  // ----- MDI parent
  // Children in z-order: the active one first.
  int MDIChildCount() const { return static_cast<int>(FMDIChildren.size()); }
  TCustomForm* MDIChildren(int index) const;
  TCustomForm* ActiveMDIChild() const { return FActiveMDIChild; }
  // The area the children share, in client coordinates: what the aligned
  // controls leave.
  TRect MDIClientRect() const { return FMDIClient; }
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode value) { FTileMode = value; }
  void Cascade();
  // Rows (tbHorizontal) or columns (tbVertical) of the children that are
  // not minimised, the active one first.
  void Tile();
  // The minimised children in a row along the bottom.
  void ArrangeIcons();
  void MinimizeAll();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TCloseEvent OnClose;

  void WndProc(TMessage& message) override;

protected:
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoClose(TCloseAction& action);
  void CreateWnd() override;
  void DestroyWnd() override;
  void VisibleChanged() override;
  void TextChanged() override;
  void SetFocusedControl(TWinControl* control) override;
  void AlignControls(TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TApplication;
  // The MDI parent of an MDI child (the application's main form), else nullptr.
  TCustomForm* MDIParent() const;
  int FrameSize() const;
  int CaptionHeight() const;
  int MenuHeight() const;
  void Showing();
  void Hiding();
  void ApplyFirstPosition();
  void PlaceAt(TPosition position);
  void ApplyWindowState();
  // Moves the focus to the active control (or the first in tab order).
  void FocusActiveControl();
  void Activate();
  void CloseModal();
  void MenuShown(TObject*);
  // MDI parent
  void ActivateChild(TCustomForm* child);
  void ChildGone(TCustomForm* child);
  void UpdateWindowMenu();
  void WindowListClick(TObject* sender);
  bool DialogKey(uint16_t key, intptr_t keyData);

  bool FCreated = false;
  TFormStyle FFormStyle = fsNormal;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TRect FRestoreBounds;
  TMainMenu* FMenu = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  TWinControl* FActiveControl = nullptr;
  // MDI parent
  std::vector<TCustomForm*> FMDIChildren;  // z-order, front first
  std::vector<TCustomForm*> FMDICreated;   // creation order: the window list
  std::vector<TMenuItem*> FWindowListItems;
  TCustomForm* FActiveMDIChild = nullptr;
  TRect FMDIClient;
  TTileMode FTileMode = tbHorizontal;
};

class TForm : public TCustomForm {
public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  std::string ClassName() const override { return "TForm"; }
};

// Makes a form and finishes its construction (see AfterConstruction).
template <class T, class... Args>
T* NewForm(Args&&... args) {
  T* form = new T(std::forward<Args>(args)...);
  form->AfterConstruction();
  return form;
}

// The form the control is on, or nullptr.
TCustomForm* GetParentForm(const TControl& control);

// A backend's event loop, which the application runs its loops on.
class TEventLoop {
public:
  virtual ~TEventLoop() = default;
  // Handles events until the application is terminated.
  virtual void Run() = 0;
  // Handles the events waiting now.
  virtual void ProcessMessages() = 0;
  // Handles events until the form has a modal result or the application is
  // terminated.
  virtual void RunModal(TCustomForm& form) = 0;
};

// Headless answers to ShowModal: the responder gets the form and acts as
// a person would (fills controls, clicks a button) and answers a modal
// result for a form its clicks left open (0: none, the next answer is
// taken); a plain answer is the modal result, as a button without a
// handler would give it.
using TModalAnswers = TScriptedAnswers<TCustomForm*, TModalResult>;
TModalAnswers& ModalAnswers();

class TApplication : public TComponent {
public:
  explicit TApplication(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TApplication"; }

  // Makes a form owned by the application into reference and finishes its
  // construction; the first form made is the main form, whose window is
  // made at once.
  template <class T>
  void CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    FormCreated(form);
  }
  TCustomForm* MainForm() const { return FMainForm; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }

  // Shows the main form and handles messages until the application is
  // terminated. Headless, it handles what is waiting (posted messages and
  // idle work) and returns when nothing is left.
  void Run();
  void ProcessMessages();
  // Dispatches the posted messages that wait, each under the exception box.
  void HandlePostedMessages();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // The idle work: the action lists of the visible forms update their
  // actions. Exceptions go to the exception box.
  void Idle();

  // The exception box: an exception that escaped an event handler is shown
  // with its text (a period added), and the program goes on. EAbort is
  // silent.
  void HandleException(const std::exception& e);
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags = MB_OK);

  // A key from the keyboard for the control, as the message loop sees it
  // before the control does: the popup menus of the control and its
  // parents, its form's menu and action lists, then the main form's (not
  // while a modal form is up), then the dialog keys (Tab, arrows, Enter,
  // Esc) where the control does not want them. True when one took it.
  bool IsKeyMsg(TWinControl& control, uint32_t msg, uintptr_t key, intptr_t keyData);
  // Delivers a keyboard message: IsKeyMsg first, then the control. True
  // when the control got it; a key taken on the way makes no characters.
  bool KeyboardMessage(TWinControl& control, uint32_t msg, uintptr_t wParam, intptr_t lParam);

  // Moves the timers' clock on (see platform/Timers.h).
  void AdvanceTimers(int ms);
  // The backend's event loop (nullptr: headless).
  void SetEventLoop(TEventLoop* loop) { FEventLoop = loop; }
  // Frees the forms the application owns and clears the run state: a
  // program when its loop ended, tests between cases.
  void Reset();

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TCustomForm;
  void FormCreated(TCustomForm* form);
  // Runs one modal loop round for the form (the backend's or the answers').
  void RunModal(TCustomForm& form);

  TCustomForm* FMainForm = nullptr;
  std::string FTitle = "Vornkit";
  bool FTerminated = false;
  bool FInIdle = false;
  int FModalLevel = 0;
  TEventLoop* FEventLoop = nullptr;
};

// The application object; it lives until the process ends.
TApplication& Application();

class TScreen {
public:
  int Width() const;
  int Height() const;
  // The pointer shape over every window of the program (crDefault: each
  // control's own); the backend shows it (OnCursorChange).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  TDelegate<void(TCursor)> OnCursorChange;
  TWinControl* ActiveControl() const { return FocusedControl(); }
  // The focus comes back to a window after the program's own box or dialog
  // has gone (TCustomForm::ReturnFocus), which is no coming to the front.
  bool FocusReturning() const { return FFocusReturning; }
  // Every form that exists, in the order they were made.
  int FormCount() const { return static_cast<int>(FForms.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TCustomForm* Forms(int index) const;

private:
  friend class TCustomForm;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FLastActive = nullptr;
  TCursor FCursor = crDefault;
  bool FFocusReturning = false;
};

TScreen& Screen();

// The hourglass over the program while a scope waits for a tool; the
// pointer it found comes back when the scope ends.
class TBusyCursor {
public:
  TBusyCursor() : FPrevious(Screen().Cursor()) { Screen().SetCursor(crHourGlass); }
  ~TBusyCursor() { Screen().SetCursor(FPrevious); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
  TCursor FPrevious;
};

}  // namespace vk
