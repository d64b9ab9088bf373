#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include "platform/RasterCanvas.h"
#include "platform/RecordingCanvas.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using test::TFontMetricsScope;

constexpr TColorRef White = RGB(255, 255, 255);

TEST(RasterCanvasTest, FillRectStaysInsideTheClipRectangle) {
  TRasterCanvas canvas(20, 10);
  canvas.SetClipRect(Rect(0, 0, 10, 10));
  canvas.Brush().SetColor(clRed);
  canvas.FillRect(Rect(5, 2, 15, 4));
  EXPECT_EQ(canvas.PixelAt(5, 2), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(9, 3), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(10, 3), White);  // clipped
  EXPECT_EQ(canvas.PixelAt(5, 4), White);   // bottom is exclusive
  canvas.Brush().SetStyle(bsClear);
  canvas.Brush().SetColor(clBlue);  // a colour makes it solid again
  canvas.Brush().SetStyle(bsClear);
  canvas.FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(canvas.PixelAt(0, 0), White);
}

TEST(RasterCanvasTest, TextAlignPutsTheTopTheBottomOrTheBaselineAtY) {
  TFontMetricsScope metrics({.CellWidth = 8, .CellHeight = 16});  // ascent 12
  for (auto [align, top] : {std::pair{TA_TOP, 20}, {TA_BOTTOM, 4}, {TA_BASELINE, 8}}) {
    TRasterCanvas canvas(40, 40);
    EXPECT_EQ(canvas.SetTextAlign(align), TA_TOP);
    canvas.TextOut(0, 20, "A");
    ASSERT_NE(canvas.CharAt(0, top), nullptr) << align;
    EXPECT_EQ(canvas.CharAt(0, top)->Cell.Top, top) << align;
  }
}

TEST(RasterCanvasTest, ExtTextOutPlacesCharactersByAdvance) {
  TFontMetricsScope metrics({.CellWidth = 8, .CellHeight = 16});
  TRasterCanvas canvas(200, 40);
  TFont font;
  font.SetStyle({fsBold});
  canvas.SelectFont(font.Handle());
  canvas.SetTextColor(ColorToRGB(clRed));
  canvas.SetBkColor(ColorToRGB(clYellow));
  canvas.SetBkMode(TRANSPARENT);
  struct Case {
    const char* Name;
    uint32_t Options;
    TRect Box;
    const int* Dx;
    int Extra;
    std::string Expected;  // characters along row 5
    int SecondX;           // x of the second character
  };
  const int wide[] = {10, 10, 10};
  const Case cases[] = {
      {"cells", 0, {}, nullptr, 0, "abc", 8},
      {"advances", 0, {}, wide, 0, "abc", 10},
      {"character extra", 0, {}, nullptr, 3, "abc", 11},
      {"clipped", ETO_CLIPPED, Rect(0, 0, 16, 40), nullptr, 0, "ab", 8},
  };
  for (const Case& c : cases) {
    TRasterCanvas fresh(200, 40);
    fresh.SelectFont(font.Handle());
    fresh.SetTextColor(ColorToRGB(clRed));
    fresh.SetTextCharacterExtra(c.Extra);
    fresh.ExtTextOut(0, 0, c.Options, c.Options ? &c.Box : nullptr, "abc", 3, c.Dx);
    EXPECT_EQ(fresh.TextAt(5), c.Expected) << c.Name;
    const TRasterCanvas::TDrawnChar* second = fresh.CharAt(c.SecondX, 5);
    ASSERT_NE(second, nullptr) << c.Name;
    EXPECT_EQ(second->Text, "b") << c.Name;
    EXPECT_EQ(second->Style(), TFontStyles{fsBold});
    EXPECT_EQ(second->TextColor, ColorToRGB(clRed));
  }

  // ETO_OPAQUE fills its rectangle with the background colour; background
  // mode TRANSPARENT leaves the pixels behind characters outside it.
  TRect opaque = Rect(0, 20, 12, 36);
  canvas.ExtTextOut(0, 20, ETO_OPAQUE, &opaque, "xy", 2, nullptr);
  EXPECT_EQ(canvas.PixelAt(11, 30), ColorToRGB(clYellow));
  EXPECT_EQ(canvas.PixelAt(12, 30), White);
  EXPECT_EQ(canvas.TextAt(25), "xy");
}

