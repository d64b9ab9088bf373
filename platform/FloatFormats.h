#pragma once
// Numbers with a fraction as text, the class library's way, with the decimal
// and thousands separators of the user's locale (platform/LocaleFormats.h).
// Rounding is decimal, half away from zero: 0.125 to two places is 0.13.

#include <string>

#include "platform/LocaleFormats.h"

namespace vk {

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };

// ffGeneral: the shortest form with at most `precision` significant digits,
//   in exponent form ("1.5E20", at least `digits` exponent digits) when the
//   number has more integer digits than that or is below 0.0001;
// ffExponent: "-d.dddE+xx" with `precision` digits and at least `digits`
//   (0 to 4) exponent digits;
// ffFixed: `digits` decimals; ffNumber: the same with thousands separators.
//   Both round to `precision` significant digits first and fall back to
//   ffGeneral when the number has more integer digits than `precision`.
// Infinities and NaN read "INF", "-INF" and "NAN".
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings);
// ffGeneral with 15 digits.
std::string FloatToStr(double value);

// The number by a picture: "0" a digit that is always written, "#" a digit
// written only when significant, "." the decimal separator, "," anywhere
// before it turns on thousands separators, quoted text stands for itself.
// Up to three sections separated by ";" serve positive, negative and zero
// values (the negative section writes no minus sign of its own).
std::string FormatFloat(const std::string& pattern, double value);
std::string FormatFloat(const std::string& pattern, double value, const TFormatSettings& settings);

}  // namespace vk
