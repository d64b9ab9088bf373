#pragma once
// What the build result box reports: the flash, SRAM and EEPROM the
// program takes, read from the linker map its link wrote or, without one,
// from the program file by avr-size, against
// the sizes of the part the build used (BuildPart, PartSizes), with the
// locale's separators. The figures are those avr-size gives for the AVR:
// flash holds the code and the initial values of .data, SRAM .data, .bss
// and .noinit, and a KByte is 1,024 bytes. A build whose program size
// cannot be shown is an error.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/LocaleFormats.h"

namespace vk {

class TStrings;

// Section sizes as the map gives them, hexadecimal digits without "0x".
// Sections the map does not list keep their start values: "0" for .text,
// .bss and .eeprom, "" for .data and .noinit (the variables a reset leaves
// as they were), which SRAM holds with .data and .bss.
struct TMapSizes {
  std::string Text = "0";
  std::string Data;
  std::string Bss = "0";
  std::string Eeprom = "0";
  std::string Noinit;
};

// Reads the output-section lines (".data  0x00800100  0x12 load address
// ...": name, start address, size). Input-section lines listed before them,
// such as the discarded sections of a build that drops unused code, are not
// the section's size.
TMapSizes ParseLinkerMap(const TStrings& map);

// <project folder>/<main file without its extension>.map
std::string LinkerMapPath(const std::string& projectFolder, const std::string& mainFile);

// The section sizes of a linked program as avr-size reads them from the
// file (avr-size -A, found where the build finds it); none when the file
// cannot be read as a program.
std::optional<TMapSizes> ProgramFileSizes(const std::string& program, const std::string& installFolder);

struct TMemoryUse {
  // The line is shown: the size text of .text (flash) or of one of its
  // sections (SRAM, EEPROM) is not empty.
  bool Shown = false;
  // The sizes were read (from a map or a program file); otherwise the line
  // says the size is unknown.
  bool Measured = true;
  // The byte count is known: the map was read and the sizes are hexadecimal
  // numbers whose sum is below 2^64. Otherwise the box shows "Error" in its
  // place and Bytes is 0.
  bool Known = false;
  uint64_t Bytes = 0;
  // The part's size (KBytes for flash, bytes else); "" when it cannot be
  // had (PartSizes), and then TotalBytes is 0.
  std::string TotalText;
  uint64_t TotalBytes = 0;  // flash counts 1,024 bytes per KByte
  // Bytes as a percentage of the total; none without a total.
  std::optional<double> Percent;
  // The part the build used is known; otherwise the line shows no total.
  bool PartKnown = true;
};

struct TMemoryReport {
  std::string McuType;
  bool MapLoaded = false;
  TMemoryUse Flash, Sram, Eeprom;
  // No program size could be shown: the box says "Error" with one error and
  // no warning, and the main window's count memo follows.
  bool ProgramSizeMissing = false;
};

// The sizes, or none when neither a map nor the program could be read; the
// part whose sizes are the totals ("": unknown, see BuildPart), asked of the
// install folder's tool chain where the table lacks it.
TMemoryReport ComputeMemoryReport(const std::optional<TMapSizes>& sizes, const std::string& mcuType,
                                  const std::string& installFolder = "");
// The map's lines, or nullptr when the map could not be read.
TMemoryReport ComputeMemoryReport(const TStrings* map, const std::string& mcuType);
TMemoryReport ComputeMemoryReport(const std::string& mapPath, const std::string& mcuType);
// Replaces the lines with the map's; false, with no lines, when it cannot
// be read.
bool LoadLinkerMap(const std::string& mapPath, TStrings& lines);

// "454 Bytes (Total 128 KBytes) = 0.35% Full of FLASH": the unit is the
// total's ("KBytes" or "Bytes"), memory names it. A size that is no count
// reads "Error" and a percentage that cannot be worked out is left empty.
// Without a known part the line is the byte count alone: "436 Bytes of
// FLASH"; without the part's size, "436 Bytes of FLASH (Total unknown)".
// Sizes that could not be read at all say so: "Unknown size of FLASH
// (Total 128 KBytes)".
std::string MemoryLineText(const TMemoryUse& use, const std::string& unit, const std::string& memory,
                           const TFormatSettings& settings = FormatSettings());

}  // namespace vk
