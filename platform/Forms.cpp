#include "platform/Forms.h"

#include "platform/SystemMetrics.h"
#include "platform/Timers.h"

namespace vk {

void TApplication::AdvanceTimers(int ms) { vk::AdvanceTimers(ms); }

TApplication& Application() {
  // Never destroyed: what it owns may be reached until the process ends.
  static auto* application = new TApplication(nullptr);
  return *application;
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

}  // namespace vk
