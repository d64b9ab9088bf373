#pragma once
// The page layout of the editor's printing: the distances of the text area,
// the header line and the footer line from the paper edges, the indents of
// header and footer text, a gutter and mirrored margins. Lengths are kept in
// millimetres and read and written in a chosen unit; for a given page they
// become pixel coordinates on the printable area of the printer.

#include <cstdint>
#include <string>

#include "platform/Objects.h"
#include "platform/Streams.h"

namespace vk {

class TCanvas;
class TSrcEditPrinterInfo;

enum TUnitSystem : uint8_t { usMM, usCM, usInch, muThousandthsOfInches };

class TSrcEditPrintMargins : public TPersistent {
public:
  // The size of the stream record.
  static constexpr int StreamSize = 82;

  std::string ClassName() const override { return "TSrcEditPrintMargins"; }
  // From other margins: the lengths, the mirror flag and the unit (not the
  // pixel values); anything else raises the conversion error.
  void Assign(const TPersistent& source) override;

  // A length in the current unit into millimetres and back. An unknown
  // unit leaves the length as it is.
  double ConvertTo(double value) const;
  double ConvertFrom(double value) const;

  // Writing the unit converts nothing: only later reads and writes of the
  // lengths use it. Lengths are stored as given, without range checks.
  TUnitSystem UnitSystem() const { return FUnitSystem; }
  void SetUnitSystem(TUnitSystem value) { FUnitSystem = value; }
  double GetLeft() const { return ConvertFrom(FLeft); }
  void SetLeft(double value) { FLeft = ConvertTo(value); }
  double GetRight() const { return ConvertFrom(FRight); }
  void SetRight(double value) { FRight = ConvertTo(value); }
  double GetTop() const { return ConvertFrom(FTop); }
  void SetTop(double value) { FTop = ConvertTo(value); }
  double GetBottom() const { return ConvertFrom(FBottom); }
  void SetBottom(double value) { FBottom = ConvertTo(value); }
  double GetHeader() const { return ConvertFrom(FHeader); }
  void SetHeader(double value) { FHeader = ConvertTo(value); }
  double GetFooter() const { return ConvertFrom(FFooter); }
  void SetFooter(double value) { FFooter = ConvertTo(value); }
  double GetLeftHFTextIndent() const { return ConvertFrom(FLeftHFTextIndent); }
  void SetLeftHFTextIndent(double value) { FLeftHFTextIndent = ConvertTo(value); }
  double GetRightHFTextIndent() const { return ConvertFrom(FRightHFTextIndent); }
  void SetRightHFTextIndent(double value) { FRightHFTextIndent = ConvertTo(value); }
  double GetHFInternalMargin() const { return ConvertFrom(FHFInternalMargin); }
  void SetHFInternalMargin(double value) { FHFInternalMargin = ConvertTo(value); }
  double GetGutter() const { return ConvertFrom(FGutter); }
  void SetGutter(double value) { FGutter = ConvertTo(value); }
  bool MirrorMargins() const { return FMirrorMargins; }
  void SetMirrorMargins(bool value) { FMirrorMargins = value; }

  // Fills the pixel values for the 1-based page: with line numbers outside
  // the margin, the text area leaves room for the highest line number and
  // ": " in the canvas's current font.
  void InitPage(TCanvas& canvas, int pageNum, TSrcEditPrinterInfo& printerInfo, bool lineNumbers,
                bool lineNumbersInMargin, int maxLineNum);

  // The 82-byte record: the unit, the ten lengths in millimetres as
  // little-endian doubles, the mirror flag. Loading reads the whole record
  // first: a stream that ends early raises EReadError and changes nothing.
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

  // Pixel coordinates on the printable area of the page InitPage was given.
  int PixLeft = 0;
  int PixRight = 0;
  int PixTop = 0;
  int PixBottom = 0;
  int PixHeader = 0;
  int PixFooter = 0;
  int PixLeftHFTextIndent = 0;
  int PixRightHFTextIndent = 0;
  int PixHFInternalMargin = 0;
  int PixGutter = 0;

private:
  double FLeft = 25;
  double FRight = 15;
  double FTop = 25;
  double FBottom = 25;
  double FHeader = 15;
  double FFooter = 15;
  double FLeftHFTextIndent = 2;
  double FRightHFTextIndent = 2;
  double FHFInternalMargin = 0.5;
  double FGutter = 0;
  bool FMirrorMargins = false;
  TUnitSystem FUnitSystem = usMM;
};

}  // namespace vk
