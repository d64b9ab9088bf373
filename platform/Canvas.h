#pragma once
// The drawing surface. TCanvas offers two levels, as the class library does:
// the canvas level (Font, Brush, Pen, FillRect, TextOut, lines, pictures)
// and the device level the text drawer and the painting code call directly
// (select a font object, text and background colour, background mode,
// character extra, saved states, text metrics, ExtTextOut with an opaque
// rectangle and per-character advances).
//
// The base class keeps the device state and turns every call into a few
// painting primitives in device pixels, already clipped; a backend (the
// raster canvas of the tests, a QPainter canvas) implements only those.
// Font measurements come from the process's TFontMetrics, so that measuring
// and drawing agree on every canvas.

#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmaps.h"
#include "platform/Graphics.h"

namespace vk {

struct TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  int tmOverhang = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = 0;
};

// The metrics that a font's request decides (weight, italic, underline,
// strike-out, pitch and family, character set); the sizes are left to the
// measurer.
TTextMetric RequestedTextMetric(const TLogFont& font);

// Widths of one character: A before the glyph, B the glyph, C after it.
struct TABC {
  int abcA = 0;
  unsigned abcB = 0;
  int abcC = 0;
};

// ExtTextOut options.
constexpr uint32_t ETO_OPAQUE = 2;
constexpr uint32_t ETO_CLIPPED = 4;
// Text alignment: the y of a text output is its top, its bottom or its
// baseline.
constexpr uint32_t TA_TOP = 0;
constexpr uint32_t TA_BOTTOM = 8;
constexpr uint32_t TA_BASELINE = 24;
// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Language info flag of a font with double-byte characters.
constexpr uint32_t GCP_DBCS = 1;

// How the display measures fonts. Characters are identified by code: one
// byte, or lead byte * 256 + trail byte for a double-byte character.
class TFontMetrics {
public:
  virtual ~TFontMetrics() = default;
  virtual TTextMetric TextMetrics(const TLogFont& font) const = 0;
  // False when the font has no such widths (a bitmap font).
  virtual bool CharABCWidths(const TLogFont& font, unsigned code, TABC& abc) const = 0;
  // The advance of a character (the GetCharWidth value).
  virtual int CharWidth(const TLogFont& font, unsigned code) const = 0;
  virtual uint32_t FontLanguageInfo(const TLogFont& font) const = 0;
};

// Deterministic metrics for a display without fonts: every single-byte
// character takes one cell, a double-byte character two; bold and italic
// glyphs may reach past their cell by a configurable overhang.
class TFixedFontMetrics : public TFontMetrics {
public:
  struct TConfig {
    int CellWidth = 8;
    int CellHeight = 16;
    int BoldOverhang = 0;
    int ItalicOverhang = 0;
    // False imitates a bitmap font: no ABC widths.
    bool HasABCWidths = true;
  };
  TFixedFontMetrics() = default;
  explicit TFixedFontMetrics(const TConfig& config) : FConfig(config) {}
  const TConfig& Config() const { return FConfig; }

  TTextMetric TextMetrics(const TLogFont& font) const override;
  bool CharABCWidths(const TLogFont& font, unsigned code, TABC& abc) const override;
  int CharWidth(const TLogFont& font, unsigned code) const override;
  // GCP_DBCS for the double-byte character sets.
  uint32_t FontLanguageInfo(const TLogFont& font) const override;

  // Extra pixels a glyph of this font reaches past its cell.
  int Overhang(const TLogFont& font) const;

private:
  TConfig FConfig;
};

// The process's metrics (fixed metrics until a backend installs others).
const TFontMetrics& FontMetrics();
// Installs other metrics and hands back the previous ones.
std::unique_ptr<TFontMetrics> SetFontMetrics(std::unique_ptr<TFontMetrics> metrics);

// One ExtTextOut as the painting primitive receives it: the characters with
// their x positions, the font, the colours and the rectangles.
struct TTextRun {
  struct TChar {
    std::string Text;  // one character: one byte or a lead and a trail byte
    int X = 0;
    int Width = 0;  // its cell (the glyph may overhang it)
  };
  std::vector<TChar> Chars;
  int Y = 0;
  int Height = 0;
  TLogFont Font;
  TColorRef TextColor = 0;
  // When the run paints its background: the opaque rectangle of ETO_OPAQUE,
  // or behind each character in background mode OPAQUE.
  bool FillsOpaqueRect = false;
  TRect OpaqueRect;
  bool FillsCharBackground = false;
  TColorRef BackColor = 0;
  TRect Clip;  // nothing outside it is painted
};

class TCanvas : public TObject {
public:
  TCanvas();
  ~TCanvas() override;
  std::string ClassName() const override { return "TCanvas"; }

  // ----- canvas level
  TFont& Font() { return FFont; }
  TBrush& Brush() { return FBrush; }
  TPen& Pen() { return FPen; }

