#include "SrcEdit/Source/SrcTextDrawer.h"

#include <gtest/gtest.h>

#include "platform/RasterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using test::TFontMetricsScope;

const TFixedFontMetrics::TConfig Cells{.CellWidth = 8, .CellHeight = 16, .BoldOverhang = 1, .ItalicOverhang = 2};

// Style variants of a record that have a font object now.
int LiveVariants(const TheSharedFontsInfo* info) {
  int count = 0;
  for (const TheFontData& data : info->StyleData) count += data.Handle != 0;
  return count;
}

class SrcTextDrawerTest : public testing::Test {
protected:
  TFontMetricsScope FMetrics{Cells};
  int FRecordsBefore = GetFontsInfoManager().RecordCount();
  int FFontsBefore = LiveFontCount();
  void TearDown() override {
    EXPECT_EQ(GetFontsInfoManager().RecordCount(), FRecordsBefore);
    EXPECT_EQ(LiveFontCount(), FFontsBefore);
  }
};

TEST_F(SrcTextDrawerTest, DrawersWithTheSameFontShareOneRecord) {
  TFont regular, sameAgain, bold, italic;
  regular.SetName("Courier New");
  sameAgain.SetName("Courier New");
  bold.SetName("Courier New");
  bold.SetStyle({fsBold});
  italic.SetName("Courier New");
  italic.SetStyle({fsItalic, fsUnderline, fsStrikeOut});
  auto first = std::make_unique<TheTextDrawer>(TFontStyles{fsBold}, &regular);
  TheTextDrawer second(TFontStyles{fsBold}, &sameAgain);
  TheTextDrawer third(TFontStyles{fsBold}, &bold);
  TheTextDrawer fourth(TFontStyles{fsBold}, &italic);
  TheSharedFontsInfo* shared = first->Stock().SharedInfo();
  EXPECT_EQ(second.Stock().SharedInfo(), shared);
  // Italic, underline and strike-out do not count for the comparison...
  EXPECT_EQ(fourth.Stock().SharedInfo(), shared);
  EXPECT_EQ(shared->HolderCount, 3);
  // ...the weight does.
  EXPECT_NE(third.Stock().SharedInfo(), shared);
  EXPECT_EQ(third.Stock().SharedInfo()->HolderCount, 1);
  EXPECT_EQ(GetFontsInfoManager().RecordCount(), FRecordsBefore + 2);
  EXPECT_EQ(shared->BaseFont->Name(), "Courier New");
  first.reset();
  EXPECT_EQ(shared->HolderCount, 2);
}

TEST_F(SrcTextDrawerTest, StyleVariantsAreMadeOnFirstUseOnly) {
  TFont font;
  TheTextDrawer drawer(TFontStyles{fsBold}, &font);
  TheSharedFontsInfo* info = drawer.Stock().SharedInfo();
  EXPECT_EQ(LiveVariants(info), 2);  // the base style and the font's own
  int fonts = LiveFontCount();
  drawer.SetStyle({fsItalic});
  EXPECT_EQ(LiveVariants(info), 3);
  EXPECT_EQ(LiveFontCount(), fonts + 1);
  drawer.SetStyle({fsItalic});
  drawer.SetStyle({});
  TheTextDrawer other(TFontStyles{fsBold}, &font);
  other.SetStyle({fsItalic});
  EXPECT_EQ(LiveFontCount(), fonts + 1);
  EXPECT_EQ(other.CurrentFont(), drawer.Stock().GetFontData(TFontStyles{fsItalic}.Mask())->Handle);
}

TEST_F(SrcTextDrawerTest, CellSizeComesFromTheBaseStyle) {
  struct Case {
    const char* Name;
    TFixedFontMetrics::TConfig Metrics;
    TFontStyles BaseStyle;
    int Extra;
    int Width;
  };
  const Case cases[] = {
      {"regular", Cells, {}, 0, 8},
      {"bold overhang", Cells, {fsBold}, 0, 9},
      {"bold italic", Cells, {fsBold, fsItalic}, 0, 11},
      {"character extra", Cells, {fsBold}, 3, 12},
      {"bitmap font ignores the overhang", {.CellWidth = 7, .BoldOverhang = 1, .HasABCWidths = false}, {fsBold}, 0, 7},
  };
  for (const Case& c : cases) {
    TFontMetricsScope metrics(c.Metrics);
    TFont font;
    TheTextDrawer drawer(c.BaseStyle, &font);
    drawer.SetCharExtra(c.Extra);
    EXPECT_EQ(drawer.GetCharWidth(), c.Width) << c.Name;
    EXPECT_EQ(drawer.GetCharHeight(), c.Metrics.CellHeight) << c.Name;
  }
  TFont font;
  TheTextDrawer drawer({}, &font);
  drawer.SetBaseStyle({fsItalic});
  EXPECT_EQ(drawer.GetCharWidth(), 10);
}

