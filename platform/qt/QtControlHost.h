#pragma once
// A QWidget that is the window of a TCustomControl on the screen: it draws
// the window's frame and carries its scroll bars, and its client area
// (TQtClientArea) paints through the control's paint code and feeds Qt's
// input to the control as window messages. Any custom-painted control works
// in it: the hot-key control, the editor, the colour grid.
//
// The host is the control's peer. The peer factory makes one for a
// custom-painted control that is a child of another control on the screen:
// it is placed in the parent's widget where the model's bounds say. A host
// made by hand shows a control without a parent as a window of its own;
// the control stays its owner's, and the host its peer for as long as both
// live. Its size is the control's size: resizing one resizes the other.
// Showing, hiding and focus go both ways too.

#include <QtWidgets/QScrollBar>
#include <QtWidgets/QWidget>
#include <memory>

#include "platform/Controls.h"
#include "platform/qt/QtPeer.h"

namespace vk {

class TQtCanvas;
class TQtClientArea;

class TQtControlHost : public QWidget, public TQtPeer {
public:
  // Attaches the host to the control, makes the control's window and puts
  // a Qt canvas in the control's place.
  explicit TQtControlHost(TCustomControl& control, QWidget* parent = nullptr);
  // The factory's host for a control whose window is being made.
  static std::unique_ptr<TQtControlHost> ForWindow(TCustomControl& control);
  // Gives the control back its headless canvas.
  ~TQtControlHost() override;
  TQtControlHost(const TQtControlHost&) = delete;
  TQtControlHost& operator=(const TQtControlHost&) = delete;

  // nullptr once the control is freed.
  TCustomControl* Control() const { return FControl; }
  // The client area: the widget the control paints and takes input in.
  QWidget* ClientArea() const;
  // The control paints its window now.
  bool Painting() const;
  QScrollBar* ScrollBar(int bar) const { return FBars[bar == SB_VERT ? 1 : 0]; }
  TQtCanvas& Canvas() const { return *FCanvas; }

  QWidget* Widget() const override { return const_cast<TQtControlHost*>(this); }
  QWidget* ChildArea() const override;
  void Attached() override { WindowChanged(); }

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
  TQtControlHost(TCustomControl& control, QWidget* parent, bool attach);

  void PropertyChanged(TPeerProperty) override { WindowChanged(); }
  void RegionInvalidated(const TRect& rect) override;
  void WindowScrolled(const TWinControl::TScrollRequest& request) override;
  void PaintRequested() override;
  void ControlFreed() override;
  // Follows the control: place, frame, scroll bars, visibility and focus.
  void WindowChanged();

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
