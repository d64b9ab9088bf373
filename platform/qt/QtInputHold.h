#pragma once
// The Qt side of TInputHold (platform/InputHold.h): while a hold lives, an
// event filter on the application keeps key and input-method events (with
// the widget or window they were aimed at) and sends them there, in order,
// when the hold ends; it lets mouse, wheel and drop events through only to
// the live controls' widgets (which take no focus meanwhile, so the keys
// stay with the window they were typed in), and turns Escape and a window's
// close into the hold's stop request, made once the event has been
// handled. While a modal box is up, everything goes through. The side of a
// TTypingHold keeps the keys typed before the user paused.

#include "platform/InputHold.h"

namespace vk {

class TQtInputHolds : public TInputHoldBackend {
public:
  std::unique_ptr<THeldInput> Hold(TInputHold& hold) override;
  std::unique_ptr<THeldInput> HoldTyping(TTypingHold& hold) override;
};

}  // namespace vk
