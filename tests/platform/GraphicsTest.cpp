#include "platform/Graphics.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/Bitmaps.h"

namespace vk {
namespace {

TEST(GraphicsRectTest, IntersectAndUnion) {
  struct Case {
    TRect A, B;
    bool Overlap;
    TRect Common, Union;
  };
  const Case cases[] = {
      {Rect(0, 0, 10, 10), Rect(5, 5, 15, 15), true, Rect(5, 5, 10, 10), Rect(0, 0, 15, 15)},
      {Rect(0, 0, 10, 10), Rect(10, 0, 20, 10), false, TRect{}, Rect(0, 0, 20, 10)},  // touching edges
      {Rect(0, 0, 10, 10), Rect(2, 2, 4, 4), true, Rect(2, 2, 4, 4), Rect(0, 0, 10, 10)},
      {Rect(0, 0, 10, 10), Rect(3, 3, 3, 8), false, TRect{}, Rect(0, 0, 10, 10)},  // empty one is absent
      {Rect(5, 5, 5, 5), Rect(0, 0, 0, 0), false, TRect{}, TRect{}},
  };
  for (const Case& c : cases) {
    TRect common{1, 1, 1, 1}, united;
    EXPECT_EQ(IntersectRect(common, c.A, c.B), c.Overlap);
    EXPECT_EQ(common, c.Common);
    EXPECT_EQ(UnionRect(united, c.A, c.B), !IsRectEmpty(c.Union));
    EXPECT_EQ(united, c.Union);
  }
}

TEST(GraphicsRectTest, PointsOnTheEdgesAndMoves) {
  TRect r = Rect(2, 3, 6, 8);
  EXPECT_TRUE(PtInRect(r, {2, 3}));
  EXPECT_FALSE(PtInRect(r, {6, 3}));  // right and bottom are exclusive
  EXPECT_FALSE(PtInRect(r, {2, 8}));
  OffsetRect(r, -2, 1);
  EXPECT_EQ(r, Rect(0, 4, 4, 9));
  InflateRect(r, 1, 2);
  EXPECT_EQ(r, Rect(-1, 2, 5, 11));
  EXPECT_EQ(Bounds(1, 2, 3, 4), Rect(1, 2, 4, 6));
}

TEST(GraphicsColorTest, ColorToRGBResolvesSystemColors) {
  struct Case {
    TColor Color;
    TColorRef Rgb;
  };
  const Case cases[] = {
      {clWindow, RGB(255, 255, 255)},     {clWindowText, RGB(0, 0, 0)},
      {clHighlight, RGB(0, 120, 215)},    {clHighlightText, RGB(255, 255, 255)},
      {clBtnFace, RGB(240, 240, 240)},    {clGrayText, RGB(109, 109, 109)},
      {clRed, 0x0000FF},                  {clBlue, 0xFF0000},
      {clNone, 0x1FFFFFFF},               {clDefault, 0x20000000},
      {SystemColor(99), 0},  // no such system colour
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToRGB(c.Color), c.Rgb) << ColorToString(c.Color);
  EXPECT_EQ(static_cast<uint32_t>(clWindow), 0x80000005u);
  EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
}

TEST(GraphicsColorTest, StringToColorAndBack) {
  struct Case {
    const char* Text;
    TColor Color;
  };
  const Case cases[] = {
      {"clRed", clRed},       {"CLWINDOW", clWindow},  {"$00FF0000", clBlue},     {"255", clRed},
      {"clLtGray", clSilver}, {"clNone", clNone},      {"0x8000000F", clBtnFace}, {"-2147483643", clWindow},
  };
  for (const Case& c : cases) EXPECT_EQ(StringToColor(c.Text), c.Color) << c.Text;
  EXPECT_EQ(ColorToString(clRed), "clRed");
  EXPECT_EQ(ColorToString(clHighlightText), "clHighlightText");
  EXPECT_EQ(ColorToString(0xC0C0C0), "clSilver");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(ColorToString(SystemColor(99)), "$80000063");
  for (TColor c : {clBlack, clWindow, clNone, clDefault, 0x00ABCDEF, clInfoBk, SystemColor(40)})
    EXPECT_EQ(StringToColor(ColorToString(c)), c);
  try {
    StringToColor("blue");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'blue' is not a valid integer value");
  }
}

TEST(GraphicsFontTest, StyleMasksAndLogFont) {
  EXPECT_EQ(TFontStyles{fsBold}.Mask(), 1u);
  EXPECT_EQ(TFontStyles{fsItalic}.Mask(), 2u);
  EXPECT_EQ(TFontStyles{fsUnderline}.Mask(), 4u);
  EXPECT_EQ(TFontStyles{fsStrikeOut}.Mask(), 8u);
  EXPECT_EQ((TFontStyles{fsBold, fsItalic} - TFontStyles{fsBold}), TFontStyles{fsItalic});

  TFont font;
  font.SetName("Courier New");
  font.SetStyle({fsBold, fsItalic, fsStrikeOut});
  font.SetPitch(fpFixed);
  font.SetCharset(HANGEUL_CHARSET);
  TLogFont lf = font.LogFont();
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfStrikeOut, 1);
  EXPECT_EQ(lf.lfCharSet, HANGEUL_CHARSET);
  EXPECT_EQ(lf.lfPitchAndFamily, FIXED_PITCH);
  EXPECT_EQ(lf.FaceName(), "Courier New");

