// The IDE on the screen: the program's start-up path runs its loop until
// the main window closes, and the main window with a project open.

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMdiArea>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStatusBar>
#include <iostream>

#include "app/ChildWin.h"
#include "app/Main.h"
#include "app/Program.h"
#include "services/SettingsStore.h"
#include "platform/FilePaths.h"
#include "platform/ScopeGuard.h"
#include "platform/Timers.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtConvert.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtFormPeer.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

class MainWindowQtTest : public testing::Test {
protected:
  MainWindowQtTest() { setenv("VORNKIT_INSTALL_README", (Install.Path() + "/").c_str(), 1); }
  ~MainWindowQtTest() override {
    CloseForms();
    unsetenv("VORNKIT_INSTALL_README");
  }
  // The main window as the program shows it, with the project of a main
  // file opened as the file list opens it.
  QMainWindow* ShowProject(const std::string& mainFile) {
    Application().CreateForm(MainForm);
    MainForm->Show();
    OpenFromListFlag = 1;
    OpenFromListPath = mainFile;
    MainForm->FileOpenCmd->Execute();
    return dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm))->MainWindow();
  }
  TRegistryScope Registry;
  TTempFolder Install;
  TTempFolder Project;
};

TEST_F(MainWindowQtTest, TheProgramShowsItsMainWindowAndEndsWhenItCloses) {
  bool shown = false;
  QTimer::singleShot(100, [&] {
    ASSERT_NE(MainForm, nullptr);
    shown = QtPeerOf(MainForm) && QtPeerOf(MainForm)->Widget()->isVisible();
    MainForm->Close();
  });
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(shown);
  EXPECT_EQ(MainForm, nullptr);
  EXPECT_FALSE(IsFirstRun());
}

// The project's folder has a Hangul name: the caption, the Window menu and
// the status bar show it in its own letters.
TEST_F(MainWindowQtTest, AProjectOpensInTheMainWindow) {
  const QString folder = QString::fromStdString(Project.File("프로젝트"));
  const std::string programFolder = QStringToFileName(folder);  // in the code page
  ForceFolders(programFolder);
  WriteTextFile(programFolder + "/main.c",
                "/* Blink the LEDs on port B. */\n#include <avr/io.h>\n#include \"lcd.h\"\n\nint main(void)\n{\n"
                "    DDRB = 0xFF;\n    for (;;) {\n        PORTB ^= 0x01;  // toggle\n    }\n    return 0;\n}\n");
  WriteTextFile(programFolder + "/lcd.h", "#ifndef LCD_H\n#define LCD_H\n\nvoid lcd_init(void);\n\n#endif\n");
  QMainWindow* window = ShowProject(programFolder + "/main.c");
  ASSERT_EQ(MainForm->DocumentCount(), 2);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Application().Idle();
  QCoreApplication::processEvents();
  EXPECT_EQ(dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm))->MdiArea()->subWindowList().size(), 2);
  // The front document's name in the window's caption, both in the Window
  // menu, the folder in the status bar.
  EXPECT_TRUE(window->windowTitle().endsWith(folder + "/main.c]")) << window->windowTitle().toStdString();
  QStringList menu, panels;
  for (QAction* action : window->menuBar()->actions())
    if (action->menu())
      for (QAction* item : action->menu()->actions()) menu << item->text();
  EXPECT_EQ(menu.filter(folder).size(), 2) << menu.join(' ').toStdString();
  for (QStatusBar* bar : window->findChildren<QStatusBar*>())
    for (QLabel* label : bar->findChildren<QLabel*>()) panels << label->text();
  EXPECT_TRUE(panels.contains(folder + "/")) << panels.join('|').toStdString();
  // Cascaded, the document windows show their captions.
  MainForm->WindowCascadeCmd->Execute();
  QCoreApplication::processEvents();
  std::cout << "screenshot: " << SaveScreenshot(window->grab().toImage(), "main-window.png") << "\n";
}

