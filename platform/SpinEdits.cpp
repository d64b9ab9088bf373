#include "platform/SpinEdits.h"

#include "platform/SysUtils.h"

namespace vk {

TCSpinEdit::TCSpinEdit(TComponent* owner) : TCustomEdit(owner) { SetText("0"); }

int TCSpinEdit::Limited(int value) const {
  if (FMaxValue == FMinValue) return value;
  return value < FMinValue ? FMinValue : value > FMaxValue ? FMaxValue : value;
}

int TCSpinEdit::Value() const { return StrToIntDef(Text(), FMinValue); }

void TCSpinEdit::SetValue(int value) { SetText(IntToStr(Limited(value))); }

void TCSpinEdit::SetMinValue(int value) {
  if (value == FMinValue) return;
  FMinValue = value;
  NotifyPeer(ppStyle);
}

void TCSpinEdit::SetMaxValue(int value) {
  if (value == FMaxValue) return;
  FMaxValue = value;
  NotifyPeer(ppStyle);
}

void TCSpinEdit::TypeChar(const std::string& chars) {
  const char c = chars[0];
  if (static_cast<unsigned char>(c) < 0x20 || (c >= '0' && c <= '9') || c == '-' || c == '+')
    TCustomEdit::TypeChar(chars);
}

bool TCSpinEdit::EditKey(uint16_t key, TShiftState shift) {
  if ((key != VK_UP && key != VK_DOWN) || ReadOnly()) return TCustomEdit::EditKey(key, shift);
  SetValue(Value() + (key == VK_UP ? FIncrement : -FIncrement));
  return true;
}

void TCSpinEdit::DoExit() {
  if (Limited(Value()) != Value()) SetValue(Value());
  TCustomEdit::DoExit();
}

}  // namespace vk
