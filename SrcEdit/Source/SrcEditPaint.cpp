// Invalidation of the editor's rows and gutter, and the repaints the
// option objects ask for.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <climits>

namespace vk {

void TCustomSrcEdit::InvalidateArea(const TRect& rect) {
  if (!HandleAllocated() || !Visible()) return;
  if (FStateFlags.Contains(sfLinesChanging)) {
    // Painted once when the line store's change ends (LinesChanged).
    TRect merged;
    if (UnionRect(merged, FPendingInvalidRect, rect)) FPendingInvalidRect = merged;
    return;
  }
  InvalidateRect(rect, false);
}

void TCustomSrcEdit::InvalidateRows(int firstLine, int lastLine, int left, int right) {
  if (firstLine == -1 && lastLine == -1) {
    InvalidateArea(Rect(left, 0, right, ClientHeight()));
    return;
  }
  firstLine = std::max(firstLine, 1);
  lastLine = std::max(lastLine, 1);
  if (lastLine < firstLine) std::swap(firstLine, lastLine);
  if (lastLine >= FLines->Count()) lastLine = INT_MAX;  // to the end of the window
  firstLine = std::max(firstLine, FTopLine);
  lastLine = std::min(lastLine, FTopLine + FRowsInWindow);
  if (lastLine < firstLine) return;
  InvalidateArea(Rect(left, (firstLine - FTopLine) * FRowHeight, right, (lastLine - FTopLine + 1) * FRowHeight));
}

void TCustomSrcEdit::InvalidateLines(int firstLine, int lastLine) {
  InvalidateRows(firstLine, lastLine, FGutterWidth, ClientWidth());
}

void TCustomSrcEdit::InvalidateGutterLines(int firstLine, int lastLine) {
  InvalidateRows(firstLine, lastLine, 0, FGutterWidth);
}

void TCustomSrcEdit::InvalidateLine(int line) {
  if (line < 1 || line > FLines->Count() || line < FTopLine || line > FTopLine + FRowsInWindow) return;
  int top = (line - FTopLine) * FRowHeight;
  InvalidateArea(Rect(FGutterWidth, top, ClientWidth(), top + FRowHeight));
}

void TCustomSrcEdit::SelectedColorsChanged(TObject*) { InvalidateSelection(); }

void TCustomSrcEdit::BookMarkOptionsChanged(TObject*) { InvalidateGutter(); }

void TCustomSrcEdit::WordWrapGlyphChange(TObject*) {
  if (!ComponentState().Contains(csLoading)) InvalidateGutter();
}

}  // namespace vk
