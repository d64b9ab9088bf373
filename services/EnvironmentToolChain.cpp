#include "services/EnvironmentToolChain.h"

#include <algorithm>
#include <map>
#include <optional>

#include "services/ProjectFiles.h"
#include "platform/FilePaths.h"
#include "platform/FileSearch.h"
#include "platform/Processes.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

// Short, so that a marked name fits the part boxes' width.
const char* const UnknownMark = " (unknown)";
const char* const AssemblerOnlyMark = " (asm only)";
const char* const SpecsPrefix = "specs-";

// The folder of the installed avr-gcc's device specs; "" without one.
std::string DeviceSpecsFolder() {
  TOutputLines answer;
  TProcessRunner runner;
  runner.SetCommand({"avr-gcc", "-print-file-name=device-specs"});
  runner.OnLine = answer.Event();
  try {
    if (runner.Run() != 0) return "";
  } catch (const EProcessError&) {
    return "";  // no avr-gcc on the PATH
  }
  // A name the compiler cannot find comes back as it was asked for.
  const std::string folder = answer.Lines.empty() ? "" : answer.Lines.front();
  return folder.starts_with('/') && DirectoryExists(folder) ? folder : "";
}

// The core a specs file names for the assembler is avr1: the compiler takes
// no C for it.
bool AssemblerOnly(const std::string& specsFile) {
  std::string specs;
  try {
    specs = LoadBytesFromFile(specsFile);
  } catch (const EStreamError&) {
    return false;
  }
  const std::string_view key = "*asm_arch:\n";
  const size_t at = specs.find(key);
  if (at == std::string::npos) return false;
  const size_t start = at + key.size();
  const size_t end = specs.find('\n', start);
  return Trim(specs.substr(start, end == std::string::npos ? std::string::npos : end - start)) == "-mmcu=avr1";
}

// The parts of the device-specs folder, with what the compiler makes of
// each; none when there is no compiler to ask.
class TInstalledParts {
public:
  TInstalledParts() {
    FFolder = DeviceSpecsFolder();
    if (FFolder.empty()) return;
    TSearchRec rec;
    for (int found = FindFirst(JoinPath(FFolder, std::string(SpecsPrefix) + "*"), faAnyFile & ~faDirectory, rec);
         found == 0; found = FindNext(rec))
      FParts.emplace(rec.Name.substr(std::string_view(SpecsPrefix).size()), std::nullopt);
    FindClose(rec);
  }

  TPartSupport Support(const std::string& part) {
    if (FFolder.empty()) return psCompiles;
    auto found = FParts.find(part);
    if (found == FParts.end()) return psUnknown;
    // Only the parts a list shows are read, each once.
    if (!found->second) found->second = AssemblerOnly(JoinPath(FFolder, SpecsPrefix + part));
    return *found->second ? psAssemblerOnly : psCompiles;
  }

private:
  std::string FFolder;
  // Part name to "assembler only", read when first asked.
  std::map<std::string, std::optional<bool>> FParts;
};

}  // namespace

TPartSupport PartSupport(std::string_view part) {
  static TInstalledParts installed;
  return installed.Support(MmcuSpelling(std::string(part)));
}

std::string MmcuSpelling(const std::string& part) { return LowerCase(Trim(part)); }

std::string PartListItem(const std::string& part) {
  switch (PartSupport(part)) {
    case psUnknown:
      return part + UnknownMark;
    case psAssemblerOnly:
      return part + AssemblerOnlyMark;
    case psCompiles:
      break;
  }
  return part;
}

std::string PartOfListItem(const std::string& item) {
  for (std::string_view mark : {UnknownMark, AssemblerOnlyMark})
    if (item.ends_with(mark)) return Trim(item.substr(0, item.size() - mark.size()));
  return Trim(item);
}

std::string PartSupportMessage(const std::string& part) {
  switch (PartSupport(part)) {
    case psUnknown:
      return "The installed avr-gcc does not know the part " + part + ": a build for it stops at the first compile.";
    case psAssemblerOnly:
      return "The installed avr-gcc takes the part " + part + " for assembler sources only, not for C.";
    case psCompiles:
      break;
  }
  return "";
}

std::string SourceNameProblem(const std::string& name) {
  // make splits lists at blanks and reads # $ % : ; = \ itself; the
  // recipes hand the names to the shell unquoted. A name outside ASCII is
  // written into the makefile in the code page, and make looks for those
  // bytes on a disk that spells the name in UTF-8.
  const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii && name.find_first_of(" \t#$%:;=\\'\"`&|<>()*?[]") == std::string::npos) return "";
  return "make cannot take the file name \"" + name +
         "\": rename the file with ASCII letters, without blanks and signs such as # $ % : ; ' ( ) &";
}

}  // namespace vk
