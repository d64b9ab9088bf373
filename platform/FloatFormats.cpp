#include "platform/FloatFormats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vk {

namespace {

// A number as decimal digits: 0.Digits x 10^Exponent, no trailing zeros in
// Digits; no digits at all is zero.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

void StripZeros(TDecimal& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
}

TDecimal ToDecimal(double value) {
  TDecimal d;
  d.Negative = std::signbit(value);
  char text[40];
  std::snprintf(text, sizeof text, "%.16e", std::fabs(value));  // 17 significant digits: exact enough for a double
  d.Digits = std::string(1, text[0]) + std::string(text + 2, 16);
  d.Exponent = std::atoi(text + 19) + 1;
  StripZeros(d);
  if (d.Digits.empty()) d.Exponent = 0;
  return d;
}

// Keeps `count` significant digits, rounding half away from zero.
void RoundTo(TDecimal& d, int count) {
  if (count < 0) {
    d.Digits.clear();
    return;
  }
  if (static_cast<size_t>(count) >= d.Digits.size()) return;
  bool up = d.Digits[count] >= '5';
  d.Digits.resize(count);
  if (up) {
    while (!d.Digits.empty() && d.Digits.back() == '9') d.Digits.pop_back();
    if (d.Digits.empty()) {
      d.Digits = "1";
      ++d.Exponent;
    } else {
      ++d.Digits.back();
    }
  }
  StripZeros(d);
}

std::string Sign(const TDecimal& d) { return d.Negative && !d.Digits.empty() ? "-" : ""; }

std::string ExponentText(int exponent, int minDigits, bool plusSign) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return "E" + std::string(exponent < 0 ? "-" : plusSign ? "+" : "") + digits;
}

// Digit i of the number (0 = the first significant one), zero past the end.
char DigitAt(const TDecimal& d, int i) {
  return i >= 0 && static_cast<size_t>(i) < d.Digits.size() ? d.Digits[i] : '0';
}

// The integer digits ("" below 1) and the first `places` decimals.
std::string IntegerDigits(const TDecimal& d) {
  std::string text;
  for (int i = 0; i < d.Exponent; ++i) text += DigitAt(d, i);
  return text;
}
std::string FractionDigits(const TDecimal& d, int places) {
  std::string text;
  for (int i = 0; i < places; ++i) text += DigitAt(d, d.Exponent + i);
  return text;
}

std::string Grouped(const std::string& digits, const std::string& separator) {
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    text += digits[i];
    size_t left = digits.size() - i - 1;
    if (left > 0 && left % 3 == 0) text += separator;
  }
  return text;
}

std::string General(TDecimal d, int precision, int digits, const TFormatSettings& settings) {
  RoundTo(d, precision);
  if (d.Digits.empty()) return "0";
  std::string text = Sign(d);
  if (d.Exponent > precision || d.Exponent < -3) {
    text += d.Digits.substr(0, 1);
    if (d.Digits.size() > 1) text += settings.DecimalSeparator + d.Digits.substr(1);
    return text + ExponentText(d.Exponent - 1, std::clamp(digits, 0, 4), false);
  }
  std::string whole = IntegerDigits(d);
  text += whole.empty() ? "0" : whole;
  int places = static_cast<int>(d.Digits.size()) - d.Exponent;
  if (places > 0) text += settings.DecimalSeparator + FractionDigits(d, places);
  return text;
}

std::string Special(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings) {
  if (!std::isfinite(value)) return Special(value);
  precision = std::clamp(precision, 1, 18);
  TDecimal d = ToDecimal(value);
  switch (format) {
    case ffGeneral: return General(d, precision, digits, settings);
    case ffExponent: {
      RoundTo(d, precision);
      if (d.Digits.empty()) d.Exponent = 1;
      std::string mantissa;
      for (int i = 0; i < precision; ++i) mantissa += DigitAt(d, i);
      std::string text = Sign(d) + mantissa.substr(0, 1);
      if (precision > 1) text += settings.DecimalSeparator + mantissa.substr(1);
      return text + ExponentText(d.Exponent - 1, std::clamp(digits, 0, 4), true);
    }
    case ffFixed:
    case ffNumber: {
      digits = std::clamp(digits, 0, 18);
      TDecimal rounded = d;
      RoundTo(rounded, std::min(precision, rounded.Exponent + digits));
      if (rounded.Exponent > precision) return General(d, precision, digits, settings);
      std::string whole = IntegerDigits(rounded);
      if (whole.empty()) whole = "0";
      std::string text = Sign(rounded) + (format == ffNumber ? Grouped(whole, settings.ThousandSeparator) : whole);
      if (digits > 0) text += settings.DecimalSeparator + FractionDigits(rounded, digits);
      return text;
    }
  }
  return std::string();
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings());
}

