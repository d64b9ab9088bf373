#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "services/BuildCommands.h"
#include "services/EnvironmentToolChain.h"
#include "services/PartSizes.h"
#include "services/SharedTables.h"
#include "tests/services/ServicesTestSupport.h"

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

struct THeaderSizes {
  uint64_t FlashEnd = 0, RamStart = 0, RamEnd = 0, E2End = 0, BootSection = 0;
};

// The memory macros of each part's avr-libc device header: the assembler
// evaluates them for the part, and avr-nm reads the values back.
std::map<std::string, THeaderSizes> DeviceHeaderSizes(const std::set<std::string>& parts) {
  test::TTempFolder folder;
  test::WriteTextFile(folder.File("sizes.S"),
                      "#include <avr/io.h>\n"
                      // A header without it: SRAM starts after the 32
                      // registers and the 64 I/O registers, as on the
                      // parts of that age.
                      "#ifndef RAMSTART\n#define RAMSTART 0x60\n#endif\n"
                      "#if !defined(__AVR_XMEGA__) || !defined(BOOT_SECTION_SIZE)\n#define BOOT_SECTION_SIZE 0\n#endif\n"
                      ".global flash_end, ram_start, ram_end, e2_end, boot_section\n"
                      ".equ flash_end, FLASHEND\n.equ ram_start, RAMSTART\n.equ ram_end, RAMEND\n"
                      ".equ e2_end, E2END\n.equ boot_section, BOOT_SECTION_SIZE\n");
  std::string names;
  for (const std::string& part : parts) names += part + "\n";
  test::WriteTextFile(folder.File("parts"), names);
  // One assembler run per part, side by side; then one avr-nm over them all.
  const test::TCommandResult symbols = test::RunCommand(
      folder.Path(), "xargs -P 4 -I @ avr-gcc -mmcu=@ -c sizes.S -o @.o <parts; avr-nm -A *.o");
  std::map<std::string, THeaderSizes> sizes;
  for (const std::string& line : symbols.Lines) {  // "attiny13.o:000003ff A flash_end"
    const size_t colon = line.find(".o:");
    std::istringstream fields(line.substr(colon == std::string::npos ? 0 : colon + 3));
    std::string kind, name;
    uint64_t value = 0;
    if (colon == std::string::npos || !(fields >> std::hex >> value >> kind >> name)) continue;
    THeaderSizes& part = sizes[line.substr(0, colon)];
    for (auto [symbol, field] : {std::pair{"flash_end", &THeaderSizes::FlashEnd}, {"ram_start", &THeaderSizes::RamStart},
                                 {"ram_end", &THeaderSizes::RamEnd}, {"e2_end", &THeaderSizes::E2End},
                                 {"boot_section", &THeaderSizes::BootSection}})
      if (name == symbol) part.*field = value;
  }
  return sizes;
}

// The table's sizes in its units: flash in KBytes of the application
// section (an xmega part's boot section comes on top of it, as its name
// counts it), SRAM from RAMSTART to RAMEND (none when RAMEND lies below
// RAMSTART: the part has registers only), EEPROM up to E2END (none for 0).
TEST(SharedTablesTest, EveryPartTheToolChainKnowsHasTheSizesOfItsDeviceHeader) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  // Program memory in SRAM, which the header splits one of several ways:
  // the data sheet's sizes stay.
  const std::set<std::string> keptOnPurpose = {"at94k", "at76c711"};
  std::set<std::string> known;
  for (const TMcuRow& row : McuTable)
    if (PartSupport(row.Name) != psUnknown && !keptOnPurpose.contains(row.Name)) known.insert(row.Name);
  ASSERT_GT(known.size(), 80u);
  const std::map<std::string, THeaderSizes> headers = DeviceHeaderSizes(known);
  for (const std::string& name : known) {
    SCOPED_TRACE(name);
    const auto header = headers.find(name);
    ASSERT_NE(header, headers.end()) << "the assembler took no device header for the part";
    const THeaderSizes& h = header->second;
    const uint64_t flash = h.FlashEnd + 1 - h.BootSection;
    EXPECT_EQ(flash % 1024, 0u);
    const TMcuRow& row = *FindMcu(name);
    EXPECT_EQ(row.Flash, std::to_string(flash / 1024));
    EXPECT_EQ(row.Sram, std::to_string(h.RamEnd >= h.RamStart ? h.RamEnd - h.RamStart + 1 : 0));
    EXPECT_EQ(row.Eeprom, std::to_string(h.E2End ? h.E2End + 1 : 0));
  }
  // The parts the table lacks have those sizes too, or none without a
  // device header; "0" of a size is none.
  std::set<std::string> others;
  for (const std::string& specs : test::RunCommand("/", "ls \"$(avr-gcc -print-file-name=device-specs)\"").Lines)
    if (const std::string name = specs.substr(6); IsAvrPartName(name) && !FindMcu(name)) others.insert(name);
  ASSERT_GT(others.size(), 100u);
  const std::map<std::string, THeaderSizes> otherHeaders = DeviceHeaderSizes(others);
  for (const std::string& name : others) {
    SCOPED_TRACE(name);
    const auto found = otherHeaders.find(name);
    if (found == otherHeaders.end() || found->second.FlashEnd == 0) {  // no device header
      EXPECT_EQ(PartSizes(name, ""), TPartSizes{});
      continue;
    }
    const THeaderSizes& h = found->second;
    auto size = [](uint64_t bytes) { return bytes ? std::optional(bytes) : std::nullopt; };
    EXPECT_EQ(PartSizes(name, ""), (TPartSizes{size(h.FlashEnd + 1 - h.BootSection),
                                               size(h.RamEnd >= h.RamStart ? h.RamEnd - h.RamStart + 1 : 0),
                                               size(h.E2End ? h.E2End + 1 : 0)}));
  }
  EXPECT_EQ(PartSizes("attiny11", ""), (TPartSizes{1024, std::nullopt, std::nullopt}));
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
