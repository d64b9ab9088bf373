// Editing operations: caret moves, Home and End, Tab and Shift+Tab, block
// indent, case changes and bracket matching, with double-byte text.

#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using TLines = std::vector<std::string>;

using EditingTest = EditorTest;

TEST_F(EditingTest, HorizontalAndVerticalMoves) {
  SetLines({"abc", "x\xB0\xA1y", "abcdef"});
  SetOption(eoScrollPastEol, false);
  Goto(1, 3);
  Run(ecLeft);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{5, 2}));
  Run(ecLeft);  // over the whole double-byte character
  Run(ecLeft);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{2, 2}));
  Run(ecRight);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{4, 2}));
  SetOption(eoScrollPastEol, true);
  Goto(1, 3);
  Run(ecLeft);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{1, 3}));
  // Down onto the second byte of a character stops before it.
  Goto(3, 1);
  Run(ecDown);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{2, 2}));
  Run(ecUp);
  Run(ecUp);
  EXPECT_EQ(Edit.CaretY(), 1);
  // A goto never lands between the two bytes either.
  Goto(3, 2);
  EXPECT_EQ(Edit.CaretX(), 2);
}

TEST_F(EditingTest, EnhancedHomeAndEndToggle) {
  SetLines({"    abc", "abc   "});
  SetOption(eoEnhanceHomeKey, true);
  Goto(7, 1);
  int expectedHome[] = {5, 1, 5};
  for (int x : expectedHome) {
    Run(ecLineStart);
    EXPECT_EQ(Edit.CaretX(), x);
  }
  Goto(2, 2);
  int expectedEnd[] = {4, 7, 4};
  for (int x : expectedEnd) {
    Run(ecLineEnd);
    EXPECT_EQ(Edit.CaretX(), x);
  }
  SetOption(eoEnhanceHomeKey, false);
  Goto(7, 1);
  Run(ecLineStart);
  EXPECT_EQ(Edit.CaretX(), 1);
}

TEST_F(EditingTest, TabInsertsBlanksOrATab) {
  Edit.SetTabWidth(4);
  SetOption(eoSmartTabs, false);
  SetLines({"ab"});
  Goto(2, 1);
  Run(ecTab);
  EXPECT_EQ(Lines(), TLines{"a   b"});
  SetOption(eoTabsToSpaces, false);
  SetLines({"ab"});
  Goto(2, 1);
  Run(ecTab);
  EXPECT_EQ(Lines(), TLines{"a\tb"});
}

// Shift+Tab removes blanks back to the previous tab stop, and only blanks,
// also at the end of the line.
TEST_F(EditingTest, ShiftTabRemovesOnlyBlanks) {
  Edit.SetTabWidth(4);
  SetOption(eoSmartTabs, false);
  struct TCase {
    std::string Line;
    int Column;
    std::string Expected;
    int Caret;
  };
  const TCase cases[] = {
      {"        x", 9, "    x", 5},
      {"abcdefgh", 9, "abcdefgh", 9},
      {"abcdef  ", 9, "abcdef", 7},
      {"ab\tc", 4, "abc", 3},
  };
  for (const TCase& c : cases) {
    SetLines({c.Line});
    Goto(c.Column, 1);
    Run(ecShiftTab);
    EXPECT_EQ(Lines(), TLines{c.Expected}) << c.Line;
    EXPECT_EQ(Edit.CaretX(), c.Caret) << c.Line;
  }
}

