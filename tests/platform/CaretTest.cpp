#include "platform/Caret.h"

#include <gtest/gtest.h>

#include "platform/Controls.h"

namespace vk {
namespace {

TEST(CaretTest, HidingCountsAndOnlyTheOwnerShowsIt) {
  TWinControl owner(nullptr), other(nullptr);
  EXPECT_FALSE(CreateCaret(owner, 2, 16));  // no window yet
  owner.HandleNeeded();
  ASSERT_TRUE(CreateCaret(owner, 2, 16));
  EXPECT_EQ(CaretState().Owner, &owner);
  EXPECT_FALSE(CaretState().Visible());  // a new caret is hidden
  EXPECT_TRUE(ShowCaret(&owner));
  EXPECT_TRUE(CaretState().Visible());
  EXPECT_TRUE(ShowCaret(&owner));  // no deeper than shown
  EXPECT_TRUE(HideCaret(&owner));
  EXPECT_TRUE(HideCaret(nullptr));
  EXPECT_TRUE(ShowCaret(&owner));
  EXPECT_FALSE(CaretState().Visible());
  EXPECT_FALSE(ShowCaret(&other));
  EXPECT_TRUE(ShowCaret(nullptr));
  EXPECT_TRUE(CaretState().Visible());

  EXPECT_TRUE(SetCaretPos(7, 9));
  TPoint pos;
  EXPECT_TRUE(GetCaretPos(pos));
  EXPECT_EQ(pos, Point(7, 9));
  EXPECT_EQ(CaretState().Width, 2);
  EXPECT_EQ(CaretState().Height, 16);

  // A new caret replaces the old one, hidden at the origin.
  other.HandleNeeded();
  ASSERT_TRUE(CreateCaret(other, 1, 10));
  EXPECT_EQ(CaretState().Pos, Point(0, 0));
  EXPECT_EQ(CaretState().HideCount, 1);
  EXPECT_FALSE(HideCaret(&owner));
  EXPECT_TRUE(DestroyCaret());
  EXPECT_FALSE(DestroyCaret());
  EXPECT_FALSE(SetCaretPos(1, 1));
  EXPECT_FALSE(ShowCaret(nullptr));
}

TEST(CaretTest, TheCaretGoesWithItsWindow) {
  TWinControl owner(nullptr);
  owner.HandleNeeded();
  CreateCaret(owner, 2, 16);
  owner.DestroyHandle();
  EXPECT_EQ(CaretState().Owner, nullptr);
  {
    TWinControl shortLived(nullptr);
    shortLived.HandleNeeded();
    CreateCaret(shortLived, 2, 16);
  }
  EXPECT_EQ(CaretState().Owner, nullptr);
}

}  // namespace
}  // namespace vk
