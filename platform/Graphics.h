#pragma once
// The graphics vocabulary of the class library: points and rectangles,
// colours (0x00BBGGRR, system colours with the high bit set), font styles,
// logical fonts and the process's font objects, and the TFont, TBrush and
// TPen that a canvas draws with. Pictures are in platform/Bitmaps.h, the
// canvas in platform/Canvas.h.

#include <cstdint>
#include <string>

#include "platform/Events.h"
#include "platform/Objects.h"
#include "platform/Sets.h"

namespace vk {

// ---------------------------------------------------------------- geometry

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// A rectangle without area (Right <= Left or Bottom <= Top).
bool IsRectEmpty(const TRect& r);
// The common part of a and b; false (and an all-zero result) when they do
// not overlap.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty rectangle counts as absent.
bool UnionRect(TRect& result, const TRect& a, const TRect& b);
bool PtInRect(const TRect& r, const TPoint& p);
void OffsetRect(TRect& r, int dx, int dy);
void InflateRect(TRect& r, int dx, int dy);

// ---------------------------------------------------------------- colours

// A colour as the class library stores it: 0x00BBGGRR for an RGB colour,
// 0x800000nn for system colour nn, clNone / clDefault as markers.
using TColor = int32_t;
// A resolved RGB value 0x00BBGGRR, as the device takes it.
using TColorRef = uint32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColorRef RGB(int r, int g, int b) {
  return static_cast<TColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColorRef c) { return c & 0xFF; }
constexpr int GetGValue(TColorRef c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColorRef c) { return (c >> 16) & 0xFF; }

// A system colour becomes its RGB value in the platform's fixed light theme;
// every other value (also clNone and clDefault) is returned as it is.
TColorRef ColorToRGB(TColor color);
// "clRed" (any case) or a number ("$00BBGGRR", "0x...", decimal); anything
// else raises EConvertError "'%s' is not a valid integer value".
TColor StringToColor(const std::string& text);
// The colour's name when it has one, else "$" and eight hex digits.
std::string ColorToString(TColor color);

// ---------------------------------------------------------------- fonts

// Horizontal alignment of a text.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles, bit n = style n (fsBold 1, fsItalic 2, fsUnderline 4,
// fsStrikeOut 8); the mask 0..15 indexes the style variants of a font.
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// Character sets of the logical font.
constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t SHIFTJIS_CHARSET = 128;
constexpr uint8_t HANGEUL_CHARSET = 129;
constexpr uint8_t GB2312_CHARSET = 134;
constexpr uint8_t CHINESEBIG5_CHARSET = 136;
// Pitch bits of lfPitchAndFamily; bit 2 marks a scalable (TrueType) font.
constexpr uint8_t DEFAULT_PITCH = 0;
constexpr uint8_t FIXED_PITCH = 1;
constexpr uint8_t VARIABLE_PITCH = 2;
constexpr uint8_t TRUETYPE_FONTTYPE = 4;
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;

// The logical description a font object is made from. 60 bytes without
// padding, and the face name is zero-filled after its end, so two
// descriptions compare equal byte for byte exactly when they describe the
// same font.
struct TLogFont {
  int32_t lfHeight = 0;  // negative: character height in pixels
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = FW_NORMAL;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = DEFAULT_CHARSET;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = DEFAULT_PITCH;
  char lfFaceName[32] = {};

  std::string FaceName() const;
  // Stores at most 31 bytes and clears the rest of the field.
  void SetFaceName(const std::string& name);
  friend bool operator==(const TLogFont&, const TLogFont&) = default;
};
static_assert(sizeof(TLogFont) == 60);

// A font object of the process (0 = none). Fonts live from
// CreateFontIndirect to DeleteFont; a deleted handle is never reused, so a
// stale one is recognised.
using HFONT = uint32_t;

HFONT CreateFontIndirect(const TLogFont& logFont);
// False when the handle is not a live font.
bool DeleteFont(HFONT font);
bool GetFontObject(HFONT font, TLogFont& logFont);
bool IsFontHandle(HFONT font);
// Number of live font objects: tells tests how many fonts the caches made.
int LiveFontCount();

// Screen resolution the point sizes of fonts are converted with.
constexpr int ScreenPixelsPerInch = 96;

// The class library's font: a logical font with a colour and a change
// event. Handle() is a font object made on demand and dropped on a change.
class TFont : public TPersistent {
public:
  TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;
  ~TFont() override;
  std::string ClassName() const override { return "TFont"; }
  void Assign(const TPersistent& source) override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& value);
  // Points; the height follows (negative pixels at PixelsPerInch).
  int Size() const;
  void SetSize(int value);
  int Height() const { return FHeight; }
  void SetHeight(int value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch value);
  uint8_t Charset() const { return FCharset; }
  void SetCharset(uint8_t value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  // The resolution of the device the font is for (the screen's by default):
  // it converts between Size and Height. Setting it keeps the height; a
  // value below 1 is ignored, so a size can always be worked out.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int value);

  TLogFont LogFont() const;
  HFONT Handle() const;

  TNotifyEvent OnChange;

private:
  void Changed();

  std::string FName;
  int FHeight;
  TFontPitch FPitch = fpDefault;
  uint8_t FCharset = DEFAULT_CHARSET;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  int FPixelsPerInch = ScreenPixelsPerInch;
  mutable HFONT FHandle = 0;
};

enum TBrushStyle : uint8_t { bsSolid, bsClear };

class TBrush : public TPersistent {
public:
  std::string ClassName() const override { return "TBrush"; }
  void Assign(const TPersistent& source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle value);
  TNotifyEvent OnChange;

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

enum TPenStyle : uint8_t { psSolid, psClear };

class TPen : public TPersistent {
public:
  std::string ClassName() const override { return "TPen"; }
  void Assign(const TPersistent& source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  int Width() const { return FWidth; }
  // Widths below 1 become 1.
  void SetWidth(int value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle value);
  TNotifyEvent OnChange;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
};

}  // namespace vk
