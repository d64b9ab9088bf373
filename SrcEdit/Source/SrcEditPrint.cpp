#include "SrcEdit/Source/SrcEditPrint.h"

#include <algorithm>
#include <climits>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditHighlighter.h"
#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/Printers.h"

namespace vk {

namespace {

// Characters from the 1-based start on, at most count of them.
std::string CopyText(const std::string& text, int start, int count) {
  start = std::max(start, 1);
  if (count <= 0 || start > static_cast<int>(text.size())) return "";
  return text.substr(start - 1, count);
}

// True when the prefix of that many bytes ends inside a double-byte
// character. start is a character boundary before the end of the prefix.
bool SplitsCharacter(const std::string& text, size_t start, size_t length) {
  return length > start && CodePage::ByteTypeAt(text.data() + start, length - start, length - start - 1) == mbLeadByte;
}

}  // namespace

TSrcEditPrint::TSrcEditPrint(TComponent* owner) : TComponent(owner) {}

TSrcEditPrint::~TSrcEditPrint() { BeforeDestruction(); }

void TSrcEditPrint::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FHighlighter) SetHighlighter(nullptr);
}

// ---------------------------------------------------------------- setup

void TSrcEditPrint::SetLines(const TStrings& value) {
  TConvertTabsProc convertTabs = GetBestConvertTabsProc(FTabWidth);
  {
    TStringsUpdate update(FLines);
    FLines.Clear();
    for (int i = 0; i < value.Count(); ++i) {
      std::string line = convertTabs(value.Strings(i), FTabWidth);
      std::replace(line.begin(), line.end(), '\t', ' ');
      FLines.Add(line);
    }
  }
  // The pagination and the ranges belonged to the old lines.
  FPages.clear();
  FRanges.clear();
  FRangesValid = false;
  FHighlightActive = false;
  FPagesCounted = false;
}

void TSrcEditPrint::SetFont(const TFont& value) {
  FFont.Assign(value);
  FPagesCounted = false;
}

void TSrcEditPrint::SetHighlighter(TSrcCustomHighlighter* value) {
  Link(FHighlighter, value);
  FRangesValid = false;
  FHighlightActive = false;
  FPagesCounted = false;
}

void TSrcEditPrint::SetSrcEdit(TCustomSrcEdit& editor) {
  SetHighlighter(editor.Highlighter());
  SetFont(editor.GetFont());
  FTabWidth = editor.TabWidth();
  SetLines(editor.Lines());
  FSelAvail = editor.SelAvail();
  FBlockBegin = editor.BlockBegin();
  FBlockEnd = editor.BlockEnd();
  FSelMode = editor.SelectionMode();
}

void TSrcEditPrint::SetCharWidth(int value) {
  if (value == FCharWidth) return;
  FCharWidth = value;
  std::fill(FETODist.begin(), FETODist.end(), FCharWidth);
}

void TSrcEditPrint::SetMaxLeftChar(int value) {
  if (value == static_cast<int>(FETODist.size())) return;
  FETODist.assign(value, FCharWidth);
}

// ---------------------------------------------------------------- pagination

void TSrcEditPrint::SetPixelsPrInch() {
  int resolution = FPrinterInfo.GetYPixPrInch();
  FHeader.SetPixPrInch(resolution);
  FFooter.SetPixPrInch(resolution);
  int size = FFont.Size();
  FFont.SetPixelsPerInch(resolution);
  FFont.SetSize(size);
}

void TSrcEditPrint::InitPrint() {
  FFontColor = FFont.Color();
  TFont& canvasFont = FCanvas->Font();
  canvasFont.Assign(FFont);
  if (!FPrinting) {
    // A preview measures as the printer would.
    SetPixelsPrInch();
    int size = canvasFont.Size();
    canvasFont.SetPixelsPerInch(FFont.PixelsPerInch());
    canvasFont.SetSize(size);
  }
  // The grid is wide enough for the widest style.
  canvasFont.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  FCanvas->SelectFont(canvasFont.Handle());
  TTextMetric metric;
  FCanvas->GetTextMetrics(metric);
  SetCharWidth(metric.tmAveCharWidth);
  FLineHeight = metric.tmHeight + metric.tmExternalLeading;
  canvasFont.SetStyle(FFont.Style());
  FMargins.InitPage(*FCanvas, 1, FPrinterInfo, FLineNumbers, FLineNumbersInMargin, FLines.Count() + FLineOffset);
  CalcPages();
  FHeader.InitPrint(*FCanvas, FPageCount, FTitle, FMargins);
  FFooter.InitPrint(*FCanvas, FPageCount, FTitle, FMargins);
  FHighlightActive = FHighlight && FHighlighter && FLines.Count() > 0;
}

