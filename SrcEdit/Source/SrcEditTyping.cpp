// The commands that change the text character by character: Backspace,
// Delete, the word and line deletions, Enter, typing and composed input.
// Each keeps caret, selection, line store and undo list in step and records
// exactly what undo needs to restore the text byte for byte; blanks a
// command adds only to reach the caret are recorded as added white space so
// that undo takes them away again.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "platform/CodePage.h"

namespace vk {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The byte before the 1-based column closes a double-byte character:
// classified from the start of the line, so a trail byte that looks like a
// lead byte is not mistaken for one.
bool EndsDoubleByte(const std::string& line, int column) {
  return column >= 3 && column - 2 < static_cast<int>(line.size()) &&
         CodePage::ByteTypeAt(line, static_cast<size_t>(column - 2)) == mbTrailByte;
}

bool StartsDoubleByte(const std::string& line, int column) {
  return column >= 1 && column < static_cast<int>(line.size()) &&
         CodePage::ByteTypeAt(line, static_cast<size_t>(column - 1)) == mbLeadByte;
}

}  // namespace

// ---------------------------------------------------------------- indentation

int TCustomSrcEdit::LeftSpacesEx(const std::string& line, bool tabsWide) const {
  if (!FOptions.Contains(eoAutoIndent)) return 0;
  int count = 0;
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0 || byte > 32) break;
    count += c == '\t' && tabsWide ? FTabWidth : 1;
  }
  return count;
}

std::string TCustomSrcEdit::GetLeftSpacing(int count, bool tabsAllowed) const {
  count = std::max(count, 0);
  if (!tabsAllowed || FOptions.Contains(eoTabsToSpaces) || count < FTabWidth)
    return std::string(static_cast<size_t>(count), ' ');
  return std::string(static_cast<size_t>(count / FTabWidth), '\t') +
         std::string(static_cast<size_t>(count % FTabWidth), ' ');
}

// ---------------------------------------------------------------- selections

void TCustomSrcEdit::DeleteSelectionRecorded(TSrcChangeReason reason) {
  TSrcEditUndoBlock block(*this);
  RecordSelectionDelete(reason);
  SetSelTextPrimitive("");
  FBlockBegin = FBlockEnd = CaretXY();
}

void TCustomSrcEdit::DeleteRangeRecorded(TSrcChangeReason reason, const TBufferCoord& from, const TBufferCoord& to) {
  FActiveSelectionMode = smNormal;
  SetReplaySelection(from, to);
  const std::string text = SelectedText(true);
  SetSelTextPrimitiveEx(smNormal, "", false);
  FUndoList->AddChange(reason, from, to, text, smNormal);
  InternalSetCaretXY(from);
  SetBlockBegin(from);
}

void TCustomSrcEdit::FillToCaretRecorded() {
  const std::string line = LineText();
  const int len = static_cast<int>(line.size());
  if (len >= FCaretX - 1) return;
  FUndoList->AddChange(crWhiteSpaceAdd, CaretXY(), {len + 1, FCaretY}, "", smNormal);
  ProperSetLine(FCaretY - 1, line + std::string(static_cast<size_t>(FCaretX - 1 - len), ' '));
}

TInsertedRange TCustomSrcEdit::ReplaceSelectionRecorded(const std::string& text, TSrcTextBreaks breaks) {
  TSrcEditUndoBlock block(*this);
  if (FActiveSelectionMode != smColumn) return SetSelTextRecorded(crInsert, text, breaks);
  DeleteSelectionRecorded(crDelete);
  FActiveSelectionMode = smColumn;
  // A row lands at the caret: blanks up to it are recorded; the rows record
  // themselves.
  FillToCaretRecorded();
  return SetSelTextPrimitive(text);
}

// ---------------------------------------------------------------- Backspace

