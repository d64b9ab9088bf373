#pragma once
// The main window's pictures, 16 by 16, drawn from character pictures:
// the tool bar's at the places of TToolBarImage, and the side panel's trees'.

namespace vk {

class TImageList;

enum TToolBarImage : int {
  tiNew,
  tiOpen,
  tiSave,
  tiUndo,
  tiRedo,
  tiCommentIn,
  tiCommentOut,
  tiLineNumbers,
  tiFontLarger,
  tiFontSmaller,
  tiMcuImage,
  tiFind,
  tiRun,
  // The project-header commands keep the places 48 and 49 their command
  // table gives them; the places between hold empty pictures.
  tiProjectNameInsert = 48,
  tiProjectNameDelete = 49,
};

void AddToolBarImages(TImageList& images);
// The directory tree's folders: 0 closed, 1 open.
void AddFolderImages(TImageList& images);
// The project tree's nodes: 1 a C source, 2 a header, 3 anything else,
// and 0 a plain page, shown for the selected node.
void AddProjectTreeImages(TImageList& images);

}  // namespace vk
