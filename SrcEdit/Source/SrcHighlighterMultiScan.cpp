// How the multi-language highlighter scans a line: the line split finds the
// markers, the token walk hands the segments between them to the default or
// the open scheme's highlighter, and the range packing keeps every part's
// state across the line end.
//
// The split and the walk keep one rule: a region is opened and closed only
// by a marker that holds at least one character, so no match can stall the
// split and the walk passes every marker in order.

#include <cstdint>

#include "SrcEdit/Source/SrcHighlighterMulti.h"
#include "SrcEdit/Source/SrcRegex.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

void Check(bool condition) {
  if (!condition) throw ESrcMultiHlAssertion();
}

// The leftmost match of the expression in text that holds at least one
// character: its 1-based position and length. The searches of one line
// share the work one search may do (budget, what is left of it): a search
// that exceeds it finds nothing, so a costly expression cannot stop the
// editor from painting, however many markers the line holds.
bool FindMarker(TRegex& regex, const std::string& text, int64_t& budget, int& pos, int& len) {
  regex.SetSharedStepBudget(budget);
  TScopeExit charge([&] {
    budget = regex.SharedStepBudget();
    regex.SetSharedStepBudget(-1);
  });
  try {
    for (bool found = regex.Exec(text); found; found = regex.ExecNext()) {
      pos = regex.MatchPos(0);
      len = regex.MatchLen(0);
      if (pos < 1 || len < 0 || static_cast<size_t>(pos - 1 + len) > text.size()) return false;
      if (len > 0) return true;
    }
  } catch (const ERegex&) {
  }
  return false;
}

// A range as the packings see it: negative values are as out of reach as
// values above 32 bits.
uint64_t Unsigned(TSrcEditRange range) { return static_cast<uint64_t>(range); }

}  // namespace

// ------------------------------------------------------------ markers

const TMarker& TSrcMultiHl::GetMarkers(int index) const {
  CheckListIndex(index, MarkerCount());
  return FMarkers[index];
}

void TSrcMultiHl::DoCheckMarker(TScheme* scheme, int startPos, int markerLen, std::string markerText, bool isStart,
                                int line) {
  if (!scheme || scheme->Collection() != FSchemes.get()) return;
  const TOnCheckMarker& check = isStart ? scheme->OnCheckStartMarker : scheme->OnCheckEndMarker;
  if (check) check(this, startPos, markerLen, markerText, line);
  // A handler may have moved or resized the marker: it must still lie in
  // the line, behind the markers recorded before it.
  const int after = FMarkers.empty() ? 1 : FMarkers.back().EndPos();
  if (markerText.empty() || markerLen <= 0 || startPos < after ||
      startPos - 1 > static_cast<int>(FLine.size()) - markerLen)
    return;
  FMarkers.emplace_back(scheme->Index(), startPos, markerLen, isStart, std::move(markerText));
}

TScheme* TSrcMultiHl::OpenableScheme(int index) const {
  if (index < 0 || index >= FSchemes->Count()) return nullptr;
  TScheme* scheme = FSchemes->Items(index);
  return scheme->CanOpen() ? scheme : nullptr;
}

TSrcCustomHighlighter* TSrcMultiHl::ActiveHighlighter() const {
  TSrcCustomHighlighter* highlighter = SchemeHighlighter(FCurrentScheme);
  return highlighter ? highlighter : FDefaultHighlighter;
}

void TSrcMultiHl::SplitLine() {
  ClearMarkers();
  // A state stored for a scheme that has gone or can no longer open starts
  // outside any region.
  if (!OpenableScheme(FCurrentScheme)) FCurrentScheme = -1;
  int open = FCurrentScheme;
  size_t offset = 0;
  int64_t budget = TRegex::MaxBacktrackSteps + TRegex::MaxBacktrackStepsPerByte * static_cast<int64_t>(FLine.size());
  while (offset < FLine.size()) {
    FSearchText.assign(FLine.substr(offset));
    int pos = 0;
    int len = 0;
    int found = -1;
    if (open >= 0) {
      if (FindMarker(FSchemes->Items(open)->EndRegex(), FSearchText, budget, pos, len)) found = open;
    } else {
      // The first scheme that matches anywhere wins, even against a later
      // scheme that matches further left.
      for (int i = 0; i < FSchemes->Count() && found < 0; ++i)
        if (OpenableScheme(i) && FindMarker(FSchemes->Items(i)->StartRegex(), FSearchText, budget, pos, len))
          found = i;
    }
    if (found < 0) break;
    const size_t column = offset + static_cast<size_t>(pos);
    DoCheckMarker(FSchemes->Items(found), static_cast<int>(column), len,
                  std::string(FLine.substr(column - 1, static_cast<size_t>(len))), open < 0, FLineIndex);
    offset = column - 1 + static_cast<size_t>(len);
    open = open < 0 ? found : -1;
  }
}

