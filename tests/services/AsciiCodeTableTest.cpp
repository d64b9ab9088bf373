#include "services/AsciiCodeTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace vk {
namespace {

std::vector<std::string> SplitAtTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

TEST(AsciiCodeTableTest, EachCodeShowsItsCharacterHexOctalAndDecimal) {
  const std::vector<std::string> lines = AsciiCodeTableLines();
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines[0], "Char\t        Hex\tOct\tDec  |\tChar\tHex\tOct\tDec  |\tChar\tHex\tOct\tDec  |\tChar\tHex\tOct\tDec");
  for (int row = 0; row < 32; ++row) {
    const std::vector<std::string> fields = SplitAtTabs(lines[row + 1]);
    ASSERT_EQ(fields.size(), 16u) << lines[row + 1];
    for (int group = 0; group < 4; ++group) {
      const int code = row + 32 * group;
      const std::string* f = &fields[group * 4];
      EXPECT_EQ(f[0], AsciiCodeLabel(code));
      EXPECT_EQ(std::strtol(f[1].c_str() + 2, nullptr, 16), code) << f[1];
      EXPECT_EQ(f[1].substr(0, 2), "0X");
      EXPECT_EQ(std::strtol(f[2].c_str(), nullptr, 8), code) << f[2];
      EXPECT_EQ(f[3], group < 3 ? (std::to_string(code) + "     ").substr(0, 5) + "|" : std::to_string(code));
    }
  }
  EXPECT_EQ(lines[13].substr(0, 21), "Ctrl-L FF\t0X0C\t14\t12 ");
}

TEST(AsciiCodeTableTest, ControlCodesSpaceAndDeleteHaveNames) {
  EXPECT_EQ(AsciiCodeLabel(0), "Ctrl-@ NUL");
  EXPECT_EQ(AsciiCodeLabel(13), "Ctrl-M CR");
  EXPECT_EQ(AsciiCodeLabel(31), "Ctrl-_ US");
  EXPECT_EQ(AsciiCodeLabel(32), "Space");
  EXPECT_EQ(AsciiCodeLabel(65), "A");
  EXPECT_EQ(AsciiCodeLabel(127), "DEL");
}

}  // namespace
}  // namespace vk
