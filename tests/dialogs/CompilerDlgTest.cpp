#include <gtest/gtest.h>

#include "dialogs/CompilerDlg.h"
#include "platform/FloatFormats.h"
#include "platform/Registry.h"
#include "services/EnvironmentMakefile.h"
#include "tests/platform/FormsTestSupport.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

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

  // The part the settings dialog stored, for this project unless another
  // folder is named.
  void SetMcu(const std::string& mcu, const std::string& folder = "") {
    TRegistry registry;
    registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true);
    registry.WriteString("SouAvrMcu Type", mcu);
    registry.WriteString("SouSource Path", folder.empty() ? Project.Path() + "/" : folder);
  }
  TRows Show(int errors, int warnings, TStrings* countLines = nullptr, const TStrings* output = nullptr) {
    CompilerErrorCount = errors;
    CompilerWarningCount = warnings;
    CompilerDlg = NewForm<TCompilerDlg>(&Application());
    CompilerDlg->SetProject(Project.Path() + "/", "main.c", "");
    CompilerDlg->SetErrorCountLines(countLines);
    CompilerDlg->SetBuildOutput(output);
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

// A real build of a program that uses flash (with the initial values of
// .data), SRAM and EEPROM: the rows say what avr-size says.
TEST_F(CompilerDlgFormTest, TheSixRowsOfARealBuild) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  test::WriteTextFile(Project.File("main.c"),
                      "#include <avr/eeprom.h>\nuint8_t EEMEM ee[10] = {1};\nvolatile int counter = 5;\n"
                      "volatile char buf[20];\nint main(void) {\n"
                      "  for (;;) counter += buf[1] + eeprom_read_byte(&ee[1]);\n}\n");
  test::TCommandResult build =
      test::RunCommand(Project.Path(), "avr-gcc -mmcu=atmega128 -Os main.c -o main.elf -Wl,-Map=main.map");
  ASSERT_EQ(build.Status, 0) << ::testing::PrintToString(build.Lines);
  std::map<std::string, test::TAvrSizeFigure> avrSize = test::AvrSizeFigures(Project.Path(), "atmega128");
  const int forms = Screen().FormCount();

  TRows rows = Show(0, 2);
  EXPECT_EQ(rows, (TRows{Project.Path() + "/main.c", "Ok", "0", "2", "atmega128", rows.Flash, rows.Sram,
                         "10 Bytes (Total 4096 Bytes) = 0.24% Full of EEPROM"}));
  for (auto [line, figure, total] : {std::tuple{rows.Flash, "Program", "(Total 128 KBytes) = "},
                                     std::tuple{rows.Sram, "Data", "(Total 4096 Bytes) = "},
                                     std::tuple{rows.Eeprom, "EEPROM", "(Total 4096 Bytes) = "}}) {
    test::ExpectAvrSizeFigure(line, avrSize[figure]);
    EXPECT_NE(line.find(total), std::string::npos) << line;
  }
  Application().ProcessMessages();
  EXPECT_EQ(Screen().FormCount(), forms) << "each showing is a new box, freed when it closes";
}

