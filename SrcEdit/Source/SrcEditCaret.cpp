// The caret, the selection in its three modes and the conversions between
// buffer positions, display positions, client pixels and flat character
// indexes; the word boundaries the caret commands and double clicks use.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "platform/CodePage.h"
#include "platform/InputState.h"

namespace vk {

namespace {

bool IsSingleByte(const std::string& text, int column) {
  return CodePage::ByteTypeAt(text, static_cast<size_t>(column - 1)) == mbSingleByte;
}

bool InSet(const TSrcIdentChars& set, char c) { return set.Contains(static_cast<unsigned char>(c)); }

// Words without a highlighter: letters, digits, '_' and the accented
// letters of the upper half.
TSrcIdentChars DefaultIdentChars() {
  TSrcIdentChars chars("_");
  chars.IncludeRange('0', '9');
  chars.IncludeRange('A', 'Z');
  chars.IncludeRange('a', 'z');
  chars.IncludeRange(192, 214);
  chars.IncludeRange(216, 246);
  chars.IncludeRange(248, 255);
  return chars;
}

const TSrcIdentChars DefaultWordBreakChars("!\"'()*+,-./:;=?[\\]^{|}");

}  // namespace

// ---------------------------------------------------------------- caret

void TCustomSrcEdit::SetCaretXYEx(bool ensureVisible, TBufferCoord value) {
  FCaretAtRowEnd = false;
  const bool hadWindow = HandleAllocated();
  if (hadWindow) DoOnPaintTransient(ttBefore);
  const bool pastEol = FOptions.Contains(eoScrollPastEol);
  value.Line = std::min(value.Line, FLines->Count());
  int lineEnd = 1;
  if (value.Line < 1)
    value.Line = 1;
  else
    lineEnd = static_cast<int>(FLines->GetView(value.Line - 1).size()) + 1;
  const int maxColumn = !pastEol ? lineEnd : WordWrap() ? INT_MAX : LastColumnPastEol(lineEnd);
  if (value.Char > maxColumn && !(pastEol && FOptions.Contains(eoAutoSizeMaxScrollWidth)) && !FCaretExact)
    value.Char = maxColumn;
  value.Char = std::max(value.Char, 1);
  // Wherever a command puts the caret, never between the two bytes of a
  // character: typing there would split it.
  if (!FCaretExact && IsTrailByte(FLines->GetView(value.Line - 1), value.Char)) --value.Char;
  if (value == CaretXY()) {
    UpdateLastCaretX();
  } else {
    TSrcPaintLock lock(*this);
    if (value.Char != FCaretX) {
      FCaretX = value.Char;
      StatusChanged({scCaretX});
    }
    if (value.Line != FCaretY) {
      if (FActiveLineColor != clNone) {
        InvalidateLine(value.Line);
        InvalidateLine(FCaretY);
      }
      FCaretY = value.Line;
      StatusChanged({scCaretY});
    }
    UpdateLastCaretX();
    if (ensureVisible) EnsureCursorPosVisible();
    FStateFlags.Include(sfCaretChanged);
    FStateFlags.Include(sfScrollbarChanged);
  }
  if (hadWindow) DoOnPaintTransient(ttAfter);
}

void TCustomSrcEdit::SetCaretXY(const TBufferCoord& value) {
  TSrcPaintLock lock(*this);
  StatusChanged({scSelection});
  SetCaretXYEx(true, value);
  if (SelAvail()) InvalidateSelection();
  FBlockBegin = FBlockEnd = CaretXY();
}

void TCustomSrcEdit::UpdateLastCaretX() {
  FCaretStepAside = false;
  FLastCaretX = DisplayX();
}

TDisplayCoord TCustomSrcEdit::DisplayXY() {
  TDisplayCoord pos = BufferToDisplayPos(CaretXY());
  if (WordWrap() && FCaretAtRowEnd) {
    // Shown at the end of the previous row rather than the start of this one.
    if (pos.Column == 1 && pos.Row > 1) {
      --pos.Row;
      pos.Column = RowLength(pos.Row) + 1;
    } else {
      FCaretAtRowEnd = false;
    }
  }
  return pos;
}

void TCustomSrcEdit::KeepWrappedCaretInRow() {
  TDisplayCoord pos = DisplayXY();
  if (FColumnsInWindow <= 0 || pos.Column <= FColumnsInWindow + 1) return;
  if (FCaretAtRowEnd) {
    FCaretAtRowEnd = false;
  } else if (FPendingStatusChanges.Contains(scCaretY)) {
    pos.Column = FColumnsInWindow + 1;
    FCaretX = DisplayToBufferPos(pos).Char;
    FPendingStatusChanges.Include(scCaretX);
    UpdateLastCaretX();
  } else {
    return;
  }
  FStateFlags.Include(sfCaretChanged);
}

int TCustomSrcEdit::DisplayY() { return WordWrap() ? DisplayXY().Row : FCaretY; }

void TCustomSrcEdit::SetInternalDisplayXY(const TDisplayCoord& pos) {
  {
    TSrcPaintLock lock(*this);
    InternalSetCaretXY(DisplayToBufferPos(pos));
    // A click right of a wrapped row's end lands on the next row's start;
    // the caret is then shown at the end of the clicked row.
    FCaretAtRowEnd = WordWrap() && pos.Row <= FWordWrapPlugin->RowCount() &&
                     FWordWrapPlugin->GetRowLength(pos.Row) < pos.Column && DisplayY() != pos.Row;
  }
  UpdateLastCaretX();
}

void TCustomSrcEdit::ComputeCaret(int x, int y) {
  TDisplayCoord pos = PixelsToNearestRowColumn(x, y);
  pos.Row = std::max(1, std::min(pos.Row, GetDisplayLineCount()));
  SetInternalDisplayXY(pos);
}

bool TCustomSrcEdit::CaretInView() {
  TDisplayCoord pos = DisplayXY();
  return pos.Column >= FLeftChar && pos.Column <= static_cast<long long>(FLeftChar) + FColumnsInWindow &&
         pos.Row >= FTopLine && pos.Row <= static_cast<long long>(FTopLine) + FRowsInWindow;
}

int TCustomSrcEdit::CaretXPix() {
  TPoint physical = LogicalToPhysicalPos({FCaretX, FCaretY});
  return RowColumnToPixelsHk({physical.X, physical.Y}).X;
}

int TCustomSrcEdit::CaretYPix() { return RowColumnToPixelsHk({1, FCaretY}).Y; }

// ---------------------------------------------------------------- selection

TBufferCoord TCustomSrcEdit::BlockBegin() const {
  bool endFirst = FBlockEnd.Line < FBlockBegin.Line ||
                  (FBlockEnd.Line == FBlockBegin.Line && FBlockEnd.Char < FBlockBegin.Char);
  return endFirst ? FBlockEnd : FBlockBegin;
}

TBufferCoord TCustomSrcEdit::BlockEnd() const {
  bool endFirst = FBlockEnd.Line < FBlockBegin.Line ||
                  (FBlockEnd.Line == FBlockBegin.Line && FBlockEnd.Char < FBlockBegin.Char);
  return endFirst ? FBlockBegin : FBlockEnd;
}

TBufferCoord TCustomSrcEdit::ClampBlockPoint(TBufferCoord value) const {
  value.Char = std::max(value.Char, 1);
  value.Line = std::max(1, std::min(value.Line, FLines->Count()));
  const int lineEnd = static_cast<int>(FLines->GetView(value.Line - 1).size()) + 1;
  if (FOptions.Contains(eoScrollPastEol) && !WordWrap()) value.Char = std::min(value.Char, LastColumnPastEol(lineEnd));
  // Running text ends at its line's end; an empty text has nothing to
  // select in any mode.
  if (FActiveSelectionMode == smNormal || FLines->Count() == 0) value.Char = std::min(value.Char, lineEnd);
  return value;
}

void TCustomSrcEdit::SetBlockBegin(TBufferCoord value) {
  FActiveSelectionMode = FSelectionMode;
  value = ClampBlockPoint(value);
  const bool hadSelection = SelAvail();
  if (hadSelection) {
    InvalidateLines(std::min({value.Line, FBlockBegin.Line, FBlockEnd.Line}),
                    std::max({value.Line, FBlockBegin.Line, FBlockEnd.Line}));
  }
  const bool moved = value != FBlockBegin && value != FBlockEnd;
  FBlockBegin = FBlockEnd = value;
  if (hadSelection || moved) StatusChanged({scSelection});
}

void TCustomSrcEdit::SetBlockEnd(TBufferCoord value) {
  FActiveSelectionMode = FSelectionMode;
  if (FOptions.Contains(eoNoSelection)) return;
  value = ClampBlockPoint(value);
  if (value == FBlockEnd) return;
  if (IsTrailByte(FLines->GetView(value.Line - 1), value.Char)) --value.Char;
  if (value == FBlockEnd) return;
  if (FActiveSelectionMode != smColumn || value.Char == FBlockEnd.Char) {
    const int oldLine = FBlockEnd.Line;
    FBlockEnd = value;
    if (FActiveSelectionMode != smColumn || FBlockBegin.Char != FBlockEnd.Char) InvalidateLines(oldLine, value.Line);
  } else {
    // The block's width changed: every row of it repaints.
    InvalidateLines(std::min({FBlockBegin.Line, FBlockEnd.Line, value.Line}),
                    std::max({FBlockBegin.Line, FBlockEnd.Line, value.Line}));
    FBlockEnd = value;
  }
  StatusChanged({scSelection});
}

void TCustomSrcEdit::SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& blockBegin,
                                          const TBufferCoord& blockEnd) {
  const TSrcSelectionMode mode = FActiveSelectionMode;
  TSrcPaintLock lock(*this);
  // The mode comes back also when a step fails.
  TScopeExit restoreMode([&] { SetActiveSelectionMode(mode); });
  InternalSetCaretXY(caret);
  SetBlockBegin(blockBegin);
  SetBlockEnd(blockEnd);
}

