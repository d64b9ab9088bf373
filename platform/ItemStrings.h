#pragma once
// The items of a list control (a list box, a combo box, a radio group): a
// list of texts that tells its control of every change, so that the control
// keeps its selection in step and its peer shows the items.

#include <string>
#include <vector>

#include "platform/StringLists.h"

namespace vk {

enum TItemChange : uint8_t {
  icInserted,  // an item came at the index
  icDeleted,   // the item at the index went
  icPut,       // the item at the index got another text
  icCleared,   // all items went
  icUpdated,   // the outermost BeginUpdate / EndUpdate bracket closed
};

// The control the items belong to.
class TItemsOwner {
public:
  virtual ~TItemsOwner() = default;
  virtual void ItemsChanged(TItemChange change, int index) = 0;
};

// Where a list's selection is after a change of its items: it stays on its
// item, and is gone (-1) when the item goes.
int ItemIndexAfter(int itemIndex, TItemChange change, int index);

class TItemStrings : public TStrings {
public:
  explicit TItemStrings(TItemsOwner& owner) : FOwner(owner) {}
  std::string ClassName() const override { return "TItemStrings"; }

  // Raise EListError "List index out of bounds (%d)" for an index that is
  // not an item (Insert also takes Count).
  std::string Get(int index) const override;
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const std::string& text) override;
  void Put(int index, const std::string& text) override;

protected:
  void SetUpdateState(bool updating) override;

private:
  void CheckIndex(int index, int limit) const;

  TItemsOwner& FOwner;
  std::vector<std::string> FItems;
};

}  // namespace vk
