#pragma once
// The list view: items with a caption, an image and sub-items, shown as
// large icons, small icons, a list, or a report with one column per text
// (the caption first, then the sub-items). Small icons, the list and the
// report take their images from SmallImages, large icons from LargeImages.
// With SortType stText the items stay ordered by caption. One item at a
// time is selected: a click selects the item under the pointer, a click
// beside every item selects none.

#include <memory>
#include <string>
#include <vector>

#include "platform/Components.h"
#include "platform/Controls.h"
#include "platform/ImageList.h"
#include "platform/StringLists.h"

namespace vk {

class TListView;

class TListColumn : public TCollectionItem {
public:
  explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
  std::string ClassName() const override { return "TListColumn"; }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  // Pixels; 50 by default.
  int Width() const { return FWidth; }
  void SetWidth(int value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

private:
  std::string FCaption;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TCollection {
public:
  explicit TListColumns(TListView& view);
  std::string ClassName() const override { return "TListColumns"; }

  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..count-1.
  TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }

protected:
  TCollectionItem* CreateItem() override { return new TListColumn(this); }
  void Update(TCollectionItem*) override;

private:
  TListView& FView;
};

class TListItems;

class TListItem : public TPersistent {
public:
  std::string ClassName() const override { return "TListItem"; }

  TListView& ListView() const;
  const std::string& Caption() const { return FCaption; }
  // With SortType stText the item moves to its place by the new caption.
  void SetCaption(const std::string& value);
  // An index into the view's image lists, -1 (no image) at first.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  // The texts of the report's further columns.
  TStrings* SubItems() { return &FSubItems; }
  const TStrings* SubItems() const { return &FSubItems; }
  // The place in the view's items.
  int Index() const;
  bool Selected() const;
  void SetSelected(bool value);

private:
  friend class TListItems;
  explicit TListItem(TListItems& owner);
  void SubItemsChanged(TObject*);

  TListItems& FOwner;
  std::string FCaption;
  int FImageIndex = -1;
  TStringList FSubItems;
};

class TListItems {
public:
  explicit TListItems(TListView& view) : FView(view) {}
  TListItems(const TListItems&) = delete;
  TListItems& operator=(const TListItems&) = delete;

  TListView& Owner() const { return FView; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TListItem* Item(int index) const;
  // A new last item with an empty caption.
  TListItem* Add();
  // Removes every item; a selected one is unselected first.
  void Clear();

private:
  friend class TListItem;
  friend class TListView;
  int IndexOf(const TListItem* item) const;
  // Moves the item to its place by caption among the others (after those
  // with an equal caption).
  void Place(TListItem* item);
  void SortByCaption();

  TListView& FView;
  std::vector<std::unique_ptr<TListItem>> FItems;
};

enum TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
// stText: the items are kept in the order of their captions.
// (Not "stNone": the editor's string types already name that.)
enum TSortType : uint8_t { stUnsorted, stText };

class TListView : public TWinControl {
public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  std::string ClassName() const override { return "TListView"; }

  TListColumns* Columns() { return &FColumns; }
  const TListColumns* Columns() const { return &FColumns; }
  TListItems* Items() { return &FItems; }
  const TListItems* Items() const { return &FItems; }

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value);
  TSortType SortType() const { return FSortType; }
  // stText sorts the items at once.
  void SetSortType(TSortType value);
  // Orders the items by caption, without regard to letter case; equal
  // captions keep their order.
  void AlphaSort();

  TImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TImageList* images);
  TImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TImageList* images);

  // The selected item, or nullptr.
  TListItem* Selected() const { return FSelected; }
  void SetSelected(TListItem* item);

  // What the user does: a click on an item (nullptr: beside every item)
  // selects it and fires OnClick; the second click of a double click fires
  // OnDblClick.
  void ClickItem(TListItem* item);
  void DblClickItem();

  // The arrow keys move in the view, never to the next control.
  void WndProc(TMessage& message) override;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  void SetImageList(TImageList*& field, TImageList* images);

  TListColumns FColumns{*this};
  TListItems FItems{*this};
  TViewStyle FViewStyle = vsIcon;
  TSortType FSortType = stUnsorted;
  TImageList* FSmallImages = nullptr;
  TImageList* FLargeImages = nullptr;
  TListItem* FSelected = nullptr;
};

}  // namespace vk