void TCustomSrcEdit::DoDeleteLastChar() {
  DoOnPaintTransientEx(ttBefore, true);
  TScopeExit closing([this] { DoOnPaintTransientEx(ttAfter, true); });
  if (SelAvail()) {
    const bool forward = FBlockBegin.Line < FBlockEnd.Line ||
                         (FBlockBegin.Line == FBlockEnd.Line && FBlockBegin.Char < FBlockEnd.Char);
    DeleteSelectionRecorded(forward ? crDelete : crDeleteAfterCursor);
    return;
  }
  const TBufferCoord old = CaretXY();
  std::string line = LineText();
  const int len = static_cast<int>(line.size());
  std::string deleted;
  // Where the deleted text began (the caret stands there unless it steps
  // back off a byte that a lone lead byte before it makes a trail byte).
  TBufferCoord deletedAt = old;
  // Where the deleted text began when not right before the caret (0).
  int deletedFrom = 0;
  // The leading-blank count of the nearest line above with fewer than
  // `below` (0 when none, or when it has as many).
  auto indentAbove = [&](int below, bool tabsWide) {
    for (int i = FCaretY - 1; i >= 1; --i) {
      const int count = LeftSpacesEx(FLines->Get(i - 1), tabsWide);
      if (count < below) return count;
    }
    return 0;
  };
  if (FCaretX > len + 1) {
    // Beyond the line's end: the caret moves, nothing is deleted.
    int target = FCaretX - 1;
    if (FOptions.Contains(eoSmartTabDelete)) {
      if (len > 0) {
        target = len + 1;
      } else {
        const int want = FCaretX - 1;
        const int found = indentAbove(want, FOptions.Contains(eoTrimTrailingSpaces));
        target = (found == want ? 0 : found) + 1;
      }
    }
    InternalSetCaretX(target);
    deletedAt = CaretXY();
  } else if (FCaretX > 1) {
    const int c = FCaretX;
    const int lead = LeftSpaces(line);
    if (static_cast<unsigned char>(line[c - 2]) > 32 || c - 1 != lead) {
      const int count = EndsDoubleByte(line, c) ? 2 : 1;
      deleted = line.substr(c - 1 - count, count);
      line.erase(c - 1 - count, count);
      ProperSetLine(FCaretY - 1, line);
      deletedAt.Char = c - count;
      InternalSetCaretX(deletedAt.Char);
    } else {
      // Right after the leading blanks: back to the indentation of a line
      // above, or to the previous tab stop.
      int count;
      int from = 1;
      if (FOptions.Contains(eoSmartTabDelete)) {
        const int target = indentAbove(lead, false);
        count = lead - (target == lead ? 0 : target);
      } else {
        const int column = CharIndexToColumn(line, c);
        int back = (column - 1) % FTabWidth;
        if (back == 0) back = FTabWidth;
        const std::string expanded = FLines->GetExpandedString(FCaretY - 1);
        count = 0;
        for (int cell = column - back; cell < column - back + std::min(FTabWidth, back); ++cell) {
          ++count;
          if (cell - 1 < static_cast<int>(expanded.size()) && expanded[cell - 1] == '\t') break;
        }
        if (count != lead) from = lead - count + 1;
      }
      deleted = line.substr(from - 1, count);
      if (from + count != c) deletedFrom = from;
      line.erase(from - 1, count);
      ProperSetLine(FCaretY - 1, line);
      deletedAt.Char = c - count;
      InternalSetCaretX(deletedAt.Char);
    }
  } else if (FCaretY > 1) {
    // Column 1: the line joins the one above.
    const int index = FCaretY - 1;
    const std::string previous = FLines->Get(index - 1);
    deleted = TSrcEditStringList::BreakText(FLines->BreakBefore(index));
    deletedAt = {static_cast<int>(previous.size()) + 1, FCaretY - 1};
    {
      TStringsUpdate update(*FLines);
      InternalSetCaretXY(deletedAt);
      FLines->Delete(index);
      // Marks of the joined line go with its text.
      DoLinesDeleted(index, 1);
      ProperSetLine(index - 1, previous + line);
    }
    InternalSetCaretXY(deletedAt);
  }
  if (deletedFrom > 0) {
    // Blanks taken from the line's start: recorded where they were, with
    // the caret before and after.
    TSrcEditUndoBlock block(*this);
    FUndoList->AddChange(crCaret, old, old, "", smNormal);
    FUndoList->AddChange(crSilentDelete, {deletedFrom, old.Line},
                         {deletedFrom + static_cast<int>(deleted.size()), old.Line}, deleted, smNormal);
    FUndoList->AddChange(crCaret, CaretXY(), CaretXY(), "", smNormal);
  } else if (deletedAt != old) {
    FUndoList->AddChange(crSilentDelete, deletedAt, old, deleted, smNormal);
  }
  EnsureCursorPosVisible();
}

