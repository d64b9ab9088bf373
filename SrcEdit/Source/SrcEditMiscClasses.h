#pragma once
// Small classes the editor owns as option objects or uses as tools: the
// selection colours, the gutter with its line-number arithmetic, the
// bookmark options, a glyph with a resource picture and a user picture, the
// glyph strip shared among all editors, and the notify-event chains through
// which a highlighter tells its editors about changes. Every option setter
// calls OnChange only when the value really changes, unless said otherwise.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmaps.h"
#include "platform/Canvas.h"
#include "platform/Components.h"
#include "platform/DelegateList.h"
#include "platform/Events.h"
#include "platform/Graphics.h"
#include "platform/Mouse.h"
#include "platform/ImageList.h"
#include "platform/Objects.h"

namespace vk {

class TSrcSelectedColor : public TPersistent {
public:
  std::string ClassName() const override { return "TSrcSelectedColor"; }
  // From another selection colour: both colours, then OnChange even when
  // nothing changed.
  void Assign(const TPersistent& source) override;

  TColor Background() const { return FBG; }
  void SetBG(TColor value);
  TColor Foreground() const { return FFG; }
  void SetFG(TColor value);

  TNotifyEvent OnChange;

private:
  TColor FBG = clHighlight;
  TColor FFG = clHighlightText;
};

enum TSrcGutterBorderStyle : uint8_t { gbsNone, gbsMiddle, gbsRight };

// The mouse cursor shape number; 0 is the default cursor.

class TSrcGutter : public TPersistent {
public:
  TSrcGutter();
  std::string ClassName() const override { return "TSrcGutter"; }
  // From another gutter: every stored field but Cursor, as stored (without
  // the setters' clamps), then one OnChange.
  void Assign(const TPersistent& source) override;

  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  // Copies the given font into the gutter's own.
  void SetFont(const TFont& value) { FFont.Assign(value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor value);
  // Negative widths and offsets become 0.
  int Width() const { return FWidth; }
  void SetWidth(int value);
  bool ShowLineNumbers() const { return FShowLineNumbers; }
  void SetShowLineNumbers(bool value);
  // Clamped to 2..12; sets ShownDigits too.
  int DigitCount() const { return FDigitCount; }
  void SetDigitCount(int value);
  bool LeadingZeros() const { return FLeadingZeros; }
  void SetLeadingZeros(bool value);
  // Line 1 is shown as 0; does not touch LineNumberStart.
  bool ZeroStart() const { return FZeroStart; }
  void SetZeroStart(bool value);
  int LeftOffset() const { return FLeftOffset; }
  void SetLeftOffset(int value);
  int RightOffset() const { return FRightOffset; }
  void SetRightOffset(int value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool UseFontStyle() const { return FUseFontStyle; }
  void SetUseFontStyle(bool value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  // Digits in use for line numbers (see AutoSizeDigitCount).
  int ShownDigits() const { return FShownDigits; }
  // Stores and calls OnChange every time, also for the current value.
  TSrcGutterBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TSrcGutterBorderStyle value);
  // The number shown for line 1; negative values become 0, and ZeroStart
  // follows (on exactly for 0).
  int LineNumberStart() const { return FLineNumberStart; }
  void SetLineNumberStart(int value);
  bool Gradient() const { return FGradient; }
  void SetGradient(bool value);
  TColor GradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor value);
  TColor GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor value);
  // Values below 2 become 2.
  int GradientSteps() const { return FGradientSteps; }
  void SetGradientSteps(int value);

  // The number shown for editor line `line` (1-based).
  int ShownNumber(int line) const;
  // The shown number right-aligned in ShownDigits characters, blanks or
  // (LeadingZeros) zeros in front.
  std::string FormatLineNumber(int line) const;
  // Widens ShownDigits to the digits of the last line's number when
  // Visible, AutoSize and ShowLineNumbers are all on; else ShownDigits
  // returns to DigitCount (quietly).
  void AutoSizeDigitCount(int linesCount);
  // The gutter's width in pixels for a cell width.
  int RealGutterWidth(int charWidth) const;

