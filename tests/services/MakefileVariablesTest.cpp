#include "services/MakefileVariables.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

// The part of the makefiles people write, as far as the file alone tells it.
TEST(MakefileVariablesTest, ThePartAMakefileBuildsFor) {
  const struct {
    const char* Name;
    std::vector<std::string> Lines;
    const char* Part;
  } cases[] = {
      {"MCU with blanks and a comment", {"MCU = atmega16   # the board's part"}, "atmega16"},
      {"the last assignment wins", {"MCU=atmega8", "MCU := atmega16"}, "atmega16"},
      {"?= only where unset", {"MCU = atmega8", "MCU ?= atmega16"}, "atmega8"},
      {"override and export", {"override export MCU ::= atmega32"}, "atmega32"},
      {"a later plain assignment does not beat override", {"override MCU = atmega8", "MCU = atmega16"}, "atmega8"},
      {":= expands where it stands", {"PART = atmega8", "MCU := $(PART)", "PART = atmega16"}, "atmega8"},
      {"+= onto an empty value", {"MCU =", "MCU += atmega8"}, "atmega8"},
      {"a blank kept at the end", {"MCU = atmega8 $(EMPTY)", "CFLAGS = -mmcu=$(MCU) -Os"}, "atmega8"},
      {"through another variable", {"MCU = $(PART)", "PART = ${BOARD_PART}", "BOARD_PART = attiny85"}, "attiny85"},
      {"the wizard's lines start with a TAB", {"\tMCU=atmega128", "     FORMAT=ihex"}, "atmega128"},
      {"no MCU: -mmcu= through MCU_TARGET",
       {"MCU_TARGET = atmega8", "override CFLAGS = -g -Wall -mmcu=$(MCU_TARGET) \\", "   $(DEFS)"}, "atmega8"},
      {"no MCU: -mmcu= in a recipe", {"all:", "\tavr-gcc -mmcu=at90can128 -Os main.c"}, "at90can128"},
      {"-mmcu= wins over MCU", {"MCU = atmega8", "CFLAGS = -mmcu=atmega16"}, "atmega16"},
      {"a recipe assigns nothing", {"MCU = atmega16", "all:", "\tMCU=atmega8 ./flash"}, "atmega16"},
      {"the default goal's target-specific part",
       {"MCU_TARGET = atmega168", "CFLAGS = -Os -mmcu=$(MCU_TARGET)", "all: target328",
        "target328: MCU_TARGET = atmega328p", "target328: demo.elf", "demo.elf: demo.o",
        "\tavr-gcc $(CFLAGS) -nostartfiles -o $@ $^", "target168: demo.elf"},
       "atmega328p"},
      {"a target outside the default goal", {"CFLAGS = -mmcu=$(MCU)", "MCU = atmega16", "all: main.elf",
                                              "boot: MCU = atmega8", "boot: boot.elf"},
       "atmega16"},
      {"a private variable is not handed on",
       {"MCU = atmega16", "CFLAGS = -mmcu=$(MCU)", "all: main.o", "all: private MCU = atmega8"}, "atmega16"},
      {".DEFAULT_GOAL", {".DEFAULT_GOAL = b", "a: ; avr-gcc -mmcu=atmega8 a.c", "b: ; avr-gcc -mmcu=atmega16 b.c"},
       "atmega16"},
      {"a condition the file tells",
       {"BOARD = uno", "ifeq ($(BOARD),uno)", "MCU = atmega328p", "else", "MCU = atmega8", "endif"}, "atmega328p"},
      {"two goals build for two parts",
       {"CFLAGS = -mmcu=$(MCU)", "all: a.elf b.elf", "a.elf: MCU = atmega8", "b.elf: MCU = atmega16"}, ""},
      {"a condition the file cannot tell",
       {"MCU = atmega8", "ifeq ($(shell uname),Linux)", "MCU = atmega16", "endif"}, ""},
      {"an included file may set it", {"MCU ?= atmega8", "include board.mk"}, ""},
      {"$(eval) may set it", {"MCU = atmega8", "$(eval MCU = atmega16)"}, ""},
      {"a pattern's variable", {"CFLAGS = -mmcu=$(MCU)", "MCU = atmega8", "%.o: MCU = atmega16"}, ""},
      {"an architecture is no part", {"CFLAGS = -mmcu=avr5"}, ""},
      {"a leading blank breaks the option", {"MCU = $(EMPTY) atmega8", "CFLAGS = -mmcu=$(MCU)"}, ""},
      {"MCU from the command line: the option tells nothing", {"CFLAGS = -mmcu=$(MCU)"}, ""},
      {"MCU from the shell", {"MCU != cat part.txt", "CFLAGS = -mmcu=$(MCU)"}, ""},
      {"a function", {"MCU = $(firstword atmega8 atmega16)"}, ""},
      {"references in a loop", {"MCU = $(A)", "A = $(MCU)"}, ""},
      {"commented out", {"# MCU = atmega16", "#CFLAGS = -mmcu=atmega8"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(MakefilePart(test::ListOf(c.Lines)), c.Part);
  }
}

// The names avr-gcc knows for -mmcu: the architectures (avr2, avrxmega3 ...)
// are no parts, every other name is one.
TEST(MakefileVariablesTest, TheCompilersArchitecturesAreNoParts) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const test::TCommandResult help = test::RunCommand("/", "avr-gcc --target-help");
  bool listing = false;
  int architectures = 0, parts = 0;
  for (const std::string& line : help.Lines) {
    if (line.find("Known MCU names:") != std::string::npos) {
      listing = true;
      continue;
    }
    if (listing && !line.starts_with("  ")) break;
    std::istringstream words(line);
    for (std::string name; listing && words >> name;) {
      const bool architecture = name.starts_with("avr");
      EXPECT_EQ(IsAvrPartName(name), !architecture) << name;
      ++(architecture ? architectures : parts);
    }
  }
  EXPECT_GT(architectures, 10);
  EXPECT_GT(parts, 100);
}

// Random assignments of every flavour, override, +=, references, blanks,
// comments and conditionals; make itself prints each value. Each makefile's
// names are its own, so that one make run reads them all.
TEST(MakefileVariablesTest, ValuesAgreeWithMake) {
  if (system("command -v make >/dev/null 2>&1") != 0) GTEST_SKIP() << "make is not installed";
  constexpr int Makefiles = 120;
  std::mt19937 random(20240611);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::vector<std::vector<std::string>> makefiles;
  std::string all;
  for (int m = 0; m < Makefiles; ++m) {
    // Names refer only to names after them, so that no value loops.
    const std::string prefix = "VKT" + std::to_string(m) + "_";
    const std::string names[] = {prefix + "MCU", prefix + "A", prefix + "B", prefix + "C"};
    auto value = [&](int name) {
      static const char* const atoms[] = {"at", "mega", "8", " ", "  ", "$(EMPTY)"};
      std::string text;
      for (int n = pick(4); n > 0; --n) {
        const bool paren = pick(2);
        if (name < 3 && pick(3) == 0)
          text += std::string(paren ? "$(" : "${") + names[name + 1 + pick(3 - name)] + (paren ? ")" : "}");
        else
          text += atoms[pick(6)];
      }
      return text;
    };
    std::vector<std::string> lines;
    for (int s = 4 + pick(6); s > 0; --s) {
      static const char* const operators[] = {"=", ":=", "::=", "?=", "+="};
      const int name = pick(4);
      std::string line = (pick(4) == 0 ? "override " : "") + names[name] + (pick(2) ? " " : "") +
                         operators[pick(5)] + (pick(2) ? " " : "") + value(name) + (pick(5) == 0 ? " # note" : "");
      const int condition = pick(6);
      if (condition == 0) lines.push_back("ifeq ($(" + names[3] + "),at)");
      if (condition == 1) lines.push_back("ifdef " + names[2]);
      lines.push_back(line);
      if (condition <= 1) {
        if (pick(2)) lines.push_back("else"), lines.push_back(names[pick(4)] + " += mega");
        lines.push_back("endif");
      }
    }
    for (const std::string& line : lines) all += line + "\n";
    makefiles.push_back(lines);
  }
  for (int m = 0; m < Makefiles; ++m) all += "$(info " + std::to_string(m) + "[$(VKT" + std::to_string(m) + "_MCU)])\n";
  all += "vk_print: ; @:\n";
  test::TTempFolder folder;
  test::WriteTextFile(folder.File("makefile"), all);
  const test::TCommandResult make = test::RunCommand(folder.Path(), "make -s -f makefile");
  ASSERT_EQ(make.Status, 0) << ::testing::PrintToString(make.Lines);
  ASSERT_EQ(make.Lines.size(), static_cast<size_t>(Makefiles));

  for (int m = 0; m < Makefiles; ++m) {
    std::string text;
    for (const std::string& line : makefiles[m]) text += line + "\n";
    SCOPED_TRACE("makefile " + std::to_string(m) + ":\n" + text);
    const std::string& printed = make.Lines[m];
    const std::string expected = printed.substr(printed.find('[') + 1, printed.size() - printed.find('[') - 2);
    TMakefileReading reading(test::ListOf(makefiles[m]));
    EXPECT_EQ(reading.Value("VKT" + std::to_string(m) + "_MCU"), expected);
  }
}

}  // namespace
}  // namespace vk
