#pragma once
// Peers of the tree view (a QTreeWidget) and the list view (a report view
// and an icon view over one item model, one of them shown as the view
// style says).
//
// A burst of model changes (a folder's files added one by one) is shown
// once, when the event loop next runs: the widget's items are made anew
// when nodes or items came, went or moved, and the states (open nodes,
// the selection) are brought in line each time. What the user does reaches
// the model as the calls a test makes: a press that moves the current row
// selects, a release clicks, a double click double-clicks, opening and
// closing open and close; a widget row whose node or item has gone does
// nothing.

#include <QtGui/QStandardItemModel>
#include <QtWidgets/QListView>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QTreeView>
#include <QtWidgets/QTreeWidget>
#include <functional>
#include <unordered_map>

#include "platform/ListViews.h"
#include "platform/TreeViews.h"
#include "platform/qt/QtPeer.h"

namespace vk {

// Runs a widget's sync once per burst of changes.
class TQtDeferredSync {
public:
  // The sync runs on the next turn of the event loop, unless the context
  // is gone by then.
  void Request(QObject* context, std::function<void()> sync);
  bool Pending() const { return FPending; }

private:
  bool FPending = false;
};

// What a mouse event on a view's rows is to the model: a click (a left
// release that does not end a double click), a double click, or nothing.
class TQtViewClicks {
public:
  enum TKind { None, Click, DoubleClick };
  TKind Classify(const QEvent& event);

private:
  bool FAfterDoubleClick = false;
};

class TQtTreeViewPeer : public TQtWidgetPeer {
public:
  explicit TQtTreeViewPeer(TTreeView& tree);
  void PropertyChanged(TPeerProperty property) override;
  void Attached() override;
  void RegionInvalidated(const TRect&) override;

  QTreeWidget* Tree() const { return FView; }
  // The row of a node as last shown (nullptr when it has none).
  QTreeWidgetItem* RowOf(TTreeNode* node) const;
  // The node a row shows (from the row's data), nullptr when it has gone.
  TTreeNode* NodeOf(const QTreeWidgetItem* row) const;
  TTreeNode* NodeOf(const QVariant& rowData) const;

private:
  void Sync();
  void Rebuild();
  // What the user does.
  bool ViewportEvent(QEvent& event);
  void UserExpanded(QTreeWidgetItem* row, bool expanded);

  TTreeView& FTree;
  QTreeWidget* FView;
  std::unordered_map<TTreeNode*, QTreeWidgetItem*> FRows;
  TQtDeferredSync FSync;
  TQtViewClicks FClicks;
  bool FRebuild = false;
  bool FShowExpanded = false;  // a node opened or closed since the last sync
};

class TQtListViewPeer : public TQtWidgetPeer {
public:
  explicit TQtListViewPeer(TListView& list);
  void PropertyChanged(TPeerProperty property) override;
  void Attached() override;

  QTreeView* Report() const { return FReport; }
  QListView* Icons() const { return FIcons; }
  // The view the style shows.
  QAbstractItemView* Shown() const;
  // The list item a row shows, nullptr when it has gone.
  TListItem* ItemOf(int row) const;

private:
  void Sync();
  void Rebuild();
  void ShowStyle();
  void ShowSelection();
  bool ViewportEvent(QAbstractItemView& view, QEvent& event);
  void UserMovedCurrent(int row);

  TListView& FList;
  QStackedWidget* FStack;
  QTreeView* FReport;
  QListView* FIcons;
  QStandardItemModel* FModel;  // the widget's
  TQtDeferredSync FSync;
  TQtViewClicks FClicks;
  bool FRebuild = false;
  bool FSyncing = false;
};

}  // namespace vk
