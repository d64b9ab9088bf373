#pragma once
// A document's file as the program last read or wrote it, to tell whether
// another program has changed it since. The file's stamp (which file, its
// size, its times to the nanosecond) tells a change cheaply; a hash of its
// bytes decides when the stamp differs (a file touched, or written again
// with the same bytes, is no change) and while the stamp is too close to the
// moment it was taken to tell a second write within one tick of the file
// system's clock from the first.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileStamps.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

enum TDiskChange : uint8_t { dkSame, dkChanged, dkDeleted };

// The file on disk as it was seen: its stamp and the hash of its bytes.
struct TDiskState {
  TFileStamp Stamp;
  uint64_t Hash = 0;
  friend bool operator==(const TDiskState&, const TDiskState&) = default;
};

// A file read whole, its stamp taken before its bytes were read (so that a
// change made meanwhile shows at the next check).
struct TDiskFile {
  TDiskState State;
  int64_t TakenNs = 0;  // when the stamp was taken, by the file system's clock
  TMemoryStream Bytes;
};

// Reads the file; raises EStreamError (naming the file and the reason) when
// it cannot be read.
TDiskFile ReadDiskFile(const std::string& fileName);

// The hash of the bytes the lines are saved as.
uint64_t SavedBytesHash(TStrings& lines);

// What a check found: for a changed file, the file as it is now (its bytes
// read, unless it could not be read: then ReadError says why).
struct TDiskCheck {
  TDiskChange Change = dkSame;
  TDiskFile File;
  std::string ReadError;
};

class TDiskFileState {
public:
  // The document holds the file as it was read, or (after a person chose
  // the document's text over it) as the text it replaces when saved.
  void Remember(const TDiskFile& file);
  // The document was just written to the file as bytes of that hash.
  void Written(const std::string& fileName, uint64_t hash);
  // Whether the file changed since it was read or written; nothing was
  // either (a new document) answers dkSame.
  TDiskCheck Check(const std::string& fileName);
  // The person was asked about the file in that state and kept the file
  // as it is: the same state is not asked about again.
  void SetAnswered(const TDiskState& state) { FAnswered = state; }
  bool Answered(const TDiskState& state) const { return FAnswered == state; }

private:
  void Know(const TDiskState& state, int64_t takenNs);

  bool FKnown = false;
  TDiskState FState;
  // The stamp was taken within a tick of the file's last change: a write in
  // the same tick would leave it as it is, so the bytes decide.
  bool FRacy = false;
  std::optional<TDiskState> FAnswered;
};

}  // namespace vk
