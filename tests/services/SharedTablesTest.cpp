#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "services/SharedTables.h"

namespace vk {
namespace {

TEST(SharedTablesTest, PartLookupByExactName) {
  const struct {
    const char* Name;
    int Row;  // -1: no row
    const char* Flash;
    const char* Eeprom;
    const char* Sram;
  } cases[] = {
      {"atmega128", 56, "128", "4096", "4096"},
      {"atmega3250", 70, "32", "1024", "2048"},
      {"atmega329", 73, "32", "1024", "2048"},
      {"atmega3290", 86, "32", "1024", "2048"},
      {"at94k", 101, "0", "0", "36864"},
      {"at76c711", 97, "0", "0", "0"},
      {"attiny11", 0, "1", "0", "0"},
      {"ATmega128", -1, "", "", ""},
      {"", -1, "", "", ""},
      {"atmega12", -1, "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(IndexOfMcu(c.Name), c.Row);
    const TMcuRow* row = FindMcu(c.Name);
    ASSERT_EQ(row != nullptr, c.Row >= 0);
    if (!row) continue;
    EXPECT_STREQ(row->Flash, c.Flash);
    EXPECT_STREQ(row->Eeprom, c.Eeprom);
    EXPECT_STREQ(row->Sram, c.Sram);
  }
  // Repeated names carry identical values.
  for (int i = 0; i < McuCount; ++i) {
    const TMcuRow& row = McuTable[i];
    const TMcuRow& first = *FindMcu(row.Name);
    EXPECT_EQ(std::string(row.Flash) + row.Eeprom + row.Sram + row.Picture,
              std::string(first.Flash) + first.Eeprom + first.Sram + first.Picture)
        << row.Name;
  }
  EXPECT_STREQ(FindMcu("attiny43u")->Picture, "NotFoundImage.jpg");
  EXPECT_STREQ(McuTable[93].Picture, "Txmega64A1_128A1_192A1_256A1_384A1(TQFP).jpg");
}

// An include line naming a header the tool chain lacks fails a good build.
TEST(SharedTablesTest, EveryInsertableHeaderExistsInTheAvrLibrary) {
  const std::filesystem::path library = "/usr/lib/avr/include";
  if (!std::filesystem::exists(library)) GTEST_SKIP() << "avr-libc is not installed (./x installs it)";
  for (int i = 0; i < InsertableHeaderCount; ++i)
    EXPECT_TRUE(std::filesystem::exists(library / IncludeHeaderNames[i])) << IncludeHeaderNames[i];
}

TEST(SharedTablesTest, StandardHeaderNamesMatchWholeFileNames) {
  EXPECT_TRUE(IsStandardHeaderName("stdlib.h"));
  EXPECT_TRUE(IsStandardHeaderName("sig-avr.h"));
  EXPECT_FALSE(IsStandardHeaderName("Stdlib.h"));
  EXPECT_FALSE(IsStandardHeaderName("avr/io.h"));
  EXPECT_FALSE(IsStandardHeaderName("main.c"));
}

}  // namespace
}  // namespace vk