TEST(RasterCanvasTest, DoubleByteCharactersTakeTwoCellsAndBothAdvances) {
  TFontMetricsScope metrics({.CellWidth = 8, .CellHeight = 16});
  TRasterCanvas canvas(100, 20);
  TFont font;
  canvas.SelectFont(font.Handle());
  const std::string text = "a\xB0\xA1" "b";
  canvas.ExtTextOut(0, 0, 0, nullptr, text.data(), 4, nullptr);
  EXPECT_EQ(canvas.TextAt(1), text);
  EXPECT_EQ(canvas.CharAt(8, 1)->Text, "\xB0\xA1");
  EXPECT_EQ(canvas.CharAt(23, 1)->Text, "\xB0\xA1");
  EXPECT_EQ(canvas.CharAt(24, 1)->Text, "b");
  EXPECT_EQ(canvas.GetTextExtentPoint(text.data(), 4), (TSize{32, 16}));
  const int dx[] = {8, 8, 8, 8};
  TRasterCanvas spaced(100, 20);
  spaced.SelectFont(font.Handle());
  spaced.ExtTextOut(0, 0, 0, nullptr, text.data(), 4, dx);
  EXPECT_EQ(spaced.CharAt(24, 1)->Text, "b");
}

TEST(RasterCanvasTest, CanvasTextUsesFontColourAndBrush) {
  TFontMetricsScope metrics;
  TRasterCanvas canvas(100, 20);
  canvas.Font().SetColor(clBlue);
  canvas.Brush().SetColor(clAqua);
  canvas.TextOut(8, 0, "hi");
  EXPECT_EQ(canvas.PixelAt(9, 3), ColorToRGB(clAqua));
  EXPECT_EQ(canvas.CharAt(16, 3)->Text, "i");
  EXPECT_EQ(canvas.CharAt(16, 3)->TextColor, ColorToRGB(clBlue));
  EXPECT_EQ(canvas.TextExtent("abc"), (TSize{24, 16}));
  // A later fill covers what was written.
  canvas.FillRect(Rect(0, 0, 12, 20));
  EXPECT_EQ(canvas.CharAt(8, 3), nullptr);
  EXPECT_EQ(canvas.TextAt(3), "i");
}

TEST(RasterCanvasTest, LinesLeaveOutTheirEndPoint) {
  TRasterCanvas canvas(10, 10);
  canvas.Pen().SetColor(clRed);
  canvas.MoveTo(3, 1);
  canvas.LineTo(3, 5);
  EXPECT_EQ(canvas.PixelAt(3, 1), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(3, 4), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(3, 5), White);
  EXPECT_EQ(canvas.PenPos(), (TPoint{3, 5}));
  canvas.Brush().SetColor(clLime);
  canvas.Rectangle(Rect(5, 5, 9, 9));
  EXPECT_EQ(canvas.PixelAt(5, 5), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(8, 8), ColorToRGB(clRed));
  EXPECT_EQ(canvas.PixelAt(6, 6), ColorToRGB(clLime));
}

TEST(RasterCanvasTest, PicturesCopyCutAndMask) {
  TBitmap picture;
  picture.SetSize(4, 4);
  picture.Fill(Rect(0, 0, 4, 4), ColorToRGB(clLime));
  picture.SetPixel(1, 1, ColorToRGB(clNavy));
  picture.SetPixel(2, 2, ColorToRGB(clNavy));
  struct Case {
    const char* Name;
    int Mode;  // 0 CopyRect, 1 BrushCopy, 2 Draw transparent
    TColorRef AtLime;
  };
  const Case cases[] = {
      {"copy", 0, ColorToRGB(clLime)},
      {"brush copy", 1, ColorToRGB(clYellow)},
      {"transparent draw", 2, White},
  };
  for (const Case& c : cases) {
    TRasterCanvas canvas(10, 10);
    canvas.Brush().SetColor(clYellow);
    if (c.Mode == 0) canvas.CopyRect(Rect(5, 5, 8, 8), picture, Rect(1, 1, 4, 4));
    if (c.Mode == 1) canvas.BrushCopy(Rect(5, 5, 8, 8), picture, Rect(1, 1, 4, 4), clLime);
    if (c.Mode == 2) {
      picture.SetTransparent(true);
      canvas.Draw(4, 4, picture);
      picture.SetTransparent(false);
    }
    EXPECT_EQ(canvas.PixelAt(5, 5), ColorToRGB(clNavy)) << c.Name;
    EXPECT_EQ(canvas.PixelAt(6, 6), ColorToRGB(clNavy)) << c.Name;
    EXPECT_EQ(canvas.PixelAt(7, 5), c.AtLime) << c.Name;
    EXPECT_EQ(canvas.PixelAt(8, 8), White) << c.Name;  // outside the destination
  }
}

