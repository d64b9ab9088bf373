#include "platform/Graphics.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace vk {

// ---------------------------------------------------------------- geometry

bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

bool IntersectRect(TRect& result, const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(r)) {
    result = TRect{};
    return false;
  }
  result = r;
  return true;
}

bool UnionRect(TRect& result, const TRect& a, const TRect& b) {
  if (IsRectEmpty(a)) {
    result = IsRectEmpty(b) ? TRect{} : b;
  } else if (IsRectEmpty(b)) {
    result = a;
  } else {
    result = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  }
  return !IsRectEmpty(result);
}

bool PtInRect(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

void OffsetRect(TRect& r, int dx, int dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
}

void InflateRect(TRect& r, int dx, int dy) {
  r.Left -= dx;
  r.Right += dx;
  r.Top -= dy;
  r.Bottom += dy;
}

// ---------------------------------------------------------------- colours

namespace {

// The fixed light theme system colours resolve to, by system colour index.
constexpr TColorRef SystemColors[] = {
    RGB(200, 200, 200),  // clScrollBar
    RGB(0, 0, 0),        // clBackground
    RGB(153, 180, 209),  // clActiveCaption
    RGB(191, 205, 219),  // clInactiveCaption
    RGB(240, 240, 240),  // clMenu
    RGB(255, 255, 255),  // clWindow
    RGB(100, 100, 100),  // clWindowFrame
    RGB(0, 0, 0),        // clMenuText
    RGB(0, 0, 0),        // clWindowText
    RGB(0, 0, 0),        // clCaptionText
    RGB(180, 180, 180),  // clActiveBorder
    RGB(244, 247, 252),  // clInactiveBorder
    RGB(171, 171, 171),  // clAppWorkSpace
    RGB(0, 120, 215),    // clHighlight
    RGB(255, 255, 255),  // clHighlightText
    RGB(240, 240, 240),  // clBtnFace
    RGB(160, 160, 160),  // clBtnShadow
    RGB(109, 109, 109),  // clGrayText
    RGB(0, 0, 0),        // clBtnText
    RGB(0, 0, 0),        // clInactiveCaptionText
    RGB(255, 255, 255),  // clBtnHighlight
    RGB(105, 105, 105),  // cl3DDkShadow
    RGB(227, 227, 227),  // cl3DLight
    RGB(0, 0, 0),        // clInfoText
    RGB(255, 255, 225),  // clInfoBk
};

struct TColorName {
  TColor Color;
  const char* Name;
};

// Names for ColorToString come from the first entry of a colour; the later
// aliases (clLtGray, clDkGray) are only read.
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

}  // namespace

TColorRef ColorToRGB(TColor color) {
  if (color >= 0) return static_cast<TColorRef>(color);
  uint32_t index = static_cast<uint32_t>(color) & 0xFF;
  bool known = (static_cast<uint32_t>(color) & 0x7FFFFF00u) == 0 && index < std::size(SystemColors);
  return known ? SystemColors[index] : 0;
}

TColor StringToColor(const std::string& text) {
  for (const TColorName& entry : ColorNames)
    if (SameText(text, entry.Name)) return entry.Color;
  return StrToInt(text);
}

std::string ColorToString(TColor color) {
  for (const TColorName& entry : ColorNames)
    if (entry.Color == color) return entry.Name;
  return Format("$%.8X", static_cast<uint32_t>(color));
}

// ---------------------------------------------------------------- font objects

std::string TLogFont::FaceName() const { return std::string(lfFaceName, strnlen(lfFaceName, sizeof lfFaceName)); }

void TLogFont::SetFaceName(const std::string& name) {
  std::memset(lfFaceName, 0, sizeof lfFaceName);
  std::memcpy(lfFaceName, name.data(), std::min(name.size(), sizeof lfFaceName - 1));
}

namespace {

struct TFontTable {
  std::unordered_map<HFONT, TLogFont> Fonts;
  HFONT LastHandle = 0;
};

// Never destroyed: font objects may still be deleted while the process
// ends (by caches that outlive main).
TFontTable& Fonts() {
  static TFontTable* table = new TFontTable;
  return *table;
}

}  // namespace

HFONT CreateFontIndirect(const TLogFont& logFont) {
  TFontTable& table = Fonts();
  HFONT handle = ++table.LastHandle;
  table.Fonts.emplace(handle, logFont);
  return handle;
}

bool DeleteFont(HFONT font) { return Fonts().Fonts.erase(font) != 0; }

bool GetFontObject(HFONT font, TLogFont& logFont) {
  auto found = Fonts().Fonts.find(font);
  if (found == Fonts().Fonts.end()) return false;
  logFont = found->second;
  return true;
}

bool IsFontHandle(HFONT font) { return Fonts().Fonts.count(font) != 0; }

int LiveFontCount() { return static_cast<int>(Fonts().Fonts.size()); }

// ---------------------------------------------------------------- TFont

TFont::TFont() : FName("Sans Serif"), FHeight(-MulDiv(8, ScreenPixelsPerInch, 72)) {}

TFont::~TFont() {
  if (FHandle) DeleteFont(FHandle);
}

void TFont::Changed() {
  if (FHandle) {
    DeleteFont(FHandle);
    FHandle = 0;
  }
  if (OnChange) OnChange(this);
}

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (!font) {
    TPersistent::Assign(source);
    return;
  }
  // A font for another device keeps the point size, not the pixel height.
  int height = FPixelsPerInch == font->FPixelsPerInch ? font->FHeight : -MulDiv(font->Size(), FPixelsPerInch, 72);
  if (FName == font->FName && FHeight == height && FPitch == font->FPitch && FCharset == font->FCharset &&
      FStyle == font->FStyle && FColor == font->FColor)
    return;
  FName = font->FName;
  FHeight = height;
  FPitch = font->FPitch;
  FCharset = font->FCharset;
  FStyle = font->FStyle;
  FColor = font->FColor;
  Changed();
}

