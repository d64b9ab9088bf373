// FormatDateTime: the class library's date and time patterns.

#include <algorithm>
#include <string>

#include "platform/CodePage.h"
#include "platform/DateTimes.h"

namespace vk {

namespace {

class TDateTimeWriter {
public:
  TDateTimeWriter(TDateTime value, const TFormatSettings& settings) : FValue(value), FSettings(settings) {
    DecodeDate(value, FYear, FMonth, FDay);
    DecodeTime(value, FHour, FMinute, FSecond, FMs);
    FMonth = std::clamp(FMonth, 1, 12);  // a value outside the calendar still names some month
  }

  void Write(const std::string& pattern, int depth) {
    // Patterns that name other patterns cannot nest without end.
    if (depth > 3) return;
    char lastLetter = 0;  // "m" after "h" (letters between count, other text not) means minutes
    for (size_t i = 0; i < pattern.size();) {
      char c = static_cast<char>(CodePage::AsciiUpper(static_cast<unsigned char>(pattern[i])));
      size_t run = RunLength(pattern, i);
      if (c == 'M' && lastLetter == 'H') c = 'N';
      if (c >= 'A' && c <= 'Z') lastLetter = c;
      switch (c) {
        case '"':
        case '\'': {
          size_t end = pattern.find(pattern[i], i + 1);
          if (end == std::string::npos) end = pattern.size();
          FOut += pattern.substr(i + 1, end - i - 1);
          i = end + 1;
          continue;
        }
        case 'C':
          Write(FSettings.ShortDateFormat, depth + 1);
          if (FHour || FMinute || FSecond || FMs) {
            FOut += ' ';
            Write(FSettings.LongTimeFormat, depth + 1);
          }
          run = 1;
          break;
        case 'D':
          if (run <= 2) Number(FDay, run);
          else if (run == 3) FOut += FSettings.ShortDayNames[DayOfWeek(FValue) - 1];
          else if (run == 4) FOut += FSettings.LongDayNames[DayOfWeek(FValue) - 1];
          else Write(run == 5 ? FSettings.ShortDateFormat : FSettings.LongDateFormat, depth + 1);
          run = std::min<size_t>(run, 6);
          break;
        case 'M':
          run = std::min<size_t>(run, 4);
          if (run <= 2) Number(FMonth, run);
          else FOut += run == 3 ? FSettings.ShortMonthNames[FMonth - 1] : FSettings.LongMonthNames[FMonth - 1];
          break;
        case 'Y':
          if (run <= 2) Number(FYear % 100, 2);
          else Number(FYear, 4);
          break;
        case 'H': {
          run = std::min<size_t>(run, 2);
          int shown = FHour;
          if (HasAmPm(pattern, i + run)) shown = FHour % 12 == 0 ? 12 : FHour % 12;
          Number(shown, run);
          break;
        }
        case 'N': run = std::min<size_t>(run, 2); Number(FMinute, run); break;
        case 'S': run = std::min<size_t>(run, 2); Number(FSecond, run); break;
        case 'Z': run = std::min<size_t>(run, 3); Number(FMs, run == 1 ? 1 : 3); break;
        case 'T':
          run = std::min<size_t>(run, 2);
          Write(run == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, depth + 1);
          break;
        case 'A':
          run = AmPm(pattern, i);
          if (run == 0) {
            FOut += pattern[i];
            run = 1;
          }
          break;
        case '/': FOut += FSettings.DateSeparator; run = 1; break;
        case ':': FOut += FSettings.TimeSeparator; run = 1; break;
        default:
          run = CodePage::CharLength(pattern.data(), pattern.size(), i);
          FOut += pattern.substr(i, run);
          break;
      }
      i += run;
    }
  }

  const std::string& Text() const { return FOut; }

private:
  static size_t RunLength(const std::string& pattern, size_t i) {
    size_t end = i + 1;
    auto upper = [](char c) { return CodePage::AsciiUpper(static_cast<unsigned char>(c)); };
    while (end < pattern.size() && upper(pattern[end]) == upper(pattern[i])) ++end;
    return end - i;
  }

  static bool StartsWithText(const std::string& pattern, size_t i, const char* text) {
    for (size_t k = 0; text[k]; ++k)
      if (i + k >= pattern.size() ||
          CodePage::AsciiUpper(static_cast<unsigned char>(pattern[i + k])) != static_cast<unsigned char>(text[k]))
        return false;
    return true;
  }

  // An am/pm marker later in the pattern (before the next hour) makes the
  // hour count to 12.
  static bool HasAmPm(const std::string& pattern, size_t from) {
    for (size_t i = from; i < pattern.size(); ++i) {
      char c = pattern[i];
      if (c == '"' || c == '\'') {
        size_t end = pattern.find(c, i + 1);
        if (end == std::string::npos) return false;
        i = end;
      } else if (c == 'h' || c == 'H') {
        return false;
      } else if (StartsWithText(pattern, i, "AMPM") || StartsWithText(pattern, i, "AM/PM") ||
                 StartsWithText(pattern, i, "A/P")) {
        return true;
      }
    }
    return false;
  }

  // Writes the am/pm marker at pattern[i] and answers its length (0: none).
  size_t AmPm(const std::string& pattern, size_t i) {
    bool pm = FHour >= 12;
    if (StartsWithText(pattern, i, "AMPM")) {
      FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString;
      return 4;
    }
    if (StartsWithText(pattern, i, "AM/PM")) {
      FOut += pattern.substr(pm ? i + 3 : i, 2);  // in the pattern's own letter case
      return 5;
    }
    if (StartsWithText(pattern, i, "A/P")) {
      FOut += pattern[pm ? i + 2 : i];
      return 3;
    }
    return 0;
  }

  void Number(int value, size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    FOut += digits;
  }

  TDateTime FValue;
  const TFormatSettings& FSettings;
  int FYear, FMonth, FDay, FHour, FMinute, FSecond, FMs;
  std::string FOut;
};

}  // namespace

std::string FormatDateTime(const std::string& pattern, TDateTime value, const TFormatSettings& settings) {
  TDateTimeWriter writer(value, settings);
  writer.Write(pattern.empty() ? "c" : pattern, 0);
  return writer.Text();
}

std::string FormatDateTime(const std::string& pattern, TDateTime value) {
  return FormatDateTime(pattern, value, FormatSettings());
}

}  // namespace vk
