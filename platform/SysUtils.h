#pragma once
// The run-time helpers the class library offers: the exception root and the
// conversions and arithmetic the editor and the IDE call.

#include <cstdint>
#include <exception>
#include <string>

namespace vk {

// Root of every failure the system raises; carries a fixed message text.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

class EConvertError : public Exception {
  using Exception::Exception;
};

class EAbort : public Exception {
  using Exception::Exception;
};

// A broken precondition: a fault of the caller, not a state that input can
// reach. "Assertion failure" unless said otherwise.
class EAssertionFailed : public Exception {
public:
  EAssertionFailed() : Exception("Assertion failure") {}
  using Exception::Exception;
};

std::string IntToStr(int64_t value);
std::string IntToHex(uint64_t value, int digits);

// Decimal (optionally signed) or "$"/"0x" hexadecimal; surrounding blanks are
// not allowed. Raises EConvertError "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
int StrToIntDef(const std::string& text, int fallback);

// printf-style formatting for the fixed message texts (%d, %s, %x, %u, %%).
std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// number * numerator / denominator with the product in 64 bits, rounded half
// away from zero; -1 when the denominator is 0 or the result overflows.
int MulDiv(int number, int numerator, int denominator);

std::string Trim(const std::string& text);
std::string TrimRight(const std::string& text);
std::string TrimLeft(const std::string& text);

// Byte-wise ASCII case mapping through the code page module.
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);
int CompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);

}  // namespace vk
