// A build on the screen: make and the AVR tool chain run while the window
// keeps painting, the output fills the compile sheet line by line, the error
// pane and the counts show the result, and the result box comes up.

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtTest/QTest>
#include <iostream>

#include "dialogs/CompilerDlg.h"
#include "app/ChildWin.h"
#include "app/Main.h"
#include "services/EnvironmentMakefile.h"
#include "platform/FilePaths.h"
#include "platform/Timers.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtMessageBoxes.h"
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
    SetMessageBoxService(nullptr);
    Application().Reset();
    QCoreApplication::processEvents();
    unsetenv("VORNKIT_INSTALL_README");
  }
  // The main window with the project's main.c open, on the screen.
  QMainWindow* ShowProject() {
    Application().CreateForm(MainForm);
    MainForm->Show();
    OpenFromListFlag = 1;
    OpenFromListPath = Project.File("main.c");
    MainForm->FileOpenCmd->Execute();
    QMainWindow* window = dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm))->MainWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    return window;
  }
  // Message boxes on the screen for the test's time.
  void ShowBoxesOnTheScreen() { SetMessageBoxService(std::make_unique<TQtMessageBoxes>()); }
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
  QMainWindow* window = ShowProject();

  // Until the result box comes up, the timer notes how many output lines the
  // compile sheet's widget shows; once the box has its rows (make's dry run
  // of this makefile fills them), it photographs both windows.
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
    if (CompilerDlg->LbMcuType->Caption().empty()) return;
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

// While make runs, the compile sheet shows each new line until the user
// scrolls it up with the wheel (which reaches it meanwhile); keys typed into
// the editor wait until make has ended and then reach it in order, before
// the result box is up (where the space would press OK); Escape asks whether
// to stop the build, No by default, and so does the close box, whose Yes
// stops it and leaves the program running.
TEST_F(BuildWindowQtTest, WhileMakeRunsTheOutputIsFollowedKeysWaitAndTheBuildCanBeStopped) {
  WriteTextFile(Project.File("main.c"), "int main(void) { return 0; }\n");
  WriteTextFile(Project.File("makefile"),
                "all:\n\t@for i in $$(seq 1 60); do echo line $$i; sleep 0.02; done\n\t@sleep 30\n");
  QMainWindow* window = ShowProject();
  ShowBoxesOnTheScreen();
  QWidget* editor = dynamic_cast<TQtControlHost*>(QtPeerOf(MainForm->ActiveDocument()->Editor))->ClientArea();

  int scrolledTo = -1, questions = 0;
  bool typed = false, escaped = false, closed = false, shown = false;
  std::vector<std::string> failures;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* memo = WidgetOf<QPlainTextEdit>(MainForm->Memo1);
    const int lines = MainForm->Memo1->Lines().Count(), value = memo->verticalScrollBar()->value(),
              bottom = memo->verticalScrollBar()->maximum();
    if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      if (question->defaultButton() != question->button(QMessageBox::No)) failures.push_back("default Yes");
      question->button(questions++ ? QMessageBox::Yes : QMessageBox::No)->click();
    } else if (QApplication::activeModalWidget()) {
      poll.stop();
      shown = true;
      if (WidgetOf<QLabel>(CompilerDlg->LblErr)->text() != "Stopped") failures.push_back("not stopped");
      if (MainForm->ActiveDocument()->Editor->Lines().Get(0) != "ab cint main(void) { return 0; }")
        failures.push_back("typed: " + MainForm->ActiveDocument()->Editor->Lines().Get(0));
      QTest::mouseClick(WidgetOf<QPushButton>(CompilerDlg->OKBtn), Qt::LeftButton);
    } else if (scrolledTo < 0) {
      if (value != bottom) failures.push_back("not followed at " + std::to_string(lines));
      if (lines >= 10 && !std::exchange(typed, true)) QTest::keyClicks(editor, "ab c");
      if (bottom < 3) return;
      QWheelEvent up({5, 5}, memo->viewport()->mapToGlobal(QPointF(5, 5)), {}, {0, 120}, {}, {}, Qt::NoScrollPhase,
                     false);
      QCoreApplication::sendEvent(memo->viewport(), &up);
      scrolledTo = memo->verticalScrollBar()->value();
      if (scrolledTo >= bottom) failures.push_back("the wheel did not scroll");
    } else if (value != scrolledTo) {
      failures.push_back("moved from where the user scrolled to at " + std::to_string(lines));
    } else if (lines == 60 && !std::exchange(escaped, true)) {
      QTest::keyClick(editor, Qt::Key_Escape);
    } else if (questions == 1 && !std::exchange(closed, true)) {
      window->close();
    }
  });
  poll.start();
  MainForm->RunRunCmd->Execute();

  EXPECT_EQ(failures, std::vector<std::string>{});
  EXPECT_TRUE(typed && shown);
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(LinesOf(MainForm->SrcEditErrLine->Lines()), std::vector<std::string>{"error: the build was stopped"});
  EXPECT_TRUE(window->isVisible());
}

