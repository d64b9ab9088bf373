// The image control: where its picture goes and the size AutoSize gives it.

#include <gtest/gtest.h>

#include "platform/ExtImages.h"
#include "platform/RasterCanvas.h"

namespace vk::test {
namespace {

// A 4 x 2 picture: red, with a blue bottom-right pixel.
TBitmap Picture() {
  TBitmap b;
  b.SetSize(4, 2);
  b.Fill(Rect(0, 0, 4, 2), RGB(255, 0, 0));
  b.SetPixel(3, 1, RGB(0, 0, 255));
  return b;
}

TEST(ExtImagesTest, ThePictureGoesTopLeftCentredOrStretched) {
  struct TCase {
    bool Stretch, Center, AutoSize;
    TRect Bounds;     // the control after the picture came
    TRect Dest;       // where the picture goes
    TPoint Red, Blue; // a pixel of each colour on the canvas
  };
  const TCase cases[] = {
      {false, false, false, Rect(5, 5, 25, 15), Rect(0, 0, 4, 2), {0, 0}, {3, 1}},
      {false, true, false, Rect(5, 5, 25, 15), Rect(8, 4, 12, 6), {8, 4}, {11, 5}},
      {true, false, false, Rect(5, 5, 25, 15), Rect(0, 0, 20, 10), {0, 0}, {19, 9}},
      {true, true, false, Rect(5, 5, 25, 15), Rect(0, 0, 20, 10), {10, 2}, {18, 8}},
      {false, true, true, Rect(5, 5, 9, 7), Rect(0, 0, 4, 2), {0, 0}, {3, 1}},
  };
  for (const TCase& test : cases) {
    TImage image(nullptr);
    image.SetBounds(5, 5, 20, 10);
    image.SetStretch(test.Stretch);
    image.SetCenter(test.Center);
    image.SetAutoSize(test.AutoSize);
    image.Picture()->Assign(Picture());
    EXPECT_EQ(image.BoundsRect(), test.Bounds) << test.Stretch << test.Center << test.AutoSize;
    EXPECT_EQ(image.DestRect(), test.Dest) << test.Stretch << test.Center << test.AutoSize;

    TRasterCanvas canvas(image.Width(), image.Height());
    image.PaintTo(canvas);
    EXPECT_EQ(canvas.PixelAt(test.Red.X, test.Red.Y), RGB(255, 0, 0));
    EXPECT_EQ(canvas.PixelAt(test.Blue.X, test.Blue.Y), RGB(0, 0, 255));
  }
}

TEST(ExtImagesTest, TurningAutoSizeOnFitsThePictureItHas) {
  TImage image(nullptr);
  image.Picture()->Assign(Picture());
  EXPECT_EQ(image.Width(), 105);
  image.SetAutoSize(true);
  EXPECT_EQ(image.BoundsRect(), Rect(0, 0, 4, 2));
}

}  // namespace
}  // namespace vk::test
