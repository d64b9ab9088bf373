#include "platform/StringLists.h"

#include <gtest/gtest.h>

#include "platform/Streams.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

std::vector<std::string> Lines(const TStrings& strings) {
  std::vector<std::string> lines;
  for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings.Get(i));
  return lines;
}

TEST(StringListTest, SetTextStrSplitsAtEveryBreakStyle) {
  struct Case {
    std::string Text;
    std::vector<std::string> Lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"\r\n", {""}},
      {std::string("x\0y\nz", 5), {std::string("x\0y", 3), "z"}},
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetTextStr(c.Text);
    EXPECT_EQ(c.Lines, Lines(list)) << testing::PrintToString(c.Text);
  }
}

TEST(StringListTest, TextEndsEveryLineWithCrLf) {
  TStringList list;
  list.Add("a");
  list.Add("");
  EXPECT_EQ("a\r\n\r\n", list.Text());
}

TEST(StringListTest, SortedListsKeepOrderAndFollowTheDuplicatesPolicy) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
  EXPECT_EQ((std::vector<std::string>{"Apple", "fig", "pear"}), Lines(list));  // dupIgnore, case-insensitive
  EXPECT_EQ(0, list.IndexOf("APPLE"));
  EXPECT_EQ(-1, list.IndexOf("plum"));
  EXPECT_THROW(list.Insert(0, "x"), EListError);

  list.SetDuplicates(dupError);
  try {
    list.Add("FIG");
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ("String list does not allow duplicates", e.Message());
  }
  list.SetDuplicates(dupAccept);
  list.Add("fig");
  EXPECT_EQ(4, list.Count());
  list.SetCaseSensitive(true);
  EXPECT_EQ(-1, list.IndexOf("FIG"));
}

TEST(StringListTest, IndexErrorsCarryTheIndex) {
  TStringList list;
  list.Add("a");
  struct Case {
    std::function<void()> Call;
    const char* Message;
  } cases[] = {
      {[&] { list.Get(1); }, "List index out of bounds (1)"},
      {[&] { list.Delete(-1); }, "List index out of bounds (-1)"},
      {[&] { list.Insert(2, "x"); }, "List index out of bounds (2)"},
      {[&] { list.Put(5, "x"); }, "List index out of bounds (5)"},
  };
  for (const auto& c : cases) {
    try {
      c.Call();
      ADD_FAILURE() << c.Message;
    } catch (const EListError& e) {
      EXPECT_EQ(c.Message, e.Message());
    }
  }
  EXPECT_EQ(1, list.Count());
}

struct ChangeCounter {
  std::vector<std::string> Log;
  void Changing(TObject*) { Log.push_back("changing"); }
  void Changed(TObject*) { Log.push_back("changed"); }
};

TEST(StringListTest, UpdateBracketsMergeChangeNotifications) {
  TStringList list;
  ChangeCounter counter;
  list.OnChanging = TNotifyEvent(&counter, &ChangeCounter::Changing);
  list.OnChange = TNotifyEvent(&counter, &ChangeCounter::Changed);
  list.Add("a");
  EXPECT_EQ((std::vector<std::string>{"changing", "changed"}), counter.Log);
  counter.Log.clear();
  {
    TStringsUpdate outer(list);
    TStringsUpdate inner(list);
    list.Add("b");
    list.Add("c");
  }
  EXPECT_EQ((std::vector<std::string>{"changing", "changed"}), counter.Log);
}

TEST(StringListTest, FileRoundTripWritesCrLfLines) {
  test::TTempFolder folder;
  TStringList list;
  list.SetTextStr("one\ntwo");
  list.SaveToFile(folder.File("list.txt"));
  EXPECT_EQ("one\r\ntwo\r\n", LoadBytesFromFile(folder.File("list.txt")));
  TStringList again;
  again.LoadFromFile(folder.File("list.txt"));
  EXPECT_EQ(Lines(list), Lines(again));
}

TEST(StringListTest, AssignCopiesLinesAndObjects) {
  TStringList source, target;
  TObject marker;
  source.AddObject("a", &marker);
  source.Add("b");
  target.Add("old");
  target.Assign(source);
  EXPECT_EQ(Lines(source), Lines(target));
  EXPECT_EQ(&marker, target.GetObject(0));
}

}  // namespace
}  // namespace vk
