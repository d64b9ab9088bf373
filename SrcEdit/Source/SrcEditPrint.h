#pragma once
// Prints the text of an editor (or any list of lines) on the printer, or
// draws single pages on any canvas for a preview. Lines are paginated
// between the margins, long lines wrapped at break characters, the text
// coloured or styled token by token through a highlighter, and line numbers,
// header and footer printed on every page. Pages are laid out on a fixed
// character grid: every character advances by the same width.

#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditPrintHeaderFooter.h"
#include "SrcEdit/Source/SrcEditPrintMargins.h"
#include "SrcEdit/Source/SrcEditPrintTypes.h"
#include "SrcEdit/Source/SrcEditPrinterInfo.h"
#include "SrcEdit/Source/SrcEditTypes.h"
#include "platform/Components.h"
#include "platform/StringLists.h"

namespace vk {

class TCanvas;
class TCustomSrcEdit;
class TSrcCustomHighlighter;

class TSrcEditPrint : public TComponent {
public:
  explicit TSrcEditPrint(TComponent* owner);
  ~TSrcEditPrint() override;
  std::string ClassName() const override { return "TSrcEditPrint"; }

  // ------------------------------------------------------------ setup
  // Copies the lines with every tab expanded at TabWidth (tabs never reach
  // the page).
  void SetLines(const TStrings& value);
  const TStrings& Lines() const { return FLines; }
  TFont& Font() { return FFont; }
  void SetFont(const TFont& value);
  // The highlighter is not owned; when it is destroyed the property clears.
  TSrcCustomHighlighter* Highlighter() const { return FHighlighter; }
  void SetHighlighter(TSrcCustomHighlighter* value);
  // Highlighter, font, tab width, lines and selection of the editor.
  void SetSrcEdit(TCustomSrcEdit& editor);

  THeader& Header() { return FHeader; }
  void SetHeader(const THeaderFooter& value) { FHeader.Assign(value); }
  TFooter& Footer() { return FFooter; }
  void SetFooter(const THeaderFooter& value) { FFooter.Assign(value); }
  TSrcEditPrintMargins& Margins() { return FMargins; }
  void SetMargins(const TSrcEditPrintMargins& value) { FMargins.Assign(value); }
  TSrcEditPrinterInfo& PrinterInfo() { return FPrinterInfo; }

  int Copies() const { return FCopies; }
  void SetCopies(int value) { FCopies = value; }
  // "$TITLE$" of header and footer, and the job's name when DocTitle is "".
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }
  const std::string& DocTitle() const { return FDocTitle; }
  void SetDocTitle(const std::string& value) { FDocTitle = value; }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool value) { FWrap = value; }
  bool Highlight() const { return FHighlight; }
  void SetHighlight(bool value) { FHighlight = value; }
  bool SelectedOnly() const { return FSelectedOnly; }
  void SetSelectedOnly(bool value) { FSelectedOnly = value; }
  // The highlighter's colours, not only its font styles.
  bool Colors() const { return FColors; }
  void SetColors(bool value) { FColors = value; }
  bool LineNumbers() const { return FLineNumbers; }
  void SetLineNumbers(bool value) { FLineNumbers = value; }
  // Added to printed line numbers, and to the page numbers header and
  // footer show.
  int LineOffset() const { return FLineOffset; }
  void SetLineOffset(int value) { FLineOffset = value; }
  int PageOffset() const { return FPageOffset; }
  void SetPageOffset(int value) { FPageOffset = value; }
  // Line numbers in the left margin instead of widening it.
  bool LineNumbersInMargin() const { return FLineNumbersInMargin; }
  void SetLineNumbersInMargin(bool value) { FLineNumbersInMargin = value; }
  // Used by the next SetLines.
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int value) { FTabWidth = value; }
  // The background of the text area.
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }

  TPrintLineEvent OnPrintLine;
  TPrintStatusEvent OnPrintStatus;

  // ------------------------------------------------------------ printing
  void Print() { PrintRange(1, -1); }
  // Prints the pages from startPage to endPage (below 0: the last) as one
  // printer job, Copies times. Nothing happens when only the selection is
  // to be printed and there is none. A page outside the document raises
  // EListError; the job is then dropped, as it is when anything else fails.
  void PrintRange(int startPage, int endPage);
  // Paginates for the canvas (the printer's values read anew).
  void UpdatePages(TCanvas& canvas);
  // Draws one page of the last pagination on the canvas (a preview).
  void PrintToCanvas(TCanvas& canvas, int pageNumber);
  // The page count; paginates on the screen when it is not current.
  int GetPageCount();

  // The settings record: header, footer, margins, both titles, the wrap,
  // highlight, colors and line-number flags and both offsets. Loading reads
  // the whole record first: a cut or lying record raises EReadError and
  // changes nothing; the header and footer items loaded replace the old.
  void SaveToStream(TStream& stream) const;
  void LoadFromStream(TStream& stream);

  // The character grid of the last pagination.
  int CharWidth() const { return FCharWidth; }
  int LineHeight() const { return FLineHeight; }
  int MaxCol() const { return FMaxCol; }
  int MaxWidth() const { return FMaxWidth; }

protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Tells OnPrintStatus; an abort it asks for drops a running printer job.
  virtual void PrintStatus(TSrcPrintStatus status, int pageNumber, bool& abort);
  virtual void PrintLine(int lineNumber, int pageNumber);

private:
  void SetCharWidth(int value);
  void SetMaxLeftChar(int value);
  void InitPrint();
  void SetPixelsPrInch();
  void InitRanges();
  void CalcPages();
  void PrintPage(int num);
  void WriteLine(const std::string& text);
  void WriteLineNumber();
  void HandleWrap(const std::string& text);
  void TextOut(const std::string& text, const std::vector<TWrapPos>* breaks);
  void ClipLineToRect(int x, int y, std::string text);
  void SaveCurrentFont();
  void RestoreCurrentFont();
  // The printed text of line i: the whole line, or its selected part.
  std::string LineText(int i) const;
  // Rows of at most MaxCol characters for a line wider than the text area.
  std::vector<TWrapPos> WrapBreaks(const std::string& text) const;
  // The lines a selection covers, 0-based, within the lines.
  int FirstSelectedLine() const;
  int LastSelectedLine() const;

  int FCopies = 1;
  TFooter FFooter;
  THeader FHeader;
  TStringList FLines;
  // The highlighter's range at the start of each line.
  std::vector<TSrcEditRange> FRanges;
  TSrcEditPrintMargins FMargins;
  int FPageCount = 0;
  TFont FFont;
  std::string FTitle;
  std::string FDocTitle;
  TSrcEditPrinterInfo FPrinterInfo;
  std::vector<TPageLine> FPages;
  TCanvas* FCanvas = nullptr;
  int FCharWidth = 0;
  // Every entry is the character width: the advances of every output.
  std::vector<int> FETODist = std::vector<int>(1024, 0);
  bool FWrap = true;
  int FYPos = 0;
  int FLineHeight = 0;
  bool FHighlight = true;
  bool FColors = false;
  TSrcCustomHighlighter* FHighlighter = nullptr;
  TFont FOldFont;
  bool FHighlightActive = false;
  bool FLineNumbers = false;
  int FLineNumber = 0;
  int FLineOffset = 0;
  bool FAbort = false;
  bool FPrinting = false;
  TColor FColor = clWhite;
  int FPageOffset = 0;
  bool FRangesValid = false;
  int FMaxWidth = 0;
  int FMaxCol = 0;
  bool FPagesCounted = false;
  bool FLineNumbersInMargin = false;
  int FTabWidth = 8;
  TColor FFontColor = clBlack;
  bool FSelectedOnly = false;
  bool FSelAvail = false;
  TSrcSelectionMode FSelMode = smNormal;
  TBufferCoord FBlockBegin{1, 1};
  TBufferCoord FBlockEnd{1, 1};
};

}  // namespace vk