void TFont::SetName(const std::string& value) {
  if (value.empty() || value == FName) return;
  FName = value;
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, FPixelsPerInch, 72)); }

void TFont::SetPixelsPerInch(int value) {
  if (value >= 1) FPixelsPerInch = value;
}

void TFont::SetHeight(int value) {
  if (value == FHeight) return;
  FHeight = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == FPitch) return;
  FPitch = value;
  Changed();
}

void TFont::SetCharset(uint8_t value) {
  if (value == FCharset) return;
  FCharset = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  // The colour is not part of the font object.
  if (OnChange) OnChange(this);
}

TLogFont TFont::LogFont() const {
  TLogFont lf;
  lf.lfHeight = FHeight;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  lf.SetFaceName(FName);
  return lf;
}

HFONT TFont::Handle() const {
  if (!FHandle) FHandle = CreateFontIndirect(LogFont());
  return FHandle;
}

// ---------------------------------------------------------------- TBrush, TPen

void TBrush::Assign(const TPersistent& source) {
  const auto* brush = dynamic_cast<const TBrush*>(&source);
  if (!brush) {
    TPersistent::Assign(source);
    return;
  }
  FColor = brush->FColor;
  FStyle = brush->FStyle;
  if (OnChange) OnChange(this);
}

void TBrush::SetColor(TColor value) {
  if (value == FColor && FStyle == bsSolid) return;
  FColor = value;
  // Choosing a colour makes the brush paint again, as in the class library.
  FStyle = bsSolid;
  if (OnChange) OnChange(this);
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (OnChange) OnChange(this);
}

void TPen::Assign(const TPersistent& source) {
  const auto* pen = dynamic_cast<const TPen*>(&source);
  if (!pen) {
    TPersistent::Assign(source);
    return;
  }
  FColor = pen->FColor;
  FWidth = pen->FWidth;
  FStyle = pen->FStyle;
  if (OnChange) OnChange(this);
}

void TPen::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  if (OnChange) OnChange(this);
}

void TPen::SetWidth(int value) {
  value = std::max(value, 1);
  if (value == FWidth) return;
  FWidth = value;
  if (OnChange) OnChange(this);
}

void TPen::SetStyle(TPenStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (OnChange) OnChange(this);
}

}  // namespace vk
