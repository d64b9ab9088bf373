#include "SrcEdit/Source/SrcEditTextBuffer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>

#include "SrcEdit/Source/SrcEditMiscProcs.h"

namespace vk {

namespace {

// Once this many lines were replaced it is cheaper to look at every line.
constexpr size_t MaxTrackedChanges = 64;

// A million lines are 40 MB of records; the break does not add to them.
static_assert(sizeof(void*) != 8 || sizeof(TSrcEditStringRec) == 40);

// A line compared with the longest one found so far, as a walk of all
// lines decides: the earlier line wins on equal length, and no line is the
// longest while all are empty. Every other line's length bounds
// othersAtMost.
void CompareWithLongest(int index, int length, int& longestIndex, int& longest, int& othersAtMost) {
  if (length > longest || (length == longest && length > 0 && index < longestIndex)) {
    othersAtMost = std::max(othersAtMost, longest);
    longest = length;
    longestIndex = index;
  } else {
    othersAtMost = std::max(othersAtMost, length);
  }
}

// The texts of records [first, end), each after the break in front of it
// (its own, or CR LF). The bytes are counted first and copied in place:
// the text grows once, and a million short lines cost no append each.
void AppendRecordLines(std::string& text, const TSrcGapArray<TSrcEditStringRec>& records, size_t first, size_t end,
                       bool storedBreaks) {
  auto breakOf = [&](const TSrcEditStringRec& record) {
    return storedBreaks ? TSrcEditStringList::BreakText(record.FBreakBefore) : std::string_view("\r\n");
  };
  size_t size = 0;
  for (size_t i = first; i < end; ++i) size += breakOf(records[i]).size() + records[i].FString.Size();
  const size_t at = text.size();
  text.resize(at + size);
  char* out = text.data() + at;
  for (size_t i = first; i < end; ++i) {
    const TSrcEditStringRec& record = records[i];
    // An empty line's view has no bytes to copy from.
    for (std::string_view part : {breakOf(record), record.FString.View()})
      if (!part.empty()) out = std::copy(part.begin(), part.end(), out);
  }
}

}  // namespace

void TSrcLineText::Assign(std::string_view text) {
  if (text.size() > UINT32_MAX) throw ESrcEditStringList("Line too long");
  char* data = text.empty() ? nullptr : new char[text.size()];
  if (data) std::memcpy(data, text.data(), text.size());
  delete[] FData;
  FData = data;
  FSize = static_cast<uint32_t>(text.size());
}

std::vector<TSrcTextRow> SplitTextRows(std::string_view text) {
  std::vector<TSrcTextRow> rows;
  // Room for short lines: pages of it never written cost nothing.
  rows.reserve(text.size() / 16 + 1);
  const char* const data = text.data();
  const size_t size = text.size();
  size_t start = 0;  // of the row being read
  TSrcEditFileFormat before = sffDos;
  // Ends the row at the CR or LF at `at`; true when that is a CR LF.
  auto endRow = [&](size_t at) {
    rows.push_back({std::string_view(data + start, at - start), before});
    const bool crLf = data[at] == '\r' && at + 1 < size && data[at + 1] == '\n';
    before = data[at] == '\n' ? sffUnix : crLf ? sffDos : sffMac;
    start = at + (crLf ? 2 : 1);
    return crLf;
  };
  size_t i = 0;
  // Sixteen bytes at a time, one bit per CR or LF, rather than a library
  // call per break. The LF of a CR LF is the next bit, or, after a CR that
  // ends a block, lies before the next row's start.
  for (; i + 16 <= size; i += 16) {
    for (uint32_t breaks = StopMask<'\r', '\n'>(data + i); breaks != 0; breaks &= breaks - 1) {
      const size_t at = i + static_cast<size_t>(std::countr_zero(breaks));
      if (at >= start && endRow(at)) breaks &= breaks - 1;
    }
  }
  for (; i < size; ++i)
    if (i >= start && (data[i] == '\r' || data[i] == '\n')) endRow(i);
  rows.push_back({std::string_view(data + start, size - start), before});
  return rows;
}

TSrcEditStringList::TSrcEditStringList() : FConvertTabsProc(GetBestConvertTabsProcEx(FTabWidth)) {}

std::string_view TSrcEditStringList::BreakText(TSrcEditFileFormat format) {
  switch (format) {
    case sffUnix: return "\n";
    case sffMac: return "\r";
    default: return "\r\n";
  }
}

TSrcEditFileFormat TSrcEditStringList::SplitBreak(int index, bool emptyBefore) const {
  const int count = GetCount();
  if (index < 0 || index >= count || count == 1) return FFileFormat;
  const TSrcEditFileFormat own = index + 1 < count ? FList[index + 1].FBreakBefore : FList[index].FBreakBefore;
  return emptyBefore && index > 0 && FList[index].FBreakBefore == sffMac && own == sffUnix ? sffMac : own;
}

TSrcEditStringList::~TSrcEditStringList() {
  // Nobody hears about the lines going away with the store.
  OnStoreChange = nullptr;
  OnStoreChanging = nullptr;
  FListeners.Clear();
}

void TSrcEditStringList::NotifyChange(TNotifyEvent TSrcEditStringsListener::*event) {
  if (const TNotifyEvent& own = this->*event) own(this);
  FListeners.ForEach([&](const TSrcEditStringsListener* listener) {
    if (const TNotifyEvent& handler = listener->*event) handler(this);
  });
}

void TSrcEditStringList::NotifyLines(TStringListChangeEvent TSrcEditStringsListener::*event, int index, int count) {
  if (const TStringListChangeEvent& own = this->*event) own(this, index, count);
  FListeners.ForEach([&](const TSrcEditStringsListener* listener) {
    if (const TStringListChangeEvent& handler = listener->*event) handler(this, index, count);
  });
}

void TSrcEditStringList::CheckIndex(int index, int last) const {
  if (index < 0 || index > last) throw ESrcEditStringList(Format("Invalid stringlist index %d", index));
}

void TSrcEditStringList::SetUpdateState(bool updating) {
  if (updating)
    NotifyChange(&TSrcEditStringsListener::OnStoreChanging);
  else
    NotifyChange(&TSrcEditStringsListener::OnStoreChange);
}

void TSrcEditStringList::ForgetLongestLine() {
  FIndexOfLongestLine = -1;
  FChangedSinceLongest.clear();
}

void TSrcEditStringList::LongestLineAfterInsert(int index, int count, bool withText) {
  if (FIndexOfLongestLine < 0) return;
  if (withText && FChangedSinceLongest.size() + count > MaxTrackedChanges) {
    ForgetLongestLine();
    return;
  }
  if (FIndexOfLongestLine >= index) FIndexOfLongestLine += count;
  for (int& changed : FChangedSinceLongest)
    if (changed >= index) changed += count;
  // Empty lines can never be the longest; lines with text may be.
  if (withText)
    for (int i = 0; i < count; ++i) FChangedSinceLongest.push_back(index + i);
}

void TSrcEditStringList::LongestLineAfterDelete(int index, int count) {
  if (FIndexOfLongestLine < 0) return;
  if (FIndexOfLongestLine >= index && FIndexOfLongestLine < index + count) {
    ForgetLongestLine();
    return;
  }
  if (FIndexOfLongestLine >= index + count) FIndexOfLongestLine -= count;
  std::erase_if(FChangedSinceLongest, [&](int changed) { return changed >= index && changed < index + count; });
  for (int& changed : FChangedSinceLongest)
    if (changed >= index + count) changed -= count;
}

std::string TSrcEditStringList::Get(int index) const {
  return index >= 0 && index < GetCount() ? FList[index].FString.Str() : std::string();
}

TObject* TSrcEditStringList::GetObject(int index) const {
  return index >= 0 && index < GetCount() ? FList[index].FObject : nullptr;
}

std::string TSrcEditStringList::GetTextStr() const {
  std::string text;
  text.reserve(TextLength());
  text += GetView(0);
  AppendLines(text, 1, GetCount() - 1, false);
  return text;
}

void TSrcEditStringList::AppendLines(std::string& text, int first, int last, bool storedBreaks) const {
  AppendRecordLines(text, FList, std::max(first, 0), std::min(last + 1, GetCount()), storedBreaks);
}

size_t TSrcEditStringList::TextLength() const {
  return FList.Empty() ? 0 : FTextSize + 2 * (FList.Count() - 1);
}

void TSrcEditStringList::Grow() {
  SetCapacity(FCapacity > 64 ? FCapacity + FCapacity / 4 : FCapacity + 16);
}

void TSrcEditStringList::SetCapacity(int capacity) {
  if (capacity < GetCount()) throw EListError("Stringlist capacity cannot be smaller than count");
  FCapacity = capacity;
  FList.Reserve(capacity);
}

void TSrcEditStringList::AssignText(TSrcEditStringRec& record, std::string_view text) {
  record.FString.Assign(text);
  record.SetStamp(++FLastStamp);
}

void TSrcEditStringList::InsertItem(int index, std::string_view text, TSrcEditFileFormat breakBefore) {
  if (GetCount() == FCapacity) Grow();
  TSrcEditStringRec record;
  AssignText(record, text);
  record.FBreakBefore = breakBefore;
  FList.Insert(index, std::move(record));
  FTextSize += text.size();
}

int TSrcEditStringList::Add(const std::string& text) {
  int index = GetCount();
  Insert(index, text);
  return index;
}

void TSrcEditStringList::Insert(int index, const std::string& text) { InsertLine(index, text, FFileFormat); }

void TSrcEditStringList::InsertLine(int index, std::string_view text, TSrcEditFileFormat breakBefore) {
  CheckIndex(index, GetCount());
  TStringsUpdate update(*this);
  InsertItem(index, text, breakBefore);
  LongestLineAfterInsert(index, 1, true);
  NotifyLines(&TSrcEditStringsListener::OnLinesInserted, index, 1);
}

void TSrcEditStringList::AddStrings(const TStrings& strings) {
  int added = strings.GetCount();
  if (added <= 0) return;
  TStringsUpdate update(*this);
  ForgetLongestLine();
  int first = GetCount();
  if (first + added > FCapacity) SetCapacity((first + added + 15) / 16 * 16);
  for (int i = 0; i < added; ++i) {
    TSrcEditStringRec record;
    AssignText(record, strings.Get(i));
    record.FObject = strings.GetObject(i);
    record.FBreakBefore = FFileFormat;
    FTextSize += record.FString.Size();
    FList.Add(std::move(record));
  }
  NotifyLines(&TSrcEditStringsListener::OnLinesInserted, first, added);
}

void TSrcEditStringList::Put(int index, const std::string& text) {
  if (index == GetCount()) {
    Add(text);
    return;
  }
  CheckIndex(index, GetCount() - 1);
  TStringsUpdate update(*this);
  TSrcEditStringRec& record = FList[index];
  const size_t oldSize = record.FString.Size();
  AssignText(record, text);
  record.SetFlags({sfExpandedLengthUnknown});
  FTextSize = FTextSize - oldSize + text.size();
  // The longest line itself is measured again when it is asked for.
  if (FChangedSinceLongest.size() >= MaxTrackedChanges)
    ForgetLongestLine();
  else if (FIndexOfLongestLine >= 0 && index != FIndexOfLongestLine)
    FChangedSinceLongest.push_back(index);
  NotifyLines(&TSrcEditStringsListener::OnLinePut, index, 1);
}

void TSrcEditStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, GetCount() - 1);
  FList[index].FObject = object;
}

