// Undo and redo: a randomised property test over thousands of edit
// sequences, the grouping rules, the modified flag and the faults of the
// replay that were mended.

#include <random>
#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using Rows = std::vector<std::string>;

class UndoTest : public EditorTest {
protected:
  std::string Text() const { return Edit.Lines().GetTextStr(); }
  void Type(const std::string& text) {
    for (char c : text) Edit.CommandProcessor(ecChar, c);
  }
  void Goto(int x, int y) { Edit.CommandProcessor(ecGotoXY, 0, TBufferCoord{x, y}); }
};

// ---------------------------------------------------------------- the property

struct TRandomEdits {
  explicit TRandomEdits(unsigned seed) : Random(seed) {}
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
  std::mt19937 Random;
};

class UndoPropertyTest : public UndoTest, public ::testing::WithParamInterface<bool> {
protected:
  // A small text with indentation, a TAB and a double-byte character.
  void RandomText(TRandomEdits& r) {
    static const char* const Samples[] = {"int main(void)", "  x = y + 1;", "\tif (a) {", "",
                                          "    \xB0\xA1\xB0\xA2 text", "}  ", "word another word"};
    std::vector<std::string> lines;
    for (int i = r.Pick(1, 6); i > 0; --i) lines.push_back(Samples[r.Pick(0, 6)]);
    SetLines(lines);
  }
  TBufferCoord RandomPoint(TRandomEdits& r) {
    const int line = r.Pick(1, std::max(1, Edit.Lines().Count()));
    const int length = line <= Edit.Lines().Count() ? static_cast<int>(Edit.Lines().Get(line - 1).size()) : 0;
    const TBufferCoord point{r.Pick(1, length + 3), line};
    Log += Format("(%d,%d) ", point.Char, point.Line);
    return point;
  }
  // What the sequence did, for the message of a failure.
  std::string Log;
  void Select(TRandomEdits& r) {
    static const TSrcEditorCommand Modes[] = {ecNormalSelect, ecLineSelect, ecColumnSelect};
    Edit.CommandProcessor(Modes[r.Pick(0, 2)], 0);
    Edit.CommandProcessor(ecGotoXY, 0, RandomPoint(r));
    Edit.CommandProcessor(ecSelGotoXY, 0, RandomPoint(r));
  }
  void RandomEdit(TRandomEdits& r) {
    static const TSrcEditorCommand Simple[] = {
        ecDeleteLastChar, ecDeleteChar,  ecDeleteWord,  ecDeleteLastWord, ecDeleteBOL,   ecDeleteEOL,
        ecDeleteLine,     ecLineBreak,   ecInsertLine,  ecTab,            ecShiftTab,    ecBlockIndent,
        ecBlockUnindent,  ecUpperCase,   ecToggleCase,  ecLowerCaseBlock, ecTitleCase,   ecCut,
        ecPaste,          ecToggleMode,  ecSelWord,     ecLeft,           ecDown};
    const int kind = r.Pick(0, 5);
    Log += Format("\n%d: ", kind);
    switch (kind) {
      case 0: Edit.CommandProcessor(ecGotoXY, 0, RandomPoint(r)); break;
      case 1: Select(r); break;
      case 2: {
        static const char Typed[] = "ab x(;";
        for (int i = r.Pick(1, 3); i > 0; --i) Edit.CommandProcessor(ecChar, Typed[r.Pick(0, 5)]);
        break;
      }
      case 3: Edit.CommandProcessor(ecImeStr, 0, std::string(r.Pick(0, 1) ? "\xB0\xA1" : "xyz")); break;
      case 4:
        // Something to paste, in the mode of the selection it came from.
        Select(r);
        Edit.CommandProcessor(ecCopy, 0);
        break;
      default: {
        const TSrcEditorCommand command = Simple[r.Pick(0, 22)];
        Log += EditorCommandToCodeString(command);
        Edit.CommandProcessor(command, 0);
        break;
      }
    }
  }
};