// ---------------------------------------------------------------- Delete

void TCustomSrcEdit::DoDeleteChar() {
  DoOnPaintTransient(ttBefore);
  TScopeExit closing([this] { DoOnPaintTransient(ttAfter); });
  if (SelAvail()) {
    const bool forward = FBlockBegin.Line < FBlockEnd.Line ||
                         (FBlockBegin.Line == FBlockEnd.Line && FBlockBegin.Char < FBlockEnd.Char);
    DeleteSelectionRecorded(forward ? crDelete : crDeleteAfterCursor);
    return;
  }
  UpdateLastCaretX();
  std::string line = LineText();
  const int len = static_cast<int>(line.size());
  const TBufferCoord caret = CaretXY();
  if (FCaretX > len) {
    if (FCaretY >= FLines->Count()) return;  // the end of the text
    // The next line joins at the caret; blanks fill the gap.
    TSrcEditUndoBlock block(*this);
    const int fill = FCaretX - 1 - len;
    if (fill > 0) FUndoList->AddChange(crWhiteSpaceAdd, caret, {len + 1, FCaretY}, "", smNormal);
    line.resize(static_cast<size_t>(FCaretX - 1), ' ');
    const std::string_view deleted = TSrcEditStringList::BreakText(FLines->BreakBefore(FCaretY));
    {
      TStringsUpdate update(*FLines);
      ProperSetLine(FCaretY - 1, line + FLines->Get(FCaretY));
      FLines->Delete(FCaretY);
      DoLinesDeleted(FCaretY, 1);
    }
    FUndoList->AddChange(crSilentDeleteAfterCursor, caret, {1, FCaretY + 1}, std::string(deleted), smNormal);
    // After a lone lead byte the caret now stands inside a character.
    InternalSetCaretXY(caret);
    return;
  }
  const int count = StartsDoubleByte(line, FCaretX) ? 2 : 1;
  const std::string deleted = line.substr(FCaretX - 1, count);
  line.erase(FCaretX - 1, count);
  ProperSetLine(FCaretY - 1, line);
  FUndoList->AddChange(crSilentDeleteAfterCursor, caret, {FCaretX + count, FCaretY}, deleted, smNormal);
}

// ---------------------------------------------------------------- word and line deletions

void TCustomSrcEdit::DoDeleteToEnd(bool toLineEnd) {
  DoOnPaintTransient(ttBefore);
  TScopeExit closing([this] { DoOnPaintTransient(ttAfter); });
  const std::string line = LineText();
  const int len = static_cast<int>(line.size());
  const TBufferCoord caret = CaretXY();
  TBufferCoord end{len + 1, FCaretY};
  if (!toLineEnd) {
    end = WordEnd();
    if (end.Line == caret.Line && (end.Char < caret.Char || (end.Char == caret.Char && FCaretY < FLines->Count()))) {
      if (end.Char > len)
        end = {1, FCaretY + 1};
      else if (!IsBlank(line[end.Char - 1]))
        ++end.Char;
    }
    if (end.Line <= FLines->Count()) {
      const std::string at = FLines->Get(end.Line - 1);
      while (end.Char <= static_cast<int>(at.size()) && at[end.Char - 1] == ' ') ++end.Char;
    }
  }
  // Only what follows the caret is deleted: beyond the end of the line
  // (and of the text) there is nothing.
  if (end.Line > FLines->Count()) end = {len + 1, FCaretY};
  if (end.Line == caret.Line && end.Char <= caret.Char) return;
  TSrcEditUndoBlock block(*this);
  // A caret beyond the line's end stays where it is: blanks fill up to it
  // before the next line joins there.
  if (end.Line > caret.Line) FillToCaretRecorded();
  DeleteRangeRecorded(crSilentDeleteAfterCursor, caret, end);
}

void TCustomSrcEdit::DoDeleteToStart(bool toLineStart) {
  DoOnPaintTransient(ttBefore);
  TScopeExit closing([this] { DoOnPaintTransient(ttAfter); });
  const TBufferCoord caret = CaretXY();
  const TBufferCoord start = toLineStart ? TBufferCoord{1, FCaretY} : PrevWordPos();
  if (start == caret) return;
  DeleteRangeRecorded(crSilentDelete, start, caret);
}

