#include "platform/qt/QtConvert.h"

#include <array>

#include "platform/CodePage.h"

namespace vk {

QString AnsiToQString(const std::string& ansi) { return QString::fromStdString(CodePage::ToUtf8(ansi)); }

std::string QStringToAnsi(const QString& text) { return CodePage::FromUtf8(text.toStdString()); }

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
