// The program's own change between two buffer positions (lines the IDE
// inserts, the project-header block) goes through the undoable replacement
// like the user's, with the caret and the selection placed by position.

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

void TCustomSrcEdit::ReplaceRange(const TBufferCoord& from, const TBufferCoord& to, std::string_view value,
                                  TSrcTextBreaks breaks) {
  TSrcPaintLock lock(*this);
  const TSrcSelectionMode chosen = FSelectionMode;
  {
    TTempValue normal(FSelectionMode, smNormal);
    SetActiveSelectionMode(smNormal);
    SetCaretAndSelection(to, from, to);
    SetSelText(value, breaks);
  }
  SetActiveSelectionMode(chosen);
}

}  // namespace vk