bool TCustomSrcEdit::SelAvail() const {
  if (FLines->Count() == 0) return false;
  if (FActiveSelectionMode != smColumn || FBlockBegin.Line == FBlockEnd.Line) return FBlockBegin != FBlockEnd;
  // A column block is as wide as it is drawn: on lines with TABs equal
  // characters stand in other columns, and other characters in equal ones.
  int left = 0;
  int right = 0;
  ColumnBlockColumns(left, right);
  return left != right;
}

bool TCustomSrcEdit::SelTabBlock() const {
  return FBlockBegin.Line != FBlockEnd.Line && FActiveSelectionMode != smColumn;
}

bool TCustomSrcEdit::SelTabLine() const {
  return BlockBegin().Char <= 1 && static_cast<int>(LineText().size()) < BlockEnd().Char && SelAvail();
}

void TCustomSrcEdit::SetSelectionMode(TSrcSelectionMode value) {
  if (value == FSelectionMode) return;
  FSelectionMode = value;
  SetActiveSelectionMode(value);
}

void TCustomSrcEdit::SetActiveSelectionMode(TSrcSelectionMode value) {
  if (value == FActiveSelectionMode) return;
  InvalidateSelection();
  FActiveSelectionMode = value;
  // A column or line block may stand beyond its lines' ends: as running
  // text it ends where they do.
  if (value == smNormal) {
    FBlockBegin = ClampBlockPoint(FBlockBegin);
    FBlockEnd = ClampBlockPoint(FBlockEnd);
  }
  InvalidateSelection();  // in its new shape
  StatusChanged({scSelection});
}

