#pragma once
// Check boxes and radio buttons. Setting Checked fires OnClick when the
// state changes, from code as from the user's click (which sets it). A
// radio button that becomes checked unchecks the radio buttons beside it
// (same parent), which fire nothing; only the checked one is a tab stop.
// A radio button that gets the focus other than by the mouse (the arrow
// keys move it among the buttons of a group) checks itself, so that the
// keys change the choice and not only the focus.

#include <string>

#include "platform/Controls.h"

namespace vk {

class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* owner);
  std::string ClassName() const override { return "TCheckBox"; }

  bool Checked() const { return FChecked; }
  void SetChecked(bool value);

private:
  bool FChecked = false;
};

class TRadioButton : public TWinControl {
public:
  explicit TRadioButton(TComponent* owner);
  std::string ClassName() const override { return "TRadioButton"; }

  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  void WndProc(TMessage& message) override;

private:
  bool FChecked = false;
};

}  // namespace vk
