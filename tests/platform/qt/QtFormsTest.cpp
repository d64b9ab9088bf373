// Forms on the screen: a demo MDI main window with a menu, a tool bar, a
// status bar, a page control, splitters and two document windows holding
// editors; a modal dialog answered from a timer; and a smoke test of each
// peer kind: what the user does in the widget reaches the model.

#include <gtest/gtest.h>

#include <functional>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <iostream>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "platform/Buttons.h"
#include "platform/Forms.h"
#include "platform/PageControls.h"
#include "platform/Panels.h"
#include "platform/Splitters.h"
#include "platform/StandardActions.h"
#include "platform/StatusBars.h"
#include "platform/ToolBars.h"
#include "platform/qt/QtBarPeers.h"
#include "platform/qt/QtControlPeers.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtMessageBoxes.h"
#include "tests/platform/FormsTestSupport.h"
#include "tests/platform/RunLog.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

template <class T>
T* Put(TComponent* owner, TWinControl* parent, TAlign align, int size) {
  auto* control = new T(owner);
  control->SetParent(parent);
  if (align == alTop || align == alBottom)
    control->SetHeight(size);
  else
    control->SetWidth(size);
  control->SetAlign(align);
  return control;
}

class TDemoMain : public TForm {
public:
  explicit TDemoMain(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIForm);
    SetCaption("Demo main window");
    SetBounds(0, 0, 960, 640);
    // Actions and the menu bar.
    New->SetActionList(Actions);
    New->SetCaption("&New");
    New->SetShortCut(ShortCut('N', {ssCtrl}));
    New->SetImageIndex(0);
    New->OnExecute = NewLog.Event();
    Tile->SetActionList(Actions);
    Tile->SetCaption("Tile &Vertically");
    TMenuItem* file = AddItem(this, Menu->Items(), "&File", 0);
    AddItem(this, file, "")->SetAction(New);
    AddItem(this, file, "-");
    AddItem(this, file, "E&xit");
    AddItem(this, AddItem(this, Menu->Items(), "&Edit", 2), "&Undo")->SetShortCut(ShortCut('Z', {ssCtrl}));
    TMenuItem* window = AddItem(this, Menu->Items(), "&Window", 9);
    AddItem(this, window, "")->SetAction(Tile);
    SetMenu(Menu);
    SetWindowMenu(window);
    // Tool bar: two buttons, a separator, a check button and a field.
    Images->Add(Square(clNavy), clWhite);
    Images->Add(Square(clMaroon), clWhite);
    Bar->SetImages(Images);
    Bar->SetFlat(true);
    OpenButton->SetParent(Bar);
    OpenButton->SetAction(New);
    OpenButton->SetHint("New file");
    (new TToolButton(this))->SetParent(Bar);
    Gap->SetStyle(tbsSeparator);
    Gap->SetParent(Bar);
    Check->SetStyle(tbsCheck);
    Check->SetImageIndex(1);
    Check->SetParent(Bar);
    Find->SetBounds(0, 0, 140, 20);
    Find->SetBevelOuter(bvLowered);
    Find->SetCaption("find text");
    Find->SetColor(clWindow);
    Find->SetParent(Bar);
    // Status bar panels.
    for (int width : {80, 80, 44, 60, 340}) Status->Panels()->Add()->SetWidth(width);
    Status->Panels()->Items(1)->SetText("  1 : 1");
    Status->Panels()->Items(4)->SetText("/home/avr/blink/");
    // The error pane along the bottom and the side panel on the left.
    Pane->SetTop(0);
    Pane->SetCaption("error lines...");
    Pane->SetBevelOuter(bvLowered);
    PaneSplitter->SetTop(0);
    for (const char* caption : {"Include ", "File", "Compile"}) {
      auto* sheet = new TTabSheet(this);
      sheet->SetCaption(caption);
      sheet->SetPageControl(Pages);
      Sheets.push_back(sheet);
    }
    Pages->SetActivePage(Sheets[1]);
    Group = Put<TGroupBox>(this, Sheets[1], alTop, 90);
    Group->SetCaption("Options");
    auto* bevel = new TBevel(this);
    bevel->SetParent(Group);
    bevel->SetBounds(10, 30, 150, 2);
    bevel->SetShape(bsTopLine);
    Button = new TButton(this);
    Button->SetParent(Group);
    Button->SetCaption("&Refresh");
    Button->SetBounds(10, 45, 90, 25);
  }

  // A square of the colour on white, which the list leaves out.
  static const TBitmap& Square(TColor color) {
    static TBitmap bitmap;
    bitmap.SetSize(16, 16);
    bitmap.Fill(Rect(0, 0, 16, 16), ColorToRGB(clWhite));
    bitmap.Fill(Rect(2, 2, 14, 14), ColorToRGB(color));
    return bitmap;
  }

  TLogger NewLog{"new"};
  TActionList* Actions = new TActionList(this);
  TAction* New = new TAction(this);
  TWindowTileVertical* Tile = new TWindowTileVertical(this);
  TMainMenu* Menu = new TMainMenu(this);
  TImageList* Images = new TImageList(this, 16, 16);
  TToolBar* Bar = Put<TToolBar>(this, this, alTop, 29);
  TToolButton* OpenButton = new TToolButton(this);
  TToolButton* Gap = new TToolButton(this);
  TToolButton* Check = new TToolButton(this);
  TPanel* Find = new TPanel(this);
  TStatusBar* Status = Put<TStatusBar>(this, this, alBottom, 19);
  TPanel* Pane = Put<TPanel>(this, this, alBottom, 90);
  TSplitter* PaneSplitter = Put<TSplitter>(this, this, alBottom, 4);
  TPanel* Side = Put<TPanel>(this, this, alLeft, 200);
  TSplitter* SideSplitter = Put<TSplitter>(this, this, alLeft, 4);
  TPageControl* Pages = Put<TPageControl>(this, Side, alClient, 0);
  std::vector<TTabSheet*> Sheets;
  TGroupBox* Group = nullptr;
  TButton* Button = nullptr;
};

