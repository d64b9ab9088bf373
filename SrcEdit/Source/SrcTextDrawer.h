#pragma once
// The editor's fixed-cell text output: a process-wide cache of fonts keyed
// by their logical description (one set of font objects per distinct font,
// however many editors use it), a per-drawer stock of the sixteen style
// variants of one base font with their measured advance and height, and the
// drawer that binds a canvas for one paint, selects the font of a style,
// sets colours and spacing and writes text with equal character distances.

#include <array>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

namespace vk {

class EheFontStockException : public Exception {
  using Exception::Exception;
};
class EheTextDrawerException : public Exception {
  using Exception::Exception;
};
// A broken precondition of the caches or the drawer.
class EheAssertionFailed : public EAssertionFailed {
  using EAssertionFailed::EAssertionFailed;
};

// The style patterns 0..15 (the mask of a TFontStyles).
constexpr int StockFontPatternCount = 16;
// Advance of a double-byte character that was not measured or does not
// apply.
constexpr int NoDBCharAdvance = 0x7FFFFFFF;

// One style variant of a shared font.
struct TheFontData {
  TFontStyles Style;
  HFONT Handle = 0;  // 0 until first needed
  int CharAdvance = 0;
  int DBCharAdvance = 0;
  int CharHeight = 0;
};

// A font shared by every stock whose base font has the same comparison
// description.
struct TheSharedFontsInfo {
  int HolderCount = 0;  // stocks that hold the record
  int HandleUsers = 0;  // stocks that use its font objects now
  std::unique_ptr<TFont> BaseFont;
  TLogFont LogFont;  // the comparison form
  bool IsDBCSFont = false;
  bool IsTrueType = false;
  std::array<TheFontData, StockFontPatternCount> StyleData;
};

class TheFontsInfoManager : public TObject {
public:
  ~TheFontsInfoManager() override;
  std::string ClassName() const override { return "TheFontsInfoManager"; }

  // The record of the font (made when no record matches), with one more
  // holder. Raises EheAssertionFailed for a null font.
  TheSharedFontsInfo* GetFontsInfo(const TFont* font);
  // One holder less; the last holder frees the record. The record must not
  // be locked by more stocks than hold it ("Call DeactivateFontsInfo before
  // calling this.").
  void ReleaseFontsInfo(TheSharedFontsInfo* info);
  void LockFontsInfo(TheSharedFontsInfo* info);
  // One user less; the last user deletes the font objects.
  void UnLockFontsInfo(TheSharedFontsInfo* info);

  int RecordCount() const { return static_cast<int>(FRecords.size()); }

  // The description two fonts are compared by: the font's logical font with
  // italic, underline and strike-out cleared (the weight is kept).
  static TLogFont RetrieveLogFontForComparison(const TFont& font);

private:
  TheSharedFontsInfo* CreateFontsInfo(const TFont& font, const TLogFont& logFont);
  static void DestroyFontHandles(TheSharedFontsInfo& info);

  std::vector<std::unique_ptr<TheSharedFontsInfo>> FRecords;
};

// The process's manager, made on the first call.
TheFontsInfoManager& GetFontsInfoManager();

// The sixteen style variants of one base font for one drawer.
class TheFontStock : public TObject {
public:
  explicit TheFontStock(const TFont* font);
  ~TheFontStock() override;
  TheFontStock(const TheFontStock&) = delete;
  TheFontStock& operator=(const TheFontStock&) = delete;
  std::string ClassName() const override { return "TheFontStock"; }

  // Raises EheFontStockException "SetBaseFont: 'Value' must be specified."
  // for a null font.
  virtual void SetBaseFont(const TFont* value);
  // Makes the style current, creating and measuring its font on first use.
  virtual void SetStyle(TFontStyles value);
  // Gives the font objects back; they are made again when a style is next
  // selected. The measurements stay.
  virtual void ReleaseFontHandles();

  virtual int GetCharAdvance() const;
  virtual int GetCharHeight() const;
  virtual int GetDBCharAdvance() const;
  virtual TheFontData* GetFontData(int pattern);

  const TFont* BaseFont() const { return FSharedInfo->BaseFont.get(); }
  bool IsDBCSFont() const { return FSharedInfo->IsDBCSFont; }
  bool IsTrueType() const { return FSharedInfo->IsTrueType; }
  int CharAdvance() const { return GetCharAdvance(); }
  int CharHeight() const { return GetCharHeight(); }
  int DBCharAdvance() const { return GetDBCharAdvance(); }
  HFONT CurrentFont() const { return FCurrentFont; }
  TFontStyles CurrentStyle() const { return FCurrentStyle; }
  TheSharedFontsInfo* SharedInfo() const { return FSharedInfo; }

protected:
  // Borrows the screen canvas (nested borrowing shares one).
  virtual TCanvas* InternalGetDC();
  virtual void InternalReleaseDC(TCanvas* dc);
  virtual HFONT InternalCreateFont(TFontStyles style);
  // Advance of "M" in the font selected into dc; fills the height and the
  // double-byte advance when asked.
  virtual int CalcFontAdvance(TCanvas& dc, int* charHeight, int* dbCharAdvance);

private:
  void UseFontHandles();
  void ReleaseSharedInfo();