// The result box comes up on its own as make ends: a Space or an Enter the
// window system delivers 100 ms after it shows, or a Space while it asks
// make under the hourglass, waits; the box stays until it is clicked, and
// the editor gets the key after it.
TEST_F(BuildWindowQtTest, TheResultBoxTakesNoKeyTypedForTheEditor) {
  const std::string source = "int main(void) { return 0; }";
  WriteTextFile(Project.File("main.c"), source + "\n");
  // make reads the makefile for a while, in the build and in the box's dry
  // run alike.
  WriteTextFile(Project.File("makefile"), "PAUSE := $(shell sleep 0.2)\nall:\n\t@echo built\n");
  ShowProject();
  TSrcEdit& editor = *MainForm->ActiveDocument()->Editor;
  const struct {
    const char* Name;
    char Key;
    bool WhileAsking;
    std::vector<std::string> Lines;
  } cases[] = {{"Space", ' ', false, {" " + source, ""}},
               {"Enter", '\r', false, {"", source, ""}},
               {"Space while it asks make", ' ', true, {" " + source, ""}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    bool typed = false, stayed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* box = QApplication::activeModalWidget();
      const bool asking = Screen().Cursor() == crHourGlass;
      if (!box || (!typed && asking != c.WhileAsking) || (typed && asking)) return;
      if (!std::exchange(typed, true)) {
        AdvanceTimers(100);
        TypeLater(c.Key);
        return;
      }
      QCoreApplication::processEvents();
      poll.stop();
      stayed = box->isVisible() && LinesOf(editor.Lines()) == std::vector<std::string>{source, ""};
      QTest::mouseClick(WidgetOf<QPushButton>(CompilerDlg->OKBtn), Qt::LeftButton);
    });
    poll.start(5);
    MainForm->RunRunCmd->Execute();
    QCoreApplication::processEvents();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(LinesOf(editor.Lines()), c.Lines);
    editor.Undo();
  }
}

// A mnemonic (Alt+F) and a shortcut (Ctrl+S) typed while make runs do not
// run then: once make has ended they run in the order typed, after the key
// typed before them, and before the result box comes up.
TEST_F(BuildWindowQtTest, AMnemonicAndAShortcutTypedWhileMakeRunsRunAfterItInOrder) {
  const std::string source = Project.File("main.c");
  WriteTextFile(source, "int main(void) { return 0; }\n");
  WriteTextFile(Project.File("makefile"), "all:\n\t@echo start\n\t@sleep 0.3\n\t@echo end\n");
  QMainWindow* window = ShowProject();
  ShowBoxesOnTheScreen();
  QWidget* editor = dynamic_cast<TQtControlHost*>(QtPeerOf(MainForm->ActiveDocument()->Editor))->ClientArea();
  const TStrings& output = MainForm->Memo1->Lines();
  auto when = [&] { return std::string(output.Get(output.Count() - 1) == "end" ? "" : " while make runs"); };
  std::vector<std::string> log;
  QMenu* fileMenu = window->menuBar()->actions().value(0)->menu();
  QObject::connect(fileMenu, &QMenu::aboutToShow, [&] {
    log.push_back("menu" + when());
    QTimer::singleShot(0, fileMenu, &QMenu::close);
  });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      log.push_back(question->text().toStdString() + when());
      question->button(QMessageBox::Yes)->click();
    } else if (QApplication::activeModalWidget()) {
      poll.stop();
      log.push_back("result");
      QTest::mouseClick(WidgetOf<QPushButton>(CompilerDlg->OKBtn), Qt::LeftButton);
    } else if (log.empty() && output.Count() == 1) {
      log.push_back("typed");
      QTest::keyClick(editor, Qt::Key_A);
      QTest::keyClick(editor, Qt::Key_F, Qt::AltModifier);
      QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    }
  });
  poll.start(5);
  MainForm->RunRunCmd->Execute();
  EXPECT_EQ(log, (std::vector<std::string>{"typed", "menu", "Save to File?", "result"}));
  EXPECT_EQ(ReadTextFile(source), "aint main(void) { return 0; }\n");
}

}  // namespace
}  // namespace vk::test
