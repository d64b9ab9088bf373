#pragma once
// A canvas that paints into a pixel grid and remembers which character was
// drawn where, so that a test can ask what a paint produced.

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace vk {

class TRasterCanvas : public TCanvas {
public:
  // The surface starts white; the clip rectangle is the whole surface.
  TRasterCanvas(int width, int height);
  std::string ClassName() const override { return "TRasterCanvas"; }

  int Width() const { return FPixels.Width(); }
  int Height() const { return FPixels.Height(); }
  const TBitmap& Pixels() const { return FPixels; }
  TColorRef PixelAt(int x, int y) const { return FPixels.Pixel(x, y); }

  // A character as it was drawn: its cell, font and colours.
  struct TDrawnChar {
    std::string Text;
    TRect Cell;
    TLogFont Font;
    TColorRef TextColor = 0;
    TFontStyles Style() const;
  };
  // The character whose cell covers the pixel, or null; a character is
  // covered by a later fill or character painted over its top-left pixel.
  const TDrawnChar* CharAt(int x, int y) const;
  // The characters along the pixel row y, left to right, each once.
  std::string TextAt(int y) const;

protected:
  void PaintRect(const TRect& r, TColorRef color) override;
  void PaintText(const TTextRun& run) override;
  void PaintLine(const TPoint& from, const TPoint& to, TColorRef color, int width) override;
  void PaintBitmap(const TRect& dest, const TBitmap& source, const TRect& sourceRect, const TColorRef* transparent,
                   const TColorRef* replacement) override;

private:
  void Forget(const TRect& r);
  int& OwnerAt(int x, int y) { return FOwners[static_cast<size_t>(y) * Width() + x]; }
  int OwnerAt(int x, int y) const { return FOwners[static_cast<size_t>(y) * Width() + x]; }

  TBitmap FPixels;
  // Per pixel: the index into FChars of the character drawn there, or -1.
  std::vector<int> FOwners;
  std::vector<TDrawnChar> FChars;
};

}  // namespace vk
