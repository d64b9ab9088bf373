#include "services/PartSizes.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <map>

#include "services/BuildCommands.h"
#include "services/BuildRunner.h"
#include "services/SharedTables.h"
#include "platform/FloatFormats.h"
#include "platform/Processes.h"

namespace vk {

namespace {

// How long avr-gcc may take to print a part's macros.
constexpr int HeaderTimeLimit = 20000;  // milliseconds
// Deeper than any device header nests its macros; a macro that names
// itself ends there.
constexpr int MaxMacroDepth = 16;

// A C constant expression of the device header, worked out in 64 bits: a
// result past them, a division by 0 or anything else is none.
class TMacroValue {
public:
  TMacroValue(const std::map<std::string, std::string>& macros, std::string_view text, int depth)
      : FMacros(macros), FText(text), FDepth(depth) {}

  std::optional<int64_t> Value() {
    std::optional<int64_t> value = Operation(0);
    Blanks();
    return FAt == FText.size() ? value : std::nullopt;
  }

private:
  void Blanks() {
    while (FAt < FText.size() && std::isspace(static_cast<unsigned char>(FText[FAt]))) ++FAt;
  }
  bool Take(char c) {
    Blanks();
    if (FAt >= FText.size() || FText[FAt] != c) return false;
    ++FAt;
    return true;
  }

  // The operators by precedence: + and - (level 0), then * and /.
  std::optional<int64_t> Operation(int level) {
    auto operand = [&] { return level == 0 ? Operation(1) : Operand(); };
    std::optional<int64_t> value = operand();
    for (;;) {
      const char op = level == 0 ? (Take('+') ? '+' : Take('-') ? '-' : 0) : (Take('*') ? '*' : Take('/') ? '/' : 0);
      if (!op) return value;
      const std::optional<int64_t> right = operand();
      if (!value || !right || !(value = Apply(op, *value, *right))) return std::nullopt;
    }
  }

  static std::optional<int64_t> Apply(char op, int64_t left, int64_t right) {
    int64_t result = 0;
    switch (op) {
      case '+': return __builtin_add_overflow(left, right, &result) ? std::nullopt : std::optional(result);
      case '-': return __builtin_sub_overflow(left, right, &result) ? std::nullopt : std::optional(result);
      case '*': return __builtin_mul_overflow(left, right, &result) ? std::nullopt : std::optional(result);
      default: return right == 0 || (right == -1 && left == INT64_MIN) ? std::nullopt : std::optional(left / right);
    }
  }

  std::optional<int64_t> Operand() {
    if (Take('(')) {
      std::optional<int64_t> value = Operation(0);
      return Take(')') ? value : std::nullopt;
    }
    if (Take('-')) {
      std::optional<int64_t> value = Operand();
      return value && *value != INT64_MIN ? std::optional<int64_t>(-*value) : std::nullopt;
    }
    Blanks();
    const size_t start = FAt;
    while (FAt < FText.size() && (std::isalnum(static_cast<unsigned char>(FText[FAt])) || FText[FAt] == '_')) ++FAt;
    const std::string_view word = FText.substr(start, FAt - start);
    if (word.empty()) return std::nullopt;
    if (std::isdigit(static_cast<unsigned char>(word[0]))) return Number(word);
    const auto macro = FMacros.find(std::string(word));
    if (macro == FMacros.end() || FDepth >= MaxMacroDepth) return std::nullopt;
    return TMacroValue(FMacros, macro->second, FDepth + 1).Value();
  }

  // Decimal or 0x hexadecimal, with the suffixes U and L in any case.
  static std::optional<int64_t> Number(std::string_view word) {
    while (!word.empty() && std::string_view("uUlL").find(word.back()) != std::string_view::npos)
      word.remove_suffix(1);
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
      word.remove_prefix(2);
      base = 16;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
  }

