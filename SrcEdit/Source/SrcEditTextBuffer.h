#pragma once
// The editor's line store: one record per line with its text, object slot,
// highlighter range, cached tab expansion and the line break in front of
// it; reads a text file in one piece and writes it back with each line
// break as it was read.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SrcEdit/Source/SrcEditGapArray.h"
#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/DelegateList.h"
#include "platform/Events.h"
#include "platform/StringLists.h"
#include "platform/Streams.h"

namespace vk {

class ESrcEditStringList : public Exception {
  using Exception::Exception;
};

enum TSrcEditFileFormat : uint8_t { sffDos, sffUnix, sffMac };

enum TSrcEditStringFlag : uint8_t { sfHasTabs, sfHasNoTabs, sfExpandedLengthUnknown };
using TSrcEditStringFlags = TSet<TSrcEditStringFlag>;

// A line's text in one allocation of its exact size: half the size of a
// std::string in the record, which counts with a million lines.
class TSrcLineText {
public:
  TSrcLineText() = default;
  explicit TSrcLineText(std::string_view text) { Assign(text); }
  TSrcLineText(const TSrcLineText& other) : TSrcLineText(other.View()) {}
  TSrcLineText(TSrcLineText&& other) noexcept
      : FData(std::exchange(other.FData, nullptr)), FSize(std::exchange(other.FSize, 0)) {}
  TSrcLineText& operator=(TSrcLineText other) noexcept {
    std::swap(FData, other.FData);
    std::swap(FSize, other.FSize);
    return *this;
  }
  ~TSrcLineText() { delete[] FData; }

  void Assign(std::string_view text);
  std::string_view View() const { return FSize ? std::string_view(FData, FSize) : std::string_view(); }
  std::string Str() const { return std::string(View()); }
  size_t Size() const { return FSize; }

private:
  char* FData = nullptr;
  uint32_t FSize = 0;
};

struct TSrcEditStringRec {
  // Its tail padding holds the break, the flags and the stamp's high part:
  // a record stays 40 bytes.
  [[no_unique_address]] TSrcLineText FString;
  // The break that ends the line above (none for the first line): a line
  // deleted takes the break in front of it along, as joining it to the
  // line above does.
  TSrcEditFileFormat FBreakBefore = sffDos;
  // Flags() in a byte.
  uint8_t FFlagBits = static_cast<uint8_t>(TSrcEditStringFlags{sfExpandedLengthUnknown}.Mask());
  // Stamp() in two parts.
  uint16_t FStampHigh = 0;
  TObject* FObject = nullptr;
  TSrcEditRange FRange = SrcEditRangeUnscanned;
  int32_t FExpandedLength = -1;
  uint32_t FStampLow = 0;

  TSrcEditStringFlags Flags() const { return TSrcEditStringFlags::FromMask(FFlagBits); }
  void SetFlags(TSrcEditStringFlags flags) { FFlagBits = static_cast<uint8_t>(flags.Mask()); }
  uint64_t Stamp() const { return uint64_t{FStampHigh} << 32 | FStampLow; }
  void SetStamp(uint64_t stamp) {
    FStampHigh = static_cast<uint16_t>(stamp >> 32);
    FStampLow = static_cast<uint32_t>(stamp);
  }
};

// A row of a text broken at CR, LF and CR LF, with the break in front of it
// (sffDos for the first row, which has none).
struct TSrcTextRow {
  std::string_view Text;
  TSrcEditFileFormat BreakBefore = sffDos;
};

// The rows of a text, its breaks found in one pass over it; a break at the
// end leaves an empty last row, an empty text is one empty row.
std::vector<TSrcTextRow> SplitTextRows(std::string_view text);

// Whole lines taken out of a store with what their records hold (text,
// range, width, stamp, break; their objects are dropped when put back):
// put back into the same store they need no split, no measuring and, where
// their ranges still hold, no rescan. All the lines of a store are taken,
// and put back into an empty one, with their storage: no record moves.
struct TSrcLineRun {
  TSrcGapArray<TSrcEditStringRec> Records;
  int TabWidth = 0;  // their widths were measured with it
  // Who scanned their ranges (the taker's choice; 0: nobody sure).
  uint64_t RangesStamp = 0;
  // Their text with the break in front of each but the first.
  std::string Text() const;
};

// (sender, first line index, number of lines)
using TStringListChangeEvent = TDelegate<void(TObject* Sender, int Index, int Count)>;

// A second audience for the store's six changes: the handlers of an object
// that shows the store's lines while the store belongs to someone else (an
// editor sharing another editor's text). Unset handlers are skipped.
struct TSrcEditStringsListener {
  TNotifyEvent OnStoreChange;
  TNotifyEvent OnStoreChanging;
  TNotifyEvent OnLinesCleared;
  TStringListChangeEvent OnLinesDeleted;
  TStringListChangeEvent OnLinesInserted;
  TStringListChangeEvent OnLinePut;
};

// The store's own six events are its owner's: it is its own first listener.
class TSrcEditStringList : public TStrings, public TSrcEditStringsListener {
public:
  TSrcEditStringList();
  ~TSrcEditStringList() override;
  std::string ClassName() const override { return "TSrcEditStringList"; }