// ------------------------------------------------------------ token walk

void TSrcMultiHl::SetLine(std::string_view line, int lineIndex) {
  FLine = line;
  FLineIndex = lineIndex;
  FLineGivenUp = false;
  SplitLine();
  FCurrentMarker = -1;
  FNextMarker = 0;
  FSegmentStart = -1;
  FSegmentHighlighter = nullptr;
  FTokenPos = 0;
  FRun = 1;
  Next();
}

void TSrcMultiHl::EnterNextMarker() {
  FCurrentMarker = FNextMarker++;
  const TMarker& marker = FMarkers[FCurrentMarker];
  if (marker.IsOpenMarker()) {
    // The default highlighter's state is kept only when the region starts
    // from default text; it has not scanned anything since otherwise.
    if (FCurrentScheme < 0) FSavedDefaultRange = FDefaultHighlighter->GetRange();
    FCurrentScheme = marker.Scheme();
    if (TSrcCustomHighlighter* highlighter = SchemeHighlighter(FCurrentScheme)) highlighter->ResetRange();
  }
  FTokenPos = marker.StartPos() - 1;
}

void TSrcMultiHl::StartSegment(int offset) {
  FSegmentStart = offset;
  FSegmentHighlighter = ActiveHighlighter();
  const bool last = FNextMarker >= MarkerCount();
  const int end = last ? static_cast<int>(FLine.size()) : FMarkers[FNextMarker].StartPos() - 1;
  // An empty segment between two markers gives no token: the walk goes on
  // with the next marker, so every marker of the line is passed.
  if (TSrcCustomHighlighter* highlighter = FSegmentHighlighter; highlighter && (end > offset || last)) {
    highlighter->SetLine(FLine.substr(static_cast<size_t>(offset), static_cast<size_t>(end - offset)), FLineIndex);
    if (!highlighter->GetEol() || last) return;
  }
  if (!last) EnterNextMarker();
}

void TSrcMultiHl::Next() {
  if (FLineGivenUp) return;
  if (!FDefaultHighlighter) {
    // Without a default highlighter the whole line is one token.
    FRun = FRun <= 1 ? static_cast<int>(FLine.size()) + 2 : FRun + 1;
    return;
  }
  if (const TMarker* marker = CurrentMarker()) {
    const int after = marker->EndPos() - 1;
    // An end marker closes only a region that is open.
    if (!marker->IsOpenMarker() && FCurrentScheme >= 0) {
      FCurrentScheme = -1;
      FDefaultHighlighter->SetRange(FSavedDefaultRange);
    }
    FCurrentMarker = -1;
    StartSegment(after);
    return;
  }
  if (FSegmentStart < 0) {
    StartSegment(0);
    return;
  }
  TSrcCustomHighlighter* highlighter = FSegmentHighlighter;
  if (highlighter && !highlighter->GetEol()) highlighter->Next();
  if ((!highlighter || highlighter->GetEol()) && FNextMarker < MarkerCount()) EnterNextMarker();
}

bool TSrcMultiHl::GetEol() const {
  if (FLineGivenUp) return true;
  if (!FDefaultHighlighter) return FRun > static_cast<int>(FLine.size()) + 2;
  if (MarkerIsCurrent()) return false;
  return !FSegmentHighlighter || FSegmentHighlighter->GetEol();
}

std::string TSrcMultiHl::GetToken() const {
  if (FLineGivenUp) return {};
  if (!FDefaultHighlighter) return std::string(FLine);
  if (const TMarker* marker = CurrentMarker())
    return std::string(FLine.substr(static_cast<size_t>(FTokenPos), static_cast<size_t>(marker->MarkerLen())));
  return FSegmentHighlighter ? FSegmentHighlighter->GetToken() : std::string();
}

int TSrcMultiHl::GetTokenPos() const {
  if (FLineGivenUp || !FDefaultHighlighter || MarkerIsCurrent()) return FTokenPos;
  return FSegmentStart + (FSegmentHighlighter ? FSegmentHighlighter->GetTokenPos() : 0);
}

TSrcHighlighterAttributes* TSrcMultiHl::GetTokenAttribute() const {
  if (FLineGivenUp || !FDefaultHighlighter) return nullptr;
  if (const TMarker* marker = CurrentMarker())
    return marker->Scheme() < FSchemes->Count() ? FSchemes->Items(marker->Scheme())->MarkerAttri() : nullptr;
  return FSegmentHighlighter ? FSegmentHighlighter->GetTokenAttribute() : nullptr;
}

int TSrcMultiHl::GetTokenKind() const {
  if (FLineGivenUp || !FDefaultHighlighter || MarkerIsCurrent()) return 0;
  return FSegmentHighlighter ? FSegmentHighlighter->GetTokenKind() : 0;
}

