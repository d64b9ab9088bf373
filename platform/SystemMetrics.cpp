#include "platform/SystemMetrics.h"

namespace vk {

namespace {

int GScreenWidth = 1024;
int GScreenHeight = 768;
int GWheelScrollLines = 3;

// The classic desktop's sizes.
constexpr int ScrollBarSize = 17;
constexpr int CaptionSize = 18;
constexpr int MenuBarSize = 19;
constexpr int DialogFrame = 3;
constexpr int SizeableFrame = 4;
constexpr int DragThreshold = 4;

}  // namespace

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return GScreenWidth;
    case SM_CYSCREEN: return GScreenHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return ScrollBarSize;
    case SM_CYCAPTION: return CaptionSize;
    case SM_CYMENU: return MenuBarSize;
    case SM_CXDLGFRAME: return DialogFrame;
    case SM_CXFRAME: return SizeableFrame;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return DragThreshold;
    default: return 0;
  }
}

void SetScreenSize(int width, int height) {
  GScreenWidth = width;
  GScreenHeight = height;
}

int WheelScrollLines() { return GWheelScrollLines; }

void SetWheelScrollLines(int lines) { GWheelScrollLines = lines; }

}  // namespace vk
