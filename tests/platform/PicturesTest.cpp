#include "platform/Pictures.h"

#include <cstdio>
#include <random>

#include <jpeglib.h>
#include <jerror.h>

#include <gtest/gtest.h>

#include "platform/RasterCanvas.h"
#include "platform/Streams.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

// A 3 x 2 picture with five colours.
const TColorRef Grid[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                              {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 0, 0)}};

void Put16(std::string& s, uint32_t v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

struct TBmpKind {
  int Bits;
  bool TopDown;
  bool Core;       // the 12-byte header of the oldest files
  bool Masks;      // colour masks after the header
};

// Writes Grid as a bitmap file of the given kind.
std::string MakeBmp(const TBmpKind& kind) {
  std::vector<TColorRef> palette = {Grid[0][0], Grid[0][1], Grid[0][2], Grid[1][0], Grid[1][1]};
  auto index = [&](TColorRef c) { return uint32_t(std::find(palette.begin(), palette.end(), c) - palette.begin()); };
  if (kind.Bits == 1) palette = {RGB(0, 0, 0), RGB(255, 255, 255)};
  int paletteSize = kind.Bits <= 8 ? int(palette.size()) * (kind.Core ? 3 : 4) : 0;
  int headerSize = kind.Core ? 12 : 40;
  int masksSize = kind.Masks ? 12 : 0;
  int stride = (3 * kind.Bits + 31) / 32 * 4;
  int offset = 14 + headerSize + masksSize + paletteSize;
  std::string s = "BM";
  Put32(s, offset + stride * 2), Put32(s, 0), Put32(s, offset), Put32(s, headerSize);
  if (kind.Core) {
    Put16(s, 3), Put16(s, 2), Put16(s, 1), Put16(s, kind.Bits);
  } else {
    Put32(s, 3), Put32(s, kind.TopDown ? uint32_t(-2) : 2), Put16(s, 1), Put16(s, kind.Bits);
    Put32(s, kind.Masks ? 3 : 0), Put32(s, 0), Put32(s, 0), Put32(s, 0), Put32(s, kind.Bits <= 8 ? palette.size() : 0),
        Put32(s, 0);
  }
  if (kind.Masks) Put32(s, 0xF800), Put32(s, 0x07E0), Put32(s, 0x001F);  // 5-6-5
  for (TColorRef c : kind.Bits <= 8 ? palette : std::vector<TColorRef>()) {
    s += char(GetBValue(c)), s += char(GetGValue(c)), s += char(GetRValue(c));
    if (!kind.Core) s += '\0';
  }
  for (int row = 0; row < 2; ++row) {
    int y = kind.TopDown ? row : 1 - row;
    std::string line;
    uint32_t bits = 0;
    for (int x = 0; x < 3; ++x) {
      TColorRef c = Grid[y][x];
      int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      switch (kind.Bits) {
        case 1: bits |= (c == RGB(255, 255, 255) ? 1u : 0u) << (7 - x); break;
        case 4: bits |= index(c) << (4 - 4 * (x % 2)) << (x / 2 * 8); break;
        case 8: line += char(index(c)); break;
        case 16: Put16(line, kind.Masks ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3); break;
        case 24: line += char(b), line += char(g), line += char(r); break;
        case 32: Put32(line, uint32_t(r) << 16 | g << 8 | b); break;
      }
    }
    if (kind.Bits == 1) line += char(bits);
    if (kind.Bits == 4) line += char(bits & 0xFF), line += char(bits >> 8);
    line.resize(stride, '\0');
    s += line;
  }
  return s;
}

// A width x height JPEG: red on the left half, blue on the right, or grey.
std::string MakeJpeg(int width, int height, bool grey, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(width * info.input_components);
  for (int x = 0; x < width; ++x) {
    if (grey) row[x] = 128;
    else row[3 * x] = x < width / 2 ? 255 : 0, row[3 * x + 1] = 0, row[3 * x + 2] = x < width / 2 ? 0 : 255;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return bytes;
}

// A small JPEG whose frame header declares 65000 x 65000 pixels.
std::string HugeJpeg(bool progressive) {
  std::string bytes = MakeJpeg(16, 16, false, progressive);
  size_t frame = bytes.find(progressive ? "\xFF\xC2" : "\xFF\xC0");
  for (size_t at : {frame + 5, frame + 7}) bytes[at] = char(65000 >> 8), bytes[at + 1] = char(65000 & 0xFF);
  return bytes;
}

bool Near(TColorRef a, TColorRef b) {
  return std::abs(GetRValue(a) - GetRValue(b)) < 24 && std::abs(GetGValue(a) - GetGValue(b)) < 24 &&
         std::abs(GetBValue(a) - GetBValue(b)) < 24;
}

const TBmpKind BmpKinds[] = {
    {24, false, false, false}, {24, true, false, false}, {24, false, true, false}, {32, false, false, false},
    {16, false, false, false}, {16, true, false, true},  {8, true, false, false},  {4, false, false, false},
    {8, false, true, false},
};

TEST(PicturesTest, BitmapsOfEveryDepthAndLayoutReadTheSamePixels) {
  for (const auto& kind : BmpKinds) {
    TBitmap bitmap;
    ReadBmp(MakeBmp(kind), bitmap);
    ASSERT_EQ(3, bitmap.Width()) << kind.Bits;
    ASSERT_EQ(2, bitmap.Height());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_TRUE(Near(Grid[y][x], bitmap.Pixel(x, y)))
            << kind.Bits << "bpp top-down " << kind.TopDown << " core " << kind.Core << " at " << x << "," << y;
  }
  TBitmap mono;
  ReadBmp(MakeBmp({1, false, false, false}), mono);
  EXPECT_EQ(RGB(255, 255, 255), mono.Pixel(0, 1));
  EXPECT_EQ(RGB(0, 0, 0), mono.Pixel(1, 1));
}

TEST(PicturesTest, JpegsDecodeInColourAndGrey) {
  for (bool progressive : {false, true}) {
    TBitmap colour;
    ReadJpeg(MakeJpeg(16, 8, false, progressive), colour);
    ASSERT_EQ(16, colour.Width());
    ASSERT_EQ(8, colour.Height());
    EXPECT_TRUE(Near(RGB(255, 0, 0), colour.Pixel(2, 4))) << progressive;
    EXPECT_TRUE(Near(RGB(0, 0, 255), colour.Pixel(13, 4))) << progressive;
  }
  TBitmap grey;
  ReadJpeg(MakeJpeg(5, 3, true), grey);
  EXPECT_TRUE(Near(RGB(128, 128, 128), grey.Pixel(4, 2)));
}

TEST(PicturesTest, LoadFromFileChoosesByExtensionAndKeepsThePictureOnFailure) {
  test::TTempFolder folder;
  SaveBytesToFile(folder.File("part.JPG"), MakeJpeg(16, 8, false));
  SaveBytesToFile(folder.File("part.bmp"), MakeBmp(BmpKinds[0]));
  std::string jpeg = MakeJpeg(16, 8, false);
  SaveBytesToFile(folder.File("cut.jpeg"), jpeg.substr(0, jpeg.size() / 2));
  SaveBytesToFile(folder.File("cut.bmp"), MakeBmp(BmpKinds[0]).substr(0, 40));
  SaveBytesToFile(folder.File("part.png"), "\x89PNG");
  SaveBytesToFile(folder.File("huge.jpg"), HugeJpeg(false));
  SaveBytesToFile(folder.File("huge-progressive.jpg"), HugeJpeg(true));

  TPicture picture;
  struct Counter {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } counter;
  picture.OnChange = TNotifyEvent(&counter, &Counter::Changed);
  picture.LoadFromFile(folder.File("part.JPG"));
  EXPECT_EQ(16, picture.Width());
  picture.LoadFromFile(folder.File("part.bmp"));
  EXPECT_EQ(3, picture.Width());
  EXPECT_EQ(2, counter.Changes);

  const std::string tooBig = Format("JPEG error #%d", JERR_IMAGE_TOO_BIG);
  struct Failure {
    const char* Name;
    std::string MessageStart;
  } failures[] = {
      {"cut.jpeg", "JPEG error #"},
      // Refused as the header is read: a progressive picture would first
      // allocate gigabytes of coefficients.
      {"huge.jpg", tooBig},
      {"huge-progressive.jpg", tooBig},
      {"cut.bmp", "Bitmap image is not valid"},
      {"part.png", "Unknown picture file extension (.png)"},
      {"noext", "Unknown picture file extension (.)"},
      {"missing.jpg", "Cannot open file \""},
  };
  for (const auto& f : failures) {
    try {
      picture.LoadFromFile(folder.File(f.Name));
      ADD_FAILURE() << f.Name << " loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(0u, e.Message().rfind(f.MessageStart, 0)) << e.Message();
    }
    EXPECT_EQ(3, picture.Width()) << f.Name;
  }
  EXPECT_EQ(2, counter.Changes);
}

// Damaged files: every cut and many random byte changes either decode or
// raise the picture error; nothing else may happen (the sanitizer build
// catches reads and writes outside the buffers).
TEST(PicturesTest, DamagedFilesNeverCrashTheDecoders) {
  std::vector<std::pair<std::string, void (*)(const std::string&, TBitmap&)>> goods;
  for (const auto& kind : BmpKinds) goods.emplace_back(MakeBmp(kind), ReadBmp);
  goods.emplace_back(MakeJpeg(24, 16, false), ReadJpeg);
  goods.emplace_back(MakeJpeg(24, 16, false, true), ReadJpeg);
  goods.emplace_back(MakeJpeg(9, 9, true), ReadJpeg);
  std::mt19937 random(1234);
  int failures = 0, trials = 0;
  for (const auto& [good, read] : goods) {
    std::vector<std::string> damaged;
    for (size_t length = 0; length < good.size(); length += 1 + good.size() / 200) damaged.push_back(good.substr(0, length));
    for (int i = 0; i < 300; ++i) {
      std::string bytes = good;
      for (int changes = 1 + random() % 4; changes > 0; --changes) bytes[random() % bytes.size()] = char(random());
      damaged.push_back(bytes);
    }
    for (const std::string& bytes : damaged) {
      TBitmap bitmap;
      ++trials;
      try {
        read(bytes, bitmap);
      } catch (const EInvalidGraphic&) {
        ++failures;
      }
    }
  }
  EXPECT_GT(failures, trials / 4);  // the damage is really noticed
}

TEST(PicturesTest, StretchedAndCentredOnACanvas) {
  TBitmap two;
  two.SetSize(2, 1);
  two.SetPixel(0, 0, RGB(255, 0, 0));
  two.SetPixel(1, 0, RGB(0, 0, 255));
  TRasterCanvas canvas(20, 10);
  canvas.StretchDraw(Rect(0, 0, 20, 10), two);
  EXPECT_EQ(RGB(255, 0, 0), canvas.PixelAt(9, 9));
  EXPECT_EQ(RGB(0, 0, 255), canvas.PixelAt(10, 0));

  TBitmap checker;  // black and white pixels shrink to grey
  checker.SetSize(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) checker.SetPixel(x, y, (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
  canvas.StretchDraw(Rect(0, 0, 2, 2), checker);
  EXPECT_EQ(RGB(128, 128, 128), canvas.PixelAt(1, 1));

  two.SetTransparent(true);
  two.SetTransparentColor(static_cast<TColor>(RGB(0, 0, 255)));
  TRasterCanvas keyed(8, 4);
  keyed.StretchDraw(Rect(0, 0, 8, 4), two);
  EXPECT_EQ(RGB(255, 0, 0), keyed.PixelAt(3, 3));
  EXPECT_EQ(RGB(255, 255, 255), keyed.PixelAt(4, 0));  // left out
  keyed.Draw((8 - 2) / 2, (4 - 1) / 2, two);           // centred as it is
  EXPECT_EQ(RGB(255, 0, 0), keyed.PixelAt(3, 1));
}

}  // namespace
}  // namespace vk
