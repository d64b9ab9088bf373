// What the editor does when its line store changes: the view follows the
// text and the changed rows are repainted once the batch of changes ends.

#include "SrcEdit/Source/SrcEdit.h"

#include <climits>

namespace vk {

void TCustomSrcEdit::ListCleared(TObject*) {
  ClearUndo();
  FPendingInvalidRect = {};
  Invalidate();
  FCaretX = FCaretY = 1;
  FBlockBegin = FBlockEnd = {1, 1};
  FTopLine = FLeftChar = 1;
  FTextOrigin = FGutterWidth + 2;
  StatusChanged({scAll});
}

void TCustomSrcEdit::ListDeleted(TObject*, int index, int) {
  InvalidateLines(index + 1, INT_MAX);
  InvalidateGutterLines(index + 1, INT_MAX);
}

void TCustomSrcEdit::ListInserted(TObject*, int index, int) {
  InvalidateLines(index + 1, INT_MAX);
  InvalidateGutterLines(index + 1, INT_MAX);
}

void TCustomSrcEdit::ListPutted(TObject*, int index, int) { InvalidateLines(index + 1, index + 1); }

void TCustomSrcEdit::LinesChanging(TObject*) { FStateFlags.Include(sfLinesChanging); }

void TCustomSrcEdit::LinesChanged(TObject*) {
  FStateFlags.Exclude(sfLinesChanging);
  if (!HandleAllocated()) return;
  UpdateScrollBars();
  // The selection collapses onto the caret after every batch of changes.
  FBlockBegin = FBlockEnd = CaretXY();
  if (!IsRectEmpty(FPendingInvalidRect)) InvalidateRect(FPendingInvalidRect, false);
  FPendingInvalidRect = {};
  if (FGutter->ShowLineNumbers() && FGutter->AutoSize()) FGutter->AutoSizeDigitCount(FLines->Count());
}

}  // namespace vk
