// Construction, destruction and properties of the editor control, the paint
// lock with its deferred status report, font and gutter handling, key
// bindings, bookmark lookup and the plugin list.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>

#include "platform/Caret.h"
#include "platform/DropFiles.h"

namespace vk {

namespace {

// Measures the gutter's font in the text drawer and puts the editor's font
// back, also when measuring raises.
class TDrawerFontSwap {
public:
  TDrawerFontSwap(TheTextDrawer& drawer, const TFont& font, const TFont& back) : FDrawer(drawer), FBack(back) {
    FDrawer.SetBaseFont(&font);
  }
  ~TDrawerFontSwap() { FDrawer.SetBaseFont(&FBack); }
  TDrawerFontSwap(const TDrawerFontSwap&) = delete;
  TDrawerFontSwap& operator=(const TDrawerFontSwap&) = delete;

private:
  TheTextDrawer& FDrawer;
  const TFont& FBack;
};

}  // namespace

// ---------------------------------------------------------------- life cycle

TCustomSrcEdit::TCustomSrcEdit(TComponent* owner) : TCustomControl(owner) {
  FOwnLines = std::make_unique<TSrcEditStringList>();
  FLines = FOwnLines.get();
  FOwnLines->OnStoreChange = TNotifyEvent(this, &TCustomSrcEdit::LinesChanged);
  FOwnLines->OnStoreChanging = TNotifyEvent(this, &TCustomSrcEdit::LinesChanging);
  FOwnLines->OnLinesCleared = TNotifyEvent(this, &TCustomSrcEdit::ListCleared);
  FOwnLines->OnLinesDeleted = TStringListChangeEvent(this, &TCustomSrcEdit::ListDeleted);
  FOwnLines->OnLinesInserted = TStringListChangeEvent(this, &TCustomSrcEdit::ListInserted);
  FOwnLines->OnLinePut = TStringListChangeEvent(this, &TCustomSrcEdit::ListPutted);
  FSharedTextListener.OnStoreChange = TNotifyEvent(this, &TCustomSrcEdit::ChainLinesChanged);
  FSharedTextListener.OnStoreChanging = TNotifyEvent(this, &TCustomSrcEdit::ChainLinesChanging);
  FSharedTextListener.OnLinesCleared = TNotifyEvent(this, &TCustomSrcEdit::ChainListCleared);
  FSharedTextListener.OnLinesDeleted = TStringListChangeEvent(this, &TCustomSrcEdit::ChainListDeleted);
  FSharedTextListener.OnLinesInserted = TStringListChangeEvent(this, &TCustomSrcEdit::ChainListInserted);
  FSharedTextListener.OnLinePut = TStringListChangeEvent(this, &TCustomSrcEdit::ChainListPutted);

  FFontTemplate = std::make_unique<TFont>();

  FOwnUndoList = std::make_unique<TSrcEditUndoList>();
  FOwnUndoList->OnChangeRecorded = TNotifyEvent(this, &TCustomSrcEdit::UndoRedoAdded);
  FUndoList = FOwnUndoList.get();
  FOwnRedoList = std::make_unique<TSrcEditUndoList>();
  FOwnRedoList->OnChangeRecorded = TNotifyEvent(this, &TCustomSrcEdit::UndoRedoAdded);
  FRedoList = FOwnRedoList.get();
  SetListsGroupUndo();

  FSelectedColor = std::make_unique<TSrcSelectedColor>();
  FSelectedColor->OnChange = TNotifyEvent(this, &TCustomSrcEdit::SelectedColorsChanged);
  FBookMarkOptions = std::make_unique<TSrcBookMarkOpt>(this);
  FBookMarkOptions->OnChange = TNotifyEvent(this, &TCustomSrcEdit::BookMarkOptionsChanged);

  FGutter = std::make_unique<TSrcGutter>();
  FGutter->OnChange = TNotifyEvent(this, &TCustomSrcEdit::GutterChanged);
  FGutterWidth = FGutter->Width();
  FWordWrapGlyph = std::make_unique<TSrcGlyph>(HInstance, "SrcEditWrapped", clLime);
  FWordWrapGlyph->OnChange = TNotifyEvent(this, &TCustomSrcEdit::WordWrapGlyphChange);
  FTextOrigin = FGutterWidth + 2;

  TControlStyle style = ControlStyle();
  SetControlStyle(style.Include(csOpaque).Include(csSetCaption));
  SetBounds(Left(), Top(), 200, 150);
  SetCursor(crIBeam);
  SetColor(clWindow);

  FFontTemplate->SetName("Courier New");
  FFontTemplate->SetSize(10);
  FFontTemplate->SetCharset(DEFAULT_CHARSET);
  FTextDrawer = std::make_unique<TheTextDrawer>(TFontStyles{fsBold}, FFontTemplate.get());
  // The font's changes reach SrcFontChanged through FontChanged.
  Font().Assign(*FFontTemplate);

  SetParentFont(false);
  SetParentColor(false);
  SetTabStop(true);

  FKbdHandler = std::make_unique<TSrcEditKbdHandler>();
  FKeystrokes = std::make_unique<TSrcEditKeyStrokes>(this);
  FMarkList = std::make_unique<TSrcEditMarkList>(this);
  FMarkList->OnChange = TNotifyEvent(this, &TCustomSrcEdit::MarkListChange);
  SetDefaultKeystrokes();

  FScrollTimer = std::make_unique<TTimer>(nullptr);
  FScrollTimer->SetEnabled(false);
  FScrollTimer->SetInterval(100);
  FScrollTimer->OnTimer = TNotifyEvent(this, &TCustomSrcEdit::ScrollTimerHandler);

  SrcFontChanged(this);
}

TCustomSrcEdit::~TCustomSrcEdit() {
  // The highlighter outlives editors: it must not call this one again.
  SetHighlighter(nullptr);
  if (FSharedLinesSource || FLines != FOwnLines.get()) RemoveLinesPointer();
  // Editors sharing this one's text hear of its end while its store and
  // lists still exist; then the window goes.
  BeforeDestruction();
  DestroyHandle();
  FHookedCommandHandlers.Clear();
  while (!FPlugins.empty()) delete FPlugins.back();  // each leaves the list
  FWordWrapPlugin.reset();
  FMarkList.reset();
  FBookMarkOptions.reset();
  FKeystrokes.reset();
  FKbdHandler.reset();
  FFocusList.clear();
  FSelectedColor.reset();
  FOwnUndoList.reset();
  FOwnRedoList.reset();
  FGutter.reset();
  FWordWrapGlyph.reset();
  FTextDrawer.reset();
  FInternalImage.reset();
  FFontTemplate.reset();
  FOwnLines.reset();
}

void TCustomSrcEdit::Loaded() {
  TCustomControl::Loaded();
  GutterChanged(this);
  UpdateScrollBars();
}

void TCustomSrcEdit::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FSearchEngine) FSearchEngine = nullptr;
  if (component && component == FHighlighter) SetHighlighter(nullptr);
  if (component && component == FSharedLinesSource) RemoveLinesPointer();
  // Dropping the list repaints the gutter through BookMarkOptionsChanged.
  if (component && component == FBookMarkOptions->BookmarkImages()) FBookMarkOptions->SetBookmarkImages(nullptr);
}

