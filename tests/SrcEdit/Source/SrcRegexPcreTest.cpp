// Differential test against PCRE2 on the syntax both engines share: ASCII
// subjects, default modifiers (our "s" is PCRE2's DOTALL, our "$" only the
// very end), no back-references (whose empty passes the two treat apart).
// Both must agree on whether there is a match and on every group's start and
// length.

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <gtest/gtest.h>

#include <random>

#include "SrcEdit/Source/SrcRegex.h"

namespace vk {
namespace {

// "start,length" of every group up to the last one set, "-" for an unset
// one; "" when nothing matched; "error" when the pattern is refused. With
// lineDot "." stops at line ends (our modifier s off; PCRE2 without
// DOTALL, the same on subjects whose only line end is LF).
std::string OursOn(const std::string& pattern, const std::string& subject, bool lineDot = false) {
  TRegex regex;
  if (lineDot) regex.SetModifierStr("-s");
  regex.SetExpression(pattern);
  try {
    if (!regex.Exec(subject)) return "";
  } catch (const ERegex&) {
    return "error";
  }
  std::string text;
  for (int i = 0; i <= regex.SubExprMatchCount(); ++i) {
    int pos = regex.MatchPos(i);
    text += pos < 0 ? "- " : std::to_string(pos - 1) + "," + std::to_string(regex.MatchLen(i)) + " ";
  }
  return text;
}

std::string PcreOn(const std::string& pattern, const std::string& subject, bool lineDot = false) {
  int error;
  PCRE2_SIZE offset;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.c_str()), pattern.size(),
                                   (lineDot ? 0 : PCRE2_DOTALL) | PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr);
  if (code == nullptr) return "error";
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(subject.c_str()), subject.size(), 0, 0, data, nullptr);
  std::string text;
  if (rc > 0) {
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    for (int i = 0; i < rc; ++i) {
      if (ovector[2 * i] == PCRE2_UNSET)
        text += "- ";
      else
        text += std::to_string(ovector[2 * i]) + "," + std::to_string(ovector[2 * i + 1] - ovector[2 * i]) + " ";
    }
  }
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  return text;
}

TEST(RegexPcre, HandWrittenCases) {
  const std::pair<const char*, const char*> cases[] = {
      {"(a|ab)(c|bcd)(d*)", "abcd"},   {"(a+|b+)*c", "aabbc"},      {"((a)|b)+", "ab"},
      {"(a+)+?b", "aab"},              {"x(a|b){2,3}?y", "xababy"}, {"(ab|a)(bc|c)", "abc"},
      {"\\bw\\w+\\b", "a wow x"},      {"[^a-c]+", "abcxyzab"},     {"(a)|b", "b"},
      {"(.*)(\\d+)", "abc123"},        {"(.*?)(\\d+)", "abc123"},   {"a{3,}", "aa aaaa"},
      {"(\\s)?x", "  x"},              {"^(a(b(c)))$", "abc"},      {"(a|b)*?c", "abbac"},
      {"(([a-c])x){2}", "axbxcx"},     {"(x{2}y)+", "xxyxxyxy"},    {"[]a]+", "]a]"},
      {"a.c", "a\nc"},                 {"(?i)ab", "xAB"},           {"(a(?i)b)c", "aBc"},
      {"((a)|(b))*", "ab"},            {"(a?)b", "b"},              {"x(y|)z", "xz"}};
  for (const auto& [pattern, subject] : cases)
    EXPECT_EQ(OursOn(pattern, subject), PcreOn(pattern, subject)) << pattern << " on " << subject;
}

// Random patterns from a small grammar over the letters a, b, c.
class TPatternMaker {
public:
  explicit TPatternMaker(uint32_t seed) : FRandom(seed) {}

  std::string Alternation(int depth) {
    std::string text = Sequence(depth);
    while (Chance(5)) text += "|" + Sequence(depth);
    return text;
  }

  std::string Subject() {
    std::string text;
    int length = Below(12);
    for (int i = 0; i < length; ++i) text += "abc \n"[Below(Chance(6) ? 5 : 3)];
    return text;
  }

private:
  std::string Sequence(int depth) {
    std::string text;
    int pieces = 1 + Below(3);
    for (int i = 0; i < pieces; ++i) text += Piece(depth);
    return text;
  }

  std::string Piece(int depth) {
    std::string atom = Atom(depth);
    static const char* const quantifiers[] = {"*", "+", "?", "{2}", "{1,2}", "{0,2}", "{2,}"};
    if (!Chance(3)) return atom;
    std::string quantifier = quantifiers[Below(7)];
    if (Chance(3)) quantifier += "?";
    return atom + quantifier;
  }

  std::string Atom(int depth) {
    switch (Below(depth > 0 ? 9 : 6)) {
      case 0: return std::string(1, "abc"[Below(3)]);
      case 1: return ".";
      case 2: return Chance(2) ? "[ab]" : "[^a]";
      case 3: return Chance(2) ? "\\w" : "\\s";
      case 4: return "[a-c ]";
      case 5: return std::string(1, "abc"[Below(3)]);
      default: return "(" + Alternation(depth - 1) + ")";
    }
  }

  int Below(int n) { return static_cast<int>(FRandom() % static_cast<uint32_t>(n)); }
  bool Chance(int oneIn) { return Below(oneIn) == 0; }

  std::mt19937 FRandom;
};

TEST(RegexPcre, RandomPatternsAgree) {
  TPatternMaker maker(20240611);
  int compared = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string pattern = maker.Alternation(2);
    std::string ours = OursOn(pattern, "");
    if (ours == "error") continue;  // e.g. a repeated group that may match empty
    for (int j = 0; j < 4; ++j) {
      std::string subject = maker.Subject();
      for (bool lineDot : {false, true})
        ASSERT_EQ(OursOn(pattern, subject, lineDot), PcreOn(pattern, subject, lineDot))
            << pattern << " on \"" << subject << "\"" << (lineDot ? " (. stops at line ends)" : "");
      ++compared;
    }
  }
  EXPECT_GT(compared, 4000);
}

}  // namespace
}  // namespace vk