TEST_F(SrcTextDrawerTest, DoubleByteAdvanceIsMeasuredForShiftJisOnly) {
  struct Case {
    uint8_t Charset;
    int DBCharAdvance;
  };
  const Case cases[] = {{SHIFTJIS_CHARSET, 16}, {HANGEUL_CHARSET, NoDBCharAdvance}, {ANSI_CHARSET, 0}};
  for (const Case& c : cases) {
    TFont font;
    font.SetCharset(c.Charset);
    TheFontStock stock(&font);
    EXPECT_EQ(stock.DBCharAdvance(), c.DBCharAdvance) << int(c.Charset);
  }
}

TEST_F(SrcTextDrawerTest, NestedDrawingBindsAndRestoresOnce) {
  TFont font;
  TheTextDrawer drawer(TFontStyles{fsBold}, &font);
  TRecordingCanvas canvas;
  drawer.SetForeColor(clRed);  // not drawing: stored only
  drawer.BeginDrawing(&canvas);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"SaveDC 1", Format("SelectFont %u", drawer.CurrentFont()),
                                                    "SetTextColor $000000FF", "SetBkColor $00FFFFFF",
                                                    "SetTextCharacterExtra 0"}));
  canvas.ClearLog();
  drawer.BeginDrawing(&canvas);
  EXPECT_TRUE(canvas.Log().empty());
  EXPECT_EQ(drawer.DrawDepth(), 2);
  drawer.EndDrawing();
  EXPECT_TRUE(canvas.Log().empty());
  drawer.SetBackColor(clYellow);
  drawer.SetBackColor(clYellow);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"SetBkColor $0000FFFF"}));
  drawer.EndDrawing();
  EXPECT_EQ(canvas.Calls("RestoreDC"), (std::vector<std::string>{"RestoreDC 1"}));
  EXPECT_EQ(drawer.DC(), nullptr);
  canvas.ClearLog();
  drawer.SetForeColor(clBlue);
  drawer.SetCharExtra(2);
  EXPECT_TRUE(canvas.Log().empty());
}

TEST_F(SrcTextDrawerTest, BrokenDrawingBracketsAreCallerFaults) {
  TFont font;
  TheTextDrawer drawer({}, &font);
  TRecordingCanvas canvas, other;
  EXPECT_THROW(drawer.EndDrawing(), EheAssertionFailed);
  EXPECT_THROW(drawer.BeginDrawing(nullptr), EheAssertionFailed);
  EXPECT_THROW(drawer.ExtTextOut(0, 0, 0, Rect(0, 0, 1, 1), "a", 1), EheAssertionFailed);
  drawer.BeginDrawing(&canvas);
  EXPECT_THROW(drawer.BeginDrawing(&other), EheAssertionFailed);
  drawer.EndDrawing();
  try {
    drawer.SetBaseFont(nullptr);
    FAIL();
  } catch (const EheTextDrawerException& e) {
    EXPECT_EQ(e.Message(), "SetBaseFont: 'Value' must be specified.");
  }
  EXPECT_EQ(drawer.GetCharWidth(), 8);
  EXPECT_THROW(drawer.Stock().SetBaseFont(nullptr), EheFontStockException);
}

TEST_F(SrcTextDrawerTest, ALockedRecordCannotBeReleased) {
  TFont font;
  TheFontsInfoManager& manager = GetFontsInfoManager();
  TheSharedFontsInfo* info = manager.GetFontsInfo(&font);
  manager.LockFontsInfo(info);
  try {
    manager.ReleaseFontsInfo(info);
    FAIL();
  } catch (const EheAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Call DeactivateFontsInfo before calling this.");
  }
  manager.UnLockFontsInfo(info);
  manager.ReleaseFontsInfo(info);
}

