#include "platform/Keyboard.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

TEST(ShiftStateTest, BitsAreTheStoredByte) {
  EXPECT_EQ(1, TShiftState({ssShift}).Mask());
  EXPECT_EQ(2, TShiftState({ssAlt}).Mask());
  EXPECT_EQ(4, TShiftState({ssCtrl}).Mask());
  EXPECT_EQ(0x40, TShiftState({ssDouble}).Mask());
  EXPECT_EQ(TShiftState({ssShift, ssCtrl}), TShiftState::FromMask(5));
}

TEST(ShortCutTest, CombinesKeyAndModifiers) {
  struct Case {
    uint16_t key;
    TShiftState shift;
    TShortCut expected;
  } cases[] = {
      {VK_RETURN, {ssShift}, 8205},
      {VK_F1, {}, 112},
      {'A', {ssCtrl}, 0x4041},
      {'Z', {ssShift, ssCtrl, ssAlt}, 0xE05A},
      {VK_UP, {ssLeft, ssDouble}, VK_UP},  // mouse buttons are no part of a shortcut
      {0x100, {ssCtrl}, 0},                // no shortcut holds a key above 255
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ShortCut(c.key, c.shift)) << c.key;
    uint16_t key;
    TShiftState shift{ssMiddle};
    ShortCutToKey(c.expected, key, shift);
    if (c.expected == 0) continue;
    EXPECT_EQ(c.key, key);
    EXPECT_EQ(c.shift - TShiftState({ssLeft, ssDouble}), shift);
  }
}

TEST(ShortCutTest, NamesKeysTheWayMenusShowThem) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  } cases[] = {
      {scCtrl | 'A', "Ctrl+A"},
      {scShift | scCtrl | 'A', "Shift+Ctrl+A"},
      {scShift | scCtrl | scAlt | '7', "Shift+Ctrl+Alt+7"},
      {scShift | VK_RETURN, "Shift+Enter"},
      {scAlt | VK_BACK, "Alt+BkSp"},
      {VK_TAB, "Tab"},
      {VK_ESCAPE, "Esc"},
      {VK_SPACE, "Space"},
      {VK_PRIOR, "PgUp"},
      {VK_NEXT, "PgDn"},
      {VK_END, "End"},
      {VK_HOME, "Home"},
      {VK_LEFT, "Left"},
      {VK_UP, "Up"},
      {VK_RIGHT, "Right"},
      {VK_DOWN, "Down"},
      {VK_INSERT, "Ins"},
      {VK_DELETE, "Del"},
      {VK_F1, "F1"},
      {VK_F24, "F24"},
      {VK_ADD, "Num +"},
      {VK_SUBTRACT, "Num -"},
      {VK_MULTIPLY, "Num *"},
      {VK_DIVIDE, "Num /"},
      {VK_DECIMAL, "Num Del"},
      {VK_NUMPAD0 + 5, "Num 5"},
      {VK_OEM_COMMA, ","},
      {0, ""},
      {scCtrl, ""},           // modifiers alone name nothing
      {VK_SHIFT, ""},         // neither does a key without a name
      {0x1000 | 'A', ""},     // nor bits between the key and the modifiers
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, ShortCutToText(c.shortCut)) << c.shortCut;
}

TEST(ShortCutTest, EveryNamedShortcutReadsBack) {
  int named = 0;
  for (int key = 0; key <= 0xFF; ++key)
    for (int modifiers : {0, scShift | 0, scCtrl | 0, scAlt | 0, scShift | scCtrl, scShift | scCtrl | scAlt}) {
      TShortCut shortCut = static_cast<TShortCut>(key | modifiers);
      std::string text = ShortCutToText(shortCut);
      if (text.empty()) continue;
      ++named;
      EXPECT_EQ(shortCut, TextToShortCut(text)) << text;
    }
  EXPECT_GT(named, 6 * 90);
}

TEST(ShortCutTest, ReadsModifiersInAnyOrderAndCase) {
  struct Case {
    const char* text;
    TShortCut expected;
  } cases[] = {
      {"Ctrl+Shift+A", scShift | scCtrl | 'A'},
      {"ctrl+shift+a", scShift | scCtrl | 'A'},
      {"^A", scCtrl | 'A'},
      {"ALT+bksp", scAlt | VK_BACK},
      {"num +", VK_ADD},
      {"Ctrl+-", scCtrl | VK_OEM_MINUS},
      {"Ctrl+", 0},
      {"", 0},
      {"Hyper+A", 0},
      {"Ctrl+AB", 0},
      {" Ctrl+A", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, TextToShortCut(c.text)) << c.text;
}

}  // namespace
}  // namespace vk
