#include "platform/FilePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/Streams.h"

namespace vk {

namespace {

// ASCII is spelt alike on both sides: most names need no conversion.
bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string FileNameToDisk(const std::string& fileName) {
  if (IsAscii(fileName)) return fileName;
  return CodePage::ExactToUtf8(fileName).value_or(fileName);
}

std::optional<std::string> FileNameFromDisk(const std::string& diskName) {
  if (IsAscii(diskName)) return diskName;
  std::optional<std::string> name = CodePage::ExactFromUtf8(diskName);
  // Two characters that the code page spells alike would both lead to one
  // of the files: only a name that converts back to itself is used.
  if (!name || FileNameToDisk(*name) != diskName) return std::nullopt;
  return name;
}

std::string CheckedFileNameFromDisk(const std::string& diskName) {
  if (std::optional<std::string> name = FileNameFromDisk(diskName)) return *name;
  throw EFileNameError(Format("The name \"%s\" holds characters that the program's code page lacks; rename it to use it.",
                              CodePage::FromUtf8(diskName).c_str()));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

std::string PathFrom(std::string_view folder, std::string_view path) {
  return path.starts_with('/') ? std::string(path) : JoinPath(folder, path);
}

std::optional<std::string> PathBelow(std::string_view folder, std::string_view path) {
  std::string base(folder);
  if (!base.ends_with('/')) base += '/';
  if (!path.starts_with(base) || path.size() == base.size()) return std::nullopt;
  return std::string(path.substr(base.size()));
}

std::string ExtractFilePath(const std::string& fileName) {
  size_t slash = fileName.rfind('/');
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& fileName) {
  size_t slash = fileName.rfind('/');
  return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& fileName) {
  size_t dot = fileName.rfind('.');
  size_t slash = fileName.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return fileName.substr(dot);
}

bool DeleteFile(const std::string& fileName) {
  struct stat info;
  std::string name = FileNameToDisk(NativeFileName(fileName));
  // Folders are not files: unlink must not be asked to remove one.
  if (lstat(name.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return unlink(name.c_str()) == 0;
}

bool FileExists(const std::string& fileName) {
  struct stat info;
  return stat(FileNameToDisk(NativeFileName(fileName)).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool RemoveEmptyDir(const std::string& name) { return rmdir(FileNameToDisk(NativeFileName(name)).c_str()) == 0; }

bool DirectoryExists(const std::string& name) {
  struct stat info;
  return stat(FileNameToDisk(name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PathExists(const std::string& name) {
  struct stat info;
  return stat(FileNameToDisk(NativeFileName(name)).c_str(), &info) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return stat(FileNameToDisk(a).c_str(), &first) == 0 && stat(FileNameToDisk(b).c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void ForceFolders(const std::string& folder) {
  const std::string disk = FileNameToDisk(folder);
  for (size_t slash = disk.find('/', 1);; slash = disk.find('/', slash + 1)) {
    std::string part = disk.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
      throw EFCreateError(Format("Cannot create folder \"%s\". %s", FileNameFromDisk(part).value_or(folder).c_str(),
                                 std::strerror(errno)));
    if (slash == std::string::npos) return;
  }
}

std::string GetCurrentDir() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? FileNameFromDisk(buffer).value_or("") : std::string();
}

bool SetCurrentDir(const std::string& dir) { return chdir(FileNameToDisk(dir).c_str()) == 0; }

bool IsReadOnlyFile(const std::string& diskName, unsigned mode) {
  return (mode & 0222) == 0 || access(diskName.c_str(), W_OK) != 0;
}

}  // namespace vk