// A document window: an editor that fills it and an Edit menu that merges
// into the main window's bar.
class TDocument : public TForm {
public:
  TDocument(TComponent* owner, const std::string& caption, const std::string& text) : TForm(owner) {
    SetFormStyle(fsMDIChild);
    SetCaption(caption);
    SetBounds(0, 0, 360, 260);
    Editor->SetParent(this);
    Editor->SetAlign(alClient);
    Editor->SrcSetText(text);
    AddItem(this, AddItem(this, Menu->Items(), "&Edit(E)", 2), "&Comment");
    SetMenu(Menu);
    OnClose = TCloseEvent(this, &TDocument::FreeOnClose);
  }
  void FreeOnClose(TObject*, TCloseAction& action) { action = caFree; }
  TSrcEdit* Editor = new TSrcEdit(this);
  TMainMenu* Menu = new TMainMenu(this);
};

class QtFormsTest : public testing::Test {
protected:
  QtFormsTest() { GRan.clear(); }
  ~QtFormsTest() override {
    CloseForms();
  }
  static QImage Shot(QWidget& window, const std::string& name) {
    QCoreApplication::processEvents();
    QImage image = window.grab().toImage();
    std::cout << "screenshot: " << SaveScreenshot(image, name) << "\n";
    return image;
  }
  // A shown form whose only panel carries a new popup menu.
  static TPopupMenu* PanelPopup(TForm*& form, TPanel*& panel) {
    form = NewForm<TForm>(&Application());
    form->SetBounds(100, 100, 300, 200);
    panel = Put<TPanel>(form, form, alClient, 0);
    auto* popup = new TPopupMenu(form);
    panel->SetPopupMenu(popup);
    return popup;
  }
  // Shows the form, right-clicks the panel and lets `work` use the popup on
  // the screen.
  static void RightClickAndUse(TForm* form, TPanel* panel, std::function<void(QMenu*)> work) {
    form->Show();
    QTimer::singleShot(50, [work] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      work(menu);
      if (menu->isVisible()) menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(110, 110));
    QCoreApplication::sendEvent(QtPeerOf(panel)->Widget(), &event);
  }
};

