// The editor print component on the recording printer. Fixed cells of
// 40 x 100 px on the default A4 page: the text area runs from x 230 to 2239
// (50 columns, 2000 px) and from y 245, 29 lines to a page.

#include "SrcEdit/Source/SrcEditPrint.h"

#include <gtest/gtest.h>

#include <cmath>

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "platform/RecordingCanvas.h"
#include "tests/SrcEdit/Source/EditorFixture.h"
#include "tests/SrcEdit/Source/PrintFixture.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using test::PlacedOf;
using test::RunsOf;
using test::TextsOf;
using test::TPlaced;
using test::TRun;

std::vector<std::string> Numbered(int count, const std::string& prefix = "line ") {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(prefix + std::to_string(i));
  return lines;
}

class SrcEditPrintTest : public ::testing::Test {
protected:
  void SetLines(const std::vector<std::string>& lines) {
    TStringList list;
    for (const std::string& line : lines) list.Add(line);
    Print.SetLines(list);
  }
  TRecordingPrinter& Printer() { return PrinterScope.Printer(); }
  std::vector<TRun> Page(int page) { return RunsOf(Printer().Pages().at(page - 1)); }
  // The runs of the text area (not header, footer or line numbers).
  std::vector<TPlaced> Text(int page, int left = 230) {
    std::vector<TPlaced> text;
    for (const TPlaced& p : PlacedOf(Page(page)))
      if (p.X >= left && p.Y >= 245 && p.Y < 3162) text.push_back(p);
    return text;
  }

  test::TFontMetricsScope Metrics{{.CellWidth = 40, .CellHeight = 100}};
  test::TPrinterScope PrinterScope;
  TSrcEditPrint Print{nullptr};
};

TEST_F(SrcEditPrintTest, TheGridTakesOneColumnLessThanTheFirstWidthReachingTheTextArea) {
  struct TCase {
    int CellWidth, MaxCol, MaxWidth;
  };
  // 49 x 41 px fill the 2009 px exactly; a font that measures "W" as
  // nothing still gives a grid.
  for (TCase c : {TCase{40, 50, 2000}, TCase{41, 48, 1968}, TCase{0, 2008, 0}}) {
    test::TFontMetricsScope metrics({.CellWidth = c.CellWidth, .CellHeight = 100});
    SetLines({"x"});
    EXPECT_EQ(Print.GetPageCount(), 1);
    EXPECT_EQ(Print.MaxCol(), c.MaxCol) << c.CellWidth;
    EXPECT_EQ(Print.MaxWidth(), c.MaxWidth) << c.CellWidth;
  }
  // A text area narrower than one character still holds one column.
  Print.Margins().SetLeft(200);
  SetLines({"abc"});
  EXPECT_EQ(Print.GetPageCount(), 1);
  EXPECT_EQ(Print.MaxCol(), 1);
}

// Margins off the paper in a settings record (found by fuzzing): the text
// area stops at the paper's edges (x -65 to 2416, y -50 to 3457), so the
// grid stays a page wide instead of millions of columns.
TEST_F(SrcEditPrintTest, ARecordWithMarginsOffThePaperPaginatesOnThePaper) {
  using TSetter = void (TSrcEditPrintMargins::*)(double);
  struct TCase {
    const char* Name;
    TSetter Set;
    double Mm;
    int Left, Right, Top, Bottom, MaxCol, Pages;
  } cases[] = {
      {"left -1.5e144", &TSrcEditPrintMargins::SetLeft, -1.5e144, -65, 2239, 245, 3162, 57, 2},
      {"right -1.5e144", &TSrcEditPrintMargins::SetRight, -1.5e144, 230, 2416, 245, 3162, 54, 2},
      {"left 1e300", &TSrcEditPrintMargins::SetLeft, 1e300, 2416, 2239, 245, 3162, 1, 6},
      {"top -infinity", &TSrcEditPrintMargins::SetTop, -INFINITY, 230, 2239, -50, 3162, 50, 1},
      {"bottom 1e300", &TSrcEditPrintMargins::SetBottom, 1e300, 230, 2239, 245, -50, 50, 31},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEditPrintMargins damaged;
    (damaged.*c.Set)(c.Mm);
    TMemoryStream record;
    damaged.SaveToStream(record);
    record.SetPosition(0);
    Print.Margins().LoadFromStream(record);
    SetLines(Numbered(30));
    EXPECT_EQ(Print.GetPageCount(), c.Pages);
    EXPECT_EQ(Print.MaxCol(), c.MaxCol);
    const TSrcEditPrintMargins& m = Print.Margins();
    EXPECT_EQ((std::vector<int>{m.PixLeft, m.PixRight, m.PixTop, m.PixBottom}),
              (std::vector<int>{c.Left, c.Right, c.Top, c.Bottom}));
  }
}

