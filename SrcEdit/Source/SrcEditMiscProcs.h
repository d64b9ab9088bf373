#pragma once
// Stateless text helpers of the editor: tab expansion, caret-column
// arithmetic over tabbed lines, scans that respect double-byte characters,
// clamping and the escaping of "/"-separated texts.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "SrcEdit/Source/SrcEditTypes.h"

namespace vk {

// Which of the sixteen bytes at `at` are one of Stops: bit i for byte i.
// A search that looks at a block at a time costs a fraction of a byte loop
// or of a library call per byte found.
template <char... Stops>
inline uint32_t StopMask(const char* at) {
#if defined(__SSE2__)
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  __m128i hits = _mm_setzero_si128();
  ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Stops)))), ...);
  return static_cast<uint32_t>(_mm_movemask_epi8(hits));
#else
  // The compiler's vectors elsewhere: the high bit of every matching byte,
  // gathered eight at a time into the low byte of a product.
  static_assert(std::endian::native == std::endian::little);
  using TBlock = uint8_t __attribute__((vector_size(16)));
  using TMask = int8_t __attribute__((vector_size(16)));
  TBlock block;
  std::memcpy(&block, at, sizeof block);
  TMask hits = {};
  ((hits |= block == static_cast<uint8_t>(Stops)), ...);
  uint64_t halves[2];
  std::memcpy(halves, &hits, sizeof halves);
  auto gather = [](uint64_t half) {
    return static_cast<uint32_t>((((half & 0x8080808080808080u) >> 7) * 0x0102040810204080u) >> 56);
  };
  return gather(halves[0]) | gather(halves[1]) << 8;
#endif
}

// Tab expansion: each TAB is replaced by as many TAB characters as cells it
// covers; width 1 (and below) turns each TAB into one blank.
std::string ConvertTabsEx(const std::string& line, int tabWidth, bool& hasTabs);
std::string ConvertTabs(const std::string& line, int tabWidth);
std::string ConvertTabsMaskEx(const std::string& line, int tabWidth, bool& hasTabs);
std::string ConvertTabsMask(const std::string& line, int tabWidth);
std::string ConvertTabsSingleEx(const std::string& line, int tabWidth, bool& hasTabs);
std::string ConvertTabsSingle(const std::string& line, int tabWidth);
TConvertTabsProc GetBestConvertTabsProc(int tabWidth);
TConvertTabsProcEx GetBestConvertTabsProcEx(int tabWidth);
// The length of the line the expansion gives, without building it.
int ExpandedTabsLength(std::string_view line, int tabWidth);

// Display length of the line; stops at the first NUL.
int GetExpandedLength(const std::string& line, int tabWidth);
// 1-based character index -> 1-based display column.
int CharIndex2CaretPos(int index, int tabWidth, std::string_view line);
// Whether the 1-based character index falls on the second byte of a
// double-byte character.
bool IsTrailByte(std::string_view line, int index);
// 1-based display column -> 1-based character index; insideChar tells that
// the column falls inside the cells of a TAB.
int CaretPos2CharIndex(int column, int tabWidth, std::string_view line, bool& insideChar);

// Scans by 1-based index; 0 means not found. They never stop on the trail
// byte of a double-byte character.
int StrScanForCharInSet(const std::string& line, int start, const TSrcIdentChars& set);
int StrRScanForCharInSet(const std::string& line, int start, const TSrcIdentChars& set);
int StrScanForMultiByteChar(const std::string& line, int start);
int StrRScanForMultiByteChar(const std::string& line, int start);

// The first CR, LF or NUL; null for null.
const char* GetEOL(const char* text);

int MinMax(int value, int minimum, int maximum);
void SwapInt(int& a, int& b);
TPoint MinPoint(const TPoint& a, const TPoint& b);
TPoint MaxPoint(const TPoint& a, const TPoint& b);
std::vector<int32_t> GetIntArray(size_t count, int32_t value);

// Character class of a character from its type-3 flags.
TStringType IsStringType(uint16_t flags);

// Escaping for texts stored in a "/"-separated form.
std::string EncodeString(const std::string& text);
std::string DecodeString(const std::string& text);

class TCanvas;

// Fills the rectangle with a gradient from startColor to endColor in
// steps bands (clamped to 2..256), left to right when horizontal, else top
// to bottom.
void SrcDrawGradient(TCanvas& canvas, TColor startColor, TColor endColor, int steps, const TRect& rect,
                     bool horizontal);

}  // namespace vk
