#include "SrcEdit/Source/SrcEditMiscProcs.h"

#include <algorithm>
#include <cstring>

#include "platform/Canvas.h"
#include "platform/CodePage.h"

namespace vk {

namespace {

int NextStop(int position, int tabWidth) { return position + tabWidth - position % tabWidth; }
int NextStopMask(int position, int tabWidth) { return (position + tabWidth) & ~(tabWidth - 1); }

// Both passes of the expansion, with the rule for the next tab stop given.
template <int (*Stop)(int, int)>
std::string ExpandTabs(const std::string& line, int tabWidth, bool& hasTabs) {
  size_t firstTab = line.find('\t');
  hasTabs = firstTab != std::string::npos;
  if (!hasTabs) return line;
  std::string result;
  result.reserve(static_cast<size_t>(ExpandedTabsLength(line, tabWidth)));
  result.append(line, 0, firstTab);
  for (size_t i = firstTab; i < line.size(); ++i) {
    if (line[i] == '\t') {
      int cell = static_cast<int>(result.size());
      result.append(Stop(cell, tabWidth) - cell, '\t');
    } else {
      result += line[i];
    }
  }
  return result;
}

bool IsPowerOfTwoWidth(int tabWidth) {
  int width = 2;
  while (width < tabWidth && width <= 65535) width *= 2;
  return width == tabWidth;
}

bool InSet(const TSrcIdentChars& set, char c) { return set.Contains(static_cast<unsigned char>(c)); }
bool IsLead(char c) { return CodePage::IsLeadByte(static_cast<unsigned char>(c)); }

}  // namespace

std::string ConvertTabsSingleEx(const std::string& line, int, bool& hasTabs) {
  std::string result = line;
  hasTabs = false;
  for (char& c : result) {
    if (c == '\t') {
      c = ' ';
      hasTabs = true;
    }
  }
  return result;
}

std::string ConvertTabsEx(const std::string& line, int tabWidth, bool& hasTabs) {
  if (tabWidth < 2) return ConvertTabsSingleEx(line, tabWidth, hasTabs);
  return ExpandTabs<NextStop>(line, tabWidth, hasTabs);
}

std::string ConvertTabsMaskEx(const std::string& line, int tabWidth, bool& hasTabs) {
  if (!IsPowerOfTwoWidth(tabWidth)) return ConvertTabsEx(line, tabWidth, hasTabs);
  return ExpandTabs<NextStopMask>(line, tabWidth, hasTabs);
}

std::string ConvertTabs(const std::string& line, int tabWidth) {
  bool hasTabs;
  return ConvertTabsEx(line, tabWidth, hasTabs);
}

std::string ConvertTabsMask(const std::string& line, int tabWidth) {
  bool hasTabs;
  return ConvertTabsMaskEx(line, tabWidth, hasTabs);
}

std::string ConvertTabsSingle(const std::string& line, int tabWidth) {
  bool hasTabs;
  return ConvertTabsSingleEx(line, tabWidth, hasTabs);
}

TConvertTabsProc GetBestConvertTabsProc(int tabWidth) {
  if (tabWidth < 2) return &ConvertTabsSingle;
  return IsPowerOfTwoWidth(tabWidth) ? &ConvertTabsMask : &ConvertTabs;
}

int ExpandedTabsLength(std::string_view line, int tabWidth) {
  if (tabWidth < 2) return static_cast<int>(line.size());
  // Only the tabs need a look: every byte between them is one column.
  int position = 0;
  for (size_t from = 0;;) {
    const size_t tab = line.find('\t', from);
    if (tab == std::string_view::npos) return position + static_cast<int>(line.size() - from);
    position = NextStop(position + static_cast<int>(tab - from), tabWidth);
    from = tab + 1;
  }
}

TConvertTabsProcEx GetBestConvertTabsProcEx(int tabWidth) {
  if (tabWidth < 2) return &ConvertTabsSingleEx;
  return IsPowerOfTwoWidth(tabWidth) ? &ConvertTabsMaskEx : &ConvertTabsEx;
}

int GetExpandedLength(const std::string& line, int tabWidth) {
  if (tabWidth < 1) tabWidth = 1;
  int position = 0;
  for (char c : line) {
    if (c == 0) break;
    position = c == '\t' ? NextStop(position, tabWidth) : position + 1;
  }
  return position;
}

int CharIndex2CaretPos(int index, int tabWidth, std::string_view line) {
  if (index < 2) return 1;
  // Only the characters before the index count.
  const size_t firstTab = line.substr(0, static_cast<size_t>(index - 1)).find('\t');
  if (tabWidth <= 1 || firstTab == std::string_view::npos) return index;
  int before = static_cast<int>(firstTab);
  int position = before;
  int remaining = index - (before + 1);
  for (size_t i = firstTab; remaining > 0 && i < line.size(); ++i, --remaining)
    position = line[i] == '\t' ? NextStop(position, tabWidth) : position + 1;
  return position + remaining + 1;
}

bool IsTrailByte(std::string_view line, int index) {
  return index >= 2 && index <= static_cast<int>(line.size()) &&
         CodePage::ByteTypeAt(line.data(), line.size(), static_cast<size_t>(index - 1)) == mbTrailByte;
}

int CaretPos2CharIndex(int column, int tabWidth, std::string_view line, bool& insideChar) {
  insideChar = false;
  if (column <= 1) return column;
  // Every character takes one column at least: a TAB at the column or
  // right of it moves nothing left of it.
  const size_t firstTab = line.substr(0, static_cast<size_t>(column - 1)).find('\t');
  if (tabWidth <= 1 || firstTab == std::string_view::npos) return column;
  int before = static_cast<int>(firstTab);
  int result = before + 1;
  int position = before;
  int target = column - 1;
  while (position < target && result <= static_cast<int>(line.size())) {
    if (line[result - 1] == '\t') {
      position = NextStop(position, tabWidth);
      if (position > target) {
        insideChar = true;
        return result;
      }
    } else {
      ++position;
    }
    ++result;
  }
  // Columns past the end of the line map one to one, as the reverse
  // mapping counts them.
  return result + (target - position);
}

int StrScanForCharInSet(const std::string& line, int start, const TSrcIdentChars& set) {
  int length = static_cast<int>(line.size());
  if (start < 1 || start > length) return 0;
  if (CodePage::ByteTypeAt(line, start - 1) == mbTrailByte) ++start;
  for (int i = start; i <= length; ++i) {
    if (IsLead(line[i - 1])) ++i;
    else if (InSet(set, line[i - 1])) return i;
  }
  return 0;
}

int StrRScanForCharInSet(const std::string& line, int start, const TSrcIdentChars& set) {
  int last = start < static_cast<int>(line.size()) ? start : static_cast<int>(line.size());
  int hit = 0;
  for (int i = 1; i <= last; ++i) {
    if (IsLead(line[i - 1])) ++i;
    else if (InSet(set, line[i - 1])) hit = i;
  }
  return hit;
}

int StrScanForMultiByteChar(const std::string& line, int start) {
  int length = static_cast<int>(line.size());
  if (!CodePage::IsFarEast() || start < 1 || start > length) return 0;
  if (CodePage::ByteTypeAt(line, start - 1) == mbTrailByte) ++start;
  for (int i = start; i <= length; ++i) {
    if (IsLead(line[i - 1])) return i;
  }
  return 0;
}

int StrRScanForMultiByteChar(const std::string& line, int start) {
  int length = static_cast<int>(line.size());
  if (!CodePage::IsFarEast() || start < 1 || start > length) return 0;
  int hit = 0;
  for (int i = 1; i <= start; ++i) {
    if (IsLead(line[i - 1])) {
      hit = i;
      ++i;
    }
  }
  return hit;
}

const char* GetEOL(const char* text) {
  if (!text) return nullptr;
  return text + std::strcspn(text, "\r\n");
}

int MinMax(int value, int minimum, int maximum) {
  if (value > maximum) value = maximum;
  if (value < minimum) value = minimum;
  return value;
}

void SwapInt(int& a, int& b) {
  int t = a;
  a = b;
  b = t;
}

TPoint MinPoint(const TPoint& a, const TPoint& b) {
  if (b.Y < a.Y || (b.Y == a.Y && b.X < a.X)) return b;
  return a;
}

TPoint MaxPoint(const TPoint& a, const TPoint& b) {
  if (b.Y > a.Y || (b.Y == a.Y && b.X > a.X)) return b;
  return a;
}

std::vector<int32_t> GetIntArray(size_t count, int32_t value) { return std::vector<int32_t>(count, value); }

TStringType IsStringType(uint16_t flags) {
  if (flags == C3_SYMBOL) return stControl;
  if (flags & C3_HALFWIDTH) {
    if (flags == C3_HALFWIDTH || flags == (C3_HALFWIDTH | C3_ALPHA)) return stHalfNumAlpha;
    if (flags & (C3_SYMBOL | C3_LEXICAL)) return stHalfSymbol;
    if (flags & C3_KATAKANA) return stHalfKatakana;
    return stNone;
  }
  if (flags == C3_FULLWIDTH || flags == (C3_FULLWIDTH | C3_ALPHA)) return stWideNumAlpha;
  if (flags & (C3_SYMBOL | C3_LEXICAL)) return stWideSymbol;
  if (flags & C3_KATAKANA) return stWideKatakana;
  if (flags & C3_HIRAGANA) return stHiragana;
  if (flags & C3_IDEOGRAPH) return stIdeograph;
  return stNone;
}

std::string EncodeString(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == '\\') result += "\\\\";
    else if (c == '/') result += "\\.";
    else result += c;
  }
  return result;
}

