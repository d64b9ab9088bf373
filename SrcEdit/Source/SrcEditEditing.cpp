// The editing operations the commands delegate to: caret moves with and
// without selection, Home and End, Tab and Shift+Tab, block indent and
// unindent, case changes, bracket matching and the highlighter's token at a
// position. Every step over a line classifies its bytes from the line's
// start, so none stops between the two bytes of a double-byte character.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <climits>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "platform/CodePage.h"

namespace vk {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Case conversions of the selected text; the bytes of double-byte
// characters are never touched.
template <class Convert>
std::string ConvertSingleBytes(const std::string& text, Convert convert) {
  std::string result = text;
  for (size_t i = 0; i < result.size();) {
    const size_t length = CodePage::CharLength(result.data(), result.size(), i);
    if (length == 1) result[i] = static_cast<char>(convert(static_cast<unsigned char>(result[i]), i));
    i += length;
  }
  return result;
}

std::string ConvertCase(const std::string& text, TSrcEditorCommand command) {
  switch (command) {
    case ecUpperCase:
    case ecUpperCaseBlock:
      return ConvertSingleBytes(text, [](unsigned char c, size_t) { return CodePage::AsciiUpper(c); });
    case ecLowerCase:
    case ecLowerCaseBlock:
      return ConvertSingleBytes(text, [](unsigned char c, size_t) { return CodePage::AsciiLower(c); });
    case ecToggleCase:
    case ecToggleCaseBlock:
      return ConvertSingleBytes(text, [](unsigned char c, size_t) {
        return CodePage::AsciiUpper(c) == c ? CodePage::AsciiLower(c) : CodePage::AsciiUpper(c);
      });
    case ecTitleCase:
      return ConvertSingleBytes(text, [](unsigned char c, size_t i) {
        return i == 0 ? CodePage::AsciiUpper(c) : CodePage::AsciiLower(c);
      });
    default: return text;
  }
}


}  // namespace

// ---------------------------------------------------------------- caret moves

void TCustomSrcEdit::MoveCaretAndSelection(const TBufferCoord& before, TBufferCoord after, bool extend) {
  // A caret move separates undo groups.
  if (FOptions.Contains(eoGroupUndo) && FUndoList->CanUndo()) FUndoList->AddGroupBreak();
  // The caret never stands between the two bytes of a character.
  if (IsTrailByte(FLines->GetView(after.Line - 1), after.Char)) --after.Char;
  TSrcPaintLock lock(*this);
  if (extend) {
    // A column block keeps its anchor also while it has no width: it is
    // still the block the next Shift key extends.
    const bool columnBlock = FActiveSelectionMode == smColumn && FBlockBegin != FBlockEnd;
    if (!SelAvail() && !columnBlock) SetBlockBegin(before);
    SetBlockEnd(after);
  } else {
    SetBlockBegin(after);
  }
  InternalSetCaretXY(after);
}

