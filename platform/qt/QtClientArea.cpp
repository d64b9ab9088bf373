#include "platform/qt/QtClientArea.h"

#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QContextMenuEvent>
#include <QtGui/QInputMethodEvent>
#include <QtGui/QPaintEvent>
#include <QtGui/QPainter>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Caret.h"
#include "platform/DropFiles.h"
#include "platform/FilePaths.h"
#include "platform/Forms.h"
#include "platform/Ime.h"
#include "platform/InputState.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtInput.h"
#include "platform/qt/QtPeer.h"
#include "platform/qt/QtPlatform.h"

namespace vk {

namespace {

constexpr uint32_t ButtonDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
constexpr uint32_t ButtonUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
constexpr uint32_t ButtonDoubleClick[3] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};

// Ends the canvas's time with the painter, also when painting throws.
class TCanvasBinding {
public:
  TCanvasBinding(TQtCanvas& canvas, QPainter& painter, bool& painting) : FCanvas(canvas), FPainting(painting) {
    FCanvas.Begin(painter);
    FPainting = true;
  }
  ~TCanvasBinding() {
    FCanvas.End();
    FPainting = false;
  }
  TCanvasBinding(const TCanvasBinding&) = delete;
  TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
  TQtCanvas& FCanvas;
  bool& FPainting;
};

}  // namespace

TQtClientArea::TQtClientArea(TQtControlHost& host) : QWidget(&host), FHost(host) {
  // The control paints every pixel it is asked for, so Qt need not clear
  // them first and may move pixels when the control scrolls.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled);
  setMouseTracking(true);
  setAcceptDrops(true);
}

TCustomControl* TQtClientArea::Control() const { return FHost.Control(); }

// ---------------------------------------------------------------- painting

void TQtClientArea::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  TCustomControl* control = Control();
  if (!control || !control->HandleAllocated()) {
    // Nothing to show: the window's colour, not stale pixels.
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  RunPaintGuarded([&] { PaintControl(*event, painter); });
  if (!Control()) return;
  if (TQtPlatform* platform = TQtPlatform::Instance()) platform->Caret().Draw(painter, *control);
  DrawComposition(painter);
}

void TQtClientArea::PaintControl(QPaintEvent& event, QPainter& painter) {
  TCustomControl& control = *Control();
  QRegion pending;
  for (const TRect& r : control.UpdateRegion()) pending += ToQRect(r);
  // What Qt asks for beyond the control's own invalidation (the window was
  // uncovered, the caret blinked) has had no WM_ERASEBKGND asked for it.
  bool erase = control.UpdateErasePending() || !(event.region() - pending).isEmpty();
  std::vector<TRect> region;
  for (const QRect& r : event.region()) region.push_back(FromQRect(r));
  control.ValidateAll();
  TCanvasBinding binding(FHost.Canvas(), painter, FPainting);
  control.PaintRegion(region, erase);
}

void TQtClientArea::RepaintComposition() {
  if (!FComposition.isEmpty()) FHost.RepaintClientRect(CompositionRect());
}

TPoint TQtClientArea::CompositionPoint() const {
  TCustomControl* control = Control();
  if (!control || !control->HandleAllocated()) return {};
  const TInputContext& context = control->ImeContext();
  if (context.Window.dwStyle & CFS_POINT) return context.Window.ptCurrentPos;
  const TCaretState& caret = CaretState();
  return caret.Owner == control ? caret.Pos : TPoint{};
}

TLogFont TQtClientArea::CompositionFont() const {
  TCustomControl* control = Control();
  if (!control) return {};
  const TInputContext& context = control->ImeContext();
  return context.FontSet ? context.Font : control->Font().LogFont();
}

TRect TQtClientArea::CompositionRect() const {
  std::unique_ptr<TQtFont> local;
  const TQtFont& font = QtFontFor(CompositionFont(), local);
  TPoint at = CompositionPoint();
  return Bounds(at.X, at.Y, std::max(1, font.Metrics.horizontalAdvance(FComposition)), font.Metrics.height());
}

