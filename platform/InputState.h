#pragma once
// The state of the keyboard and the pointer as the desktop reports it: which
// keys are held, where the pointer is on the screen and which pointer shape
// is shown. The Qt backend sets it before it delivers an input message; tests
// set it by hand.

#include <cstdint>

#include "platform/Graphics.h"
#include "platform/Keyboard.h"
#include "platform/Mouse.h"

namespace vk {

// Negative (bit 15 set) while the key is held, as the system answers.
int16_t GetKeyState(int virtualKey);
void SetKeyDown(uint16_t virtualKey, bool down);
// Every key and button up again.
void ReleaseAllKeys();

// Bit 29 of a key message's key data: Alt was held.
constexpr intptr_t AltMask = intptr_t{1} << 29;

// Shift, Ctrl and Alt from the held keys, the buttons from the held buttons.
TShiftState KeyboardStateToShiftState();
// Shift and Ctrl from the held keys, Alt from the key data of a key message.
TShiftState KeyDataToShiftState(intptr_t keyData);
// The buttons and Shift/Ctrl of a mouse message's MK_ flags, Alt from the
// held keys.
TShiftState KeysToShiftState(uintptr_t keys);

// Pointer position in screen coordinates.
bool GetCursorPos(TPoint& point);
void SetCursorPos(int x, int y);

// The pointer shape currently shown (the system's SetCursor).
TCursor PointerShape();
void SetPointerShape(TCursor cursor);

}  // namespace vk