std::string DecodeString(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // A backslash at the very end has nothing to escape and stays as it is.
    if (text[i] == '\\' && i + 1 < text.size()) {
      result += text[i + 1] == '\\' ? '\\' : '/';
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

void SrcDrawGradient(TCanvas& canvas, TColor startColor, TColor endColor, int steps, const TRect& rect,
                     bool horizontal) {
  steps = std::clamp(steps, 2, 256);
  TColorRef from = ColorToRGB(startColor), to = ColorToRGB(endColor);
  int extent = horizontal ? rect.Width() : rect.Height();
  for (int i = 0; i < steps; ++i) {
    auto channel = [&](int a, int b) { return a + MulDiv(i, b - a, steps - 1); };
    canvas.Brush().SetColor(static_cast<TColor>(RGB(channel(GetRValue(from), GetRValue(to)),
                                                    channel(GetGValue(from), GetGValue(to)),
                                                    channel(GetBValue(from), GetBValue(to)))));
    int bandStart = MulDiv(i, extent, steps), bandEnd = MulDiv(i + 1, extent, steps);
    canvas.FillRect(horizontal ? Rect(rect.Left + bandStart, rect.Top, rect.Left + bandEnd, rect.Bottom)
                               : Rect(rect.Left, rect.Top + bandStart, rect.Right, rect.Top + bandEnd));
  }
}

}  // namespace vk
