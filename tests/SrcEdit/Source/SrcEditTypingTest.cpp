// Typing, deleting, line breaks and composed input, each with its undo.

#include <functional>
#include <string>
#include <utility>
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

// A double-byte character typed as two character messages (a keyboard
// without an input method) is one character wherever the caret stands and
// whatever byte follows: typed as composed input would type it, undone in
// one step, also without undo (the second byte then joins the first).
TEST_F(TypingTest, ADoubleByteCharacterTypedAsTwoMessagesIsOneCharacter) {
  const struct {
    const char* Name;
    TLines Before;
    TBufferCoord Caret;
    TBufferCoord SelectedFrom;  // {0, 0}: nothing selected
    TSrcSelectionMode Mode;
    bool Insert;
    TLines After;
    bool TrimBlanks = false;
  } cases[] = {
      {"before a letter", {"xyz"}, {2, 1}, {0, 0}, smNormal, true, {"x\xC7\xD1yz"}},
      {"before a double-byte character", {"x\xB0\xA1"}, {2, 1}, {0, 0}, smNormal, true, {"x\xC7\xD1\xB0\xA1"}},
      {"before a high one-byte character", {"x\x80"}, {2, 1}, {0, 0}, smNormal, true, {"x\xC7\xD1\x80"}},
      {"at the line's end", {"xy"}, {3, 1}, {0, 0}, smNormal, true, {"xy\xC7\xD1"}},
      {"beyond the line's end", {"x"}, {4, 1}, {0, 0}, smNormal, true, {"x  \xC7\xD1"}},
      {"over two letters", {"xyz"}, {2, 1}, {0, 0}, smNormal, false, {"x\xC7\xD1"}},
      {"over a double-byte character", {"x\xB0\xA1z"}, {2, 1}, {0, 0}, smNormal, false, {"x\xC7\xD1z"}},
      {"over a letter and half a character", {"xy\xB0\xA1z"}, {2, 1}, {0, 0}, smNormal, false, {"x\xC7\xD1 z"}},
      {"over the last letter", {"xy"}, {2, 1}, {0, 0}, smNormal, false, {"x\xC7\xD1"}},
      {"over blanks, trailing blanks trimmed", {"  x = y;  "}, {1, 1}, {0, 0}, smNormal, false, {"\xC7\xD1x = y;"},
       true},
      {"overwriting beyond the line's end", {"x"}, {3, 1}, {0, 0}, smNormal, false, {"x \xC7\xD1"}},
      {"over a selection", {"xyz"}, {3, 1}, {1, 1}, smNormal, true, {"\xC7\xD1z"}},
      {"over a selection, overwriting", {"xyz"}, {3, 1}, {1, 1}, smNormal, false, {"\xC7\xD1z"}},
      {"over a selection of lines", {"ab", "cd"}, {2, 2}, {2, 1}, smNormal, true, {"a\xC7\xD1" "d"}},
      {"over whole lines", {"ab", "cd"}, {2, 1}, {1, 1}, smLine, true, {"\xC7\xD1", "cd"}},
      {"over a column", {"abc", "def"}, {3, 2}, {2, 1}, smColumn, true, {"a\xC7\xD1" "c", "df"}},
  };
  for (bool withUndo : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (withUndo ? "" : ", without undo"));
      Edit.SetMaxUndo(withUndo ? 1024 : 0);
      Edit.SetInsertMode(c.Insert);
      Edit.SetSelectionMode(c.Mode);
      SetOption(eoTrimTrailingSpaces, c.TrimBlanks);
      // Composed input types the character as one string.
      auto type = [&](const std::function<void()>& typing) {
        SetLines(c.Before);
        Edit.ClearUndo();
        if (c.SelectedFrom.Line > 0)
          Edit.SetCaretAndSelection(c.Caret, c.SelectedFrom, c.Caret);
        else
          Goto(c.Caret.Char, c.Caret.Line);
        typing();
        return std::make_pair(Lines(), Edit.CaretXY());
      };
      const auto composed = type([&] { Edit.CommandProcessor(ecImeStr, 0, std::string("\xC7\xD1")); });
      const auto typed = type([&] {
        Edit.Perform(WM_CHAR, 0xC7, 0);
        Edit.Perform(WM_CHAR, 0xD1, 0);
      });
      EXPECT_EQ(c.After, typed.first);
      EXPECT_EQ(composed, typed);
      if (!withUndo) continue;
      Edit.Undo();
      EXPECT_EQ(c.Before, Lines());
      EXPECT_FALSE(Edit.CanUndo());
      Edit.Redo();
      EXPECT_EQ(c.After, Lines());
    }
  }
  Edit.SetSelectionMode(smNormal);
}

}  // namespace
}  // namespace vk::test