void TCustomSrcEdit::MoveCaretHorz(int dx, bool extend) {
  if (WordWrap()) {
    if (dx <= 0 && !FCaretAtRowEnd && FCaretX > 1 && DisplayX() == 1) {
      // At the start of a continuation row: first to the end of the row above.
      FCaretAtRowEnd = true;
      UpdateLastCaretX();
      TSrcPaintLock lock(*this);
      if (DisplayX() > FColumnsInWindow + 1)
        SetInternalDisplayXY({FColumnsInWindow + 1, DisplayY()});
      else
        FStateFlags.Include(sfCaretChanged);
      return;
    }
    if (dx > 0 && FCaretAtRowEnd) {
      FCaretAtRowEnd = false;
      UpdateLastCaretX();
      TSrcPaintLock lock(*this);
      FStateFlags.Include(sfCaretChanged);
      return;
    }
  }
  const std::string line = LineText();
  const int length = static_cast<int>(line.size());
  const bool wrapLines = !FOptions.Contains(eoScrollPastEol);
  TBufferCoord target;
  if (wrapLines && dx == -1 && FCaretX == 1 && FCaretY > 1) {
    target = {static_cast<int>(FLines->Get(FCaretY - 2).size()) + 1, FCaretY - 1};
  } else if (wrapLines && dx == 1 && FCaretX > length && FCaretY < FLines->Count()) {
    target = {1, FCaretY + 1};
  } else {
    long long column = std::max<long long>(1, static_cast<long long>(FCaretX) + dx);
    if (dx > 0 && wrapLines) column = std::min<long long>(column, length + 1);
    target = {ClampToInt(column), FCaretY};
    if (target.Char > 1 && target.Char <= length && IsTrailByte(line, target.Char)) target.Char += dx > 0 ? 1 : -1;
  }
  MoveCaretAndSelection(CaretXY(), target, extend);
  if (WordWrap() && dx > 0 && FCaretX <= length) {
    const TDisplayCoord pos = DisplayXY();
    if (pos.Column == 1 && pos.Row != LineToRow(FCaretY)) {
      FCaretAtRowEnd = true;
      UpdateLastCaretX();
    } else if (pos.Column > FColumnsInWindow + 1) {
      SetInternalDisplayXY({1, pos.Row + 1});
    }
  }
}

void TCustomSrcEdit::MoveCaretVert(int dy, bool extend) {
  const TDisplayCoord from = DisplayXY();
  long long row = static_cast<long long>(from.Row) + dy;
  if (dy >= 0) {
    if (row > INT_MAX || RowToLine(static_cast<int>(row)) > FLines->Count()) row = std::max(1, GetDisplayLineCount());
  } else if (row < 1) {
    row = 1;
  }
  const int targetRow = static_cast<int>(row);
  const bool rowChanged = targetRow != from.Row;
  const int column = rowChanged && FOptions.Contains(eoKeepCaretX) ? FLastCaretX : from.Column;
  // The character under the column, not moved past a double-byte
  // character: that step is decided here.
  TBufferCoord target = WordWrap() ? FWordWrapPlugin->DisplayToBufferPos({column, targetRow})
                                   : TBufferCoord{column, targetRow};
  std::string text;
  if (target.Line >= 1 && target.Line <= FLines->Count()) {
    text = FLines->Get(target.Line - 1);
    bool insideTab = false;
    target.Char = CaretPos2CharIndex(target.Char, FTabWidth, text, insideTab);
  }
  bool stepAside = FCaretStepAside;
  if (rowChanged) {
    if (FCaretStepAside && !FOptions.Contains(eoKeepCaretX)) ++target.Char;
    stepAside = target.Char > 1 && target.Char <= static_cast<int>(text.size()) && IsTrailByte(text, target.Char);
    if (stepAside) --target.Char;
  }
  const int lastCaretX = FLastCaretX;
  {
    TSrcPaintLock lock(*this);
    MoveCaretAndSelection(CaretXY(), target, extend);
    if (WordWrap()) {
      const TDisplayCoord at = BufferToDisplayPos(target);
      FCaretAtRowEnd = at.Column == 1 && at.Row != targetRow;
    }
  }
  // Vertical moves keep the remembered column.
  FCaretStepAside = stepAside;
  FLastCaretX = lastCaretX;
}

void TCustomSrcEdit::DoHomeKey(bool extend) {
  int target = 1;
  const int firstRow = LineToRow(FCaretY);
  if (FOptions.Contains(eoEnhanceHomeKey) && (!WordWrap() || DisplayY() == firstRow)) {
    const std::string line = LineText();
    int last = static_cast<int>(line.size());
    if (WordWrap() && FLines->Count() > 0) {
      const int rowEnd = std::max(1, std::min(FColumnsInWindow, RowLength(firstRow) + 1));
      last = std::min(last, DisplayToBufferPos({rowEnd, firstRow}).Char - 1);
    }
    int blanks = 0;
    while (blanks < last && IsBlank(line[blanks])) ++blanks;
    // Repeated Home toggles between the first non-blank and column 1.
    target = FCaretX - 1 > blanks || FCaretX == 1 ? blanks + 1 : 1;
  }
  TBufferCoord to{target, FCaretY};
  if (WordWrap()) to = DisplayToBufferPos({BufferToDisplayPos(to).Column, DisplayY()});
  MoveCaretAndSelection(CaretXY(), to, extend);
}

