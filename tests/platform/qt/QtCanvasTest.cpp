#include <gtest/gtest.h>

#include <QtGui/QFontDatabase>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <vector>

#include "platform/qt/QtCanvas.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

// A canvas drawing into a white picture, with a 16-pixel monospaced font.
class QtCanvasPaintTest : public testing::Test {
protected:
  QtCanvasPaintTest() : FImage(240, 60, QImage::Format_RGB32) {
    FImage.fill(Qt::white);
    FPainter.begin(&FImage);
    FCanvas.Begin(FPainter);
    FCanvas.Font().SetName(TestFace);
    FCanvas.Font().SetHeight(-16);
    FFont = FCanvas.Font().Handle();
    FCanvas.SelectFont(FFont);
    FCanvas.SetTextColor(RGB(0, 0, 0));
    FCanvas.SetBkColor(RGB(0, 255, 0));
  }
  QImage& Finish() {
    FCanvas.End();
    FPainter.end();
    return FImage;
  }
  // Columns of the picture in which something not of the colour shows.
  std::vector<bool> InkColumns(const QRect& band, QRgb background) {
    std::vector<bool> ink(static_cast<size_t>(FImage.width()), false);
    for (int y = band.top(); y <= band.bottom(); ++y)
      for (int x = band.left(); x <= band.right(); ++x)
        if (FImage.pixel(x, y) != background) ink[static_cast<size_t>(x)] = true;
    return ink;
  }

  QImage FImage;
  QPainter FPainter;
  TQtCanvas FCanvas;
  HFONT FFont = 0;
};

TEST_F(QtCanvasPaintTest, EachCharacterOfARunLandsInTheCellItsAdvanceGives) {
  // Cells of 20 pixels from x = 10, the opaque rectangle filled first.
  TRect opaque = Rect(0, 5, 240, 30);
  int dx[] = {20, 20, 20, 20};
  FCanvas.ExtTextOut(10, 8, ETO_OPAQUE, &opaque, "AiMW", 4, dx);
  Finish();
  QRgb green = qRgb(0, 255, 0);
  EXPECT_EQ(FImage.pixel(0, 5), green);
  EXPECT_EQ(FImage.pixel(239, 29), green);
  EXPECT_EQ(FImage.pixel(0, 30), qRgb(255, 255, 255));
  std::vector<bool> ink = InkColumns(QRect(0, 5, 240, 25), green);
  for (int cell = 0; cell < 4; ++cell) {
    int left = 10 + 20 * cell;
    bool inCell = false;
    // Glyphs of a 16-pixel monospaced font are narrower than the cell:
    // the last few columns of each cell stay empty.
    for (int x = left; x < left + 20; ++x) inCell = inCell || ink[static_cast<size_t>(x)];
    EXPECT_TRUE(inCell) << cell;
    for (int x = left + 14; x < left + 20; ++x) EXPECT_FALSE(ink[static_cast<size_t>(x)]) << cell << " " << x;
  }
  for (int x = 90; x < 240; ++x) EXPECT_FALSE(ink[static_cast<size_t>(x)]) << x;
}

// Bold and plain words of one face share a row's baseline, also where the
// face's bold style reaches higher than its plain one (Nimbus Mono PS, which
// "Courier New" resolves to on many desktops).
TEST_F(QtCanvasPaintTest, EveryStyleOfAFaceStandsOnOneBaseline) {
  for (const char* file : {"/usr/share/fonts/opentype/urw-base35/NimbusMonoPS-Regular.otf",
                           "/usr/share/fonts/opentype/urw-base35/NimbusMonoPS-Bold.otf"})
    if (QFontDatabase::addApplicationFont(QString::fromUtf8(file)) < 0)
      GTEST_SKIP() << file << " is missing (./x installs fonts-urw-base35)";
  // One face a band of the picture: plain words on the left, bold on the right.
  const char* const faces[] = {TestFace, "Nimbus Mono PS"};
  for (int band = 0; band < 2; ++band) {
    FCanvas.Font().SetName(faces[band]);
    for (bool bold : {false, true}) {
      FCanvas.Font().SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
      FCanvas.SelectFont(FCanvas.Font().Handle());
      FCanvas.ExtTextOut(bold ? 120 : 10, 2 + 30 * band, 0, nullptr, "HHHH", 4, nullptr);
    }
  }
  Finish();
  // The glyphs are black on the cells' green.
  auto lowestInk = [&](int left, int top) {
    int lowest = -1;
    for (int y = top; y < top + 30; ++y)
      for (int x = left; x < left + 110; ++x)
        if (qGray(FImage.pixel(x, y)) < 64) lowest = y;
    return lowest;
  };
  for (int band = 0; band < 2; ++band) {
    SCOPED_TRACE(faces[band]);
    const int plain = lowestInk(0, 30 * band);
    EXPECT_GT(plain, 30 * band + 8);
    EXPECT_EQ(lowestInk(120, 30 * band), plain);
  }
}

TEST_F(QtCanvasPaintTest, AKoreanStringDrawsOneGlyphAcrossTheTwoCellsOfEachCharacter) {
  // "hangeul" in the ANSI code page: two double-byte characters.
  const char text[] = "\xC7\xD1\xB1\xDB";
  int dx[] = {10, 10, 10, 10};
  FCanvas.SetBkMode(TRANSPARENT);
  FCanvas.ExtTextOut(20, 10, 0, nullptr, text, 4, dx);
  Finish();
  std::vector<bool> ink = InkColumns(QRect(0, 0, 240, 60), qRgb(255, 255, 255));
  int first = 0, second = 0, outside = 0;
  for (int x = 0; x < 240; ++x) {
    if (!ink[static_cast<size_t>(x)]) continue;
    if (x >= 20 && x < 40)
      ++first;
    else if (x >= 40 && x < 60)
      ++second;
    else
      ++outside;
  }
  // Each glyph is wide: it covers most of its two cells.
  EXPECT_GT(first, 10);
  EXPECT_GT(second, 10);
  EXPECT_EQ(outside, 0);
}

