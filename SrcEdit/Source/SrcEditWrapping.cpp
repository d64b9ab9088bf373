// Turning word wrap on and off: the wrap plugin is created with the whole
// text wrapped, or dropped; the view keeps the same line at its top and a
// caret that was visible stays visible. Also the identifier characters,
// after which a wrapped row does not end.

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditWordWrap.h"

namespace vk {

TSrcIdentChars TCustomSrcEdit::IdentChars() const {
  if (FHighlighter) return FHighlighter->GetIdentChars();
  TSrcIdentChars chars;
  chars.IncludeRange(33, 255);
  return chars;
}

void TCustomSrcEdit::SetWordWrap(bool value) {
  if (value == WordWrap()) return;
  Invalidate();
  const bool caretWasInView = CaretInView();
  const int topLine = RowToLine(FTopLine);
  if (value) {
    FWordWrapPlugin = std::make_unique<TSrcWordWrapPlugin>(this);
    SetLeftChar(1);
  } else {
    FWordWrapPlugin.reset();
  }
  SetTopLine(LineToRow(topLine));
  UpdateScrollBars();
  if (FOptions.Contains(eoScrollPastEol)) {
    // Positions beyond a line's end are limited differently with word
    // wrap: caret and selection take the new limits.
    const TBufferCoord caret = CaretXY();
    const TBufferCoord blockBegin = FBlockBegin;
    const TBufferCoord blockEnd = FBlockEnd;
    SetCaretAndSelection(caret, blockBegin, blockEnd);
  }
  if (caretWasInView) EnsureCursorPosVisible();
}

}  // namespace vk
