#pragma once
// The build result box's figures: flash, SRAM and EEPROM used by the
// program, read from the linker map beside the main source, against the
// part's sizes from the part table. The box shows them with the locale's
// separators.
//
// The box's show handler calls
//   ComputeMemoryReport(LinkerMapPath(project folder, main file), ReadMcuType())
// and fills its rows from the result.

#include <cstdint>
#include <optional>
#include <string>

namespace vk {

class TStrings;

// Section sizes as the map gives them, hexadecimal digits without "0x".
// Sections the map does not list keep their start values: "0" for .text,
// .bss and .eeprom, "" for .data.
struct TMapSizes {
  std::string Text = "0";
  std::string Data;
  std::string Bss = "0";
  std::string Eeprom = "0";
};

// Reads the output-section lines (".data  0x00800100  0x12 load address
// ...": name, start address, size). Input-section lines listed before them,
// such as the discarded sections of a build that drops unused code, are not
// the section's size.
TMapSizes ParseLinkerMap(const TStrings& map);

// <project folder>/<main file without its extension>.map
std::string LinkerMapPath(const std::string& projectFolder, const std::string& mainFile);

// The project's part ("SouAvrMcu Type"); "" when it cannot be read.
std::string ReadMcuType();

struct TMemoryUse {
  // The line is shown: its size text is not empty.
  bool Shown = false;
  // The byte count is known: the map was read and the sizes are hexadecimal
  // numbers. Otherwise the box shows "Error" in its place.
  bool Known = false;
  uint64_t Bytes = 0;
  // The part's size as the table gives it (KBytes for flash, bytes else);
  // "0" for a part the table does not hold.
  std::string TotalText = "0";
  uint64_t TotalBytes = 0;  // flash counts 1000 bytes per KByte
  // Bytes as a percentage of the total; none when the total is 0.
  std::optional<double> Percent;
};

struct TMemoryReport {
  std::string McuType;
  bool MapLoaded = false;
  TMemoryUse Flash, Sram, Eeprom;
  // No program size could be shown: the box says "Error" with one error and
  // no warning, and the main window's count memo follows.
  bool ProgramSizeMissing = false;
};

// The map's lines, or nullptr when the map could not be read.
TMemoryReport ComputeMemoryReport(const TStrings* map, const std::string& mcuType);
TMemoryReport ComputeMemoryReport(const std::string& mapPath, const std::string& mcuType);

}  // namespace vk
