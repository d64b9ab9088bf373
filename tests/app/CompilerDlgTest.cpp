#include <gtest/gtest.h>

#include <map>

#include "app/CompilerDlg.h"
#include "platform/FloatFormats.h"
#include "platform/Registry.h"
#include "tests/app/AppTestSupport.h"
#include "tests/platform/FormsTestSupport.h"

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

TEST(CompilerDlgTest, UseAgainstThePartsSizes) {
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
      {"atmega16", "atmega16", map, 1000, 24, 64, 6.25, 24.0 / 1024 * 100, 12.5, true},
      {"unknown part", "ATmega16", map, 1000, 24, 64, P(), P(), P(), true},
      {"part without memory", "at76c711", map, 1000, 24, 64, P(), P(), P(), true},
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

TEST(CompilerDlgTest, SizesThatAreNoCountShowAsUnknown) {
  const struct {
    const char* Name;
    std::vector<std::string> Map;
    bool Flash, Sram, Eeprom;  // the byte count is known
  } cases[] = {
      {"not hexadecimal", {".text 0x0 0xZZ", ".data 0x800100 0x12", ".bss 0x800112 12-"}, false, false, true},
      {".data plus .bss past 2^64",
       {".text 0x0 0x10", ".data 0x800100 0xffffffffffffffff load address 0x10", ".bss 0x800112 0x1"}, true, false,
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
    EXPECT_EQ(report.Flash.TotalBytes, 128000u);
  }

  TStringList noSize = test::ListOf({".text"});
  EXPECT_TRUE(ComputeMemoryReport(&noSize, "atmega128").ProgramSizeMissing);
}

TEST(CompilerDlgTest, MapBesideTheMainFileUnderItsBaseName) {
  EXPECT_EQ(LinkerMapPath("/p/blink/", "main.c"), "/p/blink/main.map");
  EXPECT_EQ(LinkerMapPath("/p/blink", "boot.asm"), "/p/blink/boot.map");
}

// A real build that uses flash, SRAM (a variable a reset keeps too) and
// EEPROM, linked with unused sections dropped: the figures agree with
// avr-size.
TEST(CompilerDlgTest, FiguresAgreeWithAvrSize) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  test::TTempFolder project;
  test::WriteTextFile(project.File("main.c"),
                      "#include <avr/io.h>\n#include <avr/pgmspace.h>\n#include <avr/eeprom.h>\n"
                      "const char msg[] PROGMEM = \"hello\";\nuint8_t EEMEM ee[10] = {1, 2, 3};\n"
                      "volatile int counter = 5;\nvolatile char buf[20];\nvoid unused(void) { buf[2] = 1; }\n"
                      "__attribute__((section(\".noinit\"))) volatile uint8_t kept;\n"
                      "int main(void) {\n  for (;;) counter += pgm_read_byte(&msg[counter & 3]) + buf[1] + kept++ +\n"
                      "                 eeprom_read_byte(&ee[1]);\n}\n");
  test::TCommandResult build =
      test::RunCommand(project.Path(),
                       "avr-gcc -mmcu=atmega128 -Os -ffunction-sections -fdata-sections main.c -o main.elf "
                       "-Wl,-Map=main.map,--cref,--gc-sections");
  ASSERT_EQ(build.Status, 0) << ::testing::PrintToString(build.Lines);
  std::map<std::string, uint64_t> sections = test::AvrSectionSizes(project.Path());

  TMemoryReport report = ComputeMemoryReport(LinkerMapPath(project.Path(), "main.c"), "atmega128");
  EXPECT_TRUE(report.MapLoaded);
  EXPECT_EQ(report.Flash.Bytes, sections[".text"]);
  EXPECT_EQ(report.Sram.Bytes, sections[".data"] + sections[".bss"] + sections[".noinit"]);
  EXPECT_EQ(report.Eeprom.Bytes, sections[".eeprom"]);
  EXPECT_GT(report.Flash.Bytes, 0u);
  EXPECT_EQ(sections[".noinit"], 1u);
  EXPECT_EQ(report.Eeprom.Bytes, 10u);
}

TEST(CompilerDlgTest, PercentagesWithTheLocalesSeparators) {
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
      {use(436, "128", 436.0f / 128000 * 100), "0.34", "0.34"},
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
  if (!haveUs) GTEST_SKIP() << "the en_US.UTF-8 locale is not installed (./x generates it)";
}

// The result box shown as the build shows it: its six rows, read while it
// is up, and the count memo's lines after it.
class CompilerDlgFormTest : public test::TFormsCase {
protected:
  CompilerDlgFormTest() : FSettings(FormatSettings()) {
    TFormatSettings c;
    GetLocaleFormatSettings("C", c);
    SetFormatSettings(c);
  }
  ~CompilerDlgFormTest() override { SetFormatSettings(FSettings); }

  struct TRows {
    std::string Project, Verdict, Errors, Warnings, Mcu, Flash, Sram, Eeprom;
    bool operator==(const TRows&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const TRows& r) {
      return out << r.Project << " | " << r.Verdict << " " << r.Errors << " " << r.Warnings << " | " << r.Mcu
                 << " | " << r.Flash << " | " << r.Sram << " | " << r.Eeprom;
    }
  };

  static void SetMcu(const std::string& mcu) {
    TRegistry registry;
    registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    registry.WriteString("SouAvrMcu Type", mcu);
  }
  TRows Show(int errors, int warnings, TStrings* countLines = nullptr) {
    CompilerErrorCount = errors;
    CompilerWarningCount = warnings;
    CompilerDlg = NewForm<TCompilerDlg>(&Application());
    CompilerDlg->SetProject(Project.Path() + "/", "main.c");
    CompilerDlg->SetErrorCountLines(countLines);
    TRows rows;
    ModalAnswers().PushResponder([&](TCustomForm*) {
      TCompilerDlg& d = *CompilerDlg;
      rows = {d.LblPrj->Caption(),    d.LblErr->Caption(),  d.LblNumErr->Caption(),  d.LblNumWarn->Caption(),
              d.LbMcuType->Caption(), d.LblLines->Caption(), d.LbDataBss->Caption(), d.LbEepromMem->Caption()};
      d.OKBtn->Click();
      return mrNone;
    });
    EXPECT_EQ(CompilerDlg->ShowModal(), mrOk);
    return rows;
  }

  test::TRegistryScope Registry;
  test::TTempFolder Project;

private:
  TFormatSettings FSettings;
};

// A real build of a program that uses flash, SRAM and EEPROM.
TEST_F(CompilerDlgFormTest, TheSixRowsOfARealBuild) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  test::WriteTextFile(Project.File("main.c"),
                      "#include <avr/eeprom.h>\nuint8_t EEMEM ee[10] = {1};\nvolatile int counter = 5;\n"
                      "volatile char buf[20];\nint main(void) {\n"
                      "  for (;;) counter += buf[1] + eeprom_read_byte(&ee[1]);\n}\n");
  test::TCommandResult build =
      test::RunCommand(Project.Path(), "avr-gcc -mmcu=atmega128 -Os main.c -o main.elf -Wl,-Map=main.map");
  ASSERT_EQ(build.Status, 0) << ::testing::PrintToString(build.Lines);
  std::map<std::string, uint64_t> sections = test::AvrSectionSizes(Project.Path());
  SetMcu("atmega128");
  const int forms = Screen().FormCount();

  TRows rows = Show(0, 2);
  const uint64_t sram = sections[".data"] + sections[".bss"] + sections[".noinit"];
  auto percent = [](uint64_t bytes, float total) {
    return FloatToStrF(static_cast<float>(bytes) / total * 100.0f, ffNumber, 4, 2);
  };
  EXPECT_EQ(rows, (TRows{Project.Path() + "/main.c", "Ok", "0", "2", "atmega128",
                         std::to_string(sections[".text"]) + " Bytes (Total 128 KBytes) = " +
                             percent(sections[".text"], 128000) + "% Full of FLASH",
                         std::to_string(sram) + " Bytes (Total 4096 Bytes) = " + percent(sram, 4096) + "% Full of SRAM",
                         "10 Bytes (Total 4096 Bytes) = 0.24% Full of EEPROM"}));
  Application().ProcessMessages();
  EXPECT_EQ(Screen().FormCount(), forms) << "each showing is a new box, freed when it closes";
}