void TSrcEditStringList::Delete(int index) {
  CheckIndex(index, GetCount() - 1);
  TStringsUpdate update(*this);
  FTextSize -= FList[index].FString.Size();
  FList.Delete(index, 1);
  LongestLineAfterDelete(index, 1);
  NotifyLines(&TSrcEditStringsListener::OnLinesDeleted, index, 1);
}

void TSrcEditStringList::Exchange(int index1, int index2) {
  CheckIndex(index1, GetCount() - 1);
  CheckIndex(index2, GetCount() - 1);
  TStringsUpdate update(*this);
  std::swap(FList[index1], FList[index2]);
  if (FIndexOfLongestLine == index1) FIndexOfLongestLine = index2;
  else if (FIndexOfLongestLine == index2) FIndexOfLongestLine = index1;
  for (int& changed : FChangedSinceLongest) {
    if (changed == index1) changed = index2;
    else if (changed == index2) changed = index1;
  }
}

void TSrcEditStringList::Clear() {
  if (!FList.Empty()) {
    TStringsUpdate update(*this);
    FList.Clear();
    FSpareStorage.Clear();
    FCapacity = 0;
    FTextSize = 0;
    NotifyChange(&TSrcEditStringsListener::OnLinesCleared);
  }
  ForgetLongestLine();
}

