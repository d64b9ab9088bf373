#include "services/DiskFileState.h"

#include <algorithm>

namespace vk {

namespace {

// Within this long of its last change a stamp cannot tell a second write
// from the first on every file system (some keep whole seconds, some two).
constexpr int64_t RacyWindowNs = 3'000'000'000;

// 64-bit FNV-1a, fed in pieces.
constexpr uint64_t HashStart = 14695981039346656037ull;

uint64_t HashMore(uint64_t hash, const char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ull;
  return hash;
}

// A stream that keeps only the hash of what is written to it.
class THashStream : public TStream {
public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* buffer, int64_t count) override {
    FHash = HashMore(FHash, static_cast<const char*>(buffer), static_cast<size_t>(count));
    FSize += count;
    return count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return FSize; }
  uint64_t Hash() const { return FHash; }

private:
  uint64_t FHash = HashStart;
  int64_t FSize = 0;
};

bool IsRacy(const TFileStamp& stamp, int64_t takenNs) {
  return stamp.Exists && takenNs - std::max(stamp.ModifiedNs, stamp.ChangedNs) < RacyWindowNs;
}

}  // namespace

TDiskFile ReadDiskFile(const std::string& fileName) {
  TDiskFile file;
  file.TakenNs = FileClockNs();
  file.State.Stamp = FileStampOf(fileName);
  file.Bytes.LoadFromFile(fileName);
  file.State.Hash = HashMore(HashStart, file.Bytes.Memory(), static_cast<size_t>(file.Bytes.Size()));
  return file;
}

uint64_t SavedBytesHash(TStrings& lines) {
  THashStream hash;
  lines.SaveToStream(hash);
  return hash.Hash();
}

void TDiskFileState::Know(const TDiskState& state, int64_t takenNs) {
  FKnown = true;
  FState = state;
  FRacy = IsRacy(state.Stamp, takenNs);
}

void TDiskFileState::Remember(const TDiskFile& file) { Know(file.State, file.TakenNs); }

void TDiskFileState::Written(const std::string& fileName, uint64_t hash) {
  const int64_t takenNs = FileClockNs();
  Know({FileStampOf(fileName), hash}, takenNs);
}

TDiskCheck TDiskFileState::Check(const std::string& fileName) {
  TDiskCheck check;
  if (!FKnown) return check;
  const TFileStamp stamp = FileStampOf(fileName);
  if (!stamp.Exists) {
    // Gone: what it held is kept, so that the same bytes coming back are no
    // change.
    if (FState.Stamp.Exists) {
      check.Change = dkDeleted;
      check.File.State = {stamp, FState.Hash};
      check.File.TakenNs = FileClockNs();
    }
    return check;
  }
  if (stamp == FState.Stamp && !FRacy) return check;
  try {
    check.File = ReadDiskFile(fileName);
  } catch (const EStreamError& e) {
    if (stamp == FState.Stamp) return check;
    check.Change = dkChanged;
    check.File.State = {stamp, 0};
    check.ReadError = e.Message();
    return check;
  }
  if (check.File.State.Hash == FState.Hash) {
    // The same bytes: the new stamp stands for them from now on.
    Remember(check.File);
    return {};
  }
  check.Change = dkChanged;
  return check;
}

}  // namespace vk
