#include "platform/Lists.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

// A list that owns ints, as the editor's lists own their records.
class TOwningList : public TList {
public:
  ~TOwningList() override { Clear(); }
  std::vector<std::string> Log;

protected:
  void Notify(void* item, TListNotification action) override {
    int value = *static_cast<int*>(item);
    Log.push_back(std::to_string(value) + (action == lnAdded ? "+" : action == lnDeleted ? "-" : "x"));
    if (action == lnDeleted) delete static_cast<int*>(item);
  }
};

int CompareInts(void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); }

std::vector<int> Values(const TList& list) {
  std::vector<int> values;
  for (int i = 0; i < list.Count(); ++i) values.push_back(*static_cast<int*>(list.Get(i)));
  return values;
}

TEST(ListsTest, SortsNotifiesAndOwningListsFreeTheirItems) {
  TOwningList list;
  for (int v : {3, 1, 2, 1}) list.Add(new int(v));
  list.Sort(CompareInts);
  EXPECT_EQ((std::vector<int>{1, 1, 2, 3}), Values(list));
  void* three = list.Last();
  EXPECT_EQ(three, list.Extract(three));
  delete static_cast<int*>(three);
  list.Delete(0);
  list.Move(1, 0);
  EXPECT_EQ((std::vector<int>{2, 1}), Values(list));
  EXPECT_EQ((std::vector<std::string>{"3+", "1+", "2+", "1+", "3x", "1-"}), list.Log);
}

TEST(ListsTest, IndexOutsideTheListRaises) {
  TList list;
  int a = 1;
  list.Add(&a);
  list.Add(nullptr);
  list.Pack();
  EXPECT_EQ(1, list.Count());
  for (int bad : {-1, 1}) {
    try {
      list.Get(bad);
      ADD_FAILURE() << bad;
    } catch (const EListError& e) {
      EXPECT_EQ(Format("List index out of bounds (%d)", bad), e.Message());
    }
  }
  EXPECT_THROW(list.Insert(3, &a), EListError);
  EXPECT_THROW(list.Exchange(0, 5), EListError);
  EXPECT_EQ(-1, list.Remove(nullptr));
}

}  // namespace
}  // namespace vk
