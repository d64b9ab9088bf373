// The find, replace, confirmation and result boxes on the screen, each shown
// modally as the IDE shows it, photographed while up and closed by a click
// on one of its buttons.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtTest/QTest>
#include <iostream>
#include <string>

#include "dialogs/CompilerDlg.h"
#include "dialogs/FindText.h"
#include "dialogs/ReplaceFind.h"
#include "dialogs/ReplaceSelect.h"
#include "platform/Registry.h"
#include "platform/StringLists.h"
#include "platform/qt/QtPeer.h"
#include "tests/platform/RegistryScope.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

class SearchAndResultDialogsTest : public testing::Test {
protected:
  SearchAndResultDialogsTest() {
    setenv("VORNKIT_INSTALL_README", (Folder.Path() + "/").c_str(), 1);
    TRegistry registry;
    registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    registry.WriteString("Editor Path", Folder.Path());
    registry.WriteString("SouAvrMcu Type", "atmega128");
    registry.WriteString("SouSource Path", Folder.Path() + "/");  // stored for this project
    for (const char* name : {"FindF.ini", "ReplaceF.ini", "ReplaceR.ini"})
      ListOf({"PORTB", "DDRB |= _BV(PB0);", "counter"}).SaveToFile(Folder.File(name));
  }
  ~SearchAndResultDialogsTest() override {
    unsetenv("VORNKIT_INSTALL_README");
    Application().Reset();
    QCoreApplication::processEvents();
  }

  static TStringList ListOf(std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* line : lines) list.Add(line);
    return list;
  }

  // Shows the form modally; while it is up, checks and photographs it, then
  // clicks the button on the screen.
  template <class Check>
  static TModalResult ShowAndShoot(TCustomForm* form, const std::string& name, TButton* press, Check check) {
    QTimer::singleShot(50, [=] {
      QWidget* window = QApplication::activeModalWidget();
      EXPECT_NE(window, nullptr);
      if (window) {
        QCoreApplication::processEvents();
        std::cout << "screenshot: " << SaveScreenshot(window->grab().toImage(), name) << "\n";
        check(window);
      }
      if (QPushButton* button = WidgetOf<QPushButton>(press)) QTest::mouseClick(button, Qt::LeftButton);
      if (form->ModalResult() == mrNone) press->Click();
    });
    return form->ShowModal();
  }

  TRegistryScope Registry;
  TTempFolder Folder;
};

TEST_F(SearchAndResultDialogsTest, TheFindDialogListsItsHistory) {
  FindForm = NewForm<TFindForm>(&Application());
  FindForm->ComboFindText->SetText("PORTB");
  EXPECT_EQ(ShowAndShoot(FindForm, "find-dialog.png", FindForm->CancelBtn,
                         [](QWidget* window) {
                           EXPECT_EQ(window->windowTitle(), "Find text");
                           auto* combo = WidgetOf<QComboBox>(FindForm->ComboFindText);
                           ASSERT_NE(combo, nullptr);
                           EXPECT_EQ(combo->count(), 3);
                           EXPECT_EQ(combo->currentText(), "PORTB");
                         }),
            mrCancel);
}

TEST_F(SearchAndResultDialogsTest, TheReplaceDialogListsBothHistories) {
  ReplaceFind = NewForm<TReplaceFind>(&Application());
  ReplaceFind->ComboFindText->SetText("PORTB");
  ReplaceFind->ComboReplaceText->SetText("PORTD");
  EXPECT_EQ(ShowAndShoot(ReplaceFind, "replace-dialog.png", ReplaceFind->OKBtn,
                         [](QWidget* window) {
                           EXPECT_EQ(window->windowTitle(), "Replace text");
                           EXPECT_EQ(WidgetOf<QComboBox>(ReplaceFind->ComboReplaceText)->currentText(), "PORTD");
                         }),
            mrOk);
}

TEST_F(SearchAndResultDialogsTest, TheConfirmationBoxAsksBesideTheHit) {
  ReplaceSelect = NewForm<TReplaceSelect>(&Application());
  ReplaceSelect->PlaceNear(200, 150);
  ReplaceSelect->SetMode(cmReplace, "PORTB");
  EXPECT_EQ(ShowAndShoot(ReplaceSelect, "replace-confirm.png", ReplaceSelect->AllBtn,
                         [](QWidget* window) {
                           EXPECT_EQ(window->windowTitle(), "Replace the found character?");
                           EXPECT_EQ(WidgetOf<QLabel>(ReplaceSelect->LabelTxt)->text(),
                                     "found character PORTBReplace?");
                           EXPECT_TRUE(WidgetOf<QPushButton>(ReplaceSelect->AllBtn)->isVisible());
                         }),
            mrAll);
  EXPECT_EQ(TReplaceSelect::ActionFor(ReplaceSelect->Mode(), ReplaceSelect->ModalResult()), raReplaceAll);
}

TEST_F(SearchAndResultDialogsTest, TheResultBoxShowsTheBuildsSixRows) {
  ListOf({"LOAD /usr/lib/avr/lib/avr51/crtatmega128.o", "Linker script and memory map",
          ".text           0x00000000      0x1b4",
          ".data           0x00800100       0x12 load address 0x000001b4", ".bss            0x00800112        0x4",
          ".eeprom         0x00810000        0xa"})
      .SaveToFile(Folder.File("main.map"));
  CompilerErrorCount = 0;
  CompilerWarningCount = 1;
  CompilerDlg = NewForm<TCompilerDlg>(&Application());
  CompilerDlg->SetProject(Folder.Path() + "/", "main.c", "");
  EXPECT_EQ(ShowAndShoot(CompilerDlg, "compiler-result.png", CompilerDlg->OKBtn,
                         [](QWidget* window) {
                           EXPECT_EQ(window->windowTitle(), "Background compiling windows");
                           EXPECT_EQ(WidgetOf<QLabel>(CompilerDlg->LblLines)->text(),
                                     "454 Bytes (Total 128 KBytes) = 0.35% Full of FLASH");
                           EXPECT_EQ(WidgetOf<QLabel>(CompilerDlg->LblErr)->text(), "Ok");
                         }),
            mrOk);
}

}  // namespace
}  // namespace vk::test
