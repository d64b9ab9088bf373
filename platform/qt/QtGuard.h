#pragma once
// Work done for one Qt event. An exception must not cross Qt's event loop:
// one that reaches it is reported and that event's work ends there.

#include <exception>
#include <utility>

namespace vk {

// Reports an exception that ended an event's work (Qt's warning channel).
void ReportEventException(const char* message);

template <class F>
void RunGuarded(F&& work) noexcept {
  try {
    std::forward<F>(work)();
  } catch (const std::exception& e) {
    ReportEventException(e.what());
  } catch (...) {
    ReportEventException("unknown exception");
  }
}

}  // namespace vk