void TCustomSrcEdit::DoEndKey(bool extend) {
  const std::string line = LineText();
  const int length = static_cast<int>(line.size());
  const int row = DisplayY();
  bool lastRow = true;
  int rowStart = 1;
  if (WordWrap()) {
    rowStart = DisplayToBufferPos({1, row}).Char;
    // The last row of the line that holds text.
    const int nextRow = LineToRow(FCaretY + 1);
    const int lastLineRow = FCaretY < FLines->Count() ? nextRow - 1 : GetDisplayLineCount();
    lastRow = row == lastLineRow || DisplayToBufferPos({1, row + 1}).Char > length;
  }
  int target = length + 1;
  const bool enhanced = FOptions.Contains(eoEnhanceEndKey) && lastRow;
  if (enhanced) {
    int end = length;
    while (end > std::max(rowStart - 1, 0) && IsBlank(line[end - 1])) --end;
    // Repeated End toggles between the end of the text and of the line.
    target = FCaretX - 1 == end ? length + 1 : end + 1;
  }
  if (!WordWrap()) {
    MoveCaretAndSelection(CaretXY(), {target, FCaretY}, extend);
    return;
  }
  int column = enhanced ? BufferToDisplayPos({target, FCaretY}).Column : RowLength(row) + 1;
  column = std::min(column, FColumnsInWindow + 1);
  const TDisplayCoord at{column, row};
  MoveCaretAndSelection(CaretXY(), DisplayToBufferPos(at), extend);
  SetInternalDisplayXY(at);
}

// ---------------------------------------------------------------- Tab and Shift+Tab

void TCustomSrcEdit::DoTabKey() {
  TSrcEditScope edit(*this);
  if (FOptions.Contains(eoTabIndent) && (SelTabBlock() || SelTabLine())) {
    const bool tabLine = !SelTabBlock();
    DoBlockIndent();
    if (tabLine) {
      if (FBlockBegin.Char < FBlockEnd.Char)
        FBlockBegin.Char = 1;
      else
        FBlockEnd.Char = 1;
    }
    return;
  }
  // Smart tabs: the start of the next word in the nearest line above that
  // reaches the caret's column.
  int skip = 0;
  int smartColumn = 0;
  const int caretColumn = DisplayX();
  if (FOptions.Contains(eoSmartTabs) && FCaretY > 1 && FCaretY <= FLines->Count()) {
    for (int i = FCaretY - 1; i >= 1 && skip == 0; --i) {
      const std::string above = FLines->Get(i - 1);
      const int m = ColumnToCharIndex(above, caretColumn);
      const int length = static_cast<int>(above.size());
      if (length < m) continue;
      int j = m;
      while (j <= length && !IsBlank(above[j - 1])) ++j;
      while (j <= length && IsBlank(above[j - 1])) ++j;
      skip = j - m;
      if (skip > 0) smartColumn = CharIndexToColumn(above, j);
      break;
    }
  }
  TSrcEditUndoBlock block(*this);
  if (SelAvail()) DeleteSelectionRecorded(crDelete);
  const TBufferCoord start = CaretXY();
  const std::string line = LineText();
  const int toTabStop = FTabWidth - (caretColumn - 1) % FTabWidth;
  if (skip == 0) skip = FOptions.Contains(eoTabsToSpaces) ? toTabStop : FTabWidth;
  std::string text;
  int caret = 0;  // the new caret column when only the caret moves
  if (FOptions.Contains(eoTabsToSpaces)) {
    text.assign(static_cast<size_t>(skip), ' ');
  } else if (FOptions.Contains(eoTrimTrailingSpaces) && start.Char > static_cast<int>(line.size())) {
    caret = start.Char + (smartColumn > 0 ? smartColumn - caretColumn : toTabStop);
  } else if (smartColumn > 0 && line.substr(0, static_cast<size_t>(start.Char - 1)).find_first_not_of(" \t") ==
                                    std::string::npos) {
    // Indentation up to the word above: TABs as far as they reach, blanks
    // for the rest.
    int distance = smartColumn - caretColumn;
    if (distance >= toTabStop) {
      text += '\t';
      distance -= toTabStop;
      text.append(static_cast<size_t>(distance / FTabWidth), '\t');
      distance %= FTabWidth;
    }
    text.append(static_cast<size_t>(std::max(distance, 0)), ' ');
  } else {
    text = "\t";
  }
  if (!text.empty()) {
    InsertAtCaretRecorded(text, false);
    caret = FCaretX;
  }
  TOptionOn pastEol(FOptions, eoScrollPastEol);
  InternalSetCaretX(std::max(caret, 1));
  SetBlockBegin(CaretXY());
  EnsureCursorPosVisible();
}

