// Header and footer: macros, the item and header strings, item indexes,
// placement and frames; the print types' break search and Roman numerals.

#include "SrcEdit/Source/SrcEditPrintHeaderFooter.h"

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEditPrintMargins.h"
#include "SrcEdit/Source/SrcEditPrinterInfo.h"
#include "platform/RecordingCanvas.h"
#include "tests/SrcEdit/Source/PrintFixture.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using test::PlacedOf;
using test::RunsOf;
using test::TPlaced;

TEST(SrcEditPrintTypesTest, WrapTextExFindsTheLastBreakWithinTheLimit) {
  struct TCase {
    const char* Line;
    const char* Breaks;
    int MaxCol;
    bool Result;
    std::vector<TWrapPos> Positions;
  };
  const TCase cases[] = {
      {"abcd efgh ijkl", " ", 6, true, {5, 10}},
      {"abcdefgh", " ", 4, false, {}},
      {"abcd", " ", 4, true, {}},
      {"a b c d e f", " ", 4, true, {4, 8}},
      {"ab cdefghijk lm", " ", 4, true, {3, 13}},  // the second row is longer than the limit
      {"ab cdefghijklmn", " ", 4, true, {3}},      // nothing to break the rest at
      {"f(a,b);g(c)", ",;", 5, true, {4, 7}},
  };
  for (const TCase& c : cases) {
    std::vector<TWrapPos> positions;
    EXPECT_EQ(WrapTextEx(c.Line, TSrcIdentChars(c.Breaks), c.MaxCol, positions), c.Result) << c.Line;
    EXPECT_EQ(positions, c.Positions) << c.Line;
  }
}

TEST(SrcEditPrintTypesTest, IntToRoman) {
  const std::pair<int, const char*> cases[] = {{1994, "MCMXCIV"}, {4000, "MMMM"}, {0, ""},   {-5, ""},  {4, "IV"},
                                               {9, "IX"},         {14, "XIV"},    {40, "XL"}, {90, "XC"}, {444, "CDXLIV"}};
  for (auto [value, roman] : cases) EXPECT_EQ(IntToRoman(value), roman) << value;
}

TEST(HeaderFooterItemTest, GetTextExpandsMacros) {
  struct TCase {
    const char* Text;
    int Page;
    bool Roman;
    const char* Title;
    const char* Expected;
  };
  const TCase cases[] = {
      {"Page $PAGENUM$ of $PAGECOUNT$", 3, false, "", "Page 3 of 12"},
      {"$pagenum$/$PageCount$", 3, true, "", "III/XII"},
      {"$PAGENUM$", 4, true, "", "IV"},
      {"$PAGENUM$", 0, true, "", ""},
      {"$$PAGENUM$", 3, false, "", "$3"},
      {"Cost: $5 and $TITLE$", 1, false, "T", "Cost: $5 and T"},
      {"$TITLE$", 1, false, "", ""},
      {" \t ", 1, false, "T", ""},
      {"$DATE$ $TIME$|$DATETIME$|$TIMEDATE$", 1, false, "", "D T|D T|T D"},
      {"a $PAGENUM", 1, false, "", "a $PAGENUM"},
      {"$NOPE$ $TITLE$ $", 1, false, "T", "$NOPE$ T $"},
  };
  for (const TCase& c : cases) {
    THeaderFooterItem item;
    item.SetText(c.Text);
    EXPECT_EQ(item.GetText(12, c.Page, c.Roman, c.Title, "T", "D"), c.Expected) << c.Text;
  }
}

