#include "platform/qt/QtPrintDialogs.h"

#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrinter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>

#include "platform/qt/QtConvert.h"

namespace vk {

namespace {

QAbstractPrintDialog::PrintDialogOptions DialogOptions(TPrintDialogOptions options) {
  QAbstractPrintDialog::PrintDialogOptions qt = QAbstractPrintDialog::PrintCollateCopies |
                                                QAbstractPrintDialog::PrintShowPageSize;
  if (options.Contains(poPageNums)) qt |= QAbstractPrintDialog::PrintPageRange;
  if (options.Contains(poSelection)) qt |= QAbstractPrintDialog::PrintSelection;
  if (!options.Contains(poDisablePrintToFile)) qt |= QAbstractPrintDialog::PrintToFile;
  return qt;
}

int IndexOf(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::optional<TPrintDialogData> TQtPrintDialogs::ExecutePrint(const TPrintDialogData& shown) {
  QPrinter printer;
  if (!shown.FileName.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FileNameToQString(shown.FileName));
  } else if (shown.PrinterIndex >= 0 && shown.PrinterIndex < static_cast<int>(shown.Printers.size())) {
    printer.setPrinterName(AnsiToQString(shown.Printers[shown.PrinterIndex]));
  }
  printer.setCopyCount(shown.Copies);
  printer.setCollateCopies(shown.Collate);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  dialog.setOptions(DialogOptions(shown.Options));
  if (shown.MaxPage > 0) dialog.setMinMax(std::max(shown.MinPage, 1), shown.MaxPage);
  if (shown.PrintRange == prPageNums) {
    dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    dialog.setFromTo(shown.FromPage, shown.ToPage);
  } else if (shown.PrintRange == prSelection) {
    dialog.setPrintRange(QAbstractPrintDialog::Selection);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;

  TPrintDialogData chosen = shown;
  bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  chosen.FileName = toFile ? QStringToFileName(printer.outputFileName()) : "";
  if (!toFile) chosen.PrinterIndex = IndexOf(shown.Printers, QStringToAnsi(printer.printerName()));
  chosen.Copies = printer.copyCount();
  chosen.Collate = printer.collateCopies();
  switch (dialog.printRange()) {
    case QAbstractPrintDialog::PageRange: chosen.PrintRange = prPageNums; break;
    case QAbstractPrintDialog::Selection: chosen.PrintRange = prSelection; break;
    default: chosen.PrintRange = prAllPages; break;
  }
  chosen.FromPage = dialog.fromPage();
  chosen.ToPage = dialog.toPage();
  return chosen;
}

std::optional<int> TQtPrintDialogs::ExecuteSetup(const TPrinterSetupData& shown) {
  QDialog dialog(QApplication::activeWindow());
  dialog.setObjectName("PrinterSetup");
  dialog.setWindowTitle(QStringLiteral("Print Setup"));
  auto* printers = new QComboBox(&dialog);
  printers->setObjectName("Printers");
  for (const std::string& name : shown.Printers) printers->addItem(AnsiToQString(name));
  if (shown.Printers.empty()) {
    printers->addItem(QStringLiteral("(no printer installed)"));
    printers->setEnabled(false);
  } else {
    printers->setCurrentIndex(std::max(shown.PrinterIndex, 0));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("Printer:"), printers);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // Without printers the choice stays with the system's default.
  if (shown.Printers.empty()) return shown.PrinterIndex;
  return printers->currentIndex();
}

}  // namespace vk
