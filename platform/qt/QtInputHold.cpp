#include "platform/qt/QtInputHold.h"

#include <QtCore/QMetaObject>
#include <QtCore/QPointer>
#include <QtGui/QKeyEvent>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>
#include <set>
#include <utility>
#include <vector>

#include "platform/qt/QtGuard.h"
#include "platform/qt/QtKeptKeys.h"
#include "platform/qt/QtPeer.h"

namespace vk {

namespace {

class THeldEvents : public QObject, public THeldInput {
public:
  explicit THeldEvents(TInputHold& hold) : FHold(hold) {
    for (TControl* control : hold.LiveControls())
      if (TQtPeer* peer = QtPeerOf(control)) {
        QWidget* widget = peer->Widget();
        FLive.push_back({widget, widget->focusPolicy()});
        widget->setFocusPolicy(Qt::NoFocus);
      }
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~THeldEvents() override {
    QCoreApplication::instance()->removeEventFilter(this);
    for (const TLive& live : FLive)
      if (live.Widget) live.Widget->setFocusPolicy(live.Policy);
    FKept.SendAll();
  }
  THeldEvents(const THeldEvents&) = delete;
  THeldEvents& operator=(const THeldEvents&) = delete;

protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    const bool drop = type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
    if (!event->isInputEvent() && !drop && type != QEvent::InputMethod && type != QEvent::Close) return false;
    // The owner's question takes the keys and clicks meant for it.
    if (QApplication::activeModalWidget()) return false;
    auto* widget = qobject_cast<QWidget*>(receiver);
    switch (type) {
      case QEvent::Close:
        // A window's close box, not a tool tip or popup going away.
        if (!widget || !widget->isWindow() ||
            (widget->windowType() != Qt::Window && widget->windowType() != Qt::Dialog))
          return false;
        event->ignore();
        RequestStopLater();
        return true;
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
          if (type == QEvent::KeyPress) RequestStopLater();
          return true;
        }
        [[fallthrough]];
      case QEvent::ShortcutOverride:  // no shortcut (a menu's mnemonic) runs meanwhile
      case QEvent::InputMethod: return FKept.Keep(receiver, event);
      case QEvent::HoverEnter:
      case QEvent::HoverMove:
      case QEvent::HoverLeave: return false;
      default:
        // Mouse, wheel, touch and drops; a window's is decided when it
        // reaches its widget.
        return widget && !IsLive(*widget);
    }
  }

private:
  struct TLive {
    QPointer<QWidget> Widget;
    Qt::FocusPolicy Policy;
  };
  bool IsLive(const QWidget& widget) const {
    for (const TLive& live : FLive)
      if (live.Widget && (live.Widget == &widget || live.Widget->isAncestorOf(&widget))) return true;
    return false;
  }
  // The owner may ask with a modal box: not from inside the event's delivery.
  void RequestStopLater() {
    QMetaObject::invokeMethod(this, [this] { RunGuarded([this] { FHold.RequestStop(); }); }, Qt::QueuedConnection);
  }

  TInputHold& FHold;
  std::vector<TLive> FLive;
  TQtKeptKeys FKept;
};

// The Qt side of a TTypingHold: an event filter on the application keeps
// the keys typed before the pause, those aimed at the box for the window
// that had the focus as the hold began; a click on the box opens it.
class THeldTyping : public QObject, public THeldInput {
public:
  explicit THeldTyping(TTypingHold& hold) : FHold(hold), FTypedIn(QApplication::focusWidget()) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~THeldTyping() override {
    QCoreApplication::instance()->removeEventFilter(this);
    FKept.SendLater();
  }
  THeldTyping(const THeldTyping&) = delete;
  THeldTyping& operator=(const THeldTyping&) = delete;

protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    switch (type) {
      case QEvent::MouseButtonPress:
        if (InBox(receiver)) FHold.OpenNow();
        return false;
      case QEvent::KeyRelease:
        // A release goes where its press went.
        if (FKeptDown.erase(static_cast<QKeyEvent*>(event)->key()) == 0) return false;
        return FKept.Keep(Target(receiver), event);
      case QEvent::KeyPress:
      case QEvent::ShortcutOverride:
      case QEvent::InputMethod: {
        const bool box = InBox(receiver);
        // Once the box is open it takes the keys; a key for a window waits
        // behind those kept.
        if (FHold.Open() && (box || FKept.Empty())) return false;
        if (type == QEvent::KeyPress) FKeptDown.insert(static_cast<QKeyEvent*>(event)->key());
        if (type != QEvent::ShortcutOverride) FHold.Restart();
        return FKept.Keep(Target(receiver), event);
      }
      default:
        return false;
    }
  }

private:
  static bool InBox(QObject* receiver) {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return false;
    if (auto* window = qobject_cast<QWindow*>(receiver)) return window == box->windowHandle();
    auto* widget = qobject_cast<QWidget*>(receiver);
    return widget && (widget == box || box->isAncestorOf(widget));
  }
  // A key aimed at the box was typed for the window that had the focus.
  QObject* Target(QObject* receiver) const { return InBox(receiver) ? FTypedIn.data() : receiver; }

  TTypingHold& FHold;
  QPointer<QWidget> FTypedIn;
  std::set<int> FKeptDown;
  TQtKeptKeys FKept;
};

}  // namespace

std::unique_ptr<THeldInput> TQtInputHolds::Hold(TInputHold& hold) { return std::make_unique<THeldEvents>(hold); }

std::unique_ptr<THeldInput> TQtInputHolds::HoldTyping(TTypingHold& hold) { return std::make_unique<THeldTyping>(hold); }

}  // namespace vk
