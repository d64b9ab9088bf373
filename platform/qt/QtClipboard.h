#pragma once
// The desktop's clipboard as the clipboard backend. Plain text (CF_TEXT) is
// "text/plain", converted between the ANSI code page and Unicode, and given
// to the desktop with LF line ends (text from it is taken with whatever
// line ends it has: the program reads CR LF, CR and LF alike); a format
// registered by name is a MIME type of its own,
// "application/x-vornkit-<name>" (lower case, blanks as '-'), carried as the
// bytes it was given. So the editor's private block format stays inside the
// program and plain text reaches every other one.
//
// Another program's text keeps only the characters the code page has: each
// other one becomes '?', and GetText says how many did.
//
// The desktop's plain text cannot carry every byte: a NUL (which it does
// not hold, and which programs that read it as a C string would end it at)
// and a byte the code page does not define reach it as U+FFFD. While the
// program's own data is on the clipboard, the program reads its text back
// as it gave it, every byte.
//
// Data set while the clipboard is open is gathered and handed to the desktop
// as one whole when it closes, as the desktop takes it. When the desktop's
// clipboard changes hands, the process's clipboard hears of it (Changed).

#include <QtCore/QMetaObject>
#include <QtCore/QMimeData>
#include <QtCore/QString>
#include <memory>
#include <optional>
#include <string>

#include "platform/Clipboard.h"

namespace vk {

class TProgramMimeData;

class TQtClipboard : public TClipboardBackend {
public:
  TQtClipboard();
  ~TQtClipboard() override;
  bool Open() override;
  void Close() override;
  bool Clear() override;
  bool SetData(TClipboardFormat format, const std::string& bytes) override;
  std::optional<std::string> GetData(TClipboardFormat format) override;
  bool HasFormat(TClipboardFormat format) override;
  // Another program's text counts its characters the code page lacks.
  std::optional<TClipboardText> GetText() override;

  // The MIME type a format travels as; empty for a format with neither
  // meaning nor name.
  static QString MimeType(TClipboardFormat format);

private:
  // What is readable now: the data being gathered, else the desktop's.
  const QMimeData* Current() const;

  bool FOpen = false;
  std::unique_ptr<TProgramMimeData> FPending;
  QMetaObject::Connection FChanged;
};

}  // namespace vk
