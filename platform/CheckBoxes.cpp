#include "platform/CheckBoxes.h"

#include "platform/InputState.h"

namespace vk {

namespace {

// A click on a check box or radio button changes its state, which fires
// OnClick itself: the mouse's own click event is off.
void WithoutClickEvents(TControl& control) {
  TControlStyle style = control.ControlStyle();
  style.Exclude(csClickEvents);
  control.SetControlStyle(style);
}

}  // namespace

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  WithoutClickEvents(*this);
}

void TCheckBox::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  NotifyPeer(ppChecked);
  Click();
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 113, 17);
  WithoutClickEvents(*this);
}

void TRadioButton::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  SetTabStop(value);
  NotifyPeer(ppChecked);
  if (!value) return;
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  Click();
}

void TRadioButton::WndProc(TMessage& message) {
  // A click checks the button when it comes; the focus it brings does not.
  if (message.Msg == WM_SETFOCUS && GetKeyState(VK_LBUTTON) >= 0) SetChecked(true);
  TWinControl::WndProc(message);
}

}  // namespace vk