void TSrcEditStringList::InsertLines(int index, int count) {
  if (count <= 0) return;
  CheckIndex(index, GetCount());
  TStringsUpdate update(*this);
  // Grown by the usual step rather than to the exact count, so that typing
  // line breaks into a large text does not reallocate the array each time.
  while (GetCount() + count > FCapacity) Grow();
  TSrcEditStringRec empty;
  AssignText(empty, {});
  empty.FBreakBefore = FFileFormat;
  FList.Insert(index, count, empty);
  LongestLineAfterInsert(index, count, false);
  NotifyLines(&TSrcEditStringsListener::OnLinesInserted, index, count);
}

// count lines at index that place(account) puts into the list, passing
// each new record to account(record, i): counted and compared with the
// longest line as they come, with one report.
template <class TPlace>
void TSrcEditStringList::AddRecords(int index, int count, TPlace place) {
  if (count <= 0) return;
  CheckIndex(index, GetCount());
  TStringsUpdate update(*this);
  // With few lines, or the longest known, each new line is compared with it
  // as it arrives rather than all lines walked again later.
  const bool knownBefore = FIndexOfLongestLine >= 0 || GetCount() <= static_cast<int>(MaxTrackedChanges);
  if (knownBefore) GetLengthOfLongestLine();
  int longestIndex = FIndexOfLongestLine >= index ? FIndexOfLongestLine + count : FIndexOfLongestLine;
  int longest = FLongestLength;
  int othersAtMost = FOthersAtMost;
  place([&](const TSrcEditStringRec& record, size_t i) {
    FTextSize += record.FString.Size();
    CompareWithLongest(index + static_cast<int>(i), record.FExpandedLength, longestIndex, longest, othersAtMost);
  });
  if (knownBefore) {
    FIndexOfLongestLine = longestIndex;
    FLongestLength = longest;
    FOthersAtMost = othersAtMost;
  } else {
    LongestLineAfterInsert(index, count, true);
  }
  NotifyLines(&TSrcEditStringsListener::OnLinesInserted, index, count);
}

