#include "platform/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace vk {
namespace {

// What reaches the caller of a scope whose body and cleanup may each raise:
// the cleanup's exception after a clean body, the body's own otherwise.
TEST(ScopeGuardTest, TheFirstExceptionReachesTheCaller) {
  struct Case {
    bool BodyThrows;
    bool StepThrows;
    bool Failure;       // TScopeFailure instead of TScopeExit
    bool StepRuns;
    const char* Reaches;  // "" when nothing does
  } cases[] = {
      {false, false, false, true, ""},     {false, true, false, true, "step"},
      {true, false, false, true, "body"},  {true, true, false, true, "body"},
      {false, true, true, false, ""},      {true, false, true, true, "body"},
      {true, true, true, true, "body"},
  };
  for (const auto& c : cases) {
    bool ran = false;
    auto step = [&] {
      ran = true;
      if (c.StepThrows) throw std::runtime_error("step");
    };
    auto body = [&] {
      if (c.BodyThrows) throw std::runtime_error("body");
    };
    std::string reached;
    try {
      if (c.Failure) {
        TScopeFailure guard(step);
        body();
      } else {
        TScopeExit guard(step);
        body();
      }
    } catch (const std::runtime_error& e) {
      reached = e.what();
    }
    const std::string name = std::string(c.Failure ? "failure" : "exit") + (c.BodyThrows ? ", body throws" : "") +
                             (c.StepThrows ? ", step throws" : "");
    EXPECT_EQ(c.StepRuns, ran) << name;
    EXPECT_EQ(c.Reaches, reached) << name;
  }
}

}  // namespace
}  // namespace vk
