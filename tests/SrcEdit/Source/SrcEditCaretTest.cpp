#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

// "가" in the code page: a lead and a trail byte.
const std::string Hangul = "\xB0\xA1";

class CaretTest : public EditorTest {};

TEST_F(CaretTest, BufferAndDisplayPositionsMapBothWaysOverTabsAndDoubleBytes) {
  SetLines({"ab\tc", Hangul + "x\t" + Hangul, "\t\tz", ""});
  struct Case {
    TBufferCoord Buffer;
    int Column;
  } cases[] = {
      {{1, 1}, 1}, {{3, 1}, 3},  {{4, 1}, 9},  {{6, 1}, 11},  // past the end: one cell each
      {{1, 2}, 1}, {{3, 2}, 3},  {{4, 2}, 4},  {{5, 2}, 9},   {{7, 2}, 11},
      {{2, 3}, 9}, {{3, 3}, 17}, {{4, 3}, 18}, {{3, 4}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Buffer.Char) + "," + std::to_string(c.Buffer.Line));
    TDisplayCoord display = Edit.BufferToDisplayPos(c.Buffer);
    EXPECT_EQ((TDisplayCoord{c.Column, c.Buffer.Line}), display);
    EXPECT_EQ(c.Buffer, Edit.DisplayToBufferPos(display));
    // Through the pixels of the cell and back.
    TPoint pixel = Edit.RowColumnToPixels(display);
    EXPECT_EQ(display, Edit.PixelsToRowColumn(pixel.X, pixel.Y));
  }
  // Every column inside a TAB's cells is the TAB; the second byte of a
  // double-byte character is not a position of its own.
  for (int column = 3; column <= 8; ++column) EXPECT_EQ(3, Edit.DisplayToBufferPos({column, 1}).Char) << column;
  EXPECT_EQ(3, Edit.DisplayToBufferPos({2, 2}).Char);
  // A line outside the text is left as it is.
  EXPECT_EQ((TBufferCoord{50, 99}), Edit.DisplayToBufferPos({50, 99}));
}

TEST_F(CaretTest, TheNearestCellBoundaryRoundsHalvesToEven) {
  const int x0 = Edit.GutterWidth() + 2;
  const int cell = Edit.CellWidth();
  struct Case {
    int X;
    int Column;
  } cases[] = {{x0, 1}, {x0 + cell / 2 - 1, 1}, {x0 + cell / 2, 1}, {x0 + cell / 2 + 1, 2},
               {x0 + cell + cell / 2, 3}, {0, 1}};
  for (const auto& c : cases) EXPECT_EQ(c.Column, Edit.PixelsToNearestRowColumn(c.X, 0).Column) << c.X;
  // Below the window the last row of the window is taken.
  EXPECT_EQ(25, Edit.PixelsToNearestRowColumn(x0, 10000).Row);
}

TEST_F(CaretTest, FlatIndexesCountEveryLineBreakAsTwo) {
  SetLines({"abcde", "fg", ""});
  struct Case {
    int Index;
    TBufferCoord Position;
  } cases[] = {{0, {1, 1}}, {5, {6, 1}}, {6, {7, 1}}, {7, {1, 2}}, {9, {3, 2}}, {11, {1, 3}}, {13, {1, 4}}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.Position, Edit.CharIndexToRowCol(c.Index)) << c.Index;
    if (c.Position.Line <= 3) {
      EXPECT_EQ(c.Index, Edit.RowColToCharIndex(c.Position)) << c.Index;
    }
  }
}

