#include "SrcEdit/Source/SrcEditSearch.h"

#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace vk {
namespace {

const TSrcSearchOptions kIgnoreCase{};
const TSrcSearchOptions kMatchCase{ssoMatchCase};
const TSrcSearchOptions kWholeWord{ssoWholeWord};

std::vector<int> Find(TSrcEditSearch& engine, const std::string& line) {
  std::vector<int> found;
  for (int i = 0, count = engine.FindAll(line); i < count; ++i) found.push_back(engine.GetResult(i));
  return found;
}

std::vector<int> Find(const std::string& line, const std::string& pattern, TSrcSearchOptions options) {
  TSrcEditSearch engine(nullptr);
  engine.SetOptions(options);
  engine.SetPattern(pattern);
  return Find(engine, line);
}

// The plain definition the engine must agree with: at every position from
// the left, a match covers whole characters, equals the pattern (letters of
// either case when case is ignored; the second byte of a double-byte
// character always exactly), and for whole words has a non-word character
// (a double-byte character counts by its lead byte) or the line end on both
// sides. The search goes on behind a match.
std::vector<int> NaiveFind(const std::string& text, const std::string& pattern, bool matchCase, bool wholeWord) {
  const size_t n = text.size();
  const size_t length = pattern.size();
  std::vector<TMbcsByteType> kind(n);
  for (size_t i = 0; i < n; ++i) kind[i] = CodePage::ByteTypeAt(text, i);
  auto byte = [](char c) { return static_cast<unsigned char>(c); };
  auto isWordByte = [&](char c) { return CodePage::IsCharAlphaNumeric(byte(c)) || c == '_'; };
  auto equalAt = [&](size_t at) {
    for (size_t i = 0; i < length; ++i) {
      const char a = text[at + i], b = pattern[i];
      const bool exact = matchCase || kind[at + i] == mbTrailByte;
      if (exact ? a != b : CodePage::AsciiLower(byte(a)) != CodePage::AsciiLower(byte(b))) return false;
    }
    return true;
  };
  std::vector<int> found;
  for (size_t at = 0; at + length <= n;) {
    const size_t end = at + length;
    bool ok = kind[at] != mbTrailByte && (end == n || kind[end] != mbTrailByte) && equalAt(at);
    if (ok && wholeWord) {
      const size_t before = at >= 2 && kind[at - 1] == mbTrailByte ? at - 2 : at - 1;
      ok = (at == 0 || !isWordByte(text[before])) && (end == n || !isWordByte(text[end]));
    }
    if (ok) {
      found.push_back(static_cast<int>(at + 1));
      at = end;
    } else {
      ++at;
    }
  }
  return found;
}

struct FindCase {
  const char* name;
  std::string line;
  std::string pattern;
  TSrcSearchOptions options;
  std::vector<int> expected;
};

TEST(SrcEditSearchTest, FindsEveryMatchWithoutOverlap) {
  const std::vector<FindCase> cases = {
      {"three apart", "ab ab ab", "ab", kIgnoreCase, {1, 4, 7}},
      {"overlapping candidates", "aaaaa", "aaa", kIgnoreCase, {1}},
      {"periodic pattern", "abababab", "abab", kIgnoreCase, {1, 5}},
      {"whole line", "abc", "abc", kIgnoreCase, {1}},
      {"line shorter than pattern", "ab", "abc", kIgnoreCase, {}},
      {"empty line", "", "a", kIgnoreCase, {}},
      {"at the very end", "xxxxxxxxab", "ab", kIgnoreCase, {9}},
      {"long skip", "the quick brown fox jumps over the lazy dog", "lazy", kIgnoreCase, {36}},
      {"capitals find small letters", "Hello hello HELLO", "HELLO", kIgnoreCase, {1, 7, 13}},
      {"match case", "Hello hello HELLO", "HELLO", kMatchCase, {13}},
      {"match case, no hit", "hello world", "World", kMatchCase, {}},
      {"backwards changes nothing", "ab ab", "ab", TSrcSearchOptions{ssoBackwards}, {1, 4}},
      {"whole word: followed by _ or a digit", "foo_ foo1 foo", "foo", kWholeWord, {11}},
      {"whole word: blank, bracket, line end", "foo (foo) foo", "foo", kWholeWord, {1, 6, 11}},
      {"whole word: preceded by a letter", "xfoo foo", "foo", kWholeWord, {6}},
      {"whole word and match case", "Foo foo", "foo", kWholeWord + kMatchCase, {5}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, Find(c.line, c.pattern, c.options)) << c.name;
}

// A replace-all puts text in place of every match: a match that began on
// the second byte of a character, or took only its first byte, would split
// the character and corrupt the line.
TEST(SrcEditSearchTest, MatchesCoverWholeDoubleByteCharacters) {
  const std::vector<FindCase> cases = {
      {"would start on a trail byte", "\xB0\xA1\xB0\xA1", "\xA1\xB0", kMatchCase, {}},
      {"would end on a lead byte", "a\xB0\xA1", "a\xB0", kMatchCase, {}},
      {"trail byte alone", "\xB0\xA1\xB0\xA1", "\xA1", kMatchCase, {}},
      {"trail byte that is a letter", "\x81\x41" "bc Abc", "Abc", kIgnoreCase, {6}},
      {"whole characters", "x\xB0\xA1y\xB0\xA1", "\xB0\xA1", kMatchCase, {2, 5}},
      {"lone lead byte at the line end", "x\xB0", "\xB0", kMatchCase, {2}},
      {"ignoring case keeps characters apart", "\x81\x41 \x81\x61", "\x81\x61", kIgnoreCase, {4}},
      {"double-byte character before a word", "\x81\x41" "ab \xB0\xA1" "ab", "ab", kWholeWord, {3, 8}},
      {"double-byte character after a word", "ab\x81\x41", "ab", kWholeWord, {1}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, Find(c.line, c.pattern, c.options)) << c.name;
}

std::string RandomBytes(std::mt19937& random, const std::string& alphabet, size_t maxLength) {
  std::string text(std::uniform_int_distribution<size_t>(0, maxLength)(random), ' ');
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  for (char& c : text) c = alphabet[pick(random)];
  return text;
}

// A pattern taken from the text at any byte offset (so that it hits, also
// across character boundaries), or made up.
std::string RandomPattern(std::mt19937& random, const std::string& text, const std::string& alphabet, size_t maxLength) {
  if (text.empty() || random() % 4 == 0) {
    std::string pattern = RandomBytes(random, alphabet, maxLength);
    return pattern.empty() ? alphabet.substr(0, 1) : pattern;
  }
  const size_t at = random() % text.size();
  return text.substr(at, 1 + random() % maxLength);
}

TEST(SrcEditSearchTest, AgreesWithNaiveSearchOnRandomText) {
  struct Alphabet {
    const char* name;
    std::string bytes;
    size_t maxText, maxPattern;
  };
  const std::vector<Alphabet> alphabets = {
      {"two letters", "ab", 60, 8},
      {"letters, digits, delimiters", "aAbB_1 (", 40, 5},
      {"double-byte", "aAbB_ \x81\xB0\xA1", 40, 5},
      {"long lines", "abcdefgh ", 400, 12},
  };
  std::mt19937 random(20240605);
  for (const auto& alphabet : alphabets) {
    for (const bool matchCase : {false, true}) {
      for (const bool wholeWord : {false, true}) {
        TSrcEditSearch engine(nullptr);
        TSrcSearchOptions options;
        if (matchCase) options.Include(ssoMatchCase);
        if (wholeWord) options.Include(ssoWholeWord);
        engine.SetOptions(options);
        for (int trial = 0; trial < 600; ++trial) {
          const std::string text = RandomBytes(random, alphabet.bytes, alphabet.maxText);
          const std::string pattern = RandomPattern(random, text, alphabet.bytes, alphabet.maxPattern);
          engine.SetPattern(pattern);
          ASSERT_EQ(NaiveFind(text, pattern, matchCase, wholeWord), Find(engine, text))
              << alphabet.name << " matchCase=" << matchCase << " wholeWord=" << wholeWord << " text=\"" << text
              << "\" pattern=\"" << pattern << "\"";
        }
      }
    }
  }
}

// Replaces every match the way the editor's replace-all does, from the right
// so that earlier positions stay valid.
std::string ReplaceAll(TSrcEditSearch& engine, std::string line, const std::string& replacement) {
  for (int i = engine.FindAll(line) - 1; i >= 0; --i) {
    const size_t at = engine.GetResult(i) - 1;
    const size_t length = engine.GetLength(i);
    line.replace(at, length, engine.Replace(line.substr(at, length), replacement));
  }
  return line;
}

TEST(SrcEditSearchTest, ReplaceAllNeverSplitsACharacter) {
  const std::vector<std::string> characters = {"a", "A", "b", " ", "\xB0\xA1", "\xB0\xA2", "\x81\x41",
                                               "\x81\x61", "\xC7\xD1", "\xB1\xDB"};
  const std::string replacementCharacter = "\xEF\xBF\xBD";  // what a broken character becomes in UTF-8
  std::mt19937 random(949);
  for (const auto options : {kIgnoreCase, kMatchCase}) {
    TSrcEditSearch engine(nullptr);
    engine.SetOptions(options);
    for (int trial = 0; trial < 300; ++trial) {
      std::string line;
      for (int n = random() % 12; n > 0; --n) line += characters[random() % characters.size()];
      engine.SetPattern(RandomPattern(random, line, "a\xB0", 3));
      const std::string replaced = ReplaceAll(engine, line, "|");
      ASSERT_EQ(std::string::npos, CodePage::ToUtf8(replaced).find(replacementCharacter))
          << "line=\"" << line << "\" pattern=\"" << engine.GetPattern() << "\"";
    }
  }
}

TEST(SrcEditSearchTest, EmptyPatternRaisesAfterEmptyingTheResults) {
  TSrcEditSearch engine(nullptr);
  engine.SetPattern("a");
  ASSERT_EQ(2, engine.FindAll("a a"));
  engine.SetPattern("");
  try {
    engine.FindAll("a a");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ("Pattern is empty", e.Message());
  }
  EXPECT_EQ(0, engine.GetResultCount());
  EXPECT_EQ(0, engine.Next());
}

TEST(SrcEditSearchTest, ResultsLengthsAndReplacement) {
  TSrcEditSearch engine(nullptr);
  TSrcEditSearchCustom& custom = engine;
  custom.SetPattern("abc");
  EXPECT_EQ(2, custom.FindAll("abc abc"));
  EXPECT_EQ("abc", custom.Pattern());
  EXPECT_EQ(2, custom.ResultCount());
  EXPECT_EQ(5, custom.Results(1));
  EXPECT_EQ(0, custom.Results(2));  // index equal to the count
  EXPECT_EQ(0, custom.Results(-1));
  EXPECT_EQ(3, custom.Lengths(0));
  EXPECT_EQ(3, custom.Lengths(7));
  EXPECT_EQ("x\\1$&", custom.Replace("abc", "x\\1$&"));  // no expansion
  EXPECT_EQ("TSrcEditSearch", custom.ClassName());
}

TEST(SrcEditSearchTest, CaseModeChangesTakeEffectOnTheNextSearch) {
  TSrcEditSearch engine(nullptr);
  engine.SetPattern("ABC");
  EXPECT_EQ(1, engine.FindAll("abc"));
  engine.SetOptions(kMatchCase);
  EXPECT_EQ(0, engine.FindAll("abc"));
  engine.SetOptions(kWholeWord);
  EXPECT_EQ(0, engine.FindAll("abcd"));
  EXPECT_EQ(1, engine.FindAll("abc"));
}

TEST(SrcEditSearchTest, StepwiseScan) {
  TSrcEditSearch engine(nullptr);
  engine.SetPattern("ab");
  const std::string line = "ab ab";
  EXPECT_EQ(1, engine.FindFirst(line));
  EXPECT_FALSE(engine.GetFinished());
  EXPECT_EQ(4, engine.Next());
  EXPECT_TRUE(engine.GetFinished());
  EXPECT_EQ(0, engine.Next());
  EXPECT_EQ(0, engine.FindFirst("a"));
  EXPECT_TRUE(engine.GetFinished());
}

TEST(SrcEditSearchTest, FixResultsMovesResultsBehindAPosition) {
  struct FixCase {
    int first, delta;
    std::vector<int> expected;
  };
  const std::vector<FixCase> cases = {
      {4, 2, {1, 3, 7}}, {4, -3, {1, 8, 12}}, {0, 1, {0, 4, 8}}, {9, 5, {1, 5, 9}}, {4, 0, {1, 5, 9}}};
  for (const auto& c : cases) {
    TSrcEditSearch engine(nullptr);
    engine.SetPattern("ab");
    ASSERT_EQ(3, engine.FindAll("ab  ab  ab"));
    engine.FixResults(c.first, c.delta);
    EXPECT_EQ(c.expected, (std::vector<int>{engine.GetResult(0), engine.GetResult(1), engine.GetResult(2)}))
        << c.first << " " << c.delta;
  }
}

TEST(SrcEditSearchTest, OwnerFreesTheEngine) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* engine = new TSrcEditSearch(owner.get());
  engine->SetName("SrcEditSearch1");
  EXPECT_EQ(engine, owner->FindComponent("SrcEditSearch1"));
  owner.reset();  // the sanitizer build reports a leak otherwise
}

}  // namespace
}  // namespace vk