TEST_F(CompilerDlgFormTest, UnknownSizesShowNoPercentageAndAMissingProgramSizeIsAnError) {
  const std::vector<std::string> map = {".text 0x0 0x3e8", ".data 0x800100 0x12 load address 0x3e8",
                                        ".bss 0x800112 0x4", ".eeprom 0x810000 0x40"};
  const std::vector<std::string> counts = {"Total Error:", "2", "Total Warning:", "3"};
  const struct {
    const char* Name;
    const char* Mcu;
    std::optional<std::vector<std::string>> Map;
    const char *Verdict, *Errors, *Warnings, *Flash, *Sram, *Eeprom;
    std::vector<std::string> CountsAfter;
  } cases[] = {
      {"a part as in the table", "atmega16", map, "Error", "2", "3",
       "1000 Bytes (Total 16 KBytes) = 6.25% Full of FLASH", "22 Bytes (Total 1024 Bytes) = 2.15% Full of SRAM",
       "64 Bytes (Total 512 Bytes) = 12.50% Full of EEPROM", counts},
      {"a part the table does not hold", "ATmega16", map, "Error", "2", "3",
       "1000 Bytes (Total 0 KBytes) = % Full of FLASH", "22 Bytes (Total 0 Bytes) = % Full of SRAM",
       "64 Bytes (Total 0 Bytes) = % Full of EEPROM", counts},
      {"a part without SRAM or EEPROM", "attiny11", map, "Error", "2", "3",
       "1000 Bytes (Total 1 KBytes) = 100.00% Full of FLASH", "22 Bytes (Total 0 Bytes) = % Full of SRAM",
       "64 Bytes (Total 0 Bytes) = % Full of EEPROM", counts},
      {"no map", "atmega128", std::nullopt, "Error", "2", "3", "Error Bytes (Total 128 KBytes) = % Full of FLASH",
       "Error Bytes (Total 4096 Bytes) = % Full of SRAM", "Error Bytes (Total 4096 Bytes) = % Full of EEPROM", counts},
      {"sizes that are no numbers", "atmega128", std::vector<std::string>{".text 0x0 0xZZ", ".bss 0x800100 0x12-"},
       "Error", "2", "3", "Error Bytes (Total 128 KBytes) = % Full of FLASH",
       "Error Bytes (Total 4096 Bytes) = % Full of SRAM", "0 Bytes (Total 4096 Bytes) = 0.00% Full of EEPROM", counts},
      {"no program size", "atmega128", std::vector<std::string>{".text"}, "Error", "1", "0", "0",
       "0 Bytes (Total 4096 Bytes) = 0.00% Full of SRAM", "0 Bytes (Total 4096 Bytes) = 0.00% Full of EEPROM",
       {"Total Error:", "1", "Total Warning:", "0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetMcu(c.Mcu);
    std::remove(Project.File("main.map").c_str());
    if (c.Map) test::ListOf(*c.Map).SaveToFile(Project.File("main.map"));
    TStringList countLines = test::ListOf(counts);
    EXPECT_EQ(Show(2, 3, &countLines), (TRows{Project.Path() + "/main.c", c.Verdict, c.Errors, c.Warnings, c.Mcu,
                                              c.Flash, c.Sram, c.Eeprom}));
    EXPECT_EQ(test::LinesOf(countLines), c.CountsAfter);
  }
}

// The totals are those of the part the build used: the one whose start-up
// code the map names, else the makefile's (either spelling), else the
// settings'.
TEST_F(CompilerDlgFormTest, TheTotalsAreThoseOfThePartTheBuildUsed) {
  const std::vector<std::string> sizes = {".text 0x0 0x3e8", ".bss 0x800100 0x4"};
  auto map = [&sizes](const char* firstLoad) {
    std::vector<std::string> lines = {"LOAD " + std::string(firstLoad), "LOAD /usr/lib/avr/lib/avr5/libc.a"};
    lines.insert(lines.end(), sizes.begin(), sizes.end());
    return lines;
  };
  const struct {
    const char* Name;
    std::optional<std::vector<std::string>> Map;
    const char* MakefileName;  // nullptr: none
    std::vector<std::string> Makefile;
    const char *Mcu, *Flash;
  } cases[] = {
      {"the map's start-up code", map("/usr/lib/gcc/avr/5.4.0/../../../avr/lib/avr5/crtatmega16.o"), "makefile",
       {"MCU = atmega8"}, "atmega16", "1000 Bytes (Total 16 KBytes) = 6.25% Full of FLASH"},
      {"linked without start-up code: the makefile's MCU", map("main.o"), "makefile", {"MCU = atmega8"}, "atmega8",
       "1000 Bytes (Total 8 KBytes) = 12.50% Full of FLASH"},
      {"no map: a Makefile's -mmcu= through MCU_TARGET", std::nullopt, "Makefile",
       {"MCU_TARGET = atmega32", "CFLAGS = -Os -mmcu=$(MCU_TARGET)"}, "atmega32",
       "Error Bytes (Total 32 KBytes) = % Full of FLASH"},
      {"a makefile that does not tell: the settings'", map("main.o"), "makefile", {"CFLAGS = -mmcu=$(DEVICE)"},
       "atmega128", "1000 Bytes (Total 128 KBytes) = 0.78% Full of FLASH"},
      {"no makefile: the settings'", map("main.o"), nullptr, {}, "atmega128",
       "1000 Bytes (Total 128 KBytes) = 0.78% Full of FLASH"},
  };
  SetMcu("atmega128");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const char* file : {"main.map", "makefile", "Makefile"}) std::remove(Project.File(file).c_str());
    if (c.Map) test::ListOf(*c.Map).SaveToFile(Project.File("main.map"));
    if (c.MakefileName) test::ListOf(c.Makefile).SaveToFile(Project.File(c.MakefileName));
    TRows rows = Show(0, 0);
    EXPECT_EQ(rows.Mcu, c.Mcu);
    EXPECT_EQ(rows.Flash, c.Flash);
  }
}

}  // namespace
}  // namespace vk