TBufferCoord TCustomSrcEdit::EndOfText() const {
  int count = FLines->Count();
  if (count == 0) return {1, 1};
  return {static_cast<int>(FLines->Get(count - 1).size()) + 1, count};
}

void TCustomSrcEdit::SelectAll() {
  TSrcPaintLock lock(*this);
  TBufferCoord end = EndOfText();
  InternalSetCaretXY(end);
  SetBlockBegin({1, 1});
  SetBlockEnd(end);
  StatusChanged({scSelection});
}

// ---------------------------------------------------------------- column blocks
//
// A column block spans the same display columns on every line; on each
// line they are mapped to characters by tab expansion. Copying, deleting
// and painting use this one mapping, so what is copied is what is deleted.

int TCustomSrcEdit::ColumnToCharIndex(std::string_view text, int column) const {
  bool insideTab = false;
  int index = CaretPos2CharIndex(column, FTabWidth, text, insideTab);
  return IsTrailByte(text, index) ? index + 1 : index;
}

int TCustomSrcEdit::CharIndexToColumn(std::string_view text, int index) const {
  return CharIndex2CaretPos(index, FTabWidth, text);
}

void TCustomSrcEdit::ColumnBlockColumns(int& left, int& right) const {
  left = LogicalToPhysicalPos({FBlockBegin.Char, FBlockBegin.Line}).X;
  right = LogicalToPhysicalPos({FBlockEnd.Char, FBlockEnd.Line}).X;
  if (left > right) std::swap(left, right);
}

