#include "platform/qt/QtEditPeers.h"

#include <QtCore/QSignalBlocker>
#include <QtCore/QTimer>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtGui/QTextDocument>
#include <QtWidgets/QScrollBar>
#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "platform/InputState.h"
#include "platform/qt/QtColors.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtInput.h"

namespace vk {

// ---------------------------------------------------------------- text and positions

namespace {

// Steps through the text's characters: a double-byte character and CR LF
// are one each.
size_t NextChar(const std::string& text, size_t at) {
  if (text.compare(at, 2, "\r\n") == 0) return at + 2;
  return at + CodePage::CharLength(text.data(), text.size(), at);
}

}  // namespace

QString EditTextToQString(const std::string& text) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(text.size()));
  for (size_t at = 0; at < text.size();) {
    const size_t next = NextChar(text, at);
    if (text[at] == '\r' || text[at] == '\n') {
      shown += QLatin1Char('\n');
    } else {
      const auto lead = static_cast<unsigned char>(text[at]);
      shown += AnsiCharToQChar(next - at == 2 ? lead << 8 | static_cast<unsigned char>(text[at + 1]) : lead);
    }
    at = next;
  }
  return shown;
}

int EditIndexOf(const std::string& text, int offset) {
  int index = 0;
  for (size_t at = 0; at < text.size() && static_cast<int>(at) < offset; at = NextChar(text, at)) ++index;
  return index;
}

int EditOffsetOf(const std::string& text, int index) {
  size_t at = 0;
  for (int i = 0; i < index && at < text.size(); ++i) at = NextChar(text, at);
  return static_cast<int>(at);
}

namespace {

// A widget whose keys, input-method results and mouse buttons go to the
// edit control first (see QtEditPeers.h).
template <class Base>
class TTypingWidget : public Base {
public:
  explicit TTypingWidget(TCustomEdit& edit) : FEdit(edit) {}
  // Runs before the widget handles the user's input.
  std::function<void()> BeforeInput;

protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (BeforeInput) BeforeInput();
    RunGuarded([&] {
      const Qt::KeyboardModifiers modifiers = event->modifiers();
      const uint16_t key = VirtualKeyOf(event->key(), modifiers);
      SetModifierKeys(modifiers);
      const bool alt = (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier);
      const intptr_t keyData = KeyData(alt, event->isAutoRepeat(), false);
      if (key && FEdit.Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, keyData) != 0) return;
      const std::string chars = alt ? std::string() : TypedChars(key, modifiers, event->text());
      if (chars.empty()) {
        // The widget moves the caret; an Alt chord nobody took types nothing.
        if (!IsAltCharacter(*event)) Base::keyPressEvent(event);
        return;
      }
      for (char c : chars) FEdit.Perform(WM_CHAR, static_cast<unsigned char>(c), keyData);
    });
  }
  void keyReleaseEvent(QKeyEvent* event) override {
    RunGuarded([&] {
      SetModifierKeys(event->modifiers());
      if (const uint16_t key = VirtualKeyOf(event->key(), event->modifiers()))
        FEdit.Perform(WM_KEYUP, key, KeyData(false, false, true));
    });
    Base::keyReleaseEvent(event);
  }
  // The widget shows the composition; the result is typed by the model.
  void inputMethodEvent(QInputMethodEvent* event) override {
    if (BeforeInput) BeforeInput();
    const QString commit = event->commitString();
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    Base::inputMethodEvent(&composing);
    if (commit.isEmpty()) return;
    RunGuarded([&] {
      for (char c : QStringToAnsi(commit)) FEdit.Perform(WM_CHAR, static_cast<unsigned char>(c), KeyData(false, false, false));
    });
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (BeforeInput) BeforeInput();
    Base::mousePressEvent(event);
    Send(*event, event->button() == Qt::LeftButton    ? WM_LBUTTONDOWN
                 : event->button() == Qt::RightButton ? WM_RBUTTONDOWN
                                                      : 0);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    Base::mouseReleaseEvent(event);
    Send(*event, event->button() == Qt::LeftButton    ? WM_LBUTTONUP
                 : event->button() == Qt::RightButton ? WM_RBUTTONUP
                                                      : 0);
  }

