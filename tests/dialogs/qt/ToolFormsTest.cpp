// The project-header dialog, the makefile wizard and the small tools on the
// screen: each form shown as the program shows it, a screenshot of each
// (every page of the wizard), and the widgets checked against the model.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QWidget>
#include <filesystem>
#include <iostream>
#include <string>

#include "services/SettingsStore.h"
#include "dialogs/AsciiCodeForm.h"
#include "dialogs/AvrImage.h"
#include "dialogs/BitToByteForm.h"
#include "dialogs/MakefileWizardForm.h"
#include "dialogs/PrjName.h"
#include "dialogs/about.h"
#include "platform/MessageBoxes.h"
#include "platform/Registry.h"
#include "platform/qt/QtPeer.h"
#include "tests/platform/RegistryScope.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

class ToolFormsTest : public testing::Test {
protected:
  ToolFormsTest() {
    TRegistry reg;
    reg.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    reg.WriteString("Editor Path", LookUpInstallFolder().Folder);
    reg.WriteString("SouAvrMcu Type", "atmega128");
  }
  ~ToolFormsTest() override {
    CloseForms();
  }
  // Shows the form without blocking and waits until it is on the screen.
  static QWidget* ShowOnScreen(TCustomForm* form) {
    form->Show();
    QWidget* window = QtPeerOf(form)->Widget();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    return window;
  }
  static void Shot(TCustomForm* form, const std::string& name) {
    QCoreApplication::processEvents();
    std::cout << "screenshot: " << SaveScreenshot(QtPeerOf(form)->Widget()->grab().toImage(), name) << "\n";
  }

  TRegistryScope Registry;
};

TEST_F(ToolFormsTest, ProjectHeaderFields) {
  TRegistry reg;
  reg.OpenKey("SOFTWARE\\ZE_VAD\\PRJNAME", true);
  for (const TProjectHeaderField& field : ProjectHeaderFields) reg.WriteString(field.Name, field.Default);
  auto* form = NewForm<TPrjNameForm>(&Application());
  ShowOnScreen(form);
  Shot(form, "prj-name.png");
  EXPECT_EQ(WidgetOf<QLineEdit>(form->CompilerEdit)->text().toStdString(), "Vornkit Ver3.8(WinAvr-20080430)");
}

TEST_F(ToolFormsTest, MakefileWizardPages) {
  auto* wizard = NewForm<TFormMakeWizzard>(&Application());
  ShowOnScreen(wizard);
  wizard->CBUnitPath->SetText("/home/me/prj");
  for (int page = 0; page < TFormMakeWizzard::PageTotal; ++page) {
    if (page == 3) wizard->EditSource->SetText("main");
    EXPECT_EQ(wizard->PageIndex(), page);
    Shot(wizard, "make-wizard-" + std::to_string(page) + ".png");
    if (page < TFormMakeWizzard::PageTotal - 1) wizard->BitBtn2->Click();
  }
  EXPECT_TRUE(WidgetOf<QPlainTextEdit>(wizard->Memo1)->toPlainText().contains("\tTRG=main"));
  MessageBoxAnswers().Push(IDYES);
  wizard->BitBtn3->Click();
}

TEST_F(ToolFormsTest, PartPictureViewer) {
  auto* form = NewForm<TImageForm>(&Application());
  ShowOnScreen(form);
  Shot(form, "image-viewer.png");
  EXPECT_EQ(form->Label11->Caption(), "128KBytes");
  EXPECT_FALSE(form->Image1->Picture()->Empty()) << "the build draws the part pictures";
}

TEST_F(ToolFormsTest, BitToByteConverter) {
  auto* form = NewForm<TBitToByteForm>(&Application());
  form->FindTextEdit->SetText("0x3f");
  ShowOnScreen(form);
  Shot(form, "bit-to-byte.png");
  EXPECT_EQ(WidgetOf<QLineEdit>(form->EditByte)->text(), "0X3F");
  EXPECT_TRUE(WidgetOf<QCheckBox>(form->CheckBox5)->isChecked());
  EXPECT_FALSE(WidgetOf<QCheckBox>(form->CheckBox7)->isChecked());
}

TEST_F(ToolFormsTest, AsciiTable) {
  auto* form = NewForm<TASCIICodeForm>(&Application());
  ShowOnScreen(form);
  Shot(form, "ascii-table.png");
  // The window shows the whole table in the desktop's fonts.
  TSrcMemo& memo = *form->SrcMemo1;
  EXPECT_GE(memo.RowsInWindow(), memo.Lines().Count());
  EXPECT_GE(memo.ColumnsInWindow(), memo.Lines().GetLengthOfLongestLine());
}

TEST_F(ToolFormsTest, AboutBox) {
  auto* form = NewForm<TAboutBox>(&Application());
  ShowOnScreen(form);
  Shot(form, "about.png");
  EXPECT_FALSE(form->ProgramIcon->Picture()->Empty());
}

}  // namespace
}  // namespace vk::test
