#include "services/MemoryReport.h"

#include <array>
#include <charconv>
#include <vector>

#include "services/BuildRunner.h"
#include "services/ProjectFiles.h"
#include "services/PartSizes.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"
#include "platform/FloatFormats.h"
#include "platform/Processes.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

// The size of the output section named: its line starts with the name, then
// the start address and the size follow, on the same line or, after a name
// too long for its column, on the next one.
std::optional<std::string> OutputSectionSize(const TStrings& map, const std::string& name) {
  for (int i = 0; i < map.Count(); ++i) {
    std::string line = map.Get(i);
    if (line.compare(0, name.size(), name) != 0) continue;
    if (line.size() > name.size() && line[name.size()] != ' ' && line[name.size()] != '\t') continue;
    std::vector<std::string> fields = TextWords(line.substr(name.size()));
    if (fields.empty() && i + 1 < map.Count()) fields = TextWords(map.Get(i + 1));
    if (fields.size() < 2) return "";
    std::string size = fields[1];
    return size.compare(0, 2, "0x") == 0 ? size.substr(2) : size;
  }
  return std::nullopt;
}

std::optional<uint64_t> Parse(const std::string& text, int base) {
  uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The sections the report counts, each with its size text.
std::array<std::pair<const char*, std::string*>, 5> SectionSizes(TMapSizes& sizes) {
  return {{{".text", &sizes.Text}, {".data", &sizes.Data}, {".bss", &sizes.Bss}, {".eeprom", &sizes.Eeprom},
           {".noinit", &sizes.Noinit}}};
}

// A size the map named; a section it does not list (no .data) holds nothing.
std::optional<uint64_t> Hex(const std::string& text) { return text.empty() ? 0 : Parse(text, 16); }

TMemoryUse MemoryUse(bool loaded, bool shown, const std::vector<std::string>& sizes,
                     const std::optional<uint64_t>& total, uint64_t bytesPerUnit) {
  TMemoryUse use;
  use.Shown = shown;
  use.TotalText = PartSizeText(total, bytesPerUnit);
  use.TotalBytes = total.value_or(0);
  if (!use.Shown || !loaded) return use;
  use.Known = true;
  for (const std::string& size : sizes) {
    // A size past 2^64, or a sum past it, is unknown, never a wrapped count.
    std::optional<uint64_t> bytes = Hex(size);
    use.Known = use.Known && bytes && !__builtin_add_overflow(use.Bytes, *bytes, &use.Bytes);
  }
  if (!use.Known) use.Bytes = 0;
  if (use.Known && use.TotalBytes > 0)
    use.Percent = static_cast<float>(use.Bytes) / static_cast<float>(use.TotalBytes) * 100.0f;
  return use;
}

}  // namespace

TMapSizes ParseLinkerMap(const TStrings& map) {
  TMapSizes sizes;
  for (auto [name, size] : SectionSizes(sizes))
    if (std::optional<std::string> found = OutputSectionSize(map, name)) *size = *found;
  return sizes;
}

std::string LinkerMapPath(const std::string& projectFolder, const std::string& mainFile) {
  return JoinPath(projectFolder, BuildBaseName(mainFile) + ".map");
}

std::optional<TMapSizes> ProgramFileSizes(const std::string& program, const std::string& installFolder) {
  if (!FileExists(program)) return std::nullopt;  // nothing for avr-size to read
  TProcessRunner runner;
  TOutputLines output;
  runner.OnLine = output.Event();
  runner.SetCommand({"avr-size", "-A", program});
  runner.SetEnvironment("PATH", BuildSearchPath(installFolder));
  try {
    if (runner.Run() != 0) return std::nullopt;
  } catch (const EProcessError&) {
    return std::nullopt;
  }
  // "section  size  addr" rows, sizes in decimal.
  TMapSizes sizes;
  for (const std::string& line : output.Lines) {
    const std::vector<std::string> fields = TextWords(line);
    if (fields.size() != 3) continue;
    const std::optional<uint64_t> bytes = Parse(fields[1], 10);
    if (!bytes) continue;
    for (auto [name, size] : SectionSizes(sizes))
      if (fields[0] == name) *size = Format("%llx", static_cast<unsigned long long>(*bytes));
  }
  return sizes;
}

TMemoryReport ComputeMemoryReport(const TStrings* map, const std::string& mcuType) {
  return ComputeMemoryReport(map ? std::optional(ParseLinkerMap(*map)) : std::nullopt, mcuType);
}

TMemoryReport ComputeMemoryReport(const std::optional<TMapSizes>& measured, const std::string& mcuType,
                                  const std::string& installFolder) {
  TMemoryReport report;
  report.McuType = mcuType;
  report.MapLoaded = measured.has_value();
  TMapSizes sizes = measured.value_or(TMapSizes());
  const TPartSizes part = PartSizes(mcuType, installFolder);
  const bool loaded = report.MapLoaded;
  // The initial values of .data are stored in flash behind the code; the
  // program size is the code's, so the line goes with .text.
  report.Flash = MemoryUse(loaded, !sizes.Text.empty(), {sizes.Text, sizes.Data}, part.Flash, 1024);
  report.Sram = MemoryUse(loaded, !(sizes.Data + sizes.Bss + sizes.Noinit).empty(),
                          {sizes.Data, sizes.Bss, sizes.Noinit}, part.Sram, 1);
  report.Eeprom = MemoryUse(loaded, !sizes.Eeprom.empty(), {sizes.Eeprom}, part.Eeprom, 1);
  for (TMemoryUse* use : {&report.Flash, &report.Sram, &report.Eeprom}) {
    use->PartKnown = !mcuType.empty();
    use->Measured = loaded;
  }
  report.ProgramSizeMissing = !report.Flash.Shown;
  return report;
}

TMemoryReport ComputeMemoryReport(const std::string& mapPath, const std::string& mcuType) {
  TStringList map;
  return ComputeMemoryReport(LoadLinkerMap(mapPath, map) ? &map : nullptr, mcuType);
}

bool LoadLinkerMap(const std::string& mapPath, TStrings& lines) {
  try {
    lines.LoadFromFile(mapPath);
    return true;
  } catch (const EStreamError&) {
    lines.Clear();
    return false;
  }
}

// Two decimals, at most four significant digits (1,235.00), and the
// exponent form past four integer digits.
std::string MemoryLineText(const TMemoryUse& use, const std::string& unit, const std::string& memory,
                           const TFormatSettings& settings) {
  const bool totalKnown = !use.TotalText.empty();
  const std::string total =
      !use.PartKnown ? "" : " (Total " + (totalKnown ? use.TotalText + " " + unit : std::string("unknown")) + ")";
  if (!use.Measured) return "Unknown size of " + memory + total;
  const std::string bytes = use.Known ? std::to_string(use.Bytes) : "Error";
  if (!totalKnown) return bytes + " Bytes of " + memory + total;
  const std::string percent = use.Known && use.Percent ? FloatToStrF(*use.Percent, ffNumber, 4, 2, settings) : "";
  return bytes + " Bytes" + total + " = " + percent + "% Full of " + memory;
}

}  // namespace vk
