#include "platform/ScrollBars.h"

#include <gtest/gtest.h>

#include "platform/Controls.h"

namespace vk {
namespace {

TScrollInfo Info(uint32_t mask, int low, int high, uint32_t page, int pos) {
  TScrollInfo info;
  info.fMask = mask;
  info.nMin = low;
  info.nMax = high;
  info.nPage = page;
  info.nPos = pos;
  return info;
}

TEST(ScrollBarsTest, SetScrollInfoClampsAsTheSystemDoes) {
  struct {
    const char* Name;
    TScrollInfo Info;
    TScrollBarState Expected;
  } cases[] = {
      {"in range", Info(SIF_ALL, 1, 100, 10, 50), {1, 100, 10, 50, 50, true, ESB_ENABLE_BOTH}},
      {"pos stops a page before the end", Info(SIF_ALL, 1, 100, 10, 95), {1, 100, 10, 91, 91, true, ESB_ENABLE_BOTH}},
      {"pos below the range", Info(SIF_ALL, 1, 100, 10, -4), {1, 100, 10, 1, 1, true, ESB_ENABLE_BOTH}},
      {"page cut to the range", Info(SIF_ALL, 1, 10, 50, 5), {1, 10, 10, 1, 1, false, ESB_ENABLE_BOTH}},
      {"reversed range", Info(SIF_ALL, 10, 1, 0, 5), {0, 0, 0, 0, 0, false, ESB_ENABLE_BOTH}},
      {"whole range shown, disabled instead",
       Info(SIF_ALL | SIF_DISABLENOSCROLL, 1, 30, 30, 1), {1, 30, 30, 1, 1, true, ESB_DISABLE_BOTH}},
      {"page alone shows nothing", Info(SIF_PAGE, 0, 0, 10, 0), {0, 100, 10, 0, 0, false, ESB_ENABLE_BOTH}},
  };
  for (const auto& c : cases) {
    TWinControl control(nullptr);
    control.HandleNeeded();
    ShowScrollBar(control, SB_VERT, c.Expected.Visible && c.Info.fMask == (SIF_ALL | SIF_DISABLENOSCROLL));
    EXPECT_EQ(SetScrollInfo(control, SB_VERT, c.Info, true), c.Expected.Pos) << c.Name;
    EXPECT_EQ(control.ScrollBar(SB_VERT), c.Expected) << c.Name;
    EXPECT_EQ(control.ScrollBar(SB_HORZ), TScrollBarState{}) << c.Name;
  }
}

TEST(ScrollBarsTest, RangeChangesShowAndHideTheBar) {
  TWinControl control(nullptr);
  control.SetBounds(0, 0, 100, 100);
  control.HandleNeeded();
  SetScrollInfo(control, SB_HORZ, Info(SIF_ALL, 1, 200, 80, 1), true);
  EXPECT_TRUE(control.ScrollBar(SB_HORZ).Visible);
  EXPECT_EQ(control.ClientHeight(), 83);
  // The same values again change nothing, also not an explicit hiding.
  ShowScrollBar(control, SB_HORZ, false);
  SetScrollInfo(control, SB_HORZ, Info(SIF_ALL, 1, 200, 80, 1), true);
  EXPECT_FALSE(control.ScrollBar(SB_HORZ).Visible);
  SetScrollInfo(control, SB_HORZ, Info(SIF_ALL, 1, 300, 80, 1), true);
  EXPECT_TRUE(control.ScrollBar(SB_HORZ).Visible);
  SetScrollInfo(control, SB_HORZ, Info(SIF_ALL, 1, 50, 80, 1), true);
  EXPECT_FALSE(control.ScrollBar(SB_HORZ).Visible);
  EXPECT_EQ(control.ClientHeight(), 100);

  // A position alone is clamped by the range and page in place.
  SetScrollInfo(control, SB_HORZ, Info(SIF_ALL, 0, 99, 10, 0), true);
  EXPECT_EQ(SetScrollInfo(control, SB_HORZ, Info(SIF_POS, 0, 0, 0, 1000), true), 90);
  TScrollInfo read;
  read.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(control, SB_HORZ, read));
  EXPECT_EQ(read.nMin, 0);
  EXPECT_EQ(read.nMax, 99);
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(read.nPos, 90);
  EXPECT_EQ(read.nTrackPos, 90);
  SetScrollTrackPos(control, SB_HORZ, 500);
  ASSERT_TRUE(GetScrollInfo(control, SB_HORZ, read));
  EXPECT_EQ(read.nTrackPos, 99);
  EXPECT_FALSE(GetScrollInfo(control, 7, read));
}

TEST(ScrollBarsTest, ArrowsAreEnabledPerBar) {
  TWinControl control(nullptr);
  control.HandleNeeded();
  EXPECT_TRUE(EnableScrollBar(control, SB_VERT, ESB_DISABLE_UP));
  EXPECT_FALSE(EnableScrollBar(control, SB_VERT, ESB_DISABLE_UP));
  EXPECT_EQ(control.ScrollBar(SB_VERT).Arrows, ESB_DISABLE_UP);
  EXPECT_EQ(control.ScrollBar(SB_HORZ).Arrows, ESB_ENABLE_BOTH);
  EXPECT_TRUE(EnableScrollBar(control, SB_BOTH, ESB_DISABLE_BOTH));
  EXPECT_EQ(control.ScrollBar(SB_HORZ).Arrows, ESB_DISABLE_BOTH);
  // A new window starts afresh.
  control.RecreateWnd();
  EXPECT_EQ(control.ScrollBar(SB_VERT), TScrollBarState{});
}

}  // namespace
}  // namespace vk
