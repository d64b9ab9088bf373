#pragma once
// Integer constants known by name: stored forms write such values (editor
// commands, colours, cursors) as identifiers and read them back.

#include <span>
#include <string>

namespace vk {

struct TIdentMapEntry {
  int Value;
  const char* Name;
};

// The value of the first entry whose name equals the identifier, ignoring
// letter case; false (value untouched) when no entry has that name.
bool IdentToInt(const std::string& ident, int& value, std::span<const TIdentMapEntry> map);
// The name of the first entry with the value; false (ident untouched) when
// no entry has it.
bool IntToIdent(int value, std::string& ident, std::span<const TIdentMapEntry> map);

// The conversion pair of one integer type, registered under the type's name
// so that the form reader and writer can find it.
using TIdentToInt = bool (*)(const std::string& ident, int& value);
using TIntToIdent = bool (*)(int value, std::string& ident);
void RegisterIntegerConsts(const std::string& typeName, TIdentToInt identToInt, TIntToIdent intToIdent);
// The registered conversions of a type (exact spelling), or nullptr.
TIdentToInt FindIdentToInt(const std::string& typeName);
TIntToIdent FindIntToIdent(const std::string& typeName);

}  // namespace vk
