// MDI: the children in activation order, a child closed while the parent
// walks them, the menu merged from the active child, the maximised state
// handed on, the window list and arranging.

#include <string>
#include <vector>

#include "platform/Forms.h"
#include "platform/StatusBars.h"
#include "platform/ToolBars.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk::test {
namespace {

class TMainWindow : public TForm {
public:
  explicit TMainWindow(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIForm);
    SetBounds(0, 0, 640, 480);
    Bar->SetParent(this);
    Status->SetParent(this);
    AddItem(this, Menu->Items(), "&File", 0);
    AddItem(this, Menu->Items(), "&Edit", 2);
    AddItem(this, Window, "&Cascade");
    Menu->Items()->Add(Window);
    SetMenu(Menu);
    SetWindowMenu(Window);
  }
  TToolBar* Bar = new TToolBar(this);
  TStatusBar* Status = new TStatusBar(this);
  TMainMenu* Menu = new TMainMenu(this);
  TMenuItem* Window = [this] {
    auto* item = new TMenuItem(this);
    item->SetCaption("&Window");
    item->SetGroupIndex(9);
    return item;
  }();
};

class TChild : public TForm {
public:
  TChild(TComponent* owner, const std::string& caption, const std::string& menu = "", int group = 0)
      : TForm(owner) {
    SetFormStyle(fsMDIChild);
    SetCaption(caption);
    SetBounds(10, 10, 200, 150);
    Field->SetParent(this);
    Field->SetTabStop(true);
    if (menu.empty()) return;
    auto* mainMenu = new TMainMenu(this);
    AddItem(this, mainMenu->Items(), menu, group);
    SetMenu(mainMenu);
    OnClose = TCloseEvent(this, &TChild::FreeOnClose);
  }
  void FreeOnClose(TObject*, TCloseAction& action) { action = caFree; }
  TWinControl* Field = new TWinControl(this);
};

class MdiTest : public TFormsCase {
protected:
  MdiTest() { Application().CreateForm(Main); }
  TChild* Child(const std::string& caption, const std::string& menu = "", int group = 0) {
    return NewForm<TChild>(&Application(), caption, menu, group);
  }
  std::vector<std::string> Order() const {
    std::vector<std::string> captions;
    for (int i = 0; i < Main->MDIChildCount(); ++i) captions.push_back(Main->MDIChildren(i)->Caption());
    return captions;
  }
  std::vector<std::string> Bar() const {
    std::vector<std::string> captions;
    for (TMenuItem* item : Main->Menu->BarItems()) captions.push_back(item->Caption());
    return captions;
  }
  std::vector<std::string> WindowList() const {
    std::vector<std::string> captions;
    for (int i = 1; i < Main->Window->Count(); ++i) {
      TMenuItem* item = Main->Window->Items(i);
      captions.push_back(item->Caption() + (item->Checked() ? " *" : ""));
    }
    return captions;
  }
  TMainWindow* Main = nullptr;
};