private:
  void Send(const QMouseEvent& event, uint32_t message) {
    if (!message) return;
    const QPoint at = event.position().toPoint();
    RunGuarded([&] {
      FEdit.Perform(message, MouseKeyFlags(event.buttons(), event.modifiers()), MakeLParam(at.x(), at.y()));
    });
  }

  TCustomEdit& FEdit;
};

}  // namespace

// ---------------------------------------------------------------- TQtEditPeer

TQtEditPeer::TQtEditPeer(TCustomEdit& edit)
    : TQtWidgetPeer(edit, new TTypingWidget<QLineEdit>(edit), {ppStyle, ppColor, ppText}), FEdit(edit), FLine(static_cast<QLineEdit*>(Widget())) {
  QObject::connect(FLine, &QLineEdit::textEdited, [this](const QString& shown) {
    const std::string text = QStringToAnsi(shown);
    RunGuarded([&] { FEdit.UserEdit(text, EditOffsetOf(text, FLine->cursorPosition())); });
    ShowText();
  });
  QObject::connect(FLine, &QLineEdit::selectionChanged, [this] { ReportSelection(); });
  QObject::connect(FLine, &QLineEdit::cursorPositionChanged, [this] { ReportSelection(); });
}

void TQtEditPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppText: ShowText(); break;
    case ppSelection: ShowSelection(); break;
    case ppStyle:
      FLine->setReadOnly(FEdit.ReadOnly());
      FLine->setFrame(FEdit.BorderStyle() != bsNone);
      break;
    case ppColor:
    case ppFont: ShowControlColors(*FLine, FEdit, QPalette::Base, QPalette::Text, true); break;
    default: break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

void TQtEditPeer::ShowText() {
  QSignalBlocker blocker(FLine);
  const QString text = EditTextToQString(FEdit.Text());
  if (FLine->text() != text) FLine->setText(text);
  ShowSelection();
}

void TQtEditPeer::ShowSelection() {
  QSignalBlocker blocker(FLine);
  const std::string text = FEdit.Text();
  const int start = EditIndexOf(text, FEdit.SelStart());
  const int length = EditIndexOf(text, FEdit.SelStart() + FEdit.SelLength()) - start;
  const bool same = length == 0 ? !FLine->hasSelectedText() && FLine->cursorPosition() == start
                                : FLine->selectionStart() == start && FLine->selectionLength() == length;
  if (same) return;
  if (length == 0)
    FLine->setCursorPosition(start);
  else
    FLine->setSelection(start, length);
}

void TQtEditPeer::ReportSelection() {
  const std::string text = FEdit.Text();
  const bool selected = FLine->hasSelectedText();
  const int start = selected ? FLine->selectionStart() : FLine->cursorPosition();
  const int end = selected ? FLine->selectionEnd() : start;
  RunGuarded([&] { FEdit.Perform(EM_SETSEL, EditOffsetOf(text, start), EditOffsetOf(text, end)); });
}

// ---------------------------------------------------------------- TQtMemoPeer

TQtMemoPeer::TQtMemoPeer(TCustomMemo& memo)
    : TQtWidgetPeer(memo, new TTypingWidget<QPlainTextEdit>(memo), {ppStyle, ppColor}),
      FMemo(memo),
      FText(static_cast<QPlainTextEdit*>(Widget())) {
  // Undo is the model's.
  FText->setUndoRedoEnabled(false);
  static_cast<TTypingWidget<QPlainTextEdit>*>(FText)->BeforeInput = [this] {
    if (FSyncPending) Sync();
  };
  QObject::connect(FText, &QPlainTextEdit::textChanged, [this] { ReportEdit(); });
  QObject::connect(FText, &QPlainTextEdit::selectionChanged, [this] { ReportSelection(); });
  QObject::connect(FText, &QPlainTextEdit::cursorPositionChanged, [this] { ReportSelection(); });
  // The view follows the end of the text while it shows it: as lines come,
  // or as the view grows.
  QScrollBar* bar = FText->verticalScrollBar();
  QObject::connect(bar, &QScrollBar::valueChanged, [this, bar](int value) { FFollowing = value >= bar->maximum(); });
  QObject::connect(bar, &QScrollBar::rangeChanged, [this, bar](int, int maximum) {
    if (FFollowing) bar->setValue(maximum);
  });
}

