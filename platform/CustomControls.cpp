// A window's update region, painting and scrolling, dropped files, and
// TCustomControl, which paints through its canvas.

#include "platform/Controls.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/ControlsShared.h"
#include "platform/Ime.h"
#include "platform/ScopeGuard.h"

namespace vk {

using namespace controls;

namespace {

// The largest number of rectangles an update region keeps apart; beyond it
// they are merged into their bounding rectangle.
constexpr size_t MaxRegionRects = 32;

long long Area(const TRect& r) { return IsRectEmpty(r) ? 0 : static_cast<long long>(r.Width()) * r.Height(); }

// The part of the rectangles within the area as rectangles that do not
// overlap: bands between the rectangles' top and bottom edges, each cut into
// the spans the rectangles cover in it (overlapping and touching ones
// merged), from the left; a band that continues the one above it with the
// same spans joins it.
std::vector<TRect> Banded(const std::vector<TRect>& rects, const TRect& area) {
  std::vector<TRect> inside;
  std::vector<int> edges;
  for (const TRect& r : rects) {
    TRect cut;
    if (!IntersectRect(cut, r, area)) continue;
    inside.push_back(cut);
    edges.push_back(cut.Top);
    edges.push_back(cut.Bottom);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<TRect> bands;
  size_t bandStart = 0;  // the first rectangle of the band above
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const int top = edges[i];
    const int bottom = edges[i + 1];
    std::vector<std::pair<int, int>> spans;
    for (const TRect& r : inside)
      if (r.Top <= top && r.Bottom >= bottom) spans.emplace_back(r.Left, r.Right);
    std::sort(spans.begin(), spans.end());
    std::vector<TRect> band;
    for (const auto& [left, right] : spans) {
      if (!band.empty() && left <= band.back().Right)
        band.back().Right = std::max(band.back().Right, right);
      else
        band.push_back(Rect(left, top, right, bottom));
    }
    const bool continues = !band.empty() && bandStart < bands.size() && bands.back().Bottom == top &&
                           std::equal(band.begin(), band.end(), bands.begin() + static_cast<std::ptrdiff_t>(bandStart),
                                      bands.end(), [](const TRect& a, const TRect& b) {
                                        return a.Left == b.Left && a.Right == b.Right;
                                      });
    if (continues) {
      for (size_t k = bandStart; k < bands.size(); ++k) bands[k].Bottom = bottom;
      continue;
    }
    bandStart = bands.size();
    bands.insert(bands.end(), band.begin(), band.end());
  }
  return bands;
}

}  // namespace

// ----- the update region

void TWinControl::InvalidateRect(const TRect& rect, bool erase) {
  if (!FHandle || !Visible()) return;
  AddToUpdateRegion(rect, erase);
}

void TWinControl::Invalidate() {
  // The window call itself, not the overridable InvalidateRect: a control
  // that filters its own invalidations still gets repainted whole.
  if (!FHandle || !Visible()) return;
  AddToUpdateRegion(ClientRect(), !FControlStyle.Contains(csOpaque));
}

void TWinControl::AddToUpdateRegion(const TRect& rect, bool erase) {
  TRect r;
  if (!IntersectRect(r, rect, ClientRect())) return;
  if (erase) FUpdateErase = true;
  for (const TRect& e : FUpdateRegion)
    if (Contains(e, r)) return;
  std::erase_if(FUpdateRegion, [&](const TRect& e) { return Contains(r, e); });
  // Join rectangles that make a rectangle together, until none does.
  for (bool joined = true; joined;) {
    joined = false;
    for (size_t i = 0; i < FUpdateRegion.size(); ++i) {
      const TRect& e = FUpdateRegion[i];
      TRect both, common;
      UnionRect(both, e, r);
      IntersectRect(common, e, r);
      if (Area(both) == Area(e) + Area(r) - Area(common)) {
        r = both;
        FUpdateRegion.erase(FUpdateRegion.begin() + static_cast<std::ptrdiff_t>(i));
        joined = true;
        break;
      }
    }
  }
  FUpdateRegion.push_back(r);
  if (FPeer) FPeer->RegionInvalidated(r);
  if (FUpdateRegion.size() > MaxRegionRects) {
    TRect all = UpdateRect();
    FUpdateRegion.assign(1, all);
  }
}

TRect TWinControl::UpdateRect() const {
  TRect all;
  for (const TRect& r : FUpdateRegion) UnionRect(all, all, r);
  return all;
}

void TWinControl::ValidateAll() {
  FUpdateRegion.clear();
  FUpdateErase = false;
}

void TWinControl::Update() {
  if (FUpdateRegion.empty()) return;
  if (FPeer) {
    FPeer->PaintRequested();
    return;
  }
  std::vector<TRect> region = std::move(FUpdateRegion);
  FUpdateRegion.clear();
  bool erase = FUpdateErase;
  FUpdateErase = false;
  PaintRegion(region, erase);
}

void TWinControl::PaintRegion(const std::vector<TRect>& region, bool erase) {
  TScopeExit reset([this] {
    FPaintRect = TRect{};
    FPaintRects.clear();
  });
  std::vector<TRect> rects = Banded(region, ClientRect());
  if (erase) {
    for (const TRect& r : rects) {
      FPaintRect = r;
      Perform(WM_ERASEBKGND);
    }
  }
  if (!FHandle || rects.empty()) return;
  FPaintRect = TRect{};
  for (const TRect& r : rects) UnionRect(FPaintRect, FPaintRect, r);
  FPaintRects = std::move(rects);
  Perform(WM_PAINT);
}

void TWinControl::ScrollWindow(int dx, int dy, const TRect* rect, const TRect* clip) {
  if (!FHandle) return;
  TRect area = ClientRect();
  if (rect && !IntersectRect(area, area, *rect)) return;
  if (clip && !IntersectRect(area, area, *clip)) return;
  FScrollRequests.push_back({dx, dy, area});
  if (FPeer) FPeer->WindowScrolled(FScrollRequests.back());
  // Pending damage inside the area moves with the pixels.
  std::vector<TRect> moved;
  for (const TRect& r : FUpdateRegion) {
    TRect inside;
    if (!IntersectRect(inside, r, area)) continue;
    OffsetRect(inside, dx, dy);
    if (IntersectRect(inside, inside, area)) moved.push_back(inside);
  }
  for (const TRect& r : moved) AddToUpdateRegion(r, false);
  // The strips the pixels left behind.
  if (dx > 0) AddToUpdateRegion(Rect(area.Left, area.Top, std::min(area.Left + dx, area.Right), area.Bottom), true);
  if (dx < 0) AddToUpdateRegion(Rect(std::max(area.Right + dx, area.Left), area.Top, area.Right, area.Bottom), true);
  if (dy > 0) AddToUpdateRegion(Rect(area.Left, area.Top, area.Right, std::min(area.Top + dy, area.Bottom)), true);
  if (dy < 0) AddToUpdateRegion(Rect(area.Left, std::max(area.Bottom + dy, area.Top), area.Right, area.Bottom), true);
}

TInputContext& TWinControl::ImeContext() {
  if (!FImeContext) FImeContext = std::make_unique<TInputContext>();
  return *FImeContext;
}

void DragAcceptFiles(TWinControl& control, bool accept) {
  if (!control.FHandle) return;
  if (accept)
    control.FParams.ExStyle |= WS_EX_ACCEPTFILES;
  else
    control.FParams.ExStyle &= ~WS_EX_ACCEPTFILES;
}

bool AcceptsDroppedFiles(const TWinControl& control) {
  return control.HandleAllocated() && (control.WindowParams().ExStyle & WS_EX_ACCEPTFILES) != 0;
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(CreateScreenCanvas()) {}

// The peer paints through the canvas: it goes while the canvas is here.
TCustomControl::~TCustomControl() { Withdraw(); }

void TCustomControl::SetCanvas(std::unique_ptr<TCanvas> canvas) {
  if (!canvas) return;
  canvas->Font().Assign(FCanvas->Font());
  canvas->Brush().Assign(FCanvas->Brush());
  canvas->Pen().Assign(FCanvas->Pen());
  FCanvas = std::move(canvas);
}

void TCustomControl::PaintWindow(const TRect& rect) {
  TCanvas& canvas = *FCanvas;
  TScopeExit restore([&canvas, state = canvas.SaveDC()] { canvas.RestoreDC(state); });
  canvas.SetClipRect(rect);
  Paint();
}

bool TCustomControl::EraseBackground(const TRect& rect) {
  TCanvas& canvas = *FCanvas;
  canvas.Brush().SetColor(Color());
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(rect);
  return true;
}

}  // namespace vk
