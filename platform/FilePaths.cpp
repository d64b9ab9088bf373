#include "platform/FilePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/Streams.h"

namespace vk {

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
  std::string name = NativeFileName(fileName);
  // Folders are not files: unlink must not be asked to remove one.
  if (lstat(name.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return unlink(name.c_str()) == 0;
}

bool FileExists(const std::string& fileName) {
  struct stat info;
  return stat(NativeFileName(fileName).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& name) {
  struct stat info;
  return stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string GetCurrentDir() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

bool SetCurrentDir(const std::string& dir) { return chdir(dir.c_str()) == 0; }

bool IsReadOnlyFile(const std::string& fileName, unsigned mode) {
  return (mode & 0222) == 0 || access(fileName.c_str(), W_OK) != 0;
}

}  // namespace vk
