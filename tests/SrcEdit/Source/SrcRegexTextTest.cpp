// Substitution templates, split, replace, the free functions and the
// sub-expression lister.

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcRegex.h"

namespace vk {
namespace {

std::string Joined(const TStrings& list) {
  std::string text;
  for (int i = 0; i < list.Count(); ++i) text += (i ? "|" : "") + list.Strings(i);
  return text;
}

TEST(RegexText, SubstituteTemplates) {
  TRegex regex;
  regex.SetExpression("(a)(b)");
  ASSERT_TRUE(regex.Exec("xab"));
  const std::pair<const char*, const char*> cases[] = {
      {"$1-$0", "a-ab"}, {"${1}x", "ax"},  {"\\$1", "$1"},   {"$x", "$x"},      {"$", "$"},
      {"${}", "ab"},     {"$&$2", "abb"},  {"${&}", "ab"},   {"$15", ""},       {"${1x}", "${1x}"},
      {"\\\\", "\\"},    {"a\\", "a\\"},   {"", ""},         {"$3", ""},        {"$01", "a"},
      {"$99999999999999999999", ""},  // saturates instead of wrapping to a small group
      {"$4294967297", ""},
  };
  for (const auto& [templ, expected] : cases) EXPECT_EQ(regex.Substitute(templ), expected) << templ;
}

TEST(RegexText, SplitAndReplaceTables) {
  struct TCase {
    const char* Pattern;
    const char* Text;
    const char* Split;
    const char* Replaced;  // with "<$0>" and substitution
  };
  const TCase cases[] = {
      {",", "a,b,,c", "a|b||c", "a<,>b<,><,>c"},
      {"x*", "abc", "|a|b|c|", "<>a<>b<>c<>"},
      {"\\d+", "a1b22", "a|b|", "a<1>b<22>"},
      {"z", "abc", "abc", "abc"},
      {"^", "ab", "|ab", "<>ab"},
      {"b|$", "abab", "a|a||", "a<b>a<b><>"},
  };
  for (const TCase& c : cases) {
    TStringList pieces;
    pieces.Add("kept");
    TRegex regex;
    regex.SetExpression(c.Pattern);
    regex.Split(c.Text, pieces);
    EXPECT_EQ(Joined(pieces), std::string("kept|") + c.Split) << c.Pattern;
    EXPECT_EQ(regex.Replace(c.Text, "<$0>", true), c.Replaced) << c.Pattern;
  }
}

TEST(RegexText, ReplaceLiteralAndByFunction) {
  TRegex regex;
  regex.SetExpression("\\d+");
  EXPECT_EQ(regex.Replace("a1b22", "#"), "a#b#");
  EXPECT_EQ(regex.Replace("a1b22", "<$0>", false), "a<$0>b<$0>");
  auto doubled = [](TRegex& r) { return r.Match(0) + r.Match(0); };
  EXPECT_EQ(regex.ReplaceEx("a1b22", doubled), "a11b2222");
  EXPECT_EQ(regex.Replace("x9", doubled), "x99");
}

TEST(RegexText, FreeFunctions) {
  EXPECT_TRUE(ExecRegex("b+", "abbc"));
  EXPECT_FALSE(ExecRegex("^b", "abbc"));
  EXPECT_THROW(ExecRegex("(", "a"), ERegex);
  TStringList pieces;
  pieces.Add("dropped");
  SplitRegex("\\s*;\\s*", "a ; b;c", pieces);
  EXPECT_EQ(Joined(pieces), "a|b|c");
  EXPECT_EQ(ReplaceRegex("(\\w+)@(\\w+)", "me@host", "$2 at $1", true), "host at me");
  EXPECT_EQ(QuoteRegexMetaChars("a.b*c"), "a\\.b\\*c");
  EXPECT_EQ(QuoteRegexMetaChars("^$.[()|?+*\\{]}x"), "\\^\\$\\.\\[\\(\\)\\|\\?\\+\\*\\\\\\{\\]\\}x");
}

std::string Listed(const std::vector<TRegexSubExpression>& list) {
  std::string text;
  for (const auto& item : list)
    text += item.Text + "@" + std::to_string(item.Position) + "+" + std::to_string(item.Length) + " ";
  return text;
}

TEST(RegexText, SubExpressionLister) {
  struct TCase {
    const char* Expression;
    bool Extended;
    int Status;
    const char* Items;
  };
  const TCase cases[] = {
      {"(a)(b(c))", false, 0, "(a)(b(c))@1+9 a@1+3 b(c)@4+6 c@6+3 "},
      {"(abc)", false, 0, "abc@1+5 "},
      {"a)", false, 2, "a)@1+2 "},
      {"(a", false, -1, "(a@1+2 @0+0 "},
      {"[a", false, -2, "[a@1+2 "},
      {"[(]\\((x)", false, 0, "[(]\\((x)@1+8 x@6+3 "},
      {"[]a(]", false, 0, "[]a(]@1+5 "},
      {"(?x)(a) #(b)\n(c)", false, 0, "(?x)(a) #(b)\n(c)@1+16 a@5+3 c@14+3 "},
      {"(a)#(b)", true, 0, "(a)#(b)@1+7 a@1+3 "},
      {"(?-x)(a)#(b)", true, 0, "(?-x)(a)#(b)@1+12 a@6+3 b@10+3 "},
      {"(?", false, -1, "(?@1+2 "},
  };
  for (const TCase& c : cases) {
    std::vector<TRegexSubExpression> list;
    EXPECT_EQ(RegexSubExpressions(c.Expression, list, c.Extended), c.Status) << c.Expression;
    EXPECT_EQ(Listed(list), c.Items) << c.Expression;
  }
}

TEST(RegexText, SubExpressionPositionsAreFullWidth) {
  std::string expression = std::string(70000, 'x') + "(ab)";
  std::vector<TRegexSubExpression> list;
  EXPECT_EQ(RegexSubExpressions(expression, list), 0);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Position, 70001);
  EXPECT_EQ(list[1].Length, 4);
  EXPECT_EQ(list[0].Length, 70004);
}

}  // namespace
}  // namespace vk
