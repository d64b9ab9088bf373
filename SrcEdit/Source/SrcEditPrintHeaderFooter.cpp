#include "SrcEdit/Source/SrcEditPrintHeaderFooter.h"

#include <algorithm>
#include <ctime>

#include "SrcEdit/Source/SrcEditMiscProcs.h"
#include "SrcEdit/Source/SrcEditPrintMargins.h"
#include "platform/Canvas.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

// The font fields of the stream records, in their order.
struct TFontRecord {
  uint8_t Charset = 0;
  int32_t Color = 0;
  int32_t Height = 0;
  std::string Name;
  uint8_t Pitch = 0;
  int32_t Size = 0;
  uint8_t Style = 0;

  // The smallest record: every field with an empty name.
  static constexpr int MinSize = 1 + 4 + 4 + 4 + 1 + 4 + 1;

  static TFontRecord Of(const TFont& font) {
    return {font.Charset(), font.Color(), font.Height(), font.Name(), font.Pitch(), font.Size(),
            static_cast<uint8_t>(font.Style().Mask())};
  }
  static TFontRecord Read(TPrintStreamReader& reader) {
    TFontRecord r;
    r.Charset = reader.Byte();
    r.Color = reader.Int();
    r.Height = reader.Int();
    r.Name = reader.Text();
    r.Pitch = reader.Byte();
    r.Size = reader.Int();
    r.Style = reader.Byte();
    return r;
  }
  void Write(TStream& stream) const {
    WriteByte(stream, Charset);
    WriteInt(stream, Color);
    WriteInt(stream, Height);
    WriteText(stream, Name);
    WriteByte(stream, Pitch);
    WriteInt(stream, Size);
    WriteByte(stream, Style);
  }
  // In the order of the record, so that the size decides the height.
  void ApplyTo(TFont& font) const {
    font.SetCharset(Charset);
    font.SetColor(Color);
    font.SetHeight(Height);
    font.SetName(Name);
    font.SetPitch(static_cast<TFontPitch>(Pitch));
    font.SetSize(Size);
    font.SetStyle(TFontStyles::FromMask(Style & 0x0F));
  }
};

// The smallest item record: an empty text, a font with an empty name.
constexpr int MinItemSize = 4 + 4 + TFontRecord::MinSize + 1;

std::string ItemAsString(const THeaderFooterItem& item, int lineNumber) {
  const TFont& font = item.Font();
  return EncodeString(item.Text()) + "/" + IntToStr(font.Charset()) + "/" + IntToStr(font.Color()) + "/" +
         IntToStr(font.Height()) + "/" + EncodeString(font.Name()) + "/" + IntToStr(font.Pitch()) + "/" +
         IntToStr(font.PixelsPerInch()) + "/" + IntToStr(font.Size()) + "/" + IntToStr(font.Style().Mask()) + "/" +
         IntToStr(lineNumber) + "/" + IntToStr(item.Alignment());
}

// The text up to the next "/" (or the end); the rest behind it stays.
std::string NextField(std::string& rest) {
  size_t slash = rest.find('/');
  std::string field = rest.substr(0, slash);
  rest.erase(0, slash == std::string::npos ? rest.size() : slash + 1);
  return field;
}

