#include "platform/qt/QtControlPeers.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QFrame>
#include <QtWidgets/QStyleOptionTabWidgetFrame>

#include "platform/ScopeGuard.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtInput.h"

namespace vk {

namespace {

QColor SystemColor(TColor color) { return ToQColor(ColorToRGB(color)); }

// A rectangle's outline in two colours, width pixels wide: top and left,
// bottom and right.
void DrawEdge(QPainter& painter, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    painter.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
    painter.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    r.adjust(1, 1, -1, -1);
  }
}

void DrawBevel(QPainter& painter, QRect& r, TBevelCut cut, int width) {
  const QColor light = SystemColor(clBtnHighlight), dark = SystemColor(clBtnShadow);
  if (cut == bvRaised) DrawEdge(painter, r, light, dark, width);
  if (cut == bvLowered) DrawEdge(painter, r, dark, light, width);
  if (cut == bvSpace) r.adjust(width, width, -width, -width);
}

// The panel's face: its colour, bevels and caption.
class TPanelWidget : public QFrame {
public:
  explicit TPanelWidget(TPanel& panel) : FPanel(panel) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QRect r = rect();
    painter.fillRect(r, SystemColor(FPanel.Color()));
    DrawBevel(painter, r, FPanel.BevelOuter(), FPanel.BevelWidth());
    DrawBevel(painter, r, FPanel.BevelInner(), FPanel.BevelWidth());
    const Qt::Alignment align[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    painter.setPen(SystemColor(FPanel.Font().Color()));
    painter.drawText(r, align[FPanel.Alignment()] | Qt::AlignVCenter | Qt::TextShowMnemonic,
                     AnsiToQString(FPanel.Caption()));
  }

private:
  TPanel& FPanel;
};

class TBevelWidget : public QFrame {
public:
  explicit TBevelWidget(TBevel& bevel) : FBevel(bevel) { setAttribute(Qt::WA_TransparentForMouseEvents); }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const bool lowered = FBevel.Style() == bsLowered;
    const QColor first = SystemColor(lowered ? clBtnShadow : clBtnHighlight);
    const QColor second = SystemColor(lowered ? clBtnHighlight : clBtnShadow);
    QRect r = rect();
    switch (FBevel.Shape()) {
      case bsBox: DrawEdge(painter, r, first, second, 1); break;
      case bsFrame:
        // Etched: two outlines a pixel apart.
        DrawEdge(painter, r, first, first, 1);
        DrawEdge(painter, r, second, second, 1);
        break;
      case bsTopLine:
        painter.fillRect(0, 0, width(), 1, first);
        painter.fillRect(0, 1, width(), 1, second);
        break;
      case bsBottomLine:
        painter.fillRect(0, height() - 2, width(), 1, first);
        painter.fillRect(0, height() - 1, width(), 1, second);
        break;
      case bsLeftLine:
        painter.fillRect(0, 0, 1, height(), first);
        painter.fillRect(1, 0, 1, height(), second);
        break;
      case bsRightLine:
        painter.fillRect(width() - 2, 0, 1, height(), first);
        painter.fillRect(width() - 1, 0, 1, height(), second);
        break;
      case bsSpacer: break;
    }
  }

private:
  TBevel& FBevel;
};

// The splitter's bar: the user's drag is the model's mouse messages.
class TSplitterBar : public QWidget {
public:
  explicit TSplitterBar(TSplitter& splitter) : FSplitter(splitter) {}

protected:
  void mousePressEvent(QMouseEvent* event) override { Send(*event, event->button() == Qt::LeftButton ? WM_LBUTTONDOWN : 0); }
  void mouseMoveEvent(QMouseEvent* event) override { Send(*event, WM_MOUSEMOVE); }
  void mouseReleaseEvent(QMouseEvent* event) override { Send(*event, event->button() == Qt::LeftButton ? WM_LBUTTONUP : 0); }

private:
  void Send(const QMouseEvent& event, uint32_t message) {
    if (!message) return;
    QPoint at = event.position().toPoint();
    RunGuarded([&] {
      FSplitter.Perform(message, MouseKeyFlags(event.buttons(), event.modifiers()), MakeLParam(at.x(), at.y()));
    });
  }
  TSplitter& FSplitter;
};

// The page control's face: the frame around the sheets below the tabs.
class TPagesWidget : public QWidget {
public:
  explicit TPagesWidget(TPageControl& pages) : FPages(pages) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, FPages.TabHeight(), 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
  }

