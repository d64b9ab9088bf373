#include "platform/qt/QtFileIcons.h"

#include <QtCore/QFileInfo>

#include "platform/qt/QtConvert.h"

namespace vk {

namespace {

const std::string ThemePrefix = "theme:";

}  // namespace

std::string TQtFileIcons::IconKey(const std::string& fileName) {
  QIcon icon = FProvider.icon(QFileInfo(FileNameToQString(fileName)));
  // Only a theme icon has a name that tells kinds apart.
  if (icon.isNull() || icon.name().isEmpty()) return TFixedFileIcons::IconKey(fileName);
  return ThemePrefix + icon.name().toStdString();
}

void TQtFileIcons::IconImages(const std::string& key, TBitmap& small, TBitmap& large) {
  QIcon icon;
  if (key.rfind(ThemePrefix, 0) == 0) icon = QIcon::fromTheme(QString::fromStdString(key.substr(ThemePrefix.size())));
  if (icon.isNull()) return TFixedFileIcons::IconImages(key.rfind(ThemePrefix, 0) == 0 ? "file" : key, small, large);
  QImageToBitmap(icon.pixmap(16, 16).toImage().scaled(16, 16), small);
  QImageToBitmap(icon.pixmap(32, 32).toImage().scaled(32, 32), large);
}

}  // namespace vk
