// What the editor does when its line store changes: the highlighter's
// per-line ranges are rescanned from the changed line until they agree
// again, the changed rows are repainted once the batch of changes ends, and
// the view and the selection follow the text. Marks and plugins follow the
// line shifts the editing operations report.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <climits>

namespace vk {

// ---------------------------------------------------------------- range scanning

int TCustomSrcEdit::ScanFrom(int index) {
  if (!FHighlighter || index < 0 || index >= FLines->GetCount()) return index;
  if (index == 0)
    FHighlighter->ResetRange();
  else
    FHighlighter->SetRange(FLines->GetRange(index - 1));
  return ScanLines(index, true);
}

void TCustomSrcEdit::ScanRanges() {
  // Unique in the process: lines kept by another editor never match.
  static uint64_t lastStamp = 0;
  FRangesStamp = ++lastStamp;
  if (!FHighlighter || FLines->Count() == 0) return;
  FHighlighter->ResetRange();
  ScanLines(0, false);
}

int TCustomSrcEdit::ScanLines(int index, bool untilAgreed) {
  TSrcEditStringList& lines = *FLines;
  TSrcCustomHighlighter& highlighter = *FHighlighter;
  const int count = lines.GetCount();
  // A run of records in one piece at a time: the line store keeps them in
  // two at most, and a million-line scan pays for no index per line.
  for (int line = index;;) {
    for (TSrcEditStringRec& record : lines.RangeRun(line)) {
      // The highlighter reads the text in place while it scans the line.
      const TSrcEditRange range = highlighter.ScanLineEnd(record.FString.View(), line);
      // A line that ends in its old state leaves every later line as it was.
      if (untilAgreed && range == record.FRange) return line;
      record.FRange = range;
      if (++line == count) return count - 1;
    }
  }
}

uint64_t TCustomSrcEdit::RangesStamp() const {
  return FHighlighter && FLines == FOwnLines.get() && FLines->ListenerCount() == 0 ? FRangesStamp : 0;
}

// ---------------------------------------------------------------- line-store events

void TCustomSrcEdit::ListCleared(TObject*) {
  FScanPoints.Clear();
  FUntrimmedLines.clear();
  FLastUntrimmedLine = -1;
  FEditedLines.Clear();
  if (FWordWrapPlugin) FWordWrapPlugin->Reset();
  ClearUndo();
  FPendingInvalidRect = {};
  Invalidate();
  SetCaretXY({1, 1});
  FTopLine = 1;
  FLeftChar = 1;
  SetTextOrigin();
  StatusChanged({scAll});
}

void TCustomSrcEdit::ListDeleted(TObject* sender, int index, int count) {
  ShiftUntrimmedLines(index, -count);
  // The line above now meets the break in front of the line after them.
  FEditedLines.Shift(index, -count);
  NoteEditedLines(index - 1, index);
  // The line now at index followed the deleted ones: it may start in
  // another state.
  if (FHighlighter && FLines->Count() > 0) ScanFrom(index);
  if (FWordWrapPlugin) FWordWrapPlugin->LinesDeleted(index, count);
  InvalidateLines(index + 1, INT_MAX);
  InvalidateGutterLines(index + 1, INT_MAX);
  // The store reports a deletion after its own change bracket has ended;
  // outside a caller's bracket the batch is finished here.
  if (!FStateFlags.Contains(sfLinesChanging)) LinesChanged(sender);
}

void TCustomSrcEdit::ListInserted(TObject*, int index, int count) {
  ShiftUntrimmedLines(index, count);
  // The lines around the new ones meet new neighbours; the new lines meet
  // one another as the one text they came from did (see FEditedLines).
  FEditedLines.Shift(index, count);
  NoteEditedLines(index - 1, index);
  NoteEditedLines(index + count - 1, index + count);
  if (FHighlighter && FLines->Count() > 0 && FRangesHeld) {
    ScanFrom(index);
    ScanFrom(index + count);
  } else if (FHighlighter && FLines->Count() > 0) {
    // New lines hold no range yet: each is scanned even where the scan
    // before it stopped early.
    int line = ScanFrom(index) + 1;
    while (line < index + count) line = ScanFrom(line) + 1;
  }
  if (FWordWrapPlugin) FWordWrapPlugin->LinesInserted(index, count);
  // The rows from the first new line down change; when that line lies below
  // the window (as most lines of a file being loaded do), no row shown does.
  if (WordWrap() || index + 1 <= FTopLine + FRowsInWindow) {
    InvalidateLines(index + 1, INT_MAX);
    InvalidateGutterLines(index + 1, INT_MAX);
  }
  if (FOptions.Contains(eoAutoSizeMaxScrollWidth)) {
    // Lines arrive with their text: the widest of them counts.
    int length = 0;
    for (int i = index; i < index + count; ++i) length = std::max(length, FLines->GetExpandedStringLength(i));
    if (length > FMaxScrollWidth) SetMaxScrollWidth(length);
  }
}

void TCustomSrcEdit::ListPutted(TObject*, int index, int count) {
  NoteEditedLines(index, index + count - 1);
  int last = index + 1;
  if (FWordWrapPlugin) {
    // A line that now takes more or fewer rows moves every row below it.
    if (FWordWrapPlugin->LinesPutted(index, count) != 0) last = FLines->Count();
    InvalidateGutterLines(index + 1, last);
  }
  if (FHighlighter) {
    last = std::max(last, ScanFrom(index) + 1);
    if (FLines != FOwnLines.get()) last = FLines->Count();
  }
  InvalidateLines(index + 1, last);
  if (FOptions.Contains(eoAutoSizeMaxScrollWidth)) {
    int length = FLines->GetExpandedStringLength(index);
    if (length > FMaxScrollWidth) SetMaxScrollWidth(length);
  }
}

void TCustomSrcEdit::LinesChanging(TObject*) { FStateFlags.Include(sfLinesChanging); }

void TCustomSrcEdit::LinesChanged(TObject*) {
  FStateFlags.Exclude(sfLinesChanging);
  if (!HandleAllocated()) return;
  UpdateScrollBars();
  // The selection collapses onto the caret in the mode it had.
  const TSrcSelectionMode mode = FActiveSelectionMode;
  SetBlockBegin(CaretXY());
  FActiveSelectionMode = mode;
  if (!IsRectEmpty(FPendingInvalidRect)) InvalidateRect(FPendingInvalidRect, false);
  FPendingInvalidRect = {};
  if (FGutter->ShowLineNumbers() && FGutter->AutoSize()) FGutter->AutoSizeDigitCount(FLines->Count());
  // A shorter text may leave the view beyond its end.
  if (!FOptions.Contains(eoScrollPastEof)) SetTopLine(FTopLine);
}

// ---------------------------------------------------------------- line shifts

void TCustomSrcEdit::DoLinesDeleted(int firstLine, int count) {
  if (count > 0 && !FMarksHeld) {
    FMarkRecorder.Shifted({firstLine, -count});
    ShiftMarks({firstLine, -count});
  }
  // By index: a plugin may leave while it is told.
  for (size_t i = 0; i < FPlugins.size(); ++i) FPlugins[i]->LinesDeleted(firstLine, count);
}

void TCustomSrcEdit::DoLinesInserted(int firstLine, int count) {
  if (count > 0 && !FMarksHeld) {
    FMarkRecorder.Shifted({firstLine, count});
    ShiftMarks({firstLine, count});
  }
  for (size_t i = 0; i < FPlugins.size(); ++i) FPlugins[i]->LinesInserted(firstLine, count);
}

}  // namespace vk
