#pragma once
// The small types of the editor's printing (frame parts of a header or
// footer, print status and its events, the first line of a page, break
// positions of a wrapped line) and the two helpers the printing code shares:
// the search for break positions and Roman numerals.

#include <cstdint>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/Events.h"
#include "platform/Graphics.h"
#include "platform/Sets.h"
#include "platform/Streams.h"

namespace vk {

enum TFrameType : uint8_t { ftLine, ftBox, ftShaded };
using TFrameTypes = TSet<TFrameType>;

enum THeaderFooterType : uint8_t { hftHeader, hftFooter };

enum TSrcPrintStatus : uint8_t { psBegin, psNewPage, psEnd };

// Told at the begin of a job, before each page and at the end; setting
// Abort stops the job.
using TPrintStatusEvent = TDelegate<void(TObject* Sender, TSrcPrintStatus Status, int PageNumber, bool& Abort)>;
// Told after each printed line.
using TPrintLineEvent = TDelegate<void(TObject* Sender, int LineNumber, int PageNumber)>;

// The 0-based index of the first line of a page.
using TPageLine = int;

// A line breaks after this 1-based character position, so the character
// there ends the upper row.
using TWrapPos = int;

// Break positions that fit a line into rows of at most maxCol characters,
// each row ending at the last of the break characters before the limit.
// True with no positions when the line fits already; true with positions
// when breaks were found; false (no positions) when the line is too long
// and holds no break character beyond the first row. A row may still be
// longer than maxCol when no break character lies within the limit: it then
// ends at the next break character, and the rest behind the last break
// character is not broken.
bool WrapTextEx(const std::string& line, const TSrcIdentChars& breakChars, int maxCol, std::vector<TWrapPos>& list);

// Roman numerals for 1 and more ("" for 0 and below); thousands are
// repeated Ms (4000 is "MMMM").
std::string IntToRoman(int value);

// Copies a font with its resolution, so that the pixel height stays as it
// is (Assign keeps the point size when the resolutions differ).
void CopyFontExactly(TFont& dest, const TFont& source);

// The little-endian records of the print settings stream. The reader
// checks every length and count against what the stream still holds: a
// record that is cut short, or a length or count that the rest cannot hold,
// raises EReadError "Stream read error" before anything is allocated for it.
class TPrintStreamReader {
public:
  explicit TPrintStreamReader(TStream& stream) : FStream(stream) {}
  uint8_t Byte();
  int32_t Int();
  // A 32-bit length and that many bytes, cut at the first zero byte.
  std::string Text();
  // A 32-bit count of records of at least minSize bytes each; 0 for a count
  // of 0 or less.
  int Count(int minSize);
  void Bytes(void* buffer, int64_t count) { FStream.ReadBuffer(buffer, count); }

private:
  int64_t Remaining();
  TStream& FStream;
};

void WriteByte(TStream& stream, uint8_t value);
void WriteInt(TStream& stream, int32_t value);
void WriteText(TStream& stream, const std::string& text);

}  // namespace vk