std::string FormatClock(const char* format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

// The value of a macro ("$PAGENUM$" ... in capitals), or false for an
// unknown one.
bool MacroValue(const std::string& macro, int numPages, int pageNum, bool roman, const std::string& title,
                const std::string& time, const std::string& date, std::string& value) {
  auto number = [roman](int n) { return roman ? IntToRoman(n) : IntToStr(n); };
  if (macro == "$PAGENUM$") value = number(pageNum);
  else if (macro == "$PAGECOUNT$") value = number(numPages);
  else if (macro == "$TITLE$") value = title;
  else if (macro == "$DATE$") value = date;
  else if (macro == "$TIME$") value = time;
  else if (macro == "$DATETIME$") value = date + " " + time;
  else if (macro == "$TIMEDATE$") value = time + " " + date;
  else return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- THeaderFooterItem

std::string THeaderFooterItem::GetText(int numPages, int pageNum, bool roman, const std::string& title,
                                       const std::string& time, const std::string& date) const {
  if (std::all_of(FText.begin(), FText.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; })) return "";
  // Text is copied from the start mark on; a "$" opens a macro that the next
  // "$" closes. An unknown piece is copied up to its closing "$", which may
  // open the next macro; an unclosed "$" is copied as it is.
  std::string result;
  size_t start = 0, dollar = FText.find('$');
  while (dollar != std::string::npos) {
    result.append(FText, start, dollar - start);
    start = dollar;
    size_t closing = FText.find('$', start + 1);
    if (closing == std::string::npos) break;
    std::string value;
    if (MacroValue(UpperCase(FText.substr(start, closing - start + 1)), numPages, pageNum, roman, title, time, date,
                   value)) {
      result += value;
      start = closing + 1;
      dollar = FText.find('$', start);
    } else {
      dollar = closing;
    }
  }
  result.append(FText, start);
  return result;
}

std::string THeaderFooterItem::GetAsString() const { return ItemAsString(*this, FLineNumber); }

void THeaderFooterItem::SetAsString(const std::string& value) {
  std::string rest = value;
  auto number = [&rest] { return StrToIntDef(NextField(rest), 0); };
  FText = DecodeString(NextField(rest));
  FFont.SetCharset(static_cast<uint8_t>(number()));
  FFont.SetColor(number());
  FFont.SetHeight(number());
  FFont.SetName(DecodeString(NextField(rest)));
  FFont.SetPitch(static_cast<TFontPitch>(number()));
  FFont.SetPixelsPerInch(number());
  FFont.SetSize(number());
  FFont.SetStyle(TFontStyles::FromMask(number() & 0x0F));
  FLineNumber = number();
  FAlignment = static_cast<TAlignment>(number());
}

void THeaderFooterItem::SaveToStream(TStream& stream) const {
  WriteText(stream, FText);
  WriteInt(stream, FLineNumber);
  TFontRecord::Of(FFont).Write(stream);
  WriteByte(stream, FAlignment);
}

void THeaderFooterItem::LoadFromStream(TStream& stream) {
  TPrintStreamReader reader(stream);
  std::string text = reader.Text();
  int lineNumber = reader.Int();
  TFontRecord font = TFontRecord::Read(reader);
  uint8_t alignment = reader.Byte();
  FText = text;
  FLineNumber = lineNumber;
  font.ApplyTo(FFont);
  FAlignment = static_cast<TAlignment>(alignment);
}

void THeaderFooterItem::TakeFields(const THeaderFooterItem& source) {
  FText = source.FText;
  FFont.Assign(source.FFont);
  FLineNumber = source.FLineNumber;
  FAlignment = source.FAlignment;
}

// ---------------------------------------------------------------- THeaderFooter

THeaderFooter::THeaderFooter(THeaderFooterType type) : FType(type) {
  FDefaultFont.SetName("Arial");
  FDefaultFont.SetSize(10);
  FDefaultFont.SetColor(clBlack);
}

THeaderFooter::~THeaderFooter() = default;

void THeaderFooter::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const THeaderFooter*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  Clear();
  FType = other->FType;
  FFrameTypes = other->FFrameTypes;
  FShadedColor = other->FShadedColor;
  FLineColor = other->FLineColor;
  for (const auto& item : other->FItems) Add(item->FText, &item->FFont, item->FAlignment, item->FLineNumber);
  FDefaultFont.Assign(other->FDefaultFont);
  FRomanNumbers = other->FRomanNumbers;
  FMirrorPosition = other->FMirrorPosition;
}

int THeaderFooter::Add(const std::string& text, const TFont* font, TAlignment alignment, int lineNumber) {
  auto item = std::make_unique<THeaderFooterItem>();
  item->SetFont(font ? *font : FDefaultFont);
  item->FAlignment = alignment;
  item->FLineNumber = lineNumber;
  item->FText = text;
  item->FIndex = FNextIndex++;
  FItems.push_back(std::move(item));
  return FItems.back()->FIndex;
}

void THeaderFooter::Delete(int index) {
  auto found = std::find_if(FItems.begin(), FItems.end(), [index](const auto& item) { return item->FIndex == index; });
  if (found != FItems.end()) FItems.erase(found);
}

