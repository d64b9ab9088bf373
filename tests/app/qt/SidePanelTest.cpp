// The side panel and the search on the screen: the file browser over a
// project folder, the project tree with a file's functions, and a replace
// asking beside its hit in the main window.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTreeView>
#include <QtTest/QTest>
#include <iostream>

#include "app/ChildWin.h"
#include "dialogs/FindText.h"
#include "app/Main.h"
#include "dialogs/ReplaceFind.h"
#include "dialogs/ReplaceSelect.h"
#include "services/SettingsStore.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtViewPeers.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

QWidget* WidgetOf(const TControl* control) { return control->Peer() ? QtPeerOf(control)->Widget() : nullptr; }

class SidePanelQtTest : public testing::Test {
protected:
  SidePanelQtTest() {
    setenv("VORNKIT_INSTALL_README", (Install.Path() + "/").c_str(), 1);
    const std::string folder = LookUpInstallFolder().Folder;
    mkdir(folder.c_str(), 0755);
    for (const char* name : {"FindF.ini", "ReplaceF.ini", "ReplaceR.ini"}) WriteTextFile(folder + "/" + name, "");
    for (const char* dir : {"drivers", "doc", "build"}) mkdir(Project.File(dir).c_str(), 0755);
    WriteTextFile(Project.File("main.c"),
                  "/* Blink the LEDs on port B. */\n#include <avr/io.h>\n#include \"lcd.h\"\n\n"
                  "void init_port(void)\n{\n    DDRB = 0xFF;\n}\n\nstatic void delay (unsigned ms)\n{\n"
                  "    while (ms--) ;\n}\n\nint main(void)\n{\n    init_port();\n    for (;;) {\n"
                  "        PORTB ^= 0x01;\n        delay(500);\n        PORTB ^= 0x02;\n    }\n}\n");
    WriteTextFile(Project.File("lcd.h"), "#ifndef LCD_H\n#define LCD_H\n\nvoid lcd_init(void);\n\n#endif\n");
    WriteTextFile(Project.File("lcd.c"), std::string(3000, ' '));
    WriteTextFile(Project.File("blink.hex"), std::string(2048, '0'));
    WriteTextFile(Project.File("makefile"), "all:\n");
    Application().CreateForm(MainForm);
    Application().CreateForm(ReplaceSelect);
    Application().CreateForm(ReplaceFind);
    Application().CreateForm(FindForm);
    MainForm->Show();
    Window = dynamic_cast<TQtFormPeer*>(QtPeerOf(MainForm))->MainWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Window));
  }
  ~SidePanelQtTest() override {
    Application().Reset();
    MessageBoxAnswers().Clear();
    ModalAnswers().Clear();
    QCoreApplication::processEvents();
    unsetenv("VORNKIT_INSTALL_README");
  }
  static void Settle() {
    Application().Idle();
    QCoreApplication::processEvents();
  }
  static void Shoot(const TControl* control, const std::string& name) {
    Settle();
    std::cout << "screenshot: " << SaveScreenshot(WidgetOf(control)->grab().toImage(), name) << "\n";
  }

  TRegistryScope Registry;
  TTempFolder Install;
  TTempFolder Project;
  QMainWindow* Window = nullptr;
};

TEST_F(SidePanelQtTest, TheFileBrowserAndTheProjectTree) {
  MainForm->PageControl1->SetActivePage(MainForm->TabSheet2);
  MainForm->ComboBox1DIR->UserEdit(Project.Path());
  MainForm->ComboBox2FILE->UserEdit("*.*");
  MainForm->TreeView2->Items()->Item(0)->Expand(false);
  Settle();
  auto* files = dynamic_cast<TQtListViewPeer*>(QtPeerOf(MainForm->ListView1));
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(files->Report()->model()->rowCount(), 5);
  Shoot(MainForm->IncludeFilePanel1, "file-browser.png");

  OpenFromListFlag = 1;
  OpenFromListPath = Project.File("main.c");
  MainForm->FileOpenCmd->Execute();
  TTreeView& tree = *MainForm->TreeView1;
  tree.SetSelected(tree.Items()->Item(0));
  tree.Items()->Item(0)->Expand(false);
  Settle();
  EXPECT_EQ(tree.Items()->Item(0)->Count(), 3);  // init_port, delay, main
  Shoot(MainForm->IncludeFilePanel1, "project-tree.png");
}

TEST_F(SidePanelQtTest, AReplaceAsksBesideItsHitInTheMainWindow) {
  OpenFromListFlag = 1;
  OpenFromListPath = Project.File("main.c");
  MainForm->FileOpenCmd->Execute();
  Settle();
  bool asked = false;
  QTimer::singleShot(100, [&] {
    ReplaceFind->ComboFindText->SetText("PORTB");
    ReplaceFind->ComboReplaceText->SetText("PORTD");
    ReplaceFind->CBPrompt->SetChecked(true);
    ReplaceFind->RBEntireScope->SetChecked(true);
    QTimer::singleShot(100, [&] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      asked = true;
      QCoreApplication::processEvents();
      // The main window with the question drawn where it stands on the
      // screen.
      QImage image = Window->grab().toImage();
      QPainter painter(&image);
      painter.drawPixmap(box->mapToGlobal(QPoint(0, 0)) - Window->mapToGlobal(QPoint(0, 0)), box->grab());
      painter.end();
      std::cout << "screenshot: " << SaveScreenshot(image, "replace-in-window.png") << "\n";
      ReplaceSelect->CancelBtn->Click();
    });
    ReplaceFind->OKBtn->Click();
  });
  MainForm->EditReplaceCmd->Execute();
  EXPECT_TRUE(asked);
  EXPECT_EQ(MainForm->ActiveDocument()->Editor->SelText(), "PORTB");
}

}  // namespace
}  // namespace vk::test
