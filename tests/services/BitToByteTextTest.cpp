#include "services/BitToByteText.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace vk {
namespace {

TEST(BitToByteTest, EveryBitPatternWritesAndReadsItsByteText) {
  for (int value = 0; value < 256; ++value) {
    const auto byte = static_cast<uint8_t>(value);
    char expected[8];
    std::snprintf(expected, sizeof expected, "0X%02X", value);
    EXPECT_EQ(ByteText(byte), expected);
    EXPECT_EQ(ByteFromText(ByteText(byte)), byte);
    int sum = 0;
    for (int bit = 0; bit < 8; ++bit) sum += BitOf(byte, bit) << bit;
    EXPECT_EQ(sum, value);
  }
}

TEST(BitToByteTest, TextsThatHoldNoByteLeaveItUnread) {
  const struct {
    std::string text;
    std::optional<uint8_t> byte;
  } cases[] = {
      {"0x3f ", 0x3F}, {"0x3F", 0x3F}, {"ab3F", 0x3F}, {"0x0a", 0x0A},
      {"0x5", std::nullopt}, {"0xG1", std::nullopt}, {"0x1G", std::nullopt}, {"", std::nullopt},
      {"0", std::nullopt}, {"0x", std::nullopt}, {"0x\xB0\xA1", std::nullopt}, {"0x 1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ByteFromText(c.text), c.byte) << c.text;
  EXPECT_EQ(HexDigitValue('f'), 15);
  EXPECT_EQ(HexDigitValue('\xC1'), 0);
}

}  // namespace
}  // namespace vk
