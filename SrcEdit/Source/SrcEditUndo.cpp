// The editor's undo and redo: the lists' locks and blocks, the read-only
// rule, the modified flag that follows the saved state, and the replay of
// recorded changes in groups. Every replayed item leaves its reverse on the
// other list with the number of its group, so a group undone is redone as
// one group and a redone group lands on its old number again (which keeps
// the saved state reachable). The marks do not follow the lines a replay
// inserts and deletes (a replay need not take the shape of the change):
// the record of the change's line shifts moves them, so that each comes
// back to its own line.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vk {

namespace {

// The Begin marker that closes a paired block undone from its End marker.
std::optional<TSrcChangeReason> PairedBegin(TSrcChangeReason end) {
  switch (end) {
    case crAutoCompleteEnd: return crAutoCompleteBegin;
    case crPasteEnd: return crPasteBegin;
    case crSpecial1End: return crSpecial1Begin;
    case crSpecial2End: return crSpecial2Begin;
    default: return std::nullopt;
  }
}

bool IsBeginMarker(TSrcChangeReason reason) {
  return reason == crAutoCompleteBegin || reason == crPasteBegin || reason == crSpecial1Begin ||
         reason == crSpecial2Begin;
}

// A group break moves to the other list with its number.
void MoveGroupBreak(TSrcEditUndoList& from, TSrcEditUndoList& to) {
  std::unique_ptr<TSrcEditUndoItem> item = from.PopItem();
  if (to.LastChangeReason() != crGroupBreak) to.AddNumberedChange(crGroupBreak, {}, {}, "", smNormal, item->FChangeNumber);
}

// Calls row(index, text) for each row of a recorded block (an unindent's
// or a column's text): what was taken from one line each, the rows ending
// at CR or CR LF.
template <class TRow>
void ForEachRow(std::string_view rows, TRow row) {
  for (int index = 0;; ++index) {
    const size_t breakAt = rows.find('\r');
    row(index, rows.substr(0, breakAt));
    if (breakAt == std::string_view::npos) return;
    rows.remove_prefix(breakAt + 1);
    if (!rows.empty() && rows.front() == '\n') rows.remove_prefix(1);
  }
}

TBufferCoord MinCoord(const TBufferCoord& a, const TBufferCoord& b) {
  return (b.Line < a.Line || (b.Line == a.Line && b.Char < a.Char)) ? b : a;
}

}  // namespace

// ---------------------------------------------------------------- the lists

bool TCustomSrcEdit::CanUndo() const { return !GetReadOnly() && FUndoList->CanUndo(); }

bool TCustomSrcEdit::CanRedo() const { return !GetReadOnly() && FRedoList->CanUndo(); }

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

void TCustomSrcEdit::RestartEditRecord() {
  FUndoBeforeEdit = FUndoList->PushPosition();
  FMarkRecorder.Start();
}

void TCustomSrcEdit::EndUndoBlock() { FUndoList->EndBlock(); }

// ---------------------------------------------------------------- modified flag

void TCustomSrcEdit::UpdateModifiedStatus() {
  const bool modified = !FUndoList->InitialState();
  if (modified == FModified) return;
  FModified = modified;
  StatusChanged({scModified});
}

void TCustomSrcEdit::UndoRedoAdded(TObject* sender) {
  UpdateModifiedStatus();
  // A fresh change discards what could be redone; the marker that opens a
  // paste is no change yet (a paste of nothing takes it away again).
  const TSrcChangeReason last = FUndoList->LastChangeReason();
  if (sender == FUndoList && FRedoList->CanUndo() && !FUndoList->InsideRedo() && last != crGroupBreak &&
      !IsBeginMarker(last))
    FRedoList->Clear();
  if (auto* list = dynamic_cast<TSrcEditUndoList*>(sender); list && list->BlockCount() == 0) DoChange();
}