// ---------------------------------------------------------------- window

void TCustomSrcEdit::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  // The editor keeps its text itself; the window has no caption.
  params.Caption.clear();
  params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
  if (FBorderStyle == bsSingle) params.Style |= WS_BORDER;
  params.Style |= WS_CLIPCHILDREN;
  if (NewStyleControls && Ctl3D() && FBorderStyle == bsSingle) {
    params.Style &= ~WS_BORDER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TCustomSrcEdit::CreateWnd() {
  TCustomControl::CreateWnd();
  if (FOptions.Contains(eoDropFiles) && !ComponentState().Contains(csDesigning)) DragAcceptFiles(*this, true);
  UpdateScrollBars();
}

void TCustomSrcEdit::DestroyWnd() {
  if (FOptions.Contains(eoDropFiles) && !ComponentState().Contains(csDesigning)) DragAcceptFiles(*this, false);
  TCustomControl::DestroyWnd();
}

// ---------------------------------------------------------------- paint lock and status

void TCustomSrcEdit::DecPaintLock() {
  if (FPaintLockCount == 0) return;
  if (--FPaintLockCount > 0 || !HandleAllocated()) return;
  if (FStateFlags.Contains(sfScrollbarChanged)) UpdateScrollBars();
  if (FWordWrapPlugin && (FPendingStatusChanges.Contains(scCaretX) || FPendingStatusChanges.Contains(scCaretY)))
    KeepWrappedCaretInRow();
  if (FStateFlags.Contains(sfCaretChanged)) UpdateCaret();
  if (!FPendingStatusChanges.Empty()) DoOnStatusChange(FPendingStatusChanges);
}

void TCustomSrcEdit::StatusChanged(TSrcStatusChanges changes) {
  FPendingStatusChanges = FPendingStatusChanges + changes;
  if (FPaintLockCount == 0) DoOnStatusChange(FPendingStatusChanges);
}

void TCustomSrcEdit::DoOnStatusChange(TSrcStatusChanges) {
  // Without a handler the changes wait for the next report.
  if (!OnStatusChange) return;
  OnStatusChange(this, FPendingStatusChanges);
  FPendingStatusChanges = {};
}

void TCustomSrcEdit::DoChange() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- font and gutter

void TCustomSrcEdit::SetFont(const TFont& value) {
  TTextMetric metric = FontMetrics().TextMetrics(value.LogFont());
  if (metric.tmAveCharWidth != metric.tmMaxCharWidth) {
    // The editor works in equal cells: a proportional font is asked for
    // again with a fixed pitch.
    FFontTemplate->SetColor(value.Color());
    FFontTemplate->SetPitch(fpFixed);
    FFontTemplate->SetSize(value.Size());
    FFontTemplate->SetStyle(value.Style());
    FFontTemplate->SetName(value.Name());
    Font().Assign(*FFontTemplate);
  } else {
    Font().Assign(value);
  }
  if (FGutter->ShowLineNumbers()) GutterChanged(this);
}

void TCustomSrcEdit::FontChanged() {
  TCustomControl::FontChanged();
  SrcFontChanged(this);
}

void TCustomSrcEdit::SrcFontChanged(TObject*) {
  RecalcCharExtent();
  SizeOrFontChanged(true);
}

void TCustomSrcEdit::SetExtraLineSpacing(int value) {
  FExtraLineSpacing = value;
  SrcFontChanged(this);
}

void TCustomSrcEdit::GutterChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  if (FGutter->ShowLineNumbers() && FGutter->AutoSize()) FGutter->AutoSizeDigitCount(FLines->Count());
  int charWidth = FCellWidth;
  if (FGutter->UseFontStyle()) {
    TDrawerFontSwap swap(*FTextDrawer, FGutter->Font(), Font());
    charWidth = FTextDrawer->GetCharWidth();
  }
  int width = FGutter->RealGutterWidth(charWidth);
  if (width == FGutterWidth)
    InvalidateGutter();
  else
    SetGutterWidth(width);
}

