#include "services/MakefileVariables.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <set>
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
      {"no MCU: -mmcu= through MCU_TARGET, make's rule",
       {"MCU_TARGET = atmega8", "override CFLAGS = -g -Wall -mmcu=$(MCU_TARGET) \\", "   $(DEFS)", "all: main.o"},
       "atmega8"},
      {"no MCU: -mmcu= in a recipe", {"all:", "\tavr-gcc -mmcu=at90can128 -Os main.c"}, "at90can128"},
      {"-mmcu= wins over MCU", {"MCU = atmega8", "CFLAGS = -mmcu=atmega16", "all: main.o"}, "atmega16"},
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
      {"a pattern's variable", {"CFLAGS = -mmcu=$(MCU)", "MCU = atmega8", "%.o: MCU = atmega16", "all: main.o"}, ""},
      {"an architecture is no part", {"CFLAGS = -mmcu=avr5"}, ""},
      {"a leading blank breaks the option", {"MCU = $(EMPTY) atmega8", "CFLAGS = -mmcu=$(MCU)", "all: main.o"}, ""},
      {"MCU from the command line: the option tells nothing", {"CFLAGS = -mmcu=$(MCU)"}, ""},
      {"MCU from the shell", {"MCU != cat part.txt", "CFLAGS = -mmcu=$(MCU)"}, ""},
      {"a function", {"MCU = $(firstword atmega8 atmega16)"}, ""},
      {"references in a loop", {"MCU = $(A)", "A = $(MCU)"}, ""},
      {"commented out", {"# MCU = atmega16", "#CFLAGS = -mmcu=atmega8"}, ""},
      {"a target's := sees its own variables",
       {"MCU = atmega8", "all: MCU = atmega16", "all: CFLAGS := -mmcu=$(MCU)", "all: ; avr-gcc $(CFLAGS) main.c"},
       "atmega16"},
      {"a target's value replaces the global one",
       {"CFLAGS = -mmcu=atmega16 -Os", "all: CFLAGS = -Os", "all: ; avr-gcc $(CFLAGS) main.c"}, ""},
      {"a later target assignment replaces the value",
       {"all: CFLAGS = -mmcu=atmega8", "all: CFLAGS = -Os", "all: ; avr-gcc $(CFLAGS) main.c"}, ""},
      {"-mmcu= in a branch the file cannot tell",
       {"MCU = atmega8", "CFLAGS = -Os", "ifeq ($(shell uname),Linux)", "CFLAGS += -mmcu=atmega16", "endif",
        "all: ; avr-gcc $(CFLAGS) main.c"},
       ""},
      {"-mmcu= a function may give", {"all: ; avr-gcc $(if $(DEBUG),,-mmcu=atmega8) main.c"}, ""},
      {"a function without -mmcu= hides none",
       {"LIBS = $(addprefix -L,$(wildcard lib))", "all: ; avr-gcc -mmcu=atmega8 $(LIBS) -o $@ $^"}, "atmega8"},
      {"an option no command passes", {"BOOT = -mmcu=atmega8", "CFLAGS = -mmcu=atmega16", "all: main.o"}, "atmega16"},
      {"an empty override += stops nothing", {"MCU = atmega8", "override MCU +=", "MCU = atmega16"}, "atmega16"},
      {"a private global is handed to no target", {"private MCU = atmega8", "all: ; avr-gcc -mmcu=$(MCU) main.c"}, ""},
      {".RECIPEPREFIX: a TAB line sets a variable",
       {"MCU = atmega8", ".RECIPEPREFIX = >", "all:", "> avr-gcc -mmcu=$(MCU) main.c", "\tMCU = atmega16"},
       "atmega16"},
      {"a computed name keeps its leading blank",
       {"SP := $(E) $(E)", "MCU = atmega8", "$(SP)MCU = atmega16"}, "atmega8"},
      {"a form feed before the value", {"MCU = \fatmega8"}, "atmega8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(MakefilePart(test::ListOf(c.Lines)), c.Part);
  }
}

