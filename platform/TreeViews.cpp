#include "platform/TreeViews.h"

#include <algorithm>

#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {

// ---------------------------------------------------------------- TTreeNode

TTreeNode::TTreeNode(TTreeNodes& owner, TTreeNode* parent, const std::string& text)
    : FOwner(owner), FParent(parent), FText(text) {}

TTreeView& TTreeNode::TreeView() const { return FOwner.Owner(); }

TTreeNode* TTreeNode::Parent() const { return FParent == FOwner.FTop.get() ? nullptr : FParent; }

void TTreeNode::SetText(const std::string& value) {
  if (value == FText) return;
  FText = value;
  TreeView().NotifyPeer(ppItems);
}

TTreeNode* TTreeNode::Item(int index) const {
  CheckListIndex(index, Count());
  return FChildren[index].get();
}

int TTreeNode::Index() const {
  const auto& siblings = FParent->FChildren;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

int TTreeNode::AbsoluteIndex() const {
  FOwner.Flatten();
  return FAbsoluteIndex;
}

void TTreeNode::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  TreeView().NotifyPeer(ppImages);
}

void TTreeNode::SetSelectedIndex(int value) {
  if (value == FSelectedIndex) return;
  FSelectedIndex = value;
  TreeView().NotifyPeer(ppImages);
}

bool TTreeNode::Contains(const TTreeNode* node) const {
  for (; node; node = node->FParent)
    if (node == this) return true;
  return false;
}

void TTreeNode::ExpandWithEvents() {
  if (FExpanded || !HasChildren()) return;
  TTreeView& view = TreeView();
  bool allow = true;
  if (view.OnExpanding) view.OnExpanding(&view, this, allow);
  if (!allow) return;
  FExpanded = true;
  view.NotifyPeer(ppExpanded);
  if (view.OnExpanded) view.OnExpanded(&view, this);
}

void TTreeNode::CollapseWithEvents() {
  if (!FExpanded) return;
  TTreeView& view = TreeView();
  bool allow = true;
  if (view.OnCollapsing) view.OnCollapsing(&view, this, allow);
  if (!allow) return;
  FExpanded = false;
  view.NotifyPeer(ppExpanded);
  // A selected node out of sight hands the selection to the closed node.
  if (view.Selected() != this && Contains(view.Selected())) view.SetSelected(this);
  if (view.OnCollapsed) view.OnCollapsed(&view, this);
}

void TTreeNode::SetExpanded(bool value) { value ? Expand(false) : Collapse(false); }

void TTreeNode::Expand(bool recurse) {
  ExpandWithEvents();
  if (recurse)
    for (size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  if (recurse)
    for (size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Collapse(true);
  CollapseWithEvents();
}

bool TTreeNode::Selected() const { return TreeView().Selected() == this; }

void TTreeNode::SetSelected(bool value) {
  if (value)
    TreeView().SetSelected(this);
  else if (Selected())
    TreeView().SetSelected(nullptr);
}

void TTreeNode::SortChildren(bool recurse) {
  std::stable_sort(FChildren.begin(), FChildren.end(),
                   [](const auto& a, const auto& b) { return CompareText(a->FText, b->FText) < 0; });
  if (recurse)
    for (auto& child : FChildren) child->SortChildren(true);
}

void TTreeNode::AlphaSort(bool recurse) {
  SortChildren(recurse);
  FOwner.OrderChanged();
}

// ---------------------------------------------------------------- TTreeNodes

TTreeNodes::TTreeNodes(TTreeView& view) : FView(view), FTop(new TTreeNode(*this, nullptr, "")) {}

TTreeNodes::~TTreeNodes() = default;

void TTreeNodes::Flatten(const TTreeNode& node, std::vector<TTreeNode*>& into) {
  for (const auto& child : node.FChildren) {
    child->FAbsoluteIndex = static_cast<int>(into.size());
    into.push_back(child.get());
    Flatten(*child, into);
  }
}

void TTreeNodes::Flatten() const {
  if (FOrderValid) return;
  FOrder.clear();
  Flatten(*FTop, FOrder);
  FOrderValid = true;
}

void TTreeNodes::OrderChanged() {
  FOrderValid = false;
  FView.NotifyPeer(ppItems);
}

int TTreeNodes::Count() const {
  Flatten();
  return static_cast<int>(FOrder.size());
}

TTreeNode* TTreeNodes::Item(int index) const {
  Flatten();
  CheckListIndex(index, static_cast<int>(FOrder.size()));
  return FOrder[index];
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddChild(sibling ? sibling->Parent() : nullptr, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  TTreeNode* above = parent ? parent : FTop.get();
  above->FChildren.push_back(std::unique_ptr<TTreeNode>(new TTreeNode(*this, above, text)));
  OrderChanged();
  return above->FChildren.back().get();
}

void TTreeNodes::Clear() {
  FView.SetSelected(nullptr);
  if (FTop->FChildren.empty()) return;
  FTop->FChildren.clear();
  OrderChanged();
}

// ---------------------------------------------------------------- TTreeView

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

// The peer shows the nodes: it goes before they do.
TTreeView::~TTreeView() { Withdraw(); }

void TTreeView::SetSelected(TTreeNode* node) {
  if (node == FSelected) return;
  // The selected node is in sight: the nodes above it open.
  std::vector<TTreeNode*> above;
  for (TTreeNode* p = node ? node->Parent() : nullptr; p; p = p->Parent()) above.push_back(p);
  for (auto it = above.rbegin(); it != above.rend(); ++it) (*it)->Expand(false);
  FSelected = node;
  NotifyPeer(ppSelection);
  if (OnChange) OnChange(this, node);
}

void TTreeView::SetImages(TImageList* images) {
  if (Link(FImages, images)) NotifyPeer(ppImages);
}

void TTreeView::WndProc(TMessage& message) {
  if (message.Msg == WM_GETDLGCODE) {
    message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  TWinControl::WndProc(message);
}

void TTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    NotifyPeer(ppImages);
  }
}

void TTreeView::AlphaSort(bool recurse) { FItems.FTop->AlphaSort(recurse); }

int TTreeView::ShownImageIndex(TTreeNode* node) {
  if (OnGetImageIndex) OnGetImageIndex(this, node);
  return node->ImageIndex();
}

int TTreeView::ShownSelectedIndex(TTreeNode* node) {
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
  return node->SelectedIndex();
}

void TTreeView::ClickNode(TTreeNode* node) {
  if (node) SetSelected(node);
  Click();
}

void TTreeView::DblClickNode(TTreeNode* node) {
  if (node) node->SetExpanded(!node->Expanded());
  DblClick();
}

}  // namespace vk
