#include "services/PartSizes.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <sstream>

#include "services/BuildCommands.h"
#include "services/BuildRunner.h"
#include "services/SharedTables.h"
#include "platform/FloatFormats.h"
#include "platform/Processes.h"
#include "platform/TempFiles.h"

namespace vk {

namespace {

// How long the assembler may take to work a part's sizes out.
constexpr int HeaderTimeLimit = 20000;  // milliseconds
// A source the assembler gives each size macro of the device header as a
// symbol of its own, worked out as the tool chain works it out; its
// listing of symbols then says the values ("*ABS*:0000000000007fff
// vk_FLASHEND"). The assembler takes every part, also those the compiler
// takes for assembler only.
constexpr std::string_view SizesSource =
    "#include <avr/io.h>\n"
    "#ifdef FLASHEND\n.equ vk_FLASHEND, FLASHEND\n#endif\n"
    "#ifdef RAMSTART\n.equ vk_RAMSTART, RAMSTART\n#endif\n"
    "#ifdef RAMEND\n.equ vk_RAMEND, RAMEND\n#endif\n"
    "#ifdef E2END\n.equ vk_E2END, E2END\n#endif\n"
    "#if defined(__AVR_XMEGA__) && defined(BOOT_SECTION_SIZE)\n.equ vk_BOOT_SECTION_SIZE, BOOT_SECTION_SIZE\n#endif\n";

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

// The values of the size macros the part's device header defines, as
// the assembler found where the build finds it works them out; none when
// it cannot assemble for the part.
std::optional<std::map<std::string, int64_t>> DeviceHeaderValues(const std::string& part,
                                                                  const std::string& installFolder) {
  const TTempTextFile source("vornkit-sizes-", SizesSource);
  if (!source.Written()) return std::nullopt;
  TProcessRunner runner;
  TOutputLines output;
  runner.OnLine = output.Event();
  runner.SetCommand({"avr-gcc", "-mmcu=" + part, "-x", "assembler-with-cpp", "-c", source.FileName(), "-o",
                     "/dev/null", "-Wa,-as"});
  runner.SetEnvironment("PATH", BuildSearchPath(installFolder));
  runner.SetTimeLimit(HeaderTimeLimit);
  try {
    if (runner.Run() != 0) return std::nullopt;
  } catch (const EProcessError&) {
    return std::nullopt;
  }
  std::map<std::string, int64_t> values;
  const std::string_view absolute = "*ABS*:", prefix = "vk_";
  for (const std::string& line : output.Lines) {
    const size_t at = line.find(absolute);
    if (at == std::string::npos) continue;
    std::istringstream fields(line.substr(at + absolute.size()));
    uint64_t value = 0;
    std::string name;
    if (fields >> std::hex >> value >> name && name.starts_with(prefix))
      values[name.substr(prefix.size())] = static_cast<int64_t>(value);
  }
  return values;
}

std::optional<int64_t> ValueOf(const std::map<std::string, int64_t>& values, const std::string& name) {
  const auto found = values.find(name);
  return found == values.end() ? std::nullopt : std::optional(found->second);
}

// The sizes the header gives (see PartSizes): an xmega part's flash ends
// in its boot section, and the application's is the part's size, as the
// table counts it; RAMEND below RAMSTART and an E2END of 0 are none.
TPartSizes DeviceHeaderSizes(const std::map<std::string, int64_t>& values) {
  TPartSizes sizes;
  sizes.Flash = Span(ValueOf(values, "BOOT_SECTION_SIZE").value_or(0), ValueOf(values, "FLASHEND"));
  sizes.Sram = Span(ValueOf(values, "RAMSTART"), ValueOf(values, "RAMEND"));
  const std::optional<int64_t> e2end = ValueOf(values, "E2END");
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
  const std::optional<std::map<std::string, int64_t>> values = DeviceHeaderValues(part, installFolder);
  return asked[key] = values ? DeviceHeaderSizes(*values) : TPartSizes();
}

std::string PartSizeText(const std::optional<uint64_t>& bytes, uint64_t unit) {
  if (!bytes) return "";
  if (*bytes % unit == 0) return std::to_string(*bytes / unit);
  return FormatFloat("0.###", static_cast<double>(*bytes) / static_cast<double>(unit));
}

}  // namespace vk