TEST_F(MdiTest, ChildrenComeInActivationOrderTheActiveOneFirst) {
  TChild* a = Child("a");
  TChild* b = Child("b");
  TChild* c = Child("c");
  EXPECT_EQ(Order(), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(Main->ActiveMDIChild(), c);
  EXPECT_EQ(FocusedControl(), c->Field);
  a->Show();
  EXPECT_EQ(Order(), (std::vector<std::string>{"a", "c", "b"}));
  b->Field->SetFocus();  // a click into a child activates it
  EXPECT_EQ(Order(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_TRUE(b->Active());
  delete b;
  EXPECT_EQ(Main->ActiveMDIChild(), a) << "the next in line takes over";
  EXPECT_EQ(FocusedControl(), a->Field);
  EXPECT_THROW(a->Hide(), EInvalidOperation);
}

TEST_F(MdiTest, ChildrenClosedWhileTheParentWalksThemGoOnlyAfterTheWalk) {
  for (const char* caption : {"a", "b", "c"}) Child(caption, "&Tools", 5);
  const int count = Main->MDIChildCount();
  for (int i = 0; i < Main->MDIChildCount(); ++i) {
    Main->MDIChildren(i)->Close();
    EXPECT_EQ(Main->MDIChildCount(), count);
  }
  Application().ProcessMessages();
  EXPECT_EQ(Main->MDIChildCount(), 0);
  EXPECT_EQ(Main->ActiveMDIChild(), nullptr);
  EXPECT_EQ(Bar(), (std::vector<std::string>{"&File", "&Edit", "&Window"}));
}

TEST_F(MdiTest, TheActiveChildsMenuTakesThePlaceOfTheGroupItShares) {
  TChild* edit = Child("doc", "&Edit(E)", 2);
  TChild* plain = Child("plain");
  TChild* tools = Child("tools", "&Tools", 5);
  struct TCase {
    TChild* Activated;
    std::vector<std::string> Bar;
  } cases[] = {
      {edit, {"&File", "&Edit(E)", "&Window"}},
      {plain, {"&File", "&Edit", "&Window"}},
      {tools, {"&File", "&Edit", "&Tools", "&Window"}},
      {edit, {"&File", "&Edit(E)", "&Window"}},
  };
  for (const TCase& c : cases) {
    c.Activated->Show();
    EXPECT_EQ(Bar(), c.Bar) << c.Activated->Caption();
  }
  delete edit;
  EXPECT_EQ(Bar(), (std::vector<std::string>{"&File", "&Edit", "&Tools", "&Window"}))
      << "the next child, tools, is active now";
}

TEST_F(MdiTest, AMaximisedChildFillsTheClientAreaAndHandsTheStateOnWhenActivatedOrGone) {
  TChild* a = Child("a");
  TChild* b = Child("b");
  const TRect area = Main->MDIClientRect();
  EXPECT_EQ(area, Rect(0, Main->Bar->Height(), Main->ClientWidth(), Main->ClientHeight() - Main->Status->Height()));
  b->SetWindowState(wsMaximized);
  EXPECT_EQ(b->BoundsRect(), Rect(0, 0, area.Width(), area.Height()));
  EXPECT_EQ(b->ClientRect(), Rect(0, 0, area.Width(), area.Height())) << "no frame or caption while maximised";
  a->Show();
  EXPECT_EQ(a->WindowState(), wsMaximized);
  EXPECT_EQ(b->WindowState(), wsNormal);
  EXPECT_EQ(b->BoundsRect(), Bounds(10, 10, 200, 150));
  Main->Bar->SetHeight(50);
  EXPECT_EQ(a->Height(), Main->MDIClientRect().Height()) << "a maximised child follows the client area";
  delete a;
  EXPECT_EQ(b->WindowState(), wsMaximized) << "the child that comes forward when a maximised one goes";
}

TEST_F(MdiTest, TheWindowListNamesTheChildrenAndShowsOneWhenChosen) {
  Child("a");
  TChild* b = Child("b&c");
  Child("d");
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "&1 a", "&2 b&&c", "&3 d *"}));
  Main->Window->Items(3)->Click();
  EXPECT_EQ(Main->ActiveMDIChild(), b);
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "&1 a", "&2 b&&c *", "&3 d"}));
  b->SetCaption("e");
  EXPECT_EQ(WindowList()[2], "&2 e *");
}

TEST_F(MdiTest, ArrangingPlacesTheChildrenInTheClientArea) {
  TChild* a = Child("a");
  TChild* b = Child("b");
  const TRect area = Main->MDIClientRect();
  const int w = area.Width(), h = area.Height();
  Main->SetTileMode(tbHorizontal);
  Main->Tile();
  EXPECT_EQ(b->BoundsRect(), Rect(0, 0, w, h / 2)) << "the active one first";
  EXPECT_EQ(a->BoundsRect(), Rect(0, h / 2, w, h));
  Main->SetTileMode(tbVertical);
  Main->Tile();
  EXPECT_EQ(a->BoundsRect(), Rect(w / 2, 0, w, h));
  Main->Cascade();
  EXPECT_EQ(a->Left(), 0) << "the one behind first";
  EXPECT_GT(b->Left(), a->Left());
  EXPECT_GT(b->Top(), a->Top());
  Main->MinimizeAll();
  EXPECT_EQ(a->WindowState(), wsMinimized);
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(a->BoundsRect().Bottom, h) << "icons along the bottom";
  EXPECT_EQ(b->Top(), a->Top());
  EXPECT_NE(b->Left(), a->Left());
}

TEST_F(MdiTest, AChildNeedsAnMdiParent) {
  Application().Reset();
  TForm* plain = nullptr;
  Application().CreateForm(plain);
  EXPECT_THROW(Child("orphan"), EInvalidOperation);
}

}  // namespace
}  // namespace vk::test
