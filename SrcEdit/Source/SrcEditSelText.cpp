// Replacing the selection: every change of the text made through the
// editor goes through SetSelTextPrimitiveEx, which deletes the selection in
// the shape of its mode and inserts text as running text, whole lines or a
// rectangle. Around it the undoable SelText, the whole Text, the caret
// line, clearing, and the clipboard with the editor's private format that
// keeps the selection mode.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vk {

namespace {

const char* const CopyFailed = "Clipboard copy operation failed";

}  // namespace

std::string TrimTrailingBlanks(std::string_view text) {
  size_t end = text.find_last_not_of(" \t");
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}

TClipboardFormat BlockTypeClipboardFormat() {
  static const TClipboardFormat format = RegisterClipboardFormat("SrcEdit Control Block Type");
  return format;
}

// ---------------------------------------------------------------- lines

std::string TCustomSrcEdit::LineText() const {
  return FCaretY >= 1 && FCaretY <= FLines->Count() ? FLines->Get(FCaretY - 1) : std::string();
}

void TCustomSrcEdit::SetLineText(const std::string& value) {
  // On an empty text this adds the first line.
  if (FCaretY >= 1 && FCaretY <= std::max(1, FLines->Count())) FLines->Put(FCaretY - 1, value);
}

void TCustomSrcEdit::ProperSetLine(int index, const std::string& text) {
  if (!FOptions.Contains(eoTrimTrailingSpaces)) {
    FLines->Put(index, text);
  } else if (FEditDepth == 0) {
    FLines->Put(index, TrimTrailingBlanks(text));
  } else {
    // Trimmed when the edit ends (a put beyond the last line adds one).
    FLines->Put(index, text);
    const int stored = std::min(index, FLines->Count() - 1);
    FUntrimmedLines.push_back(stored);
    FLastUntrimmedLine = std::max(FLastUntrimmedLine, stored);
  }
}

void TCustomSrcEdit::ProperInsertRows(int index, std::span<TSrcTextRow> rows) {
  const bool trim = FOptions.Contains(eoTrimTrailingSpaces);
  std::vector<std::string> trimmed;
  if (trim && FEditDepth == 0) {
    // Each row's view points into its own string, which does not move.
    trimmed.reserve(rows.size());
    for (TSrcTextRow& row : rows) row.Text = trimmed.emplace_back(TrimTrailingBlanks(row.Text));
  }
  FLines->InsertRows(index, rows);
  if (!trim || FEditDepth == 0) return;
  // Trimmed when the edit ends.
  for (int line = index; line < index + static_cast<int>(rows.size()); ++line) FUntrimmedLines.push_back(line);
  FLastUntrimmedLine = std::max(FLastUntrimmedLine, index + static_cast<int>(rows.size()) - 1);
}

// ---------------------------------------------------------------- edits and trailing blanks

void TCustomSrcEdit::BeginEdit() {
  if (FEditDepth++ == 0) RestartEditRecord();
}

void TCustomSrcEdit::EndEdit() {
  if (--FEditDepth > 0) return;
  TrimStoredLines();
  JoinCrLfBreaks();
  KeepMarkRecord();
}

std::optional<uint32_t> TCustomSrcEdit::EditStepNumber() const {
  const TSrcEditUndoItem* top = FUndoList->PeekItem();
  if (!top || FUndoList->PushPosition() <= FUndoBeforeEdit || FUndoList->IsLocked()) return std::nullopt;
  return top->FChangeNumber;
}

void TCustomSrcEdit::ShiftUntrimmedLines(int index, int count) {
  // Lines appended after all of them (a rectangle below the text) move none.
  if (index > FLastUntrimmedLine) return;
  FLastUntrimmedLine = -1;
  for (auto it = FUntrimmedLines.begin(); it != FUntrimmedLines.end();) {
    if (count < 0 && *it >= index && *it < index - count) {
      it = FUntrimmedLines.erase(it);
      continue;
    }
    if (*it >= index) *it += count;
    FLastUntrimmedLine = std::max(FLastUntrimmedLine, *it);
    ++it;
  }
}

