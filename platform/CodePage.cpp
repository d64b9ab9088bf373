#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

namespace vk::CodePage {

// A byte that cannot lead a character is the last byte of one (a single
// byte, or the trail byte of a pair), so a character starts right after it.
// The bytes from there to the index could all lead: they pair up from the
// first, and the index is a trail byte when an odd number of them lie
// before it.
TMbcsByteType ByteTypeAt(const char* text, size_t length, size_t index) {
  if (index >= length) return mbSingleByte;
  size_t start = index;
  while (start > 0 && IsLeadByte(static_cast<unsigned char>(text[start - 1]))) --start;
  if ((index - start) % 2 == 1) return mbTrailByte;
  return IsLeadByte(static_cast<unsigned char>(text[index])) ? mbLeadByte : mbSingleByte;
}

bool IsCharAlphaNumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

namespace {

// Converts between encodings. A character that does not convert gives the
// replacement text and the conversion goes on with the next byte; without a
// replacement it ends the conversion with no result.
std::optional<std::string> Convert(const char* to, const char* from, const std::string& text,
                                   const std::string* replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string result;
  result.reserve(text.size() * 2);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[256];
  bool failed = false;
  while (inLeft > 0 && !failed) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    result.append(buffer, out - buffer);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      failed = !replacement;
      if (failed) break;
      // Some converters consume the bad bytes themselves before they
      // report them; skip one only when it is still there, and with it the
      // rest of a UTF-8 character, so that one character gives one
      // replacement.
      result += *replacement;
      const bool utf8 = std::string_view(from) == "UTF-8";
      for (bool first = true; inLeft > 0 && (first || (utf8 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80));
           first = false) {
        ++in;
        --inLeft;
      }
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  if (failed) return std::nullopt;
  return result;
}

std::string Convert(const char* to, const char* from, const std::string& text, const std::string& replacement) {
  return *Convert(to, from, text, &replacement);
}

char32_t DecodeDoubleByte(unsigned char lead, unsigned char trail) {
  std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
  std::string wide = Convert("UTF-32LE", "CP949", pair, std::string(4, '\0'));
  if (wide.size() != 4) return 0;
  return static_cast<unsigned char>(wide[0]) | static_cast<unsigned char>(wide[1]) << 8 |
         static_cast<unsigned char>(wide[2]) << 16 | static_cast<char32_t>(static_cast<unsigned char>(wide[3])) << 24;
}

uint16_t ClassifyWide(char32_t u) {
  if (u == 0) return 0;
  auto in = [u](char32_t lo, char32_t hi) { return u >= lo && u <= hi; };
  if (in(0xAC00, 0xD7A3) || in(0x3131, 0x318E) || in(0x0370, 0x03FF) || in(0x0400, 0x04FF))
    return C3_FULLWIDTH | C3_ALPHA;
  if (in(0x4E00, 0x9FFF) || in(0xF900, 0xFAFF) || in(0x3400, 0x4DBF)) return C3_IDEOGRAPH | C3_FULLWIDTH | C3_ALPHA;
  if (in(0x3041, 0x309F)) return C3_HIRAGANA | C3_FULLWIDTH | C3_ALPHA;
  if (in(0x30A0, 0x30FF)) return C3_KATAKANA | C3_FULLWIDTH | C3_ALPHA;
  if (in(0xFF10, 0xFF19)) return C3_FULLWIDTH;
  if (in(0xFF21, 0xFF3A) || in(0xFF41, 0xFF5A)) return C3_FULLWIDTH | C3_ALPHA;
  return C3_SYMBOL | C3_FULLWIDTH;
}

// Type-3 flags of every double-byte character, built once on first use.
const std::array<uint16_t, 128 * 256>& WideTypes() {
  static std::unique_ptr<std::array<uint16_t, 128 * 256>> table;
  static std::once_flag once;
  std::call_once(once, [] {
    table = std::make_unique<std::array<uint16_t, 128 * 256>>();
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
      for (unsigned trail = 0x41; trail <= 0xFE; ++trail)
        (*table)[(lead - 0x80) * 256 + trail] = ClassifyWide(DecodeDoubleByte(lead, trail));
  });
  return *table;
}

uint16_t ClassifySingle(unsigned char c) {
  if (c >= 0x80 || c < 0x20 || c == 0x7F) return 0;
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return C3_HALFWIDTH | C3_ALPHA;
  if (c >= '0' && c <= '9') return C3_HALFWIDTH;
  return C3_HALFWIDTH | C3_SYMBOL;
}

}  // namespace

uint16_t CharType3(const char* text, size_t length, size_t index) {
  if (index >= length) return 0;
  auto lead = static_cast<unsigned char>(text[index]);
  if (!IsLeadByte(lead)) return ClassifySingle(lead);
  if (index + 1 >= length) return 0;
  return WideTypes()[(lead - 0x80) * 256 + static_cast<unsigned char>(text[index + 1])];
}

std::string ToUtf8(const std::string& ansi) { return Convert("UTF-8", "CP949", ansi, "\xEF\xBF\xBD"); }

std::string FromUtf8(const std::string& utf8) { return Convert("CP949", "UTF-8", utf8, "?"); }

std::optional<std::string> ExactToUtf8(const std::string& ansi) { return Convert("UTF-8", "CP949", ansi, nullptr); }

std::optional<std::string> ExactFromUtf8(const std::string& utf8) { return Convert("CP949", "UTF-8", utf8, nullptr); }

}  // namespace vk::CodePage
