#include <functional>
#include <string>
#include <vector>

#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

using Text = std::vector<std::string>;

struct Entry {
  TSrcChangeReason Reason;
  TBufferCoord Start;
  TBufferCoord End;
  std::string Text;
  TSrcSelectionMode Mode;
  friend bool operator==(const Entry&, const Entry&) = default;
  friend void PrintTo(const Entry& e, std::ostream* os) {
    *os << "{" << int(e.Reason) << " " << e.Start.Char << "," << e.Start.Line << " - " << e.End.Char << ","
        << e.End.Line << " \"" << e.Text << "\" " << int(e.Mode) << "}";
  }
};

std::vector<Entry> Entries(const TSrcEditUndoList& list) {
  std::vector<Entry> entries;
  for (int i = 0; i < list.ItemCount(); ++i) {
    const TSrcEditUndoItem& item = *list.Items(i);
    entries.push_back({item.FChangeReason, item.FChangeStartPos, item.FChangeEndPos, item.FChangeStr,
                       item.FChangeSelMode});
  }
  return entries;
}

class SelTextTest : public EditorTest {
protected:
  std::string PrivateBlock() { return Clipboard().GetData(BlockTypeClipboardFormat()).value_or("<none>"); }
};

TEST_F(SelTextTest, TheSelectionIsReplacedInTheShapeOfEachMode) {
  struct Case {
    const char* Name;
    Text Before;
    TSrcSelectionMode Mode;
    TBufferCoord From;
    TBufferCoord To;  // == From: the caret, no selection
    TSrcSelectionMode PasteMode;
    std::string Value;
    Text After;
    TBufferCoord Caret;
  } cases[] = {
      {"running text", {"abcdef"}, smNormal, {3, 1}, {3, 1}, smNormal, "XY", {"abXYcdef"}, {5, 1}},
      {"CR LF", {"abcdef"}, smNormal, {3, 1}, {3, 1}, smNormal, "1\r\n2\r\n3", {"ab1", "2", "3cdef"}, {2, 3}},
      {"lone LF and CR", {"abcdef"}, smNormal, {3, 1}, {3, 1}, smNormal, "1\n2\r3", {"ab1", "2", "3cdef"}, {2, 3}},
      {"break at the end", {"abc"}, smNormal, {2, 1}, {2, 1}, smNormal, "X\r\n", {"aX", "bc"}, {1, 2}},
      {"past the line end", {"ab"}, smNormal, {5, 1}, {5, 1}, smNormal, "X", {"ab  X"}, {6, 1}},
      {"into an empty text", {}, smNormal, {1, 1}, {1, 1}, smNormal, "a\r\nb", {"a", "b"}, {2, 2}},
      {"over lines", {"0123456789", "abcdefghij", "ABCDEFGHIJ", "klm"}, smNormal, {5, 2}, {3, 4}, smNormal, "",
       {"0123456789", "abcdm"}, {5, 2}},
      {"lines before the caret line", {"l1", "l2", "l3"}, smNormal, {3, 2}, {3, 2}, smLine, "A\r\nB\r\n",
       {"l1", "A", "B", "l2", "l3"}, {1, 4}},
      {"a last row without a break is a line too", {"l1", "l2"}, smNormal, {2, 2}, {2, 2}, smLine, "A\nB",
       {"l1", "A", "B", "l2"}, {1, 4}},
      {"line block to the end", {"l1", "l2", "l3"}, smLine, {2, 2}, {1, 3}, smLine, "", {"l1", ""}, {1, 2}},
      {"line block replaced", {"l1", "l2", "l3", "l4"}, smLine, {2, 2}, {1, 3}, smLine, "X\r\n", {"l1", "X", "l4"},
       {1, 3}},
      {"rectangle", {"abcdef", "ghijkl"}, smNormal, {3, 1}, {3, 1}, smColumn, "x\ny", {"abxcdef", "ghyijkl"}, {4, 2}},
      {"rectangle past short lines and the text", {"abcdef", "g"}, smNormal, {4, 1}, {4, 1}, smColumn,
       "X\r\nY\rZ", {"abcXdef", "g  Y", "   Z"}, {5, 3}},
      {"rows beyond the text", {"ab"}, smNormal, {2, 1}, {2, 1}, smColumn, "X\r\n\r\nZ", {"aXb", "", " Z"}, {3, 3}},
      {"rectangle at a display column", {"a\tb", "abcdefghij"}, smNormal, {3, 1}, {3, 1}, smColumn, "X\r\nY",
       {"a\tXb", "abcdefghYij"}, {10, 2}},
      {"column block deleted", {"abcdef", "ghijkl", "mn"}, smColumn, {2, 1}, {4, 3}, smColumn, "",
       {"adef", "gjkl", "m"}, {2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines(c.Before);
    Edit.SetSelectionMode(c.Mode);
    Edit.SetCaretXY(c.To);
    Select(c.From, c.To);
    Edit.SetSelTextPrimitiveEx(c.PasteMode, c.Value, false);
    EXPECT_EQ(c.After, Lines());
    EXPECT_EQ(c.Caret, Edit.CaretXY());
    EXPECT_FALSE(Edit.SelAvail());
  }
}

TEST_F(SelTextTest, UndoEntriesCarryTheirPositionsWithOrWithoutAWindow) {
  for (bool window : {true, false}) {
    SCOPED_TRACE(window ? "window" : "no window");
    TSrcEdit edit(nullptr);
    if (window) edit.HandleNeeded();
    edit.Lines().Add("hello world");
    edit.SetCaretXY({12, 1});
    edit.SetBlockBegin({7, 1});
    edit.SetBlockEnd({12, 1});
    edit.SetSelText("there\r\nfriend");
    EXPECT_EQ((std::vector<Entry>{{crDelete, {7, 1}, {12, 1}, "world", smNormal},
                                  {crInsert, {7, 1}, {7, 2}, "", smNormal}}),
              Entries(edit.UndoList()));

    Clipboard().SetAsText("!");
    edit.SetCaretXY({3, 2});
    edit.UndoList().Clear();
    edit.PasteFromClipboard();
    EXPECT_EQ((std::vector<Entry>{{crPasteBegin, {3, 2}, {3, 2}, "", smNormal},
                                  {crPaste, {3, 2}, {4, 2}, "", smNormal},
                                  {crPasteEnd, {4, 2}, {4, 2}, "", smNormal}}),
              Entries(edit.UndoList()));
  }
}

TEST_F(SelTextTest, AColumnBlockOverTabsCopiesDeletesAndRestoresTheSameText) {
  SetLines({"ab\tcd", "0123456789AB", "abcdefghijk"});
  const Text original = Lines();
  Edit.SetSelectionMode(smColumn);
  Select({2, 1}, {10, 3});  // display columns 2..9 on every line
  Edit.CopyToClipboard();
  const std::string copied = Clipboard().AsText();
  EXPECT_EQ("b\tc\r\n12345678\r\nbcdefghi", copied);
  Edit.CutToClipboard();
  EXPECT_EQ((Text{"ad", "09AB", "ajk"}), Lines());
  // Each row is recorded at its own characters: together they are what
  // was copied.
  std::string recorded;
  for (const Entry& entry : Entries(Edit.UndoList()))
    if (entry.Reason == crDelete) recorded += (recorded.empty() ? "" : "\r\n") + entry.Text;
  EXPECT_EQ(copied, recorded);

  // Pasted back as a rectangle where it was cut.
  Edit.SetCaretXY({2, 1});
  Edit.PasteFromClipboard();
  EXPECT_EQ(original, Lines());
}

TEST_F(SelTextTest, ColumnPastesRecordEachRowAndEveryAppendedLine) {
  SetLines({"abc"});
  Edit.SetCaretXY({2, 1});
  Edit.SetSelTextPrimitiveEx(smColumn, "X\r\nYZ", true);
  EXPECT_EQ((Text{"aXbc", " YZ"}), Lines());
  EXPECT_EQ((std::vector<Entry>{{crInsert, {2, 1}, {3, 1}, "", smNormal},
                                {crLineBreak, {5, 1}, {5, 1}, "", smNormal},
                                {crInsert, {1, 2}, {4, 2}, "", smNormal}}),
            Entries(Edit.UndoList()));
}

TEST_F(SelTextTest, CopyAndPasteKeepTheSelectionMode) {
  SetLines({"l1", "l2", "l3", "l4"});
  Edit.SetSelectionMode(smLine);
  struct Case {
    TBufferCoord From;
    TBufferCoord To;
    std::string Expected;
  } cases[] = {{{1, 2}, {1, 3}, "l2\r\nl3\r\n"}, {{2, 3}, {1, 4}, "l3\r\nl4"}};
  for (const auto& c : cases) {
    Select(c.From, c.To);
    Edit.CopyToClipboard();
    EXPECT_EQ(c.Expected, Clipboard().AsText());
    EXPECT_EQ('\x01' + c.Expected + '\0', PrivateBlock());
  }
  // The block pastes in its own mode, whatever the editor's mode now.
  Select({1, 2}, {1, 3});
  Edit.CopyToClipboard();
  Edit.SetSelectionMode(smColumn);
  Edit.SetCaretXY({2, 4});
  Edit.PasteFromClipboard();
  EXPECT_EQ((Text{"l1", "l2", "l3", "l2", "l3", "l4"}), Lines());
  EXPECT_EQ(smColumn, Edit.ActiveSelectionMode());

  // A copied rectangle keeps the blanks that fill short lines.
  SetOption(eoTrimTrailingSpaces, true);
  SetLines({"abc", "a"});
  Select({2, 1}, {4, 2});
  Edit.CopyToClipboard();
  EXPECT_EQ("bc\r\n  ", Clipboard().AsText());
  EXPECT_TRUE(Edit.Options().Contains(eoTrimTrailingSpaces));
  EXPECT_EQ("bc\r\n", Edit.SelText());
}

TEST_F(SelTextTest, AFailingClipboardRaisesAndChangesNothing) {
  SetLines({"keep me"});
  Select({1, 1}, {5, 1});
  struct Case {
    const char* Name;
    bool FailOpen;
    TClipboardFormat FailSet;
  } cases[] = {{"open", true, 0}, {"plain text", false, CF_TEXT}, {"private block", false, BlockTypeClipboardFormat()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MemoryClipboard().FailOpen = c.FailOpen;
    MemoryClipboard().FailSet = c.FailSet;
    for (bool cut : {false, true}) {
      try {
        cut ? Edit.CutToClipboard() : Edit.CopyToClipboard();
        ADD_FAILURE() << "no exception";
      } catch (const ESrcEditError& e) {
        EXPECT_EQ("Clipboard copy operation failed", e.Message());
      }
      EXPECT_FALSE(MemoryClipboard().IsOpen());
      EXPECT_EQ((Text{"keep me"}), Lines());
    }
  }
  MemoryClipboard().FailOpen = false;
  MemoryClipboard().FailSet = 0;
  Edit.CopyToClipboard();
  MemoryClipboard().FailGet = BlockTypeClipboardFormat();
  Edit.UndoList().Clear();
  try {
    Edit.PasteFromClipboard();
    ADD_FAILURE() << "no exception";
  } catch (const ESrcEditError& e) {
    EXPECT_EQ("Clipboard paste operation failed.", e.Message());
  }
  EXPECT_EQ((Text{"keep me"}), Lines());
  EXPECT_FALSE(Edit.UndoList().CanUndo());
  EXPECT_EQ(0, Edit.UndoList().BlockCount());
}

TEST_F(SelTextTest, AnUnusablePrivateBlockFallsBackToThePlainText) {
  using namespace std::string_literals;
  struct Case {
    const char* Name;
    std::string Block;
    const char* Plain;  // nullptr: none on the clipboard
    Text After;
  } cases[] = {
      {"empty block", "", "plain", {"<plain>"}},
      {"unknown mode", "\x07text\0"s, "plain", {"<plain>"}},
      {"unknown mode, no plain text", "\x07text\0"s, nullptr, {"<sel>"}},
      {"no NUL: the block's size ends the text", "\x00"s + "abc", nullptr, {"<abc>"}},
      {"every byte up to the closing NUL", "\x00"s + "a\0b\0"s, "plain", {"<a\0b>"s}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines({"<sel>"});
    Select({2, 1}, {5, 1});
    Clipboard().Clear();
    Clipboard().SetData(BlockTypeClipboardFormat(), c.Block);
    if (c.Plain) Clipboard().SetData(CF_TEXT, std::string(c.Plain) + '\0');
    Edit.PasteFromClipboard();
    EXPECT_EQ(c.After, Lines());
  }
}

// A NUL byte is a byte of its line: cut and pasted back in each mode, by
// the private block or as another program's plain text, every byte
// arrives, and undo and redo go back and forth over the same bytes.
TEST_F(SelTextTest, NulBytesTravelWholeThroughTheClipboard) {
  using namespace std::string_literals;
  const Text before{"ab\0cd"s, "\0\0xyz"s, "end"};
  struct Case {
    const char* Name;
    TSrcSelectionMode Mode;
    TBufferCoord From;
    TBufferCoord To;
    Text Cut;
  } cases[] = {
      {"running text", smNormal, {2, 1}, {3, 2}, {"axyz", "end"}},
      {"whole lines", smLine, {1, 1}, {1, 2}, {"end"}},
      {"rectangle", smColumn, {2, 1}, {4, 2}, {"acd", "\0yz"s, "end"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines(before);
    Edit.ClearUndo();
    Edit.SetSelectionMode(c.Mode);
    Select(c.From, c.To);
    Run(ecCut);
    EXPECT_EQ(c.Cut, Lines());
    Goto(c.From.Char, c.From.Line);
    Run(ecPaste);
    EXPECT_EQ(before, Lines());
    for (int step = 0; step < 2; ++step) Edit.Undo();
    EXPECT_EQ(before, Lines());
    Edit.Redo();
    EXPECT_EQ(c.Cut, Lines());
    Edit.Redo();
    EXPECT_EQ(before, Lines());
  }
  SetLines({"<>"});
  Edit.SetSelectionMode(smNormal);
  Clipboard().SetAsText("p\0q\r\n\0"s);
  Goto(2, 1);
  Run(ecPaste);
  EXPECT_EQ((Text{"<p\0q"s, "\0>"s}), Lines());
}

// Text inserted in line mode arrives as whole lines, and undo takes back
// exactly those lines, whatever brought them (a block, plain text from
// another program, SelText), whatever the window's width, and also when
// nothing came.
TEST_F(SelTextTest, LineModeInsertionsArriveAsLinesAndUndoExactly) {
  using namespace std::string_literals;
  const auto plain = [](const std::string& text) {
    Clipboard().Clear();
    Clipboard().SetData(CF_TEXT, text + '\0');
  };
  const auto block = [](const std::string& text) {
    Clipboard().Clear();
    Clipboard().SetData(CF_TEXT, text + '\0');
    Clipboard().SetData(BlockTypeClipboardFormat(), '\x01' + text + '\0');
  };
  struct Case {
    const char* Name;
    Text Before;
    std::function<void()> Insert;
    Text After;
  } cases[] = {
      {"plain text with a break", {"abcd", "efgh", "ijkl"},
       [&] {
         plain("XY\r\n");
         Run(ecPaste);
       },
       {"abcd", "XY", "efgh", "ijkl"}},
      {"plain text without a break", {"a", "b", "c"},
       [&] {
         plain("xy");
         Run(ecPaste);
       },
       {"a", "xy", "b", "c"}},
      {"a block without a break", {"abcd", "efgh", "ijkl"},
       [&] {
         block("XY");
         Run(ecPaste);
       },
       {"abcd", "XY", "efgh", "ijkl"}},
      {"SelText", {"abcd", "efgh", "ijkl"}, [&] { Edit.SetSelText("XY\r\n"); }, {"abcd", "XY", "efgh", "ijkl"}},
      {"the last lines copied", {"l1", "l2", "l3"},
       [&] {
         Select({1, 2}, {1, 3});
         Run(ecCopy);
         Goto(1, 1);
         Run(ecPaste);
       },
       {"l2", "l3", "l1", "l2", "l3"}},
      {"over the last lines", {"a", "b", "c"},
       [&] {
         block("x\r\n");
         Select({1, 2}, {1, 3});
         Run(ecPaste);
       },
       {"a", "x"}},
      {"in a window narrower than a column", {"a", "b"},
       [&] {
         SizeTo(0, 25);
         block("x\r\n");
         Run(ecPaste);
       },
       {"a", "x", "b"}},
      {"an empty block", {"a", "b"},
       [&] {
         Clipboard().Clear();
         Clipboard().SetData(BlockTypeClipboardFormat(), "\x01\0"s);
         Run(ecPaste);
       },
       {"a", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SizeTo(80, 25);
    SetLines(c.Before);
    Edit.ClearUndo();
    Edit.SetSelectionMode(smLine);
    Goto(3, 2);
    c.Insert();
    EXPECT_EQ(c.After, Lines());
    while (Edit.CanUndo()) Edit.Undo();
    EXPECT_EQ(c.Before, Lines());
    while (Edit.CanRedo()) Edit.Redo();
    EXPECT_EQ(c.After, Lines());
  }
}

TEST_F(SelTextTest, LinesAreStoredWithoutTrailingBlanksWhenAsked) {
  SetLines({"one", "two"});
  Edit.ProperSetLine(0, "abc \t");
  SetOption(eoTrimTrailingSpaces, true);
  Edit.ProperSetLine(1, "abc \t");
  EXPECT_EQ((Text{"abc \t", "abc"}), Lines());
  EXPECT_EQ("", TrimTrailingBlanks(" \t "));
  Edit.SetCaretXY({1, 2});
  Edit.SetLineText("caret line");
  EXPECT_EQ("caret line", Edit.LineText());
  EXPECT_EQ("abc \t\r\ncaret line", Edit.SrcGetText());
}

}  // namespace
}  // namespace vk::test