// Records made by make(i), measured, as lines at index, in one gap opening.
template <class TMake>
void TSrcEditStringList::InsertRecords(int index, int count, TMake make) {
  AddRecords(index, count, [&](auto account) {
    if (GetCount() + count > FCapacity) SetCapacity(std::max(GetCount() + count, FCapacity + FCapacity / 4));
    FList.InsertEach(static_cast<size_t>(index), static_cast<size_t>(count), [&](size_t i) {
      TSrcEditStringRec record = make(i);
      account(record, i);
      return record;
    });
  });
}

void TSrcEditStringList::InsertRows(int index, std::span<const TSrcTextRow> rows) {
  InsertRecords(index, static_cast<int>(rows.size()), [&](size_t i) {
    TSrcEditStringRec record;
    AssignText(record, rows[i].Text);
    record.FBreakBefore = rows[i].BreakBefore;
    MeasureRecord(record);
    return record;
  });
}

std::string TSrcLineRun::Text() const {
  if (Records.Empty()) return std::string();
  std::string text(Records[0].FString.View());
  AppendRecordLines(text, Records, 1, Records.Count(), true);
  return text;
}

TSrcLineRun TSrcEditStringList::TakeLines(int index, int count) {
  TSrcLineRun run;
  run.TabWidth = FTabWidth;
  if (count <= 0) return run;
  CheckIndex(index, GetCount() - 1);
  const int taken = std::min(count, GetCount() - index);
  if (taken == GetCount()) {
    // The whole text: its storage goes along, no record is moved.
    run.Records = std::move(FList);
    FList = std::move(FSpareStorage);
    FCapacity = static_cast<int>(FList.Capacity());
    FTextSize = 0;
    LongestLineAfterDelete(0, taken);
    NotifyLines(&TSrcEditStringsListener::OnLinesDeleted, 0, taken);
    return run;
  }
  run.Records.InsertEach(0, static_cast<size_t>(taken), [&](size_t i) {
    FTextSize -= FList[index + i].FString.Size();
    return std::move(FList[index + i]);
  });
  // The records left behind are empty: the deletion frees no text.
  DeleteLines(index, taken);
  return run;
}

void TSrcEditStringList::ReuseStorage(TSrcGapArray<TSrcEditStringRec> storage) {
  if (storage.Capacity() <= FSpareStorage.Capacity()) return;
  storage.ClearKeepingStorage();
  FSpareStorage = std::move(storage);
}

