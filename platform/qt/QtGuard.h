#pragma once
// Work done for one Qt event. An exception must not cross Qt's event loop:
// one that escapes an event handler goes to the application's exception
// box, as the message loop of the class library does, and that event's
// work ends there. Painting only reports it: no box may open inside a paint.

#include <exception>
#include <utility>

namespace vk {

// Shows an exception that ended an event's work in the exception box
// (reported on Qt's warning channel when the box itself fails).
void HandleEventException(const std::exception& e) noexcept;
// Reports an exception that ended an event's work (Qt's warning channel).
void ReportEventException(const char* message) noexcept;

template <class F>
void RunGuarded(F&& work) noexcept {
  try {
    std::forward<F>(work)();
  } catch (const std::exception& e) {
    HandleEventException(e);
  } catch (...) {
    ReportEventException("unknown exception");
  }
}

template <class F>
void RunPaintGuarded(F&& work) noexcept {
  try {
    std::forward<F>(work)();
  } catch (const std::exception& e) {
    ReportEventException(e.what());
  } catch (...) {
    ReportEventException("unknown exception");
  }
}

}  // namespace vk
