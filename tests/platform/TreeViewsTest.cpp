// The tree view: its nodes in order, sorting, and the events of selecting,
// opening and closing from code and by the user.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/StringLists.h"
#include "platform/TreeViews.h"

namespace vk::test {
namespace {

// Every event of a tree in the order it came, with the node's text.
struct TTreeLog {
  std::vector<std::string> Lines;
  bool AllowExpand = true;
  bool AllowCollapse = true;

  void Attach(TTreeView& tree) {
    tree.OnChange = TTVChangedEvent(this, &TTreeLog::Change);
    tree.OnExpanding = TTVExpandingEvent(this, &TTreeLog::Expanding);
    tree.OnExpanded = TTVExpandedEvent(this, &TTreeLog::Expanded);
    tree.OnCollapsing = TTVCollapsingEvent(this, &TTreeLog::Collapsing);
    tree.OnCollapsed = TTVExpandedEvent(this, &TTreeLog::Collapsed);
    tree.OnClick = TNotifyEvent(this, &TTreeLog::Click);
    tree.OnDblClick = TNotifyEvent(this, &TTreeLog::DblClick);
  }
  static std::string Of(TTreeNode* node) { return node ? node->Text() : "(none)"; }
  void Change(TObject*, TTreeNode* node) { Lines.push_back("change " + Of(node)); }
  void Expanding(TObject*, TTreeNode* node, bool& allow) {
    Lines.push_back("expanding " + Of(node));
    allow = AllowExpand;
  }
  void Expanded(TObject*, TTreeNode* node) { Lines.push_back("expanded " + Of(node)); }
  void Collapsing(TObject*, TTreeNode* node, bool& allow) {
    Lines.push_back("collapsing " + Of(node));
    allow = AllowCollapse;
  }
  void Collapsed(TObject*, TTreeNode* node) { Lines.push_back("collapsed " + Of(node)); }
  void Click(TObject*) { Lines.push_back("click"); }
  void DblClick(TObject*) { Lines.push_back("dblclick"); }
};

using TLines = std::vector<std::string>;

// The texts of all nodes by absolute index, each indented by its level.
std::string Outline(const TTreeView& tree) {
  std::string out;
  for (int i = 0; i < tree.Items()->Count(); ++i) {
    TTreeNode* node = tree.Items()->Item(i);
    EXPECT_EQ(node->AbsoluteIndex(), i);
    for (TTreeNode* p = node->Parent(); p; p = p->Parent()) out += ' ';
    out += node->Text() + "\n";
  }
  return out;
}

class TreeViewsTest : public testing::Test {
protected:
  TreeViewsTest() {
    // C: with Windows (holding System32 and Fonts) and Avr.
    C = Tree.Items()->Add(nullptr, "C:");
    Windows = Tree.Items()->AddChild(C, "Windows");
    System32 = Tree.Items()->AddChild(Windows, "System32");
    Fonts = Tree.Items()->AddChild(Windows, "Fonts");
    Avr = Tree.Items()->AddChild(C, "avr");
    Log.Attach(Tree);
  }
  TTreeView Tree{nullptr};
  TTreeNode* C;
  TTreeNode* Windows;
  TTreeNode* System32;
  TTreeNode* Fonts;
  TTreeNode* Avr;
  TTreeLog Log;
};

TEST_F(TreeViewsTest, NodesKeepTheirLevelsAndAbsoluteOrderThroughSorting) {
  TTreeNode* d = Tree.Items()->Add(C, "D:");  // a root after C:'s subtree
  EXPECT_EQ(Outline(Tree), "C:\n Windows\n  System32\n  Fonts\n avr\nD:\n");
  EXPECT_EQ(Tree.Items()->Item(5), d);
  EXPECT_EQ(Fonts->Parent(), Windows);
  EXPECT_EQ(C->Parent(), nullptr);
  EXPECT_EQ(Windows->Count(), 2);
  EXPECT_EQ(Fonts->Index(), 1);
  EXPECT_EQ(C->Item(1), Avr);

  // Sorting ignores letter case; the whole tree by default, one level on a node.
  Tree.Items()->AddChild(Windows, "fonts");
  Windows->AlphaSort();
  EXPECT_EQ(Outline(Tree), "C:\n Windows\n  Fonts\n  fonts\n  System32\n avr\nD:\n");
  Tree.AlphaSort();
  EXPECT_EQ(Outline(Tree), "C:\n avr\n Windows\n  Fonts\n  fonts\n  System32\nD:\n");
  EXPECT_EQ(Avr->AbsoluteIndex(), 1);

  EXPECT_THROW(Tree.Items()->Item(7), EListError);
  EXPECT_THROW(C->Item(2), EListError);
}

TEST_F(TreeViewsTest, EventsOfCodeAndUserComeInTheirOrder) {
  struct TCase {
    const char* Name;
    std::function<void()> Do;
    TLines Expected;
  };
  // Each case starts where the one before ended.
  const TCase cases[] = {
      {"select from code", [&] { Tree.SetSelected(C); }, {"change C:"}},
      {"the same again", [&] { C->SetSelected(true); }, {}},
      {"a hidden node opens the nodes above it",
       [&] { Tree.SetSelected(Fonts); },
       {"expanding C:", "expanded C:", "expanding Windows", "expanded Windows", "change Fonts"}},
      {"user clicks a node", [&] { Tree.ClickNode(Avr); }, {"change avr", "click"}},
      {"user clicks the selected node", [&] { Tree.ClickNode(Avr); }, {"click"}},
      {"user clicks beside the nodes", [&] { Tree.ClickNode(nullptr); }, {"click"}},
      {"closing hands the selection up",
       [&] { C->Collapse(false); },
       {"collapsing C:", "change C:", "collapsed C:"}},
      {"double click opens", [&] { Tree.DblClickNode(C); }, {"expanding C:", "expanded C:", "dblclick"}},
      {"double click closes", [&] { Tree.DblClickNode(C); }, {"collapsing C:", "collapsed C:", "dblclick"}},
      {"a node without children stays closed", [&] { Tree.DblClickNode(Avr); }, {"dblclick"}},
      {"open all", [&] { C->Expand(true); }, {"expanding C:", "expanded C:"}},  // Windows is open already
      {"close all, children first",
       [&] { C->Collapse(true); },
       {"collapsing Windows", "collapsed Windows", "collapsing C:", "collapsed C:"}},
      {"clearing unselects first", [&] { Tree.Items()->Clear(); }, {"change (none)"}},
  };
  for (const TCase& test : cases) {
    Log.Lines.clear();
    test.Do();
    EXPECT_EQ(Log.Lines, test.Expected) << test.Name;
  }
  EXPECT_EQ(Tree.Items()->Count(), 0);
  EXPECT_EQ(Tree.Selected(), nullptr);
}

TEST_F(TreeViewsTest, AHandlerMayRefuseToOpenOrClose) {
  Log.AllowExpand = false;
  C->SetExpanded(true);
  EXPECT_FALSE(C->Expanded());
  Log.AllowExpand = true;
  C->SetExpanded(true);
  Log.AllowCollapse = false;
  C->SetExpanded(false);
  EXPECT_TRUE(C->Expanded());
  EXPECT_EQ(Log.Lines, (TLines{"expanding C:", "expanding C:", "expanded C:", "collapsing C:"}));
}

// Sets every node's image by its name's ending, as a file tree does.
struct TImagesByName {
  TTreeView* Tree;
  int Asked = 0;
  void GetImageIndex(TObject*, TTreeNode*) {
    ++Asked;
    for (int i = 0; i < Tree->Items()->Count(); ++i) {
      TTreeNode* node = Tree->Items()->Item(i);
      const std::string& t = node->Text();
      node->SetImageIndex(t.size() > 2 && t.substr(t.size() - 2) == ".c" ? 1 : 3);
    }
  }
};

TEST_F(TreeViewsTest, TheShownImageIsAskedForEachTimeANodeIsDrawn) {
  TTreeNode* main = Tree.Items()->Add(nullptr, "main.c");
  main->SetSelectedIndex(7);
  EXPECT_EQ(Tree.ShownImageIndex(main), 0);
  TImagesByName images{&Tree};
  Tree.OnGetImageIndex = TTVExpandedEvent(&images, &TImagesByName::GetImageIndex);
  EXPECT_EQ(Tree.ShownImageIndex(main), 1);
  EXPECT_EQ(Tree.ShownImageIndex(C), 3);
  EXPECT_EQ(images.Asked, 2);
  EXPECT_EQ(Tree.ShownSelectedIndex(main), 7);

  // An image list that goes is dropped.
  auto* list = new TImageList(nullptr, 16, 16);
  Tree.SetImages(list);
  delete list;
  EXPECT_EQ(Tree.Images(), nullptr);
}

}  // namespace
}  // namespace vk::test