// The trailing blanks of the lines the edit stored go; when the edit was
// recorded, each removal is recorded with its last number (undo brings the
// blanks back before it takes back the rest), and then the caret, which
// keeps its display column where blanks under it went.
void TCustomSrcEdit::TrimStoredLines() {
  if (FUntrimmedLines.empty()) return;
  std::vector<int> lines;
  lines.swap(FUntrimmedLines);
  FLastUntrimmedLine = -1;
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  const std::optional<uint32_t> number = EditStepNumber();
  const TBufferCoord caret = CaretXY();
  TBufferCoord newCaret = caret;
  bool trimmed = false;
  {
    TStringsUpdate update(*FLines);
    for (int index : lines) {
      if (index < 0 || index >= FLines->Count()) continue;
      const std::string text = FLines->Get(index);
      const std::string kept = TrimTrailingBlanks(text);
      if (kept.size() == text.size()) continue;
      const int line = index + 1;
      const int end = static_cast<int>(kept.size()) + 1;
      if (line == caret.Line && caret.Char > end)
        newCaret.Char = end + CharIndexToColumn(text, caret.Char) - CharIndexToColumn(text, end);
      FLines->Put(index, kept);
      // The edit has ended, so the put notes nothing itself: a line of
      // blanks inside lines inserted at once may be left empty between a
      // lone CR and a lone LF.
      FEditedLines.Note(index, index);
      trimmed = true;
      if (number)
        FUndoList->AddNumberedChange(crSilentDeleteAfterCursor, {end, line},
                                     {static_cast<int>(text.size()) + 1, line}, text.substr(kept.size()), smNormal,
                                     *number);
    }
  }
  if (!trimmed) return;
  {
    TOptionOn pastEol(FOptions, eoScrollPastEol);
    InternalSetCaretXY(newCaret);
  }
  if (number) FUndoList->AddNumberedChange(crCaret, CaretXY(), CaretXY(), "", smNormal, *number);
}

void TCustomSrcEdit::ClearAll() {
  FLines->Clear();
  FMarkList->Clear();
  ClearUndo();
  if (FModified) {
    FModified = false;
    StatusChanged({scModified});
  }
}

void TCustomSrcEdit::ClearSelection() {
  if (SelAvail()) SetSelText("");
}

// ---------------------------------------------------------------- the primitive

TInsertedRange TCustomSrcEdit::SetSelTextPrimitiveEx(TSrcSelectionMode pasteMode, std::string_view value,
                                                     bool addToUndoList, TSrcTextBreaks breaks) {
  TSrcPaintLock lock(*this);
  TSrcEditScope edit(*this);
  TStringsUpdate update(*FLines);
  // Split before the selection goes: the rows' storage is taken while the
  // deleted lines still hold theirs, whose small blocks the new lines then
  // take up again.
  std::vector<TSrcTextRow> rows;
  if (!value.empty()) rows = SplitTextRows(value);
  TBufferCoord b = BlockBegin();
  TBufferCoord e = BlockEnd();
  bool emptiedLastLine = false;
  // Running text goes where the selection began, also where the caret
  // steps back from it: after a lone lead byte that now makes one
  // character with the byte after the selection.
  std::optional<TBufferCoord> at;
  if (SelAvail()) {
    emptiedLastLine = DeleteSelection(b, e);
    InternalSetCaretXY(b);
    if (FActiveSelectionMode == smNormal) at = b;
  }
  TInsertedRange inserted{CaretXY(), CaretXY()};
  if (!value.empty()) {
    // Lines changed directly (not through the editor) may have left the
    // caret beyond the text's end.
    if (FCaretY > FLines->Count()) InternalSetCaretXY(CaretXY());
    switch (pasteMode) {
      case smNormal: inserted = InsertRunningText(std::move(rows), at.value_or(CaretXY()), breaks); break;
      case smLine: inserted = InsertWholeLines(std::move(rows), emptiedLastLine, breaks); break;
      case smColumn:
        inserted.End = InsertRectangle(rows, LogicalToPhysicalPos({FCaretX, FCaretY}).X, addToUndoList);
        break;
    }
  }
  if (FCaretY < 1) InternalSetCaretY(1);
  return inserted;
}