std::pair<int, int> TCustomSrcEdit::ColumnRangeOnLine(std::string_view text, int left, int right) const {
  return {ColumnToCharIndex(text, left), ColumnToCharIndex(text, right)};
}

// ---------------------------------------------------------------- selected text

std::string TCustomSrcEdit::SelText() const { return SelectedText(false); }

std::string TCustomSrcEdit::SelectedText(bool storedBreaks) const {
  if (!SelAvail()) return {};
  // The break in front of a line (1-based).
  auto breakBefore = [&](int line) {
    return storedBreaks ? TSrcEditStringList::BreakText(FLines->BreakBefore(line - 1)) : std::string_view("\r\n");
  };
  const TBufferCoord b = BlockBegin();
  const TBufferCoord e = BlockEnd();
  std::string result;
  switch (FActiveSelectionMode) {
    case smNormal: {
      const std::string_view first = FLines->GetView(b.Line - 1);
      if (b.Line == e.Line) {
        if (b.Char <= static_cast<int>(first.size())) result = first.substr(b.Char - 1, e.Char - b.Char);
        break;
      }
      // The whole text is taken at once, a file's worth without regrowing.
      if (b.Line == 1 && e.Line == FLines->Count()) result.reserve(FLines->TextLength());
      if (b.Char <= static_cast<int>(first.size())) result.append(first.substr(b.Char - 1));
      FLines->AppendLines(result, b.Line, e.Line - 2, storedBreaks);
      result.append(breakBefore(e.Line)).append(FLines->GetView(e.Line - 1).substr(0, static_cast<size_t>(e.Char - 1)));
      break;
    }
    case smLine:
      for (int line = b.Line; line <= e.Line; ++line) {
        result += FLines->GetView(line - 1);
        if (line < FLines->Count()) result += breakBefore(line + 1);
      }
      break;
    case smColumn: {
      int left = 0;
      int right = 0;
      ColumnBlockColumns(left, right);
      const bool pad = !FOptions.Contains(eoTrimTrailingSpaces);
      for (int line = b.Line; line <= e.Line; ++line) {
        const std::string text = FLines->Get(line - 1);
        const int length = static_cast<int>(text.size());
        auto [first, last] = ColumnRangeOnLine(text, left, right);
        if (first <= length) result.append(text, first - 1, std::min(last, length + 1) - first);
        // A line that ends inside the block is filled up to its right edge.
        const int lineEnd = FLines->GetExpandedStringLength(line - 1) + 1;
        if (pad && lineEnd < right) result.append(right - std::max(left, lineEnd), ' ');
        if (line < e.Line) result += "\r\n";
      }
      break;
    }
  }
  return result;
}

// ---------------------------------------------------------------- flat indexes

int TCustomSrcEdit::RowColToCharIndex(const TBufferCoord& p) const {
  const int lines = std::min(FLines->Count(), p.Line);
  long long index = 0;
  for (int line = 1; line < lines; ++line) index += static_cast<long long>(FLines->GetView(line - 1).size()) + 2;
  return ClampToInt(index + p.Char - 1);
}

TBufferCoord TCustomSrcEdit::CharIndexToRowCol(int index) const {
  long long start = 0;
  for (int line = 1; line <= FLines->Count(); ++line) {
    long long next = start + static_cast<long long>(FLines->Get(line - 1).size()) + 2;
    if (next > index) return {static_cast<int>(index - start + 1), line};
    start = next;
  }
  return {1, FLines->Count() + 1};
}

int TCustomSrcEdit::SelStart() const { return RowColToCharIndex(SelAvail() ? BlockBegin() : CaretXY()); }

