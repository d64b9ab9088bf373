#include "platform/DelegateList.h"

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace vk {
namespace {

using TList = TDelegateList<int>;

// The handlers still in the list, first added first, as digits.
std::string Contents(const TList& list) {
  std::string digits;
  for (int i = 0; i < list.Count(); ++i) digits += std::to_string(list.Items(i));
  return digits;
}

void Fill(TList& list, std::initializer_list<int> handlers) {
  for (int handler : handlers) list.Add(handler);
}

// Runs one iteration; `during` acts on the list when a handler is visited.
// Answers the visited handlers as digits.
std::string Visit(TList& list, TDelegateOrder order, const std::function<void(int)>& during) {
  std::string visited;
  TList::TIteration iteration(list, order);
  while (std::optional<int> handler = iteration.Next()) {
    visited += std::to_string(*handler);
    if (during) during(*handler);
  }
  return visited;
}

TEST(DelegateListTest, ChangesDuringAnIteration) {
  struct Case {
    const char* Name;
    TDelegateOrder Order;
    int At;  // the handler whose visit acts on the list
    std::function<void(TList&)> Act;
    const char* Visited;
    const char* After;
  };
  const Case cases[] = {
      {"forward", doForward, 0, nullptr, "123", "123"},
      {"backward", doBackward, 0, nullptr, "321", "123"},
      {"forward removes a later one", doForward, 1, [](TList& l) { l.Remove(3, drAll); }, "12", "12"},
      {"backward removes a later one", doBackward, 3, [](TList& l) { l.Remove(1, drAll); }, "32", "23"},
      {"forward removes an earlier one", doForward, 2, [](TList& l) { l.Remove(1, drAll); }, "123", "23"},
      {"backward removes an earlier one", doBackward, 2, [](TList& l) { l.Remove(3, drAll); }, "321", "12"},
      {"removes itself", doForward, 2, [](TList& l) { l.Remove(2, drAll); }, "123", "13"},
      {"forward adds", doForward, 1, [](TList& l) { l.Add(4); }, "123", "1234"},
      {"backward adds", doBackward, 3, [](TList& l) { l.Add(4); }, "321", "1234"},
      {"forward with added", doForwardWithAdded, 3, [](TList& l) { l.Add(4); }, "1234", "1234"},
      {"removed and added again waits", doForward, 1,
       [](TList& l) {
         l.Remove(2, drAll);
         l.Add(2);
       },
       "13", "132"},
      {"clear", doForward, 2, [](TList& l) { l.Clear(); }, "12", ""},
  };
  for (const Case& c : cases) {
    TList list;
    Fill(list, {1, 2, 3});
    EXPECT_EQ(Visit(list, c.Order, [&](int h) { if (h == c.At) c.Act(list); }), c.Visited) << c.Name;
    EXPECT_FALSE(list.Iterating()) << c.Name;
    EXPECT_EQ(Contents(list), c.After) << c.Name;
  }
}

TEST(DelegateListTest, DuplicatesAndRemoval) {
  struct Case {
    TDelegateDuplicates Duplicates;
    TDelegateRemoval Which;
    int Times;       // how often Remove(1) is called
    bool Iterating;  // removed when a forward iteration visits handler 2
    const char* Visited;
    const char* After;
  };
  const Case cases[] = {
      {ddAccept, drFirst, 1, false, "", "2131"},
      {ddAccept, drLast, 1, false, "", "1213"},
      {ddAccept, drLast, 2, false, "", "123"},
      {ddAccept, drAll, 1, false, "", "23"},
      {ddIgnore, drAll, 1, false, "", "23"},
      {ddAccept, drFirst, 1, true, "12131", "2131"},
      {ddAccept, drFirst, 2, true, "1231", "231"},  // the marked copy is not taken twice
      {ddAccept, drLast, 1, true, "1213", "1213"},
      {ddAccept, drLast, 2, true, "123", "123"},
      {ddAccept, drAll, 1, true, "123", "23"},
      {ddIgnore, drFirst, 1, true, "123", "23"},
  };
  for (const Case& c : cases) {
    TList list(c.Duplicates);
    Fill(list, {1, 2, 1, 3, 1});  // ddIgnore keeps the first 1
    EXPECT_EQ(Contents(list), c.Duplicates == ddAccept ? "12131" : "123");
    auto remove = [&] {
      for (int i = 0; i < c.Times; ++i) list.Remove(1, c.Which);
    };
    std::string visited;
    if (c.Iterating)
      visited = Visit(list, doForward, [&](int h) { if (h == 2) remove(); });
    else
      remove();
    EXPECT_EQ(visited, c.Visited) << c.Which << " x" << c.Times;
    EXPECT_EQ(Contents(list), c.After) << c.Which << " x" << c.Times;
  }
}

TEST(DelegateListTest, NestedIterationsKeepTheirPlace) {
  TList list;
  Fill(list, {1, 2, 3});
  std::string inner;
  const std::string outer = Visit(list, doForward, [&](int h) {
    if (h != 2) return;
    inner = Visit(list, doBackward, [&](int g) {
      if (g != 3) return;
      list.Remove(3, drAll);
      list.Remove(1, drAll);
      list.Add(4);
    });
    // The outer iteration still runs: the removed entries wait, but the
    // list already answers without them.
    EXPECT_TRUE(list.Iterating());
    EXPECT_EQ(Contents(list), "24");
    EXPECT_THROW(list.Items(2), EListError);
  });
  EXPECT_EQ(inner, "32");
  EXPECT_EQ(outer, "12");
  EXPECT_EQ(Contents(list), "24");
}

TEST(DelegateListTest, AHandlerThatRaisesLeavesTheListSound) {
  for (bool nested : {false, true}) {
    TList list;
    Fill(list, {1, 2, 3});
    auto raise = [&](int h) {
      if (h != 2) return;
      list.Remove(1, drAll);
      list.Remove(3, drAll);
      throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(Visit(list, doForward, [&](int h) { nested ? (void)Visit(list, doBackward, raise) : raise(h); }),
                 std::runtime_error);
    EXPECT_FALSE(list.Iterating()) << nested;
    EXPECT_EQ(Contents(list), "2") << nested;
    list.Add(1);
    EXPECT_EQ(Visit(list, doBackward, nullptr), "12") << nested;
  }
}

}  // namespace
}  // namespace vk