bool TCustomSrcEdit::WholeTextBetween(const TBufferCoord& b, const TBufferCoord& e) const {
  return b == TBufferCoord{1, 1} && e.Line == FLines->Count() &&
         e.Char > static_cast<int>(FLines->GetView(e.Line - 1).size());
}

// Only the newest whole text kept in a list keeps its lines (records and
// their small blocks take about twice its bytes); those before it hold
// their text again, so the undo of many reloads costs no more memory than
// before. The other list's stay: an undo puts them back next. The storage
// of their records takes the lines of the text that comes next.
void TCustomSrcEdit::KeepLinesOfNoOtherText(TSrcEditUndoList& list) {
  for (int i = 0; i < list.ItemCount(); ++i)
    if (TSrcEditUndoItem* item = list.Items(i); item->FLineRun) {
      item->FChangeStr = item->FLineRun->Text();
      FLines->ReuseStorage(std::move(item->FLineRun->Records));
      item->FLineRun.reset();
    }
}

bool TCustomSrcEdit::DeleteSelection(TBufferCoord& b, TBufferCoord& e) {
  switch (FActiveSelectionMode) {
    case smNormal: {
      if (FLines->Count() == 0) return false;
      if (FKeepLinesIn.Item && WholeTextBetween(b, e)) {
        // The whole text goes: its lines stay with the deletion's undo
        // item (the text it holds goes), one empty line in their place.
        const uint64_t ranges = RangesStamp();
        KeepLinesOfNoOtherText(*FKeepLinesIn.List);
        auto run = std::make_unique<TSrcLineRun>(FLines->TakeLines(0, FLines->Count()));
        run->RangesStamp = ranges;
        FLines->InsertLine(0, "", run->Records[0].FBreakBefore);
        FKeepLinesIn.Item->FLineRun = std::move(run);
        FKeepLinesIn = {};
        InternalSetCaretXY(b);
        if (e.Line > b.Line) DoLinesDeleted(b.Line, e.Line - b.Line);
        break;
      }
      const std::string first = FLines->Get(b.Line - 1);
      const std::string last = FLines->Get(e.Line - 1);
      // The rest of the last line joins where the first line's text ends.
      b.Char = std::min(b.Char, static_cast<int>(first.size()) + 1);
      const std::string joined = first.substr(0, static_cast<size_t>(b.Char - 1)) +
                           last.substr(std::min<size_t>(e.Char - 1, last.size()));
      FLines->DeleteLines(b.Line, e.Line - b.Line);
      if (FOptions.Contains(eoScrollPastEol))
        ProperSetLine(b.Line - 1, joined);
      else
        FLines->Put(b.Line - 1, joined);
      InternalSetCaretXY(b);
      if (e.Line > b.Line) DoLinesDeleted(b.Line, e.Line - b.Line);
      break;
    }
    case smLine: {
      // One deletion for the whole block; the last line of the text stays
      // as an empty line. The line that takes the block's place keeps the
      // break in front of the block.
      const int count = e.Line - b.Line + 1;
      const bool emptiedLastLine = e.Line == FLines->Count();
      const TSrcEditFileFormat breakBefore = FLines->BreakBefore(b.Line - 1);
      if (emptiedLastLine) {
        FLines->Put(e.Line - 1, "");
        FLines->DeleteLines(b.Line - 1, count - 1);
      } else {
        FLines->DeleteLines(b.Line - 1, count);
      }
      FLines->SetBreakBefore(b.Line - 1, breakBefore);
      b.Char = 1;
      InternalSetCaretXY(b);
      DoLinesDeleted(b.Line, count);
      return emptiedLastLine;
    }
    case smColumn: {
      int left = 0;
      int right = 0;
      ColumnBlockColumns(left, right);
      for (int line = b.Line; line <= e.Line; ++line) {
        std::string text = FLines->Get(line - 1);
        auto [first, last] = ColumnRangeOnLine(text, left, right);
        if (first <= static_cast<int>(text.size())) text.erase(first - 1, last - first);
        ProperSetLine(line - 1, text);
      }
      b.Char = ColumnToCharIndex(FLines->Get(b.Line - 1), left);
      e.Char = ColumnToCharIndex(FLines->Get(e.Line - 1), left);
      InternalSetCaretXY({ColumnToCharIndex(FLines->Get(FBlockEnd.Line - 1), left), FBlockEnd.Line});
      break;
    }
  }
  return false;
}

