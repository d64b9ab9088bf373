#pragma once
// Dates and times as the class library keeps them: a TDateTime counts days
// since 30 December 1899, the fraction being the time of day. Texts follow
// the format settings of the user's locale (platform/LocaleFormats.h).
// File dates are packed local times (2-second steps, years 1980 to 2107).

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/LocaleFormats.h"
#include "platform/SysUtils.h"

namespace vk {

using TDateTime = double;

// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime value);

// The local clock.
TDateTime Now();
TDateTime Date();

// The text of a date and time by a pattern of the class library: c, d, dd,
// ddd, dddd, ddddd (short date), dddddd (long date), m, mm, mmm, mmmm (m
// after an hour means minutes), yy, yyyy, h, hh, n, nn, s, ss, z, zzz,
// t (short time), tt (long time), am/pm, a/p, ampm (which make hours count
// to 12), "/" and ":" for the separators, quoted text. Letters are read in
// any case; other characters stand for themselves.
std::string FormatDateTime(const std::string& pattern, TDateTime value);
std::string FormatDateTime(const std::string& pattern, TDateTime value, const TFormatSettings& settings);
// The short date; the long time; both, the time left out at midnight.
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);

// File dates.
TDateTime FileDateToDateTime(int fileDate);
// 0 for a moment outside the years a file date holds.
int DateTimeToFileDate(TDateTime value);
int UnixTimeToFileDate(time_t seconds);
// The file date of a file's last change, or -1 when it does not exist.
int FileAge(const std::string& fileName);

}  // namespace vk
