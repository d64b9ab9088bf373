#include "platform/DateTimes.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cmath>

#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

constexpr double MsPerDay = 86400000.0;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1 January of year 1 (day 0) for a valid date.
int64_t DayNumber(int year, int month, int day) {
  int64_t y = year - 1;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

constexpr int64_t DayNumberOf18991230 = 693593;  // DayNumber(1899, 12, 30)

// The day number and the milliseconds of the day, as the class library
// reads a value: the date is the whole part (towards zero), the time of day
// the fraction without its sign.
void Split(TDateTime value, int64_t& day, int64_t& msOfDay) {
  double whole = std::trunc(value);
  day = static_cast<int64_t>(whole);
  msOfDay = std::llround(std::fabs(value - whole) * MsPerDay);
  if (msOfDay >= 86400000) {  // rounded up into the next day
    msOfDay -= 86400000;
    day += value < 0 ? -1 : 1;
  }
}

TDateTime FromTm(const tm& local, int milliseconds) {
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    throw EConvertError("Invalid argument to date encode");
  return static_cast<double>(DayNumber(year, month, day) - DayNumberOf18991230);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    throw EConvertError("Invalid argument to time encode");
  return (((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / MsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int64_t days, ms;
  Split(value, days, ms);
  int64_t date = days + DayNumberOf18991230;
  if (date < 0 || date > DayNumber(9999, 12, 31)) {
    year = month = day = 0;
    return;
  }
  int64_t y400 = date / 146097, rest = date % 146097;
  int64_t y100 = std::min<int64_t>(rest / 36524, 3);
  rest -= y100 * 36524;
  int64_t y4 = rest / 1461;
  rest %= 1461;
  int64_t y1 = std::min<int64_t>(rest / 365, 3);
  rest -= y1 * 365;
  year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  month = 1;
  while (rest >= DaysInMonth(year, month)) rest -= DaysInMonth(year, month++);
  day = static_cast<int>(rest + 1);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  int64_t days, ms;
  Split(value, days, ms);
  millisecond = static_cast<int>(ms % 1000);
  second = static_cast<int>(ms / 1000 % 60);
  minute = static_cast<int>(ms / 60000 % 60);
  hour = static_cast<int>(ms / 3600000);
}

int DayOfWeek(TDateTime value) {
  int64_t days, ms;
  Split(value, days, ms);
  // 30 December 1899 (day 0) was a Saturday.
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime Now() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  tm local;
  localtime_r(&now.tv_sec, &local);
  return FromTm(local, static_cast<int>(now.tv_nsec / 1000000));
}

TDateTime Date() { return std::floor(Now()); }

std::string DateToStr(TDateTime value) { return FormatDateTime("ddddd", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("tt", value); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

TDateTime FileDateToDateTime(int fileDate) {
  unsigned packed = static_cast<unsigned>(fileDate);
  int year = static_cast<int>(packed >> 25) + 1980, month = (packed >> 21) & 15, day = (packed >> 16) & 31;
  int hour = (packed >> 11) & 31, minute = (packed >> 5) & 63, second = (packed & 31) * 2;
  return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, 0);
}

int DateTimeToFileDate(TDateTime value) {
  int year, month, day, hour, minute, second, ms;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, ms);
  if (year < 1980 || year > 2107) return 0;
  return static_cast<int>((unsigned(year - 1980) << 25) | (unsigned(month) << 21) | (unsigned(day) << 16) |
                          (unsigned(hour) << 11) | (unsigned(minute) << 5) | unsigned(second / 2));
}

int UnixTimeToFileDate(time_t seconds) {
  tm local;
  if (!localtime_r(&seconds, &local)) return 0;
  return DateTimeToFileDate(FromTm(local, 0));
}

int FileAge(const std::string& fileName) {
  struct stat info;
  if (stat(FileNameToDisk(NativeFileName(fileName)).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  return UnixTimeToFileDate(info.st_mtime);
}

}  // namespace vk
