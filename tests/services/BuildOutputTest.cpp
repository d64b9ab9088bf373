#include <gtest/gtest.h>

#include "services/BuildOutput.h"
#include "services/ErrorJump.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

// The word after the location decides; no file or symbol named like a
// diagnostic does.
TEST(BuildOutputTest, TheWordAfterTheLocationDecidesALinesClass) {
  const struct {
    const char* Line;
    TOutputLineClass Class;
  } cases[] = {
      {"main.c:12: error: expected ';'", olError},
      {"main.c:3: warning: 'error_flag' set but not used", olWarning},
      {"main.c:4: note: int terror_count;", olNone},  // a note, whatever it names
      {"main.c:(.text+0x1a): undefined reference to `foo'", olError},
      {"/tmp/a.o:main.c:2: first defined here", olError},
      {"(.data+0x0): multiple definition of `shared'", olError},
      {"/usr/bin/avr-ld: b.o:(.data+0x0): multiple definition of `shared'", olError},
      {"make: *** [main.elf] Error 1", olNone},
      {"WARNING: capitals", olNone},
      {"Compiling C: main.c", olNone},
      {"main.c:1:19: fatal error: error.h: No such file or directory", olError},
      {"cc1: all warnings being treated as errors", olNone},
      {"cc1plus: warning: command line option '-Wstrict-prototypes' is valid for C/ObjC", olWarning},
      // A file's name is no word of the message.
      {"error_handler.c:2:7: warning: unused variable 'x'", olWarning},
      {"warning.o:/p/undefined.c:2: first defined here", olError},
      {"warning.c:(.text+0x4): undefined reference to `f'", olError},
      {"make: *** [makefile:388: error_handler.o] Error 1", olNone},
      {"make: *** [makefile:388: warning_led.o] Error 1", olNone},
      {"make[1]: *** [makefile:12: error] Error 1", olNone},
      {"make: *** [error.o] Error 1", olNone},
      {"In file included from error.c:1:0:", olNone},
      {"                 from warning.h:2,", olNone},
      {"Linking: error.elf", olNone},
      {"Compiling C: error handler.c", olNone},
      {"error.S: Assembler messages:", olNone},
      {"warning: no location", olWarning},
      {"", olNone},
      // C++ context lines name the class and function, not a diagnostic.
      {"uart.cpp: In member function 'void error_log::put(char)':", olNone},
      {"error_handler.cpp: In constructor 'error_log::error_log()':", olNone},
      {"uart.cpp: In destructor 'error_log::~error_log()':", olNone},
      {"uart.cpp: In static member function 'static void error_log::reset()':", olNone},
      {"uart.cpp: In instantiation of 'T warning_box<T>::get() [with T = error_log]':", olNone},
      {"uart.cpp:15:16:   required from here", olNone},
      {"error.cpp:15:16:   required from 'void warning_box<T>::f() [with T = int]'", olNone},
      {"/usr/bin/avr-ld: error.o: in function `error_init':", olNone},
      {"uart.cpp:9:23: error: 'missing_error' is not a member of 'int'", olError},
      // The assembler's own kinds, capitalised.
      {"start.S:31: Error: garbage at end of line", olError},
      {"start.S:32: Warning: care", olWarning},
      {"/tmp/cc1.s: Warning: unable to rebuffer file: main.c", olWarning},
      {"{standard input}:12: Error: constant value required", olError},
      {"Error: can't open nothing.S for reading: No such file or directory", olError},
      {"uart.c:4: note: Error 1 and Warning 2 are no kinds", olNone},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyOutputLine(c.Line), c.Class) << c.Line;
}

// What a sequence cannot hold stays as text, the code page's bytes too (the
// build's coloured output shows the common sequences).
TEST(BuildOutputTest, ControlSequencesAreTakenOutOfAnOutputLine) {
  const struct {
    std::string Line, Text;
  } cases[] = {
      {"\x1b[31\xb0\xa1\x1b[2\tx", "\xb0\xa1\tx"},               // a CSI broken by a byte it cannot hold
      {"a\x1b[01;3", "a"},                                       // cut off by the line end
      {"\x1b]8;;\xb0\xa1 text", "8;;\xb0\xa1 text"},             // a control string never ended
      {"\x1b]0;title\x1b[1mx", "x"},                             // ended by another sequence
      {"\x1b\xb0\xa1\x1b(\xb3\xaa\x1b", "\xb0\xa1(\xb3\xaa"},    // ESC before text; at the end
      {std::string("a\0\x1b" "7b", 5), std::string("a\0b", 3)},  // NUL bytes stay
  };
  for (const auto& c : cases) EXPECT_EQ(WithoutControlSequences(c.Line), c.Text) << c.Line;
}

bool TestProgram(const std::string& word) { return word == "avr-gcc" || word == "avr-objcopy" || word == "/bin/rm"; }