TEST_F(MainWindowQtTest, TheEditMenuFollowsTheEditorAndTheKeysOutliveTheDocuments) {
  WriteTextFile(Project.File("main.c"), "int main(void) { return 0; }\n");
  QMainWindow* window = ShowProject(Project.File("main.c"));
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  TSrcEdit& editor = *MainForm->ActiveDocument()->Editor;
  editor.SetFocus();
  editor.SelectAll();
  Clipboard().SetAsText("x");
  QTest::qWait(50);

  // The document's Edit menu on the screen, open for a while: the editor
  // keeps the focus, so the edit commands stay offered.
  QMenu* edit = nullptr;
  for (QAction* action : window->menuBar()->actions())
    if (action->text() == "&Edit(E)") edit = action->menu();
  ASSERT_NE(edit, nullptr);
  edit->popup(window->mapToGlobal(QPoint(60, 30)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
  RunLoopFor(100);
  int offered = 0;
  for (QAction* action : edit->actions())
    for (const char* caption : {"Cu&t", "&Copy", "&Paste", "Se&lect All"})
      if (action->text().startsWith(caption)) offered += action->isEnabled() ? 1 : 0;
  EXPECT_EQ(offered, 4);
  edit->close();

  // Opened from the menu bar and closed with one Escape, the menu gives the
  // keys back to the editor: Ctrl+C copies its text.
  QMenuBar* bar = window->menuBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit->menuAction()).center());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
  QTest::keyClick(edit, Qt::Key_Escape);
  RunLoopFor(50);
  EXPECT_EQ(FocusedControl(), &editor);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard().AsText(), "int main(void) { return 0; }\r\n");

  // Another program's window comes and goes: the editor has the focus
  // again, with its caret.
  {
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  }
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  RunLoopFor(50);
  EXPECT_EQ(FocusedControl(), &editor);

  // Without documents nothing has the focus, and the keys still reach the
  // main window's commands.
  MainForm->FileCloseAllCmd->Execute();
  QTest::qWait(50);
  ASSERT_EQ(MainForm->DocumentCount(), 0);
  QTest::keyClick(window->windowHandle(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(MainForm->DocumentCount(), 1);
}

// Another program changes the file of a window with changes of its own:
// keys the window system delivers 100 ms after the reload question shows,
// or every 80 ms for 2 s, wait; the box stays until it is clicked, and the
// editor gets the keys after it. The focus the closing box hands back asks
// nothing, though the other program wrote again meanwhile.
TEST_F(MainWindowQtTest, TheReloadQuestionTakesNoKeyTypedForTheEditorAndAsksOnceForNo) {
  SetMessageBoxService(std::make_unique<TQtMessageBoxes>());
  TScopeExit scriptedBoxes([] { SetMessageBoxService(nullptr); });
  const std::string path = Project.File("main.c");
  WriteTextFile(path, "int a;\n");
  QMainWindow* window = ShowProject(path);
  TMDIChild* document = MainForm->ActiveDocument();
  std::string typed;
  const struct {
    std::string Keys;
    int Every;  // clock milliseconds from one key to the next
  } cases[] = {{"y", 0}, {"n", 0}, {std::string(25, 'k'), 80}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Keys);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    document->Editor->SetSelText("x");
    typed += "x" + c.Keys;
    int questions = 0;
    bool stayed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || QGuiApplication::focusWindow() != box->windowHandle()) return;
      ++questions;
      AdvanceTimers(100);
      for (char key : c.Keys) {
        TypeLater(key);
        QCoreApplication::processEvents();
        AdvanceTimers(c.Every);
      }
      stayed = box->isVisible();
      WriteTextFile(path, "int c" + typed + ";\n");
      QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    poll.start(5);
    WriteTextFile(path, "int b" + typed + ";\n");
    PostMessage(document, WM_CHECKDISKFILE, 0, 0);  // as the window comes to the front
    RunLoopFor(200);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(document->Editor->Lines().Get(0), typed + "int a;");
  }
  document->Editor->SetModified(false);
}

}  // namespace
}  // namespace vk::test