int TCustomSrcEdit::SelEnd() const { return RowColToCharIndex(SelAvail() ? BlockEnd() : CaretXY()); }

void TCustomSrcEdit::SetSelStart(int value) {
  HandleNeeded();
  InternalSetCaretXY(CharIndexToRowCol(value));
  SetBlockBegin(CaretXY());
}

void TCustomSrcEdit::SetSelEnd(int value) {
  HandleNeeded();
  SetBlockEnd(CharIndexToRowCol(value));
}

long long TCustomSrcEdit::SelLengthUpTo(long long limit) const {
  if (!SelAvail()) return 0;
  // The difference of the two flat indexes, from the selected lines alone.
  const TBufferCoord begin = BlockBegin();
  const TBufferCoord end = BlockEnd();
  const int count = FLines->Count();
  auto lineStart = [&](const TBufferCoord& p) { return std::min(count, p.Line); };
  long long length = end.Char - begin.Char;
  for (int line = lineStart(begin); line < lineStart(end) && length <= limit; ++line)
    length += static_cast<long long>(FLines->GetView(line - 1).size()) + 2;
  return length;
}

int TCustomSrcEdit::SelLength() const { return ClampToInt(SelLengthUpTo(LLONG_MAX)); }

// Every selected line adds to the length: all of a large selection need
// not be counted to know that it is not empty.
bool TCustomSrcEdit::HasSelectedText() const { return SelLengthUpTo(0) > 0; }

void TCustomSrcEdit::SetSelLength(int value) {
  const TBufferCoord begin = BlockBegin();
  const long long index = static_cast<long long>(RowColToCharIndex(begin)) + value;
  if (value < 0 && index >= 0) {
    TBufferCoord p = CharIndexToRowCol(static_cast<int>(index));
    SetCaretAndSelection(p, p, begin);
    return;
  }
  // Before the text or beyond the index range: to the end of the text.
  TBufferCoord p = index < 0 || index > INT_MAX ? EndOfText() : CharIndexToRowCol(static_cast<int>(index));
  SetCaretAndSelection(p, begin, p);
}

// ---------------------------------------------------------------- coordinates

TDisplayCoord TCustomSrcEdit::PixelsToRowColumn(int x, int y) const {
  return {std::max(1, ClampToInt(static_cast<long long>(x - FGutterWidth - 2) / FCellWidth + FLeftChar)),
          std::max(1, ClampToInt(static_cast<long long>(y) / FRowHeight + FTopLine))};
}

TDisplayCoord TCustomSrcEdit::PixelsToNearestRowColumn(int x, int y) const {
  const int height = FRowsInWindow * FRowHeight;
  if (y >= height) y = std::max(height - 1, 0);
  // Ties go to the even cell boundary: the right half of a cell selects
  // the position after it.
  const double cells = std::nearbyint(static_cast<double>(x - FGutterWidth - 2) / FCellWidth);
  return {std::max(1, ClampToInt(FLeftChar + static_cast<long long>(cells))),
          std::max(1, ClampToInt(static_cast<long long>(y) / FRowHeight + FTopLine))};
}

TPoint TCustomSrcEdit::RowColumnToPixels(const TDisplayCoord& rowCol) const {
  return {ClampToInt(static_cast<long long>(rowCol.Column - 1) * FCellWidth + FTextOrigin),
          ClampToInt(static_cast<long long>(rowCol.Row - FTopLine) * FRowHeight)};
}

TPoint TCustomSrcEdit::RowColumnToPixelsHk(const TDisplayCoord& rowCol) const {
  TPoint p = RowColumnToPixels(rowCol);
  return {p.X, p.Y + 1};
}

TPoint TCustomSrcEdit::LogicalToPhysicalPos(const TPoint& p) const {
  if (p.Y < 1 || p.Y > FLines->Count()) return p;
  return {CharIndexToColumn(FLines->GetView(p.Y - 1), p.X), p.Y};
}

TDisplayCoord TCustomSrcEdit::BufferToDisplayPos(const TBufferCoord& p) const {
  TPoint physical = LogicalToPhysicalPos({p.Char, p.Line});
  if (WordWrap()) return FWordWrapPlugin->BufferToDisplayPos({physical.X, physical.Y});
  return {physical.X, physical.Y};
}

