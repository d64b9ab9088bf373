#pragma once
// The push button and the bit button, a push button that may carry a
// picture (none here). Clicking it gives its form the button's modal result
// (which ends a modal form) and then runs its action or OnClick. The
// default button answers Enter and the cancel button Esc anywhere on its
// form where the focused control does not want those keys.

#include <string>

#include "platform/Controls.h"
#include "platform/Forms.h"

namespace vk {

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);
  std::string ClassName() const override { return "TButton"; }

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  // Enter presses it unless another button has the focus.
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  // Esc presses it.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }

  // The user pressed the button.
  void Click() override;
  void WndProc(TMessage& message) override;

private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

class TBitBtn : public TButton {
public:
  using TButton::TButton;
  std::string ClassName() const override { return "TBitBtn"; }
};

}  // namespace vk
