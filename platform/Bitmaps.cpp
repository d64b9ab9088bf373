#include "platform/Bitmaps.h"

#include <algorithm>

namespace vk {

void TBitmap::Assign(const TPersistent& source) {
  const auto* bitmap = dynamic_cast<const TBitmap*>(&source);
  if (!bitmap) {
    TPersistent::Assign(source);
    return;
  }
  if (bitmap == this) return;
  FWidth = bitmap->FWidth;
  FHeight = bitmap->FHeight;
  FPixels = bitmap->FPixels;
  FTransparentColor = bitmap->FTransparentColor;
  FTransparent = bitmap->FTransparent;
  Changed();
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  std::vector<TColorRef> pixels(static_cast<size_t>(width) * height, RGB(255, 255, 255));
  for (int y = 0; y < std::min(height, FHeight); ++y)
    std::copy_n(FPixels.begin() + static_cast<size_t>(y) * FWidth, std::min(width, FWidth),
                pixels.begin() + static_cast<size_t>(y) * width);
  FPixels.swap(pixels);
  FWidth = width;
  FHeight = height;
  Changed();
}

TColorRef TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return FPixels[static_cast<size_t>(y) * FWidth + x];
}

void TBitmap::SetPixel(int x, int y, TColorRef color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[static_cast<size_t>(y) * FWidth + x] = color;
}

void TBitmap::Fill(const TRect& r, TColorRef color) {
  TRect area;
  if (!IntersectRect(area, r, Rect(0, 0, FWidth, FHeight))) return;
  for (int y = area.Top; y < area.Bottom; ++y)
    std::fill_n(FPixels.begin() + static_cast<size_t>(y) * FWidth + area.Left, area.Width(), color);
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentColor != clDefault) return FTransparentColor;
  return static_cast<TColor>(Pixel(0, FHeight - 1));
}

void TBitmap::LoadFromResourceName(HINSTANCE, const std::string& name) {
  TBitmap loaded;
  if (!Resources::LoadImage(name, loaded)) throw EResNotFound(Format("Resource %s not found", name.c_str()));
  FWidth = loaded.FWidth;
  FHeight = loaded.FHeight;
  FPixels.swap(loaded.FPixels);
  Changed();
}

void TBitmap::Changed() {
  if (OnChange) OnChange(this);
}

void StretchBitmap(const TBitmap& source, int width, int height, const TRect& part, bool average, TBitmap& out) {
  out.SetSize(part.Width(), part.Height());
  if (source.Empty() || width <= 0 || height <= 0) return;
  // Source columns [first, last) that scaled column x covers; at least one.
  auto span = [](int x, int scaled, int original, int& first, int& last) {
    first = static_cast<int>(int64_t(x) * original / scaled);
    last = std::max(first + 1, static_cast<int>(int64_t(x + 1) * original / scaled));
    first = std::clamp(first, 0, original - 1);
    last = std::clamp(last, first + 1, original);
  };
  for (int y = part.Top; y < part.Bottom; ++y) {
    int y0, y1;
    span(y, height, source.Height(), y0, y1);
    for (int x = part.Left; x < part.Right; ++x) {
      int x0, x1;
      span(x, width, source.Width(), x0, x1);
      if (!average) {
        out.SetPixel(x - part.Left, y - part.Top, source.Pixel(x0, y0));
        continue;
      }
      int64_t r = 0, g = 0, b = 0, n = int64_t(x1 - x0) * (y1 - y0);
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
          TColorRef c = source.Pixel(sx, sy);
          r += GetRValue(c), g += GetGValue(c), b += GetBValue(c);
        }
      out.SetPixel(x - part.Left, y - part.Top,
                   RGB(static_cast<int>((r + n / 2) / n), static_cast<int>((g + n / 2) / n), static_cast<int>((b + n / 2) / n)));
    }
  }
}

}  // namespace vk
