#pragma once
// The combo box: a list of texts that drops down, with an edit field
// (csDropDown) or without one (csDropDownList, whose text is the selected
// item's).
//
// Only the user's actions fire events: picking an item fires OnClick and
// then OnChange, typing fires OnChange, and opening the list fires
// OnDropDown first, so that its handler can fill the list before it shows.
// Setting ItemIndex sets the text to the item's (empty for none), clearing
// the items clears the text, and a text set from code or typed selects no
// item, except that typing while the list is open selects the first item
// the text starts (any letter case).

#include <string>

#include "platform/Controls.h"
#include "platform/ItemStrings.h"

namespace vk {

enum TComboBoxStyle : uint8_t { csDropDown, csDropDownList };

class TComboBox : public TWinControl, private TItemsOwner {
public:
  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;
  std::string ClassName() const override { return "TComboBox"; }

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  void Clear() { FItems.Clear(); }

  // The selected item, -1 for none; an index that is no item selects none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);
  // The rows the open list shows at most.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int value);
  // The most bytes the user can type (0: no limit).
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  bool DroppedDown() const { return FDroppedDown; }

  // ----- the user
  // Opens the list: OnDropDown, then the list is open.
  void DropDown();
  void CloseUp() { FDroppedDown = false; }
  // Picks an item of the list (or steps to it with an arrow key).
  void UserSelect(int index);
  // Types in the edit field: its text is now text.
  void UserEdit(const std::string& text);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

  void WndProc(TMessage& message) override;

private:
  void ItemsChanged(TItemChange change, int index) override;
  // Sets the index and the text that goes with it.
  void Select(int index);
  void StoreText(const std::string& text);

  TItemStrings FItems{*this};
  TComboBoxStyle FStyle = csDropDown;
  std::string FText;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  int FMaxLength = 0;
  bool FDroppedDown = false;
};

}  // namespace vk
