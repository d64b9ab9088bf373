#include "SrcEdit/Source/SrcEditMiscClasses.h"

#include <algorithm>

namespace vk {

namespace {

// Stores value in field and reports whether it changed.
template <class T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

// Silences a change event for a scope: copying a sub-object must not report
// on its own when the owner reports once for the whole copy.
class TSilence {
public:
  explicit TSilence(TNotifyEvent& event) : FEvent(event), FSaved(event) { FEvent = nullptr; }
  ~TSilence() { FEvent = FSaved; }
  TSilence(const TSilence&) = delete;
  TSilence& operator=(const TSilence&) = delete;

private:
  TNotifyEvent& FEvent;
  TNotifyEvent FSaved;
};

}  // namespace

// ---------------------------------------------------------------- TSrcSelectedColor

void TSrcSelectedColor::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSrcSelectedColor*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  FBG = other->FBG;
  FFG = other->FFG;
  if (OnChange) OnChange(this);
}

void TSrcSelectedColor::SetBG(TColor value) {
  if (Store(FBG, value) && OnChange) OnChange(this);
}

void TSrcSelectedColor::SetFG(TColor value) {
  if (Store(FFG, value) && OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TSrcGutter

TSrcGutter::TSrcGutter() {
  FFont.SetName("Courier New");
  FFont.SetSize(8);
  FFont.OnChange = TNotifyEvent(this, &TSrcGutter::FontChanged);
}

void TSrcGutter::Changed() {
  if (OnChange) OnChange(this);
}

void TSrcGutter::FontChanged(TObject*) { Changed(); }

void TSrcGutter::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSrcGutter*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  {
    TSilence silence(FFont.OnChange);
    FFont.Assign(other->FFont);
  }
  FUseFontStyle = other->FUseFontStyle;
  FColor = other->FColor;
  FVisible = other->FVisible;
  FWidth = other->FWidth;
  FShowLineNumbers = other->FShowLineNumbers;
  FLeadingZeros = other->FLeadingZeros;
  FZeroStart = other->FZeroStart;
  FLeftOffset = other->FLeftOffset;
  FDigitCount = other->FDigitCount;
  FRightOffset = other->FRightOffset;
  FAutoSize = other->FAutoSize;
  FShownDigits = other->FShownDigits;
  FLineNumberStart = other->FLineNumberStart;
  FBorderColor = other->FBorderColor;
  FBorderStyle = other->FBorderStyle;
  FGradient = other->FGradient;
  FGradientStartColor = other->FGradientStartColor;
  FGradientEndColor = other->FGradientEndColor;
  FGradientSteps = other->FGradientSteps;
  Changed();
}

void TSrcGutter::SetColor(TColor value) {
  if (Store(FColor, value)) Changed();
}

void TSrcGutter::SetBorderColor(TColor value) {
  if (Store(FBorderColor, value)) Changed();
}

void TSrcGutter::SetWidth(int value) {
  if (Store(FWidth, std::max(value, 0))) Changed();
}

void TSrcGutter::SetShowLineNumbers(bool value) {
  if (Store(FShowLineNumbers, value)) Changed();
}

void TSrcGutter::SetDigitCount(int value) {
  value = std::clamp(value, 2, 12);
  if (!Store(FDigitCount, value)) return;
  FShownDigits = value;
  Changed();
}

void TSrcGutter::SetLeadingZeros(bool value) {
  if (Store(FLeadingZeros, value)) Changed();
}

void TSrcGutter::SetZeroStart(bool value) {
  if (Store(FZeroStart, value)) Changed();
}

void TSrcGutter::SetLeftOffset(int value) {
  if (Store(FLeftOffset, std::max(value, 0))) Changed();
}

void TSrcGutter::SetRightOffset(int value) {
  if (Store(FRightOffset, std::max(value, 0))) Changed();
}

void TSrcGutter::SetVisible(bool value) {
  if (Store(FVisible, value)) Changed();
}

void TSrcGutter::SetUseFontStyle(bool value) {
  if (Store(FUseFontStyle, value)) Changed();
}

void TSrcGutter::SetAutoSize(bool value) {
  if (Store(FAutoSize, value)) Changed();
}

void TSrcGutter::SetBorderStyle(TSrcGutterBorderStyle value) {
  FBorderStyle = value;
  Changed();
}

void TSrcGutter::SetLineNumberStart(int value) {
  // Compared after the clamp, so a repeated negative value is no change.
  value = std::max(value, 0);
  if (value == FLineNumberStart) return;
  FLineNumberStart = value;
  FZeroStart = FLineNumberStart == 0;
  Changed();
}

void TSrcGutter::SetGradient(bool value) {
  if (Store(FGradient, value)) Changed();
}

void TSrcGutter::SetGradientStartColor(TColor value) {
  if (Store(FGradientStartColor, value)) Changed();
}

void TSrcGutter::SetGradientEndColor(TColor value) {
  if (Store(FGradientEndColor, value)) Changed();
}

void TSrcGutter::SetGradientSteps(int value) {
  if (Store(FGradientSteps, std::max(value, 2))) Changed();
}

int TSrcGutter::ShownNumber(int line) const {
  if (FZeroStart) return line - 1;
  if (FLineNumberStart > 1) return FLineNumberStart + line - 1;
  return line;
}

std::string TSrcGutter::FormatLineNumber(int line) const {
  std::string number = IntToStr(ShownNumber(line));
  if (static_cast<int>(number.size()) < FShownDigits) number.insert(0, FShownDigits - number.size(), ' ');
  if (FLeadingZeros)
    for (int i = 0; i < FShownDigits - 1 && number[i] == ' '; ++i) number[i] = '0';
  return number;
}

void TSrcGutter::AutoSizeDigitCount(int linesCount) {
  if (!(FVisible && FAutoSize && FShowLineNumbers)) {
    FShownDigits = FDigitCount;
    return;
  }
  int digits = std::max(static_cast<int>(IntToStr(ShownNumber(linesCount)).size()), FDigitCount);
  if (Store(FShownDigits, digits)) Changed();
}

int TSrcGutter::RealGutterWidth(int charWidth) const {
  if (!FVisible) return 0;
  if (FShowLineNumbers) return FLeftOffset + FRightOffset + charWidth * FShownDigits + 2;
  return FWidth;
}

// ---------------------------------------------------------------- TSrcBookMarkOpt

void TSrcBookMarkOpt::Changed() {
  if (OnChange) OnChange(this);
}

void TSrcBookMarkOpt::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSrcBookMarkOpt*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  FBookmarkImages = other->FBookmarkImages;
  FDrawBookmarksFirst = other->FDrawBookmarksFirst;
  FEnableKeys = other->FEnableKeys;
  FGlyphsVisible = other->FGlyphsVisible;
  FLeftMargin = other->FLeftMargin;
  FXoffset = other->FXoffset;
  Changed();
}

