// The editor's undo and redo lists: locks, blocks, the read-only rule of
// CanUndo and CanRedo, and the modified flag they drive.

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

bool TCustomSrcEdit::CanUndo() { return !GetReadOnly() && FUndoList->CanUndo(); }

bool TCustomSrcEdit::CanRedo() { return !GetReadOnly() && FRedoList->CanUndo(); }

void TCustomSrcEdit::SetMaxUndo(int value) {
  if (value < 0) return;
  FUndoList->SetMaxUndoActions(value);
  FRedoList->SetMaxUndoActions(value);
}

void TCustomSrcEdit::LockUndo() {
  FUndoList->Lock();
  FRedoList->Lock();
}

void TCustomSrcEdit::UnlockUndo() {
  FUndoList->Unlock();
  FRedoList->Unlock();
}

void TCustomSrcEdit::ClearUndo() {
  FUndoList->Clear();
  FRedoList->Clear();
}

void TCustomSrcEdit::BeginUndoBlock() { FUndoList->BeginBlock(); }

void TCustomSrcEdit::EndUndoBlock() { FUndoList->EndBlock(); }

void TCustomSrcEdit::UndoRedoAdded(TObject* sender) {
  bool modified = !FUndoList->InitialState();
  if (modified != FModified) {
    FModified = modified;
    StatusChanged({scModified});
  }
  // A fresh change discards what could be redone.
  if (sender == FUndoList && !FUndoList->InsideRedo() && FUndoList->LastChangeReason() != crGroupBreak)
    FRedoList->Clear();
  if (auto* list = dynamic_cast<TSrcEditUndoList*>(sender); list && list->BlockCount() == 0) DoChange();
}

}  // namespace vk
