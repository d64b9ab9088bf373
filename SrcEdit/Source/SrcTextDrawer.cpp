#include "SrcEdit/Source/SrcTextDrawer.h"

#include <algorithm>
#include <cstdlib>

#include "platform/CodePage.h"

namespace vk {

namespace {

const char* const SetBaseFontMessage = "SetBaseFont: 'Value' must be specified.";

void Check(bool condition) {
  if (!condition) throw EheAssertionFailed();
}

}  // namespace

// ---------------------------------------------------------------- manager

TheFontsInfoManager& GetFontsInfoManager() {
  static std::unique_ptr<TheFontsInfoManager> manager;
  if (!manager) manager = std::make_unique<TheFontsInfoManager>();
  return *manager;
}

TheFontsInfoManager::~TheFontsInfoManager() {
  // Only records of stocks that outlive the process's end remain here.
  for (auto& record : FRecords) DestroyFontHandles(*record);
}

TLogFont TheFontsInfoManager::RetrieveLogFontForComparison(const TFont& font) {
  TLogFont logFont = font.LogFont();
  logFont.lfItalic = 0;
  logFont.lfUnderline = 0;
  logFont.lfStrikeOut = 0;
  logFont.SetFaceName(logFont.FaceName());  // zeros after the name
  return logFont;
}

TheSharedFontsInfo* TheFontsInfoManager::GetFontsInfo(const TFont* font) {
  Check(font != nullptr);
  TLogFont logFont = RetrieveLogFontForComparison(*font);
  auto found = std::find_if(FRecords.begin(), FRecords.end(), [&](const auto& r) { return r->LogFont == logFont; });
  TheSharedFontsInfo* info = found != FRecords.end() ? found->get() : CreateFontsInfo(*font, logFont);
  ++info->HolderCount;
  return info;
}

TheSharedFontsInfo* TheFontsInfoManager::CreateFontsInfo(const TFont& font, const TLogFont& logFont) {
  auto info = std::make_unique<TheSharedFontsInfo>();
  info->BaseFont = std::make_unique<TFont>();
  info->BaseFont->Assign(font);
  info->LogFont = logFont;
  info->IsTrueType = (logFont.lfPitchAndFamily & TRUETYPE_FONTTYPE) != 0;
  std::unique_ptr<TCanvas> screen = CreateScreenCanvas();
  HFONT previous = screen->SelectFont(font.Handle());
  info->IsDBCSFont = (screen->GetFontLanguageInfo() & GCP_DBCS) != 0;
  screen->SelectFont(previous);
  FRecords.push_back(std::move(info));
  return FRecords.back().get();
}

void TheFontsInfoManager::LockFontsInfo(TheSharedFontsInfo* info) {
  Check(info != nullptr);
  ++info->HandleUsers;
}

void TheFontsInfoManager::UnLockFontsInfo(TheSharedFontsInfo* info) {
  Check(info != nullptr && info->HandleUsers > 0);
  if (--info->HandleUsers == 0) DestroyFontHandles(*info);
}

void TheFontsInfoManager::DestroyFontHandles(TheSharedFontsInfo& info) {
  for (TheFontData& data : info.StyleData)
    if (data.Handle) {
      DeleteFont(data.Handle);
      data.Handle = 0;
    }
}

void TheFontsInfoManager::ReleaseFontsInfo(TheSharedFontsInfo* info) {
  Check(info != nullptr);
  if (info->HandleUsers >= info->HolderCount) throw EheAssertionFailed("Call DeactivateFontsInfo before calling this.");
  if (info->HolderCount >= 2) {
    --info->HolderCount;
    return;
  }
  auto found = std::find_if(FRecords.begin(), FRecords.end(), [&](const auto& r) { return r.get() == info; });
  Check(found != FRecords.end());
  FRecords.erase(found);
}

// ---------------------------------------------------------------- font stock

TheFontStock::TheFontStock(const TFont* font) { SetBaseFont(font); }

TheFontStock::~TheFontStock() { ReleaseSharedInfo(); }

void TheFontStock::ReleaseSharedInfo() {
  if (!FSharedInfo) return;
  ReleaseFontHandles();
  GetFontsInfoManager().ReleaseFontsInfo(FSharedInfo);
  FSharedInfo = nullptr;
  FCurrentData = nullptr;
}

void TheFontStock::SetBaseFont(const TFont* value) {
  if (!value) throw EheFontStockException(SetBaseFontMessage);
  TheSharedFontsInfo* info = GetFontsInfoManager().GetFontsInfo(value);
  if (info == FSharedInfo) {
    GetFontsInfoManager().ReleaseFontsInfo(info);
    return;
  }
  ReleaseSharedInfo();
  FSharedInfo = info;
  FLogFont = info->LogFont;
  SetStyle(value->Style());
}

void TheFontStock::UseFontHandles() {
  if (FHandlesInUse) return;
  GetFontsInfoManager().LockFontsInfo(FSharedInfo);
  FHandlesInUse = true;
}

void TheFontStock::ReleaseFontHandles() {
  if (!FHandlesInUse) return;
  FHandlesInUse = false;
  // Without the lock the font objects may go at any time: the current font
  // is made again by the next SetStyle.
  FCurrentFont = 0;
  GetFontsInfoManager().UnLockFontsInfo(FSharedInfo);
}

void TheFontStock::SetStyle(TFontStyles value) {
  bool hadHandles = FHandlesInUse;
  UseFontHandles();
  TheFontData* data = &FSharedInfo->StyleData[value.Mask() & 15];
  // The current style's font is still live only while this stock has kept
  // the handles in use all along.
  if (data == FCurrentData && hadHandles) return;
  FCurrentData = data;
  FCurrentStyle = value;
  if (data->Handle) {
    FCurrentFont = data->Handle;
    return;
  }
  FCurrentFont = InternalCreateFont(value);
  data->Handle = FCurrentFont;
  data->Style = value;
  TCanvas* dc = InternalGetDC();
  struct TRelease {
    TheFontStock* Stock;
    TCanvas* DC;
    HFONT Previous;
    ~TRelease() {
      DC->SelectFont(Previous);
      Stock->InternalReleaseDC(DC);
    }
  } release{this, dc, dc->SelectFont(FCurrentFont)};
  data->CharAdvance =
      CalcFontAdvance(*dc, &data->CharHeight, FSharedInfo->IsDBCSFont ? &data->DBCharAdvance : nullptr);
}

HFONT TheFontStock::InternalCreateFont(TFontStyles style) {
  FLogFont.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  FLogFont.lfItalic = style.Contains(fsItalic);
  FLogFont.lfUnderline = style.Contains(fsUnderline);
  FLogFont.lfStrikeOut = style.Contains(fsStrikeOut);
  return CreateFontIndirect(FLogFont);
}

TCanvas* TheFontStock::InternalGetDC() {
  if (FDCUseCount == 0) {
    Check(!FScreenDC);
    FScreenDC = CreateScreenCanvas();
  }
  ++FDCUseCount;
  return FScreenDC.get();
}

void TheFontStock::InternalReleaseDC(TCanvas* dc) {
  Check(FDCUseCount > 0);
  if (--FDCUseCount > 0) return;
  Check(dc == FScreenDC.get());
  FScreenDC.reset();
}

int TheFontStock::CalcFontAdvance(TCanvas& dc, int* charHeight, int* dbCharAdvance) {
  TTextMetric tm;
  dc.GetTextMetrics(tm);
  TABC abc;
  bool hasABC = dc.GetCharABCWidths('M', abc);
  if (!hasABC) {
    // A bitmap font: the average width, and the overhang does not count.
    abc = {0, static_cast<unsigned>(tm.tmAveCharWidth), 0};
    tm.tmOverhang = 0;
  }
  int advance = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC + tm.tmOverhang;
  if (charHeight) *charHeight = std::abs(tm.tmHeight);
  if (dbCharAdvance) {
    *dbCharAdvance = NoDBCharAdvance;
    TABC first, second;
    if (IsDBCSFont() && tm.tmCharSet == SHIFTJIS_CHARSET && hasABC && dc.GetCharABCWidths(0x8201, first) &&
        dc.GetCharABCWidths(0x82A0, second)) {
      int width = first.abcA + static_cast<int>(first.abcB) + first.abcC;
      if (2 * width > 3 * advance && second.abcA + static_cast<int>(second.abcB) + second.abcC == width)
        *dbCharAdvance = width;
    }
  }
  return advance;
}

int TheFontStock::GetCharAdvance() const { return FCurrentData->CharAdvance; }
int TheFontStock::GetCharHeight() const { return FCurrentData->CharHeight; }
int TheFontStock::GetDBCharAdvance() const { return FCurrentData->DBCharAdvance; }

TheFontData* TheFontStock::GetFontData(int pattern) {
  Check(pattern >= 0 && pattern < StockFontPatternCount);
  return &FSharedInfo->StyleData[pattern];
}

// ---------------------------------------------------------------- drawer

void TheTextDrawer::Require(bool condition) { Check(condition); }

TheTextDrawer::TheTextDrawer(TFontStyles baseStyle, const TFont* baseFont)
    : FStock(std::make_unique<TheFontStock>(baseFont)), FBaseStyle(baseStyle) {
  SetBaseFont(baseFont);
}

TheTextDrawer::~TheTextDrawer() = default;

int TheTextDrawer::GetCharWidth() const { return FBaseCharWidth + FCharExtra; }
int TheTextDrawer::GetCharHeight() const { return FBaseCharHeight; }

void TheTextDrawer::SetBaseFont(const TFont* value) {
  if (!value) throw EheTextDrawerException(SetBaseFontMessage);
  ReleaseETODist();
  FStock->SetBaseFont(value);
  FStock->SetStyle(FBaseStyle);
  FBaseCharWidth = FStock->CharAdvance();
  FBaseCharHeight = FStock->CharHeight();
  SetStyle(value->Style());
}

void TheTextDrawer::SetBaseStyle(TFontStyles value) {
  if (value == FBaseStyle) return;
  FBaseStyle = value;
  ReleaseETODist();
  FStock->SetStyle(value);
  FBaseCharWidth = FStock->CharAdvance();
  FBaseCharHeight = FStock->CharHeight();
}

void TheTextDrawer::SetStyle(TFontStyles value) {
  FStock->SetStyle(value);
  FCurrentFont = FStock->CurrentFont();
  FCurrentStyle = value;
  AfterStyleSet();
}

void TheTextDrawer::AfterStyleSet() {
  if (FDC) FDC->SelectFont(FCurrentFont);
}

void TheTextDrawer::RenewCurrentFont() {
  if (!FCurrentFont) SetStyle(FCurrentStyle);
}

void TheTextDrawer::BeginDrawing(TCanvas* dc) {
  if (dc == FDC) {
    Require(FDC != nullptr);
  } else {
    Require(FDC == nullptr && dc != nullptr && FDrawDepth == 0);
    RenewCurrentFont();
    FDC = dc;
    FSavedState = dc->SaveDC();
    dc->SelectFont(FCurrentFont);
    dc->SetTextColor(ColorToRGB(FForeColor));
    dc->SetBkColor(ColorToRGB(FBackColor));
    DoSetCharExtra(FCharExtra);
  }
  ++FDrawDepth;
}

void TheTextDrawer::EndDrawing() {
  Require(FDrawDepth > 0);
  if (--FDrawDepth > 0) return;
  if (FDC) FDC->RestoreDC(FSavedState);
  FSavedState = 0;
  FDC = nullptr;
}

void TheTextDrawer::SetForeColor(TColor value) {
  if (value == FForeColor) return;
  FForeColor = value;
  if (FDC) FDC->SetTextColor(ColorToRGB(value));
}

void TheTextDrawer::SetBackColor(TColor value) {
  if (value == FBackColor) return;
  FBackColor = value;
  if (FDC) FDC->SetBkColor(ColorToRGB(value));
}

void TheTextDrawer::SetCharExtra(int value) {
  if (value == FCharExtra) return;
  FCharExtra = value;
  DoSetCharExtra(value);
}

void TheTextDrawer::DoSetCharExtra(int value) {
  if (FDC) FDC->SetTextCharacterExtra(value);
}

void TheTextDrawer::TextOut(int x, int y, const char* text, int length) {
  Require(FDC != nullptr);
  FDC->TextOutA(x, y, text, length);
}

void TheTextDrawer::ExtTextOut(int x, int y, uint32_t options, const TRect& rect, const char* text, int length) {
  Require(FDC != nullptr);
  if (ETOLength() < length) {
    // Grow to the next multiple of 64 above the length; the new entries get
    // the current cell width, the old ones keep theirs.
    FETODist.resize((length & ~63) + 64, GetCharWidth());
  }
  FDC->ExtTextOut(x, y, options, &rect, text, length, FETODist.data());
}

void TheTextDrawer::ReleaseETODist() { std::vector<int>().swap(FETODist); }

void TheTextDrawer::ReleaseTemporaryResources() {
  FStock->ReleaseFontHandles();
  FCurrentFont = 0;
  // A drawer that is drawing needs its font now; an idle one makes it at the
  // next BeginDrawing.
  if (FDC) RenewCurrentFont();
}

// ---------------------------------------------------------------- TheTextDrawer2

void TheTextDrawer2::SetBaseFont(const TFont* value) {
  // The handles belong to the font stock; only the references go.
  FStyleFonts.fill(0);
  TheTextDrawer::SetBaseFont(value);
}

void TheTextDrawer2::SetStyle(TFontStyles value) {
  HFONT& cached = FStyleFonts[value.Mask() & 15];
  if (cached) {
    FCurrentFont = cached;
    FCurrentStyle = value;
    AfterStyleSet();
    return;
  }
  TheTextDrawer::SetStyle(value);
  cached = FCurrentFont;
}

void TheTextDrawer2::ReleaseTemporaryResources() {
  FStyleFonts.fill(0);
  TheTextDrawer::ReleaseTemporaryResources();
}

// ---------------------------------------------------------------- TheTextDrawerEx

TheTextDrawerEx::TheTextDrawerEx(TFontStyles baseStyle, const TFont* baseFont) : TheTextDrawer(baseStyle, baseFont) {
  // The base constructor's style selection could not reach this class yet.
  AfterStyleSet();
}

void TheTextDrawerEx::AfterStyleSet() {
  TheTextDrawer::AfterStyleSet();
  FStyleDx = BaseCharWidth() - Stock().CharAdvance();
  if (Stock().IsDBCSFont()) {
    FStyleDBDx = NoDBCharAdvance;
    FOutputRoutine = &TheTextDrawerEx::ExtTextOutWithETO;
    return;
  }
  if (FDC) FDC->SetTextCharacterExtra(CharExtra() + FStyleDx);
  bool fixed = !Stock().IsTrueType() && Stock().CurrentStyle().Contains(fsItalic);
  FOutputRoutine = fixed ? &TheTextDrawerEx::ExtTextOutFixed : &TheTextDrawerEx::TextOutOrExtTextOut;
}

void TheTextDrawerEx::DoSetCharExtra(int value) {
  if (!FDC) return;
  if (!Stock().IsDBCSFont()) {
    FDC->SetBkMode(OPAQUE);
    FDC->SetTextCharacterExtra(value + FStyleDx);
  } else if (FStyleDBDx == NoDBCharAdvance) {
    FDC->SetTextCharacterExtra(value);
  }
}

void TheTextDrawerEx::ExtTextOut(int x, int y, uint32_t options, const TRect& rect, const char* text, int length) {
  (this->*FOutputRoutine)(x, y, options, rect, text, length);
}

void TheTextDrawerEx::ExtTextOutFixed(int x, int y, uint32_t options, const TRect& rect, const char* text,
                                      int length) {
  Require(FDC != nullptr);
  FDC->ExtTextOut(x, y, options, &rect, text, length, nullptr);
}

void TheTextDrawerEx::ExtTextOutWithETO(int x, int y, uint32_t options, const TRect& rect, const char* text,
                                        int length) {
  TheTextDrawer::ExtTextOut(x, y, options, rect, text, length);
}

void TheTextDrawerEx::TextOutOrExtTextOut(int x, int y, uint32_t options, const TRect& rect, const char* text,
                                          int length) {
  Require(FDC != nullptr);
  // A run that fills exactly its own cells can go out as plain text.
  if (text && length > 0 && x == rect.Left && y == rect.Top && GetCharHeight() == rect.Bottom - rect.Top &&
      rect.Right < GetCharWidth() * (length + 1) + rect.Left)
    FDC->TextOutA(x, y, text, length);
  else
    FDC->ExtTextOut(x, y, options, &rect, text, length, nullptr);
}

void TheTextDrawerEx::ExtTextOutForDBCS(int x, int y, uint32_t options, const TRect& rect, const char* text,
                                        int length) {
  Require(FDC != nullptr);
  // A double-byte character takes two cells, so it needs twice the
  // correction of a single-byte one (the double-byte advance is never
  // measured for this, and adding its "unknown" marker would overflow).
  int dbDx = CharExtra() + 2 * FStyleDx;
  TRect r = rect;
  auto drawRun = [&](int start, int count, int styleDx) {
    if (count == 0) return;
    FDC->SetTextCharacterExtra(CharExtra() + styleDx);
    int width = GetCharWidth() * count;
    r.Right = std::min(r.Left + width + GetCharWidth(), rect.Right);
    FDC->ExtTextOut(x, y, options, &r, text + start, count, nullptr);
    x += width;
    r.Left += width;
  };
  auto isLead = [&](int i) { return CodePage::IsLeadByte(static_cast<unsigned char>(text[i])); };
  int i = 0;
  while (text && i < length) {
    int start = i;
    while (i < length && !isLead(i)) ++i;
    drawRun(start, i - start, FStyleDx);
    start = i;
    while (i < length && isLead(i)) i = std::min(i + 2, length);
    drawRun(start, i - start, dbDx);
  }
  if (text && length > 0 && r.Right >= rect.Right) return;
  FDC->SetTextCharacterExtra(CharExtra() + FStyleDx);
  FDC->ExtTextOut(x, y, options, &r, nullptr, 0, nullptr);
}

}  // namespace vk