void TCustomSrcEdit::SetGutterWidth(int value) {
  value = std::max(value, 0);
  if (value == FGutterWidth) return;
  FGutterWidth = value;
  FTextOrigin = FGutterWidth - (FLeftChar - 1) * FCellWidth + 2;
  if (!HandleAllocated()) return;
  if (FCellWidth > 0) FColumnsInWindow = std::max(ClientWidth() - FGutterWidth - 2, 0) / FCellWidth;
  if (FWordWrapPlugin) FWordWrapPlugin->DisplayChanged();
  UpdateScrollBars();
  Invalidate();
}

// ---------------------------------------------------------------- properties

void TCustomSrcEdit::SetReadOnly(bool value) {
  if (FReadOnly == value) return;
  FReadOnly = value;
  StatusChanged({scReadOnly});
}

void TCustomSrcEdit::SetOptions(TSrcEditorOptions value) {
  if (value == FOptions) return;
  const bool dropFilesChanged = value.Contains(eoDropFiles) != FOptions.Contains(eoDropFiles);
  // The limits of the old options are applied before they change.
  if (!FOptions.Contains(eoScrollPastEol)) SetLeftChar(FLeftChar);
  if (!FOptions.Contains(eoScrollPastEof)) SetTopLine(FTopLine);
  bool scrollOptionsChanged = false;
  for (TSrcEditorOption option : {eoDisableScrollArrows, eoHideShowScrollbars, eoScrollPastEof, eoScrollPastEol})
    scrollOptionsChanged |= value.Contains(option) != FOptions.Contains(option);
  FOptions = value;
  SetListsGroupUndo();
  InternalSetCaretXY(CaretXY());
  if (FOptions.Contains(eoScrollPastEol)) {
    const TBufferCoord blockEnd = FBlockEnd;
    SetBlockBegin(FBlockBegin);
    SetBlockEnd(blockEnd);
  }
  if (dropFilesChanged && HandleAllocated() && !ComponentState().Contains(csDesigning))
    DragAcceptFiles(*this, FOptions.Contains(eoDropFiles));
  if (FOptions.Contains(eoShowSpecialChars) != FShowSpecialChars) {
    FShowSpecialChars = FOptions.Contains(eoShowSpecialChars);
    Invalidate();
  }
  if (scrollOptionsChanged) UpdateScrollBars();
}

