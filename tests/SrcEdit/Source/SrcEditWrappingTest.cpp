#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditWordWrap.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

const std::string kHan = "\xB0\xA1";  // one double-byte character

class WrappingTest : public EditorTest {
protected:
  std::vector<int> RowLengths() {
    std::vector<int> rows;
    ISrcEditBufferPlugin* plugin = Edit.WordWrapPlugin();
    for (int row = 1; row <= plugin->RowCount(); ++row) rows.push_back(plugin->GetRowLength(row));
    return rows;
  }

  // Every line's rows hold its whole expanded text, no row runs past the
  // wrap width but for blanks, and the rows kept up to date by the line
  // events are those a fresh wrap gives.
  void ExpectRowsCoverTheText(int width) {
    ISrcEditBufferPlugin* plugin = Edit.WordWrapPlugin();
    ASSERT_NE(plugin, nullptr);
    const int count = Edit.Lines().Count();
    for (int line = 1; line <= count; ++line) {
      const int first = Edit.LineToRow(line);
      const int last = line < count ? Edit.LineToRow(line + 1) - 1 : plugin->RowCount();
      const std::string text = Edit.Lines().GetExpandedString(line - 1);
      int sum = 0;
      for (int row = first; row <= last; ++row) {
        const int length = plugin->GetRowLength(row);
        if (length > width) {
          const std::string overflow = text.substr(sum + width, length - width);
          EXPECT_EQ(overflow.find_first_not_of(" \t"), std::string::npos) << "line " << line;
        }
        EXPECT_TRUE(length > 0 || text.empty()) << "line " << line;
        sum += length;
      }
      EXPECT_EQ(sum, static_cast<int>(text.size())) << "line " << line << " at width " << width;
    }
    TSrcWordWrapPlugin fresh(&Edit);
    std::vector<int> freshRows;
    for (int row = 1; row <= fresh.RowCount(); ++row) freshRows.push_back(fresh.GetRowLength(row));
    EXPECT_EQ(RowLengths(), freshRows);
  }
};

TEST_F(WrappingTest, TurningWrapOnAndOffKeepsTheTopLine) {
  std::vector<std::string> lines(100, std::string(30, 'x'));
  SetLines(lines);
  SizeTo(10, 25);
  Edit.SetTopLine(40);
  EXPECT_EQ(Edit.WordWrapPlugin(), nullptr);

  Edit.SetWordWrap(true);
  EXPECT_TRUE(Edit.GetWordWrap());
  EXPECT_EQ(Edit.GetDisplayLineCount(), 300);
  EXPECT_EQ(Edit.LeftChar(), 1);
  EXPECT_EQ(Edit.TopLine(), Edit.LineToRow(40));
  EXPECT_EQ(Edit.LineToRow(40), 118);
  EXPECT_EQ(Edit.RowToLine(120), 40);
  Edit.SetWordWrap(true);  // no change
  EXPECT_EQ(Edit.TopLine(), 118);

  Edit.SetWordWrap(false);
  EXPECT_FALSE(Edit.GetWordWrap());
  EXPECT_EQ(Edit.WordWrapPlugin(), nullptr);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 100);
  EXPECT_EQ(Edit.TopLine(), 40);
}

TEST_F(WrappingTest, AVisibleCaretStaysVisible) {
  SetLines(std::vector<std::string>(60, std::string(40, 'y')));
  SizeTo(20, 10);
  Edit.SetCaretXY({35, 20});
  ASSERT_TRUE(Edit.CaretInView());
  Edit.SetWordWrap(true);
  EXPECT_TRUE(Edit.CaretInView());
  EXPECT_EQ(Edit.DisplayXY(), (TDisplayCoord{15, 40}));
}

