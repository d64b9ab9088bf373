#include "SrcEdit/Source/SrcEditEditedLines.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vk {
namespace {

// The spans follow the lines: an insertion inside one leaves it on both
// sides of the new lines, a deletion puts the lines it took onto the line
// after them, and they stay few.
TEST(SrcEditedLinesTest, SpansFollowTheLinesAndStayFew) {
  const struct {
    const char* Name;
    std::function<void(TSrcEditedLines&)> Steps;
    std::vector<TSrcLineSpan> Spans;
  } rows[] = {
      {"touching and overlapping spans merge", [](auto& e) { e.Note(5, 6), e.Note(1, 2), e.Note(3, 3), e.Note(6, 8); },
       {{1, 3}, {5, 8}}},
      {"an insertion inside a span splits it", [](auto& e) { e.Note(1, 5), e.Shift(3, 10); }, {{1, 2}, {13, 15}}},
      {"an insertion at a span's start moves it", [](auto& e) { e.Note(3, 5), e.Shift(3, 10); }, {{13, 15}}},
      {"a deletion collapses onto the line after it", [](auto& e) { e.Note(1, 1), e.Note(5, 8), e.Shift(4, -3); },
       {{1, 1}, {4, 5}}},
      {"and merges what it brings together", [](auto& e) { e.Note(1, 1), e.Note(9, 9), e.Shift(2, -7); }, {{1, 2}}},
      {"one span too many: the nearer one around takes the lines",
       [](auto& e) { for (int l : {50, 2, 13, 30, 10, 45, 60, 0}) e.Note(l, l); },
       {{0, 2}, {10, 13}, {30, 30}, {45, 60}}},
      {"a span split in two: the nearest two merge",
       [](auto& e) { e.Note(0, 2), e.Note(10, 12), e.Note(16, 18), e.Note(30, 32), e.Shift(11, 100); },
       {{0, 2}, {10, 10}, {111, 118}, {130, 132}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    TSrcEditedLines edited;
    row.Steps(edited);
    EXPECT_EQ(std::vector<TSrcLineSpan>(edited.Spans().begin(), edited.Spans().end()), row.Spans);
  }
}

}  // namespace
}  // namespace vk
