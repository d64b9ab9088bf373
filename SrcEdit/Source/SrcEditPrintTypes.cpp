#include "SrcEdit/Source/SrcEditPrintTypes.h"

#include <bit>

namespace vk {

bool WrapTextEx(const std::string& line, const TSrcIdentChars& breakChars, int maxCol, std::vector<TWrapPos>& list) {
  int length = static_cast<int>(line.size());
  if (length <= maxCol) return true;
  bool found = false;
  int lastBreak = 0;
  TWrapPos candidate = 0;
  for (int p = 1; p <= length; ++p) {
    bool ready = p - lastBreak > maxCol && candidate != 0;
    if (!ready) {
      // The last break character within the limit wins.
      if (breakChars.Contains(static_cast<unsigned char>(line[p - 1]))) candidate = p;
      continue;
    }
    found = true;
    list.push_back(candidate);
    lastBreak = candidate;
    if (length - lastBreak <= maxCol) break;
    candidate = 0;
  }
  return found;
}

std::string IntToRoman(int value) {
  struct TNumeral {
    int Value;
    const char* Text;
    bool Repeats;
  };
  static constexpr TNumeral Numerals[] = {{1000, "M", true}, {900, "CM", false}, {500, "D", true}, {400, "CD", false},
                                          {100, "C", true},  {90, "XC", false},  {50, "L", true},  {40, "XL", false},
                                          {10, "X", true},   {9, "IX", false},   {5, "V", true},   {4, "IV", false},
                                          {1, "I", true}};
  std::string roman;
  for (const TNumeral& numeral : Numerals) {
    while (value >= numeral.Value) {
      roman += numeral.Text;
      value -= numeral.Value;
      if (!numeral.Repeats) break;
    }
  }
  return roman;
}

void CopyFontExactly(TFont& dest, const TFont& source) {
  dest.SetPixelsPerInch(source.PixelsPerInch());
  dest.Assign(source);
}

// ---------------------------------------------------------------- stream records

static_assert(std::endian::native == std::endian::little, "the records are little-endian");

namespace {

[[noreturn]] void ReadError() { throw EReadError("Stream read error"); }

}  // namespace

int64_t TPrintStreamReader::Remaining() { return FStream.Size() - FStream.Position(); }

uint8_t TPrintStreamReader::Byte() {
  uint8_t value;
  Bytes(&value, 1);
  return value;
}

int32_t TPrintStreamReader::Int() {
  int32_t value;
  Bytes(&value, 4);
  return value;
}

std::string TPrintStreamReader::Text() {
  int32_t length = Int();
  if (length < 0 || length > Remaining()) ReadError();
  std::string text(static_cast<size_t>(length), '\0');
  Bytes(text.data(), length);
  return text.substr(0, text.find('\0'));
}

int TPrintStreamReader::Count(int minSize) {
  int32_t count = Int();
  if (count <= 0) return 0;
  if (count > Remaining() / minSize) ReadError();
  return count;
}

void WriteByte(TStream& stream, uint8_t value) { stream.WriteBuffer(&value, 1); }

void WriteInt(TStream& stream, int32_t value) { stream.WriteBuffer(&value, 4); }

void WriteText(TStream& stream, const std::string& text) {
  WriteInt(stream, static_cast<int32_t>(text.size()));
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

}  // namespace vk
