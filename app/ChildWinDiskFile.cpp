// The document window's file as another program leaves it: a change made
// on disk since the file was read or written here is shown, or asked about,
// and never written over unasked.

#include <algorithm>

#include "app/ChildWin.h"
#include "platform/MessageBoxes.h"

namespace vk {

void TMDIChild::ReloadIfChangedOnDisk() {
  if (FClosing || IsNewFileCaption(Caption())) return;
  TDiskCheck check = FDiskFile.Check(Caption());
  if (check.Change == dkSame || (Editor->Modified() && FDiskFile.Answered(check.File.State))) return;
  if (!check.ReadError.empty()) {
    if (FDiskFile.Reported(check.File.State)) return;
    FDiskFile.SetReported(check.File.State);
    MessageBox(check.ReadError, "Open message", MB_ICONWARNING);
    return;
  }
  if (check.Change == dkDeleted) {
    // Nothing on disk to write over: the text is what is left of the file.
    FDiskFile.Remember(check.File);
    Editor->SetModified(true);
    MessageBox(Caption() + DeletedOnDiskText, "Open message", MB_ICONWARNING);
    return;
  }
  if (Editor->Modified() &&
      MessageBox(Caption() + ChangedOnDiskText, "Open message", MB_YESNO | MB_ICONWARNING) != IDYES) {
    // The person's text is kept over this state of the file: a save
    // writes over it.
    FDiskFile.SetAnswer(check.File.State, true);
    return;
  }
  Reload(check.File);
}

// The undo list goes with the old text: the file's bytes are loaded as they
// are, breaks and all, so no edit leads back from them to the text before.
void TMDIChild::Reload(TDiskFile& file) {
  const TBufferCoord caret = Editor->CaretXY();
  const int topLine = Editor->TopLine();
  Load(file, Caption());
  Editor->ClearUndo();
  Editor->SetModified(false);
  Editor->SetTopLine(topLine);
  Editor->SetCaretXY({caret.Char, std::clamp(caret.Line, 1, std::max(1, Editor->Lines().Count()))});
  FollowUndoState();
}

std::optional<TFileStamp> TMDIChild::AskToWriteOverDiskFile() {
  const TDiskCheck check = FDiskFile.Check(Caption());
  const TFileStamp now = check.File.State.Stamp;
  // A deleted file is written again: nothing on disk is lost.
  if (check.Change != dkChanged || (Editor->Modified() && FDiskFile.KeptText(check.File.State))) return now;
  if (MessageBox(Caption() + ChangedOnDiskSaveText, "Save message", MB_YESNO | MB_ICONWARNING) == IDYES) return now;
  FDiskFile.SetAnswer(check.File.State, false);
  return std::nullopt;
}

}  // namespace vk
