#pragma once
// The radio group: a group box with one radio button per item, stacked in
// its client area. Setting ItemIndex, from code or by the user's click on a
// button, fires OnClick when it selects another item; -1 selects none.

#include <string>
#include <vector>

#include "platform/CheckBoxes.h"
#include "platform/ItemStrings.h"
#include "platform/Panels.h"

namespace vk {

class TRadioGroup : public TGroupBox, private TItemsOwner {
public:
  explicit TRadioGroup(TComponent* owner);
  ~TRadioGroup() override;
  std::string ClassName() const override { return "TRadioGroup"; }

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  // An index past the items selects the last one.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);
  // The button of an item (the user clicks these).
  TRadioButton* Buttons(int index) const;

  void SetBounds(int left, int top, int width, int height) override;

protected:
  void FontChanged() override;

private:
  void ItemsChanged(TItemChange change, int index) override;
  void ButtonClick(TObject* sender);
  // One button per item, each showing its item and the selection.
  void UpdateButtons();
  void ArrangeButtons();

  TItemStrings FItems{*this};
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  bool FUpdating = false;
};

}  // namespace vk
