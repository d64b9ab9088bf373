// The Qt tests' main: a QApplication on Qt's offscreen platform (unless the
// environment names another) with the desktop services in place.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtWidgets/QApplication>

#include "platform/qt/QtPlatform.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {

std::string SaveScreenshot(const QImage& image, const std::string& name) {
  QDir().mkpath(QStringLiteral(VK_SCREENSHOT_DIR));
  std::string path = std::string(VK_SCREENSHOT_DIR) + "/" + name;
  image.save(QString::fromStdString(path));
  return path;
}

}  // namespace vk::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  vk::TQtPlatform platform;
  // Boxes are answered by the tests' script: none may wait for a person.
  vk::SetMessageBoxService(nullptr);
  return RUN_ALL_TESTS();
}
