// Matching: the search, captures, repetitions and loops, line mode, word
// boundaries, runs from offsets, and the limits that keep a search bounded.

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcRegex.h"
#include "tests/SrcEdit/Source/PatternRowName.h"

namespace vk {
namespace {

// "pos,len" of slot 0 and every group up to the highest matched one ("-"
// for a group that did not take part); "" when nothing matched.
std::string Slots(const TRegex& regex) {
  std::string text;
  for (int i = 0; i <= regex.SubExprMatchCount(); ++i) {
    if (i > 0) text += " ";
    text += regex.MatchPos(i) < 0 ? "-" : std::to_string(regex.MatchPos(i)) + "," + std::to_string(regex.MatchLen(i));
  }
  return text;
}

struct TMatchCase {
  const char* Pattern;
  const char* Modifiers;
  const char* Subject;
  const char* Expected;
};

class RegexMatchTest : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(RegexMatchTest, Slots) {
  const TMatchCase& c = GetParam();
  TRegex regex;
  regex.SetModifierStr(c.Modifiers);
  regex.SetExpression(c.Pattern);
  bool found = regex.Exec(c.Subject);
  EXPECT_EQ(found ? Slots(regex) : "", c.Expected) << c.Pattern << " on " << c.Subject;
}

INSTANTIATE_TEST_SUITE_P(
    Basics, RegexMatchTest,
    ::testing::Values(TMatchCase{"a*", "", "", "1,0"}, TMatchCase{"a", "", "", ""},
                      TMatchCase{"abc", "", "xxabcx", "3,3"}, TMatchCase{"x*abcd", "", "xxabcxabcd", "6,5"},
                      TMatchCase{"(a)|(b)", "", "b", "1,1 - 1,1"}, TMatchCase{"abc|abd", "", "zabd", "2,3"},
                      TMatchCase{"a.c", "", "a\nc", "1,3"}, TMatchCase{"a.c", "-s", "a\nc", ""},
                      TMatchCase{"a.*c", "-s", "abc\r\nac", "1,3"}, TMatchCase{"\\d+\\D", "", "ab123c", "3,4"},
                      TMatchCase{"[^\\d]+", "", "12ab3", "3,2"}, TMatchCase{"\\w+", "", "  foo_1 ", "3,5"},
                      TMatchCase{"\\W\\S", "", "ab !x", "3,2"}, TMatchCase{"\\s+", "", "a \t\r\nb", "2,4"},
                      TMatchCase{"a\\x41\\x{42}", "", "aAB", "1,3"}, TMatchCase{"\\t\\e", "", "\t\x1B", "1,2"},
                      TMatchCase{"a b # note", "x", "ab", "1,2"}, TMatchCase{"a{2,x", "", "aa{2,x", "2,5"},
                      TMatchCase{"a{,3}", "", "a{,3}", "1,5"}, TMatchCase{"x]}", "", "x]}", "1,3"},
                      TMatchCase{"((?i)a)b", "", "Ab", "1,2 1,1"}, TMatchCase{"((?i)a)b", "", "AB", ""},
                      TMatchCase{"(?i)[a-c]+", "", "xBcA", "2,3"}, TMatchCase{"HeLLo", "i", "say hello", "5,5"},
                      TMatchCase{"\\x{0}", "", "", ""}, TMatchCase{"a\\x00", "", "a", ""},
                      TMatchCase{"[\\x00]", "", "", ""}, TMatchCase{"a\\x00*b", "", "ab", "1,2"}),
    PatternRowName<TMatchCase>);

INSTANTIATE_TEST_SUITE_P(
    Repetition, RegexMatchTest,
    ::testing::Values(TMatchCase{"(a)+", "", "aaa", "1,3 3,1"}, TMatchCase{"a{2,3}?", "", "aaaa", "1,2"},
                      TMatchCase{"a{2,3}", "", "aaaa", "1,3"}, TMatchCase{"a+?", "", "aaa", "1,1"},
                      TMatchCase{"a+", "-g", "aaa", "1,1"}, TMatchCase{"a*?b", "", "aab", "1,3"},
                      TMatchCase{"<.+>", "", "<a><b>", "1,6"}, TMatchCase{"<.+?>", "", "<a><b>", "1,3"},
                      TMatchCase{"a??b", "", "ab", "1,2"}, TMatchCase{"(ab)??b", "", "abb", "1,3 1,2"},
                      TMatchCase{"(ab){2}", "", "ababab", "1,4 3,2"}, TMatchCase{"(ab){2,}?", "", "ababab", "1,4 3,2"},
                      TMatchCase{"(a|ab)(c|bcd)(d*)", "", "abcd", "1,4 1,1 2,3 5,0"},
                      TMatchCase{"(a|b)*c", "", "ababc", "1,5 4,1"}, TMatchCase{"(a|b)*?b", "", "aab", "1,3 2,1"},
                      TMatchCase{"(x(y)?)+", "", "xyx", "1,3 3,1 2,1"},
                      TMatchCase{"(a|ab){0,2}c", "", "abac", "1,4 3,1"},
                      TMatchCase{"((ab){1,2}?c){2}", "", "abcabc", "1,6 4,3 4,2"},
                      TMatchCase{"((a){2}b){2}", "", "aabaab", "1,6 4,3 5,1"},
                      TMatchCase{"(a(b)?){1,3}?c", "", "aabac", "1,5 4,1 3,1"},
                      TMatchCase{"(.)+x", "-s", "ab\ncx", "4,2 4,1"}, TMatchCase{"[ab]{0}c", "", "abc", "3,1"},
                      TMatchCase{"(\\b)??x", "", "x", "1,1"}, TMatchCase{"y(\\b|)??x", "", "yx", "1,2"}),
    PatternRowName<TMatchCase>);

// A repetition gives passes back only where what follows could take them.
INSTANTIATE_TEST_SUITE_P(
    GivingBack, RegexMatchTest,
    ::testing::Values(TMatchCase{"(\\w+)\\s*\\((.*)\\)\\s*;", "", "f (x) g(y);", "1,11 1,1 4,6"},
                      TMatchCase{"a+b?a", "", "aaa", "1,3"}, TMatchCase{"a+(?i)A", "", "aa", "1,2"},
                      TMatchCase{"x+$", "m", "xx\r\nx", "1,2"}, TMatchCase{"[a-c]+\\b", "", "abc d", "1,3"},
                      TMatchCase{"\\d+?\\D", "", "12a", "1,3"}, TMatchCase{"\\d{1,2}\\D", "", "123a", "2,3"},
                      TMatchCase{"(\\d+,)+\\d+;", "", "1,22,3;", "1,7 3,3"},
                      TMatchCase{"(a+|b)+a", "", "aaa", "1,3 1,2"}, TMatchCase{"(ab+){1,2}b", "", "abbb", "1,4 1,3"},
                      TMatchCase{"(ab+)*b", "", "abbb", "1,4 1,3"}, TMatchCase{"(a+b){2}a+", "", "abaaba", "1,6 3,3"},
                      TMatchCase{"a(.*)b", "-s", "a1b2b\nb", "1,5 2,3"}, TMatchCase{".+x", "-s", "axbx\nx", "1,4"},
                      TMatchCase{"a.*$", "-s", "ab\r\ncd", ""}, TMatchCase{"a.*$", "m-s", "ab\r\ncd", "1,2"},
                      TMatchCase{"(.+)\\1", "-s", "xabab\nab", "2,4 2,2"}, TMatchCase{"a.*", "-s", "ab\rcd", "1,2"},
                      TMatchCase{"a.+", "-s", "abc\rd", "1,3"}),
    PatternRowName<TMatchCase>);

INSTANTIATE_TEST_SUITE_P(
    BackReferences, RegexMatchTest,
    ::testing::Values(TMatchCase{"(\\w+)\\s+\\1", "", "hello hello", "1,11 1,5"},
                      TMatchCase{"(a+)b\\1", "i", "AAbaa", "1,5 1,2"}, TMatchCase{"(ab)\\1", "i", "abAB", "1,4 1,2"},
                      TMatchCase{"(ab)\\1", "", "abAB", ""}, TMatchCase{"(ab)\\1*$", "", "ababab", "1,6 1,2"},
                      TMatchCase{"(ab)\\1*?$", "", "ababab", "1,6 1,2"}, TMatchCase{"(ab)\\1{1}b", "", "ababb", "1,5 1,2"},
                      TMatchCase{"(ab)\\1+a", "", "abababa", "1,7 1,2"}, TMatchCase{"(a*)\\1*x", "", "x", "1,1 1,0"},
                      TMatchCase{"(a*)\\1{3}x", "", "x", "1,1 1,0"}, TMatchCase{"(a*)(\\1)*x", "", "x", "1,1 1,0 1,0"},
                      TMatchCase{"(a*)(\\1)*x", "", "aax", "1,3 1,2"}, TMatchCase{"(a*)(\\1){2,}x", "", "bx", "2,1 2,0 2,0"},
                      TMatchCase{"(a*)(\\1)+?x", "", "x", "1,1 1,0 1,0"}, TMatchCase{"\\2(a)", "", "a", ""},
                      TMatchCase{"(a)|\\1b", "", "b", ""}),
    PatternRowName<TMatchCase>);

INSTANTIATE_TEST_SUITE_P(
    Lines, RegexMatchTest,
    ::testing::Values(TMatchCase{"^b", "m", "a\r\nb", "4,1"}, TMatchCase{"^", "m", "a\r\n", "1,0"},
                      TMatchCase{"^$", "m", "a\r\n\r\nb", "4,0"}, TMatchCase{"a$", "m", "a\r\nb", "1,1"},
                      TMatchCase{"b$", "m", "b\nc", "1,1"}, TMatchCase{"\\r$", "m", "a\r\nb", ""},
                      TMatchCase{"^\\n", "m", "a\r\nb", ""}, TMatchCase{"^b", "", "a\nb", ""},
                      TMatchCase{"a$", "", "a\n", ""}, TMatchCase{"x\\Z", "m", "x\ny", ""},
                      TMatchCase{"\\Ay", "m", "x\ny", ""}, TMatchCase{"a.b", "-s", "a\rb", ""},
                      TMatchCase{"$", "m", "ab\r\n", "3,0"}),
    PatternRowName<TMatchCase>);

INSTANTIATE_TEST_SUITE_P(
    Boundaries, RegexMatchTest,
    ::testing::Values(TMatchCase{"\\bfoo\\b", "", "foo", "1,3"}, TMatchCase{"\\bfoo\\b", "", "afoo foo", "6,3"},
                      TMatchCase{"\\b", "", "", ""}, TMatchCase{"\\B", "", "", "1,0"},
                      TMatchCase{"o\\b", "", "foo", "3,1"}, TMatchCase{"\\Bo", "", "o fo", "4,1"},
                      TMatchCase{"\\b.", "", " !a", "3,1"}),
    PatternRowName<TMatchCase>);

TEST(RegexRun, ExecPosAndExecNext) {
  TRegex regex;
  regex.SetExpression("x*");
  ASSERT_TRUE(regex.Exec("abc"));
  std::string positions = std::to_string(regex.MatchPos(0));
  while (regex.ExecNext()) positions += " " + std::to_string(regex.MatchPos(0));
  EXPECT_EQ(positions, "1 2 3 4");
  EXPECT_THROW(regex.ExecNext(), ERegex);  // the failed run left nothing to continue from

  regex.SetExpression("$");
  regex.SetInputString("ab");
  EXPECT_TRUE(regex.ExecPos(3));
  EXPECT_EQ(regex.MatchPos(0), 3);
  EXPECT_FALSE(regex.ExecPos(4));
  EXPECT_THROW(regex.ExecPos(0), ERegex);
  EXPECT_EQ(regex.LastError(), 1006);

  regex.SetExpression("^a");
  regex.SetInputString("aa");
  EXPECT_FALSE(regex.ExecPos(2));
  EXPECT_TRUE(regex.Exec(1));
}

TEST(RegexRun, ResultsOutOfRange) {
  TRegex regex;
  EXPECT_EQ(regex.SubExprMatchCount(), -1);
  EXPECT_EQ(regex.MatchPos(0), -1);
  regex.SetExpression("(a)");
  ASSERT_TRUE(regex.Exec("a"));
  for (int bad : {-1, 2, 15}) {
    EXPECT_EQ(regex.MatchPos(bad), -1);
    EXPECT_EQ(regex.MatchLen(bad), -1);
    EXPECT_EQ(regex.Match(bad), "");
  }
  EXPECT_EQ(regex.Match(1), "a");
}

TEST(RegexRun, RunErrors) {
  auto codeOf = [](auto action) {
    try {
      action();
    } catch (const ERegex& e) {
      return e.ErrorCode();
    }
    return 0;
  };
  TRegex regex;
  EXPECT_EQ(codeOf([&] { regex.InputString(); }), 1008);
  regex.SetExpression("a");
  EXPECT_EQ(codeOf([&] { regex.Exec(); }), 1005);
  EXPECT_EQ(codeOf([&] { regex.Substitute("$0"); }), 1005);
  regex.SetExpression("");
  EXPECT_EQ(codeOf([&] { regex.Exec("a"); }), 1003);
  EXPECT_EQ(regex.InputString(), "a");  // the input stays
}

TEST(RegexRun, InputEndsAtFirstNul) {
  TRegex regex;
  regex.SetExpression("b");
  EXPECT_FALSE(regex.Exec(std::string("a\0b", 3)));
  EXPECT_EQ(regex.InputString(), "a");
}

TEST(RegexRun, EmptyPatternMatchesAtFirstPosition) {
  TRegex regex;
  regex.CompileRegex("");
  regex.SetInputString("abc");
  ASSERT_TRUE(regex.ExecPos(2));
  EXPECT_EQ(Slots(regex), "2,0");
}

TEST(RegexRun, LineSettings) {
  TRegex regex;
  regex.SetModifierStr("m");
  regex.SetExpression("^b");
  regex.SetLineSeparators("|");
  regex.SetLinePairedSeparator("");
  EXPECT_FALSE(regex.Exec("a\nb"));
  EXPECT_TRUE(regex.Exec("a|b"));
  regex.SetLineSeparators("");
  regex.SetLinePairedSeparator("XY");
  ASSERT_TRUE(regex.Exec("aXYb"));
  EXPECT_EQ(regex.MatchPos(0), 4);
  regex.SetExpression("a$");
  EXPECT_TRUE(regex.Exec("aXYb"));
  regex.SetLinePairedSeparator("");
  regex.SetExpression("^b");  // nothing to split lines at: "^" is the input start
  EXPECT_FALSE(regex.Exec("a\nb"));
}

TEST(RegexRun, WordCharsAndCaseFunctionAreSettings) {
  TRegex regex;
  regex.SetExpression("\\w+");
  ASSERT_TRUE(regex.Exec("ab-cd"));
  EXPECT_EQ(regex.MatchLen(0), 2);
  regex.SetWordChars("abcd-");
  ASSERT_TRUE(regex.Exec("ab-cd"));
  EXPECT_EQ(regex.MatchLen(0), 5);

  regex.SetInvertCase([](char c) { return c == 'a' ? 'z' : c == 'z' ? 'a' : c; });
  regex.SetModifier(1, true);
  regex.SetExpression("a+");
  ASSERT_TRUE(regex.Exec("azA"));
  EXPECT_EQ(regex.MatchLen(0), 2);
}

TEST(RegexRun, NestedCountedLoopsUpToTheLevelLimit) {
  std::string ten = "a";
  for (int i = 0; i < 10; ++i) ten = "(" + ten + "){1,2}?";
  TRegex regex;
  regex.SetExpression(ten + "b");
  ASSERT_TRUE(regex.Exec("aab"));
  EXPECT_EQ(regex.MatchLen(0), 3);

  regex.SetExpression("(" + ten + "){1,2}?b");
  try {
    regex.Exec("ab");
    FAIL();
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), 1014);
    EXPECT_EQ(e.Message(), "TRegex(exec): Loop Stack Exceeded");
  }
}

