#pragma once
// Keys as the class library numbers them: virtual-key codes, the modifier and
// button state of a key or mouse event, and shortcuts (a key code with
// modifier bits) with their readable names ("Shift+Ctrl+A", "PgDn", "Num +").

#include <cstdint>
#include <string>

#include "platform/Events.h"
#include "platform/Sets.h"

namespace vk {

// Virtual-key codes. Digits and letters are their upper-case character codes
// ('0'..'9' = 0x30..0x39, 'A'..'Z' = 0x41..0x5A) and have no names here.
constexpr uint16_t VK_LBUTTON = 0x01;
constexpr uint16_t VK_RBUTTON = 0x02;
constexpr uint16_t VK_CANCEL = 0x03;
constexpr uint16_t VK_MBUTTON = 0x04;
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_CLEAR = 0x0C;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_PAUSE = 0x13;
constexpr uint16_t VK_CAPITAL = 0x14;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint16_t VK_NEXT = 0x22;
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_SELECT = 0x29;
constexpr uint16_t VK_PRINT = 0x2A;
constexpr uint16_t VK_EXECUTE = 0x2B;
constexpr uint16_t VK_SNAPSHOT = 0x2C;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_HELP = 0x2F;
constexpr uint16_t VK_LWIN = 0x5B;
constexpr uint16_t VK_RWIN = 0x5C;
constexpr uint16_t VK_APPS = 0x5D;
constexpr uint16_t VK_NUMPAD0 = 0x60;
constexpr uint16_t VK_NUMPAD1 = 0x61;
constexpr uint16_t VK_NUMPAD2 = 0x62;
constexpr uint16_t VK_NUMPAD3 = 0x63;
constexpr uint16_t VK_NUMPAD4 = 0x64;
constexpr uint16_t VK_NUMPAD5 = 0x65;
constexpr uint16_t VK_NUMPAD6 = 0x66;
constexpr uint16_t VK_NUMPAD7 = 0x67;
constexpr uint16_t VK_NUMPAD8 = 0x68;
constexpr uint16_t VK_NUMPAD9 = 0x69;
constexpr uint16_t VK_MULTIPLY = 0x6A;
constexpr uint16_t VK_ADD = 0x6B;
constexpr uint16_t VK_SEPARATOR = 0x6C;
constexpr uint16_t VK_SUBTRACT = 0x6D;
constexpr uint16_t VK_DECIMAL = 0x6E;
constexpr uint16_t VK_DIVIDE = 0x6F;
constexpr uint16_t VK_F1 = 0x70;  // VK_F1 + n - 1 is Fn, up to F24
constexpr uint16_t VK_F2 = 0x71;
constexpr uint16_t VK_F3 = 0x72;
constexpr uint16_t VK_F4 = 0x73;
constexpr uint16_t VK_F5 = 0x74;
constexpr uint16_t VK_F6 = 0x75;
constexpr uint16_t VK_F7 = 0x76;
constexpr uint16_t VK_F8 = 0x77;
constexpr uint16_t VK_F9 = 0x78;
constexpr uint16_t VK_F10 = 0x79;
constexpr uint16_t VK_F11 = 0x7A;
constexpr uint16_t VK_F12 = 0x7B;
constexpr uint16_t VK_F24 = 0x87;
constexpr uint16_t VK_NUMLOCK = 0x90;
constexpr uint16_t VK_SCROLL = 0x91;
constexpr uint16_t VK_LSHIFT = 0xA0;
constexpr uint16_t VK_RSHIFT = 0xA1;
constexpr uint16_t VK_LCONTROL = 0xA2;
constexpr uint16_t VK_RCONTROL = 0xA3;
constexpr uint16_t VK_LMENU = 0xA4;
constexpr uint16_t VK_RMENU = 0xA5;
constexpr uint16_t VK_OEM_1 = 0xBA;       // ;
constexpr uint16_t VK_OEM_PLUS = 0xBB;    // =
constexpr uint16_t VK_OEM_COMMA = 0xBC;   // ,
constexpr uint16_t VK_OEM_MINUS = 0xBD;   // -
constexpr uint16_t VK_OEM_PERIOD = 0xBE;  // .
constexpr uint16_t VK_OEM_2 = 0xBF;       // /
constexpr uint16_t VK_OEM_3 = 0xC0;       // `
constexpr uint16_t VK_OEM_4 = 0xDB;       // [
constexpr uint16_t VK_OEM_5 = 0xDC;       // backslash
constexpr uint16_t VK_OEM_6 = 0xDD;       // ]
constexpr uint16_t VK_OEM_7 = 0xDE;       // '
constexpr uint16_t VK_OEM_102 = 0xE2;
constexpr uint16_t VK_PROCESSKEY = 0xE5;  // a key the input method took
constexpr uint16_t VK_PACKET = 0xE7;      // a character without a key of its own

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

// The modifiers and mouse buttons held during an input event, bit n = item n
// (ssShift 1, ssAlt 2, ssCtrl 4, ...); stored key bindings keep the low byte.
using TShiftState = TSet<TShiftStateItem>;

// A key with its modifiers in one 16-bit number: the key code in the low
// byte and one bit per modifier; 0 is no shortcut.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The shortcut of a key with the Shift, Ctrl and Alt parts of the shift
// state; 0 for a key code above 255, which no shortcut can hold.
TShortCut ShortCut(uint16_t key, TShiftState shift);
// Splits a shortcut into its key (every bit but the modifiers) and shift.
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Shift+", "Ctrl+", "Alt+" (in that order) and the key's name; empty when
// the key has no name.
std::string ShortCutToText(TShortCut shortCut);
// The shortcut a text names, modifiers in any order and any letter case
// ("^" stands for "Ctrl+"); 0 when the text names no key.
TShortCut TextToShortCut(const std::string& text);

// Key events of a control: the handler may change the key (0 swallows it).
using TKeyEvent = TDelegate<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TDelegate<void(TObject* Sender, char& Key)>;

}  // namespace vk
