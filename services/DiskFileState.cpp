#include "services/DiskFileState.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vk {

namespace {

// Within this long of a file's last change a stamp cannot tell a second
// write from it on every file system (some keep whole seconds, some two).
constexpr int64_t SameTickNs = 3'000'000'000;

// A 64-bit hash of bytes fed in pieces, the same however they are cut:
// four lanes take eight bytes each of every 32-byte block (a file's 40 MB in
// a few milliseconds, where a byte at a time takes tens); what is left of a
// piece waits for the next one or the end.
class TByteHash {
public:
  void Add(const char* bytes, size_t count) {
    FSize += count;
    if (FPending > 0) {
      const size_t taken = std::min(count, Block - FPending);
      std::memcpy(FBuffer + FPending, bytes, taken);
      FPending += taken;
      bytes += taken;
      count -= taken;
      if (FPending < Block) return;
      MixBlock(FBuffer);
      FPending = 0;
    }
    for (; count >= Block; bytes += Block, count -= Block) MixBlock(bytes);
    std::memcpy(FBuffer, bytes, count);
    FPending = count;
  }
  uint64_t Value() const {
    uint64_t hash = Mix(Seed, FSize);
    for (uint64_t lane : FLanes) hash = Mix(hash, lane);
    for (size_t i = 0; i < FPending; ++i) hash = Mix(hash, static_cast<unsigned char>(FBuffer[i]));
    return hash ^ hash >> 32;
  }

private:
  static constexpr size_t Block = 32;
  static constexpr uint64_t Seed = 14695981039346656037ull;
  static constexpr uint64_t Prime = 0x9E3779B97F4A7C15ull;
  // The rotation brings the high bits a product gathers back to the low.
  static uint64_t Mix(uint64_t hash, uint64_t word) { return std::rotl((hash ^ word) * Prime, 29); }
  void MixBlock(const char* block) {
    for (size_t lane = 0; lane < 4; ++lane) {
      uint64_t word;
      std::memcpy(&word, block + 8 * lane, sizeof word);
      FLanes[lane] = Mix(FLanes[lane], word);
    }
  }

  uint64_t FLanes[4] = {Seed, Seed + 1, Seed + 2, Seed + 3};
  char FBuffer[Block] = {};
  size_t FPending = 0;
  uint64_t FSize = 0;
};

// Passes what is written on to the target and keeps the hash of it.
class THashingStream : public TStream {
public:
  explicit THashingStream(TStream& target) : FTarget(target) {}
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* buffer, int64_t count) override {
    FTarget.WriteBuffer(buffer, count);
    FHash.Add(static_cast<const char*>(buffer), static_cast<size_t>(count));
    return count;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return FTarget.Seek(offset, origin); }
  uint64_t Hash() const { return FHash.Value(); }

private:
  TStream& FTarget;
  TByteHash FHash;
};

int64_t LastChangeNs(const TFileStamp& stamp) { return std::max(stamp.ModifiedNs, stamp.StatusChangedNs); }

// The file's bytes read after its stamp was taken (at takenNs).
TDiskFile ReadDiskFileAt(const std::string& fileName, const TFileStamp& stamp, int64_t takenNs) {
  TDiskFile file;
  file.TakenNs = takenNs;
  file.State.Stamp = stamp;
  file.Bytes.LoadFromFile(fileName);
  TByteHash hash;
  hash.Add(file.Bytes.Memory(), static_cast<size_t>(file.Bytes.Size()));
  file.State.Hash = hash.Value();
  return file;
}

}  // namespace

TDiskFile ReadDiskFile(const std::string& fileName) {
  const int64_t takenNs = FileClockNs();
  return ReadDiskFileAt(fileName, FileStampOf(fileName), takenNs);
}

uint64_t SaveHashed(TStrings& lines, TStream& stream) {
  THashingStream hashing(stream);
  lines.SaveToStream(hashing);
  return hashing.Hash();
}

void TDiskFileState::Know(const TDiskState& state, int64_t knownNs) {
  FKnown = true;
  FState = state;
  FKnownNs = knownNs;
}

void TDiskFileState::Remember(const TDiskFile& file) { Know(file.State, file.TakenNs); }

void TDiskFileState::Written(const std::string& fileName, uint64_t hash) {
  const int64_t takenNs = FileClockNs();
  Know({FileStampOf(fileName), hash}, takenNs);
}

// Once the bytes were known a tick after the last change, a later write has
// a later time. Before that a write in the same tick may hide, and so may
// one made as the clock reaches a change stamped ahead of it (clock skew, a
// file unpacked from an archive): until then the stamp is trusted, so a
// time in the future costs one read when the clock gets there, not one per
// check.
bool TDiskFileState::StampMayHideWrite(int64_t nowNs) const {
  if (!FState.Stamp.Exists) return false;
  const int64_t change = LastChangeNs(FState.Stamp);
  return FKnownNs < change + SameTickNs && nowNs > change - SameTickNs;
}

TDiskCheck TDiskFileState::Check(const std::string& fileName) {
  TDiskCheck check;
  // One stamp and one clock reading serve the whole check, the read of the
  // bytes included.
  const int64_t takenNs = FileClockNs();
  const TFileStamp stamp = FileStampOf(fileName);
  check.File.State = FKnown ? FState : TDiskState{stamp, 0};
  if (!FKnown) return check;
  if (!stamp.Exists) {
    // Gone: what it held is kept, so that the same bytes coming back are no
    // change.
    check.File.State.Stamp = stamp;
    if (FState.Stamp.Exists) {
      check.Change = dkDeleted;
      check.File.TakenNs = takenNs;
    }
    return check;
  }
  if (stamp == FState.Stamp && !StampMayHideWrite(takenNs)) return check;
  TDiskFile now;
  try {
    now = ReadDiskFileAt(fileName, stamp, takenNs);
  } catch (const EStreamError& e) {
    if (stamp == FState.Stamp) return check;
    check.Change = dkChanged;
    check.File.State = {stamp, 0};
    check.ReadError = e.Message();
    return check;
  }
  if (now.State.Hash == FState.Hash) {
    // The same bytes: the new stamp stands for them from now on.
    Remember(now);
    check.File.State = FState;
    return check;
  }
  check.Change = dkChanged;
  check.File = std::move(now);
  return check;
}

}  // namespace vk
