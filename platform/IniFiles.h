#pragma once
// Initialisation files: "[Section]" headers followed by "Key=Value" lines.
// The file is read once when the object is created; every change is saved
// at once, through a temporary file, so a failed save leaves the old file and
// raises. Lines the object does not understand (comments, blank lines) are
// kept as they are.

#include <memory>
#include <string>

#include "platform/Objects.h"

namespace vk {

class TStrings;

class EIniFileException : public Exception {
  using Exception::Exception;
};

class TIniFile : public TObject {
public:
  // A missing file is an empty one; it is created by the first write.
  explicit TIniFile(const std::string& fileName);
  ~TIniFile() override;
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;
  std::string ClassName() const override { return "TIniFile"; }

  const std::string& FileName() const { return FFileName; }

  // Section and key names compare without regard to letter case. Blanks
  // around a value and a pair of quotes enclosing it are not part of it.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& fallback) const;
  // Decimal or hexadecimal ("0x", "$"); fallback when missing or not a number.
  int ReadInteger(const std::string& section, const std::string& ident, int fallback) const;
  bool ReadBool(const std::string& section, const std::string& ident, bool fallback) const;

  // A failed save, or a name or value that the file cannot hold (a line
  // break, a "]" in a section name, a "=" in a key), raises
  // EIniFileException "Unable to write to %s" and changes nothing.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& ident, int value);
  // Written as "1" or "0".
  void WriteBool(const std::string& section, const std::string& ident, bool value);

  // The key names of a section, in file order (an empty list when missing).
  void ReadSection(const std::string& section, TStrings& strings) const;
  void ReadSections(TStrings& strings) const;
  // "Key=Value" lines of a section.
  void ReadSectionValues(const std::string& section, TStrings& strings) const;
  // True when the section holds at least one key.
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& ident) const;

  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& ident);
  // Every change is already on disk; kept for callers that flush.
  void UpdateFile() {}

private:
  struct TContent;
  // Applies a change and saves it; on failure the change is undone.
  template <class Change>
  void Modify(Change change);

  std::string FFileName;
  std::unique_ptr<TContent> FContent;
};

}  // namespace vk
