#pragma once
// The editor's change lists: every text, caret or selection change is
// recorded as an item; items that share a change number are undone as one
// step. The undo list also carries the mark of the saved state.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/DelegateList.h"
#include "platform/Events.h"
#include "platform/Objects.h"
#include "platform/ScopeGuard.h"

namespace vk {

enum TSrcChangeReason : uint8_t {
  crInsert,
  crPaste,
  crDragDropInsert,
  crDeleteAfterCursor,
  crDelete,
  crLineBreak,
  crIndent,
  crUnindent,
  crSilentDelete,
  crSilentDeleteAfterCursor,
  crAutoCompleteBegin,
  crAutoCompleteEnd,
  crPasteBegin,
  crPasteEnd,
  crSpecial1Begin,
  crSpecial1End,
  crSpecial2Begin,
  crSpecial2End,
  crCaret,
  crSelection,
  crNothing,
  crGroupBreak,
  crDeleteAll,
  crWhiteSpaceAdd
};

// Lines that marks follow: Count lines inserted at FirstLine (1-based), or
// -Count lines after FirstLine joined onto it, with their marks.
struct TSrcLineShift {
  int FirstLine = 0;
  int Count = 0;
};

// A mark, by its id, and a line of it.
struct TSrcMarkLine {
  uint64_t Mark = 0;
  int Line = 0;
};

// What a change did to the marks: the line shifts it made, in order, and
// the marks it merged onto one line with the lines they had before it.
// Undo takes the shifts back and puts the merged marks back on their own
// lines; redo makes the shifts again.
struct TSrcMarkShifts {
  std::vector<TSrcLineShift> Shifts;
  std::vector<TSrcMarkLine> Merged;  // in the order of the ids
};

class TSrcEditUndoItem : public TPersistent {
public:
  std::string ClassName() const override { return "TSrcEditUndoItem"; }
  void Assign(const TPersistent& source) override;

  TSrcChangeReason FChangeReason = crNothing;
  TSrcSelectionMode FChangeSelMode = smNormal;
  TBufferCoord FChangeStartPos;
  TBufferCoord FChangeEndPos;
  std::string FChangeStr;
  uint32_t FChangeNumber = 0;
  // The typing or deleting command whose run recorded the item (ecChar for
  // all typing), 0 for any other change: only a run of one such command
  // is undone as one step by eoGroupUndo.
  TSrcEditorCommand FRunCommand = 0;
  // On the first item of a change that shifted lines: replaying the item
  // moves the marks as the change did (or back), and its reverse item
  // takes the record over.
  std::shared_ptr<const TSrcMarkShifts> FMarkShifts;
  // A whole text deleted keeps its lines here rather than in FChangeStr
  // (which stays empty): its undo puts them back as they were.
  std::unique_ptr<TSrcLineRun> FLineRun;
  // The text the change removed, wherever it is kept.
  std::string ChangeText() const { return FLineRun ? FLineRun->Text() : FChangeStr; }
};

class TSrcEditUndoList : public TPersistent {
public:
  std::string ClassName() const override { return "TSrcEditUndoList"; }

  // The item takes the text over: a whole text replaced is not copied.
  void AddChange(TSrcChangeReason reason, const TBufferCoord& start, const TBufferCoord& end, std::string text,
                 TSrcSelectionMode selectionMode);
  // The same with a given change number: the item joins that step.
  void AddNumberedChange(TSrcChangeReason reason, const TBufferCoord& start, const TBufferCoord& end,
                         std::string&& text, TSrcSelectionMode selectionMode, uint32_t number);
  void AddGroupBreak();
  void BeginBlock();
  void EndBlock();
  // Takes ownership; a null item is ignored.
  void PushItem(std::unique_ptr<TSrcEditUndoItem> item);
  std::unique_ptr<TSrcEditUndoItem> PopItem();
  TSrcEditUndoItem* PeekItem() const;
  TSrcChangeReason LastChangeReason() const;
  void Clear();
  void Lock() { ++FLockCount; }
  void Unlock() {
    if (FLockCount > 0) --FLockCount;
  }
  bool IsLocked() const { return FLockCount > 0; }

  // The number of undo steps kept (what one undo takes back each, a
  // replace-all of any size as much as a typed character; a group break
  // counts as none). Older steps are dropped whole, never part of one;
  // the newest ones stay whatever their size. 0 keeps nothing.
  int MaxUndoActions() const { return FMaxUndoActions; }
  void SetMaxUndoActions(int maximum);
  // Whether successive changes of one reason are undone as one step (the
  // editor's eoGroupUndo); tells the limit where steps begin.
  bool GroupUndo() const { return FGroupUndo; }
  void SetGroupUndo(bool value);
  // Whether one undo step takes newer and then older, the item below it:
  // they share a change number, or (with groupUndo) the same command's run
  // recorded both for the same reason.
  static bool UndoneTogether(const TSrcEditUndoItem& older, const TSrcEditUndoItem& newer, bool groupUndo);
  bool CanUndo() const { return !FItems.empty(); }
  // Where the next item goes, counting every item pushed (those the limit
  // dropped too) and none popped: items recorded since an earlier position
  // are the ones above it.
  size_t PushPosition() const { return FDropped + FItems.size(); }
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  // The oldest item pushed at or after a push position and still on the
  // list that undo and redo replay into a reverse item (not a group break,
  // a block marker or crNothing); null when there is none.
  TSrcEditUndoItem* FirstChangeSince(size_t position) const;
  TSrcEditUndoItem* Items(int index) const { return FItems.at(index).get(); }
  void SetItems(int index, const TSrcEditUndoItem& item);
  void DeleteItem(int index);

