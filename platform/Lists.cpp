#include "platform/Lists.h"

#include <algorithm>

namespace vk {

TList::~TList() { TList::Clear(); }

void* TList::Get(int index) const {
  CheckListIndex(index, Count());
  return FItems[index];
}

void TList::Put(int index, void* item) {
  CheckListIndex(index, Count());
  void* old = FItems[index];
  if (old == item) return;
  FItems[index] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

int TList::Add(void* item) {
  Insert(Count(), item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  CheckListIndex(index, Count() + 1);
  FItems.insert(FItems.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int index) {
  CheckListIndex(index, Count());
  void* item = FItems[index];
  FItems.erase(FItems.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  FItems.erase(FItems.begin() + index);
  Notify(item, lnExtracted);
  return item;
}

int TList::IndexOf(void* item) const {
  auto found = std::find(FItems.begin(), FItems.end(), item);
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TList::Exchange(int index1, int index2) {
  CheckListIndex(index1, Count());
  CheckListIndex(index2, Count());
  std::swap(FItems[index1], FItems[index2]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckListIndex(newIndex, Count());
  void* item = Get(curIndex);
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, item);
}

void TList::Clear() {
  // Each item leaves before Notify hears of it, so a derived list that frees
  // its items never sees a freed one in the list.
  while (!FItems.empty()) Delete(Count() - 1);
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

void TList::Sort(TListSortCompare compare) {
  if (!compare) return;
  std::stable_sort(FItems.begin(), FItems.end(), [compare](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Notify(void*, TListNotification) {}

}  // namespace vk
