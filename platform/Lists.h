#pragma once
// TList: the class library's list of untyped pointers. It owns nothing; a
// derived list that owns its items frees them in Notify and calls Clear in
// its own destructor (the base destructor can no longer reach Notify).

#include <vector>

#include "platform/Objects.h"
#include "platform/StringLists.h"

namespace vk {

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative when a comes first, positive when b does, 0 when equal.
using TListSortCompare = int (*)(void* a, void* b);

class TList : public TObject {
public:
  ~TList() override;
  std::string ClassName() const override { return "TList"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  // Items raise EListError "List index out of bounds (%d)" outside 0..Count-1.
  void* Get(int index) const;
  void Put(int index, void* item);
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }

  int Add(void* item);
  // index may be Count (appends).
  void Insert(int index, void* item);
  void Delete(int index);
  // Removes the first occurrence; answers its index or -1.
  int Remove(void* item);
  // Removes the first occurrence without telling Notify it was deleted;
  // answers the item, or nullptr when it is not in the list.
  void* Extract(void* item);
  int IndexOf(void* item) const;
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  virtual void Clear();
  // Removes the nil items.
  void Pack();
  // Orders the items by compare; equal items keep their order.
  void Sort(TListSortCompare compare);

protected:
  // Told after an item came in and after it went out (deleted or extracted).
  virtual void Notify(void* item, TListNotification action);

private:
  std::vector<void*> FItems;
};

}  // namespace vk
