#include "platform/qt/QtViewPeers.h"

#include <QtCore/QSignalBlocker>
#include <QtCore/QTimer>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyledItemDelegate>
#include <algorithm>
#include <utility>

#include "platform/ScopeGuard.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtImageLists.h"

namespace vk {

namespace {

QVariant PointerData(const void* pointer) { return QVariant::fromValue(reinterpret_cast<quintptr>(pointer)); }

template <class T>
T* PointerOf(const QVariant& data) {
  return reinterpret_cast<T*>(data.value<quintptr>());
}

Qt::Alignment AlignmentOf(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

// Keeps a vertical scroll position over a rebuild of a view's rows.
class TKeepScroll {
public:
  explicit TKeepScroll(QAbstractItemView& view) : FBar(*view.verticalScrollBar()), FValue(FBar.value()) {}
  ~TKeepScroll() { FBar.setValue(FValue); }

private:
  QScrollBar& FBar;
  int FValue;
};

// Draws a node with the image the tree asks the model for as it draws it.
class TNodeDelegate : public QStyledItemDelegate {
public:
  TNodeDelegate(TQtTreeViewPeer& peer, TTreeView& tree) : QStyledItemDelegate(peer.Tree()), FPeer(peer), FTree(tree) {}

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    TImageList* images = FTree.Images();
    TTreeNode* node = FPeer.NodeOf(index.data(Qt::UserRole));
    if (!images || !node) return;
    int image = -1;
    const bool selected = option->state.testFlag(QStyle::State_Selected);
    RunPaintGuarded([&] { image = selected ? FTree.ShownSelectedIndex(node) : FTree.ShownImageIndex(node); });
    QIcon icon = ImageListIcon(images, image);
    if (icon.isNull()) return;
    option->icon = icon;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = QSize(images->Width(), images->Height());
  }

private:
  TQtTreeViewPeer& FPeer;
  TTreeView& FTree;
};

}  // namespace

TQtViewClicks::TKind TQtViewClicks::Classify(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
      FAfterDoubleClick = false;
      return None;
    case QEvent::MouseButtonDblClick:
      if (static_cast<const QMouseEvent&>(event).button() != Qt::LeftButton) return None;
      FAfterDoubleClick = true;
      return DoubleClick;
    case QEvent::MouseButtonRelease:
      return static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton && !FAfterDoubleClick ? Click : None;
    default:
      return None;
  }
}

void TQtDeferredSync::Request(QObject* context, std::function<void()> sync) {
  if (FPending) return;
  FPending = true;
  QTimer::singleShot(0, context, [this, sync = std::move(sync)] {
    FPending = false;
    sync();
  });
}

// ---------------------------------------------------------------- TQtTreeViewPeer

TQtTreeViewPeer::TQtTreeViewPeer(TTreeView& tree)
    : TQtWidgetPeer(tree, new QTreeWidget, {ppImages}), FTree(tree), FView(static_cast<QTreeWidget*>(Widget())) {
  FView->setHeaderHidden(true);
  FView->setColumnCount(1);
  // A double click opens and closes through the model.
  FView->setExpandsOnDoubleClick(false);
  FView->setSelectionMode(QAbstractItemView::SingleSelection);
  FView->setItemDelegate(new TNodeDelegate(*this, tree));
  QObject::connect(FView, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* current) {
    if (TTreeNode* node = NodeOf(current)) RunGuarded([&] { FTree.SetSelected(node); });
  });
  QObject::connect(FView, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* row) { UserExpanded(row, true); });
  QObject::connect(FView, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* row) { UserExpanded(row, false); });
  InstallEventFilter(*FView->viewport(), [this](QEvent& e) { return ViewportEvent(e); });
}

void TQtTreeViewPeer::Attached() {
  TQtWidgetPeer::Attached();
  FRebuild = true;
  Sync();
}

void TQtTreeViewPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppItems:
      FRebuild = true;
      [[fallthrough]];
    case ppExpanded:
      FShowExpanded = true;
      [[fallthrough]];
    case ppSelection:
      FSync.Request(FView, [this] { Sync(); });
      break;
    case ppImages:
      if (TImageList* images = FTree.Images()) FView->setIconSize(QSize(images->Width(), images->Height()));
      FView->viewport()->update();
      break;
    default:
      break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

void TQtTreeViewPeer::RegionInvalidated(const TRect&) { FView->viewport()->update(); }

QTreeWidgetItem* TQtTreeViewPeer::RowOf(TTreeNode* node) const {
  auto found = FRows.find(node);
  return found == FRows.end() ? nullptr : found->second;
}

TTreeNode* TQtTreeViewPeer::NodeOf(const QTreeWidgetItem* row) const {
  return row ? NodeOf(row->data(0, Qt::UserRole)) : nullptr;
}

