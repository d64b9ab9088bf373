// Undo and redo: the grouping rules, the modified flag and the faults of
// the replay that were mended (the random sequences are in
// SrcEditUndoPropertyTest.cpp).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using Rows = std::vector<std::string>;

// A row of the tables whose edits undo and redo take back and bring back.
struct TEditsCase {
  const char* Name;
  Rows Before;
  std::function<void()> Edits;
  Rows After;
};

class UndoTest : public EditorTest {
protected:
  std::string Text() const { return Edit.Lines().GetTextStr(); }
  void Type(const std::string& text) {
    for (char c : text) Edit.CommandProcessor(ecChar, c);
  }
  void ReplaceAll(const std::string& what, const std::string& with) {
    TSrcEditSearch engine(nullptr);
    Edit.SetSearchEngine(&engine);
    Edit.SearchReplace(what, with, {ssoReplaceAll, ssoEntireScope});
    Edit.SetSearchEngine(nullptr);
  }
  void Goto(int x, int y) { Edit.CommandProcessor(ecGotoXY, 0, TBufferCoord{x, y}); }
  // The edits turn the lines before into the lines after; undoing
  // everything gives back the lines before, redoing as many steps the
  // lines after.
  void ExpectUndoneAndRedone(const Rows& before, const std::function<void()>& edits, const Rows& after) {
    SetLines(before);
    Edit.ClearUndo();
    edits();
    EXPECT_EQ(after, Lines());
    int steps = 0;
    for (; Edit.CanUndo(); ++steps) Edit.Undo();
    EXPECT_EQ(before, Lines());
    for (int i = 0; i < steps; ++i) Edit.Redo();
    EXPECT_EQ(after, Lines());
  }
};

// ---------------------------------------------------------------- grouping