TEST_F(CaretTest, TheCaretIsClampedToTheText) {
  struct Case {
    const char* Name;
    std::vector<std::string> Text;
    bool PastEol;
    TBufferCoord To;
    TBufferCoord Expected;
  } cases[] = {
      {"empty text", {}, false, {7, 3}, {1, 1}},
      {"empty text past the end", {}, true, {7, 3}, {7, 1}},
      {"line end", {"0123456789"}, false, {50, 1}, {11, 1}},
      {"past the line end", {"0123456789"}, true, {50, 1}, {50, 1}},
      {"scroll width", {"0123456789"}, true, {5000, 1}, {1025, 1}},
      {"below the text", {"a", "bc"}, false, {9, 9}, {3, 2}},
      {"before the text", {"a", "bc"}, false, {-4, -4}, {1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines(c.Text);
    TSrcEditorOptions options = Edit.Options();
    c.PastEol ? options.Include(eoScrollPastEol) : options.Exclude(eoScrollPastEol);
    Edit.SetOptions(options);
    Edit.SetCaretXY(c.To);
    EXPECT_EQ(c.Expected, Edit.CaretXY());
    EXPECT_FALSE(Edit.SelAvail());
  }
}

// Wherever a command, an undo or a redo leaves the caret, text typed next
// lands on a whole character of the line it belongs to.
TEST_F(CaretTest, TypingAfterACommandGoesWhereTheCommandLeftTheCaret) {
  const std::string Han = "\xC7\xD1";
  struct Case {
    const char* Name;
    std::vector<std::string> Before;
    bool PastEol;
    std::function<void()> Steps;
    std::vector<std::string> After;  // once "Z" is typed
  } cases[] = {
      {"page bottom below the text", {"ab", Han + Han}, true,
       [&] {
         Goto(4, 1);
         Run(ecPageBottom);
       },
       {"ab", Han + "Z" + Han}},
      {"redo of a forward delete", {"b" + Han + "x"}, true,
       [&] {
         Goto(1, 1);
         Run(ecDeleteChar);
         Edit.Undo();
         Edit.Redo();
       },
       {"Z" + Han + "x"}},
      {"smart Shift+Tab under a word", {"ab cdef", Han + Han + "xyz"}, true,
       [&] {
         Goto(7, 2);
         Run(ecShiftTab);
       },
       {"ab cdef", Han + Han + "Zz"}},
      {"redo of a line break", {"abcd"}, true,
       [&] {
         Goto(3, 1);
         Run(ecLineBreak);
         Edit.Undo();
         Edit.Redo();
       },
       {"ab", "Zcd"}},
      {"undo within the line", {"ab"}, false,
       [&] {
         Goto(3, 1);
         Edit.SetInsertMode(false);
         Run(ecChar, 'x');
         Edit.Undo();
         Edit.SetInsertMode(true);
       },
       {"abZ"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoScrollPastEol, c.PastEol);
    SetLines(c.Before);
    Edit.ClearUndo();
    c.Steps();
    Run(ecChar, 'Z');
    EXPECT_EQ(c.After, Lines());
  }
}

// A column or line block that stands beyond its lines' ends becomes, as
// running text, a selection that ends where the lines do: what replaces it
// goes where the text was, and undo puts the text back there.
TEST_F(CaretTest, ABlockBeyondTheLineEndsSelectsOnlyTextInNormalMode) {
  struct Case {
    const char* Name;
    TSrcEditorCommand Mode;
    TBufferCoord From;
    TBufferCoord To;
    TSrcEditorCommand Command;
    std::vector<std::string> After;
  } cases[] = {
      {"typing over a column block", ecColumnSelect, {1, 3}, {6, 1}, ecChar, {"aaxcc"}},
      {"deleting a column block", ecColumnSelect, {1, 3}, {6, 1}, ecDeleteChar, {"aacc"}},
      {"typing over a line block", ecLineSelect, {5, 1}, {1, 2}, ecChar, {"aaxbb", "cc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoScrollPastEol, true);
    const std::vector<std::string> before{"aa", "bb", "cc"};
    SetLines(before);
    Edit.ClearUndo();
    Run(c.Mode);
    Goto(c.From.Char, c.From.Line);
    Edit.CommandProcessor(ecSelGotoXY, 0, c.To);
    Run(ecNormalSelect);
    Run(c.Command, 'x');
    EXPECT_EQ(c.After, Lines());
    while (Edit.CanUndo()) Edit.Undo();
    EXPECT_EQ(before, Lines());
    while (Edit.CanRedo()) Edit.Redo();
    EXPECT_EQ(c.After, Lines());
    Edit.SetSelectionMode(smNormal);
  }
}

TEST_F(CaretTest, SelectedTextFollowsTheSelectionMode) {
  SetLines({"first line", "second", "third\tline", "4th"});
  struct Case {
    const char* Name;
    TSrcSelectionMode Mode;
    TBufferCoord From;
    TBufferCoord To;
    bool Trim;
    std::string Expected;
  } cases[] = {
      {"normal, one line", smNormal, {3, 1}, {6, 1}, false, "rst"},
      {"normal, backwards over lines", smNormal, {3, 3}, {7, 1}, false, "line\r\nsecond\r\nth"},
      {"lines without the last", smLine, {4, 2}, {1, 3}, false, "second\r\nthird\tline\r\n"},
      {"lines with the last", smLine, {1, 3}, {2, 4}, false, "third\tline\r\n4th"},
      // Columns 3..8 on every line; the TAB covers columns 6..8 of line 3.
      {"column, short line padded", smColumn, {3, 2}, {9, 4}, false, "cond  \r\nird\t\r\nh     "},
      {"column, padding trimmed", smColumn, {3, 2}, {9, 4}, true, "cond\r\nird\t\r\nh"},
      {"column, right to left", smColumn, {9, 4}, {3, 2}, false, "cond  \r\nird\t\r\nh     "},
      {"column, zero width", smColumn, {3, 1}, {3, 4}, false, ""},
      // Equal characters stand for other columns on a line with a TAB.
      {"column, one character in two columns across a TAB", smColumn, {7, 2}, {7, 3}, false, "  \r\n\t"},
      {"column, other characters in the same column", smColumn, {9, 1}, {7, 3}, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSrcEditorOptions options = Edit.Options();
    c.Trim ? options.Include(eoTrimTrailingSpaces) : options.Exclude(eoTrimTrailingSpaces);
    Edit.SetOptions(options);
    Edit.SetSelectionMode(c.Mode);
    Select(c.From, c.To);
    EXPECT_EQ(c.Expected, Edit.SelText());
    EXPECT_EQ(!c.Expected.empty(), Edit.SelAvail());
  }
}

TEST_F(CaretTest, SelectionEndsAreClampedAndNeverSplitACharacter) {
  SetLines({"ab" + Hangul + "c", "xyz"});
  Select({1, 1}, {4, 1});  // the second byte of the double-byte character
  EXPECT_EQ((TBufferCoord{3, 1}), Edit.BlockEnd());
  Select({9, 0}, {99, 5});
  EXPECT_EQ((TBufferCoord{6, 1}), Edit.BlockBegin());
  EXPECT_EQ((TBufferCoord{4, 2}), Edit.BlockEnd());
  Edit.SelectAll();
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.BlockBegin());
  EXPECT_EQ((TBufferCoord{4, 2}), Edit.BlockEnd());
  EXPECT_EQ((TBufferCoord{4, 2}), Edit.CaretXY());
  SetLines({});
  Edit.SelectAll();
  EXPECT_FALSE(Edit.SelAvail());
}

TEST_F(CaretTest, SelLengthCountsFromTheSelectionBegin) {
  SetLines({"abcde", "fghijklmno"});  // index 10 is column 4 of line 2
  struct Case {
    int Length;
    int Start;
    int End;
    int Caret;
  } cases[] = {{3, 10, 13, 13}, {-3, 7, 10, 7}, {0, 10, 10, 10}, {-20, 10, 17, 17}, {INT_MAX, 10, 17, 17}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Length);
    Edit.SetSelStart(10);
    Edit.SetSelLength(c.Length);
    EXPECT_EQ(c.Start, Edit.SelStart());
    EXPECT_EQ(c.End, Edit.SelEnd());
    EXPECT_EQ(c.End - c.Start, Edit.SelLength());
    EXPECT_EQ(c.Caret, Edit.RowColToCharIndex(Edit.CaretXY()));
  }
}

TEST_F(CaretTest, HasSelectedTextAnswersAsAPositiveSelLength) {
  SetLines({"ab", "cdefgh", "", "ijk"});
  struct Case {
    const char* Name;
    TSrcSelectionMode Mode;
    TBufferCoord From, To;
    bool Expected;
  } cases[] = {
      {"nothing", smNormal, {2, 1}, {2, 1}, false},
      {"in a line", smNormal, {1, 2}, {4, 2}, true},
      {"over lines", smNormal, {2, 1}, {1, 4}, true},
      {"a line break", smNormal, {3, 1}, {1, 2}, true},
      {"lines", smLine, {2, 2}, {2, 3}, true},
      {"a column right to left", smColumn, {5, 1}, {2, 2}, true},
      {"a column from past a short line's end", smColumn, {9, 1}, {2, 2}, false},
  };
  for (const auto& c : cases) {
    Edit.SetSelectionMode(c.Mode);
    Select(c.From, c.To);
    EXPECT_EQ(c.Expected, Edit.HasSelectedText()) << c.Name;
    EXPECT_EQ(Edit.SelLength() > 0, Edit.HasSelectedText()) << c.Name;
  }
}

TEST_F(CaretTest, WordStepsStopAtWordStartsAndEnds) {
  SetLines({"  foo_bar(1) + baz", "", "\tnext " + Hangul + "x"});
  enum Kind { Next, Prev, Start, End };
  struct Case {
    Kind Step;
    TBufferCoord From;
    TBufferCoord Expected;
  } cases[] = {
      {Next, {1, 1}, {3, 1}},   {Next, {3, 1}, {11, 1}},  {Next, {16, 1}, {19, 1}}, {Next, {19, 1}, {1, 2}},
      {Next, {1, 2}, {2, 3}},   {Next, {2, 3}, {7, 3}},   {Next, {9, 3}, {9, 3}},   {Prev, {19, 1}, {16, 1}},
      {Prev, {11, 1}, {3, 1}},  {Prev, {3, 1}, {1, 1}},   {Prev, {1, 3}, {1, 2}},   {Prev, {2, 3}, {1, 2}},
      {Prev, {5, 3}, {2, 3}},   {Start, {6, 1}, {3, 1}},  {Start, {30, 1}, {16, 1}}, {End, {4, 1}, {10, 1}},
      {End, {16, 1}, {19, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Step) + " from " + std::to_string(c.From.Char) + "," + std::to_string(c.From.Line));
    TBufferCoord to = c.Step == Next    ? Edit.NextWordPosEx(c.From)
                      : c.Step == Prev  ? Edit.PrevWordPosEx(c.From)
                      : c.Step == Start ? Edit.WordStartEx(c.From)
                                        : Edit.WordEndEx(c.From);
    EXPECT_EQ(c.Expected, to);
  }
  EXPECT_EQ("foo_bar", Edit.GetWordAtRowCol({6, 1}));
  EXPECT_EQ("", Edit.GetWordAtRowCol({10, 1}));
  EXPECT_EQ("", Edit.GetWordAtRowCol({1, 2}));
}

TEST_F(CaretTest, ADoubleClickSelectsTheWordAtTheCaretButNotInTheGutter) {
  SetLines({"x = foo_bar(1);"});
  for (bool inGutter : {true, false}) {
    SCOPED_TRACE(inGutter ? "gutter" : "text");
    Edit.SetCaretXY({8, 1});  // on the b
    const TPoint at{inGutter ? 1 : Edit.GutterWidth() + 20, 5};
    const TPoint screen = Edit.ClientToScreen(at);
    SetCursorPos(screen.X, screen.Y);
    Edit.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(at.X, at.Y));
    EXPECT_EQ(inGutter ? "" : "foo_bar", Edit.SelText());
    EXPECT_EQ(!inGutter, Edit.StateFlags().Contains(sfDblClicked));
  }
  // A word of double-byte characters ends where the character class changes.
  SetLines({"ab " + Hangul + Hangul + ",cd"});
  Edit.SetWordBlock({5, 1});
  EXPECT_EQ(Hangul + Hangul, Edit.SelText());
  // Beyond the line: the caret goes to its end and nothing is selected.
  Edit.SetWordBlock({50, 1});
  EXPECT_EQ((TBufferCoord{11, 1}), Edit.CaretXY());
  EXPECT_FALSE(Edit.SelAvail());
}

}  // namespace
}  // namespace vk::test