void TCustomSrcEdit::DoDeleteLine() {
  const int count = FLines->Count();
  if (count == 0 || (FCaretY == count && LineText().empty())) return;
  DoOnPaintTransient(ttBefore);
  TScopeExit closing([this] { DoOnPaintTransient(ttAfter); });
  if (SelAvail()) SetBlockBegin(CaretXY());
  const int line = FCaretY;
  const std::string text = LineText();
  if (line == count) {
    FLines->Put(line - 1, "");
    FUndoList->AddChange(crSilentDeleteAfterCursor, {1, line}, {static_cast<int>(text.size()) + 1, line}, text,
                         smNormal);
  } else {
    // The line goes with the break after it: the next line keeps the break
    // in front of this one.
    const std::string_view after = TSrcEditStringList::BreakText(FLines->BreakBefore(line));
    FLines->SetBreakBefore(line, FLines->BreakBefore(line - 1));
    FLines->Delete(line - 1);
    FUndoList->AddChange(crSilentDeleteAfterCursor, {1, line}, {1, line + 1}, text + std::string(after), smNormal);
    DoLinesDeleted(line, 1);
  }
  InternalSetCaretXY({1, line});
}

// ---------------------------------------------------------------- Enter

// An empty line in front of a line (1-based): the break typed goes between
// the two, the one in front of the line stays in front of them.
void TCustomSrcEdit::InsertLineAbove(int line) {
  const TSrcEditFileFormat typed = FLines->SplitBreak(line - 1, true);
  FLines->InsertLine(line - 1, "", FLines->BreakBefore(line - 1));
  FLines->SetBreakBefore(line, typed);
}

void TCustomSrcEdit::DoLineBreak(bool moveCaret) {
  TSrcUndoBlock block(*FUndoList);
  if (SelAvail()) DeleteSelectionRecorded(crDelete);
  const TBufferCoord caret = CaretXY();
  const std::string line = LineText();
  const int len = static_cast<int>(line.size());
  int inserted;  // the 1-based line the new line became
  // Where Enter leaves the caret, recorded so that a redo leaves it there.
  TBufferCoord after = caret;
  {
    TStringsUpdate update(*FLines);
    if (line.empty()) {
      if (FLines->Count() == 0) FLines->Add("");
      int indent = 0;
      if (FOptions.Contains(eoAutoIndent)) {
        for (int i = caret.Line; i >= 1; --i) {
          const std::string above = FLines->Get(i - 1);
          if (!above.empty()) {
            indent = LeftSpacesEx(above, true);
            break;
          }
        }
      }
      InsertLineAbove(caret.Line);
      inserted = caret.Line;
      if (moveCaret) after = {indent + 1, caret.Line + 1};
      FUndoList->AddChange(crLineBreak, caret, after, "", smNormal);
    } else if (caret.Char > len) {
      const int indent = LeftSpaces(line);
      FLines->InsertLine(caret.Line, moveCaret && indent > 0 ? line.substr(0, static_cast<size_t>(indent)) : "",
                         FLines->SplitBreak(caret.Line - 1, false));
      inserted = caret.Line + 1;
      if (moveCaret) after = {indent + 1, caret.Line + 1};
      FUndoList->AddChange(crLineBreak, caret, after, "", smNormal);
    } else if (caret.Char == 1) {
      InsertLineAbove(caret.Line);
      inserted = caret.Line;
      if (moveCaret) after = {1, caret.Line + 1};
      FUndoList->AddChange(crLineBreak, caret, after, line, smNormal);
    } else {
      const std::string left = line.substr(0, static_cast<size_t>(caret.Char - 1));
      const std::string right = line.substr(static_cast<size_t>(caret.Char - 1));
      const std::string spacing = GetLeftSpacing(LeftSpacesEx(left, true), true);
      FLines->InsertLine(caret.Line, spacing + right, FLines->SplitBreak(caret.Line - 1, false));
      ProperSetLine(caret.Line - 1, left);
      inserted = caret.Line + 1;
      if (moveCaret) after = {static_cast<int>(spacing.size()) + 1, caret.Line + 1};
      FUndoList->AddChange(crLineBreak, caret, after, right, smNormal);
    }
    InternalSetCaretXY(after);
  }
  DoLinesInserted(inserted, 1);
  SetBlockBegin(CaretXY());
  EnsureCursorPosVisible();
  UpdateLastCaretX();
}