void TCustomSrcEdit::SetModified(bool value) {
  if (value == FModified) return;
  FModified = value;
  // Changes after the save are not merged with those before it.
  if (!value && FOptions.Contains(eoGroupUndo) && FUndoList->CanUndo()) FUndoList->AddGroupBreak();
  FUndoList->SetInitialState(!value);
  StatusChanged({scModified});
}

// ---------------------------------------------------------------- undo and redo in groups

void TCustomSrcEdit::Undo() {
  if (GetReadOnly()) return;
  TSrcPaintLock lock(*this);
  // One edit: on the way back a step can pass through a text that no edit
  // leaves (an empty line between a lone CR and a lone LF, before the
  // line's text comes back), which must not be joined before the step ends.
  TSrcEditScope edit(*this);
  TScopeExit endBatch([this] { EndReplayBatch(); });
  if (FUndoList->LastChangeReason() == crGroupBreak) MoveGroupBreak(*FUndoList, *FRedoList);
  const TSrcEditUndoItem* last = FUndoList->PeekItem();
  if (!last) return;
  const std::optional<TSrcChangeReason> begin = PairedBegin(last->FChangeReason);
  const uint32_t number = last->FChangeNumber;
  const bool groupUndo = FOptions.Contains(eoGroupUndo);
  for (;;) {
    // What grouping looks at of the item about to go (not its text).
    TSrcEditUndoItem undone;
    undone.FChangeReason = FUndoList->PeekItem()->FChangeReason;
    undone.FChangeNumber = FUndoList->PeekItem()->FChangeNumber;
    undone.FRunCommand = FUndoList->PeekItem()->FRunCommand;
    UndoItem(number);
    const TSrcEditUndoItem* next = FUndoList->PeekItem();
    if (!next) break;
    // A paired block ends at its Begin marker, or where its number ends
    // when the marker fell off the list.
    if (begin ? next->FChangeReason == *begin || next->FChangeNumber != undone.FChangeNumber
              : !TSrcEditUndoList::UndoneTogether(*next, undone, groupUndo))
      break;
  }
  if (begin && FUndoList->LastChangeReason() == *begin) UndoItem(number);
  EndReplayBatch();
  // Markers leave no reverse item that would report the state.
  UpdateModifiedStatus();
  KeepCaretInLine();
}

// Every item undone in one step left its reverse with that step's number:
// a redo step takes exactly those, so as many redos as undos come back to
// the same text whatever eoGroupUndo is now.
void TCustomSrcEdit::Redo() {
  if (GetReadOnly()) return;
  TSrcPaintLock lock(*this);
  TSrcEditScope edit(*this);
  TScopeExit endBatch([this] { EndReplayBatch(); });
  const TSrcEditUndoItem* last = FRedoList->PeekItem();
  if (!last) return;
  const uint32_t number = last->FChangeNumber;
  TSrcChangeReason redone;
  for (;;) {
    redone = FRedoList->PeekItem()->FChangeReason;
    RedoItem(number);
    const TSrcEditUndoItem* next = FRedoList->PeekItem();
    if (!next || next->FChangeReason == crGroupBreak || next->FChangeNumber != number) break;
  }
  EndReplayBatch();
  if (FRedoList->LastChangeReason() == crGroupBreak) MoveGroupBreak(*FRedoList, *FUndoList);
  UpdateModifiedStatus();
  // A recorded caret is where the change left it, also after blanks it
  // trimmed; any other stays within its line.
  if (redone != crCaret) KeepCaretInLine();
}

// The replay works with eoScrollPastEol on; without it the caret ends
// within its line.
void TCustomSrcEdit::KeepCaretInLine() {
  const TBufferCoord caret = CaretXY();
  InternalSetCaretXY(caret);
  if (CaretXY() != caret && !SelAvail()) SetBlockBegin(CaretXY());
}

// ---------------------------------------------------------------- replaying one item