// Undoing everything gives the original text byte for byte, redoing
// everything the final text, and Modified is false exactly at the saved
// state, over thousands of random edit sequences.
TEST_P(UndoPropertyTest, UndoAllAndRedoAllRestoreTheTexts) {
  TSrcEditorOptions options = Edit.Options();
  if (GetParam())
    options.Include(eoGroupUndo);
  else
    options.Exclude(eoGroupUndo);
  for (unsigned seed = 1; seed <= 1000; ++seed) {
    SCOPED_TRACE(seed);
    TRandomEdits r(seed);
    Log.clear();
    TSrcEditorOptions sequenceOptions = options;
    if (r.Pick(0, 1)) sequenceOptions.Exclude(eoTabsToSpaces);
    Edit.SetOptions(sequenceOptions);
    Edit.SetInsertMode(true);
    Edit.SetSelectionMode(smNormal);
    RandomText(r);
    Edit.ClearUndo();
    Edit.SetCaretXY({1, 1});
    Edit.SetModified(true);
    Edit.SetModified(false);
    const std::string original = Text();
    const int edits = r.Pick(5, 30);
    const int saveAt = r.Pick(0, edits);
    std::string saved = original;
    for (int i = 0; i < edits; ++i) {
      if (i == saveAt) {
        Edit.SetModified(false);
        saved = Text();
      }
      RandomEdit(r);
    }
    if (saveAt == edits) {
      Edit.SetModified(false);
      saved = Text();
    }
    const std::string final = Text();
    bool savedStateSeen = !Edit.Modified();
    auto check = [&] {
      if (!Edit.Modified()) {
        savedStateSeen = true;
        ASSERT_EQ(Text(), saved) << Log;
      }
    };
    for (int guard = 0; Edit.CanUndo() && guard < 1000; ++guard) {
      Edit.Undo();
      check();
    }
    ASSERT_EQ(Text(), original) << Log;
    for (int guard = 0; Edit.CanRedo() && guard < 1000; ++guard) {
      Edit.Redo();
      check();
    }
    ASSERT_EQ(Text(), final) << Log;
    EXPECT_TRUE(savedStateSeen);
    if (final != saved) {
      EXPECT_TRUE(Edit.Modified());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(GroupUndo, UndoPropertyTest, ::testing::Bool());

// ---------------------------------------------------------------- grouping

TEST_F(UndoTest, GroupUndoMergesEqualChangesButNeverIndents) {
  SetLines({"abc", "def"});
  Goto(4, 1);
  Type("xy");
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abc", "def"}));  // both characters at once

  TSrcEditorOptions options = Edit.Options();
  options.Exclude(eoGroupUndo);
  Edit.SetOptions(options);
  Goto(4, 1);
  Type("xy");
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcx", "def"}));  // one at a time

  options.Include(eoGroupUndo);
  Edit.SetOptions(options);
  SetLines({"a", "b"});
  Edit.ClearUndo();
  Select({1, 1}, {2, 2});
  Edit.CommandProcessor(ecBlockIndent, 0);
  Edit.CommandProcessor(ecBlockIndent, 0);
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"        a", "        b"}));
}

TEST_F(UndoTest, UndoThenANewChangeDiscardsTheRedoList) {
  SetLines({"abc"});
  Goto(4, 1);
  Type("x");
  Edit.Undo();
  EXPECT_TRUE(Edit.CanRedo());
  Edit.Redo();
  EXPECT_FALSE(Edit.CanRedo());
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcx"}));
  Edit.Undo();
  Type("y");
  EXPECT_FALSE(Edit.CanRedo());
}

TEST_F(UndoTest, ModifiedReturnsToFalseAtTheSavedText) {
  SetLines({"abc"});
  Edit.ClearUndo();
  Goto(4, 1);
  Type("x");
  Edit.SetModified(false);
  EXPECT_EQ(Edit.UndoList().LastChangeReason(), crGroupBreak);
  Edit.SetModified(false);  // unchanged: no second break
  EXPECT_EQ(Edit.UndoList().ItemCount(), 2);
  Type("y");
  EXPECT_TRUE(Edit.Modified());
  Edit.Undo();
  EXPECT_FALSE(Edit.Modified());
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcx"}));
  Edit.Redo();
  EXPECT_TRUE(Edit.Modified());
}

TEST_F(UndoTest, ReadOnlyEditorNeitherUndoesNorRedoes) {
  SetLines({"abc"});
  Goto(4, 1);
  Type("x");
  Edit.SetReadOnly(true);
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcx"}));
  EXPECT_FALSE(Edit.CanUndo());
}