TBufferCoord TCustomSrcEdit::DisplayToBufferPos(const TDisplayCoord& p) const {
  TBufferCoord result = WordWrap() ? FWordWrapPlugin->DisplayToBufferPos(p) : TBufferCoord{p.Column, p.Row};
  if (result.Line >= 1 && result.Line <= FLines->Count())
    result.Char = ColumnToCharIndex(FLines->GetView(result.Line - 1), result.Char);
  return result;
}

int TCustomSrcEdit::LineToRow(int line) const {
  return WordWrap() ? BufferToDisplayPos({1, line}).Row : line;
}

int TCustomSrcEdit::RowToLine(int row) const {
  return WordWrap() ? DisplayToBufferPos({1, row}).Line : row;
}

int TCustomSrcEdit::RowLength(int row) const {
  if (row >= 1 && row <= FWordWrapPlugin->RowCount()) return FWordWrapPlugin->GetRowLength(row);
  // Past the wrapped rows (a window narrower than one column wraps none)
  // each row shows a whole line.
  const int line = FWordWrapPlugin->DisplayToBufferPos({1, std::max(row, 1)}).Line;
  return line >= 1 && line <= FLines->Count() ? FLines->GetExpandedStringLength(line - 1) : 0;
}

int TCustomSrcEdit::GetDisplayLineCount() const {
  if (!WordWrap()) return FLines->Count();
  return FLines->Count() == 0 ? 0 : FWordWrapPlugin->RowCount();
}

// ---------------------------------------------------------------- words

void TCustomSrcEdit::PrepareIdentChars(TSrcIdentChars& identChars, TSrcIdentChars& whiteChars) const {
  const TSrcIdentChars source = FHighlighter ? FHighlighter->GetIdentChars() : DefaultIdentChars();
  const TSrcIdentChars& breaks = FHighlighter ? FHighlighter->WordBreakChars() : DefaultWordBreakChars;
  identChars = {};
  whiteChars = {};
  for (int c = 1; c < 256; ++c) {
    auto byte = static_cast<unsigned char>(c);
    if (source.Contains(byte) && !breaks.Contains(byte))
      identChars.Include(byte);
    else
      whiteChars.Include(byte);
  }
}

TBufferCoord TCustomSrcEdit::NextWordPosEx(const TBufferCoord& xy) {
  if (xy.Line < 1 || xy.Line > FLines->Count()) return xy;
  TSrcIdentChars ident;
  TSrcIdentChars white;
  PrepareIdentChars(ident, white);
  const std::string line = FLines->Get(xy.Line - 1);
  const int length = static_cast<int>(line.size());
  int c = xy.Char;
  if (c < length) {
    const int multiByte = StrScanForMultiByteChar(line, c + 1);
    // Out of the word the caret is in, then to the start of the next one;
    // a double-byte character counts as the start of a word.
    if (c >= 1 && InSet(ident, line[c - 1]) && IsSingleByte(line, c)) c = StrScanForCharInSet(line, c, white);
    if (c > 0) c = StrScanForCharInSet(line, c, ident);
    if (multiByte > 0 && (c == 0 || multiByte < c)) c = multiByte;
    return {c == 0 ? length + 1 : c, xy.Line};
  }
  if (xy.Line >= FLines->Count()) return xy;
  const std::string next = FLines->Get(xy.Line);
  c = StrScanForCharInSet(next, 1, ident);
  const int multiByte = StrScanForMultiByteChar(next, 1);
  if (multiByte > 0 && (c == 0 || multiByte < c)) c = multiByte;
  return {c == 0 ? 1 : c, xy.Line + 1};
}

TBufferCoord TCustomSrcEdit::WordStartEx(const TBufferCoord& xy) {
  if (xy.Line < 1 || xy.Line > FLines->Count()) return xy;
  TSrcIdentChars ident;
  TSrcIdentChars white;
  PrepareIdentChars(ident, white);
  const std::string line = FLines->Get(xy.Line - 1);
  int c = std::min(xy.Char, static_cast<int>(line.size()) + 1);
  if (c > 1 && InSet(ident, line[c - 2])) c = StrRScanForCharInSet(line, c - 1, white) + 1;
  return {c, xy.Line};
}

