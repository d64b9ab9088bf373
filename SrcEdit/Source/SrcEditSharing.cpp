// Several editors showing one text: an editor hooked to another's line
// store and undo lists listens to them beside their owner, so every change
// reaches the owner first and then each hooked editor in the order it
// hooked. Each editor leaves by identity, so hooking, unhooking and freeing
// may happen in any order.

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

void TCustomSrcEdit::SetLinesPointer(TCustomSrcEdit* source) {
  if (!source) return;
  // The text belongs to the editor that owns the store; following it
  // directly means that editor's end is heard even when the text was
  // reached through another sharer.
  while (source->FSharedLinesSource) source = source->FSharedLinesSource;
  HookTextBuffer(source->Lines(), source->UndoList(), source->RedoList());
  FSharedLinesSource = source;
  source->FreeNotification(this);
}

void TCustomSrcEdit::RemoveLinesPointer() {
  if (FSharedLinesSource) FSharedLinesSource->RemoveFreeNotification(this);
  FSharedLinesSource = nullptr;
  UnHookTextBuffer();
}

void TCustomSrcEdit::HookTextBuffer(TSrcEditStringList& buffer, TSrcEditUndoList& undoList,
                                    TSrcEditUndoList& redoList) {
  if (FSharedLinesSource || FLines != FOwnLines.get() || &buffer == FOwnLines.get()) throw ESrcEditAssertion();
  buffer.AddListener(&FSharedTextListener);
  undoList.AddChangeRecordedListener(TNotifyEvent(this, &TCustomSrcEdit::ChainUndoRedoAdded));
  redoList.AddChangeRecordedListener(TNotifyEvent(this, &TCustomSrcEdit::ChainUndoRedoAdded));
  FLines = &buffer;
  FUndoList = &undoList;
  FRedoList = &redoList;
  LinesHookChanged();
}

void TCustomSrcEdit::UnHookTextBuffer() {
  if (FSharedLinesSource) throw ESrcEditAssertion();
  if (FLines == FOwnLines.get()) return;
  FLines->RemoveListener(&FSharedTextListener);
  FUndoList->RemoveChangeRecordedListener(TNotifyEvent(this, &TCustomSrcEdit::ChainUndoRedoAdded));
  FRedoList->RemoveChangeRecordedListener(TNotifyEvent(this, &TCustomSrcEdit::ChainUndoRedoAdded));
  FLines = FOwnLines.get();
  FUndoList = FOwnUndoList.get();
  FRedoList = FOwnRedoList.get();
  LinesHookChanged();
}

void TCustomSrcEdit::LinesHookChanged() {
  // The rows of the wrapped text, and the points the scans of long lines
  // go on from, are those of the lines now shown.
  if (FWordWrapPlugin) FWordWrapPlugin->Reset();
  FScanPoints.Clear();
  Invalidate();
  if (FOptions.Contains(eoAutoSizeMaxScrollWidth)) {
    int longest = FLines->GetLengthOfLongestLine();
    if (longest > FMaxScrollWidth) SetMaxScrollWidth(longest);
  }
  UpdateScrollBars();
}

// The shared store's changes reach this editor's own handlers the way its
// own store would call them.

void TCustomSrcEdit::ChainListCleared(TObject* sender) {
  if (FOwnLines->OnLinesCleared) FOwnLines->OnLinesCleared(sender);
}

void TCustomSrcEdit::ChainListDeleted(TObject* sender, int index, int count) {
  if (FOwnLines->OnLinesDeleted) FOwnLines->OnLinesDeleted(sender, index, count);
}

void TCustomSrcEdit::ChainListInserted(TObject* sender, int index, int count) {
  if (FOwnLines->OnLinesInserted) FOwnLines->OnLinesInserted(sender, index, count);
}

void TCustomSrcEdit::ChainListPutted(TObject* sender, int index, int count) {
  if (FOwnLines->OnLinePut) FOwnLines->OnLinePut(sender, index, count);
}

void TCustomSrcEdit::ChainLinesChanging(TObject* sender) {
  if (FOwnLines->OnStoreChanging) FOwnLines->OnStoreChanging(sender);
}

void TCustomSrcEdit::ChainLinesChanged(TObject* sender) {
  if (FOwnLines->OnStoreChange) FOwnLines->OnStoreChange(sender);
}

void TCustomSrcEdit::ChainUndoRedoAdded(TObject* sender) {
  const TSrcEditUndoList& own = sender == FUndoList ? *FOwnUndoList : *FOwnRedoList;
  if (own.OnChangeRecorded) own.OnChangeRecorded(sender);
}

}  // namespace vk
