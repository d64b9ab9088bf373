#include "platform/Canvas.h"

#include <algorithm>
#include <utility>

#include "platform/CodePage.h"

namespace vk {

// ---------------------------------------------------------------- metrics

namespace {

bool IsDoubleByteCharset(uint8_t charset) {
  return charset == SHIFTJIS_CHARSET || charset == HANGEUL_CHARSET || charset == GB2312_CHARSET ||
         charset == CHINESEBIG5_CHARSET;
}

std::unique_ptr<TFontMetrics>& CurrentMetrics() {
  static std::unique_ptr<TFontMetrics> metrics = std::make_unique<TFixedFontMetrics>();
  return metrics;
}

}  // namespace

int TFixedFontMetrics::Overhang(const TLogFont& font) const {
  return (font.lfWeight >= FW_BOLD ? FConfig.BoldOverhang : 0) + (font.lfItalic ? FConfig.ItalicOverhang : 0);
}

TTextMetric RequestedTextMetric(const TLogFont& font) {
  TTextMetric tm;
  tm.tmWeight = font.lfWeight;
  tm.tmItalic = font.lfItalic;
  tm.tmUnderlined = font.lfUnderline;
  tm.tmStruckOut = font.lfStrikeOut;
  tm.tmPitchAndFamily = font.lfPitchAndFamily;
  tm.tmCharSet = font.lfCharSet;
  return tm;
}

TTextMetric TFixedFontMetrics::TextMetrics(const TLogFont& font) const {
  TTextMetric tm = RequestedTextMetric(font);
  tm.tmHeight = FConfig.CellHeight;
  tm.tmAscent = FConfig.CellHeight - FConfig.CellHeight / 4;
  tm.tmDescent = FConfig.CellHeight / 4;
  tm.tmAveCharWidth = FConfig.CellWidth;
  tm.tmMaxCharWidth = (IsDoubleByteCharset(font.lfCharSet) ? 2 : 1) * FConfig.CellWidth + Overhang(font);
  return tm;
}

bool TFixedFontMetrics::CharABCWidths(const TLogFont& font, unsigned code, TABC& abc) const {
  if (!FConfig.HasABCWidths) return false;
  abc.abcA = 0;
  abc.abcB = static_cast<unsigned>(CharWidth(font, code));
  abc.abcC = 0;
  return true;
}

int TFixedFontMetrics::CharWidth(const TLogFont& font, unsigned code) const {
  return (code > 0xFF ? 2 : 1) * FConfig.CellWidth + (FConfig.HasABCWidths ? Overhang(font) : 0);
}

uint32_t TFixedFontMetrics::FontLanguageInfo(const TLogFont& font) const {
  return IsDoubleByteCharset(font.lfCharSet) ? GCP_DBCS : 0;
}

const TFontMetrics& FontMetrics() { return *CurrentMetrics(); }

std::unique_ptr<TFontMetrics> SetFontMetrics(std::unique_ptr<TFontMetrics> metrics) {
  std::swap(CurrentMetrics(), metrics);
  return metrics;
}

// ---------------------------------------------------------------- canvas level

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

void TCanvas::FillRect(const TRect& r) {
  TRect area;
  if (FBrush.Style() == bsClear || !IntersectRect(area, r, FState.Clip)) return;
  PaintRect(area, ColorToRGB(FBrush.Color()));
}

void TCanvas::Rectangle(const TRect& r) {
  FillRect(r);
  if (FPen.Style() == psClear || IsRectEmpty(r)) return;
  TColorRef color = ColorToRGB(FPen.Color());
  int right = r.Right - 1, bottom = r.Bottom - 1;
  PaintLine({r.Left, r.Top}, {right, r.Top}, color, 1);
  PaintLine({right, r.Top}, {right, bottom}, color, 1);
  PaintLine({right, bottom}, {r.Left, bottom}, color, 1);
  PaintLine({r.Left, bottom}, {r.Left, r.Top}, color, 1);
}

void TCanvas::MoveTo(int x, int y) { FPenPos = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  if (FPen.Style() != psClear) PaintLine(FPenPos, {x, y}, ColorToRGB(FPen.Color()), FPen.Width());
  FPenPos = {x, y};
}

void TCanvas::UseCanvasFont() {
  SelectFont(FFont.Handle());
  SetTextColor(ColorToRGB(FFont.Color()));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  UseCanvasFont();
  SetBkColor(ColorToRGB(FBrush.Color()));
  SetBkMode(FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
  ExtTextOut(x, y, 0, nullptr, text.data(), static_cast<int>(text.size()), nullptr);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  UseCanvasFont();
  SetBkColor(ColorToRGB(FBrush.Color()));
  SetBkMode(FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
  uint32_t options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0 : ETO_OPAQUE);
  ExtTextOut(x, y, options, &r, text.data(), static_cast<int>(text.size()), nullptr);
}

TSize TCanvas::TextExtent(const std::string& text) {
  SelectFont(FFont.Handle());
  return GetTextExtentPoint(text.data(), static_cast<int>(text.size()));
}

void TCanvas::CopyPicture(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                          const TColorRef* transparent, const TColorRef* replacement) {
  // Cut both rectangles to the part that exists in the source and fits the
  // destination.
  TRect from;
  if (!IntersectRect(from, sourceRect, Rect(0, 0, source.Width(), source.Height()))) return;
  TRect to = Bounds(dest.Left + from.Left - sourceRect.Left, dest.Top + from.Top - sourceRect.Top, from.Width(),
                    from.Height());
  TRect visible;
  if (!IntersectRect(visible, to, dest) || !IntersectRect(visible, visible, FState.Clip)) return;
  from = Bounds(from.Left + visible.Left - to.Left, from.Top + visible.Top - to.Top, visible.Width(), visible.Height());
  PaintBitmap(visible, source, from, transparent, replacement);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  TColorRef transparent = ColorToRGB(bitmap.TransparentColor());
  CopyPicture(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap, Rect(0, 0, bitmap.Width(), bitmap.Height()),
              bitmap.Transparent() ? &transparent : nullptr, nullptr);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
  if (dest.Width() == bitmap.Width() && dest.Height() == bitmap.Height()) {
    Draw(dest.Left, dest.Top, bitmap);
    return;
  }
  TRect visible;
  if (bitmap.Empty() || !IntersectRect(visible, dest, FState.Clip)) return;
  // Only the visible part is scaled: a picture stretched far beyond the
  // window costs no more than the window.
  TRect part = visible;
  OffsetRect(part, -dest.Left, -dest.Top);
  TBitmap scaled;
  StretchBitmap(bitmap, dest.Width(), dest.Height(), part, !bitmap.Transparent(), scaled);
  TColorRef transparent = ColorToRGB(bitmap.TransparentColor());
  PaintBitmap(visible, scaled, Rect(0, 0, scaled.Width(), scaled.Height()), bitmap.Transparent() ? &transparent : nullptr,
              nullptr);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
  CopyPicture(dest, source, sourceRect, nullptr, nullptr);
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TColor transparent) {
  TColorRef key = ColorToRGB(transparent);
  TColorRef brush = ColorToRGB(FBrush.Color());
  // clNone as the transparent colour leaves every pixel as it is.
  CopyPicture(dest, source, sourceRect, transparent == clNone ? nullptr : &key,
              FBrush.Style() == bsClear ? nullptr : &brush);
}

void TCanvas::SetClipRect(const TRect& r) { FState.Clip = r; }

// ---------------------------------------------------------------- device level

HFONT TCanvas::SelectFont(HFONT font) {
  TLogFont logFont;
  if (!GetFontObject(font, logFont)) return 0;
  HFONT previous = FState.Font;
  FState.Font = font;
  FState.LogFont = logFont;
  return previous;
}

TColorRef TCanvas::SetTextColor(TColorRef color) { return std::exchange(FState.TextColor, color); }
TColorRef TCanvas::SetBkColor(TColorRef color) { return std::exchange(FState.BkColor, color); }
int TCanvas::SetBkMode(int mode) { return std::exchange(FState.BkMode, mode); }
int TCanvas::SetTextCharacterExtra(int extra) { return std::exchange(FState.CharExtra, extra); }
uint32_t TCanvas::SetTextAlign(uint32_t align) { return std::exchange(FState.TextAlign, align); }

int TCanvas::SaveDC() {
  FSavedStates.push_back(FState);
  return static_cast<int>(FSavedStates.size());
}

bool TCanvas::RestoreDC(int savedState) {
  int count = static_cast<int>(FSavedStates.size());
  if (savedState < 0) savedState += count + 1;
  if (savedState < 1 || savedState > count) return false;
  FState = FSavedStates[savedState - 1];
  FSavedStates.resize(savedState - 1);
  return true;
}

bool TCanvas::GetTextMetrics(TTextMetric& metric) {
  metric = FontMetrics().TextMetrics(FState.LogFont);
  return true;
}

bool TCanvas::GetCharABCWidths(unsigned code, TABC& abc) {
  return FontMetrics().CharABCWidths(FState.LogFont, code, abc);
}

int TCanvas::GetCharWidth(unsigned code) { return FontMetrics().CharWidth(FState.LogFont, code); }

uint32_t TCanvas::GetFontLanguageInfo() { return FontMetrics().FontLanguageInfo(FState.LogFont); }

namespace {

// The code of the character that starts at text[i] and its length in bytes.
unsigned CharCode(const char* text, int length, int i, int& bytes) {
  bytes = static_cast<int>(CodePage::CharLength(text, length, i));
  auto byte = [&](int k) { return static_cast<unsigned char>(text[k]); };
  return bytes == 2 ? byte(i) * 256u + byte(i + 1) : byte(i);
}

}  // namespace

TSize TCanvas::GetTextExtentPoint(const char* text, int length) {
  int width = 0, bytes = 0;
  for (int i = 0; i < length; i += bytes)
    width += FontMetrics().CharWidth(FState.LogFont, CharCode(text, length, i, bytes)) + FState.CharExtra;
  return {width, FontMetrics().TextMetrics(FState.LogFont).tmHeight};
}

bool TCanvas::ExtTextOut(int x, int y, uint32_t options, const TRect* rect, const char* text, int length,
                         const int* dx) {
  TTextRun run;
  TTextMetric metric = FontMetrics().TextMetrics(FState.LogFont);
  uint32_t vertical = FState.TextAlign & TA_BASELINE;
  run.Y = vertical == TA_BASELINE ? y - metric.tmAscent : vertical == TA_BOTTOM ? y - metric.tmHeight : y;
  run.Height = metric.tmHeight;
  run.Font = FState.LogFont;
  run.TextColor = FState.TextColor;
  run.BackColor = FState.BkColor;
  run.Clip = FState.Clip;
  if (rect && (options & ETO_CLIPPED)) IntersectRect(run.Clip, run.Clip, *rect);
  if (rect && (options & ETO_OPAQUE)) run.FillsOpaqueRect = IntersectRect(run.OpaqueRect, *rect, FState.Clip);
  run.FillsCharBackground = FState.BkMode == OPAQUE;
  int bytes = 0;
  for (int i = 0; text && i < length; i += bytes) {
    unsigned code = CharCode(text, length, i, bytes);
    // Advances are per byte: a double-byte character moves by both entries.
    int advance = 0;
    if (dx) {
      for (int k = i; k < i + bytes; ++k) advance += dx[k];
    } else {
      advance = FontMetrics().CharWidth(FState.LogFont, code) + FState.CharExtra;
    }
    run.Chars.push_back({std::string(text + i, bytes), x, advance});
    x += advance;
  }
  if (run.FillsOpaqueRect || !run.Chars.empty()) PaintText(run);
  return true;
}

bool TCanvas::TextOutA(int x, int y, const char* text, int length) {
  return TCanvas::ExtTextOut(x, y, 0, nullptr, text, length, nullptr);
}

// ---------------------------------------------------------------- screen

namespace {

class TScreenCanvas : public TCanvas {
public:
  std::string ClassName() const override { return "TScreenCanvas"; }

protected:
  void PaintRect(const TRect&, TColorRef) override {}
  void PaintText(const TTextRun&) override {}
  void PaintLine(const TPoint&, const TPoint&, TColorRef, int) override {}
  void PaintBitmap(const TRect&, const TBitmap&, const TRect&, const TColorRef*, const TColorRef*) override {}
};

}  // namespace

std::unique_ptr<TCanvas> CreateScreenCanvas() { return std::make_unique<TScreenCanvas>(); }

}  // namespace vk
