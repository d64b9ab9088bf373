#include "platform/qt/QtPrinter.h"

#include <QtCore/QFile>
#include <QtGui/QPageLayout>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>
#include <cmath>

#include "platform/qt/QtConvert.h"

namespace vk {

namespace {

// The page of a PDF file: the default printer's A4 sheet.
constexpr int PdfResolution = 300;
constexpr double PixelsToMillimetres = 25.4 / PdfResolution;
const TPrinterCaps PdfPage;

int Pixels(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

TQtPrinter::TQtPrinter() = default;

TQtPrinter::~TQtPrinter() {
  if (FPainter.isActive()) FPainter.end();
}

std::vector<std::string> TQtPrinter::ReadPrinters() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(QStringToAnsi(name));
  return names;
}

std::unique_ptr<QPrinter> TQtPrinter::MakePrinter() {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!FileName().empty()) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(FileNameToQString(FileName()));
    printer->setResolution(PdfResolution);
    printer->setFullPage(false);
    printer->setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(PdfPage.OffsetX * PixelsToMillimetres, PdfPage.OffsetY * PixelsToMillimetres,
                  (PdfPage.PhysicalWidth - PdfPage.PageWidth - PdfPage.OffsetX) * PixelsToMillimetres,
                  (PdfPage.PhysicalHeight - PdfPage.PageHeight - PdfPage.OffsetY) * PixelsToMillimetres),
        QPageLayout::Millimeter));
  } else {
    int index = PrinterIndex();
    printer->setPrinterName(index >= 0 ? AnsiToQString(Printers().Strings(index)) : QPrinterInfo::defaultPrinterName());
  }
  printer->setDocName(AnsiToQString(Title()));
  printer->setCopyCount(Copies());
  return printer;
}

TPrinterCaps TQtPrinter::ReadCaps() {
  std::unique_ptr<QPrinter> printer = MakePrinter();
  QRectF paper = printer->paperRect(QPrinter::DevicePixel);
  QRectF page = printer->pageRect(QPrinter::DevicePixel);
  TPrinterCaps caps;
  caps.PhysicalWidth = Pixels(paper.width());
  caps.PhysicalHeight = Pixels(paper.height());
  caps.PageWidth = Pixels(page.width());
  caps.PageHeight = Pixels(page.height());
  caps.OffsetX = Pixels(page.left() - paper.left());
  caps.OffsetY = Pixels(page.top() - paper.top());
  caps.PixelsPerInchX = printer->logicalDpiX();
  caps.PixelsPerInchY = printer->logicalDpiY();
  return caps;
}

void TQtPrinter::StartJob() {
  std::unique_ptr<QPrinter> job = MakePrinter();
  if (FileName().empty() && job->printerName().isEmpty())
    throw EPrinter("There is no default printer currently selected");
  if (!FPainter.begin(job.get()))
    throw EPrinter(FileName().empty() ? "Printer selected is not valid" : "Cannot create file \"" + FileName() + "\"");
  FJob = std::move(job);
  FCanvas.Begin(FPainter);
}

void TQtPrinter::StartPage() { FJob->newPage(); }

void TQtPrinter::FinishJob() {
  FCanvas.End();
  FPainter.end();
  FJob.reset();
}

void TQtPrinter::DropJob() {
  FCanvas.End();
  FJob->abort();
  if (FPainter.isActive()) FPainter.end();
  FJob.reset();
  // Half a document is no document.
  if (!FileName().empty()) QFile::remove(FileNameToQString(FileName()));
}

}  // namespace vk
