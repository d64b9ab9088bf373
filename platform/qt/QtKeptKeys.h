#pragma once
// Keys and typed text taken out of Qt's delivery by an event filter and
// handed later to what they were aimed at, in the order typed: what a
// person types while the program cannot take it (a build running, a box
// coming up) is kept rather than lost or misdelivered.

#include <QtCore/QEvent>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <memory>
#include <vector>

namespace vk {

class TQtKeptKeys {
public:
  // A key press or release or the input method's text is kept, a shortcut
  // check accepted (so that its key comes as a key event, to be kept): the
  // filter takes the event (true). Any other event: false.
  bool Keep(QObject* receiver, QEvent* event);
  // Hands the kept events over now, each to its receiver (else the focused
  // widget), or on the loop's next turn.
  void SendAll();
  void PostAll();

private:
  struct TKept {
    QPointer<QObject> Receiver;
    std::unique_ptr<QEvent> Event;
  };
  std::vector<TKept> FKept;
};

}  // namespace vk
