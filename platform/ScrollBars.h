#pragma once
// The scroll bars a window carries (horizontal and vertical), with the
// system's rules: the page is at most the range, the position is clamped to
// min .. max - (page - 1), a range that needs no scrolling hides the bar or,
// with SIF_DISABLENOSCROLL, disables it. The state is kept in the control,
// where tests and the backend read it.

#include <cstdint>

namespace vk {

class TWinControl;

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

// Bars.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;

// Scroll request codes of WM_HSCROLL / WM_VSCROLL (low word of WParam).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

// TScrollInfo masks.
constexpr uint32_t SIF_RANGE = 0x01;
constexpr uint32_t SIF_PAGE = 0x02;
constexpr uint32_t SIF_POS = 0x04;
constexpr uint32_t SIF_DISABLENOSCROLL = 0x08;
constexpr uint32_t SIF_TRACKPOS = 0x10;
constexpr uint32_t SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Arrow states of EnableScrollBar.
constexpr unsigned ESB_ENABLE_BOTH = 0;
constexpr unsigned ESB_DISABLE_LEFT = 1;
constexpr unsigned ESB_DISABLE_UP = 1;
constexpr unsigned ESB_DISABLE_RIGHT = 2;
constexpr unsigned ESB_DISABLE_DOWN = 2;
constexpr unsigned ESB_DISABLE_BOTH = 3;

struct TScrollInfo {
  uint32_t cbSize = 28;
  uint32_t fMask = 0;
  int nMin = 0;
  int nMax = 0;
  uint32_t nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// One bar of a window. A new window's bars run 0..100 and are shown when
// its style has WS_HSCROLL / WS_VSCROLL.
struct TScrollBarState {
  int Min = 0;
  int Max = 100;
  uint32_t Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Visible = false;
  unsigned Arrows = ESB_ENABLE_BOTH;  // ESB_ bits of the disabled arrows
  friend bool operator==(const TScrollBarState&, const TScrollBarState&) = default;
};

// Sets the parts named by fMask and answers the new position. A range with
// nMin > nMax becomes 0..0; the page is cut to the range's size. With
// SIF_RANGE, SIF_PAGE or SIF_DISABLENOSCROLL: a range the page shows whole
// (nothing to scroll) disables both arrows with SIF_DISABLENOSCROLL, else
// hides the bar when range or page changed; a range to scroll enables both
// arrows and shows the bar when range or page changed (a mask of SIF_PAGE
// alone does neither).
int SetScrollInfo(TWinControl& control, int bar, const TScrollInfo& info, bool redraw);
// Fills the parts named by fMask; false for a bar other than SB_HORZ/SB_VERT.
bool GetScrollInfo(TWinControl& control, int bar, TScrollInfo& info);
// Shows or hides SB_HORZ, SB_VERT or SB_BOTH; the client area changes with it.
bool ShowScrollBar(TWinControl& control, int bar, bool show);
// Sets the disabled arrows (ESB_*) of SB_HORZ, SB_VERT or SB_BOTH; false
// when nothing changed.
bool EnableScrollBar(TWinControl& control, int bar, unsigned arrows);
// The thumb position while the user drags it (the backend reports it).
void SetScrollTrackPos(TWinControl& control, int bar, int trackPos);

}  // namespace vk
