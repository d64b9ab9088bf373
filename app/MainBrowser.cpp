// The side panel's file browser (drive, mask, folder tree, file list) and
// the project tree's navigation: a file node brings its document forward
// and lists its functions, a function node finds its first mention.

#include "app/ChildWin.h"
#include "app/FileBrowser.h"
#include "app/Main.h"
#include "app/ProjectTree.h"
#include "app/ToolBarImages.h"
#include "platform/FilePaths.h"
#include "platform/Shell.h"

namespace vk {

void TMainForm::StartFileBrowser() {
  AddProjectTreeImages(*ImageList2);
  AddFolderImages(*ImageList3);
  ComboBox1DIR->OnChange = TNotifyEvent(this, &TMainForm::ComboBox1DIRChange);
  ComboBox2FILE->OnChange = TNotifyEvent(this, &TMainForm::ComboBox2FILEChange);
  TreeView2->OnClick = TNotifyEvent(this, &TMainForm::TreeView2Click);
  TreeView2->OnExpanding = TTVExpandingEvent(this, &TMainForm::TreeView2Expanding);
  TreeView2->OnCollapsing = TTVCollapsingEvent(this, &TMainForm::TreeView2Collapsing);
  ListView1->OnDblClick = TNotifyEvent(this, &TMainForm::ListView1DblClick);
  TreeView1->OnChange = TTVChangedEvent(this, &TMainForm::TreeView1Change);
  TreeView1->OnDblClick = TNotifyEvent(this, &TMainForm::TreeView1DblClick);
  TreeView1->OnGetImageIndex = TTVExpandedEvent(this, &TMainForm::TreeView1GetImageIndex);
  for (TMenuItem* item : {N14, N15, N17, N19}) item->OnClick = TNotifyEvent(this, &TMainForm::ListViewStyleClick);
  PopIncludeAdd1->OnClick = TNotifyEvent(this, &TMainForm::PopIncludeAdd1Click);

  // The drive "C:" is the root folder.
  TreeView2->Items()->AddChild(nullptr, "C:");
  FileListFolder = DriveFolder("C:");
  FillDirTree(*TreeView2, FileListFolder, "*.*", 0);
  FillFileList(*ListView1, FileListFolder, "*.c");
}

// ---------------------------------------------------------------- the file browser

void TMainForm::ComboBox1DIRChange(TObject*) {
  const std::string drive = ComboBox1DIR->Text();
  TreeView2->Items()->Clear();
  ListView1->Items()->Clear();
  TreeView2->Items()->AddChild(nullptr, drive);
  FileListFolder = DriveFolder(drive);
  FillDirTree(*TreeView2, FileListFolder, "*.*", 0);
  FillFileList(*ListView1, FileListFolder, ComboBox2FILE->Text());
}

void TMainForm::ComboBox2FILEChange(TObject*) { FillFileList(*ListView1, FileListFolder, ComboBox2FILE->Text()); }

void TMainForm::TreeView2Click(TObject*) {
  TTreeNode* node = TreeView2->Selected();
  if (!node) return;
  const std::string folder = DriveFolder(ComboBox1DIR->Text());
  const std::string path = folder.empty() ? "" : folder + NodeFolderPath(*node);
  // The tree is filled once per folder, when it is first opened; the list
  // always shows the files of the folder clicked.
  if (node->Parent() && !node->HasChildren()) FillDirTree(*TreeView2, path, "*.*", node->AbsoluteIndex());
  FillFileList(*ListView1, path, ComboBox2FILE->Text());
  FileListFolder = path;
}

void TMainForm::TreeView2Expanding(TObject*, TTreeNode* Node, bool&) { Node->SetImageIndex(1); }

void TMainForm::TreeView2Collapsing(TObject*, TTreeNode* Node, bool&) { Node->SetImageIndex(0); }

void TMainForm::ListView1DblClick(TObject*) {
  TListItem* item = ListView1->Selected();
  if (!item) return;
  const std::string path = FileListFolder + item->Caption();
  if (!OpensAsSource(path)) {
    Shell().OpenDocument(path);
    return;
  }
  OpenFromListFlag = 1;
  OpenFromListPath = path;
  FileOpenCmd->Execute();
}

void TMainForm::ListViewStyleClick(TObject* Sender) {
  const std::pair<TMenuItem*, TViewStyle> styles[] = {{N14, vsIcon}, {N15, vsSmallIcon}, {N17, vsList}, {N19, vsReport}};
  for (auto [item, style] : styles) {
    if (item != Sender) continue;
    ListView1->SetViewStyle(style);
    item->SetChecked(true);
  }
}

// ---------------------------------------------------------------- the project tree

TMDIChild* TMainForm::DocumentNamed(const std::string& fileName) const {
  for (int i = 0; i < DocumentCount(); ++i)
    if (ExtractFileName(Documents(i)->Caption()) == fileName) return Documents(i);
  return nullptr;
}

void TMainForm::ShowDocument(TMDIChild& document) {
  document.Show();
  document.SetWindowState(wsMaximized);
}

void TMainForm::TreeView1Change(TObject*, TTreeNode*) {
  TTreeNode* node = TreeView1->Selected();
  if (!node) return;
  TMDIChild* document = DocumentNamed(node->Text());
  if (!document) return;
  ShowDocument(*document);
  AddFunctionNodes(*TreeView1, *node, document->Editor->Lines());
}

void TMainForm::TreeView1DblClick(TObject*) {
  TTreeNode* node = TreeView1->Selected();
  if (!node) return;
  if (TMDIChild* document = DocumentNamed(node->Text())) ShowDocument(*document);
  if (!node->Parent()) return;
  // A function: its first mention in its file's window, whatever the case.
  TMDIChild* document = DocumentNamed(node->Parent()->Text());
  if (!document) return;
  ShowDocument(*document);
  document->Editor->SearchReplace(node->Text(), "", TSrcSearchOptions{ssoEntireScope});
}

void TMainForm::TreeView1GetImageIndex(TObject*, TTreeNode* Node) { Node->SetImageIndex(ProjectNodeImage(Node->Text())); }

}  // namespace vk