// Flash holds the code and the initial values of .data, and a KByte is
// 1,024 bytes, as avr-size counts; a size it cannot count shows no
// percentage, and a missing program size is an error.
TEST_F(CompilerDlgFormTest, TheMemoryRowsAgainstThePartsSizes) {
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
       "1018 Bytes (Total 16 KBytes) = 6.21% Full of FLASH", "22 Bytes (Total 1024 Bytes) = 2.15% Full of SRAM",
       "64 Bytes (Total 512 Bytes) = 12.50% Full of EEPROM", counts},
      {"8,008 bytes of code and 116 of .data on an 8 KB part", "atmega8",
       std::vector<std::string>{".text 0x0 0x1f48", ".data 0x800060 0x74 load address 0x1f48", ".bss 0x8000d4 0x10"},
       "Error", "2", "3", "8124 Bytes (Total 8 KBytes) = 99.17% Full of FLASH",
       "132 Bytes (Total 1024 Bytes) = 12.89% Full of SRAM", "0 Bytes (Total 512 Bytes) = 0.00% Full of EEPROM",
       counts},
      {"260 bytes on atmega8", "atmega8", std::vector<std::string>{".text 0x0 0x104"}, "Error",
       "2", "3", "260 Bytes (Total 8 KBytes) = 3.17% Full of FLASH", "0 Bytes (Total 1024 Bytes) = 0.00% Full of SRAM",
       "0 Bytes (Total 512 Bytes) = 0.00% Full of EEPROM", counts},
      {"a part neither the table nor the tool chain knows", "ATmega16", map, "Error", "2", "3",
       "1018 Bytes of FLASH (Total unknown)", "22 Bytes of SRAM (Total unknown)",
       "64 Bytes of EEPROM (Total unknown)", counts},
      {"a part without SRAM or EEPROM", "attiny11", map, "Error", "2", "3",
       "1018 Bytes (Total 1 KBytes) = 99.41% Full of FLASH", "22 Bytes of SRAM (Total unknown)",
       "64 Bytes of EEPROM (Total unknown)", counts},
      // Nor a program to measure: the verdict is the build's.
      {"no map", "atmega128", std::nullopt, "Error", "2", "3", "Unknown size of FLASH (Total 128 KBytes)",
       "Unknown size of SRAM (Total 4096 Bytes)", "Unknown size of EEPROM (Total 4096 Bytes)", counts},
      {"sizes that are no numbers", "atmega128", std::vector<std::string>{".text 0x0 0xZZ", ".bss 0x800100 0x12-"},
       "Error", "2", "3", "Error Bytes (Total 128 KBytes) = % Full of FLASH",
       "Error Bytes (Total 4096 Bytes) = % Full of SRAM", "0 Bytes (Total 4096 Bytes) = 0.00% Full of EEPROM", counts},
      {"no program size", "atmega128", std::vector<std::string>{".text"}, "Error", "1", "0", "0",
       "0 Bytes (Total 4096 Bytes) = 0.00% Full of SRAM", "0 Bytes (Total 4096 Bytes) = 0.00% Full of EEPROM",
       {"Total Error:", "1", "Total Warning:", "0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::remove(Project.File("main.map").c_str());
    if (c.Map) test::ListOf(*c.Map).SaveToFile(Project.File("main.map"));
    TStringList countLines = test::ListOf(counts);
    const TStringList link =
        test::ListOf({"avr-gcc -mmcu=" + std::string(c.Mcu) + " -Wl,-Map=main.map -o main.elf main.o"});
    EXPECT_EQ(Show(2, 3, &countLines, &link), (TRows{Project.Path() + "/main.c", c.Verdict, c.Errors, c.Warnings,
                                                     c.Mcu, c.Flash, c.Sram, c.Eeprom}));
    EXPECT_EQ(test::LinesOf(countLines), c.CountsAfter);
  }
}