// ---------------------------------------------------------------- mended faults

// Undoing blanks added to reach the caret records nothing new: the typed
// text can be redone.
TEST_F(UndoTest, WhiteSpaceAddIsReplayedWithoutRecording) {
  SetLines({"ab"});
  Edit.ClearUndo();
  Goto(6, 1);
  Type("x");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"ab   x"}));
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"ab"}));
  EXPECT_TRUE(Edit.CanRedo());
  Edit.Redo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"ab   x"}));
}

// A paste whose Begin marker fell off the limited list is undone as far as
// its change number reaches, not through the whole history.
TEST_F(UndoTest, PairedBlockWithoutBeginStopsAtItsChangeNumber) {
  SetLines({""});
  Edit.ClearUndo();
  Type("a");
  Goto(1, 1);
  Type("b");
  TSrcEditUndoList& list = Edit.UndoList();
  const uint32_t paste = list.NextChangeNumber() + 5;
  // The items a paste leaves, its Begin marker gone.
  auto item = [&](TSrcChangeReason reason, TBufferCoord start, TBufferCoord end) {
    auto added = std::make_unique<TSrcEditUndoItem>();
    added->FChangeReason = reason;
    added->FChangeStartPos = start;
    added->FChangeEndPos = end;
    added->FChangeNumber = paste;
    list.PushItem(std::move(added));
  };
  Edit.Lines().Put(0, "bazza");
  item(crPaste, {2, 1}, {4, 1});
  item(crPasteEnd, {4, 1}, {4, 1});
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"bza"}));
  EXPECT_TRUE(Edit.CanUndo());
}

// Redoing a line break runs the break itself: a handler that swallows
// ecLineBreak cannot put the lists out of step with the text.
TEST_F(UndoTest, RedoOfALineBreakIgnoresCommandHandlers) {
  SetLines({"abcdef"});
  Goto(4, 1);
  Edit.CommandProcessor(ecLineBreak, 0);
  Edit.Undo();
  struct TSwallow {
    void Handle(TObject*, TSrcEditorCommand& command, char&, const TSrcCommandData&) {
      if (command == ecLineBreak) command = ecNone;
    }
  } swallow;
  Edit.OnProcessCommand = TProcessCommandEvent(&swallow, &TSwallow::Handle);
  Edit.Redo();
  Edit.OnProcessCommand = nullptr;
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abc", "def"}));
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcdef"}));
}