std::string FloatToStr(double value) { return FloatToStrF(value, ffGeneral, 15, 0); }

// ----------------------------------------------------------------- FormatFloat

namespace {

// The sections of a picture, split at ";" outside quotes.
std::vector<std::string> Sections(const std::string& pattern) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : pattern) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

struct TNumberPicture {
  int IntegerPlaces = 0;   // "0" and "#" before the point
  int IntegerZeros = 0;    // places from the first "0" up to the point
  int FractionPlaces = 0;  // "0" and "#" after the point
  int FractionZeros = 0;   // places up to the last "0" after it
  bool Thousands = false;
};

TNumberPicture Analyse(const std::string& section) {
  TNumberPicture p;
  bool afterPoint = false;
  int firstZero = -1;
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') quote = c;
    else if (c == '.') afterPoint = true;
    else if (c == ',' && !afterPoint) p.Thousands = true;
    else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.FractionPlaces;
        if (c == '0') p.FractionZeros = p.FractionPlaces;
      } else {
        if (c == '0' && firstZero < 0) firstZero = p.IntegerPlaces;
        ++p.IntegerPlaces;
      }
    }
  }
  if (firstZero >= 0) p.IntegerZeros = p.IntegerPlaces - firstZero;
  return p;
}

std::string Layout(const std::string& section, const TNumberPicture& p, const TDecimal& d, bool withSign,
                   const TFormatSettings& settings) {
  std::string whole = IntegerDigits(d);
  if (static_cast<int>(whole.size()) < p.IntegerZeros) whole.insert(0, p.IntegerZeros - whole.size(), '0');
  std::string fraction = FractionDigits(d, p.FractionPlaces);
  while (static_cast<int>(fraction.size()) > p.FractionZeros && fraction.back() == '0') fraction.pop_back();

  std::string text = withSign ? Sign(d) : std::string();
  int integerSeen = 0, fractionSeen = 0, wholeNext = 0;
  bool afterPoint = false;
  auto writeWholeDigit = [&] {
    text += whole[wholeNext++];
    int left = static_cast<int>(whole.size()) - wholeNext;
    if (p.Thousands && left > 0 && left % 3 == 0) text += settings.ThousandSeparator;
  };
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote) quote = 0;
      else text += c;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == '0' || c == '#') && !afterPoint) {
      // The digits that have no place of their own go to the first one.
      int slot = static_cast<int>(whole.size()) - (p.IntegerPlaces - integerSeen);
      if (integerSeen == 0)
        while (wholeNext < slot) writeWholeDigit();
      if (slot >= 0 && wholeNext <= slot && wholeNext < static_cast<int>(whole.size())) writeWholeDigit();
      ++integerSeen;
    } else if (c == '.') {
      if (integerSeen == 0)  // a picture without integer places still shows the integer part
        while (wholeNext < static_cast<int>(whole.size())) writeWholeDigit();
      if (!afterPoint && !fraction.empty()) text += settings.DecimalSeparator;
      afterPoint = true;
    } else if ((c == '0' || c == '#') && afterPoint) {
      if (fractionSeen < static_cast<int>(fraction.size())) text += fraction[fractionSeen];
      ++fractionSeen;
    } else if (c != ',') {
      text += c;
    }
  }
  return text;
}

}  // namespace

std::string FormatFloat(const std::string& pattern, double value, const TFormatSettings& settings) {
  if (!std::isfinite(value)) return Special(value);
  if (pattern.empty()) return FloatToStrF(value, ffGeneral, 15, 0, settings);
  std::vector<std::string> sections = Sections(pattern);
  TDecimal d = ToDecimal(value);
  size_t use = 0;
  bool withSign = true;
  if (d.Negative && !d.Digits.empty() && sections.size() > 1 && !sections[1].empty()) {
    use = 1;
    withSign = false;
  }
  TNumberPicture picture = Analyse(sections[use]);
  TDecimal rounded = d;
  RoundTo(rounded, rounded.Exponent + picture.FractionPlaces);
  if (rounded.Digits.empty() && sections.size() > 2 && !sections[2].empty()) {
    use = 2;
    picture = Analyse(sections[use]);
    withSign = false;
  }
  return Layout(sections[use], picture, rounded, withSign, settings);
}

std::string FormatFloat(const std::string& pattern, double value) {
  return FormatFloat(pattern, value, FormatSettings());
}

}  // namespace vk