TEST_F(QtFormsTest, TheDemoMainWindowShowsItsBarsPagesAndDocuments) {
  TDemoMain* main = nullptr;
  Application().CreateForm(main);
  main->Show();
  auto* a = NewForm<TDocument>(&Application(), "/home/avr/blink/main.c",
                               "#include <avr/io.h>\n\nint main(void)\n{\n    DDRB = 0xFF;\n    for (;;) PORTB ^= 1;\n}\n");
  auto* b = NewForm<TDocument>(&Application(), "/home/avr/blink/led.h", "#define LED PB0\n");
  main->Tile->Execute();
  auto* peer = dynamic_cast<TQtFormPeer*>(QtPeerOf(main));
  ASSERT_NE(peer, nullptr);
  QMainWindow* window = peer->MainWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  QCoreApplication::processEvents();
  Shot(*window, "mdi-main-window.png");

  // The bar shows the merged menu; the window list names both documents.
  QStringList bar;
  for (QAction* action : window->menuBar()->actions())
    if (action->isVisible()) bar << action->text();
  EXPECT_EQ(bar, QStringList({"&File", "&Edit(E)", "&Window"}));
  QAction* newAction = peer->MenuAction(main->Menu->Items()->Items(0)->Items(0));
  ASSERT_NE(newAction, nullptr);
  EXPECT_EQ(newAction->text(), "&New\tCtrl+N");
  EXPECT_TRUE(newAction->shortcut().isEmpty()) << "the model dispatches the keys";
  QAction* line = peer->MenuAction(main->Menu->Items()->Items(0)->Items(1));
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isSeparator());
  EXPECT_EQ(line->text(), "") << "a style draws a separator's text beside its line";

  // Two documents in the MDI area, each client exactly the model's.
  ASSERT_EQ(peer->MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(peer->MdiArea()->geometry(), ToQRect(main->MDIClientRect()));
  for (TDocument* doc : {a, b}) {
    QWidget* client = QtPeerOf(doc)->ChildArea();
    EXPECT_EQ(client->size(), QSize(doc->ClientWidth(), doc->ClientHeight())) << doc->Caption();
  }
  EXPECT_EQ(peer->MdiArea()->activeSubWindow(), QtPeerOf(b)->Widget());

  // Status panels at their widths.
  auto* status = static_cast<TQtStatusBarPeer*>(QtPeerOf(main->Status));
  EXPECT_EQ(status->Panel(4)->text(), "/home/avr/blink/");
  EXPECT_EQ(status->Panel(2)->width(), 44);
  main->Status->Panels()->Items(0)->SetText("X120-Y45");
  EXPECT_EQ(status->Panel(0)->text(), "X120-Y45");

  // The user's clicks reach the model.
  QTest::mouseClick(WidgetOf<QToolButton>(main->OpenButton), Qt::LeftButton);
  newAction->trigger();
  EXPECT_EQ(GRan, (std::vector<std::string>{"new", "new"}));
  QTest::mouseClick(WidgetOf<QToolButton>(main->Check), Qt::LeftButton);
  EXPECT_TRUE(main->Check->Down());
  auto* tabs = static_cast<TQtPageControlPeer*>(QtPeerOf(main->Pages))->TabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
  EXPECT_EQ(main->Pages->ActivePage(), main->Sheets[2]);
  QWidget* splitter = QtPeerOf(main->SideSplitter)->Widget();
  QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(1, 50));
  QMouseEvent move(QEvent::MouseMove, QPointF(41, 50), splitter->mapToGlobal(QPointF(41, 50)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(splitter, &move);
  QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(1, 50));
  EXPECT_EQ(main->Side->Width(), 240);
  EXPECT_EQ(QtPeerOf(main->Side)->Widget()->width(), 240);

  // Activating the other document by Qt hands the merged menu over.
  peer->MdiArea()->setActiveSubWindow(static_cast<QMdiSubWindow*>(QtPeerOf(a)->Widget()));
  EXPECT_EQ(main->ActiveMDIChild(), a);
  // Closing a document window asks the model, which frees it.
  QtPeerOf(a)->Widget()->close();
  Application().ProcessMessages();
  EXPECT_EQ(main->MDIChildCount(), 1);
  EXPECT_EQ(peer->MdiArea()->subWindowList().size(), 1);
}