// ---------------------------------------------------------------- typing

void TCustomSrcEdit::DoTypeChar(char c) {
  const std::optional<TTypedLead> lead = std::exchange(FTypedLead, std::nullopt);
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 32 || byte == 127) return;
  TScopeExit closing([this] { DoOnPaintTransient(ttAfter); });
  if (lead && IsTypedLeadIntact(*lead)) {
    TypeTrailByte(*lead, c);
    return;
  }
  TTypedLead typed;
  typed.Lead = c;
  typed.UndoBefore = FUndoList->PushPosition();
  if (SelAvail()) {
    typed.After = ReplaceSelectionRecorded(std::string(1, c)).End;
  } else {
    std::string line = LineText();
    const int len = static_cast<int>(line.size());
    const bool wasEmpty = line.empty();
    // Past its line's end a character is not added beyond the scroll width;
    // inside a line, however long, it is.
    if (FInsertMode && !WordWrap() && !FOptions.Contains(eoAutoSizeMaxScrollWidth) && FCaretX > FMaxScrollWidth &&
        FCaretX > len + 1)
      return;
    TOptionOn pastEol(FOptions, eoScrollPastEol);
    // Blanks fill the line up to the caret, in both modes: beyond the
    // line's end the character is added.
    int fill = 0;
    if (len < FCaretX - 1) {
      const int count = FCaretX - len - 1;
      const std::string spacing = wasEmpty ? GetLeftSpacing(count, true) : std::string(static_cast<size_t>(count), ' ');
      line += spacing;
      fill = static_cast<int>(spacing.size());
    }
    // On a line that was empty the character follows the filling, which
    // may be made of TABs.
    const int at = wasEmpty ? static_cast<int>(line.size()) + 1 : FCaretX;
    typed.After = {at + 1, FCaretY};
    TSrcEditUndoBlock block(*this);
    // The blanks added to reach the caret, recorded so that undo removes them.
    if (fill > 0) FUndoList->AddChange(crWhiteSpaceAdd, {len + fill + 1, FCaretY}, {len + 1, FCaretY}, "", smNormal);
    if (FInsertMode) {
      line.insert(static_cast<size_t>(at - 1), 1, c);
      ProperSetLine(FCaretY - 1, line);
      FUndoList->AddChange(crInsert, {at, FCaretY}, {at + 1, FCaretY}, "", smNormal);
      InternalSetCaretX(at + 1);
    } else {
      // A double-byte character is overwritten whole, its second byte by
      // a blank.
      const int count = StartsDoubleByte(line, at) ? 2 : at <= static_cast<int>(line.size()) ? 1 : 0;
      const std::string saved = line.substr(static_cast<size_t>(at - 1), static_cast<size_t>(count));
      line.replace(static_cast<size_t>(at - 1), static_cast<size_t>(count),
                   count == 2 ? std::string{c, ' '} : std::string(1, c));
      ProperSetLine(FCaretY - 1, line);
      FUndoList->AddChange(crInsert, {at, FCaretY}, {at + std::max(count, 1), FCaretY}, saved, smNormal);
      InternalSetCaretX(at + 1);
      typed.Overwrote = true;
      typed.Blanked = count == 2;
    }
  }
  if (CodePage::IsLeadByte(byte)) FTypedLead = typed;
  KeepTypedCaretInView();
}

void TCustomSrcEdit::NoteTypedLead(TTypedLead& lead) const {
  lead.Caret = CaretXY();
  lead.UndoAfter = FUndoList->PushPosition();
  lead.UndoTop = FUndoList->PeekItem();
}

// The lead byte is where it was typed and nothing happened since: the
// caret where typing it left it, the undo list as it left it.
bool TCustomSrcEdit::IsTypedLeadIntact(const TTypedLead& lead) const {
  if (CaretXY() != lead.Caret || FUndoList->PushPosition() != lead.UndoAfter ||
      FUndoList->PeekItem() != lead.UndoTop || lead.After.Line < 1 || lead.After.Line > FLines->Count())
    return false;
  const std::string_view line = FLines->GetView(lead.After.Line - 1);
  return lead.After.Char >= 2 && lead.After.Char - 2 < static_cast<int>(line.size()) &&
         line[lead.After.Char - 2] == lead.Lead;
}

