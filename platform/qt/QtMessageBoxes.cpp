#include "platform/qt/QtMessageBoxes.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtKeptKeys.h"

namespace vk {

namespace {

QMessageBox::Icon IconOf(uint32_t icon) {
  switch (icon) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButton ButtonOf(int answer) {
  switch (answer) {
    case IDCANCEL: return QMessageBox::Cancel;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

// Keys and clicks given before a box shows were meant for the window in
// front then: the box's loop would hand those still waiting to the box,
// whose default button a queued Return or Space would press. They are taken
// out of Qt's queue as the box is made ready; the keys and typed text go to
// the windows they were meant for once the box has gone, in the order
// typed, and the clicks are dropped (the place they aimed at may change).
class TWaitingInput : public QObject {
public:
  TWaitingInput() {
    QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
  }
  ~TWaitingInput() override { FKept.SendLater(); }
  TWaitingInput(const TWaitingInput&) = delete;
  TWaitingInput& operator=(const TWaitingInput&) = delete;

protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::InputMethod:
      case QEvent::ShortcutOverride:
        return FKept.Keep(receiver, event);
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
        return true;
      default:
        return false;
    }
  }

private:
  TQtKeptKeys FKept;
};

}  // namespace

int TQtMessageBoxes::Show(const TMessageBoxRequest& request) {
  QMessageBox box(IconOf(request.Icon()), AnsiToQString(request.Caption), AnsiToQString(request.Text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  QMessageBox::StandardButtons standard;
  for (int answer : request.Answers()) standard |= ButtonOf(answer);
  box.setStandardButtons(standard);
  box.setDefaultButton(ButtonOf(request.DefaultAnswer()));
  TWaitingInput waiting;
  box.exec();
  for (int answer : request.Answers())
    if (box.button(ButtonOf(answer)) == box.clickedButton()) return answer;
  // Closed without a button: Cancel where there is one, else the default.
  return request.HasAnswer(IDCANCEL) ? IDCANCEL : request.DefaultAnswer();
}

}  // namespace vk
