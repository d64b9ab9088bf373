#pragma once
// Runs the application's timer clock (platform/Timers.h) in real time from
// Qt's event loop: whenever the loop wakes, the clock is moved on by the time
// that passed, which fires the timers that came due; before the loop sleeps,
// a QTimer is set to wake it when the next timer is due. So timers fire from
// the event loop, never from inside another handler. A timer that starts
// counting moves the clock up to the real moment first (without firing), so
// that its interval is whole however long the loop was busy.

#include <QtCore/QElapsedTimer>
#include <QtCore/QMetaObject>
#include <QtCore/QTimer>

#include "platform/Timers.h"

namespace vk {

class TQtTimerDriver {
public:
  // Needs the application's event dispatcher (a QCoreApplication).
  TQtTimerDriver();
  ~TQtTimerDriver();
  TQtTimerDriver(const TQtTimerDriver&) = delete;
  TQtTimerDriver& operator=(const TQtTimerDriver&) = delete;

private:
  // Moves the clock up to now, firing what came due.
  void CatchUp();
  // The milliseconds since the clock was last moved; the clock counts as
  // moved up to now.
  int TakeLag();
  // Sets the wake-up for the next due timer.
  void Arm();

  QTimer FWake;
  QElapsedTimer FElapsed;
  qint64 FClockAt = 0;  // elapsed milliseconds the clock has been moved to
  QMetaObject::Connection FAwake;
  QMetaObject::Connection FAboutToBlock;
  TTimerClockLag FPreviousLag;
};

}  // namespace vk
