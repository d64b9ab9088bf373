#pragma once
// Word wrap: the mapping between buffer lines and display rows. Each line is
// cut into rows no wider than the text area, preferably after a break
// character; the editor asks the plugin for every conversion between buffer
// and display positions while word wrap is on, and tells it about every
// change of its lines.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
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
  int RowCount() override { return FLineRowEnds.empty() ? 0 : FLineRowEnds.back(); }
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
  int LineCount() const { return static_cast<int>(FLineRowEnds.size()); }

private:
  int EffectiveWrapWidth() const;
  // The row before the line's first one (0-based line).
  int RowsBefore(int line) const { return line > 0 ? FLineRowEnds[line - 1] : 0; }
  void WrapLines();
  // Replaces the rows of oldCount lines at index by the rows of the newCount
  // lines now there, moving the rest of both arrays once.
  int Remap(int index, int oldCount, int newCount);
  // Appends the rows of the line (0-based).
  void WrapLineAt(int index, std::vector<uint16_t>& rows);
  void WrapText(std::string_view text, std::vector<uint16_t>& rows) const;
  // Where a row from start ends, given where the wrap rules would end it.
  size_t LimitRowEnd(std::string_view text, size_t start, size_t end) const;

  std::unique_ptr<ISrcWordWrapHost> FOwnHost;
  ISrcWordWrapHost& FHost;
  // Per line: the number of rows up to and including it.
  std::vector<int32_t> FLineRowEnds;
  // Per row: the characters of its line it shows (0 for an empty line).
  std::vector<uint16_t> FRowLengths;
  int FWrapWidth = 0;
  // The shortest row that ending at a break character may leave.
  int FMinRowLength = 1;
  TSrcIdentChars FBreakChars;
  // Reused by the line events so that editing allocates nothing.
  std::vector<uint16_t> FNewRows;
  std::vector<int32_t> FNewRowEnds;
};

}  // namespace vk
