// The document window's file as another program leaves it: a change made
// on disk since the file was read or written here is shown, or asked about,
// and never written over unasked.

#include <algorithm>

#include "app/ChildWin.h"
#include "platform/MessageBoxes.h"

namespace vk {

void TMDIChild::ReloadIfChangedOnDisk() {
  // A question of the window's own is open: the check that follows it (a
  // save's) or the next time to the front asks, not a box on top of it.
  if (FClosing || FAsking || IsNewFileCaption(Caption())) return;
  TDiskCheck check = FDiskFile.Check(Caption());
  if (check.Change == dkSame || (Editor->Modified() && FDiskFile.Answered(check.File.State))) return;
  if (!check.ReadError.empty()) {
    if (FDiskFile.Reported(check.File.State)) return;
    FDiskFile.SetReported(check.File.State);
    MessageBox(check.ReadError, "Open message", MB_ICONWARNING | MB_UNASKED);
    return;
  }
  if (check.Change == dkDeleted) {
    // Nothing on disk to write over: the text is what is left of the file.
    FDiskFile.Remember(check.File);
    Editor->SetModified(true);
    MessageBox(Caption() + DeletedOnDiskText, "Open message", MB_ICONWARNING | MB_UNASKED);
    return;
  }
  // A key meant for the text must not throw the text away: No is the
  // default, and Yes can be undone.
  if (Editor->Modified() &&
      Ask(Caption() + ChangedOnDiskText, "Open message", MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_UNASKED) !=
          IDYES) {
    // The person's text is kept over this state of the file: a save
    // writes over it.
    FDiskFile.SetAnswer(check.File.State, true);
    return;
  }
  Reload(check.File);
}

// The file's bytes take the text's place as they are, breaks and all, in
// one undo step that puts the text back as it was.
void TMDIChild::Reload(TDiskFile& file) {
  const TBufferCoord caret = Editor->CaretXY();
  const int topLine = Editor->TopLine();
  const TSrcEditStringList& lines = Editor->Lines();
  const int last = std::max(1, lines.Count());
  const TBufferCoord end{static_cast<int>(lines.GetView(last - 1).size()) + 1, last};
  const std::string_view bytes(file.Bytes.Memory(), static_cast<size_t>(file.Bytes.Size()));
  Editor->ReplaceRange({1, 1}, end, bytes, tbKept);
  FDiskFile.Remember(file);
  NoteNulBytes(Caption(), bytes);
  Editor->SetModified(false);
  Editor->SetTopLine(topLine);
  Editor->SetCaretXY({caret.Char, std::clamp(caret.Line, 1, std::max(1, lines.Count()))});
  FollowUndoState();
}

std::optional<TFileStamp> TMDIChild::AskToWriteOverDiskFile(TSaveRequest request) {
  const TDiskCheck check = FDiskFile.Check(Caption());
  const TDiskState& state = check.File.State;
  // A file deleted (since the window last saw it, or before) is written
  // again when this document was asked for; nothing on disk is lost.
  const bool deleted = FDiskFile.Known() && !state.Stamp.Exists;
  const char* question = nullptr;
  if (deleted && request == srEveryDocument)
    question = DeletedOnDiskSaveText;
  else if (!deleted && check.Change == dkChanged)
    question = ChangedOnDiskSaveText;
  if (!question || (Editor->Modified() && FDiskFile.KeptText(state))) return state.Stamp;
  // Either answer holds for this state of the file: a write that fails
  // after Yes is reported, and not followed by a question to reload.
  const bool write = Ask(Caption() + question, "Save message", MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES;
  FDiskFile.SetAnswer(state, write);
  if (!write) return std::nullopt;
  return state.Stamp;
}

}  // namespace vk
