#include "platform/qt/QtCanvas.h"

#include <QtGui/QImage>
#include <algorithm>
#include <memory>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFonts.h"

namespace vk {

namespace {

unsigned CharCode(const std::string& text) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  return text.size() == 2 ? byte(0) * 256u + byte(1) : byte(0);
}

TRect RunArea(const TTextRun& run) {
  TRect area = run.FillsOpaqueRect ? run.OpaqueRect : TRect{};
  TRect cells;
  for (const TTextRun::TChar& c : run.Chars) UnionRect(cells, cells, Bounds(c.X, run.Y, c.Width, run.Height));
  if (IntersectRect(cells, cells, run.Clip)) UnionRect(area, area, cells);
  return area;
}

}  // namespace

bool TQtCanvas::CanPaint(const TRect& area) {
  if (FPainter) return true;
  if (OnPaintOutsidePaint && !IsRectEmpty(area)) OnPaintOutsidePaint(area);
  return false;
}

void TQtCanvas::PaintRect(const TRect& r, TColorRef color) {
  if (CanPaint(r)) FPainter->fillRect(ToQRect(r), ToQColor(color));
}

void TQtCanvas::PaintText(const TTextRun& run) {
  if (!CanPaint(RunArea(run))) return;
  if (run.FillsOpaqueRect) FPainter->fillRect(ToQRect(run.OpaqueRect), ToQColor(run.BackColor));
  if (run.Chars.empty() || IsRectEmpty(run.Clip)) return;
  FPainter->save();
  FPainter->setClipRect(ToQRect(run.Clip));
  // The background of all cells first: a glyph that overhangs its cell is
  // not painted over by the next cell's background.
  if (run.FillsCharBackground)
    for (const TTextRun::TChar& c : run.Chars)
      FPainter->fillRect(c.X, run.Y, c.Width, run.Height, ToQColor(run.BackColor));
  DrawGlyphs(run);
  FPainter->restore();
}

void TQtCanvas::DrawGlyphs(const TTextRun& run) {
  std::unique_ptr<TQtFont> local;
  const TQtFont& font = QtFontFor(run.Font, local);
  FPainter->setFont(font.Font);
  FPainter->setPen(ToQColor(run.TextColor));
  const int baseline = run.Y + font.Baseline;
  // A laid-out glyph is drawn by its top, which stands the font's own ascent
  // above the baseline.
  const int glyphTop = baseline - font.Metrics.ascent();
  for (const TTextRun::TChar& c : run.Chars) {
    unsigned code = CharCode(c.Text);
    // Control characters and blanks show nothing.
    if (code <= ' ') continue;
    if (c.Text.size() == 1) {
      // Single bytes are in the font itself, laid out once.
      FPainter->drawStaticText(c.X, glyphTop, font.Glyph(code));
      continue;
    }
    // A double-byte glyph may come from a fallback font: drawn on the run's
    // baseline, centred across its cells, or squeezed into them when wider.
    QString glyph(AnsiCharToQChar(code));
    int advance = font.Metrics.horizontalAdvance(glyph);
    if (advance <= c.Width) {
      FPainter->drawText(c.X + (c.Width - advance) / 2, baseline, glyph);
    } else {
      FPainter->save();
      FPainter->translate(c.X, baseline);
      FPainter->scale(static_cast<double>(c.Width) / advance, 1.0);
      FPainter->drawText(0, 0, glyph);
      FPainter->restore();
    }
  }
  // Underline and strike-out run across the cells, as one line.
  int left = run.Chars.front().X;
  int right = run.Chars.back().X + run.Chars.back().Width;
  int thickness = std::max(1, font.Metrics.lineWidth());
  QColor color = ToQColor(run.TextColor);
  if (run.Font.lfUnderline)
    FPainter->fillRect(left, baseline + font.Metrics.underlinePos(), right - left, thickness, color);
  if (run.Font.lfStrikeOut)
    FPainter->fillRect(left, baseline - font.Metrics.strikeOutPos(), right - left, thickness, color);
}

void TQtCanvas::PaintLine(const TPoint& from, const TPoint& to, TColorRef color, int width) {
  if (from == to) return;
  int half = (width - 1) / 2;
  // Straight lines are filled rectangles, the end point left out as the
  // raster rules have it; a wider pen is centred on the line.
  if (from.X == to.X || from.Y == to.Y) {
    TRect r = from.X == to.X
                  ? Rect(from.X - half, std::min(from.Y, to.Y + 1), from.X - half + width, std::max(from.Y + 1, to.Y))
                  : Rect(std::min(from.X, to.X + 1), from.Y - half, std::max(from.X + 1, to.X), from.Y - half + width);
    if (IntersectRect(r, r, ClipRect()) && CanPaint(r)) FPainter->fillRect(ToQRect(r), ToQColor(color));
    return;
  }
  TRect area = Rect(std::min(from.X, to.X) - half, std::min(from.Y, to.Y) - half, std::max(from.X, to.X) + width,
                    std::max(from.Y, to.Y) + width);
  if (!IntersectRect(area, area, ClipRect()) || !CanPaint(area)) return;
  FPainter->save();
  FPainter->setClipRect(ToQRect(ClipRect()), Qt::IntersectClip);
  FPainter->setPen(QPen(ToQColor(color), width, Qt::SolidLine, Qt::FlatCap));
  FPainter->drawLine(from.X, from.Y, to.X, to.Y);
  FPainter->restore();
}

void TQtCanvas::PaintBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                            const TColorRef* transparent, const TColorRef* replacement) {
  if (!CanPaint(dest)) return;
  QImage image(dest.Width(), dest.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < dest.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < dest.Width(); ++x) {
      TColorRef pixel = source.Pixel(sourceRect.Left + x, sourceRect.Top + y);
      if (transparent && pixel == *transparent && !replacement) {
        line[x] = qRgba(0, 0, 0, 0);
        continue;
      }
      if (transparent && pixel == *transparent) pixel = *replacement;
      line[x] = qRgb(GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
    }
  }
  FPainter->drawImage(dest.Left, dest.Top, image);
}

}  // namespace vk