// Blanks that only fill short lines are neither left behind by an undo nor
// lost by a redo, and column blocks go back to their characters on lines
// with TABs: each case edits once, undoes everything and redoes everything.
TEST_F(UndoTest, ColumnBlocksAndPaddingAreUndoneExactly) {
  struct Case {
    const char* Name;
    Rows Before;
    TSrcSelectionMode Mode;
    TBufferCoord From;
    TBufferCoord To;  // == From: the caret, no selection
    std::string Typed;  // else Command
    TSrcEditorCommand Command;
    Rows After;
  } cases[] = {
      // Cut records a column block without the blanks that fill its short rows.
      {"cut over a short row", {"abcdef", "ab", "abcdef"}, smColumn, {2, 1}, {5, 3}, "", ecCut,
       {"aef", "a", "aef"}},
      // Pasting a column fills short lines with blanks, recorded with the row.
      {"column paste into short lines", {"abcdef", "a"}, smColumn, {5, 1}, {5, 1}, "", ecPaste,
       {"abcdXYef", "a   XY"}},
      {"column paste below the text", {"abcdef"}, smColumn, {3, 1}, {3, 1}, "", ecPaste, {"abXYcdef", "  XY"}},
      {"column indent of a short line", {"abcdef", "a", "abcdef"}, smColumn, {4, 1}, {5, 3}, "", ecBlockIndent,
       {"abc    def", "a      ", "abc    def"}},
      // Pasting beyond a line's end records the blanks up to the caret.
      {"paste past the end of a line", {"ab"}, smNormal, {6, 1}, {6, 1}, "", ecPaste, {"ab   XY", "XY"}},
      // The corners' characters name different columns on lines with TABs.
      {"column cut right of a TAB", {"x\tabc", "0123456789"}, smColumn, {3, 1}, {8, 2}, "", ecCut,
       {"x\t", "0123789"}},
      // A TAB the left edge cuts through goes back where it stood.
      {"column cut through TABs", {"0123456789", "\tabcdef", "\t\tx", "0123456789"}, smColumn, {3, 1},
       {6, 4}, "", ecCut, {"0156789", "bcdef", "\tx", "0156789"}},
      {"typing over a column cutting a TAB", {"0123456789", "\tabcdef", "0123456789"}, smColumn, {3, 1}, {6, 3},
       "Q", ecNone, {"01Q56789", "bcdef", "0156789"}},
      // An unindent is put back at the characters it was taken from.
      {"column unindent over a TAB", {"xx    a", "\t    b"}, smColumn, {2, 1}, {3, 2}, "", ecBlockUnindent,
       {"xx    a", "\tb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.SetTabWidth(4);
    Edit.SetInsertMode(true);
    TSrcEditorOptions options = Edit.Options();
    options.Exclude(eoTrimTrailingSpaces);
    options.Include(eoTabsToSpaces);
    options.Include(eoScrollPastEol);
    Edit.SetOptions(options);
    // The clipboard holds a column block XY, XY or the text XY, line break, XY.
    SetLines({"XY", "XY"});
    Edit.SetSelectionMode(c.Mode);
    Select({1, 1}, {3, 2});
    Edit.CopyToClipboard();
    SetLines(c.Before);
    Edit.ClearUndo();
    Edit.SetCaretXY(c.To);
    Select(c.From, c.To);
    if (!c.Typed.empty())
      Type(c.Typed);
    else
      Edit.CommandProcessor(c.Command, 0);
    EXPECT_EQ(c.After, Lines());
    while (Edit.CanUndo()) Edit.Undo();
    EXPECT_EQ(c.Before, Lines());
    while (Edit.CanRedo()) Edit.Redo();
    EXPECT_EQ(c.After, Lines());
  }
}

// Cutting a column block takes the whole TAB its left edge cuts through,
// and "x\tyz" and "\tyxz" then leave the same line: undo puts each row
// back at its own characters. A right corner beyond its line's end took
// the row up to that end, also when the block is recorded as one column
// item because it has more rows than the undo list holds.
TEST_F(UndoTest, ColumnCutsGoBackToEachRowsOwnCharacters) {
  struct Case {
    const char* Name;
    int TabWidth;
    int MaxUndo;
    Rows Before;
    TBufferCoord From;
    TBufferCoord To;
    Rows After;
  } cases[] = {
      {"TAB after a character", 4, 1024, {"0123456789", "x\tyz", "0123456789"}, {3, 1}, {6, 3},
       {"0156789", "xz", "0156789"}},
      {"TAB before it", 4, 1024, {"0123456789", "\tyxz", "0123456789"}, {3, 1}, {6, 3}, {"0156789", "xz", "0156789"}},
      {"corner beyond its line", 8, 1024, {"x  oid)  \xB0\xA1", "\ti {"}, {8, 1}, {7, 2}, {"x  oid)", ""}},
      {"corner beyond its line, one item", 8, 3, {"x  oid)  \xB0\xA1", "\ti {"}, {8, 1}, {7, 2}, {"x  oid)", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.SetTabWidth(c.TabWidth);
    Edit.SetMaxUndo(c.MaxUndo);
    TSrcEditorOptions options = Edit.Options();
    options.Include(eoScrollPastEol);
    Edit.SetOptions(options);
    SetLines(c.Before);
    Edit.ClearUndo();
    Edit.SetSelectionMode(smColumn);
    Select(c.From, c.To);
    Edit.CommandProcessor(ecCut, 0);
    EXPECT_EQ(c.After, Lines());
    while (Edit.CanUndo()) Edit.Undo();
    EXPECT_EQ(c.Before, Lines());
    while (Edit.CanRedo()) Edit.Redo();
    EXPECT_EQ(c.After, Lines());
  }
}

TEST_F(UndoTest, OverwriteTypingIsRedoneAsAnOverwrite) {
  SetLines({"abcd"});
  Edit.SetInsertMode(false);
  Goto(2, 1);
  Type("XY");
  Edit.Undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcd"}));
  Edit.Redo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"aXYd"}));
}

}  // namespace
}  // namespace vk::test
