#include "platform/PageControls.h"

#include <algorithm>
#include <iterator>

#include "platform/Canvas.h"
#include "platform/InputState.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

// The frame around the sheets and the room around a tab's text.
constexpr int FrameSize = 2;
constexpr int TabPadding = 8;

}  // namespace

// ---------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl) {
  if (pageControl == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  FPageControl = pageControl;
  SetParent(pageControl);
  if (pageControl) pageControl->InsertPage(this);
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int index = 0;
  for (const TTabSheet* page : FPageControl->FPages) {
    if (page == this) return index;
    if (page->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool value) {
  if (value == FTabVisible) return;
  FTabVisible = value;
  if (FPageControl) FPageControl->PagesChanged();
}

void TTabSheet::TextChanged() {
  if (FPageControl) FPageControl->PagesChanged();
}

// ---------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
  CheckListIndex(index, PageCount());
  return FPages[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  page->SetVisible(false);
  PagesChanged();
  if (!FActivePage) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  std::erase(FPages, page);
  if (FActivePage == page) {
    FActivePage = nullptr;
    NotifyPeer(ppActivePage);
  }
  PagesChanged();
}

void TPageControl::PagesChanged() {
  NotifyPeer(ppPages);
  Realign();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  if (page == FActivePage) return;
  TTabSheet* previous = FActivePage;
  FActivePage = page;
  if (page) page->SetVisible(true);
  if (previous) previous->SetVisible(false);
  NotifyPeer(ppActivePage);
}

void TPageControl::SelectTab(int tabIndex) {
  for (TTabSheet* page : FPages)
    if (page->TabIndex() == tabIndex) SetActivePage(page);
}

void TPageControl::SelectNextPage(bool goForward) {
  std::vector<TTabSheet*> tabbed;
  std::copy_if(FPages.begin(), FPages.end(), std::back_inserter(tabbed), [](TTabSheet* p) { return p->TabVisible(); });
  if (tabbed.empty()) return;
  const int count = static_cast<int>(tabbed.size());
  const int at = static_cast<int>(std::find(tabbed.begin(), tabbed.end(), FActivePage) - tabbed.begin());
  // From a sheet without a tab the first (or last) tab is next.
  const int next = at == count ? (goForward ? 0 : count - 1) : ((goForward ? at + 1 : at - 1) + count) % count;
  SetActivePage(tabbed[static_cast<size_t>(next)]);
}

void TPageControl::WndProc(TMessage& message) {
  if (message.Msg == WM_GETDLGCODE) {
    // The arrows turn the pages of a focused page control.
    message.Result = DLGC_WANTARROWS;
    return;
  }
  if (message.Msg != CM_DIALOGKEY || message.WParam != VK_TAB) return TWinControl::WndProc(message);
  const TShiftState shift = KeyDataToShiftState(message.LParam);
  TWinControl* focused = FocusedControl();
  const TWinControl* inside = focused;
  while (inside && inside != this) inside = inside->Parent();
  if (!shift.Contains(ssCtrl) || !inside) return;
  SelectNextPage(!shift.Contains(ssShift));
  // The focus does not stay on a sheet that went out of sight.
  if (!focused->CanFocus() && CanFocus()) SetFocus();
  message.Result = 1;
}

int TPageControl::TabHeight() const {
  bool anyTab = std::any_of(FPages.begin(), FPages.end(), [](const TTabSheet* p) { return p->TabVisible(); });
  return anyTab ? FontMetrics().TextMetrics(Font().LogFont()).tmHeight + TabPadding : 0;
}

void TPageControl::AdjustClientRect(TRect& rect) const {
  rect.Top += TabHeight();
  InflateRect(rect, -FrameSize, -FrameSize);
}

}  // namespace vk