void TCustomSrcEdit::TypeTrailByte(const TTypedLead& lead, char trail) {
  if (lead.UndoAfter > lead.UndoBefore && FUndoList->CanUndo()) {
    // The lead byte's step is taken back, and the two bytes are typed as
    // one character: one undo step, overwriting and replacing a selection
    // as a character does.
    {
      TSrcPaintLock lock(*this);
      TScopeExit endBatch([this] { EndReplayBatch(); });
      // Nothing of it is left to redo.
      FRedoList->Lock();
      TScopeExit unlock([this] { FRedoList->Unlock(); });
      const uint32_t number = FUndoList->PeekItem()->FChangeNumber;
      while (FUndoList->PushPosition() > lead.UndoBefore && FUndoList->CanUndo()) UndoItem(number);
      RestartEditRecord();
    }
    DoImeStr(std::string{lead.Lead, trail});
    return;
  }
  // Without undo items the trail byte goes right after its lead byte: into
  // the blank that overwriting a double-byte character left, over the
  // character that follows (all of a double-byte one), or inserted.
  std::string line = FLines->Get(lead.After.Line - 1);
  const size_t at = static_cast<size_t>(lead.After.Char - 1);
  // Overwriting a double-byte character leaves a blank after the trail
  // byte, which the caret passes as with composed input.
  bool wide = false;
  if (!lead.Overwrote || at >= line.size()) {
    line.insert(at, 1, trail);
  } else if (lead.Blanked) {
    line[at] = trail;
  } else {
    // The character after the lead byte, classified as it was before the
    // lead byte took the place of a one-byte character.
    std::string before = line;
    before[at - 1] = ' ';
    wide = at + 1 < line.size() && CodePage::ByteTypeAt(before, at) == mbLeadByte;
    line[at] = trail;
    if (wide) line[at + 1] = ' ';
  }
  ProperSetLine(lead.After.Line - 1, line);
  if (FCaretY == lead.After.Line && (FCaretX == lead.After.Char - 1 || FCaretX == lead.After.Char))
    InternalSetCaretX(lead.After.Char + (wide ? 2 : 1));
  KeepTypedCaretInView();
}

void TCustomSrcEdit::KeepTypedCaretInView() {
  // Typing past the right edge scrolls by a good step, not a column.
  if (FColumnsInWindow > 1 && FCaretX >= FLeftChar + FColumnsInWindow)
    SetLeftChar(FLeftChar + std::min(25, FColumnsInWindow - 1));
}

void TCustomSrcEdit::DoImeStr(const std::string& composed) {
  // A composed string is one line of text.
  std::string text = composed.substr(0, composed.find_first_of(std::string("\r\n\0", 3)));
  if (text.empty()) return;
  if (SelAvail()) {
    ReplaceSelectionRecorded(text);
    InvalidateGutterLines(-1, -1);
    return;
  }
  InsertAtCaretRecorded(text, !FInsertMode);
  KeepTypedCaretInView();
}

void TCustomSrcEdit::InsertAtCaretRecorded(std::string text, bool overwrite) {
  TOptionOn pastEol(FOptions, eoScrollPastEol);
  TSrcEditUndoBlock block(*this);
  FillToCaretRecorded();
  std::string line = LineText();
  line.resize(std::max(line.size(), static_cast<size_t>(FCaretX - 1)), ' ');
  const int at = FCaretX;
  std::string overwritten;
  if (overwrite) {
    size_t count = std::min(text.size(), line.size() - static_cast<size_t>(at - 1));
    // Never half a double-byte character: the one cut is overwritten
    // whole, its second byte by a blank.
    if (count > 0 && at - 1 + count < line.size() &&
        CodePage::ByteTypeAt(line, static_cast<size_t>(at - 1) + count) == mbTrailByte) {
      ++count;
      text += ' ';
    }
    overwritten = line.substr(static_cast<size_t>(at - 1), count);
    line.erase(static_cast<size_t>(at - 1), count);
  }
  line.insert(static_cast<size_t>(at - 1), text);
  ProperSetLine(FCaretY - 1, line);
  FUndoList->AddChange(crInsert, {at, FCaretY}, {at + static_cast<int>(text.size()), FCaretY}, overwritten, smNormal);
  InternalSetCaretX(at + static_cast<int>(text.size()));
}

}  // namespace vk
