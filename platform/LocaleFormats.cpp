#include "platform/LocaleFormats.h"

#include <langinfo.h>
#include <locale.h>

#include <optional>

#include "platform/CodePage.h"

namespace vk {

namespace {

// A locale object for the two categories the settings come from.
class TLocale {
public:
  explicit TLocale(const std::string& name)
      : FHandle(newlocale(LC_TIME_MASK | LC_NUMERIC_MASK | LC_CTYPE_MASK, name.c_str(), nullptr)) {}
  ~TLocale() {
    if (FHandle) freelocale(FHandle);
  }
  TLocale(const TLocale&) = delete;
  TLocale& operator=(const TLocale&) = delete;
  bool Valid() const { return FHandle != nullptr; }

  // An item in the system's code page; a character it lacks becomes a blank
  // (narrow no-break spaces are the usual case).
  std::string Text(nl_item item) const {
    std::string text = nl_langinfo_l(item, FHandle);
    std::string codeset = nl_langinfo_l(CODESET, FHandle);
    if (codeset != "UTF-8") return text;
    std::string converted = CodePage::FromUtf8(text);
    if (text.find('?') == std::string::npos)
      for (char& c : converted)
        if (c == '?') c = ' ';
    return converted;
  }

private:
  locale_t FHandle;
};

bool IsPatternLetter(char c) {
  return std::string("cdemyhnstazgCDEMYHNSTAZG/:\"'").find(c) != std::string::npos;
}

// The first literal character after the first conversion of a pattern.
std::string FirstSeparator(const std::string& pattern, const std::string& fallback) {
  for (size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    size_t next = i + 2;
    if (next < pattern.size() && pattern[next] != '%' && pattern[next] != ' ')
      return pattern.substr(next, CodePage::CharLength(pattern.data(), pattern.size(), next));
    return fallback;
  }
  return fallback;
}

struct TPatternContext {
  std::string DateSeparator, TimeSeparator, AmPmPattern;
};

std::string ConvertPattern(const std::string& pattern, const TPatternContext& context, int depth = 0) {
  std::string result, literal;
  auto flushLiteral = [&] {
    if (literal.empty()) return;
    bool plain = true;
    for (char c : literal) plain = plain && !IsPatternLetter(c) && static_cast<unsigned char>(c) < 0x80;
    result += plain ? literal : "\"" + literal + "\"";
    literal.clear();
  };
  for (size_t i = 0; i < pattern.size(); ++i) {
    size_t length = CodePage::CharLength(pattern.data(), pattern.size(), i);
    std::string ch = pattern.substr(i, length);
    if (ch != "%" || i + 1 >= pattern.size()) {
      if (ch == context.DateSeparator || ch == context.TimeSeparator) {
        flushLiteral();
        result += ch == context.DateSeparator ? "/" : ":";
      } else {
        literal += ch;
      }
      i += length - 1;
      continue;
    }
    char conversion = pattern[++i];
    if ((conversion == 'E' || conversion == 'O') && i + 1 < pattern.size()) conversion = pattern[++i];
    const char* field = nullptr;
    std::string nested;
    switch (conversion) {
      case 'd': field = "dd"; break;
      case 'e': field = "d"; break;
      case 'm': field = "mm"; break;
      case 'y': field = "yy"; break;
      case 'Y': field = "yyyy"; break;
      case 'b': case 'h': field = "mmm"; break;
      case 'B': field = "mmmm"; break;
      case 'a': field = "ddd"; break;
      case 'A': field = "dddd"; break;
      case 'H': case 'I': field = "hh"; break;
      case 'k': case 'l': field = "h"; break;
      case 'M': field = "nn"; break;
      case 'S': field = "ss"; break;
      case 'p': case 'P': field = "ampm"; break;
      case 'n': case 't': literal += ' '; continue;
      case '%': literal += '%'; continue;
      case 'D': nested = "%m/%d/%y"; break;
      case 'F': nested = "%Y-%m-%d"; break;
      case 'T': nested = "%H:%M:%S"; break;
      case 'R': nested = "%H:%M"; break;
      case 'r': nested = context.AmPmPattern; break;
      default: continue;  // time zones and the like have no counterpart
    }
    flushLiteral();
    if (field) result += field;
    else if (depth < 2) result += ConvertPattern(nested, context, depth + 1);
  }
  flushLiteral();
  return result;
}

std::string TrimBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

// The date part of the locale's date-and-time pattern.
std::string DatePart(std::string pattern) {
  static const char* const timeFields[] = {"%r", "%T", "%X", "%R", "%H:%M:%S", "%Z", "%z"};
  for (const char* field : timeFields)
    for (size_t at; (at = pattern.find(field)) != std::string::npos;) pattern.erase(at, std::string(field).size());
  return TrimBlanks(pattern);
}

std::optional<TFormatSettings> ReadSettings(const std::string& localeName) {
  TLocale locale(localeName);
  if (!locale.Valid()) return std::nullopt;
  TFormatSettings s;
  s.DecimalSeparator = locale.Text(RADIXCHAR);
  if (s.DecimalSeparator.empty()) s.DecimalSeparator = ".";
  s.ThousandSeparator = locale.Text(THOUSEP);
  std::string dateFormat = locale.Text(D_FMT), timeFormat = locale.Text(T_FMT);
  TPatternContext context{FirstSeparator(dateFormat, "/"), FirstSeparator(timeFormat, ":"), locale.Text(T_FMT_AMPM)};
  if (context.AmPmPattern.empty()) context.AmPmPattern = "%I:%M:%S %p";
  s.DateSeparator = context.DateSeparator;
  s.TimeSeparator = context.TimeSeparator;
  s.ShortDateFormat = ConvertPattern(dateFormat, context);
  s.LongDateFormat = ConvertPattern(DatePart(locale.Text(D_T_FMT)), context);
  s.LongTimeFormat = ConvertPattern(timeFormat, context);
  std::string shortTime = timeFormat == "%r" ? context.AmPmPattern : timeFormat;
  for (const char* seconds : {":%S", "%T"})
    if (size_t at = shortTime.find(seconds); at != std::string::npos)
      shortTime.replace(at, std::string(seconds).size(), seconds[0] == ':' ? "" : "%H:%M");
  s.ShortTimeFormat = ConvertPattern(shortTime, context);
  std::string am = locale.Text(AM_STR), pm = locale.Text(PM_STR);
  s.TimeAMString = am.empty() ? "AM" : am;
  s.TimePMString = pm.empty() ? "PM" : pm;
  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = locale.Text(ABMON_1 + i);
    s.LongMonthNames[i] = locale.Text(MON_1 + i);
  }
  for (int i = 0; i < 7; ++i) {
    s.ShortDayNames[i] = locale.Text(ABDAY_1 + i);
    s.LongDayNames[i] = locale.Text(DAY_1 + i);
  }
  return s;
}

TFormatSettings& Current() {
  static TFormatSettings settings = ReadSettings("").value_or(TFormatSettings());
  return settings;
}

}  // namespace

bool GetLocaleFormatSettings(const std::string& localeName, TFormatSettings& settings) {
  std::optional<TFormatSettings> read = ReadSettings(localeName);
  if (read) settings = *read;
  return read.has_value();
}

const TFormatSettings& FormatSettings() { return Current(); }

void SetFormatSettings(const TFormatSettings& settings) { Current() = settings; }

}  // namespace vk
