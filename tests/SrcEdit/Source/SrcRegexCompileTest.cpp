// Compiling: syntax, errors with code, message and position, modifiers,
// program layout and start optimisations.

#include <gtest/gtest.h>

#include <random>

#include "SrcEdit/Source/SrcRegex.h"
#include "tests/SrcEdit/Source/PatternRowName.h"

namespace vk {
namespace {

struct TCompileError {
  const char* Pattern;
  int Code;
  int Pos;
  const char* Message;
};

class RegexCompileErrorTest : public ::testing::TestWithParam<TCompileError> {};

TEST_P(RegexCompileErrorTest, RaisesCodeMessageAndPosition) {
  const TCompileError& c = GetParam();
  TRegex regex;
  regex.SetExpression(c.Pattern);
  try {
    regex.Compile();
    FAIL() << "compiled: " << c.Pattern;
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), c.Code);
    EXPECT_EQ(e.CompilerErrorPos(), c.Pos);
    EXPECT_EQ(e.Message(), std::string(c.Message) + " (pos " + std::to_string(c.Pos) + ")");
  }
  EXPECT_EQ(regex.CompilerErrorPos(), 0);  // only the exception keeps it
  EXPECT_EQ(regex.LastError(), c.Code);
  EXPECT_EQ(regex.LastError(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexCompileErrorTest,
    ::testing::Values(
        TCompileError{"(a", 103, 2, "TRegex(comp): ParseReg Unmatched ()"},
        TCompileError{"a)", 104, 1, "TRegex(comp): ParseReg Unmatched ()"},
        TCompileError{"(x{0,3})*", 106, 8, "TRegex(comp): *+ Operand Could Be Empty"},
        TCompileError{"(x*)*", 106, 4, "TRegex(comp): *+ Operand Could Be Empty"},
        TCompileError{"\\b{2}", 106, 2, "TRegex(comp): *+ Operand Could Be Empty"},
        TCompileError{"\\b{x", 106, 2, "TRegex(comp): *+ Operand Could Be Empty"},
        TCompileError{"a**", 107, 2, "TRegex(comp): Nested *?+"},
        TCompileError{"a*?*", 107, 3, "TRegex(comp): Nested *?+"},
        TCompileError{"a{2}{3}", 107, 4, "TRegex(comp): Nested *?+"},
        TCompileError{"\\xg1", 108, 2, "TRegex(comp): Bad Hex Digit"},
        TCompileError{"\\x{4z}", 108, 4, "TRegex(comp): Bad Hex Digit"},
        TCompileError{"[z-a]", 109, 3, "TRegex(comp): Invalid [] Range"},
        TCompileError{"[a\\", 110, 3, "TRegex(comp): Parse Atom Trailing \\"},
        TCompileError{"\\x", 111, 2, "TRegex(comp): No Hex Code After \\x"},
        TCompileError{"\\x4", 111, 3, "TRegex(comp): No Hex Code After \\x"},
        TCompileError{"\\x{4", 111, 4, "TRegex(comp): No Hex Code After \\x"},
        TCompileError{"\\x{}", 111, 3, "TRegex(comp): No Hex Code After \\x"},
        TCompileError{"\\x{100}", 112, 5, "TRegex(comp): Hex Code After \\x Is Too Big"},
        TCompileError{"[ab", 113, 3, "TRegex(comp): Unmatched []"},
        TCompileError{"*a", 115, 0, "TRegex(comp): ?+*{ Follows Nothing"},
        TCompileError{"a|?", 115, 2, "TRegex(comp): ?+*{ Follows Nothing"},
        TCompileError{"ab\\", 116, 3, "TRegex(comp): Trailing \\"},
        TCompileError{"x{1,123456789}", 122, 4, "TRegex(comp): BRACES Argument Too Big"},
        TCompileError{"x{3,2}", 124, 5, "TRegex(comp): BRACE Min Param Greater then Max"},
        TCompileError{"(?#x", 125, 4, "TRegex(comp): Unclosed (?#Comment)"},
        TCompileError{"(?:a)", 127, 4, "TRegex(comp): Urecognized Modifier"},
        TCompileError{"(?i", 127, 3, "TRegex(comp): Urecognized Modifier"},
        TCompileError{"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)", 102, 43,
                      "TRegex(comp): ParseReg Too Many ()"}),
    PatternRowName<TCompileError>);

TEST(RegexCompile, FourteenGroupsCompile) {
  TRegex regex;
  regex.SetExpression("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)");
  ASSERT_TRUE(regex.Exec("abcdefghijklmn"));
  EXPECT_EQ(regex.SubExprMatchCount(), 14);
  EXPECT_EQ(regex.Match(14), "n");
}

TEST(RegexCompile, RunErrorsCarryNoPosition) {
  TRegex regex;
  try {
    regex.Exec("x");
    FAIL();
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), 1003);
    EXPECT_EQ(e.Message(), "TRegex(exec): Not Assigned Expression Property");
  }
  regex.SetExpression("a");
  regex.SetExpression("");  // an empty text is no expression
  EXPECT_THROW(regex.Exec("a"), ERegex);
  EXPECT_THROW(regex.CompileRegex(nullptr), ERegex);
  EXPECT_EQ(regex.LastError(), 100);
}

