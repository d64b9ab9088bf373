#pragma once
// The decoders behind TPicture: whole files in memory to pixels. Each either
// fills the bitmap completely or raises and leaves it as it was; no input,
// however damaged, makes them read or write outside their buffers.

#include <string>

#include "platform/Bitmaps.h"

namespace vk {

// Raised for a picture that cannot be read; the class library's texts.
class EInvalidGraphic : public Exception {
  using Exception::Exception;
};
// "JPEG error #%d" with the decoder's message number.
class EJPEG : public EInvalidGraphic {
  using EInvalidGraphic::EInvalidGraphic;
};

// Pictures larger than this many pixels are refused as damaged.
constexpr long long MaxPicturePixels = 1LL << 26;

// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or
// with colour masks, bottom-up or top-down, with the core or any later info
// header. Raises EInvalidGraphic "Bitmap image is not valid".
void ReadBmp(const std::string& bytes, TBitmap& bitmap);
// JPEG through libjpeg: grey, colour and CMYK pictures. A stream that ends
// early or holds corrupt data raises EJPEG.
void ReadJpeg(const std::string& bytes, TBitmap& bitmap);

}  // namespace vk
