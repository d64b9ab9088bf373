#pragma once
// Cleanups that run when a scope ends, however it ends (return or
// exception), in place of catch-and-rethrow blocks.

#include <utility>

namespace vk {

// Runs a step at the end of the scope.
template <class Step>
class [[nodiscard]] TScopeExit {
public:
  explicit TScopeExit(Step step) : FStep(std::move(step)) {}
  ~TScopeExit() { FStep(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

private:
  Step FStep;
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