TEST(CanvasDeviceTest, SavedStatesComeBack) {
  TRasterCanvas canvas(10, 10);
  TFont regular, bold;
  bold.SetStyle({fsBold});
  canvas.SelectFont(regular.Handle());
  canvas.SetTextColor(1);
  int outer = canvas.SaveDC();
  EXPECT_EQ(canvas.SelectFont(bold.Handle()), regular.Handle());
  canvas.SetTextColor(2);
  canvas.SetTextCharacterExtra(4);
  canvas.SetClipRect(Rect(0, 0, 2, 2));
  int inner = canvas.SaveDC();
  canvas.SetTextColor(3);
  EXPECT_TRUE(canvas.RestoreDC(outer));  // drops the inner state too
  EXPECT_EQ(canvas.SelectedFont(), regular.Handle());
  EXPECT_EQ(canvas.TextColor(), 1u);
  EXPECT_EQ(canvas.TextCharacterExtra(), 0);
  EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 10, 10));
  EXPECT_FALSE(canvas.RestoreDC(inner));
  EXPECT_FALSE(canvas.RestoreDC(0));
}

TEST(CanvasDeviceTest, ADeletedFontCannotBeSelected) {
  TRasterCanvas canvas(10, 10);
  TFont font;
  canvas.SelectFont(font.Handle());
  TLogFont lf;
  HFONT dead = CreateFontIndirect(lf);
  DeleteFont(dead);
  EXPECT_EQ(canvas.SelectFont(dead), 0u);
  EXPECT_EQ(canvas.SelectedFont(), font.Handle());
}

TEST(CanvasDeviceTest, FixedMetricsWithOverhangAndBitmapFonts) {
  TFontMetricsScope metrics({.CellWidth = 7, .CellHeight = 13, .BoldOverhang = 1, .ItalicOverhang = 2});
  TRasterCanvas canvas(10, 10);
  struct Case {
    TFontStyles Style;
    unsigned Width;
  };
  const Case cases[] = {{{}, 7}, {{fsBold}, 8}, {{fsItalic}, 9}, {{fsBold, fsItalic}, 10}, {{fsUnderline}, 7}};
  for (const Case& c : cases) {
    TFont font;
    font.SetStyle(c.Style);
    canvas.SelectFont(font.Handle());
    TABC abc;
    ASSERT_TRUE(canvas.GetCharABCWidths('M', abc));
    EXPECT_EQ(abc.abcA + abc.abcB + abc.abcC, c.Width);
    EXPECT_EQ(canvas.GetCharWidth('M'), static_cast<int>(c.Width));
    TTextMetric tm;
    canvas.GetTextMetrics(tm);
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAveCharWidth, 7);
  }
  TFontMetricsScope bitmapFont({.CellWidth = 6, .HasABCWidths = false});
  TABC abc;
  EXPECT_FALSE(canvas.GetCharABCWidths('M', abc));
  TFont korean;
  korean.SetCharset(HANGEUL_CHARSET);
  canvas.SelectFont(korean.Handle());
  EXPECT_EQ(canvas.GetFontLanguageInfo(), GCP_DBCS);
}

TEST(RecordingCanvasTest, LogsEveryCallInOrder) {
  TRecordingCanvas canvas;
  TFont font;
  canvas.SelectFont(font.Handle());
  canvas.SetTextColor(0xFF);
  canvas.SetBkMode(TRANSPARENT);
  const int dx[] = {8, 9};
  TRect box = Rect(0, 0, 17, 16);
  canvas.ExtTextOut(1, 2, ETO_OPAQUE, &box, "ab", 2, dx);
  canvas.Brush().SetColor(clRed);
  canvas.FillRect(Rect(1, 2, 3, 4));
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{
                              Format("SelectFont %u", font.Handle()),
                              "SetTextColor $000000FF",
                              "SetBkMode 1",
                              "ExtTextOut 1 2 2 [0 0 17 16] \"ab\" dx 8 9",
                              "FillRect [1 2 3 4] $000000FF",
                          }));
  EXPECT_EQ(canvas.CountOf("SetTextColor"), 1);
  EXPECT_EQ(canvas.CountOf("Set"), 0);  // whole call names only
  canvas.ClearLog();
  canvas.SelectFont(12345);
  EXPECT_EQ(canvas.Log().back(), "SelectFont 12345 (not a font)");
}

}  // namespace
}  // namespace vk
