#include "app/FileBrowser.h"

#include "platform/DateTimes.h"
#include "platform/FileIcons.h"
#include "platform/FilePaths.h"
#include "platform/FileSearch.h"
#include "platform/FloatFormats.h"
#include "platform/ListViews.h"
#include "platform/SysUtils.h"
#include "platform/TreeViews.h"

namespace vk {

std::string DriveFolder(const std::string& drive) {
  if (SameText(drive, "C:")) return "/";
  if (drive.starts_with("/")) return drive.ends_with("/") ? drive : drive + "/";
  return "";
}

void FillDirTree(TTreeView& tree, const std::string& folder, const std::string& mask, int parentIndex) {
  if (folder.empty()) return;
  TTreeNode* parent = tree.Items()->Item(parentIndex);
  TSearchRec rec;
  for (int found = FindFirst(folder + mask, faDirectory, rec); found == 0; found = FindNext(rec)) {
    // Folders the person cannot write are shown all the same: most folders
    // outside the home folder are such, yet they are browsed every day.
    if (!(rec.Attr & faDirectory) || (rec.Attr & (faHidden | faSysFile))) continue;
    if (rec.Name == "." || rec.Name == "..") continue;
    tree.Items()->AddChild(parent, rec.Name);
  }
  FindClose(rec);
  tree.AlphaSort(true);
}

void FillFileList(TListView& list, const std::string& folder, const std::string& mask) {
  list.Items()->Clear();
  if (folder.empty()) return;
  TSearchRec rec;
  for (int found = FindFirst(folder + mask, faReadOnly | faHidden | faSysFile | faArchive, rec); found == 0;
       found = FindNext(rec)) {
    TListItem* item = list.Items()->Add();
    item->SetCaption(rec.Name);
    item->SetImageIndex(FileIcons().IconIndex(rec.Name));
    item->SubItems()->Add(FileSizeText(rec.Size));
    item->SubItems()->Add(DateTimeToStr(FileDateToDateTime(rec.Time)));
  }
  FindClose(rec);
}

std::string FileSizeText(int64_t size) {
  if (size < 1024) return "0 KB";
  return FormatFloat("#,###' KB'", static_cast<double>(size / 1024));
}

std::string NodeFolderPath(const TTreeNode& node) {
  std::string path;
  for (const TTreeNode* n = &node; n->Parent(); n = n->Parent()) path = n->Text() + "/" + path;
  return path;
}

bool OpensAsSource(const std::string& fileName) {
  const std::string ext = ExtractFileExt(fileName);
  return ext == ".c" || ext == ".h" || ext == ".s" || ext == ".asm";
}

}  // namespace vk
