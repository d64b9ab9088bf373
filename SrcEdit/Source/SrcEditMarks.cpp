#include "SrcEdit/Source/SrcEditMarks.h"

#include <algorithm>

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

// ---------------------------------------------------------------- TSrcEditMark

TSrcEditMark::TSrcEditMark(TCustomSrcEdit* owner) : FEdit(owner) {
  static uint64_t lastId = 0;
  FId = ++lastId;
}

void TSrcEditMark::InvalidateGutter() {
  if (FEdit) FEdit->InvalidateGutterLines(FLine, FLine);
}

void TSrcEditMark::SetLine(int value) {
  if (!FVisible || !FEdit) {
    FLine = value;
    return;
  }
  if (FLine > 0) InvalidateGutter();
  FLine = value;
  InvalidateGutter();
}

void TSrcEditMark::SetImageIndex(int value) {
  FImage = value;
  if (FVisible) InvalidateGutter();
}

void TSrcEditMark::SetInternalImage(bool value) {
  FInternalImage = value;
  if (FVisible) InvalidateGutter();
}

void TSrcEditMark::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  InvalidateGutter();
}

TCustomSrcEdit* TSrcEditMark::GetEdit() {
  if (FEdit && FEdit->Marks().IndexOf(this) < 0) FEdit = nullptr;
  return FEdit;
}

// ---------------------------------------------------------------- TSrcEditMarkList

TSrcEditMarkList::~TSrcEditMarkList() {
  // The editor goes with its marks: nobody is told.
  OnChange = nullptr;
}

void TSrcEditMarkList::Changed() {
  if (OnChange) OnChange(this);
}

TSrcEditMark* TSrcEditMarkList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return FItems[static_cast<size_t>(index)].get();
}