TEST_F(QtCanvasPaintTest, OpaqueModeFillsTheCellsAndUnderlineRunsAcrossThem) {
  TLogFont underlined;
  GetFontObject(FFont, underlined);
  underlined.lfUnderline = 1;
  HFONT font = CreateFontIndirect(underlined);
  FCanvas.SelectFont(font);
  FCanvas.SetBkMode(OPAQUE);
  int dx[] = {12, 12, 12};
  FCanvas.ExtTextOut(30, 10, 0, nullptr, "a b", 3, dx);
  FCanvas.SelectFont(FFont);
  DeleteFont(font);
  Finish();
  TTextMetric tm = FontMetrics().TextMetrics(underlined);
  QRgb green = qRgb(0, 255, 0);
  // The cells are filled, nothing left or right of them.
  EXPECT_EQ(FImage.pixel(30, 10), green);
  EXPECT_EQ(FImage.pixel(65, 10 + tm.tmHeight - 1), green);
  EXPECT_EQ(FImage.pixel(29, 10), qRgb(255, 255, 255));
  EXPECT_EQ(FImage.pixel(66, 10), qRgb(255, 255, 255));
  // The underline crosses the blank cell too.
  bool underlineUnderBlank = false;
  for (int y = 10; y < 10 + tm.tmHeight; ++y)
    underlineUnderBlank = underlineUnderBlank || FImage.pixel(48, y) == qRgb(0, 0, 0);
  EXPECT_TRUE(underlineUnderBlank);
}

TEST_F(QtCanvasPaintTest, TextIsClippedToTheRectangleAndTheCanvasClip) {
  TRect clip = Rect(10, 0, 30, 60);
  int dx[] = {16, 16, 16, 16};
  FCanvas.ExtTextOut(0, 10, ETO_CLIPPED, &clip, "MMMM", 4, dx);
  FCanvas.SetClipRect(Rect(100, 0, 110, 60));
  FCanvas.ExtTextOut(90, 10, 0, nullptr, "MMMM", 4, dx);
  Finish();
  std::vector<bool> ink = InkColumns(QRect(0, 0, 240, 60), qRgb(255, 255, 255));
  for (int x = 0; x < 240; ++x) {
    bool inside = (x >= 10 && x < 30) || (x >= 100 && x < 110);
    EXPECT_TRUE(inside || !ink[static_cast<size_t>(x)]) << x;
  }
  EXPECT_TRUE(ink[12] || ink[20]);
}

TEST_F(QtCanvasPaintTest, LinesLeaveTheirEndPointOutAndPicturesKeepTheirTransparentColour) {
  FCanvas.Pen().SetColor(clRed);
  FCanvas.MoveTo(5, 2);
  FCanvas.LineTo(15, 2);
  FCanvas.MoveTo(20, 10);
  FCanvas.LineTo(20, 4);
  TBitmap picture;
  picture.SetSize(3, 1);
  picture.SetPixel(0, 0, RGB(0, 0, 255));
  picture.SetPixel(1, 0, RGB(255, 0, 255));
  picture.SetPixel(2, 0, RGB(0, 0, 255));
  picture.SetTransparentColor(static_cast<TColor>(RGB(255, 0, 255)));
  picture.SetTransparent(true);
  FCanvas.Draw(30, 40, picture);
  Finish();
  QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255), blue = qRgb(0, 0, 255);
  EXPECT_EQ(FImage.pixel(5, 2), red);
  EXPECT_EQ(FImage.pixel(14, 2), red);
  EXPECT_EQ(FImage.pixel(15, 2), white);
  EXPECT_EQ(FImage.pixel(20, 10), red);
  EXPECT_EQ(FImage.pixel(20, 5), red);
  EXPECT_EQ(FImage.pixel(20, 4), white);
  EXPECT_EQ(FImage.pixel(30, 40), blue);
  EXPECT_EQ(FImage.pixel(31, 40), white);
  EXPECT_EQ(FImage.pixel(32, 40), blue);
}

TEST(QtCanvasTest, DrawingOutsideAPaintReportsTheAreaForRepainting) {
  struct TReports {
    std::vector<TRect> Areas;
    void Report(const TRect& r) { Areas.push_back(r); }
  } reports;
  TQtCanvas canvas;
  canvas.OnPaintOutsidePaint = TDelegate<void(const TRect&)>(&reports, &TReports::Report);
  canvas.FillRect(Rect(1, 2, 3, 4));
  canvas.SelectFont(canvas.Font().Handle());
  int dx[] = {10, 10};
  canvas.ExtTextOut(5, 6, 0, nullptr, "ab", 2, dx);
  ASSERT_EQ(reports.Areas.size(), 2u);
  EXPECT_EQ(reports.Areas[0], Rect(1, 2, 3, 4));
  EXPECT_EQ(reports.Areas[1].Left, 5);
  EXPECT_EQ(reports.Areas[1].Right, 25);
  EXPECT_EQ(reports.Areas[1].Top, 6);
}

}  // namespace
}  // namespace vk::test
