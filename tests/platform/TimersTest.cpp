#include "platform/Timers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Forms.h"

namespace vk {
namespace {

// Logs "name@count" for every firing.
struct TFirings {
  std::vector<std::string> Log;
  TTimer* ToStop = nullptr;
  TTimer* ToFree = nullptr;
  void Fired(TObject* sender) {
    Log.push_back(static_cast<TTimer*>(sender)->Name());
    if (ToStop) ToStop->SetEnabled(false);
    if (ToFree) {
      delete ToFree;
      ToFree = nullptr;
    }
  }
};

TTimer* MakeTimer(TComponent* owner, const std::string& name, int interval, TFirings& firings) {
  auto* timer = new TTimer(owner);
  timer->SetName(name);
  timer->SetInterval(interval);
  timer->OnTimer = TNotifyEvent(&firings, &TFirings::Fired);
  return timer;
}

TEST(TimersTest, TimersFireInTimeOrderWhenTheClockMoves) {
  TComponent owner(nullptr);
  TFirings firings;
  MakeTimer(&owner, "slow", 250, firings);
  MakeTimer(&owner, "fast", 100, firings);
  EXPECT_EQ(NextTimerDue(), 100);
  Application().AdvanceTimers(99);
  EXPECT_TRUE(firings.Log.empty());
  Application().AdvanceTimers(201);
  EXPECT_EQ(firings.Log, (std::vector<std::string>{"fast", "fast", "slow", "fast"}));
  EXPECT_EQ(NextTimerDue(), 100);
}

TEST(TimersTest, StoppingAndRestartingCountsAfresh) {
  TComponent owner(nullptr);
  TFirings firings;
  TTimer* timer = MakeTimer(&owner, "t", 100, firings);
  AdvanceTimers(60);
  timer->SetEnabled(false);
  AdvanceTimers(500);
  EXPECT_TRUE(firings.Log.empty());
  EXPECT_EQ(NextTimerDue(), -1);
  timer->SetEnabled(true);
  AdvanceTimers(60);
  EXPECT_TRUE(firings.Log.empty());
  AdvanceTimers(40);
  EXPECT_EQ(firings.Log.size(), 1u);
  timer->SetInterval(0);
  AdvanceTimers(1000);
  EXPECT_EQ(firings.Log.size(), 1u);
  // Without a handler it runs but nothing happens.
  timer->SetInterval(10);
  timer->OnTimer = nullptr;
  AdvanceTimers(100);
  EXPECT_EQ(firings.Log.size(), 1u);
}

TEST(TimersTest, HandlersMayStopOrFreeTimers) {
  TComponent owner(nullptr);
  TFirings firings;
  TTimer* first = MakeTimer(&owner, "first", 100, firings);
  TTimer* second = MakeTimer(&owner, "second", 100, firings);
  firings.ToStop = first;
  firings.ToFree = second;
  AdvanceTimers(300);
  EXPECT_EQ(firings.Log, std::vector<std::string>{"first"});
  EXPECT_EQ(owner.ComponentCount(), 1);
}

}  // namespace
}  // namespace vk