TEST(RegexRun, LongSubjectDoesNotExhaustTheStack) {
  TRegex regex;
  regex.SetExpression("(a|b)*c");
  std::string subject(200000, 'a');
  subject += "c";
  ASSERT_TRUE(regex.Exec(subject));
  EXPECT_EQ(regex.MatchLen(0), 200001);
  EXPECT_EQ(regex.MatchPos(1), 200000);

  regex.SetExpression("((a)|b){1,}?c");
  ASSERT_TRUE(regex.Exec(subject));
  EXPECT_EQ(regex.MatchLen(0), 200001);
}

TEST(RegexRun, BacktrackStackLimitRaises) {
  TRegex regex;
  regex.SetExpression("(a|b)*\\d");
  std::string subject(TRegex::MaxBacktrackEntries / 2, 'a');
  try {
    regex.Exec(subject);
    FAIL();
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), 1016);
    EXPECT_EQ(e.Message(), "TRegex(exec): Backtrack Stack Exceeded");
  }
  EXPECT_EQ(regex.MatchPos(0), -1);
  regex.SetExpression("a");
  EXPECT_TRUE(regex.Exec());  // the object stays usable
}

// The work of one whole search is bounded, however little each start
// position takes (on 21 bytes each start position takes fewer steps than
// the bound, all of them together more); a long input may take a little
// more for every byte.
TEST(RegexRun, BacktrackingWithoutEndRaisesWithinOneSearch) {
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += std::string(99, 'x') + "\n";
  const struct {
    const char* Pattern;
    const char* Modifiers;
    std::string Subject;
    bool Raises;
    int64_t SharedBudget = -1;  // what is left of the work several searches share
  } cases[] = {
      {"(\\S+\\0?)*\\r\\xd1\\\\\\xff", "ix", std::string(21, 'x'), true},
      {".*[@]", "-s", lines, false},
      {".*.*.*=|y", "", std::string(40, 'x'), false},
      {".*.*.*=|y", "", std::string(40, 'x'), true, 1000},
  };
  for (const auto& c : cases) {
    TRegex regex;
    regex.SetModifierStr(c.Modifiers);
    regex.SetExpression(c.Pattern);
    regex.SetSharedStepBudget(c.SharedBudget);
    int code = 0;
    try {
      regex.Exec(c.Subject);
    } catch (const ERegex& e) {
      code = e.ErrorCode();
    }
    EXPECT_EQ(code, c.Raises ? 1017 : 0) << c.Pattern << " on " << c.Subject.size() << " bytes";
    EXPECT_EQ(regex.SharedStepBudget(), c.SharedBudget < 0 ? -1 : 0);  // a search that raised used it up
  }
}

}  // namespace
}  // namespace vk
