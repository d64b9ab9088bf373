#include "platform/SysUtils.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/CodePage.h"

namespace vk {

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(uint64_t value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*llX", digits, static_cast<unsigned long long>(value));
  return buffer;
}

namespace {

bool ParseInt(const std::string& text, int& out) {
  const char* p = text.c_str();
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  int base = 10;
  if (*p == '$') {
    base = 16;
    ++p;
  } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (*p == 0) return false;
  int64_t value = 0;
  for (; *p; ++p) {
    int digit;
    if (*p >= '0' && *p <= '9') digit = *p - '0';
    else if (base == 16 && *p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
    else if (base == 16 && *p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
    else return false;
    value = value * base + digit;
    // Hexadecimal literals may spell the full 32-bit pattern.
    if (value > (base == 16 ? int64_t(UINT32_MAX) : int64_t(INT_MAX) + 1)) return false;
  }
  if (base == 16) value = static_cast<int32_t>(static_cast<uint32_t>(value));
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return false;
  out = static_cast<int>(value);
  return p - text.c_str() == static_cast<ptrdiff_t>(text.size());
}

}  // namespace

int StrToInt(const std::string& text) {
  int value = 0;
  if (!ParseInt(text, value)) throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
  return value;
}

int StrToIntDef(const std::string& text, int fallback) {
  int value = 0;
  return ParseInt(text, value) ? value : fallback;
}

std::string Format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list copy;
  va_copy(copy, args);
  int size = std::vsnprintf(nullptr, 0, pattern, copy);
  va_end(copy);
  std::string result(size > 0 ? size : 0, '\0');
  if (size > 0) std::vsnprintf(result.data(), result.size() + 1, pattern, args);
  va_end(args);
  return result;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = int64_t(number) * numerator;
  int64_t half = (denominator < 0 ? -int64_t(denominator) : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  int64_t magnitude = (product < 0 ? -product : product) + half;
  int64_t quotient = magnitude / (denominator < 0 ? -int64_t(denominator) : denominator);
  if (quotient > INT_MAX) return -1;
  return static_cast<int>(negative ? -quotient : quotient);
}

std::string TrimLeft(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  return text.substr(i);
}

std::string TrimRight(const std::string& text) {
  size_t n = text.size();
  while (n > 0 && static_cast<unsigned char>(text[n - 1]) <= ' ') --n;
  return text.substr(0, n);
}

std::string Trim(const std::string& text) { return TrimLeft(TrimRight(text)); }

std::string UpperCase(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = static_cast<char>(CodePage::AsciiUpper(static_cast<unsigned char>(c)));
  return result;
}

std::string LowerCase(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = static_cast<char>(CodePage::AsciiLower(static_cast<unsigned char>(c)));
  return result;
}

int CompareText(const std::string& a, const std::string& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int ca = CodePage::AsciiUpper(static_cast<unsigned char>(a[i]));
    int cb = CodePage::AsciiUpper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const std::string& a, const std::string& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

}  // namespace vk
