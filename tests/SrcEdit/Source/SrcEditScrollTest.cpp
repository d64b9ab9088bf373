#include <climits>
#include <string>
#include <vector>

#include "platform/Caret.h"
#include "platform/HintWindow.h"
#include "platform/SystemMetrics.h"
#include "platform/Timers.h"
#include "tests/SrcEdit/Source/EditorFixture.h"

namespace vk::test {
namespace {

class ScrollTest : public EditorTest {
protected:
  void SetLineCount(int count, const std::string& text = "text") { SetLines(std::vector<std::string>(count, text)); }
  void Scroll(uint32_t message, int code, int position = 0) {
    Edit.Perform(message, static_cast<uintptr_t>((code & 0xFFFF) | ((position & 0xFFFF) << 16)));
  }
  void Wheel(int delta) { Edit.Perform(WM_MOUSEWHEEL, static_cast<uintptr_t>((delta & 0xFFFF) << 16)); }
  // The pointer at a client position.
  void PointAt(int x, int y) {
    TPoint screen = Edit.ClientToScreen({x, y});
    SetCursorPos(screen.X, screen.Y);
  }
};

struct ScrollCounter {
  int Count = 0;
  void Scrolled(TObject*, TScrollBarKind) { ++Count; }
};

TEST_F(ScrollTest, TheBarsShowTheTextAndTheView) {
  struct Case {
    const char* Name;
    int Lines;
    std::vector<TSrcEditorOption> Options;
    int Max;
    unsigned Page;
    bool Visible;
    unsigned Arrows;
  } cases[] = {
      {"all rows shown: arrows off", 10, {}, 10, 10, true, ESB_DISABLE_BOTH},
      {"all rows shown, bars that hide", 10, {eoHideShowScrollbars}, 10, 10, false, ESB_DISABLE_BOTH},
      {"more rows than the window", 100, {}, 100, 25, true, ESB_ENABLE_BOTH},
      {"scrolling past the end", 100, {eoScrollPastEof}, 124, 25, true, ESB_ENABLE_BOTH},
      {"arrows that cannot move are off", 100, {eoDisableScrollArrows}, 100, 25, true, ESB_DISABLE_UP},
      {"more rows than a bar counts", 40000, {}, 32767, 20, true, ESB_ENABLE_BOTH},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.SetOptions(TSrcEditorOptions::FromMask(SRCEDIT_DEFAULT_OPTIONS));
    for (TSrcEditorOption option : c.Options) SetOption(option, true);
    SetLineCount(c.Lines);
    const TScrollBarState& bar = Edit.ScrollBar(SB_VERT);
    EXPECT_EQ(c.Lines > 0x7FFF ? 0 : 1, bar.Min);
    EXPECT_EQ(c.Max, bar.Max);
    EXPECT_EQ(c.Page, bar.Page);
    EXPECT_EQ(c.Visible, bar.Visible);
    EXPECT_EQ(c.Arrows, bar.Arrows);
  }
  // Dragging the scaled thumb to its end shows the last rows.
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 0x7FFF);
  EXPECT_EQ(40000 - 25 + 1, Edit.TopLine());
  EXPECT_TRUE(Edit.IsScrolling());
  Scroll(WM_VSCROLL, SB_ENDSCROLL);
  EXPECT_FALSE(Edit.IsScrolling());
  // Horizontally the range is the scroll width while the caret may pass
  // the line ends.
  EXPECT_EQ(1024, Edit.ScrollBar(SB_HORZ).Max);
  EXPECT_EQ(80u, Edit.ScrollBar(SB_HORZ).Page);
}

TEST_F(ScrollTest, ScrollMessagesMoveTheViewWithinItsLimits) {
  SetLineCount(200, std::string(300, 'x'));
  ScrollCounter scrolls;
  Edit.OnScroll = TScrollEvent(&scrolls, &ScrollCounter::Scrolled);
  struct Case {
    uint32_t Message;
    int Code;
    int Position;
    bool ByOneLess;
    int Expected;  // TopLine or LeftChar, from 50
  } cases[] = {
      {WM_VSCROLL, SB_LINEUP, 0, false, 49},      {WM_VSCROLL, SB_LINEDOWN, 0, false, 51},
      {WM_VSCROLL, SB_PAGEUP, 0, false, 25},      {WM_VSCROLL, SB_PAGEDOWN, 0, true, 74},
      {WM_VSCROLL, SB_THUMBTRACK, 120, false, 120}, {WM_VSCROLL, SB_TOP, 0, false, 1},
      {WM_VSCROLL, SB_BOTTOM, 0, false, 176},     {WM_HSCROLL, SB_LINELEFT, 0, false, 49},
      {WM_HSCROLL, SB_PAGERIGHT, 0, false, 130},  {WM_HSCROLL, SB_PAGELEFT, 0, true, 1},
      {WM_HSCROLL, SB_THUMBPOSITION, 600, false, 600}, {WM_HSCROLL, SB_RIGHT, 0, false, 1024 - 80 + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Message) + " code " + std::to_string(c.Code));
    SetOption(eoScrollByOneLess, c.ByOneLess);
    Edit.SetTopLine(50);
    Edit.SetLeftChar(50);
    scrolls.Count = 0;
    Scroll(c.Message, c.Code, c.Position);
    EXPECT_EQ(c.Expected, c.Message == WM_VSCROLL ? Edit.TopLine() : Edit.LeftChar());
    EXPECT_EQ(1, scrolls.Count);
  }
  // Without scrolling past the end: the top line stops a window before it.
  Edit.SetTopLine(1000);
  EXPECT_EQ(176, Edit.TopLine());
  SetOption(eoScrollPastEof, true);
  Edit.SetTopLine(1000);
  EXPECT_EQ(200, Edit.TopLine());
  Edit.SetTopLine(-5);
  EXPECT_EQ(1, Edit.TopLine());
  // A smaller window re-applies the limits.
  SetOption(eoScrollPastEof, false);
  Edit.SetTopLine(176);
  SizeTo(40, 10);
  EXPECT_EQ(40, Edit.ColumnsInWindow());
  EXPECT_EQ(10, Edit.RowsInWindow());
  SizeTo(80, 50);
  EXPECT_EQ(151, Edit.TopLine());
}