int TSrcEditMarkList::IndexOf(const TSrcEditMark* mark) const {
  auto found = std::find_if(FItems.begin(), FItems.end(), [mark](const auto& item) { return item.get() == mark; });
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

int TSrcEditMarkList::Add(std::unique_ptr<TSrcEditMark> mark) {
  FItems.push_back(std::move(mark));
  Changed();
  return Count() - 1;
}

void TSrcEditMarkList::Leaving(TSrcEditMark* mark) {
  if (FEdit) FEdit->MarkLeftList(mark);
}

void TSrcEditMarkList::Delete(int index) {
  Leaving(Items(index));  // checks the index
  FItems.erase(FItems.begin() + index);
  Changed();
}

std::unique_ptr<TSrcEditMark> TSrcEditMarkList::Extract(TSrcEditMark* mark) {
  int index = IndexOf(mark);
  if (index < 0) return nullptr;
  Leaving(mark);
  std::unique_ptr<TSrcEditMark> extracted = std::move(FItems[static_cast<size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  Changed();
  return extracted;
}

void TSrcEditMarkList::Clear() {
  if (FItems.empty()) return;
  for (const auto& item : FItems) Leaving(item.get());
  FItems.clear();
  Changed();
}

void TSrcEditMarkList::ClearLine(int line) {
  for (int i = Count() - 1; i >= 0; --i) {
    const TSrcEditMark* mark = FItems[static_cast<size_t>(i)].get();
    if (mark->Line() == line && !mark->IsBookmark()) Delete(i);
  }
}

void TSrcEditMarkList::GetMarksForLine(int line, TSrcEditMarks& marks) const {
  marks.fill(nullptr);
  size_t found = 0;
  for (const auto& item : FItems) {
    if (item->Line() != line) continue;
    marks[found++] = item.get();
    if (found == marks.size()) break;
  }
}

void TSrcEditMarkList::Place(std::unique_ptr<TSrcEditMark> mark) {
  if (FEdit && FEdit->OnPlaceBookmark) {
    TSrcEditMark* placed = mark.get();
    FEdit->OnPlaceBookmark(FEdit, placed);
    if (placed != mark.get()) mark.reset(placed);
  }
  if (mark) Add(std::move(mark));
}

// ---------------------------------------------------------------- TSrcMarkRecorder

void TSrcMarkRecorder::Start() {
  FRecording = true;
  FShifts.clear();
  FMoved.clear();
}

void TSrcMarkRecorder::Shifted(const TSrcLineShift& shift) {
  if (FRecording) FShifts.push_back(shift);
}

void TSrcMarkRecorder::Moving(const TSrcEditMark& mark, bool merged) {
  if (!FRecording) return;
  auto [moved, first] = FMoved.try_emplace(mark.Id(), TMoved{mark.Line(), merged});
  if (!first) moved->second.Merged = moved->second.Merged || merged;
}

std::shared_ptr<const TSrcMarkShifts> TSrcMarkRecorder::Take() {
  FRecording = false;
  std::shared_ptr<TSrcMarkShifts> record;
  if (!FShifts.empty()) {
    record = std::make_shared<TSrcMarkShifts>();
    record->Shifts.swap(FShifts);
    for (const auto& [id, moved] : FMoved)
      if (moved.Merged) record->Merged.push_back({id, moved.Line});
    std::sort(record->Merged.begin(), record->Merged.end(),
              [](const TSrcMarkLine& a, const TSrcMarkLine& b) { return a.Mark < b.Mark; });
  }
  FMoved.clear();
  return record;
}

// ---------------------------------------------------------------- TSrcEditPlugin

TSrcEditPlugin::TSrcEditPlugin(TCustomSrcEdit* owner) : FOwner(owner) {
  if (FOwner) FOwner->FPlugins.push_back(this);
}

TSrcEditPlugin::~TSrcEditPlugin() {
  if (FOwner) std::erase(FOwner->FPlugins, this);
}

// ---------------------------------------------------------------- the editor's bookmarks

void TCustomSrcEdit::MarkLeftList(TSrcEditMark* mark) {
  for (TSrcEditMark*& slot : FBookMarks)
    if (slot == mark) slot = nullptr;
  FMarkRecorder.Forget(mark);
}

// ---------------------------------------------------------------- marks through undo and redo

void TCustomSrcEdit::MoveMark(TSrcEditMark& mark, int line, bool merged) {
  FMarkRecorder.Moving(mark, merged);
  if (line != mark.Line()) mark.SetLine(line);
}

void TCustomSrcEdit::ShiftMarks(const TSrcLineShift& shift) {
  const int first = shift.FirstLine;
  const int count = shift.Count;
  for (int i = 0; i < FMarkList->Count(); ++i) {
    TSrcEditMark& mark = *FMarkList->Items(i);
    const int line = mark.Line();
    if (count > 0) {
      if (line >= first) MoveMark(mark, line + count, false);
    } else if (line >= first - count) {
      MoveMark(mark, line + count, line == first - count);
    } else if (line >= first) {
      MoveMark(mark, first, true);
    }
  }
}

// The marks move as the change moved them, or back: joined lines are parted
// again after the line they were joined onto, and the lines inserted are
// joined onto the line above them (the first line when they began the
// text); then the marks the change merged go back to their own lines.
void TCustomSrcEdit::ReplayMarkShifts(const TSrcMarkShifts& record, bool undo) {
  if (!undo) {
    for (const TSrcLineShift& shift : record.Shifts) ShiftMarks(shift);
    return;
  }
  for (auto shift = record.Shifts.rbegin(); shift != record.Shifts.rend(); ++shift) {
    if (shift->Count < 0)
      ShiftMarks({shift->FirstLine + 1, -shift->Count});
    else
      ShiftMarks({std::max(shift->FirstLine - 1, 1), -shift->Count});
  }
  if (record.Merged.empty()) return;
  for (int i = 0; i < FMarkList->Count(); ++i) {
    TSrcEditMark& mark = *FMarkList->Items(i);
    auto kept = std::lower_bound(record.Merged.begin(), record.Merged.end(), mark.Id(),
                                 [](const TSrcMarkLine& merged, uint64_t id) { return merged.Mark < id; });
    if (kept != record.Merged.end() && kept->Mark == mark.Id()) MoveMark(mark, kept->Line, false);
  }
}

// On the first item the edit recorded that a replay turns into a reverse
// item: undone last and redone first of the edit's items, while the marks
// hold still through the others.
void TCustomSrcEdit::KeepMarkRecord() {
  std::shared_ptr<const TSrcMarkShifts> record = FMarkRecorder.Take();
  if (!record) return;
  TSrcEditUndoItem* first = FUndoList->FirstChangeSince(FUndoBeforeEdit);
  if (first && !first->FMarkShifts) first->FMarkShifts = std::move(record);
}

void TCustomSrcEdit::DoOnPlaceMark(TSrcEditMark*& mark) {
  if (OnPlaceBookmark) OnPlaceBookmark(this, mark);
}

void TCustomSrcEdit::DoOnClearBookmark(TSrcEditMark*& mark) {
  if (OnClearBookmark) OnClearBookmark(this, mark);
}

void TCustomSrcEdit::SetBookMark(int bookmark, int x, int y) {
  if (bookmark < 0 || bookmark > 9 || y < 1 || y > std::max(1, FLines->Count())) return;
  auto mark = std::make_unique<TSrcEditMark>(this);
  mark->SetLine(y);
  mark->SetChar(x);
  mark->SetImageIndex(bookmark);
  mark->SetBookmarkNumber(bookmark);
  mark->SetVisible(true);
  mark->SetInternalImage(FBookMarkOptions->BookmarkImages() == nullptr);
  // The handler may drop the mark or put another (which the editor then
  // owns) in its place.
  TSrcEditMark* placed = mark.get();
  DoOnPlaceMark(placed);
  if (!placed) return;
  if (placed != mark.get()) mark.reset(placed);
  if (FBookMarks[bookmark]) ClearBookMark(bookmark);
  FBookMarks[bookmark] = placed;
  FMarkList->Add(std::move(mark));
}

void TCustomSrcEdit::GotoBookMark(int bookmark) {
  if (bookmark < 0 || bookmark > 9 || !FBookMarks[bookmark]) return;
  const TSrcEditMark& mark = *FBookMarks[bookmark];
  if (mark.Line() > FLines->Count()) return;
  SetCaretXYEx(false, {mark.Char(), mark.Line()});
  EnsureCursorPosVisibleEx(true);
  if (SelAvail()) InvalidateSelection();
  FBlockBegin = FBlockEnd = CaretXY();
}

void TCustomSrcEdit::ClearBookMark(int bookmark) {
  if (bookmark < 0 || bookmark > 9 || !FBookMarks[bookmark]) return;
  TSrcEditMark* mark = FBookMarks[bookmark];
  DoOnClearBookmark(mark);
  // Extracting frees the slot; the mark goes with the extracted owner.
  FMarkList->Extract(FBookMarks[bookmark]);
  FBookMarks[bookmark] = nullptr;
}

void TCustomSrcEdit::GotoLineAndCenter(int line) {
  SetCaretXYEx(false, {1, line});
  if (SelAvail()) InvalidateSelection();
  FBlockBegin = FBlockEnd = CaretXY();
  EnsureCursorPosVisibleEx(true);
}

}  // namespace vk