  // Reads out of range give empty values rather than failing.
  std::string Get(int index) const override;
  // The line's text without a copy; valid until the line changes. Empty out
  // of range.
  std::string_view GetView(int index) const {
    return index >= 0 && index < GetCount() ? FList[index].FString.View() : std::string_view();
  }
  // Final: the range scan asks for it with every line.
  int GetCount() const final { return static_cast<int>(FList.Count()); }
  TObject* GetObject(int index) const override;
  // Names the line's text: a text put into a line gets a stamp this store
  // never gave before (48 bits: no store gives out that many; empty lines
  // inserted together share one), and a line keeps it wherever it moves. 0
  // out of range.
  uint64_t LineStamp(int index) const { return index >= 0 && index < GetCount() ? FList[index].Stamp() : 0; }
  // 0 out of range. Inline: every line's scan reads the one before it.
  TSrcEditRange GetRange(int index) const {
    return index >= 0 && index < GetCount() ? FList[index].FRange : 0;
  }
  // The records of lines index.. up to where their storage breaks (the
  // gap or the end; empty from the end on): a scan of many lines reads
  // their text and puts their ranges through it without an index per line.
  // Nothing but FRange may be changed through it.
  std::span<TSrcEditStringRec> RangeRun(int index) {
    CheckIndex(index, GetCount());
    return FList.RunFrom(static_cast<size_t>(index));
  }
  int GetCapacity() const override { return FCapacity; }
  // The lines joined with CR LF, without a break after the last one.
  std::string GetTextStr() const override;
  // Appends lines first..last, each after the break in front of it: its
  // own (storedBreaks) or CR LF.
  void AppendLines(std::string& text, int first, int last, bool storedBreaks) const;
  // Its length, without building it or looking at the lines.
  size_t TextLength() const;

  void Put(int index, const std::string& text) override;
  void PutObject(int index, TObject* object) override;
  // Inline, as GetRange.
  void PutRange(int index, TSrcEditRange range) {
    CheckIndex(index, GetCount() - 1);
    FList[index].FRange = range;
  }
  void SetCapacity(int capacity) override;
  int Add(const std::string& text) override;
  void AddStrings(const TStrings& strings) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Exchange(int index1, int index2) override;
  void Clear() override;

  void InsertLines(int index, int count);
  // Insert with the break in front of the new line.
  void InsertLine(int index, std::string_view text, TSrcEditFileFormat breakBefore);
  void DeleteLines(int index, int count);
  // The rows as lines at index, each with its text and the break in front
  // of it, reported as one insertion. Their widths are measured on the way
  // and, where the longest line is known, it stays known.
  void InsertRows(int index, std::span<const TSrcTextRow> rows);
  // Lines index..index+count-1 out of the store, reported as deleted.
  TSrcLineRun TakeLines(int index, int count);
  // A run taken from this store back in at index, reported as inserted.
  void PutLines(int index, TSrcLineRun run);
  // Storage of records no longer needed: emptied, it takes the lines that
  // come after the next whole text taken, instead of storage of its own.
  void ReuseStorage(TSrcGapArray<TSrcEditStringRec> storage);

  // The line with its TABs expanded (TAB characters padded to the stop).
  std::string GetExpandedString(int index);
  int GetExpandedStringLength(int index);
  int GetLengthOfLongestLine();
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int tabWidth);

