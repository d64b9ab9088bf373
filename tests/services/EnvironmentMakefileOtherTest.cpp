// Makefiles of another origin taken into the settings dialog's options and
// written back in the dialog's format: make's dry run of the new file runs
// the old one's compiles and link option by option, or the replacement
// question names what it does not; built, both make programs of the same
// bytes where it names nothing that changes them.

#include "services/EnvironmentMakefileOther.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "services/EnvironmentMakefile.h"
#include "services/EnvironmentMakefileReplace.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

struct TFile {
  std::string Name, Text;
};

// The bytes of a program as they go into the part's flash (avr-objcopy
// -O binary); "" when there is none.
std::string ProgramBytes(const std::string& folder, const std::string& program) {
  if (test::RunCommand(folder, "avr-objcopy -O binary '" + program + "' program.bin").Status != 0) return "";
  return test::ReadTextFile(folder + "/program.bin");
}

const char* const LedSource = "#include <avr/io.h>\nvoid led(void) { DDRB |= 1; PORTB ^= 1; }\n";
const char* const MainSource =
    "#include <avr/io.h>\nvoid led(void);\nint main(void) {\n  for (;;) led();\n}\n";

TEST(EnvironmentMakefileOtherTest, TheReplacementBuildsWhatTheOldMakefileBuilt) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const struct {
    const char* Name;
    std::vector<TFile> Files;
    const char* Program;  // the old build's, relative to the project
    std::vector<std::string> Losses;
    const char* Prepare = "";  // a shell command run in the project first
  } rows[] = {
      {"a dependency line ends the file; a boot loader's start address, no printf library",
       {{"main.c", MainSource},
        {"led.c", LedSource},
        {"Makefile",
         "MCU = atmega644p\nCC = avr-gcc\n"
         "CFLAGS = -Os -mmcu=$(MCU) -DF_CPU=16000000UL -Wall -std=gnu99 -ffunction-sections\n"
         "LDFLAGS = -Wl,--section-start=.text=0xE000 -Wl,--gc-sections\nall: main.hex\n"
         "main.elf: main.o led.o\n\t$(CC) $(CFLAGS) $(LDFLAGS) -o $@ $^\n"
         "main.hex: main.elf\n\tavr-objcopy -O ihex -R .eeprom $< $@\n"
         "-include $(shell mkdir .dep 2>/dev/null) $(wildcard .dep/*)\n"}},
       "main.elf",
       {}},
      {"functions in CFLAGS and the listing option",
       {{"main.c", "#include \"config.h\"\n#include <avr/io.h>\nvoid led(void);\nint main(void) {\n"
                   "  for (;;) if (BOARD == 2) led();\n}\n"},
        {"inc/config.h", "#define CONFIGURED 1\n"},
        {"drivers/led.c", LedSource},
        {"makefile",
         "MCU = atmega8\nINC = inc drivers\nSRC = main.c drivers/led.c\nOBJ = $(SRC:.c=.o)\n"
         "CFLAGS = -mmcu=$(MCU) -Os $(addprefix -I,$(INC)) $(patsubst %,-D%,BOARD=2 DEBUG) -std=c99 "
         "-fno-jump-tables -Wa,-adhlns=$(<:.c=.lst)\nall: main.elf\n"
         "main.elf: $(OBJ)\n\tavr-gcc -mmcu=$(MCU) $^ -o $@\n%.o: %.c\n\tavr-gcc $(CFLAGS) -c $< -o $@\n"}},
       "main.elf",
       {}},
      {"make's C preprocessor flags reach every C compile",
       {{"main.c", "#include <avr/io.h>\nint main(void) {\n  UBRRL = F_CPU / 16 / BAUD - 1;\n  for (;;) {\n  }\n}\n"},
        {"Makefile",
         "CC = avr-gcc\nCPPFLAGS = -DBAUD=19200UL -DF_CPU=8000000UL\nCFLAGS = -mmcu=atmega8 -Os\n"
         "main.elf: main.o\n\t$(CC) $(CFLAGS) $^ -o $@\n"}},
       "main.elf",
       {}},
      {"a computed name in LDFLAGS",
       {{"main.c", MainSource},
        {"led.c", LedSource + std::string("void unused(void) { PORTC = 3; }\n")},
        {"Makefile",
         "TARGET = $(notdir $(CURDIR))\nCFLAGS = -mmcu=atmega8 -Os -ffunction-sections\n"
         "LDFLAGS = -Wl,-Map,$(TARGET).map -Wl,--gc-sections\nall: $(TARGET).elf\n"
         "$(TARGET).elf: main.o led.o\n\tavr-gcc $(CFLAGS) $(LDFLAGS) $^ -o $@\n"
         "%.o: %.c\n\tavr-gcc $(CFLAGS) -c $< -o $@\n"}},
       "project.elf",
       {"not written: project.elf"}},
      {"the objects' sources in a folder, an assembler source, no standard and no tuning options",
       {{"main.c", "void led(void);\nvoid pulse(void);\nvoid both(void) { led(); pulse(); }\n"
                   "int main(void) {\n  for (;;) both();\n}\n"},
        {"usbdrv/usbdrv.c", LedSource},
        {"usbdrv/usbdrvasm.S", "#include <avr/io.h>\n.global pulse\npulse:\n  sbi _SFR_IO_ADDR(PORTB), 1\n  ret\n"},
        {"Makefile",
         "COMPILE = avr-gcc -Wall -Os -DF_CPU=12000000 -Iusbdrv -I. -mmcu=attiny85\n"
         "OBJECTS = usbdrv/usbdrv.o usbdrv/usbdrvasm.o main.o\nall: main.elf\n"
         "main.elf: $(OBJECTS)\n\t$(COMPILE) -o main.elf $(OBJECTS)\n"
         ".c.o:\n\t$(COMPILE) -c $< -o $@\n.S.o:\n\t$(COMPILE) -x assembler-with-cpp -c $< -o $@\n"}},
       "main.elf",
       {"the link of main.elf: in the order main.c, usbdrv/usbdrv.c, usbdrv/usbdrvasm.S in place of usbdrv/usbdrv.c, "
        "usbdrv/usbdrvasm.S, main.c"}},
      {"compiled and linked in one, with nothing else",
       {{"main.c", "int main(void) {\n  for (;;) {\n  }\n}\n"},
        {"Makefile", "all:\n\tavr-gcc -mmcu=atmega8 main.c -o main.elf\n"}},
       "main.elf",
       {}},
      {"what the dialog's makefile cannot hold is named",
       {{"main.c", MainSource},
        {"uart.c", "void uart(void) {}\n"},
        {"../shared/led.c", LedSource},
        {"version.in", ""},
        {"Makefile",
         "CFLAGS = -mmcu=atmega8 -Os\nall: version.h main.elf\nversion.h:\n\tcp version.in version.h\n"
         "uart.o: CFLAGS += -DFAST\nmain.elf: main.o uart.o ../shared/led.o\n\tavr-gcc -mmcu=atmega8 $^ -o $@\n"
         "%.o: %.c\n\tavr-gcc $(CFLAGS) -c $< -o $@\n"}},
       "main.elf",
       {"uart.c: compiled without -DFAST", "../shared/led.c: not compiled", "not run: cp version.in version.h"}},
      {"an archive before the -l library it needs: both keep their place",
       {{"main.c", "void app(void);\nint main(void) {\n  for (;;) app();\n}\n"},
        {"app.c", "void hw(void);\nvoid app(void) { hw(); }\n"},
        {"hw.c", "#include <avr/io.h>\nvoid hw(void) { PORTB = 5; }\n"},
        {"Makefile",
         "main.elf: main.o\n\tavr-gcc -mmcu=atmega8 main.o libapp.a -Llib -lhw -o main.elf\n"
         "main.o: main.c\n\tavr-gcc -mmcu=atmega8 -Os -c main.c\n"}},
       "main.elf",
       {},
       "avr-gcc -mmcu=atmega8 -Os -c app.c hw.c && avr-ar rcs libapp.a app.o && mkdir lib && avr-ar rcs lib/libhw.a "
       "hw.o && rm app.o hw.o app.c hw.c"},
      {"a link without the part",
       {{"main.c", MainSource},
        {"led.c", LedSource},
        {"Makefile", "main.elf: main.o led.o\n\tavr-gcc $^ -o $@\n%.o: %.c\n\tavr-gcc -mmcu=atmega8 -Os -c $< -o $@\n"}},
       "main.elf",
       {"the link of main.elf: with -mmcu=atmega8"}},
      {"dependency tracking, the form of diagnostics and the map's name change nothing",
       {{"main.c", MainSource},
        {"led.c", LedSource},
        {"Makefile",
         "CFLAGS = -mmcu=atmega8 -Os -MMD -MP -Wp,-M,-MP,-MT,$(*F).o,-MF,.dep/$(@F).d -fdiagnostics-color=always\n"
         "main.elf: main.o led.o\n\tavr-gcc $(CFLAGS) -Wl,-Map=firmware.map $^ -o $@\n"
         "%.o: %.c\n\tavr-gcc $(CFLAGS) -c $< -o $@\n"
         "-include $(shell mkdir .dep 2>/dev/null) $(wildcard .dep/*)\n"}},
       "main.elf",
       {}},
      {"a step that writes a header",
       {{"main.c", "#include \"version.h\"\nint main(void) {\n  return VERSION;\n}\n"},
        {"Makefile",
         "all: version.h main.elf\nversion.h:\n\techo '#define VERSION 3' > version.h\n"
         "main.elf: main.c version.h\n\tavr-gcc -mmcu=atmega8 -Os main.c -o main.elf\n"}},
       "main.elf",
       {"not run: echo '#define VERSION 3' > version.h"}},
      {"program files and a target the new makefile lacks",
       {{"main.c", MainSource},
        {"led.c", LedSource},
        {"Makefile",
         "all: main.bin\nmain.elf: main.o led.o\n\tavr-gcc -mmcu=atmega8 $^ -o $@\n"
         "main.bin: main.elf\n\tavr-objcopy -O binary $< $@\nflash: main.bin\n\tavrdude -U flash:w:main.bin\n"
         "%.o: %.c\n\tavr-gcc -mmcu=atmega8 -Os -c $< -o $@\n"}},
       "main.elf",
       {"not written: main.bin", "no target flash"}},
      {"options with quotes, blanks and $",
       {{"main.c", "#include <avr/io.h>\nint main(void) {\n  PORTB = sizeof(GREETING) * 16 + sizeof(COST);\n}\n"},
        {"Makefile",
         "CFLAGS = -mmcu=atmega8 -Os '-DGREETING=\"hi there\"' '-DCOST=\"$$5\"'\n"
         "main.elf: main.c\n\tavr-gcc $(CFLAGS) $^ -o $@\n"}},
       "main.elf",
       {}},
      // The commands as the driver and the shell read them.
      {"--output, as the field's template links",
       {{"main.c", MainSource},
        {"led.c", LedSource},
        {"Makefile",
         "CC = avr-gcc\nCFLAGS = -mmcu=atmega8 -Os\nLDFLAGS = -Wl,-Map=main.map,--cref\n"
         "main.elf: main.o led.o\n\t$(CC) $(CFLAGS) $^ --output $@ $(LDFLAGS)\n"}},
       "main.elf",
       {}},
      {"-B DIR in two words, a subshell's cd, make's own message, env in front, a continued line",
       {{"main.c", MainSource},
        {"drv/led.c", LedSource},
        {"pack/empty", ""},
        {"build/empty", ""},
        {"Makefile",
         "all:\n\t$(info Building for atmega8)\n"
         "\t(cd drv && env X=1 avr-gcc -mmcu=atmega8 -B $(CURDIR)/pack -Os -c led.c) && avr-gcc -mmcu=atmega8\\\n"
         "\t\t-B $(CURDIR)/pack -Os build/../main.c drv/led.o -Wl,-Map=main.map -o main.elf\n"}},
       "main.elf",
       {}},
  };
  test::TTempFolder temp;
  int number = 0;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    // The makefiles name files relative to the project, which make takes
    // word by word: a folder name without blanks.
    const std::string base = temp.File("row" + std::to_string(++number));
    const std::string folder = base + "/project";
    for (const TFile& file : row.Files) {
      ForceFolders(ExtractFilePath(folder + "/" + file.Name));
      test::WriteTextFile(folder + "/" + file.Name, file.Text);
    }
    ASSERT_EQ(test::RunCommand(folder, *row.Prepare ? row.Prepare : "true").Status, 0);
    TMakefileOptions options;
    options.Target = "main";
    ASSERT_TRUE(ImportOtherMakefile(folder, "main.c", "", options));
    const std::string text = MakefileText(options);
    const TMakefileLosses losses = MakefileReplacementLosses(folder, "main.c", "", text);
    ASSERT_TRUE(losses.Known) << losses.Failure;
    EXPECT_EQ(losses.Lines, row.Losses) << text;

    // Both built from clean copies: the programs are the same bytes where
    // the question names nothing that changes them, else they differ or
    // the new build fails.
    const bool same = std::all_of(row.Losses.begin(), row.Losses.end(), [](const std::string& line) {
      return line.starts_with("not written: ") || line.starts_with("no target ");
    });
    const std::string replaced = base + "/replaced";
    std::filesystem::copy(folder, replaced, std::filesystem::copy_options::recursive);
    for (const char* name : {"Makefile", "makefile"}) std::filesystem::remove(replaced + "/" + name);
    test::WriteTextFile(replaced + "/makefile", text);
    const test::TCommandResult old = test::RunCommand(folder, "make");
    ASSERT_EQ(old.Status, 0) << ::testing::PrintToString(old.Lines);
    const std::string oldBytes = ProgramBytes(folder, row.Program);
    EXPECT_FALSE(oldBytes.empty());
    const test::TCommandResult now = test::RunCommand(replaced, "make");
    if (same) {
      ASSERT_EQ(now.Status, 0) << ::testing::PrintToString(now.Lines) << text;
      EXPECT_EQ(ProgramBytes(replaced, "main.elf"), oldBytes) << text;
    } else {
      EXPECT_TRUE(now.Status != 0 || ProgramBytes(replaced, "main.elf") != oldBytes) << text;
    }
  }
}

