#include "platform/qt/QtPeer.h"

#include <QtCore/QEvent>
#include <QtGui/QContextMenuEvent>
#include <QtWidgets/QApplication>
#include <functional>
#include <memory>

#include "platform/Forms.h"
#include "platform/InputState.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtInput.h"

namespace vk {

namespace {

// Hands a widget's events to a peer before the widget sees them.
class TEventFilter : public QObject {
public:
  explicit TEventFilter(std::function<bool(QEvent&)> filter) : FFilter(std::move(filter)) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override { return FFilter(*event); }

private:
  std::function<bool(QEvent&)> FFilter;
};

}  // namespace

QObject* InstallEventFilter(QWidget& widget, std::function<bool(QEvent&)> filter) {
  auto* events = new TEventFilter(std::move(filter));
  events->setParent(&widget);
  widget.installEventFilter(events);
  return events;
}

bool FocusReachesModel(const TControl& control, const QFocusEvent& event) {
  return event.reason() == Qt::MouseFocusReason || !GetParentForm(control);
}

bool OfferKeyToModel(TWinControl& control, const QKeyEvent& event) {
  uint16_t key = VirtualKeyOf(event.key(), event.modifiers());
  if (!key) return false;
  SetModifierKeys(event.modifiers());
  const bool alt = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0;
  bool taken = false;
  RunGuarded([&] {
    taken = Application().IsKeyMsg(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, KeyData(alt, event.isAutoRepeat(), false));
  });
  if (taken) ShowFocusCuesAfterKey(key);
  return taken;
}

void ShowFocusCuesAfterKey(uint16_t key) {
  if (key != VK_TAB && key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN) return;
  // The model moved the focus with setFocus(OtherFocusReason), which leaves
  // the cues off; styles draw a focus frame only with this attribute set.
  QWidget* focused = QApplication::focusWidget();
  if (!focused) return;
  focused->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  focused->update();
}

TQtPeer* QtPeerOf(const TControl* control) { return control ? dynamic_cast<TQtPeer*>(control->Peer()) : nullptr; }

QWidget* ParentWidgetOf(const TControl& control) {
  TQtPeer* parent = QtPeerOf(control.Parent());
  return parent ? parent->ChildArea() : nullptr;
}

QRect PeerGeometry(const TControl& control) {
  QPoint origin;
  if (TQtPeer* parent = QtPeerOf(control.Parent())) origin = parent->ClientOrigin();
  return QRect(origin.x() + control.Left(), origin.y() + control.Top(), control.Width(), control.Height());
}

// ---------------------------------------------------------------- TQtWidgetPeer

TQtWidgetPeer::TQtWidgetPeer(TControl& control, QWidget* widget, std::initializer_list<TPeerProperty> ownProperties)
    : FControl(control), FWidget(widget), FOwnProperties(ownProperties) {
  InstallEventFilter(*widget, [this](QEvent& e) { return FilterEvent(e); });
  if (QWidget* parent = ParentWidgetOf(control)) widget->setParent(parent);
}

TQtWidgetPeer::~TQtWidgetPeer() { delete FWidget; }

void TQtWidgetPeer::WatchInput(QWidget& inner) {
  InstallEventFilter(inner, [this](QEvent& e) { return FilterEvent(e); });
}

void TQtWidgetPeer::Attached() {
  for (TPeerProperty p : {ppBounds, ppFont, ppHint, ppEnabled, ppVisible, ppFocus}) TQtWidgetPeer::PropertyChanged(p);
  for (TPeerProperty p : FOwnProperties) PropertyChanged(p);
}

void TQtWidgetPeer::PropertyChanged(TPeerProperty property) {
  if (!FWidget) return;
  auto* window = dynamic_cast<TWinControl*>(&FControl);
  switch (property) {
    case ppBounds:
    case ppFrame:
      FWidget->setGeometry(Geometry());
      break;
    case ppVisible:
      FWidget->setVisible(FControl.Visible());
      break;
    case ppEnabled:
      FWidget->setEnabled(FControl.Enabled());
      break;
    case ppFont: {
      std::unique_ptr<TQtFont> local;
      FWidget->setFont(QtFontFor(FControl.Font().LogFont(), local).Font);
      break;
    }
    case ppHint:
      FWidget->setToolTip(AnsiToQString(FControl.Hint()));
      break;
    case ppFocus:
      if (window && window->Focused() && !FWidget->hasFocus()) FWidget->setFocus(Qt::OtherFocusReason);
      break;
    default:
      break;
  }
}

bool TQtWidgetPeer::FilterEvent(QEvent& event) {
  auto* window = dynamic_cast<TWinControl*>(&FControl);
  switch (event.type()) {
    case QEvent::FocusIn:
      if (window && !window->Focused() && window->CanFocus() &&
          FocusReachesModel(*window, static_cast<QFocusEvent&>(event)))
        RunGuarded([window] { window->SetFocus(); });
      return false;
    case QEvent::KeyPress:
      return window && OfferKeyToModel(*window, static_cast<QKeyEvent&>(event));
    case QEvent::ContextMenu: {
      if (!FControl.PopupMenu()) return false;
      QPoint at = static_cast<QContextMenuEvent&>(event).globalPos();
      RunGuarded([&] { FControl.Perform(WM_CONTEXTMENU, 0, MakeLParam(at.x(), at.y())); });
      return true;
    }
    default:
      return false;
  }
}

// ---------------------------------------------------------------- TQtContainerPeer

TQtContainerPeer::TQtContainerPeer(TWinControl& control) : TQtWidgetPeer(control, new QWidget) {}

QPoint TQtContainerPeer::ClientOrigin() const {
  int frame = static_cast<TWinControl&>(Control()).FrameWidth();
  return {frame, frame};
}

}  // namespace vk
