#pragma once
// The spin edit: an edit field for a whole number with buttons (and the Up
// and Down keys) that step it. Only digits and signs can be typed; the
// number is kept between MinValue and MaxValue unless both are equal.

#include <string>

#include "platform/Edits.h"

namespace vk {

class TCSpinEdit : public TCustomEdit {
public:
  explicit TCSpinEdit(TComponent* owner);
  std::string ClassName() const override { return "TCSpinEdit"; }

  // The number in the field; MinValue when the text is none.
  int Value() const;
  // Sets the text to the number, brought within the limits (OnChange when
  // the text changes).
  void SetValue(int value);
  int MinValue() const { return FMinValue; }
  void SetMinValue(int value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int value);
  // The step of the buttons and keys.
  int Increment() const { return FIncrement; }
  void SetIncrement(int value) { FIncrement = value; }

protected:
  void TypeChar(const std::string& chars) override;
  // Up and Down step the number.
  bool EditKey(uint16_t key, TShiftState shift) override;
  // Leaving the field brings a number outside the limits back.
  void DoExit() override;

private:
  int Limited(int value) const;

  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
};

}  // namespace vk
