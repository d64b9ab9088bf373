#pragma once
// The Qt side of the seam between the headless model and the screen: every
// control on the screen has one TQtPeer, made by the peer factory
// (QtPeerFactory.h). A peer owns the widget that shows its control, places
// it where the model's bounds say (no QLayout decides sizes), and updates it
// when the model tells it that a property changed. What the user does in the
// widget goes back to the model as the calls a test makes.

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <functional>
#include <initializer_list>
#include <vector>
#include <QtWidgets/QWidget>

#include "platform/Controls.h"

namespace vk {

class TQtPeer : public TControlPeer {
public:
  // The widget that shows the control.
  virtual QWidget* Widget() const = 0;
  // Where the widgets of the control's children go, and the point of that
  // widget where the control's client area starts.
  virtual QWidget* ChildArea() const { return Widget(); }
  virtual QPoint ClientOrigin() const { return {}; }
  // Brings the widget to the model's state in full; the factory calls it
  // once the peer is made.
  virtual void Attached() = 0;
};

// The Qt peer of a control, or nullptr.
TQtPeer* QtPeerOf(const TControl* control);
// The widget a control's widget belongs in: its parent's child area
// (nullptr for a control without a parent, or a parent not on the screen).
QWidget* ParentWidgetOf(const TControl& control);
// The control's bounds in that widget.
QRect PeerGeometry(const TControl& control);
// Offers a key pressed in a widget to the model's shortcuts and dialog keys
// (Application::IsKeyMsg) for the control; true when one took it, and the
// widget then does not see it.
bool OfferKeyToModel(TWinControl& control, const QKeyEvent& event);
// After a key that the model took: a key that moves the focus (Tab, an
// arrow) turns on the window's focus cues, so that the focused button or
// check box shows its focus frame as it does after Qt's own Tab.
void ShowFocusCuesAfterKey(uint16_t key);
// Whether Qt giving a widget the focus moves the model's focus to the
// control. On a form only a click does: the keys that move the focus are
// the form's, and where Qt picks a widget itself (a window activated or a
// focused widget hidden) the form puts the model's focus back.
bool FocusReachesModel(const TControl& control, const QFocusEvent& event);
// Hands events of a widget to a function before the widget sees them.
QObject* InstallEventFilter(QWidget& widget, std::function<bool(QEvent&)> filter);

// A peer that owns one widget: the widget follows the model's bounds,
// visibility, enabled state, font and hint, and tells the model when the
// user gives it the focus or presses a key that is a shortcut or a dialog
// key. Control kinds derive from it, make their widget, handle their own
// properties in PropertyChanged and pass the rest on.
class TQtWidgetPeer : public TQtPeer {
public:
  // Takes the widget over and puts it into its parent's child area. Attached
  // shows the kind's own properties, in the order given, after the base's.
  TQtWidgetPeer(TControl& control, QWidget* widget, std::initializer_list<TPeerProperty> ownProperties = {});
  // Deletes the widget.
  ~TQtWidgetPeer() override;
  TQtWidgetPeer(const TQtWidgetPeer&) = delete;
  TQtWidgetPeer& operator=(const TQtWidgetPeer&) = delete;

  QWidget* Widget() const override { return FWidget; }
  TControl& Control() const { return FControl; }
  void PropertyChanged(TPeerProperty property) override;
  void Attached() override;

protected:
  // The widget's geometry in its parent (PeerGeometry by default).
  virtual QRect Geometry() const { return PeerGeometry(FControl); }
  // A widget inside the peer's widget that takes the focus and keys itself
  // (a view of a composite widget): its input reaches the model too.
  void WatchInput(QWidget& inner);

private:
  // Input the widget sees before it handles it.
  bool FilterEvent(QEvent& event);

  TControl& FControl;
  QPointer<QWidget> FWidget;
  std::vector<TPeerProperty> FOwnProperties;
};

// A window without a look of its own: a plain widget that holds the
// widgets of its children.
class TQtContainerPeer : public TQtWidgetPeer {
public:
  explicit TQtContainerPeer(TWinControl& control);
  QPoint ClientOrigin() const override;
};

}  // namespace vk