TEST_F(SrcEditPrintTest, PagesLinesStatusAndHeader) {
  SetLines(Numbered(70));
  Print.Header().Add("$PAGENUM$/$PAGECOUNT$", nullptr, taLeftJustify, 1);
  std::vector<std::string> events;
  struct TListener : TObject {
    std::vector<std::string>* Events;
    void Status(TObject*, TSrcPrintStatus status, int page, bool&) { Events->push_back(Format("s%d p%d", status, page)); }
    void Line(TObject*, int line, int page) {
      if (line % 29 < 2) Events->push_back(Format("l%d p%d", line, page));
    }
  } listener;
  listener.Events = &events;
  Print.OnPrintStatus = TPrintStatusEvent(&listener, &TListener::Status);
  Print.OnPrintLine = TPrintLineEvent(&listener, &TListener::Line);
  Print.SetDocTitle("main.c");
  Print.Print();
  EXPECT_EQ(Printer().Title(), "main.c");
  ASSERT_EQ(Printer().Pages().size(), 3u);
  EXPECT_EQ(Text(2).front(), (TPlaced{230, 245, "line 30"}));
  EXPECT_EQ(Text(2).back(), (TPlaced{230, 245 + 28 * 100, "line 58"}));
  EXPECT_EQ(Text(3).size(), 12u);
  EXPECT_EQ(TextsOf(Page(2)).front(), "2/3");
  EXPECT_EQ(events, (std::vector<std::string>{"s0 p1", "s1 p1", "l1 p1", "l29 p1", "s1 p2", "l30 p2", "l58 p2",
                                              "s1 p3", "l59 p3", "s2 p3"}));
}

TEST_F(SrcEditPrintTest, LineNumbersAreRightAlignedAtTheTextArea) {
  struct TCase {
    int Offset;
    bool InMargin;
    std::vector<TPlaced> FirstAndLast;
  };
  const TCase cases[] = {
      // "10: " widens the left edge by 160 px.
      {0, false, {{270, 245, "1: "}, {390, 245, "line 1"}, {230, 1145, "10: "}, {390, 1145, "line 10"}}},
      {100, false, {{230, 245, "101: "}, {430, 245, "line 1"}, {230, 1145, "110: "}, {430, 1145, "line 10"}}},
      {0, true, {{110, 245, "1: "}, {230, 245, "line 1"}, {70, 1145, "10: "}, {230, 1145, "line 10"}}},
  };
  for (const TCase& c : cases) {
    SetLines(Numbered(10));
    Print.SetLineNumbers(true);
    Print.SetLineOffset(c.Offset);
    Print.SetLineNumbersInMargin(c.InMargin);
    Print.Print();
    std::vector<TPlaced> text = Text(1, 0);
    ASSERT_EQ(text.size(), 20u);
    EXPECT_EQ((std::vector<TPlaced>{text[0], text[1], text[18], text[19]}), c.FirstAndLast) << c.Offset;
  }
}

