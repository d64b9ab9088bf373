#pragma once
// Sizes the desktop reports: the screen, scroll bars, the drag threshold and
// the wheel setting. The screen size is a desktop service: the backend sets
// it from the real screen, tests set it by hand.

namespace vk {

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;   // width of a vertical scroll bar
constexpr int SM_CYHSCROLL = 3;   // height of a horizontal scroll bar
constexpr int SM_CYCAPTION = 4;   // height of a window's caption
constexpr int SM_CXDLGFRAME = 7;  // frame of a dialog window
constexpr int SM_CYMENU = 15;     // height of a menu bar
constexpr int SM_CYVSCROLL = 20;  // height of a vertical scroll bar's arrow button
constexpr int SM_CXHSCROLL = 21;  // width of a horizontal scroll bar's arrow button
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXFRAME = 32;    // frame of a sizeable window
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;

// 0 for an index the layer does not know.
int GetSystemMetrics(int index);

// 1024 x 768 until set.
void SetScreenSize(int width, int height);

// Lines scrolled per wheel notch; -1 means a page. 3 until set.
int WheelScrollLines();
void SetWheelScrollLines(int lines);

}  // namespace vk
