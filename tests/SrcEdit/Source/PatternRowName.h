#pragma once
// Names the rows of a table of patterns for ctest and --gtest_filter: the
// row's number and the letters and digits of its pattern, the same in every
// build (gtest would name a row it cannot print by its bytes).

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace vk {

template <class Row>
std::string PatternRowName(const ::testing::TestParamInfo<Row>& info) {
  std::string name = "row" + std::to_string(info.index);
  std::string letters;
  for (char c : std::string_view(info.param.Pattern))
    if (std::isalnum(static_cast<unsigned char>(c)) && letters.size() < 24) letters += c;
  if (!letters.empty()) name += "_" + letters;
  return name;
}

}  // namespace vk