TEST_F(SrcEditPrintTest, WrappedLinesKeepEveryCharacter) {
  const std::string dbcs = "a" + [] {
    std::string s;
    for (int i = 0; i < 60; ++i) s += "가";
    return s;
  }();
  struct TCase {
    std::string Line;
    std::vector<size_t> Rows;
  };
  const TCase cases[] = {
      {std::string(130, 'W'), {50, 50, 30}},
      {"a " + std::string(120, 'x') + " b", {2, 50, 50, 21, 1}},  // the word is longer than a row
      {"f(a," + std::string(60, 'y') + ")", {4, 50, 11}},
      {dbcs, {49, 50, 22}},  // never inside a double-byte character
  };
  for (const TCase& c : cases) {
    SetLines({c.Line, "next"});
    Print.Print();
    std::vector<TPlaced> text = Text(1);
    ASSERT_EQ(text.size(), c.Rows.size() + 1) << c.Line;
    std::string printed;
    for (size_t i = 0; i < c.Rows.size(); ++i) {
      EXPECT_EQ(text[i].Text.size(), c.Rows[i]) << c.Line;
      EXPECT_EQ(text[i].Y, 245 + 100 * static_cast<int>(i)) << c.Line;
      printed += text[i].Text;
    }
    EXPECT_EQ(printed, c.Line);
    EXPECT_EQ(text.back(), (TPlaced{230, 245 + 100 * static_cast<int>(c.Rows.size()), "next"}));
  }
}

TEST_F(SrcEditPrintTest, AWrapOffLineIsCutAtTheRightEdgeAndLongRunsGetAllTheirAdvances) {
  SetLines({std::string(60, 'v')});
  Print.SetWrap(false);
  Print.Print();
  EXPECT_EQ(Text(1), (std::vector<TPlaced>{{230, 245, std::string(50, 'v')}}));

  // More characters than the advance table had entries at first.
  test::TFontMetricsScope narrow({.CellWidth = 1, .CellHeight = 100});
  SetLines({std::string(2000, 'n')});
  Print.Print();
  std::vector<std::string> outputs;
  for (const std::string& line : Printer().Pages().at(0))
    if (line.rfind("ExtTextOut", 0) == 0 && line.find(std::string(2000, 'n')) != std::string::npos)
      outputs.push_back(line);
  ASSERT_EQ(outputs.size(), 1u);
  std::string advances;
  for (int i = 0; i < 2000; ++i) advances += " 1";
  EXPECT_TRUE(outputs[0].ends_with("\" dx" + advances));
}

TEST_F(SrcEditPrintTest, HighlightedTokensTakeTheirColoursAndContinueAcrossRows) {
  TSrcAvrHl hl(nullptr);
  hl.AvrVarAttri()->SetForeground(clRed);
  hl.SymbolAttri()->SetForeground(clBlue);
  hl.HexKeyAttri()->SetForeground(clMaroon);
  hl.NumberAttri()->SetForeground(clMaroon);
  hl.SpaceAttri()->SetForeground(clNone);
  hl.CommentAttri()->SetForeground(clGreen);
  hl.CommentAttri()->SetBackground(clYellow);
  for (TSrcHighlighterAttributes* a : {hl.AvrVarAttri(), hl.SymbolAttri(), hl.HexKeyAttri(), hl.NumberAttri()})
    a->SetBackground(clNone);
  Print.SetHighlighter(&hl);
  Print.SetColors(true);
  Print.Font().SetColor(clNavy);
  SetLines({"PORTB = 0x10; // c"});
  Print.Print();
  const TColorRef white = ColorToRGB(clWhite), navy = ColorToRGB(clNavy), red = ColorToRGB(clRed),
                  blue = ColorToRGB(clBlue), maroon = ColorToRGB(clMaroon);
  std::vector<TRun> runs = Page(1);
  EXPECT_EQ(runs,
            (std::vector<TRun>{{230, 245, "PORTB", red, white},
                               {430, 245, " ", navy, white},
                               {470, 245, "=", blue, white},
                               {510, 245, " ", navy, white},
                               {550, 245, "0x10", maroon, white},
                               {710, 245, ";", blue, white},
                               {750, 245, " ", navy, white},
                               {790, 245, "// c", ColorToRGB(clGreen), ColorToRGB(clYellow)}}));

  // Colours off: the font's colour throughout. A comment that straddles
  // the breaks keeps its column on its first row and goes on at the left.
  Print.SetColors(false);
  SetLines({"x = 1; /* " + std::string(60, 'c') + " */"});
  Print.Print();
  runs = Page(1);
  for (const TRun& run : runs) EXPECT_EQ(run.Color, navy) << run.Text;
  std::vector<TPlaced> placed = PlacedOf(runs);
  EXPECT_EQ(std::vector<TPlaced>(placed.begin() + 7, placed.end()),
            (std::vector<TPlaced>{{510, 245, "/* "},
                                  {230, 345, std::string(50, 'c')},
                                  {230, 445, std::string(10, 'c') + " "},
                                  {230, 545, "*/"}}));
  Print.SetHighlighter(nullptr);
}