TTreeNode* TQtTreeViewPeer::NodeOf(const QVariant& rowData) const {
  auto* node = PointerOf<TTreeNode>(rowData);
  // Rows are in line with the nodes unless a change waits to be shown.
  if (!node || !FSync.Pending()) return node;
  for (int i = 0; i < FTree.Items()->Count(); ++i)
    if (FTree.Items()->Item(i) == node) return node;
  return nullptr;
}

void TQtTreeViewPeer::Rebuild() {
  TKeepScroll keep(*FView);
  FView->clear();
  FRows.clear();
  // Parents come before their children in the absolute order.
  const TTreeNodes& nodes = *FTree.Items();
  for (int i = 0; i < nodes.Count(); ++i) {
    TTreeNode* node = nodes.Item(i);
    QTreeWidgetItem* parent = RowOf(node->Parent());
    auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(FView);
    row->setText(0, AnsiToQString(node->Text()));
    row->setData(0, Qt::UserRole, PointerData(node));
    FRows[node] = row;
  }
  FRebuild = false;
  FShowExpanded = true;
}

void TQtTreeViewPeer::Sync() {
  QSignalBlocker quiet(FView);
  if (FRebuild) Rebuild();
  // Only an opened or closed node walks the rows: a moved selection (a key)
  // costs no work per node.
  if (std::exchange(FShowExpanded, false))
    for (const auto& [node, row] : FRows) row->setExpanded(node->Expanded());
  QTreeWidgetItem* current = RowOf(FTree.Selected());
  FView->setCurrentItem(current);
  if (current)
    FView->scrollToItem(current);
  else
    FView->clearSelection();
  FView->viewport()->update();
}

void TQtTreeViewPeer::UserExpanded(QTreeWidgetItem* row, bool expanded) {
  if (TTreeNode* node = NodeOf(row)) RunGuarded([&] { node->SetExpanded(expanded); });
  // A handler may have refused: the row follows the node.
  FShowExpanded = true;
  FSync.Request(FView, [this] { Sync(); });
}

bool TQtTreeViewPeer::ViewportEvent(QEvent& event) {
  const TQtViewClicks::TKind kind = FClicks.Classify(event);
  if (kind == TQtViewClicks::None) return false;
  const QPoint at = static_cast<QMouseEvent&>(event).position().toPoint();
  QTreeWidgetItem* row = FView->itemAt(at);
  if (kind == TQtViewClicks::DoubleClick)
    RunGuarded([&] { FTree.DblClickNode(NodeOf(row)); });
  else if (!row || FView->visualItemRect(row).contains(at))  // not on the open/close mark
    RunGuarded([&] { FTree.ClickNode(NodeOf(row)); });
  return false;
}

// ---------------------------------------------------------------- TQtListViewPeer

TQtListViewPeer::TQtListViewPeer(TListView& list)
    : TQtWidgetPeer(list, new QStackedWidget),
      FList(list),
      FStack(static_cast<QStackedWidget*>(Widget())),
      FReport(new QTreeView),
      FIcons(new QListView),
      FModel(new QStandardItemModel(FStack)) {
  FReport->setRootIsDecorated(false);
  FReport->setItemsExpandable(false);
  FReport->setUniformRowHeights(true);
  FReport->setAllColumnsShowFocus(true);
  FReport->header()->setStretchLastSection(false);
  FReport->header()->setSectionsMovable(false);
  FIcons->setMovement(QListView::Static);
  FIcons->setResizeMode(QListView::Adjust);
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(FReport), static_cast<QAbstractItemView*>(FIcons)}) {
    view->setModel(FModel);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    FStack->addWidget(view);
    WatchInput(*view);
    InstallEventFilter(*view->viewport(), [this, view](QEvent& e) { return ViewportEvent(*view, e); });
  }
  // One selection for both views.
  FIcons->setSelectionModel(FReport->selectionModel());
  QObject::connect(FReport->selectionModel(), &QItemSelectionModel::currentRowChanged,
                   [this](const QModelIndex& current) { UserMovedCurrent(current.row()); });
}

void TQtListViewPeer::Attached() {
  TQtWidgetPeer::Attached();
  ShowStyle();
  FRebuild = true;
  Sync();
}

void TQtListViewPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppStyle:
      ShowStyle();
      [[fallthrough]];
    case ppItems:
    case ppImages:
    case ppColumns:
      FRebuild = true;
      [[fallthrough]];
    case ppSelection:
      FSync.Request(FStack, [this] { Sync(); });
      break;
    default:
      break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

QAbstractItemView* TQtListViewPeer::Shown() const { return static_cast<QAbstractItemView*>(FStack->currentWidget()); }