void TCustomSrcEdit::DoShiftTabKey() {
  TSrcEditScope edit(*this);
  if (FOptions.Contains(eoTabIndent) && (SelTabBlock() || SelTabLine())) {
    DoBlockUnindent();
    return;
  }
  // Nothing lies before column 1.
  if (FCaretX <= 1) return;
  const std::string line = LineText();
  const int length = static_cast<int>(line.size());
  int target = FCaretX;
  if (FOptions.Contains(eoSmartTabs) && FCaretY > 1 && FCaretY <= FLines->Count()) {
    for (int i = FCaretY - 1; i >= 1; --i) {
      const std::string above = FLines->Get(i - 1);
      if (static_cast<int>(above.size()) < FCaretX - 1) continue;
      // Back over blanks, then over the word before them: to its start.
      int p = FCaretX - 1;
      while (p >= 1 && above[p - 1] == ' ') {
        --p;
        target = std::max(target - 1, 1);
      }
      while (p >= 1 && above[p - 1] != ' ') {
        --p;
        target = std::max(target - 1, 1);
      }
      break;
    }
  }
  if (target == FCaretX) {
    const int stop = (FCaretX - 2) / FTabWidth * FTabWidth + 1;
    // Only blanks go: at the line's end as anywhere else.
    if (stop < target && FCaretX - 1 <= length && FCaretX > 1 && line[FCaretX - 2] == '\t') {
      target = FCaretX - 1;
    } else {
      while (target > stop && (target - 1 > length || line[target - 2] == ' ')) --target;
    }
  }
  // A word above may start over the middle of a double-byte character
  // here: that character stays whole.
  if (IsTrailByte(line, target)) ++target;
  if (target == FCaretX) return;
  DeleteRangeRecorded(crSilentDelete, {target, FCaretY}, CaretXY());
}

// ---------------------------------------------------------------- block indent and unindent
//
// Both work on every line the selection highlights, at column 1 or, in a
// column block, at its left edge. There the indent's blanks join the block
// (its left edge stays, everything right of it moves) and the unindent
// takes blanks off the block, so one gives back what the other changed. A
// line that ends before that edge (an empty line, in every mode) is left
// alone: no line gets blanks at its end.

void TCustomSrcEdit::DoBlockIndent() {
  TSrcEditScope edit(*this);
  if (!SelAvail()) return;
  const TBufferCoord b = BlockBegin();
  const TBufferCoord e = BlockEnd();
  const std::vector<int> places = BlockPlaces(b.Line, e);
  const std::string unit = FOptions.Contains(eoTabsToSpaces) ? std::string(static_cast<size_t>(FTabWidth), ' ')
                                                             : std::string("\t");
  std::vector<int> changes(places.size(), 0);
  for (size_t i = 0; i < places.size(); ++i)
    if (places[i] > 0) changes[i] = static_cast<int>(unit.size());
  ChangeBlockLines(b, e, places, changes, unit);
}