TInsertedRange TCustomSrcEdit::InsertRunningText(std::vector<TSrcTextRow> rows, const TBufferCoord& start,
                                                 TSrcTextBreaks breaks) {
  const std::string line = FLines->Get(start.Line - 1);
  // Text typed beyond the line's end is preceded by blanks up to the caret.
  std::string left = line.substr(0, std::min<size_t>(start.Char - 1, line.size()));
  left.resize(static_cast<size_t>(start.Char - 1), ' ');
  const std::string right = static_cast<size_t>(start.Char - 1) < line.size() ? line.substr(start.Char - 1) : "";
  const int added = static_cast<int>(rows.size()) - 1;
  const TSrcEditFileFormat split = FLines->SplitBreak(start.Line - 1, left.empty() && rows.front().Text.empty());
  TBufferCoord caret = start;
  if (added == 0) {
    ProperSetLine(caret.Line - 1, left + std::string(rows.front().Text) + right);
  } else {
    ProperSetLine(caret.Line - 1, left + std::string(rows.front().Text));
    const std::string last = std::string(rows.back().Text) + right;
    rows.back().Text = last;
    if (breaks != tbKept)
      for (TSrcTextRow& row : rows) row.BreakBefore = split;
    // All new lines at once: the store reports one insertion.
    ProperInsertRows(caret.Line, std::span(rows).subspan(1));
    caret.Line += added;
  }
  caret.Char = static_cast<int>(FLines->GetView(caret.Line - 1).size() - right.size()) + 1;
  InternalSetCaretXY(caret);
  if (added > 0) DoLinesInserted(start.Char > 1 ? start.Line + 1 : start.Line, added);
  return {{std::min(start.Char, static_cast<int>(line.size()) + 1), start.Line}, caret};
}

// Every row becomes a line of its own before the caret line (a break after
// the last row adds no empty line), so lines copied in line mode arrive as
// lines wherever they go. Only the empty last line that deleting a block of
// lines at the end of the text left behind takes the last row instead. The
// caret ends right after the inserted text (on the line after it, when one
// follows). Typed breaks are those of the line the rows go in front of.
TInsertedRange TCustomSrcEdit::InsertWholeLines(std::vector<TSrcTextRow> rows, bool fillEmptiedLastLine,
                                                TSrcTextBreaks breaks) {
  // A break after the last row adds no line.
  const size_t used = rows.size() > 1 && rows.back().Text.empty() ? rows.size() - 1 : rows.size();
  const int first = FCaretY;
  const int count = FLines->Count();
  const bool fill = fillEmptiedLastLine && first == count && FLines->GetView(first - 1).empty();
  const int added = static_cast<int>(used) - (fill ? 1 : 0);
  // Below the last line (an empty text) the rows are appended.
  const int at = std::min(first, count + 1);
  const TSrcEditFileFormat split = FLines->SplitBreak(at - 1, rows.front().Text.empty());
  // The break after row i (0-based): the text's own one where it has one.
  auto breakAfter = [&](int i) {
    const size_t next = static_cast<size_t>(i) + 1;
    return breaks == tbKept && next < rows.size() ? rows[next].BreakBefore : split;
  };
  if (added > 0) {
    const TSrcEditFileFormat afterLast = breakAfter(added - 1);
    for (int i = added - 1; i > 0; --i) rows[static_cast<size_t>(i)].BreakBefore = breakAfter(i - 1);
    rows.front().BreakBefore = FLines->FileFormat();
    ProperInsertRows(at - 1, std::span(rows).first(static_cast<size_t>(added)));
    // The rows go in front of the line at the caret, after the break in
    // front of it; that line follows the break after the last row.
    if (at <= count) {
      const int moved = at - 1 + added;
      FLines->SetBreakBefore(at - 1, FLines->BreakBefore(moved));
      FLines->SetBreakBefore(moved, afterLast);
    }
  }
  const int last = at + static_cast<int>(used) - 1;
  const std::string_view lastRow = rows[used - 1].Text;
  if (fill) ProperSetLine(last - 1, std::string(lastRow));
  const TBufferCoord end{static_cast<int>(lastRow.size()) + 1, last};
  InternalSetCaretXY(!fill && last < FLines->Count() ? TBufferCoord{1, last + 1} : end);
  if (added > 0) DoLinesInserted(at, added);
  return {{1, at}, end};
}

