#pragma once
// The side panel's file browser: a directory tree below a drive, filled
// node by node as the person opens folders, and a list of a folder's files
// for a mask, with their sizes, dates and desktop icons.
//
// There are no drive letters here: the drive "C:" is the root folder "/".
// Folders are written with a trailing "/", and every search is a folder
// followed by a mask ("/usr/" + "*.*").

#include <cstdint>
#include <string>

namespace vk {

class TListView;
class TTreeNode;
class TTreeView;

// The folder a drive stands for: "C:" (either case) is "/", a folder typed
// into the drive box ("/home/me") is that folder with a "/" added; any other
// drive has none ("").
std::string DriveFolder(const std::string& drive);

// Adds the sub-folders of the folder that the mask finds as children of the
// node at the absolute index, then sorts the whole tree by name. Hidden
// folders (names starting with ".") and "." and ".." are left out; nothing
// is added for a folder "" or one that cannot be read.
void FillDirTree(TTreeView& tree, const std::string& folder, const std::string& mask, int parentIndex);

// Replaces the list's items by the files of the folder that the mask finds,
// hidden ones included, folders not: caption the name, image the desktop's
// icon (FileIcons()), then the size and the date of the last change as
// texts. An empty list for a folder "".
void FillFileList(TListView& list, const std::string& folder, const std::string& mask);

// Whole kilobytes with the locale's thousands separator: "1,205 KB" for
// 1,234,567 bytes; "0 KB" below 1,024 bytes.
std::string FileSizeText(int64_t size);

// The folders from below the root node down to the node, each followed by
// "/": "usr/lib/" for the node lib under usr under the root.
std::string NodeFolderPath(const TTreeNode& node);

// Opened as a document of the project (".c", ".h", ".s", ".asm", lower case
// only); any other file goes to the desktop's program for it.
bool OpensAsSource(const std::string& fileName);

}  // namespace vk
