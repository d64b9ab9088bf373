#include "platform/ItemStrings.h"

#include "platform/SysUtils.h"

namespace vk {

int ItemIndexAfter(int itemIndex, TItemChange change, int index) {
  switch (change) {
    case icInserted: return index <= itemIndex ? itemIndex + 1 : itemIndex;
    case icDeleted: return index == itemIndex ? -1 : index < itemIndex ? itemIndex - 1 : itemIndex;
    case icCleared: return -1;
    default: return itemIndex;
  }
}

void TItemStrings::CheckIndex(int index, int limit) const {
  CheckListIndex(index, limit + 1);
}

std::string TItemStrings::Get(int index) const {
  CheckIndex(index, GetCount() - 1);
  return FItems[static_cast<size_t>(index)];
}

void TItemStrings::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  FOwner.ItemsChanged(icCleared, -1);
}

void TItemStrings::Delete(int index) {
  CheckIndex(index, GetCount() - 1);
  FItems.erase(FItems.begin() + index);
  FOwner.ItemsChanged(icDeleted, index);
}

void TItemStrings::Insert(int index, const std::string& text) {
  CheckIndex(index, GetCount());
  FItems.insert(FItems.begin() + index, text);
  FOwner.ItemsChanged(icInserted, index);
}

void TItemStrings::Put(int index, const std::string& text) {
  CheckIndex(index, GetCount() - 1);
  if (FItems[static_cast<size_t>(index)] == text) return;
  FItems[static_cast<size_t>(index)] = text;
  FOwner.ItemsChanged(icPut, index);
}

void TItemStrings::SetUpdateState(bool updating) {
  if (!updating) FOwner.ItemsChanged(icUpdated, -1);
}

}  // namespace vk
