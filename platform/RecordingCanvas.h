#pragma once
// A canvas that logs every call, one line of text each, so that a test can
// check which device work a piece of code did. It paints nothing.

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace vk {

class TRecordingCanvas : public TCanvas {
public:
  std::string ClassName() const override { return "TRecordingCanvas"; }

  // One line per call, e.g. "SelectFont 3", "SetTextColor $000000FF",
  // "ExtTextOut 10 20 2 [0 0 80 16] \"abc\" dx 8 8 8", "SaveDC 1".
  const std::vector<std::string>& Log() const { return FLog; }
  void ClearLog() { FLog.clear(); }
  // Lines that start with the given call name.
  std::vector<std::string> Calls(const std::string& name) const;
  int CountOf(const std::string& name) const { return static_cast<int>(Calls(name).size()); }

  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void TextOut(int x, int y, const std::string& text) override;
  void TextRect(const TRect& r, int x, int y, const std::string& text) override;
  void Draw(int x, int y, const TBitmap& bitmap) override;
  void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) override;
  void BrushCopy(const TRect& dest, const TBitmap& source, const TRect& sourceRect, TColor transparent) override;
  void SetClipRect(const TRect& r) override;

  HFONT SelectFont(HFONT font) override;
  TColorRef SetTextColor(TColorRef color) override;
  TColorRef SetBkColor(TColorRef color) override;
  int SetBkMode(int mode) override;
  int SetTextCharacterExtra(int extra) override;
  uint32_t SetTextAlign(uint32_t align) override;
  int SaveDC() override;
  bool RestoreDC(int savedState) override;
  bool GetTextMetrics(TTextMetric& metric) override;
  bool GetCharABCWidths(unsigned code, TABC& abc) override;
  int GetCharWidth(unsigned code) override;
  uint32_t GetFontLanguageInfo() override;
  TSize GetTextExtentPoint(const char* text, int length) override;
  bool ExtTextOut(int x, int y, uint32_t options, const TRect* rect, const char* text, int length,
                  const int* dx) override;
  bool TextOutA(int x, int y, const char* text, int length) override;

protected:
  void PaintRect(const TRect&, TColorRef) override {}
  void PaintText(const TTextRun&) override {}
  void PaintLine(const TPoint&, const TPoint&, TColorRef, int) override {}
  void PaintBitmap(const TRect&, const TBitmap&, const TRect&, const TColorRef*, const TColorRef*) override {}

private:
  void Record(std::string line) { FLog.push_back(std::move(line)); }
  std::vector<std::string> FLog;
};

// "[left top right bottom]", the form rectangles take in the log.
std::string RectToText(const TRect& r);

}  // namespace vk