// Ctrl+Shift+I indents every line the selection highlights that reaches
// the block's left edge (column 1, or a column block's edge, left of which
// nothing changes); no line gets blanks at its end. Ctrl+Shift+U straight
// after gives back the bytes, and so does Undo of each.
TEST_F(EditingTest, BlockIndentAndUnindentTakeEveryHighlightedLineAndGiveBackTheBytes) {
  auto press = [&](char key) {
    SetKeyDown(VK_SHIFT, true);
    SetKeyDown(VK_CONTROL, true);
    Edit.Perform(WM_KEYDOWN, static_cast<uint8_t>(key));
    ReleaseAllKeys();
  };
  const struct {
    const char* Name;
    std::string Text;
    TSrcSelectionMode Mode;
    TBufferCoord From, To;
    char Key;  // 'I' indent, then 'U' gives back the text; 'U' unindent
    std::string After;
    int TabWidth = 8;
    bool TabsToSpaces = true;
  } cases[] = {
      {"whole lines 2 to 4, the end in column 1", "a\nb\r\nc\nd\re\n", smLine, {1, 2}, {1, 4}, 'I',
       "a\n        b\r\n        c\n        d\re\n"},
      {"whole lines, empty and with a TAB, as TABs", "x\n\n\ty\n", smLine, {2, 1}, {1, 3}, 'I', "\tx\n\n\t\ty\n", 8,
       false},
      {"a running selection to column 1 leaves that line", "a\nb\nc\nd\ne", smNormal, {1, 2}, {1, 5}, 'I',
       "a\n        b\n        c\n        d\ne"},
      {"a column block over an empty and a short line", "int main() {\n\nabc\n  return 0;\n", smColumn, {4, 1},
       {8, 4}, 'I', "int         main() {\n\nabc\n  r        eturn 0;\n"},
      {"a column block drawn leftwards to column 1", "abcdef\nxy\nabcdef", smColumn, {5, 1}, {1, 3}, 'I',
       "        abcdef\n        xy\n        abcdef"},
      {"a TAB the column block's edge cuts through", "0123456789\n\tabc\n", smColumn, {4, 1}, {3, 2}, 'I',
       "012        3456789\n\t        abc\n"},
      {"a double-byte character the edge cuts through", "0123456789\nx\xB0\xA1yz\n", smColumn, {3, 1}, {6, 2}, 'I',
       "01        23456789\nx\xB0\xA1        yz\n"},
      {"unindent of blanks and a TAB", "  \tx\ny", smNormal, {1, 1}, {2, 2}, 'U', "x\ny", 4},
      // Both corners name the fifth character; the block spans columns 5 to 7.
      {"a column block whose corners name one character across a TAB", "x = PORTB;\n\tb = 2;", smColumn, {5, 1},
       {5, 2}, 'I', "x = \tPORTB;\n\t\tb = 2;", 4, false},
      // Indented, its corners name the fifth character.
      {"a column block that the indent leaves on one character", "abcdefgh\n\tabcd", smColumn, {5, 1}, {4, 2}, 'I',
       "abcd\tefgh\n\t\tabcd", 4, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.SetTabWidth(c.TabWidth);
    SetOption(eoTabsToSpaces, c.TabsToSpaces);
    LoadBytes(c.Text);
    Edit.ClearUndo();
    Edit.SetSelectionMode(c.Mode);
    Edit.SetCaretAndSelection(c.To, c.From, c.To);
    press(c.Key);
    EXPECT_EQ(SavedBytes(), c.After);
    if (c.Key == 'I') {
      press('U');
      EXPECT_EQ(SavedBytes(), c.Text);
      Edit.Undo();
      EXPECT_EQ(SavedBytes(), c.After);
    }
    Edit.Undo();
    EXPECT_EQ(SavedBytes(), c.Text);
  }
}

// Case changes never touch a byte of a double-byte character, even one
// that looks like a letter.
TEST_F(EditingTest, CaseChanges) {
  struct TCase {
    std::string Line;
    TSrcEditorCommand Command;
    std::string Expected;
  };
  const TCase cases[] = {
      {"hELLO", ecTitleCase, "Hello"},
      {"aB", ecToggleCase, "Ab"},
      {"x\x81" "az", ecUpperCaseBlock, "X\x81" "aZ"},
      {"X\x81" "AZ", ecLowerCaseBlock, "x\x81" "Az"},
  };
  for (const TCase& c : cases) {
    SetLines({c.Line});
    // Word commands take the word at the caret, block commands the selection.
    Goto(1, 1);
    if (c.Command >= ecUpperCaseBlock) Select({1, 1}, {static_cast<int>(c.Line.size()) + 1, 1});
    Run(c.Command);
    EXPECT_EQ(Lines(), TLines{c.Expected}) << c.Line;
  }
  SetLines({"ab"});
  Goto(1, 1);
  Run(ecUpperCaseBlock);  // no selection: the character at the caret
  EXPECT_EQ(Lines(), TLines{"Ab"});
  EXPECT_EQ(Edit.CaretX(), 2);
  Edit.Undo();
  EXPECT_EQ(Lines(), TLines{"ab"});
  // So does a column block of no width, drawn with Shift+Up.
  SetLines({"ab", "cd"});
  Edit.SetSelectionMode(smColumn);
  Goto(1, 2);
  Run(ecSelUp);
  Run(ecUpperCaseBlock);
  EXPECT_EQ(Lines(), (TLines{"Ab", "cd"}));
}

TEST_F(EditingTest, MatchingBrackets) {
  struct TCase {
    std::string Line;
    int From;
    int To;  // 0: none
  };
  const TCase cases[] = {
      {"f(a(b)c)", 2, 8},
      {"f(a(b)c)", 8, 2},
      {"f(a(b)c)", 1, 0},
      // 0x29 is ')' but here the second byte of a character.
      {"(\x81\x29)", 4, 1},
      {"(\x81\x29)", 1, 4},
      {"[\x81[]", 4, 1},
  };
  for (const TCase& c : cases) {
    SetLines({c.Line});
    const TBufferCoord match = Edit.GetMatchingBracketEx({c.From, 1});
    EXPECT_EQ(match.Char, c.To) << c.Line << " from " << c.From;
  }
  SetLines({"(a", "b)"});
  Goto(2, 2);
  Run(ecMatchBracket);
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{1, 1}));
}

}  // namespace
}  // namespace vk::test
