#include "platform/RasterCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace vk {

TFontStyles TRasterCanvas::TDrawnChar::Style() const {
  TFontStyles style;
  if (Font.lfWeight >= FW_BOLD) style.Include(fsBold);
  if (Font.lfItalic) style.Include(fsItalic);
  if (Font.lfUnderline) style.Include(fsUnderline);
  if (Font.lfStrikeOut) style.Include(fsStrikeOut);
  return style;
}

TRasterCanvas::TRasterCanvas(int width, int height) {
  FPixels.SetSize(width, height);
  FOwners.assign(static_cast<size_t>(FPixels.Width()) * FPixels.Height(), -1);
  SetClipRect(Rect(0, 0, FPixels.Width(), FPixels.Height()));
}

void TRasterCanvas::Forget(const TRect& r) {
  TRect area;
  if (!IntersectRect(area, r, Rect(0, 0, Width(), Height()))) return;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      int owner = OwnerAt(x, y);
      if (owner < 0) continue;
      // Painting over a character's top-left pixel removes all of it.
      const TRect& cell = FChars[owner].Cell;
      if (PtInRect(area, {cell.Left, cell.Top})) {
        TRect drop;
        IntersectRect(drop, cell, Rect(0, 0, Width(), Height()));
        for (int cy = drop.Top; cy < drop.Bottom; ++cy)
          for (int cx = drop.Left; cx < drop.Right; ++cx)
            if (OwnerAt(cx, cy) == owner) OwnerAt(cx, cy) = -1;
      }
      OwnerAt(x, y) = -1;
    }
}

void TRasterCanvas::PaintRect(const TRect& r, TColorRef color) {
  FPixels.Fill(r, color);
  Forget(r);
}

void TRasterCanvas::PaintText(const TTextRun& run) {
  if (run.FillsOpaqueRect) PaintRect(run.OpaqueRect, run.BackColor);
  for (const TTextRun::TChar& c : run.Chars) {
    TRect cell;
    if (!IntersectRect(cell, Bounds(c.X, run.Y, c.Width, run.Height), run.Clip)) continue;
    if (run.FillsCharBackground) PaintRect(cell, run.BackColor);
    Forget(cell);
    // A character counts where its top-left pixel is visible.
    if (!PtInRect(cell, {c.X, run.Y}) || !PtInRect(Rect(0, 0, Width(), Height()), {c.X, run.Y})) continue;
    FChars.push_back({c.Text, Bounds(c.X, run.Y, c.Width, run.Height), run.Font, run.TextColor});
    TRect owned;
    IntersectRect(owned, cell, Rect(0, 0, Width(), Height()));
    for (int y = owned.Top; y < owned.Bottom; ++y)
      std::fill_n(&OwnerAt(owned.Left, y), owned.Width(), static_cast<int>(FChars.size()) - 1);
  }
}

void TRasterCanvas::PaintLine(const TPoint& from, const TPoint& to, TColorRef color, int width) {
  // Bresenham, the end point left out; a wider pen paints a square per point.
  int dx = std::abs(to.X - from.X), dy = -std::abs(to.Y - from.Y);
  int sx = from.X < to.X ? 1 : -1, sy = from.Y < to.Y ? 1 : -1;
  int error = dx + dy;
  TPoint p = from;
  while (p != to) {
    TRect dot;
    if (IntersectRect(dot, Bounds(p.X - (width - 1) / 2, p.Y - (width - 1) / 2, width, width), ClipRect()))
      PaintRect(dot, color);
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      p.X += sx;
    }
    if (twice <= dx) {
      error += dx;
      p.Y += sy;
    }
  }
}

void TRasterCanvas::PaintBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect,
                                const TColorRef* transparent, const TColorRef* replacement) {
  for (int y = 0; y < dest.Height(); ++y)
    for (int x = 0; x < dest.Width(); ++x) {
      TColorRef color = source.Pixel(sourceRect.Left + x, sourceRect.Top + y);
      if (transparent && color == *transparent) {
        if (!replacement) continue;
        color = *replacement;
      }
      PaintRect(Bounds(dest.Left + x, dest.Top + y, 1, 1), color);
    }
}

const TRasterCanvas::TDrawnChar* TRasterCanvas::CharAt(int x, int y) const {
  if (!PtInRect(Rect(0, 0, Width(), Height()), {x, y})) return nullptr;
  int owner = OwnerAt(x, y);
  return owner < 0 ? nullptr : &FChars[owner];
}

std::string TRasterCanvas::TextAt(int y) const {
  std::string text;
  int last = -1;
  for (int x = 0; y >= 0 && y < Height() && x < Width(); ++x) {
    int owner = OwnerAt(x, y);
    if (owner >= 0 && owner != last) text += FChars[owner].Text;
    last = owner;
  }
  return text;
}

}  // namespace vk
