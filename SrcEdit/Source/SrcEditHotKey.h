#pragma once
// The hot-key control: a small window that captures one keyboard shortcut.
// The user presses a key combination; the control shows it ("Ctrl+Shift+F5")
// and keeps it as a TShortCut. Modifier combinations listed as invalid are
// replaced by the chosen modifiers, so the shortcut never stands alone.

#include <cstdint>
#include <string>

#include "platform/Controls.h"
#include "platform/Keyboard.h"
#include "platform/Sets.h"

namespace vk {

enum THKModifier : uint8_t { hkShift, hkCtrl, hkAlt };
using THKModifiers = TSet<THKModifier>;

// A combination of held modifiers, by the Shift, Ctrl and Alt flags.
enum THKInvalidKey : uint8_t { hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt };
using THKInvalidKeys = TSet<THKInvalidKey>;

// The combination the Shift, Ctrl and Alt flags of a shift state make.
THKInvalidKey ShiftStateToInvalidKey(TShiftState shift);
// The shift state of a set of modifiers.
TShiftState ModifiersToShiftState(THKModifiers modifiers);
// "Ctrl+", "Shift+", "Alt+" (in this order) and the key's name; "(None)"
// when that is empty.
std::string HotKeyText(uint16_t key, TShiftState shift);

class TSrcHotKey : public TCustomControl {
public:
  // Border bsSingle, InvalidKeys [hcNone, hcShift], Modifiers [hkAlt],
  // HotKey Alt+A, Color clWindow (not the parent's), TabStop.
  explicit TSrcHotKey(TComponent* owner);
  std::string ClassName() const override { return "TSrcHotKey"; }

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  // A change recreates the window.
  void SetBorderStyle(TBorderStyle value);
  TShortCut HotKey() const { return FHotKey; }
  // An invalid modifier combination becomes Modifiers; the text follows.
  // A value without a key clears the shortcut.
  void SetHotKey(TShortCut value);
  THKInvalidKeys InvalidKeys() const { return FInvalidKeys; }
  void SetInvalidKeys(THKInvalidKeys value);
  THKModifiers Modifiers() const { return FModifiers; }
  void SetModifiers(THKModifiers value);

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoExit() override;

private:
  // The shift state with an invalid combination replaced by Modifiers.
  TShiftState ValidShift(TShiftState shift) const;
  void ShowText(const std::string& text);
  void MoveCaretToTextEnd();

  TBorderStyle FBorderStyle = bsSingle;
  TShortCut FHotKey = 0;
  THKInvalidKeys FInvalidKeys{hcNone, hcShift};
  THKModifiers FModifiers{hkAlt};
  // The last key pressed was itself a held modifier key.
  bool FModifierOnly = false;
};

}  // namespace vk