TBufferCoord TCustomSrcEdit::WordEndEx(const TBufferCoord& xy) {
  if (xy.Line < 1 || xy.Line > FLines->Count()) return xy;
  TSrcIdentChars ident;
  TSrcIdentChars white;
  PrepareIdentChars(ident, white);
  const std::string line = FLines->Get(xy.Line - 1);
  int c = StrScanForCharInSet(line, xy.Char, white);
  return {c == 0 ? static_cast<int>(line.size()) + 1 : c, xy.Line};
}

TBufferCoord TCustomSrcEdit::PrevWordPosEx(const TBufferCoord& xy) {
  if (xy.Line < 1 || xy.Line > FLines->Count()) return xy;
  TSrcIdentChars ident;
  TSrcIdentChars white;
  PrepareIdentChars(ident, white);
  const std::string line = FLines->Get(xy.Line - 1);
  auto endOfPreviousLine = [&] {
    return TBufferCoord{static_cast<int>(FLines->Get(xy.Line - 2).size()) + 1, xy.Line - 1};
  };
  int c = std::min(xy.Char, static_cast<int>(line.size()) + 1);
  if (c <= 1) return xy.Line > 1 ? endOfPreviousLine() : TBufferCoord{c, xy.Line};
  const int multiByte = StrRScanForMultiByteChar(line, c - 1);
  // Back over white space to the previous word, then to that word's start;
  // a double-byte character on the way stops the step.
  if (InSet(white, line[c - 2]) && IsSingleByte(line, c - 1)) c = StrRScanForCharInSet(line, c - 1, ident);
  if (c > 0) c = StrRScanForCharInSet(line, c - 1, white) + 1;
  if (multiByte > 0 && (c == 0 || c < multiByte)) c = multiByte;
  if (c == 0) return xy.Line > 1 ? endOfPreviousLine() : TBufferCoord{1, xy.Line};
  return {c, xy.Line};
}

std::string TCustomSrcEdit::GetWordAtRowCol(const TBufferCoord& xy) const {
  if (xy.Line < 1 || xy.Line > FLines->Count()) return {};
  const std::string line = FLines->Get(xy.Line - 1);
  const int length = static_cast<int>(line.size());
  if (xy.Char < 1 || xy.Char > length) return {};
  const TSrcIdentChars ident = FHighlighter ? FHighlighter->GetIdentChars() : DefaultIdentChars();
  if (!InSet(ident, line[xy.Char - 1])) return {};
  int first = xy.Char;
  int last = xy.Char;
  while (last < length && InSet(ident, line[last])) ++last;
  while (first > 1 && InSet(ident, line[first - 2])) --first;
  return line.substr(first - 1, last - first + 1);
}

void TCustomSrcEdit::SetWordBlock(TBufferCoord value) {
  value.Char = std::max(value.Char, 1);
  value.Line = std::max(1, std::min(value.Line, FLines->Count()));
  // The NUL after the text ends the last word.
  const std::string text = FLines->Get(value.Line - 1) + '\0';
  const int length = static_cast<int>(text.size());
  if (FOptions.Contains(eoScrollPastEol) && !WordWrap()) value.Char = std::min(value.Char, LastColumnPastEol(length));
  if (value.Char > length) {
    SetCaretXY({length, value.Line});
    return;
  }
  TSrcIdentChars ident;
  TSrcIdentChars white;
  PrepareIdentChars(ident, white);
  // Characters are classified whole: both bytes of a double-byte
  // character get the character's flags.
  std::vector<uint16_t> flags(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t bytes = CodePage::CharLength(text.data(), text.size(), i);
    std::fill_n(flags.begin() + static_cast<std::ptrdiff_t>(i), bytes, CodePage::CharType3(text.data(), text.size(), i));
    i += bytes;
  }
  uint16_t reference = flags[value.Char - 1];
  if ((reference & C3_SYMBOL) && value.Char > 1) reference = flags[value.Char - 2];
  auto endsWord = [&](int column) {
    uint16_t f = flags[column - 1];
    switch (IsStringType(f)) {
      case stHalfNumAlpha:
      case stHalfSymbol: return !InSet(ident, text[column - 1]);
      case stWideSymbol:
      case stControl: return true;
      default: return f != reference;
    }
  };
  int end = value.Char;
  while (end < length && !endsWord(end)) ++end;
  int begin = value.Char;
  while (begin > 1 && !endsWord(begin - 1)) --begin;
  TSrcPaintLock lock(*this);
  InternalSetCaretXY({end, value.Line});
  SetBlockBegin({begin, value.Line});
  SetBlockEnd({end, value.Line});
  // A word is running text in any selection mode: typing over it must not
  // take the whole line.
  SetActiveSelectionMode(smNormal);
  InvalidateLine(value.Line);
  StatusChanged({scSelection});
}

