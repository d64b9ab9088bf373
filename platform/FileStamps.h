#pragma once
// What a file on disk is at one moment, as far as a change made by another
// program shows in its status: which file it is (device and inode, so that
// a file replaced by a rename differs), its size, and its modification and
// status-change times to the nanosecond. A missing file has a stamp too.

#include <cstdint>
#include <string>

namespace vk {

struct TFileStamp {
  bool Exists = false;
  uint64_t Device = 0;
  uint64_t Inode = 0;
  int64_t Size = 0;
  int64_t ModifiedNs = 0;        // since 1970, as the file system keeps it
  int64_t StatusChangedNs = 0;   // the last change of the file's status (its inode), content or not
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The file's stamp (following a link to its target); one that is missing or
// cannot be looked at does not exist.
TFileStamp FileStampOf(const std::string& fileName);

// The clock the file system sets those times from, in nanoseconds since 1970.
int64_t FileClockNs();
// A time no file written from now on is stamped before: the file system
// stamps from a coarser clock, which may lag the fine one by up to a tick.
int64_t FileClockFloorNs();

// The file clock as a test sets it: Now answers the time (nullptr: the real
// clock), and stamps keep their times to whole ticks of TickNs only, as a
// coarse file system does, so that two writes within one tick leave one
// stamp.
struct TFileClock {
  int64_t (*Now)() = nullptr;
  int64_t TickNs = 1;
};
void SetFileClockForTesting(const TFileClock& clock);

}  // namespace vk
