#include "SrcEdit/Source/SrcEditMarks.h"

#include <algorithm>

#include "SrcEdit/Source/SrcEdit.h"

namespace vk {

// ---------------------------------------------------------------- TSrcEditMarkList

TSrcEditMarkList::~TSrcEditMarkList() {
  // The editor goes with its marks: nobody is told.
  OnChange = nullptr;
}

void TSrcEditMarkList::Changed() {
  if (OnChange) OnChange(this);
}

TSrcEditMark* TSrcEditMarkList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return FItems[static_cast<size_t>(index)].get();
}

int TSrcEditMarkList::IndexOf(const TSrcEditMark* mark) const {
  auto found = std::find_if(FItems.begin(), FItems.end(), [mark](const auto& item) { return item.get() == mark; });
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

int TSrcEditMarkList::Add(std::unique_ptr<TSrcEditMark> mark) {
  FItems.push_back(std::move(mark));
  Changed();
  return Count() - 1;
}

void TSrcEditMarkList::Delete(int index) {
  Items(index);  // checks the index
  FItems.erase(FItems.begin() + index);
  Changed();
}

std::unique_ptr<TSrcEditMark> TSrcEditMarkList::Extract(TSrcEditMark* mark) {
  int index = IndexOf(mark);
  if (index < 0) return nullptr;
  std::unique_ptr<TSrcEditMark> extracted = std::move(FItems[static_cast<size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  Changed();
  return extracted;
}

void TSrcEditMarkList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

// ---------------------------------------------------------------- TSrcEditPlugin

TSrcEditPlugin::TSrcEditPlugin(TCustomSrcEdit* owner) : FOwner(owner) {
  if (FOwner) FOwner->FPlugins.push_back(this);
}

TSrcEditPlugin::~TSrcEditPlugin() {
  if (FOwner) std::erase(FOwner->FPlugins, this);
}

}  // namespace vk
