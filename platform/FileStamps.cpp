#include "platform/FileStamps.h"

#include <sys/stat.h>
#include <time.h>

#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

namespace {

int64_t Nanoseconds(const timespec& time) { return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec; }

}  // namespace

TFileStamp FileStampOf(const std::string& fileName) {
  struct stat info;
  if (stat(FileNameToDisk(NativeFileName(fileName)).c_str(), &info) != 0) return {};
  return {true,
          static_cast<uint64_t>(info.st_dev),
          static_cast<uint64_t>(info.st_ino),
          static_cast<int64_t>(info.st_size),
          Nanoseconds(info.st_mtim),
          Nanoseconds(info.st_ctim)};
}

int64_t FileClockNs() {
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

}  // namespace vk
