#include "platform/ImageList.h"

#include <algorithm>

namespace vk {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(width), FHeight(height) {}

int TImageList::Add(const TBitmap& image, TColor maskColor) {
  auto picture = std::make_unique<TBitmap>();
  picture->SetSize(FWidth, FHeight);
  for (int y = 0; y < std::min(FHeight, image.Height()); ++y)
    for (int x = 0; x < std::min(FWidth, image.Width()); ++x) picture->SetPixel(x, y, image.Pixel(x, y));
  picture->SetTransparent(maskColor != clNone);
  picture->SetTransparentColor(maskColor);
  FImages.push_back(std::move(picture));
  return Count() - 1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  if (index < 0 || index >= Count()) return;
  canvas.Draw(x, y, *FImages[index]);
}

}  // namespace vk
