#pragma once
// The list box: a list of texts, one of them selected. Setting ItemIndex
// from code fires nothing; the user's choice (a click, an arrow key) fires
// OnClick, and a double click OnDblClick.

#include <string>

#include "platform/Controls.h"
#include "platform/ItemStrings.h"

namespace vk {

class TListBox : public TWinControl, private TItemsOwner {
public:
  explicit TListBox(TComponent* owner);
  ~TListBox() override;
  std::string ClassName() const override { return "TListBox"; }

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  void Clear() { FItems.Clear(); }

  // The selected item, -1 for none; an index that is no item selects none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);

  // The user selected the item: OnClick.
  void UserSelect(int index);

  // A double click (WM_LBUTTONDBLCLK) also fires OnDblClick.
  void WndProc(TMessage& message) override;

private:
  void ItemsChanged(TItemChange change, int index) override;

  TItemStrings FItems{*this};
  int FItemIndex = -1;
};

}  // namespace vk
