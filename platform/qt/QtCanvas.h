#pragma once
// A canvas that draws through a QPainter: the painting primitives of TCanvas
// become QPainter calls. Text runs draw each character in its own cell at
// the position ExtTextOut gave it, so the glyphs of a fixed-cell editor line
// up whatever the font's own advances are; a double-byte character is one
// glyph across both of its cells.

#include <QtGui/QPainter>
#include <string>

#include "platform/Canvas.h"
#include "platform/Events.h"

namespace vk {

class TQtCanvas : public TCanvas {
public:
  std::string ClassName() const override { return "TQtCanvas"; }

  // Draws through the painter until End (the time of one paint event).
  void Begin(QPainter& painter) { FPainter = &painter; }
  void End() { FPainter = nullptr; }
  bool Painting() const { return FPainter != nullptr; }

  // A widget can only be drawn on while it paints. What is drawn at other
  // times is reported here (device rectangle) instead, so that the owner
  // marks it for repainting; the next paint shows the window as it is.
  TDelegate<void(const TRect&)> OnPaintOutsidePaint;

protected:
  void PaintRect(const TRect& r, TColorRef color) override;
  void PaintText(const TTextRun& run) override;
  void PaintLine(const TPoint& from, const TPoint& to, TColorRef color, int width) override;
  void PaintBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect, const TColorRef* transparent,
                   const TColorRef* replacement) override;

private:
  // True when the painting may go on; else reports the area.
  bool CanPaint(const TRect& area);
  void DrawGlyphs(const TTextRun& run);

  QPainter* FPainter = nullptr;
};

}  // namespace vk
