// Typing, deleting, line breaks and composed input, each with its undo.

#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using TLines = std::vector<std::string>;

using TypingTest = EditorTest;

TEST_F(TypingTest, TypedCharacters) {
  SetLines({"ab"});
  Goto(3, 1);
  Run(ecChar, 9);
  Run(ecChar, 13);
  Run(ecChar, 127);
  EXPECT_EQ(Lines(), TLines{"ab"});
  Run(ecChar, static_cast<char>(200));
  EXPECT_EQ(Lines(), TLines{"ab\xC8"});
  // Past the end of the line the gap fills first; one undo takes both.
  Goto(7, 1);
  Run(ecChar, 'x');
  EXPECT_EQ(Lines(), TLines{"ab\xC8   x"});
  EXPECT_EQ(Edit.CaretX(), 8);
  Edit.Undo();
  EXPECT_EQ(Lines(), TLines{"ab\xC8"});
  // Beyond the scroll width nothing is typed.
  Edit.SetMaxScrollWidth(10);
  Goto(11, 1);
  Run(ecChar, 'y');
  EXPECT_EQ(Lines(), TLines{"ab\xC8"});
}

TEST_F(TypingTest, OverwriteReplacesWholeDoubleByteCharacters) {
  SetLines({"a\xB0\xA1z"});
  Edit.SetInsertMode(false);
  Goto(2, 1);
  Run(ecChar, 'x');
  EXPECT_EQ(Lines(), TLines{"ax z"});
  Edit.Undo();
  EXPECT_EQ(Lines(), TLines{"a\xB0\xA1z"});
  // A composed string that would cut a character overwrites it whole.
  Goto(1, 1);
  Edit.CommandProcessor(ecImeStr, 0, std::string("pq"));
  EXPECT_EQ(Lines(), TLines{"pq z"});
}

// The byte before the caret is classified from the line's start: a trail
// byte in the lead-byte range is not taken for the start of a character.
TEST_F(TypingTest, BackspaceDeletesOneCharacter) {
  struct TCase {
    std::string Line;
    int Column;
    std::string Expected;
  };
  const TCase cases[] = {
      {"\xB0\xB1" "a", 4, "\xB0\xB1"},
      {"a\xB0\xB1", 4, "a"},
      {"abc", 3, "ac"},
  };
  for (const TCase& c : cases) {
    SetLines({c.Line});
    Goto(c.Column, 1);
    Run(ecDeleteLastChar);
    EXPECT_EQ(Lines(), TLines{c.Expected}) << c.Line;
  }
}

TEST_F(TypingTest, BackspaceJoinsLinesAndNothingAtTheStart) {
  SetLines({"1", "2", "3", "4", "5"});
  Goto(1, 1);
  Run(ecDeleteLastChar);
  EXPECT_EQ(Lines().size(), 5u);
  Goto(1, 5);
  Run(ecDeleteLastChar);
  EXPECT_EQ(Lines(), (TLines{"1", "2", "3", "45"}));
  Edit.Undo();
  EXPECT_EQ(Lines(), (TLines{"1", "2", "3", "4", "5"}));
}

TEST_F(TypingTest, SmartTabDeleteGoesBackToTheIndentAbove) {
  SetLines({"    a", "        b"});
  Goto(9, 2);
  Run(ecDeleteLastChar);
  EXPECT_EQ(Lines()[1], "    b");
  EXPECT_EQ(Edit.CaretX(), 5);
  SetOption(eoAutoIndent, false);
  SetLines({"    a", "        b"});
  Goto(9, 2);
  Run(ecDeleteLastChar);
  EXPECT_EQ(Lines()[1], "       b");
}

TEST_F(TypingTest, DeleteAndDeleteLine) {
  SetLines({"ab", "cd"});
  Goto(3, 2);
  Run(ecDeleteChar);
  EXPECT_EQ(Lines(), (TLines{"ab", "cd"}));
  Goto(3, 1);
  Run(ecDeleteChar);
  EXPECT_EQ(Lines(), TLines{"abcd"});
  // Beyond the end the next line joins at the caret; undo leaves no blanks.
  SetLines({"ab", "cd"});
  Goto(5, 1);
  Run(ecDeleteChar);
  EXPECT_EQ(Lines(), TLines{"ab  cd"});
  Edit.Undo();
  EXPECT_EQ(Lines(), (TLines{"ab", "cd"}));

  SetLines({"one", "two"});
  Goto(2, 2);
  Run(ecDeleteLine);
  EXPECT_EQ(Lines(), (TLines{"one", ""}));
  Run(ecDeleteLine);
  EXPECT_EQ(Lines(), (TLines{"one", ""}));
  Goto(1, 1);
  Run(ecDeleteLine);
  EXPECT_EQ(Lines(), TLines{""});
}

TEST_F(TypingTest, WordDeletions) {
  SetLines({"alpha beta gamma"});
  Goto(7, 1);
  Run(ecDeleteWord);
  EXPECT_EQ(Lines(), TLines{"alpha gamma"});
  Run(ecDeleteLastWord);
  EXPECT_EQ(Lines(), TLines{"gamma"});
  Goto(3, 1);
  Run(ecDeleteEOL);
  EXPECT_EQ(Lines(), TLines{"ga"});
  Run(ecDeleteBOL);
  EXPECT_EQ(Lines(), TLines{""});
  Edit.Undo();
  Edit.Undo();
  Edit.Undo();
  Edit.Undo();
  EXPECT_EQ(Lines(), TLines{"alpha beta gamma"});
}

TEST_F(TypingTest, EnterIndentsLikeTheLineAbove) {
  SetLines({"    abc"});
  Goto(7, 1);
  Run(ecLineBreak);
  EXPECT_EQ(Lines(), (TLines{"    ab", "    c"}));
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{5, 2}));
  // TABs and blanks when tabs are not turned into spaces.
  SetOption(eoTabsToSpaces, false);
  Edit.SetTabWidth(4);
  SetLines({"      xy"});
  Goto(8, 1);
  Run(ecLineBreak);
  EXPECT_EQ(Lines(), (TLines{"      x", "\t  y"}));
  SetOption(eoAutoIndent, false);
  SetLines({"    abc"});
  Goto(7, 1);
  Run(ecLineBreak);
  EXPECT_EQ(Lines(), (TLines{"    ab", "c"}));
}

TEST_F(TypingTest, InsertLineSplitsAndKeepsBookmarksOnTheirLines) {
  SetLines({"one", "two words", "three"});
  Edit.SetBookMark(1, 1, 2);
  Edit.SetBookMark(2, 1, 3);
  Goto(4, 2);
  Run(ecInsertLine);
  EXPECT_EQ(Lines(), (TLines{"one", "two", " words", "three"}));
  EXPECT_EQ(Edit.CaretXY(), (TBufferCoord{4, 2}));
  int x = 0;
  int y = 0;
  Edit.GetBookMark(1, x, y);
  EXPECT_EQ(y, 2);
  Edit.GetBookMark(2, x, y);
  EXPECT_EQ(y, 4);
  Edit.Undo();
  EXPECT_EQ(Lines(), (TLines{"one", "two words", "three"}));
}

TEST_F(TypingTest, ComposedInputReplacesTheSelectionInOneStep) {
  SetLines({"abcdef"});
  Select({2, 1}, {4, 1});
  Edit.CommandProcessor(ecImeStr, 0, std::string("\xB0\xA1"));
  EXPECT_EQ(Lines(), TLines{"a\xB0\xA1" "def"});
  Edit.Undo();
  EXPECT_EQ(Lines(), TLines{"abcdef"});
}

}  // namespace
}  // namespace vk::test
