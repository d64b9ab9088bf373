#pragma once
// A document's file as the program last read or wrote it, to tell whether
// another program has changed it since. The file's stamp (which file, its
// size, its times to the nanosecond) tells a change cheaply; a hash of its
// bytes decides when the stamp differs (a file touched, or written again
// with the same bytes, is no change) and while a second write within one
// tick of the file system's clock could leave the stamp as it was.

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

// Writes the lines to the stream as they are saved, and answers the hash of
// those bytes, taken as they pass (no copy of the text).
uint64_t SaveHashed(TStrings& lines, TStream& stream);

// What a check found. File.State is the file as it is now (its stamp, which
// a save expects to find); for a changed file its bytes are read too,
// unless it could not be read: then ReadError says why.
struct TDiskCheck {
  TDiskChange Change = dkSame;
  TDiskFile File;
  std::string ReadError;
};

class TDiskFileState {
public:
  // The document holds the file as it was read, or (once it was deleted)
  // as the bytes it held.
  void Remember(const TDiskFile& file);
  // The document was just written to the file as bytes of that hash.
  void Written(const std::string& fileName, uint64_t hash);
  // Whether the file changed since it was read or written; nothing was
  // either (a new document) answers dkSame.
  TDiskCheck Check(const std::string& fileName);
  // Whether the file was read or written at all.
  bool Known() const { return FKnown; }

  // What the person answered about the file in a state another program
  // left it in: asked once, the same state is not asked about again as the
  // window comes to the front; keptText, the document's text was chosen
  // over it, so that a save writes over that very state without asking.
  // Such an answer covers the document's own changes only: the window
  // forgets it once the document has none. It holds for the file's bytes
  // (or its absence), whatever its times: a file touched, or written again
  // with the same bytes, is the state that was answered.
  void SetAnswer(const TDiskState& state, bool keptText) { FAnswer = {state, keptText}; }
  bool Answered(const TDiskState& state) const {
    return FAnswer && FAnswer->State.Stamp.Exists == state.Stamp.Exists && FAnswer->State.Hash == state.Hash;
  }
  bool KeptText(const TDiskState& state) const { return Answered(state) && FAnswer->KeptText; }
  void ForgetAnswer() { FAnswer.reset(); }
  // A file that could not be read is reported once for each state of it.
  void SetReported(const TDiskState& state) { FReported = state; }
  bool Reported(const TDiskState& state) const { return FReported == state; }

private:
  struct TAnswer {
    TDiskState State;
    bool KeptText = false;
  };
  void Know(const TDiskState& state, int64_t knownNs);
  // A write the stamp cannot tell from the file's last change may have
  // come since the bytes were known, the file clock now showing nowNs.
  bool StampMayHideWrite(int64_t nowNs) const;

  bool FKnown = false;
  TDiskState FState;
  // When the file was last known to hold those bytes, by the file clock.
  int64_t FKnownNs = 0;
  std::optional<TAnswer> FAnswer;
  std::optional<TDiskState> FReported;
};

}  // namespace vk
