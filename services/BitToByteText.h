#pragma once
// The bit/byte converter's text: a byte as eight bits and as the text
// "0X3F".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

// Digit value d is the character at index d.
extern const char* const HexDigits;

// The value of a hexadecimal digit of either case; 0 for any other byte.
int HexDigitValue(char digit);

// The byte written by the two characters after a two-character prefix
// ("0x3f" and "ab3F" both give 0x3F; the prefix is not looked at). Nothing
// when the text is shorter than four characters or either of those two is
// no hexadecimal digit.
std::optional<uint8_t> ByteFromText(std::string_view text);

// "0X" and two upper-case digits.
std::string ByteText(uint8_t value);

inline bool BitOf(uint8_t value, int bit) { return (value >> bit) & 1; }

}  // namespace vk
