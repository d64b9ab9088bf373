// Vornkit's program entry: the IDE on the desktop through the Qt backend.
#include <QtWidgets/QApplication>

#include "app/Program.h"
#include "platform/qt/QtPlatform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  vk::TQtPlatform platform;
  return vk::RunProgram();
}