TBufferCoord TCustomSrcEdit::InsertRectangle(const std::vector<TSrcTextRow>& rows, int column, bool addToUndoList) {
  // The rectangle starts at the same display column on every line, from
  // the caret line down.
  const int firstAppended = FLines->Count() + 1;
  int appended = 0;
  auto appendLine = [&](const std::string& text) {
    // A line break typed at the end of the last line: the first line of an
    // empty text needs none before it.
    const int previous = FLines->Count();
    if (addToUndoList && previous > 0) {
      const TBufferCoord end{static_cast<int>(FLines->GetView(previous - 1).size()) + 1, previous};
      FUndoList->AddChange(crLineBreak, end, end, "", smNormal);
    }
    FLines->InsertLine(previous, "", FLines->SplitBreak(previous - 1, FLines->GetView(previous - 1).empty()));
    ProperSetLine(previous, text);
    ++appended;
  };
  TBufferCoord caret = CaretXY();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) ++caret.Line;
    const std::string_view row = rows[i].Text;
    if (row.empty()) {
      // Nothing on this line; the caret column is where a row would go.
      if (caret.Line <= FLines->Count()) caret.Char = ColumnToCharIndex(FLines->Get(caret.Line - 1), column);
      continue;
    }
    // Each row is recorded by its characters on its line (display
    // columns name different characters on lines with TABs), from where
    // the blanks that fill a short line begin.
    int at = column;
    int from = column;
    if (caret.Line > FLines->Count()) {
      // Below the text: empty rows skipped on the way become empty lines.
      while (FLines->Count() < caret.Line - 1) appendLine("");
      appendLine(std::string(static_cast<size_t>(column - 1), ' ') + std::string(row));
      from = 1;
    } else {
      std::string text = FLines->Get(caret.Line - 1);
      const int lineEnd = FLines->GetExpandedStringLength(caret.Line - 1);
      if (lineEnd < column - 1) {
        // A short line is filled with blanks up to the rectangle.
        from = static_cast<int>(text.size()) + 1;
        text.append(static_cast<size_t>(column - 1 - lineEnd), ' ');
        at = static_cast<int>(text.size()) + 1;
        text.append(row);
      } else {
        at = ColumnToCharIndex(text, column);
        from = at;
        text.insert(static_cast<size_t>(at - 1), row);
      }
      ProperSetLine(caret.Line - 1, text);
    }
    if (addToUndoList)
      FUndoList->AddChange(crInsert, {from, caret.Line}, {at + static_cast<int>(row.size()), caret.Line}, "",
                           smNormal);
    caret.Char = at + static_cast<int>(row.size());
  }
  InternalSetCaretXY(caret);
  if (appended > 0) DoLinesInserted(firstAppended, appended);
  return caret;
}

// ---------------------------------------------------------------- undoable replacement

std::string TCustomSrcEdit::SelTextAsStored() {
  TOptionOn noBlanks(FOptions, eoTrimTrailingSpaces);
  return SelectedText(true);
}

