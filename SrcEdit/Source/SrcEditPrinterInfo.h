#pragma once
// The geometry of the current printer, fetched once and then cached: paper
// and printable area in device pixels, the unprintable strips on the four
// sides and the resolution. Distances in millimetres from a paper edge turn
// into coordinates on the printable area, where the printer canvas has its
// origin. Without an installed printer the page is an A4 sheet at 300 pixels
// per inch, so that pagination still works.

#include <string>

#include "platform/Objects.h"

namespace vk {

class TSrcEditPrinterInfo : public TObject {
public:
  std::string ClassName() const override { return "TSrcEditPrinterInfo"; }

  // Each getter fetches the printer's values first when that has not
  // happened yet.
  int GetPhysicalWidth() { return Fetch(), FPhysicalWidth; }
  int GetPhysicalHeight() { return Fetch(), FPhysicalHeight; }
  int GetPrintableWidth() { return Fetch(), FPrintableWidth; }
  int GetPrintableHeight() { return Fetch(), FPrintableHeight; }
  int GetLeftGutter() { return Fetch(), FLeftGutter; }
  int GetRightGutter() { return Fetch(), FRightGutter; }
  int GetTopGutter() { return Fetch(), FTopGutter; }
  int GetBottomGutter() { return Fetch(), FBottomGutter; }
  int GetXPixPrInch() { return Fetch(), FXPixPrInch; }
  int GetYPixPrInch() { return Fetch(), FYPixPrInch; }
  float GetXPixPrmm() { return Fetch(), FXPixPrmm; }
  float GetYPixPrmm() { return Fetch(), FYPixPrmm; }

  // A point mm from the left (top) paper edge as x (y) on the printable
  // area; the distance of a point mm from the right (bottom) paper edge to
  // the right (bottom) edge of the printable area. Rounded to the nearest
  // integer, a tie to the even one; a point off the paper lies on its edge.
  int PixFromLeft(double mm);
  int PixFromRight(double mm);
  int PixFromTop(double mm);
  int PixFromBottom(double mm);

  // Reads every value anew from the process's printer (the defaults when
  // it lists no printer).
  void UpdatePrinter();
  // The A4 page at 300 pixels per inch.
  void FillDefault();

private:
  void Fetch() {
    if (!FIsUpdated) UpdatePrinter();
  }

  int FPhysicalWidth = 0;
  int FPhysicalHeight = 0;
  int FPrintableWidth = 0;
  int FPrintableHeight = 0;
  int FLeftGutter = 0;
  int FRightGutter = 0;
  int FTopGutter = 0;
  int FBottomGutter = 0;
  int FXPixPrInch = 0;
  int FYPixPrInch = 0;
  float FXPixPrmm = 0;
  float FYPixPrmm = 0;
  bool FIsUpdated = false;
};

// round(mm * pixelsPerMm - gutter) in extended precision, ties to even,
// kept within +-2^29 (NaN gives 0).
int PixelsFromMillimetres(double mm, float pixelsPerMm, int gutter);

}  // namespace vk
