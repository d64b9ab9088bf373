#include "SrcEdit/Source/SrcEditMiscProcs.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

std::string T(int n) { return std::string(n, '\t'); }

TEST(ConvertTabsTest, ExpansionPadsWithTabCharacters) {
  struct Case {
    std::string Line;
    int Width;
    std::string Expanded;
    bool HasTabs;
  } cases[] = {
      {"", 4, "", false},
      {"abc", 4, "abc", false},
      {"\t", 8, T(8), true},
      {"a\tb", 4, "a" + T(3) + "b", true},
      {"ab\t", 4, "ab" + T(2), true},
      {"abcd\t", 4, "abcd" + T(4), true},
      {"\t\t", 3, T(6), true},
      {"a\tb\tc", 3, "a" + T(2) + "b" + T(2) + "c", true},
      {"ab\tc", 2, "ab" + T(2) + "c", true},
      {"a\t", 1, "a ", true},
      {"\t\t", 1, "  ", true},
      {"x\ty", 0, "x y", true},
  };
  for (const auto& c : cases) {
    bool hasTabs = !c.HasTabs;
    EXPECT_EQ(c.Expanded, ConvertTabsEx(c.Line, c.Width, hasTabs)) << testing::PrintToString(c.Line) << " w" << c.Width;
    EXPECT_EQ(c.HasTabs, hasTabs);
    // Every converter the store may pick gives the same text.
    EXPECT_EQ(c.Expanded, GetBestConvertTabsProcEx(c.Width)(c.Line, c.Width, hasTabs));
    EXPECT_EQ(c.Expanded, GetBestConvertTabsProc(c.Width)(c.Line, c.Width));
    EXPECT_EQ(static_cast<int>(c.Expanded.size()), GetExpandedLength(c.Line, c.Width < 1 ? 1 : c.Width));
    EXPECT_EQ(static_cast<int>(c.Expanded.size()), ExpandedTabsLength(c.Line, c.Width));
  }
}

TEST(ConvertTabsTest, BestConverterDependsOnTheWidth) {
  EXPECT_EQ(&ConvertTabsSingle, GetBestConvertTabsProc(0));
  EXPECT_EQ(&ConvertTabsSingle, GetBestConvertTabsProc(1));
  EXPECT_EQ(&ConvertTabsMask, GetBestConvertTabsProc(2));
  EXPECT_EQ(&ConvertTabsMask, GetBestConvertTabsProc(8));
  EXPECT_EQ(&ConvertTabsMask, GetBestConvertTabsProc(65536));
  EXPECT_EQ(&ConvertTabs, GetBestConvertTabsProc(3));
  EXPECT_EQ(&ConvertTabs, GetBestConvertTabsProc(6));
  EXPECT_EQ(&ConvertTabs, GetBestConvertTabsProc(131072));
  EXPECT_EQ(&ConvertTabsMaskEx, GetBestConvertTabsProcEx(4));
  EXPECT_EQ(&ConvertTabsSingleEx, GetBestConvertTabsProcEx(1));
}

TEST(ConvertTabsTest, ExpandedLengthStopsAtNul) {
  EXPECT_EQ(5, GetExpandedLength(std::string("\tab\0cd", 6), 3));
}

// Columns and character indices map onto each other at every position of
// tabbed lines and every width; the expanded text is the reference.
TEST(CaretColumnTest, MappingAgreesWithTheExpandedText) {
  const std::string lines[] = {"\ta", "a\tb", "ab\t\tc", "abcd\tx", "\t\t\t", "x\ty\tz\t", "plain"};
  for (int width : {1, 2, 3, 4, 8}) {
    for (const auto& line : lines) {
      std::string expanded = ConvertTabs(line, width);
      int column = 1;
      for (int index = 1; index <= static_cast<int>(line.size()) + 3; ++index) {
        EXPECT_EQ(column, CharIndex2CaretPos(index, width, line)) << testing::PrintToString(line) << " w" << width << " i" << index;
        bool inside = true;
        EXPECT_EQ(index, CaretPos2CharIndex(column, width, line, inside)) << testing::PrintToString(line) << " w" << width << " c" << column;
        EXPECT_FALSE(inside);
        int cells = index <= static_cast<int>(line.size()) && line[index - 1] == '\t' && width > 1
                        ? width - (column - 1) % width
                        : 1;
        for (int inner = 1; inner < cells; ++inner) {
          EXPECT_EQ(index, CaretPos2CharIndex(column + inner, width, line, inside)) << "inside a TAB";
          EXPECT_TRUE(inside);
        }
        column += cells;
      }
      EXPECT_EQ(static_cast<int>(expanded.size()) + 1, CharIndex2CaretPos(static_cast<int>(line.size()) + 1, width, line));
    }
  }
}

