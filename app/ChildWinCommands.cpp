// The document window's editing commands: undo, redo and delete line
// through the editor's commands, the block comments and the separator line,
// and the gutter.

#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "app/ChildWin.h"
#include "app/EditCommands.h"
#include "app/Main.h"
#include "platform/MessageBoxes.h"

namespace vk {

void TMDIChild::BindCommands() {
  EditUndoCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditUndoCmdExecute);
  EditRedoCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditRedoCmdExecute);
  EditlOneLineDel->OnExecute = TNotifyEvent(this, &TMDIChild::EditlOneLineDelExecute);
  EditInCommentCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditInCommentCmdExecute);
  EditOutCommentCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditOutCommentCmdExecute);
  EditLineCommentCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditLineCommentCmdExecute);
  EditLineNumberCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditLineNumberCmdExecute);
}

void TMDIChild::EditUndoCmdExecute(TObject*) { Editor->CommandProcessor(ecUndo, 'a'); }

void TMDIChild::EditRedoCmdExecute(TObject*) { Editor->CommandProcessor(ecRedo, 'a'); }

void TMDIChild::EditlOneLineDelExecute(TObject*) { Editor->CommandProcessor(ecDeleteLine, 'a'); }

void TMDIChild::EditInCommentCmdExecute(TObject*) {
  CommentInSelection(*Editor);
  FollowSelection();
}

void TMDIChild::EditOutCommentCmdExecute(TObject*) {
  if (!CommentOutSelection(*Editor)) ShowMessage(CommentIncorrectText);
  FollowSelection();
}

void TMDIChild::FollowSelection() {
  const bool hasSelection = Editor->SelAvail();
  EnableSelectionCommands(hasSelection);
  for (TMenuItem* item : {PoEditInComment1, PoEditOutComment1}) item->SetEnabled(hasSelection);
  for (TCustomAction* action : {MainForm->EditBitToByteCmd, EditBitToByteCmd}) action->SetEnabled(hasSelection);
}

void TMDIChild::EditLineCommentCmdExecute(TObject*) { InsertSeparatorLine(*Editor, Editor->CaretY()); }

void TMDIChild::EditLineNumberCmdExecute(TObject*) { ToggleGutter(); }

void TMDIChild::ToggleGutter() {
  const bool visible = !Editor->Gutter().Visible();
  Editor->Gutter().SetVisible(visible);
  EditLineNumberCmd->SetChecked(visible);
  MainForm->EditLineNumber1->SetChecked(visible);
}

}  // namespace vk
