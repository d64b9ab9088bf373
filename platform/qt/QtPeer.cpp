#include "platform/qt/QtPeer.h"

#include <QtCore/QEvent>
#include <functional>
#include <memory>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/QtGuard.h"

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

TQtWidgetPeer::TQtWidgetPeer(TControl& control, QWidget* widget)
    : FControl(control), FWidget(widget), FFilter(new TEventFilter([this](QEvent& e) { return FilterEvent(e); })) {
  FFilter->setParent(widget);
  widget->installEventFilter(FFilter);
  if (QWidget* parent = ParentWidgetOf(control)) widget->setParent(parent);
}

TQtWidgetPeer::~TQtWidgetPeer() { delete FWidget; }

void TQtWidgetPeer::Attached() {
  for (TPeerProperty p : {ppBounds, ppFont, ppHint, ppEnabled, ppVisible, ppFocus}) TQtWidgetPeer::PropertyChanged(p);
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
  if (event.type() == QEvent::FocusIn) {
    auto* window = dynamic_cast<TWinControl*>(&FControl);
    if (window && !window->Focused() && window->CanFocus()) RunGuarded([window] { window->SetFocus(); });
  }
  return false;
}

// ---------------------------------------------------------------- TQtContainerPeer

TQtContainerPeer::TQtContainerPeer(TWinControl& control) : TQtWidgetPeer(control, new QWidget) {}

QPoint TQtContainerPeer::ClientOrigin() const {
  int frame = static_cast<TWinControl&>(Control()).FrameWidth();
  return {frame, frame};
}

}  // namespace vk
