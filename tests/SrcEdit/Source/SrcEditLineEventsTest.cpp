#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

class LineEventsTest : public EditorTest {
protected:
  LineEventsTest() { Edit.SetHighlighter(&Highlighter); }
  ~LineEventsTest() override { Edit.SetHighlighter(nullptr); }

  // Lines scanned by the step.
  template <class Step>
  int Scanned(Step step) {
    Highlighter.LinesScanned = 0;
    step();
    return Highlighter.LinesScanned;
  }
  TSrcEditRange Range(int line) const { return Edit.Lines().GetRange(line - 1); }

  TCommentHighlighter Highlighter;
};

TEST_F(LineEventsTest, TheRescanStopsWhereTheStoredStatesAgreeAgain) {
  std::vector<std::string> text(100, "int x;");
  SetLines(text);
  struct Step {
    const char* Name;
    int Line;
    const char* Text;
    int Scanned;
    TSrcEditRange LastRange;
  } steps[] = {
      {"typing inside a line", 7, "int xy;", 1, 0},
      {"opening a comment", 5, "/* int x;", 96, 1},
      {"typing inside the comment", 50, "still comment", 1, 1},
      {"closing it on its own line", 5, "/* int x; */", 96, 0},
      {"closing a comment that is not open", 23, "*/", 1, 0},
      {"opening it two lines above", 20, "/*", 4, 0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Name);
    EXPECT_EQ(s.Scanned, Scanned([&] { Edit.Lines().Put(s.Line - 1, s.Text); }));
    EXPECT_EQ(s.LastRange, Range(100));
  }
  EXPECT_EQ(1, Range(21));
  EXPECT_EQ(0, Range(23));
  // Past the end nothing is scanned.
  EXPECT_EQ(0, Scanned([&] { EXPECT_EQ(100, Edit.ScanFrom(100)); }));
}

TEST_F(LineEventsTest, UndoingAWholeTextReplacedRescansOnlyRangesThatMayNotHold) {
  std::vector<std::string> text(50, "int x;");
  text[10] = "/* open";
  text[20] = "close */";
  const struct {
    const char* Name;
    bool OtherHighlighterSince;
    int Scanned;
  } rows[] = {{"scanned by the same highlighter", false, 2}, {"another highlighter since", true, 51}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    SetLines(text);
    Edit.ReplaceRange({1, 1}, {9, 50}, "a\r\nb", tbKept);
    TCommentHighlighter other;
    TCommentHighlighter& scanning = row.OtherHighlighterSince ? other : Highlighter;
    Edit.SetHighlighter(&scanning);
    scanning.LinesScanned = 0;
    Edit.Undo();
    EXPECT_EQ(row.Scanned, scanning.LinesScanned);
    EXPECT_EQ(text, Lines());
    for (int line = 1; line <= 50; ++line) EXPECT_EQ(line > 10 && line < 21 ? 1 : 0, Range(line)) << line;
    Edit.SetHighlighter(&Highlighter);
  }
}

TEST_F(LineEventsTest, InsertedLinesAreAllScannedAndDeletionsRescanTheFollowingLine) {
  SetLines({"a", "b", "c"});
  // The two new lines, then "b", whose state did not change.
  EXPECT_EQ(3, Scanned([&] { Edit.Lines().InsertLines(1, 2); }));
  EXPECT_EQ(6, Scanned([&] { Edit.Lines().Insert(0, "/*"); }));
  for (int line = 1; line <= Edit.Lines().Count(); ++line) EXPECT_EQ(1, Range(line)) << line;
  // Deleting the opening line puts every line after it back to code.
  EXPECT_EQ(5, Scanned([&] { Edit.Lines().Delete(0); }));
  for (int line = 1; line <= Edit.Lines().Count(); ++line) EXPECT_EQ(0, Range(line)) << line;
}

TEST_F(LineEventsTest, ClearingResetsTheViewAndTheHistory) {
  std::vector<std::string> text(200, "line");
  SetLines(text);
  Edit.SetCaretXY({3, 150});
  EXPECT_GT(Edit.TopLine(), 1);
  Edit.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  Edit.RedoList().AddChange(crInsert, {1, 1}, {2, 1}, "", smNormal);
  Edit.Lines().Clear();
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.CaretXY());
  EXPECT_EQ(1, Edit.TopLine());
  EXPECT_EQ(1, Edit.LeftChar());
  EXPECT_FALSE(Edit.UndoList().CanUndo());
  EXPECT_FALSE(Edit.RedoList().CanUndo());
  // Setting the text goes through the same clear.
  SetLines(text);
  Edit.SetCaretXY({3, 150});
  Edit.SrcSetText("a\r\nb");
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), Lines());
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.CaretXY());
  EXPECT_EQ(1, Edit.TopLine());
}

TEST_F(LineEventsTest, ABatchOfChangesCollapsesTheSelectionOnlyWithAWindow) {
  for (bool window : {true, false}) {
    SCOPED_TRACE(window ? "window" : "no window");
    TSrcEdit edit(nullptr);
    if (window) edit.HandleNeeded();
    for (const char* line : {"one", "two", "three"}) edit.Lines().Add(line);
    edit.SetCaretXY({2, 2});
    edit.SetBlockBegin({1, 1});
    edit.SetBlockEnd({2, 2});
    edit.Lines().Put(2, "THREE");
    EXPECT_EQ(!window, edit.SelAvail());
  }
}

TEST_F(LineEventsTest, ADeletionAtTheEndOfTheTextFinishesItsBatch) {
  std::vector<std::string> text(100, "line");
  SetLines(text);
  Edit.SetCaretXY({1, 100});
  Select({1, 50}, {3, 90});
  ASSERT_EQ(76, Edit.TopLine());
  // Reaches the end: the store reports it outside any change bracket.
  Edit.Lines().DeleteLines(60, 40);
  EXPECT_EQ(60, Edit.ScrollBar(SB_VERT).Max);
  EXPECT_EQ(36, Edit.TopLine());  // back inside the shorter text
  EXPECT_FALSE(Edit.SelAvail());
  EXPECT_FALSE(Edit.StateFlags().Contains(sfLinesChanging));
  // The caret was left beyond the end: typing goes to the last line.
  Edit.SetSelText("x");
  EXPECT_EQ(60, Edit.Lines().Count());
  EXPECT_EQ("xline", Edit.Lines().Get(59));
}

TEST_F(LineEventsTest, MarksFollowLineShiftsButNotDirectChangesOfTheLines) {
  SetLines(std::vector<std::string>(10, "x"));
  struct Case {
    const char* Name;
    bool Insert;
    int First;
    int Count;
    std::vector<int> Expected;  // lines of marks on 2, 3, 4, 7
  } cases[] = {
      {"deleted", false, 3, 2, {2, 3, 3, 5}},
      {"inserted", true, 3, 2, {2, 5, 6, 9}},
      {"deleted at the first line", false, 1, 3, {1, 1, 1, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.Marks().Clear();
    for (int line : {2, 3, 4, 7}) Edit.SetBookMark(line, 1, line);
    if (c.Insert)
      Edit.DoLinesInserted(c.First, c.Count);
    else
      Edit.DoLinesDeleted(c.First, c.Count);
    std::vector<int> lines;
    for (int i = 0; i < Edit.Marks().Count(); ++i) lines.push_back(Edit.Marks().Items(i)->Line());
    EXPECT_EQ(c.Expected, lines);
  }
  Edit.Lines().Insert(0, "direct");
  EXPECT_EQ(1, Edit.Marks().Items(0)->Line());
}

}  // namespace
}  // namespace vk::test
