#pragma once
// The main window's tool bar pictures, 16 by 16, drawn from character
// pictures into an image list in the order of TToolBarImage.

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
  tiCount
};

void AddToolBarImages(TImageList& images);

}  // namespace vk
