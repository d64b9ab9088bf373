#pragma once
// TPicture: a picture loaded from a file, chosen by the file's extension
// (.bmp, .jpg, .jpeg, in any letter case). A canvas draws its bitmap as it
// is (Draw) or fitted into a rectangle (StretchDraw).

#include <string>

#include "platform/Bitmaps.h"
#include "platform/PictureReaders.h"

namespace vk {

class TPicture : public TPersistent {
public:
  std::string ClassName() const override { return "TPicture"; }

  // Replaces the picture with the file's. Raises, leaving the picture as it
  // was: EFOpenError when the file cannot be read, EInvalidGraphic
  // "Unknown picture file extension (.%s)" for another kind of file,
  // EInvalidGraphic or EJPEG when its contents are damaged.
  void LoadFromFile(const std::string& fileName);

  // The pixels; empty (0 x 0) until a picture is loaded or assigned.
  const TBitmap& Bitmap() const { return FBitmap; }
  TBitmap& Bitmap() { return FBitmap; }
  int Width() const { return FBitmap.Width(); }
  int Height() const { return FBitmap.Height(); }
  bool Empty() const { return FBitmap.Empty(); }

  // Takes another picture's or a bitmap's pixels; calls OnChange.
  void Assign(const TPersistent& source) override;

  TNotifyEvent OnChange;

private:
  void Changed();
  TBitmap FBitmap;
};

}  // namespace vk