void TCustomSrcEdit::DblClick() {
  TPoint pointer;
  GetCursorPos(pointer);
  pointer = ScreenToClient(pointer);
  if (pointer.X < FGutterWidth + 2) {
    TCustomControl::DblClick();
    return;
  }
  // The mouse-down before has put the caret on the clicked character.
  if (!FOptions.Contains(eoNoSelection)) SetWordBlock(CaretXY());
  TCustomControl::DblClick();
  FStateFlags.Include(sfDblClicked);
  SetMouseCapture(false);
}

// ---------------------------------------------------------------- horizontal view

void TCustomSrcEdit::SetTextOrigin() {
  FTextOrigin = ClampToInt(FGutterWidth - static_cast<long long>(FLeftChar - 1) * FCellWidth + 2);
}

void TCustomSrcEdit::SetLeftChar(int value) {
  if (WordWrap()) value = 1;
  const long long maximum = FOptions.Contains(eoScrollPastEol) && FOptions.Contains(eoAutoSizeMaxScrollWidth)
                                ? static_cast<long long>(INT_MAX) - FColumnsInWindow
                                : static_cast<long long>(HorzScrollRange()) - FColumnsInWindow + 1;
  value = ClampToInt(std::clamp<long long>(value, 1, std::max<long long>(maximum, 1)));
  if (value == FLeftChar) return;
  const long long shift = static_cast<long long>(FLeftChar) - value;
  FLeftChar = value;
  SetTextOrigin();
  TRect textArea = ClientRect();
  textArea.Left = FGutterWidth + 2;
  if (std::llabs(shift) < FColumnsInWindow) {
    ScrollWindow(static_cast<int>(shift * FCellWidth), 0, &textArea, &textArea);
    // A glyph may reach into the next cell (italics). The column right of
    // the seam between moved and repainted pixels has a new left neighbour
    // (the left edge, or the first column the scroll uncovered), whose part
    // in it only a paint of that column shows.
    const int seam = textArea.Left + static_cast<int>(std::max(shift, 0LL) * FCellWidth);
    InvalidateArea(Rect(seam, textArea.Top, seam + FCellWidth, textArea.Bottom));
  } else
    InvalidateArea(textArea);
  if (FOptions.Contains(eoScrollPastEol) && FOptions.Contains(eoAutoSizeMaxScrollWidth) &&
      static_cast<long long>(FLeftChar) + FColumnsInWindow > FMaxScrollWidth)
    SetMaxScrollWidth(ClampToInt(static_cast<long long>(FLeftChar) + FColumnsInWindow));
  else
    UpdateScrollBars();
  StatusChanged({scLeftChar});
}

// ---------------------------------------------------------------- drag scrolling

void TCustomSrcEdit::ComputeScroll(int x, int y) {
  if (!MouseCapture()) {
    FScrollTimer->SetEnabled(false);
    return;
  }
  TRect area = Bounds(FGutterWidth, 0, FColumnsInWindow * FCellWidth, FRowsInWindow * FRowHeight);
  if (FBorderStyle == bsNone) InflateRect(area, -2, -2);
  auto delta = [](int at, int low, int high, int cell) {
    if (at < low) return (at - low) / cell - 1;
    if (at >= high) return (at - high) / cell + 1;
    return 0;
  };
  FScrollDeltaX = delta(x, area.Left, area.Right, FCellWidth);
  FScrollDeltaY = delta(y, area.Top, area.Bottom, FRowHeight);
  FScrollTimer->SetEnabled(FScrollDeltaX != 0 || FScrollDeltaY != 0);
}

}  // namespace vk
