#include "platform/LocaleFormats.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/DateTimes.h"
#include "platform/FloatFormats.h"

namespace vk {
namespace {

TFormatSettings Locale(const std::string& name) {
  TFormatSettings settings;
  EXPECT_TRUE(GetLocaleFormatSettings(name, settings)) << name;
  return settings;
}

bool HasLocale(const std::string& name) {
  TFormatSettings ignored;
  return GetLocaleFormatSettings(name, ignored);
}

const TDateTime May20 = EncodeDate(2008, 5, 20) + EncodeTime(9, 5, 6, 7);
const TDateTime May20Afternoon = EncodeDate(2008, 5, 20) + EncodeTime(14, 30, 0, 0);

TEST(DateTimesTest, CalendarArithmetic) {
  struct Case {
    int Year, Month, Day;
    double Serial;
    int WeekDay;
  } cases[] = {
      {1899, 12, 30, 0, 7}, {1900, 1, 1, 2, 2}, {1980, 1, 1, 29221, 3}, {2000, 2, 29, 36585, 3},
      {2008, 5, 20, 39588, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.Serial, EncodeDate(c.Year, c.Month, c.Day));
    int y, m, d;
    DecodeDate(c.Serial + 0.75, y, m, d);
    EXPECT_EQ(c.Year * 10000 + c.Month * 100 + c.Day, y * 10000 + m * 100 + d);
    EXPECT_EQ(c.WeekDay, DayOfWeek(c.Serial));
  }
  EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  int h, n, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ(235959999, ((h * 100 + n) * 100 + s) * 1000 + ms);
  EXPECT_EQ(May20 - 7 / 86400000.0, FileDateToDateTime(DateTimeToFileDate(May20)));
  EXPECT_EQ(0, DateTimeToFileDate(EncodeDate(1979, 12, 31)));
  EXPECT_LT(std::fabs(Now() - Now()), 1.0 / 86400);
}

TEST(DateTimesTest, PatternsInTheCLocale) {
  TFormatSettings c = Locale("C");
  struct Case {
    const char* Pattern;
    TDateTime Value;
    const char* Expected;
  } cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", May20, "2008-05-20 09:05:06.007"},
      {"d/m/yy", May20, "20/5/08"},
      {"dddd, mmmm d", May20, "Tuesday, May 20"},
      {"ddd mmm", May20, "Tue May"},
      {"hh:mm", May20, "09:05"},
      {"h:mm am/pm", May20Afternoon, "2:30 pm"},
      {"hh:nn A/P", May20, "09:05 A"},
      {"h ampm", May20Afternoon, "2 PM"},
      {"'hh' hh \"mm\" mm", May20Afternoon, "hh 14 mm 30"},
      {"c", May20, "05/20/08 09:05:06"},
      {"c", EncodeDate(2008, 5, 20), "05/20/08"},
      {"ddddd tt", May20, "05/20/08 09:05:06"},
  };
  for (const auto& k : cases) EXPECT_EQ(k.Expected, FormatDateTime(k.Pattern, k.Value, c)) << k.Pattern;
}

TEST(DateTimesTest, TheUsersLocaleDecidesDateAndTimeTexts) {
  if (!HasLocale("en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 is not installed (./x generates it where locale-gen exists)";
  TFormatSettings saved = FormatSettings();
  SetFormatSettings(Locale("en_US.UTF-8"));
  EXPECT_EQ("05/20/2008", DateToStr(May20));
  EXPECT_EQ("02:30:00 PM", TimeToStr(May20Afternoon));
  EXPECT_EQ("05/20/2008 09:05:06 AM", DateTimeToStr(May20));
  SetFormatSettings(Locale("C"));
  EXPECT_EQ("05/20/08 14:30:00", DateTimeToStr(May20Afternoon));
  SetFormatSettings(saved);
  EXPECT_FALSE(HasLocale("xx_NOWHERE.UTF-8"));
}

TEST(FloatFormatsTest, FloatToStrFRoundsDecimallyAndFallsBackToExponents) {
  TFormatSettings c = Locale("C");
  c.ThousandSeparator = ",";
  struct Case {
    double Value;
    TFloatFormat Format;
    int Precision, Digits;
    const char* Expected;
  } cases[] = {
      {0.336f, ffNumber, 4, 2, "0.34"},      {6.25, ffNumber, 4, 2, "6.25"},
      {123.456, ffNumber, 4, 2, "123.50"},   {1234.56, ffNumber, 4, 2, "1,235.00"},
      {12345.6, ffNumber, 4, 2, "1.235E04"}, {0.125, ffFixed, 15, 2, "0.13"},
      {-0.001, ffFixed, 15, 2, "0.00"},      {0.006, ffFixed, 15, 2, "0.01"},
      {99.999, ffFixed, 15, 2, "100.00"},    {-1234567.0, ffNumber, 15, 0, "-1,234,567"},
      {0, ffExponent, 4, 2, "0.000E+00"},    {1234.5, ffExponent, 4, 2, "1.235E+03"},
      {-0.00012, ffExponent, 2, 0, "-1.2E-4"}, {0.1, ffGeneral, 15, 0, "0.1"},
      {1e20, ffGeneral, 15, 0, "1E20"},      {0.00001, ffGeneral, 15, 0, "1E-5"},
      {0.0001, ffGeneral, 15, 0, "0.0001"},  {-2.5, ffGeneral, 15, 0, "-2.5"},
      {NAN, ffFixed, 15, 2, "NAN"},          {-INFINITY, ffGeneral, 15, 0, "-INF"},
  };
  for (const auto& k : cases)
    EXPECT_EQ(k.Expected, FloatToStrF(k.Value, k.Format, k.Precision, k.Digits, c)) << k.Value;
}

TEST(FloatFormatsTest, FormatFloatPictures) {
  TFormatSettings s = Locale("C");
  s.ThousandSeparator = ",";
  struct Case {
    const char* Pattern;
    double Value;
    const char* Expected;
  } cases[] = {
      {"#,###' KB'", 1205, "1,205 KB"},  {"#,###' KB'", 1, "1 KB"},
      {"#,###' KB'", 0, " KB"},          {"#,###' KB'", 1234567, "1,234,567 KB"},
      {"0.00", 3.14159, "3.14"},         {"000", 7, "007"},
      {"#.##", 2.5, "2.5"},              {"#.##", 2, "2"},
      {"0.0;(0.0);'zero'", -1.25, "(1.3)"}, {"0.0;(0.0);'zero'", 0.01, "zero"},
      {"0.0", -1.25, "-1.3"},            {".00", 12.5, "12.50"},
      {"", 2.5, "2.5"},
  };
  for (const auto& k : cases) EXPECT_EQ(k.Expected, FormatFloat(k.Pattern, k.Value, s)) << k.Pattern;
  s.DecimalSeparator = ",";
  s.ThousandSeparator = ".";
  EXPECT_EQ("1.234,50", FormatFloat("#,##0.00", 1234.5, s));
  EXPECT_EQ("1.234,50", FloatToStrF(1234.5, ffNumber, 15, 2, s));
}

TEST(FloatFormatsTest, SeparatorsComeFromTheLocale) {
  EXPECT_EQ("1234.50", FloatToStrF(1234.5, ffNumber, 15, 2, Locale("C")));  // C groups no digits
  if (!HasLocale("en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 is not installed (./x generates it where locale-gen exists)";
  EXPECT_EQ("1,234.50", FloatToStrF(1234.5, ffNumber, 15, 2, Locale("en_US.UTF-8")));
}

}  // namespace
}  // namespace vk