// Each option of the old build that changes the program is named where the
// new build lacks it or passes it otherwise.
TEST(EnvironmentMakefileOtherTest, TheComparisonNamesEveryOptionThatChangesTheProgram) {
  const std::string compile = "avr-gcc -mmcu=atmega8 -Os -c main.c -o main.o ";
  const std::string link = "avr-gcc -mmcu=atmega8 main.o -o main.elf ";
  const struct {
    std::string Old, New;
    std::vector<std::string> Losses;
  } rows[] = {
      {compile + "-Ia -Ib", compile + "-Ib -Ia", {"main.c: compiled with the -I folders in another order"}},
      {compile + "-Ia -Wall -Wundef", compile + "-Wall", {"main.c: compiled without -Ia, without -Wundef"}},
      {compile + "-mcall-prologues", compile, {"main.c: compiled without -mcall-prologues"}},
      {link + "-lm -Wl,-u,vfprintf -lprintf_flt", link + "-lprintf_flt",
       {"the link of main.elf: without -Wl,-u, without -Wl,vfprintf, without -lm"}},
      {link + "-nostartfiles -mrelax", link, {"the link of main.elf: without -mrelax, without -nostartfiles"}},
      {"avr-gcc main.o -o main.elf", link, {"the link of main.elf: with -mmcu=atmega8"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Old);
    TMakeDryRun old, now;
    old.Commands = ReadBuildCommands(test::ListOf({row.Old}), "/p");
    now.Commands = ReadBuildCommands(test::ListOf({row.New}), "/p");
    EXPECT_EQ(ReplacementLosses(old, now, "/p", "main.c"), row.Losses);
  }
}

}  // namespace
}  // namespace vk