private:
  TPageControl& FPages;
};

}  // namespace

// ---------------------------------------------------------------- TQtButtonPeer

TQtButtonPeer::TQtButtonPeer(TButton& button)
    : TQtWidgetPeer(button, new QPushButton, {ppText, ppStyle}), FButton(button), FPush(static_cast<QPushButton*>(Widget())) {
  // Enter and Esc are the model's dialog keys, never Qt's.
  FPush->setAutoDefault(false);
  QObject::connect(FPush, &QPushButton::clicked, [this] { RunGuarded([this] { FButton.Click(); }); });
}

void TQtButtonPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppText) FPush->setText(AnsiToQString(FButton.Caption()));
  if (property == ppStyle) FPush->setDefault(FButton.Default());
  TQtWidgetPeer::PropertyChanged(property);
}

// ---------------------------------------------------------------- panels, group boxes, bevels

TQtPanelPeer::TQtPanelPeer(TPanel& panel) : TQtWidgetPeer(panel, new TPanelWidget(panel)) {}

void TQtPanelPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppText || property == ppStyle || property == ppColor || property == ppFont) Widget()->update();
  TQtWidgetPeer::PropertyChanged(property);
}

TQtGroupBoxPeer::TQtGroupBoxPeer(TGroupBox& group)
    : TQtWidgetPeer(group, new QGroupBox, {ppText}), FGroup(group), FBox(static_cast<QGroupBox*>(Widget())) {}

void TQtGroupBoxPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppText) FBox->setTitle(AnsiToQString(FGroup.Caption()));
  TQtWidgetPeer::PropertyChanged(property);
}

TQtBevelPeer::TQtBevelPeer(TBevel& bevel) : TQtWidgetPeer(bevel, new TBevelWidget(bevel)) {}

void TQtBevelPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppStyle) Widget()->update();
  TQtWidgetPeer::PropertyChanged(property);
}

// ---------------------------------------------------------------- TQtSplitterPeer

TQtSplitterPeer::TQtSplitterPeer(TSplitter& splitter) : TQtWidgetPeer(splitter, new TSplitterBar(splitter), {ppBounds}) {}

void TQtSplitterPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppBounds) {
    const TAlign align = Control().Align();
    Widget()->setCursor(align == alTop || align == alBottom ? Qt::SplitVCursor : Qt::SplitHCursor);
  }
  TQtWidgetPeer::PropertyChanged(property);
}

// ---------------------------------------------------------------- TQtPageControlPeer

TQtPageControlPeer::TQtPageControlPeer(TPageControl& pages)
    : TQtWidgetPeer(pages, new TPagesWidget(pages)), FPages(pages), FTabs(new QTabBar(Widget())) {
  FTabs->setDrawBase(false);
  // A focused page control is its tab row: the current tab shows the focus
  // and the arrows turn the pages; the keys reach the model first.
  FTabs->setFocusPolicy(Qt::NoFocus);
  Widget()->setFocusProxy(FTabs);
  WatchInput(*FTabs);
  QObject::connect(FTabs, &QTabBar::currentChanged, [this](int index) {
    if (!FSyncing && index >= 0) RunGuarded([this, index] { FPages.SelectTab(index); });
  });
}

void TQtPageControlPeer::Attached() {
  TQtWidgetPeer::Attached();
  SyncTabs();
}

void TQtPageControlPeer::SyncTabs() {
  TTempValue syncing(FSyncing, true);
  while (FTabs->count() > 0) FTabs->removeTab(0);
  for (int i = 0; i < FPages.PageCount(); ++i)
    if (FPages.Pages(i)->TabVisible()) FTabs->addTab(AnsiToQString(FPages.Pages(i)->Caption()));
  if (TTabSheet* active = FPages.ActivePage(); active && active->TabIndex() >= 0) FTabs->setCurrentIndex(active->TabIndex());
  FTabs->setGeometry(0, 0, FPages.Width(), FPages.TabHeight());
  FTabs->setVisible(FPages.TabHeight() > 0);
  Widget()->update();
}

void TQtPageControlPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppPages || property == ppBounds || property == ppFont) SyncTabs();
  if (property == ppActivePage) {
    TTempValue syncing(FSyncing, true);
    if (TTabSheet* active = FPages.ActivePage(); active && active->TabIndex() >= 0)
      FTabs->setCurrentIndex(active->TabIndex());
  }
  TQtWidgetPeer::PropertyChanged(property);
}

}  // namespace vk
