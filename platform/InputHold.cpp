#include "platform/InputHold.h"

#include <utility>

namespace vk {

namespace {

TInputHoldBackend* GBackend = nullptr;
TInputHold* GCurrent = nullptr;

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

}  // namespace vk