// A column block is recorded row by row, each row at its own characters:
// the block's display columns alone cannot tell where on a line between
// its corners a TAB cut by its left edge stood. Its rows are one undo step,
// which the undo limit keeps or drops whole.
void TCustomSrcEdit::RecordSelectionDelete(TSrcChangeReason reason, bool withoutText) {
  const TBufferCoord b = BlockBegin();
  const TBufferCoord e = BlockEnd();
  if (FActiveSelectionMode != smColumn) {
    // Running text is taken up to its lines' ends: its undo goes back there.
    const bool normal = FActiveSelectionMode == smNormal;
    FUndoList->AddChange(reason, normal ? ClampBlockPoint(FBlockBegin) : FBlockBegin,
                         normal ? ClampBlockPoint(FBlockEnd) : FBlockEnd, withoutText ? std::string() : SelTextAsStored(),
                         FActiveSelectionMode);
    return;
  }
  TSrcEditUndoBlock block(*this);
  // Undone after the rows: the block is selected again, the caret where
  // undoing a deletion leaves it.
  FUndoList->AddChange(crSelection, FBlockBegin, FBlockEnd, "", smColumn);
  const TBufferCoord caret = reason == crDeleteAfterCursor ? FBlockBegin : FBlockEnd;
  FUndoList->AddChange(crCaret, caret, caret, "", smColumn);
  int left = 0;
  int right = 0;
  ColumnBlockColumns(left, right);
  for (int line = b.Line; line <= e.Line; ++line) {
    const std::string text = FLines->Get(line - 1);
    auto [first, last] = ColumnRangeOnLine(text, left, right);
    last = std::min(last, static_cast<int>(text.size()) + 1);
    if (first < last)
      FUndoList->AddChange(reason, {first, line}, {last, line}, text.substr(first - 1, last - first), smNormal);
  }
}

void TCustomSrcEdit::SetSelText(std::string_view value, TSrcTextBreaks breaks) {
  TSrcEditScope edit(*this);
  TSrcEditUndoBlock block(*this);
  SetSelTextRecorded(crInsert, value, breaks);
}

TInsertedRange TCustomSrcEdit::SetSelTextRecorded(TSrcChangeReason reason, std::string_view value,
                                                  TSrcTextBreaks breaks) {
  TTempValue keepLines(FKeepLinesIn, TKeptLinesPlace{});
  if (SelAvail()) {
    // A whole text deleted leaves its lines on its item, not its text.
    const bool whole = FActiveSelectionMode == smNormal && WholeTextBetween(BlockBegin(), BlockEnd());
    const size_t before = FUndoList->PushPosition();
    RecordSelectionDelete(crDelete, whole);
    if (whole) FKeepLinesIn = {FUndoList->FirstChangeSince(before), FUndoList};
  } else {
    // Nothing is selected: nothing may be deleted in the other mode either
    // (a block of no width in column mode spans lines).
    FActiveSelectionMode = FSelectionMode;
    FBlockEnd = FBlockBegin;
  }
  OrderBlock();
  const TSrcSelectionMode mode = FActiveSelectionMode;
  const TInsertedRange inserted = SetSelTextPrimitiveEx(mode, value, true, breaks);
  RecordInsertion(reason, inserted, value, mode);
  return inserted;
}

void TCustomSrcEdit::OrderBlock() {
  const TBufferCoord start = BlockBegin();
  FBlockEnd = BlockEnd();
  FBlockBegin = start;
}

// The inserted text is recorded as running text in every mode but the
// column mode (a column insertion has recorded its rows itself); whole
// lines with the line break after them.
void TCustomSrcEdit::RecordInsertion(TSrcChangeReason reason, const TInsertedRange& inserted, std::string_view value,
                                     TSrcSelectionMode mode) {
  if (value.empty() || mode == smColumn) return;
  const bool lineFollows = mode == smLine && inserted.End.Line < FLines->Count();
  FUndoList->AddChange(reason, inserted.Begin, lineFollows ? TBufferCoord{1, inserted.End.Line + 1} : inserted.End,
                       "", smNormal);
}

// ---------------------------------------------------------------- clipboard

bool TCustomSrcEdit::CanPaste() const {
  return !GetReadOnly() && (Clipboard().HasFormat(CF_TEXT) || Clipboard().HasFormat(BlockTypeClipboardFormat()));
}

void TCustomSrcEdit::CopyToClipboard() {
  if (!SelAvail()) return;
  std::string text;
  {
    // A copied rectangle keeps the blanks that fill its short lines.
    TOptionOff keepBlanks(FOptions, eoTrimTrailingSpaces, FActiveSelectionMode == smColumn);
    text = SelText();
  }
  DoCopyToClipboard(text);
}

