// The settings dialog on the screen: every page as a screenshot, the Korean
// texts as the widgets show them.

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QPushButton>
#include <iostream>

#include "services/SettingsStore.h"
#include "dialogs/EnvironmentDlg.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/QtPeer.h"
#include "tests/platform/RegistryScope.h"
#include "tests/platform/TempFolder.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

class EnvironmentDlgQtTest : public testing::Test {
protected:
  EnvironmentDlgQtTest() {
    WriteFirstRunDefaults(Highlighter, LookUpInstallFolder().Folder);
    MessageBoxAnswers().Push(IDOK);  // the project has no makefile yet
    Dialog = NewForm<TEnvironmentDlg>(&Application());
    Dialog->SetProject(Project.Path() + "/", "main.c");
    Dialog->Show();
    Window = QtPeerOf(Dialog)->Widget();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Window));
  }
  ~EnvironmentDlgQtTest() override {
    CloseForms();
  }

  TRegistryScope Registry;
  TTempFolder Project;
  TSrcAvrHl Highlighter{nullptr};
  TEnvironmentDlg* Dialog = nullptr;
  QWidget* Window = nullptr;
};

TEST_F(EnvironmentDlgQtTest, EveryPageAsAScreenshot) {
  Dialog->LBElements->UserSelect(3);
  for (int i = 0; i < Dialog->PageControl->PageCount(); ++i) {
    TTabSheet* page = Dialog->PageControl->Pages(i);
    Dialog->PageControl->SetActivePage(page);
    QCoreApplication::processEvents();
    const QImage image = Window->grab().toImage();
    EXPECT_EQ(image.size(), QSize(Dialog->ClientWidth(), Dialog->ClientHeight())) << page->Caption();
    std::cout << "screenshot: " << SaveScreenshot(image, "settings-" + page->Caption() + ".png") << "\n";
  }
}

TEST_F(EnvironmentDlgQtTest, KoreanTextsReachTheWidgets) {
  Dialog->PageControl->SetActivePage(Dialog->Display);
  auto* fonts = WidgetOf<QComboBox>(Dialog->ComboBoxFont);
  ASSERT_NE(fonts, nullptr);
  EXPECT_EQ(fonts->itemText(1), QString::fromUtf8("@굴림체"));
  EXPECT_EQ(fonts->currentText(), "Courier New");
  Dialog->PageControl->SetActivePage(Dialog->SourceAdd);
  auto* add = WidgetOf<QPushButton>(Dialog->BtnAsmSourceAdd);
  ASSERT_NE(add, nullptr);
  EXPECT_TRUE(add->toolTip().contains(QString::fromUtf8("어셈블 파일")));
}

}  // namespace
}  // namespace vk::test