void TQtClientArea::DrawComposition(QPainter& painter) {
  if (FComposition.isEmpty()) return;
  std::unique_ptr<TQtFont> local;
  const TQtFont& font = QtFontFor(CompositionFont(), local);
  QRect area = ToQRect(CompositionRect());
  QColor text = ToQColor(ColorToRGB(clWindowText));
  painter.fillRect(area, ToQColor(ColorToRGB(clWindow)));
  painter.setFont(font.Font);
  painter.setPen(text);
  painter.drawText(area.left(), area.top() + font.Metrics.ascent(), FComposition);
  // Text still being composed is underlined.
  painter.fillRect(area.left(), area.bottom(), area.width(), 1, text);
}

// ---------------------------------------------------------------- keyboard

bool TQtClientArea::WantsKey(const QKeyEvent& event) const {
  if (event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab) return true;
  TCustomControl* control = Control();
  // On a form the form moves the focus (Tab is a dialog key there).
  return control && (GetParentForm(*control) || (control->Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)));
}

bool TQtClientArea::event(QEvent* event) {
  // Tab moves the focus unless the control wants it as a key.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && WantsKey(*key)) {
      keyPressEvent(key);
      return true;
    }
  }
  return QWidget::event(event);
}

void TQtClientArea::keyPressEvent(QKeyEvent* event) {
  if (!WantsKey(*event)) {
    event->ignore();
    return;
  }
  RunGuarded([&] { SendKey(*event, true); });
}

void TQtClientArea::keyReleaseEvent(QKeyEvent* event) {
  if (!WantsKey(*event)) {
    event->ignore();
    return;
  }
  RunGuarded([&] { SendKey(*event, false); });
}

void TQtClientArea::SendKey(const QKeyEvent& event, bool down) {
  if (!Control()) return;
  Qt::KeyboardModifiers modifiers = event.modifiers();
  uint16_t key = VirtualKeyOf(event.key(), modifiers);
  SetModifierKeys(modifiers);
  // A modifier key is held already while its own press is handled.
  if (key) SetKeyDown(key, down);
  bool alt = GetKeyState(VK_MENU) < 0;
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  // Alt without Ctrl (which would be AltGr) makes system keys and characters.
  bool system = alt && !ctrl;
  intptr_t keyData = KeyData(alt, event.isAutoRepeat(), !down);
  if (key && !down) Control()->Perform(system ? WM_SYSKEYUP : WM_KEYUP, key, keyData);
  if (!down) return;
  const std::string chars = TypedChars(key, modifiers, event.text());
  // A key with no virtual key that types (a layout's letter outside ASCII)
  // goes down as VK_PACKET, as the system sends such characters: every
  // character follows its key's down, which tells the control that the
  // characters are not those of the key before.
  const uint16_t downKey = key ? key : chars.empty() ? 0 : VK_PACKET;
  // Shortcuts and dialog keys go first; a key they take types nothing.
  if (downKey && !Application().KeyboardMessage(*Control(), system ? WM_SYSKEYDOWN : WM_KEYDOWN, downKey, keyData)) {
    ShowFocusCuesAfterKey(downKey);
    return;
  }
  for (char c : chars) {
    if (!Control()) return;
    Control()->Perform(system ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(c), keyData);
  }
}

// ---------------------------------------------------------------- mouse

void TQtClientArea::contextMenuEvent(QContextMenuEvent* event) {
  RunGuarded([&] {
    if (TCustomControl* control = Control()) {
      QPoint at = event->globalPos();
      control->Perform(WM_CONTEXTMENU, control->Handle(), MakeLParam(at.x(), at.y()));
    }
  });
}

