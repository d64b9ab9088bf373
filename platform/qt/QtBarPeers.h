#pragma once
// Peers of the bars: a QToolBar face for the tool bar (its controls are
// placed by the model like any child), QToolButton for a tool button (with
// the bar's image by index), and QStatusBar with one fixed-width label per
// panel.

#include <QtWidgets/QLabel>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolButton>
#include <vector>

#include "platform/StatusBars.h"
#include "platform/ToolBars.h"
#include "platform/qt/QtPeer.h"

namespace vk {

class TQtToolBarPeer : public TQtWidgetPeer {
public:
  explicit TQtToolBarPeer(TToolBar& bar);
  void PropertyChanged(TPeerProperty property) override;

private:
  TToolBar& FBar;
};

class TQtToolButtonPeer : public TQtWidgetPeer {
public:
  explicit TQtToolButtonPeer(TToolButton& button);
  void PropertyChanged(TPeerProperty property) override;

private:
  TToolButton& FButton;
  QToolButton* FTool;
};

class TQtStatusBarPeer : public TQtWidgetPeer {
public:
  explicit TQtStatusBarPeer(TStatusBar& bar);
  void PropertyChanged(TPeerProperty property) override;
  void Attached() override;
  // The label of a panel.
  QLabel* Panel(int index) const { return FPanels.at(static_cast<size_t>(index)); }

private:
  void SyncPanels();

  TStatusBar& FBar;
  QStatusBar* FStatus;
  std::vector<QLabel*> FPanels;
};

}  // namespace vk
