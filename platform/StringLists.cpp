#include "platform/StringLists.h"

#include <algorithm>

#include "platform/Streams.h"

namespace vk {

// ---- TStrings ----

void TStrings::Put(int index, const std::string& text) {
  TObject* object = GetObject(index);
  TStringsUpdate update(*this);
  Delete(index);
  Insert(index, text);
  PutObject(index, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& text) {
  int index = GetCount();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = Add(text);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  TStringsUpdate update(*this);
  for (int i = 0; i < strings.GetCount(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Exchange(int index1, int index2) {
  TStringsUpdate update(*this);
  std::string text1 = Get(index1);
  TObject* object1 = GetObject(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, text1);
  PutObject(index2, object1);
}

int TStrings::IndexOf(const std::string& text) const {
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(Get(i), text)) return i;
  return -1;
}

std::string TStrings::GetTextStr() const {
  size_t size = 0;
  int count = GetCount();
  for (int i = 0; i < count; ++i) size += Get(i).size() + 2;
  std::string text;
  text.reserve(size);
  for (int i = 0; i < count; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetTextStr(const std::string& text) {
  TStringsUpdate update(*this);
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    Add(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) { SetTextStr(stream.ReadAll()); }

void TStrings::SaveToFile(const std::string& fileName) {
  TSafeFileStream stream(fileName);
  SaveToStream(stream);
  stream.Commit();
}

void TStrings::SaveToStream(TStream& stream) {
  std::string text = GetTextStr();
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* strings = dynamic_cast<const TStrings*>(&source)) {
    if (strings == this) return;
    TStringsUpdate update(*this);
    Clear();
    AddStrings(*strings);
    return;
  }
  TPersistent::Assign(source);
}

void CheckListIndex(int index, int count) {
  if (index < 0 || index >= count) throw EListError(Format("List index out of bounds (%d)", index));
}

// ---- TStringList ----

void TStringList::CheckIndex(int index) const { CheckListIndex(index, GetCount()); }

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else if (OnChange) {
    OnChange(this);
  }
}

int TStringList::Compare(const std::string& a, const std::string& b) const {
  return FCaseSensitive ? a.compare(b) : CompareText(a, b);
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return FItems[index].Text;
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return FItems[index].Object;
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  FItems.clear();
  FItems.shrink_to_fit();
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object) {
  Changing();
  FItems.insert(FItems.begin() + index, TItem{text, object});
  Changed();
}

void TStringList::Insert(int index, const std::string& text) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckListIndex(index, GetCount() + 1);
  InsertItem(index, text, nullptr);
}

int TStringList::Add(const std::string& text) {
  int index = GetCount();
  if (FSorted && Find(text, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
  }
  InsertItem(index, text, nullptr);
  return index;
}

void TStringList::Put(int index, const std::string& text) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  FItems[index].Text = text;
  Changed();
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  FItems[index].Object = object;
  Changed();
}

void TStringList::SetCapacity(int capacity) {
  if (capacity < GetCount()) throw EListError(Format("List capacity out of bounds (%d)", capacity));
  if (capacity > static_cast<int>(FItems.capacity())) FItems.reserve(capacity);
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(FItems[index1], FItems[index2]);
  Changed();
}

int TStringList::IndexOf(const std::string& text) const {
  if (FSorted) {
    int index = 0;
    return Find(text, index) ? index : -1;
  }
  for (int i = 0; i < GetCount(); ++i)
    if (Compare(FItems[i].Text, text) == 0) return i;
  return -1;
}

bool TStringList::Find(const std::string& text, int& index) const {
  int low = 0, high = GetCount() - 1;
  bool found = false;
  while (low <= high) {
    int middle = (low + high) / 2;
    int order = Compare(FItems[middle].Text, text);
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (order == 0) {
        found = true;
        // With duplicates the first of the equal lines is the answer.
        if (FDuplicates != dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const TItem& a, const TItem& b) { return Compare(a.Text, b.Text) < 0; });
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == FSorted) return;
  if (sorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == FCaseSensitive) return;
  FCaseSensitive = caseSensitive;
  if (FSorted) Sort();
}

}  // namespace vk