  std::unique_ptr<TCanvas> FScreenDC;
  int FDCUseCount = 0;
  TheSharedFontsInfo* FSharedInfo = nullptr;
  bool FHandlesInUse = false;
  HFONT FCurrentFont = 0;
  TFontStyles FCurrentStyle;
  TheFontData* FCurrentData = nullptr;
  TLogFont FLogFont;
};

// Writes text cell by cell in the base style's advance.
class TheTextDrawer : public TObject {
public:
  TheTextDrawer(TFontStyles baseStyle, const TFont* baseFont);
  ~TheTextDrawer() override;
  TheTextDrawer(const TheTextDrawer&) = delete;
  TheTextDrawer& operator=(const TheTextDrawer&) = delete;
  std::string ClassName() const override { return "TheTextDrawer"; }

  // The cell: base style advance plus the character extra, and its height.
  virtual int GetCharWidth() const;
  virtual int GetCharHeight() const;

  // Binds the canvas for one paint (nested calls on the same canvas only
  // count); the outermost EndDrawing restores the canvas state.
  virtual void BeginDrawing(TCanvas* dc);
  virtual void EndDrawing();
  virtual void TextOut(int x, int y, const char* text, int length);
  // Text with every character one cell apart; rect is the opaque or
  // clipping rectangle of options.
  virtual void ExtTextOut(int x, int y, uint32_t options, const TRect& rect, const char* text, int length);

  // Raises EheTextDrawerException "SetBaseFont: 'Value' must be specified."
  // for a null font.
  virtual void SetBaseFont(const TFont* value);
  virtual void SetBaseStyle(TFontStyles value);
  virtual void SetStyle(TFontStyles value);
  virtual void SetForeColor(TColor value);
  virtual void SetBackColor(TColor value);
  virtual void SetCharExtra(int value);
  // Gives the font objects back while the drawer is idle.
  virtual void ReleaseTemporaryResources();

  TFontStyles BaseStyle() const { return FBaseStyle; }
  int BaseCharWidth() const { return FBaseCharWidth; }
  int BaseCharHeight() const { return FBaseCharHeight; }
  TColor ForeColor() const { return FForeColor; }
  TColor BackColor() const { return FBackColor; }
  int CharExtra() const { return FCharExtra; }
  int DrawDepth() const { return FDrawDepth; }
  TCanvas* DC() const { return FDC; }
  HFONT CurrentFont() const { return FCurrentFont; }
  TheFontStock& Stock() const { return *FStock; }
  // The distances ExtTextOut passes (length ETOLength).
  const std::vector<int>& ETODist() const { return FETODist; }
  int ETOLength() const { return static_cast<int>(FETODist.size()); }

protected:
  virtual void ReleaseETODist();
  virtual void AfterStyleSet();
  virtual void DoSetCharExtra(int value);
  // Throws EheAssertionFailed "Assertion failure" unless condition holds.
  static void Require(bool condition);

  TCanvas* FDC = nullptr;
  HFONT FCurrentFont = 0;  // 0 after ReleaseTemporaryResources
  TFontStyles FCurrentStyle;

private:
  // Makes the font of the current style again after its font object was
  // given back.
  void RenewCurrentFont();

  int FSavedState = 0;
  std::unique_ptr<TheFontStock> FStock;
  TFontStyles FBaseStyle;
  int FBaseCharWidth = 0;
  int FBaseCharHeight = 0;
  std::vector<int> FETODist;
  TColor FForeColor = clWindowText;
  TColor FBackColor = clWindow;
  int FCharExtra = 0;
  int FDrawDepth = 0;
};

// A drawer that keeps the font object of each style it has selected.
class TheTextDrawer2 : public TheTextDrawer {
public:
  using TheTextDrawer::TheTextDrawer;
  std::string ClassName() const override { return "TheTextDrawer2"; }
  void SetBaseFont(const TFont* value) override;
  void SetStyle(TFontStyles value) override;
  void ReleaseTemporaryResources() override;

private:
  std::array<HFONT, StockFontPatternCount> FStyleFonts{};
};

// A drawer that corrects the spacing per style (a style narrower than the
// cell gets the difference as character extra) and picks an output routine
// per font.
class TheTextDrawerEx : public TheTextDrawer {
public:
  TheTextDrawerEx(TFontStyles baseStyle, const TFont* baseFont);
  std::string ClassName() const override { return "TheTextDrawerEx"; }
  void ExtTextOut(int x, int y, uint32_t options, const TRect& rect, const char* text, int length) override;

  int StyleDx() const { return FStyleDx; }

protected:
  void AfterStyleSet() override;
  void DoSetCharExtra(int value) override;

  // The output routines ExtTextOut chooses among.
  virtual void TextOutOrExtTextOut(int x, int y, uint32_t options, const TRect& rect, const char* text, int length);
  virtual void ExtTextOutFixed(int x, int y, uint32_t options, const TRect& rect, const char* text, int length);
  virtual void ExtTextOutWithETO(int x, int y, uint32_t options, const TRect& rect, const char* text, int length);
  virtual void ExtTextOutForDBCS(int x, int y, uint32_t options, const TRect& rect, const char* text, int length);

private:
  using TOutputRoutine = void (TheTextDrawerEx::*)(int, int, uint32_t, const TRect&, const char*, int);
  int FStyleDx = 0;
  int FStyleDBDx = 0;
  TOutputRoutine FOutputRoutine = &TheTextDrawerEx::TextOutOrExtTextOut;
};

}  // namespace vk
