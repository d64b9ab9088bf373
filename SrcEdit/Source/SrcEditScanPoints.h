#pragma once
// The points a highlighter's scan can go on from, kept along the long lines
// an editor paints, so that a row showing a part of its line far from the
// line's start begins its scan near that part. A line's points hold for its
// text, tab width and starting state wherever the line moves; a text the
// line is given has another stamp, which none of them matches.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEditHighlighter.h"

namespace vk {

// What a line's points were found in: the line's text (its stamp in the
// line store), the tab width its TABs were expanded with for the
// highlighter, the highlighter and the state the line began in.
struct TSrcScannedLine {
  uint64_t Stamp = 0;
  int TabWidth = 0;
  const TSrcCustomHighlighter* Highlighter = nullptr;
  uint32_t StartState = 0;
  friend bool operator==(const TSrcScannedLine&, const TSrcScannedLine&) = default;
};

class TSrcScanPoints {
public:
  // Bytes between two points kept along a line: the most a row's scan runs
  // before the part it shows.
  static constexpr int Interval = 4096;
  // Lines whose points are kept; beyond them the one painted longest ago is
  // dropped.
  static constexpr size_t MaxLines = 64;

  // Starts the highlighter's scan of the line (its 0-based index), set to
  // the line's starting state, at the kept point nearest before the
  // position (or the line's start), moving on from it toward the position
  // as far as the highlighter can without cutting tokens. A highlighter
  // that cannot go on from a point starts at the line's start.
  void Start(TSrcCustomHighlighter& highlighter, std::string_view text, int index, const TSrcScannedLine& line,
             int position);
  // After each Next of the scan Start began (and by Start for its first
  // token, or the line's end): keeps the point after the current token when
  // it lies an interval beyond the points kept before it.
  void Passed(const TSrcCustomHighlighter& highlighter) {
    if (FRecording && highlighter.GetTokenPos() >= FNextAt) Keep(highlighter.GetScanPoint());
  }

  // For another line store, and to free the points.
  void Clear();

private:
  struct TLinePoints {
    TSrcScannedLine Line;
    std::vector<TSrcScanPoint> Points;
    uint64_t LastUse = 0;
  };
  void Keep(const TSrcScanPoint& point);
  // From the points of the line being scanned: where the next one is kept
  // after a point at the position.
  void NextAfter(int position);

  std::vector<TLinePoints> FLines;
  uint64_t FUses = 0;
  // The scan Start began, while it keeps points: its line, the entry of
  // its points (an index into FLines, -1 before its first point) and the
  // position from which the next point is kept.
  bool FRecording = false;
  TSrcScannedLine FScanned;
  int FCurrent = -1;
  int FNextAt = 0;
};

}  // namespace vk
