#pragma once
// Peers of the buttons and containers: QPushButton for TButton, a framed
// widget that paints the panel's bevels and caption, QGroupBox, a widget
// that paints a bevel, the splitter's bar (its drags are the model's mouse
// messages), and the page control's tab row over its sheets. Each one is a
// TQtWidgetPeer: the base places the widget and follows visibility,
// enabled state, font, hint and focus.

#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabBar>

#include "platform/Buttons.h"
#include "platform/PageControls.h"
#include "platform/Panels.h"
#include "platform/Splitters.h"
#include "platform/qt/QtPeer.h"

namespace vk {

class TQtButtonPeer : public TQtWidgetPeer {
public:
  explicit TQtButtonPeer(TButton& button);
  void PropertyChanged(TPeerProperty property) override;

private:
  TButton& FButton;
  QPushButton* FPush;
};

class TQtPanelPeer : public TQtWidgetPeer {
public:
  explicit TQtPanelPeer(TPanel& panel);
  void PropertyChanged(TPeerProperty property) override;
};

class TQtGroupBoxPeer : public TQtWidgetPeer {
public:
  explicit TQtGroupBoxPeer(TGroupBox& group);
  void PropertyChanged(TPeerProperty property) override;

private:
  TGroupBox& FGroup;
  QGroupBox* FBox;
};

class TQtBevelPeer : public TQtWidgetPeer {
public:
  explicit TQtBevelPeer(TBevel& bevel);
  void PropertyChanged(TPeerProperty property) override;
};

class TQtSplitterPeer : public TQtWidgetPeer {
public:
  explicit TQtSplitterPeer(TSplitter& splitter);
  void PropertyChanged(TPeerProperty property) override;
};

class TQtPageControlPeer : public TQtWidgetPeer {
public:
  explicit TQtPageControlPeer(TPageControl& pages);
  void PropertyChanged(TPeerProperty property) override;
  void Attached() override;
  QTabBar* TabBar() const { return FTabs; }

private:
  void SyncTabs();

  TPageControl& FPages;
  QTabBar* FTabs;
  bool FSyncing = false;
};

}  // namespace vk