class TDemoDialog : public TForm {
public:
  explicit TDemoDialog(TComponent* owner) : TForm(owner) {
    SetCaption("Find text");
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, 349, 200);
    SetPosition(poScreenCenter);
    Group->SetParent(this);
    Group->SetCaption("Options");
    Group->SetBounds(8, 8, 325, 100);
    Field->SetParent(Group);
    Field->SetBounds(10, 25, 300, 22);
    Field->SetTabStop(true);
    Field->SetBevelOuter(bvLowered);
    Field->SetColor(clWindow);
    for (TButton* b : {Ok, Cancel}) b->SetParent(this);
    Ok->SetCaption("Ok");
    Ok->SetBounds(80, 125, 75, 25);
    Ok->SetModalResult(mrOk);
    Ok->SetDefault(true);
    Cancel->SetCaption("Cancel");
    Cancel->SetBounds(180, 125, 75, 25);
    Cancel->SetModalResult(mrCancel);
    Cancel->SetCancel(true);
  }
  TGroupBox* Group = new TGroupBox(this);
  TPanel* Field = new TPanel(this);
  TButton* Ok = new TButton(this);
  TButton* Cancel = new TButton(this);
};

TEST_F(QtFormsTest, AModalDialogIsAnsweredFromATimerByItsButtonsAndKeys) {
  TDemoDialog* dialog = NewForm<TDemoDialog>(&Application());
  QTimer::singleShot(50, [dialog] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Find text");
    Shot(*window, "modal-dialog.png");
    QTest::mouseClick(WidgetOf<QPushButton>(dialog->Ok), Qt::LeftButton);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(QtPeerOf(dialog)->Widget()->isVisible());

  struct TCase {
    Qt::Key Key;
    TModalResult Expected;
  } keys[] = {{Qt::Key_Escape, mrCancel}, {Qt::Key_Return, mrOk}};
  for (const TCase& c : keys) {
    dialog->SetActiveControl(dialog->Field);
    // The key goes to the widget of the control that has the focus.
    QTimer::singleShot(50, [&c, dialog] {
      EXPECT_EQ(FocusedControl(), dialog->Field);
      if (TQtPeer* focused = QtPeerOf(FocusedControl())) QTest::keyClick(focused->Widget(), c.Key);
      if (dialog->ModalResult() == mrNone) dialog->Cancel->Click();
    });
    EXPECT_EQ(dialog->ShowModal(), c.Expected);
  }
}

TEST_F(QtFormsTest, AFocusedPageControlTurnsItsPagesWithTheArrowsAndTabLeavesIt) {
  TForm* form = NewForm<TForm>(&Application());
  form->SetBounds(100, 100, 300, 200);
  auto* pages = Put<TPageControl>(form, form, alTop, 150);
  for (const char* caption : {"One", "Two", "Three"}) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
  }
  auto* after = Put<TButton>(form, form, alBottom, 25);
  form->Show();
  QApplication::setActiveWindow(QtPeerOf(form)->Widget()->window());
  pages->SetFocus();
  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, nullptr);
  QTest::keyClick(focused, Qt::Key_Right);
  EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
  QTest::keyClick(focused, Qt::Key_Tab);
  EXPECT_EQ(FocusedControl(), after) << "Tab moves on in the model's order";
}