// The values make gives (printed from the default goal's recipe), or none.
TEST(MakefileVariablesTest, TheValuesMakeGives) {
  const struct {
    const char* Name;
    std::vector<std::string> Lines;
    std::optional<std::string> Value;  // of A
  } cases[] = {
      {"a target's += onto its := expands as read",
       {"B = b", "all: A := y", "all: A += $(B)", "B = c", "all: ; @:"}, "y b"},
      {"an empty target += keeps the blank", {"A = x", "all: A +=", "all: ; @:"}, "x "},
      {"an empty global += adds nothing", {"A = x", "A +=", "all: ; @:"}, "x"},
      {"backslashes before # are halved", {"A = a\\\\#b", "all: ; @:"}, "a\\"},
      {"an odd number before # is the #", {"A = a\\\\\\#b", "all: ; @:"}, "a\\#b"},
      {"three at a continued line's end", {"A = a\\\\\\", "  b", "all: ; @:"}, "a\\ b"},
      {"one at the end of the file", {"all: ; @:", "A = a\\"}, std::nullopt},
      {"a form feed is no blank inside a continued line", {"A = x \f\\", "\fb", "all: ; @:"}, "x \f \fb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TMakefileReading(test::ListOf(c.Lines)).Value("A"), c.Value);
  }
}

// A file the makefile has no recipe for is made by make's built-in rules:
// an option in any variable their commands use (as make -p lists them)
// is one the default goal passes.
TEST(MakefileVariablesTest, MakesBuiltInRulesPassTheirVariables) {
  if (system("command -v make >/dev/null 2>&1") != 0) GTEST_SKIP() << "make is not installed";
  const std::regex rule("%(\\.o)?: %\\.(c|cc|cpp|S|s|o)"), definition("([A-Za-z_.]+) = (.*)"),
      reference("\\$\\(([A-Za-z_.]+)\\)");
  std::map<std::string, std::string> definitions;
  std::vector<std::string> pending;
  bool recipe = false;
  for (const std::string& line : test::RunCommand("/", "make -p -f /dev/null").Lines) {
    std::smatch match;
    if (recipe && line.starts_with('\t')) pending.push_back(line), recipe = false;
    if (std::regex_match(line, rule)) recipe = true;
    if (std::regex_match(line, match, definition)) definitions[match[1]] = match[2];
  }
  std::set<std::string> used;
  while (!pending.empty()) {
    const std::string text = pending.back();
    pending.pop_back();
    for (std::sregex_iterator at(text.begin(), text.end(), reference), end; at != end; ++at)
      if (used.insert((*at)[1]).second && definitions.count((*at)[1])) pending.push_back(definitions[(*at)[1]]);
  }
  EXPECT_GT(used.size(), 15u);
  for (const std::string& name : used) {
    SCOPED_TRACE(name);
    EXPECT_EQ(MakefilePart(test::ListOf({name + " = -mmcu=atmega8", "all: main.o"})), "atmega8");
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

// A random makefile of four variables and four targets, t0 the default
// goal: assignments of every flavour with override, private and export,
// target-specific ones, references, blanks, form feeds, comments and
// backslashes (before "#", ending a continued line, ending the file), empty
// "+=", computed names, .RECIPEPREFIX, define, conditionals the file tells
// and ones on the shell or an included file, which it does not. Every
// recipe prints the values it sees.
class TMakefileGenerator {
public:
  static constexpr const char* Names[] = {"VKMCU", "VKA", "VKB", "VKC"};
  static constexpr int Targets = 4;

  explicit TMakefileGenerator(unsigned seed) : FRandom(seed) {}

  std::string Makefile() {
    FLines.clear();
    FPrefix = Pick(6) == 0 ? '>' : '\t';
    FLines.push_back("VKSP := $(VKE) $(VKE)");
    for (int name = 0; name < 4; ++name) FLines.push_back("VKNAME" + std::to_string(name) + " := " + Names[name]);
    if (FPrefix != '\t') FLines.push_back(Pick(2) ? ".RECIPEPREFIX = >" : ".RECIPEPREFIX := >");
    FLines.push_back("t0:" + Prerequisites(0));
    for (int s = 6 + Pick(10); s > 0; --s) Statement();
    for (int t = 0; t < Targets; ++t) Rule(t, t == 0 || Pick(3));
    std::string text;
    for (const std::string& line : FLines) text += line + "\n";
    if (Pick(8) == 0) text += Names[Pick(4)] + std::string(" += end") + Backslashes(1 + 2 * Pick(2)) + "\n";
    return text;
  }

private:
  int Pick(int n) { return static_cast<int>(FRandom() % static_cast<unsigned>(n)); }
  std::string Operator() {
    static const char* const operators[] = {"=", ":=", "::=", "?=", "+="};
    return operators[Pick(5)];
  }
  static std::string Backslashes(int n) { return std::string(static_cast<size_t>(n), '\\'); }

  // Names refer only to the names after them, so that no value loops.
  std::string Value(int name) {
    static const char* const atoms[] = {"at", "mega", "8", " ", "  ", "$(VKE)", "\f"};
    std::string text;
    for (int n = Pick(5); n > 0; --n) {
      const int kind = Pick(12);
      if (name < 3 && kind < 3)
        text += std::string(kind ? "$(" : "${") + Names[name + 1 + Pick(3 - name)] + (kind ? ")" : "}");
      else if (kind == 3)
        text += Backslashes(1 + Pick(4)) + "#x";  // halved before a comment, or the "#" itself
      else if (kind == 4)
        text += Backslashes(1 + 2 * Pick(2)) + "\n" + (Pick(2) ? " \t" : "") + "mega";  // continued
      else
        text += atoms[Pick(7)];
    }
    return text + (Pick(6) == 0 ? " # note" : "");
  }

  std::string Prerequisites(int target) {
    std::string text;
    for (int t = target + 1; t < Targets; ++t)
      if (Pick(2)) text += " t" + std::to_string(t);
    return text;
  }

  std::string Assignment(int name) {
    static const char* const prefixes[] = {"", "", "", "override ", "private ", "export ", "override private "};
    std::string target;
    if (Pick(2)) target = "t" + std::to_string(Pick(Targets)) + (Pick(4) == 0 ? " t3" : "") + ": ";
    std::string written = Names[name];
    if (Pick(10) == 0) written = "$(VKSP)" + written;  // a name that starts with a blank
    if (Pick(10) == 0) written = "$(VKNAME" + std::to_string(name) + ")";
    const std::string op = Operator();
    if (op == "+=" && Pick(4) == 0) return target + written + " +=";
    return target + prefixes[Pick(7)] + written + (Pick(2) ? " " : "") + op + (Pick(2) ? " " : "") + Value(name);
  }

  void Statement() {
    const int name = Pick(4);
    const int kind = Pick(16);
    if (kind == 0) {
      FLines.push_back("t" + std::to_string(Pick(Targets)) + ":" + Prerequisites(Pick(Targets)));
    } else if (kind == 1) {
      FLines.push_back((Pick(2) ? "override undefine " : "undefine ") + std::string(Names[name]));
    } else if (kind == 2) {
      FLines.push_back("define " + std::string(Names[name]) + (Pick(2) ? " +=" : ""));
      FLines.push_back(Value(name));
      FLines.push_back("endef");
    } else if (kind == 3 && Pick(4) == 0) {
      FLines.push_back("-include inc.mk");
    } else if (kind == 4 && FPrefix != '\t') {
      FLines.push_back("\t" + Assignment(name));  // no recipe under another prefix
    } else if (kind <= 7) {
      static const char* const conditions[] = {"ifeq ($(VKC),at)", "ifdef VKB", "ifneq ($(shell echo x),x)",
                                               "ifeq ($(wildcard inc.mk),)"};
      FLines.push_back(conditions[Pick(4)]);
      FLines.push_back(Assignment(name));
      if (Pick(2)) FLines.push_back("else"), FLines.push_back(Assignment(Pick(4)));
      FLines.push_back("endif");
    } else {
      FLines.push_back((Pick(12) == 0 ? "\f" : "") + Assignment(name));
    }
  }

  void Rule(int target, bool recipe) {
    FLines.push_back("t" + std::to_string(target) + ":");
    if (!recipe) return;
    std::string line(1, FPrefix);
    for (const char* name : Names)
      line += "$(info VK t" + std::to_string(target) + " " + name + "=[$(" + name + ")])";
    FLines.push_back(line + "@:");
    if (Pick(2)) FLines.push_back(FPrefix + std::string("@avr-gcc -mmcu=$(VKMCU) $(VKA) -c t.c"));
  }

  std::mt19937 FRandom;
  std::vector<std::string> FLines;
  char FPrefix = '\t';
};

// Generated makefiles, each run by make; every value the reader claims to
// know is the one every recipe of the default goal printed, and a part it
// names is the one every -mmcu= of the commands passes. More files and
// another seed: VORNKIT_MAKEFILES=count[,seed].
TEST(MakefileVariablesTest, ValuesAgreeWithMake) {
  if (system("command -v make >/dev/null 2>&1") != 0) GTEST_SKIP() << "make is not installed";
  int makefiles = 300;
  unsigned seed = 20240611;
  if (const char* asked = getenv("VORNKIT_MAKEFILES")) sscanf(asked, "%d,%u", &makefiles, &seed);
  TMakefileGenerator generator(seed);
  test::TTempFolder folder;
  test::WriteTextFile(folder.File("inc.mk"), "VKA = included\n");
  std::vector<std::string> texts;
  for (int m = 0; m < makefiles; ++m) {
    texts.push_back(generator.Makefile());
    test::WriteTextFile(folder.File("m" + std::to_string(m) + ".mk"), texts.back());
  }
  const test::TCommandResult make = test::RunCommand(
      folder.Path(), "m=0; while [ $m -lt " + std::to_string(makefiles) +
                         " ]; do echo \"VK $m\"; make -s -n -f m$m.mk || echo \"VK failed\"; m=$((m+1)); done");
  ASSERT_EQ(make.Status, 0);

  int known = 0, values = 0, named = 0;
  size_t at = 0;
  for (int m = 0; m < makefiles; ++m) {
    SCOPED_TRACE("makefile " + std::to_string(m) + ":\n" + texts[m]);
    ASSERT_EQ(make.Lines.at(at++), "VK " + std::to_string(m));
    std::map<std::string, std::set<std::string>> printed;
    std::set<std::string> parts;
    for (; at < make.Lines.size() && make.Lines[at] != "VK " + std::to_string(m + 1); ++at) {
      const std::string& line = make.Lines[at];
      ASSERT_NE(line, "VK failed") << make.Lines[at - 1];
      if (line.starts_with("avr-gcc -mmcu=")) parts.insert(line.substr(14, line.find(' ', 14) - 14));
      if (!line.starts_with("VK t")) continue;  // make's warnings and the commands
      const size_t name = line.find(' ', 3) + 1, equals = line.find("=[", name);
      printed[line.substr(name, equals - name)].insert(line.substr(equals + 2, line.size() - equals - 3));
    }
    TStringList lines;
    lines.SetText(texts[m]);
    TMakefileReading reading(lines);
    for (const auto& [name, seen] : printed) {
      ++values;
      const std::optional<std::string> value = reading.Value(name);
      if (!value) continue;
      ++known;
      EXPECT_EQ(seen, std::set<std::string>{*value}) << name;
    }
    if (const std::string part = reading.Part(); !part.empty() && !parts.empty()) {
      ++named;
      EXPECT_EQ(parts, std::set<std::string>{part});
    }
  }
  if (getenv("VORNKIT_MAKEFILES")) printf("%d of %d values known, %d parts named\n", known, values, named);
  EXPECT_GT(known, values / 3);
}

}  // namespace
}  // namespace vk
