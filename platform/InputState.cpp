#include "platform/InputState.h"

#include <bitset>

#include "platform/Controls.h"

namespace vk {

namespace {

std::bitset<256> GKeysDown;
TPoint GCursorPos;
TCursor GPointerShape = crDefault;

bool Down(uint16_t key) { return GKeysDown.test(key & 0xFF); }

}  // namespace

int16_t GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 0xFF) return 0;
  return Down(static_cast<uint16_t>(virtualKey)) ? static_cast<int16_t>(0x8000 - 0x10000) : 0;
}

void SetKeyDown(uint16_t virtualKey, bool down) {
  if (virtualKey > 0xFF) return;
  GKeysDown.set(virtualKey, down);
}

void ReleaseAllKeys() { GKeysDown.reset(); }

TShiftState KeyboardStateToShiftState() {
  TShiftState shift;
  if (Down(VK_SHIFT)) shift.Include(ssShift);
  if (Down(VK_CONTROL)) shift.Include(ssCtrl);
  if (Down(VK_MENU)) shift.Include(ssAlt);
  if (Down(VK_LBUTTON)) shift.Include(ssLeft);
  if (Down(VK_RBUTTON)) shift.Include(ssRight);
  if (Down(VK_MBUTTON)) shift.Include(ssMiddle);
  return shift;
}

TShiftState KeyDataToShiftState(intptr_t keyData) {
  TShiftState shift;
  if (Down(VK_SHIFT)) shift.Include(ssShift);
  if (Down(VK_CONTROL)) shift.Include(ssCtrl);
  if (keyData & AltMask) shift.Include(ssAlt);
  return shift;
}

TShiftState KeysToShiftState(uintptr_t keys) {
  TShiftState shift;
  if (keys & MK_SHIFT) shift.Include(ssShift);
  if (keys & MK_CONTROL) shift.Include(ssCtrl);
  if (keys & MK_LBUTTON) shift.Include(ssLeft);
  if (keys & MK_RBUTTON) shift.Include(ssRight);
  if (keys & MK_MBUTTON) shift.Include(ssMiddle);
  if (Down(VK_MENU)) shift.Include(ssAlt);
  return shift;
}

bool GetCursorPos(TPoint& point) {
  point = GCursorPos;
  return true;
}

void SetCursorPos(int x, int y) { GCursorPos = {x, y}; }

TCursor PointerShape() { return GPointerShape; }

void SetPointerShape(TCursor cursor) { GPointerShape = cursor; }

}  // namespace vk