// A box answers the button pressed once it showed, Return its default one;
// a Space queued before it showed, which reaches whatever is in front when
// the queue gets to it, answers nothing.
TEST_F(QtFormsTest, AMessageBoxOnTheScreenAnswersTheButtonPressed) {
  auto previous = SetMessageBoxService(std::make_unique<TQtMessageBoxes>());
  const struct {
    uint32_t Buttons;
    bool SpaceQueued, ReturnPressed;  // else No is clicked
  } cases[] = {{MB_YESNOCANCEL, false, false}, {MB_YESNO | MB_DEFBUTTON2, false, true}, {MB_YESNO, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Buttons);
    QMetaObject::invokeMethod(qApp, [&] {
      QWidget* front = QApplication::activeModalWidget();
      if (QWidget* target = front ? front->focusWidget() : QApplication::focusWidget(); target && c.SpaceQueued)
        QTest::keyClick(target, Qt::Key_Space);
    }, Qt::QueuedConnection);
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), "Save to file?");
      EXPECT_EQ(box->windowTitle(), "Save message");
      c.ReturnPressed ? QTest::keyClick(box, Qt::Key_Return) : box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(MessageBox("Save to file?", "Save message", c.Buttons | MB_ICONQUESTION), IDNO);
  }
  SetMessageBoxService(std::move(previous));
}

TEST_F(QtFormsTest, APopupMenuOpensOnTheScreenAndItsChoiceClicksTheItem) {
  TForm* form;
  TPanel* panel;
  TPopupMenu* popup = PanelPopup(form, panel);
  TLogger large{"large"}, small{"small"};
  AddItem(form, popup->Items(), "Large Icon")->OnClick = large.Event();
  AddItem(form, popup->Items(), "Small Icon")->OnClick = small.Event();
  RightClickAndUse(form, panel, [](QMenu* menu) {
    ASSERT_EQ(menu->actions().size(), 2);
    menu->actions()[1]->trigger();
  });
  EXPECT_EQ(GRan, std::vector<std::string>{"small"});
  EXPECT_EQ(popup->PopupComponent(), panel);
}

TEST_F(QtFormsTest, AMnemonicSharedWithAGreyedItemReachesTheOtherItem) {
  TForm* form;
  TPanel* panel;
  TPopupMenu* popup = PanelPopup(form, panel);
  TLogger redo{"redo"}, replace{"replace"};
  TMenuItem* greyed = AddItem(form, popup->Items(), "&Redo");
  greyed->OnClick = redo.Event();
  greyed->SetEnabled(false);
  AddItem(form, popup->Items(), "&Replace...")->OnClick = replace.Event();
  RightClickAndUse(form, panel, [](QMenu* menu) {
    for (Qt::Key key : {Qt::Key_R, Qt::Key_R, Qt::Key_Return}) QTest::keyClick(menu, key);
  });
  EXPECT_EQ(GRan, std::vector<std::string>{"replace"});
}

