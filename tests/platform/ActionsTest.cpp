// Actions and menus: enabling on idle, linked clients, the order in which a
// shortcut is offered, radio items, and the standard actions.

#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Forms.h"
#include "platform/StandardActions.h"
#include "platform/ToolBars.h"
#include "tests/platform/FormsTestSupport.h"
#include "tests/platform/RunLog.h"

namespace vk::test {
namespace {

class ActionsTest : public TFormsCase {
protected:
  ActionsTest() { GRan.clear(); }
};

TEST_F(ActionsTest, IdleBringsTheActionsOfShownFormsUpToDateAndTheirClientsFollow) {
  TForm* form = NewForm<TForm>(&Application());
  auto* list = new TActionList(form);
  auto* action = new TAction(form);
  action->SetActionList(list);
  action->SetCaption("&Save");
  TLogger save{"save"};
  action->OnExecute = save.Event();
  bool allowed = false;
  struct TUpdate {
    bool& Allowed;
    void Run(TObject* sender) { static_cast<TAction*>(sender)->SetEnabled(Allowed); }
  } update{allowed};
  action->OnUpdate = TNotifyEvent(&update, &TUpdate::Run);
  auto* item = new TMenuItem(form);
  item->SetAction(action);
  auto* button = new TToolButton(form);
  button->SetAction(action);

  Application().Idle();
  EXPECT_TRUE(action->Enabled()) << "a hidden form's actions wait";
  form->Show();
  Application().Idle();
  EXPECT_FALSE(action->Enabled());
  EXPECT_FALSE(item->Enabled());
  EXPECT_FALSE(button->Enabled());
  item->Click();
  button->Click();
  EXPECT_TRUE(GRan.empty()) << "a disabled action does nothing";
  allowed = true;
  Application().Idle();
  EXPECT_TRUE(item->Enabled());
  EXPECT_EQ(item->Caption(), "&Save");
  item->Click();
  button->Click();
  EXPECT_EQ(GRan, (std::vector<std::string>{"save", "save"}));
}

TEST_F(ActionsTest, AClientKeepsAValueOfItsOwnAndItsOwnClickHandler) {
  TForm* form = NewForm<TForm>(&Application());
  auto* action = new TAction(form);
  action->SetCaption("Find");
  TLogger find{"find"}, own{"own"};
  action->OnExecute = find.Event();
  auto* shared = new TMenuItem(form);
  shared->SetAction(action);
  auto* mine = new TMenuItem(form);
  mine->SetAction(action);
  mine->SetCaption("&Find...");
  mine->OnClick = own.Event();
  action->SetCaption("Search");
  action->SetChecked(true);
  EXPECT_EQ(shared->Caption(), "Search");
  EXPECT_EQ(mine->Caption(), "&Find...");
  EXPECT_TRUE(mine->Checked());
  shared->Click();
  mine->Click();
  EXPECT_EQ(GRan, (std::vector<std::string>{"find", "own"}));
  delete action;
  EXPECT_EQ(shared->Action(), nullptr);
}

TEST_F(ActionsTest, AListsUpdateHandlerGoesFirstAndCanStopTheActionsOwn) {
  TForm* form = NewForm<TForm>(&Application());
  auto* list = new TActionList(form);
  auto* action = new TAction(form);
  action->SetActionList(list);
  TLogger own{"own"};
  action->OnUpdate = own.Event();
  struct TListUpdate {
    bool Handle;
    void Run(TBasicAction*, bool& handled) {
      GRan.push_back("list");
      handled = Handle;
    }
  } listUpdate{false};
  list->OnUpdate = TActionEvent(&listUpdate, &TListUpdate::Run);
  action->Update();
  listUpdate.Handle = true;
  action->Update();
  EXPECT_EQ(GRan, (std::vector<std::string>{"list", "own", "list"}));
  // Without any handler the action is disabled.
  auto* idle = new TAction(form);
  idle->Update();
  EXPECT_FALSE(idle->Enabled());
}

// The focused control of a document window: logs the keys that reach it.
class TKeyTarget : public TWinControl {
public:
  using TWinControl::TWinControl;

protected:
  void KeyDown(uint16_t& key, TShiftState) override { GRan.push_back("control " + std::string(1, char(key))); }
};

TEST_F(ActionsTest, AShortcutIsOfferedToPopupFormMainFormAndControlInTurnAndTakenOnce) {
  TForm* main = nullptr;
  Application().CreateForm(main);
  main->SetFormStyle(fsMDIForm);
  TForm* child = nullptr;
  {
    child = new TForm(&Application());
    child->SetFormStyle(fsMDIChild);
    child->AfterConstruction();
  }
  auto* field = new TKeyTarget(child);
  field->SetParent(child);
  field->SetTabStop(true);
  child->Show();
  ASSERT_EQ(FocusedControl(), field);

  std::vector<TLogger> loggers{{"popup"}, {"child menu"}, {"child action"}, {"main menu"}, {"main action"}};
  auto item = [](TComponent* owner, TMenuItem* parent, TShortCut shortCut, TLogger& logger) {
    auto* i = new TMenuItem(owner);
    i->SetShortCut(shortCut);
    i->OnClick = logger.Event();
    parent->Add(i);
    return i;
  };
  auto action = [](TComponent* owner, TShortCut shortCut, TLogger& logger) {
    auto* list = new TActionList(owner);
    auto* a = new TAction(owner);
    a->SetActionList(list);
    a->SetShortCut(shortCut);
    a->OnExecute = logger.Event();
    return a;
  };
  const TShortCut ctrlA = ShortCut('A', {ssCtrl}), ctrlB = ShortCut('B', {ssCtrl}), ctrlC = ShortCut('C', {ssCtrl}),
                  ctrlD = ShortCut('D', {ssCtrl});
  auto* popup = new TPopupMenu(child);
  field->SetPopupMenu(popup);
  item(child, popup->Items(), ctrlA, loggers[0]);
  item(child, popup->Items(), ctrlD, loggers[0])->SetEnabled(false);
  auto* childMenu = new TMainMenu(child);
  item(child, childMenu->Items(), ctrlB, loggers[1]);
  child->SetMenu(childMenu);
  action(child, ctrlA, loggers[2]);
  action(child, ctrlC, loggers[2]);
  auto* mainMenu = new TMainMenu(main);
  item(main, mainMenu->Items(), ctrlB, loggers[3]);
  item(main, mainMenu->Items(), ctrlD, loggers[3]);
  main->SetMenu(mainMenu);
  action(main, ShortCut('E', {ssCtrl}), loggers[4]);

  struct TCase {
    char Key;
    const char* Taker;
  } cases[] = {
      {'A', "popup"},       {'B', "child menu"},  {'C', "child action"},
      {'D', "main menu"},  // the popup's item is disabled
      {'E', "main action"}, {'F', "control F"},
  };
  for (const TCase& c : cases) {
    GRan.clear();
    PressKey(static_cast<uint16_t>(c.Key), {ssCtrl});
    EXPECT_EQ(GRan, std::vector<std::string>{c.Taker}) << c.Key;
  }
  // While a modal form is up the main form's commands are out of reach.
  ModalAnswers().PushResponder([](TCustomForm* dialog) {
    auto* f = new TKeyTarget(dialog);
    f->SetParent(dialog);
    f->SetFocus();
    GRan.clear();
    PressKey('E', {ssCtrl});
    EXPECT_EQ(GRan, std::vector<std::string>{"control E"});
    return mrOk;
  });
  NewForm<TForm>(&Application())->ShowModal();
}

TEST_F(ActionsTest, AMenuShortcutOpensTheMenusAboveTheItemFirst) {
  TForm* form = NewForm<TForm>(&Application());
  auto* menu = new TMainMenu(form);
  auto* edit = new TMenuItem(form);
  menu->Items()->Add(edit);
  TLogger opened{"opened"}, ran{"ran"};
  edit->OnClick = opened.Event();
  auto* item = new TMenuItem(form);
  item->SetShortCut(ShortCut('Z', {ssCtrl}));
  item->OnClick = ran.Event();
  edit->Add(item);
  EXPECT_TRUE(menu->IsShortCut(ShortCut('Z', {ssCtrl})));
  EXPECT_EQ(GRan, (std::vector<std::string>{"opened", "ran"}));
  edit->SetEnabled(false);
  EXPECT_FALSE(menu->IsShortCut(ShortCut('Z', {ssCtrl})));
}

TEST_F(ActionsTest, CheckingARadioItemUnchecksTheOthersOfItsGroup) {
  TForm* form = NewForm<TForm>(&Application());
  auto* parent = new TMenuItem(form);
  std::vector<TMenuItem*> items;
  for (int group : {1, 1, 1, 2}) {
    auto* item = new TMenuItem(form);
    item->SetRadioItem(true);
    item->SetGroupIndex(group);
    parent->Add(item);
    items.push_back(item);
  }
  items[3]->SetChecked(true);
  items[0]->SetChecked(true);
  items[2]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_FALSE(items[1]->Checked());
  EXPECT_TRUE(items[2]->Checked());
  EXPECT_TRUE(items[3]->Checked()) << "another group";
}

// A field that edits text, as the standard edit actions need.
class TTextField : public TWinControl, public TEditActionTarget {
public:
  using TWinControl::TWinControl;
  int Selected = 0;
  bool Undoable = false;
  int SelLength() const override { return Selected; }
  bool CanUndo() const override { return Undoable; }
  void CutToClipboard() override { GRan.push_back("cut"); }
  void CopyToClipboard() override { GRan.push_back("copy"); }
  void PasteFromClipboard() override { GRan.push_back("paste"); }
  void SelectAll() override { GRan.push_back("select all"); }
  void Undo() override { GRan.push_back("undo"); }
};

TEST_F(ActionsTest, EditActionsWorkOnTheFocusedEditAndWindowActionsOnTheMdiParent) {
  TForm* main = nullptr;
  Application().CreateForm(main);
  main->SetFormStyle(fsMDIForm);
  auto* field = new TTextField(main);
  field->SetParent(main);
  main->Show();
  field->SetFocus();
  auto* cut = new TEditCut(main);
  auto* paste = new TEditPaste(main);
  auto* undo = new TEditUndo(main);
  auto* close = new TWindowClose(main);
  auto* cascade = new TWindowCascade(main);
  Clipboard().SetAsText("");
  Clipboard().Clear();
  for (TCustomAction* a : std::initializer_list<TCustomAction*>{cut, paste, undo, close, cascade}) a->Update();
  EXPECT_FALSE(cut->Enabled());
  EXPECT_FALSE(paste->Enabled());
  EXPECT_FALSE(undo->Enabled());
  EXPECT_FALSE(close->Enabled()) << "no child";
  EXPECT_FALSE(cascade->Enabled());
  field->Selected = 3;
  field->Undoable = true;
  Clipboard().SetAsText("x");
  EXPECT_TRUE(cut->Execute());
  EXPECT_TRUE(paste->Execute());
  EXPECT_TRUE(undo->Execute());
  EXPECT_EQ(GRan, (std::vector<std::string>{"cut", "paste", "undo"}));

  auto* child = new TForm(&Application());
  child->SetFormStyle(fsMDIChild);
  child->AfterConstruction();
  EXPECT_TRUE(cascade->Execute());
  EXPECT_TRUE(close->Execute());
  EXPECT_EQ(child->WindowState(), wsMinimized) << "an MDI child's close minimises it by default";
  EXPECT_FALSE(cut->Execute()) << "the focus is on the child, which edits nothing";
}

}  // namespace
}  // namespace vk::test
