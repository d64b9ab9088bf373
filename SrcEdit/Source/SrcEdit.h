#pragma once
// The multi-line source editor control. TCustomSrcEdit holds the text (its
// own line store or one shared with another editor), the undo and redo
// history, caret and selection, view geometry and the option objects; its
// operations live in one implementation file per concern (SrcEdit.cpp for
// construction, properties and the paint lock, SrcEditSharing.cpp for text
// shared between editors, ...). TSrcEdit is the class every editor window
// instantiates.

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEditHighlighter.h"
#include "SrcEdit/Source/SrcEditKbdHandler.h"
#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "SrcEdit/Source/SrcEditMarks.h"
#include "SrcEdit/Source/SrcEditMiscClasses.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "SrcEdit/Source/SrcEditTypes.h"
#include "SrcEdit/Source/SrcEditUndoList.h"
#include "SrcEdit/Source/SrcTextDrawer.h"
#include "platform/Controls.h"
#include "platform/Timers.h"

namespace vk {

// The editor's own failures (clipboard operations).
class ESrcEditError : public Exception {
  using Exception::Exception;
};

// A broken precondition of the editor's operations: a fault of the caller.
class ESrcEditAssertion : public Exception {
public:
  ESrcEditAssertion() : Exception("Assertion failure") {}
};

enum TSrcStateFlag : uint8_t {
  sfCaretChanged,       // the caret is placed when the paint lock ends
  sfScrollbarChanged,   // the scroll bars are updated when the paint lock ends
  sfLinesChanging,      // the line store is changing: invalidations are gathered
  sfIgnoreNextChar,
  sfCaretVisible,
  sfDblClicked,
  sfPossibleGutterClick,
  sfWaitForDragging,
  sfGutterDragging
};
using TSrcStateFlags = TSet<TSrcStateFlag>;

enum TSrcEditCaretType : uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TScrollHintFormat : uint8_t { shfTopLineOnly, shfTopToBottom };
enum TTransientType : uint8_t { ttBefore, ttAfter };

// Events of the editor; Sender is the editor.
using TPlaceMarkEvent = TDelegate<void(TObject* Sender, TSrcEditMark*& Mark)>;
using TProcessCommandEvent = TDelegate<void(TObject* Sender, TSrcEditorCommand& Command, char& AChar, void* Data)>;
using TContextHelpEvent = TDelegate<void(TObject* Sender, const std::string& Word)>;
using TDropFilesEvent = TDelegate<void(TObject* Sender, int X, int Y, TStrings& AFiles)>;
using TGutterClickEvent =
    TDelegate<void(TObject* Sender, TMouseButton Button, int X, int Y, int Line, TSrcEditMark* Mark)>;
using TGutterGetTextEvent = TDelegate<void(TObject* Sender, int aLine, std::string& aText)>;
using TGutterPaintEvent = TDelegate<void(TObject* Sender, int aLine, int X, int Y)>;
using TPaintEvent = TDelegate<void(TObject* Sender, TCanvas& ACanvas)>;
using TReplaceTextEvent = TDelegate<void(TObject* Sender, const std::string& ASearch, const std::string& AReplace,
                                         int Line, int Column, TSrcReplaceAction& Action)>;
using TScrollEvent = TDelegate<void(TObject* Sender, TScrollBarKind ScrollBar)>;
using TSpecialLineColorsEvent =
    TDelegate<void(TObject* Sender, int Line, bool& Special, TColor& FG, TColor& BG)>;
using TStatusChangeEvent = TDelegate<void(TObject* Sender, TSrcStatusChanges Changes)>;
using TPaintTransient = TDelegate<void(TObject* Sender, TCanvas& Canvas, TTransientType TransientType)>;
using THookedCommandEvent =
    TDelegate<void(TObject* Sender, bool AfterProcessing, bool& Handled, TSrcEditorCommand& Command, char& AChar,
                   void* Data, void* HandlerData)>;

// A registered command hook: the handler and the data it is called with.
// Entries are the same when their handlers are.
struct THookedCommandHandlerEntry {
  THookedCommandEvent Event;
  void* Data = nullptr;
  bool operator==(const THookedCommandHandlerEntry& other) const { return Event == other.Event; }
};

// The mapping between lines and display rows while word wrap is on.
class ISrcEditBufferPlugin {
public:
  virtual ~ISrcEditBufferPlugin() = default;
  virtual TDisplayCoord BufferToDisplayPos(const TBufferCoord& pos) = 0;
  virtual TBufferCoord DisplayToBufferPos(const TDisplayCoord& pos) = 0;
  virtual int RowCount() = 0;
  virtual int GetRowLength(int row) = 0;
  // Each answers the change of the row count.
  virtual int LinesInserted(int index, int count) = 0;
  virtual int LinesDeleted(int index, int count) = 0;
  virtual int LinesPutted(int index, int count) = 0;
  virtual void DisplayChanged() = 0;
  virtual void Reset() = 0;
};

class TCustomSrcEdit : public TCustomControl {
public:
  explicit TCustomSrcEdit(TComponent* owner);
  ~TCustomSrcEdit() override;
  std::string ClassName() const override { return "TCustomSrcEdit"; }

