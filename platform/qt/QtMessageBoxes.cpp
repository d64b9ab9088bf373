#include "platform/qt/QtMessageBoxes.h"

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

}  // namespace

int TQtMessageBoxes::Show(const TMessageBoxRequest& request) {
  QMessageBox box(IconOf(request.Icon()), AnsiToQString(request.Caption), AnsiToQString(request.Text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  struct TButton {
    QMessageBox::StandardButton Qt;
    int Answer;
  };
  std::vector<TButton> buttons;
  switch (request.Buttons()) {
    case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_YESNOCANCEL:
      buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    default: buttons = {{QMessageBox::Ok, IDOK}}; break;
  }
  QMessageBox::StandardButtons standard;
  for (const TButton& b : buttons) standard |= b.Qt;
  box.setStandardButtons(standard);
  box.setDefaultButton(buttons[std::min(request.DefaultButton(), buttons.size() - 1)].Qt);
  box.exec();
  auto* clicked = box.clickedButton();
  for (const TButton& b : buttons)
    if (box.button(b.Qt) == clicked) return b.Answer;
  // Closed without a button: Cancel where there is one.
  return request.HasAnswer(IDCANCEL) ? IDCANCEL : buttons.front().Answer;
}

}  // namespace vk
