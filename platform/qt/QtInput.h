#pragma once
// Qt's keyboard and mouse vocabulary in the system's terms: virtual keys, the
// characters a key types, key data, MK_ flags, the held keys and buttons of
// the input state, and pointer shapes.

#include <QtCore/QString>
#include <QtCore/Qt>
#include <cstdint>
#include <string>

#include "platform/Mouse.h"

class QKeyEvent;

namespace vk {

// The virtual key of a Qt key code; 0 when the system has none for it.
// Shifted symbols give the key they are on ('!' is '1', ':' is VK_OEM_1, US
// layout); keypad keys give the keypad's own keys.
uint16_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// The character codes (bytes in the ANSI code page) a key press types, as
// the system's keyboard translation makes them: Ctrl with a letter or
// bracket gives its control code, Backspace, Tab, Enter and Escape their
// codes, other keys the text Qt reports (control characters in it dropped).
std::string TypedChars(uint16_t virtualKey, Qt::KeyboardModifiers modifiers, const QString& text);

// An Alt chord (Alt without Ctrl; Ctrl+Alt is AltGr, which types) of a key
// that has a character: a label's or a menu's key, which never types.
bool IsAltCharacter(const QKeyEvent& event);

// The key data of a key message: repeat count 1, bit 29 with Alt held,
// bit 30 when the key was down before, bit 31 on release.
intptr_t KeyData(bool alt, bool repeat, bool release);

// Shift, Ctrl and Alt as held keys of the input state.
void SetModifierKeys(Qt::KeyboardModifiers modifiers);
// The mouse buttons as held keys of the input state.
void SetButtonKeys(Qt::MouseButtons buttons);
// The MK_ flags of a mouse message.
uintptr_t MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

Qt::CursorShape CursorShapeOf(TCursor cursor);

}  // namespace vk