// The item's record of the marks moves them and goes on with the reverse
// item the replay left on the other list.
void TCustomSrcEdit::ReplayMarkRecord(TSrcEditUndoItem& item, bool undo, TSrcEditUndoList& reverseList,
                                      size_t reversed) {
  if (!item.FMarkShifts) return;
  ReplayMarkShifts(*item.FMarkShifts, undo);
  if (TSrcEditUndoItem* reverse = reverseList.FirstChangeSince(reversed)) reverse->FMarkShifts = item.FMarkShifts;
}

// A change within one line (a typed character, a line of a replace-all) is
// replayed by putting the line once, inside one report of the line store
// for a run of such changes; the caret goes where the last of them leaves
// it when the run ends. False when the change is not of that kind.
bool TCustomSrcEdit::ReplaceWithinLine(const TBufferCoord& start, const TBufferCoord& end, const std::string& text,
                                       std::string& removed) {
  if (start.Line != end.Line || start.Line < 1 || start.Line > FLines->Count()) return false;
  const std::string_view line = FLines->GetView(start.Line - 1);
  if (start.Char < 1 || end.Char < start.Char || end.Char > static_cast<int>(line.size()) + 1 ||
      text.find('\r') != std::string::npos || text.find('\n') != std::string::npos)
    return false;
  const size_t from = static_cast<size_t>(start.Char - 1);
  const size_t count = static_cast<size_t>(end.Char - start.Char);
  removed.assign(line.substr(from, count));
  std::string replaced;
  replaced.reserve(line.size() - count + text.size());
  replaced.append(line.substr(0, from)).append(text).append(line.substr(from + count));
  if (!FReplayBatch) {
    FLines->BeginUpdate();
    FReplayBatch = true;
  }
  FLines->Put(start.Line - 1, replaced);
  return true;
}

void TCustomSrcEdit::EndReplayBatch() {
  if (!FReplayBatch) return;
  FReplayBatch = false;
  FLines->EndUpdate();
  InternalSetCaretXY(FReplayCaret);
  SetReplaySelection(CaretXY(), CaretXY());
}

void TCustomSrcEdit::SetReplaySelection(const TBufferCoord& blockBegin, const TBufferCoord& blockEnd) {
  if (SelAvail()) InvalidateSelection();
  FBlockBegin = blockBegin;
  FBlockEnd = blockEnd;
  if (SelAvail()) InvalidateSelection();
  StatusChanged({scSelection});
}

void TCustomSrcEdit::InsertBlock(const TBufferCoord& blockBegin, const TBufferCoord& blockEnd, std::string_view text,
                                 bool addToUndoList) {
  TSrcPaintLock lock(*this);
  TSrcEditScope edit(*this);
  InternalSetCaretXY(blockBegin);
  SetReplaySelection(blockBegin, blockEnd);
  FActiveSelectionMode = smColumn;
  SetSelTextPrimitiveEx(smColumn, text, addToUndoList);
  StatusChanged({scSelection});
}