void TSrcEditPrint::InitRanges() {
  if (FRangesValid || !FHighlighter || FLines.Count() == 0) return;
  FRanges.assign(FLines.Count(), 0);
  FHighlighter->ResetRange();
  FRanges[0] = FHighlighter->GetRange();
  for (int i = 1; i < FLines.Count(); ++i) {
    std::string line = FLines.Strings(i - 1);
    FHighlighter->SetLine(line, i - 1);
    FHighlighter->NextToEol();
    FRanges[i] = FHighlighter->GetRange();
  }
  FRangesValid = true;
}

int TSrcEditPrint::FirstSelectedLine() const { return std::max(FBlockBegin.Line - 1, 0); }

int TSrcEditPrint::LastSelectedLine() const { return std::min(FBlockEnd.Line - 1, FLines.Count() - 1); }

std::string TSrcEditPrint::LineText(int i) const {
  std::string line = FLines.Strings(i);
  if (!FSelectedOnly || FSelMode == smLine) return line;
  int begin = FBlockBegin.Char, end = FBlockEnd.Char;
  // A column block dragged leftwards has its begin right of its end.
  if (FSelMode == smColumn && begin > end) std::swap(begin, end);
  int start = FSelMode == smColumn || i == FBlockBegin.Line - 1 ? begin : 1;
  bool limited = FSelMode == smColumn || i == FBlockEnd.Line - 1;
  return CopyText(line, start, limited ? end - start : INT_MAX);
}

std::vector<TWrapPos> TSrcEditPrint::WrapBreaks(const std::string& text) const {
  static const TSrcIdentChars Blanks("\t ,-"), Closers(").;");
  std::vector<TWrapPos> breaks;
  if (!WrapTextEx(text, Blanks, FMaxCol, breaks)) {
    breaks.clear();
    WrapTextEx(text, Closers, FMaxCol, breaks);
  }
  // A row that is still too long (no break character within the limit, or
  // none behind the last break) is cut into rows of MaxCol characters, never
  // inside a double-byte character, so that every character is printed.
  std::vector<TWrapPos> rows;
  size_t start = 0;
  auto cutRow = [&](size_t end) {
    while (end - start > static_cast<size_t>(FMaxCol)) {
      size_t cut = start + FMaxCol;
      if (cut - start > 1 && SplitsCharacter(text, start, cut)) --cut;
      rows.push_back(static_cast<TWrapPos>(cut));
      start = cut;
    }
  };
  for (TWrapPos position : breaks) {
    cutRow(position);
    rows.push_back(position);
    start = position;
  }
  cutRow(text.size());
  return rows;
}

void TSrcEditPrint::CalcPages() {
  InitRanges();
  FPages.clear();
  FMaxWidth = FMargins.PixRight - FMargins.PixLeft;
  // MaxCol is one less than the number of "W" that first reach the width
  // of the text area, and at least 1; a font that measures "W" as nothing
  // counts it as one pixel.
  int w = std::max(FCanvas->TextWidth("W"), 1);
  int reaching = FMaxWidth <= 0 ? 0 : (FMaxWidth + w - 1) / w;
  FMaxCol = std::max(reaching - 1, 1);
  FMaxWidth = FCanvas->TextWidth(std::string(FMaxCol, 'W'));
  FPageCount = 1;
  FPages.push_back(0);
  int y = FMargins.PixTop;
  int first = FSelectedOnly ? FirstSelectedLine() : 0;
  int last = FSelectedOnly ? LastSelectedLine() : FLines.Count() - 1;
  for (int i = first; i <= last; ++i) {
    std::string text = LineText(i);
    // A line starts a page before its rows: a wrapped line is printed whole
    // on the page it starts on.
    if (FMargins.PixBottom < y + FLineHeight) {
      y = FMargins.PixTop;
      ++FPageCount;
      FPages.push_back(i);
    }
    if (FWrap && FCanvas->TextWidth(text) > FMaxWidth)
      y += FLineHeight * static_cast<int>(WrapBreaks(text).size());
    y += FLineHeight;
  }
  FPagesCounted = true;
}

void TSrcEditPrint::UpdatePages(TCanvas& canvas) {
  FCanvas = &canvas;
  FPrinterInfo.UpdatePrinter();
  InitPrint();
}

int TSrcEditPrint::GetPageCount() {
  if (FPagesCounted) return FPageCount;
  std::unique_ptr<TCanvas> screen = CreateScreenCanvas();
  UpdatePages(*screen);
  FCanvas = nullptr;
  return FPageCount;
}

// ---------------------------------------------------------------- output

void TSrcEditPrint::PrintStatus(TSrcPrintStatus status, int pageNumber, bool& abort) {
  abort = false;
  if (OnPrintStatus) OnPrintStatus(this, status, pageNumber, abort);
  if (abort && FPrinting) Printer().Abort();
}

