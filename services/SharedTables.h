#pragma once
// The IDE's read-only tables: the AVR parts with their memory sizes and
// package pictures, the registry key names of the highlighter attributes, and
// the keyword lists and header names behind the automatic #include insertion.
// One copy for the whole program; nothing changes them at run time.

#include <array>
#include <span>
#include <string_view>

namespace vk {

// One AVR part. The sizes are decimal texts, as the settings dialog and the
// memory report show them: flash in KBytes, EEPROM and SRAM in bytes. For a
// part the tool chain knows they are those of its avr-libc device header:
// FLASHEND + 1 (an xmega part's application section, without the boot
// section on top of it), RAMEND - RAMSTART + 1 (none when RAMEND lies below
// RAMSTART) and E2END + 1 (none for 0). The parts it does not know, and the
// two whose program memory is SRAM (at94k, at76c711), keep the data sheet's.
struct TMcuRow {
  const char* Name;  // as the compiler's part option spells it, lower case
  const char* Flash;
  const char* Eeprom;
  const char* Sram;
  const char* Picture;  // file in the "image" folder below the editor folder
};

inline constexpr int McuCount = 102;
// In the order of the settings dialog's part list, which addresses rows by
// index. A few names occur twice, with identical values.
extern const std::array<TMcuRow, McuCount> McuTable;

// The row whose name equals the text exactly (case-sensitive); nullptr when
// none does.
const TMcuRow* FindMcu(std::string_view name);
// The row's index, or -1.
int IndexOfMcu(std::string_view name);

// The registry keys below "SOFTWARE\ZE_VAD\": entries 0..12 name the
// attributes of the C-for-AVR highlighter (and their keys), entry 13 the
// editor settings key.
inline constexpr int AttrKeyCount = 14;
inline constexpr int HighlighterAttrCount = 13;
inline constexpr int EditorKeyIndex = 13;
extern const std::array<const char*, AttrKeyCount> AttrKeyNames;

// The headers the include insertion can add, index 0..5, then four stems it
// does not use. Each of the first six is the path the AVR C library has.
extern const std::array<const char*, 10> IncludeHeaderNames;
inline constexpr int InsertableHeaderCount = 6;

// Keywords whose presence in a source calls for one insertable header.
// Matched byte for byte, blanks included; repeats are harmless.
struct TIncludeKeywordList {
  int Header;  // index into IncludeHeaderNames
  std::span<const char* const> Keywords;
};
// In storage order: progmem, eeprom, interrupt, signal, io, watchdog.
extern const std::array<TIncludeKeywordList, InsertableHeaderCount> IncludeKeywordLists;
// The keyword list that calls for IncludeHeaderNames[header].
const TIncludeKeywordList& KeywordListForHeader(int header);

// File names of library headers: a document with one of these names is not
// scanned for keywords.
extern const std::array<const char*, 29> StandardHeaderNames;
bool IsStandardHeaderName(std::string_view fileName);

}  // namespace vk
