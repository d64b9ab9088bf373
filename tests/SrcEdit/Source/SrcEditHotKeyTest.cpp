#include "SrcEdit/Source/SrcEditHotKey.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/Caret.h"
#include "platform/InputState.h"
#include "platform/RecordingCanvas.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

constexpr TShortCut Key(uint16_t key, TShortCut modifiers = 0) { return static_cast<TShortCut>(key | modifiers); }

class SrcHotKeyTest : public testing::Test {
protected:
  void TearDown() override { ReleaseAllKeys(); }

  // Delivers a key press (or release) the way the desktop does: the held
  // modifiers in the keyboard state, Alt in the key data.
  void Send(uint32_t msg, uint16_t key, TShiftState shift) {
    SetKeyDown(VK_SHIFT, shift.Contains(ssShift));
    SetKeyDown(VK_CONTROL, shift.Contains(ssCtrl));
    SetKeyDown(VK_MENU, shift.Contains(ssAlt));
    FHotKey.Perform(msg, key, shift.Contains(ssAlt) ? AltMask : 0);
  }
  void Press(uint16_t key, TShiftState shift) { Send(WM_KEYDOWN, key, shift); }
  void Release(uint16_t key, TShiftState shift) { Send(WM_KEYUP, key, shift); }

  test::TFontMetricsScope FMetrics{{.CellWidth = 8, .CellHeight = 16}};
  TSrcHotKey FHotKey{nullptr};
};

TEST_F(SrcHotKeyTest, ConstructorDefaults) {
  EXPECT_EQ(FHotKey.HotKey(), Key('A', scAlt));
  EXPECT_EQ(FHotKey.Text(), "Alt+A");
  EXPECT_EQ(FHotKey.BorderStyle(), bsSingle);
  EXPECT_EQ(FHotKey.InvalidKeys(), (THKInvalidKeys{hcNone, hcShift}));
  EXPECT_EQ(FHotKey.Modifiers(), THKModifiers{hkAlt});
  EXPECT_FALSE(FHotKey.ParentColor());
  EXPECT_EQ(FHotKey.Color(), clWindow);
  EXPECT_TRUE(FHotKey.TabStop());
}

TEST_F(SrcHotKeyTest, KeyPressesBuildTheShortcut) {
  struct {
    const char* Name;
    THKInvalidKeys InvalidKeys;
    uint16_t Key;
    TShiftState Shift;
    TShortCut HotKey;
    const char* Text;
  } cases[] = {
      {"A alone gets Alt", {hcNone, hcShift}, 'A', {}, Key('A', scAlt), "Alt+A"},
      {"Shift is replaced by Alt", {hcNone, hcShift}, VK_F5, {ssShift}, Key(VK_F5, scAlt), "Alt+F5"},
      {"Ctrl+Shift is valid", {hcNone, hcShift}, VK_F5, {ssCtrl, ssShift}, Key(VK_F5, scCtrl | scShift),
       "Ctrl+Shift+F5"},
      {"all three in fixed order", {hcNone, hcShift}, 'X', {ssAlt, ssShift, ssCtrl},
       Key('X', scCtrl | scShift | scAlt), "Ctrl+Shift+Alt+X"},
      {"nothing invalid", {}, VK_F2, {}, Key(VK_F2), "F2"},
      {"Ctrl held alone", {hcNone, hcShift}, VK_CONTROL, {ssCtrl}, 0, "Ctrl+"},
      {"Shift held alone shows the replacement", {hcNone, hcShift}, VK_SHIFT, {ssShift}, 0, "Alt+"},
      {"mouse buttons do not count", {hcNone, hcShift}, VK_F3, {ssCtrl, ssLeft}, Key(VK_F3, scCtrl), "Ctrl+F3"},
  };
  for (const auto& c : cases) {
    FHotKey.SetInvalidKeys(c.InvalidKeys);
    Press(c.Key, c.Shift);
    EXPECT_EQ(FHotKey.HotKey(), c.HotKey) << c.Name;
    EXPECT_EQ(FHotKey.Text(), c.Text) << c.Name;
  }
}