// The totals are those of the part the build used: the one whose start-up
// code the map names, else the one its link (else compile) commands passed,
// else the one the program's own makefile names, else the settings stored
// for this project beside that makefile; where nothing tells it (another
// makefile make cannot run, commands that disagree), the box says so.
TEST_F(CompilerDlgFormTest, TheTotalsAreThoseOfThePartTheBuildUsed) {
  const std::vector<std::string> sizes = {".text 0x0 0x3e8", ".bss 0x800100 0x4"};
  auto map = [&sizes](const char* firstLoad) {
    std::vector<std::string> lines = {"LOAD " + std::string(firstLoad), "LOAD /usr/lib/avr/lib/avr5/libc.a"};
    lines.insert(lines.end(), sizes.begin(), sizes.end());
    return lines;
  };
  const std::vector<std::string> commands = {
      "avr-gcc -g -Os -mmcu=atmega168 -c -o main.o main.c", "main.c:3:1: warning: -mmcu=atmega8 ignored",
      "/usr/bin/avr-gcc -g -Os -mmcu=atmega16 \\", "  -mmcu=atmega328p -nostartfiles -Wl,-Map=main.map -o main.elf main.o",
      "avr-gcc -mmcu=atmega8 -c -o other.o other.c"};
  const std::string text = MakefileText({});
  const std::string settingsFirstLine = text.substr(0, text.find('\r'));
  const struct {
    const char* Name;
    std::optional<std::vector<std::string>> Map;
    std::vector<std::string> Output;
    const char* MakefileName;  // nullptr: none
    std::vector<std::string> Makefile;
    const char* SettingsFolder;  // nullptr: this project's
    const char *Mcu, *Flash;
  } cases[] = {
      {"the map's start-up code", map("/usr/lib/gcc/avr/5.4.0/../../../avr/lib/avr5/crtatmega16.o"), commands,
       "makefile", {"MCU = atmega8"}, nullptr, "atmega16", "1000 Bytes (Total 16 KBytes) = 6.10% Full of FLASH"},
      {"linked without start-up code: the last link command's last -mmcu=", map("main.o"), commands, "makefile",
       {"MCU = atmega8"}, nullptr, "atmega328p", "1000 Bytes (Total 32 KBytes) = 3.05% Full of FLASH"},
      {"no link: the compile commands' part", std::nullopt, {commands[4]}, "makefile", {"MCU = atmega16"}, nullptr,
       "atmega8", "Unknown size of FLASH (Total 8 KBytes)"},
      {"compile commands that disagree", std::nullopt, {commands[0], commands[4]}, "makefile", {"MCU = atmega16"},
       nullptr, "Unknown", "Unknown size of FLASH"},
      {"an architecture in the link command", map("main.o"), {"avr-gcc -mmcu=avr5 -Wl,-Map=main.map -o main.elf main.o"},
       "makefile", {"MCU = atmega8"}, nullptr, "Unknown", "1000 Bytes of FLASH"},
      {"no command shown: make's dry run", map("main.o"), {"make: Nothing to be done for 'all'."}, "makefile",
       {"MCU = atmega8", "all:", "\t@avr-gcc -mmcu=$(MCU) -Wl,-Map=main.map -o main.elf main.c"}, nullptr, "atmega8",
       "1000 Bytes (Total 8 KBytes) = 12.21% Full of FLASH"},
      {"the wizard's makefile that does not tell: the settings for this project", map("main.o"), {}, "makefile",
       {"# Makefile template of the Vornkit makefile wizard, for avr-gcc and make.", "MCU = $(DEVICE)"}, nullptr,
       "atmega128", "1000 Bytes (Total 128 KBytes) = 0.76% Full of FLASH"},
      {"the settings' makefile that does not tell: the settings for this project", map("main.o"), {}, "Makefile",
       {settingsFirstLine, "MCU = $(DEVICE)"}, nullptr, "atmega128",
       "1000 Bytes (Total 128 KBytes) = 0.76% Full of FLASH"},
      {"another origin's makefile that does not tell: the settings guessed", map("main.o"), {}, "Makefile",
       {"include config.mk", "CFLAGS = -mmcu=$(MCU)"}, nullptr, "Unknown", "1000 Bytes of FLASH"},
      {"a wrapper makefile: another project's settings tell nothing", std::nullopt,
       {"make -f Makefile atmega328", "Makefile:1: *** missing separator.  Stop."}, "makefile",
       {"all:", "\t$(MAKE) -f Makefile atmega328"}, "/elsewhere/", "Unknown", "Unknown size of FLASH"},
      {"no makefile: the settings guessed", map("main.o"), {}, nullptr, {}, nullptr, "Unknown", "1000 Bytes of FLASH"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetMcu("atmega128", c.SettingsFolder ? c.SettingsFolder : "");
    for (const char* file : {"main.map", "makefile", "Makefile"}) std::remove(Project.File(file).c_str());
    if (c.Map) test::ListOf(*c.Map).SaveToFile(Project.File("main.map"));
    if (c.MakefileName) test::ListOf(c.Makefile).SaveToFile(Project.File(c.MakefileName));
    const TStringList output = test::ListOf(c.Output);
    TRows rows = Show(0, 0, nullptr, &output);
    EXPECT_EQ(rows.Mcu, c.Mcu);
    EXPECT_EQ(rows.Flash, c.Flash);
  }
}

// Real builds through make whose part only the build's commands tell: a
// part set for the default goal's target and linked without start-up code,
// and a wrapper makefile that calls another one; the box reads the output
// as the build leaves it in the main window. Silent builds tell nothing:
// make's dry run does, whatever way the makefile sets the part.
TEST_F(CompilerDlgFormTest, ThePartOfRealBuildsThroughMake) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const std::string ownRules =
      "PRG = main\nOBJ = main.o\nMCU_TARGET = atmega168\nOPTIMIZE = -Os\n"
      "override CFLAGS = -g -Wall $(OPTIMIZE) -mmcu=$(MCU_TARGET) $(DEFS)\n"
      "override LDFLAGS = -Wl,-Map,$(PRG).map\nCC = avr-gcc\n";
  const struct {
    const char* Name;
    std::map<std::string, std::string> Files;
    const char *Mcu, *FlashTotal;
  } cases[] = {
      {"target-specific part, -nostartfiles",
       {{"Makefile", ownRules + "all: target328\ntarget328: MCU_TARGET = atmega328p\ntarget328: $(PRG).elf\n"
                                "$(PRG).elf: $(OBJ)\n\t$(CC) $(CFLAGS) $(LDFLAGS) -nostartfiles -o $@ $^\n"}},
       "atmega328p", "(Total 32 KBytes) = "},
      {"a wrapper makefile",
       {{"makefile", "all:\n\t$(MAKE) -f Makefile atmega328\n"},
        {"Makefile", ownRules + "atmega328: MCU_TARGET = atmega328p\natmega328: $(PRG).elf\n"
                                "$(PRG).elf: $(OBJ)\n\t$(CC) $(CFLAGS) $(LDFLAGS) -o $@ $^\n"}},
       "atmega328p", "(Total 32 KBytes) = "},
      {"a build that stops before linking",
       {{"Makefile", ownRules + "all: $(PRG).elf\n$(PRG).elf: $(OBJ) missing.o\n\t$(CC) $(CFLAGS) -o $@ $^\n"}},
       "atmega168", "Unknown size of FLASH (Total 16 KBytes)"},
      {"silent, the part a target's variable sets",
       {{"Makefile", "MCU = atmega16\nall: main.elf\nmain.elf: MCU = atmega8\nmain.elf: main.c\n"
                     "\t@avr-gcc -mmcu=$(MCU) -Os -Wl,-Map=main.map -o $@ $<\n"}},
       "atmega8", "(Total 8 KBytes) = "},
      {"silent, through a pattern rule",
       {{"Makefile", "MCU = atmega8\nall: main.elf\n%.elf: %.c\n\t@avr-gcc -mmcu=$(MCU) -Os -Wl,-Map=main.map -o $@ $<\n"
                     "main.elf: MCU = atmega32\n"}},
       "atmega32", "(Total 32 KBytes) = "},
      // Linked without a map: avr-size reads the program.
      {"silent, a goal made by a function, no map",
       {{"Makefile", "SRC = main.c\n.DEFAULT_GOAL := $(SRC:.c=.elf)\n%.elf: %.c\n\t@avr-gcc -mmcu=atmega16 -Os -o $@ $<\n"}},
       "atmega16", "(Total 16 KBytes) = "},
      // Parts the table lacks: the tool chain's sizes.
      {"atmega328", {{"Makefile", "all:\n\tavr-gcc -mmcu=atmega328 -Os -Wl,-Map=main.map -o main.elf main.c\n"}},
       "atmega328", "(Total 32 KBytes) = "},
      {"atmega32u2", {{"Makefile", "all:\n\tavr-gcc -mmcu=atmega32u2 -Os -o main.elf main.c\n"}}, "atmega32u2",
       "(Total 32 KBytes) = "},
  };
  SetMcu("atmega128", "/elsewhere/");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const char* file : {"main.map", "makefile", "Makefile", "main.o", "main.elf"})
      std::remove(Project.File(file).c_str());
    test::WriteTextFile(Project.File("main.c"), "#include <avr/eeprom.h>\nuint8_t EEMEM ee[100] = {1};\n"
                                                "volatile uint8_t buf[100];\n"
                                                "int main(void) { for (;;) buf[1] += eeprom_read_byte(&ee[buf[0]]); }\n");
    for (const auto& [name, text] : c.Files) test::WriteTextFile(Project.File(name), text);
    const test::TCommandResult build = test::RunCommand(Project.Path(), "make");
    const TStringList output = test::ListOf(build.Lines);
    TRows rows = Show(0, 0, nullptr, &output);
    EXPECT_EQ(rows.Mcu, c.Mcu) << ::testing::PrintToString(build.Lines);
    EXPECT_NE(rows.Flash.find(c.FlashTotal), std::string::npos) << rows.Flash;
    if (!std::string_view(c.FlashTotal).ends_with(" = ")) continue;
    std::map<std::string, test::TAvrSizeFigure> avrSize = test::AvrSizeFigures(Project.Path(), c.Mcu);
    for (auto [row, figure] : {std::pair{rows.Flash, "Program"}, {rows.Sram, "Data"}, {rows.Eeprom, "EEPROM"}})
      test::ExpectAvrSizeFigure(row, avrSize[figure]);
  }
}

}  // namespace
}  // namespace vk
