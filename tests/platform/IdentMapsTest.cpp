#include "platform/IdentMaps.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

constexpr TIdentMapEntry Colours[] = {{0, "clBlack"}, {255, "clRed"}, {255, "clAlsoRed"}, {-1, "clNone"}};

TEST(IdentMapsTest, IdentifiersMatchInAnyLetterCase) {
  int value = 7;
  EXPECT_TRUE(IdentToInt("CLRED", value, Colours));
  EXPECT_EQ(255, value);
  EXPECT_TRUE(IdentToInt("clnone", value, Colours));
  EXPECT_EQ(-1, value);
  EXPECT_FALSE(IdentToInt("clRe", value, Colours));
  EXPECT_FALSE(IdentToInt("", value, Colours));
  EXPECT_EQ(-1, value) << "a miss leaves the value alone";
  EXPECT_FALSE(IdentToInt("clRed", value, std::span<const TIdentMapEntry>(Colours, 1)));
}

TEST(IdentMapsTest, ValuesGiveTheFirstName) {
  std::string ident = "kept";
  EXPECT_TRUE(IntToIdent(255, ident, Colours));
  EXPECT_EQ("clRed", ident);
  EXPECT_FALSE(IntToIdent(1, ident, Colours));
  EXPECT_EQ("clRed", ident);
  EXPECT_FALSE(IntToIdent(0, ident, {}));
}

bool TestIdentToInt(const std::string& ident, int& value) { return IdentToInt(ident, value, Colours); }
bool TestIntToIdent(int value, std::string& ident) { return IntToIdent(value, ident, Colours); }

TEST(IdentMapsTest, RegisteredTypesAreFoundByName) {
  RegisterIntegerConsts("TTestColour", TestIdentToInt, TestIntToIdent);
  EXPECT_EQ(&TestIdentToInt, FindIdentToInt("TTestColour"));
  EXPECT_EQ(&TestIntToIdent, FindIntToIdent("TTestColour"));
  EXPECT_EQ(nullptr, FindIdentToInt("TUnknown"));
  EXPECT_EQ(nullptr, FindIntToIdent("TUnknown"));
}

}  // namespace
}  // namespace vk
