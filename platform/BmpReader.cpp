// Windows bitmap files, read without any help from the system.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/PictureReaders.h"

namespace vk {

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

class TReader {
public:
  explicit TReader(const std::string& bytes) : FBytes(bytes) {}
  uint32_t U8(size_t at) const { return static_cast<unsigned char>(FBytes.at(at)); }
  uint32_t U16(size_t at) const { return U8(at) | U8(at + 1) << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  int32_t S32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  size_t Size() const { return FBytes.size(); }

private:
  const std::string& FBytes;
};

// One colour channel of a packed pixel: where its bits are and how many.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  explicit TChannel(uint32_t mask = 0) : Mask(mask) {
    if (!mask) return;
    while (!(mask & 1)) mask >>= 1, ++Shift;
    while (mask & 1) mask >>= 1, ++Bits;
  }
  int Value(uint32_t pixel) const {
    if (!Bits) return 0;
    uint32_t v = (pixel & Mask) >> Shift;
    uint32_t max = Bits >= 32 ? 0xFFFFFFFFu : (1u << Bits) - 1;
    return static_cast<int>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
  }
};

struct THeader {
  int Width = 0, Height = 0, Bits = 0;
  bool TopDown = false;
  uint32_t Compression = 0;
  size_t PaletteAt = 0, PaletteEntrySize = 4, PaletteCount = 0;
  TChannel Red, Green, Blue;
};

constexpr uint32_t BI_RGB = 0, BI_BITFIELDS = 3;

THeader ReadHeader(const TReader& in) {
  THeader h;
  uint32_t infoSize = in.U32(14);
  size_t infoEnd = 14 + static_cast<size_t>(infoSize);
  if (infoSize == 12) {  // the core header of the oldest bitmaps
    h.Width = static_cast<int>(in.U16(18));
    h.Height = static_cast<int16_t>(in.U16(20));
    h.Bits = static_cast<int>(in.U16(24));
    h.PaletteEntrySize = 3;
  } else if (infoSize >= 40 && infoSize <= 1024) {
    h.Width = in.S32(18);
    int32_t height = in.S32(22);
    if (height == INT32_MIN) Invalid();
    h.Height = height;
    h.Bits = static_cast<int>(in.U16(28));
    h.Compression = in.U32(30);
    h.PaletteCount = in.U32(46);
    if (h.Compression == BI_BITFIELDS) {
      // The masks follow a plain info header, or are part of a longer one.
      size_t masksAt = infoSize >= 52 ? 54 : infoEnd;
      h.Red = TChannel(in.U32(masksAt));
      h.Green = TChannel(in.U32(masksAt + 4));
      h.Blue = TChannel(in.U32(masksAt + 8));
      if (infoSize < 52) infoEnd += 12;
    }
  } else {
    Invalid();
  }
  if (h.Height < 0) {
    h.TopDown = true;
    h.Height = -h.Height;
  }
  h.PaletteAt = infoEnd;
  return h;
}

void CheckHeader(THeader& h, const TReader& in, size_t pixelsAt, size_t stride) {
  if (h.Width <= 0 || h.Height <= 0 || static_cast<long long>(h.Width) * h.Height > MaxPicturePixels) Invalid();
  switch (h.Bits) {
    case 1: case 4: case 8:
      if (h.Compression != BI_RGB) Invalid();
      if (h.PaletteCount == 0 || h.PaletteCount > (1u << h.Bits)) h.PaletteCount = size_t(1) << h.Bits;
      // A palette cut short by the pixels or the file end keeps what is there.
      if (h.PaletteAt > in.Size()) Invalid();
      h.PaletteCount = std::min(h.PaletteCount, (std::min(pixelsAt, in.Size()) - std::min(pixelsAt, h.PaletteAt)) /
                                                    h.PaletteEntrySize);
      break;
    case 16:
    case 32:
      if (h.Compression == BI_RGB) {
        h.Red = TChannel(h.Bits == 16 ? 0x7C00 : 0xFF0000);
        h.Green = TChannel(h.Bits == 16 ? 0x03E0 : 0x00FF00);
        h.Blue = TChannel(h.Bits == 16 ? 0x001F : 0x0000FF);
      } else if (h.Compression != BI_BITFIELDS) {
        Invalid();
      }
      break;
    case 24:
      if (h.Compression != BI_RGB) Invalid();
      break;
    default:
      Invalid();
  }
  if (pixelsAt > in.Size() || stride * static_cast<size_t>(h.Height) > in.Size() - pixelsAt) Invalid();
}

}  // namespace

void ReadBmp(const std::string& bytes, TBitmap& bitmap) {
  TReader in(bytes);
  try {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') Invalid();
    THeader h = ReadHeader(in);
    size_t pixelsAt = in.U32(10);
    if (h.Width <= 0 || h.Bits <= 0 || h.Bits > 32) Invalid();
    size_t stride = (static_cast<size_t>(h.Width) * h.Bits + 31) / 32 * 4;
    CheckHeader(h, in, pixelsAt, stride);

    std::vector<TColorRef> palette;
    for (size_t i = 0; i < h.PaletteCount; ++i) {
      size_t at = h.PaletteAt + i * h.PaletteEntrySize;
      palette.push_back(RGB(in.U8(at + 2), in.U8(at + 1), in.U8(at)));
    }
    TBitmap result;
    result.SetSize(h.Width, h.Height);
    for (int row = 0; row < h.Height; ++row) {
      size_t line = pixelsAt + stride * static_cast<size_t>(row);
      int y = h.TopDown ? row : h.Height - 1 - row;
      for (int x = 0; x < h.Width; ++x) {
        TColorRef color = 0;
        if (h.Bits <= 8) {
          size_t bit = static_cast<size_t>(x) * h.Bits;
          uint32_t index = (in.U8(line + bit / 8) >> (8 - h.Bits - bit % 8)) & ((1u << h.Bits) - 1);
          color = index < palette.size() ? palette[index] : 0;  // an index past the palette shows black
        } else if (h.Bits == 24) {
          size_t at = line + static_cast<size_t>(x) * 3;
          color = RGB(in.U8(at + 2), in.U8(at + 1), in.U8(at));
        } else {
          uint32_t pixel = h.Bits == 16 ? in.U16(line + static_cast<size_t>(x) * 2) : in.U32(line + static_cast<size_t>(x) * 4);
          color = RGB(h.Red.Value(pixel), h.Green.Value(pixel), h.Blue.Value(pixel));
        }
        result.SetPixel(x, y, color);
      }
    }
    bitmap.Assign(result);
  } catch (const std::out_of_range&) {
    Invalid();  // a header field that points past the end of the file
  }
}

}  // namespace vk
