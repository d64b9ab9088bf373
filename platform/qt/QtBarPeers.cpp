#include "platform/qt/QtBarPeers.h"

#include <QtCore/QSignalBlocker>
#include <QtWidgets/QToolBar>

#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtImageLists.h"

namespace vk {

// ---------------------------------------------------------------- TQtToolBarPeer

TQtToolBarPeer::TQtToolBarPeer(TToolBar& bar) : TQtWidgetPeer(bar, new QToolBar), FBar(bar) {}

void TQtToolBarPeer::PropertyChanged(TPeerProperty property) {
  // The buttons show the bar's images and flat look.
  if (property == ppImages || property == ppStyle)
    for (int i = 0; i < FBar.ButtonCount(); ++i)
      if (TControlPeer* button = FBar.Buttons(i)->Peer()) button->PropertyChanged(property);
  TQtWidgetPeer::PropertyChanged(property);
}

// ---------------------------------------------------------------- TQtToolButtonPeer

TQtToolButtonPeer::TQtToolButtonPeer(TToolButton& button)
    : TQtWidgetPeer(button, new QToolButton, {ppText, ppStyle, ppChecked, ppImages}), FButton(button), FTool(static_cast<QToolButton*>(Widget())) {
  FTool->setFocusPolicy(Qt::NoFocus);
  FTool->setToolButtonStyle(Qt::ToolButtonIconOnly);
  QObject::connect(FTool, &QToolButton::clicked, [this] { RunGuarded([this] { FButton.Click(); }); });
}

void TQtToolButtonPeer::PropertyChanged(TPeerProperty property) {
  auto* bar = dynamic_cast<TToolBar*>(FButton.Parent());
  const bool separator = FButton.Style() == tbsSeparator;
  switch (property) {
    case ppText:
      FTool->setText(AnsiToQString(FButton.Caption()));
      break;
    case ppStyle:
      FTool->setCheckable(FButton.Style() == tbsCheck);
      FTool->setAutoRaise(separator || (bar && bar->Flat()));
      break;
    case ppChecked: {
      QSignalBlocker blocker(FTool);
      FTool->setChecked(FButton.Down());
      break;
    }
    case ppImages: {
      QIcon icon = separator ? QIcon() : ImageListIcon(bar ? bar->Images() : nullptr, FButton.ImageIndex());
      FTool->setIcon(icon);
      FTool->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
      if (bar && bar->Images()) FTool->setIconSize(QSize(bar->Images()->Width(), bar->Images()->Height()));
      break;
    }
    default:
      break;
  }
  TQtWidgetPeer::PropertyChanged(property);
  // A separator is a gap: it takes no clicks.
  if (separator && property == ppEnabled) FTool->setEnabled(false);
}

// ---------------------------------------------------------------- TQtStatusBarPeer

TQtStatusBarPeer::TQtStatusBarPeer(TStatusBar& bar)
    : TQtWidgetPeer(bar, new QStatusBar), FBar(bar), FStatus(static_cast<QStatusBar*>(Widget())) {
  FStatus->setSizeGripEnabled(false);
}

void TQtStatusBarPeer::Attached() {
  TQtWidgetPeer::Attached();
  SyncPanels();
}

void TQtStatusBarPeer::SyncPanels() {
  const TStatusPanels& panels = *FBar.Panels();
  while (static_cast<int>(FPanels.size()) > panels.Count()) {
    delete FPanels.back();
    FPanels.pop_back();
  }
  while (static_cast<int>(FPanels.size()) < panels.Count()) {
    auto* label = new QLabel;
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    FStatus->addWidget(label);
    FPanels.push_back(label);
  }
  for (int i = 0; i < panels.Count(); ++i) {
    FPanels[static_cast<size_t>(i)]->setText(AnsiToQString(panels.Items(i)->Text()));
    FPanels[static_cast<size_t>(i)]->setFixedWidth(panels.Items(i)->Width());
  }
}

void TQtStatusBarPeer::PropertyChanged(TPeerProperty property) {
  if (property == ppPanels) SyncPanels();
  TQtWidgetPeer::PropertyChanged(property);
}

}  // namespace vk
