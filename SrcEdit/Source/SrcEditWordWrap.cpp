#include "SrcEdit/Source/SrcEditWordWrap.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {
namespace {

// The editor seen through its public accessors.
class TSrcEditWrapHost final : public ISrcWordWrapHost {
public:
  explicit TSrcEditWrapHost(TCustomSrcEdit& editor) : FEditor(editor) {}
  TSrcEditStringList& Lines() const override { return FEditor.Lines(); }
  int ColumnsInWindow() const override { return FEditor.ColumnsInWindow(); }
  TSrcIdentChars IdentChars() const override { return FEditor.IdentChars(); }

private:
  TCustomSrcEdit& FEditor;
};

std::unique_ptr<ISrcWordWrapHost> MakeEditorHost(TCustomSrcEdit* editor) {
  if (!editor) throw Exception("TSrcWordWrapPlugin must be owned by TCustomSrcEdit");
  return std::make_unique<TSrcEditWrapHost>(*editor);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

// ---------------------------------------------------------------- TSrcLineRowEnds

int TSrcLineRowEnds::LineOfRow(int row) const {
  int first = 0;
  int count = Count();
  while (count > 0) {
    const int half = count / 2;
    if ((*this)[first + half] < row) {
      first += half + 1;
      count -= half + 1;
    } else {
      count = half;
    }
  }
  return first;
}

void TSrcLineRowEnds::MoveGap(size_t index) {
  // Rows up to a line's end and rows after it add up to the total, both ways.
  FEnds.MoveGap(index, [total = FTotal](int32_t rows) { return total - rows; });
}

void TSrcLineRowEnds::Replace(int index, int oldCount, std::span<const int32_t> ends, int delta) {
  MoveGap(static_cast<size_t>(index));
  FEnds.Delete(static_cast<size_t>(index), static_cast<size_t>(oldCount));
  FEnds.InsertRun(static_cast<size_t>(index), ends);
  FTotal += delta;
}

void TSrcLineRowEnds::Add(int32_t end) {
  MoveGap(FEnds.Count());
  FEnds.Add(end);
  FTotal = end;
}

void TSrcLineRowEnds::Clear() {
  FEnds.Clear();
  FTotal = 0;
}

// ---------------------------------------------------------------- TSrcWordWrapPlugin

TSrcWordWrapPlugin::TSrcWordWrapPlugin(TCustomSrcEdit* editor)
    : FOwnHost(MakeEditorHost(editor)), FHost(*FOwnHost) {
  Reset();
}

TSrcWordWrapPlugin::TSrcWordWrapPlugin(ISrcWordWrapHost& host) : FHost(host) { Reset(); }

TSrcWordWrapPlugin::~TSrcWordWrapPlugin() = default;

int TSrcWordWrapPlugin::EffectiveWrapWidth() const {
  const int columns = FHost.ColumnsInWindow();
  if (columns < 0) throw ESrcEditAssertion();
  return std::min(columns, MaxRowLength);
}

void TSrcWordWrapPlugin::Reset() {
  FWrapWidth = EffectiveWrapWidth();
  FMinRowLength = std::max(FWrapWidth - FWrapWidth / 3, 1);
  const TSrcIdentChars ident = FHost.IdentChars();
  FBreakChars = TSrcIdentChars();
  for (unsigned c = 0; c < 256; ++c)
    if (!ident.Contains(static_cast<unsigned char>(c))) FBreakChars.Include(static_cast<unsigned char>(c));
  WrapLines();
}

void TSrcWordWrapPlugin::DisplayChanged() {
  if (EffectiveWrapWidth() != FWrapWidth) Reset();
}

void TSrcWordWrapPlugin::WrapLines() {
  FLineRowEnds.Clear();
  FRowLengths.Clear();
  const int count = FHost.Lines().Count();
  // The empty state: a text area narrower than one cell shows nothing.
  if (count == 0 || FWrapWidth == 0) return;
  FLineRowEnds.Reserve(count);
  FRowLengths.Reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    FNewRows.clear();
    WrapLineAt(i, FNewRows);
    FRowLengths.InsertRun(FRowLengths.Count(), FNewRows);
    FLineRowEnds.Add(static_cast<int32_t>(FRowLengths.Count()));
  }
}

void TSrcWordWrapPlugin::WrapLineAt(int index, std::vector<uint16_t>& rows) {
  TSrcEditStringList& lines = FHost.Lines();
  // Most lines fit: their cached length is enough, no text is built.
  const int length = lines.GetExpandedStringLength(index);
  if (length <= FWrapWidth) {
    rows.push_back(static_cast<uint16_t>(length));
    return;
  }
  WrapText(lines.GetExpandedString(index), rows);
}

void TSrcWordWrapPlugin::WrapText(std::string_view text, std::vector<uint16_t>& rows) const {
  const size_t width = static_cast<size_t>(FWrapWidth);
  const size_t minRow = static_cast<size_t>(FMinRowLength);
  size_t start = 0;
  while (start + width < text.size()) {
    size_t end = start + width;
    if (IsBlank(text[end])) {
      // Blanks at the edge stay on this row, however many: the next row
      // starts with the next word.
      while (end < text.size() && IsBlank(text[end])) ++end;
    } else {
      // End after the last break character, unless that leaves a row too
      // short; then the word is cut at the edge.
      for (size_t p = start + width - 1; p > start + minRow; --p) {
        if (FBreakChars.Contains(static_cast<unsigned char>(text[p]))) {
          end = p + 1;
          break;
        }
      }
    }
    end = LimitRowEnd(text, start, end);
    rows.push_back(static_cast<uint16_t>(end - start));
    start = end;
  }
  if (start < text.size() || text.empty()) rows.push_back(static_cast<uint16_t>(text.size() - start));
}

size_t TSrcWordWrapPlugin::LimitRowEnd(std::string_view text, size_t start, size_t end) const {
  if (end - start > static_cast<size_t>(MaxRowLength)) {
    // A run of blanks longer than a row can hold: cut it, at a tab stop
    // when the cut falls inside a TAB's cells.
    const int tabWidth = std::max(FHost.Lines().TabWidth(), 1);
    const size_t lowest = start + MaxRowLength - MaxRowLength % tabWidth;
    end = start + MaxRowLength;
    while (end > lowest && text[end] == '\t') --end;
  }
  // A double-byte character is never split: it goes to the next row, or,
  // when it is the row's first character (a width of one cell), it takes
  // the row alone.
  for (size_t p = start; p < end;) {
    const size_t next = p + CodePage::CharLength(text.data(), text.size(), p);
    if (next > end) return p > start ? p : next;
    p = next;
  }
  return end;
}

int TSrcWordWrapPlugin::Remap(int index, int oldCount, int newCount) {
  const int firstRow = RowsBefore(index);
  const int oldRows = RowsBefore(index + oldCount) - firstRow;
  FNewRows.clear();
  FNewRowEnds.clear();
  for (int i = index; i < index + newCount; ++i) {
    WrapLineAt(i, FNewRows);
    FNewRowEnds.push_back(firstRow + static_cast<int32_t>(FNewRows.size()));
  }
  const int delta = static_cast<int>(FNewRows.size()) - oldRows;
  FRowLengths.Delete(static_cast<size_t>(firstRow), static_cast<size_t>(oldRows));
  FRowLengths.InsertRun(static_cast<size_t>(firstRow), FNewRows);
  FLineRowEnds.Replace(index, oldCount, FNewRowEnds, delta);
  return delta;
}

int TSrcWordWrapPlugin::LinesInserted(int index, int count) {
  if (FWrapWidth == 0) return 0;
  if (index < 0 || count <= 0 || index > LineCount()) throw ESrcEditAssertion();
  return Remap(index, 0, count);
}

int TSrcWordWrapPlugin::LinesDeleted(int index, int count) {
  if (FWrapWidth == 0) return 0;
  if (index < 0 || count <= 0 || count > LineCount() - index) throw ESrcEditAssertion();
  return -Remap(index, count, 0);
}

int TSrcWordWrapPlugin::LinesPutted(int index, int count) {
  if (FWrapWidth == 0) return 0;
  if (index < 0 || count <= 0 || count > LineCount() - index) throw ESrcEditAssertion();
  return Remap(index, count, count);
}

TDisplayCoord TSrcWordWrapPlugin::BufferToDisplayPos(const TBufferCoord& pos) {
  if (pos.Char < 1 || pos.Line < 1) throw ESrcEditAssertion();
  if (pos.Line > LineCount()) {
    const long long row = static_cast<long long>(RowCount()) + pos.Line - LineCount();
    return {pos.Char, static_cast<int>(std::min<long long>(row, INT32_MAX))};
  }
  const int firstRow = RowsBefore(pos.Line - 1);
  const int lastRow = FLineRowEnds[pos.Line - 1] - 1;
  int before = 0;
  for (int row = firstRow; row < lastRow; ++row) {
    if (before + FRowLengths[row] >= pos.Char) return {pos.Char - before, row + 1};
    before += FRowLengths[row];
  }
  // The last row also holds every column beyond the text.
  return {pos.Char - before, lastRow + 1};
}

TBufferCoord TSrcWordWrapPlugin::DisplayToBufferPos(const TDisplayCoord& pos) {
  if (pos.Column < 1 || pos.Row < 1) throw ESrcEditAssertion();
  if (pos.Row > RowCount()) return {pos.Column, pos.Row - RowCount() + LineCount()};
  const int line = FLineRowEnds.LineOfRow(pos.Row);
  const int row = pos.Row - 1;
  int before = 0;
  for (int r = RowsBefore(line); r < row; ++r) before += FRowLengths[r];
  const bool lastRow = pos.Row == FLineRowEnds[line];
  const int rowLength = FRowLengths[row];
  const int limit = lastRow ? std::max(rowLength, FWrapWidth) : rowLength;
  return {before + std::min(pos.Column, limit + 1), line + 1};
}

int TSrcWordWrapPlugin::GetRowLength(int row) {
  if (row < 1 || row > RowCount()) throw EListError(Format("List index out of bounds (%d)", row));
  return FRowLengths[row - 1];
}

}  // namespace vk
