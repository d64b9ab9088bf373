#include "platform/InputHold.h"

#include <utility>

#include "platform/Timers.h"

namespace vk {

namespace {

TInputHoldBackend* GBackend = nullptr;
TInputHold* GCurrent = nullptr;
TTypingHold* GTyping = nullptr;

}  // namespace

void SetInputHoldBackend(TInputHoldBackend* backend) { GBackend = backend; }

TInputHold::TInputHold(std::vector<TControl*> liveControls)
    : FLiveControls(std::move(liveControls)), FPrevious(GCurrent) {
  GCurrent = this;
  if (GBackend) FHeld = GBackend->Hold(*this);
}

TInputHold::~TInputHold() {
  // The kept keys go to their windows as if typed now: nothing holds them
  // again.
  GCurrent = FPrevious;
  FHeld.reset();
}

TInputHold* TInputHold::Current() { return GCurrent; }

void TInputHold::RequestStop() {
  if (OnStopRequest) OnStopRequest();
}

TTypingHold::TTypingHold() : FPause(std::make_unique<TTimer>(nullptr)), FPrevious(GTyping) {
  FPause->SetInterval(TypingPauseMs);
  FPause->OnTimer = TNotifyEvent(this, &TTypingHold::PauseEnded);
  GTyping = this;
  if (GBackend) FHeld = GBackend->HoldTyping(*this);
}

TTypingHold::~TTypingHold() {
  GTyping = FPrevious;
  FHeld.reset();
}

TTypingHold* TTypingHold::Current() { return GTyping; }

void TTypingHold::Restart() {
  if (FOpen) return;
  FPause->SetEnabled(false);
  FPause->SetEnabled(true);
}

void TTypingHold::PauseEnded(TObject*) {
  FOpen = true;
  FPause->SetEnabled(false);
}

}  // namespace vk
