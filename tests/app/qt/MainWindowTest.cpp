// The IDE on the screen: the program's start-up path runs its loop until
// the main window closes, and the main window with a project open.

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMdiArea>
#include <iostream>

#include "app/ChildWin.h"
#include "app/Main.h"
#include "app/Program.h"
#include "app/SettingsStore.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtFormPeer.h"
#include "tests/app/AppTestSupport.h"
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
  // The main window as the program shows it, with the project of main.c
  // opened as the file list opens it.
  QMainWindow* ShowProject() {
    Application().CreateForm(MainForm);
    MainForm->Show();
    OpenFromListFlag = 1;
    OpenFromListPath = Project.File("main.c");
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

TEST_F(MainWindowQtTest, AProjectOpensInTheMainWindow) {
  WriteTextFile(Project.File("main.c"),
                "/* Blink the LEDs on port B. */\n#include <avr/io.h>\n#include \"lcd.h\"\n\nint main(void)\n{\n"
                "    DDRB = 0xFF;\n    for (;;) {\n        PORTB ^= 0x01;  // toggle\n    }\n    return 0;\n}\n");
  WriteTextFile(Project.File("lcd.h"), "#ifndef LCD_H\n#define LCD_H\n\nvoid lcd_init(void);\n\n#endif\n");
  QMainWindow* window = ShowProject();
  ASSERT_EQ(MainForm->DocumentCount(), 2);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Application().Idle();
  QCoreApplication::processEvents();
  EXPECT_EQ(dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm))->MdiArea()->subWindowList().size(), 2);
  std::cout << "screenshot: " << SaveScreenshot(window->grab().toImage(), "main-window.png") << "\n";
}

TEST_F(MainWindowQtTest, TheEditMenuFollowsTheEditorAndTheKeysOutliveTheDocuments) {
  WriteTextFile(Project.File("main.c"), "int main(void) { return 0; }\n");
  QMainWindow* window = ShowProject();
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

}  // namespace
}  // namespace vk::test