  // The face name is cut to 31 bytes and the field is zero after it, so
  // descriptions compare byte for byte.
  TLogFont a, b;
  a.SetFaceName(std::string(40, 'x'));
  EXPECT_EQ(a.FaceName().size(), 31u);
  a.SetFaceName("Mono");
  b.SetFaceName("Mono");
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(GraphicsFontTest, SizeHeightAndChangeNotification) {
  struct Probe : TObject {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } probe;
  TFont font;
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Color(), clWindowText);
  font.OnChange = TNotifyEvent(&probe, &Probe::Changed);
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -13);
  EXPECT_EQ(font.Size(), 10);
  font.SetSize(10);
  font.SetStyle({});
  font.SetColor(clWindowText);
  font.SetName("");  // an empty name is not a font
  EXPECT_EQ(probe.Changes, 1);
  font.SetColor(clRed);
  font.SetStyle({fsBold});
  font.SetName("Mono");
  font.SetPitch(fpVariable);
  font.SetCharset(ANSI_CHARSET);
  font.SetHeight(-20);
  EXPECT_EQ(probe.Changes, 7);

  TFont copy;
  copy.OnChange = TNotifyEvent(&probe, &Probe::Changed);
  copy.Assign(font);
  EXPECT_EQ(probe.Changes, 8);
  copy.Assign(font);  // nothing to change
  EXPECT_EQ(probe.Changes, 8);
  EXPECT_EQ(copy.Name(), "Mono");
  EXPECT_EQ(copy.Height(), -20);
  EXPECT_EQ(copy.Color(), clRed);
  EXPECT_EQ(copy.Style(), TFontStyles{fsBold});
  EXPECT_EQ(copy.LogFont(), font.LogFont());
}

TEST(GraphicsFontTest, ResolutionConvertsSizesAndAssignKeepsThePointSize) {
  TFont screen;
  screen.SetSize(10);
  TFont printer;
  printer.SetPixelsPerInch(300);
  printer.SetPixelsPerInch(0);  // no resolution: ignored
  EXPECT_EQ(printer.PixelsPerInch(), 300);
  printer.Assign(screen);
  EXPECT_EQ(printer.Height(), -42);
  EXPECT_EQ(printer.Size(), 10);
  screen.Assign(printer);
  EXPECT_EQ(screen.Height(), -13);
  printer.SetPixelsPerInch(600);  // the height stays, the size follows
  EXPECT_EQ(printer.Height(), -42);
  EXPECT_EQ(printer.Size(), 5);
}

