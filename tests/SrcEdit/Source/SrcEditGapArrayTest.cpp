#include "SrcEdit/Source/SrcEditGapArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace vk {
namespace {

// Strings own memory, so that a slot left holding a deleted element, or an
// element lost or doubled by a move of the gap, shows here or under ASan.
template <class T>
std::vector<T> Contents(const TSrcGapArray<T>& array) {
  std::vector<T> items;
  for (size_t i = 0; i < array.Count(); ++i) items.push_back(array[i]);
  return items;
}

TEST(SrcEditGapArrayTest, RandomEditsMatchAVector) {
  // Runs short and long, with and without reserved room, so that the gap is
  // opened, moved both ways and outgrown.
  const struct {
    unsigned Seed;
    size_t MaxRun;
    size_t Reserved;
  } cases[] = {{1, 1, 0}, {2, 3, 0}, {3, 40, 0}, {4, 5, 500}};
  for (const auto& c : cases) {
    std::mt19937 random(c.Seed);
    TSrcGapArray<std::string> array;
    array.Reserve(c.Reserved);
    std::vector<std::string> expected;
    for (int step = 0; step < 2000; ++step) {
      const size_t index = std::uniform_int_distribution<size_t>(0, expected.size())(random);
      const size_t run = std::uniform_int_distribution<size_t>(1, c.MaxRun)(random);
      const std::string item = "line " + std::to_string(step) + std::string(step % 40, 'x');
      switch (random() % 5) {
        case 0:
          array.Insert(index, item);
          expected.insert(expected.begin() + index, item);
          break;
        case 1:
          array.Insert(index, run, item);
          expected.insert(expected.begin() + index, run, item);
          break;
        case 2: {
          const std::vector<std::string> items(run, item + "!");
          array.InsertRun(index, items);
          expected.insert(expected.begin() + index, items.begin(), items.end());
          break;
        }
        case 3: {
          const size_t count = std::min(run, expected.size() - index);
          array.Delete(index, count);
          expected.erase(expected.begin() + index, expected.begin() + index + count);
          break;
        }
        default:
          array.MoveGap(index);
          if (!expected.empty()) array[index % expected.size()] = expected[index % expected.size()] = item;
      }
      ASSERT_EQ(expected.size(), array.Count()) << "seed " << c.Seed << " step " << step;
      ASSERT_EQ(expected, Contents(array)) << "seed " << c.Seed << " step " << step;
      // Walked run by run from an index, they are the elements from there on.
      const size_t from = std::min(index, expected.size());
      std::vector<std::string> walked;
      while (from + walked.size() < array.Count()) {
        const std::span<std::string> run = array.RunFrom(from + walked.size());
        ASSERT_FALSE(run.empty()) << "seed " << c.Seed << " step " << step;
        walked.insert(walked.end(), run.begin(), run.end());
      }
      ASSERT_EQ(std::vector<std::string>(expected.begin() + from, expected.end()), walked);
    }
  }
}

TEST(SrcEditGapArrayTest, MovingTheGapPassesOnlyTheCrossingElementsThroughTheFunction) {
  const struct {
    size_t From, To;
    std::vector<int> Expected;
  } cases[] = {
      {6, 2, {0, 1, -2, -3, -4, -5}},
      {1, 4, {0, -1, -2, -3, 4, 5}},
      {3, 3, {0, 1, 2, 3, 4, 5}},
      {0, 6, {0, -1, -2, -3, -4, -5}},
  };
  for (const auto& c : cases) {
    TSrcGapArray<int> array;
    for (int i = 0; i < 6; ++i) array.Add(i);
    array.MoveGap(c.From);
    array.MoveGap(c.To, [](int value) { return -value; });
    EXPECT_EQ(c.To, array.GapIndex());
    EXPECT_EQ(c.Expected, Contents(array)) << c.From << " to " << c.To;
  }
}

}  // namespace
}  // namespace vk
