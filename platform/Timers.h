#pragma once
// Timers driven by the application's clock. The clock only moves when
// somebody advances it: tests by hand, the Qt backend from a real timer.
// A timer fires at every multiple of its interval after it was started;
// several due timers fire in time order (creation order on a tie).

#include <string>

#include "platform/Components.h"
#include "platform/Events.h"

namespace vk {

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  std::string ClassName() const override { return "TTimer"; }

  // Enabled by default; enabling (or changing the interval) starts the
  // countdown afresh.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // Milliseconds, 1000 by default; 0 stops the timer.
  int Interval() const { return FInterval; }
  void SetInterval(int value);
  // Runs only while it has a handler.
  TNotifyEvent OnTimer;

protected:
  // Fires OnTimer.
  virtual void Timer();

private:
  friend void AdvanceTimers(int);
  friend int NextTimerDue();
  void Restart();
  bool Running() const { return FEnabled && FInterval > 0; }

  bool FEnabled = true;
  int FInterval = 1000;
  long long FDue = 0;  // clock time of the next firing
};

// Moves the clock on by ms milliseconds and fires the timers that come due.
void AdvanceTimers(int ms);
// Milliseconds until the next timer comes due (0 when one is overdue), or
// -1 when none runs.
int NextTimerDue();

// A backend that runs the clock in real time answers how many milliseconds
// passed since it last moved the clock. A timer that starts counting asks it
// first and the clock moves on by that much without firing anything, so
// that the interval counts from the real moment; timers that came due
// meanwhile fire at the next AdvanceTimers. Answers the handler it replaces.
using TTimerClockLag = TDelegate<int()>;
TTimerClockLag SetTimerClockLag(TTimerClockLag handler);

}  // namespace vk
