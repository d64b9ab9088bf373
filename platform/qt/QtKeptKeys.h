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
  bool Empty() const { return FKept.empty(); }
  // Whether a kept key has no window (to go to the focused one).
  bool Aimless() const;
  // Hands the kept events over now, each to its receiver (else the focused
  // widget).
  void SendAll();
  // Hands them over on the loop's next turn, once the command that held
  // them has done its work (a reload), after those handed over so before;
  // the keys typed until then are kept behind them.
  void SendLater();

private:
  class TOnTheirWay;
  struct TKept {
    QPointer<QObject> Receiver;
    std::unique_ptr<QEvent> Event;
  };
  std::vector<TKept> FKept;
};

}  // namespace vk