  // The break style of the file: the one of all its breaks, or CR LF when
  // they were mixed (or there were none). Lines added through the TStrings
  // operations get this break.
  TSrcEditFileFormat FileFormat() const { return FFileFormat; }
  // The break a line (index) takes where it is split: the break that ends
  // it, for the last line the one in front of it, for the only line the
  // file's style. emptyBefore: the part in front of the new break is empty;
  // after a lone CR a lone LF there would read back as one CR LF break with
  // it, so the new break is a CR too.
  TSrcEditFileFormat SplitBreak(int index, bool emptyBefore) const;
  // The break in front of a line (index 1..count-1; the first line's is
  // not written). A line read from a file keeps the break it had there.
  TSrcEditFileFormat BreakBefore(int index) const { return FList[CheckedIndex(index)].FBreakBefore; }
  void SetBreakBefore(int index, TSrcEditFileFormat format) { FList[CheckedIndex(index)].FBreakBefore = format; }
  // Its bytes: CR LF, LF or CR.
  static std::string_view BreakText(TSrcEditFileFormat format);
  void LoadFromStream(TStream& stream) override;
  // Writes the lines with their breaks in pieces, never the whole text at
  // once (SaveToFile writes through a temporary file with it).
  void SaveToStream(TStream& stream) override;

  // Every change is told to the store's own six events first (its owner),
  // then to the listeners in the order they were added.
  // Listeners are found by address; adding one twice keeps one entry. A
  // listener must leave before it goes away; it may leave (or let others
  // leave) while it is being told of a change.
  void AddListener(const TSrcEditStringsListener* listener) { FListeners.Add(listener); }
  void RemoveListener(const TSrcEditStringsListener* listener) { FListeners.Remove(listener, drFirst); }
  int ListenerCount() const { return FListeners.Count(); }

protected:
  void SetUpdateState(bool updating) override;

private:
  void NotifyChange(TNotifyEvent TSrcEditStringsListener::*event);
  void NotifyLines(TStringListChangeEvent TSrcEditStringsListener::*event, int index, int count);
  std::string ExpandString(int index);
  // Finds the expanded length without building the text where it can.
  void MeasureLine(int index);
  void MeasureRecord(TSrcEditStringRec& record) const;
  void CheckIndex(int index, int last) const;
  int CheckedIndex(int index) const {
    CheckIndex(index, GetCount() - 1);
    return index;
  }
  void Grow();
  void InsertItem(int index, std::string_view text, TSrcEditFileFormat breakBefore);
  template <class TMake>
  void InsertRecords(int index, int count, TMake make);
  template <class TPlace>
  void AddRecords(int index, int count, TPlace place);
  // The record takes the text and a stamp of its own.
  void AssignText(TSrcEditStringRec& record, std::string_view text);
  void ForgetLongestLine();
  // The known longest line and the remembered lines follow their text when
  // lines are inserted or deleted, so typing a line break costs no scan of
  // the whole text.
  void LongestLineAfterInsert(int index, int count, bool withText);
  void LongestLineAfterDelete(int index, int count);

  // Lines are inserted and deleted where the caret is: the gap follows the
  // edits, so line breaks typed at one place of a large text move no
  // records; only an edit at another place moves those in between, once.
  TSrcGapArray<TSrcEditStringRec> FList;
  TSrcGapArray<TSrcEditStringRec> FSpareStorage;
  int FCapacity = 0;
  // The bytes of all lines, line breaks not counted.
  size_t FTextSize = 0;
  uint64_t FLastStamp = 0;
  TSrcEditFileFormat FFileFormat = sffDos;
  int FTabWidth = 8;  // before the converter, which is chosen from it
  TConvertTabsProcEx FConvertTabsProc;
  int FIndexOfLongestLine = -1;
  // Its expanded length when it was found.
  int FLongestLength = 0;
  // No other line is longer, replaced lines aside (a line deleted since
  // may have been as long).
  int FOthersAtMost = 0;
  // Lines replaced since the longest line was found; they are the only
  // ones that can have overtaken it.
  std::vector<int> FChangedSinceLongest;
  TDelegateList<const TSrcEditStringsListener*> FListeners{ddIgnore};
};

// Buffered writer of a text file in one of the three line-break styles.
class TSrcEditFiler : public TObject {
public:
  std::string ClassName() const override { return "TSrcEditFiler"; }
  TSrcEditFileFormat FileFormat() const { return FFileFormat; }
  void SetFileFormat(TSrcEditFileFormat format) { FFileFormat = format; }
  virtual void Flush() {}

protected:
  TSrcEditFileFormat FFileFormat = sffDos;
};

// The text goes to the stream as the buffer fills and at Flush.
class TSrcEditFileWriter : public TSrcEditFiler {
public:
  explicit TSrcEditFileWriter(TStream& stream);
  std::string ClassName() const override { return "TSrcEditFileWriter"; }
  void Write(std::string_view text);
  void WriteLine(std::string_view text);
  void Flush() override;

private:
  void Append(std::string_view text, std::string_view lineBreak);

  TStream& FStream;
  std::vector<char> FBuffer;
  size_t FBufPos = 0;
};

}  // namespace vk
