// JPEG files through libjpeg. libjpeg reports fatal errors through a
// callback that must not return; it jumps back to the decoding function
// with longjmp, so that function keeps no object with a destructor alive
// between setjmp and the end of decoding.

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/PictureReaders.h"

namespace vk {

namespace {

struct TErrorManager {
  jpeg_error_mgr Public;
  std::jmp_buf Escape;
  int FirstWarning;  // message number of the first warning, 0 when none
};

void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->Escape, 1);
}

// Warnings mean corrupt or missing data; they are kept, not printed.
void EmitMessage(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<TErrorManager*>(info->err);
  if (level < 0 && errors->FirstWarning == 0) errors->FirstWarning = info->err->msg_code;
}

void OutputMessage(j_common_ptr) {}

// What libjpeg may take for one picture: a progressive picture of the
// largest size accepted keeps every coefficient (two bytes) of up to four
// components, plus room for its tables and row buffers.
constexpr long MaxDecoderMemory = 8 * MaxPicturePixels + (16L << 20);

// The decoded picture: width x height pixels of `components` bytes.
struct TPixels {
  int Width = 0, Height = 0, Components = 0;
  bool Cmyk = false, AdobeInverted = false;
  std::vector<unsigned char> Data;
};

// Answers 0, or the libjpeg message number of the failure.
int Decode(const std::string& bytes, TPixels& out) {
  jpeg_decompress_struct info;
  TErrorManager errors;
  info.err = jpeg_std_error(&errors.Public);
  errors.Public.error_exit = ErrorExit;
  errors.Public.emit_message = EmitMessage;
  errors.Public.output_message = OutputMessage;
  errors.FirstWarning = 0;
  if (setjmp(errors.Escape)) {
    int code = errors.Public.msg_code;
    jpeg_destroy_decompress(&info);
    return code ? code : -1;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = MaxDecoderMemory;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  // Before any decompression starts: starting a progressive picture
  // allocates its whole coefficient buffer.
  if (static_cast<long long>(info.image_width) * info.image_height > MaxPicturePixels) {
    jpeg_destroy_decompress(&info);
    return JERR_IMAGE_TOO_BIG;
  }
  out.Cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  out.AdobeInverted = out.Cmyk && info.saw_Adobe_marker;
  info.out_color_space = out.Cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  out.Width = static_cast<int>(info.output_width);
  out.Height = static_cast<int>(info.output_height);
  out.Components = info.output_components;
  if (out.Components != 3 && out.Components != 4) {
    jpeg_destroy_decompress(&info);
    return JERR_IMAGE_TOO_BIG;
  }
  size_t stride = static_cast<size_t>(out.Width) * out.Components;
  try {
    out.Data.resize(stride * out.Height);
  } catch (...) {
    jpeg_destroy_decompress(&info);
    return JERR_OUT_OF_MEMORY;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.Data.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return errors.FirstWarning;
}

}  // namespace

void ReadJpeg(const std::string& bytes, TBitmap& bitmap) {
  TPixels pixels;
  if (int code = Decode(bytes, pixels)) throw EJPEG(Format("JPEG error #%d", code));
  TBitmap result;
  result.SetSize(pixels.Width, pixels.Height);
  const unsigned char* p = pixels.Data.data();
  for (int y = 0; y < pixels.Height; ++y)
    for (int x = 0; x < pixels.Width; ++x, p += pixels.Components) {
      if (!pixels.Cmyk) {
        result.SetPixel(x, y, RGB(p[0], p[1], p[2]));
        continue;
      }
      // Adobe writes CMYK inverted; either way colour = (1 - ink) * (1 - black).
      int c = p[0], m = p[1], ye = p[2], k = p[3];
      if (!pixels.AdobeInverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
      result.SetPixel(x, y, RGB(c * k / 255, m * k / 255, ye * k / 255));
    }
  bitmap.Assign(result);
}

}  // namespace vk
