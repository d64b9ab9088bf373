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

void TCustomSrcEdit::InvalidateRows(int firstRow, int lastRow, int left, int right) {
  firstRow = std::max(firstRow, FTopLine);
  lastRow = static_cast<int>(std::min<long long>(lastRow, static_cast<long long>(FTopLine) + FRowsInWindow));
  if (lastRow < firstRow) return;
  InvalidateArea(Rect(left, (firstRow - FTopLine) * FRowHeight, right, (lastRow - FTopLine + 1) * FRowHeight));
}

void TCustomSrcEdit::InvalidateLines(int firstLine, int lastLine) {
  if (firstLine == -1 && lastLine == -1) {
    InvalidateArea(Rect(FGutterWidth, 0, ClientWidth(), ClientHeight()));
    return;
  }
  firstLine = std::max(firstLine, 1);
  lastLine = std::max(lastLine, 1);
  if (lastLine < firstLine) std::swap(firstLine, lastLine);
  if (lastLine >= FLines->Count()) lastLine = INT_MAX;  // to the end of the window
  if (WordWrap()) {
    // Every row of the lines.
    firstLine = LineToRow(firstLine);
    if (lastLine != INT_MAX) lastLine = LineToRow(lastLine + 1) - 1;
  }
  InvalidateRows(firstLine, lastLine, FGutterWidth, ClientWidth());
}

void TCustomSrcEdit::InvalidateGutterLines(int firstLine, int lastLine) {
  if (firstLine == -1 && lastLine == -1) {
    InvalidateArea(Rect(0, 0, FGutterWidth, ClientHeight()));
    return;
  }
  if (lastLine < firstLine) std::swap(firstLine, lastLine);
  if (WordWrap()) {
    firstLine = LineToRow(firstLine);
    lastLine = lastLine > FLines->Count() ? INT_MAX : LineToRow(lastLine);
  }
  InvalidateRows(firstLine, lastLine, 0, FGutterWidth);
}

void TCustomSrcEdit::InvalidateGutterLine(int line) {
  if (line >= 1 && line <= FLines->Count()) InvalidateGutterLines(line, line);
}

void TCustomSrcEdit::InvalidateLine(int line) {
  if (line < 1 || line > FLines->Count()) return;
  if (WordWrap()) {
    InvalidateLines(line, line);
    return;
  }
  if (line < FTopLine || line > static_cast<long long>(FTopLine) + FRowsInWindow) return;
  int top = (line - FTopLine) * FRowHeight;
  InvalidateArea(Rect(FGutterWidth, top, ClientWidth(), top + FRowHeight));
}

void TCustomSrcEdit::DoOnPaintTransientEx(TTransientType type, bool lock) {
  bool fire = FPaintTransientLock == 0;
  if (lock) {
    // Nested brackets: only the outermost before and after are told.
    if (type == ttBefore)
      fire = FPaintTransientLock++ == 0;
    else
      fire = --FPaintTransientLock == 0;
  }
  if (!fire || !OnPaintTransient) return;
  Canvas().Font().Assign(Font());
  Canvas().Brush().SetColor(Color());
  HideCaret();
  try {
    OnPaintTransient(this, Canvas(), type);
  } catch (...) {
    ShowCaret();
    throw;
  }
  ShowCaret();
}

// ---------------------------------------------------------------- the highlighter

void TCustomSrcEdit::SetHighlighter(TSrcCustomHighlighter* value) {
  if (value == FHighlighter) return;
  const TNotifyEvent changed(this, &TCustomSrcEdit::HighlighterAttrChanged);
  if (FHighlighter) {
    FHighlighter->UnhookAttrChangeEvent(changed);
    FHighlighter->RemoveFreeNotification(this);
  }
  if (value) {
    value->HookAttrChangeEvent(changed);
    value->FreeNotification(this);
  }
  FHighlighter = value;
  if (!ComponentState().Contains(csDestroying)) HighlighterAttrChanged(FHighlighter);
}

void TCustomSrcEdit::HighlighterAttrChanged(TObject* sender) {
  RecalcCharExtent();
  if (dynamic_cast<TSrcCustomHighlighter*>(sender)) {
    TStringsUpdate update(*FLines);
    ScanRanges();
  } else {
    Invalidate();
  }
  SizeOrFontChanged(true);
}

void TCustomSrcEdit::SelectedColorsChanged(TObject*) { InvalidateSelection(); }

void TCustomSrcEdit::BookMarkOptionsChanged(TObject*) { InvalidateGutter(); }

void TCustomSrcEdit::WordWrapGlyphChange(TObject*) {
  if (!ComponentState().Contains(csLoading)) InvalidateGutter();
}

}  // namespace vk