TEST(HeaderFooterItemTest, StringFormRoundTripsAndReadsWhatIsThere) {
  THeaderFooterItem item;
  item.SetText("a/b\\c\\/d");
  item.Font().SetName("Odd/Font\\Name");
  item.Font().SetSize(14);
  item.Font().SetStyle({fsItalic, fsStrikeOut});
  item.Font().SetColor(clRed);
  item.SetLineNumber(3);
  item.SetAlignment(taCenter);
  THeaderFooterItem copy;
  copy.SetAsString(item.GetAsString());
  EXPECT_EQ(copy.GetAsString(), item.GetAsString());
  EXPECT_EQ(copy.Text(), "a/b\\c\\/d");
  EXPECT_EQ(copy.Font().Name(), "Odd/Font\\Name");
  EXPECT_EQ(copy.Font().Size(), 14);

  // Numbers that are not numbers read as 0, a resolution of 0 is ignored,
  // missing fields read as 0 too.
  copy.SetAsString("x/1/2/3/Mono/z/0/9");
  EXPECT_EQ(copy.Text(), "x");
  EXPECT_EQ(copy.Font().Color(), 2);
  EXPECT_EQ(copy.Font().PixelsPerInch(), 96);
  EXPECT_EQ(copy.Font().Size(), 9);
  EXPECT_EQ(copy.LineNumber(), 0);
  EXPECT_EQ(copy.Alignment(), taLeftJustify);
}

TEST(HeaderFooterTest, IndexesAreNeverReusedAndDeleteFindsByIndex) {
  THeader header;
  EXPECT_EQ(header.Add("a", nullptr, taLeftJustify, 1), 0);
  EXPECT_EQ(header.Add("b", nullptr, taLeftJustify, 1), 1);
  EXPECT_EQ(header.Add("c", nullptr, taLeftJustify, 1), 2);
  header.Delete(1);
  header.Delete(7);
  EXPECT_EQ(header.Add("d", nullptr, taLeftJustify, 1), 3);
  header.Delete(2);
  ASSERT_EQ(header.Count(), 2);
  EXPECT_EQ(header.Get(0).Text(), "a");
  EXPECT_EQ(header.Get(1).Text(), "d");
  EXPECT_EQ(header.Get(1).Index(), 3);
  EXPECT_THROW(header.Get(2), EListError);
}

TEST(HeaderFooterTest, AssignCopiesEverythingAndSelfAssignKeepsTheItems) {
  TFooter footer;
  footer.SetFrameTypes({ftBox, ftShaded});
  footer.SetRomanNumbers(true);
  footer.Add("$PAGENUM$", nullptr, taRightJustify, 2);
  footer.Assign(footer);
  ASSERT_EQ(footer.Count(), 1);
  THeader header;
  header.Assign(footer);
  EXPECT_EQ(header.Type(), hftFooter);
  EXPECT_EQ(header.FrameTypes(), (TFrameTypes{ftBox, ftShaded}));
  EXPECT_TRUE(header.RomanNumbers());
  ASSERT_EQ(header.Count(), 1);
  EXPECT_EQ(header.Get(0).Alignment(), taRightJustify);
  TSrcEditPrintMargins margins;
  EXPECT_THROW(header.Assign(margins), EConvertError);
}

TEST(HeaderFooterTest, StringFormNumbersLinesWithoutChangingTheItems) {
  THeader header;
  header.Add("one/two", nullptr, taLeftJustify, 4);
  header.Add("three", nullptr, taCenter, 9);
  std::string text = header.GetAsString();
  EXPECT_EQ(header.Get(0).LineNumber(), 4);
  THeader copy;
  copy.Add("old", nullptr, taLeftJustify, 1);
  copy.SetAsString(text);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Get(0).Text(), "one/two");
  EXPECT_EQ(copy.Get(0).LineNumber(), 1);
  EXPECT_EQ(copy.Get(1).LineNumber(), 2);
  EXPECT_EQ(copy.Get(1).Alignment(), taCenter);
  copy.SetAsString("");
  EXPECT_EQ(copy.Count(), 0);
}

// Fixed 8 x 16 cells (ascent 12) on the default page: PixLeft 230,
// PixRight 2239, PixHeader 127, PixFooter 3280, internal margin 6, text
// indents 254 and 2215.
class HeaderFooterPrintTest : public ::testing::Test {
protected:
  HeaderFooterPrintTest() { Margins.InitPage(Canvas, 1, Info, false, false, 1); }

  std::vector<TPlaced> PrintPage(THeaderFooter& hf, int page) {
    hf.InitPrint(Canvas, 12, "T", Margins);
    Canvas.ClearLog();
    hf.Print(Canvas, page);
    return PlacedOf(RunsOf(Canvas.Log()));
  }