// The undo limit keeps the steps Undo takes whole.
void TCustomSrcEdit::SetListsGroupUndo() {
  FOwnUndoList->SetGroupUndo(FOptions.Contains(eoGroupUndo));
  FOwnRedoList->SetGroupUndo(FOptions.Contains(eoGroupUndo));
}

void TCustomSrcEdit::SetActiveLineColor(TColor value) {
  if (FActiveLineColor == value) return;
  FActiveLineColor = value;
  InvalidateLine(FCaretY);
}

void TCustomSrcEdit::SetScrollBars(TScrollStyle value) {
  if (FScrollBars == value) return;
  FScrollBars = value;
  UpdateScrollBars();
  Invalidate();
}

void TCustomSrcEdit::SetAlwaysShowCaret(bool value) {
  if (FAlwaysShowCaret == value) return;
  FAlwaysShowCaret = value;
  // A focused editor has its caret anyway.
  if (ComponentState().Contains(csDestroying) || Focused()) return;
  if (value) {
    InitializeCaret();
  } else {
    HideCaret();
    if (CaretState().Owner == this) DestroyCaret();
  }
}

void TCustomSrcEdit::SetName(const std::string& name) {
  bool textFollows = ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading) &&
                     TrimRight(Text()) == Name();
  TCustomControl::SetName(name);
  if (textFollows) SetText(name);
}

// ---------------------------------------------------------------- key bindings

void TCustomSrcEdit::AddKey(TSrcEditorCommand command, uint16_t key1, TShiftState shift1, uint16_t key2,
                            TShiftState shift2) {
  TShortCut first = ShortCut(key1, shift1);
  if (first != scNone && FKeystrokes->FindShortcut2(first, ShortCut(key2, shift2)) >= 0)
    throw ESrcKeyError("Shortcut already exists");
  TSrcEditKeyStroke* stroke = FKeystrokes->Add();
  stroke->SetCommand(command);
  stroke->SetKey(key1);
  stroke->SetShift(shift1);
  stroke->SetKey2(key2);
  stroke->SetShift2(shift2);
}

void TCustomSrcEdit::SetDefaultKeystrokes() { FKeystrokes->ResetDefaults(); }

// ---------------------------------------------------------------- marks and plugins

bool TCustomSrcEdit::GetBookMark(int bookmark, int& x, int& y) const {
  for (int i = 0; i < FMarkList->Count(); ++i) {
    const TSrcEditMark* mark = FMarkList->Items(i);
    if (mark->IsBookmark() && mark->BookmarkNumber() == bookmark) {
      x = mark->Char();
      y = mark->Line();
      return true;
    }
  }
  return false;
}

bool TCustomSrcEdit::IsBookmark(int bookmark) const {
  int x = 0;
  int y = 0;
  return GetBookMark(bookmark, x, y);
}

void TCustomSrcEdit::MarkListChange(TObject*) { InvalidateGutter(); }

TSrcEditPlugin* TCustomSrcEdit::Plugins(int index) const {
  if (index < 0 || index >= PluginCount()) throw EListError(Format("List index out of bounds (%d)", index));
  return FPlugins[static_cast<size_t>(index)];
}

void TCustomSrcEdit::PluginsAfterPaint(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine) {
  // By index: a plugin may leave while it paints.
  for (size_t i = 0; i < FPlugins.size(); ++i) FPlugins[i]->AfterPaint(canvas, clip, firstLine, lastLine);
}

}  // namespace vk