  TNotifyEvent OnChange;

private:
  void Changed();
  void FontChanged(TObject* sender);

  TFont FFont;
  TColor FColor = clBtnFace;
  TColor FBorderColor = clWindow;
  int FWidth = 30;
  bool FShowLineNumbers = false;
  int FDigitCount = 4;
  bool FLeadingZeros = false;
  bool FZeroStart = false;
  int FLeftOffset = 16;
  int FRightOffset = 2;
  TCursor FCursor = 0;
  bool FVisible = true;
  bool FUseFontStyle = true;
  bool FAutoSize = false;
  int FShownDigits = 4;
  TSrcGutterBorderStyle FBorderStyle = gbsMiddle;
  int FLineNumberStart = 1;
  bool FGradient = false;
  TColor FGradientStartColor = clWindow;
  TColor FGradientEndColor = clBtnFace;
  int FGradientSteps = 48;
};

class TSrcBookMarkOpt : public TPersistent {
public:
  // The owner editor hears when the bookmark image list goes away.
  explicit TSrcBookMarkOpt(TComponent* ownerEditor) : FOwnerEditor(ownerEditor) {}
  std::string ClassName() const override { return "TSrcBookMarkOpt"; }
  // From other bookmark options: every field (the image list by
  // reference), then OnChange.
  void Assign(const TPersistent& source) override;

  // Not owned; null draws the internal glyph strip.
  TImageList* BookmarkImages() const { return FBookmarkImages; }
  void SetBookmarkImages(TImageList* value);
  bool DrawBookmarksFirst() const { return FDrawBookmarksFirst; }
  void SetDrawBookmarksFirst(bool value);
  // While off the editor ignores the bookmark commands.
  bool EnableKeys() const { return FEnableKeys; }
  void SetEnableKeys(bool value) { FEnableKeys = value; }
  bool GlyphsVisible() const { return FGlyphsVisible; }
  void SetGlyphsVisible(bool value);
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int value);
  int Xoffset() const { return FXoffset; }
  void SetXoffset(int value);
  TComponent* OwnerEditor() const { return FOwnerEditor; }

  TNotifyEvent OnChange;

private:
  void Changed();

  TImageList* FBookmarkImages = nullptr;
  bool FDrawBookmarksFirst = true;
  bool FEnableKeys = true;
  bool FGlyphsVisible = true;
  int FLeftMargin = 2;
  TComponent* FOwnerEditor;
  int FXoffset = 12;
};

// A glyph drawn from the user's picture when there is one, else from a
// resource picture.
class TSrcGlyph : public TPersistent {
public:
  // An empty resource name means no resource picture. Raises EResNotFound
  // for a missing resource.
  TSrcGlyph(HINSTANCE instance, const std::string& resourceName, TColor maskColor);
  std::string ClassName() const override { return "TSrcGlyph"; }
  // From another glyph: Visible, both mask colours and copies of both
  // pictures, then OnChange.
  void Assign(const TPersistent& source) override;

  const TBitmap& Glyph() const { return FGlyph; }
  // Copies the picture into the glyph's own (OnChange through the bitmap).
  void SetGlyph(const TBitmap& value) { FGlyph.Assign(value); }
  TColor MaskColor() const { return FMaskColor; }
  void SetMaskColor(TColor value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  const TBitmap* ResourcePicture() const { return FResourcePicture.get(); }

  int Width() const;
  int Height() const;
  // The picture centred in a line of lineHeight pixels (cut to it when
  // taller), its mask colour showing the canvas brush. Ignores Visible.
  void Draw(TCanvas& canvas, int x, int y, int lineHeight) const;

  TNotifyEvent OnChange;

private:
  void GlyphChange(TObject* sender);
  const TBitmap* Picture(TColor& maskColor) const;

  bool FVisible = true;
  std::unique_ptr<TBitmap> FResourcePicture;
  TBitmap FGlyph;
  TColor FResourceMaskColor = clNone;
  TColor FMaskColor = clNone;
};

// A strip of equal glyphs cut from a resource picture that all images of
// the same name share: the first image loads it, the last frees it.
class TSrcInternalImage : public TObject {
public:
  // Raises EResNotFound for a missing resource. A count below 1 makes an
  // image of no glyphs that draws nothing.
  TSrcInternalImage(HINSTANCE instance, const std::string& name, int count);
  ~TSrcInternalImage() override;
  TSrcInternalImage(const TSrcInternalImage&) = delete;
  TSrcInternalImage& operator=(const TSrcInternalImage&) = delete;
  std::string ClassName() const override { return "TSrcInternalImage"; }

