#include "SrcEdit/Source/SrcEditPrinterInfo.h"

#include <algorithm>
#include <cmath>

#include "platform/Printers.h"

namespace vk {

int PixelsFromMillimetres(double mm, float pixelsPerMm, int gutter) {
  // Far enough for any page, near enough that sums of a few coordinates
  // stay within int.
  constexpr long double Limit = 1 << 29;
  long double pixels = std::nearbyint(static_cast<long double>(mm) * pixelsPerMm - gutter);
  if (std::isnan(pixels)) return 0;
  return static_cast<int>(std::clamp(pixels, -Limit, Limit));
}

void TSrcEditPrinterInfo::FillDefault() {
  FPhysicalWidth = 2481;
  FPhysicalHeight = 3507;
  FPrintableWidth = 2358;
  FPrintableHeight = 3407;
  FLeftGutter = 65;
  FRightGutter = 58;
  FTopGutter = 50;
  FBottomGutter = 50;
  FXPixPrInch = 300;
  FYPixPrInch = 300;
  FXPixPrmm = static_cast<float>(FXPixPrInch / 25.4);
  FYPixPrmm = static_cast<float>(FYPixPrInch / 25.4);
}

void TSrcEditPrinterInfo::UpdatePrinter() {
  // First, so that the getters do not fetch again when there is no printer.
  FIsUpdated = true;
  TPrinter& printer = Printer();
  printer.Refresh();
  if (printer.Printers().Count() <= 0) {
    FillDefault();
    return;
  }
  FPhysicalWidth = printer.GetDeviceCaps(PHYSICALWIDTH);
  FPhysicalHeight = printer.GetDeviceCaps(PHYSICALHEIGHT);
  FPrintableWidth = printer.PageWidth();
  FPrintableHeight = printer.PageHeight();
  FLeftGutter = printer.GetDeviceCaps(PHYSICALOFFSETX);
  FTopGutter = printer.GetDeviceCaps(PHYSICALOFFSETY);
  FRightGutter = FPhysicalWidth - FPrintableWidth - FLeftGutter;
  FBottomGutter = FPhysicalHeight - FPrintableHeight - FTopGutter;
  FXPixPrInch = printer.GetDeviceCaps(LOGPIXELSX);
  FYPixPrInch = printer.GetDeviceCaps(LOGPIXELSY);
  FXPixPrmm = static_cast<float>(FXPixPrInch / 25.4);
  FYPixPrmm = static_cast<float>(FYPixPrInch / 25.4);
}

namespace {

// A point off the paper (a margin of -1e144 mm from a damaged settings
// record) lies on the paper's edge: a text area wider than the paper would
// make the print grid millions of columns wide.
int OnPaper(double mm, float pixelsPerMm, int gutter, int paper) {
  return std::clamp(PixelsFromMillimetres(mm, pixelsPerMm, gutter), -gutter, std::max(paper, 0) - gutter);
}

}  // namespace

int TSrcEditPrinterInfo::PixFromLeft(double mm) {
  Fetch();
  return OnPaper(mm, FXPixPrmm, FLeftGutter, FPhysicalWidth);
}
int TSrcEditPrinterInfo::PixFromRight(double mm) {
  Fetch();
  return OnPaper(mm, FXPixPrmm, FRightGutter, FPhysicalWidth);
}
int TSrcEditPrinterInfo::PixFromTop(double mm) {
  Fetch();
  return OnPaper(mm, FYPixPrmm, FTopGutter, FPhysicalHeight);
}
int TSrcEditPrinterInfo::PixFromBottom(double mm) {
  Fetch();
  return OnPaper(mm, FYPixPrmm, FBottomGutter, FPhysicalHeight);
}

}  // namespace vk
