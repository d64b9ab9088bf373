#include "platform/qt/QtControlHost.h"

#include <QtCore/QSignalBlocker>
#include <QtGui/QPainter>
#include <QtGui/QShowEvent>
#include <algorithm>
#include <climits>
#include <memory>

#include "platform/Caret.h"
#include "platform/ScopeGuard.h"
#include "platform/SystemMetrics.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtClientArea.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"

namespace vk {

namespace {

// A change of the widget or the control that must not echo back.
using TSyncing = TTempValue<bool>;

QColor SystemQColor(TColor color) { return ToQColor(ColorToRGB(color)); }

// A rectangle's outline in two colours: top and left, bottom and right.
void DrawEdge(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  painter.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
  painter.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
  painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
  painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
}

}  // namespace

TQtControlHost* HostOf(const TWinControl* control) {
  return control ? dynamic_cast<TQtControlHost*>(control->Peer()) : nullptr;
}

TQtControlHost::TQtControlHost(TCustomControl& control, QWidget* parent) : TQtControlHost(control, parent, true) {}

std::unique_ptr<TQtControlHost> TQtControlHost::ForWindow(TCustomControl& control) {
  return std::unique_ptr<TQtControlHost>(new TQtControlHost(control, ParentWidgetOf(control), false));
}

TQtControlHost::TQtControlHost(TCustomControl& control, QWidget* parent, bool attach)
    : QWidget(parent), FControl(&control), FClient(new TQtClientArea(*this)) {
  for (int bar : {SB_HORZ, SB_VERT}) {
    auto* scrollBar = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, this);
    scrollBar->setFocusPolicy(Qt::NoFocus);
    scrollBar->hide();
    connect(scrollBar, &QAbstractSlider::actionTriggered, this,
            [this, bar](int action) { ScrollBarAction(bar, action); });
    connect(scrollBar, &QAbstractSlider::sliderReleased, this, [this, bar] { ScrollBarReleased(bar); });
    FBars[bar == SB_VERT ? 1 : 0] = scrollBar;
  }
  auto canvas = std::make_unique<TQtCanvas>();
  FCanvas = canvas.get();
  FCanvas->OnPaintOutsidePaint = TDelegate<void(const TRect&)>(this, &TQtControlHost::PaintOutsidePaint);
  control.SetCanvas(std::move(canvas));
  if (!attach) return;
  control.SetPeer(this);
  control.HandleNeeded();
  {
    TSyncing syncing(FSyncing, true);
    resize(control.Width(), control.Height());
  }
  WindowChanged();
}

TQtControlHost::~TQtControlHost() {
  if (FControl) {
    FControl->SetPeer(nullptr);
    FControl->SetCanvas(CreateScreenCanvas());
    FControl = nullptr;
  }
  // Gone before the host's own part is: its last events may ask for it.
  delete FClient;
}

QWidget* TQtControlHost::ClientArea() const { return FClient; }

QWidget* TQtControlHost::ChildArea() const { return FClient; }

bool TQtControlHost::Painting() const { return FClient->Painting(); }

void TQtControlHost::RepaintClientRect(const TRect& rect) {
  if (!IsRectEmpty(rect)) FClient->update(ToQRect(rect));
}

void TQtControlHost::PaintOutsidePaint(const TRect& rect) {
  if (FControl) FControl->InvalidateRect(rect, false);
}

// ---------------------------------------------------------------- what the window asks

void TQtControlHost::RegionInvalidated(const TRect& rect) { FClient->update(ToQRect(rect)); }

void TQtControlHost::WindowScrolled(const TWinControl::TScrollRequest& request) {
  TWinControl::TScrollRequest scroll = request;
  FClient->scroll(scroll.DX, scroll.DY, ToQRect(scroll.Area));
  // The caret's pixels must not travel with the text.
  const TCaretState& caret = CaretState();
  if (caret.Owner == FControl) {
    TRect drawn = Bounds(caret.Pos.X, caret.Pos.Y, caret.Width, caret.Height);
    RepaintClientRect(drawn);
    OffsetRect(drawn, scroll.DX, scroll.DY);
    RepaintClientRect(drawn);
  }
  FClient->RepaintComposition();
  // The host has done what the log asks.
  FControl->ClearScrollRequests();
}

void TQtControlHost::PaintRequested() {
  if (!FClient->Painting() && FClient->isVisible()) {
    QRegion region;
    for (const TRect& r : FControl->UpdateRegion()) region += ToQRect(r);
    FClient->repaint(region);
  }
}

void TQtControlHost::WindowChanged() {
  if (!FControl || FControl->ComponentState().Contains(csDestroying)) return;
  Layout();
  SyncScrollBar(SB_HORZ);
  SyncScrollBar(SB_VERT);
  SyncShownAndFocus();
}

void TQtControlHost::ControlFreed() {
  FControl = nullptr;
  FClient->hide();
  for (QScrollBar* bar : FBars) bar->hide();
}

void TQtControlHost::Layout() {
  TSyncing syncing(FSyncing, true);
  if (FControl->Parent())
    setGeometry(PeerGeometry(*FControl));
  else if (size() != QSize(FControl->Width(), FControl->Height()))
    resize(FControl->Width(), FControl->Height());
  int frame = FControl->FrameWidth();
  TRect client = FControl->ClientRect();
  FClient->setGeometry(frame, frame, client.Width(), client.Height());
  FClient->setVisible(FControl->HandleAllocated());
  FClient->setFocusPolicy(FControl->TabStop() ? Qt::TabFocus : Qt::NoFocus);
  update();
}