TEST(GraphicsFontTest, FontObjectsLiveUntilDeletedAndAreNeverReused) {
  int live = LiveFontCount();
  TLogFont lf;
  lf.SetFaceName("Mono");
  HFONT first = CreateFontIndirect(lf);
  EXPECT_TRUE(IsFontHandle(first));
  TLogFont back;
  ASSERT_TRUE(GetFontObject(first, back));
  EXPECT_EQ(back, lf);
  EXPECT_TRUE(DeleteFont(first));
  EXPECT_FALSE(DeleteFont(first));
  EXPECT_FALSE(GetFontObject(first, back));
  HFONT second = CreateFontIndirect(lf);
  EXPECT_NE(second, first);
  DeleteFont(second);
  {
    TFont font;
    HFONT handle = font.Handle();
    EXPECT_EQ(font.Handle(), handle);
    font.SetStyle({fsItalic});  // a change drops the old object
    EXPECT_FALSE(IsFontHandle(handle));
    EXPECT_EQ(LiveFontCount(), live);
    EXPECT_NE(font.Handle(), handle);
  }
  EXPECT_EQ(LiveFontCount(), live);
}

TEST(GraphicsBrushPenTest, ColourMakesTheBrushSolidAndPenWidthIsAtLeastOne) {
  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), bsSolid);
  TPen pen;
  pen.SetWidth(0);
  EXPECT_EQ(pen.Width(), 1);
  TPen copy;
  pen.SetColor(clBlue);
  pen.SetStyle(psClear);
  copy.Assign(pen);
  EXPECT_EQ(copy.Color(), clBlue);
  EXPECT_EQ(copy.Style(), psClear);
  EXPECT_THROW(copy.Assign(brush), EConvertError);
}

TEST(GraphicsBitmapTest, SizePixelsAndAssign) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  bitmap.SetSize(3, 2);
  EXPECT_EQ(bitmap.Pixel(2, 1), RGB(255, 255, 255));
  bitmap.SetPixel(1, 1, 0x123456);
  bitmap.SetPixel(5, 5, 0x123456);  // outside: ignored
  EXPECT_EQ(bitmap.Pixel(5, 5), 0u);
  bitmap.SetSize(4, 4);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x123456u);
  EXPECT_EQ(bitmap.TransparentColor(), static_cast<TColor>(RGB(255, 255, 255)));  // bottom left

  struct Probe : TObject {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } probe;
  TBitmap copy;
  copy.OnChange = TNotifyEvent(&probe, &Probe::Changed);
  copy.Assign(bitmap);
  EXPECT_EQ(probe.Changes, 1);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Pixel(1, 1), 0x123456u);
}

TEST(GraphicsBitmapTest, InternalImageResources) {
  TBitmap strip, wrap;
  strip.LoadFromResourceName(HInstance, "SrcEditInternalImages");
  wrap.LoadFromResourceName(HInstance, "srceditwrapped");  // names ignore case
  EXPECT_EQ(strip.Width(), 110);
  EXPECT_EQ(strip.Height(), 14);
  EXPECT_EQ(wrap.Width(), 15);
  EXPECT_EQ(wrap.Height(), 14);
  // The wrap arrow sits on lime, the colour the editor masks out.
  EXPECT_EQ(wrap.Pixel(0, 0), ColorToRGB(clLime));
  EXPECT_EQ(wrap.Pixel(11, 1), ColorToRGB(clNavy));
  // The ten bookmark glyphs differ from each other (each shows its digit).
  auto glyph = [&](int n) {
    std::vector<TColorRef> pixels;
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 11; ++x) pixels.push_back(strip.Pixel(n * 11 + x, y));
    return pixels;
  };
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b) EXPECT_NE(glyph(a), glyph(b)) << a << " " << b;

  try {
    strip.LoadFromResourceName(HInstance, "Nope");
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource Nope not found");
  }
  EXPECT_EQ(strip.Width(), 110);  // a failed load keeps the picture
}

}  // namespace
}  // namespace vk
