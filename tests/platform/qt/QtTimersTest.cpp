#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>
#include <QtTest/QTest>

#include <utility>

#include "platform/Forms.h"
#include "platform/Timers.h"

namespace vk::test {
namespace {

struct TTicks {
  int Count = 0;
  void Tick(TObject*) { ++Count; }
};

TEST(QtTimersTest, AQtTimerDrivesTheTimersInRealTime) {
  TTicks ticks;
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.OnTimer = TNotifyEvent(&ticks, &TTicks::Tick);
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.Count >= 3; }, 2000));
  EXPECT_GE(clock.elapsed(), 55);

  // A stopped timer stays quiet.
  timer.SetEnabled(false);
  int stoppedAt = ticks.Count;
  QTest::qWait(50);
  EXPECT_EQ(ticks.Count, stoppedAt);
}

TEST(QtTimersTest, ATimerStartedAfterALongQuietTimeWaitsItsWholeInterval) {
  QTest::qWait(100);
  TTicks ticks;
  TTimer timer(nullptr);
  timer.SetInterval(60);
  timer.OnTimer = TNotifyEvent(&ticks, &TTicks::Tick);
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.Count >= 1; }, 2000));
  EXPECT_GE(clock.elapsed(), 55);
}

// The clock's lag answered by hand, with the real-time driver set aside.
struct TFixedLag {
  int Lag = 0;
  int Take() { return std::exchange(Lag, 0); }
};

TEST(QtTimersTest, AStartingTimerMovesTheLaggingClockWithoutFiringWhatCameDue) {
  TFixedLag lag;
  TTimerClockLag driver = SetTimerClockLag(TTimerClockLag(&lag, &TFixedLag::Take));
  TTicks early, late;
  TTimer first(nullptr);
  first.SetInterval(100);
  first.OnTimer = TNotifyEvent(&early, &TTicks::Tick);
  lag.Lag = 250;  // the loop was busy for 250 ms
  TTimer second(nullptr);
  second.SetInterval(100);
  second.OnTimer = TNotifyEvent(&late, &TTicks::Tick);
  EXPECT_EQ(early.Count, 0);     // nothing fires inside the start
  EXPECT_EQ(NextTimerDue(), 0);  // the first is overdue
  Application().AdvanceTimers(0);
  EXPECT_EQ(early.Count, 2);  // at 100 and 200
  EXPECT_EQ(late.Count, 0);
  EXPECT_EQ(NextTimerDue(), 50);  // the first again at 300
  Application().AdvanceTimers(100);
  EXPECT_EQ(late.Count, 1);  // 100 after its real start
  SetTimerClockLag(driver);
}

}  // namespace
}  // namespace vk::test