// A column block is recorded by its corners' characters, each naming a
// display column on its own line only, and the rows taken from each line
// (the whole TAB where the left edge cut through one). The corners tell the
// columns and their own rows' places: the left corner kept the text before
// it, the right corner stands right after its row. On the lines between,
// a row goes back at the first place from which deleting the block's
// columns takes exactly that row: where a TAB the left edge cut through
// could have stood at more than one place, the first is the one that
// indentation gives. The editor itself records a column block row by row;
// a whole column item comes from a program that records one.
void TCustomSrcEdit::RestoreColumnBlock(const TBufferCoord& start, const TBufferCoord& end, std::string_view text) {
  std::vector<std::string_view> rows;
  ForEachRow(text, [&](int, std::string_view row) { rows.push_back(row); });
  const int top = std::min(start.Line, end.Line);
  auto rowOf = [&](int line) {
    const size_t index = static_cast<size_t>(line - top);
    return index < rows.size() ? rows[index] : std::string_view();
  };
  auto lineText = [&](int line) { return line <= FLines->Count() ? FLines->Get(line - 1) : std::string(); };
  auto withRow = [](std::string line, std::string_view row, int at) { return line.insert(at - 1, row); };
  int left = 0;
  int right = 0;
  auto fits = [&](const std::string& line, std::string_view row, int at) {
    const int length = static_cast<int>(line.size());
    if (at < 1 || at > length + 1) return false;
    auto [first, last] = ColumnRangeOnLine(withRow(line, row, at), left, right);
    return first == at &&
           std::min(last, length + static_cast<int>(row.size()) + 1) - first == static_cast<int>(row.size());
  };
  auto placeBetween = [&](const std::string& line, std::string_view row) {
    for (int at = std::max(1, ColumnToCharIndex(line, std::max(1, left - FTabWidth)) - 1);
         at <= static_cast<int>(line.size()) + 1 && CharIndexToColumn(line, at) <= left; ++at)
      if (fits(line, row, at)) return at;
    return 0;
  };
  // A corner's row lies at the corner (left) or ends there (right); one
  // byte further when the corner was the second byte of a character. A
  // right corner beyond its line's end took the row up to that end.
  TBufferCoord leftCorner = start;
  TBufferCoord rightCorner = end;
  auto rightRowStart = [&](const std::string& line, int size, int extra) {
    return std::min(rightCorner.Char + extra - size, static_cast<int>(line.size()) + 1);
  };
  auto cornerPlace = [&](int line) {
    const std::string current = lineText(line);
    const std::string_view row = rowOf(line);
    const int size = static_cast<int>(row.size());
    const int candidates[] = {line == leftCorner.Line ? leftCorner.Char : rightRowStart(current, size, 0),
                              line == leftCorner.Line ? leftCorner.Char + 1 : rightRowStart(current, size, 1)};
    for (int at : candidates)
      if (fits(current, row, at)) return at;
    return 0;
  };
  // The columns when `leftCorner` is the block's left edge; false when the
  // rows do not fit so.
  auto columnsFor = [&](const TBufferCoord& l, const TBufferCoord& r) {
    leftCorner = l;
    rightCorner = r;
    left = CharIndexToColumn(lineText(l.Line), l.Char);
    const std::string line = lineText(r.Line);
    const std::string_view row = rowOf(r.Line);
    const int at = rightRowStart(line, static_cast<int>(row.size()), 0);
    if (!row.empty() && at < 1) return false;
    right = CharIndexToColumn(row.empty() ? line : withRow(line, row, at), r.Char);
    if (right < left) return false;
    for (int corner : {l.Line, r.Line})
      if (!rowOf(corner).empty() && cornerPlace(corner) == 0) return false;
    return true;
  };
  // On one line the left corner is the one further left.
  const bool startLeft = start.Line != end.Line || start.Char <= end.Char;
  if (!columnsFor(startLeft ? start : end, startLeft ? end : start) &&
      (start.Line == end.Line || !columnsFor(end, start))) {
    left = std::min(CharIndexToColumn(lineText(start.Line), start.Char),
                    CharIndexToColumn(lineText(end.Line), end.Char));
    right = left;
  }
  TStringsUpdate update(*FLines);
  for (int line = top; line < top + static_cast<int>(rows.size()) && line <= FLines->Count(); ++line) {
    const std::string_view row = rowOf(line);
    if (row.empty()) continue;
    const std::string current = FLines->Get(line - 1);
    int at = line == start.Line || line == end.Line ? cornerPlace(line) : placeBetween(current, row);
    if (at == 0) at = placeBetween(current, row);
    if (at == 0) at = std::min(ColumnToCharIndex(current, left), static_cast<int>(current.size()) + 1);
    ProperSetLine(line - 1, withRow(current, row, at));
  }
}

void TCustomSrcEdit::KeepLinesOn(TSrcEditUndoList& list, size_t position, std::unique_ptr<TSrcLineRun> run) {
  if (!run) return;
  TSrcEditUndoItem* item = list.FirstChangeSince(position);
  if (!item) return;
  item->FLineRun = std::move(run);
}