void TQtControlHost::SyncScrollBar(int bar) {
  QScrollBar* scrollBar = ScrollBar(bar);
  const TScrollBarState& state = FControl->ScrollBar(bar);
  if (!state.Visible || !FControl->HandleAllocated()) {
    scrollBar->hide();
    return;
  }
  QSignalBlocker blocker(scrollBar);
  int page = static_cast<int>(std::min<uint32_t>(state.Page, INT_MAX));
  // Qt's range is the positions the thumb can take.
  scrollBar->setRange(state.Min, std::max(state.Min, state.Max - std::max(page - 1, 0)));
  scrollBar->setPageStep(std::max(page, 1));
  scrollBar->setSingleStep(1);
  // A thumb the user holds stays where the user has it.
  if (!scrollBar->isSliderDown()) scrollBar->setValue(state.Pos);
  scrollBar->setEnabled(state.Arrows != ESB_DISABLE_BOTH);
  int frame = FControl->FrameWidth();
  TRect client = FControl->ClientRect();
  if (bar == SB_VERT)
    scrollBar->setGeometry(frame + client.Width(), frame, GetSystemMetrics(SM_CXVSCROLL), client.Height());
  else
    scrollBar->setGeometry(frame, frame + client.Height(), client.Width(), GetSystemMetrics(SM_CYHSCROLL));
  scrollBar->show();
}

void TQtControlHost::SyncShownAndFocus() {
  {
    TSyncing syncing(FSyncing, true);
    if (FControl->Parent()) {
      // A child shows with its parent.
      setVisible(FControl->Visible());
    } else if (!FControl->Visible() && isVisible()) {
      FHiddenByControl = true;
      hide();
    } else if (FControl->Visible() && FHiddenByControl) {
      FHiddenByControl = false;
      show();
    }
  }
  if (FControl && FControl->Focused() && !FClient->hasFocus()) FClient->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- scroll bars

void TQtControlHost::SendScroll(int bar, int code, int pos) {
  FControl->Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
                    static_cast<uintptr_t>(code) | (static_cast<uintptr_t>(pos & 0xFFFF) << 16), 0);
}

void TQtControlHost::ScrollBarAction(int bar, int action) {
  RunGuarded([&] {
    if (!FControl) return;
    QScrollBar* scrollBar = ScrollBar(bar);
    if (action == QAbstractSlider::SliderMove) {
      SetScrollTrackPos(*FControl, bar, scrollBar->sliderPosition());
      SendScroll(bar, SB_THUMBTRACK, scrollBar->sliderPosition());
      return;
    }
    int code = SB_ENDSCROLL;
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
      case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
      case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
      case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
      case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
      case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
      default: return;
    }
    SendScroll(bar, code, 0);
    if (FControl) SendScroll(bar, SB_ENDSCROLL, 0);
    // The bar shows where the control went, not where Qt would step.
    if (FControl) scrollBar->setSliderPosition(FControl->ScrollBar(bar).Pos);
  });
}

void TQtControlHost::ScrollBarReleased(int bar) {
  RunGuarded([&] {
    if (!FControl) return;
    SendScroll(bar, SB_THUMBPOSITION, ScrollBar(bar)->sliderPosition());
    if (FControl) SendScroll(bar, SB_ENDSCROLL, 0);
    if (FControl) SyncScrollBar(bar);
  });
}

// ---------------------------------------------------------------- widget events

void TQtControlHost::paintEvent(QPaintEvent*) {
  if (!FControl) return;
  QPainter painter(this);
  const TCreateParams& params = FControl->WindowParams();
  QRect r = rect();
  painter.fillRect(r, SystemQColor(FControl->Color()));
  if (params.Style & WS_BORDER) {
    DrawEdge(painter, r, SystemQColor(clWindowFrame), SystemQColor(clWindowFrame));
    r.adjust(1, 1, -1, -1);
  }
  if (params.ExStyle & WS_EX_CLIENTEDGE) {
    DrawEdge(painter, r, SystemQColor(clBtnShadow), SystemQColor(clBtnHighlight));
    r.adjust(1, 1, -1, -1);
    DrawEdge(painter, r, SystemQColor(cl3DDkShadow), SystemQColor(cl3DLight));
  }
  if (FControl->ScrollBar(SB_HORZ).Visible && FControl->ScrollBar(SB_VERT).Visible) {
    int frame = FControl->FrameWidth();
    TRect client = FControl->ClientRect();
    painter.fillRect(frame + client.Width(), frame + client.Height(), GetSystemMetrics(SM_CXVSCROLL),
                     GetSystemMetrics(SM_CYHSCROLL), SystemQColor(clBtnFace));
  }
}

void TQtControlHost::resizeEvent(QResizeEvent*) {
  if (FSyncing || !FControl) return;
  RunGuarded([&] { FControl->SetBounds(FControl->Left(), FControl->Top(), width(), height()); });
}

void TQtControlHost::moveEvent(QMoveEvent*) {
  // A window of its own: the control's position is its place on the screen,
  // so that client and screen coordinates convert as the desktop's do.
  if (FSyncing || !FControl || !isWindow() || FControl->Parent()) return;
  RunGuarded([&] { FControl->SetBounds(geometry().x(), geometry().y(), width(), height()); });
}

void TQtControlHost::showEvent(QShowEvent* event) {
  // Only a window of its own is shown or hidden by the user; a child
  // shows and hides with its parent.
  if (FSyncing || !FControl || event->spontaneous() || !isWindow()) return;
  RunGuarded([&] {
    FHiddenByControl = false;
    FControl->HandleNeeded();
    if (!FControl->Visible()) FControl->Show();
  });
}

void TQtControlHost::hideEvent(QHideEvent* event) {
  if (FSyncing || !FControl || event->spontaneous() || !isWindow()) return;
  RunGuarded([&] {
    if (FControl->Visible()) FControl->Hide();
  });
}

}  // namespace vk