  const std::map<std::string, std::string>& FMacros;
  std::string_view FText;
  int FDepth;
  size_t FAt = 0;
};

std::optional<int64_t> MacroValue(const std::map<std::string, std::string>& macros, const std::string& name) {
  const auto macro = macros.find(name);
  if (macro == macros.end()) return std::nullopt;
  return TMacroValue(macros, macro->second, 0).Value();
}

// last - first + 1, or none when it would be no size.
std::optional<uint64_t> Span(std::optional<int64_t> first, std::optional<int64_t> last) {
  int64_t difference = 0;
  if (!first || !last || *last < *first || __builtin_sub_overflow(*last, *first, &difference)) return std::nullopt;
  return static_cast<uint64_t>(difference) + 1;
}

// A size of the table, a decimal text; 0 is none.
std::optional<uint64_t> TableSize(const char* decimal) {
  uint64_t value = 0;
  const std::string_view text(decimal);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0) return std::nullopt;
  return value;
}

// The macros avr-gcc defines for the part with its device header included
// (into an empty source, /dev/null: nothing is written); none when avr-gcc
// cannot be run for the part.
std::optional<std::map<std::string, std::string>> DeviceHeaderMacros(const std::string& part,
                                                                      const std::string& installFolder) {
  TProcessRunner runner;
  TOutputLines output;
  runner.OnLine = output.Event();
  runner.SetCommand({"avr-gcc", "-mmcu=" + part, "-E", "-dM", "-include", "avr/io.h", "-x", "c", "/dev/null"});
  runner.SetEnvironment("PATH", BuildSearchPath(installFolder));
  runner.SetTimeLimit(HeaderTimeLimit);
  try {
    if (runner.Run() != 0) return std::nullopt;
  } catch (const EProcessError&) {
    return std::nullopt;
  }
  std::map<std::string, std::string> macros;
  const std::string_view define = "#define ";
  for (const std::string& line : output.Lines) {
    if (!line.starts_with(define)) continue;
    const size_t nameEnd = line.find(' ', define.size());
    // Function-like macros ("NAME(x) ...") are no sizes.
    if (nameEnd == std::string::npos || line.find('(', define.size()) < nameEnd) continue;
    macros[line.substr(define.size(), nameEnd - define.size())] = line.substr(nameEnd + 1);
  }
  return macros;
}

// The sizes the macros give (see PartSizes); RAMEND below RAMSTART and
// an E2END of 0 are none.
TPartSizes DeviceHeaderSizes(const std::map<std::string, std::string>& macros) {
  TPartSizes sizes;
  // An xmega part's flash ends in its boot section; the application's is
  // the part's size, as the table counts it.
  const std::optional<int64_t> boot = macros.contains("__AVR_XMEGA__") && macros.contains("BOOT_SECTION_SIZE")
                                          ? MacroValue(macros, "BOOT_SECTION_SIZE")
                                          : 0;
  sizes.Flash = Span(boot, MacroValue(macros, "FLASHEND"));
  sizes.Sram = Span(MacroValue(macros, "RAMSTART"), MacroValue(macros, "RAMEND"));
  const std::optional<int64_t> e2end = MacroValue(macros, "E2END");
  if (e2end && *e2end > 0) sizes.Eeprom = Span(0, e2end);
  return sizes;
}

}  // namespace

TPartSizes PartSizes(const std::string& part, const std::string& installFolder) {
  if (part.empty()) return {};
  if (const TMcuRow* row = FindMcu(part)) {
    const std::optional<uint64_t> kbytes = TableSize(row->Flash);
    return {kbytes ? std::optional<uint64_t>(*kbytes * 1024) : std::nullopt, TableSize(row->Sram),
            TableSize(row->Eeprom)};
  }
  if (!IsAvrPartName(part)) return {};
  // The result box and the settings dialog ask for the same part again and
  // again; avr-gcc answers alike while the program runs.
  static std::map<std::pair<std::string, std::string>, TPartSizes> asked;
  const auto key = std::pair(installFolder, part);
  if (const auto known = asked.find(key); known != asked.end()) return known->second;
  const std::optional<std::map<std::string, std::string>> macros = DeviceHeaderMacros(part, installFolder);
  return asked[key] = macros ? DeviceHeaderSizes(*macros) : TPartSizes();
}

std::string PartSizeText(const std::optional<uint64_t>& bytes, uint64_t unit) {
  if (!bytes) return "";
  if (*bytes % unit == 0) return std::to_string(*bytes / unit);
  return FormatFloat("0.###", static_cast<double>(*bytes) / static_cast<double>(unit));
}

}  // namespace vk