TEST_F(WrappingTest, RowLengthsAddUpToEachLinesExpandedLength) {
  const std::vector<std::string> lines = {
      "",
      "int main(void) { return 0; }",
      std::string(700, 'w'),
      "\tif (x)\t\t{ y = 1; }\t// tabs " + std::string(40, '\t') + "end",
      std::string(600, ' ') + "after blanks",
      "a " + std::string(300, '.') + " b",
      [] {
        std::string han;
        for (int i = 0; i < 200; ++i) han += kHan + (i % 7 == 0 ? " " : "");
        return han;
      }(),
      "x" + kHan + std::string(253, 'z') + kHan + "tail",
  };
  SetLines(lines);
  Edit.SetWordWrap(true);
  for (int width : {10, 80, 256, 300}) {
    SCOPED_TRACE(width);
    SizeTo(width, 25);
    ASSERT_EQ(Edit.ColumnsInWindow(), width);
    ExpectRowsCoverTheText(width);
    // Edits keep the rows in step: a put, an insertion of lines, a
    // deletion of lines.
    Edit.SetCaretXY({5, 2});
    Edit.SetSelText(std::string(width + 3, 'q'));
    Edit.SetCaretXY({1, 3});
    Edit.SetSelText("new\r\n" + std::string(2 * width, 'n') + "\r\n");
    Select({3, 5}, {2, 7});
    Edit.SetSelText("");
    ExpectRowsCoverTheText(width);
    SetLines(lines);
  }
}

TEST_F(WrappingTest, TheWrapWidthIsNotCutToAByte) {
  SetLines({std::string(290, 'x'), std::string(256, 'y')});
  SizeTo(300, 25);
  Edit.SetWordWrap(true);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 2);
  SizeTo(256, 25);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 3);
  EXPECT_EQ(RowLengths(), (std::vector<int>{256, 34, 256}));
}

TEST_F(WrappingTest, CaretAndSelectionMoveAcrossWrappedRows) {
  SetLines({"abcd efgh ijkl", "next"});
  SizeTo(10, 25);
  Edit.SetWordWrap(true);
  ASSERT_EQ(RowLengths(), (std::vector<int>{10, 4, 4}));
  struct Case {
    TBufferCoord Caret;
    TDisplayCoord Display;
  } cases[] = {{{10, 1}, {10, 1}}, {{11, 1}, {1, 2}}, {{15, 1}, {5, 2}}, {{3, 2}, {3, 3}}};
  for (const Case& c : cases) {
    Edit.SetCaretXY(c.Caret);
    EXPECT_EQ(Edit.DisplayXY(), c.Display) << c.Caret.Char << "," << c.Caret.Line;
  }
  // Right of the first row's end: the caret stands at that row's end, on
  // the character that starts the next row.
  Edit.SetInternalDisplayXY({14, 1});
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{11, 1}));
  EXPECT_EQ(Edit.DisplayXY(), (TDisplayCoord{11, 1}));
  // A selection from the first row into the second.
  Edit.SetInternalDisplayXY({8, 1});
  Edit.SetBlockBegin(Edit.CaretXY());
  Edit.SetInternalDisplayXY({3, 2});
  Edit.SetBlockEnd(Edit.CaretXY());
  EXPECT_EQ(Edit.SelText(), "gh ij");
  Edit.SetSelText("");
  EXPECT_EQ(Edit.Lines().Get(0), "abcd efkl");
  EXPECT_EQ(RowLengths(), (std::vector<int>{9, 4}));
}

TEST_F(WrappingTest, TheRowsFollowTheTabWidthAndTheHighlighter) {
  SetLines({"\t\tab"});
  SizeTo(10, 25);
  Edit.SetWordWrap(true);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 2);
  Edit.SetTabWidth(2);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 1);
  EXPECT_EQ(RowLengths(), (std::vector<int>{6}));
}

TEST_F(WrappingTest, ASharedTextIsWrappedInTheSharingEditor) {
  TSrcEdit owner(nullptr);
  owner.Lines().Add(std::string(25, 'o'));
  SetLines({"mine"});
  SizeTo(10, 25);
  Edit.SetWordWrap(true);
  Edit.SetLinesPointer(&owner);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 3);
  owner.Lines().Add(std::string(12, 'p'));
  owner.Lines().Put(0, "short");
  EXPECT_EQ(RowLengths(), (std::vector<int>{5, 10, 2}));
  Edit.RemoveLinesPointer();
  EXPECT_EQ(RowLengths(), (std::vector<int>{4}));
}

TEST_F(WrappingTest, ATextAreaNarrowerThanACellShowsNoRows) {
  SetLines({"abc", "def"});
  SizeTo(0, 25);
  Edit.SetWordWrap(true);
  EXPECT_EQ(Edit.GetDisplayLineCount(), 0);
  Edit.SetCaretXY({2, 2});
  Edit.SetSelText("x");
  EXPECT_EQ(Edit.Lines().Get(1), "dxef");
  SizeTo(2, 25);
  EXPECT_EQ(RowLengths(), (std::vector<int>{2, 1, 2, 2}));
}

}  // namespace
}  // namespace vk::test