  int BlockCount() const { return FBlockCount; }
  uint32_t BlockChangeNumber() const { return FBlockChangeNumber; }
  uint32_t NextChangeNumber() const { return FNextChangeNumber; }
  // The number the next change gets (0 counts as 1).
  void SetNextChangeNumber(uint32_t number) { FNextChangeNumber = number == 0 ? 1 : number; }
  bool FullUndoImpossible() const { return FFullUndoImpossible; }
  bool InsideRedo() const { return FInsideRedo; }
  void SetInsideRedo(bool insideRedo) { FInsideRedo = insideRedo; }
  // The run the items recorded now belong to (see FRunCommand).
  TSrcEditorCommand RunCommand() const { return FRunCommand; }
  void SetRunCommand(TSrcEditorCommand command) { FRunCommand = command; }

  // Saved-state mark: true records the current state as the saved one;
  // false forgets it when the list stands at it (the text was changed in a
  // way undo cannot take back).
  void SetInitialState(bool saved);
  // True while the list stands at the saved state.
  bool InitialState() const;

  void Assign(const TPersistent& source) override;

  // A recorded change is told to OnChangeRecorded (the list's owner) first,
  // then to the listeners in the order they were added.
  TNotifyEvent OnChangeRecorded;
  // Listeners are found by identity; adding one twice keeps one entry. A
  // listener must leave before its object goes away; it may leave (or let
  // others leave) while it is being told of a change.
  void AddChangeRecordedListener(const TNotifyEvent& listener) { FChangeRecordedListeners.Add(listener); }
  void RemoveChangeRecordedListener(const TNotifyEvent& listener) {
    FChangeRecordedListeners.Remove(listener, drFirst);
  }
  int ChangeRecordedListenerCount() const { return FChangeRecordedListeners.Count(); }

private:
  void ChangeRecorded();
  void EnsureMaxEntries();
  // Whether item, pushed on older (null: nothing), begins an undo step.
  bool StartsStep(const TSrcEditUndoItem* older, const TSrcEditUndoItem& item) const;
  uint32_t TakeChangeNumber();
  void DropOldestStep();
  void FindStepStarts();

  uint32_t FBlockChangeNumber = 0;
  int FBlockCount = 0;
  bool FFullUndoImpossible = false;
  std::deque<std::unique_ptr<TSrcEditUndoItem>> FItems;
  // Where each undo step begins, oldest first, counted in items ever pushed
  // (FDropped of them have left from the front): the limit drops a step in
  // constant time per item.
  std::deque<size_t> FStepStarts;
  size_t FDropped = 0;
  bool FGroupUndo = false;
  int FLockCount = 0;
  int FMaxUndoActions = 1024;  // steps, not items
  uint32_t FNextChangeNumber = 1;
  // Change number of the last item at the saved state (0: saved with an
  // empty list); empty when no saved state can be reached. Kept apart from
  // the numbers themselves so that no change number can be mistaken for it.
  std::optional<uint32_t> FInitialChangeNumber = 0;
  bool FInsideRedo = false;
  TSrcEditorCommand FRunCommand = 0;
  TDelegateList<TNotifyEvent> FChangeRecordedListeners{ddIgnore};
};

// Keeps an undo block open for a scope, also when an exception passes.
// Closing the block reports the change, and a listener may raise: while
// another exception is already on its way that second one is dropped, so
// the first reaches the caller.
class TSrcUndoBlock {
public:
  explicit TSrcUndoBlock(TSrcEditUndoList& list) : FEnd(TEnd{&list}) { list.BeginBlock(); }

private:
  struct TEnd {
    TSrcEditUndoList* List;
    void operator()() const { List->EndBlock(); }
  };
  TScopeExit<TEnd> FEnd;
};

// A setting of a list for a scope: the old value comes back at its end.
template <class T, T (TSrcEditUndoList::*Get)() const, void (TSrcEditUndoList::*Set)(T)>
class TSrcUndoListSetting {
public:
  TSrcUndoListSetting(TSrcEditUndoList& list, T value) : FList(list), FWas((list.*Get)()) { (FList.*Set)(value); }
  ~TSrcUndoListSetting() { (FList.*Set)(FWas); }
  TSrcUndoListSetting(const TSrcUndoListSetting&) = delete;
  TSrcUndoListSetting& operator=(const TSrcUndoListSetting&) = delete;

private:
  TSrcEditUndoList& FList;
  T FWas;
};
// The run of a command: what the list records meanwhile belongs to it.
using TSrcUndoRun = TSrcUndoListSetting<TSrcEditorCommand, &TSrcEditUndoList::RunCommand,
                                        &TSrcEditUndoList::SetRunCommand>;
// A redo records its reverse items.
using TSrcInsideRedo = TSrcUndoListSetting<bool, &TSrcEditUndoList::InsideRedo, &TSrcEditUndoList::SetInsideRedo>;

}  // namespace vk