  test::TFontMetricsScope Metrics{{.CellWidth = 8, .CellHeight = 16}};
  test::TPrinterScope PrinterScope;
  TRecordingCanvas Canvas;
  TSrcEditPrinterInfo Info;
  TSrcEditPrintMargins Margins;
};

TEST_F(HeaderFooterPrintTest, ItemsSitOnTheirLinesBaselinesAndAlignments) {
  THeader header;
  header.Add("R", nullptr, taRightJustify, 5);
  header.Add("L$PAGENUM$", nullptr, taLeftJustify, 2);
  header.Add("C", nullptr, taCenter, 2);
  // Two lines of 16 px and twice the margin: 44 px above PixHeader; the
  // text starts 6 px below that, the baselines 12 px lower.
  EXPECT_EQ(PrintPage(header, 3), (std::vector<TPlaced>{{254, 101, "L3"}, {1230, 101, "C"}, {2207, 117, "R"}}));
  EXPECT_EQ(header.FrameHeight(), 44);
  EXPECT_EQ(header.Get(0).LineNumber(), 1);
  EXPECT_EQ(header.Get(2).LineNumber(), 2);
  EXPECT_EQ(Canvas.Calls("MoveTo"), std::vector<std::string>{"MoveTo 230 127"});
  EXPECT_EQ(Canvas.Calls("SetTextAlign"), (std::vector<std::string>{"SetTextAlign 24", "SetTextAlign 0", "SetTextAlign 24",
                                                                    "SetTextAlign 0", "SetTextAlign 24", "SetTextAlign 0"}));

  header.SetMirrorPosition(true);
  EXPECT_EQ(PrintPage(header, 2)[0], (TPlaced{2199, 101, "L2"}));
  EXPECT_EQ(PrintPage(header, 3)[0], (TPlaced{254, 101, "L3"}));
  // An item added after the job was prepared names a line never measured:
  // it goes below the last line, with no room for its ascent.
  header.Add("late", nullptr, taLeftJustify, 7);
  header.Print(Canvas, 1);
  EXPECT_EQ(PlacedOf(RunsOf(Canvas.Log())).back(), (TPlaced{254, 121, "late"}));
}

TEST_F(HeaderFooterPrintTest, FramesOfHeaderAndFooter) {
  struct TCase {
    THeaderFooterType Type;
    TFrameTypes Frame;
    std::vector<std::string> Drawn;
  };
  const TCase cases[] = {
      {hftHeader, {ftBox}, {"Rectangle [230 99 2239 127]", "FillRect [230 99 2239 127] $00C0C0C0"}},
      {hftFooter, {ftBox, ftShaded, ftLine}, {"Rectangle [230 3280 2239 3308]", "FillRect [230 3280 2239 3308] $00C0C0C0",
                                              "MoveTo 230 3280", "LineTo 2239 3280 $00000000"}},
      {hftFooter, {}, {}},
  };
  for (const TCase& c : cases) {
    THeaderFooter hf(c.Type);
    hf.SetFrameTypes(c.Frame);
    hf.Add("x", nullptr, taLeftJustify, 1);
    std::vector<TPlaced> runs = PrintPage(hf, 1);
    std::vector<std::string> drawn;
    for (const std::string& call : Canvas.Log())
      if (call.rfind("Rectangle", 0) == 0 || call.rfind("FillRect", 0) == 0 || call.rfind("MoveTo", 0) == 0 ||
          call.rfind("LineTo", 0) == 0)
        drawn.push_back(call);
    EXPECT_EQ(drawn, c.Drawn);
    EXPECT_EQ(runs.at(0).Y, c.Type == hftHeader ? 99 + 6 + 12 : 3280 + 6 + 12);
  }
  THeader empty;
  PrintPage(empty, 1);
  EXPECT_TRUE(Canvas.Log().empty());
  EXPECT_EQ(empty.FrameHeight(), -1);
}

}  // namespace
}  // namespace vk