// Records each line it is given with the range it starts from.
class TProbeHighlighter : public test::TCommentHighlighter {
public:
  void SetLine(std::string_view line, int lineIndex) override {
    Seen.push_back({lineIndex, static_cast<int>(GetRange())});
    TCommentHighlighter::SetLine(line, lineIndex);
  }
  std::vector<std::pair<int, int>> Seen;
};

TEST_F(SrcEditPrintTest, EveryLineStartsFromItsRangeAndItsZeroBasedIndex) {
  TProbeHighlighter hl;
  Print.SetHighlighter(&hl);
  SetLines({"/*", "x", "*/", "y"});
  Print.Print();
  EXPECT_EQ(hl.Seen, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1},            // ranges
                                                       {0, 0}, {1, 1}, {2, 1}, {3, 0}}));  // printing
}

class SrcEditPrintSelectionTest : public test::EditorTest {
protected:
  std::vector<std::string> PrintSelection(TSrcSelectionMode mode, TBufferCoord from, TBufferCoord to) {
    Edit.SetSelectionMode(mode);
    Select(from, to);
    Print.SetSrcEdit(Edit);
    Print.SetSelectedOnly(true);
    Print.Print();
    return TextsOf(RunsOf(PrinterScope.Printer().Pages().at(0)));
  }

  test::TPrinterScope PrinterScope;
  TSrcEditPrint Print{nullptr};
};

TEST_F(SrcEditPrintSelectionTest, OnlyTheSelectionIsPrinted) {
  SetLines(Numbered(9, "0123456789-"));
  EXPECT_EQ(PrintSelection(smColumn, {5, 3}, {9, 7}),
            (std::vector<std::string>{"4567", "4567", "4567", "4567", "4567"}));
  // A column block dragged leftwards prints the same.
  EXPECT_EQ(PrintSelection(smColumn, {9, 3}, {5, 7}),
            (std::vector<std::string>{"4567", "4567", "4567", "4567", "4567"}));
  EXPECT_EQ(PrintSelection(smLine, {5, 3}, {9, 4}), (std::vector<std::string>{"0123456789-3", "0123456789-4"}));
  EXPECT_EQ(PrintSelection(smNormal, {5, 3}, {9, 5}),
            (std::vector<std::string>{"456789-3", "0123456789-4", "01234567"}));

  // Without a selection nothing is printed.
  Select({2, 2}, {2, 2});
  Print.SetSrcEdit(Edit);
  Print.Print();
  EXPECT_EQ(PrinterScope.Printer().FinishedJobs(), 4);
}

TEST_F(SrcEditPrintSelectionTest, TabsExpandAtTheEditorsTabWidth) {
  SetLines({"ab\tc"});
  Print.SetSrcEdit(Edit);
  Print.SetTabWidth(4);  // only for lines set later
  Print.Print();
  EXPECT_EQ(TextsOf(RunsOf(PrinterScope.Printer().Pages().at(0))), std::vector<std::string>{"ab      c"});
}

