#include "platform/Registry.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/FilePaths.h"
#include "platform/RegFileFormat.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "platform/UserFolders.h"

namespace vk {

namespace {

// ---- the process-wide store: one tree per root key, loaded on first use ----
// Like the rest of the class-library stand-in it is used from the GUI thread
// only.

struct TRootStore {
  HKEY Handle;
  const char* Name;
  TRegKeyNode Tree;
  bool Loaded = false;
  // False when the file exists but could not be read or set aside: saving
  // would overwrite what could not be read, so every change is refused.
  bool Writable = true;
};

std::string RegistryFolder() {
  if (const char* folder = std::getenv("VORNKIT_REGISTRY_DIR"); folder && *folder)
    return FileNameFromDisk(folder).value_or(folder);
  return UserFolder("XDG_CONFIG_HOME", ".config") + "/ZE_VAD";
}

class TRegistryStore {
public:
  static TRegistryStore& Instance() {
    static TRegistryStore store;
    return store;
  }

  // The root key's tree, loaded from the current folder; nullptr for a
  // handle that is not a root key.
  TRootStore* Root(HKEY handle) {
    std::string folder = RegistryFolder();
    if (folder != FFolder) {
      // Another folder (tests switch between temporary ones): start afresh.
      FFolder = folder;
      for (TRootStore& root : FRoots) {
        root.Tree = TRegKeyNode();
        root.Loaded = false;
        root.Writable = true;
      }
    }
    for (TRootStore& root : FRoots) {
      if (root.Handle != handle) continue;
      if (!root.Loaded) Load(root);
      return &root;
    }
    return nullptr;
  }

  // Writes the root's tree to its file; raises when that fails.
  void Save(TRootStore& root) {
    if (!root.Writable) throw EWriteError(Format("Registry file \"%s\" is not writable", FileName(root).c_str()));
    ForceFolders(FFolder);
    SaveBytesToFile(FileName(root), FormatRegFile(root.Name, root.Tree));
  }

  std::vector<std::string> TakeReports() { return std::exchange(FReports, {}); }

private:
  std::string FileName(const TRootStore& root) const { return FFolder + "/" + root.Name + ".reg"; }

  void Load(TRootStore& root) {
    root.Loaded = true;
    std::string fileName = FileName(root);
    if (!PathExists(fileName)) return;
    std::string text;
    try {
      text = LoadBytesFromFile(fileName);
    } catch (const EStreamError& e) {
      root.Writable = false;
      FReports.push_back(Format("The registry file \"%s\" cannot be read: %s. Settings are not saved to it.",
                                fileName.c_str(), e.Message().c_str()));
      return;
    }
    std::string error;
    if (ParseRegFile(text, root.Name, root.Tree, error)) return;
    root.Tree = TRegKeyNode();
    SetAside(root, fileName, error);
  }

  // An unparsable file is renamed, never overwritten, and reported.
  void SetAside(TRootStore& root, const std::string& fileName, const std::string& error) {
    std::string badName = fileName + ".bad";
    for (int n = 1; PathExists(badName); ++n) badName = fileName + "." + IntToStr(n) + ".bad";
    if (std::rename(FileNameToDisk(fileName).c_str(), FileNameToDisk(badName).c_str()) == 0) {
      FReports.push_back(Format("The registry file \"%s\" is damaged (%s). It was renamed to \"%s\" and the settings start afresh.",
                                fileName.c_str(), error.c_str(), badName.c_str()));
    } else {
      root.Writable = false;
      FReports.push_back(Format("The registry file \"%s\" is damaged (%s) and cannot be renamed: %s. Settings are not saved to it.",
                                fileName.c_str(), error.c_str(), std::strerror(errno)));
    }
  }

