#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"
#include "services/ErrorJump.h"
#include "tests/platform/FontMetricsScope.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

TEST(ErrorJumpTest, FileAndLineAreCutFromThePaneLine) {
  const struct {
    const char* Line;
    const char* File;  // nullptr: no jump
    int Number;
  } cases[] = {
      {"main.c:12:5: error: expected ';'", "main.c", 12},
      {"/home/u/.cache/blink/main.c:7:3: warning: unused variable 'x'", "/home/u/.cache/blink/main.c", 7},
      {"/usr/lib/avr/include/util/delay.h:92:3: warning: #warning \"F_CPU not defined\"",
       "/usr/lib/avr/include/util/delay.h", 92},
      {"inc/Uart.H:30: warning: old style", "inc/Uart.H", 30},
      {"add.cpp:4:1: error: expected ';' before '}' token", "add.cpp", 4},  // not ".c" of ".cpp"
      {"start.S:3:2: error: #error no clock", "start.S", 3},
      {"error.S:31: Error: garbage at end of line", "error.S", 31},
      {"/tmp/cc1.s: Warning: unable to rebuffer file: main.c", nullptr, 0},  // no line
      {"add.cpp:(.text+0x4): undefined reference to `f'", nullptr, 0},
      {"/tmp/cc1.o:/home/user/p/a.c:2: first defined here", "/home/user/p/a.c", 2},  // the number after the file name
      {"my project/main.c:4: error: x", "my project/main.c", 4},
      {"main.c:(.text+0x1a): undefined reference to `foo'", nullptr, 0},
      {"main.c:0: error: line zero", nullptr, 0},
      {"main.c:: error", nullptr, 0},
      {"collect2: error: ld returned 1 exit status", nullptr, 0},
      {"error: the build failed with exit status 2", nullptr, 0},
      {"no numbers, no colon", nullptr, 0},
      {"Makefile:12: warning: overriding recipe", "Makefile", 12},  // any extension, or none
      {"usbdrv/usbdrvasm16.inc:48: Error: unknown opcode `bogus'", "usbdrv/usbdrvasm16.inc", 48},
      {"lcd.hpp:3:1: error: x", "lcd.hpp", 3},
      {"uart.cc:5: warning: x", "uart.cc", 5},
      {"spi.cxx:6:2: error: x", "spi.cxx", 6},
      {"boot.asm:7: Error: x", "boot.asm", 7},
      {"sketch.ino:8:1: error: x", "sketch.ino", 8},
      {"/usr/bin/avr-ld: /p/main.c:4: undefined reference to `foo'", "/p/main.c", 4},
      {"avr-gcc: error: nofile.c: No such file or directory", nullptr, 0},  // no number: no file
      {"make[1]: *** [main.o] Error 1", nullptr, 0},
      {"In file included from a.h:3,", nullptr, 0},
      {":12: error: no name", nullptr, 0},
  };
  for (const auto& c : cases) {
    std::optional<TErrorJump> jump = ParseErrorJump(c.Line);
    ASSERT_EQ(jump.has_value(), c.File != nullptr) << c.Line;
    if (!jump) continue;
    EXPECT_EQ(jump->File, c.File) << c.Line;
    EXPECT_EQ(jump->Line, c.Number) << c.Line;
  }
}

// A relative name is in make's folder, else in the project's where only
// that one holds it.
TEST(ErrorJumpTest, TheFileSystemTellsWhichFolderARelativeNameIsIn) {
  test::TTempFolder p;
  ForceFolders(p.File("lib"));
  for (const char* file : {"main.c", "lib/main.c", "Makefile"}) test::WriteTextFile(p.File(file), "");
  const struct { const char *File, *Path; } cases[] = {
      {"main.c", "lib/main.c"}, {"Makefile", "Makefile"}, {"gone.inc", "lib/gone.inc"}, {"lib", "lib/lib"}};
  for (const auto& c : cases) EXPECT_EQ(JumpPath({c.File, 1}, p.File("lib"), p.Path()), p.File(c.Path)) << c.File;
}

class ErrorJumpEditorTest : public ::testing::Test {
protected:
  ErrorJumpEditorTest() {
    for (const char* line : {"int a;", "int b;", "int main(void) {", "  return 0;", "}"}) Edit.Lines().Add(line);
  }
  test::TFontMetricsScope Metrics;
  TSrcEdit Edit{nullptr};
};

TEST_F(ErrorJumpEditorTest, TheJumpSelectsTheLineInRedAndClampsPastTheEnd) {
  const struct { int Line, Selected; } cases[] = {{3, 3}, {1, 1}, {99, 5}};
  for (const auto& c : cases) {
    SelectErrorLine(Edit, c.Line);
    EXPECT_EQ(Edit.CaretY(), c.Selected);
    EXPECT_EQ(Edit.SelText(), Edit.Lines().Get(c.Selected - 1));
    EXPECT_EQ(Edit.SelectionMode(), smNormal);
    EXPECT_EQ(Edit.SelectedColor().Background(), 0x0000FF);
  }
}

TEST_F(ErrorJumpEditorTest, ThePaneLineBecomesARedColumnBar) {
  Edit.SetCaretXY({3, 2});
  MarkPaneLine(Edit);
  EXPECT_EQ(Edit.SelectionMode(), smColumn);
  EXPECT_EQ(Edit.BlockBegin(), (TBufferCoord{1, 2}));
  EXPECT_EQ(Edit.BlockEnd(), (TBufferCoord{500, 2}));
  EXPECT_EQ(Edit.SelectedColor().Background(), 0x0000FF);
}

}  // namespace
}  // namespace vk
