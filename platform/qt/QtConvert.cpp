#include "platform/qt/QtConvert.h"

#include <array>

#include "platform/CodePage.h"
#include "platform/FilePaths.h"

namespace vk {

QString AnsiToQString(const std::string& ansi) { return QString::fromStdString(CodePage::ToUtf8(ansi)); }

std::string QStringToAnsi(const QString& text) { return CodePage::FromUtf8(text.toStdString()); }

QString FileNameToQString(const std::string& fileName) { return QString::fromStdString(FileNameToDisk(fileName)); }

std::string QStringToFileName(const QString& fileName) { return CheckedFileNameFromDisk(fileName.toStdString()); }

void QImageToBitmap(const QImage& image, TBitmap& bitmap) {
  const TColorRef clear = RGB(255, 0, 255);
  QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  bitmap.SetSize(argb.width(), argb.height());
  bool transparent = false;
  for (int y = 0; y < argb.height(); ++y)
    for (int x = 0; x < argb.width(); ++x) {
      QRgb pixel = argb.pixel(x, y);
      bool clearPixel = qAlpha(pixel) < 128;
      transparent = transparent || clearPixel;
      bitmap.SetPixel(x, y, clearPixel ? clear : RGB(qRed(pixel), qGreen(pixel), qBlue(pixel)));
    }
  bitmap.SetTransparentColor(static_cast<TColor>(clear));
  bitmap.SetTransparent(transparent);
}

QChar AnsiCharToQChar(unsigned code) {
  // 0 marks a code not converted yet (code 0 itself is U+0000 anyway).
  static std::array<char16_t, 0x10000> table{};
  if (code > 0xFFFF) return QChar(QChar::ReplacementCharacter);
  char16_t& slot = table[code];
  if (slot == 0 && code != 0) {
    std::string bytes;
    if (code > 0xFF) bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    QString text = AnsiToQString(bytes);
    slot = text.size() == 1 ? text[0].unicode() : char16_t{QChar::ReplacementCharacter};
  }
  return QChar(slot);
}

}  // namespace vk