TEST_F(SrcHotKeyTest, ReleasingAHeldModifierShowsNone) {
  Press(VK_CONTROL, {ssCtrl});
  EXPECT_EQ(FHotKey.Text(), "Ctrl+");
  Release(VK_CONTROL, {});
  EXPECT_EQ(FHotKey.Text(), "(None)");
  EXPECT_EQ(FHotKey.HotKey(), 0);
  // Releasing the key of a whole shortcut keeps it.
  Press(VK_F5, {ssCtrl});
  Release(VK_F5, {ssCtrl});
  EXPECT_EQ(FHotKey.Text(), "Ctrl+F5");
}

TEST(SrcHotKeyMappingTest, ShiftStatesAndModifiersMapBothWays) {
  struct {
    TShiftState Shift;
    THKInvalidKey Combination;
    THKModifiers Modifiers;
  } cases[] = {
      {{}, hcNone, {}},
      {{ssShift}, hcShift, {hkShift}},
      {{ssCtrl}, hcCtrl, {hkCtrl}},
      {{ssAlt}, hcAlt, {hkAlt}},
      {{ssShift, ssCtrl}, hcShiftCtrl, {hkShift, hkCtrl}},
      {{ssShift, ssAlt}, hcShiftAlt, {hkShift, hkAlt}},
      {{ssCtrl, ssAlt}, hcCtrlAlt, {hkCtrl, hkAlt}},
      {{ssShift, ssCtrl, ssAlt}, hcShiftCtrlAlt, {hkShift, hkCtrl, hkAlt}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShiftStateToInvalidKey(c.Shift), c.Combination);
    EXPECT_EQ(ShiftStateToInvalidKey(c.Shift + TShiftState{ssLeft, ssDouble}), c.Combination);
    EXPECT_EQ(ModifiersToShiftState(c.Modifiers), c.Shift);
  }
  EXPECT_EQ(HotKeyText(0, {}), "(None)");
  EXPECT_EQ(HotKeyText(VK_NEXT, {ssAlt, ssShift}), "Shift+Alt+PgDn");
}

TEST_F(SrcHotKeyTest, ChangingTheRulesReappliesThemAtOnce) {
  FHotKey.SetModifiers({hkCtrl});
  EXPECT_EQ(FHotKey.HotKey(), Key('A', scAlt));  // Alt+A is valid and stays
  FHotKey.SetHotKey(Key('A'));
  EXPECT_EQ(FHotKey.HotKey(), Key('A', scCtrl));
  EXPECT_EQ(FHotKey.Text(), "Ctrl+A");
  FHotKey.SetInvalidKeys({hcNone, hcCtrl});
  EXPECT_EQ(FHotKey.HotKey(), Key('A', scCtrl));  // Ctrl is now invalid: Modifiers is Ctrl itself
  FHotKey.SetModifiers({hkShift, hkAlt});
  EXPECT_EQ(FHotKey.HotKey(), Key('A', scShift | scAlt));
  EXPECT_EQ(FHotKey.Text(), "Shift+Alt+A");
  FHotKey.SetInvalidKeys({});
  FHotKey.SetHotKey(Key(VK_F12, scShift));
  EXPECT_EQ(FHotKey.Text(), "Shift+F12");
}

TEST_F(SrcHotKeyTest, AShortcutWithoutAKeyClearsTheControl) {
  FHotKey.SetHotKey(0);
  EXPECT_EQ(FHotKey.HotKey(), 0);
  EXPECT_EQ(FHotKey.Text(), "(None)");
  FHotKey.SetHotKey(scCtrl);
  EXPECT_EQ(FHotKey.HotKey(), 0);
  EXPECT_EQ(FHotKey.Text(), "(None)");
}

