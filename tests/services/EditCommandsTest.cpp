#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"
#include "services/EditCommands.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using TLines = std::vector<std::string>;

class EditCommandsTest : public ::testing::Test {
protected:
  test::TFontMetricsScope Metrics;
  TSrcEdit Edit{nullptr};

  void Load(const TLines& lines) {
    Edit.ClearAll();
    for (const std::string& line : lines) Edit.Lines().Add(line);
    Edit.SetModified(false);
  }
  TLines Text() const { return test::LinesOf(Edit.Lines()); }
};

TEST_F(EditCommandsTest, CommentsGoAroundTheSelectionAndComeOffOnlyWhenFramed) {
  const struct {
    const char* Name;
    bool In;  // comment in, else out
    TLines Text;
    TBufferCoord From, To;
    bool Done;
    TLines After;
    TSrcSelectionMode Mode = smNormal;
  } cases[] = {
      {"in", true, {"x = abc;"}, {5, 1}, {8, 1}, true, {"x = /*abc*/;"}},
      {"in, empty selection", true, {"ab"}, {2, 1}, {2, 1}, true, {"a/**/b"}},
      {"in, two lines", true, {"ab", "cd"}, {2, 1}, {2, 2}, true, {"a/*b", "c*/d"}},
      // A column block gives its bytes from its left edge on its first line
      // to its right edge on its last one, no further than the lines reach.
      {"in, a column block whose last line is short", true, {"abcdef", "ab"}, {2, 1}, {5, 2}, true,
       {"a/*bcdef", "ab*/"}, smColumn},
      {"in, a column block right of a short first line", true, {"a", "abcdef"}, {4, 1}, {6, 2}, true,
       {"a/*", "abcde*/f"}, smColumn},
      {"in, a column block whose corners name one character across a TAB", true, {"x = PORTB;", "\tb = 2;"},
       {5, 1}, {5, 2}, true, {"x = /*PORTB;", "\tb =*/ 2;"}, smColumn},
      {"out, a column block right of a short last line", false, {"a/*bcdef", "ab*/"}, {2, 1}, {7, 2}, true,
       {"abcdef", "ab"}, smColumn},
      {"out keeps the inside", false, {"/* x */"}, {1, 1}, {8, 1}, true, {" x "}},
      {"out, two lines", false, {"a/*b", "c*/d"}, {2, 1}, {4, 2}, true, {"ab", "cd"}},
      {"out, empty comment", false, {"/**/;"}, {1, 1}, {5, 1}, true, {";"}},
      {"out, text before the comment", false, {"x/* */"}, {1, 1}, {7, 1}, false, {"x/* */"}},
      {"out, blank after the comment", false, {"/* */ "}, {1, 1}, {7, 1}, false, {"/* */ "}},
      {"out, marks overlap", false, {"/*/"}, {1, 1}, {4, 1}, false, {"/*/"}},
      {"out, nothing selected", false, {"/**/"}, {1, 1}, {1, 1}, false, {"/**/"}},
      {"out, whole lines, the end mark begins the next line", false, {"/*a", "b", "*/c"}, {1, 1}, {1, 2}, true,
       {"a", "b", "c"}, smLine},
      {"out, up to the start of the end mark's line", false, {"/*a", "*/b"}, {1, 1}, {1, 2}, true, {"a", "b"}},
      {"out, whole lines, the next line begins otherwise", false, {"/*a", "b", "c*/"}, {1, 1}, {1, 2}, false,
       {"/*a", "b", "c*/"}, smLine},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Load(c.Text);
    Edit.SetSelectionMode(c.Mode);
    // An undo leaves the mode of what it undid active.
    Edit.SetActiveSelectionMode(c.Mode);
    Edit.SetCaretAndSelection(c.To, c.From, c.To);
    bool done = true;
    if (c.In)
      CommentInSelection(Edit);
    else
      done = CommentOutSelection(Edit);
    EXPECT_EQ(done, c.Done);
    EXPECT_EQ(Text(), c.After);
    EXPECT_EQ(Edit.Modified(), c.Done);
    Edit.Undo();
    EXPECT_EQ(Text(), c.Text);
  }
}

TEST_F(EditCommandsTest, TheSeparatorFillsAnEmptyLineOrGoesBelowTheLine) {
  const std::string rule = SeparatorLine();
  ASSERT_EQ(rule.size(), 80u);
  const struct {
    const char* Name;
    TLines Text;
    int Line;
    TLines After;
  } cases[] = {
      {"empty line", {"a", "", "c"}, 2, {"a", rule, "c"}},
      {"line with text", {"a", "b", "c"}, 2, {"a", "b", rule, "c"}},
      {"last line", {"a", "b"}, 2, {"a", "b", rule}},
      {"empty document", {}, 1, {rule}},
      {"no caret line", {"a"}, 0, {"a"}},
      {"past the text", {"a"}, 3, {"a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Load(c.Text);
    const TBufferCoord caret{1, std::max(1, std::min(c.Line, static_cast<int>(c.Text.size())))};
    Edit.SetCaretXY(caret);
    InsertSeparatorLine(Edit, c.Line);
    EXPECT_EQ(Text(), c.After);
    EXPECT_EQ(Edit.Modified(), c.After != c.Text);
    EXPECT_EQ(Edit.CaretXY(), caret);
    Edit.Undo();
    EXPECT_EQ(Text(), c.Text.empty() ? TLines{""} : c.Text);
  }
}

TEST_F(EditCommandsTest, ZoomNeverGoesBelowOnePoint) {
  const struct {
    int Steps;
    int Size;
  } cases[] = {{+2, 14}, {-2, 6}, {-5, 1}, {-20, 1}};
  for (const auto& c : cases) {
    Edit.Font().SetSize(10);
    for (int i = 0; i < std::abs(c.Steps); ++i) ZoomEditorFont(Edit, c.Steps > 0 ? 2 : -2);
    EXPECT_EQ(Edit.Font().Size(), c.Size) << c.Steps;
  }
}

TEST_F(EditCommandsTest, InsertedLinesLeaveTheCaretOnItsText) {
  Load({"a", "b", "c"});
  Edit.SetCaretXY({2, 2});
  InsertEditorLines(Edit, 1, {"x", "y"});
  EXPECT_EQ(Text(), (TLines{"a", "x", "y", "b", "c"}));
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{2, 4}));
  InsertEditorLines(Edit, 9, {"z"});
  EXPECT_EQ(Text(), (TLines{"a", "x", "y", "b", "c", "z"}));
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{2, 4}));
}

}  // namespace
}  // namespace vk