void TCustomSrcEdit::DoBlockUnindent() {
  TSrcEditScope edit(*this);
  if (!SelAvail()) return;
  const TBufferCoord b = BlockBegin();
  const TBufferCoord e = BlockEnd();
  const std::vector<int> places = BlockPlaces(b.Line, e);
  // What to take from each line: one TAB, or up to a tab width of blanks
  // (and a TAB right after fewer).
  std::vector<int> changes(places.size(), 0);
  for (size_t i = 0; i < places.size(); ++i) {
    if (places[i] == 0) continue;
    const std::string_view text = FLines->GetView(b.Line - 1 + static_cast<int>(i));
    const size_t start = static_cast<size_t>(places[i] - 1);
    int count = 0;
    if (text[start] == '\t') {
      count = 1;
    } else {
      while (count < FTabWidth && start + count < text.size() && text[start + count] == ' ') ++count;
      if (count < FTabWidth && start + count < text.size() && text[start + count] == '\t') ++count;
    }
    changes[i] = -count;
  }
  ChangeBlockLines(b, e, places, changes, "");
}

void TCustomSrcEdit::ChangeBlockLines(const TBufferCoord& b, const TBufferCoord& e, const std::vector<int>& places,
                                      const std::vector<int>& changes, const std::string& unit) {
  if (std::none_of(changes.begin(), changes.end(), [](int change) { return change != 0; })) return;
  const TSrcSelectionMode mode = FActiveSelectionMode;
  // A position right of a changed line's place moves with its text; one at
  // the place moves on with the indent's blanks too, except at a column
  // block's left edge.
  auto moved = [&](TBufferCoord p) {
    const size_t index = static_cast<size_t>(p.Line - b.Line);
    if (p.Line < b.Line || index >= places.size() || changes[index] == 0) return p;
    const int at = places[index];
    if (p.Char > at || (changes[index] > 0 && p.Char == at && mode != smColumn))
      p.Char = std::max(at, p.Char + changes[index]);
    return p;
  };
  const TBufferCoord caret = moved(CaretXY());
  const TBufferCoord begin = moved(b);
  const TBufferCoord end = moved(e);
  // Caret and selection follow the change, also when it fails.
  TScopeExit restore([&] {
    SetCaretAndSelection(caret, begin, end);
    FActiveSelectionMode = mode;
  });
  TSrcUndoBlock block(*FUndoList);
  // The selection an undo gives back, first, and the one a redo gives
  // back, last.
  FUndoList->AddChange(crIndent, b, e, "", mode);
  {
    TStringsUpdate update(*FLines);
    for (size_t i = 0; i < places.size(); ++i) {
      const int change = changes[i];
      if (change == 0) continue;
      const TBufferCoord at{places[i], b.Line + static_cast<int>(i)};
      std::string text = FLines->Get(at.Line - 1);
      if (change > 0) {
        text.insert(static_cast<size_t>(at.Char - 1), unit);
        ProperSetLine(at.Line - 1, text);
        FUndoList->AddChange(crInsert, at, {at.Char + change, at.Line}, "", smNormal);
      } else {
        const std::string taken = text.substr(static_cast<size_t>(at.Char - 1), static_cast<size_t>(-change));
        text.erase(static_cast<size_t>(at.Char - 1), static_cast<size_t>(-change));
        ProperSetLine(at.Line - 1, text);
        // Each line's blanks go back at their own character (a column
        // block's edge names other characters on lines with TABs).
        FUndoList->AddChange(crUnindent, at, at, taken, smColumn);
      }
    }
  }
  FUndoList->AddChange(crIndent, begin, end, "", mode);
}