TEST_F(SrcTextDrawerTest, DistanceArrayGrowsInStepsOf64) {
  TFont font;
  TRecordingCanvas canvas;
  const std::string text(200, 'x');
  struct Case {
    int Length;
    int Capacity;
  };
  const Case cases[] = {{1, 64}, {63, 64}, {64, 128}, {127, 128}, {128, 192}};
  for (const Case& c : cases) {
    TheTextDrawer drawer({}, &font);
    drawer.BeginDrawing(&canvas);
    drawer.ExtTextOut(0, 0, ETO_OPAQUE, Rect(0, 0, 8 * c.Length, 16), text.data(), c.Length);
    EXPECT_EQ(drawer.ETOLength(), c.Capacity) << c.Length;
    EXPECT_EQ(drawer.ETODist()[c.Capacity - 1], 8) << c.Length;
    drawer.EndDrawing();
  }

  TheTextDrawer drawer({}, &font);
  drawer.BeginDrawing(&canvas);
  drawer.ExtTextOut(0, 0, 0, Rect(0, 0, 1, 1), text.data(), 64);
  drawer.ExtTextOut(0, 0, 0, Rect(0, 0, 1, 1), text.data(), 10);  // fits
  EXPECT_EQ(drawer.ETOLength(), 128);
  // A new character extra keeps the old entries and fills the new ones.
  drawer.SetCharExtra(2);
  drawer.ExtTextOut(0, 0, 0, Rect(0, 0, 1, 1), text.data(), 200);
  EXPECT_EQ(drawer.ETOLength(), 256);
  EXPECT_EQ(drawer.ETODist()[127], 8);
  EXPECT_EQ(drawer.ETODist()[128], 10);
  EXPECT_EQ(canvas.Log().back().substr(0, 30), "ExtTextOut 0 0 0 [0 0 1 1] \"xx");
  // A new base style drops the array; the next run refills it.
  drawer.SetBaseStyle({fsBold});
  EXPECT_EQ(drawer.ETOLength(), 0);
  drawer.ExtTextOut(0, 0, 0, Rect(0, 0, 1, 1), text.data(), 1);
  EXPECT_EQ(drawer.ETODist()[0], 11);
  drawer.EndDrawing();
}

TEST_F(SrcTextDrawerTest, DrawsCellByCellOnTheCanvas) {
  TFont font;
  TheTextDrawer drawer(TFontStyles{fsBold}, &font);  // cell 9
  TRasterCanvas canvas(100, 20);
  drawer.BeginDrawing(&canvas);
  drawer.SetStyle({});
  drawer.SetForeColor(clNavy);
  drawer.SetBackColor(clYellow);
  drawer.ExtTextOut(9, 0, ETO_OPAQUE, Rect(9, 0, 45, 16), "abc", 3);
  drawer.SetStyle({fsItalic});
  drawer.ExtTextOut(36, 0, ETO_OPAQUE, Rect(36, 0, 45, 16), "d", 1);
  drawer.EndDrawing();
  EXPECT_EQ(canvas.TextAt(3), "abcd");
  EXPECT_EQ(canvas.CharAt(27, 3)->Text, "c");
  EXPECT_EQ(canvas.CharAt(27, 3)->Style(), TFontStyles{});
  EXPECT_EQ(canvas.CharAt(36, 3)->Style(), TFontStyles{fsItalic});
  EXPECT_EQ(canvas.CharAt(36, 3)->TextColor, ColorToRGB(clNavy));
  EXPECT_EQ(canvas.PixelAt(44, 15), ColorToRGB(clYellow));
  EXPECT_EQ(canvas.PixelAt(45, 15), RGB(255, 255, 255));
  EXPECT_EQ(canvas.SelectedFont(), 0u);  // the canvas state came back
}

