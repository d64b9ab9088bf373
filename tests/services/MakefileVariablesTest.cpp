#include "services/MakefileVariables.h"

#include <gtest/gtest.h>

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
      {"through another variable", {"MCU = $(PART)", "PART = ${BOARD_PART}", "BOARD_PART = attiny85"}, "attiny85"},
      {"the wizard's lines start with a TAB", {"\tMCU=atmega128", "     FORMAT=ihex"}, "atmega128"},
      {"no MCU: -mmcu= through MCU_TARGET",
       {"MCU_TARGET = atmega8", "override CFLAGS = -g -Wall -mmcu=$(MCU_TARGET) \\", "   $(DEFS)"}, "atmega8"},
      {"no MCU: -mmcu= in a recipe", {"all:", "\tavr-gcc -mmcu=at90can128 -Os main.c"}, "at90can128"},
      {"a recipe assigns nothing", {"MCU = atmega16", "all:", "\tMCU=atmega8 ./flash"}, "atmega16"},
      {"a rule's own variable is not the file's", {"main.o: MCU = atmega8", "CFLAGS = -mmcu=atmega16"}, "atmega16"},
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

}  // namespace
}  // namespace vk