  // ------------------------------------------------------------ text and history
  // The lines shown: the editor's own store, or another editor's while
  // the text is shared.
  TSrcEditStringList& Lines() const { return *FLines; }
  // Copies the lines into the store shown.
  void SetLines(const TStrings& value) { FLines->Assign(value); }
  TSrcEditUndoList& UndoList() const { return *FUndoList; }
  TSrcEditUndoList& RedoList() const { return *FRedoList; }
  bool Modified() const { return FModified; }
  int MaxUndo() const { return FUndoList->MaxUndoActions(); }
  // Both lists; a negative value is ignored.
  void SetMaxUndo(int value);
  // False on a read-only editor.
  bool CanUndo();
  bool CanRedo();
  // Both lists, undo list first.
  void LockUndo();
  void UnlockUndo();
  void ClearUndo();
  // The undo list's block (see TSrcEditUndoBlock).
  void BeginUndoBlock();
  void EndUndoBlock();

  // ------------------------------------------------------------ sharing the text
  // Shows the text of another editor (of the editor that owns it, when that
  // one shares a text itself) with its undo and redo lists, until
  // RemoveLinesPointer or until that editor is freed. Raises
  // ESrcEditAssertion while this editor already shares a text.
  void SetLinesPointer(TCustomSrcEdit* source);
  void RemoveLinesPointer();
  // The lower level: shows the store with the lists, listening to them
  // beside their owner. Raises ESrcEditAssertion while already sharing or
  // for the editor's own store.
  void HookTextBuffer(TSrcEditStringList& buffer, TSrcEditUndoList& undoList, TSrcEditUndoList& redoList);
  // Back to the own store and lists; nothing while on them. Raises
  // ESrcEditAssertion while the text comes from SetLinesPointer.
  void UnHookTextBuffer();
  TCustomSrcEdit* SharedLinesSource() const { return FSharedLinesSource; }

  // ------------------------------------------------------------ caret and selection
  int CaretX() const { return FCaretX; }
  int CaretY() const { return FCaretY; }
  TBufferCoord CaretXY() const { return {FCaretX, FCaretY}; }
  TSrcSelectionMode SelectionMode() const { return FSelectionMode; }
  TSrcSelectionMode ActiveSelectionMode() const { return FActiveSelectionMode; }

  // ------------------------------------------------------------ view geometry
  int TopLine() const { return FTopLine; }
  int LeftChar() const { return FLeftChar; }
  int CellWidth() const { return FCellWidth; }
  int RowHeight() const { return FRowHeight; }
  int ColumnsInWindow() const { return FColumnsInWindow; }
  int RowsInWindow() const { return FRowsInWindow; }
  // Pixels of the gutter; the text area starts 2 pixels to its right.
  int GutterWidth() const { return FGutterWidth; }
  // Negative values count as 0.
  void SetGutterWidth(int value);
  // Client x of display column 1.
  int TextOrigin() const { return FTextOrigin; }
  int MaxScrollWidth() const { return FMaxScrollWidth; }
  // Limited to 1..2147483646.
  void SetMaxScrollWidth(int value);

  // ------------------------------------------------------------ paint lock and status
  // Multi-step changes run inside the paint lock (TSrcPaintLock): scroll
  // bars, caret and status changes are only flagged and are done once when
  // the count returns to 0 with the window present. DecPaintLock at 0 does
  // nothing.
  void IncPaintLock() { ++FPaintLockCount; }
  void DecPaintLock();
  void BeginUpdate() { IncPaintLock(); }
  void EndUpdate() { DecPaintLock(); }
  int PaintLockCount() const { return FPaintLockCount; }
  TSrcStateFlags StateFlags() const { return FStateFlags; }
  // Adds the changes to the pending ones; outside the paint lock they are
  // reported at once.
  void StatusChanged(TSrcStatusChanges changes);
  TSrcStatusChanges PendingStatusChanges() const { return FPendingStatusChanges; }