void TSrcEditStringList::PutLines(int index, TSrcLineRun run) {
  // The lines belong to nobody else; widths measured otherwise are measured again.
  auto ready = [&](TSrcEditStringRec& record) -> TSrcEditStringRec& {
    record.FObject = nullptr;
    if (run.TabWidth != FTabWidth || record.Flags().Contains(sfExpandedLengthUnknown)) MeasureRecord(record);
    return record;
  };
  const int count = static_cast<int>(run.Records.Count());
  if (GetCount() > 0) {
    InsertRecords(index, count, [&](size_t i) { return std::move(ready(run.Records[i])); });
    return;
  }
  // Into an empty store the storage comes along: no record moves.
  AddRecords(index, count, [&](auto account) {
    FList = std::move(run.Records);
    FCapacity = static_cast<int>(FList.Capacity());
    for (size_t i = 0; i < FList.Count(); ++i) account(ready(FList[i]), i);
  });
}

void TSrcEditStringList::DeleteLines(int index, int count) {
  if (count <= 0) return;
  CheckIndex(index, GetCount() - 1);
  int removed = count < GetCount() - index ? count : GetCount() - index;
  // Counted over the fewer lines: those that go, or those that stay.
  if (removed <= GetCount() - removed) {
    for (int i = index; i < index + removed; ++i) FTextSize -= FList[i].FString.Size();
  } else {
    FTextSize = 0;
    for (int i = 0; i < index; ++i) FTextSize += FList[i].FString.Size();
    for (int i = index + removed; i < GetCount(); ++i) FTextSize += FList[i].FString.Size();
  }
  {
    // Only a deletion that moves later lines is bracketed as a change.
    std::optional<TStringsUpdate> update;
    if (index + removed < GetCount()) update.emplace(*this);
    FList.Delete(index, removed);
  }
  LongestLineAfterDelete(index, removed);
  NotifyLines(&TSrcEditStringsListener::OnLinesDeleted, index, removed);
}

std::string TSrcEditStringList::ExpandString(int index) {
  TSrcEditStringRec& record = FList[index];
  if (record.FString.Size() == 0) {
    record.FExpandedLength = 0;
    record.SetFlags({sfHasNoTabs});
    return std::string();
  }
  bool hasTabs = false;
  std::string expanded = FConvertTabsProc(record.FString.Str(), FTabWidth, hasTabs);
  record.FExpandedLength = static_cast<int32_t>(expanded.size());
  record.SetFlags({hasTabs ? sfHasTabs : sfHasNoTabs});
  return expanded;
}

std::string TSrcEditStringList::GetExpandedString(int index) {
  if (index < 0 || index >= GetCount()) return std::string();
  if (FList[index].Flags().Contains(sfHasNoTabs)) return FList[index].FString.Str();
  return ExpandString(index);
}

int TSrcEditStringList::GetExpandedStringLength(int index) {
  if (index < 0 || index >= GetCount()) return 0;
  if (FList[index].Flags().Contains(sfExpandedLengthUnknown)) MeasureLine(index);
  return FList[index].FExpandedLength;
}

void TSrcEditStringList::MeasureLine(int index) { MeasureRecord(FList[index]); }

void TSrcEditStringList::MeasureRecord(TSrcEditStringRec& record) const {
  std::string_view text = record.FString.View();
  const bool hasTabs = text.find('\t') != std::string_view::npos;
  record.FExpandedLength = hasTabs ? ExpandedTabsLength(text, FTabWidth) : static_cast<int32_t>(text.size());
  record.SetFlags({hasTabs ? sfHasTabs : sfHasNoTabs});
}