TEST(BuildOutputTest, CommandsThatMakePrintsAreNoDiagnostics) {
  const struct {
    const char* Line;
    bool Command;
  } cases[] = {
      {"avr-gcc -c -Werror -Wno-error=unused error.c -o error.o", true},
      {"/bin/rm -f warning.hex", true},
      {"LC_ALL=C X_1=a=b avr-gcc -c main.c", true},
      {"cd sub && avr-gcc -c error.c", true},
      {"if [ -f error.log ]; then cat error.log; fi", true},
      {"main.c:3:7: warning: unused variable 'x'", false},
      {"avr-gcc: error: nofile.c: No such file or directory", false},
      {"  avr-gcc -c echoed.c", false},  // indented: not printed by make
      {"1X=2 avr-gcc -c main.c", false},
      {"=x avr-gcc", false},
      {"Compiling C: error.c", false},
      {"LC_ALL=C", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(EchoesCommand(c.Line, TestProgram), c.Command) << c.Line;

  TStringList output = test::ListOf({
      "avr-objcopy -j .eeprom --set-section-flags=.eeprom=alloc,load \\",
      "--change-section-lma .eeprom=0 --no-change-warnings -O ihex main.elf main.eep || exit 0",
      "avr-gcc -c -Werror main.c",
      "main.c:1: warning: no newline at end of file",
      "collect2: error: ld returned 1 exit status",
      // The settings dialog's makefile echoes its steps with the file names.
      "Compiling C: error_handler.c",
      "Creating load file for EEPROM: undefined.eep",
      "-------- end --------",
      "Compiling C:error.c",
  });
  TStringList pane;
  TBuildCounts counts = ClassifyBuildOutput(output, pane, TestProgram);
  EXPECT_EQ(test::LinesOf(pane), (std::vector<std::string>{output.Get(3), output.Get(4)}));
  EXPECT_EQ(counts.Errors, 1);
  EXPECT_EQ(counts.Warnings, 1);
}

TEST(BuildOutputTest, TheLinesAroundADiagnosticAreNotCounted) {
  TStringList output = test::ListOf({
      "In file included from error.c:1:0:",
      "                 from warning.h:2,",
      "error.c: In function 'main':",
      "w.c:2:7: warning: unused variable 'unused_error' [-Wunused-variable]",
      "   int unused_error = 3;",
      "       ^",
      "w.c:5:1: error: expected ';' before 'return'",
      "   return warning_count",
      "   ^~~~~~",
      "error.c: At top level:",
      "/usr/bin/avr-ld: error.o: in function `main':",
      "w.c:6: error: no column, so the next lines are output of their own",
      "undefined = 1;",
      "    ^",
  });
  TStringList pane;
  TBuildCounts counts = ClassifyBuildOutput(output, pane, TestProgram);
  EXPECT_EQ(test::LinesOf(pane), (std::vector<std::string>{output.Get(3), output.Get(6), output.Get(11), output.Get(12)}));
  EXPECT_EQ(counts.Errors, 3);
  EXPECT_EQ(counts.Warnings, 1);
}

// A relative file name is in the folder make says it is in at that line.
TEST(BuildOutputTest, APaneLineJumpsIntoTheFolderMakeWasIn) {
  const struct {
    const char* Name;
    std::vector<std::string> Output;
    std::vector<std::string> Paths;  // where each pane line jumps to
  } cases[] = {
      {"no folder lines", {"main.c:3:7: warning: x"}, {"/p/main.c"}},
      {"a sub-make",
       {"make -C lib", "make[1]: Entering directory '/p/lib'", "foo.c:3:7: warning: x",
        "make[1]: Leaving directory '/p/lib'", "main.c:2: error: y"},
       {"/p/lib/foo.c", "/p/main.c"}},
      {"nested, older quotes, absolute and upward names",
       {"make: Entering directory `/p'", "make[1]: Entering directory `/p/my lib'",
        "make[2]: Entering directory `/p/my lib/drv'", "../foo.c:1: error: a", "uart.c:2: warning: b",
        "make[2]: Leaving directory `/p/my lib/drv'", "foo.c:3: error: c", "/usr/x.h:4: warning: d",
        "make[1]: Leaving directory `/p/my lib'", "main.c:5: error: e"},
       {"/p/my lib/foo.c", "/p/my lib/drv/uart.c", "/p/my lib/foo.c", "/usr/x.h", "/p/main.c"}},
      {"sub-makes run side by side",
       {"make[1]: Entering directory '/p/a'", "make[1]: Entering directory '/p/b'",
        "make[1]: Leaving directory '/p/a'", "b.c:1: error: a", "make[1]: Leaving directory '/p/b'",
        "make[1]: Leaving directory '/p/b'", "main.c:1: error: b"},
       {"/p/b/b.c", "/p/main.c"}},
      {"no make's lines",
       {"echo: Entering directory '/q'", "make [1]: Entering directory '/q'",
        "make[x]: Entering directory '/q'", "make: Entering directory ", "main.c:1: error: a"},
       {"/p/main.c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStringList output = test::ListOf(c.Output), pane;
    TPaneFolders folders;
    ClassifyBuildOutput(output, pane, TestProgram, &folders);
    std::vector<std::string> paths;
    for (int i = 0; i < pane.Count(); ++i) paths.push_back(JumpPath(*ParseErrorJump(pane.Get(i)), folders.Of(i), "/p"));
    EXPECT_EQ(paths, c.Paths);
  }
}

TEST(BuildOutputTest, AFailedBuildWithoutAnErrorLineGetsOne) {
  const struct {
    TBuildEnd End;
    int ErrorsBefore;
    const char* Added;  // nullptr: nothing added
  } cases[] = {
      {{true, 0, 0}, 0, nullptr},
      {{true, 2, 0}, 0, "error: the build failed with exit status 2"},
      {{true, 0, 9}, 0, "error: the build was ended by signal 9"},
      {{false, 0, 0}, 0, "error: the build could not be started"},
      {{true, 2, 0}, 1, nullptr},  // the tools said why
      {{true, 143, 15, true}, 0, "error: the build was stopped"},
      {{true, 143, 15, true}, 1, "error: the build was stopped"},  // the tools' errors do not say it
  };
  for (const auto& c : cases) {
    TStringList pane;
    TBuildCounts counts{c.ErrorsBefore, 3};
    AddBuildFailureLine(c.End, counts, pane);
    EXPECT_EQ(test::LinesOf(pane), c.Added ? std::vector<std::string>{c.Added} : std::vector<std::string>{});
    EXPECT_EQ(counts.Errors, c.ErrorsBefore + (c.Added ? 1 : 0));
    EXPECT_EQ(CountText(counts.Errors), c.Added || c.ErrorsBefore ? IntToStr(counts.Errors) : "Ok");
  }
}

// The real compiler and linker on small sources: counts, pane lines and
// where the first pane line jumps to.
TEST(BuildOutputTest, RealToolChainOutput) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const struct {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Files;
    const char* Command;
    int Errors, Warnings;
    const char* JumpFile;  // nullptr: the first pane line has nowhere to go; %F: the folder
    int JumpLine;
  } cases[] = {
      {"warning only",
       {{"w.c", "int main(void) {\n  int unused_error = 3;\n  return 0;\n}\n"}},
       "avr-gcc -mmcu=atmega128 -Wall -c w.c",
       0,
       1,
       "w.c",
       2},
      {"syntax error",
       {{"e.c", "int main(void) {\n  int x = 3\n  return x;\n}\n"}},
       "avr-gcc -mmcu=atmega128 -Wall -c e.c",
       1,
       1,
       "e.c",
       3},
      {"undefined reference",
       {{"u.c", "void foo(void);\nint main(void) { foo(); return 0; }\n"}},
       "avr-gcc -mmcu=atmega128 u.c -o u.elf",
       2,
       0,
       nullptr,
       0},
      {"undefined reference with line information",
       {{"u.c", "void foo(void);\nint main(void) {\n  foo();\n  return 0;\n}\n"}},
       "avr-gcc -mmcu=atmega128 -g u.c -o u.elf",
       2,
       0,
       "%F/u.c",  // the linker names the source by its path
       3},
      {"multiple definition",
       {{"a.c", "int shared = 1;\nint main(void) { return shared; }\n"}, {"b.c", "int shared = 2;\n"}},
       "avr-gcc -mmcu=atmega128 -g a.c b.c -o ab.elf",
       3,
       0,
       nullptr,
       0},  // a data object's line carries no line number
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder folder;
    for (const auto& [name, text] : c.Files) test::WriteTextFile(folder.File(name), text);
    test::TCommandResult result = test::RunCommand(folder.Path(), c.Command);
    TStringList output = test::ListOf(result.Lines);
    TStringList pane;
    TBuildCounts counts = ClassifyBuildOutput(output, pane, TestProgram);
    AddBuildFailureLine({true, result.Status, 0}, counts, pane);
    EXPECT_EQ(counts.Errors, c.Errors) << output.Text();
    EXPECT_EQ(counts.Warnings, c.Warnings) << output.Text();
    ASSERT_GT(pane.Count(), 0);
    std::optional<TErrorJump> jump = ParseErrorJump(pane.Get(0));
    ASSERT_EQ(jump.has_value(), c.JumpFile != nullptr) << pane.Get(0);
    if (jump) {
      std::string file = c.JumpFile;
      if (file.starts_with("%F")) file.replace(0, 2, folder.Path());
      EXPECT_EQ(jump->File, file);
      EXPECT_EQ(jump->Line, c.JumpLine);
    }
  }
}

}  // namespace
}  // namespace vk
