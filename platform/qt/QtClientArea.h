#pragma once
// The client area of a hosted control (see QtControlHost.h): its paint event
// paints through the control's paint code, the caret and the input method's
// composition text over it; keyboard, character, mouse, wheel, focus,
// input-method and file-drop events become the control's window messages,
// with the input state (held keys, pointer position) set first, as the
// desktop does.

#include <QtCore/QMimeData>
#include <QtWidgets/QWidget>

#include "platform/Controls.h"

namespace vk {

class TQtControlHost;

class TQtClientArea : public QWidget {
public:
  explicit TQtClientArea(TQtControlHost& host);

  // Inside the paint event.
  bool Painting() const { return FPainting; }
  // Repaints where the composition text shows.
  void RepaintComposition();

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  TCustomControl* Control() const;
  // Tab is a key only for a control that asks for it (WM_GETDLGCODE);
  // otherwise it moves the focus.
  bool WantsKey(const QKeyEvent& event) const;
  void PaintControl(QPaintEvent& event, QPainter& painter);
  void SendKey(const QKeyEvent& event, bool down);
  // A mouse message to the control (or the one holding the capture).
  void SendMouse(const QMouseEvent& event, uint32_t message);
  // Button messages by the button: left, right, middle.
  void SendButton(const QMouseEvent& event, const uint32_t (&messages)[3]);
  void UpdatePointerShape();
  // Where the composition text shows: the point the control set for the
  // composition window, else the caret.
  TPoint CompositionPoint() const;
  TLogFont CompositionFont() const;
  TRect CompositionRect() const;
  void DrawComposition(QPainter& painter);
  bool AcceptsDrop(const QMimeData* data) const;

  TQtControlHost& FHost;
  bool FPainting = false;
  QString FComposition;
};

}  // namespace vk