std::vector<int> TCustomSrcEdit::BlockPlaces(int first, const TBufferCoord& end) const {
  // A running selection that ends in column 1 highlights nothing of that
  // line.
  const int last = FActiveSelectionMode == smNormal && end.Char == 1 ? end.Line - 1 : end.Line;
  std::vector<int> places;
  places.reserve(static_cast<size_t>(std::max(last - first + 1, 0)));
  if (FActiveSelectionMode != smColumn) {
    for (int line = first; line <= last; ++line) places.push_back(FLines->GetView(line - 1).empty() ? 0 : 1);
    return places;
  }
  int left = 0;
  int right = 0;
  ColumnBlockColumns(left, right);
  for (int line = first; line <= last; ++line) {
    const std::string text = FLines->Get(line - 1);
    // The first character that starts at or right of the edge: a TAB or a
    // double-byte character the edge cuts through stays left of it.
    bool insideTab = false;
    int at = CaretPos2CharIndex(left, FTabWidth, text, insideTab);
    if (insideTab || IsTrailByte(text, at)) ++at;
    places.push_back(at <= static_cast<int>(text.size()) ? at : 0);
  }
  return places;
}

// ---------------------------------------------------------------- case changes

void TCustomSrcEdit::DoCaseChange(TSrcEditorCommand command) {
  if (command < ecUpperCase || command > ecToggleCaseBlock) throw ESrcEditAssertion();
  if (command == ecToggleCaseBlock - 3) return;  // 624 is no command
  TSrcEditScope edit(*this);
  const bool word = command <= ecTitleCase;
  const bool hadSelection = SelAvail();
  const TBufferCoord b = FBlockBegin;
  const TBufferCoord e = FBlockEnd;
  const TBufferCoord caret = CaretXY();
  const TSrcSelectionMode mode = FActiveSelectionMode;
  // Caret and selection come back, also when the change fails.
  TScopeExit restore([&] {
    if (hadSelection || word) SetCaretXY(caret);
    if (!word && hadSelection) {
      SetBlockBegin(b);
      SetBlockEnd(e);
      SetActiveSelectionMode(mode);
    }
  });
  bool convert = true;
  if (word) {
    SetSelWord();
    for (int attempt = 0; attempt < 2 && !SelAvail(); ++attempt) {
      InternalSetCaretXY(PrevWordPos());
      SetSelWord();
    }
  } else if (!hadSelection) {
    if (FCaretX > static_cast<int>(LineText().size())) {
      if (FCaretY < FLines->Count()) InternalSetCaretXY({1, FCaretY + 1});
      convert = false;
    } else {
      // The character at the caret, not a column block of no width.
      SetBlockBegin(CaretXY());
      MoveCaretHorz(1, true);
    }
  }
  // The rows of a column block as they are (no filling blanks), lines with
  // their own breaks, which the converted text keeps.
  const std::string text = convert ? SelTextAsStored() : std::string();
  const std::string converted = ConvertCase(text, command);
  // Text that stays as it is records no undo step.
  if (converted != text) {
    TSrcEditUndoBlock block(*this);
    FUndoList->AddChange(crSelection, hadSelection ? b : caret, hadSelection ? e : caret, "", FActiveSelectionMode);
    FUndoList->AddChange(crCaret, caret, caret, "", FActiveSelectionMode);
    ReplaceSelectionRecorded(converted, tbKept);
  }
}

// ---------------------------------------------------------------- brackets

TBufferCoord TCustomSrcEdit::GetMatchingBracket() { return GetMatchingBracketEx(CaretXY()); }

void TCustomSrcEdit::FindMatchingBracket() {
  const TBufferCoord match = GetMatchingBracket();
  if (match.Char > 0 && match.Line > 0) InternalSetCaretXY(match);
}

