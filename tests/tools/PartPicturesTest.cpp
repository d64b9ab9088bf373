#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <jpeglib.h>

#include "services/SharedTables.h"

namespace vk {
namespace {

struct TDecoded {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  std::vector<unsigned char> Pixels;
  std::string Error;
};

struct TJumpingErrors {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJumpingErrors*>(info->err);
  errors->Base.format_message(info, errors->Message);
  std::longjmp(errors->Jump, 1);
}

// Decodes with libjpeg into out; a corrupt stream fails with libjpeg's message
// instead of ending the test program. Only plain C objects live in this frame,
// so the jump back from libjpeg skips no destructor.
bool Decode(const std::vector<unsigned char>& bytes, TDecoded& out) {
  jpeg_decompress_struct info{};
  TJumpingErrors errors{};
  info.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = JumpOnError;
  if (setjmp(errors.Jump)) {
    jpeg_destroy_decompress(&info);
    out.Error = errors.Message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  out.Width = static_cast<int>(info.output_width);
  out.Height = static_cast<int>(info.output_height);
  out.Components = info.output_components;
  out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height * out.Components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.Pixels.data() + static_cast<std::size_t>(info.output_scanline) * out.Width * out.Components;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(PartPicturesTest, EveryShippedPictureIsADistinctReadableJpeg) {
  std::set<std::string> names{"NotFoundImage.jpg", "About.jpg"};
  for (const TMcuRow& row : McuTable) names.insert(row.Picture);

  // Hashes of the files' bytes: two names with one picture would collide.
  std::set<std::size_t> contents;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::vector<unsigned char> bytes = ReadFile(std::string(VK_IMAGE_FOLDER) + "/" + name);
    ASSERT_GE(bytes.size(), 4u) << "missing or empty";
    EXPECT_TRUE(bytes[0] == 0xFF && bytes[1] == 0xD8) << "no start-of-image marker";
    EXPECT_TRUE(bytes[bytes.size() - 2] == 0xFF && bytes.back() == 0xD9) << "no end-of-image marker";
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_TRUE(contents.insert(std::hash<std::string_view>{}(view)).second) << "same picture as another name";

    TDecoded image;
    ASSERT_TRUE(Decode(bytes, image)) << image.Error;
    EXPECT_EQ(image.Components, 3);
    if (name != "About.jpg") {
      // The size of the part-picture viewer's picture box.
      EXPECT_EQ(image.Width, 649);
      EXPECT_EQ(image.Height, 513);
    }
    // Something is drawn: the picture has both dark and light parts.
    auto [darkest, lightest] = std::minmax_element(image.Pixels.begin(), image.Pixels.end());
    EXPECT_GT(*lightest - *darkest, 150);
  }
}

}  // namespace
}  // namespace vk
