#pragma once
// Cleanups that run when a scope ends, however it ends (return or
// exception), in place of catch-and-rethrow blocks.

#include <exception>
#include <utility>

namespace vk {

// Runs a step at the end of the scope, also when an exception passes. An
// exception from the step goes on to the caller; while another one is
// already on its way, the step's own is dropped, so the first reaches the
// caller.
template <class Step>
class [[nodiscard]] TScopeExit {
public:
  explicit TScopeExit(Step step) : FStep(std::move(step)) {}
  ~TScopeExit() noexcept(false) {
    if (std::uncaught_exceptions() <= FUncaught) {
      FStep();
      return;
    }
    try {
      FStep();
    } catch (...) {
    }
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

private:
  Step FStep;
  int FUncaught = std::uncaught_exceptions();
};

// Runs a step only when the scope is left by an exception, which then goes
// on to the caller; an exception from the step itself is dropped.
template <class Step>
class [[nodiscard]] TScopeFailure {
public:
  explicit TScopeFailure(Step step) : FStep(std::move(step)) {}
  ~TScopeFailure() {
    if (std::uncaught_exceptions() <= FUncaught) return;
    try {
      FStep();
    } catch (...) {
    }
  }
  TScopeFailure(const TScopeFailure&) = delete;
  TScopeFailure& operator=(const TScopeFailure&) = delete;

private:
  Step FStep;
  int FUncaught = std::uncaught_exceptions();
};

// Gives a variable a value for the length of the scope and puts the old
// value back at its end.
template <class T>
class [[nodiscard]] TTempValue {
public:
  TTempValue(T& variable, T value) : FVariable(variable), FOld(std::move(variable)) { FVariable = std::move(value); }
  ~TTempValue() { FVariable = std::move(FOld); }
  TTempValue(const TTempValue&) = delete;
  TTempValue& operator=(const TTempValue&) = delete;

private:
  T& FVariable;
  T FOld;
};

}  // namespace vk
