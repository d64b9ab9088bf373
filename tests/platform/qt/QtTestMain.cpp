// The Qt tests' main: a QApplication on Qt's offscreen platform (unless the
// environment names another) with the desktop services in place. Pictures
// and texts look the same on every machine: one device pixel per pixel,
// glyphs in grey anti-aliasing, the test face loaded by file, numbers and
// dates in the default format settings, not the user's locale's, and no
// settings of the user's read or written.

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QFontDatabase>
#include <QtWidgets/QApplication>
#include <iostream>

#include "platform/LocaleFormats.h"
#include "platform/qt/QtPlatform.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {

std::string SaveScreenshot(const QImage& image, const std::string& name) {
  QDir().mkpath(QStringLiteral(VK_SCREENSHOT_DIR));
  std::string path = std::string(VK_SCREENSHOT_DIR) + "/" + name;
  image.save(QString::fromStdString(path));
  return path;
}

namespace {

// The files of TestFace that the set-up's font package installs.
const char* const TestFaceFiles[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                     "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"};

bool LoadTestFace() {
  for (const char* file : TestFaceFiles)
    if (QFontDatabase::addApplicationFont(QString::fromUtf8(file)) < 0) {
      std::cerr << "cannot load " << file << ": the set-up installs it with fonts-dejavu-core (./x test)\n";
      return false;
    }
  return true;
}

// A desktop session's scaling would make every picture larger.
void UseOnePixelPerPixel() {
  for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_USE_PHYSICAL_DPI"})
    qunsetenv(name);
}

// The machine's font configuration (or the one FONTCONFIG_FILE names) with
// sub-pixel rendering turned off: its colour fringes would change the
// colours of the glyphs. Written into folder, which must outlive the fonts.
bool UseGreyAntiAliasing(const QTemporaryDir& folder) {
  QString active = qEnvironmentVariable("FONTCONFIG_FILE");
  if (active.isEmpty()) active = QStringLiteral("fonts.conf");  // the system's, found on fontconfig's path
  QFile file(folder.filePath(QStringLiteral("fonts.conf")));
  if (!folder.isValid() || !file.open(QIODevice::WriteOnly)) return false;
  file.write("<?xml version=\"1.0\"?>\n<fontconfig>\n  <include>" + active.toHtmlEscaped().toUtf8() +
             "</include>\n"
             "  <match target=\"font\"><edit name=\"rgba\" mode=\"assign\"><const>none</const></edit></match>\n"
             "</fontconfig>\n");
  file.close();
  qputenv("FONTCONFIG_FILE", file.fileName().toUtf8());
  return file.error() == QFile::NoError;
}

}  // namespace
}  // namespace vk::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vk::test::UseOnePixelPerPixel();
  // The user's settings (Qt's own, such as the file dialog's, and the user's
  // font configuration) are neither read nor written: the run has its own.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  if (!vk::test::UseGreyAntiAliasing(config)) {
    std::cerr << "cannot write a font configuration under " << config.path().toStdString() << "\n";
    return 1;
  }
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  if (!vk::test::LoadTestFace()) return 1;
  vk::SetFormatSettings(vk::TFormatSettings());
  vk::TQtPlatform platform;
  // Boxes are answered by the tests' script: none may wait for a person.
  vk::SetMessageBoxService(nullptr);
  return RUN_ALL_TESTS();
}
