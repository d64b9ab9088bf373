// Vornkit's program entry: the IDE on the desktop through the Qt backend.
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>

#include "app/Program.h"
#include "dialogs/about.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtPlatform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  vk::TQtPlatform platform;
  // The program's emblem on its windows, and in the menu bar's corner of a
  // maximised document window (Qt's own logo stood there).
  application.setWindowIcon(QIcon(vk::FileNameToQString(vk::AboutPicturePath())));
  return vk::RunProgram();
}
