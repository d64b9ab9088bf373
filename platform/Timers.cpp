#include "platform/Timers.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vk {

namespace {

// The live timers in creation order, and the clock they run on. The list is
// never freed, so timers that outlive static destruction can still leave it.
std::vector<TTimer*>& Timers() {
  static auto* timers = new std::vector<TTimer*>;
  return *timers;
}

long long GClock = 0;
TTimerClockLag GClockLag;

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  Timers().push_back(this);
  Restart();
}

TTimer::~TTimer() { std::erase(Timers(), this); }

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Restart();
}

void TTimer::SetInterval(int value) {
  value = std::max(value, 0);
  if (value == FInterval) return;
  FInterval = value;
  Restart();
}

void TTimer::Restart() {
  if (GClockLag) GClock += std::max(GClockLag(), 0);
  FDue = GClock + FInterval;
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void AdvanceTimers(int ms) {
  long long target = GClock + std::max(ms, 0);
  for (;;) {
    // The earliest due timer; handlers may create, stop or free timers, so
    // the list is searched afresh for every firing.
    TTimer* next = nullptr;
    for (TTimer* timer : Timers())
      if (timer->Running() && timer->FDue <= target && (!next || timer->FDue < next->FDue)) next = timer;
    if (!next) break;
    GClock = next->FDue;
    next->FDue += next->FInterval;
    next->Timer();
  }
  GClock = target;
}

int NextTimerDue() {
  long long best = -1;
  for (TTimer* timer : Timers())
    if (timer->Running() && (best < 0 || timer->FDue - GClock < best)) best = std::max(timer->FDue - GClock, 0LL);
  return static_cast<int>(best);
}

TTimerClockLag SetTimerClockLag(TTimerClockLag handler) {
  std::swap(GClockLag, handler);
  return handler;
}

}  // namespace vk