TEST_F(SrcTextDrawerTest, DrawingAfterAReleaseUsesLiveFonts) {
  struct Case {
    const char* Name;
    bool Drawer2;
    bool SecondHolder;  // another drawer keeps the font objects in use
  };
  const Case cases[] = {{"alone", false, false}, {"shared", false, true}, {"cached styles", true, false}};
  for (const Case& c : cases) {
    TFont font;
    std::unique_ptr<TheTextDrawer> drawer = c.Drawer2 ? std::make_unique<TheTextDrawer2>(TFontStyles{}, &font)
                                                      : std::make_unique<TheTextDrawer>(TFontStyles{}, &font);
    std::unique_ptr<TheTextDrawer> other;
    if (c.SecondHolder) other = std::make_unique<TheTextDrawer>(TFontStyles{}, &font);
    drawer->SetStyle({fsBold});
    int fonts = LiveFontCount();
    drawer->ReleaseTemporaryResources();
    EXPECT_EQ(LiveFontCount(), c.SecondHolder ? fonts : fonts - 2) << c.Name;
    EXPECT_EQ(drawer->GetCharWidth(), 8) << c.Name;  // the metrics stay

    TRasterCanvas canvas(40, 20);
    drawer->BeginDrawing(&canvas);
    EXPECT_TRUE(IsFontHandle(canvas.SelectedFont())) << c.Name;
    drawer->ExtTextOut(0, 0, 0, Rect(0, 0, 8, 16), "a", 1);
    drawer->SetStyle({fsBold});  // the same style again
    EXPECT_TRUE(IsFontHandle(canvas.SelectedFont())) << c.Name;
    drawer->ExtTextOut(8, 0, 0, Rect(8, 0, 16, 16), "b", 1);
    drawer->EndDrawing();
    ASSERT_NE(canvas.CharAt(1, 1), nullptr) << c.Name;
    EXPECT_EQ(canvas.CharAt(1, 1)->Style(), TFontStyles{fsBold}) << c.Name;
    EXPECT_EQ(canvas.CharAt(9, 1)->Style(), TFontStyles{fsBold}) << c.Name;

    // Released while drawing: the canvas gets a live font at once.
    drawer->BeginDrawing(&canvas);
    drawer->ReleaseTemporaryResources();
    EXPECT_TRUE(IsFontHandle(canvas.SelectedFont())) << c.Name;
    drawer->EndDrawing();
  }
}

TEST_F(SrcTextDrawerTest, Drawer2CachesTheFontOfEachStyle) {
  TFont font;
  TheTextDrawer2 drawer({}, &font);
  drawer.SetStyle({fsUnderline});
  HFONT underline = drawer.CurrentFont();
  drawer.SetStyle({});
  TRecordingCanvas canvas;
  drawer.BeginDrawing(&canvas);
  canvas.ClearLog();
  drawer.SetStyle({fsUnderline});
  EXPECT_EQ(drawer.CurrentFont(), underline);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{Format("SelectFont %u", underline)}));
  drawer.EndDrawing();
}

TEST_F(SrcTextDrawerTest, DrawerExCorrectsSpacingAndPicksTheOutput) {
  TFont font;
  TheTextDrawerEx drawer(TFontStyles{fsBold}, &font);  // cell 9, regular advance 8
  TRecordingCanvas canvas;
  drawer.BeginDrawing(&canvas);
  drawer.SetStyle({});
  EXPECT_EQ(drawer.StyleDx(), 1);
  EXPECT_EQ(canvas.Calls("SetTextCharacterExtra").back(), "SetTextCharacterExtra 1");
  canvas.ClearLog();
  // A run that fills exactly its cells goes out as plain text.
  drawer.ExtTextOut(0, 0, ETO_OPAQUE, Rect(0, 0, 18, 16), "ab", 2);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"TextOutA 0 0 \"ab\""}));
  canvas.ClearLog();
  drawer.ExtTextOut(0, 0, ETO_OPAQUE, Rect(0, 0, 40, 16), "ab", 2);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"ExtTextOut 0 0 2 [0 0 40 16] \"ab\""}));
  // Italic of a font that is not scalable: no distances either.
  drawer.SetStyle({fsItalic});
  EXPECT_EQ(drawer.StyleDx(), -1);
  canvas.ClearLog();
  drawer.ExtTextOut(0, 0, ETO_OPAQUE, Rect(0, 0, 18, 16), "ab", 2);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"ExtTextOut 0 0 2 [0 0 18 16] \"ab\""}));
  drawer.EndDrawing();

  // A double-byte font writes with the distance array.
  TFont korean;
  korean.SetCharset(HANGEUL_CHARSET);
  TheTextDrawerEx wide({}, &korean);
  drawer.BeginDrawing(&canvas);
  drawer.EndDrawing();
  wide.BeginDrawing(&canvas);
  canvas.ClearLog();
  wide.ExtTextOut(0, 0, 0, Rect(0, 0, 16, 16), "ab", 2);
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"ExtTextOut 0 0 0 [0 0 16 16] \"ab\" dx 8 8"}));
  wide.EndDrawing();
}

}  // namespace
}  // namespace vk
