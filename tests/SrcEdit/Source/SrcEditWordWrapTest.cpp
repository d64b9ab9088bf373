#include "SrcEdit/Source/SrcEditWordWrap.h"

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace vk {
namespace {

const std::string kHan = "\xB0\xA1";  // one double-byte character

TSrcIdentChars AllButControls() {
  TSrcIdentChars chars;
  chars.IncludeRange(33, 255);
  return chars;
}

// Identifier characters of a highlighter that breaks at punctuation.
TSrcIdentChars LettersAndDigits() {
  TSrcIdentChars chars("_");
  chars.IncludeRange('0', '9');
  chars.IncludeRange('A', 'Z');
  chars.IncludeRange('a', 'z');
  return chars;
}

class TTestHost : public ISrcWordWrapHost {
public:
  TSrcEditStringList& Lines() const override { return FLines; }
  int ColumnsInWindow() const override { return Columns; }
  TSrcIdentChars IdentChars() const override { return Ident; }

  mutable TSrcEditStringList FLines;
  int Columns = 10;
  TSrcIdentChars Ident = AllButControls();
};

std::vector<int> RowLengths(TSrcWordWrapPlugin& plugin) {
  std::vector<int> rows;
  for (int row = 1; row <= plugin.RowCount(); ++row) rows.push_back(plugin.GetRowLength(row));
  return rows;
}

// The first row of every line, found through the mapping.
std::vector<int> FirstRows(TSrcWordWrapPlugin& plugin) {
  std::vector<int> rows;
  for (int line = 1; line <= plugin.LineCount(); ++line) rows.push_back(plugin.BufferToDisplayPos({1, line}).Row);
  return rows;
}

struct WrapCase {
  const char* Name;
  std::string Line;
  int Width;
  std::vector<int> Rows;
  int TabWidth = 8;
  TSrcIdentChars Ident = AllButControls();
};

TEST(SrcEditWordWrapTest, WrapsALineByTheRules) {
  const std::string tabRun = "x" + std::string(10000, '\t');  // 80000 cells
  const WrapCase cases[] = {
      {"fits", "abcd", 10, {4}},
      {"exactly the width", "abcdefghij", 10, {10}},
      {"empty line", "", 10, {0}},
      {"after the blank", "abcd efgh ijkl", 10, {10, 4}},
      {"long word is cut at the edge", std::string(30, 'w'), 10, {10, 10, 10}},
      {"blank run stays on the row", "abcdefgh   xyz", 8, {11, 3}},
      {"only blanks", std::string(25, ' '), 10, {25}},
      // Width 10 leaves rows of at least 7 + 2 characters at a break.
      {"break far enough from the start", "abcdefgh ijklm", 10, {9, 5}},
      {"break too close to the start", "abcdefg hijklm", 10, {10, 4}},
      {"TAB cells are blanks", "\tab\tcd", 6, {8, 2}, 4},
      {"TAB width 1 turns a TAB into a blank", "abcde\tfghij", 5, {6, 5}, 1},
      {"punctuation breaks with a highlighter", "aaaaaaaa,bbbbb", 10, {9, 5}, 8, LettersAndDigits()},
      {"punctuation is a letter without one", "aaaaaaaa,bbbbb", 10, {10, 4}},
      {"double-byte character goes to the next row", "abcd" + kHan + "ef", 5, {4, 4}},
      {"double-byte characters only", kHan + kHan + kHan, 3, {2, 2, 2}},
      {"width 1", "abc", 1, {1, 1, 1}},
      {"width 1 keeps a double-byte character whole", "a" + kHan + "b", 1, {1, 2, 1}},
      {"width 2", kHan + "a" + kHan, 2, {2, 1, 2}},
      {"width 300", std::string(700, 'x'), 300, {300, 300, 100}},
      {"width 300, line fits", std::string(299, 'x'), 300, {299}},
      {"endless blanks are cut", "xxxxx" + std::string(70000, ' ') + "y", 10, {65535, 4470, 1}},
      {"endless TABs are cut at a tab stop", tabRun, 10, {65528, 14472}},
  };
  for (const WrapCase& c : cases) {
    TTestHost host;
    host.Columns = c.Width;
    host.Ident = c.Ident;
    host.FLines.SetTabWidth(c.TabWidth);
    host.FLines.Add(c.Line);
    TSrcWordWrapPlugin plugin(host);
    EXPECT_EQ(c.Rows, RowLengths(plugin)) << c.Name;
  }
}

TEST(SrcEditWordWrapTest, AnEmptyStoreHasNoRows) {
  TTestHost host;
  TSrcWordWrapPlugin plugin(host);
  EXPECT_EQ(0, plugin.RowCount());
  EXPECT_EQ(0, plugin.LineCount());
}

// A window wider than 255 columns wraps at its edge rather than losing the
// text.
TEST(SrcEditWordWrapTest, WideWindowsKeepTheirWidth) {
  for (int width : {255, 256, 300, 511, 512, 1000}) {
    TTestHost host;
    host.Columns = width;
    host.FLines.Add(std::string(2500, 'x'));
    TSrcWordWrapPlugin plugin(host);
    EXPECT_EQ(width, plugin.WrapWidth());
    EXPECT_EQ((2500 + width - 1) / width, plugin.RowCount()) << width;
    EXPECT_EQ(width, plugin.GetRowLength(1)) << width;
  }
}

TEST(SrcEditWordWrapTest, MapsBufferAndDisplayPositions) {
  TTestHost host;
  host.FLines.Add("abcd efgh ijkl");  // rows 1, 2: 10 and 4
  host.FLines.Add("");                // row 3
  host.FLines.Add(std::string(25, 'z'));  // rows 4, 5, 6: 10, 10, 5
  TSrcWordWrapPlugin plugin(host);
  struct Case {
    TBufferCoord Buffer;
    TDisplayCoord Display;
  } toDisplay[] = {
      {{1, 1}, {1, 1}},  {{10, 1}, {10, 1}}, {{11, 1}, {1, 2}}, {{15, 1}, {5, 2}},
      {{40, 1}, {30, 2}}, {{1, 2}, {1, 3}},   {{5, 2}, {5, 3}},  {{21, 3}, {1, 6}},
      {{7, 5}, {7, 8}},                       // beyond the lines: one to one after the last row
  };
  for (const Case& c : toDisplay)
    EXPECT_EQ(c.Display, plugin.BufferToDisplayPos(c.Buffer)) << c.Buffer.Char << "," << c.Buffer.Line;
  Case toBuffer[] = {
      {{1, 1}, {1, 1}},   {{10, 1}, {10, 1}}, {{11, 1}, {11, 1}}, {{11, 1}, {50, 1}},  // a middle row stops at its end
      {{11, 1}, {1, 2}},  {{20, 1}, {10, 2}}, {{21, 1}, {11, 2}}, {{21, 1}, {80, 2}},  // the last row at the width
      {{11, 2}, {40, 3}}, {{15, 3}, {5, 5}},  {{3, 5}, {3, 8}},                         // beyond the rows
  };
  for (const Case& c : toBuffer)
    EXPECT_EQ(c.Buffer, plugin.DisplayToBufferPos(c.Display)) << c.Display.Column << "," << c.Display.Row;
}

// Random lines of words, blanks, TABs, punctuation and double-byte
// characters.
std::string RandomLine(std::mt19937& random) {
  static const std::vector<std::string> pieces = {"a",  "word", "x1", " ", "  ",  "\t", ",", "(",
                                                  kHan, kHan + kHan, "", "longerwordthanmostrows"};
  std::string line;
  const int count = std::uniform_int_distribution<int>(0, 30)(random);
  for (int i = 0; i < count; ++i) line += pieces[random() % pieces.size()];
  return line;
}

// What must hold whatever the rules chose.
void ExpectSoundRows(TSrcWordWrapPlugin& plugin, TSrcEditStringList& lines, const std::string& context) {
  ASSERT_EQ(lines.Count(), plugin.LineCount()) << context;
  for (int line = 1; line <= lines.Count(); ++line) {
    const std::string text = lines.GetExpandedString(line - 1);
    const int first = plugin.BufferToDisplayPos({1, line}).Row;
    const int last = line < lines.Count() ? plugin.BufferToDisplayPos({1, line + 1}).Row - 1 : plugin.RowCount();
    ASSERT_LE(first, last) << context << " line " << line;
    int start = 0;
    for (int row = first; row <= last; ++row) {
      const int length = plugin.GetRowLength(row);
      ASSERT_TRUE(length > 0 || text.empty()) << context << " row " << row;
      ASSERT_NE(mbTrailByte, start < static_cast<int>(text.size()) ? CodePage::ByteTypeAt(text, start) : mbSingleByte)
          << context << " row " << row << " starts inside a character";
      start += length;
    }
    ASSERT_EQ(static_cast<int>(text.size()), start) << context << " line " << line;
  }
}

// Every position within a line survives the way to the display and back.
void ExpectRoundTrips(TSrcWordWrapPlugin& plugin, TSrcEditStringList& lines, const std::string& context) {
  for (int line = 1; line <= lines.Count(); ++line) {
    const int length = lines.GetExpandedStringLength(line - 1);
    for (int column = 1; column <= length + 1; ++column) {
      const TDisplayCoord display = plugin.BufferToDisplayPos({column, line});
      ASSERT_EQ((TBufferCoord{column, line}), plugin.DisplayToBufferPos(display)) << context;
    }
  }
  for (int row = 1; row <= plugin.RowCount(); ++row)
    for (int column = 1; column <= plugin.GetRowLength(row); ++column) {
      const TBufferCoord buffer = plugin.DisplayToBufferPos({column, row});
      ASSERT_EQ((TDisplayCoord{column, row}), plugin.BufferToDisplayPos(buffer)) << context;
    }
}

TEST(SrcEditWordWrapTest, LineEventsMatchAFreshWrapAfterRandomEdits) {
  std::mt19937 random(1234);
  for (int width : {1, 2, 3, 7, 10, 80, 256, 300}) {
    TTestHost host;
    host.Columns = width;
    host.FLines.SetTabWidth(width % 2 ? 4 : 3);
    for (int i = 0; i < 20; ++i) host.FLines.Add(RandomLine(random));
    TSrcWordWrapPlugin plugin(host);
    for (int step = 0; step < 150; ++step) {
      const int count = host.FLines.Count();
      const int index = std::uniform_int_distribution<int>(0, count)(random);
      const int span = std::uniform_int_distribution<int>(1, 3)(random);
      const int kind = random() % 3;
      const int rowsBefore = plugin.RowCount();
      int change = 0;
      if (kind == 0 || count == 0) {
        for (int i = 0; i < span; ++i) host.FLines.Insert(index, RandomLine(random));
        change = plugin.LinesInserted(index, span);
      } else {
        const int first = std::min(index, count - 1);
        const int lines = std::min(span, count - first);
        if (kind == 1) {
          host.FLines.DeleteLines(first, lines);
          change = -plugin.LinesDeleted(first, lines);
        } else {
          for (int i = first; i < first + lines; ++i) host.FLines.Put(i, RandomLine(random));
          change = plugin.LinesPutted(first, lines);
        }
      }
      const std::string context = "width " + std::to_string(width) + " step " + std::to_string(step);
      TSrcWordWrapPlugin fresh(host);
      ASSERT_EQ(RowLengths(fresh), RowLengths(plugin)) << context;
      ASSERT_EQ(FirstRows(fresh), FirstRows(plugin)) << context;
      ASSERT_NO_FATAL_FAILURE(ExpectSoundRows(plugin, host.FLines, context));
      ASSERT_EQ(plugin.RowCount() - rowsBefore, change) << context;
    }
    ASSERT_NO_FATAL_FAILURE(ExpectRoundTrips(plugin, host.FLines, "width " + std::to_string(width)));
  }
}

TEST(SrcEditWordWrapTest, ANarrowWindowIsTheEmptyState) {
  TTestHost host;
  host.Columns = 0;
  host.FLines.Add("some text");
  TSrcWordWrapPlugin plugin(host);
  EXPECT_EQ(0, plugin.RowCount());
  host.FLines.Add("more");
  EXPECT_EQ(0, plugin.LinesInserted(1, 1));
  EXPECT_EQ(0, plugin.LinesPutted(0, 1));
  EXPECT_EQ(0, plugin.LinesDeleted(0, 1));
  EXPECT_EQ(0, plugin.RowCount());

  host.Columns = 4;
  plugin.DisplayChanged();
  EXPECT_EQ((std::vector<int>{5, 4, 4}), RowLengths(plugin));
}

TEST(SrcEditWordWrapTest, DisplayChangedRewrapsOnlyForANewWidth) {
  TTestHost host;
  host.FLines.Add(std::string(20, 'q'));
  TSrcWordWrapPlugin plugin(host);
  // A change the plugin was not told about shows that no rewrap happened.
  host.FLines.Put(0, std::string(40, 'q'));
  plugin.DisplayChanged();
  EXPECT_EQ(2, plugin.RowCount());
  host.Columns = 8;
  plugin.DisplayChanged();
  EXPECT_EQ(8, plugin.WrapWidth());
  EXPECT_EQ(5, plugin.RowCount());
}

TEST(SrcEditWordWrapTest, RejectsMisuse) {
  TTestHost host;
  host.FLines.Add("abc");
  TSrcWordWrapPlugin plugin(host);
  try {
    plugin.GetRowLength(2);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_EQ("List index out of bounds (2)", e.Message());
  }
  EXPECT_THROW(plugin.GetRowLength(0), EListError);
  EXPECT_THROW(plugin.LinesInserted(2, 1), ESrcEditAssertion);
  EXPECT_THROW(plugin.LinesInserted(0, 0), ESrcEditAssertion);
  EXPECT_THROW(plugin.LinesDeleted(0, 2), ESrcEditAssertion);
  EXPECT_THROW(plugin.LinesPutted(-1, 1), ESrcEditAssertion);
  EXPECT_THROW(plugin.BufferToDisplayPos({0, 1}), ESrcEditAssertion);
  EXPECT_THROW(plugin.DisplayToBufferPos({1, 0}), ESrcEditAssertion);
  host.Columns = -1;
  EXPECT_THROW(plugin.Reset(), ESrcEditAssertion);
  try {
    TSrcWordWrapPlugin orphan(static_cast<TCustomSrcEdit*>(nullptr));
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ("TSrcWordWrapPlugin must be owned by TCustomSrcEdit", e.Message());
  }
}

TEST(SrcEditWordWrapTest, WrapsTheEditorsLinesAtItsWidth) {
  TSrcEdit edit(nullptr);
  edit.HandleNeeded();
  ASSERT_GT(edit.ColumnsInWindow(), 0);
  edit.Lines().Add(std::string(edit.ColumnsInWindow() * 2 + 1, 'e'));
  edit.Lines().Add("");
  TSrcWordWrapPlugin plugin(&edit);
  EXPECT_EQ(edit.ColumnsInWindow(), plugin.WrapWidth());
  EXPECT_EQ((std::vector<int>{edit.ColumnsInWindow(), edit.ColumnsInWindow(), 1, 0}), RowLengths(plugin));
}

}  // namespace
}  // namespace vk