  std::string FFolder;
  TRootStore FRoots[3] = {{HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", {}},
                          {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", {}},
                          {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", {}}};
  std::vector<std::string> FReports;
};

TRootStore* RootStore(HKEY handle) { return TRegistryStore::Instance().Root(handle); }

// Saves the root after a change; when saving fails, undo puts the tree back
// as it was and the failure passes on.
template <class Undo>
void CommitChange(TRootStore& root, Undo undo) {
  bool saved = false;
  TScopeExit takeBack([&] {
    if (!saved) undo();
  });
  TRegistryStore::Instance().Save(root);
  saved = true;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    // Empty parts (a leading, doubled or trailing "\") name no key.
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

TRegKeyNode* FindKey(TRegKeyNode& root, const std::vector<std::string>& names) {
  TRegKeyNode* node = &root;
  for (const std::string& name : names)
    if (!(node = node->FindSubKey(name))) return nullptr;
  return node;
}

// Creates the missing keys of the path, saves them and answers the last one;
// nullptr when a name cannot be stored or saving fails (the tree is then as
// it was).
TRegKeyNode* CreateKeys(TRootStore& root, const std::vector<std::string>& names) {
  TRegKeyNode* node = &root.Tree;
  TRegKeyNode* firstParent = nullptr;
  std::string firstKey;
  for (const std::string& name : names) {
    if (TRegKeyNode* sub = node->FindSubKey(name)) {
      node = sub;
      continue;
    }
    if (!IsStorableKeyName(name)) return nullptr;
    auto sub = std::make_unique<TRegKeyNode>();
    sub->Name = name;
    std::string key = NameFoldKey(name);
    if (!firstParent) firstParent = node, firstKey = key;
    node = (node->SubKeys[key] = std::move(sub)).get();
  }
  if (!firstParent) return node;
  try {
    CommitChange(root, [&] { firstParent->SubKeys.erase(firstKey); });
  } catch (const Exception&) {
    return nullptr;
  }
  return node;
}

}  // namespace

// ---- TRegistry ----

// A key named by a path: the root store and the key names below the root.
struct TRegistry::TKeyAddress {
  TRootStore* Root;
  std::vector<std::string> Names;
};

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY rootKey) {
  CloseKey();
  FRootKey = rootKey;
}

TRegistry::TKeyAddress TRegistry::Address(const std::string& key) const {
  TKeyAddress address{RootStore(FRootKey), {}};
  if (FKeyOpen && (key.empty() || key[0] != '\\')) address.Names = SplitPath(FCurrentPath);
  for (std::string& name : SplitPath(key)) address.Names.push_back(std::move(name));
  return address;
}

TRegKeyNode* TRegistry::OpenNode() const {
  if (!FKeyOpen) return nullptr;
  TRootStore* root = RootStore(FRootKey);
  return root ? FindKey(root->Tree, SplitPath(FCurrentPath)) : nullptr;
}

void TRegistry::ChangeKey(const std::vector<std::string>& names, bool readOnly) {
  FKeyOpen = true;
  FReadOnly = readOnly;
  FCurrentPath.clear();
  for (const std::string& name : names) FCurrentPath += (FCurrentPath.empty() ? "" : "\\") + name;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  TKeyAddress address = Address(key);
  if (!address.Root) return false;
  TRegKeyNode* node = canCreate ? CreateKeys(*address.Root, address.Names) : FindKey(address.Root->Tree, address.Names);
  if (!node) return false;
  ChangeKey(address.Names, false);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  TKeyAddress address = Address(key);
  if (!address.Root || !FindKey(address.Root->Tree, address.Names)) return false;
  ChangeKey(address.Names, true);
  return true;
}

void TRegistry::CloseKey() {
  FKeyOpen = false;
  FReadOnly = false;
  FCurrentPath.clear();
}

bool TRegistry::CreateKey(const std::string& key) {
  TKeyAddress address = Address(key);
  if (!address.Root || !CreateKeys(*address.Root, address.Names))
    throw ERegistryException(Format("Failed to create key %s", key.c_str()));
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  TKeyAddress address = Address(key);
  if (!address.Root || address.Names.empty()) return false;
  std::string name = address.Names.back();
  address.Names.pop_back();
  TRegKeyNode* parent = FindKey(address.Root->Tree, address.Names);
  if (!parent) return false;
  auto found = parent->SubKeys.find(NameFoldKey(name));
  if (found == parent->SubKeys.end()) return false;
  auto removed = parent->SubKeys.extract(found);
  try {
    CommitChange(*address.Root, [&] { parent->SubKeys.insert(std::move(removed)); });
  } catch (const Exception&) {
    return false;
  }
  return true;
}

bool TRegistry::KeyExists(const std::string& key) {
  TKeyAddress address = Address(key);
  return address.Root && FindKey(address.Root->Tree, address.Names);
}

const TRegValue* TRegistry::FindValue(const std::string& name) {
  TRegKeyNode* node = OpenNode();
  return node ? node->FindValue(name) : nullptr;
}

bool TRegistry::ValueExists(const std::string& name) { return FindValue(name) != nullptr; }

TRegDataType TRegistry::GetDataType(const std::string& name) {
  const TRegValue* value = FindValue(name);
  return value ? value->Type : rdUnknown;
}

int TRegistry::GetDataSize(const std::string& name) {
  const TRegValue* value = FindValue(name);
  if (!value) return -1;
  // A string is stored with its terminating zero.
  return static_cast<int>(value->Data.size()) + (value->Type == rdString ? 1 : 0);
}

bool TRegistry::DeleteValue(const std::string& name) {
  TRegKeyNode* node = FReadOnly ? nullptr : OpenNode();
  TRegValue* value = node ? node->FindValue(name) : nullptr;
  if (!value) return false;
  auto position = node->Values.begin() + (value - node->Values.data());
  TRegValue removed = std::move(*value);
  node->Values.erase(position);
  try {
    CommitChange(*RootStore(FRootKey), [&] { node->Values.insert(position, std::move(removed)); });
  } catch (const Exception&) {
    return false;
  }
  return true;
}

void TRegistry::GetKeyNames(TStrings& strings) {
  TStringsUpdate update(strings);
  strings.Clear();
  if (TRegKeyNode* node = OpenNode())
    for (const auto& [key, sub] : node->SubKeys) strings.Add(sub->Name);
}

void TRegistry::GetValueNames(TStrings& strings) {
  TStringsUpdate update(strings);
  strings.Clear();
  if (TRegKeyNode* node = OpenNode())
    for (const TRegValue& value : node->Values) strings.Add(value.Name);
}

// ---- reading values ----

namespace {

[[noreturn]] void InvalidType(const std::string& name) {
  throw ERegistryException(Format("Invalid data type for '%s'", name.c_str()));
}

}  // namespace

std::string TRegistry::ReadString(const std::string& name) {
  const TRegValue* value = FindValue(name);
  if (!value) return "";
  if (value->Type != rdString) InvalidType(name);
  return value->Data;
}

int TRegistry::ReadInteger(const std::string& name) {
  const TRegValue* value = FindValue(name);
  if (!value) throw ERegistryException(Format("Failed to get data for '%s'", name.c_str()));
  if (value->Type != rdInteger) InvalidType(name);
  return static_cast<int32_t>(DwordOf(value->Data));
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize) {
  const TRegValue* value = FindValue(name);
  if (!value) return 0;
  int size = static_cast<int>(value->Data.size());
  if (value->Type != rdBinary || size > bufSize) InvalidType(name);
  if (size > 0) std::memcpy(buffer, value->Data.data(), size);
  return size;
}

// ---- writing values ----

void TRegistry::WriteValue(const std::string& name, TRegDataType type, std::string data) {
  TRegKeyNode* node = FReadOnly ? nullptr : OpenNode();
  if (!node || !IsStorableValueName(name)) throw ERegistryException(Format("Failed to set data for '%s'", name.c_str()));
  TRegValue* value = node->FindValue(name);
  try {
    if (value) {
      // Writing what is stored already changes nothing on disk.
      if (value->Type == type && value->Data == data) return;
      TRegValue old = *value;
      value->Type = type;
      value->Data = std::move(data);
      CommitChange(*RootStore(FRootKey), [&] { *value = std::move(old); });
    } else {
      node->Values.push_back({name, type, std::move(data)});
      CommitChange(*RootStore(FRootKey), [&] { node->Values.pop_back(); });
    }
  } catch (const Exception&) {
    throw ERegistryException(Format("Failed to set data for '%s'", name.c_str()));
  }
}

void TRegistry::WriteString(const std::string& name, const std::string& value) { WriteValue(name, rdString, value); }

void TRegistry::WriteInteger(const std::string& name, int value) {
  WriteValue(name, rdInteger, DwordData(static_cast<uint32_t>(value)));
}

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
  if (size < 0) throw ERegistryException(Format("Failed to set data for '%s'", name.c_str()));
  WriteValue(name, rdBinary, std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
}

// ---- free functions ----

std::vector<std::string> TakeRegistryReports() { return TRegistryStore::Instance().TakeReports(); }

std::string InstallerReadmeValue() {
  std::string folder;
  if (const char* readme = std::getenv("VORNKIT_INSTALL_README")) {
    folder = readme;
  } else {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    std::string exe(path, static_cast<size_t>(length));
    folder = exe.substr(0, exe.rfind('/') + 1);
  }
  // A folder the code page cannot spell is no folder the program can use.
  return FileNameFromDisk(folder).value_or("");
}

}  // namespace vk