TListItem* TQtListViewPeer::ItemOf(int row) const {
  QStandardItem* cell = row >= 0 ? FModel->item(row) : nullptr;
  auto* item = cell ? PointerOf<TListItem>(cell->data(Qt::UserRole)) : nullptr;
  // Rows are in line with the items unless a change waits to be shown.
  if (!item || !FSync.Pending()) return item;
  for (int i = 0; i < FList.Items()->Count(); ++i)
    if (FList.Items()->Item(i) == item) return item;
  return nullptr;
}

void TQtListViewPeer::ShowStyle() {
  const TViewStyle style = FList.ViewStyle();
  FStack->setCurrentWidget(style == vsReport ? static_cast<QWidget*>(FReport) : FIcons);
  FStack->setFocusProxy(Shown());
  const TImageList* images = style == vsIcon ? FList.LargeImages() : FList.SmallImages();
  const QSize iconSize = images ? QSize(images->Width(), images->Height()) : QSize(16, 16);
  FReport->setIconSize(iconSize);
  FIcons->setIconSize(iconSize);
  if (style == vsReport) return;
  // Large icons over their captions in rows; small icons in rows; a list in
  // columns.
  FIcons->setViewMode(style == vsIcon ? QListView::IconMode : QListView::ListMode);
  FIcons->setMovement(QListView::Static);
  FIcons->setFlow(style == vsList ? QListView::TopToBottom : QListView::LeftToRight);
  FIcons->setWrapping(true);
  FIcons->setWordWrap(style == vsIcon);
  FIcons->setGridSize(style == vsIcon ? QSize(iconSize.width() + 48, iconSize.height() + 36) : QSize());
}

void TQtListViewPeer::Rebuild() {
  TKeepScroll keepReport(*FReport), keepIcons(*FIcons);
  const TListColumns& columns = *FList.Columns();
  const int count = std::max(1, columns.Count());
  FModel->clear();
  FModel->setColumnCount(count);
  for (int c = 0; c < columns.Count(); ++c) {
    auto* header = new QStandardItem(AnsiToQString(columns.Items(c)->Caption()));
    header->setTextAlignment(AlignmentOf(columns.Items(c)->Alignment()));
    FModel->setHorizontalHeaderItem(c, header);
  }
  const TImageList* images = FList.ViewStyle() == vsIcon ? FList.LargeImages() : FList.SmallImages();
  const TListItems& items = *FList.Items();
  for (int i = 0; i < items.Count(); ++i) {
    TListItem* item = items.Item(i);
    QList<QStandardItem*> row;
    auto* caption = new QStandardItem(ImageListIcon(images, item->ImageIndex()), AnsiToQString(item->Caption()));
    caption->setData(PointerData(item), Qt::UserRole);
    row << caption;
    for (int c = 1; c < count; ++c) {
      const TStrings& sub = *item->SubItems();
      auto* cell = new QStandardItem(c - 1 < sub.GetCount() ? AnsiToQString(sub.Get(c - 1)) : QString());
      cell->setTextAlignment(AlignmentOf(columns.Items(c)->Alignment()));
      row << cell;
    }
    for (QStandardItem* cell : row) cell->setEditable(false);
    FModel->appendRow(row);
  }
  FReport->header()->setVisible(columns.Count() > 0);
  for (int c = 0; c < columns.Count(); ++c) FReport->setColumnWidth(c, columns.Items(c)->Width());
  FRebuild = false;
}

void TQtListViewPeer::ShowSelection() {
  QItemSelectionModel& selection = *FReport->selectionModel();
  TListItem* item = FList.Selected();
  if (!item) {
    selection.clear();
    return;
  }
  const QModelIndex index = FModel->index(item->Index(), 0);
  selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  Shown()->scrollTo(index);
}

void TQtListViewPeer::Sync() {
  TTempValue syncing(FSyncing, true);
  if (FRebuild) Rebuild();
  ShowSelection();
}

void TQtListViewPeer::UserMovedCurrent(int row) {
  if (FSyncing) return;
  if (TListItem* item = ItemOf(row)) RunGuarded([&] { FList.SetSelected(item); });
}

bool TQtListViewPeer::ViewportEvent(QAbstractItemView& view, QEvent& event) {
  const TQtViewClicks::TKind kind = FClicks.Classify(event);
  if (kind == TQtViewClicks::DoubleClick) RunGuarded([&] { FList.DblClickItem(); });
  if (kind != TQtViewClicks::Click) return false;
  TListItem* item = ItemOf(view.indexAt(static_cast<QMouseEvent&>(event).position().toPoint()).row());
  RunGuarded([&] { FList.ClickItem(item); });
  return false;
}

}  // namespace vk
