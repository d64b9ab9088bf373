#include "platform/qt/QtKeptKeys.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QMetaObject>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
#include <algorithm>
#include <utility>

namespace vk {

bool TQtKeptKeys::Keep(QObject* receiver, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
      FKept.push_back({receiver, std::unique_ptr<QEvent>(event->clone())});
      return true;
    default:
      return false;
  }
}

namespace {

// What the event was aimed at, or where the keys go now when that is gone.
QObject* ReceiverNow(const QPointer<QObject>& receiver) {
  return receiver ? receiver.data() : static_cast<QObject*>(QApplication::focusWidget());
}

}  // namespace

bool TQtKeptKeys::Aimless() const {
  return std::any_of(FKept.begin(), FKept.end(), [](const TKept& kept) { return !kept.Receiver; });
}

void TQtKeptKeys::SendAll() {
  for (TKept& kept : std::exchange(FKept, {}))
    if (QObject* receiver = ReceiverNow(kept.Receiver)) QCoreApplication::sendEvent(receiver, kept.Event.get());
}

// The keys handed over for the loop's next turn: until then, it keeps the
// keys typed behind them, so that none overtakes them.
class TQtKeptKeys::TOnTheirWay : public QObject {
public:
  static void Add(TQtKeptKeys& kept) {
    if (!GWaiting) GWaiting = new TOnTheirWay;
    for (TKept& k : std::exchange(kept.FKept, {})) GWaiting->FKeys.FKept.push_back(std::move(k));
  }

protected:
  bool eventFilter(QObject* receiver, QEvent* event) override { return FKeys.Keep(receiver, event); }

private:
  TOnTheirWay() : QObject(QCoreApplication::instance()) {
    QCoreApplication::instance()->installEventFilter(this);
    QMetaObject::invokeMethod(this, [this] { Send(); }, Qt::QueuedConnection);
  }
  ~TOnTheirWay() override {
    if (GWaiting == this) GWaiting = nullptr;
  }
  void Send() {
    // Keys whose window has gone wait until a window has the focus again
    // (the one the box hands it back to), rather than being lost.
    if (!QApplication::focusWidget() && FKeys.Aimless()) {
      connect(qApp, &QApplication::focusChanged, this, [this] { Send(); }, Qt::SingleShotConnection);
      return;
    }
    QCoreApplication::instance()->removeEventFilter(this);
    GWaiting = nullptr;
    FKeys.SendAll();
    deleteLater();
  }

  static inline TOnTheirWay* GWaiting = nullptr;
  TQtKeptKeys FKeys;
};

void TQtKeptKeys::SendLater() {
  if (!FKept.empty()) TOnTheirWay::Add(*this);
}

}  // namespace vk
