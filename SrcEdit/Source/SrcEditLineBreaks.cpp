// The editor shows what its saved bytes read back as. A lone CR break, an
// empty line and a lone LF break are written as CR LF, which reads back as
// one break: an edit that leaves them so (deleting the line's text,
// joining two empty lines, trimming a line of blanks) makes them that one
// break when it ends, as it would be in the bytes. The joining is recorded
// in the edit's undo step by items whose texts say each break alone, so
// that undo and redo give back the exact bytes.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace vk {

void TCustomSrcEdit::JoinCrLfBreaks() {
  const TSrcEditedLines edited = std::exchange(FEditedLines, {});
  const TSrcEditStringList& lines = *FLines;
  auto split = [&lines](int index) {
    return lines.GetView(index).empty() && lines.BreakBefore(index) == sffMac && lines.BreakBefore(index + 1) == sffUnix;
  };
  // From the bottom up: a join moves only the lines below it, and the
  // CR LF it makes can meet no other break so.
  size_t spans = edited.Spans().size();
  auto nextSplit = [&](int from) {
    for (; spans > 0; --spans) {
      const TSrcLineSpan& span = edited.Spans()[spans - 1];
      const int first = std::max(span.First, 1);
      for (int index = std::min({from, span.Last, lines.Count() - 2}); index >= first; --index)
        if (split(index)) return index;
    }
    return -1;
  };
  int found = nextSplit(INT_MAX);
  if (found < 0) return;
  const std::optional<uint32_t> number = EditStepNumber();
  TBufferCoord caret = CaretXY();
  TBufferCoord blockBegin = FBlockBegin;
  TBufferCoord blockEnd = FBlockEnd;
  {
    TStringsUpdate update(*FLines);
    for (int index = found; index >= 0; index = nextSplit(index - 1)) {
      const int line = index + 1;
      const int above = static_cast<int>(FLines->GetView(index - 1).size());
      FLines->Delete(index);
      FLines->SetBreakBefore(index, sffDos);
      DoLinesDeleted(line, 1);
      // What stood on the empty line goes to the start of the line after it.
      for (TBufferCoord* point : {&caret, &blockBegin, &blockEnd}) {
        if (point->Line == line) *point = {1, line};
        else if (point->Line > line) --point->Line;
      }
      // Undone last to first: the CR LF becomes a CR, then an LF and the
      // empty line come back after it.
      if (number) {
        FUndoList->AddNumberedChange(crInsert, {1, line}, {1, line}, "\n", smNormal, *number);
        FUndoList->AddNumberedChange(crInsert, {above + 1, line - 1}, {1, line}, "\r", smNormal, *number);
      }
    }
  }
  {
    TOptionOn pastEol(FOptions, eoScrollPastEol);
    SetCaretAndSelection(caret, blockBegin, blockEnd);
  }
  // A redo leaves the caret where the edit did.
  if (number) FUndoList->AddNumberedChange(crCaret, CaretXY(), CaretXY(), "", smNormal, *number);
}

}  // namespace vk