// Clicked open on the menu bar and closed with one Escape, a menu leaves the
// keys to the window at once: the shortcuts run their commands and letters
// type in the focused control.
TEST_F(QtFormsTest, OneEscapeEndsAMenuOfTheBarAndTheShortcutsWorkAtOnce) {
  struct TRow {
    char Letter;
    Qt::Key Key;
  };
  const TRow rows[] = {{'S', Qt::Key_S}, {'C', Qt::Key_C}, {'N', Qt::Key_N}, {'O', Qt::Key_O}};
  TForm* form = NewForm<TForm>(&Application());
  form->SetBounds(100, 100, 400, 300);
  auto* menu = new TMainMenu(form);
  TMenuItem* file = AddItem(form, menu->Items(), "&File");
  TMenuItem* edit = AddItem(form, menu->Items(), "&Edit");
  std::vector<TLogger> loggers;
  for (const TRow& row : rows) loggers.push_back({std::string(1, row.Letter)});
  for (size_t i = 0; i < std::size(rows); ++i) {
    TMenuItem* item = AddItem(form, rows[i].Letter == 'C' ? edit : file, std::string(1, rows[i].Letter));
    item->SetShortCut(ShortCut(rows[i].Letter, {ssCtrl}));
    item->OnClick = loggers[i].Event();
  }
  form->SetMenu(menu);
  auto* probe = new TProbe(form);
  probe->SetParent(form);
  form->Show();
  probe->SetFocus();
  QMainWindow* window = static_cast<TQtFormPeer*>(QtPeerOf(form))->MainWindow();
  ASSERT_NE(window, nullptr);
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QCoreApplication::processEvents();
  QMenuBar* bar = window->menuBar();
  QAction* editAction = bar->actions().value(1);
  ASSERT_TRUE(editAction && editAction->menu());

  for (const TRow& row : rows) {
    GRan.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(editAction).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editAction->menu()));
    QTest::keyClick(editAction->menu(), Qt::Key_Escape);
    EXPECT_FALSE(bar->hasFocus()) << row.Letter;
    QTest::keyClick(QApplication::focusWidget(), row.Key, Qt::ControlModifier);
    EXPECT_EQ(GRan, std::vector<std::string>{std::string(1, row.Letter)});
  }
  probe->Log.clear();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_E);
  EXPECT_EQ(probe->Chars(), "e") << "a letter is no mnemonic of the bar any more";
  EXPECT_EQ(FocusedControl(), probe);
}

TEST_F(QtFormsTest, AnExceptionFromAClickGoesToTheExceptionBox) {
  TForm* form = NewForm<TForm>(&Application());
  auto* button = new TButton(form);
  button->SetParent(form);
  struct TFailing {
    void Run(TObject*) { throw Exception("Cannot open file"); }
  } failing;
  button->OnClick = TNotifyEvent(&failing, &TFailing::Run);
  form->Show();
  MessageBoxAnswers().Push(IDOK);
  QTest::mouseClick(WidgetOf<QPushButton>(button), Qt::LeftButton);
  ASSERT_EQ(MessageBoxAnswers().Requests().size(), 1u);
  EXPECT_EQ(MessageBoxAnswers().Requests()[0].Text, "Cannot open file.");
}

TEST_F(QtFormsTest, EachPeerKindFollowsTheModel) {
  TForm* form = NewForm<TForm>(&Application());
  form->SetBounds(0, 0, 400, 300);
  auto* panel = Put<TPanel>(form, form, alTop, 60);
  auto* group = Put<TGroupBox>(form, form, alLeft, 150);
  auto* bevel = new TBevel(form);
  bevel->SetParent(form);
  bevel->SetBounds(200, 100, 100, 50);
  auto* bar = Put<TControlBar>(form, form, alRight, 80);
  form->Show();
  struct TCase {
    const char* Kind;
    TControl* Control;
  } cases[] = {{"panel", panel}, {"group box", group}, {"bevel", bevel}, {"control bar", bar}, {"form", form}};
  for (const TCase& c : cases) {
    TQtPeer* peer = QtPeerOf(c.Control);
    ASSERT_NE(peer, nullptr) << c.Kind;
    if (c.Control != form) {
      EXPECT_EQ(peer->Widget()->geometry(), PeerGeometry(*c.Control)) << c.Kind;
    }
    c.Control->SetEnabled(false);
    EXPECT_FALSE(peer->Widget()->isEnabled()) << c.Kind;
  }
  group->SetCaption("Scope");
  EXPECT_EQ(WidgetOf<QGroupBox>(group)->title(), "Scope");
  form->SetCaption("Kinds");
  EXPECT_EQ(QtPeerOf(form)->Widget()->windowTitle(), "Kinds");
  panel->Hide();
  EXPECT_TRUE(QtPeerOf(panel)->Widget()->isHidden());
  EXPECT_EQ(QtPeerOf(group)->Widget()->y(), 0) << "the layout follows the model's";
}

}  // namespace
}  // namespace vk::test
