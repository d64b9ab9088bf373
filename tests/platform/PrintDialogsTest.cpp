#include "platform/PrintDialogs.h"

#include <gtest/gtest.h>

#include "platform/Printers.h"

namespace vk {
namespace {

// A recording printer with two printers and scripted dialogs, put back
// afterwards.
class PrintDialogsTest : public ::testing::Test {
protected:
  PrintDialogsTest() {
    auto printer = std::make_unique<TRecordingPrinter>();
    printer->InstalledPrinters = {"Laser", "Ink"};
    FPrinter = SetPrinter(std::move(printer));
    auto dialogs = std::make_unique<TScriptedPrintDialogs>();
    Dialogs = dialogs.get();
    FDialogs = SetPrintDialogBackend(std::move(dialogs));
  }
  ~PrintDialogsTest() override {
    SetPrinter(std::move(FPrinter));
    SetPrintDialogBackend(std::move(FDialogs));
  }

  TScriptedPrintDialogs* Dialogs;

private:
  std::unique_ptr<TPrinter> FPrinter;
  std::unique_ptr<TPrintDialogBackend> FDialogs;
};

TEST_F(PrintDialogsTest, PrintDialogShowsThePrinterAndHandsTheChoiceBack) {
  TPrintDialog dialog(nullptr);
  dialog.SetOptions({poPageNums});
  dialog.SetMaxPage(9);
  Dialogs->PrintAnswers.PushResponder([](const TPrintDialogData& shown) {
    TPrintDialogData chosen = shown;
    chosen.PrinterIndex = 1;
    chosen.Copies = 3;
    chosen.PrintRange = prPageNums;
    chosen.FromPage = 2;
    chosen.ToPage = 4;
    return std::optional(chosen);
  });
  ASSERT_TRUE(dialog.Execute());
  const TPrintDialogData& shown = Dialogs->PrintAnswers.Requests().at(0);
  EXPECT_EQ(shown.Printers, (std::vector<std::string>{"Laser", "Ink"}));
  EXPECT_EQ(shown.PrinterIndex, -1);
  EXPECT_EQ(shown.MaxPage, 9);
  EXPECT_EQ(Printer().PrinterIndex(), 1);
  EXPECT_EQ(Printer().Copies(), 3);
  EXPECT_EQ(dialog.PrintRange(), prPageNums);
  EXPECT_EQ(dialog.FromPage(), 2);
  EXPECT_EQ(dialog.ToPage(), 4);
  EXPECT_FALSE(dialog.PrintToFile());

  // A file chosen instead of a printer; then Cancel changes nothing.
  Dialogs->PrintAnswers.PushResponder([](const TPrintDialogData& shown) {
    TPrintDialogData chosen = shown;
    chosen.FileName = "/tmp/out.pdf";
    return std::optional(chosen);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(Printer().FileName(), "/tmp/out.pdf");
  EXPECT_TRUE(dialog.PrintToFile());
  Dialogs->PrintAnswers.Push(std::nullopt);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(Printer().FileName(), "/tmp/out.pdf");
  EXPECT_THROW(dialog.Execute(), EUnscriptedRequest);
}

TEST_F(PrintDialogsTest, PrinterSetupChoosesAPrinterInsteadOfAFile) {
  TPrinterSetupDialog setup(nullptr);
  Printer().SetFileName("/tmp/out.pdf");
  Dialogs->SetupAnswers.Push(std::nullopt);
  EXPECT_FALSE(setup.Execute());
  EXPECT_EQ(Printer().FileName(), "/tmp/out.pdf");
  Dialogs->SetupAnswers.Push(0);
  EXPECT_TRUE(setup.Execute());
  EXPECT_EQ(Printer().PrinterIndex(), 0);
  EXPECT_EQ(Printer().FileName(), "");
  EXPECT_EQ(Dialogs->SetupAnswers.Requests().back().Printers.size(), 2u);
  // A choice the printer refuses changes nothing.
  Dialogs->SetupAnswers.Push(5);
  EXPECT_THROW(setup.Execute(), EPrinter);
  EXPECT_EQ(Printer().PrinterIndex(), 0);
}

}  // namespace
}  // namespace vk
