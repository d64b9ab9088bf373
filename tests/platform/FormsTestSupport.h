#pragma once
// What the form tests share: a case that starts and ends with a clean
// application (no forms, no answers left, no keys held) and fails when a
// message box nobody scripted came up, a way to press keys, and menu items
// built in one call.

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/InputState.h"
#include "platform/Menus.h"
#include "platform/MessageBoxes.h"

namespace vk::test {

// A new item with the caption in the group, added to the parent's end.
inline TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::string& caption, int group = 0) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  item->SetGroupIndex(group);
  parent->Add(item);
  return item;
}

class TFormsCase : public testing::Test {
protected:
  void TearDown() override {
    Application().Reset();
    EXPECT_TRUE(MessageBoxAnswers().Unscripted().empty());
    EXPECT_EQ(MessageBoxAnswers().Pending(), 0u);
    EXPECT_EQ(ModalAnswers().Pending(), 0u);
    MessageBoxAnswers().Clear();
    ModalAnswers().Clear();
    ReleaseAllKeys();
  }

  // Presses the key with Shift, Ctrl and Alt as the shift state says, on
  // the focused control, as the keyboard does; true when the control got it.
  static bool PressKey(uint16_t key, TShiftState shift = {}) {
    SetKeyDown(VK_SHIFT, shift.Contains(ssShift));
    SetKeyDown(VK_CONTROL, shift.Contains(ssCtrl));
    SetKeyDown(VK_MENU, shift.Contains(ssAlt));
    const bool alt = shift.Contains(ssAlt) && !shift.Contains(ssCtrl);
    bool delivered =
        Application().KeyboardMessage(*FocusedControl(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? AltMask : 0);
    ReleaseAllKeys();
    return delivered;
  }
};

}  // namespace vk::test
