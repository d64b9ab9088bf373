#include "platform/IdentMaps.h"

#include <map>

#include "platform/SysUtils.h"

namespace vk {

namespace {

struct TIntConsts {
  TIdentToInt IdentToInt;
  TIntToIdent IntToIdent;
};

// Built on first use, so units may register from their static initialisers
// in any order.
std::map<std::string, TIntConsts>& IntConstsRegistry() {
  static std::map<std::string, TIntConsts> registry;
  return registry;
}

const TIntConsts* FindIntConsts(const std::string& typeName) {
  auto& registry = IntConstsRegistry();
  auto found = registry.find(typeName);
  return found == registry.end() ? nullptr : &found->second;
}

}  // namespace

bool IdentToInt(const std::string& ident, int& value, std::span<const TIdentMapEntry> map) {
  for (const TIdentMapEntry& entry : map)
    if (SameText(ident, entry.Name)) {
      value = entry.Value;
      return true;
    }
  return false;
}

bool IntToIdent(int value, std::string& ident, std::span<const TIdentMapEntry> map) {
  for (const TIdentMapEntry& entry : map)
    if (entry.Value == value) {
      ident = entry.Name;
      return true;
    }
  return false;
}

void RegisterIntegerConsts(const std::string& typeName, TIdentToInt identToInt, TIntToIdent intToIdent) {
  IntConstsRegistry()[typeName] = {identToInt, intToIdent};
}

TIdentToInt FindIdentToInt(const std::string& typeName) {
  const TIntConsts* consts = FindIntConsts(typeName);
  return consts ? consts->IdentToInt : nullptr;
}

TIntToIdent FindIntToIdent(const std::string& typeName) {
  const TIntConsts* consts = FindIntConsts(typeName);
  return consts ? consts->IntToIdent : nullptr;
}

}  // namespace vk