void TQtClientArea::SendMouse(const QMouseEvent& event, uint32_t message) {
  TCustomControl* control = Control();
  if (!control) return;
  SetModifierKeys(event.modifiers());
  SetButtonKeys(event.buttons());
  TPoint at = FromQPoint(event.position().toPoint());
  TPoint screen = control->ClientToScreen(at);
  SetCursorPos(screen.X, screen.Y);
  // While a control holds the capture, the mouse is its alone.
  TControl* target = CaptureControl() ? CaptureControl() : control;
  if (target != control) at = target->ScreenToClient(screen);
  target->Perform(message, MouseKeyFlags(event.buttons(), event.modifiers()), MakeLParam(at.X, at.Y));
}

void TQtClientArea::SendButton(const QMouseEvent& event, const uint32_t (&messages)[3]) {
  switch (event.button()) {
    case Qt::LeftButton: SendMouse(event, messages[0]); break;
    case Qt::RightButton: SendMouse(event, messages[1]); break;
    case Qt::MiddleButton: SendMouse(event, messages[2]); break;
    default: break;
  }
}

void TQtClientArea::mousePressEvent(QMouseEvent* event) {
  RunGuarded([&] { SendButton(*event, ButtonDown); });
}

void TQtClientArea::mouseDoubleClickEvent(QMouseEvent* event) {
  RunGuarded([&] {
    // A window class without double clicks gets a second press.
    TCustomControl* control = Control();
    bool doubleClicks = control && (control->WindowParams().WindowClass.style & CS_DBLCLKS);
    SendButton(*event, doubleClicks ? ButtonDoubleClick : ButtonDown);
  });
}

void TQtClientArea::mouseReleaseEvent(QMouseEvent* event) {
  RunGuarded([&] { SendButton(*event, ButtonUp); });
}

void TQtClientArea::mouseMoveEvent(QMouseEvent* event) {
  RunGuarded([&] {
    TCustomControl* control = Control();
    if (!control) return;
    // The pointer's shape is asked for first, as the desktop does, but not
    // while a control holds the capture.
    if (!CaptureControl()) {
      SetPointerShape(control->Cursor() != crDefault ? control->Cursor() : crArrow);
      control->Perform(WM_SETCURSOR, control->Handle(), MakeLParam(HTCLIENT, WM_MOUSEMOVE));
      if (!Control()) return;
    }
    SendMouse(*event, WM_MOUSEMOVE);
    UpdatePointerShape();
  });
}

void TQtClientArea::UpdatePointerShape() {
  Qt::CursorShape shape = CursorShapeOf(PointerShape());
  if (cursor().shape() != shape) setCursor(shape);
}

void TQtClientArea::wheelEvent(QWheelEvent* event) {
  RunGuarded([&] {
    TCustomControl* control = Control();
    int delta = std::clamp(event->angleDelta().y(), -32768, 32767);
    if (!control || delta == 0) return;
    SetModifierKeys(event->modifiers());
    SetButtonKeys(event->buttons());
    TPoint screen = control->ClientToScreen(FromQPoint(event->position().toPoint()));
    SetCursorPos(screen.X, screen.Y);
    uintptr_t keys =
        MouseKeyFlags(event->buttons(), event->modifiers()) | (static_cast<uintptr_t>(delta & 0xFFFF) << 16);
    control->Perform(WM_MOUSEWHEEL, keys, MakeLParam(screen.X, screen.Y));
  });
  event->accept();
}

// ---------------------------------------------------------------- focus

void TQtClientArea::focusInEvent(QFocusEvent* event) {
  RunGuarded([&] {
    TCustomControl* control = Control();
    if (!control || !control->HandleAllocated()) return;
    if (!control->Focused() && control->CanFocus() && FocusReachesModel(*control, *event)) control->SetFocus();
    // The input method may be switched on here: the control sets the
    // composition font now.
    if (Control() && Control()->Focused()) Control()->Perform(WM_IME_NOTIFY, IMN_SETOPENSTATUS);
  });
}