  // Glyph `number` centred in a line of lineHeight pixels (cut to it when
  // taller); numbers outside 0..GlyphCount-1 draw nothing.
  void Draw(TCanvas& canvas, int number, int x, int y, int lineHeight) const;
  // The same with transparentColor showing the canvas brush.
  void DrawTransparent(TCanvas& canvas, int number, int x, int y, int lineHeight, TColor transparentColor) const;

  int GlyphWidth() const { return FGlyphWidth; }
  int GlyphHeight() const { return FGlyphHeight; }
  int GlyphCount() const { return FGlyphCount; }
  const TBitmap& Strip() const { return *FStrip; }

  // Number of shared pictures alive in the process (tells tests when a
  // picture is loaded and freed).
  static int SharedPictureCount();

private:
  // The destination and source rectangles of glyph `number`.
  void GlyphRects(int number, int x, int y, int lineHeight, TRect& dest, TRect& source) const;

  const TBitmap* FStrip = nullptr;
  int FGlyphWidth = 0;
  int FGlyphHeight = 0;
  int FGlyphCount = 0;
};

class ESrcMethodChain : public Exception {
  using Exception::Exception;
};

// The handler of exceptions raised inside a chain's handlers: sets
// doContinue to go on with the next handler or to stop the firing.
using TSrcExceptionEvent = TDelegate<void(TObject* sender, Exception& e, bool& doContinue)>;

// A list of handlers called in the order they were added. Adding and
// removing handlers while the chain fires is safe: handlers added are called
// in the same firing, handlers removed are not called any more, and removing
// one never makes the firing skip a handler that is still in the chain.
class TSrcMethodChain : public TObject {
public:
  TSrcMethodChain() = default;
  TSrcMethodChain(const TSrcMethodChain&) = delete;
  TSrcMethodChain& operator=(const TSrcMethodChain&) = delete;
  std::string ClassName() const override { return "TSrcMethodChain"; }

  // Calls every handler. A handler's Exception goes to the ErrorHandler,
  // which decides whether the firing goes on; without one it leaves Fire.
  virtual void Fire() = 0;
  TSrcExceptionEvent ErrorHandler;

protected:
  // Fire of a descendant: call(handler) for each entry, with the exception
  // rule above.
  template <class T, class Call>
  void FireEach(TDelegateList<T>& entries, Call call) {
    typename TDelegateList<T>::TIteration firing(entries, doForwardWithAdded);
    while (std::optional<T> entry = firing.Next()) {
      try {
        call(*entry);
      } catch (Exception& e) {
        if (!DoHandleException(e)) return;
      }
    }
  }
  // Continue after the exception? Raises it again without an ErrorHandler;
  // an ErrorHandler that raises gives ESrcMethodChain.
  virtual bool DoHandleException(Exception& e);
};

class TSrcNotifyEventChain : public TSrcMethodChain {
public:
  explicit TSrcNotifyEventChain(TObject* sender = nullptr) : FEventSender(sender) {}
  std::string ClassName() const override { return "TSrcNotifyEventChain"; }

  void Fire() override;
  // The same handler may be added more than once and is then called once
  // per entry.
  void Add(const TNotifyEvent& event) { FEntries.Add(event); }
  // Removes every entry of the handler.
  void Remove(const TNotifyEvent& event) { FEntries.Remove(event, drAll); }
  int Count() const { return FEntries.Count(); }

  TObject* EventSender() const { return FEventSender; }
  void SetEventSender(TObject* sender) { FEventSender = sender; }

private:
  TObject* FEventSender;
  TDelegateList<TNotifyEvent> FEntries;
};

}  // namespace vk
