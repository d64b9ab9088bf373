#include "services/BitToByteText.h"

namespace vk {

const char* const HexDigits = "0123456789ABCDEF";

int HexDigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return 0;
}

namespace {
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
}  // namespace

std::optional<uint8_t> ByteFromText(std::string_view text) {
  if (text.size() < 4 || !IsHexDigit(text[2]) || !IsHexDigit(text[3])) return std::nullopt;
  return static_cast<uint8_t>(16 * HexDigitValue(text[2]) + HexDigitValue(text[3]));
}

std::string ByteText(uint8_t value) { return std::string("0X") + HexDigits[value >> 4] + HexDigits[value & 15]; }

}  // namespace vk