TEST_F(ScrollTest, WheelDeltasAddUpToWholeNotches) {
  SetLineCount(200);
  struct Case {
    const char* Name;
    int Delta;
    bool Ctrl;
    bool HalfPage;
    int Expected;  // TopLine, from 50
  } cases[] = {
      {"half a notch", 60, false, false, 50},  {"the other half", 60, false, false, 47},
      {"a notch down", -120, false, false, 53}, {"two notches", 240, false, false, 44},
      {"Ctrl: a page", -120, true, false, 75}, {"Ctrl: half a page", -120, true, true, 62},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetOption(eoHalfPageScroll, c.HalfPage);
    SetKeyDown(VK_CONTROL, c.Ctrl);
    Edit.SetTopLine(50);
    Wheel(c.Delta);
    EXPECT_EQ(c.Expected, Edit.TopLine());
  }
  SetKeyDown(VK_CONTROL, false);
  // A page setting scrolls a window's rows.
  SetWheelScrollLines(-1);
  Edit.SetTopLine(50);
  Wheel(-120);
  EXPECT_EQ(75, Edit.TopLine());
  SetWheelScrollLines(3);
}

TEST_F(ScrollTest, TheDragTimerScrollsAndExtendsTheSelectionUntilThePointerIsBack) {
  SetLineCount(200, "abcdef");
  Edit.SetCaretXY({1, 1});
  Edit.SetMouseCapture(true);
  const int x = Edit.GutterWidth() + 2 + Edit.CellWidth() + 1;  // column 2
  const int below = 25 * Edit.RowHeight() + 3;
  PointAt(x, below);
  Edit.ComputeScroll(x, below);
  ASSERT_TRUE(Edit.ScrollTimer().Enabled());

  AdvanceTimers(100);
  EXPECT_EQ(2, Edit.TopLine());
  EXPECT_EQ((TBufferCoord{2, 26}), Edit.CaretXY());
  EXPECT_EQ((TBufferCoord{1, 1}), Edit.BlockBegin());
  EXPECT_EQ((TBufferCoord{2, 26}), Edit.BlockEnd());
  AdvanceTimers(300);
  EXPECT_EQ(5, Edit.TopLine());
  // With Shift a page per tick.
  SetKeyDown(VK_SHIFT, true);
  AdvanceTimers(100);
  EXPECT_EQ(30, Edit.TopLine());
  EXPECT_EQ((TBufferCoord{2, 54}), Edit.BlockEnd());
  SetKeyDown(VK_SHIFT, false);
  // Back inside the text, the next tick makes its step and stops.
  PointAt(x, 5);
  AdvanceTimers(100);
  EXPECT_FALSE(Edit.ScrollTimer().Enabled());
  EXPECT_EQ(31, Edit.TopLine());
  AdvanceTimers(500);
  EXPECT_EQ(31, Edit.TopLine());
  // Without the capture nothing drives it.
  Edit.SetMouseCapture(false);
  Edit.ComputeScroll(x, below);
  EXPECT_FALSE(Edit.ScrollTimer().Enabled());
}

