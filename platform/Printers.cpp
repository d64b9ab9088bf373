#include "platform/Printers.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace vk {

// ---------------------------------------------------------------- TPrinter

TPrinter::TPrinter() = default;
TPrinter::~TPrinter() = default;

TStrings& TPrinter::Printers() {
  if (!FPrintersRead) Refresh();
  return FPrinters;
}

void TPrinter::Refresh() {
  FPrintersRead = true;
  FPrinters.Clear();
  for (const std::string& name : ReadPrinters()) FPrinters.Add(name);
  // A printer that went away leaves the choice to the default printer.
  if (FPrinterIndex >= FPrinters.Count()) FPrinterIndex = -1;
  ForgetCaps();
}

void TPrinter::CheckPrinting(bool printing) const {
  if (FPrinting == printing) return;
  throw EPrinter(printing ? "Printer is not currently printing" : "Printing in progress");
}

void TPrinter::SetPrinterIndex(int value) {
  CheckPrinting(false);
  if (value < -1 || value >= Printers().Count()) throw EPrinter("Printer index out of range");
  FPrinterIndex = value;
  ForgetCaps();
}

void TPrinter::SetFileName(const std::string& value) {
  CheckPrinting(false);
  FFileName = value;
  ForgetCaps();
}

void TPrinter::SetCopies(int value) { FCopies = std::max(1, value); }

const TPrinterCaps& TPrinter::Caps() {
  if (!FCapsRead) {
    FCaps = ReadCaps();
    FCapsRead = true;
  }
  return FCaps;
}

int TPrinter::GetDeviceCaps(int index) {
  const TPrinterCaps& caps = Caps();
  switch (index) {
    case HORZRES: return caps.PageWidth;
    case VERTRES: return caps.PageHeight;
    case LOGPIXELSX: return caps.PixelsPerInchX;
    case LOGPIXELSY: return caps.PixelsPerInchY;
    case PHYSICALWIDTH: return caps.PhysicalWidth;
    case PHYSICALHEIGHT: return caps.PhysicalHeight;
    case PHYSICALOFFSETX: return caps.OffsetX;
    case PHYSICALOFFSETY: return caps.OffsetY;
    default: return 0;
  }
}

TCanvas& TPrinter::Canvas() {
  TCanvas& canvas = DeviceCanvas();
  // The canvas font keeps its point size on the device's resolution.
  TFont& font = canvas.Font();
  int resolution = Caps().PixelsPerInchY;
  if (resolution >= 1 && font.PixelsPerInch() != resolution) {
    int size = font.Size();
    font.SetPixelsPerInch(resolution);
    font.SetSize(size);
  }
  return canvas;
}

void TPrinter::BeginDoc() {
  CheckPrinting(false);
  Caps();
  StartJob();
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
}

void TPrinter::NewPage() {
  CheckPrinting(true);
  StartPage();
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  if (!FPrinting && FAborted) return;
  CheckPrinting(true);
  // The job counts as over even when the device fails to finish it.
  FPrinting = false;
  FPageNumber = 0;
  FinishJob();
}

void TPrinter::Abort() {
  if (!FPrinting) return;
  FPrinting = false;
  FAborted = true;
  FPageNumber = 0;
  DropJob();
}

// ---------------------------------------------------------------- recording printer

void TRecordingPrinter::StartJob() {
  FPages.clear();
  FCanvas.ClearLog();
}

void TRecordingPrinter::TakePage() {
  FPages.push_back(FCanvas.Log());
  FCanvas.ClearLog();
}

void TRecordingPrinter::FinishJob() {
  TakePage();
  ++FFinished;
}

void TRecordingPrinter::DropJob() {
  // A page that was only begun is not kept.
  if (!FCanvas.Log().empty()) TakePage();
  ++FDropped;
}

// ---------------------------------------------------------------- the process's printer

namespace {

std::unique_ptr<TPrinter>& CurrentPrinter() {
  static std::unique_ptr<TPrinter> printer = std::make_unique<TRecordingPrinter>();
  return printer;
}

}  // namespace

TPrinter& Printer() { return *CurrentPrinter(); }

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer) {
  if (!printer) printer = std::make_unique<TRecordingPrinter>();
  std::swap(CurrentPrinter(), printer);
  return printer;
}

// ---------------------------------------------------------------- plain text

namespace {

constexpr int TextTabWidth = 8;

std::string ExpandTabs(const std::string& line) {
  std::string expanded;
  for (char c : line) {
    if (c == '\t') {
      expanded.append(TextTabWidth - expanded.size() % TextTabWidth, ' ');
    } else {
      expanded += c;
    }
  }
  return expanded;
}

// The bytes of the text's first row on a page width: as many characters as
// fit, cut after the last blank among them when there is one; at least one
// character, so that every row moves on.
size_t FirstRow(TCanvas& canvas, const std::string& text, int width) {
  if (canvas.TextWidth(text) <= width) return text.size();
  size_t fit = 0, lastBlank = 0;
  int used = 0;
  while (fit < text.size()) {
    size_t bytes = CodePage::CharLength(text.data(), text.size(), fit);
    used += canvas.TextWidth(text.substr(fit, bytes));
    if (used > width) break;
    fit += bytes;
    if (text[fit - 1] == ' ') lastBlank = fit;
  }
  if (fit == text.size()) return fit;
  if (lastBlank > 0) return lastBlank;
  return fit > 0 ? fit : CodePage::CharLength(text.data(), text.size(), 0);
}

}  // namespace

void PrintTextLines(TPrinter& printer, const std::string& title, const TStrings& lines, const TFont& font) {
  printer.SetTitle(title);
  printer.BeginDoc();
  TPrinterJobGuard guard(printer);
  TCanvas& canvas = printer.Canvas();
  canvas.Font().Assign(font);
  canvas.Brush().SetStyle(bsClear);
  int width = printer.PageWidth(), height = printer.PageHeight();
  int rowHeight = std::max(1, canvas.TextHeight("W"));
  int y = 0;
  auto printRow = [&](const std::string& row) {
    if (y > 0 && y + rowHeight > height) {
      printer.NewPage();
      y = 0;
    }
    canvas.TextOut(0, y, row);
    y += rowHeight;
  };
  for (int i = 0; i < lines.Count(); ++i) {
    std::string rest = ExpandTabs(lines.Strings(i));
    do {
      size_t row = FirstRow(canvas, rest, width);
      printRow(rest.substr(0, row));
      rest.erase(0, row);
    } while (!rest.empty());
  }
  printer.EndDoc();
}

}  // namespace vk
