#include "platform/qt/QtMessageBoxes.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <algorithm>

#include "platform/qt/QtConvert.h"

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

// Swallows the person's keys and clicks while it is installed.
class TInputSwallower : public QObject {
public:
  TInputSwallower() { QCoreApplication::instance()->installEventFilter(this); }

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::InputMethod:
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
};

// Keys and clicks given before the box shows were meant for the window in
// front then: the box's loop would hand those still waiting to the box,
// whose default button a queued Return or Space would press. They are
// handled now, and dropped.
void DropWaitingInput() {
  TInputSwallower swallower;
  QCoreApplication::processEvents();
}

}  // namespace

int TQtMessageBoxes::Show(const TMessageBoxRequest& request) {
  QMessageBox box(IconOf(request.Icon()), AnsiToQString(request.Caption), AnsiToQString(request.Text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  QMessageBox::StandardButtons standard;
  for (int answer : request.Answers()) standard |= ButtonOf(answer);
  box.setStandardButtons(standard);
  box.setDefaultButton(ButtonOf(request.DefaultAnswer()));
  DropWaitingInput();
  box.exec();
  for (int answer : request.Answers())
    if (box.button(ButtonOf(answer)) == box.clickedButton()) return answer;
  // Closed without a button: Cancel where there is one, else the default.
  return request.HasAnswer(IDCANCEL) ? IDCANCEL : request.DefaultAnswer();
}

}  // namespace vk