void TQtMemoPeer::Attached() {
  TQtWidgetPeer::Attached();
  Sync();
}

void TQtMemoPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppText:
      // An output written afresh is shown at its end as it grows.
      if (FMemo.TextLines().size() == 1 && FMemo.TextLines()[0].empty()) FFollowing = true;
      SyncLater();
      break;
    case ppSelection: SyncLater(); break;
    case ppStyle: {
      FText->setReadOnly(FMemo.ReadOnly());
      FText->setLineWrapMode(FMemo.WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
      const TScrollStyle bars = FMemo.ScrollBars();
      FText->setHorizontalScrollBarPolicy(bars == ssHorizontal || bars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                                 : Qt::ScrollBarAlwaysOff);
      FText->setVerticalScrollBarPolicy(bars == ssVertical || bars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                             : Qt::ScrollBarAlwaysOff);
      FText->setFrameShape(FMemo.BorderStyle() == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
      break;
    }
    case ppColor:
    case ppFont: ShowControlColors(*FText, FMemo, QPalette::Base, QPalette::Text, true); break;
    default: break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

void TQtMemoPeer::SyncLater() {
  if (FSyncPending) return;
  FSyncPending = true;
  QTimer::singleShot(0, FText, [this] {
    if (FSyncPending) Sync();
  });
}

void TQtMemoPeer::Sync() {
  FSyncPending = false;
  QSignalBlocker blocker(FText);
  // Lines added to the build's output are all that changed on most turns:
  // only they are converted and appended, not the whole text.
  int first = FMemo.TakeFirstChangedLine();
  if (std::exchange(FWidgetChanged, false)) first = 0;
  if (first == 0)
    ShowWholeText();
  else if (first != INT_MAX)
    ShowLinesFrom(first);
  ShowSelection();
}

void TQtMemoPeer::ShowWholeText() {
  const QString target = EditTextToQString(FMemo.Text());
  const QString current = FText->toPlainText();
  if (current == target) return;
  // Only the part between what stayed at both ends is replaced, so the
  // widget keeps its layout and scroll position for the rest.
  const qsizetype shorter = std::min(current.size(), target.size());
  qsizetype prefix = 0;
  while (prefix < shorter && current[prefix] == target[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && current[current.size() - 1 - suffix] == target[target.size() - 1 - suffix])
    ++suffix;
  QTextCursor cursor(FText->document());
  cursor.setPosition(static_cast<int>(prefix));
  cursor.setPosition(static_cast<int>(current.size() - suffix), QTextCursor::KeepAnchor);
  cursor.insertText(target.mid(prefix, target.size() - prefix - suffix));
}

void TQtMemoPeer::ShowLinesFrom(int first) {
  const QTextBlock kept = FText->document()->findBlockByNumber(first - 1);
  if (!kept.isValid()) {
    ShowWholeText();
    return;
  }
  // From the end of the last line kept: each later line after its break.
  const std::vector<std::string>& lines = FMemo.TextLines();
  std::string tail;
  for (size_t i = static_cast<size_t>(first); i < lines.size(); ++i) tail += "\r\n" + lines[i];
  QTextCursor cursor(FText->document());
  cursor.setPosition(kept.position() + kept.length() - 1);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.insertText(EditTextToQString(tail));
}

void TQtMemoPeer::ShowSelection() {
  const int start = WidgetIndexOf(FMemo.SelStart());
  const int end = WidgetIndexOf(FMemo.SelStart() + FMemo.SelLength());
  QTextCursor cursor = FText->textCursor();
  if (cursor.selectionStart() == start && cursor.selectionEnd() == end) return;
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  FText->setTextCursor(cursor);
}

int TQtMemoPeer::WidgetIndexOf(int offset) const {
  // The model's line holding the offset is the widget's block of that number.
  const std::vector<std::string>& lines = FMemo.TextLines();
  size_t line = 0;
  int lineStart = 0;
  while (line + 1 < lines.size() && lineStart + static_cast<int>(lines[line].size()) + 2 <= offset)
    lineStart += static_cast<int>(lines[line++].size()) + 2;
  const QTextBlock block = FText->document()->findBlockByNumber(static_cast<int>(line));
  return block.position() + EditIndexOf(lines[line], offset - lineStart);
}

int TQtMemoPeer::ModelOffsetOf(int index) const {
  // The widget's block holding the index is the model's line of that number.
  QTextBlock block = FText->document()->findBlock(index);
  if (!block.isValid()) block = FText->document()->lastBlock();
  const std::vector<std::string>& lines = FMemo.TextLines();
  const size_t line = std::min(static_cast<size_t>(std::max(block.blockNumber(), 0)), lines.size() - 1);
  int lineStart = 0;
  for (size_t i = 0; i < line; ++i) lineStart += static_cast<int>(lines[i].size()) + 2;
  return lineStart + EditOffsetOf(lines[line], index - block.position());
}

void TQtMemoPeer::ReportSelection() {
  if (FSyncPending) return;
  // From the cursor's line: a caret move costs no copy of the whole text.
  const QTextCursor cursor = FText->textCursor();
  const int start = ModelOffsetOf(cursor.selectionStart()), end = ModelOffsetOf(cursor.selectionEnd());
  RunGuarded([&] { FMemo.Perform(EM_SETSEL, start, end); });
}

void TQtMemoPeer::ReportEdit() {
  std::string text = QStringToAnsi(FText->toPlainText());
  // The widget's line breaks are the model's CR LF.
  std::string edited;
  edited.reserve(text.size());
  for (char c : text) edited += c == '\n' ? std::string("\r\n") : std::string(1, c);
  if (edited == FMemo.Text()) return;
  RunGuarded([&] { FMemo.UserEdit(edited, EditOffsetOf(edited, FText->textCursor().position())); });
  // The model may have refused or cut the edit.
  FWidgetChanged = true;
  Sync();
}

// ---------------------------------------------------------------- TQtSpinEditPeer

TQtSpinEditPeer::TQtSpinEditPeer(TCSpinEdit& spin)
    : TQtWidgetPeer(spin, new QSpinBox, {ppStyle, ppColor, ppText}), FSpin(spin), FBox(static_cast<QSpinBox*>(Widget())) {
  QObject::connect(FBox, &QSpinBox::valueChanged, [this](int value) {
    RunGuarded([&] { FSpin.SetValue(value); });
    PropertyChanged(ppText);
  });
}

void TQtSpinEditPeer::PropertyChanged(TPeerProperty property) {
  QSignalBlocker blocker(FBox);
  switch (property) {
    case ppText: FBox->setValue(FSpin.Value()); break;
    case ppStyle: {
      const bool limited = FSpin.MinValue() != FSpin.MaxValue();
      FBox->setRange(limited ? FSpin.MinValue() : INT_MIN, limited ? FSpin.MaxValue() : INT_MAX);
      FBox->setReadOnly(FSpin.ReadOnly());
      FBox->setFrame(FSpin.BorderStyle() != bsNone);
      break;
    }
    case ppColor:
    case ppFont: ShowControlColors(*FBox, FSpin, QPalette::Base, QPalette::Text, true); break;
    default: break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

}  // namespace vk