TEST(CaretColumnTest, ExamplesOfATabFollowedByALetter) {
  bool inside = false;
  EXPECT_EQ(6, CharIndex2CaretPos(3, 4, "\ta"));
  EXPECT_EQ(1, CaretPos2CharIndex(3, 4, "\ta", inside));
  EXPECT_TRUE(inside);
  EXPECT_EQ(1, CharIndex2CaretPos(0, 4, "\ta"));
  EXPECT_EQ(-2, CaretPos2CharIndex(-2, 4, "\ta", inside));
}

const TSrcIdentChars kLetters("abcxyzAB");

TEST(ScanTest, ForwardScanSkipsDoubleByteCharacters) {
  // "\xB0\x61" is one character whose trail byte equals 'a'.
  const std::string line = "\xB0" "a.b\xC7\xD1" "x";
  struct Case {
    int Start, Expected;
  } cases[] = {{0, 0}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 7}, {6, 7}, {7, 7}, {8, 0}};
  for (const auto& c : cases) EXPECT_EQ(c.Expected, StrScanForCharInSet(line, c.Start, kLetters)) << c.Start;
}

TEST(ScanTest, BackwardScanNeverStopsOnATrailByte) {
  const std::string line = "a\xB0" "b.\xC7\x41";
  struct Case {
    int Start, Expected;
  } cases[] = {{0, 0}, {1, 1}, {3, 1}, {4, 1}, {6, 1}, {99, 1}};
  for (const auto& c : cases) EXPECT_EQ(c.Expected, StrRScanForCharInSet(line, c.Start, kLetters)) << c.Start;
}

TEST(ScanTest, MultiByteScansFindLeadBytesOnly) {
  const std::string line = "ab\xC7\xD1" "c\xB0\xB0";
  EXPECT_EQ(3, StrScanForMultiByteChar(line, 1));
  EXPECT_EQ(6, StrScanForMultiByteChar(line, 4));  // 4 is the trail of the first
  EXPECT_EQ(0, StrScanForMultiByteChar(line, 0));
  EXPECT_EQ(0, StrScanForMultiByteChar(line, 8));
  EXPECT_EQ(6, StrRScanForMultiByteChar(line, 7));
  EXPECT_EQ(3, StrRScanForMultiByteChar(line, 5));
  EXPECT_EQ(0, StrRScanForMultiByteChar(line, 2));
}

TEST(MiscTest, SmallHelpers) {
  EXPECT_EQ(3, MinMax(5, 1, 3));
  EXPECT_EQ(1, MinMax(-2, 1, 3));
  EXPECT_EQ(1, MinMax(2, 1, 0));  // max first, then min
  int a = 1, b = 2;
  SwapInt(a, b);
  EXPECT_EQ(2, a);
  EXPECT_EQ(1, b);
  TPoint p{5, 1}, q{1, 2}, r{5, 1};
  EXPECT_EQ(p, MinPoint(p, q));
  EXPECT_EQ(q, MaxPoint(p, q));
  EXPECT_EQ(p, MinPoint(p, r));
  EXPECT_EQ((std::vector<int32_t>{7, 7, 7}), GetIntArray(3, 7));
  EXPECT_EQ((std::vector<int32_t>{0, 0}), GetIntArray(2, 0));
  const char* text = "ab\r\ncd";
  EXPECT_EQ(text + 2, GetEOL(text));
  EXPECT_EQ(nullptr, GetEOL(nullptr));
  const char* noBreak = "abc";
  EXPECT_EQ(noBreak + 3, GetEOL(noBreak));
}

TEST(MiscTest, StringTypesFromCharacterClasses) {
  struct Case {
    uint16_t Flags;
    TStringType Type;
  } cases[] = {
      {0x0008, stControl},      {0x0040, stHalfNumAlpha}, {0x8040, stHalfNumAlpha}, {0x0048, stHalfSymbol},
      {0x0440, stHalfSymbol},   {0x0050, stHalfKatakana}, {0x0041, stNone},         {0x0080, stWideNumAlpha},
      {0x8080, stWideNumAlpha}, {0x0088, stWideSymbol},   {0x8090, stWideKatakana}, {0x80A0, stHiragana},
      {0x8180, stIdeograph},    {0x0000, stNone},         {0x0200, stNone},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Type, IsStringType(c.Flags)) << std::hex << c.Flags;
}

TEST(MiscTest, EncodeAndDecodeRoundTrip) {
  struct Case {
    std::string Plain, Encoded;
  } cases[] = {
      {"", ""}, {"a/b", "a\\.b"}, {"a\\b", "a\\\\b"}, {"//\\", "\\.\\.\\\\"}, {"\\/", "\\\\\\."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.Encoded, EncodeString(c.Plain));
    EXPECT_EQ(c.Plain, DecodeString(c.Encoded));
  }
  EXPECT_EQ("a/", DecodeString("a\\x"));  // any other escaped character is a slash
  EXPECT_EQ("a\\", DecodeString("a\\"));  // a lone backslash at the end stays
}

}  // namespace
}  // namespace vk