bool TCustomSrcEdit::PutBackWholeText(const TBufferCoord& at, TSrcLineRun& run) {
  const int count = static_cast<int>(run.Records.Count());
  if (at != TBufferCoord{1, 1} || count == 0 || FLines->Count() != 1 || !FLines->GetView(0).empty()) return false;
  {
    TStringsUpdate update(*FLines);
    // The empty line goes first: into an empty store the lines come with
    // their storage, and no record moves.
    FLines->DeleteLines(0, 1);
    // Ranges scanned by the same highlighter from the same start hold.
    TTempValue held(FRangesHeld, run.RangesStamp != 0 && run.RangesStamp == RangesStamp());
    FLines->PutLines(0, std::move(run));
  }
  DoLinesInserted(1, count - 1);
  return true;
}

bool TCustomSrcEdit::ReplayPositionItem(const TSrcEditUndoItem& item, const TReverseChange& reverse) {
  const TBufferCoord& start = item.FChangeStartPos;
  const TBufferCoord& end = item.FChangeEndPos;
  switch (item.FChangeReason) {
    case crIndent:
      InternalSetCaretXY(end);
      SetReplaySelection(start, end);
      reverse(crIndent, start, end, item.FChangeStr);
      return true;
    case crCaret:
      reverse(crCaret, CaretXY(), CaretXY(), "");
      InternalSetCaretXY(start);
      return true;
    case crSelection:
      reverse(crSelection, FBlockBegin, FBlockEnd, "");
      SetReplaySelection(start, end);
      return true;
    default:
      return false;
  }
}

