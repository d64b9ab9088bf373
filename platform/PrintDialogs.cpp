#include "platform/PrintDialogs.h"

#include "platform/Printers.h"

namespace vk {

std::optional<TPrintDialogData> TScriptedPrintDialogs::ExecutePrint(const TPrintDialogData& shown) {
  return PrintAnswers.Take(shown, Format("print dialog (%d copies, pages %d-%d)", shown.Copies, shown.FromPage,
                                         shown.ToPage));
}

std::optional<int> TScriptedPrintDialogs::ExecuteSetup(const TPrinterSetupData& shown) {
  return SetupAnswers.Take(shown, Format("printer setup dialog (%d printers)", static_cast<int>(shown.Printers.size())));
}

namespace {

std::unique_ptr<TPrintDialogBackend>& CurrentBackend() {
  static std::unique_ptr<TPrintDialogBackend> backend = std::make_unique<TScriptedPrintDialogs>();
  return backend;
}

std::vector<std::string> PrinterNames(TPrinter& printer) {
  std::vector<std::string> names;
  for (int i = 0; i < printer.Printers().Count(); ++i) names.push_back(printer.Printers().Strings(i));
  return names;
}

}  // namespace

TPrintDialogBackend& PrintDialogBackend() { return *CurrentBackend(); }

std::unique_ptr<TPrintDialogBackend> SetPrintDialogBackend(std::unique_ptr<TPrintDialogBackend> backend) {
  if (!backend) backend = std::make_unique<TScriptedPrintDialogs>();
  std::swap(CurrentBackend(), backend);
  return backend;
}

bool TPrintDialog::Execute() {
  TPrinter& printer = Printer();
  TPrintDialogData shown = FData;
  shown.Printers = PrinterNames(printer);
  shown.PrinterIndex = printer.PrinterIndex();
  shown.FileName = printer.FileName();
  std::optional<TPrintDialogData> chosen = PrintDialogBackend().ExecutePrint(shown);
  if (!chosen) return false;
  // The printer first: a choice it refuses changes nothing here either.
  if (chosen->FileName.empty()) printer.SetPrinterIndex(chosen->PrinterIndex);
  printer.SetFileName(chosen->FileName);
  printer.SetCopies(chosen->Copies);
  FData = *chosen;
  FData.Printers.clear();
  return true;
}

bool TPrinterSetupDialog::Execute() {
  TPrinter& printer = Printer();
  TPrinterSetupData shown{PrinterNames(printer), printer.PrinterIndex()};
  std::optional<int> chosen = PrintDialogBackend().ExecuteSetup(shown);
  if (!chosen) return false;
  printer.SetPrinterIndex(*chosen);
  printer.SetFileName("");
  return true;
}

}  // namespace vk
