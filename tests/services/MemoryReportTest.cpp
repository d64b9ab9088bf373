#include <gtest/gtest.h>

#include <map>

#include "platform/FloatFormats.h"
#include "services/MemoryReport.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

TEST(MemoryReportTest, SizesComeFromTheOutputSectionLines) {
  const struct {
    const char* Name;
    std::vector<std::string> Lines;
    TMapSizes Sizes;
  } cases[] = {
      {"one line per section",
       {"Linker script and memory map", ".text           0x00000000      0x1b4",
        " .text          0x00000000       0x8c main.o", ".data           0x00800100       0x12 load address 0x000001b4",
        ".bss            0x00800112        0x4", ".noinit         0x00800116        0x1",
        ".eeprom         0x00810000        0xa"},
       {"1b4", "12", "4", "a", "1"}},
      {"discarded input sections first",
       {"Discarded input sections", " .text          0x00000000        0x0 main.o",
        " .bss           0x00000000        0x0 main.o", ".text           0x00000000      0x128  ",
        ".bss            0x00800102       0x14"},
       {"128", "", "14", "0", ""}},
      {"a name on a line of its own", {".text", "                0x00000000      0x3e8"}, {"3e8", "", "0", "0", ""}},
      {"longer names are other sections", {".textual 0x0 0x5", ".data.rel 0x0 0x7", ".noinitx 0x0 0x2"},
       {"0", "", "0", "0", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TMapSizes sizes = ParseLinkerMap(test::ListOf(c.Lines));
    EXPECT_EQ(sizes.Text, c.Sizes.Text);
    EXPECT_EQ(sizes.Data, c.Sizes.Data);
    EXPECT_EQ(sizes.Bss, c.Sizes.Bss);
    EXPECT_EQ(sizes.Eeprom, c.Sizes.Eeprom);
    EXPECT_EQ(sizes.Noinit, c.Sizes.Noinit);
  }
}

TEST(MemoryReportTest, UseAgainstThePartsSizes) {
  const std::vector<std::string> map = {".text 0x0 0x3e8", ".data 0x800100 0x12 load address 0x3e8",
                                        ".bss 0x800112 0x4", ".noinit 0x800116 0x2", ".eeprom 0x810000 0x40"};
  using P = std::optional<double>;  // none: no percentage
  const struct {
    const char* Name;
    const char* Mcu;
    std::vector<std::string> Map;  // {"missing"}: the map could not be read
    uint64_t Flash, Sram, Eeprom;
    P FlashPercent, SramPercent, EepromPercent;
    bool Known;
  } cases[] = {
      {"atmega16", "atmega16", map, 1018, 24, 64, 1018.0 / 16384 * 100, 24.0 / 1024 * 100, 12.5, true},
      {"unknown part", "ATmega16", map, 1018, 24, 64, P(), P(), P(), true},
      {"part without memory", "at76c711", map, 1018, 24, 64, P(), P(), P(), true},
      {"no .data", "atmega16", {".text 0x0 0x10", ".bss 0x800100 0x4"}, 16, 4, 0, 16.0 / 16384 * 100,
       4.0 / 1024 * 100, 0.0, true},
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

TEST(MemoryReportTest, SizesThatAreNoCountShowAsUnknown) {
  const struct {
    const char* Name;
    std::vector<std::string> Map;
    bool Flash, Sram, Eeprom;  // the byte count is known
  } cases[] = {
      {"not hexadecimal", {".text 0x0 0xZZ", ".data 0x800100 0x12", ".bss 0x800112 12-"}, false, false, true},
      {".text plus .data and .data plus .bss past 2^64",
       {".text 0x0 0x10", ".data 0x800100 0xffffffffffffffff load address 0x10", ".bss 0x800112 0x1"}, false, false,
       true},
      {"a size past 2^64", {".text 0x0 0x10", ".eeprom 0x810000 0x10000000000000000"}, true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStringList map = test::ListOf(c.Map);
    TMemoryReport report = ComputeMemoryReport(&map, "atmega128");
    for (auto [use, known] : {std::pair{&report.Flash, c.Flash}, std::pair{&report.Sram, c.Sram},
                              std::pair{&report.Eeprom, c.Eeprom}}) {
      EXPECT_EQ(use->Known, known);
      if (!known) {
        EXPECT_EQ(use->Bytes, 0u);
        EXPECT_FALSE(use->Percent.has_value());
      }
    }
    EXPECT_EQ(report.Flash.TotalBytes, 131072u);
  }

  TStringList noSize = test::ListOf({".text"});
  EXPECT_TRUE(ComputeMemoryReport(&noSize, "atmega128").ProgramSizeMissing);
}

TEST(MemoryReportTest, MapBesideTheMainFileUnderItsBaseName) {
  EXPECT_EQ(LinkerMapPath("/p/blink/", "main.c"), "/p/blink/main.map");
  EXPECT_EQ(LinkerMapPath("/p/blink", "boot.asm"), "/p/blink/boot.map");
}

// Real builds, as avr-size counts them for the part: one that uses flash,
// SRAM (a variable a reset keeps too) and EEPROM, linked with unused
// sections dropped, and one whose constant table (not kept in program
// memory, so copied to SRAM at start) with code and a table in program
// memory nearly fill an 8 KB part.
TEST(MemoryReportTest, FiguresAgreeWithAvrSize) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const struct {
    const char *Name, *Part, *Options, *Program;
    uint64_t ProgramAtLeast;
    std::vector<std::string> Sections;  // each holds something
  } cases[] = {
      {"flash, SRAM and EEPROM", "atmega128", "-ffunction-sections -fdata-sections -Wl,--gc-sections",
       "#include <avr/io.h>\n#include <avr/pgmspace.h>\n#include <avr/eeprom.h>\n"
       "const char msg[] PROGMEM = \"hello\";\nuint8_t EEMEM ee[10] = {1, 2, 3};\n"
       "volatile int counter = 5;\nvolatile char buf[20];\nvoid unused(void) { buf[2] = 1; }\n"
       "__attribute__((section(\".noinit\"))) volatile uint8_t kept;\n"
       "int main(void) {\n  for (;;) counter += pgm_read_byte(&msg[counter & 3]) + buf[1] + kept++ +\n"
       "                 eeprom_read_byte(&ee[1]);\n}\n",
       1,
       {".data", ".noinit", ".eeprom"}},
      {".data near an 8 KB part's size", "atmega8", "",
       "#include <avr/pgmspace.h>\nconst char table[900] = {1, 2, 3};\n"
       "const char flashTable[7000] PROGMEM = {4, 5, 6};\nvolatile unsigned char sink;\n"
       "int main(void) {\n  for (unsigned i = 0;; ++i)\n"
       "    sink = table[i % sizeof table] + pgm_read_byte(&flashTable[i % sizeof flashTable]);\n}\n",
       7900,
       {".data"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder project;
    test::WriteTextFile(project.File("main.c"), c.Program);
    test::TCommandResult build = test::RunCommand(
        project.Path(), std::string("avr-gcc -mmcu=") + c.Part + " -Os main.c -o main.elf -Wl,-Map=main.map,--cref " +
                                c.Options);
    ASSERT_EQ(build.Status, 0) << ::testing::PrintToString(build.Lines);
    std::map<std::string, test::TAvrSizeFigure> avrSize = test::AvrSizeFigures(project.Path(), c.Part);
    ASSERT_GE(avrSize["Program"].Bytes, c.ProgramAtLeast);
    std::map<std::string, uint64_t> sections = test::AvrSectionSizes(project.Path());
    for (const std::string& section : c.Sections) ASSERT_GT(sections[section], 0u) << section;

    // From the map, and from the program file as avr-size reads it.
    for (const TMemoryReport& report :
         {ComputeMemoryReport(LinkerMapPath(project.Path(), "main.c"), c.Part),
          ComputeMemoryReport(ProgramFileSizes(project.File("main.elf"), ""), c.Part)}) {
      test::ExpectAvrSizeFigure(MemoryLineText(report.Flash, "KBytes", "FLASH"), avrSize["Program"]);
      test::ExpectAvrSizeFigure(MemoryLineText(report.Sram, "Bytes", "SRAM"), avrSize["Data"]);
      test::ExpectAvrSizeFigure(MemoryLineText(report.Eeprom, "Bytes", "EEPROM"), avrSize["EEPROM"]);
    }
  }
  EXPECT_FALSE(ProgramFileSizes("/nonexistent/main.elf", "").has_value());
  {
  }
}

TEST(MemoryReportTest, PercentagesWithTheLocalesSeparators) {
  TFormatSettings c, us;
  ASSERT_TRUE(GetLocaleFormatSettings("C", c));
  const bool haveUs = GetLocaleFormatSettings("en_US.UTF-8", us);
  auto use = [](uint64_t bytes, const char* total, std::optional<double> percent, bool known = true) {
    return TMemoryUse{.Shown = true, .Known = known, .Bytes = bytes, .TotalText = total, .Percent = percent};
  };
  const struct {
    TMemoryUse Use;
    std::string C, Us;  // the text between "= " and "% Full"
  } cases[] = {
      {use(454, "128", 454.0f / 131072 * 100), "0.35", "0.35"},
      {use(1000, "16", 6.25), "6.25", "6.25"},
      {use(1, "1", 123.456), "123.50", "123.50"},
      {use(1, "1", 1234.56), "1235.00", "1,235.00"},
      {use(1, "1", 12345.6), "1.235E04", "1.235E04"},
      {use(436, "0", std::nullopt), "", ""},         // no total: no percentage
      {use(0, "128", std::nullopt, false), "", ""},  // no byte count
  };
  for (const auto& t : cases) {
    const std::string bytes = t.Use.Known ? std::to_string(t.Use.Bytes) : "Error";
    const std::string head = bytes + " Bytes (Total " + t.Use.TotalText + " KBytes) = ";
    EXPECT_EQ(MemoryLineText(t.Use, "KBytes", "FLASH", c), head + t.C + "% Full of FLASH");
    if (haveUs) {
      EXPECT_EQ(MemoryLineText(t.Use, "KBytes", "FLASH", us), head + t.Us + "% Full of FLASH");
    }
  }
  // Neither a map nor a program could be read.
  TMemoryUse unmeasured;
  unmeasured.Measured = false;
  unmeasured.TotalText = "128";
  EXPECT_EQ(MemoryLineText(unmeasured, "KBytes", "FLASH", c), "Unknown size of FLASH (Total 128 KBytes)");
  unmeasured.TotalText = "";  // the part's size cannot be had either
  EXPECT_EQ(MemoryLineText(unmeasured, "KBytes", "FLASH", c), "Unknown size of FLASH (Total unknown)");
  unmeasured.PartKnown = false;
  EXPECT_EQ(MemoryLineText(unmeasured, "KBytes", "FLASH", c), "Unknown size of FLASH");
  if (!haveUs) GTEST_SKIP() << "the en_US.UTF-8 locale is not installed (./x generates it)";
}

}  // namespace
}  // namespace vk
