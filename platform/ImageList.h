#pragma once
// A list of equally sized images that controls draw by index.

#include <memory>
#include <vector>

#include "platform/Bitmaps.h"
#include "platform/Canvas.h"
#include "platform/Components.h"

namespace vk {

class TImageList : public TComponent {
public:
  TImageList(TComponent* owner, int width, int height);
  std::string ClassName() const override { return "TImageList"; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const { return static_cast<int>(FImages.size()); }
  // Appends a copy of the picture, cut or padded to the list's size; pixels
  // of the mask colour (clNone: none) are left out when drawn. Answers the
  // new index.
  int Add(const TBitmap& image, TColor maskColor = clNone);
  void Clear() { FImages.clear(); }
  // Image `index` with its top left at (x, y); an index outside
  // 0..Count-1 draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index) const;

private:
  int FWidth;
  int FHeight;
  std::vector<std::unique_ptr<TBitmap>> FImages;
};

}  // namespace vk
