// Forms: modal results, Enter and Esc, close actions, the exception box,
// focus and tab order, the first placement, and a user message reaching a
// form's Dispatch.

#include <functional>
#include <string>

#include "platform/Buttons.h"
#include "platform/Forms.h"
#include "platform/Memos.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk::test {
namespace {

// A dialog with a field and the five answer buttons; OK is the default and
// Cancel the cancel button.
class TDialog : public TForm {
public:
  explicit TDialog(TComponent* owner) : TForm(owner) {
    SetBounds(0, 0, 300, 200);
    Field->SetTabStop(true);
    Ok->SetDefault(true);
    Cancel->SetCancel(true);
  }
  ~TDialog() override {
    if (Destroyed) *Destroyed = true;
  }
  template <class T>
  T* Child(T* control) {
    control->SetParent(this);
    return control;
  }
  TButton* Button(TModalResult result) {
    auto* button = Child(new TButton(this));
    button->SetModalResult(result);
    return button;
  }
  TWinControl* Field = Child(new TWinControl(this));
  TButton* Ok = Button(mrOk);
  TButton* Cancel = Button(mrCancel);
  TButton* Yes = Button(mrYes);
  TButton* No = Button(mrNo);
  TButton* All = Button(mrAll);
  bool* Destroyed = nullptr;
};

class FormsTest : public TFormsCase {};

TEST_F(FormsTest, EachWayOfAnsweringGivesItsModalResult) {
  struct TCase {
    const char* Name;
    std::function<void(TDialog&)> Answer;
    TModalResult Expected;
  };
  const TCase cases[] = {
      {"OK", [](TDialog& d) { d.Ok->Click(); }, mrOk},
      {"Cancel", [](TDialog& d) { d.Cancel->Click(); }, mrCancel},
      {"Yes", [](TDialog& d) { d.Yes->Click(); }, mrYes},
      {"No", [](TDialog& d) { d.No->Click(); }, mrNo},
      {"All", [](TDialog& d) { d.All->Click(); }, mrAll},
      {"Enter in the field presses the default button", [](TDialog&) { PressKey(VK_RETURN); }, mrOk},
      {"Enter on a button presses that one",
       [](TDialog& d) {
         d.No->SetFocus();
         PressKey(VK_RETURN);
       },
       mrNo},
      {"Esc presses the cancel button", [](TDialog&) { PressKey(VK_ESCAPE); }, mrCancel},
      {"a memo keeps Enter and leaves Esc to the cancel button",
       [](TDialog& d) {
         auto* memo = d.Child(new TMemo(&d));
         memo->SetFocus();
         EXPECT_TRUE(PressKey(VK_RETURN));
         EXPECT_EQ(d.ModalResult(), mrNone) << "not the default button's";
         PressKey(VK_ESCAPE);
       },
       mrCancel},
      {"Shift+Enter presses nothing, then the close box",
       [](TDialog& d) {
         PressKey(VK_RETURN, {ssShift});
         EXPECT_EQ(d.ModalResult(), mrNone);
         d.Close();
       },
       mrCancel},
  };
  TDialog* dialog = NewForm<TDialog>(&Application());
  for (const TCase& c : cases) {
    dialog->SetActiveControl(dialog->Field);
    ModalAnswers().PushResponder([&](TCustomForm* form) {
      EXPECT_EQ(FocusedControl(), dialog->Field) << c.Name;
      c.Answer(*static_cast<TDialog*>(form));
      return mrNone;
    });
    EXPECT_EQ(dialog->ShowModal(), c.Expected) << c.Name;
    EXPECT_FALSE(dialog->Visible()) << c.Name;
  }
}

TEST_F(FormsTest, ACloseHandlerThatKeepsTheFormWaitsForTheNextAnswer) {
  TDialog* dialog = NewForm<TDialog>(&Application());
  int closes = 0;
  struct TKeep {
    int& Closes;
    void Close(TObject*, TCloseAction& action) {
      if (++Closes == 1) action = caNone;
    }
  } keep{closes};
  dialog->OnClose = TCloseEvent(&keep, &TKeep::Close);
  ModalAnswers().Push(mrOk);
  ModalAnswers().Push(mrNo);
  EXPECT_EQ(dialog->ShowModal(), mrNo);
  EXPECT_EQ(closes, 2);
}

TEST_F(FormsTest, AShownFormCannotBeShownModallyAndAnUnansweredOneFails) {
  TDialog* dialog = NewForm<TDialog>(&Application());
  EXPECT_THROW(dialog->ShowModal(), EUnscriptedRequest);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->Modal());
  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, CloseActionsDecideWhatBecomesOfTheForm) {
  struct TCase {
    TCloseAction Action;
    bool Visible, Exists;
    TWindowState State;
  } cases[] = {
      {caNone, true, true, wsNormal},
      {caHide, false, true, wsNormal},
      {caMinimize, true, true, wsMinimized},
      {caFree, true, false, wsNormal},
  };
  struct TSetAction {
    TCloseAction Action;
    void Close(TObject*, TCloseAction& action) { action = Action; }
  };
  TForm* main = nullptr;
  Application().CreateForm(main);
  for (const TCase& c : cases) {
    bool destroyed = false;
    TDialog* dialog = NewForm<TDialog>(&Application());
    dialog->Destroyed = &destroyed;
    TSetAction set{c.Action};
    dialog->OnClose = TCloseEvent(&set, &TSetAction::Close);
    dialog->Show();
    dialog->Close();
    ASSERT_FALSE(destroyed) << c.Action << ": a form is freed only after its handlers";
    EXPECT_EQ(dialog->Visible(), c.Visible) << c.Action;
    EXPECT_EQ(dialog->WindowState(), c.State) << c.Action;
    Application().ProcessMessages();
    EXPECT_EQ(!destroyed, c.Exists) << c.Action;
    if (!destroyed) delete dialog;
  }
  EXPECT_FALSE(Application().Terminated());
  main->Close();
  EXPECT_TRUE(Application().Terminated());
}