TEST_F(ScrollTest, TheCaretIsKeptInViewOrCentred) {
  SetLineCount(200, std::string(300, 'x'));
  struct Case {
    const char* Name;
    int Row;
    bool Centre;
    int TopLine;  // from 50, rows 50..74 shown
  } cases[] = {
      {"inside", 60, false, 50},           {"above", 20, false, 20},
      {"below", 100, false, 76},           {"centred: inside", 60, true, 50},
      {"centred: just above", 49, true, 38}, {"centred: last row", 74, true, 62},
      {"centred: just below", 75, true, 63}, {"centred: near the top", 5, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit.SetTopLine(50);
    Edit.SetCaretXYEx(false, {1, c.Row});
    Edit.EnsureCursorPosVisibleEx(c.Centre);
    EXPECT_EQ(c.TopLine, Edit.TopLine());
    EXPECT_TRUE(Edit.CaretInView());
  }
  Edit.SetCaretXY({200, 1});
  EXPECT_EQ(200 - 80 + 1, Edit.LeftChar());
  Edit.SetCaretXY({100, 1});
  EXPECT_EQ(100, Edit.LeftChar());
}

TEST_F(ScrollTest, TheCaretTakesItsShapeAndHidesOverTheGutter) {
  SetLineCount(5, "some text");
  Edit.SetExtraLineSpacing(17 - Edit.RowHeight() + Edit.ExtraLineSpacing());
  ASSERT_EQ(17, Edit.RowHeight());
  const int cell = Edit.CellWidth();
  struct Case {
    TSrcEditCaretType Type;
    int Width;
    int Height;
    TPoint Offset;
  } cases[] = {{ctVerticalLine, 2, 15, {-1, 0}},
               {ctHorizontalLine, cell, 2, {0, 15}},
               {ctHalfBlock, cell, 7, {0, 7}},
               {ctBlock, cell, 15, {0, 0}}};
  Edit.SetAlwaysShowCaret(true);
  for (bool insert : {true, false}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::to_string(c.Type) + (insert ? " insert" : " overwrite"));
      Edit.SetInsertMode(insert);
      Edit.SetInsertCaret(insert ? c.Type : ctBlock);
      Edit.SetOverwriteCaret(insert ? ctBlock : c.Type);
      const TCaretState& caret = CaretState();
      EXPECT_EQ(&Edit, caret.Owner);
      EXPECT_EQ(c.Width, caret.Width);
      EXPECT_EQ(c.Height, caret.Height);
      EXPECT_EQ((TPoint{Edit.TextOrigin() + c.Offset.X, c.Offset.Y + 1}), caret.Pos);
      EXPECT_TRUE(caret.Visible());
    }
  }
  // Scrolled right, a caret left of the view would sit over the gutter.
  Edit.SetLeftChar(5);
  Edit.SetCaretXYEx(false, {2, 1});
  EXPECT_FALSE(CaretState().Visible());
  Edit.SetAlwaysShowCaret(false);
}

TEST_F(ScrollTest, DegenerateSizesAreClampedInsteadOfDividingByZero) {
  Edit.SetExtraLineSpacing(-1000);
  EXPECT_EQ(1, Edit.RowHeight());
  EXPECT_EQ(Edit.ClientHeight(), Edit.RowsInWindow());
  EXPECT_EQ(5, Edit.PixelsToRowColumn(0, 4).Row);
  {
    TFontMetricsScope noWidth({0, 16});
    TSrcEdit edit(nullptr);
    edit.HandleNeeded();
    TFont font;
    font.Assign(edit.GetFont());
    font.SetSize(37);  // measured afresh, not taken from the font cache
    edit.SetFont(font);
    EXPECT_EQ(1, edit.CellWidth());
    EXPECT_EQ(1, edit.PixelsToNearestRowColumn(edit.GutterWidth() + 2, 0).Column);
  }
  struct Case {
    int Value;
    int TabWidth;
    int MaxScrollWidth;
  } cases[] = {{0, 1, 1}, {-3, 1, 1}, {1000, 256, 1000}, {INT_MAX, 256, 0x7FFFFFFE}};
  for (const auto& c : cases) {
    Edit.SetTabWidth(c.Value);
    Edit.SetMaxScrollWidth(c.Value);
    EXPECT_EQ(c.TabWidth, Edit.TabWidth()) << c.Value;
    EXPECT_EQ(c.TabWidth, Edit.Lines().TabWidth()) << c.Value;
    EXPECT_EQ(c.MaxScrollWidth, Edit.MaxScrollWidth()) << c.Value;
  }
  // The widest scroll range: the view's sums stay inside 32 bits.
  SetOption(eoAutoSizeMaxScrollWidth, true);
  Edit.SetLeftChar(INT_MAX);
  EXPECT_EQ(INT_MAX - Edit.ColumnsInWindow(), Edit.LeftChar());
  EXPECT_EQ(0x7FFFFFFE, Edit.MaxScrollWidth());
}

TEST_F(ScrollTest, TheScrollHintNamesTheLinesShown) {
  SetLineCount(10);
  struct Case {
    TScrollHintFormat Format;
    const char* Text;
  } cases[] = {{shfTopLineOnly, "Top Line: 1"}, {shfTopToBottom, "1 - 10"}};
  for (const auto& c : cases) {
    Edit.SetScrollHintFormat(c.Format);
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 1);
    EXPECT_TRUE(SharedHintWindow().Visible());
    EXPECT_EQ(c.Text, SharedHintWindow().Text());
    EXPECT_EQ(Edit.ScrollHintColor(), SharedHintWindow().Color());
    Scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(SharedHintWindow().Visible());
  }
}

}  // namespace
}  // namespace vk::test
