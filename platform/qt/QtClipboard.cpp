#include "platform/qt/QtClipboard.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <algorithm>
#include <string_view>

#include "platform/qt/QtConvert.h"

namespace vk {

// The data the program hands the desktop, with its text as the program's
// bytes beside the desktop's form of it.
class TProgramMimeData : public QMimeData {
public:
  std::optional<std::string> Text;
};

namespace {

const QString TextMime = QStringLiteral("text/plain");

// The program's text breaks its lines with CR LF (or CR); the desktop's
// plain text with LF, which is what other programs paste.
std::string WithLfLineEnds(std::string_view text) {
  std::string lf;
  lf.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      lf += text[i];
      continue;
    }
    lf += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return lf;
}

QString DesktopText(std::string_view text) {
  QString desktop = AnsiToQString(WithLfLineEnds(text));
  desktop.replace(QChar(0), QChar(QChar::ReplacementCharacter));
  return desktop;
}

// Another program's text in the code page. Each character the code page has
// no form for becomes '?', so the '?'s the text did not have count them (no
// byte of a double-byte character is '?').
TClipboardText FromDesktopText(const QString& text) {
  TClipboardText ansi{QStringToAnsi(text)};
  const auto marks = std::count(ansi.Text.begin(), ansi.Text.end(), '?');
  ansi.Replaced = static_cast<int>(marks - text.count(QChar('?')));
  return ansi;
}

}  // namespace

TQtClipboard::TQtClipboard()
    : FChanged(QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [] { Clipboard().Changed(); })) {}

TQtClipboard::~TQtClipboard() { QObject::disconnect(FChanged); }

QString TQtClipboard::MimeType(TClipboardFormat format) {
  if (format == CF_TEXT) return TextMime;
  std::string name = ClipboardFormatName(format);
  if (name.empty()) return QString();
  QString type = QStringLiteral("application/x-vornkit-");
  for (QChar c : AnsiToQString(name).toLower()) type += c.isLetterOrNumber() || c == '.' ? c : QChar('-');
  return type;
}

bool TQtClipboard::Open() {
  if (FOpen) return false;
  FOpen = true;
  return true;
}

void TQtClipboard::Close() {
  FOpen = false;
  if (FPending) QGuiApplication::clipboard()->setMimeData(FPending.release());
}

bool TQtClipboard::Clear() {
  if (!FOpen) return false;
  FPending = std::make_unique<TProgramMimeData>();
  return true;
}

bool TQtClipboard::SetData(TClipboardFormat format, const std::string& bytes) {
  QString type = MimeType(format);
  if (!FOpen || type.isEmpty()) return false;
  // Without Clear the new format joins what the clipboard holds.
  if (!FPending) {
    FPending = std::make_unique<TProgramMimeData>();
    if (const QMimeData* held = QGuiApplication::clipboard()->mimeData()) {
      for (const QString& heldType : held->formats()) FPending->setData(heldType, held->data(heldType));
      if (const auto* own = dynamic_cast<const TProgramMimeData*>(held)) FPending->Text = own->Text;
    }
  }
  if (format == CF_TEXT) {
    const std::string_view text = ClipboardText(bytes);
    FPending->Text = std::string(text);
    FPending->setText(DesktopText(text));
  } else {
    FPending->setData(type, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  return true;
}

const QMimeData* TQtClipboard::Current() const {
  return FPending ? FPending.get() : QGuiApplication::clipboard()->mimeData();
}

std::optional<std::string> TQtClipboard::GetData(TClipboardFormat format) {
  const QMimeData* data = Current();
  QString type = MimeType(format);
  if (!data || type.isEmpty()) return std::nullopt;
  if (format == CF_TEXT) {
    std::optional<TClipboardText> text = GetText();
    return text ? std::optional(text->Text + '\0') : std::nullopt;
  }
  if (!data->hasFormat(type)) return std::nullopt;
  QByteArray bytes = data->data(type);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::optional<TClipboardText> TQtClipboard::GetText() {
  const QMimeData* data = Current();
  if (!data) return std::nullopt;
  if (const auto* own = dynamic_cast<const TProgramMimeData*>(data); own && own->Text)
    return TClipboardText{*own->Text};
  // Qt answers text in whichever text form the desktop offers.
  return data->hasText() ? std::optional(FromDesktopText(data->text())) : std::nullopt;
}

bool TQtClipboard::HasFormat(TClipboardFormat format) {
  const QMimeData* data = Current();
  QString type = MimeType(format);
  if (!data || type.isEmpty()) return false;
  return format == CF_TEXT ? data->hasText() : data->hasFormat(type);
}

}  // namespace vk