void TCustomSrcEdit::DoCopyToClipboard(const std::string& text) {
  if (text.empty()) return;
  TClipboard& clipboard = Clipboard();
  bool copied = false;
  {
    TClipboardOpen open(clipboard);
    try {
      // The private block only joins plain text that is in place.
      copied = open.Opened() && clipboard.Clear() && clipboard.SetData(CF_TEXT, text + '\0') &&
               clipboard.SetData(BlockTypeClipboardFormat(),
                                 static_cast<char>(FActiveSelectionMode) + text + '\0');
    } catch (...) {
      copied = false;
    }
  }
  if (!copied) throw ESrcEditError(CopyFailed);
}

void TCustomSrcEdit::CutToClipboard() {
  if (GetReadOnly() || !SelAvail()) return;
  TSrcEditUndoBlock block(*this);
  DoCopyToClipboard(SelText());
  SetSelText("");
}

bool TCustomSrcEdit::PasteBlock(bool& pasteBegun) {
  std::optional<std::string> data;
  {
    TClipboardOpen open(Clipboard());
    if (open.Opened()) data = Clipboard().GetData(BlockTypeClipboardFormat());
  }
  if (!data) throw ESrcEditError("Clipboard paste operation failed.");
  // A block from elsewhere is checked before anything changes: a mode
  // byte, then the text, NUL bytes in it too.
  if (data->empty() || static_cast<unsigned char>((*data)[0]) > smColumn) return false;
  const auto mode = static_cast<TSrcSelectionMode>((*data)[0]);
  const std::string_view text = ClipboardText(std::string_view(*data).substr(1));

  FUndoList->AddChange(crPasteBegin, BlockBegin(), BlockEnd(), "", smNormal);
  pasteBegun = true;
  if (SelAvail()) {
    RecordSelectionDelete(crDelete);
    OrderBlock();
  }
  RecordInsertion(crPaste, SetSelTextPrimitiveEx(mode, text, true), text, mode);
  return true;
}

int TCustomSrcEdit::PastePlainText(bool& pasteBegun) {
  const TClipboardText text = Clipboard().GetText();
  FUndoList->AddChange(crPasteBegin, BlockBegin(), BlockEnd(), "", smNormal);
  pasteBegun = true;
  SetSelTextRecorded(crPaste, text.Text);
  return text.Replaced;
}

void TCustomSrcEdit::PasteFromClipboard() {
  if (!CanPaste()) return;
  DoOnPaintTransient(ttBefore);
  int replaced = 0;
  {
    TSrcEditScope edit(*this);
    TSrcEditUndoBlock block(*this);
    bool pasteBegun = false;
    // The paste's bracket closes at the caret, where the change ends, also
    // when the paste fails.
    TScopeExit endPaste([&] {
      if (!pasteBegun) return;
      // A paste that changed nothing (rows that were all empty) leaves no
      // undo step that would undo nothing.
      if (FUndoList->LastChangeReason() == crPasteBegin) {
        FUndoList->PopItem();
        UpdateModifiedStatus();
      } else {
        FUndoList->AddChange(crPasteEnd, CaretXY(), CaretXY(), "", smNormal);
      }
    });
    // An unusable private block falls back to the plain text.
    bool pasted = Clipboard().HasFormat(BlockTypeClipboardFormat()) && PasteBlock(pasteBegun);
    if (!pasted && Clipboard().HasFormat(CF_TEXT)) replaced = PastePlainText(pasteBegun);
  }
  if (FOptions.Contains(eoHideShowScrollbars)) {
    // At once, even inside an enclosing paint lock.
    const int lockCount = FPaintLockCount;
    FPaintLockCount = 0;
    TScopeExit relock([&] { FPaintLockCount = lockCount; });
    UpdateScrollBars();
  }
  EnsureCursorPosVisible();
  StatusChanged({scSelection});
  DoOnPaintTransient(ttAfter);
  if (replaced > 0 && OnPasteReplaced) OnPasteReplaced(this, replaced);
}

}  // namespace vk
