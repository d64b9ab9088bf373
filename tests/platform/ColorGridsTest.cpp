// The 16-colour grid: clicks pick the foreground and background, changes
// fire OnChange once, and the cells show their colours and marks.

#include <gtest/gtest.h>

#include <memory>

#include "platform/ColorGrids.h"
#include "platform/RasterCanvas.h"

namespace vk::test {
namespace {

TPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

struct TChanges {
  int Count = 0;
  void Change(TObject*) { ++Count; }
};

class ColorGridsTest : public testing::Test {
protected:
  ColorGridsTest() {
    Grid.SetBounds(0, 0, 80, 80);  // 20-pixel cells
    Grid.HandleNeeded();
    Grid.OnChange = TNotifyEvent(&Changes, &TChanges::Change);
  }
  // Presses and releases a button over the middle of a cell.
  void Click(uint32_t down, int cell) {
    TPoint at = Middle(Grid.CellRect(cell));
    Grid.Perform(down, 0, MakeLParam(at.X, at.Y));
    Grid.Perform(down + 1, 0, MakeLParam(at.X, at.Y));
  }
  TCColorGrid Grid{nullptr};
  TChanges Changes;
};

TEST_F(ColorGridsTest, LeftPicksTheForegroundRightAndMiddleTheBackground) {
  struct TCase {
    uint32_t Button;
    int Cell;
    int Foreground, Background, Changes;
  };
  const TCase cases[] = {
      {WM_LBUTTONDOWN, 9, 9, 15, 1},   // red
      {WM_RBUTTONDOWN, 11, 9, 11, 2},  // yellow
      {WM_MBUTTONDOWN, 4, 9, 4, 3},    // navy
      {WM_LBUTTONDOWN, 9, 9, 4, 3},    // the same again changes nothing
  };
  for (const TCase& test : cases) {
    Click(test.Button, test.Cell);
    EXPECT_EQ(Grid.ForegroundIndex(), test.Foreground) << test.Cell;
    EXPECT_EQ(Grid.BackgroundIndex(), test.Background) << test.Cell;
    EXPECT_EQ(Changes.Count, test.Changes) << test.Cell;
  }
  EXPECT_EQ(Grid.ForegroundColor(), clRed);
  EXPECT_EQ(Grid.BackgroundColor(), clNavy);
  EXPECT_EQ(Grid.CellAt(79, 79), 15);
  EXPECT_EQ(Grid.CellAt(80, 0), -1);
}

TEST_F(ColorGridsTest, CodeChangesFireOnChangeAndBadIndexesRaise) {
  Grid.SetForegroundIndex(8);
  Grid.SetForegroundIndex(8);
  Grid.SetBackgroundIndex(0);
  EXPECT_EQ(Changes.Count, 2);
  EXPECT_THROW(Grid.SetBackgroundIndex(16), EInvalidOperation);
  EXPECT_THROW(Grid.SetForegroundIndex(-1), EInvalidOperation);
  EXPECT_EQ(Grid.BackgroundIndex(), 0);
}

TEST_F(ColorGridsTest, AClickPicksADisabledColourOnlyWhenClicksEnableIt) {
  Grid.SetForegroundEnabled(false);
  Click(WM_LBUTTONDOWN, 3);
  EXPECT_EQ(Grid.ForegroundIndex(), 0);
  Grid.SetClickEnablesColor(true);
  Click(WM_LBUTTONDOWN, 3);
  EXPECT_EQ(Grid.ForegroundIndex(), 3);
  EXPECT_TRUE(Grid.ForegroundEnabled());
}

TEST_F(ColorGridsTest, CellsShowTheirColoursAndTheMarks) {
  auto owned = std::make_unique<TRasterCanvas>(80, 80);
  TRasterCanvas& canvas = *owned;
  Grid.SetCanvas(std::move(owned));
  Grid.SetForegroundIndex(9);
  Grid.SetBackgroundIndex(9);
  Grid.Repaint();
  EXPECT_EQ(canvas.PixelAt(2, 18), RGB(0, 0, 0));         // black
  EXPECT_EQ(canvas.PixelAt(70, 62), RGB(255, 255, 255));  // white
  EXPECT_EQ(canvas.PixelAt(21, 21), RGB(128, 0, 128));    // purple, inside its sunken edge
  EXPECT_EQ(canvas.PixelAt(20, 30), ColorToRGB(clBtnShadow));
  TRect red = Grid.CellRect(9);
  EXPECT_EQ(canvas.TextAt(Middle(red).Y), "FB");
  Grid.SetBackgroundIndex(0);
  Grid.Repaint();
  EXPECT_EQ(canvas.TextAt(Middle(red).Y), "FG");
  EXPECT_EQ(canvas.TextAt(10), "BG");
}

}  // namespace
}  // namespace vk::test
