#include "platform/TempFiles.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/FilePaths.h"

namespace vk {

TTempTextFile::TTempTextFile(std::string_view prefix, std::string_view text) {
  const char* folder = std::getenv("TMPDIR");
  FDiskName = std::string(folder && *folder ? folder : "/tmp") + "/" + std::string(prefix) + "XXXXXX";
  const int file = mkstemp(FDiskName.data());
  if (file < 0) {
    FDiskName.clear();
    return;
  }
  FWritten = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  FWritten = close(file) == 0 && FWritten;
  FFileName = FileNameFromDisk(FDiskName).value_or(FDiskName);
}

TTempTextFile::~TTempTextFile() {
  if (!FDiskName.empty()) unlink(FDiskName.c_str());
}

}  // namespace vk
