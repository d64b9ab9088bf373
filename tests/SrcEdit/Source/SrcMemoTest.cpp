#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcMemo.h"
#include "platform/StringLists.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk::test {
namespace {

using Text = std::vector<std::string>;

class MemoTest : public ::testing::Test {
protected:
  MemoTest() {
    Memo.HandleNeeded();
    Memo.SetBounds(0, 0, 400, 300);
  }

  void SetLines(const Text& lines) {
    TStringsUpdate update(Memo.Lines());
    Memo.Lines().Clear();
    for (const std::string& line : lines) Memo.Lines().Add(line);
  }
  Text Lines() const {
    Text lines;
    for (int i = 0; i < Memo.Lines().Count(); ++i) lines.push_back(Memo.Lines().Get(i));
    return lines;
  }
  intptr_t Send(uint32_t msg, uintptr_t wParam = 0, intptr_t lParam = 0) { return Memo.Perform(msg, wParam, lParam); }
  template <class T>
  static intptr_t Address(T* p) {
    return reinterpret_cast<intptr_t>(p);
  }
  intptr_t ReplaceSel(bool canUndo, const char* text) { return Send(EM_REPLACESEL, canUndo ? 1 : 0, Address(text)); }

  TFontMetricsScope FMetrics;
  TSrcMemo Memo{nullptr};
};

TEST_F(MemoTest, CountsAndCopiesLines) {
  char buffer[16];
  auto getLine = [&](intptr_t index, uint16_t size) {
    std::memset(buffer, '#', sizeof buffer);
    std::memcpy(buffer, &size, sizeof size);
    return Send(EM_GETLINE, static_cast<uintptr_t>(index), Address(buffer));
  };
  EXPECT_EQ(Send(EM_GETLINECOUNT), 0);
  EXPECT_EQ(getLine(0, 10), 0);

  SetLines({"ab", "cdefgh"});
  EXPECT_EQ(Send(EM_GETLINECOUNT), 2);
  struct Case {
    intptr_t Index;
    uint16_t Size;
    intptr_t Copied;
    std::string Buffer;  // the bytes the size allows, and the one after
  } cases[] = {
      {1, 10, 6, std::string("cdefgh\0##", 9)},
      {1, 7, 6, std::string("cdefgh\0#", 8)},
      // A buffer too small for the line holds what fits and its zero.
      {1, 4, 3, std::string("cde\0#", 5)},
      // The size's high byte follows the closing zero.
      {0, 1, 0, std::string("\0\0#", 3)},
      {-1, 10, 0, std::string("\x0A\0##", 4)},
      {2, 10, 0, std::string("\x0A\0##", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Index * 100 + c.Size);
    EXPECT_EQ(getLine(c.Index, c.Size), c.Copied);
    EXPECT_EQ(std::string(buffer, c.Buffer.size()), c.Buffer);
  }
  // A size of 0 leaves the buffer as it is.
  EXPECT_EQ(getLine(0, 0), 0);
  EXPECT_EQ(std::string(buffer, 4), std::string("\0\0##", 4));
  EXPECT_EQ(Send(EM_GETLINE, 0, 0), 0);
}

TEST_F(MemoTest, ReadsAndSetsTheSelectionByCharacterIndex) {
  SetLines({"ab", "cd"});
  Memo.SetCaretXY({1, 2});
  int32_t start = -1;
  int32_t end = -1;
  EXPECT_EQ(Send(EM_GETSEL, static_cast<uintptr_t>(Address(&start)), Address(&end)), MakeLong(4, 4));
  EXPECT_EQ(start, 4);
  EXPECT_EQ(end, 4);

  Send(EM_SETSEL, 1, 5);
  EXPECT_EQ(Memo.SelText(), "b\r\nc");
  EXPECT_EQ(Send(EM_GETSEL), MakeLong(1, 5));
  Send(EM_GETSEL, 0, Address(&end));
  EXPECT_EQ(end, 5);
}

TEST_F(MemoTest, BothHalvesOfALongKeepTheirLow16Bits) {
  EXPECT_EQ(MakeLong(4, 6), 0x00060004);
  EXPECT_EQ(MakeLong(0x12345, 0x10001), 0x00012345);
  SetLines(Text(700, std::string(98, 'x')));  // 100 indexes a line
  Send(EM_SETSEL, 65537, 65539);
  EXPECT_EQ(Send(EM_GETSEL), MakeLong(1, 3));
}

TEST_F(MemoTest, CopiesTheSelectedTextIntoABoundedBuffer) {
  SetLines({"ab", "cd"});
  Send(EM_SETSEL, 1, 5);
  char buffer[8];
  auto getSelText = [&](uintptr_t size) {
    std::memset(buffer, '#', sizeof buffer);
    return Send(EM_GETSELTEXT, size, Address(buffer));
  };
  EXPECT_EQ(getSelText(8), 4);
  EXPECT_EQ(std::string(buffer, 6), std::string("b\r\nc\0#", 6));
  EXPECT_EQ(getSelText(3), 4);
  EXPECT_EQ(std::string(buffer, 4), std::string("b\r\0#", 4));
  EXPECT_EQ(getSelText(0), 4);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(Send(EM_GETSELTEXT, 8, 0), 0);
}

TEST_F(MemoTest, AReplacementIsUndoneInOneStepWhenAskedFor) {
  SetLines({"abc", "def"});
  Send(EM_SETSEL, 1, 6);  // "bc\r\nd"
  ReplaceSel(true, "X\r\nY");
  EXPECT_EQ(Lines(), (Text{"aX", "Yef"}));
  EXPECT_EQ(Memo.CaretXY(), (TBufferCoord{2, 2}));
  EXPECT_EQ(Send(EM_CANUNDO), 1);
  EXPECT_EQ(Send(EM_UNDO), 1);
  EXPECT_EQ(Lines(), (Text{"abc", "def"}));
  EXPECT_EQ(Send(EM_CANUNDO), 0);
  EXPECT_EQ(Send(EM_UNDO), 0);

  // Without a selection the text goes in at the caret.
  Memo.SetCaretXY({2, 2});
  ReplaceSel(true, "12");
  EXPECT_EQ(Lines(), (Text{"abc", "d12ef"}));
  Send(EM_UNDO);
  EXPECT_EQ(Lines(), (Text{"abc", "def"}));
}

// A replacement that cannot be undone also ends the history before it:
// nothing older is replayed against the new text, and the text counts as
// changed.
TEST_F(MemoTest, AReplacementWithoutUndoLeavesNoHistory) {
  struct Case {
    const char* Name;
    std::function<void()> History;
    Text After;
  } cases[] = {
      {"no history", [] {}, {"Z"}},
      {"an undoable replacement before", [&] { ReplaceSel(true, "\r\n"); }, {"Z"}},
      {"an undone replacement before",
       [&] {
         ReplaceSel(true, "12");
         Send(EM_UNDO);
       },
       {"Z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetLines({});
    Memo.ClearUndo();
    Memo.SetModified(false);
    c.History();
    Send(EM_SETSEL, 0, 100);
    ReplaceSel(false, "Z");
    EXPECT_EQ(Lines(), c.After);
    EXPECT_EQ(Send(EM_CANUNDO), 0);
    EXPECT_EQ(Send(EM_UNDO), 0);
    Memo.Redo();
    EXPECT_EQ(Lines(), c.After);
    EXPECT_EQ(Send(EM_GETMODIFY), 1);
  }
}

TEST_F(MemoTest, AReadOnlyMemoIsNotReplacedInto) {
  SetLines({"abc"});
  Send(EM_SETSEL, 0, 2);
  Memo.SetReadOnly(true);
  ReplaceSel(true, "Z");
  EXPECT_EQ(Lines(), Text{"abc"});
  EXPECT_EQ(Memo.UndoList().ItemCount(), 0);
  EXPECT_EQ(Send(EM_UNDO), 0);
}

TEST_F(MemoTest, TellsTheFirstVisibleLine) {
  SetLines(Text(200, "line"));
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 0);
  Memo.SetTopLine(31);
  EXPECT_EQ(Send(EM_GETFIRSTVISIBLELINE), 30);
}

TEST_F(MemoTest, FindsTheCharacterUnderAPoint) {
  SetLines({"ab", "cd"});
  auto at = [&](int column, int row) {
    const TPoint p = Memo.RowColumnToPixels({column, row});
    return Send(EM_CHARFROMPOS, 0, MakeLong(p.X + 1, p.Y + 1));
  };
  EXPECT_EQ(at(1, 1), MakeLong(0, 0));
  EXPECT_EQ(at(2, 2), MakeLong(5, 1));
  EXPECT_EQ(at(20, 2), MakeLong(6, 1));  // right of the line's end
  EXPECT_EQ(at(20, 1), MakeLong(2, 0));
  EXPECT_EQ(at(3, 9), MakeLong(6, 1));   // below the text: its end
  EXPECT_EQ(Send(EM_CHARFROMPOS, 0, MakeLong(0, 0)), MakeLong(0, 0));  // in the gutter
  SetLines({});
  EXPECT_EQ(at(4, 4), MakeLong(0, 0));
}

}  // namespace
}  // namespace vk::test