TBufferCoord TCustomSrcEdit::GetMatchingBracketEx(const TBufferCoord& position) {
  static const char Brackets[] = "()[]{}<>";
  if (position.Line < 1 || position.Line > FLines->Count()) return {0, 0};
  std::string line = FLines->Get(position.Line - 1);
  if (position.Char < 1 || position.Char > static_cast<int>(line.size())) return {0, 0};
  if (CodePage::ByteTypeAt(line, static_cast<size_t>(position.Char - 1)) != mbSingleByte) return {0, 0};
  const char* found = std::char_traits<char>::find(Brackets, 8, line[position.Char - 1]);
  if (!found) return {0, 0};
  const int index = static_cast<int>(found - Brackets);
  const char same = *found;
  const char other = Brackets[index ^ 1];
  const bool forward = index % 2 == 0;
  TSrcHighlighterAttributes* comment = FHighlighter ? FHighlighter->GetDefaultAttribute(0) : nullptr;
  TSrcHighlighterAttributes* string = FHighlighter ? FHighlighter->GetDefaultAttribute(3) : nullptr;
  int depth = 1;
  int lineNumber = position.Line;
  int column = position.Char;
  for (;;) {
    // The next byte in the search direction, across lines; a double-byte
    // character is stepped over whole.
    column += forward ? 1 : -1;
    while (column < 1 || column > static_cast<int>(line.size())) {
      lineNumber += forward ? 1 : -1;
      if (lineNumber < 1 || lineNumber > FLines->Count()) return {0, 0};
      line = FLines->Get(lineNumber - 1);
      column = forward ? 1 : static_cast<int>(line.size());
    }
    const TMbcsByteType type = CodePage::ByteTypeAt(line, static_cast<size_t>(column - 1));
    if (type != mbSingleByte) {
      if (forward ? type == mbLeadByte : type == mbTrailByte) column += forward ? 1 : -1;
      continue;
    }
    const char c = line[column - 1];
    if (c != same && c != other) continue;
    if (FHighlighter) {
      std::string token;
      TSrcHighlighterAttributes* attri = nullptr;
      if (GetHighlighterAttriAtRowCol({column, lineNumber}, token, attri) && attri &&
          (attri == comment || attri == string))
        continue;
    }
    depth += c == same ? 1 : -1;
    if (depth == 0) return {column, lineNumber};
  }
}

// ---------------------------------------------------------------- the highlighter at a position

bool TCustomSrcEdit::GetHighlighterAttriAtRowCol(const TBufferCoord& position, std::string& token,
                                                 TSrcHighlighterAttributes*& attri) {
  int kind = 0;
  int start = 0;
  return GetHighlighterAttriAtRowColEx(position, token, kind, start, attri);
}

bool TCustomSrcEdit::GetHighlighterAttriAtRowColEx(const TBufferCoord& position, std::string& token, int& tokenKind,
                                                   int& start, TSrcHighlighterAttributes*& attri) {
  token.clear();
  attri = nullptr;
  if (!FHighlighter || position.Line < 1 || position.Line > FLines->Count()) return false;
  const std::string line = FLines->Get(position.Line - 1);
  if (position.Line == 1)
    FHighlighter->ResetRange();
  else
    FHighlighter->SetRange(FLines->GetRange(position.Line - 2));
  FHighlighter->SetLine(line, position.Line - 1);
  if (position.Char < 1 || position.Char > static_cast<int>(line.size())) return false;
  while (!FHighlighter->GetEol()) {
    const int tokenStart = FHighlighter->GetTokenPos() + 1;
    const std::string text = FHighlighter->GetToken();
    if (position.Char >= tokenStart && position.Char < tokenStart + static_cast<int>(text.size())) {
      token = text;
      attri = FHighlighter->GetTokenAttribute();
      tokenKind = FHighlighter->GetTokenKind();
      start = tokenStart;
      return true;
    }
    FHighlighter->Next();
  }
  return false;
}

}  // namespace vk