void TQtClientArea::focusOutEvent(QFocusEvent* event) {
  RunGuarded([&] {
    TCustomControl* control = Control();
    // A menu or a drop-down list that opens over the window, and the menu
    // bar taking the keys (Alt, or Escape out of one of its menus), leave
    // the focus where it is: the edit commands the menus show work on this
    // control, which has the focus again when they close.
    const Qt::FocusReason reason = event->reason();
    if (!control || !control->Focused() || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason)
      return;
    // Another window of the desktop became active: the control only hears
    // that it lost the focus. Otherwise the focus left it for good.
    TWinControl::RemoveFocus(reason != Qt::ActiveWindowFocusReason);
  });
}

// ---------------------------------------------------------------- input method

QVariant TQtClientArea::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled: return Control() != nullptr;
    case Qt::ImCursorRectangle:
    case Qt::ImAnchorRectangle: {
      TRect r = CompositionRect();
      return QRect(r.Left, r.Top, 1, r.Height());
    }
    case Qt::ImFont: {
      std::unique_ptr<TQtFont> local;
      return QtFontFor(CompositionFont(), local).Font;
    }
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: return 0;
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection: return QString();
    default: return QWidget::inputMethodQuery(query);
  }
}

void TQtClientArea::inputMethodEvent(QInputMethodEvent* event) {
  RunGuarded([&] {
    TCustomControl* control = Control();
    if (!control || !control->HandleAllocated()) return;
    bool wasComposing = !FComposition.isEmpty();
    RepaintComposition();
    FComposition = event->preeditString();
    RepaintComposition();
    QString commit = event->commitString();
    if (!wasComposing && (!commit.isEmpty() || !FComposition.isEmpty())) control->Perform(WM_IME_STARTCOMPOSITION);
    if (!commit.isEmpty() && Control()) {
      std::string result = QStringToAnsi(commit);
      InputContext(ImmGetContext(*Control())).ResultString = result;
      Control()->Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
      // The window's default handling then types the result, byte by byte,
      // as character messages.
      for (char c : result) {
        if (!Control()) return;
        Control()->Perform(WM_CHAR, static_cast<unsigned char>(c), KeyData(false, false, false));
      }
    }
    if (FComposition.isEmpty() && (wasComposing || !commit.isEmpty()) && Control())
      Control()->Perform(WM_IME_ENDCOMPOSITION);
  });
  event->accept();
}

// ---------------------------------------------------------------- dropped files

bool TQtClientArea::AcceptsDrop(const QMimeData* data) const {
  TCustomControl* control = Control();
  if (!control || !data || !AcceptsDroppedFiles(*control)) return false;
  const QList<QUrl> urls = data->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

void TQtClientArea::dragEnterEvent(QDragEnterEvent* event) {
  if (AcceptsDrop(event->mimeData()))
    event->acceptProposedAction();
  else
    event->ignore();
}

void TQtClientArea::dragMoveEvent(QDragMoveEvent* event) {
  if (AcceptsDrop(event->mimeData()))
    event->acceptProposedAction();
  else
    event->ignore();
}

void TQtClientArea::dropEvent(QDropEvent* event) {
  if (!AcceptsDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  RunGuarded([&] {
    // The files the code page can name are dropped; the first other one is
    // reported.
    std::vector<std::string> files;
    std::optional<EFileNameError> unnamed;
    for (const QUrl& url : event->mimeData()->urls()) {
      if (!url.isLocalFile()) continue;
      try {
        files.push_back(QStringToFileName(url.toLocalFile()));
      } catch (const EFileNameError& e) {
        if (!unnamed) unnamed = e;
      }
    }
    if (!files.empty()) DropFiles(*Control(), files, FromQPoint(event->position().toPoint()));
    if (unnamed) throw *unnamed;
  });
  event->acceptProposedAction();
}

}  // namespace vk
