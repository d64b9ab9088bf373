#include "platform/Buttons.h"

#include "platform/InputState.h"

namespace vk {

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  NotifyPeer(ppStyle);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(*this)) form->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY: {
      const auto key = static_cast<uint16_t>(message.WParam);
      // Enter goes to the focused button, else to the default one.
      TWinControl* focused = FocusedControl();
      const bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
      if (((key == VK_RETURN && active) || (key == VK_ESCAPE && FCancel)) &&
          KeyDataToShiftState(message.LParam).Empty() && CanFocus()) {
        Click();
        message.Result = 1;
      }
      return;
    }
    case WM_GETDLGCODE:
      message.Result = FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
      return;
    default:
      TWinControl::WndProc(message);
  }
}

}  // namespace vk
