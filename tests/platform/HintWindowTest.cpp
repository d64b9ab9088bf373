#include "platform/HintWindow.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/SystemMetrics.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

TEST(HintWindowTest, CalcHintRectWrapsAtSpaces) {
  test::TFontMetricsScope metrics({.CellWidth = 8, .CellHeight = 16});
  THintWindow hint(nullptr);
  struct {
    const char* Text;
    int MaxWidth;
    TRect Expected;
  } cases[] = {
      {"Top Line: 10", 200, Rect(0, 0, 12 * 8 + 6, 16 + 2)},
      {"Top Line: 10", 80, Rect(0, 0, 9 * 8 + 6, 2 * 16 + 2)},         // "Top Line:" / "10"
      {"Unbreakable", 16, Rect(0, 0, 11 * 8 + 6, 16 + 2)},             // a word is never cut
      {"one\ntwo three", 200, Rect(0, 0, 9 * 8 + 6, 2 * 16 + 2)},
      {"", 200, Rect(0, 0, 6, 16 + 2)},
  };
  for (const auto& c : cases) EXPECT_EQ(hint.CalcHintRect(c.MaxWidth, c.Text), c.Expected) << c.Text;
}

TEST(HintWindowTest, ActivateHintShowsTheTextOnTheScreen) {
  test::TFontMetricsScope metrics({.CellWidth = 8, .CellHeight = 16});
  SetScreenSize(800, 600);
  THintWindow hint(nullptr);
  EXPECT_FALSE(hint.Visible());
  EXPECT_EQ(hint.Color(), clInfoBk);
  hint.ActivateHint(Rect(100, 50, 200, 68), "Top Line: 5");
  EXPECT_TRUE(hint.Visible());
  EXPECT_TRUE(hint.HandleAllocated());
  EXPECT_EQ(hint.Text(), "Top Line: 5");
  EXPECT_EQ(hint.BoundsRect(), Rect(100, 50, 200, 68));
  hint.ActivateHint(Rect(750, 590, 850, 608), "x");
  EXPECT_EQ(hint.BoundsRect(), Rect(700, 582, 800, 600));
  hint.ReleaseHint();
  EXPECT_FALSE(hint.Visible());
  EXPECT_FALSE(hint.CanFocus());
  SetScreenSize(1024, 768);
}

TEST(HintWindowTest, TheSharedHintWindowIsMadeOnceFromTheHintWindowClass) {
  static int made = 0;
  SetHintWindowClass([](TComponent* owner) -> THintWindow* {
    ++made;
    return new THintWindow(owner);
  });
  THintWindow& shared = SharedHintWindow();
  EXPECT_EQ(&SharedHintWindow(), &shared);
  EXPECT_EQ(shared.Owner(), &Application());
  EXPECT_LE(made, 1);
  SetHintWindowClass(nullptr);
}

}  // namespace
}  // namespace vk
