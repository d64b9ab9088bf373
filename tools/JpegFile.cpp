#include "tools/JpegFile.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <QtGui/QImage>
#include <jpeglib.h>

namespace vk::tools {
namespace {

constexpr int Quality = 92;

// The encoded bytes, in a buffer libjpeg allocates with malloc.
struct TJpegBytes {
  unsigned char* Data = nullptr;
  unsigned long Size = 0;
  ~TJpegBytes() { std::free(Data); }
};

// libjpeg reports its own failures (which only a broken library or an
// exhausted heap would cause) by printing them and ending the process with a
// failure status, which fails the build step that runs this tool.
void Encode(const QImage& rgb, TJpegBytes& out) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  std::unique_ptr<jpeg_compress_struct, void (*)(jpeg_compress_struct*)> guard(&info, jpeg_destroy_compress);
  jpeg_mem_dest(&info, &out.Data, &out.Size);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, Quality, TRUE);
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg takes rows through a non-const pointer but only reads them.
    JSAMPROW row = const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
}

}  // namespace

void WriteJpeg(const QImage& image, const std::filesystem::path& path) {
  TJpegBytes bytes;
  Encode(image.convertToFormat(QImage::Format_RGB888), bytes);
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.Data), static_cast<std::streamsize>(bytes.Size));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + temporary.string());
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) throw std::runtime_error("cannot replace " + path.string() + ": " + error.message());
}

}  // namespace vk::tools
