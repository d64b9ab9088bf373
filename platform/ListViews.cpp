#include "platform/ListViews.h"

#include <algorithm>

#include "platform/SysUtils.h"

namespace vk {

namespace {

bool CaptionBefore(const std::unique_ptr<TListItem>& a, const std::unique_ptr<TListItem>& b) {
  return CompareText(a->Caption(), b->Caption()) < 0;
}

}  // namespace

// ---------------------------------------------------------------- columns

void TListColumn::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  Changed(false);
}

void TListColumn::SetWidth(int value) {
  if (value == FWidth) return;
  FWidth = value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Changed(false);
}

TListColumns::TListColumns(TListView& view) : TCollection(&view), FView(view) {}

void TListColumns::Update(TCollectionItem*) { FView.NotifyPeer(ppColumns); }

// ---------------------------------------------------------------- TListItem

TListItem::TListItem(TListItems& owner) : FOwner(owner) {
  FSubItems.OnChange = TNotifyEvent(this, &TListItem::SubItemsChanged);
}

TListView& TListItem::ListView() const { return FOwner.Owner(); }

void TListItem::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  if (ListView().SortType() == stText) FOwner.Place(this);
  ListView().NotifyPeer(ppItems);
}

void TListItem::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  ListView().NotifyPeer(ppImages);
}

void TListItem::SubItemsChanged(TObject*) { ListView().NotifyPeer(ppItems); }

int TListItem::Index() const { return FOwner.IndexOf(this); }

bool TListItem::Selected() const { return ListView().Selected() == this; }

void TListItem::SetSelected(bool value) {
  if (value)
    ListView().SetSelected(this);
  else if (Selected())
    ListView().SetSelected(nullptr);
}

// ---------------------------------------------------------------- TListItems

TListItem* TListItems::Item(int index) const {
  CheckListIndex(index, Count());
  return FItems[index].get();
}

int TListItems::IndexOf(const TListItem* item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == item) return static_cast<int>(i);
  return -1;
}

TListItem* TListItems::Add() {
  FItems.push_back(std::unique_ptr<TListItem>(new TListItem(*this)));
  FView.NotifyPeer(ppItems);
  return FItems.back().get();
}

void TListItems::Clear() {
  FView.SetSelected(nullptr);
  if (FItems.empty()) return;
  FItems.clear();
  FView.NotifyPeer(ppItems);
}

void TListItems::Place(TListItem* item) {
  auto at = FItems.begin() + IndexOf(item);
  std::unique_ptr<TListItem> moving = std::move(*at);
  FItems.erase(at);
  FItems.insert(std::upper_bound(FItems.begin(), FItems.end(), moving, CaptionBefore), std::move(moving));
}

void TListItems::SortByCaption() {
  std::stable_sort(FItems.begin(), FItems.end(), CaptionBefore);
  FView.NotifyPeer(ppItems);
}

// ---------------------------------------------------------------- TListView

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
}

// The peer shows the items: it goes before they do.
TListView::~TListView() { Withdraw(); }

void TListView::SetViewStyle(TViewStyle value) {
  if (value == FViewStyle) return;
  FViewStyle = value;
  NotifyPeer(ppStyle);
}

void TListView::SetSortType(TSortType value) {
  if (value == FSortType) return;
  FSortType = value;
  if (value == stText) AlphaSort();
}

void TListView::AlphaSort() { FItems.SortByCaption(); }

void TListView::SetImageList(TImageList*& field, TImageList* images) {
  if (images == field) return;
  // The other list may be the same one, which keeps its link.
  TImageList* other = &field == &FSmallImages ? FLargeImages : FSmallImages;
  if (field && field != other) RemoveFreeNotification(field);
  field = images;
  if (images) FreeNotification(images);
  NotifyPeer(ppImages);
}

void TListView::SetSmallImages(TImageList* images) { SetImageList(FSmallImages, images); }

void TListView::SetLargeImages(TImageList* images) { SetImageList(FLargeImages, images); }

void TListView::WndProc(TMessage& message) {
  if (message.Msg == WM_GETDLGCODE) {
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  TWinControl::WndProc(message);
}

void TListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  for (TImageList** field : {&FSmallImages, &FLargeImages})
    if (component == *field) {
      *field = nullptr;
      NotifyPeer(ppImages);
    }
}

void TListView::SetSelected(TListItem* item) {
  if (item == FSelected) return;
  FSelected = item;
  NotifyPeer(ppSelection);
}

void TListView::ClickItem(TListItem* item) {
  SetSelected(item);
  Click();
}

void TListView::DblClickItem() { DblClick(); }

}  // namespace vk
