#include "platform/RecordingCanvas.h"

namespace vk {

std::string RectToText(const TRect& r) { return Format("[%d %d %d %d]", r.Left, r.Top, r.Right, r.Bottom); }

namespace {

std::string ColorText(TColorRef color) { return Format("$%.8X", color); }

}  // namespace

std::vector<std::string> TRecordingCanvas::Calls(const std::string& name) const {
  std::vector<std::string> lines;
  for (const std::string& line : FLog)
    if (line.compare(0, name.size(), name) == 0 && (line.size() == name.size() || line[name.size()] == ' '))
      lines.push_back(line);
  return lines;
}

void TRecordingCanvas::FillRect(const TRect& r) {
  Record("FillRect " + RectToText(r) + " " + ColorText(ColorToRGB(Brush().Color())));
  TCanvas::FillRect(r);
}

void TRecordingCanvas::Rectangle(const TRect& r) {
  Record("Rectangle " + RectToText(r));
  TCanvas::Rectangle(r);
}

void TRecordingCanvas::MoveTo(int x, int y) {
  Record(Format("MoveTo %d %d", x, y));
  TCanvas::MoveTo(x, y);
}

void TRecordingCanvas::LineTo(int x, int y) {
  Record(Format("LineTo %d %d %s", x, y, ColorText(ColorToRGB(Pen().Color())).c_str()));
  TCanvas::LineTo(x, y);
}

void TRecordingCanvas::TextOut(int x, int y, const std::string& text) {
  Record(Format("TextOut %d %d \"%s\"", x, y, text.c_str()));
  TCanvas::TextOut(x, y, text);
}

void TRecordingCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  Record(Format("TextRect %s %d %d \"%s\"", RectToText(r).c_str(), x, y, text.c_str()));
  TCanvas::TextRect(r, x, y, text);
}

void TRecordingCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  Record(Format("Draw %d %d %dx%d", x, y, bitmap.Width(), bitmap.Height()));
  TCanvas::Draw(x, y, bitmap);
}

void TRecordingCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
  Record("CopyRect " + RectToText(dest) + " " + RectToText(sourceRect));
  TCanvas::CopyRect(dest, source, sourceRect);
}

void TRecordingCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                                 TColor transparent) {
  Record("BrushCopy " + RectToText(dest) + " " + RectToText(sourceRect) + " " + ColorToString(transparent));
  TCanvas::BrushCopy(dest, source, sourceRect, transparent);
}

void TRecordingCanvas::SetClipRect(const TRect& r) {
  Record("SetClipRect " + RectToText(r));
  TCanvas::SetClipRect(r);
}

HFONT TRecordingCanvas::SelectFont(HFONT font) {
  Record(Format("SelectFont %u%s", font, IsFontHandle(font) ? "" : " (not a font)"));
  return TCanvas::SelectFont(font);
}

TColorRef TRecordingCanvas::SetTextColor(TColorRef color) {
  Record("SetTextColor " + ColorText(color));
  return TCanvas::SetTextColor(color);
}

TColorRef TRecordingCanvas::SetBkColor(TColorRef color) {
  Record("SetBkColor " + ColorText(color));
  return TCanvas::SetBkColor(color);
}

int TRecordingCanvas::SetBkMode(int mode) {
  Record(Format("SetBkMode %d", mode));
  return TCanvas::SetBkMode(mode);
}

int TRecordingCanvas::SetTextCharacterExtra(int extra) {
  Record(Format("SetTextCharacterExtra %d", extra));
  return TCanvas::SetTextCharacterExtra(extra);
}

uint32_t TRecordingCanvas::SetTextAlign(uint32_t align) {
  Record(Format("SetTextAlign %u", align));
  return TCanvas::SetTextAlign(align);
}

int TRecordingCanvas::SaveDC() {
  int state = TCanvas::SaveDC();
  Record(Format("SaveDC %d", state));
  return state;
}

bool TRecordingCanvas::RestoreDC(int savedState) {
  Record(Format("RestoreDC %d", savedState));
  return TCanvas::RestoreDC(savedState);
}

bool TRecordingCanvas::GetTextMetrics(TTextMetric& metric) {
  Record("GetTextMetrics");
  return TCanvas::GetTextMetrics(metric);
}

bool TRecordingCanvas::GetCharABCWidths(unsigned code, TABC& abc) {
  Record(Format("GetCharABCWidths %u", code));
  return TCanvas::GetCharABCWidths(code, abc);
}

int TRecordingCanvas::GetCharWidth(unsigned code) {
  Record(Format("GetCharWidth %u", code));
  return TCanvas::GetCharWidth(code);
}

uint32_t TRecordingCanvas::GetFontLanguageInfo() {
  Record("GetFontLanguageInfo");
  return TCanvas::GetFontLanguageInfo();
}

TSize TRecordingCanvas::GetTextExtentPoint(const char* text, int length) {
  Record(Format("GetTextExtentPoint \"%s\"", std::string(text, length).c_str()));
  return TCanvas::GetTextExtentPoint(text, length);
}

bool TRecordingCanvas::ExtTextOut(int x, int y, uint32_t options, const TRect* rect, const char* text, int length,
                                  const int* dx) {
  std::string line = Format("ExtTextOut %d %d %u %s \"%s\"", x, y, options, rect ? RectToText(*rect).c_str() : "-",
                            text ? std::string(text, length).c_str() : "");
  if (dx) {
    line += " dx";
    for (int i = 0; i < length; ++i) line += Format(" %d", dx[i]);
  }
  Record(line);
  return TCanvas::ExtTextOut(x, y, options, rect, text, length, dx);
}

bool TRecordingCanvas::TextOutA(int x, int y, const char* text, int length) {
  Record(Format("TextOutA %d %d \"%s\"", x, y, std::string(text, length).c_str()));
  return TCanvas::TextOutA(x, y, text, length);
}

}  // namespace vk
