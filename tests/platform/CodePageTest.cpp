#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vk {
namespace {

struct ByteTypeCase {
  const char* Text;
  std::vector<TMbcsByteType> Expected;
};

// The types a scan from the first byte gives: a lead byte takes the byte
// after it as its trail.
std::vector<TMbcsByteType> ScannedTypes(const std::string& text) {
  std::vector<TMbcsByteType> types;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!CodePage::IsLeadByte(static_cast<unsigned char>(text[i]))) {
      types.push_back(mbSingleByte);
      continue;
    }
    types.push_back(mbLeadByte);
    if (++i < text.size()) types.push_back(mbTrailByte);
  }
  return types;
}

TEST(CodePageTest, ByteTypesAreClassifiedFromTheStart) {
  // "\xB0\x41" is one character whose trail byte equals 'A'; "\xC7\xD1" is
  // a Hangul syllable whose trail byte lies in the lead-byte range.
  const ByteTypeCase cases[] = {
      {"abc", {mbSingleByte, mbSingleByte, mbSingleByte}},
      {"\xB0\x41x", {mbLeadByte, mbTrailByte, mbSingleByte}},
      {"\xC7\xD1\xB1\xDB", {mbLeadByte, mbTrailByte, mbLeadByte, mbTrailByte}},
      {"a\xC7\xD1", {mbSingleByte, mbLeadByte, mbTrailByte}},
      {"\xC7", {mbLeadByte}},
      {"\x80\xFF", {mbSingleByte, mbSingleByte}},
  };
  for (const auto& c : cases) {
    std::string text = c.Text;
    for (size_t i = 0; i < c.Expected.size(); ++i)
      EXPECT_EQ(c.Expected[i], CodePage::ByteTypeAt(text, i)) << "text " << testing::PrintToString(text) << " at " << i;
    EXPECT_EQ(mbSingleByte, CodePage::ByteTypeAt(text, text.size()));
  }
  // Random texts, with long runs of bytes that may lead or trail (Hangul,
  // whose trail bytes lie in the lead range too) between ASCII and trail
  // bytes outside it.
  std::mt19937 random(949);
  const unsigned char bytes[] = {'a', 0x00, 0x41, 0x5C, 0x80, 0x81, 0xA1, 0xB0, 0xC7, 0xFE, 0xFF};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const size_t length = random() % 600;
    while (text.size() < length) {
      const size_t run = random() % 3 == 0 ? random() % 300 : 1;
      for (size_t i = 0; i < run && text.size() < length; ++i)
        text += static_cast<char>(run > 1 ? 0x81 + random() % 0x7E : bytes[random() % std::size(bytes)]);
    }
    const std::vector<TMbcsByteType> expected = ScannedTypes(text);
    for (size_t i = 0; i < text.size(); ++i)
      ASSERT_EQ(expected[i], CodePage::ByteTypeAt(text, i)) << "round " << round << " at " << i;
  }
}

TEST(CodePageTest, LiteralsAreCompiledToTheAnsiCodePage) {
  EXPECT_EQ(std::string("\xC7\xD1\xB1\xDB"), std::string("한글"));
}

TEST(CodePageTest, CaseMappingTouchesOnlyAsciiLetters) {
  for (int c = 0; c < 256; ++c) {
    auto b = static_cast<unsigned char>(c);
    unsigned char upper = c >= 'a' && c <= 'z' ? b - 32 : b;
    unsigned char lower = c >= 'A' && c <= 'Z' ? b + 32 : b;
    EXPECT_EQ(upper, CodePage::AsciiUpper(b)) << c;
    EXPECT_EQ(lower, CodePage::AsciiLower(b)) << c;
    EXPECT_EQ(std::isalnum(c) != 0 && c < 128, CodePage::IsCharAlphaNumeric(b)) << c;
  }
}

TEST(CodePageTest, CharacterTypesOfSingleAndDoubleByteCharacters) {
  struct Case {
    const char* Text;
    uint16_t Flags;
  } cases[] = {
      {"a", C3_HALFWIDTH | C3_ALPHA},
      {"7", C3_HALFWIDTH},
      {"+", C3_HALFWIDTH | C3_SYMBOL},
      {"한", C3_FULLWIDTH | C3_ALPHA},
      {"漢", C3_IDEOGRAPH | C3_FULLWIDTH | C3_ALPHA},
      {"あ", C3_HIRAGANA | C3_FULLWIDTH | C3_ALPHA},
      {"ア", C3_KATAKANA | C3_FULLWIDTH | C3_ALPHA},
      {"Ａ", C3_FULLWIDTH | C3_ALPHA},
      {"１", C3_FULLWIDTH},
      {"※", C3_SYMBOL | C3_FULLWIDTH},
      {"\xC7", 0},  // a lead byte cut off at the end
  };
  for (const auto& c : cases) {
    std::string text = c.Text;
    EXPECT_EQ(c.Flags, CodePage::CharType3(text.data(), text.size(), 0)) << testing::PrintToString(text);
  }
}

TEST(CodePageTest, ConvertsToAndFromUtf8) {
  EXPECT_EQ("\xED\x95\x9C\xEA\xB8\x80", CodePage::ToUtf8("한글"));
  EXPECT_EQ("한글", CodePage::FromUtf8("\xED\x95\x9C\xEA\xB8\x80"));
  EXPECT_EQ("a\xEF\xBF\xBD" "b", CodePage::ToUtf8("a\xFF" "b"));
  EXPECT_EQ("a?b", CodePage::FromUtf8("a\xF0\x9F\x98\x80" "b"));  // one character the code page lacks
  // Without replacements a byte or character that does not convert fails
  // the whole text.
  EXPECT_EQ("\xED\x95\x9C", CodePage::ExactToUtf8("한"));
  EXPECT_EQ(std::nullopt, CodePage::ExactToUtf8("a\xFF"));
  EXPECT_EQ(std::nullopt, CodePage::ExactToUtf8("\xC7"));
  EXPECT_EQ("한", CodePage::ExactFromUtf8("\xED\x95\x9C"));
  EXPECT_EQ(std::nullopt, CodePage::ExactFromUtf8("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_EQ(std::nullopt, CodePage::ExactFromUtf8("\xC7\xD1"));           // no UTF-8
}

}  // namespace
}  // namespace vk
