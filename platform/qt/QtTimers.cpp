#include "platform/qt/QtTimers.h"

#include <QtCore/QAbstractEventDispatcher>
#include <algorithm>
#include <climits>
#include <utility>

#include "platform/Forms.h"

namespace vk {

TQtTimerDriver::TQtTimerDriver() {
  FWake.setSingleShot(true);
  FWake.setTimerType(Qt::PreciseTimer);
  QObject::connect(&FWake, &QTimer::timeout, [this] { CatchUp(); });
  FElapsed.start();
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  FAwake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [this] { CatchUp(); });
  FAboutToBlock = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] { Arm(); });
  FPreviousLag = SetTimerClockLag(TTimerClockLag(this, &TQtTimerDriver::TakeLag));
}

TQtTimerDriver::~TQtTimerDriver() {
  SetTimerClockLag(std::exchange(FPreviousLag, nullptr));
  QObject::disconnect(FAwake);
  QObject::disconnect(FAboutToBlock);
}

int TQtTimerDriver::TakeLag() {
  qint64 now = FElapsed.elapsed();
  qint64 passed = std::max<qint64>(now - FClockAt, 0);
  FClockAt = now;
  return static_cast<int>(std::min<qint64>(passed, INT_MAX));
}

void TQtTimerDriver::CatchUp() { Application().AdvanceTimers(TakeLag()); }

void TQtTimerDriver::Arm() {
  CatchUp();
  int due = NextTimerDue();
  if (due < 0)
    FWake.stop();
  else if (!FWake.isActive() || FWake.remainingTime() != due)
    FWake.start(due);
}

}  // namespace vk