// A control whose messages raise, as a broken event handler would.
class TFailing : public TControl {
public:
  using TControl::TControl;
  std::string Text;

protected:
  void Dispatch(TMessage&) override {
    if (Text == "abort") throw EAbort("");
    throw Exception(Text);
  }
};

TEST_F(FormsTest, TheExceptionBoxShowsWhatEscapedAHandlerAndTheProgramGoesOn) {
  struct TCase {
    const char* Raised;
    const char* Shown;
  } cases[] = {{"Broken", "Broken."}, {"Cannot open file!", "Cannot open file!"}, {"Done.", "Done."}};
  TFailing failing(nullptr);
  for (const TCase& c : cases) {
    failing.Text = c.Raised;
    MessageBoxAnswers().Push(IDOK);
    PostMessage(&failing, WM_USER, 0, 0);
    Application().ProcessMessages();
    ASSERT_FALSE(MessageBoxAnswers().Requests().empty());
    const TMessageBoxRequest& box = MessageBoxAnswers().Requests().back();
    EXPECT_EQ(box.Text, c.Shown);
    EXPECT_EQ(box.Caption, Application().Title());
    EXPECT_EQ(box.Icon(), MB_ICONERROR);
  }
  // EAbort is the silent exception.
  size_t shown = MessageBoxAnswers().Requests().size();
  failing.Text = "abort";
  PostMessage(&failing, WM_USER, 0, 0);
  Application().ProcessMessages();
  EXPECT_EQ(MessageBoxAnswers().Requests().size(), shown);
}

TEST_F(FormsTest, TheFocusFollowsTheTabOrderAroundTheForm) {
  TForm* form = NewForm<TForm>(&Application());
  auto window = [form](bool tabStop) {
    auto* w = new TWinControl(form);
    w->SetParent(form);
    w->SetTabStop(tabStop);
    return w;
  };
  TWinControl* a = window(true);
  TWinControl* b = window(true);
  TWinControl* skipped = window(false);
  TWinControl* c = window(true);
  TWinControl* hidden = window(true);
  hidden->Hide();
  c->SetTabOrder(0);  // c, a, b, skipped, hidden
  form->Show();
  EXPECT_EQ(FocusedControl(), c);
  EXPECT_EQ(form->ActiveControl(), c);
  form->Perform(WM_NEXTDLGCTL, 0, 0);
  EXPECT_EQ(FocusedControl(), a);
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedControl(), b);
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedControl(), c) << "around the end, past windows without a tab stop or hidden";
  form->Perform(WM_NEXTDLGCTL, 1, 0);
  EXPECT_EQ(FocusedControl(), b);
  PressKey(VK_TAB, {ssShift});
  EXPECT_EQ(FocusedControl(), a);
  (void)skipped;
}

// Where a form stands while its OnShow runs.
struct TShownAt {
  TControl* Form;
  TPoint At{-1, -1};
  void Shown(TObject*) { At = {Form->Left(), Form->Top()}; }
};

TEST_F(FormsTest, TheFirstShowingPlacesTheFormAndLaterOnesKeepItsPlace) {
  struct TCase {
    TRect Main;
    TPosition Position;
    TPoint Expected;
  } cases[] = {
      {Bounds(100, 100, 800, 600), poMainFormCenter, {350, 300}},
      {Bounds(0, 0, 100, 100), poMainFormCenter, {0, 0}},
      {Bounds(0, 0, 100, 100), poScreenCenter, {(1024 - 300) / 2, (768 - 200) / 2}},
  };
  for (const TCase& c : cases) {
    TForm* main = nullptr;
    Application().CreateForm(main);
    main->SetBoundsRect(c.Main);
    TDialog* dialog = NewForm<TDialog>(&Application());
    dialog->SetPosition(c.Position);
    TShownAt shownAt{dialog};
    dialog->OnShow = TNotifyEvent(&shownAt, &TShownAt::Shown);
    dialog->Show();
    EXPECT_EQ(dialog->Left(), c.Expected.X);
    EXPECT_EQ(dialog->Top(), c.Expected.Y);
    EXPECT_EQ(shownAt.At, c.Expected) << "a box opened by OnShow sees the form in its place";
    dialog->OnShow = nullptr;
    dialog->Hide();
    dialog->SetLeft(5);
    dialog->Show();
    EXPECT_EQ(dialog->Left(), 5);
    Application().Reset();
  }
}

// A document window that takes the main window's command message in its
// message dispatch.
class TDocument : public TForm {
public:
  using TForm::TForm;
  std::vector<uintptr_t> Commands;

protected:
  void Dispatch(TMessage& message) override {
    if (message.Msg == WM_USER + 100) {
      Commands.push_back(message.WParam);
      return;
    }
    TForm::Dispatch(message);
  }
};

TEST_F(FormsTest, AUserMessageSentToTheWindowReachesTheFormsDispatch) {
  TDocument* document = NewForm<TDocument>(&Application());
  EXPECT_EQ(SendMessage(document->Handle(), WM_USER + 100, 11, 0), 0);
  EXPECT_EQ(SendMessage(document->Handle(), WM_USER + 101, 12, 0), 0);
  EXPECT_EQ(document->Commands, std::vector<uintptr_t>{11});
  document->SetText("caption");
  EXPECT_EQ(document->Caption(), "caption") << "other messages take their usual way";
}

}  // namespace
}  // namespace vk::test