void TSrcEditPrint::PrintLine(int lineNumber, int pageNumber) {
  if (OnPrintLine) OnPrintLine(this, lineNumber, pageNumber);
}

void TSrcEditPrint::SaveCurrentFont() { CopyFontExactly(FOldFont, FCanvas->Font()); }

void TSrcEditPrint::RestoreCurrentFont() { CopyFontExactly(FCanvas->Font(), FOldFont); }

void TSrcEditPrint::ClipLineToRect(int x, int y, std::string text) {
  if (FCanvas->TextWidth(text) > FMaxWidth) {
    // The longest prefix that fits; the empty one always does.
    size_t fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
      size_t middle = (fits + tooLong) / 2;
      if (FCanvas->TextWidth(text.substr(0, middle)) <= FMaxWidth) {
        fits = middle;
      } else {
        tooLong = middle;
      }
    }
    if (SplitsCharacter(text, 0, fits)) --fits;
    text.resize(fits);
  }
  if (text.empty()) return;
  // Every character advances by one grid cell.
  if (text.size() > FETODist.size()) SetMaxLeftChar(static_cast<int>(text.size()));
  TFont& font = FCanvas->Font();
  FCanvas->SelectFont(font.Handle());
  FCanvas->SetTextColor(ColorToRGB(font.Color()));
  FCanvas->SetBkColor(ColorToRGB(FCanvas->Brush().Color()));
  FCanvas->SetBkMode(FCanvas->Brush().Style() == bsClear ? TRANSPARENT : OPAQUE);
  FCanvas->ExtTextOut(x, y, 0, nullptr, text.data(), static_cast<int>(text.size()), FETODist.data());
}

void TSrcEditPrint::TextOut(const std::string& text, const std::vector<TWrapPos>* breaks) {
  int left = FMargins.PixLeft;
  if (!FHighlightActive) {
    size_t start = 0;
    if (breaks) {
      for (TWrapPos position : *breaks) {
        ClipLineToRect(left, FYPos, text.substr(start, position - start));
        FYPos += FLineHeight;
        start = position;
      }
    }
    if (!text.empty()) ClipLineToRect(left, FYPos, text.substr(start));
    return;
  }
  SaveCurrentFont();
  TFont& font = FCanvas->Font();
  TBrush& brush = FCanvas->Brush();
  FHighlighter->SetRange(FRanges[FLineNumber - 1]);
  // The highlighter counts lines from 0, as the editor hands them.
  FHighlighter->SetLine(text, FLineNumber - 1);
  int rowStart = 0;
  size_t next = 0;
  size_t breakCount = breaks ? breaks->size() : 0;
  while (!FHighlighter->GetEol()) {
    std::string token = FHighlighter->GetToken();
    int position = FHighlighter->GetTokenPos();
    TSrcHighlighterAttributes* attribute = FHighlighter->GetTokenAttribute();
    TColor foreground = FFontColor, background = FColor;
    if (attribute) {
      font.SetStyle(attribute->Style());
      if (FColors) {
        if (attribute->Foreground() != clNone) foreground = attribute->Foreground();
        if (attribute->Background() != clNone) background = attribute->Background();
      }
    }
    font.SetColor(foreground);
    brush.SetColor(background);
    int end = position + static_cast<int>(token.size());
    if (next < breakCount && (*breaks)[next] <= position) {
      // The token starts a new row.
      ++next;
      rowStart = position;
      FYPos += FLineHeight;
    } else if (next < breakCount && (*breaks)[next] < end) {
      // The token goes on in the following rows, from their left edge.
      int x = left + FCharWidth * (position - rowStart);
      int pieceStart = position;
      for (; next < breakCount && (*breaks)[next] < end; ++next) {
        int rowEnd = (*breaks)[next];
        ClipLineToRect(x, FYPos, token.substr(pieceStart - position, rowEnd - pieceStart));
        FYPos += FLineHeight;
        pieceStart = rowEnd;
        x = left;
      }
      ClipLineToRect(left, FYPos, token.substr(pieceStart - position));
      rowStart = pieceStart;
      FHighlighter->Next();
      continue;
    }
    ClipLineToRect(left + FCharWidth * (position - rowStart), FYPos, token);
    FHighlighter->Next();
  }
  RestoreCurrentFont();
}

void TSrcEditPrint::HandleWrap(const std::string& text) {
  std::vector<TWrapPos> breaks = WrapBreaks(text);
  TextOut(text, &breaks);
}

void TSrcEditPrint::WriteLineNumber() {
  SaveCurrentFont();
  std::string number = IntToStr(FLineNumber + FLineOffset) + ": ";
  FCanvas->Brush().SetColor(FColor);
  FCanvas->Font().SetStyle({});
  FCanvas->Font().SetColor(clBlack);
  FCanvas->TextOut(FMargins.PixLeft - FCanvas->TextWidth(number), FYPos, number);
  RestoreCurrentFont();
}

