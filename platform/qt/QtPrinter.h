#pragma once
// The printer over Qt: the installed printers are the system's (CUPS), a job
// goes through a QPrinter to the chosen printer or, when a file is named, to
// a PDF file, and pages are drawn through the Qt canvas on a QPainter. A PDF
// page is an A4 sheet at 300 pixels per inch with the same narrow
// unprintable strips as the default printer, so printing to a file works
// the same with or without an installed printer.

#include <QtGui/QPainter>
#include <memory>
#include <string>
#include <vector>

#include "platform/Printers.h"
#include "platform/qt/QtCanvas.h"

class QPrinter;

namespace vk {

class TQtPrinter : public TPrinter {
public:
  TQtPrinter();
  ~TQtPrinter() override;
  std::string ClassName() const override { return "TQtPrinter"; }

protected:
  std::vector<std::string> ReadPrinters() override;
  TPrinterCaps ReadCaps() override;
  TCanvas& DeviceCanvas() override { return FCanvas; }
  void StartJob() override;
  void StartPage() override;
  void FinishJob() override;
  void DropJob() override;

private:
  // A QPrinter set up for the chosen printer or file.
  std::unique_ptr<QPrinter> MakePrinter();

  std::unique_ptr<QPrinter> FJob;
  QPainter FPainter;
  TQtCanvas FCanvas;
};

}  // namespace vk
