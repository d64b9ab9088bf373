#pragma once
// The system's ANSI code page, CP949 (Korean). This is the only module that
// knows which bytes lead a double-byte character and how characters classify.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };

// Character-type flags of the "type 3" class (one bit each, as the system
// defines them).
enum : uint16_t {
  C3_NONSPACING = 0x0001,
  C3_DIACRITIC = 0x0002,
  C3_VOWELMARK = 0x0004,
  C3_SYMBOL = 0x0008,
  C3_KATAKANA = 0x0010,
  C3_HIRAGANA = 0x0020,
  C3_HALFWIDTH = 0x0040,
  C3_FULLWIDTH = 0x0080,
  C3_IDEOGRAPH = 0x0100,
  C3_KASHIDA = 0x0200,
  C3_LEXICAL = 0x0400,
  C3_ALPHA = 0x8000,
};

namespace CodePage {

// The system has a double-byte code page; callers that handle single-byte
// systems too ask this instead of assuming.
constexpr bool IsFarEast() { return true; }

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Byte type of text[index] (0-based) as a scan from the start of the text
// classifies it: a lead byte makes the byte after it a trail byte whatever
// its value. Only the bytes before the index that could lead a character
// are looked at, so the cost is that run's, not the text's.
TMbcsByteType ByteTypeAt(const char* text, size_t length, size_t index);
inline TMbcsByteType ByteTypeAt(std::string_view text, size_t index) {
  return ByteTypeAt(text.data(), text.size(), index);
}

// Length in bytes of the character that starts at text[index]: 2 for a lead
// byte followed by another byte, else 1.
inline size_t CharLength(const char* text, size_t length, size_t index) {
  return index + 1 < length && IsLeadByte(static_cast<unsigned char>(text[index])) ? 2 : 1;
}

// Case mapping of the 256 bytes: ASCII letters only, the code page has no
// other single-byte letters.
inline unsigned char AsciiUpper(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
inline unsigned char AsciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool IsCharAlphaNumeric(unsigned char c);

// Type-3 flags of the character that starts at text[index]: one byte, or a
// lead byte with its trail byte.
uint16_t CharType3(const char* text, size_t length, size_t index);

// Conversions at the edge of the system (drawing, clipboard, native widgets).
// Bytes that do not convert become U+FFFD one way and '?' the other.
std::string ToUtf8(const std::string& ansi);
std::string FromUtf8(const std::string& utf8);
// The same without replacements: nullopt when a byte or character does not
// convert.
std::optional<std::string> ExactToUtf8(const std::string& ansi);
std::optional<std::string> ExactFromUtf8(const std::string& utf8);

}  // namespace CodePage
}  // namespace vk
