#pragma once
// The header and the footer of printed pages: text items, each with its own
// font, line and alignment, whose texts may hold macros for the page number,
// the page count, the title, the date and the time. A header or footer can
// be framed by a line, a box and a shaded background, print page numbers in
// Roman numerals and swap left and right on even pages.

#include <memory>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditPrintTypes.h"
#include "platform/Graphics.h"
#include "platform/Objects.h"
#include "platform/Streams.h"

namespace vk {

class TCanvas;
class TSrcEditPrintMargins;

class THeaderFooterItem : public TObject {
public:
  std::string ClassName() const override { return "THeaderFooterItem"; }

  // The text with its macros expanded (see the .cpp).
  std::string GetText(int numPages, int pageNum, bool roman, const std::string& title, const std::string& time,
                      const std::string& date) const;

  // Eleven "/"-separated fields: the text and the font name escaped with
  // EncodeString, font charset, colour, height, pitch, pixels per inch, size
  // and style, line number and alignment. Reading takes what is there: a
  // field that is missing or not a number reads as 0.
  std::string GetAsString() const;
  void SetAsString(const std::string& value);

  // The item's record in the settings stream. Loading reads the whole
  // record first: a cut or lying record raises EReadError and changes
  // nothing.
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

  const std::string& Text() const { return FText; }
  void SetText(const std::string& value) { FText = value; }
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& value) { FFont.Assign(value); }
  int LineNumber() const { return FLineNumber; }
  void SetLineNumber(int value) { FLineNumber = value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value) { FAlignment = value; }
  // What Add answered for the item.
  int Index() const { return FIndex; }

private:
  friend class THeaderFooter;
  // Text, font, line and alignment of another item.
  void TakeFields(const THeaderFooterItem& source);

  std::string FText;
  TFont FFont;
  int FLineNumber = 0;
  TAlignment FAlignment = taLeftJustify;
  int FIndex = 0;
};

class THeaderFooter : public TPersistent {
public:
  explicit THeaderFooter(THeaderFooterType type = hftHeader);
  ~THeaderFooter() override;
  THeaderFooter(const THeaderFooter&) = delete;
  THeaderFooter& operator=(const THeaderFooter&) = delete;
  std::string ClassName() const override { return "THeaderFooter"; }

  // From another header or footer (its type too): frame, colours, items,
  // default font and flags. Assigning an object to itself changes nothing;
  // anything else raises the conversion error.
  void Assign(const TPersistent& source) override;

  // Appends an item with the font (the default font when null) and answers
  // its index. Indexes are never given twice, also after deletions.
  int Add(const std::string& text, const TFont* font, TAlignment alignment, int lineNumber);
  // Removes the item with that index; nothing when there is none.
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  // The item at the 0-based position; EListError outside the list.
  THeaderFooterItem& Get(int index) const;

  // Gives every item's font the resolution, keeping its point size (the
  // default font stays as it is).
  void SetPixPrInch(int value);
  // Prepares a job: the date and time texts, the page count, the title and
  // the margins (which must outlive the job); the items sorted and their
  // lines renumbered 1, 2, 3 ...; the frame height on the canvas.
  void InitPrint(TCanvas& canvas, int numPages, const std::string& title, TSrcEditPrintMargins& margins);
  // Prints the header or footer of the page at the margins' pixel values.
  void Print(TCanvas& canvas, int pageNum);

  // The items' strings, each escaped once more and joined by "/", with the
  // lines numbered as a job would number them. Reading it changes nothing;
  // writing it replaces the items.
  std::string GetAsString() const;
  void SetAsString(const std::string& value);

  // The record in the settings stream. Loading appends the stored items to
  // those present; it reads the whole record first, so a cut or lying
  // record raises EReadError and changes nothing.
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

  THeaderFooterType Type() const { return FType; }
  TFrameTypes FrameTypes() const { return FFrameTypes; }
  void SetFrameTypes(TFrameTypes value) { FFrameTypes = value; }
  TColor ShadedColor() const { return FShadedColor; }
  void SetShadedColor(TColor value) { FShadedColor = value; }
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor value) { FLineColor = value; }
  TFont& DefaultFont() { return FDefaultFont; }
  void SetDefaultFont(const TFont& value) { FDefaultFont.Assign(value); }
  bool RomanNumbers() const { return FRomanNumbers; }
  void SetRomanNumbers(bool value) { FRomanNumbers = value; }
  bool MirrorPosition() const { return FMirrorPosition; }
  void SetMirrorPosition(bool value) { FMirrorPosition = value; }

  // What InitPrint worked out; the frame height is -1 without items.
  const std::string& DateText() const { return FDate; }
  const std::string& TimeText() const { return FTime; }
  int FrameHeight() const { return FFrameHeight; }

private:
  // Per header or footer line: its height and its largest ascent.
  struct TLineInfo {
    int LineHeight = 0;
    int MaxBaseLine = 0;
  };

  void FixLines();
  void CalcHeight(TCanvas& canvas);
  void DrawFrame(TCanvas& canvas);
  void SaveFontPenBrush(TCanvas& canvas);
  void RestoreFontPenBrush(TCanvas& canvas);
  TLineInfo LineInfo(int line) const;

  THeaderFooterType FType;
  TFrameTypes FFrameTypes{ftLine};
  TColor FShadedColor = clSilver;
  TColor FLineColor = clBlack;
  std::vector<std::unique_ptr<THeaderFooterItem>> FItems;
  TFont FDefaultFont;
  std::string FDate;
  std::string FTime;
  int FNumPages = 0;
  std::string FTitle;
  TSrcEditPrintMargins* FMargins = nullptr;
  int FFrameHeight = 0;
  TPen FOldPen;
  TBrush FOldBrush;
  TFont FOldFont;
  bool FRomanNumbers = false;
  std::vector<TLineInfo> FLineInfo;
  int FLineCount = 0;
  bool FMirrorPosition = false;
  int FNextIndex = 0;
};

class THeader : public THeaderFooter {
public:
  THeader() : THeaderFooter(hftHeader) {}
  std::string ClassName() const override { return "THeader"; }
};

class TFooter : public THeaderFooter {
public:
  TFooter() : THeaderFooter(hftFooter) {}
  std::string ClassName() const override { return "TFooter"; }
};

}  // namespace vk
