#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include "platform/Events.h"
#include "platform/Objects.h"

namespace vk {
namespace {

TEST(SysUtilsTest, StrToIntAcceptsDecimalAndHexAndRejectsTheRest) {
  struct Case {
    const char* Text;
    bool Valid;
    int Value;
  } cases[] = {
      {"0", true, 0},           {"-17", true, -17},     {"+5", true, 5},
      {"$1F", true, 31},        {"0x10", true, 16},     {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN}, {"$FFFFFFFF", true, -1}, {"2147483648", false, 0},
      {"", false, 0},           {" 1", false, 0},       {"1 ", false, 0},
      {"12a", false, 0},        {"-", false, 0},        {"$", false, 0},
  };
  for (const auto& c : cases) {
    if (c.Valid) {
      EXPECT_EQ(c.Value, StrToInt(c.Text)) << c.Text;
    } else {
      try {
        StrToInt(c.Text);
        ADD_FAILURE() << "accepted " << c.Text;
      } catch (const EConvertError& e) {
        EXPECT_EQ(std::string("'") + c.Text + "' is not a valid integer value", e.Message());
      }
      EXPECT_EQ(42, StrToIntDef(c.Text, 42));
    }
  }
}

TEST(SysUtilsTest, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int A, B, C, Expected;
  } cases[] = {
      {10, 1, 4, 3},   {10, 1, 3, 3},    {-10, 1, 4, -3}, {5, 1, 2, 3},
      {-5, 1, 2, -3},  {7, 0, 5, 0},     {1, 1, 0, -1},   {2000000000, 3, 2, -1},
      {100, 255, 99, 258}, {3, 2, -4, -2},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Expected, MulDiv(c.A, c.B, c.C)) << c.A << "*" << c.B << "/" << c.C;
}

TEST(SysUtilsTest, FormatAndCaseHelpers) {
  EXPECT_EQ("Invalid stringlist index -3", Format("Invalid stringlist index %d", -3));
  EXPECT_EQ("ABC\xC7\xD1", UpperCase("abC\xC7\xD1"));
  EXPECT_TRUE(SameText("Editor", "EDITOR"));
  EXPECT_FALSE(SameText("Editor", "Editors"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ("a b", Trim(" \t a b \r\n"));
}

struct Listener {
  int Calls = 0;
  void Handle(TObject*) { ++Calls; }
  void Other(TObject*) { Calls += 100; }
};

TEST(EventsTest, DelegatesCallTheirObjectAndCompareByIdentity) {
  Listener a, b;
  TNotifyEvent onA(&a, &Listener::Handle);
  TNotifyEvent onA2(&a, &Listener::Handle);
  TNotifyEvent onAOther(&a, &Listener::Other);
  TNotifyEvent onB(&b, &Listener::Handle);
  TNotifyEvent none;
  EXPECT_TRUE(onA == onA2);
  EXPECT_FALSE(onA == onAOther);
  EXPECT_FALSE(onA == onB);
  EXPECT_FALSE(static_cast<bool>(none));
  EXPECT_TRUE(none == nullptr);
  onA(nullptr);
  onAOther(nullptr);
  onB(nullptr);
  EXPECT_EQ(101, a.Calls);
  EXPECT_EQ(1, b.Calls);
}

TEST(ObjectsTest, AssignOfAnUnknownClassRaises) {
  TPersistent a, b;
  try {
    a.Assign(b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ("Cannot assign a TPersistent to a TPersistent", e.Message());
  }
}

}  // namespace
}  // namespace vk
