#pragma once
// A closing step that runs when its scope ends, also when an exception
// passes: the cleanup of a bracket (a hidden caret, a drawing session, a
// change that must be taken back when saving it failed).

#include <exception>
#include <utility>

namespace vk {

// Runs step at the end of the scope. A second exception from the step while
// one is already passing is dropped: the first one is the cause.
template <class Step>
class TFinally {
public:
  explicit TFinally(Step step) : FStep(std::move(step)) {}
  ~TFinally() noexcept(false) {
    if (std::uncaught_exceptions() <= FUncaught) {
      FStep();
      return;
    }
    try {
      FStep();
    } catch (...) {
    }
  }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

private:
  Step FStep;
  int FUncaught = std::uncaught_exceptions();
};

}  // namespace vk