void TSrcEditPrint::WriteLine(const std::string& text) {
  if (FLineNumbers) WriteLineNumber();
  if (FWrap && FCanvas->TextWidth(text) > FMaxWidth) {
    HandleWrap(text);
  } else {
    TextOut(text, nullptr);
  }
  FYPos += FLineHeight;
}

void TSrcEditPrint::PrintPage(int num) {
  PrintStatus(psNewPage, num, FAbort);
  if (FAbort) return;
  FMargins.InitPage(*FCanvas, num, FPrinterInfo, FLineNumbers, FLineNumbersInMargin, FLines.Count() + FLineOffset);
  FCanvas->Brush().SetColor(FColor);
  FCanvas->FillRect(Rect(FMargins.PixLeft, FMargins.PixTop, FMargins.PixRight, FMargins.PixBottom));
  FHeader.Print(*FCanvas, num + FPageOffset);
  if (!FPages.empty()) {
    if (num < 1 || num > static_cast<int>(FPages.size()))
      throw EListError(Format("List index out of bounds (%d)", num - 1));
    FYPos = FMargins.PixTop;
    int first = FPages[num - 1];
    int last = num == static_cast<int>(FPages.size()) ? FLines.Count() - 1 : FPages[num] - 1;
    for (int i = first; i <= last; ++i) {
      FLineNumber = i + 1;
      if (FSelectedOnly && (i < FBlockBegin.Line - 1 || i > FBlockEnd.Line - 1)) continue;
      WriteLine(LineText(i));
      PrintLine(i + 1, num);
    }
  }
  FFooter.Print(*FCanvas, num + FPageOffset);
}

void TSrcEditPrint::PrintToCanvas(TCanvas& canvas, int pageNumber) {
  FAbort = false;
  FPrinting = false;
  FCanvas = &canvas;
  PrintPage(pageNumber);
}

void TSrcEditPrint::PrintRange(int startPage, int endPage) {
  if (FSelectedOnly && !FSelAvail) return;
  TPrinter& printer = Printer();
  FPrinting = true;
  FAbort = false;
  struct TPrintingScope {
    bool& Printing;
    ~TPrintingScope() { Printing = false; }
  } printing{FPrinting};
  printer.SetTitle(FDocTitle.empty() ? FTitle : FDocTitle);
  printer.BeginDoc();
  TPrinterJobGuard guard(printer);
  PrintStatus(psBegin, startPage, FAbort);
  UpdatePages(printer.Canvas());
  if (endPage < 0) endPage = FPageCount;
  // Pages outside the document are refused before anything is printed.
  if (!FAbort && (startPage < 1 || endPage > FPageCount))
    throw EListError(Format("List index out of bounds (%d)", (startPage < 1 ? startPage : endPage) - 1));
  for (int copy = 1; copy <= FCopies; ++copy) {
    for (int page = startPage; page <= endPage && !FAbort; ++page) {
      PrintPage(page);
      if ((page != endPage || copy != FCopies) && !FAbort) printer.NewPage();
    }
  }
  if (!FAbort) PrintStatus(psEnd, endPage, FAbort);
  printer.EndDoc();
}

// ---------------------------------------------------------------- stream

void TSrcEditPrint::SaveToStream(TStream& stream) const {
  FHeader.SaveToStream(stream);
  FFooter.SaveToStream(stream);
  FMargins.SaveToStream(stream);
  WriteText(stream, FTitle);
  WriteText(stream, FDocTitle);
  WriteByte(stream, FWrap);
  WriteByte(stream, FHighlight);
  WriteByte(stream, FColors);
  WriteByte(stream, FLineNumbers);
  WriteInt(stream, FLineOffset);
  WriteInt(stream, FPageOffset);
}

void TSrcEditPrint::LoadFromStream(TStream& stream) {
  THeader header;
  header.LoadFromStream(stream);
  TFooter footer;
  footer.LoadFromStream(stream);
  TSrcEditPrintMargins margins;
  margins.LoadFromStream(stream);
  TPrintStreamReader reader(stream);
  std::string title = reader.Text();
  std::string docTitle = reader.Text();
  bool wrap = reader.Byte() != 0;
  bool highlight = reader.Byte() != 0;
  bool colors = reader.Byte() != 0;
  bool lineNumbers = reader.Byte() != 0;
  int lineOffset = reader.Int();
  int pageOffset = reader.Int();
  FHeader.Assign(header);
  FFooter.Assign(footer);
  FMargins.Assign(margins);
  FTitle = title;
  FDocTitle = docTitle;
  FWrap = wrap;
  FHighlight = highlight;
  FColors = colors;
  FLineNumbers = lineNumbers;
  FLineOffset = lineOffset;
  FPageOffset = pageOffset;
}

}  // namespace vk
