// The IDE on the screen: the program's start-up path runs its loop until
// the main window closes, and the main window with a project open.

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMdiArea>
#include <iostream>

#include "app/ChildWin.h"
#include "app/Main.h"
#include "app/Program.h"
#include "app/SettingsStore.h"
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

TEST_F(MainWindowQtTest, AProjectOpensInTheMainWindow) {
  WriteTextFile(Project.File("main.c"),
                "/* Blink the LEDs on port B. */\n#include <avr/io.h>\n#include \"lcd.h\"\n\nint main(void)\n{\n"
                "    DDRB = 0xFF;\n    for (;;) {\n        PORTB ^= 0x01;  // toggle\n    }\n    return 0;\n}\n");
  WriteTextFile(Project.File("lcd.h"), "#ifndef LCD_H\n#define LCD_H\n\nvoid lcd_init(void);\n\n#endif\n");
  Application().CreateForm(MainForm);
  MainForm->Show();
  OpenFromListFlag = 1;
  OpenFromListPath = Project.File("main.c");
  MainForm->FileOpenCmd->Execute();
  ASSERT_EQ(MainForm->DocumentCount(), 2);

  auto* peer = dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm));
  ASSERT_NE(peer, nullptr);
  QMainWindow* window = peer->MainWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  Application().Idle();
  QCoreApplication::processEvents();
  EXPECT_EQ(peer->MdiArea()->subWindowList().size(), 2);
  std::cout << "screenshot: " << SaveScreenshot(window->grab().toImage(), "main-window.png") << "\n";
}

}  // namespace
}  // namespace vk::test
