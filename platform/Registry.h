#pragma once
// The system registry, emulated: three root keys whose trees live in memory,
// shared by the whole process, and are kept on disk as one text file per root
// key in the registry editor's export format. Key and value names compare
// without regard to letter case and keep the spelling they were created with.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Objects.h"

namespace vk {

class TStrings;
struct TRegKeyNode;
struct TRegValue;

class ERegistryException : public Exception {
  using Exception::Exception;
};

// A root key handle.
using HKEY = uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Kinds of value: REG_SZ, REG_DWORD and REG_BINARY; rdUnknown for a value
// that does not exist.
enum TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

// One open key of the registry at a time, as the class library's registry
// object has it. Paths are separated by "\"; a path that starts with "\" is
// taken from the root key, any other from the open key (or from the root key
// when none is open). Every change is saved to disk before the call returns;
// a change that cannot be saved is undone and reported as a failure.
class TRegistry : public TObject {
public:
  // Starts at HKEY_CURRENT_USER with no key open.
  TRegistry();
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  std::string ClassName() const override { return "TRegistry"; }

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key. An unknown handle makes every later open fail.
  void SetRootKey(HKEY rootKey);
  // Path of the open key below the root key, without a leading "\"; empty
  // when none (or the root key itself) is open.
  const std::string& CurrentPath() const { return FCurrentPath; }
  // Kept for callers that set it; every change is written at once anyway.
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool lazyWrite) { FLazyWrite = lazyWrite; }

  // Opens the key, creating it (and the keys above it) when canCreate is
  // set. False when it does not exist or cannot be created; the open key is
  // then unchanged.
  bool OpenKey(const std::string& key, bool canCreate);
  // Opens an existing key so that its values can be read but not changed.
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  // Creates the key without opening it. Raises ERegistryException
  // "Failed to create key %s" when that is not possible.
  bool CreateKey(const std::string& key);
  // Deletes the key with everything below it; false when it does not exist
  // or the change cannot be saved.
  bool DeleteKey(const std::string& key);
  bool KeyExists(const std::string& key);

  // Values of the open key; the name "" is the key's default value.
  bool ValueExists(const std::string& name);
  TRegDataType GetDataType(const std::string& name);
  // Size of the data in bytes (a string counts its terminating zero); -1
  // when the value does not exist.
  int GetDataSize(const std::string& name);
  bool DeleteValue(const std::string& name);
  // Replace the list's lines with the names of the open key's subkeys /
  // values (an empty list when no key is open).
  void GetKeyNames(TStrings& strings);
  void GetValueNames(TStrings& strings);

  // A missing string reads as ""; a value of another kind raises
  // "Invalid data type for '%s'".
  std::string ReadString(const std::string& name);
  // A missing value raises "Failed to get data for '%s'", a value of another
  // kind "Invalid data type for '%s'".
  int ReadInteger(const std::string& name);
  // An integer: any value but 0 is true.
  bool ReadBool(const std::string& name);
  // Copies a binary value into the buffer and answers its size; 0 when it
  // does not exist; "Invalid data type for '%s'" when it is not binary or
  // larger than the buffer.
  int ReadBinaryData(const std::string& name, void* buffer, int bufSize);

  // Writes replace a value of any kind. Without a key open for writing, or
  // when the change cannot be saved, they raise "Failed to set data for '%s'".
  void WriteString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, int value);
  void WriteBool(const std::string& name, bool value);
  void WriteBinaryData(const std::string& name, const void* buffer, int size);

private:
  struct TKeyAddress;
  // The key a path names, relative to the open key unless it starts with "\".
  TKeyAddress Address(const std::string& key) const;
  // The open key's node; nullptr when none is open or it was deleted since.
  TRegKeyNode* OpenNode() const;
  void ChangeKey(const std::vector<std::string>& names, bool readOnly);
  const TRegValue* FindValue(const std::string& name);
  void WriteValue(const std::string& name, TRegDataType type, std::string data);

  HKEY FRootKey = HKEY_CURRENT_USER;
  bool FKeyOpen = false;
  bool FReadOnly = false;
  bool FLazyWrite = true;
  std::string FCurrentPath;
};

// Problems met while loading the registry files (a file that could not be
// parsed and was set aside, a file that could not be read), oldest first.
// Taking them empties the list, so the program shows each once.
std::vector<std::string> TakeRegistryReports();

// The "Readme" value of the program's installer entry: the folder of the
// running executable with a trailing "/", or $VORNKIT_INSTALL_README when set.
std::string InstallerReadmeValue();

}  // namespace vk
