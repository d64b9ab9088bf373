#include "SrcEdit/Source/SrcEditScanPoints.h"

#include <algorithm>

namespace vk {

namespace {

bool Before(int position, const TSrcScanPoint& point) { return position < point.Position; }

}  // namespace

void TSrcScanPoints::Start(TSrcCustomHighlighter& highlighter, std::string_view text, int index,
                           const TSrcScannedLine& line, int position) {
  FRecording = false;
  if (!highlighter.CanResumeLine()) {
    highlighter.SetLine(text, index);
    return;
  }
  TSrcScanPoint from = highlighter.LineStartPoint();
  const auto entry = std::find_if(FLines.begin(), FLines.end(), [&](const TLinePoints& e) { return e.Line == line; });
  FCurrent = -1;
  if (entry != FLines.end()) {
    entry->LastUse = ++FUses;
    FCurrent = static_cast<int>(entry - FLines.begin());
    const auto after = std::upper_bound(entry->Points.begin(), entry->Points.end(), position, Before);
    if (after != entry->Points.begin()) from = *(after - 1);
  }
  FScanned = line;
  FRecording = true;
  NextAfter(from.Position);
  highlighter.ResumeLine(text, index, from, position);
  Passed(highlighter);
}

void TSrcScanPoints::NextAfter(int position) {
  FNextAt = position + Interval;
  if (FCurrent < 0) return;
  const std::vector<TSrcScanPoint>& points = FLines[static_cast<size_t>(FCurrent)].Points;
  const auto after = std::upper_bound(points.begin(), points.end(), position, Before);
  // A point kept already ends the stretch the next one is kept in.
  if (after != points.end()) FNextAt = std::min(FNextAt, after->Position);
}

void TSrcScanPoints::Keep(const TSrcScanPoint& point) {
  if (FCurrent < 0) {
    TLinePoints fresh{FScanned, {}, 0};
    if (FLines.size() < MaxLines) {
      FLines.push_back(std::move(fresh));
      FCurrent = static_cast<int>(FLines.size()) - 1;
    } else {
      auto byUse = [](const TLinePoints& a, const TLinePoints& b) { return a.LastUse < b.LastUse; };
      const auto oldest = std::min_element(FLines.begin(), FLines.end(), byUse);
      *oldest = std::move(fresh);
      FCurrent = static_cast<int>(oldest - FLines.begin());
    }
    FLines[static_cast<size_t>(FCurrent)].LastUse = ++FUses;
  }
  std::vector<TSrcScanPoint>& points = FLines[static_cast<size_t>(FCurrent)].Points;
  const auto after = std::upper_bound(points.begin(), points.end(), point.Position, Before);
  const int previous = after == points.begin() ? 0 : (after - 1)->Position;
  if (point.Position - previous >= Interval) points.insert(after, point);
  NextAfter(point.Position);
}

void TSrcScanPoints::Clear() {
  FRecording = false;
  FLines.clear();
}

}  // namespace vk