  // ------------------------------------------------------------ font and gutter
  const TFont& GetFont() const { return Font(); }
  // A proportional font is replaced by a fixed-pitch one of the same name,
  // size, style and colour.
  void SetFont(const TFont& value);
  void SrcFontChanged(TObject* sender);
  int ExtraLineSpacing() const { return FExtraLineSpacing; }
  void SetExtraLineSpacing(int value);
  TSrcGutter& Gutter() const { return *FGutter; }
  void SetGutter(const TSrcGutter& value) { FGutter->Assign(value); }
  void GutterChanged(TObject* sender);

  // ------------------------------------------------------------ options and properties
  TSrcEditorOptions Options() const { return FOptions; }
  bool InsertMode() const { return FInsertMode; }
  virtual bool GetReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool value);
  bool ReadOnly() const { return GetReadOnly(); }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool HideSelection() const { return FHideSelection; }
  bool AlwaysShowCaret() const { return FAlwaysShowCaret; }
  void SetAlwaysShowCaret(bool value);
  int TabWidth() const { return FTabWidth; }
  int RightEdge() const { return FRightEdge; }
  TColor ActiveLineColor() const { return FActiveLineColor; }
  void SetActiveLineColor(TColor value);
  TColor RightEdgeColor() const { return FRightEdgeColor; }
  TColor ScrollHintColor() const { return FScrollHintColor; }
  void SetScrollHintColor(TColor value) { FScrollHintColor = value; }
  TScrollHintFormat ScrollHintFormat() const { return FScrollHintFormat; }
  void SetScrollHintFormat(TScrollHintFormat value) { FScrollHintFormat = value; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  TSrcEditCaretType InsertCaret() const { return FInsertCaret; }
  TSrcEditCaretType OverwriteCaret() const { return FOverwriteCaret; }
  bool WordWrap() const { return FWordWrapPlugin != nullptr; }
  TSrcSelectedColor& SelectedColor() const { return *FSelectedColor; }
  TSrcBookMarkOpt& BookMarkOptions() const { return *FBookMarkOptions; }
  TSrcGlyph& WordWrapGlyph() const { return *FWordWrapGlyph; }
  TSrcCustomHighlighter* Highlighter() const { return FHighlighter; }
  TSrcEditSearchCustom* SearchEngine() const { return FSearchEngine; }
  TheTextDrawer& TextDrawer() const { return *FTextDrawer; }
  // When being designed and not loading, a text equal to the old name
  // follows the new name.
  void SetName(const std::string& name) override;

  // ------------------------------------------------------------ keystrokes
  TSrcEditKeyStrokes& Keystrokes() const { return *FKeystrokes; }
  // Appends a binding; a (first, second) shortcut pair that is bound
  // already raises ESrcKeyError "Shortcut already exists" and leaves the
  // table as it was.
  void AddKey(TSrcEditorCommand command, uint16_t key1, TShiftState shift1, uint16_t key2 = 0,
              TShiftState shift2 = {});
  virtual void SetDefaultKeystrokes();

  // ------------------------------------------------------------ marks and plugins
  TSrcEditMarkList& Marks() const { return *FMarkList; }
  // The first bookmark of that number in the mark list: its column and line.
  bool GetBookMark(int bookmark, int& x, int& y) const;
  bool IsBookmark(int bookmark) const;
  void MarkListChange(TObject* sender);
  int PluginCount() const { return static_cast<int>(FPlugins.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..PluginCount-1.
  TSrcEditPlugin* Plugins(int index) const;
  // AfterPaint of every plugin in the order they joined.
  void PluginsAfterPaint(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine);

  // ------------------------------------------------------------ events
  TNotifyEvent OnChange;
  TPlaceMarkEvent OnClearBookmark;
  TProcessCommandEvent OnCommandProcessed;
  TContextHelpEvent OnContextHelp;
  TDropFilesEvent OnDropFiles;
  TGutterClickEvent OnGutterClick;
  TGutterGetTextEvent OnGutterGetText;
  TGutterPaintEvent OnGutterPaint;
  TMouseCursorEvent OnMouseCursor;
  TPaintEvent OnPaint;
  TPlaceMarkEvent OnPlaceBookmark;
  TProcessCommandEvent OnProcessCommand;
  TProcessCommandEvent OnProcessUserCommand;
  TReplaceTextEvent OnReplaceText;
  TScrollEvent OnScroll;
  TSpecialLineColorsEvent OnSpecialLineColors;
  TStatusChangeEvent OnStatusChange;
  TPaintTransient OnPaintTransient;

  void Loaded() override;

protected:
  // ------------------------------------------------------------ notifications
  virtual void DoOnStatusChange(TSrcStatusChanges changes);
  virtual void DoChange();
  void Notification(TComponent* component, TOperation operation) override;
  void FontChanged() override;

  // ------------------------------------------------------------ window
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

  // ------------------------------------------------------------ line-store events
  void ListCleared(TObject* sender);
  void ListDeleted(TObject* sender, int index, int count);
  void ListInserted(TObject* sender, int index, int count);
  void ListPutted(TObject* sender, int index, int count);
  void LinesChanging(TObject* sender);
  virtual void LinesChanged(TObject* sender);
  void UndoRedoAdded(TObject* sender);

  // ------------------------------------------------------------ sharing the text
  void LinesHookChanged();
  void ChainListCleared(TObject* sender);
  void ChainListDeleted(TObject* sender, int index, int count);
  void ChainListInserted(TObject* sender, int index, int count);
  void ChainListPutted(TObject* sender, int index, int count);
  void ChainLinesChanging(TObject* sender);
  void ChainLinesChanged(TObject* sender);
  void ChainUndoRedoAdded(TObject* sender);

  // ------------------------------------------------------------ view geometry
  void RecalcCharExtent();
  void SizeOrFontChanged(bool fontChanged);
  void UpdateScrollBars();
  // Creates the caret in the shape of the insert or overwrite caret when
  // the editor is focused or always shows its caret.
  void InitializeCaret();
  void UpdateCaret();
  void HideCaret();

  // ------------------------------------------------------------ invalidation
  // Lines are 1-based; (-1, -1) means all of the text area or gutter.
  void InvalidateLine(int line);
  void InvalidateLines(int firstLine, int lastLine);
  void InvalidateGutterLines(int firstLine, int lastLine);
  void InvalidateGutter() { InvalidateGutterLines(-1, -1); }
  void InvalidateSelection() { InvalidateLines(FBlockBegin.Line, FBlockEnd.Line); }
  void SelectedColorsChanged(TObject* sender);
  void BookMarkOptionsChanged(TObject* sender);
  void WordWrapGlyphChange(TObject* sender);

private:
  friend class TSrcEditPlugin;

  // Invalidates the rectangle, or gathers it while the line store changes.
  void InvalidateArea(const TRect& rect);
  // The rows of the lines first..last inside the window, from x left to
  // right; (-1, -1) means every row.
  void InvalidateRows(int firstLine, int lastLine, int left, int right);

  // ------------------------------------------------------------ fields: text and history
  TSrcEditStringList* FLines;
  std::unique_ptr<TSrcEditStringList> FOwnLines;
  TSrcEditUndoList* FUndoList;
  TSrcEditUndoList* FRedoList;
  std::unique_ptr<TSrcEditUndoList> FOwnUndoList;
  std::unique_ptr<TSrcEditUndoList> FOwnRedoList;
  TCustomSrcEdit* FSharedLinesSource = nullptr;
  // What this editor listens with while it shows another editor's store.
  TSrcEditStringsListener FSharedTextListener;

  // ------------------------------------------------------------ fields: caret and selection
  int FCaretX = 1;
  int FCaretY = 1;
  int FLastCaretX = 1;
  bool FCaretStepAside = false;
  bool FCaretAtRowEnd = false;
  TBufferCoord FBlockBegin{1, 1};
  TBufferCoord FBlockEnd{1, 1};
  TSrcSelectionMode FSelectionMode = smNormal;
  TSrcSelectionMode FActiveSelectionMode = smNormal;

  // ------------------------------------------------------------ fields: view geometry
  int FTopLine = 1;
  int FLeftChar = 1;
  int FColumnsInWindow = 0;
  int FRowsInWindow = 0;
  int FCellWidth = 0;
  int FRowHeight = 0;
  int FGutterWidth = 0;
  int FTextOrigin = 0;
  int FMaxScrollWidth = 1024;
  TRect FPendingInvalidRect;
  int FScrollDeltaX = 0;
  int FScrollDeltaY = 0;

  // ------------------------------------------------------------ fields: control state
  int FPaintLockCount = 0;
  TSrcStateFlags FStateFlags;
  TSrcStatusChanges FPendingStatusChanges;
  TSrcEditorOptions FOptions = TSrcEditorOptions::FromMask(SRCEDIT_DEFAULT_OPTIONS);
  bool FInsertMode = true;
  bool FReadOnly = false;
  bool FModified = false;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FHideSelection = false;
  bool FAlwaysShowCaret = false;
  int FTabWidth = 8;
  int FRightEdge = 80;
  int FExtraLineSpacing = 0;
  TColor FActiveLineColor = clNone;
  TColor FRightEdgeColor = clSilver;
  TColor FScrollHintColor = clInfoBk;
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  TSrcEditCaretType FInsertCaret = ctVerticalLine;
  TSrcEditCaretType FOverwriteCaret = ctBlock;
  TScrollHintFormat FScrollHintFormat = shfTopLineOnly;
  // The first stroke of a two-stroke chord (key 0: none).
  uint16_t FLastKey = 0;
  TShiftState FLastShiftState;
  // Wheel delta not yet turned into lines.
  int FMouseWheelAccumulator = 0;
  // Characters still to be ignored after an input-method result.
  int FImeCount = 0;
  // Pixel offset of the system caret from its cell's top left.
  TPoint FCaretOffset;
  // While the user drags a scroll-bar thumb.
  bool FIsScrolling = false;
  // The mouse-down point, kept while a selection may be dragged.
  TPoint FMouseDownPoint;
  // Nesting of the locked transient-paint notices.
  int FPaintTransientLock = 0;
  // Whether special characters are drawn now.
  bool FShowSpecialChars = false;

  // ------------------------------------------------------------ fields: owned objects
  std::unique_ptr<TFont> FFontTemplate;
  std::unique_ptr<TheTextDrawer> FTextDrawer;
  std::unique_ptr<TSrcSelectedColor> FSelectedColor;
  std::unique_ptr<TSrcGutter> FGutter;
  std::unique_ptr<TSrcBookMarkOpt> FBookMarkOptions;
  std::unique_ptr<TSrcGlyph> FWordWrapGlyph;
  std::unique_ptr<TSrcEditKeyStrokes> FKeystrokes;
  std::unique_ptr<TSrcEditMarkList> FMarkList;
  std::array<TSrcEditMark*, 10> FBookMarks{};  // in FMarkList, or nullptr
  std::unique_ptr<TSrcEditKbdHandler> FKbdHandler;
  std::vector<TWinControl*> FFocusList;
  std::vector<THookedCommandHandlerEntry> FHookedCommandHandlers;
  // Plugins join and leave themselves; those still here are freed with the editor.
  std::vector<TSrcEditPlugin*> FPlugins;
  std::unique_ptr<TTimer> FScrollTimer;
  std::unique_ptr<TSrcInternalImage> FInternalImage;
  std::unique_ptr<ISrcEditBufferPlugin> FWordWrapPlugin;
  // Not owned.
  TSrcCustomHighlighter* FHighlighter = nullptr;
  TSrcEditSearchCustom* FSearchEngine = nullptr;
};

// The editor every window instantiates.
class TSrcEdit : public TCustomSrcEdit {
public:
  using TCustomSrcEdit::TCustomSrcEdit;
  std::string ClassName() const override { return "TSrcEdit"; }
};

// Scope guards: each releases what it took when the scope ends, also when
// an exception passes. While one exception is already on its way, a second
// one raised by the release is dropped, so the first reaches the caller.
class TSrcPaintLock {
public:
  explicit TSrcPaintLock(TCustomSrcEdit& edit) : FEdit(edit) { FEdit.IncPaintLock(); }
  ~TSrcPaintLock() noexcept(false);
  TSrcPaintLock(const TSrcPaintLock&) = delete;
  TSrcPaintLock& operator=(const TSrcPaintLock&) = delete;

private:
  TCustomSrcEdit& FEdit;
  int FUncaught = std::uncaught_exceptions();
};

// The editor's undo block: on the undo list in use when it began.
class TSrcEditUndoBlock {
public:
  explicit TSrcEditUndoBlock(TCustomSrcEdit& edit) : FBlock(edit.UndoList()) {}

private:
  TSrcUndoBlock FBlock;
};

// Both undo lists locked (no recording) for the scope.
class TSrcUndoLock {
public:
  explicit TSrcUndoLock(TCustomSrcEdit& edit) : FEdit(edit) { FEdit.LockUndo(); }
  ~TSrcUndoLock() { FEdit.UnlockUndo(); }
  TSrcUndoLock(const TSrcUndoLock&) = delete;
  TSrcUndoLock& operator=(const TSrcUndoLock&) = delete;

private:
  TCustomSrcEdit& FEdit;
};

}  // namespace vk
