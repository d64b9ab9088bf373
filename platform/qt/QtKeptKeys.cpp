#include "platform/qt/QtKeptKeys.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
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

void TQtKeptKeys::SendAll() {
  for (TKept& kept : std::exchange(FKept, {}))
    if (QObject* receiver = ReceiverNow(kept.Receiver)) QCoreApplication::sendEvent(receiver, kept.Event.get());
}

void TQtKeptKeys::PostAll() {
  for (TKept& kept : std::exchange(FKept, {}))
    if (QObject* receiver = ReceiverNow(kept.Receiver)) QCoreApplication::postEvent(receiver, kept.Event.release());
}

}  // namespace vk
