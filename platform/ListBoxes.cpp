#include "platform/ListBoxes.h"

namespace vk {

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  // A click is a choice of an item, not a click on the window.
  TControlStyle style = ControlStyle();
  style.Exclude(csClickEvents);
  SetControlStyle(style);
}

TListBox::~TListBox() { Withdraw(); }

void TListBox::SetItemIndex(int value) {
  if (value < -1 || value >= FItems.Count()) value = -1;
  if (value == FItemIndex) return;
  FItemIndex = value;
  NotifyPeer(ppItemIndex);
}

void TListBox::UserSelect(int index) {
  SetItemIndex(index);
  Click();
}

void TListBox::ItemsChanged(TItemChange change, int index) {
  FItemIndex = ItemIndexAfter(FItemIndex, change, index);
  if (FItems.UpdateCount() == 0) NotifyPeer(ppItems);
}

void TListBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_LBUTTONDBLCLK:
      TWinControl::WndProc(message);
      if (Enabled()) DblClick();
      return;
    default:
      TWinControl::WndProc(message);
  }
}

}  // namespace vk
