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
#include <QtWidgets/QStatusBar>
#include <iostream>

#include "app/ChildWin.h"
#include "app/Main.h"
#include "app/Program.h"
#include "app/SettingsStore.h"
#include "platform/FilePaths.h"
#include "platform/qt/QtConvert.h"
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
  Application().CreateForm(MainForm);
  MainForm->Show();
  OpenFromListFlag = 1;
  OpenFromListPath = programFolder + "/main.c";
  MainForm->FileOpenCmd->Execute();
  ASSERT_EQ(MainForm->DocumentCount(), 2);

  auto* peer = dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm));
  ASSERT_NE(peer, nullptr);
  QMainWindow* window = peer->MainWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Application().Idle();
  QCoreApplication::processEvents();
  EXPECT_EQ(peer->MdiArea()->subWindowList().size(), 2);
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

}  // namespace
}  // namespace vk::test
