#pragma once
// The registry's tree in memory and its text file, in the registry editor's
// export format ("Windows Registry Editor Version 5.00"), one file per root
// key. Private to the registry and the ini files.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace vk {

// The form of a name that compares equal for every spelling of it: ASCII
// letters upper-cased, the bytes of double-byte characters left alone.
std::string NameFoldKey(const std::string& name);

struct TRegValue {
  std::string Name;
  TRegDataType Type = rdString;
  // A string's bytes, a binary value's bytes, or an integer as 4 bytes,
  // least significant first.
  std::string Data;
};

struct TRegKeyNode {
  std::string Name;
  std::vector<TRegValue> Values;                               // in creation order
  std::map<std::string, std::unique_ptr<TRegKeyNode>> SubKeys;  // by NameFoldKey

  TRegValue* FindValue(const std::string& name);
  TRegKeyNode* FindSubKey(const std::string& name) const;
};

// An integer value's data and back.
std::string DwordData(uint32_t value);
uint32_t DwordOf(const std::string& data);

// Key and value names that the file could not hold.
bool IsStorableKeyName(const std::string& name);
bool IsStorableValueName(const std::string& name);

std::string FormatRegFile(const std::string& rootName, const TRegKeyNode& root);
// Fills root (empty on entry) from the text; false with a message naming the
// line when the text is not a registry file of that root key.
bool ParseRegFile(const std::string& text, const std::string& rootName, TRegKeyNode& root, std::string& error);

}  // namespace vk
