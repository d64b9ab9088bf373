#include "platform/ScrollBars.h"

#include <algorithm>

#include "platform/Controls.h"

namespace vk {

namespace {

bool IsBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// The last position at which the page still ends inside the range.
long long HighestPos(const TScrollBarState& s) {
  return static_cast<long long>(s.Max) - std::max<long long>(static_cast<long long>(s.Page) - 1, 0);
}

int ClampPos(const TScrollBarState& s, long long pos) {
  return static_cast<int>(std::max<long long>(std::min(pos, HighestPos(s)), s.Min));
}

}  // namespace

int SetScrollInfo(TWinControl& control, int bar, const TScrollInfo& info, bool) {
  if (!IsBar(bar)) return 0;
  TRect oldClient = control.ClientRect();
  TScrollBarState& s = control.MutableScrollBar(bar);
  bool paramsChanged = false;
  if (info.fMask & SIF_PAGE) {
    paramsChanged = paramsChanged || s.Page != info.nPage;
    s.Page = info.nPage;
  }
  if (info.fMask & SIF_RANGE) {
    int low = info.nMin;
    int high = info.nMax;
    if (low > high || static_cast<long long>(high) - low >= 0x80000000LL) low = high = 0;
    paramsChanged = paramsChanged || s.Min != low || s.Max != high;
    s.Min = low;
    s.Max = high;
  }
  long long size = static_cast<long long>(s.Max) - s.Min + 1;
  if (s.Page > size) s.Page = static_cast<uint32_t>(size);
  s.Pos = ClampPos(s, (info.fMask & SIF_POS) ? info.nPos : s.Pos);
  s.TrackPos = s.Pos;
  if (info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
    bool nothingToScroll = s.Min >= HighestPos(s);
    if (nothingToScroll) {
      if (info.fMask & SIF_DISABLENOSCROLL)
        s.Arrows = ESB_DISABLE_BOTH;
      else if (paramsChanged)
        s.Visible = false;
    } else if (info.fMask != SIF_PAGE) {
      s.Arrows = ESB_ENABLE_BOTH;
      if (paramsChanged) s.Visible = true;
    }
  }
  int pos = s.Pos;
  if (control.ClientRect() != oldClient) control.ClientSizeChanged(oldClient);
  control.NotifyPeer(ppScrollBars);
  return pos;
}

bool GetScrollInfo(TWinControl& control, int bar, TScrollInfo& info) {
  if (!IsBar(bar)) return false;
  const TScrollBarState& s = control.ScrollBar(bar);
  if (info.fMask & SIF_RANGE) {
    info.nMin = s.Min;
    info.nMax = s.Max;
  }
  if (info.fMask & SIF_PAGE) info.nPage = s.Page;
  if (info.fMask & SIF_POS) info.nPos = s.Pos;
  if (info.fMask & SIF_TRACKPOS) info.nTrackPos = s.TrackPos;
  return true;
}

bool ShowScrollBar(TWinControl& control, int bar, bool show) {
  if (!IsBar(bar) && bar != SB_BOTH) return false;
  TRect oldClient = control.ClientRect();
  if (bar != SB_VERT) control.MutableScrollBar(SB_HORZ).Visible = show;
  if (bar != SB_HORZ) control.MutableScrollBar(SB_VERT).Visible = show;
  if (control.ClientRect() != oldClient) control.ClientSizeChanged(oldClient);
  control.NotifyPeer(ppScrollBars);
  return true;
}

bool EnableScrollBar(TWinControl& control, int bar, unsigned arrows) {
  if (!IsBar(bar) && bar != SB_BOTH) return false;
  arrows &= ESB_DISABLE_BOTH;
  bool changed = false;
  for (int one : {SB_HORZ, SB_VERT}) {
    if (bar != SB_BOTH && bar != one) continue;
    TScrollBarState& s = control.MutableScrollBar(one);
    changed = changed || s.Arrows != arrows;
    s.Arrows = arrows;
  }
  if (changed) control.NotifyPeer(ppScrollBars);
  return changed;
}

void SetScrollTrackPos(TWinControl& control, int bar, int trackPos) {
  if (!IsBar(bar)) return;
  TScrollBarState& s = control.MutableScrollBar(bar);
  s.TrackPos = std::clamp(trackPos, s.Min, s.Max);
}

}  // namespace vk
