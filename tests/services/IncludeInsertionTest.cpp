#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEdit.h"
#include "services/IncludeInsertion.h"
#include "tests/services/ServicesTestSupport.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using TLines = std::vector<std::string>;

TEST(IncludeInsertionTest, KeywordsOfTheOpenDocumentsCallForHeaders) {
  const struct {
    const char* Name;
    std::vector<std::pair<std::string, TLines>> Documents;
    TLines Needed;
  } cases[] = {
      {"in the order found, each once",
       {{"main.c", {"PORTB = 1;", "eeprom_read_block(b, 0, 4);", "SIGNAL(SIG_X) { sei(); }"}}},
       {"avr/io.h", "avr/eeprom.h", "avr/interrupt.h"}},
      {"a keyword in a comment counts", {{"main.c", {"", "// wdt_reset"}}}, {"avr/io.h", "avr/wdt.h"}},
      {"only empty lines", {{"main.c", {"", ""}}}, {}},
      {"blanks are part of a keyword",
       {{"main.c", {"n = strlen_P(s);", "size_t strlen_P(x)"}}},
       {"avr/io.h", "avr/pgmspace.h"}},
      {"a library header is not scanned",
       {{"uart.h", {""}}, {"stdlib.h", {"memcpy_P"}}, {"main.c", {"", "cli();"}}},
       {"avr/io.h", "avr/interrupt.h"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<TStringList> lists;
    for (const auto& document : c.Documents) lists.push_back(test::ListOf(document.second));
    std::vector<TIncludeDocument> documents;
    for (size_t i = 0; i < lists.size(); ++i) documents.push_back({c.Documents[i].first, &lists[i]});
    EXPECT_EQ(NeededHeaders(documents), c.Needed);
  }
}

TEST(IncludeInsertionTest, LinesGoAboveTheFirstIncludeOrCodeLastFoundFirst) {
  TLines header = {"/*"};
  for (int i = 1; i < 18; ++i) header.push_back(" * field");
  header.push_back("*/");
  header.push_back("int main(void) { return 0; }");
  const TLines needed = {"avr/io.h", "avr/eeprom.h"};
  const TLines both = {"#include <avr/eeprom.h>", "#include <avr/io.h>"};
  const struct {
    const char* Name;
    TLines Target;
    int Index;
    TLines Lines;
  } cases[] = {
      {"project header block", header, 19, both},
      {"first line code", {"int x; void on(void) { PORTB = 1; sei(); }", "int y;"}, 0, both},
      {"already included", {"#include <avr/io.h>", "int x;"}, 0, {"#include <avr/eeprom.h>"}},
      {"commented out", {"// #include <avr/io.h>", "int x;"}, 1, both},
      {"comment closed on its line", {"/* one line */", "int x;"}, 1, both},
      {"comments, blanks and directives",
       {"// blink", "", "  #define F_CPU 8000000UL", "#ifdef DEBUG", "# define LOG 1", "#endif", "", "int main(void);"},
       7,
       both},
      {"code inside an #if after an #include",
       {"#include <stdint.h>", "#ifndef NDEBUG", "#if 1", "int debug;", "#endif", "#endif"},
       0,
       both},
      {"code inside an #if, no #include", {"#define N 1", "#ifndef NDEBUG", "int debug;", "#endif"}, 1, both},
      {"continued directive", {"#define PINS \\", "  (1 << 2)", "int x;"}, 2, both},
      {"continued // comment", {"// note \\", "int x;", "int y;"}, 2, both},
      {"\"/*\" in a directive's string", {"#define OPEN \"/*\"", "int x;"}, 1, both},
      {"comment ending on a code line", {"/* blink", " * by me", " */ int x;"}, 0, both},
      {"comments chained up to a code line", {"", "/* a", "a */ /* b", "b */ int x;"}, 1, both},
      {"comment opened after code", {"int x; /* open", "more", "*/ int y;"}, 0, both},
      {"all comments", {"// one", "/*/", "*/"}, 3, both},
      {"comment never closed", {"/* open", "int x;"}, 0, both},
      {"empty text", {}, 0, both},
      // Above the first #include, which may name a header that needs them.
      {"above the first #include", {"/* blink */", "#include \"lcd.h\"", "int main(void) { DDRB = 1; }"}, 1, both},
      {"a definition above the #include stays",
       {"#define F_CPU 8000000UL", "  #  include <util/delay.h>", "#include \"lcd.h\"", "int x;"},
       1,
       both},
      // Above the outermost #if around the first #include, which it may need.
      {"an #include inside an #if, another after it",
       {"#ifdef DEBUG", "#include \"debug.h\"", "#endif", "#include \"lcd.h\"", "int x;"},
       0,
       both},
      {"an #include only inside an #if", {"#if 1", "#include \"a.h\"", "#endif", "int x;"}, 0, both},
      {"an #include inside an #if below definitions",
       {"/* blink */", "#define USE_LCD 1", "#if USE_LCD", "#include \"lcd.h\"", "#endif",
        "int main(void) { DDRB = 1; }"},
       2,
       both},
      {"an #include after the code does not count", {"int x;", "#include \"lcd.h\""}, 0, both},
      {"an #include in a comment or a continued line does not count",
       {"/* #include \"a.h\" */", "#define X \\", "#include \"b.h\"", "// #include \"c.h\"", "int x;"},
       4,
       both},
      {"an #include after a comment begun above", {"", "/* lcd", " */ #include \"lcd.h\"", "int x;"}, 1, both},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStringList target = test::ListOf(c.Target);
    TIncludeInsertion insertion = PlanIncludeInsertion(target, needed);
    EXPECT_EQ(insertion.Index, c.Index);
    EXPECT_EQ(insertion.Lines, c.Lines);
  }
}

TEST(IncludeInsertionTest, InsertIncludePutsTheLineBelowTheLastHeaderName) {
  const struct {
    TLines Text;
    int Index;
  } cases[] = {{{"/* x */", "#include \"a.h\"", "", "", "#include <avr/io.h>", "int x;"}, 5},
               {{"int x;", "int y;"}, 1},
               {{}, 1}};
  for (const auto& c : cases) {
    TStringList lines = test::ListOf(c.Text);
    TIncludeInsertion insertion = ManualIncludeInsertion(lines, "#include <uart.h>");
    EXPECT_EQ(insertion.Index, c.Index);
    InsertIncludes(lines, insertion);
    EXPECT_EQ(lines.Get(std::min<int>(c.Index, static_cast<int>(c.Text.size()))), "#include <uart.h>");
  }
  EXPECT_EQ(IncludeLineFor("uart.h"), "#include <uart.h>");
  EXPECT_FALSE(IncludeLineFor("uart.H"));
  EXPECT_FALSE(IncludeLineFor("main.c"));
}

TEST(IncludeInsertionTest, OnAnEditorTheInsertionIsOneUndoableChange) {
  test::TFontMetricsScope metrics;
  const struct {
    TLines Text;
    int Index;
    TLines After;
  } cases[] = {
      {{"a", "b"}, 1, {"a", "#1", "#2", "b"}},
      {{"a"}, 1, {"a", "#1", "#2"}},  // past the end
      {{}, 1, {"#1", "#2"}},
  };
  for (const auto& c : cases) {
    TSrcEdit edit(nullptr);
    for (const std::string& line : c.Text) edit.Lines().Add(line);
    edit.SetCaretXY({1, static_cast<int>(c.Text.size())});
    std::string caretLine = c.Text.empty() ? "" : c.Text.back();
    edit.SetSelectionMode(smColumn);
    InsertIncludes(edit, {c.Index, {"#1", "#2"}});
    EXPECT_EQ(test::LinesOf(edit.Lines()), c.After);
    EXPECT_TRUE(edit.Modified());
    EXPECT_EQ(edit.SelectionMode(), smColumn);
    if (!c.Text.empty()) {
      EXPECT_EQ(edit.Lines().Get(edit.CaretY() - 1), caretLine);
    }
    edit.Undo();
    EXPECT_EQ(test::LinesOf(edit.Lines()), c.Text.empty() ? TLines{""} : c.Text);
  }
}

// The inserted lines name headers the tool chain has and stand where the
// compiler reads them before the code: the source builds.
TEST(IncludeInsertionTest, ABuildCompilesTheInsertedLines) {
  VK_REQUIRE_AVR_TOOL_CHAIN();
  const struct {
    const char* Name;
    TLines Source;
    size_t Needed;
    TLines Header = {};  // lcd.h, scanned too
  } cases[] = {
      {"header comment",
       {"/* blink */", "int main(void) {", "  static char buf[4];", "  eeprom_read_block(buf, 0, 4);",
        "  DDRB = 0xff;", "  sei();", "  wdt_reset();", "  memcpy_P(buf, buf, 1);", "  return buf[0];", "}",
        "SIGNAL(TIMER0_OVF_vect) {}"},
       5},
      {"first line code", {"int x; void on(void) { PORTB = 1; sei(); }", "int main(void) { on(); return x; }"}, 2},
      {"directives and a conditional before code",
       {"// blink", "#define LED \\", "  PB1", "#ifdef LED", "static int on = 1;", "#endif",
        "int main(void) { PORTB = on << LED; return 0; }"},
       1},
      {"comment ending on the code line", {"/* blink", " */ int main(void) { cli(); return 0; }"}, 2},
      {"a header that includes nothing itself",
       {"/* blink */", "#define F_CPU 1000000UL", "#include \"lcd.h\"",
        "int main(void) { DDRB = 0xff; lcd_put(1); return 0; }"},
       1,
       {"/* lcd */", "", "static inline void lcd_put(uint8_t v) { PORTB = v; }"}},
      {"that header included inside an #if",
       {"/* blink */", "#define USE_LCD 1", "#if USE_LCD", "#include \"lcd.h\"", "#endif",
        "int main(void) { DDRB = 0xff; lcd_put(1); return 0; }"},
       1,
       {"static inline void lcd_put(uint8_t v) { PORTB = v; }"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TStringList source = test::ListOf(c.Source), header = test::ListOf(c.Header);
    std::vector<std::string> needed = NeededHeaders({{"main.c", &source}, {"lcd.h", &header}});
    EXPECT_EQ(needed.size(), c.Needed);
    InsertIncludes(source, PlanIncludeInsertion(source, needed));
    test::TTempFolder project;
    source.SaveToFile(project.File("main.c"));
    header.SaveToFile(project.File("lcd.h"));
    test::TCommandResult build = test::RunCommand(project.Path(), "avr-gcc -mmcu=atmega128 -Wall -c main.c");
    EXPECT_EQ(build.Status, 0) << ::testing::PrintToString(build.Lines);
    EXPECT_TRUE(build.Lines.empty()) << ::testing::PrintToString(build.Lines);
  }
}

}  // namespace
}  // namespace vk
