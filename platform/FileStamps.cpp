#include "platform/FileStamps.h"

#include <sys/stat.h>
#include <time.h>

#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

namespace {

int64_t Nanoseconds(const timespec& time) { return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec; }

TFileClock fileClock;

// A time as the file system keeps it: to whole ticks.
int64_t FileTime(int64_t ns) { return ns - ns % fileClock.TickNs; }

}  // namespace

TFileStamp FileStampOf(const std::string& fileName) {
  struct stat info;
  if (stat(FileNameToDisk(NativeFileName(fileName)).c_str(), &info) != 0) return {};
  return {true,
          static_cast<uint64_t>(info.st_dev),
          static_cast<uint64_t>(info.st_ino),
          static_cast<int64_t>(info.st_size),
          FileTime(Nanoseconds(info.st_mtim)),
          FileTime(Nanoseconds(info.st_ctim))};
}

int64_t FileClockNs() {
  if (fileClock.Now) return FileTime(fileClock.Now());
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return FileTime(Nanoseconds(now));
}

int64_t FileClockFloorNs() {
  if (fileClock.Now) return FileTime(fileClock.Now());
  timespec now;
  clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return FileTime(Nanoseconds(now));
}

void SetFileClockForTesting(const TFileClock& clock) {
  fileClock = clock;
  if (fileClock.TickNs < 1) fileClock.TickNs = 1;
}

}  // namespace vk