TEST(RegexCompile, FailedCompileRaisesAgainOnNextUse) {
  TRegex regex;
  regex.SetExpression("(a");
  EXPECT_THROW(regex.Exec("a"), ERegex);
  EXPECT_THROW(regex.Exec("a"), ERegex);
  regex.SetExpression("(a)");
  EXPECT_TRUE(regex.Exec("a"));
}

TEST(RegexCompile, EmptyClassFromEmptyWordCharsStopsTheCompile) {
  TRegex regex;
  regex.SetWordChars("");
  regex.SetExpression("\\w");
  try {
    regex.Compile();
    FAIL();
  } catch (const ERegex& e) {
    EXPECT_EQ(e.Message(), "TRegex.ParseAtom(subroutine EmitRangeC): empty range");
  }
}

TEST(RegexCompile, ErrorMessagesOfCodesWithoutPath) {
  TRegex regex;
  EXPECT_EQ(regex.ErrorMsg(0), "No errors");
  EXPECT_EQ(regex.ErrorMsg(1013), "Unknown error");
  EXPECT_EQ(regex.ErrorMsg(1015), "TRegex(exec): Loop Without LoopEntry !");
  EXPECT_EQ(regex.ErrorMsg(2000), "TRegex(misc): Bad p-code imported");
  EXPECT_EQ(regex.ErrorMsg(12345), "Unknown error");
  EXPECT_EQ(TRegex::VersionMajor(), 0);
  EXPECT_EQ(TRegex::VersionMinor(), 952);
}

// ---- Modifiers --------------------------------------------------------------------

TEST(RegexModifiers, StringFormAndIndexes) {
  TRegex regex;
  EXPECT_EQ(regex.ModifierStr(), "gsr-imx");
  regex.SetModifierStr("imx");
  EXPECT_EQ(regex.ModifierStr(), "xmgsri");
  regex.SetModifierStr("-IR");
  EXPECT_EQ(regex.ModifierStr(), "xmgs-ir");
  EXPECT_TRUE(regex.Modifier(6));
  regex.SetModifier(6, false);
  EXPECT_FALSE(regex.Modifier(6));
  for (int bad : {0, 7}) {
    EXPECT_THROW(regex.Modifier(bad), ERegex);
    EXPECT_THROW(regex.SetModifier(bad, true), ERegex);
  }
}

TEST(RegexModifiers, BadLetterChangesNothing) {
  TRegex regex;
  try {
    regex.SetModifierStr("iq");
    FAIL();
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), 1013);
    EXPECT_EQ(e.Message(), "Unknown error");
  }
  EXPECT_FALSE(regex.Modifier(1));  // the "i" before the bad letter is not applied
  int modifiers = 0;
  EXPECT_FALSE(TRegex::ParseModifiersStr("iq", modifiers));
  EXPECT_EQ(modifiers, 1);
  EXPECT_TRUE(TRegex::ParseModifiersStr("", modifiers));
}

TEST(RegexModifiers, ChangeRecompiles) {
  TRegex regex;
  regex.SetExpression("abc");
  EXPECT_FALSE(regex.Exec("ABC"));
  regex.SetModifier(1, true);
  EXPECT_TRUE(regex.Exec("ABC"));
}

TEST(RegexModifiers, PairedSeparatorValidation) {
  TRegex regex;
  EXPECT_EQ(regex.LinePairedSeparator(), "\r\n");
  for (const char* bad : {"aa", "abc", "x"}) {
    try {
      regex.SetLinePairedSeparator(bad);
      FAIL() << bad;
    } catch (const ERegex& e) {
      EXPECT_EQ(e.ErrorCode(), 128);
    }
  }
  regex.SetLinePairedSeparator("");
  EXPECT_EQ(regex.LinePairedSeparator(), "");
}

// ---- Program layout ---------------------------------------------------------------

struct TDumpCase {
  const char* Pattern;
  const char* Dump;
};

class RegexDumpTest : public ::testing::TestWithParam<TDumpCase> {};