// With eoGroupUndo one undo takes back a run of one typing or deleting
// command; every other command, and anything a program changes, is a step
// of its own, and one undo takes back exactly the last one.
TEST_F(UndoTest, GroupUndoJoinsOnlyARunOfOneTypingOrDeletingCommand) {
  TSrcEditSearch engine(nullptr);
  Edit.SetSearchEngine(&engine);
  const struct {
    const char* Name;
    bool GroupUndo;
    std::function<void()> Edits;
    Rows AfterOneUndo;
  } cases[] = {
      {"a run of typing", true, [this] { Type("xy"); }, {"value", "end"}},
      {"typing and composed input", true,
       [this] {
         Type("x");
         Edit.CommandProcessor(ecImeStr, 0, std::string("\xB0\xA1"));
       },
       {"value", "end"}},
      {"a run of Backspace", true,
       [this] {
         Goto(6, 1);
         Run(ecDeleteLastChar);
         Run(ecDeleteLastChar);
       },
       {"value", "end"}},
      {"Backspace after typing", true,
       [this] {
         Type("xy");
         Run(ecDeleteLastChar);
       },
       {"xyvalue", "end"}},
      {"Delete after Backspace", true,
       [this] {
         Goto(3, 1);
         Run(ecDeleteLastChar);
         Run(ecDeleteChar);
       },
       {"vlue", "end"}},
      {"replace-all after typing", true,
       [this] {
         Type("xyz");
         Edit.SearchReplace("value", "v", {ssoReplaceAll, ssoEntireScope});
       },
       {"xyzvalue", "end"}},
      {"typing after replace-all", true,
       [this] {
         Edit.SearchReplace("e", "E", {ssoReplaceAll, ssoEntireScope});
         Goto(1, 1);
         Type("x");
       },
       {"valuE", "End"}},
      {"a paste after typing", true,
       [this] {
         Type("x");
         Clipboard().SetAsText("x");
         Run(ecPaste);
       },
       {"xvalue", "end"}},
      {"a cut after typing", true,
       [this] {
         Type("x");
         Select({1, 1}, {2, 1});
         Run(ecCut);
       },
       {"xvalue", "end"}},
      {"a replacement by the program after typing", true,
       [this] {
         Type("x");
         Select({1, 1}, {2, 1});
         Edit.SetSelText("x");
       },
       {"xvalue", "end"}},
      {"a deletion and a replacement by the program", true,
       [this] {
         Select({1, 1}, {2, 1});
         Edit.SetSelText("");
         Select({1, 2}, {2, 2});
         Edit.SetSelText("x");
       },
       {"alue", "end"}},
      {"a line deleted twice", true,
       [this] {
         Run(ecDeleteLine);
         Run(ecDeleteLine);
       },
       {"end"}},
      {"two block indents", true,
       [this] {
         Select({1, 1}, {2, 2});
         Run(ecBlockIndent);
         Run(ecBlockIndent);
       },
       {"        value", "        end"}},
      {"typing without group undo", false, [this] { Type("xy"); }, {"xvalue", "end"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoGroupUndo, c.GroupUndo);
    SetLines({"value", "end"});
    Edit.ClearUndo();
    Goto(1, 1);
    c.Edits();
    Edit.Undo();
    EXPECT_EQ(c.AfterOneUndo, Lines());
  }
  Edit.SetSearchEngine(nullptr);
}

// Undoing everything and then redoing as many steps comes back to the text
// the edits left, whatever eoGroupUndo was when each change was made.
TEST_F(UndoTest, RedoStepsMirrorUndoSteps) {
  struct Case {
    const char* Name;
    Rows Before;
    std::function<void()> Edits;
  } cases[] = {
      {"group undo on after an undo", {"1ab"},
       [this] {
         SetOption(eoGroupUndo, false);
         Goto(4, 1);
         Run(ecDeleteLastChar);
         Run(ecDeleteLastChar);
         Run(ecLeft);
         Edit.Undo();
         SetOption(eoGroupUndo, true);
       }},
      {"group undo off after typing", {"ab"},
       [this] {
         Goto(3, 1);
         Type("xy");
         SetOption(eoGroupUndo, false);
         Type("z");
         Edit.Undo();
       }},
      {"typing over a selection", {"abc"},
       [this] {
         Select({2, 1}, {3, 1});
         Type("xy");
         Edit.Undo();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoGroupUndo, true);
    SetLines(c.Before);
    Edit.ClearUndo();
    c.Edits();
    const std::string final = Text();
    const bool couldRedo = Edit.CanRedo();
    int steps = 0;
    for (; Edit.CanUndo(); ++steps) Edit.Undo();
    EXPECT_EQ(c.Before, Lines());
    for (int i = 0; i < steps; ++i) Edit.Redo();
    EXPECT_EQ(final, Text());
    EXPECT_EQ(couldRedo, Edit.CanRedo());
  }
}

// With eoTrimTrailingSpaces the blanks an edit leaves at a line's end go,
// and undo brings them back: undoing everything gives the text before,
// redoing everything the text after.
TEST_F(UndoTest, TrimmedBlanksComeBackWithUndo) {
  const TEditsCase cases[] = {
      {"a line joined by Delete", {"", "a\t"},
       [this] {
         Goto(1, 1);
         Run(ecDeleteChar);
       },
       {"a"}},
      {"Tab and a character on an empty line", {""},
       [this] {
         Goto(1, 1);
         Run(ecTab);
         Type("a");
       },
       {"\ta"}},
      {"a blank typed between words", {"x"},
       [this] {
         Goto(2, 1);
         Type("a b");
       },
       {"xa b"}},
      {"a line broken after blanks", {"ab  cd"},
       [this] {
         Goto(5, 1);
         Run(ecLineBreak);
       },
       {"ab", "cd"}},
      {"a line deleted up to blanks", {"ab  cd"},
       [this] {
         Goto(5, 1);
         Run(ecDeleteEOL);
       },
       {"ab"}},
  };
  for (const TEditsCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoTrimTrailingSpaces, true);
    SetOption(eoTabsToSpaces, false);
    SetOption(eoAutoIndent, false);
    ExpectUndoneAndRedone(c.Before, c.Edits, c.After);
  }
}

// A file's line breaks of every kind stay where the edits did not touch
// them, a new line takes the break of the line it was split from, and an
// edit that leaves an empty line between a lone CR and a lone LF makes the
// two one CR LF break, as the saved bytes read back. The editor always
// shows what its saved bytes read back as; undoing everything gives back
// the file byte for byte, redoing everything the edited bytes again.
// The saved bytes after the edits, after undoing them all and after
// redoing them; every mark (a bookmark and a plain mark on each line) comes
// back to its line with each undo and goes where the edits put it with the
// redo.
TEST_F(UndoTest, EditsAndUndoKeepEveryLineBreakAndMark) {
  const std::string mixed = "ab\rcd\nef\r\ngh\rij";
  const struct {
    const char* Name;
    std::string File;
    std::function<void()> Edits;
    std::string Saved;
  } cases[] = {
      {"Backspace joins two lines", mixed, [this] {
         Goto(1, 2);
         Run(ecDeleteLastChar);
       },
       "abcd\nef\r\ngh\rij"},
      {"Delete joins two lines", mixed, [this] {
         Goto(3, 3);
         Run(ecDeleteChar);
       },
       "ab\rcd\nefgh\rij"},
      {"a selection over lines deleted", mixed, [this] {
         Select({2, 1}, {2, 3});
         Run(ecDeleteChar);
       },
       "af\r\ngh\rij"},
      {"a line deleted", mixed, [this] {
         Goto(1, 2);
         Run(ecDeleteLine);
       },
       "ab\ref\r\ngh\rij"},
      {"whole lines cut", mixed, [this] {
         Edit.SetSelectionMode(smLine);
         Select({1, 2}, {1, 3});
         Run(ecCut);
         Edit.SetSelectionMode(smNormal);
       },
       "ab\rgh\rij"},
      {"whole lines cut and pasted back in front of a CR line", mixed, [this] {
         Edit.SetSelectionMode(smLine);
         Select({1, 2}, {1, 3});
         Run(ecCut);
         Run(ecPaste);
         Edit.SetSelectionMode(smNormal);
       },
       "ab\rcd\ref\rgh\rij"},
      {"Enter at the start and in the middle of a line", mixed, [this] {
         Goto(1, 2);
         Run(ecLineBreak);
         Goto(2, 4);
         Run(ecLineBreak);
       },
       "ab\r\rcd\ne\r\nf\r\ngh\rij"},
      {"the case of lines changed", mixed, [this] {
         Select({1, 1}, {3, 3});
         Run(ecUpperCaseBlock);
       },
       "AB\rCD\nEF\r\ngh\rij"},
      {"text typed and deleted", mixed, [this] {
         Goto(2, 3);
         Type("x");
         Run(ecDeleteLastChar);
       },
       mixed},
      // An LF file with one CR LF line.
      {"Enter in an LF line", "a\nbc\r\nde\nf", [this] {
         Goto(2, 3);
         Run(ecLineBreak);
       },
       "a\nbc\r\nd\ne\nf"},
      {"Enter in the CR LF line", "a\nbc\r\nde\nf", [this] {
         Goto(2, 2);
         Run(ecLineBreak);
       },
       "a\nb\r\nc\r\nde\nf"},
      {"Enter at the end of the last line", "a\nbc\r\nde\nf", [this] {
         Goto(2, 4);
         Run(ecLineBreak);
       },
       "a\nbc\r\nde\nf\n"},
      {"lines pasted into an LF line", "a\nbc\r\nde\nf", [this] {
         Clipboard().SetAsText("x\r\ny\rz");
         Goto(2, 3);
         Run(ecPaste);
       },
       "a\nbc\r\ndx\ny\nze\nf"},
      {"the text of a line between CR and LF deleted", "a\rb\nc", [this] {
         Select({1, 2}, {2, 2});
         Run(ecDeleteChar);
       },
       "a\r\nc"},
      {"and the lines around it replaced", "a\rb\nc\nd", [this] {
         Select({1, 2}, {2, 2});
         Run(ecDeleteChar);
         Select({1, 1}, {1, 3});
         Type("x");
       },
       "xd"},
      {"a double-byte character typed over them", "a\rb\nc\nd", [this] {
         Select({1, 2}, {2, 2});
         Run(ecDeleteChar);
         Select({1, 1}, {1, 3});
         Edit.Perform(WM_CHAR, 0xB0, 0);
         Edit.Perform(WM_CHAR, 0xA1, 0);
       },
       "\xB0\xA1" "d"},
      {"Backspace joins two empty lines", "x\r\r\n\ny", [this] {
         Goto(1, 3);
         Run(ecDeleteLastChar);
       },
       "x\r\ny"},
      {"Delete joins them", "x\r\r\n\ny", [this] {
         Goto(1, 2);
         Run(ecDeleteChar);
       },
       "x\r\ny"},
      {"the line between deleted", "x\ra\n\ny", [this] {
         Goto(1, 2);
         Run(ecDeleteLine);
       },
       "x\r\ny"},
      {"a replace-all empties the line", "a\rb\nc", [this] { ReplaceAll("b", ""); }, "a\r\nc"},
      {"a replace-all empties five of them", "a\rb\nc\rb\nd\rb\ne\rb\nf\rb\ng", [this] { ReplaceAll("b", ""); },
       "a\r\nc\r\nd\r\ne\r\nf\r\ng"},
      {"a column cut empties it", "a\rb\nc", [this] {
         Edit.SetSelectionMode(smColumn);
         Select({1, 1}, {2, 3});
         Run(ecCut);
         Edit.SetSelectionMode(smNormal);
       },
       "\r\n"},
      {"Backspace empties a line between CR and LF", "int a;\rb\nint c;\nint d;", [this] {
         Goto(2, 2);
         Run(ecDeleteLastChar);
       },
       "int a;\r\nint c;\nint d;"},
      {"Delete empties it", "int a;\rb\nint c;\nint d;", [this] {
         Goto(1, 2);
         Run(ecDeleteChar);
       },
       "int a;\r\nint c;\nint d;"},
      {"many lines pasted over a line between CR and LF, the last empty", "a\rz\nb", [this] {
         Clipboard().SetAsText("\nq\nr\ns\n");
         Select({1, 2}, {2, 2});
         Run(ecPaste);
       },
       "a\r\rq\rr\rs\r\nb"},
      {"a program's lines put there meet both breaks", "a\rz\nb",
       [this] { Edit.ReplaceRange({1, 2}, {2, 2}, "\nq\nr\r", tbKept); }, "a\r\nq\nr\r\nb"},
      {"the whole text replaced over such a line the store was given", "a\r\nb", [this] {
         Edit.Lines().Insert(1, "");
         Edit.Lines().SetBreakBefore(1, sffMac);
         Edit.Lines().SetBreakBefore(2, sffUnix);
         Edit.ReplaceRange({1, 1}, {2, 3}, "x\ny", tbKept);
       },
       "x\ny"},
      {"a program's lines with blanks there, trimmed", "a", [this] {
         SetOption(eoTrimTrailingSpaces, true);
         Edit.ReplaceRange({2, 1}, {2, 1}, "\rx\r  \ny\rz", tbKept);
         SetOption(eoTrimTrailingSpaces, false);
       },
       "a\rx\r\ny\rz"},
      {"trimmed blanks leave it empty", "a\r x\nc", [this] {
         SetOption(eoTrimTrailingSpaces, true);
         Goto(3, 2);
         Run(ecDeleteLastChar);
         SetOption(eoTrimTrailingSpaces, false);
       },
       "a\r\nc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    LoadBytes(c.File);
    Edit.ClearUndo();
    Edit.Marks().Clear();
    for (int line = 1; line <= Edit.Lines().Count(); ++line) {
      Edit.SetBookMark(line % 10, line + 1, line);
      auto mark = std::make_unique<TSrcEditMark>(&Edit);
      mark->SetLine(line);
      Edit.Marks().Add(std::move(mark));
    }
    const std::string marks = MarkPlaces();
    c.Edits();
    EXPECT_EQ(c.Saved, SavedBytes());
    EXPECT_EQ(LinesReadBack(SavedBytes()), Lines());
    const std::string marksAfter = MarkPlaces();
    int steps = 0;
    for (; Edit.CanUndo(); ++steps) Edit.Undo();
    EXPECT_EQ(c.File, SavedBytes());
    EXPECT_EQ(marks, MarkPlaces());
    for (int i = 0; i < steps; ++i) Edit.Redo();
    EXPECT_EQ(c.Saved, SavedBytes());
    EXPECT_EQ(LinesReadBack(SavedBytes()), Lines());
    EXPECT_EQ(marksAfter, MarkPlaces());
    for (int i = 0; i < steps; ++i) Edit.Undo();
    EXPECT_EQ(marks, MarkPlaces());
  }
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
  // A paste that changes nothing is no change.
  Clipboard().SetData(BlockTypeClipboardFormat(), std::string(1, static_cast<char>(smColumn)) + "\r\n" + '\0');
  Run(ecPaste);
  EXPECT_TRUE(Edit.CanRedo());
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

// Undo takes back exactly what an insertion put in, also where the caret
// cannot follow the text to its end: a line longer than the scroll width,
// a lead byte that makes one character with the byte after it.
TEST_F(UndoTest, UndoRemovesAllThePastedText) {
  const std::string longRun(1030, 'b');
  const struct {
    const char* Name;
    Rows Before;
    int Column;
    int Mode;  // -1: plain text, else a private block of that mode
    std::string Pasted;
    Rows After;
  } cases[] = {
      {"longer than the scroll width", {"aa"}, 3, -1, longRun, {"aa" + longRun}},
      {"long, as a block", {"aa"}, 3, smNormal, "x\r\n" + longRun, {"aax", longRun}},
      {"long, as lines", {"aa"}, 1, smLine, longRun + "\r\n", {longRun, "aa"}},
      {"ending in a lead byte", {"[a]"}, 2, -1, "\xFE", {"[\xFE" "a]"}},
      {"ending in a lead byte, as a block", {"[a]"}, 2, smNormal, "x\r\n\xFE", {"[x", "\xFE" "a]"}},
      {"ending in a lead byte, as a column", {"[a]"}, 2, smColumn, "\xFE", {"[\xFE" "a]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines(c.Before);
    Edit.ClearUndo();
    Goto(c.Column, 1);
    Clipboard().SetAsText(c.Pasted);
    if (c.Mode >= 0) Clipboard().SetData(BlockTypeClipboardFormat(), static_cast<char>(c.Mode) + c.Pasted + '\0');
    Run(ecPaste);
    EXPECT_EQ(c.After, Lines());
    Edit.Undo();
    EXPECT_EQ(c.Before, Lines());
    Edit.Redo();
    EXPECT_EQ(c.After, Lines());
    Edit.Undo();
    EXPECT_EQ(c.Before, Lines());
  }
}

// Undo and redo put text back exactly where it was, also where the caret
// cannot stand: right after a lone lead byte (which makes one character
// with the byte that follows it once the text between is gone) and beyond
// the scroll width. The caret never stays on a trail byte.
TEST_F(UndoTest, UndoPutsTextBackWhereTheCaretCannotStand) {
  const std::string longLine(1030, 'b');
  const TEditsCase cases[] = {
      {"a selection after a lone lead byte typed over", {"end\xFE", "xy"},
       [this] {
         Select({5, 1}, {2, 2});
         Type("q");
       },
       {"end\xFEqy"}},
      {"a selection after a lone lead byte replaced", {"end\xFE", "xy"},
       [this] {
         Select({5, 1}, {2, 2});
         Edit.SetSelText("q");
       },
       {"end\xFEqy"}},
      {"Backspace joins a line to a lone lead byte", {"end\xFE", "xy"},
       [this] {
         Goto(1, 2);
         Run(ecDeleteLastChar);
       },
       {"end\xFExy"}},
      {"Delete joins a line to a lone lead byte", {"end\xFE", "xy"},
       [this] {
         Goto(5, 1);
         Run(ecDeleteChar);
       },
       {"end\xFExy"}},
      {"Backspace joins a line to a long one", {longLine, "xy"},
       [this] {
         SetOption(eoScrollPastEol, true);
         Goto(1, 2);
         Run(ecDeleteLastChar);
       },
       {longLine + "xy"}},
      {"lines selected, shown as a column of no width", {"ab", "cd", "ef"},
       [this] {
         Edit.SetSelectionMode(smLine);
         Select({1, 1}, {1, 3});
         // As undoing and redoing an indent of those lines leaves them.
         Edit.SetActiveSelectionMode(smColumn);
         Edit.SetSelText("x");
         Edit.SetSelectionMode(smNormal);
       },
       {"x", "ab", "cd", "ef"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoTabsToSpaces, false);
    ExpectUndoneAndRedone(c.Before,
                          [&] {
                            c.Edits();
                            EXPECT_FALSE(IsTrailByte(Edit.Lines().GetView(Edit.CaretY() - 1), Edit.CaretX()));
                          },
                          c.After);
  }
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
       {"abc    def", "a", "abc    def"}},
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
// the row up to that end. Under an undo limit of fewer steps than rows the
// block is still one step.
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
      {"corner beyond its line, a limit of one step", 8, 1, {"x  oid)  \xB0\xA1", "\ti {"}, {8, 1}, {7, 2}, {"x  oid)", ""}},
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
