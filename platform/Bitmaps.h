#pragma once
// Pictures: TBitmap, a grid of RGB pixels, and the named images a module
// carries as resources.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Graphics.h"

namespace vk {

// The module whose resources are asked for; this system has one.
using HINSTANCE = uintptr_t;
constexpr HINSTANCE HInstance = 1;

// Raised when a named resource does not exist: "Resource %s not found".
class EResNotFound : public Exception {
  using Exception::Exception;
};

class TBitmap : public TPersistent {
public:
  std::string ClassName() const override { return "TBitmap"; }
  // Copies the picture (pixels, size, transparency) of another bitmap;
  // calls OnChange.
  void Assign(const TPersistent& source) override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  // New pixels are white; pixels inside both sizes are kept.
  void SetSize(int width, int height);

  // Pixels outside the picture read as 0 and are not written.
  TColorRef Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColorRef color);
  void Fill(const TRect& r, TColorRef color);

  // The colour that Draw leaves out when Transparent is on; clDefault means
  // the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value) { FTransparentColor = value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value) { FTransparent = value; }

  // Replaces the picture with the module's image resource of that name
  // (case-insensitive); EResNotFound when there is none.
  void LoadFromResourceName(HINSTANCE instance, const std::string& name);

  // Tells the picture's users that its pixels changed.
  void Changed();
  TNotifyEvent OnChange;

private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TColorRef> FPixels;
  TColor FTransparentColor = clDefault;
  bool FTransparent = false;
};

// The source scaled to width x height; only the pixels inside `part` (a
// rectangle of the scaled picture) are made, into `out`, which takes the
// size of part. With `average` each pixel is the mean of the source pixels
// it covers (smooth when shrinking), else the nearest source pixel (which
// keeps a transparent colour exact).
void StretchBitmap(const TBitmap& source, int width, int height, const TRect& part, bool average, TBitmap& out);

// The image resources the system's units ask for by name.
namespace Resources {

// Fills the bitmap with the named image; false when there is none.
bool LoadImage(const std::string& name, TBitmap& bitmap);

}  // namespace Resources
}  // namespace vk
