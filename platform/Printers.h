#pragma once
// The printer: the list of installed printers, the one chosen, and print
// jobs whose pages are drawn on the printer's canvas. The process talks to
// one TPrinter (Printer()); a backend decides where the pages go: the
// recording printer keeps them for tests and headless use, the Qt backend
// sends them to a system printer or a PDF file.

#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"

namespace vk {

class EPrinter : public Exception {
  using Exception::Exception;
};

// The device capabilities GetDeviceCaps answers.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// A printer's page in device pixels: the paper, the printable area within
// it and the resolution. The defaults are an A4 sheet at 300 pixels per inch
// with narrow unprintable strips.
struct TPrinterCaps {
  int PhysicalWidth = 2481;
  int PhysicalHeight = 3507;
  // The printable area (HORZRES, VERTRES) and its distance from the left
  // and the top paper edge.
  int PageWidth = 2358;
  int PageHeight = 3407;
  int OffsetX = 65;
  int OffsetY = 50;
  int PixelsPerInchX = 300;
  int PixelsPerInchY = 300;
  friend bool operator==(const TPrinterCaps&, const TPrinterCaps&) = default;
};

class TPrinter : public TObject {
public:
  TPrinter();
  ~TPrinter() override;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;
  std::string ClassName() const override { return "TPrinter"; }

  // The names of the installed printers, read at the first use and by
  // Refresh.
  TStrings& Printers();
  void Refresh();
  // The chosen printer; -1 is the system's default printer. Raises EPrinter
  // "Printer index out of range" outside -1 .. count - 1 and "Printing in
  // progress" during a job.
  int PrinterIndex() const { return FPrinterIndex; }
  void SetPrinterIndex(int value);
  // A file that the job is written to instead of a printer (a PDF file in
  // the Qt backend); "" prints on the chosen printer.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value);
  // The job's name in the printer queue.
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  // Copies the printer makes of the whole job; at least 1.
  int Copies() const { return FCopies; }
  void SetCopies(int value);

  // A job: BeginDoc starts it on page 1, NewPage ends a page and starts the
  // next, EndDoc finishes it, Abort drops it at once. BeginDoc during a job
  // raises "Printing in progress"; NewPage and EndDoc outside one raise
  // "Printer is not currently printing", except that EndDoc after an Abort
  // returns quietly.
  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int PageNumber() const { return FPageNumber; }

  // The canvas pages are drawn on: its origin is the top left corner of the
  // printable area, its font is made for the device's resolution.
  TCanvas& Canvas();
  int PageWidth() { return Caps().PageWidth; }
  int PageHeight() { return Caps().PageHeight; }
  // One of the capabilities above; 0 for any other index.
  int GetDeviceCaps(int index);

protected:
  // What a backend supplies.
  virtual std::vector<std::string> ReadPrinters() = 0;
  // The page of the chosen printer, or of the file output.
  virtual TPrinterCaps ReadCaps() = 0;
  virtual TCanvas& DeviceCanvas() = 0;
  virtual void StartJob() = 0;
  // Ends the current page and starts the next.
  virtual void StartPage() = 0;
  virtual void FinishJob() = 0;
  virtual void DropJob() = 0;
  // The chosen printer or file changed: the page may differ now.
  void ForgetCaps() { FCapsRead = false; }

private:
  const TPrinterCaps& Caps();
  void CheckPrinting(bool printing) const;

  TStringList FPrinters;
  bool FPrintersRead = false;
  int FPrinterIndex = -1;
  std::string FFileName;
  std::string FTitle;
  int FCopies = 1;
  bool FPrinting = false;
  bool FAborted = false;
  int FPageNumber = 0;
  TPrinterCaps FCaps;
  bool FCapsRead = false;
};

// Drops the printer's job when the scope is left by an exception while the
// job is open, so that no half-printed job stays open.
class TPrinterJobGuard {
public:
  explicit TPrinterJobGuard(TPrinter& printer) : FAbort(TAbort{&printer}) {}

private:
  struct TAbort {
    TPrinter* Printer;
    void operator()() const {
      if (Printer->Printing()) Printer->Abort();
    }
  };
  TScopeFailure<TAbort> FAbort;
};

// A printer that keeps what is printed: each page is the log of the
// recording canvas while the page was drawn. The installed printers and the
// page geometry are whatever a test sets.
class TRecordingPrinter : public TPrinter {
public:
  std::string ClassName() const override { return "TRecordingPrinter"; }

  // Read by Refresh: none by default.
  std::vector<std::string> InstalledPrinters;
  // Every printer and the file output have this page.
  TPrinterCaps DeviceCaps;
  // Changes the page at once (also for the next GetDeviceCaps).
  void SetDeviceCaps(const TPrinterCaps& caps) {
    DeviceCaps = caps;
    ForgetCaps();
  }

  // The pages of the last job, also of an aborted one.
  const std::vector<std::vector<std::string>>& Pages() const { return FPages; }
  // Jobs finished by EndDoc and jobs dropped by Abort.
  int FinishedJobs() const { return FFinished; }
  int AbortedJobs() const { return FDropped; }
  TRecordingCanvas& RecordingCanvas() { return FCanvas; }

protected:
  std::vector<std::string> ReadPrinters() override { return InstalledPrinters; }
  TPrinterCaps ReadCaps() override { return DeviceCaps; }
  TCanvas& DeviceCanvas() override { return FCanvas; }
  void StartJob() override;
  void StartPage() override { TakePage(); }
  void FinishJob() override;
  void DropJob() override;

private:
  void TakePage();

  TRecordingCanvas FCanvas;
  std::vector<std::vector<std::string>> FPages;
  int FFinished = 0;
  int FDropped = 0;
};

// The process's printer (a recording printer until a backend installs
// another).
TPrinter& Printer();
// Installs another printer and hands back the previous one.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);

// Prints plain text lines as one job with the title as its name: the
// lines in the font, from the top left corner of the printable area, long
// lines wrapped at a blank (or, without one, at the last character that
// fits), tabs expanded to every eighth column, and a new page when the next
// row does not fit. The job is dropped when anything fails.
void PrintTextLines(TPrinter& printer, const std::string& title, const TStrings& lines, const TFont& font);

}  // namespace vk
