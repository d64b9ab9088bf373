#pragma once
// The memory sizes of an AVR part, in bytes: the part table's row, and for
// a part the table lacks, what the installed tool chain's device header
// says, as avr-gcc itself works out its macros for the part: FLASHEND + 1
// (less an xmega part's boot section, as the table counts it), RAMEND -
// RAMSTART + 1 and E2END + 1. A size that cannot be had, or that is 0 (the
// part has none, or the table does not know it), is none: nothing is
// measured against it.

#include <cstdint>
#include <optional>
#include <string>

namespace vk {

struct TPartSizes {
  std::optional<uint64_t> Flash, Sram, Eeprom;
  friend bool operator==(const TPartSizes&, const TPartSizes&) = default;
};

// The table's sizes of the part (flash KBytes of 1,024 bytes), else the
// device header's, as avr-gcc found where the build finds it says them
// (asked once per part and install folder in a run); none for "".
TPartSizes PartSizes(const std::string& part, const std::string& installFolder);

// A size in units of the given bytes ("32" for 32,768 in KBytes, "0.5" for
// 512); "" for none.
std::string PartSizeText(const std::optional<uint64_t>& bytes, uint64_t unit);

}  // namespace vk
