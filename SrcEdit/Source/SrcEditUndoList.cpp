#include "SrcEdit/Source/SrcEditUndoList.h"

namespace vk {

void TSrcEditUndoItem::Assign(const TPersistent& source) {
  if (auto* item = dynamic_cast<const TSrcEditUndoItem*>(&source)) {
    FChangeReason = item->FChangeReason;
    FChangeSelMode = item->FChangeSelMode;
    FChangeStartPos = item->FChangeStartPos;
    FChangeEndPos = item->FChangeEndPos;
    // A copy holds the text: the lines' stamps are their store's own.
    FChangeStr = item->ChangeText();
    FLineRun.reset();
    FChangeNumber = item->FChangeNumber;
    FRunCommand = item->FRunCommand;
    FMarkShifts = item->FMarkShifts;
    return;
  }
  TPersistent::Assign(source);
}

uint32_t TSrcEditUndoList::TakeChangeNumber() {
  if (FBlockCount > 0) return FBlockChangeNumber;
  uint32_t number = FNextChangeNumber;
  // Numbers are never 0: 0 marks a text saved with an empty list.
  if (++FNextChangeNumber == 0) FNextChangeNumber = 1;
  return number;
}

void TSrcEditUndoList::AddChange(TSrcChangeReason reason, const TBufferCoord& start, const TBufferCoord& end,
                                 std::string text, TSrcSelectionMode selectionMode) {
  if (FLockCount > 0) return;
  AddNumberedChange(reason, start, end, std::move(text), selectionMode, TakeChangeNumber());
}

void TSrcEditUndoList::AddNumberedChange(TSrcChangeReason reason, const TBufferCoord& start, const TBufferCoord& end,
                                         std::string&& text, TSrcSelectionMode selectionMode, uint32_t number) {
  if (FLockCount > 0) return;
  auto item = std::make_unique<TSrcEditUndoItem>();
  item->FChangeReason = reason;
  item->FChangeSelMode = selectionMode;
  item->FChangeStartPos = start;
  item->FChangeEndPos = end;
  item->FChangeStr = std::move(text);
  item->FChangeNumber = number;
  item->FRunCommand = FRunCommand;
  PushItem(std::move(item));
}

void TSrcEditUndoList::AddGroupBreak() {
  if (LastChangeReason() != crGroupBreak) AddChange(crGroupBreak, {}, {}, std::string(), smNormal);
}

void TSrcEditUndoList::BeginBlock() {
  ++FBlockCount;
  FBlockChangeNumber = FNextChangeNumber;
}

void TSrcEditUndoList::EndBlock() {
  if (FBlockCount == 0) return;
  if (--FBlockCount > 0) return;
  uint32_t closed = FBlockChangeNumber;
  FBlockChangeNumber = 0;
  if (++FNextChangeNumber == 0) FNextChangeNumber = 1;
  if (!FItems.empty() && FItems.back()->FChangeNumber == closed) ChangeRecorded();
}

bool TSrcEditUndoList::UndoneTogether(const TSrcEditUndoItem& older, const TSrcEditUndoItem& newer, bool groupUndo) {
  return older.FChangeNumber == newer.FChangeNumber ||
         (groupUndo && older.FRunCommand != 0 && older.FRunCommand == newer.FRunCommand &&
          older.FChangeReason == newer.FChangeReason);
}

// A group break goes with the step below it (undo takes it first and then
// that step): it is never a step of its own, so the saved state that adds
// one costs no step of the limit.
bool TSrcEditUndoList::StartsStep(const TSrcEditUndoItem* older, const TSrcEditUndoItem& item) const {
  return item.FChangeReason != crGroupBreak && (!older || !UndoneTogether(*older, item, FGroupUndo));
}

void TSrcEditUndoList::PushItem(std::unique_ptr<TSrcEditUndoItem> item) {
  if (!item) return;
  TSrcChangeReason reason = item->FChangeReason;
  if (StartsStep(FItems.empty() ? nullptr : FItems.back().get(), *item)) FStepStarts.push_back(FDropped + FItems.size());
  FItems.push_back(std::move(item));
  EnsureMaxEntries();
  if (reason != crGroupBreak) ChangeRecorded();
}

void TSrcEditUndoList::ChangeRecorded() {
  if (OnChangeRecorded) OnChangeRecorded(this);
  FChangeRecordedListeners.ForEach([this](const TNotifyEvent& listener) { listener(this); });
}

std::unique_ptr<TSrcEditUndoItem> TSrcEditUndoList::PopItem() {
  if (FItems.empty()) return nullptr;
  std::unique_ptr<TSrcEditUndoItem> item = std::move(FItems.back());
  FItems.pop_back();
  if (!FStepStarts.empty() && FStepStarts.back() == FDropped + FItems.size()) FStepStarts.pop_back();
  return item;
}

TSrcEditUndoItem* TSrcEditUndoList::PeekItem() const { return FItems.empty() ? nullptr : FItems.back().get(); }

TSrcEditUndoItem* TSrcEditUndoList::FirstChangeSince(size_t position) const {
  for (size_t i = position > FDropped ? position - FDropped : 0; i < FItems.size(); ++i) {
    const TSrcChangeReason reason = FItems[i]->FChangeReason;
    if (reason != crGroupBreak && reason != crNothing && (reason < crAutoCompleteBegin || reason > crSpecial2End))
      return FItems[i].get();
  }
  return nullptr;
}

TSrcChangeReason TSrcEditUndoList::LastChangeReason() const {
  return FItems.empty() ? crNothing : FItems.back()->FChangeReason;
}

void TSrcEditUndoList::Clear() {
  FItems.clear();
  FStepStarts.clear();
  FDropped = 0;
  FFullUndoImpossible = false;
}

void TSrcEditUndoList::SetMaxUndoActions(int maximum) {
  if (maximum < 0) maximum = 0;
  if (maximum == FMaxUndoActions) return;
  FMaxUndoActions = maximum;
  EnsureMaxEntries();
}

void TSrcEditUndoList::SetGroupUndo(bool value) {
  if (value == FGroupUndo) return;
  FGroupUndo = value;
  FindStepStarts();
  EnsureMaxEntries();
}

void TSrcEditUndoList::FindStepStarts() {
  FStepStarts.clear();
  for (size_t i = 0; i < FItems.size(); ++i)
    if (StartsStep(i == 0 ? nullptr : FItems[i - 1].get(), *FItems[i])) FStepStarts.push_back(FDropped + i);
}

void TSrcEditUndoList::EnsureMaxEntries() {
  while (static_cast<int>(FStepStarts.size()) > FMaxUndoActions || (FMaxUndoActions == 0 && !FItems.empty()))
    DropOldestStep();
}

// Drops the items up to the second step's start (all of them when there is
// no second step): the oldest step with the group breaks that follow it,
// and any break in front of it.
void TSrcEditUndoList::DropOldestStep() {
  FFullUndoImpossible = true;
  if (!FStepStarts.empty()) FStepStarts.pop_front();
  const size_t end = FStepStarts.empty() ? FDropped + FItems.size() : FStepStarts.front();
  // The text after the dropped items is that after their last change: a
  // saved state marked there or on a group break after it is reached by
  // undoing everything now.
  bool savedThere = false;
  bool changeSeen = false;
  for (size_t i = end - FDropped; i-- > 0 && !changeSeen;) {
    changeSeen = FItems[i]->FChangeReason != crGroupBreak;
    savedThere = savedThere || FInitialChangeNumber == FItems[i]->FChangeNumber;
  }
  while (FDropped < end) {
    FItems.pop_front();
    ++FDropped;
  }
  // Saved further back, it is out of reach.
  if (savedThere)
    FInitialChangeNumber = 0;
  else if (FInitialChangeNumber == 0u)
    FInitialChangeNumber.reset();
}

void TSrcEditUndoList::SetItems(int index, const TSrcEditUndoItem& item) {
  FItems.at(index)->Assign(item);
  FindStepStarts();
}

void TSrcEditUndoList::DeleteItem(int index) {
  FItems.erase(FItems.begin() + index);
  FindStepStarts();
}

void TSrcEditUndoList::SetInitialState(bool saved) {
  if (saved) FInitialChangeNumber = FItems.empty() ? 0 : FItems.back()->FChangeNumber;
  else if (InitialState()) FInitialChangeNumber.reset();
}

bool TSrcEditUndoList::InitialState() const {
  if (!FInitialChangeNumber) return false;
  return FItems.empty() ? *FInitialChangeNumber == 0 : FItems.back()->FChangeNumber == *FInitialChangeNumber;
}

void TSrcEditUndoList::Assign(const TPersistent& source) {
  auto* list = dynamic_cast<const TSrcEditUndoList*>(&source);
  if (!list) {
    TPersistent::Assign(source);
    return;
  }
  if (list == this) return;
  Clear();
  for (const auto& item : list->FItems) {
    auto copy = std::make_unique<TSrcEditUndoItem>();
    copy->Assign(*item);
    FItems.push_back(std::move(copy));
  }
  FGroupUndo = list->FGroupUndo;
  FindStepStarts();
  FBlockChangeNumber = list->FBlockChangeNumber;
  FBlockCount = list->FBlockCount;
  FFullUndoImpossible = list->FFullUndoImpossible;
  FLockCount = list->FLockCount;
  FMaxUndoActions = list->FMaxUndoActions;
  FNextChangeNumber = list->FNextChangeNumber;
  FInsideRedo = list->FInsideRedo;
}

}  // namespace vk