void THeaderFooter::Clear() { FItems.clear(); }

THeaderFooterItem& THeaderFooter::Get(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
  return *FItems[index];
}

void THeaderFooter::SetPixPrInch(int value) {
  for (const auto& item : FItems) {
    int size = item->FFont.Size();
    item->FFont.SetPixelsPerInch(value);
    item->FFont.SetSize(size);
  }
}

void THeaderFooter::InitPrint(TCanvas& canvas, int numPages, const std::string& title,
                              TSrcEditPrintMargins& margins) {
  SaveFontPenBrush(canvas);
  FDate = FormatClock("%x");
  FTime = FormatClock("%X");
  FNumPages = numPages;
  FMargins = &margins;
  FTitle = title;
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const auto& a, const auto& b) { return a->FLineNumber < b->FLineNumber; });
  FixLines();
  CalcHeight(canvas);
  RestoreFontPenBrush(canvas);
}

void THeaderFooter::FixLines() {
  FLineInfo.clear();
  FLineCount = 0;
  int current = 0;
  for (const auto& item : FItems) {
    if (item->FLineNumber != current) {
      current = item->FLineNumber;
      ++FLineCount;
      FLineInfo.emplace_back();
    }
    item->FLineNumber = FLineCount;
  }
}

THeaderFooter::TLineInfo THeaderFooter::LineInfo(int line) const {
  // Items changed since InitPrint may name a line it did not measure.
  return line >= 1 && line <= static_cast<int>(FLineInfo.size()) ? FLineInfo[line - 1] : TLineInfo{};
}

void THeaderFooter::CalcHeight(TCanvas& canvas) {
  if (FItems.empty()) {
    FFrameHeight = -1;
    return;
  }
  int current = 1, lineTop = 0;
  FFrameHeight = 0;
  for (const auto& item : FItems) {
    if (item->FLineNumber != current) {
      current = item->FLineNumber;
      lineTop = FFrameHeight;
    }
    canvas.Font().Assign(item->FFont);
    int height = canvas.TextHeight("W");
    TTextMetric metric;
    canvas.GetTextMetrics(metric);
    if (current >= 1 && current <= static_cast<int>(FLineInfo.size())) {
      TLineInfo& info = FLineInfo[current - 1];
      info.LineHeight = std::max(info.LineHeight, height);
      info.MaxBaseLine = std::max(info.MaxBaseLine, metric.tmHeight - metric.tmDescent);
    }
    FFrameHeight = std::max(FFrameHeight, lineTop + height);
  }
  FFrameHeight += 2 * FMargins->PixHFInternalMargin;
}

void THeaderFooter::DrawFrame(TCanvas& canvas) {
  if (FFrameTypes.Empty()) return;
  const TSrcEditPrintMargins& m = *FMargins;
  canvas.Pen().SetColor(FLineColor);
  canvas.Brush().SetColor(FShadedColor);
  canvas.Brush().SetStyle(FFrameTypes.Contains(ftShaded) ? bsSolid : bsClear);
  canvas.Pen().SetStyle(FFrameTypes.Contains(ftBox) ? psSolid : psClear);
  if (FFrameTypes.Contains(ftBox) || FFrameTypes.Contains(ftShaded)) {
    canvas.Rectangle(FType == hftHeader ? Rect(m.PixLeft, m.PixHeader - FFrameHeight, m.PixRight, m.PixHeader)
                                        : Rect(m.PixLeft, m.PixFooter, m.PixRight, m.PixFooter + FFrameHeight));
  }
  if (FFrameTypes.Contains(ftLine)) {
    canvas.Pen().SetStyle(psSolid);
    int y = FType == hftHeader ? m.PixHeader : m.PixFooter;
    canvas.MoveTo(m.PixLeft, y);
    canvas.LineTo(m.PixRight, y);
  }
}

