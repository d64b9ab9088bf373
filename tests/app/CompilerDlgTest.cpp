#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/CompilerDlg.h"
#include "tests/app/AppTestSupport.h"

namespace vk {
namespace {

TEST(CompilerDlgTest, SizesComeFromTheOutputSectionLines) {
  const struct {
    const char* Name;
    std::vector<std::string> Lines;
    TMapSizes Sizes;
  } cases[] = {
      {"one line per section",
       {"Linker script and memory map", ".text           0x00000000      0x1b4",
        " .text          0x00000000       0x8c main.o", ".data           0x00800100       0x12 load address 0x000001b4",
        ".bss            0x00800112        0x4", ".eeprom         0x00810000        0xa"},
       {"1b4", "12", "4", "a"}},
      {"discarded input sections first",
       {"Discarded input sections", " .text          0x00000000        0x0 main.o",
        " .bss           0x00000000        0x0 main.o", ".text           0x00000000      0x128  ",
        ".bss            0x00800102       0x14"},
       {"128", "", "14", "0"}},
      {"a name on a line of its own", {".text", "                0x00000000      0x3e8"}, {"3e8", "", "0", "0"}},
      {"longer names are other sections", {".textual 0x0 0x5", ".data.rel 0x0 0x7"}, {"0", "", "0", "0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TMapSizes sizes = ParseLinkerMap(test::ListOf(c.Lines));
    EXPECT_EQ(sizes.Text, c.Sizes.Text);
    EXPECT_EQ(sizes.Data, c.Sizes.Data);
    EXPECT_EQ(sizes.Bss, c.Sizes.Bss);
    EXPECT_EQ(sizes.Eeprom, c.Sizes.Eeprom);
  }
}

TEST(CompilerDlgTest, UseAgainstThePartsSizes) {
  const std::vector<std::string> map = {".text 0x0 0x3e8", ".data 0x800100 0x12 load address 0x3e8",
                                        ".bss 0x800112 0x4", ".eeprom 0x810000 0x40"};
  using P = std::optional<double>;  // none: no percentage
  const struct {
    const char* Name;
    const char* Mcu;
    std::vector<std::string> Map;  // {"missing"}: the map could not be read
    uint64_t Flash, Sram, Eeprom;
    P FlashPercent, SramPercent, EepromPercent;
    bool Known;
  } cases[] = {
      {"atmega16", "atmega16", map, 1000, 22, 64, 6.25, 22.0 / 1024 * 100, 12.5, true},
      {"unknown part", "ATmega16", map, 1000, 22, 64, P(), P(), P(), true},
      {"part without memory", "at76c711", map, 1000, 22, 64, P(), P(), P(), true},
      {"no .data", "atmega16", {".text 0x0 0x10", ".bss 0x800100 0x4"}, 16, 4, 0, 0.1, 4.0 / 1024 * 100, 0.0, true},
      {"map not read", "atmega16", {"missing"}, 0, 0, 0, P(), P(), P(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStringList lines = test::ListOf(c.Map);
    TMemoryReport report = ComputeMemoryReport(c.Map[0] == "missing" ? nullptr : &lines, c.Mcu);
    EXPECT_FALSE(report.ProgramSizeMissing);
    for (auto [use, bytes, percent] :
         {std::tuple{&report.Flash, c.Flash, c.FlashPercent}, std::tuple{&report.Sram, c.Sram, c.SramPercent},
          std::tuple{&report.Eeprom, c.Eeprom, c.EepromPercent}}) {
      EXPECT_TRUE(use->Shown);
      EXPECT_EQ(use->Known, c.Known);
      EXPECT_EQ(use->Bytes, bytes);
      ASSERT_EQ(use->Percent.has_value(), percent.has_value());
      EXPECT_NEAR(use->Percent.value_or(0), percent.value_or(0), 1e-4);
    }
  }
}

TEST(CompilerDlgTest, UnreadableSizesAndAMissingProgramSizeDoNotThrow) {
  TStringList map = test::ListOf({".text 0x0 0xZZ", ".data 0x800100 0x12", ".bss 0x800112 12-"});
  TMemoryReport report = ComputeMemoryReport(&map, "atmega128");
  EXPECT_FALSE(report.Flash.Known);
  EXPECT_FALSE(report.Sram.Known);
  EXPECT_TRUE(report.Eeprom.Known);
  EXPECT_EQ(report.Flash.TotalText, "128");
  EXPECT_EQ(report.Flash.TotalBytes, 128000u);

  TStringList noSize = test::ListOf({".text"});
  EXPECT_TRUE(ComputeMemoryReport(&noSize, "atmega128").ProgramSizeMissing);
}

TEST(CompilerDlgTest, MapBesideTheMainFileUnderItsBaseName) {
  EXPECT_EQ(LinkerMapPath("/p/blink/", "main.c"), "/p/blink/main.map");
  EXPECT_EQ(LinkerMapPath("/p/blink", "boot.asm"), "/p/blink/boot.map");
}

// A real build that uses flash, SRAM and EEPROM, linked with unused sections
// dropped: the figures agree with avr-size.
TEST(CompilerDlgTest, FiguresAgreeWithAvrSize) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  test::TTempFolder project;
  test::WriteTextFile(project.File("main.c"),
                      "#include <avr/io.h>\n#include <avr/pgmspace.h>\n#include <avr/eeprom.h>\n"
                      "const char msg[] PROGMEM = \"hello\";\nuint8_t EEMEM ee[10] = {1, 2, 3};\n"
                      "volatile int counter = 5;\nvolatile char buf[20];\nvoid unused(void) { buf[2] = 1; }\n"
                      "int main(void) {\n  for (;;) counter += pgm_read_byte(&msg[counter & 3]) + buf[1] +\n"
                      "                 eeprom_read_byte(&ee[1]);\n}\n");
  test::TCommandResult build =
      test::RunCommand(project.Path(),
                       "avr-gcc -mmcu=atmega128 -Os -ffunction-sections -fdata-sections main.c -o main.elf "
                       "-Wl,-Map=main.map,--cref,--gc-sections");
  ASSERT_EQ(build.Status, 0) << ::testing::PrintToString(build.Lines);
  test::TCommandResult size = test::RunCommand(project.Path(), "avr-size -A main.elf");
  std::map<std::string, uint64_t> sections;
  for (const std::string& line : size.Lines) {
    std::istringstream fields(line);
    std::string name;
    uint64_t bytes = 0;
    if (fields >> name >> bytes) sections[name] = bytes;
  }

  TMemoryReport report = ComputeMemoryReport(LinkerMapPath(project.Path(), "main.c"), "atmega128");
  EXPECT_TRUE(report.MapLoaded);
  EXPECT_EQ(report.Flash.Bytes, sections[".text"]);
  EXPECT_EQ(report.Sram.Bytes, sections[".data"] + sections[".bss"]);
  EXPECT_EQ(report.Eeprom.Bytes, sections[".eeprom"]);
  EXPECT_GT(report.Flash.Bytes, 0u);
  EXPECT_EQ(report.Eeprom.Bytes, 10u);
}

}  // namespace
}  // namespace vk