TEST_F(SrcEditPrintTest, PageRangesCopiesAndAborts) {
  SetLines(Numbered(140));  // 5 pages
  std::vector<std::string> status;
  struct TListener : TObject {
    std::vector<std::string>* Status;
    int AbortAt = 0;
    void Handle(TObject*, TSrcPrintStatus s, int page, bool& abort) {
      Status->push_back(Format("%d:%d", s, page));
      abort = s == psNewPage && page == AbortAt;
    }
  } listener;
  listener.Status = &status;
  Print.OnPrintStatus = TPrintStatusEvent(&listener, &TListener::Handle);
  Print.SetCopies(2);
  Print.PrintRange(2, -1);
  ASSERT_EQ(Printer().Pages().size(), 8u);
  EXPECT_EQ(Text(1).front().Text, "line 30");
  EXPECT_EQ(Text(5).front().Text, "line 30");
  EXPECT_EQ(status.front(), "0:2");
  EXPECT_EQ(status.back(), "2:5");

  // Pages outside the document: refused, the job dropped.
  EXPECT_THROW(Print.PrintRange(4, 6), EListError);
  EXPECT_THROW(Print.PrintRange(0, 2), EListError);
  EXPECT_FALSE(Printer().Printing());
  EXPECT_EQ(Printer().AbortedJobs(), 2);

  // An abort before page 2 leaves page 1 and reports no end.
  status.clear();
  listener.AbortAt = 2;
  Print.SetCopies(1);
  Print.Print();
  EXPECT_EQ(status, (std::vector<std::string>{"0:1", "1:1", "1:2"}));
  EXPECT_EQ(Printer().Pages().size(), 1u);
  EXPECT_EQ(Printer().AbortedJobs(), 3);
  EXPECT_FALSE(Printer().Printing());
}

TEST_F(SrcEditPrintTest, APreviewDrawsPagesOfTheLastPagination) {
  TRecordingCanvas canvas;
  {
    TProbeHighlighter hl;
    Print.SetHighlighter(&hl);
    SetLines(Numbered(40));
    Print.UpdatePages(canvas);
  }
  EXPECT_EQ(Print.Highlighter(), nullptr);  // gone with the highlighter
  canvas.ClearLog();
  Print.PrintToCanvas(canvas, 2);
  EXPECT_EQ(TextsOf(RunsOf(canvas.Log())).front(), "line 30");
  EXPECT_THROW(Print.PrintToCanvas(canvas, 3), EListError);
  // New lines drop the old pagination: nothing but header and footer.
  SetLines(Numbered(2));
  canvas.ClearLog();
  Print.PrintToCanvas(canvas, 2);
  EXPECT_EQ(canvas.CountOf("ExtTextOut"), 0);
}

TEST_F(SrcEditPrintTest, PageOffsetShowsInHeaderAndFooterOnly) {
  SetLines(Numbered(3));
  Print.SetPageOffset(10);
  Print.Footer().Add("$PAGENUM$ of $PAGECOUNT$", nullptr, taLeftJustify, 1);
  std::vector<int> pages;
  struct TListener : TObject {
    std::vector<int>* Pages;
    void Line(TObject*, int, int page) { Pages->push_back(page); }
  } listener;
  listener.Pages = &pages;
  Print.OnPrintLine = TPrintLineEvent(&listener, &TListener::Line);
  Print.Print();
  EXPECT_EQ(TextsOf(Page(1)).back(), "11 of 1");
  EXPECT_EQ(pages, (std::vector<int>{1, 1, 1}));
}

TEST_F(SrcEditPrintTest, ThePageCountStaysUntilLinesFontOrHighlighterChange) {
  SetLines(Numbered(30));
  EXPECT_EQ(Print.GetPageCount(), 2);
  Print.Margins().SetTop(5);
  EXPECT_EQ(Print.GetPageCount(), 2);
  Print.SetFont(Print.Font());
  EXPECT_EQ(Print.GetPageCount(), 1);

  // A text area lower than a line: page 1 empty, then a line a page.
  Print.Margins().SetBottom(285);
  SetLines(Numbered(3));
  EXPECT_EQ(Print.GetPageCount(), 4);
}

TEST_F(SrcEditPrintTest, APrinterWithoutResolutionStillPrints) {
  Printer().InstalledPrinters = {"Odd"};
  Printer().SetDeviceCaps({.PixelsPerInchX = 0, .PixelsPerInchY = 0});
  SetLines(Numbered(3));
  EXPECT_EQ(Print.GetPageCount(), 1);
  Print.Print();
  EXPECT_EQ(Printer().FinishedJobs(), 1);
}

}  // namespace
}  // namespace vk