TEST_P(RegexDumpTest, Golden) {
  TRegex regex;
  regex.SetExpression(GetParam().Pattern);
  EXPECT_EQ(regex.Dump(), GetParam().Dump);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, RegexDumpTest,
    ::testing::Values(
        TDumpCase{"abc*",
                  " 1:BRANCH (26) \r\n 6:EXACTLY (14) ab\r\n14:STAR (26) \r\n19:EXACTLY (0)c\r\n"
                  "26:END (0)\r\nstart a \r\nFirstCharSet:a\r\n"},
        TDumpCase{"^[abc]|[d-g\\x01]\\1",
                  " 1:BRANCH (19) \r\n 6:BOL (11) \r\n11:ANYOFTINYSET (67) abc\r\n19:BRANCH (67) \r\n"
                  "24:ANYOFFULLSET (61) #1defg\r\n61:BSUBEXP (67)  \\1\r\n67:END (0)\r\n\r\n"
                  "FirstCharSet:#1abcdefg\r\n"},
        TDumpCase{"(a|b)+?x{2,}",
                  " 1:BRANCH (82) \r\n 6:LOOPENTRY (45) \r\n11:OPEN[1] (16) \r\n16:BRANCH (28) \r\n"
                  "21:EXACTLY (40) a\r\n28:BRANCH (40) \r\n33:EXACTLY (40) b\r\n40:CLOSE[1] (45) \r\n"
                  "45:LOOPNG (62)  -> (11) {1,2147483646}\r\n62:BRACES (82) {2,2147483646}\r\n"
                  "75:EXACTLY (0)x\r\n82:END (0)\r\n\r\nFirstCharSet:ab\r\n"},
        TDumpCase{"a+b{2}(c)*d",
                  " 1:BRANCH (87) \r\n 6:PLUS (18) \r\n11:EXACTLY (0)a\r\n18:BRACES (38) {2,2}\r\n"
                  "31:EXACTLY (0)b\r\n38:BRANCH (70) \r\n43:OPEN[1] (48) \r\n48:BRANCH (60) \r\n"
                  "53:EXACTLY (60) c\r\n60:CLOSE[1] (65) \r\n65:BACK (38) \r\n70:BRANCH (75) \r\n"
                  "75:NOTHING (80) \r\n80:EXACTLY (87) d\r\n87:END (0)\r\nmust have d\r\nFirstCharSet:a\r\n"}),
    PatternRowName<TDumpCase>);

TEST(RegexDump, OpNames) {
  TRegex regex;
  EXPECT_EQ(regex.DumpOp(0), ":END");
  EXPECT_EQ(regex.DumpOp(20), ":EXACTLY/CI");
  EXPECT_EQ(regex.DumpOp(40), ":OPEN[1]");
  EXPECT_EQ(regex.DumpOp(68), ":CLOSE[14]");
  for (uint8_t bad : {4, 14, 22, 39, 54, 69, 255}) {
    try {
      regex.DumpOp(bad);
      FAIL() << int(bad);
    } catch (const ERegex& e) {
      EXPECT_EQ(e.ErrorCode(), 1011);
    }
  }
}

// The opcode names of a program, one per node line of its dump.
std::string Shape(const char* pattern, const char* modifiers = "") {
  TRegex regex;
  regex.SetModifierStr(modifiers);
  regex.SetExpression(pattern);
  std::string dump = regex.Dump();
  std::string shape;
  for (size_t line = 0; shape.find("END") == std::string::npos; line = dump.find('\n', line) + 1) {
    size_t colon = dump.find(':', line);
    shape += dump.substr(colon + 1, dump.find(' ', colon) - colon - 1) + " ";
  }
  return shape;
}

TEST(RegexCompile, SyntaxShapes) {
  EXPECT_EQ(Shape("a{2,x"), "BRANCH EXACTLY EXACTLY END ");
  EXPECT_EQ(Shape("a{,3}"), "BRANCH EXACTLY EXACTLY END ");
  EXPECT_EQ(Shape("{"), "BRANCH EXACTLY END ");
  EXPECT_EQ(Shape("[abcd]"), "BRANCH ANYOFFULLSET END ");
  EXPECT_EQ(Shape("."), "BRANCH ANY END ");
  EXPECT_EQ(Shape(".", "-s"), "BRANCH ANYML END ");
  EXPECT_EQ(Shape("^$", "m"), "BRANCH BOLML EOLML END ");
  EXPECT_EQ(Shape("\\A\\Z\\b\\B\\d\\D"), "BRANCH BOL EOL BOUND NOTBOUND ANYDIGIT NOTDIGIT END ");
  EXPECT_EQ(Shape("a+", "-g"), "BRANCH PLUSNG EXACTLY END ");
  EXPECT_EQ(Shape("a??"), "BRANCH BRACESNG EXACTLY END ");
  EXPECT_EQ(Shape("(a)?"), "BRANCH BRANCH OPEN[1] BRANCH EXACTLY CLOSE[1] BRANCH NOTHING END ");
  EXPECT_EQ(Shape("(a)*"), "BRANCH BRANCH OPEN[1] BRANCH EXACTLY CLOSE[1] BACK BRANCH NOTHING END ");
  EXPECT_EQ(Shape("(a)+"), "BRANCH OPEN[1] BRANCH EXACTLY CLOSE[1] BRANCH BACK BRANCH NOTHING END ");
  EXPECT_EQ(Shape("(?i)a(?#c)"), "BRANCH COMMENT EXACTLY/CI COMMENT END ");
  EXPECT_EQ(Shape("|"), "BRANCH NOTHING BRANCH NOTHING END ");
}