void TCustomSrcEdit::UndoItem(uint32_t number) {
  std::unique_ptr<TSrcEditUndoItem> item = FUndoList->PopItem();
  if (!item) return;
  TScopeExit marks([this, &item, reversed = FRedoList->PushPosition()] {
    ReplayMarkRecord(*item, true, *FRedoList, reversed);
  });
  TTempValue heldMarks(FMarksHeld, true);
  const TSrcChangeReason reason = item->FChangeReason;
  const TSrcSelectionMode mode = item->FChangeSelMode;
  const TBufferCoord start = item->FChangeStartPos;
  const TBufferCoord end = item->FChangeEndPos;
  FActiveSelectionMode = mode;
  TSrcPaintLock lock(*this);
  TOptionOn pastEol(FOptions, eoScrollPastEol);
  // A replay puts back the text exactly: trimmed blanks have items of
  // their own.
  TOptionOff keepBlanks(FOptions, eoTrimTrailingSpaces);
  // Replays never record on the undo list themselves; they put text back
  // with the line breaks it had (tbKept).
  TSrcUndoLock noRecording(*this);
  TTempValue exactCaret(FCaretExact, true);
  // The reverse keeps the item's run: redone, it groups as it did.
  TSrcUndoRun run(*FRedoList, item->FRunCommand);
  auto reverse = [&](TSrcChangeReason r, const TBufferCoord& s, const TBufferCoord& e, std::string text) {
    FRedoList->Unlock();
    FRedoList->AddNumberedChange(r, s, e, std::move(text), mode, number);
    FRedoList->Lock();
  };
  const bool insertion = reason == crInsert || reason == crPaste || reason == crDragDropInsert;
  std::string removed;
  if (insertion && mode == smNormal && ReplaceWithinLine(start, end, item->FChangeStr, removed)) {
    FReplayCaret = start;
    reverse(reason, start, {start.Char + static_cast<int>(item->FChangeStr.size()), start.Line}, removed);
    return;
  }
  EndReplayBatch();
  if (ReplayPositionItem(*item, reverse)) return;
  switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
      InternalSetCaretXY(start);
      SetReplaySelection(start, end);
      // A whole text inserted leaves its lines with the reverse item.
      TSrcEditUndoItem kept;
      std::string removed;
      TBufferCoord restoredEnd;
      {
        TTempValue keepLines(FKeepLinesIn, mode == smNormal ? TKeptLinesPlace{&kept, FRedoList} : TKeptLinesPlace{});
        if (!FKeepLinesIn.Item || !WholeTextBetween(BlockBegin(), BlockEnd())) removed = SelectedText(true);
        // The redo replaces what was put back here (an overwritten text).
        restoredEnd = SetSelTextPrimitiveEx(mode, item->FChangeStr, false, tbKept).End;
      }
      InternalSetCaretXY(start);
      SetReplaySelection(start, start);
      const size_t reversed = FRedoList->PushPosition();
      reverse(reason, start, item->FChangeStr.empty() ? start : restoredEnd, std::move(removed));
      KeepLinesOn(*FRedoList, reversed, std::move(kept.FLineRun));
      break;
    }
    case crDeleteAfterCursor:
    case crDelete:
    case crSilentDelete:
    case crSilentDeleteAfterCursor:
    case crDeleteAll: {
      const bool afterCursor = reason == crDeleteAfterCursor || reason == crSilentDeleteAfterCursor;
      const TBufferCoord at = mode == smColumn ? TBufferCoord{1, std::min(start.Line, end.Line)} : MinCoord(start, end);
      if (afterCursor && at.Line > FLines->Count()) {
        InternalSetCaretXY({1, FLines->Count()});
        FLines->Add("");
      }
      InternalSetCaretXY(at);
      SetReplaySelection(at, at);
      const std::string& text = item->FChangeStr;
      if (mode == smColumn) {
        RestoreColumnBlock(start, end, text);
      } else if (mode == smLine) {
        // A block of lines that reached the end of the text left its last
        // line empty: its last row goes back there.
        TStringsUpdate update(*FLines);
        InsertWholeLines(SplitTextRows(text), text.empty() || (text.back() != '\n' && text.back() != '\r'), tbKept);
      } else if (!item->FLineRun || !PutBackWholeText(at, *item->FLineRun)) {
        SetSelTextPrimitiveEx(mode, item->ChangeText(), false, tbKept);
      }
      const TBufferCoord caret = afterCursor ? start : end;
      InternalSetCaretXY(caret);
      if (reason == crSilentDelete || reason == crSilentDeleteAfterCursor || reason == crDeleteAll)
        SetReplaySelection(caret, caret);
      else
        SetReplaySelection(start, end);
      reverse(reason, start, end, "");
      if (reason == crDeleteAll) {
        InternalSetCaretXY({1, 1});
        SetReplaySelection({1, 1}, {1, 1});
      }
      EnsureCursorPosVisible();
      break;
    }
    case crLineBreak: {
      // The line broken at start joins the one below again (end is where
      // the break left the caret).
      InternalSetCaretXY(start);
      SetReplaySelection(start, start);
      std::string line = LineText();
      // Blanks up to the caret keep the split-off text in its column; with
      // nothing to append they would only be trailing blanks the text never
      // had.
      const std::string& rest = item->FChangeStr;
      if (!rest.empty() && static_cast<int>(line.size()) < FCaretX - 1 && rest.find_first_not_of(" \t") == 0)
        line.resize(static_cast<size_t>(FCaretX - 1), ' ');
      // The redo puts back the line below as it was, with whatever
      // indentation the break gave it.
      std::string below;
      {
        TStringsUpdate update(*FLines);
        ProperSetLine(FCaretY - 1, line + rest);
        if (start.Line < FLines->Count()) {
          below = FLines->Get(start.Line);
          FLines->Delete(start.Line);
          DoLinesDeleted(start.Line, 1);
        }
      }
      reverse(reason, start, end, below);
      break;
    }
    case crUnindent: {
      // The rows go back where they were taken: at the same character on
      // every line (a display column names other characters on lines with
      // TABs).
      const int column = mode == smColumn ? std::min(start.Char, end.Char) : 1;
      {
        TStringsUpdate update(*FLines);
        ForEachRow(item->FChangeStr, [&](int index, std::string_view row) {
          const int line = start.Line + index;
          if (row.empty() || line > FLines->Count()) return;
          std::string text = FLines->Get(line - 1);
          text.insert(std::min(text.size(), static_cast<size_t>(column - 1)), row);
          ProperSetLine(line - 1, text);
        });
      }
      InternalSetCaretXY(start);
      SetReplaySelection(start, end);
      reverse(reason, start, end, item->FChangeStr);
      break;
    }
    case crWhiteSpaceAdd: {
      SetReplaySelection(start, end);
      const std::string removed = SelectedText(true);
      SetSelTextPrimitiveEx(smNormal, item->FChangeStr, false, tbKept);
      InternalSetCaretXY(start);
      SetReplaySelection(start, start);
      reverse(reason, start, end, removed);
      break;
    }
    default: break;  // markers and group breaks are dropped
  }
}