  // Fills with the brush colour (nothing with bsClear).
  virtual void FillRect(const TRect& r);
  // Outline with the pen, inside filled with the brush.
  virtual void Rectangle(const TRect& r);
  virtual void MoveTo(int x, int y);
  // A line with the pen from the pen position up to (not including) (x, y).
  virtual void LineTo(int x, int y);
  TPoint PenPos() const { return FPenPos; }
  // Text in Font with the brush colour behind it (none with bsClear).
  virtual void TextOut(int x, int y, const std::string& text);
  // The same, clipped to the rectangle, which is filled first.
  virtual void TextRect(const TRect& r, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  // The whole picture at (x, y); a Transparent bitmap leaves its
  // transparent colour out.
  virtual void Draw(int x, int y, const TBitmap& bitmap);
  // The whole picture scaled into the rectangle, smoothly; a Transparent
  // bitmap is scaled pixel by pixel and leaves its transparent colour out.
  virtual void StretchDraw(const TRect& dest, const TBitmap& bitmap);
  // A part of a picture into a rectangle of the same size (a larger source
  // is cut to the destination's size).
  virtual void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);
  // The same, with the pixels of the transparent colour showing the brush
  // colour instead.
  virtual void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TColor transparent);
  // Painting never reaches outside the clip rectangle.
  TRect ClipRect() const { return FState.Clip; }
  virtual void SetClipRect(const TRect& r);

  // ----- device level
  // Selects a font object and returns the one selected before; a handle
  // that is not a live font selects nothing and returns 0.
  virtual HFONT SelectFont(HFONT font);
  HFONT SelectedFont() const { return FState.Font; }
  virtual TColorRef SetTextColor(TColorRef color);
  virtual TColorRef SetBkColor(TColorRef color);
  // TRANSPARENT or OPAQUE; returns the previous mode.
  virtual int SetBkMode(int mode);
  // Pixels added after every character; returns the previous value.
  virtual int SetTextCharacterExtra(int extra);
  TColorRef TextColor() const { return FState.TextColor; }
  TColorRef BkColor() const { return FState.BkColor; }
  int BkMode() const { return FState.BkMode; }
  int TextCharacterExtra() const { return FState.CharExtra; }
  // TA_TOP, TA_BOTTOM or TA_BASELINE; returns the previous alignment.
  virtual uint32_t SetTextAlign(uint32_t align);
  uint32_t TextAlign() const { return FState.TextAlign; }
  // Saved device states (font, colours, modes, character extra, clip); the
  // result numbers the state, RestoreDC(n) returns to it and drops the
  // states saved after it. False for an unknown number.
  virtual int SaveDC();
  virtual bool RestoreDC(int savedState);

  // Measurements of the selected font.
  virtual bool GetTextMetrics(TTextMetric& metric);
  // False when the font has no ABC widths.
  virtual bool GetCharABCWidths(unsigned code, TABC& abc);
  virtual int GetCharWidth(unsigned code);
  virtual uint32_t GetFontLanguageInfo();
  // Width of the text with the character extra, height of the font.
  virtual TSize GetTextExtentPoint(const char* text, int length);

  // Text at (x, y) (top left of the first character, or its left end on the
  // bottom line or the baseline as the text alignment says) in the selected font
  // and text colour. ETO_OPAQUE fills rect with the background colour
  // first; ETO_CLIPPED keeps the text inside rect. Each character advances
  // by its dx entry when dx is given, else by its width plus the character
  // extra. rect may be null; text may be null with length 0.
  virtual bool ExtTextOut(int x, int y, uint32_t options, const TRect* rect, const char* text, int length,
                          const int* dx);
  // ExtTextOut without rectangle and advances.
  virtual bool TextOutA(int x, int y, const char* text, int length);

protected:
  // The painting primitives; the rectangles and runs are clipped already.
  virtual void PaintRect(const TRect& r, TColorRef color) = 0;
  virtual void PaintText(const TTextRun& run) = 0;
  // A straight line from `from` up to (not including) `to`.
  virtual void PaintLine(const TPoint& from, const TPoint& to, TColorRef color, int width) = 0;
  // Pixels of source within sourceRect to dest (same size); pixels equal to
  // *transparent, when given, are replaced by replacement, or skipped when
  // replacement is null.
  virtual void PaintBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                           const TColorRef* transparent, const TColorRef* replacement) = 0;

private:
  struct TState {
    HFONT Font = 0;
    TLogFont LogFont;
    TColorRef TextColor = 0;
    TColorRef BkColor = 0xFFFFFF;
    int BkMode = OPAQUE;
    int CharExtra = 0;
    uint32_t TextAlign = TA_TOP;
    TRect Clip{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};
  };
  // Makes the canvas Font the selected font and its colour the text colour.
  void UseCanvasFont();
  void CopyPicture(const TRect& dest, const TBitmap& source, const TRect& sourceRect, const TColorRef* transparent,
                   const TColorRef* replacement);

  TFont FFont;
  TBrush FBrush;
  TPen FPen;
  TPoint FPenPos;
  TState FState;
  std::vector<TState> FSavedStates;
};

// A canvas that measures and paints nothing: the screen device the font
// caches measure with.
std::unique_ptr<TCanvas> CreateScreenCanvas();

}  // namespace vk
