#pragma once
// How dates, times and numbers are written: the class library's format
// settings, taken from the user's locale (LC_TIME for dates and times,
// LC_NUMERIC for the separators) and turned into CP949 text.

#include <string>

namespace vk {

struct TFormatSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandSeparator;  // "" where the locale groups no digits
  std::string DateSeparator = "/";
  std::string TimeSeparator = ":";
  // FormatDateTime patterns (see platform/DateTimes.h).
  std::string ShortDateFormat = "mm/dd/yy";
  std::string LongDateFormat = "ddd mmm d yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
  // Sunday first.
  std::string ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::string LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The settings of a locale; "" names the user's (LANG, LC_ALL, LC_TIME,
// LC_NUMERIC). False, with the settings untouched, when the locale is not
// installed.
bool GetLocaleFormatSettings(const std::string& localeName, TFormatSettings& settings);

// The process's settings: the user's locale, read at first use.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

}  // namespace vk
