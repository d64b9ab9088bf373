// Bars and containers: the aligned layout of a main window and its
// splitters, status panels, the tool bar's row, the page control's sheets
// and the client areas of panels and group boxes.

#include <string>
#include <vector>

#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/PageControls.h"
#include "platform/Panels.h"
#include "platform/Splitters.h"
#include "platform/StatusBars.h"
#include "platform/StringLists.h"
#include "platform/ToolBars.h"
#include "tests/platform/FormsTestSupport.h"

namespace vk::test {
namespace {

template <class T>
T* Put(TWinControl* parent, TAlign align, int size) {
  auto* control = new T(parent);
  control->SetParent(parent);
  control->SetAlign(align);
  if (align == alTop || align == alBottom)
    control->SetHeight(size);
  else
    control->SetWidth(size);
  return control;
}

class BarsTest : public TFormsCase {
protected:
  BarsTest() {
    Form->SetBounds(0, 0, 608, 480);
    Form->HandleNeeded();
  }
  TForm* Form = NewForm<TForm>(&Application());
};

// Counts OnMoved.
struct TMoves {
  int Count = 0;
  void Moved(TObject*) { ++Count; }
};

TEST_F(BarsTest, SplittersResizeTheirNeighbourWithinTheRoomLeft) {
  // A main window's layout: tool bar, status bar, side panel and error pane,
  // each with its splitter.
  auto* tools = Put<TToolBar>(Form, alTop, 29);
  auto* status = Put<TStatusBar>(Form, alBottom, 19);
  auto* side = Put<TPanel>(Form, alLeft, 150);
  auto* sideSplitter = Put<TSplitter>(Form, alLeft, 3);
  auto* pane = Put<TPanel>(Form, alBottom, 100);
  pane->SetTop(0);  // above the status bar
  auto* paneSplitter = Put<TSplitter>(Form, alBottom, 3);
  paneSplitter->SetTop(0);
  auto* rest = Put<TPanel>(Form, alClient, 0);
  const TRect client = Form->ClientRect();
  EXPECT_EQ(tools->BoundsRect(), Rect(0, 0, client.Right, 29));
  EXPECT_EQ(status->BoundsRect(), Rect(0, client.Bottom - 19, client.Right, client.Bottom));
  EXPECT_EQ(side->BoundsRect(), Rect(0, 29, 150, client.Bottom - 122)) << "beside what the bottom leaves";
  EXPECT_EQ(sideSplitter->Left(), 150);
  EXPECT_EQ(pane->BoundsRect(), Rect(0, client.Bottom - 119, client.Right, client.Bottom - 19));
  EXPECT_EQ(paneSplitter->Top(), client.Bottom - 122);
  EXPECT_EQ(rest->BoundsRect(), Rect(153, 29, client.Right, client.Bottom - 122));

  TMoves moves;
  sideSplitter->OnMoved = TNotifyEvent(&moves, &TMoves::Moved);
  struct TCase {
    TSplitter* Splitter;
    TControl* Neighbour;
    int Drag;  // pixels right or down
    int Size;
  } cases[] = {
      {sideSplitter, side, 40, 190},
      {sideSplitter, side, -1000, 30},  // MinSize
      {sideSplitter, side, 1000, client.Right - 3 - 30},
      {paneSplitter, pane, -50, 150},  // up: the pane below grows
  };
  for (const TCase& c : cases) {
    const bool vertical = c.Splitter->Align() == alBottom;
    c.Splitter->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(1, 1));
    c.Splitter->Perform(WM_MOUSEMOVE, MK_LBUTTON, vertical ? MakeLParam(1, 1 + c.Drag) : MakeLParam(1 + c.Drag, 1));
    c.Splitter->Perform(WM_LBUTTONUP, 0, MakeLParam(1, 1));
    EXPECT_EQ(vertical ? c.Neighbour->Height() : c.Neighbour->Width(), c.Size) << c.Drag;
    EXPECT_EQ(vertical ? c.Splitter->BoundsRect().Bottom : c.Splitter->Left(),
              vertical ? c.Neighbour->Top() : c.Neighbour->BoundsRect().Right);
  }
  EXPECT_EQ(moves.Count, 3);
}

TEST_F(BarsTest, StatusPanelsKeepTheirWidthsAndTexts) {
  auto* status = Put<TStatusBar>(Form, alBottom, 19);
  for (int width : {80, 80, 44, 60, 340}) status->Panels()->Add()->SetWidth(width);
  status->Panels()->Items(4)->SetText("/home/prj/");
  EXPECT_EQ(status->Panels()->Count(), 5);
  EXPECT_EQ(status->Panels()->Items(4)->Text(), "/home/prj/");
  EXPECT_EQ(status->Panels()->Items(2)->Width(), 44);
  EXPECT_THROW(status->Panels()->Items(5), EListError);
}

TEST_F(BarsTest, AToolBarPlacesItsControlsInARowAtItsButtonSize) {
  auto* bar = Put<TToolBar>(Form, alTop, 29);
  auto* open = new TToolButton(Form);
  open->SetParent(bar);
  auto* gap = new TToolButton(Form);
  gap->SetStyle(tbsSeparator);
  gap->SetParent(bar);
  auto* find = new TWinControl(Form);  // a combo box on the bar
  find->SetBounds(0, 0, 120, 18);
  find->SetParent(bar);
  auto* go = new TToolButton(Form);
  go->SetParent(bar);
  EXPECT_EQ(open->BoundsRect(), Bounds(0, 0, 23, 22));
  EXPECT_EQ(gap->BoundsRect(), Bounds(23, 0, 8, 22));
  EXPECT_EQ(find->BoundsRect(), Bounds(31, 2, 120, 18));
  EXPECT_EQ(go->BoundsRect(), Bounds(151, 0, 23, 22));
  find->SetWidth(100);
  EXPECT_EQ(go->Left(), 131);
  gap->Hide();
  EXPECT_EQ(go->Left(), 123);
  EXPECT_EQ(bar->Buttons(2), go);
}

TEST_F(BarsTest, GroupedCheckButtonsReleaseEachOtherAndFollowTheirAction) {
  auto* bar = Put<TToolBar>(Form, alTop, 29);
  std::vector<TToolButton*> buttons;
  for (int i = 0; i < 3; ++i) {
    auto* b = new TToolButton(Form);
    b->SetStyle(tbsCheck);
    b->SetGrouped(true);
    b->SetParent(bar);
    buttons.push_back(b);
  }
  buttons[0]->Click();
  buttons[2]->Click();
  EXPECT_FALSE(buttons[0]->Down());
  EXPECT_TRUE(buttons[2]->Down());
  buttons[2]->Click();
  EXPECT_TRUE(buttons[2]->Down()) << "a grouped button stays down";

  auto* action = new TAction(Form);
  action->SetImageIndex(4);
  auto* linked = new TToolButton(Form);
  linked->SetAction(action);
  EXPECT_EQ(linked->ImageIndex(), 4);
  action->SetChecked(true);
  action->SetEnabled(false);
  EXPECT_TRUE(linked->Down());
  EXPECT_FALSE(linked->Enabled());
}

TEST_F(BarsTest, APageControlShowsOneSheetAndHidesTheTabsItIsTold) {
  auto* pages = Put<TPageControl>(Form, alLeft, 200);
  int resized = 0;
  struct TResize {
    int& Count;
    void Run(TObject*) { ++Count; }
  } resize{resized};
  pages->OnResize = TNotifyEvent(&resize, &TResize::Run);
  std::vector<TTabSheet*> sheets;
  for (const char* caption : {"Include ", "File", "Compile"}) {
    auto* sheet = new TTabSheet(Form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
    sheets.push_back(sheet);
  }
  EXPECT_EQ(pages->ActivePage(), sheets[0]) << "the first sheet";
  pages->SetActivePage(sheets[2]);
  EXPECT_TRUE(sheets[2]->Visible());
  EXPECT_FALSE(sheets[0]->Visible());
  const int tabs = pages->TabHeight();
  EXPECT_GT(tabs, 0);
  EXPECT_EQ(sheets[2]->BoundsRect(), Rect(2, tabs + 2, 198, pages->ClientHeight() - 2));

  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(sheets[1]->TabIndex(), -1);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  pages->SelectTab(1);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  pages->SetActivePage(sheets[1]);
  EXPECT_EQ(pages->ActivePage(), sheets[1]) << "a sheet without a tab can still be shown";
  for (TTabSheet* sheet : sheets) sheet->SetTabVisible(false);
  EXPECT_EQ(pages->TabHeight(), 0);
  EXPECT_EQ(sheets[1]->Top(), 2);

  resized = 0;
  pages->SetWidth(250);
  EXPECT_EQ(resized, 1);
}

TEST_F(BarsTest, CtrlTabTurnsThePagesWhileTheFocusIsInside) {
  auto* pages = Put<TPageControl>(Form, alClient, 0);
  std::vector<TTabSheet*> sheets;
  for (int i = 0; i < 3; ++i) {
    sheets.push_back(new TTabSheet(Form));
    sheets.back()->SetPageControl(pages);
  }
  sheets[1]->SetTabVisible(false);
  auto* edit = new TEdit(Form);
  edit->SetParent(sheets[0]);
  auto* outside = new TEdit(Form);
  outside->SetParent(Form);
  Form->Show();
  edit->SetFocus();
  const struct {
    TShiftState Shift;
    TTabSheet* Shown;
  } steps[] = {{{ssCtrl}, sheets[2]}, {{ssCtrl}, sheets[0]}, {{ssCtrl, ssShift}, sheets[2]}, {{}, sheets[2]}};
  for (const auto& step : steps) {
    PressKey(VK_TAB, step.Shift);
    EXPECT_EQ(pages->ActivePage(), step.Shown);
  }
  EXPECT_NE(FocusedControl(), edit) << "the focus left the hidden sheet";
  outside->SetFocus();
  PressKey(VK_TAB, {ssCtrl});
  EXPECT_EQ(pages->ActivePage(), sheets[2]) << "not while the focus is elsewhere";
}

TEST_F(BarsTest, PanelsAndGroupBoxesKeepTheirControlsInsideTheirFrames) {
  auto* panel = Put<TPanel>(Form, alLeft, 200);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  auto* inner = Put<TPanel>(panel, alClient, 0);
  EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 196, panel->Height() - 4));
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(inner->Left(), 2);

  auto* group = Put<TGroupBox>(Form, alClient, 0);
  auto* content = Put<TPanel>(group, alClient, 0);
  EXPECT_GT(content->Top(), 2) << "below the caption";
  EXPECT_EQ(content->Left(), 2);
}

}  // namespace
}  // namespace vk::test
