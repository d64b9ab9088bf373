#include "platform/ComboBoxes.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Edits.h"
#include "platform/SysUtils.h"

namespace vk {

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

TComboBox::~TComboBox() { Withdraw(); }

void TComboBox::SetStyle(TComboBoxStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (FStyle == csDropDownList) Select(FItemIndex);
  NotifyPeer(ppStyle);
}

void TComboBox::SetDropDownCount(int value) {
  value = std::max(value, 1);
  if (value == FDropDownCount) return;
  FDropDownCount = value;
  NotifyPeer(ppStyle);
}

void TComboBox::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (value == FMaxLength) return;
  FMaxLength = value;
  NotifyPeer(ppStyle);
}

void TComboBox::StoreText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  NotifyPeer(ppText);
}

void TComboBox::Select(int index) {
  if (index < -1 || index >= FItems.Count()) index = -1;
  if (index != FItemIndex) {
    FItemIndex = index;
    NotifyPeer(ppItemIndex);
  }
  StoreText(index >= 0 ? FItems.Get(index) : std::string());
}

void TComboBox::SetItemIndex(int value) { Select(value); }

void TComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
  FDroppedDown = true;
}

void TComboBox::UserSelect(int index) {
  const int old = FItemIndex;
  Select(index);
  if (FItemIndex == old) return;
  Click();
  if (OnChange) OnChange(this);
}

void TComboBox::UserEdit(const std::string& text) {
  if (FStyle == csDropDownList) return;
  std::string typed = text;
  if (FMaxLength > 0 && static_cast<int>(typed.size()) > FMaxLength)
    typed.resize(static_cast<size_t>(CharStartOffset(typed, FMaxLength)));
  if (typed == FText) return;
  int match = -1;
  if (FDroppedDown && !typed.empty())
    for (int i = 0; i < FItems.Count() && match < 0; ++i)
      if (SameText(FItems.Get(i).substr(0, typed.size()), typed)) match = i;
  if (match != FItemIndex) {
    FItemIndex = match;
    NotifyPeer(ppItemIndex);
  }
  FText = typed;
  NotifyPeer(ppText);
  if (OnChange) OnChange(this);
}

void TComboBox::ItemsChanged(TItemChange change, int index) {
  FItemIndex = ItemIndexAfter(FItemIndex, change, index);
  // Emptying the list empties the edit field as well.
  if (change == icCleared) FText.clear();
  if (FItems.UpdateCount() > 0) return;
  NotifyPeer(ppItems);
  NotifyPeer(ppText);
}

void TComboBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT: {
      const std::string text = MessageText(message);
      // A list without an edit field can only show one of its items.
      if (FStyle == csDropDownList) {
        Select(FItems.IndexOf(text));
      } else {
        FText = text;
        if (FItemIndex >= 0) {
          FItemIndex = -1;
          NotifyPeer(ppItemIndex);
        }
      }
      message.Result = 1;
      return;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      AnswerTextMessage(message, FText);
      return;
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    default:
      TWinControl::WndProc(message);
  }
}

}  // namespace vk
