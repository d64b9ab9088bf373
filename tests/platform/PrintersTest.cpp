#include "platform/Printers.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using test::TFontMetricsScope;

// The texts a page drew, in order.
std::vector<std::string> TextsOf(const std::vector<std::string>& page) {
  std::vector<std::string> texts;
  for (const std::string& line : page) {
    if (line.rfind("TextOut ", 0) != 0) continue;
    size_t quote = line.find('"');
    texts.push_back(line.substr(quote + 1, line.size() - quote - 2));
  }
  return texts;
}

TEST(PrinterTest, JobStepsOutOfOrderRaiseTheirErrors) {
  struct TCase {
    const char* Name;
    std::function<void(TRecordingPrinter&)> Steps;
    const char* Error;
  };
  const TCase cases[] = {
      {"begin twice", [](TRecordingPrinter& p) { p.BeginDoc(), p.BeginDoc(); }, "Printing in progress"},
      {"new page outside", [](TRecordingPrinter& p) { p.NewPage(); }, "Printer is not currently printing"},
      {"end outside", [](TRecordingPrinter& p) { p.EndDoc(); }, "Printer is not currently printing"},
      {"index in job", [](TRecordingPrinter& p) { p.BeginDoc(), p.SetPrinterIndex(0); }, "Printing in progress"},
      {"index too big", [](TRecordingPrinter& p) { p.SetPrinterIndex(1); }, "Printer index out of range"},
      {"index below -1", [](TRecordingPrinter& p) { p.SetPrinterIndex(-2); }, "Printer index out of range"},
      {"end after abort", [](TRecordingPrinter& p) { p.BeginDoc(), p.Abort(), p.EndDoc(), p.Abort(); }, nullptr},
  };
  for (const TCase& c : cases) {
    TRecordingPrinter printer;
    printer.InstalledPrinters = {"Laser"};
    try {
      c.Steps(printer);
      EXPECT_EQ(c.Error, nullptr) << c.Name;
    } catch (const EPrinter& e) {
      EXPECT_STREQ(e.what(), c.Error ? c.Error : "") << c.Name;
    }
  }
}

TEST(PrinterTest, PagesAreRecordedAndTheCanvasFontFitsTheResolution) {
  TRecordingPrinter printer;
  printer.SetDeviceCaps({.PixelsPerInchX = 600, .PixelsPerInchY = 600});
  printer.BeginDoc();
  printer.Canvas().Font().SetSize(10);
  EXPECT_EQ(printer.Canvas().Font().Height(), -83);
  printer.Canvas().TextOut(1, 2, "one");
  printer.NewPage();
  EXPECT_EQ(printer.PageNumber(), 2);
  printer.Canvas().TextOut(3, 4, "two");
  printer.EndDoc();
  ASSERT_EQ(printer.Pages().size(), 2u);
  EXPECT_EQ(TextsOf(printer.Pages()[0]), std::vector<std::string>{"one"});
  EXPECT_EQ(TextsOf(printer.Pages()[1]), std::vector<std::string>{"two"});
  EXPECT_EQ(printer.FinishedJobs(), 1);
  EXPECT_FALSE(printer.Printing());
}

TEST(PrinterTest, DeviceCapsAnswerThePage) {
  TRecordingPrinter printer;
  printer.SetDeviceCaps({1, 2, 3, 4, 5, 6, 7, 8});
  const std::pair<int, int> caps[] = {{PHYSICALWIDTH, 1}, {PHYSICALHEIGHT, 2}, {HORZRES, 3},    {VERTRES, 4},
                                      {PHYSICALOFFSETX, 5}, {PHYSICALOFFSETY, 6}, {LOGPIXELSX, 7}, {LOGPIXELSY, 8},
                                      {12345, 0}};
  for (auto [index, value] : caps) EXPECT_EQ(printer.GetDeviceCaps(index), value) << index;
  EXPECT_EQ(printer.PageWidth(), 3);
  EXPECT_EQ(printer.PageHeight(), 4);
}

TEST(PrinterTest, PlainTextLinesWrapAtBlanksAndFillPages) {
  TFontMetricsScope metrics({.CellWidth = 10, .CellHeight = 20});
  TRecordingPrinter printer;
  printer.SetDeviceCaps({.PageWidth = 100, .PageHeight = 50});  // 10 columns, 2 rows
  TStringList lines;
  lines.SetText("one two three four\n\ta\n\nabcdefghijklmn");
  PrintTextLines(printer, "notes.c", lines, TFont());
  EXPECT_EQ(printer.Title(), "notes.c");
  std::vector<std::vector<std::string>> pages;
  for (const auto& page : printer.Pages()) pages.push_back(TextsOf(page));
  EXPECT_EQ(pages, (std::vector<std::vector<std::string>>{
                       {"one two ", "three four"}, {"        a", ""}, {"abcdefghij", "klmn"}}));
}

TEST(PrinterTest, AFailingJobIsDropped) {
  TRecordingPrinter printer;
  try {
    printer.BeginDoc();
    TPrinterJobGuard guard(printer);
    throw Exception("disk full");
  } catch (const Exception&) {
  }
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.AbortedJobs(), 1);
}

}  // namespace
}  // namespace vk