void THeaderFooter::Print(TCanvas& canvas, int pageNum) {
  if (FFrameHeight <= 0) return;
  const TSrcEditPrintMargins& m = *FMargins;
  SaveFontPenBrush(canvas);
  DrawFrame(canvas);
  canvas.Brush().SetStyle(bsClear);
  int y = (FType == hftHeader ? m.PixHeader - FFrameHeight : m.PixFooter) + m.PixHFInternalMargin;
  int current = 1;
  for (const auto& item : FItems) {
    canvas.Font().Assign(item->FFont);
    if (item->FLineNumber != current) {
      y += LineInfo(current).LineHeight;
      current = item->FLineNumber;
    }
    std::string text = item->GetText(FNumPages, pageNum, FRomanNumbers, FTitle, FTime, FDate);
    TAlignment alignment = item->FAlignment;
    if (FMirrorPosition && pageNum % 2 == 0 && alignment != taCenter)
      alignment = alignment == taRightJustify ? taLeftJustify : taRightJustify;
    int width = canvas.TextWidth(text);
    int x = alignment == taRightJustify ? m.PixRightHFTextIndent - width
            : alignment == taCenter     ? (m.PixLeftHFTextIndent + m.PixRightHFTextIndent - width) / 2
                                        : m.PixLeftHFTextIndent;
    uint32_t oldAlign = canvas.SetTextAlign(TA_BASELINE);
    canvas.TextOut(x, y + LineInfo(current).MaxBaseLine, text);
    canvas.SetTextAlign(oldAlign);
  }
  RestoreFontPenBrush(canvas);
}

void THeaderFooter::SaveFontPenBrush(TCanvas& canvas) {
  CopyFontExactly(FOldFont, canvas.Font());
  FOldPen.Assign(canvas.Pen());
  FOldBrush.Assign(canvas.Brush());
}

void THeaderFooter::RestoreFontPenBrush(TCanvas& canvas) {
  CopyFontExactly(canvas.Font(), FOldFont);
  canvas.Pen().Assign(FOldPen);
  canvas.Brush().Assign(FOldBrush);
}

std::string THeaderFooter::GetAsString() const {
  // The lines as FixLines would number them, without touching the items.
  std::string result;
  int current = 0, line = 0;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i]->FLineNumber != current) {
      current = FItems[i]->FLineNumber;
      ++line;
    }
    if (i > 0) result += "/";
    result += EncodeString(ItemAsString(*FItems[i], line));
  }
  return result;
}

void THeaderFooter::SetAsString(const std::string& value) {
  Clear();
  if (value.empty()) return;
  std::string rest = value;
  bool more = true;
  while (more) {
    more = rest.find('/') != std::string::npos;
    THeaderFooterItem scratch;
    scratch.SetAsString(DecodeString(NextField(rest)));
    Add(scratch.FText, &scratch.FFont, scratch.FAlignment, scratch.FLineNumber);
  }
}

void THeaderFooter::SaveToStream(TStream& stream) const {
  WriteByte(stream, static_cast<uint8_t>(FFrameTypes.Mask()));
  WriteInt(stream, FShadedColor);
  WriteInt(stream, FLineColor);
  WriteByte(stream, FRomanNumbers);
  WriteByte(stream, FMirrorPosition);
  TFontRecord::Of(FDefaultFont).Write(stream);
  WriteInt(stream, Count());
  for (const auto& item : FItems) item->SaveToStream(stream);
}

void THeaderFooter::LoadFromStream(TStream& stream) {
  TPrintStreamReader reader(stream);
  uint8_t frameTypes = reader.Byte();
  int32_t shadedColor = reader.Int();
  int32_t lineColor = reader.Int();
  bool roman = reader.Byte() != 0;
  bool mirror = reader.Byte() != 0;
  TFontRecord defaultFont = TFontRecord::Read(reader);
  int count = reader.Count(MinItemSize);
  std::vector<std::unique_ptr<THeaderFooterItem>> loaded;
  for (int i = 0; i < count; ++i) {
    loaded.push_back(std::make_unique<THeaderFooterItem>());
    loaded.back()->LoadFromStream(stream);
  }
  FFrameTypes = TFrameTypes::FromMask(frameTypes & 0x07);
  FShadedColor = shadedColor;
  FLineColor = lineColor;
  FRomanNumbers = roman;
  FMirrorPosition = mirror;
  defaultFont.ApplyTo(FDefaultFont);
  for (const auto& item : loaded) {
    Add("", nullptr, taLeftJustify, 1);
    FItems.back()->TakeFields(*item);
  }
}

}  // namespace vk