// Class members as the dump lists them.
std::string ClassOf(const char* pattern, const char* modifiers = "") {
  TRegex regex;
  regex.SetModifierStr(modifiers);
  regex.SetExpression(pattern);
  std::string dump = regex.Dump();
  size_t at = dump.find("SET (");
  at = dump.find(") ", at) + 2;
  return dump.substr(at, dump.find('\r', at) - at);
}

TEST(RegexCompile, ClassMembers) {
  EXPECT_EQ(ClassOf("[]a]"), "]aa");
  EXPECT_EQ(ClassOf("[a-]"), "-aa");
  EXPECT_EQ(ClassOf("[a-\\d]"), "-0123456789a");
  EXPECT_EQ(ClassOf("[\\D]"), "DDD");
  EXPECT_EQ(ClassOf("[abc]"), "abc");
  EXPECT_EQ(ClassOf("[a]"), "aaa");
  EXPECT_EQ(ClassOf("[a-c-e]"), "-abce");
  EXPECT_EQ(ClassOf("[\\x41-\\x43\\t]"), "#9ABC");
  EXPECT_EQ(ClassOf("[ab]", "i"), "ABab");
  EXPECT_EQ(ClassOf("\\s"), "#9#10#12#13 ");
}

TEST(RegexCompile, CyrillicRangesWithModifierR) {
  TRegex regex;
  regex.SetExpression("^[\xE0-\xFF]+$");
  EXPECT_TRUE(regex.Exec("\xE0\xB8\xFF"));
  EXPECT_FALSE(regex.Exec("\xA8"));
  regex.SetExpression("^[\xE0-\xDF]+$");
  EXPECT_TRUE(regex.Exec("\xA8\xB8\xC0\xFF"));
  regex.SetModifier(2, false);
  EXPECT_THROW(regex.Exec("x"), ERegex);  // an ordinary range that runs backwards
  regex.SetExpression("^[\xE0-\xFF]+$");
  EXPECT_FALSE(regex.Exec("\xB8"));
}

TEST(RegexCompile, StartOptimisations) {
  auto tail = [](const char* pattern) {
    TRegex regex;
    regex.SetExpression(pattern);
    std::string dump = regex.Dump();
    size_t end = dump.rfind("\r\nFirstCharSet:");
    size_t start = dump.rfind("\r\n", end - 1) + 2;
    return dump.substr(start, end - start);
  };
  EXPECT_EQ(tail("abc|abd"), "");
  EXPECT_EQ(tail("abc"), "start a ");
  EXPECT_EQ(tail("^abc"), "anchored ");
  EXPECT_EQ(tail("x*abcd"), "must have abcd");
  EXPECT_EQ(tail("x*ab\\w+cd"), "must have cd");  // equal lengths: the later one
}

// Random byte patterns either compile or raise ERegex; the emit pass checks
// itself against the sizing pass and would raise something else.
TEST(RegexCompile, RandomPatternsCompileOrRaise) {
  std::mt19937 random(12345);
  const std::string alphabet = "ab()[]{}|*+?\\^$.-,0123xdwsbB#i: \x01\xE0";
  TRegex regex;
  for (int i = 0; i < 4000; ++i) {
    std::string pattern;
    int length = 1 + static_cast<int>(random() % 12);
    for (int j = 0; j < length; ++j)
      pattern += random() % 8 == 0 ? static_cast<char>(random() % 255 + 1) : alphabet[random() % alphabet.size()];
    regex.SetModifierStr(random() % 2 ? "x" : "-x");
    regex.SetExpression(pattern);
    try {
      regex.Compile();
      regex.Dump();
      regex.Exec("ab(c)1 xxbb\r\n{1}");
    } catch (const ERegex&) {
    }
  }
}

}  // namespace
}  // namespace vk
