#pragma once
// The messages of the system's edit controls: a single-line edit, a memo
// and the editor's memo answer them. Character indexes are byte offsets in
// the text, a line break counting as two characters; line indexes start
// at 0.

#include <cstdint>

#include "platform/Controls.h"

namespace vk {

constexpr uint32_t EM_GETSEL = 0x00B0;    // WParam, LParam: int32_t* or 0 for start, end
constexpr uint32_t EM_SETSEL = 0x00B1;    // WParam: start, LParam: end
constexpr uint32_t EM_GETMODIFY = 0x00B8;
constexpr uint32_t EM_SETMODIFY = 0x00B9;  // WParam: flag
constexpr uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr uint32_t EM_REPLACESEL = 0x00C2;  // WParam: can undo, LParam: const char*
constexpr uint32_t EM_GETLINE = 0x00C4;     // WParam: line index, LParam: buffer
constexpr uint32_t EM_CANUNDO = 0x00C6;
constexpr uint32_t EM_UNDO = 0x00C7;
constexpr uint32_t EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr uint32_t EM_CHARFROMPOS = 0x00D7;            // LParam: x | y << 16
constexpr uint32_t EM_GETSELTEXT = WM_USER + 62;      // WParam: buffer size, LParam: char*

}  // namespace vk