// ------------------------------------------------------------ ranges

TSrcEditRange TSrcMultiHl::GetRange() const {
  TSrcEditRange range = 0;
  // roGet only reads the state; the procedures share one signature with roSet.
  (const_cast<TSrcMultiHl*>(this)->*FRangeProc)(roGet, range);
  return range;
}

void TSrcMultiHl::SetRange(TSrcEditRange value) { (this->*FRangeProc)(roSet, value); }

void TSrcMultiHl::ResetRange() {
  FCurrentScheme = -1;
  if (!FDefaultHighlighter) return;
  FDefaultHighlighter->ResetRange();
  FSavedDefaultRange = FDefaultHighlighter->GetRange();
}

void TSrcMultiHl::SetCurrentScheme(int index) { FCurrentScheme = OpenableScheme(index) ? index : -1; }

// Low bits first: 3 bits scheme number (0 none, 1 to 7 for the schemes 0 to
// 6); with a scheme, 4 bits of its highlighter's range and 25 bits of the
// default highlighter's, else 29 bits of the default highlighter's.
void TSrcMultiHl::NewRangeProc(TRangeOperation operation, TSrcEditRange& range) {
  if (operation == roGet) {
    if (FCurrentScheme < 0) {
      const uint64_t outside = FDefaultHighlighter ? Unsigned(FDefaultHighlighter->GetRange()) : 0;
      Check(outside < (uint64_t{1} << 29));
      range = static_cast<TSrcEditRange>(outside << 3);
      return;
    }
    // Inside a region the default highlighter waits with the state it had
    // when the region opened (it may be the scheme's highlighter as well).
    const TSrcCustomHighlighter* inner = SchemeHighlighter(FCurrentScheme);
    const uint64_t region = inner ? Unsigned(inner->GetRange()) : 0;
    const uint64_t outside = Unsigned(FSavedDefaultRange);
    Check(region <= 15 && FCurrentScheme <= 6 && outside < (uint64_t{1} << 25));
    range = static_cast<TSrcEditRange>(outside << 7 | region << 3 | static_cast<uint64_t>(FCurrentScheme + 1));
    return;
  }
  uint32_t value = static_cast<uint32_t>(range);  // only 32 bits are ever packed
  const int scheme = static_cast<int>(value & 7) - 1;
  value >>= 3;
  const uint32_t region = scheme >= 0 ? value & 15 : 0;
  if (scheme >= 0) value >>= 4;
  // The default highlighter first, so that a highlighter that is also the
  // scheme's ends up with the region's state.
  FSavedDefaultRange = value;
  if (FDefaultHighlighter) FDefaultHighlighter->SetRange(value);
  SetCurrentScheme(scheme);
  if (FCurrentScheme >= 0) SchemeHighlighter(FCurrentScheme)->SetRange(region);
}

// Low 4 bits the open scheme + 2, the rest the active highlighter's range.
void TSrcMultiHl::OldRangeProc(TRangeOperation operation, TSrcEditRange& range) {
  if (operation == roGet) {
    const int code = FCurrentScheme + 2;
    Check(code <= 15);
    const TSrcCustomHighlighter* active = FCurrentScheme >= 0 ? SchemeHighlighter(FCurrentScheme) : FDefaultHighlighter;
    const uint64_t inner = active ? Unsigned(active->GetRange()) : 0;
    Check(inner < (uint64_t{1} << 28) && (inner < 256 || dynamic_cast<const TSrcMultiHl*>(active)));
    range = static_cast<TSrcEditRange>(inner << 4 | static_cast<uint64_t>(code));
    return;
  }
  const uint32_t value = static_cast<uint32_t>(range);
  if (value == 0) return;
  const int scheme = static_cast<int>(value & 15) - 2;
  const uint32_t inner = value >> 4;
  if (scheme < 0) {
    FCurrentScheme = -1;
    if (FDefaultHighlighter) FDefaultHighlighter->SetRange(inner);
    return;
  }
  // This packing does not keep the default highlighter's state inside a
  // region: after it the default text starts afresh, the same whichever
  // line was scanned before.
  if (FDefaultHighlighter) {
    FDefaultHighlighter->ResetRange();
    FSavedDefaultRange = FDefaultHighlighter->GetRange();
  }
  SetCurrentScheme(scheme);
  if (FCurrentScheme >= 0) SchemeHighlighter(FCurrentScheme)->SetRange(inner);
}

void TSrcMultiHl::UserRangeProc(TRangeOperation operation, TSrcEditRange& range) {
  if (FOnCustomRange) FOnCustomRange(this, operation, range);
  if (operation != roSet) return;
  SetCurrentScheme(FCurrentScheme);
  if (FDefaultHighlighter) FSavedDefaultRange = FDefaultHighlighter->GetRange();
}

}  // namespace vk
