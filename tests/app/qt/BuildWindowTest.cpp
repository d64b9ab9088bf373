// A build on the screen: make and the AVR tool chain run while the window
// keeps painting, the output fills the compile sheet line by line, the error
// pane and the counts show the result, and the result box comes up.

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtTest/QTest>
#include <iostream>

#include "dialogs/CompilerDlg.h"
#include "app/Main.h"
#include "services/EnvironmentMakefile.h"
#include "platform/FilePaths.h"
#include "platform/qt/QtFormPeer.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

class BuildWindowQtTest : public testing::Test {
protected:
  BuildWindowQtTest() {
    setenv("VORNKIT_INSTALL_README", (Install.Path() + "/").c_str(), 1);
    ForceFolders(Install.File("Vornkit"));  // AVRRUN.BAT goes there
  }
  ~BuildWindowQtTest() override {
    Application().Reset();
    QCoreApplication::processEvents();
    unsetenv("VORNKIT_INSTALL_README");
  }
  TRegistryScope Registry;
  TTempFolder Install;
  TTempFolder Project;
};

TEST_F(BuildWindowQtTest, AFailedBuildShowsItsOutputErrorsAndResultBox) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  WriteTextFile(Project.File("main.c"),
                "#include <avr/io.h>\n\nint main(void)\n{\n    int unused_error = 3;\n    DDRB = 0xFF\n"
                "    for (;;) {\n        PORTB ^= 0x01;\n    }\n}\n");
  TMakefileOptions options;
  options.Target = "main";
  WriteMakefile(Project.Path() + "/", options);
  // Two lines and a pause before the real build, so the sheet is seen
  // half-filled however fast or slow the machine runs the tool chain.
  const std::string makefile = Project.File("makefile");
  WriteTextFile(makefile, "all: pause\n.PHONY: pause\npause:\n\t@echo one\n\t@echo two\n\t@sleep 0.5\n" +
                              ReadTextFile(makefile));
  Application().CreateForm(MainForm);
  MainForm->Show();
  OpenFromListFlag = 1;
  OpenFromListPath = Project.File("main.c");
  MainForm->FileOpenCmd->Execute();
  auto* peer = dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm));
  ASSERT_NE(peer, nullptr);
  QMainWindow* window = peer->MainWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

  // Until the result box comes up, the timer notes how many output lines the
  // compile sheet's widget shows; then it photographs both windows.
  std::vector<int> shownLines;
  bool shot = false;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) {
      if (auto* memo = WidgetOf<QPlainTextEdit>(MainForm->Memo1)) shownLines.push_back(memo->blockCount());
      return;
    }
    poll.stop();
    QCoreApplication::processEvents();
    std::cout << "screenshot: " << SaveScreenshot(window->grab().toImage(), "build-errors.png") << "\n";
    std::cout << "screenshot: " << SaveScreenshot(box->grab().toImage(), "build-result.png") << "\n";
    shot = true;
    EXPECT_EQ(WidgetOf<QLabel>(CompilerDlg->LblErr)->text(), "Error");
    EXPECT_EQ(WidgetOf<QLabel>(CompilerDlg->LblNumErr)->text(), "1");
    EXPECT_EQ(WidgetOf<QLabel>(CompilerDlg->LblNumWarn)->text(), "1");
    QTest::mouseClick(WidgetOf<QPushButton>(CompilerDlg->OKBtn), Qt::LeftButton);
  });
  poll.start();
  MainForm->RunRunCmd->Execute();

  EXPECT_TRUE(shot);
  EXPECT_EQ(LinesOf(MainForm->SrcEditErrLine->Lines()),
            (std::vector<std::string>{"main.c:7:5: error: expected ';' before 'for'",
                                      "main.c:5:9: warning: unused variable 'unused_error' [-Wunused-variable]"}));
  EXPECT_EQ(LinesOf(MainForm->MemoErrorCount->Lines()),
            (std::vector<std::string>{"Total Error:", "1", "Total Warning:", "1"}));
  // The output appeared while make ran, not only at its end.
  int total = MainForm->Memo1->Lines().Count();
  EXPECT_TRUE(std::any_of(shownLines.begin(), shownLines.end(), [total](int n) { return n > 1 && n < total; }))
      << ::testing::PrintToString(shownLines);
}

}  // namespace
}  // namespace vk::test