TEST_F(SrcHotKeyTest, TheWindowHasAClientEdgeOrABorder) {
  struct {
    TBorderStyle Border;
    bool Ctl3D;
    uint32_t Style;
    uint32_t ExStyle;
  } cases[] = {
      {bsSingle, true, 0, WS_EX_CLIENTEDGE},
      {bsSingle, false, WS_BORDER, 0},
      {bsNone, true, 0, 0},
  };
  for (const auto& c : cases) {
    TSrcHotKey hotKey(nullptr);
    hotKey.SetBorderStyle(c.Border);
    hotKey.SetCtl3D(c.Ctl3D);
    hotKey.HandleNeeded();
    const TCreateParams& params = hotKey.WindowParams();
    EXPECT_EQ(params.Style & WS_BORDER, c.Style);
    EXPECT_EQ(params.ExStyle & WS_EX_CLIENTEDGE, c.ExStyle);
    EXPECT_TRUE(params.Style & WS_CLIPCHILDREN);
    EXPECT_EQ(params.WindowClass.style & (CS_HREDRAW | CS_VREDRAW), 0u);
  }
  FHotKey.HandleNeeded();
  HWND before = FHotKey.Handle();
  FHotKey.SetBorderStyle(bsNone);
  EXPECT_NE(FHotKey.Handle(), before);
  EXPECT_EQ(FHotKey.WindowParams().ExStyle & WS_EX_CLIENTEDGE, 0u);
  EXPECT_EQ(FHotKey.Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTTAB);
}

TEST_F(SrcHotKeyTest, TheCaretFollowsTheTextWhileFocused) {
  FHotKey.SetBounds(0, 0, 120, 25);
  FHotKey.SetFocus();
  const TCaretState& caret = CaretState();
  ASSERT_EQ(caret.Owner, &FHotKey);
  EXPECT_EQ(caret.Width, 1);
  EXPECT_EQ(caret.Height, 2 - FHotKey.Font().Height());
  EXPECT_EQ(caret.Pos, Point(5 * 8 + 1, 1));  // after "Alt+A"
  EXPECT_TRUE(caret.Visible());
  Press(VK_F5, {ssCtrl, ssShift});
  EXPECT_EQ(caret.Pos, Point(13 * 8 + 1, 1));  // after "Ctrl+Shift+F5"
  Press(VK_SHIFT, {ssShift});
  Release(VK_SHIFT, {});
  EXPECT_EQ(caret.Pos, Point(6 * 8 + 1, 1));  // after "(None)"

  TSrcHotKey other(nullptr);
  other.SetFocus();
  EXPECT_EQ(CaretState().Owner, &other);
  other.Hide();
  EXPECT_EQ(CaretState().Owner, nullptr);
}

TEST_F(SrcHotKeyTest, LeavingWithOnlyAModifierShowsNone) {
  TSrcHotKey other(nullptr);
  FHotKey.SetFocus();
  Press(VK_CONTROL, {ssCtrl});
  other.SetFocus();
  EXPECT_EQ(FHotKey.Text(), "(None)");
  // A whole shortcut stays when the focus leaves.
  FHotKey.SetFocus();
  Press('Q', {ssCtrl});
  other.SetFocus();
  EXPECT_EQ(FHotKey.Text(), "Ctrl+Q");
}

TEST_F(SrcHotKeyTest, AClickTakesTheFocus) {
  FHotKey.SetBounds(0, 0, 120, 25);
  FHotKey.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
  EXPECT_TRUE(FHotKey.Focused());
  FHotKey.Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
}

TEST_F(SrcHotKeyTest, PaintFillsTheClientAreaAndWritesTheText) {
  FHotKey.SetBounds(0, 0, 120, 25);
  FHotKey.SetBorderWidth(2);
  FHotKey.SetCanvas(std::make_unique<TRecordingCanvas>());
  auto& canvas = static_cast<TRecordingCanvas&>(FHotKey.Canvas());
  FHotKey.HandleNeeded();
  canvas.ClearLog();
  FHotKey.Update();
  // Client area: 120 x 25 less the client edge (2) and the border width (2)
  // on each side; Paint shrinks it by the border width once more.
  ASSERT_EQ(canvas.Calls("TextRect").size(), 1u);
  EXPECT_EQ(canvas.Calls("TextRect")[0], "TextRect [2 2 110 15] 3 3 \"Alt+A\"");
  EXPECT_EQ(canvas.Calls("FillRect").back(), "FillRect [2 2 110 15] $00FFFFFF");
}

}  // namespace
}  // namespace vk