void TSrcBookMarkOpt::SetBookmarkImages(TImageList* value) {
  if (!Store(FBookmarkImages, value)) return;
  // The editor must hear when the list goes, so it drops the reference.
  if (value && FOwnerEditor) value->FreeNotification(FOwnerEditor);
  Changed();
}

void TSrcBookMarkOpt::SetDrawBookmarksFirst(bool value) {
  if (Store(FDrawBookmarksFirst, value)) Changed();
}

void TSrcBookMarkOpt::SetGlyphsVisible(bool value) {
  if (Store(FGlyphsVisible, value)) Changed();
}

void TSrcBookMarkOpt::SetLeftMargin(int value) {
  if (Store(FLeftMargin, value)) Changed();
}

void TSrcBookMarkOpt::SetXoffset(int value) {
  if (Store(FXoffset, value)) Changed();
}

// ---------------------------------------------------------------- TSrcGlyph

TSrcGlyph::TSrcGlyph(HINSTANCE instance, const std::string& resourceName, TColor maskColor) {
  if (!resourceName.empty()) {
    FResourcePicture = std::make_unique<TBitmap>();
    FResourcePicture->LoadFromResourceName(instance, resourceName);
    FResourceMaskColor = maskColor;
  }
  FGlyph.OnChange = TNotifyEvent(this, &TSrcGlyph::GlyphChange);
}

void TSrcGlyph::GlyphChange(TObject*) {
  if (OnChange) OnChange(this);
}

void TSrcGlyph::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TSrcGlyph*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  FVisible = other->FVisible;
  FMaskColor = other->FMaskColor;
  FResourceMaskColor = other->FResourceMaskColor;
  // Copies, never shared: each glyph frees only its own pictures.
  if (other->FResourcePicture) {
    if (!FResourcePicture) FResourcePicture = std::make_unique<TBitmap>();
    FResourcePicture->Assign(*other->FResourcePicture);
  } else {
    FResourcePicture.reset();
  }
  {
    TSilence silence(FGlyph.OnChange);
    FGlyph.Assign(other->FGlyph);
  }
  if (OnChange) OnChange(this);
}

void TSrcGlyph::SetMaskColor(TColor value) {
  if (Store(FMaskColor, value) && OnChange) OnChange(this);
}

void TSrcGlyph::SetVisible(bool value) {
  if (Store(FVisible, value) && OnChange) OnChange(this);
}

const TBitmap* TSrcGlyph::Picture(TColor& maskColor) const {
  if (!FGlyph.Empty()) {
    maskColor = FMaskColor;
    return &FGlyph;
  }
  if (FResourcePicture && !FResourcePicture->Empty()) {
    maskColor = FResourceMaskColor;
    return FResourcePicture.get();
  }
  return nullptr;
}

int TSrcGlyph::Width() const {
  TColor mask;
  const TBitmap* picture = Picture(mask);
  return picture ? picture->Width() : 0;
}

int TSrcGlyph::Height() const {
  TColor mask;
  const TBitmap* picture = Picture(mask);
  return picture ? picture->Height() : 0;
}

