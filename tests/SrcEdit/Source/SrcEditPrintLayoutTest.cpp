// Printer geometry and margins against hand-computed values.

#include <gtest/gtest.h>

#include <cmath>

#include "SrcEdit/Source/SrcEditPrintMargins.h"
#include "SrcEdit/Source/SrcEditPrinterInfo.h"
#include "platform/RecordingCanvas.h"
#include "tests/SrcEdit/Source/PrintFixture.h"
#include "tests/platform/FontMetricsScope.h"

namespace vk {
namespace {

using test::TFontMetricsScope;
using test::TPrinterScope;

TEST(SrcEditPrinterInfoTest, WithoutPrintersTheA4DefaultsApply) {
  TPrinterScope printer;
  printer.Printer().SetDeviceCaps({1, 1, 1, 1, 0, 0, 1, 1});  // not read: no printer is installed
  TSrcEditPrinterInfo info;
  EXPECT_EQ(info.GetPhysicalWidth(), 2481);
  EXPECT_EQ(info.GetPhysicalHeight(), 3507);
  EXPECT_EQ(info.GetPrintableWidth(), 2358);
  EXPECT_EQ(info.GetPrintableHeight(), 3407);
  EXPECT_EQ(info.GetLeftGutter(), 65);
  EXPECT_EQ(info.GetRightGutter(), 58);
  EXPECT_EQ(info.GetTopGutter(), 50);
  EXPECT_EQ(info.GetBottomGutter(), 50);
  EXPECT_EQ(info.GetXPixPrInch(), 300);
  EXPECT_EQ(info.GetYPixPrmm(), static_cast<float>(300 / 25.4));
  const std::pair<double, int> fromLeft[] = {{25, 230}, {0, -65}, {210, 2415}};
  for (auto [mm, px] : fromLeft) EXPECT_EQ(info.PixFromLeft(mm), px) << mm;
  EXPECT_EQ(info.PixFromRight(15), 119);
  EXPECT_EQ(info.PixFromTop(25), 245);
  EXPECT_EQ(info.PixFromBottom(25), 245);
}

TEST(SrcEditPrinterInfoTest, ValuesComeFromThePrinterOnceUntilUpdated) {
  TPrinterScope printer;
  printer.Printer().InstalledPrinters = {"Laser"};
  // 600 x 300 pixels per inch; offsets 30 and 20 px.
  printer.Printer().SetDeviceCaps({5000, 3500, 4900, 3400, 30, 20, 600, 300});
  TSrcEditPrinterInfo info;
  EXPECT_EQ(info.GetRightGutter(), 70);
  EXPECT_EQ(info.GetBottomGutter(), 80);
  EXPECT_FLOAT_EQ(info.GetXPixPrmm(), 23.622047f);
  EXPECT_FLOAT_EQ(info.GetYPixPrmm(), 11.811024f);
  EXPECT_EQ(info.PixFromLeft(10), 206);  // 236.2 - 30
  EXPECT_EQ(info.PixFromTop(10), 98);    // 118.1 - 20
  printer.Printer().SetDeviceCaps({});
  EXPECT_EQ(info.GetPhysicalWidth(), 5000);  // cached
  info.UpdatePrinter();
  EXPECT_EQ(info.GetPhysicalWidth(), 2481);
}

TEST(SrcEditPrinterInfoTest, RoundingGoesToTheEvenNeighbourAndPointsOffThePaperLieOnItsEdge) {
  // Lengths: far-off ones stop at +-2^29.
  const std::pair<double, int> lengths[] = {{0.25, 2},        {0.75, 8},           {1.25, 12}, {-0.25, -2},
                                            {1e300, 1 << 29}, {-1e300, -(1 << 29)}, {NAN, 0},   {INFINITY, 1 << 29}};
  for (auto [mm, px] : lengths) EXPECT_EQ(PixelsFromMillimetres(mm, 10, 0), px) << mm;

  // Points on a sheet of 254 mm at 10 px per mm, 20 px unprintable on every
  // side: the paper runs from -20 to 2520 on the printable area.
  TPrinterScope printer;
  printer.Printer().InstalledPrinters = {"Laser"};
  printer.Printer().SetDeviceCaps({2540, 2540, 2500, 2500, 20, 20, 254, 254});
  TSrcEditPrinterInfo info;
  using TInfo = TSrcEditPrinterInfo;
  const std::pair<double, int> points[] = {{1.25, -8}, {-1.5e144, -20}, {1e300, 2520}, {INFINITY, 2520}, {NAN, 0}};
  for (auto [mm, px] : points)
    for (auto from : {&TInfo::PixFromLeft, &TInfo::PixFromRight, &TInfo::PixFromTop, &TInfo::PixFromBottom})
      EXPECT_EQ((info.*from)(mm), px) << mm;
}

TEST(SrcEditPrintMarginsTest, LengthsAreReadAndWrittenInTheUnit) {
  TSrcEditPrintMargins m;
  m.SetUnitSystem(usInch);
  EXPECT_DOUBLE_EQ(m.GetLeft(), 25 / 25.4);
  EXPECT_DOUBLE_EQ(m.GetRight(), 15 / 25.4);
  m.SetLeft(1);
  m.SetUnitSystem(usCM);
  EXPECT_DOUBLE_EQ(m.GetLeft(), 2.54);
  m.SetUnitSystem(muThousandthsOfInches);
  m.SetGutter(1000);
  m.SetUnitSystem(usMM);
  EXPECT_DOUBLE_EQ(m.GetGutter(), 25.4);
  m.SetTop(-3);  // stored as given
  EXPECT_EQ(m.GetTop(), -3);

  TSrcEditPrintMargins copy;
  m.SetUnitSystem(usCM);
  copy.Assign(m);
  EXPECT_EQ(copy.UnitSystem(), usCM);
  EXPECT_DOUBLE_EQ(copy.GetLeft(), 2.54);
  TFont font;
  EXPECT_THROW(copy.Assign(font), EConvertError);
}

TEST(SrcEditPrintMarginsTest, InitPageOnTheDefaultPage) {
  TFontMetricsScope metrics({.CellWidth = 8, .CellHeight = 16});
  TPrinterScope printer;
  TRecordingCanvas canvas;
  TSrcEditPrinterInfo info;
  struct TCase {
    const char* Name;
    bool Mirror, LineNumbers, InMargin;
    int Page;
    int Left, Right, Gutter, LeftIndent, RightIndent;
  };
  // With gutter 10 the mirrored even pages move the 35 mm to the right.
  const TCase cases[] = {
      {"plain", false, false, false, 1, 230, 2239, 0, 254, 2215},
      {"mirror odd", true, false, false, 1, 348, 2239, 118, 372, 2215},
      {"mirror even", true, false, false, 2, 112, 2003, 118, 136, 1979},
      {"mirror page 3", true, false, false, 3, 348, 2239, 118, 372, 2215},
      {"mirror page 0", true, false, false, 0, 112, 2003, 118, 136, 1979},
      {"mirror page -1", true, false, false, -1, 348, 2239, 118, 372, 2215},
      {"numbers", false, true, false, 1, 270, 2239, 0, 294, 2215},  // "120: " is 40 px
      {"numbers in margin", false, true, true, 1, 230, 2239, 0, 254, 2215},
  };
  for (const TCase& c : cases) {
    TSrcEditPrintMargins m;
    if (c.Mirror) {
      m.SetMirrorMargins(true);
      m.SetGutter(10);
    }
    m.InitPage(canvas, c.Page, info, c.LineNumbers, c.InMargin, 120);
    EXPECT_EQ(m.PixLeft, c.Left) << c.Name;
    EXPECT_EQ(m.PixRight, c.Right) << c.Name;
    EXPECT_EQ(m.PixGutter, c.Gutter) << c.Name;
    EXPECT_EQ(m.PixLeftHFTextIndent, c.LeftIndent) << c.Name;
    EXPECT_EQ(m.PixRightHFTextIndent, c.RightIndent) << c.Name;
    EXPECT_EQ(m.PixTop, 245) << c.Name;
    EXPECT_EQ(m.PixBottom, 3162) << c.Name;
    EXPECT_EQ(m.PixHeader, 127) << c.Name;
    EXPECT_EQ(m.PixFooter, 3280) << c.Name;
    EXPECT_EQ(m.PixHFInternalMargin, 6) << c.Name;
  }
}

}  // namespace
}  // namespace vk