int TSrcEditStringList::GetLengthOfLongestLine() {
  int longest = FIndexOfLongestLine >= 0 ? GetExpandedStringLength(FIndexOfLongestLine) : 0;
  // The longest line grown or kept is still the longest; shrunk, it is
  // while it stays longer than any other line may be. Only when it is not
  // are all lines walked again, so deleting in it rarely costs a walk.
  if (FIndexOfLongestLine >= 0 && longest < FLongestLength && longest <= FOthersAtMost) ForgetLongestLine();
  if (FIndexOfLongestLine < 0) {
    longest = 0;
    FOthersAtMost = 0;
    for (int i = 0; i < GetCount(); ++i) {
      int length = GetExpandedStringLength(i);
      if (length > longest) {
        FOthersAtMost = longest;
        longest = length;
        FIndexOfLongestLine = i;
      } else {
        FOthersAtMost = std::max(FOthersAtMost, length);
      }
    }
  } else {
    // Only the replaced lines can have overtaken the longest one.
    for (int index : FChangedSinceLongest)
      CompareWithLongest(index, GetExpandedStringLength(index), FIndexOfLongestLine, longest, FOthersAtMost);
  }
  FChangedSinceLongest.clear();
  FLongestLength =
      FIndexOfLongestLine >= 0 && FIndexOfLongestLine < GetCount() ? GetExpandedStringLength(FIndexOfLongestLine) : 0;
  return FLongestLength;
}

void TSrcEditStringList::SetTabWidth(int tabWidth) {
  if (tabWidth == FTabWidth) return;
  FTabWidth = tabWidth;
  FConvertTabsProc = GetBestConvertTabsProcEx(tabWidth);
  ForgetLongestLine();
  for (size_t i = 0; i < FList.Count(); ++i) {
    TSrcEditStringRec& record = FList[i];
    record.FExpandedLength = -1;
    record.SetFlags(record.Flags().Exclude(sfHasNoTabs).Include(sfExpandedLengthUnknown));
  }
}

void TSrcEditStringList::LoadFromStream(TStream& stream) {
  TStringsUpdate update(*this);
  const int64_t size = stream.Size();
  // A file already read is split where it lies; any other stream is read
  // once, into storage that is not filled first.
  std::unique_ptr<char[]> read;
  const char* bytes = nullptr;
  if (auto* memory = dynamic_cast<TMemoryStream*>(&stream)) {
    bytes = memory->Memory();
    stream.SetPosition(size);
  } else {
    read = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size));
    stream.SetPosition(0);
    stream.ReadBuffer(read.get(), size);
    bytes = read.get();
  }
  const std::string_view data(bytes, static_cast<size_t>(size));
  Clear();
  FFileFormat = sffDos;
  if (data.empty()) return;
  std::vector<TSrcTextRow> rows = SplitTextRows(data);
  bool sawCR = false, sawLF = false;
  for (size_t i = 1; i < rows.size(); ++i) {
    sawCR = sawCR || rows[i].BreakBefore != sffUnix;
    sawLF = sawLF || rows[i].BreakBefore != sffMac;
  }
  FFileFormat = sawCR && !sawLF ? sffMac : sawLF && !sawCR ? sffUnix : sffDos;
  rows.front().BreakBefore = FFileFormat;
  InsertRows(0, rows);
}

void TSrcEditStringList::SaveToStream(TStream& stream) {
  TSrcEditFileWriter writer(stream);
  for (int i = 0; i + 1 < GetCount(); ++i) {
    writer.SetFileFormat(FList[i + 1].FBreakBefore);
    writer.WriteLine(FList[i].FString.View());
  }
  if (!FList.Empty()) writer.Write(FList[FList.Count() - 1].FString.View());
  writer.Flush();
}

// ---- TSrcEditFileWriter ----

TSrcEditFileWriter::TSrcEditFileWriter(TStream& stream) : FStream(stream), FBuffer(16384) {}

void TSrcEditFileWriter::Append(std::string_view text, std::string_view lineBreak) {
  const size_t breakLength = lineBreak.size();
  size_t needed = text.size() + breakLength;
  while (FBufPos + needed > FBuffer.size()) {
    Flush();
    if (FBuffer.size() < needed) FBuffer.resize(needed);
  }
  if (!text.empty()) std::memcpy(FBuffer.data() + FBufPos, text.data(), text.size());
  if (breakLength > 0) std::memcpy(FBuffer.data() + FBufPos + text.size(), lineBreak.data(), breakLength);
  FBufPos += needed;
}

void TSrcEditFileWriter::Write(std::string_view text) { Append(text, {}); }

void TSrcEditFileWriter::WriteLine(std::string_view text) { Append(text, TSrcEditStringList::BreakText(FFileFormat)); }

void TSrcEditFileWriter::Flush() {
  FStream.WriteBuffer(FBuffer.data(), static_cast<int64_t>(FBufPos));
  FBufPos = 0;
}

}  // namespace vk
