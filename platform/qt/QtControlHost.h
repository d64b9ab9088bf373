#pragma once
// A QWidget that is the window of a TCustomControl on the screen: it draws
// the window's frame and carries its scroll bars, and its client area
// (TQtClientArea) paints through the control's paint code and feeds Qt's
// input to the control as window messages. Any custom-painted control works
// in it: the hot-key control, the editor, the colour grid.
//
// The control stays its owner's; the host is its peer (TWindowPeer) for as
// long as both live. The widget's size is the control's size: resizing one
// resizes the other. Showing, hiding and focus go both ways too.

#include <QtWidgets/QScrollBar>
#include <QtWidgets/QWidget>

#include "platform/Controls.h"

namespace vk {

class TQtCanvas;
class TQtClientArea;

class TQtControlHost : public QWidget, public TWindowPeer {
public:
  // Makes the control's window and puts a Qt canvas in the control's place.
  explicit TQtControlHost(TCustomControl& control, QWidget* parent = nullptr);
  // Gives the control back its headless canvas.
  ~TQtControlHost() override;
  TQtControlHost(const TQtControlHost&) = delete;
  TQtControlHost& operator=(const TQtControlHost&) = delete;

  // nullptr once the control is freed.
  TCustomControl* Control() const { return FControl; }
  // The client area: the widget the control paints and takes input in.
  QWidget* ClientArea() const;
  QScrollBar* ScrollBar(int bar) const { return FBars[bar == SB_VERT ? 1 : 0]; }
  TQtCanvas& Canvas() const { return *FCanvas; }

  // Repaints a part of the client area (client coordinates) in the next
  // paint: the caret's and the composition text's places, which the
  // control's update region does not know of.
  void RepaintClientRect(const TRect& rect);

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  void RegionInvalidated(const TRect& rect) override;
  void WindowScrolled(const TWinControl::TScrollRequest& request) override;
  void PaintRequested() override;
  void WindowChanged() override;
  void WindowFreed() override;

  // Places the client area and the scroll bars as the control's frame and
  // bars ask.
  void Layout();
  void SyncScrollBar(int bar);
  void SyncShownAndFocus();
  // The user worked a scroll bar: the control gets its scroll message.
  void ScrollBarAction(int bar, int action);
  void ScrollBarReleased(int bar);
  void SendScroll(int bar, int code, int pos);
  void PaintOutsidePaint(const TRect& rect);

  TCustomControl* FControl;
  TQtClientArea* FClient;
  QScrollBar* FBars[2];
  TQtCanvas* FCanvas;
  // Set while the host itself changes the control or the widget, so that
  // the change does not come back.
  bool FSyncing = false;
  bool FHiddenByControl = false;
};

// The host that shows a window, or nullptr.
TQtControlHost* HostOf(const TWinControl* control);

}  // namespace vk
