// The program's own change between two buffer positions (lines the IDE
// inserts, the project-header block) goes through the undoable replacement
// like the user's, with the caret and the selection placed by position: on
// a line longer than the scroll width the text goes where its position
// says, not where the user's caret would stop.

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

void TCustomSrcEdit::ReplaceRange(const TBufferCoord& from, const TBufferCoord& to, std::string_view value) {
  TSrcPaintLock lock(*this);
  const TSrcSelectionMode chosen = FSelectionMode;
  {
    TTempValue placing(FPlacingByPosition, true);
    TTempValue normal(FSelectionMode, smNormal);
    SetActiveSelectionMode(smNormal);
    SetCaretAndSelection(to, from, to);
    SetSelText(value);
  }
  SetActiveSelectionMode(chosen);
}

}  // namespace vk
