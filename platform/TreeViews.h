#pragma once
// The tree view: nodes in levels below root nodes, each with a text and two
// images from the view's image list, one shown while it is the selected
// node. A node with children opens and closes; the view has at most one
// selected node.
//
// Events follow the class library: selecting a node, from code or by the
// user, fires OnChange; opening and closing, from code or by the user, fire
// OnExpanding / OnCollapsing (which may refuse) and then OnExpanded /
// OnCollapsed. A click fires OnClick after the selection moved; the
// second click of a double click opens or closes the node and then fires
// OnDblClick.

#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/ImageList.h"

namespace vk {

class TTreeNodes;
class TTreeView;

class TTreeNode : public TPersistent {
public:
  std::string ClassName() const override { return "TTreeNode"; }

  TTreeView& TreeView() const;
  const std::string& Text() const { return FText; }
  void SetText(const std::string& value);
  // The node above this one; nullptr for a root node.
  TTreeNode* Parent() const;
  int Count() const { return static_cast<int>(FChildren.size()); }
  bool HasChildren() const { return !FChildren.empty(); }
  // A child; raises EListError "List index out of bounds (%d)" outside
  // 0..Count-1.
  TTreeNode* Item(int index) const;
  // The place among the node's siblings.
  int Index() const;
  // The place among all nodes of the tree, each node followed by its
  // children (the order of TTreeNodes::Item).
  int AbsoluteIndex() const;

  // Indexes into the view's image list (-1: no image), 0 at first.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int value);

  bool Expanded() const { return FExpanded; }
  // Opens or closes the node with the view's events; a node without
  // children stays closed.
  void SetExpanded(bool value);
  void Expand(bool recurse);
  void Collapse(bool recurse);

  bool Selected() const;
  void SetSelected(bool value);

  // Orders the children by text, without regard to letter case (equal texts
  // keep their order); with recurse their children too.
  void AlphaSort(bool recurse = false);

private:
  friend class TTreeNodes;
  TTreeNode(TTreeNodes& owner, TTreeNode* parent, const std::string& text);
  // The node is this one or one below it.
  bool Contains(const TTreeNode* node) const;
  void SortChildren(bool recurse);
  void ExpandWithEvents();
  void CollapseWithEvents();

  TTreeNodes& FOwner;
  TTreeNode* FParent;  // the hidden top node for a root node
  std::string FText;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  int FImageIndex = 0;
  int FSelectedIndex = 0;
  bool FExpanded = false;
  mutable int FAbsoluteIndex = -1;  // valid while the owner's order is
};

// The nodes of a tree view.
class TTreeNodes {
public:
  explicit TTreeNodes(TTreeView& view);
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TTreeView& Owner() const { return FView; }
  // All nodes, at every level.
  int Count() const;
  // The node at an absolute index; raises EListError "List index out of
  // bounds (%d)" outside 0..Count-1.
  TTreeNode* Item(int index) const;
  // A new last node at the level of sibling (a root node when null).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  // A new last child of parent (a root node when null).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  // Removes every node; a selected node is unselected first (OnChange).
  void Clear();

private:
  friend class TTreeNode;
  friend class TTreeView;
  // The order of the nodes changed: absolute indexes are made anew.
  void OrderChanged();
  void Flatten() const;
  static void Flatten(const TTreeNode& node, std::vector<TTreeNode*>& into);

  TTreeView& FView;
  std::unique_ptr<TTreeNode> FTop;  // holds the root nodes; never shown
  mutable std::vector<TTreeNode*> FOrder;
  mutable bool FOrderValid = true;
};

using TTVChangedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandedEvent = TDelegate<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TDelegate<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;

class TTreeView : public TWinControl {
public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  std::string ClassName() const override { return "TTreeView"; }

  TTreeNodes* Items() { return &FItems; }
  const TTreeNodes* Items() const { return &FItems; }
  TTreeNode* Selected() const { return FSelected; }
  // Selects the node (nullptr: none), opening the nodes above it; fires
  // OnChange when the selection changed.
  void SetSelected(TTreeNode* node);
  // The image list the nodes' image indexes point into.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // Orders the root nodes by text (see TTreeNode::AlphaSort), with recurse
  // every level.
  void AlphaSort(bool recurse = true);

  // The images the view shows for a node, asked each time it draws the
  // node: OnGetImageIndex (OnGetSelectedIndex) runs first and may set the
  // node's index.
  int ShownImageIndex(TTreeNode* node);
  int ShownSelectedIndex(TTreeNode* node);

  // What the user does: a click on a node (nullptr: on no node) selects it
  // and fires OnClick; the second click of a double click opens or closes
  // the node and fires OnDblClick.
  void ClickNode(TTreeNode* node);
  void DblClickNode(TTreeNode* node);

  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;

  // The arrow keys move in the view, never to the next control.
  void WndProc(TMessage& message) override;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  TTreeNodes FItems{*this};
  TTreeNode* FSelected = nullptr;
  TImageList* FImages = nullptr;
};

}  // namespace vk
