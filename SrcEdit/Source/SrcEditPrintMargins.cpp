#include "SrcEdit/Source/SrcEditPrintMargins.h"

#include <bit>
#include <cstring>

#include "SrcEdit/Source/SrcEditPrinterInfo.h"
#include "platform/Canvas.h"

namespace vk {

void TSrcEditPrintMargins::Assign(const TPersistent& source) {
  const auto* margins = dynamic_cast<const TSrcEditPrintMargins*>(&source);
  if (!margins) {
    TPersistent::Assign(source);
    return;
  }
  FLeft = margins->FLeft;
  FRight = margins->FRight;
  FTop = margins->FTop;
  FBottom = margins->FBottom;
  FHeader = margins->FHeader;
  FFooter = margins->FFooter;
  FLeftHFTextIndent = margins->FLeftHFTextIndent;
  FRightHFTextIndent = margins->FRightHFTextIndent;
  FHFInternalMargin = margins->FHFInternalMargin;
  FGutter = margins->FGutter;
  FMirrorMargins = margins->FMirrorMargins;
  FUnitSystem = margins->FUnitSystem;
}

double TSrcEditPrintMargins::ConvertTo(double value) const {
  switch (FUnitSystem) {
    case usCM: return value * 10;
    case usInch: return value * 25.4;
    case muThousandthsOfInches: return value * 25.4 / 1000;
    default: return value;
  }
}

double TSrcEditPrintMargins::ConvertFrom(double value) const {
  switch (FUnitSystem) {
    case usCM: return value / 10;
    case usInch: return value / 25.4;
    case muThousandthsOfInches: return value * 1000 / 25.4;
    default: return value;
  }
}

void TSrcEditPrintMargins::InitPage(TCanvas& canvas, int pageNum, TSrcEditPrinterInfo& printerInfo, bool lineNumbers,
                                    bool lineNumbersInMargin, int maxLineNum) {
  // On mirrored even pages (0 and negative even ones too) the sides swap.
  if (!FMirrorMargins || pageNum % 2 != 0) {
    PixLeft = printerInfo.PixFromLeft(FLeft + FGutter);
    PixRight = printerInfo.GetPrintableWidth() - printerInfo.PixFromRight(FRight);
  } else {
    PixLeft = printerInfo.PixFromLeft(FRight);
    PixRight = printerInfo.GetPrintableWidth() - printerInfo.PixFromRight(FLeft + FGutter);
  }
  if (lineNumbers && !lineNumbersInMargin) PixLeft += canvas.TextWidth(IntToStr(maxLineNum) + ": ");
  PixTop = printerInfo.PixFromTop(FTop);
  PixBottom = printerInfo.GetPrintableHeight() - printerInfo.PixFromBottom(FBottom);
  PixHeader = printerInfo.PixFromTop(FHeader);
  PixFooter = printerInfo.GetPrintableHeight() - printerInfo.PixFromBottom(FFooter);
  PixHFInternalMargin = PixelsFromMillimetres(FHFInternalMargin, printerInfo.GetYPixPrmm(), 0);
  PixGutter = PixelsFromMillimetres(FGutter, printerInfo.GetXPixPrmm(), 0);
  PixRightHFTextIndent = PixRight - PixelsFromMillimetres(FRightHFTextIndent, printerInfo.GetXPixPrmm(), 0);
  PixLeftHFTextIndent = PixelsFromMillimetres(FLeftHFTextIndent, printerInfo.GetXPixPrmm(), 0) + PixLeft;
}

// The record holds the doubles as they lie in memory.
static_assert(std::endian::native == std::endian::little);

void TSrcEditPrintMargins::SaveToStream(TStream& stream) const {
  char record[StreamSize];
  record[0] = static_cast<char>(FUnitSystem);
  const double lengths[] = {FLeft, FRight, FTop, FBottom, FHeader, FFooter, FLeftHFTextIndent, FRightHFTextIndent,
                            FHFInternalMargin, FGutter};
  std::memcpy(record + 1, lengths, sizeof lengths);
  record[StreamSize - 1] = FMirrorMargins ? 1 : 0;
  stream.WriteBuffer(record, StreamSize);
}

void TSrcEditPrintMargins::LoadFromStream(TStream& stream) {
  char record[StreamSize];
  stream.ReadBuffer(record, StreamSize);
  FUnitSystem = static_cast<TUnitSystem>(record[0]);
  double lengths[10];
  std::memcpy(lengths, record + 1, sizeof lengths);
  FLeft = lengths[0];
  FRight = lengths[1];
  FTop = lengths[2];
  FBottom = lengths[3];
  FHeader = lengths[4];
  FFooter = lengths[5];
  FLeftHFTextIndent = lengths[6];
  FRightHFTextIndent = lengths[7];
  FHFInternalMargin = lengths[8];
  FGutter = lengths[9];
  FMirrorMargins = record[StreamSize - 1] != 0;
}

}  // namespace vk