void TCustomSrcEdit::RedoItem(uint32_t number) {
  std::unique_ptr<TSrcEditUndoItem> item = FRedoList->PopItem();
  if (!item) return;
  TScopeExit marks([this, &item, reversed = FUndoList->PushPosition()] {
    ReplayMarkRecord(*item, false, *FUndoList, reversed);
  });
  TTempValue heldMarks(FMarksHeld, true);
  const TSrcChangeReason reason = item->FChangeReason;
  const TSrcSelectionMode mode = item->FChangeSelMode;
  const TBufferCoord start = item->FChangeStartPos;
  const TBufferCoord end = item->FChangeEndPos;
  TSrcInsideRedo insideRedo(*FUndoList, true);
  FActiveSelectionMode = mode;
  TSrcPaintLock lock(*this);
  TOptionOn pastEol(FOptions, eoScrollPastEol);
  TOptionOff keepBlanks(FOptions, eoTrimTrailingSpaces);
  TTempValue exactCaret(FCaretExact, true);
  TSrcUndoRun run(*FUndoList, item->FRunCommand);
  auto reverse = [&](TSrcChangeReason r, const TBufferCoord& s, const TBufferCoord& e, std::string text) {
    FUndoList->AddNumberedChange(r, s, e, std::move(text), mode, number);
  };
  // Text replaced during the replay is not recorded by the replacement
  // itself: the reverse item stands for it. Returns the text replaced;
  // insertedEnd is where the new one ends.
  TBufferCoord insertedEnd;
  auto replace = [&](const TBufferCoord& from, const TBufferCoord& to, const std::string& text) {
    TSrcUndoLock noRecording(*this);
    InternalSetCaretXY(from);
    SetReplaySelection(from, to);
    // Lines kept whole need no text.
    std::string removed =
        FKeepLinesIn.Item && WholeTextBetween(BlockBegin(), BlockEnd()) ? std::string() : SelectedText(true);
    insertedEnd = SetSelTextPrimitiveEx(mode, text, false, tbKept).End;
    return removed;
  };
  const bool insertion = reason == crInsert || reason == crPaste || reason == crDragDropInsert;
  std::string overwritten;
  if (insertion && mode == smNormal && !item->FLineRun && ReplaceWithinLine(start, end, item->FChangeStr, overwritten)) {
    FReplayCaret = {start.Char + static_cast<int>(item->FChangeStr.size()), start.Line};
    reverse(reason, start, FReplayCaret, overwritten);
    return;
  }
  EndReplayBatch();
  if (ReplayPositionItem(*item, reverse)) return;
  switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
      // The range start..end holds the text the insertion had overwritten
      // (empty for a plain insertion). A whole text goes back as its lines.
      std::string overwritten;
      if (item->FLineRun && start == end && PutBackWholeText(start, *item->FLineRun)) {
        const int last = FLines->Count();
        insertedEnd = {static_cast<int>(FLines->GetView(last - 1).size()) + 1, last};
        InternalSetCaretXY(insertedEnd);
      } else {
        overwritten = replace(start, end, item->ChangeText());
      }
      if (mode == smColumn) {
        SetReplaySelection(start, insertedEnd);
      } else {
        SetReplaySelection(insertedEnd, insertedEnd);
      }
      reverse(reason, start, insertedEnd, std::move(overwritten));
      break;
    }
    case crDeleteAfterCursor:
    case crSilentDeleteAfterCursor:
    case crDelete:
    case crSilentDelete: {
      // A whole text deleted again leaves its lines with the reverse item.
      TSrcEditUndoItem kept;
      std::string removed;
      {
        TTempValue keepLines(FKeepLinesIn, mode == smNormal ? TKeptLinesPlace{&kept, FUndoList} : TKeptLinesPlace{});
        removed = replace(start, end, item->FChangeStr);
      }
      // The caret stays where the text closed up, as after the deletion.
      const TBufferCoord closed = MinCoord(start, end);
      if (mode == smNormal)
        InternalSetCaretXY(closed);
      else if (mode == smLine)
        InternalSetCaretXY({1, closed.Line});
      SetReplaySelection(CaretXY(), CaretXY());
      const size_t reversed = FUndoList->PushPosition();
      reverse(reason, start, end, kept.FLineRun ? std::string() : std::move(removed));
      KeepLinesOn(*FUndoList, reversed, std::move(kept.FLineRun));
      break;
    }
    case crLineBreak: {
      // The break is made here, not through CommandProcessor where a
      // handler could swallow it: the line splits at the start and the line
      // below gets back the text it had (Enter and Insert Line indent
      // differently).
      std::string right;
      {
        TStringsUpdate update(*FLines);
        if (FLines->Count() == 0) FLines->Add("");
        const std::string line = FLines->Get(start.Line - 1);
        const size_t cut = std::min(line.size(), static_cast<size_t>(start.Char - 1));
        right = line.substr(cut);
        // The break Enter typed there.
        FLines->InsertLine(start.Line, item->FChangeStr, FLines->SplitBreak(start.Line - 1, cut == 0));
        ProperSetLine(start.Line - 1, line.substr(0, cut));
      }
      DoLinesInserted(start.Char == 1 ? start.Line : start.Line + 1, 1);
      InternalSetCaretXY(end);
      SetReplaySelection(CaretXY(), CaretXY());
      reverse(reason, start, end, right);
      break;
    }
    case crUnindent: {
      const int column = mode == smColumn ? std::min(start.Char, end.Char) : 1;
      // The selection's ends move left by what their own lines lost (an
      // end in column 1 took nothing from its line).
      int removedOnFirst = 0;
      int removedOnEnd = 0;
      {
        TStringsUpdate update(*FLines);
        ForEachRow(item->FChangeStr, [&](int index, std::string_view row) {
          const int line = start.Line + index;
          if (line <= FLines->Count()) {
            std::string text = FLines->Get(line - 1);
            if (static_cast<size_t>(column - 1) < text.size()) text.erase(column - 1, row.size());
            ProperSetLine(line - 1, text);
          }
          if (index == 0) removedOnFirst = static_cast<int>(row.size());
          if (line == end.Line) removedOnEnd = static_cast<int>(row.size());
        });
      }
      InternalSetCaretXY({column, start.Line});
      if (mode == smColumn)
        SetReplaySelection(start, end);
      else
        SetReplaySelection({std::max(start.Char - removedOnFirst, 1), start.Line},
                           {std::max(end.Char - removedOnEnd, 1), end.Line});
      reverse(reason, start, end, item->FChangeStr);
      break;
    }
    case crWhiteSpaceAdd:
      replace(end, end, item->FChangeStr);
      InternalSetCaretXY(start);
      SetReplaySelection(start, start);
      reverse(reason, start, end, "");
      break;
    default: break;
  }
}

}  // namespace vk
