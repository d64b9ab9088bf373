#pragma once
// Word wrap: the mapping between buffer lines and display rows. Each line is
// cut into rows no wider than the text area, preferably after a break
// character; the editor asks the plugin for every conversion between buffer
// and display positions while word wrap is on, and tells it about every
// change of its lines.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditGapArray.h"
#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "SrcEdit/Source/SrcEditTypes.h"

namespace vk {

// What the plugin reads of the editor it wraps for. The plugin built for a
// TCustomSrcEdit reads it through the editor's public accessors.
class ISrcWordWrapHost {
public:
  virtual ~ISrcWordWrapHost() = default;
  // The lines shown; their tab expansion (and its tab width) is the store's.
  virtual TSrcEditStringList& Lines() const = 0;
  // The wrap width: whole character cells of the text area.
  virtual int ColumnsInWindow() const = 0;
  // A row may end after any character that is not one of these.
  virtual TSrcIdentChars IdentChars() const = 0;
};

// Per line (0-based), the number of rows up to and including it. Lines are
// inserted and deleted at the gap of the array, which follows the edits.
// Behind the gap an entry holds the rows after its line instead: a change
// at the gap alters only the total and leaves all of those true, where
// cumulative ends would all have to shift.
class TSrcLineRowEnds {
public:
  int Count() const { return static_cast<int>(FEnds.Count()); }
  int Total() const { return FTotal; }
  int operator[](int line) const {
    const size_t index = static_cast<size_t>(line);
    return index < FEnds.GapIndex() ? FEnds[index] : FTotal - FEnds[index];
  }
  // The first line whose rows reach row; Count() when none does.
  int LineOfRow(int row) const;
  // Puts lines ending at the given rows in place of oldCount lines at
  // index; the rows of the text change by delta.
  void Replace(int index, int oldCount, std::span<const int32_t> ends, int delta);
  void Add(int32_t end);
  void Reserve(int count) { FEnds.Reserve(static_cast<size_t>(count)); }
  void Clear();

private:
  // Turns the entries the gap passes over from one form into the other.
  void MoveGap(size_t index);

  TSrcGapArray<int32_t> FEnds;
  int FTotal = 0;
};

// Rows are kept per line as cumulative row ends and one length per row. The
// wrap width is a full integer: a text area of any width wraps at its edge
// (rows are limited to MaxRowLength characters, wider than any window).
class TSrcWordWrapPlugin : public ISrcEditBufferPlugin {
public:
  static constexpr int MaxRowLength = UINT16_MAX;

  // The editor must exist: nullptr raises Exception "TSrcWordWrapPlugin must
  // be owned by TCustomSrcEdit". Both wrap all lines at once.
  explicit TSrcWordWrapPlugin(TCustomSrcEdit* editor);
  // The host must outlive the plugin.
  explicit TSrcWordWrapPlugin(ISrcWordWrapHost& host);
  ~TSrcWordWrapPlugin() override;

  // Buffer positions take the character as a display column of the line
  // (tab-expanded). Lines beyond the mapped ones, and rows beyond the last,
  // map one to one after the end.
  TDisplayCoord BufferToDisplayPos(const TBufferCoord& pos) override;
  // The column is limited to the row's end, on a line's last row to the
  // wrap width.
  TBufferCoord DisplayToBufferPos(const TDisplayCoord& pos) override;
  int RowCount() override { return FLineRowEnds.Total(); }
  // Raises EListError "List index out of bounds (%d)" outside 1..RowCount.
  int GetRowLength(int row) override;
  // Line events of the store (0-based index): each rewraps only the lines
  // named and answers the change of the row count (LinesDeleted: the rows
  // removed). Nothing happens, and 0 is answered, while the wrap width is 0.
  int LinesInserted(int index, int count) override;
  int LinesDeleted(int index, int count) override;
  int LinesPutted(int index, int count) override;
  // Rewraps everything when the text area's width has changed.
  void DisplayChanged() override;
  // Takes the width and break characters afresh and rewraps every line.
  void Reset() override;

  int WrapWidth() const { return FWrapWidth; }
  int LineCount() const { return FLineRowEnds.Count(); }

private:
  int EffectiveWrapWidth() const;
  // The row before the line's first one (0-based line).
  int RowsBefore(int line) const { return line > 0 ? FLineRowEnds[line - 1] : 0; }
  void WrapLines();
  // Replaces the rows of oldCount lines at index by the rows of the newCount
  // lines now there.
  int Remap(int index, int oldCount, int newCount);
  // Appends the rows of the line (0-based).
  void WrapLineAt(int index, std::vector<uint16_t>& rows);
  void WrapText(std::string_view text, std::vector<uint16_t>& rows) const;
  // Where a row from start ends, given where the wrap rules would end it.
  size_t LimitRowEnd(std::string_view text, size_t start, size_t end) const;

  std::unique_ptr<ISrcWordWrapHost> FOwnHost;
  ISrcWordWrapHost& FHost;
  TSrcLineRowEnds FLineRowEnds;
  // Per row: the characters of its line it shows (0 for an empty line).
  TSrcGapArray<uint16_t> FRowLengths;
  int FWrapWidth = 0;
  // The shortest row that ending at a break character may leave.
  int FMinRowLength = 1;
  TSrcIdentChars FBreakChars;
  // Reused by the line events so that editing allocates nothing.
  std::vector<uint16_t> FNewRows;
  std::vector<int32_t> FNewRowEnds;
};

}  // namespace vk
