#include "platform/FileIcons.h"

#include <gtest/gtest.h>

#include "platform/RasterCanvas.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

TEST(FileIconsTest, OneIndexPerKindOfFileInBothLists) {
  test::TTempFolder folder;
  TFileIcons icons;
  struct Case {
    std::string Name;
    std::string SameAs;
  } cases[] = {
      {"main.c", "LCD.C"}, {"main.h", "io.hpp"}, {"start.S", "boot.asm"}, {"blink.hex", "blink.o"},
      {"makefile", "Makefile.bak"}, {"notes.zip", "README"}, {folder.Path(), "/"},
  };
  std::vector<int> seen;
  for (const auto& c : cases) {
    int index = icons.IconIndex(c.Name);
    EXPECT_EQ(index, icons.IconIndex(c.SameAs)) << c.Name << " / " << c.SameAs;
    EXPECT_EQ(seen.end(), std::find(seen.begin(), seen.end(), index)) << c.Name;
    seen.push_back(index);
  }
  EXPECT_EQ(7, icons.SmallImages().Count());
  EXPECT_EQ(7, icons.LargeImages().Count());

  // Each kind looks different, and the background stays transparent.
  TRasterCanvas c(16, 16), h(16, 16);
  icons.SmallImages().Draw(c, 0, 0, icons.IconIndex("a.c"));
  icons.SmallImages().Draw(h, 0, 0, icons.IconIndex("a.h"));
  EXPECT_NE(c.PixelAt(8, 10), h.PixelAt(8, 10));
  EXPECT_EQ(RGB(255, 255, 255), c.PixelAt(15, 0));

  icons.SetSource(nullptr);
  EXPECT_EQ(0, icons.SmallImages().Count());
}

}  // namespace
}  // namespace vk