void TSrcGlyph::Draw(TCanvas& canvas, int x, int y, int lineHeight) const {
  TColor mask = clNone;
  const TBitmap* picture = Picture(mask);
  if (!picture) return;
  int w = picture->Width(), h = picture->Height();
  if (lineHeight < h) {
    int top = (h - lineHeight) / 2;
    canvas.BrushCopy(Rect(x, y, x + w, y + lineHeight), *picture, Rect(0, top, w, top + lineHeight), mask);
  } else {
    int top = y + (lineHeight - h) / 2;
    canvas.BrushCopy(Rect(x, top, x + w, top + h), *picture, Rect(0, 0, w, h), mask);
  }
}

// ---------------------------------------------------------------- TSrcInternalImage

namespace {

// A resource picture and the number of images that use it.
struct TInternalResource {
  int Users = 0;
  std::string ResName;  // upper case
  std::unique_ptr<TBitmap> Picture;
};

using TInternalResources = std::vector<std::unique_ptr<TInternalResource>>;

// Made on first use, freed when its last picture goes.
std::unique_ptr<TInternalResources>& InternalResources() {
  static std::unique_ptr<TInternalResources> resources;
  return resources;
}

const TBitmap* AcquireResource(HINSTANCE instance, const std::string& name) {
  std::unique_ptr<TInternalResources>& list = InternalResources();
  std::string key = UpperCase(name);
  if (list) {
    for (auto& record : *list)
      if (record->ResName == key) {
        ++record->Users;
        return record->Picture.get();
      }
  }
  // The list is made once a picture has loaded: a failed load leaves none.
  auto picture = std::make_unique<TBitmap>();
  picture->LoadFromResourceName(instance, name);
  if (!list) list = std::make_unique<TInternalResources>();
  list->push_back(std::make_unique<TInternalResource>(TInternalResource{1, key, std::move(picture)}));
  return list->back()->Picture.get();
}

void ReleaseResource(const TBitmap* picture) {
  std::unique_ptr<TInternalResources>& list = InternalResources();
  if (!list) return;
  auto found = std::find_if(list->begin(), list->end(), [&](const auto& r) { return r->Picture.get() == picture; });
  if (found == list->end()) return;
  if (--(*found)->Users == 0) list->erase(found);
  if (list->empty()) list.reset();
}

}  // namespace

TSrcInternalImage::TSrcInternalImage(HINSTANCE instance, const std::string& name, int count)
    : FStrip(AcquireResource(instance, name)), FGlyphCount(std::max(count, 0)) {
  // The strip is cut into count equal glyphs, the width rounded to nearest;
  // no glyphs leave the width 0.
  FGlyphWidth = FGlyphCount > 0 ? (FStrip->Width() + FGlyphCount / 2) / FGlyphCount : 0;
  FGlyphHeight = FStrip->Height();
}

TSrcInternalImage::~TSrcInternalImage() { ReleaseResource(FStrip); }

int TSrcInternalImage::SharedPictureCount() {
  const std::unique_ptr<TInternalResources>& list = InternalResources();
  return list ? static_cast<int>(list->size()) : 0;
}

void TSrcInternalImage::GlyphRects(int number, int x, int y, int lineHeight, TRect& dest, TRect& source) const {
  int left = number * FGlyphWidth;
  if (lineHeight < FGlyphHeight) {
    int top = (FGlyphHeight - lineHeight) / 2;
    dest = Rect(x, y, x + FGlyphWidth, y + lineHeight);
    source = Rect(left, top, left + FGlyphWidth, top + lineHeight);
  } else {
    int top = y + (lineHeight - FGlyphHeight) / 2;
    dest = Rect(x, top, x + FGlyphWidth, top + FGlyphHeight);
    source = Rect(left, 0, left + FGlyphWidth, FGlyphHeight);
  }
}

void TSrcInternalImage::Draw(TCanvas& canvas, int number, int x, int y, int lineHeight) const {
  if (number < 0 || number >= FGlyphCount) return;
  TRect dest, source;
  GlyphRects(number, x, y, lineHeight, dest, source);
  canvas.CopyRect(dest, *FStrip, source);
}

void TSrcInternalImage::DrawTransparent(TCanvas& canvas, int number, int x, int y, int lineHeight,
                                        TColor transparentColor) const {
  if (number < 0 || number >= FGlyphCount) return;
  TRect dest, source;
  GlyphRects(number, x, y, lineHeight, dest, source);
  canvas.BrushCopy(dest, *FStrip, source, transparentColor);
}

// ---------------------------------------------------------------- method chains

bool TSrcMethodChain::DoHandleException(Exception& e) {
  if (!ErrorHandler) throw;
  bool doContinue = true;
  try {
    ErrorHandler(this, e, doContinue);
  } catch (...) {
    throw ESrcMethodChain(Format("%s.DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler",
                                 ClassName().c_str()));
  }
  return doContinue;
}

void TSrcNotifyEventChain::Fire() {
  FireEach(FEntries, [this](const TNotifyEvent& event) { event(FEventSender); });
}

}  // namespace vk
