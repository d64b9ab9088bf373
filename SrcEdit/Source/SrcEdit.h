#pragma once
// The multi-line source editor control. TCustomSrcEdit holds the text (its
// own line store or one shared with another editor), the undo and redo
// history, caret and selection, view geometry and the option objects; its
// operations live in one implementation file per concern: SrcEdit.cpp
// (construction, properties, the paint lock), SrcEditSharing.cpp (text
// shared between editors), SrcEditCaret.cpp (caret, selection, coordinate
// mapping, words), SrcEditSelText.cpp (text replacement, clipboard),
// SrcEditLineEvents.cpp (line-store events, range scanning),
// SrcEditScroll.cpp (view geometry, scrolling, the system caret),
// SrcEditMarks.cpp (marks, bookmarks, plugins), SrcEditPaint.cpp
// (painting, invalidation), SrcEditUndo.cpp (the history lists, undo and
// redo), SrcEditCommands.cpp (the command processor), SrcEditTyping.cpp
// (typing and deleting), SrcEditEditing.cpp (caret moves, Tab, indent, case,
// brackets), SrcEditInput.cpp (window messages, keys, mouse, drag and
// drop). TSrcEdit is the class every editor window instantiates.

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "SrcEdit/Source/SrcEditEditedLines.h"
#include "SrcEdit/Source/SrcEditHighlighter.h"
#include "SrcEdit/Source/SrcEditKbdHandler.h"
#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "SrcEdit/Source/SrcEditMarks.h"
#include "SrcEdit/Source/SrcEditMiscClasses.h"
#include "SrcEdit/Source/SrcEditScanPoints.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "SrcEdit/Source/SrcEditTypes.h"
#include "SrcEdit/Source/SrcEditUndoList.h"
#include "SrcEdit/Source/SrcTextDrawer.h"
#include "platform/Clipboard.h"
#include "platform/Controls.h"
#include "platform/ScopeGuard.h"
#include "platform/StandardActions.h"
#include "platform/Timers.h"

namespace vk {

// Where a replacement put its text: from Begin to End, the end of the
// inserted characters (the caret may not reach it: a line longer than the
// scroll width, a lead byte before the next character).
struct TInsertedRange {
  TBufferCoord Begin;
  TBufferCoord End;
};

// How inserted text's line breaks (CR, LF, CR LF) go into the text.
enum TSrcTextBreaks : uint8_t {
  // Typed, pasted or put by a program: each is one break of the style of
  // the line it splits (TSrcEditStringList::SplitBreak).
  tbLineStyle,
  // Taken from this text (undo and redo, a change of case): each keeps its
  // bytes, CR LF being one break.
  tbKept
};

// The editor's own failures (clipboard operations).
class ESrcEditError : public Exception {
  using Exception::Exception;
};

// A broken precondition of the editor's operations: a fault of the caller.
class ESrcEditAssertion : public EAssertionFailed {};

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

// What a command carries besides its character: the position of ecGotoXY,
// ecSelGotoXY and ecSetMarker0..9, the composed string of ecImeStr, or
// nothing. A command that needs data and has none is refused.
using TSrcCommandData = std::variant<std::monostate, TBufferCoord, std::string>;

// Events of the editor; Sender is the editor.
using TPlaceMarkEvent = TDelegate<void(TObject* Sender, TSrcEditMark*& Mark)>;
using TProcessCommandEvent =
    TDelegate<void(TObject* Sender, TSrcEditorCommand& Command, char& AChar, const TSrcCommandData& Data)>;
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
using TPasteReplacedEvent = TDelegate<void(TObject* Sender, int Count)>;
using TPaintTransient = TDelegate<void(TObject* Sender, TCanvas& Canvas, TTransientType TransientType)>;
using THookedCommandEvent =
    TDelegate<void(TObject* Sender, bool AfterProcessing, bool& Handled, TSrcEditorCommand& Command, char& AChar,
                   const TSrcCommandData& Data, void* HandlerData)>;

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

// The standard edit actions (cut, copy, paste, select all, undo) work on
// the focused editor.
class TCustomSrcEdit : public TCustomControl, public TEditActionTarget {
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
  // The number of undo (and redo) steps kept, a step being what one Undo
  // takes back (see TSrcEditUndoList::MaxUndoActions).
  int MaxUndo() const { return FUndoList->MaxUndoActions(); }
  // Both lists; a negative value is ignored.
  void SetMaxUndo(int value);
  // False on a read-only editor.
  bool CanUndo() const override;
  bool CanRedo() const;
  // Both lists, undo list first.
  void LockUndo();
  void UnlockUndo();
  void ClearUndo();
  // The undo list's block (see TSrcEditUndoBlock).
  void BeginUndoBlock();
  void EndUndoBlock();
  // Undo / redo the last group of changes; nothing on a read-only editor.
  void Undo() override;
  void Redo();
  // False marks the text as saved (the undo list's saved state).
  void SetModified(bool value);
  // Puts a removed column of text back: caret and selection begin..end in
  // column mode, the selection replaced by text (recorded when
  // addToUndoList).
  void InsertBlock(const TBufferCoord& blockBegin, const TBufferCoord& blockEnd, std::string_view text,
                   bool addToUndoList);
  // Puts back the rows of a deleted column block whose corners were start
  // and end.
  void RestoreColumnBlock(const TBufferCoord& start, const TBufferCoord& end, std::string_view text);

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

  // ------------------------------------------------------------ caret
  int CaretX() const { return FCaretX; }
  int CaretY() const { return FCaretY; }
  TBufferCoord CaretXY() const { return {FCaretX, FCaretY}; }
  // Move the caret and collapse the selection onto it.
  void SetCaretX(int value) { SetCaretXY({value, FCaretY}); }
  void SetCaretY(int value) { SetCaretXY({FCaretX, value}); }
  virtual void SetCaretXY(const TBufferCoord& value);
  // Move the caret and leave the selection.
  void InternalSetCaretX(int value) { InternalSetCaretXY({value, FCaretY}); }
  void InternalSetCaretY(int value) { InternalSetCaretXY({FCaretX, value}); }
  virtual void InternalSetCaretXY(const TBufferCoord& value) { SetCaretXYEx(true, value); }
  // The move both use: the position is clamped to the text (and to the
  // line's end without eoScrollPastEol); ensureVisible scrolls to it.
  virtual void SetCaretXYEx(bool ensureVisible, TBufferCoord value);
  // The display column kept for vertical moves.
  int LastCaretX() const { return FLastCaretX; }
  void UpdateLastCaretX();
  // The caret's display position.
  TDisplayCoord DisplayXY();
  int DisplayX() { return DisplayXY().Column; }
  int DisplayY();
  void SetInternalDisplayXY(const TDisplayCoord& pos);
  // Places the caret at the character nearest to the client pixel.
  void ComputeCaret(int x, int y);
  bool CaretInView();
  // Client pixel of the caret's cell (one pixel below its top).
  int CaretXPix();
  int CaretYPix();

  // ------------------------------------------------------------ selection
  // The selection's ends in text order (the anchor may be either).
  TBufferCoord BlockBegin() const;
  TBufferCoord BlockEnd() const;
  // The display columns a column selection spans, left..right-1.
  void ColumnBlockColumns(int& left, int& right) const;
  // Collapses the selection onto the (clamped) point: the anchor of a new
  // selection.
  void SetBlockBegin(TBufferCoord value);
  // Moves the selection's moving end.
  void SetBlockEnd(TBufferCoord value);
  // Caret, anchor and moving end in one step; the active selection mode is
  // kept.
  void SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& blockBegin, const TBufferCoord& blockEnd);
  bool SelAvail() const;
  bool SelTabBlock() const;
  bool SelTabLine() const;
  TSrcSelectionMode SelectionMode() const { return FSelectionMode; }
  void SetSelectionMode(TSrcSelectionMode value);
  TSrcSelectionMode ActiveSelectionMode() const { return FActiveSelectionMode; }
  void SetActiveSelectionMode(TSrcSelectionMode value);
  // The selected text, lines separated by CR LF.
  std::string SelText() const;
  // Flat character indexes: every line break counts as two characters.
  int SelStart() const;
  void SetSelStart(int value);
  int SelEnd() const;
  void SetSelEnd(int value);
  // Counts only the selected lines.
  int SelLength() const override;
  // Stops counting as soon as the length is known to be positive.
  bool HasSelectedText() const override;
  void SetSelLength(int value);
  void SelectAll() override;
  // Selects the word at the caret (SetWordBlock).
  void SetSelWord() { SetWordBlock(CaretXY()); }
  void SetWordBlock(TBufferCoord value);

  // ------------------------------------------------------------ coordinates
  TDisplayCoord PixelsToRowColumn(int x, int y) const;
  // The cell boundary nearest to the pixel, inside the rows of the window.
  TDisplayCoord PixelsToNearestRowColumn(int x, int y) const;
  TPoint RowColumnToPixels(const TDisplayCoord& rowCol) const;
  // One pixel lower: where the IDE places its dialogs.
  TPoint RowColumnToPixelsHk(const TDisplayCoord& rowCol) const;
  // Tab expansion only: X a character column, Y a line. A line outside
  // the text is returned unchanged.
  TPoint LogicalToPhysicalPos(const TPoint& p) const;
  TDisplayCoord BufferToDisplayPos(const TBufferCoord& p) const;
  // Every display column inside a TAB's cells maps to the TAB; a column
  // on the second byte of a double-byte character moves past it.
  TBufferCoord DisplayToBufferPos(const TDisplayCoord& p) const;
  int LineToRow(int line) const;
  int RowToLine(int row) const;
  int GetDisplayLineCount() const;
  // With word wrap: the number of characters a display row shows.
  int RowLength(int row) const;
  TBufferCoord CharIndexToRowCol(int index) const;
  int RowColToCharIndex(const TBufferCoord& p) const;

  // ------------------------------------------------------------ words
  virtual TBufferCoord NextWordPosEx(const TBufferCoord& xy);
  virtual TBufferCoord WordStartEx(const TBufferCoord& xy);
  virtual TBufferCoord WordEndEx(const TBufferCoord& xy);
  virtual TBufferCoord PrevWordPosEx(const TBufferCoord& xy);
  // The identifier at the position; "" when there is none.
  std::string GetWordAtRowCol(const TBufferCoord& xy) const;
  // The characters of words (the highlighter's identifier characters
  // without its word-break characters) and all others but NUL.
  void PrepareIdentChars(TSrcIdentChars& identChars, TSrcIdentChars& whiteChars) const;
  // The highlighter's identifier characters; without one, every character
  // but the control characters and the blank. Word wrap ends rows after
  // any other character.
  TSrcIdentChars IdentChars() const;

  // ------------------------------------------------------------ text replacement
  // Replaces the selection (deleted in the active selection mode) by value
  // inserted in pasteMode; CR, LF and CR LF each break a line, as breaks
  // says. Only column insertion records undo entries itself (with
  // addToUndoList). Returns where the inserted text begins, with the
  // blanks that filled the line up to a caret beyond its end, and where it
  // ends.
  TInsertedRange SetSelTextPrimitiveEx(TSrcSelectionMode pasteMode, std::string_view value, bool addToUndoList,
                                       TSrcTextBreaks breaks = tbLineStyle);
  TInsertedRange SetSelTextPrimitive(std::string_view value) {
    return SetSelTextPrimitiveEx(FActiveSelectionMode, value, true);
  }
  // The undoable replacement of the selection; value's line breaks as
  // breaks says (tbKept: bytes read from a file, each break as it is).
  void SetSelText(std::string_view value, TSrcTextBreaks breaks = tbLineStyle);
  // The program's own change between two buffer positions: replaces the
  // running text from..to (in text order) by value as one undo step, in
  // normal mode whatever the selection mode, which stays as chosen. A
  // position inside a line stands where it is however long the line (with
  // eoScrollPastEol the scroll width bounds only the user's caret and
  // selection). The caret ends after the new text.
  void ReplaceRange(const TBufferCoord& from, const TBufferCoord& to, std::string_view value,
                    TSrcTextBreaks breaks = tbLineStyle);
  // The whole text, lines joined with CR LF; setting it replaces every
  // line and records nothing for undo.
  std::string SrcGetText() const { return FLines->GetTextStr(); }
  void SrcSetText(const std::string& value) { FLines->SetTextStr(value); }
  // The caret line; no undo entry.
  std::string LineText() const;
  void SetLineText(const std::string& value);
  // Stores the line (0-based index), without trailing blanks under
  // eoTrimTrailingSpaces.
  // With eoTrimTrailingSpaces the line's trailing blanks go: at once
  // outside an edit, at the end of the outermost edit inside one.
  void ProperSetLine(int index, const std::string& text);
  // The rows inserted as lines at index (0-based) under the same rule.
  void ProperInsertRows(int index, std::span<TSrcTextRow> rows);
  // An edit of the text (see TSrcEditScope).
  void BeginEdit();
  void EndEdit();
  // Empties text, marks and history.
  void ClearAll();
  void Clear() { ClearAll(); }
  void ClearSelection();

  // ------------------------------------------------------------ clipboard
  // Copy failures raise ESrcEditError "Clipboard copy operation failed";
  // a private block that cannot be read raises "Clipboard paste operation
  // failed.". A paste of another program's text that held characters the
  // code page has no form for (each pasted as '?') tells OnPasteReplaced
  // how many, once it is done.
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  // Puts the text as plain text and, with the selection mode, in the
  // editor's private format.
  void DoCopyToClipboard(const std::string& text);
  bool CanPaste() const;

  // ------------------------------------------------------------ search and replace
  // Walks the lines of the scope (the selection with ssoSelectedOnly, else
  // the text, from the caret unless ssoEntireScope) and asks the search
  // engine for the matches of each; every match in scope is selected and
  // counted. A plain search stops at the first; a replace replaces it (with
  // ssoPrompt asking OnReplaceText first), a replace-all goes on to the
  // end, as one undo step. A read-only editor is never changed. Raises
  // ESrcEditError "No search engine has been assigned".
  int SearchReplace(const std::string& search, const std::string& replace, TSrcSearchOptions options);

  // ------------------------------------------------------------ view geometry
  int TopLine() const { return FTopLine; }
  // Limited to 1 .. the last row (minus a window without eoScrollPastEof).
  void SetTopLine(int value);
  int LeftChar() const { return FLeftChar; }
  // Limited to 1 .. the longest line (or the scroll width) minus a window.
  void SetLeftChar(int value);
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
  void EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false); }
  // Scrolls the caret into view; forceToMiddle centres its row.
  void EnsureCursorPosVisibleEx(bool forceToMiddle);
  // The drag-scroll step for a mouse position outside the text area; runs
  // the drag-scroll timer while the step is not zero.
  void ComputeScroll(int x, int y);
  // While the user drags a scroll-bar thumb.
  bool IsScrolling() const { return FIsScrolling; }
  // Runs while the mouse drags beyond the text area (ComputeScroll).
  const TTimer& ScrollTimer() const { return *FScrollTimer; }

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
  void SetOptions(TSrcEditorOptions value);
  bool InsertMode() const { return FInsertMode; }
  void SetInsertMode(bool value);
  virtual bool GetReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool value);
  bool ReadOnly() const { return GetReadOnly(); }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool AlwaysShowCaret() const { return FAlwaysShowCaret; }
  void SetAlwaysShowCaret(bool value);
  int TabWidth() const { return FTabWidth; }
  // Limited to 1..256; the line store expands with it too.
  void SetTabWidth(int value);
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
  void SetBorderStyle(TBorderStyle value);
  TSrcEditCaretType InsertCaret() const { return FInsertCaret; }
  void SetInsertCaret(TSrcEditCaretType value);
  TSrcEditCaretType OverwriteCaret() const { return FOverwriteCaret; }
  void SetOverwriteCaret(TSrcEditCaretType value);
  bool WordWrap() const { return FWordWrapPlugin != nullptr; }
  bool GetWordWrap() const { return WordWrap(); }
  // The row mapping while word wrap is on, else nullptr.
  ISrcEditBufferPlugin* WordWrapPlugin() const { return FWordWrapPlugin.get(); }
  // On: a wrap plugin maps lines to rows as wide as the text area; the
  // line at the top stays at the top and a visible caret stays visible.
  void SetWordWrap(bool value);
  TSrcSelectedColor& SelectedColor() const { return *FSelectedColor; }
  TSrcBookMarkOpt& BookMarkOptions() const { return *FBookMarkOptions; }
  TSrcGlyph& WordWrapGlyph() const { return *FWordWrapGlyph; }
  TSrcCustomHighlighter* Highlighter() const { return FHighlighter; }
  // Hooks the highlighter's attribute changes and rescans every line.
  void SetHighlighter(TSrcCustomHighlighter* value);
  TSrcEditSearchCustom* SearchEngine() const { return FSearchEngine; }
  // Not owned: the editor forgets the engine when it is freed.
  void SetSearchEngine(TSrcEditSearchCustom* value);
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
  // Bookmarks 0..9; other numbers, and lines outside the text, are ignored.
  void SetBookMark(int bookmark, int x, int y);
  void GotoBookMark(int bookmark);
  void ClearBookMark(int bookmark);
  // Caret to column 1 of the line, its row centred.
  void GotoLineAndCenter(int line);
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
  TPasteReplacedEvent OnPasteReplaced;

  void Loaded() override;
  void WndProc(TMessage& message) override;

  // ------------------------------------------------------------ line shifts
  // Told by the editing operations, not by the line store: marks and
  // plugins follow lines inserted or deleted at firstLine (1-based). The
  // deleted lines are the count after firstLine: a line joined onto the one
  // above is deleted after that line, and its marks move onto it.
  void DoLinesDeleted(int firstLine, int count);
  void DoLinesInserted(int firstLine, int count);

  // ------------------------------------------------------------ range scanning
  // Rescans the highlighter ranges from the line (0-based) until a line
  // ends in the state stored for it; answers the last line looked at.
  int ScanFrom(int index);
  void ScanRanges();
  // Names the highlighter's ranges in the line store as they stand: every
  // full scan gives a new one. 0 when no highlighter scanned them alone
  // (none, or a store shared with other editors).
  uint64_t RangesStamp() const;

  // ------------------------------------------------------------ commands
  // The one entry of every user-visible change and caret movement: the
  // events and hooked handlers may change or swallow the command (command
  // 0), commands below ecUserFirst are executed, then OnCommandProcessed
  // hears of it in every case.
  virtual void CommandProcessor(TSrcEditorCommand command, char aChar, const TSrcCommandData& data = {});
  // Handlers are called in the order they registered; registering a handler
  // again keeps its first entry and data.
  void RegisterCommandHandler(const THookedCommandEvent& handler, void* handlerData);
  void UnregisterCommandHandler(const THookedCommandEvent& handler);
  int GetHookedCommandHandlersCount() const { return FHookedCommandHandlers.Count(); }
  void AddKeyDownHandler(const TKeyEvent& handler) { FKbdHandler->AddKeyDownHandler(handler); }
  void RemoveKeyDownHandler(const TKeyEvent& handler) { FKbdHandler->RemoveKeyDownHandler(handler); }
  void AddKeyUpHandler(const TKeyEvent& handler) { FKbdHandler->AddKeyUpHandler(handler); }
  void RemoveKeyUpHandler(const TKeyEvent& handler) { FKbdHandler->RemoveKeyUpHandler(handler); }
  void AddKeyPressHandler(const TKeyPressEvent& handler) { FKbdHandler->AddKeyPressHandler(handler); }
  void RemoveKeyPressHandler(const TKeyPressEvent& handler) { FKbdHandler->RemoveKeyPressHandler(handler); }
  void AddMouseDownHandler(const TMouseEvent& handler) { FKbdHandler->AddMouseDownHandler(handler); }
  void RemoveMouseDownHandler(const TMouseEvent& handler) { FKbdHandler->RemoveMouseDownHandler(handler); }
  void AddMouseUpHandler(const TMouseEvent& handler) { FKbdHandler->AddMouseUpHandler(handler); }
  void RemoveMouseUpHandler(const TMouseEvent& handler) { FKbdHandler->RemoveMouseUpHandler(handler); }
  void AddMouseCursorHandler(const TMouseCursorEvent& handler) { FKbdHandler->AddMouseCursorHandler(handler); }
  void RemoveMouseCursorHandler(const TMouseCursorEvent& handler) {
    FKbdHandler->RemoveMouseCursorHandler(handler);
  }
  // Controls that take the focus in the editor's place (the last added).
  void AddFocusControl(TWinControl* control);
  void RemoveFocusControl(TWinControl* control);

  // ------------------------------------------------------------ editing operations
  // Caret moves, extending the selection with extend.
  void MoveCaretHorz(int dx, bool extend);
  void MoveCaretVert(int dy, bool extend);
  void MoveCaretAndSelection(const TBufferCoord& before, TBufferCoord after, bool extend);
  void DoHomeKey(bool extend);
  void DoEndKey(bool extend);
  void DoTabKey();
  void DoShiftTabKey();
  void DoBlockIndent();
  void DoBlockUnindent();
  // ecUpperCase..ecToggleCaseBlock.
  void DoCaseChange(TSrcEditorCommand command);
  virtual void FindMatchingBracket();
  virtual TBufferCoord GetMatchingBracket();
  // The bracket matching the one at the position; (0, 0) when none.
  virtual TBufferCoord GetMatchingBracketEx(const TBufferCoord& position);
  // The token of the highlighter that covers the position.
  bool GetHighlighterAttriAtRowCol(const TBufferCoord& position, std::string& token,
                                   TSrcHighlighterAttributes*& attri);
  bool GetHighlighterAttriAtRowColEx(const TBufferCoord& position, std::string& token, int& tokenKind, int& start,
                                     TSrcHighlighterAttributes*& attri);
  // Word positions at the caret.
  virtual TBufferCoord NextWordPos() { return NextWordPosEx(CaretXY()); }
  virtual TBufferCoord WordStart() { return WordStartEx(CaretXY()); }
  virtual TBufferCoord WordEnd() { return WordEndEx(CaretXY()); }
  virtual TBufferCoord PrevWordPos() { return PrevWordPosEx(CaretXY()); }
  // Leading blanks of a line for automatic indentation (0 without
  // eoAutoIndent); a TAB counts TabWidth with tabsWide.
  int LeftSpaces(const std::string& line) const { return LeftSpacesEx(line, false); }
  int LeftSpacesEx(const std::string& line, bool tabsWide) const;
  // count blanks, or TABs and blanks when tabs are allowed and eoTabsToSpaces
  // is off.
  std::string GetLeftSpacing(int count, bool tabsAllowed) const;

  // ------------------------------------------------------------ input
  // The buffer position under the mouse pointer; false outside the control.
  bool GetPositionOfMouse(TBufferCoord& position);
  std::string GetWordAtMouse();
  std::string GetWordAtCursor();
  bool IsPointInSelection(const TBufferCoord& position) const;
  // The command of a key stroke (or of a two-stroke chord with the stroke
  // before); an unbound stroke may start a chord.
  TSrcEditorCommand TranslateKeyCode(uint16_t code, TShiftState shift);
  // Null clears the table.
  void SetKeystrokes(const TSrcEditKeyStrokes* value);
  // The keystroke table as stored in forms: the differences from a base
  // table (the ancestor's, else the defaults). Written only when the table
  // differs from the base.
  bool KeystrokesDiffer(const TSrcEditKeyStrokes* ancestor) const;
  void WriteAddedKeystrokes(TSrcEditKeyStrokes& added, const TSrcEditKeyStrokes* ancestor) const;
  void WriteRemovedKeystrokes(TSrcEditKeyStrokes& removed, const TSrcEditKeyStrokes* ancestor) const;
  void ReadAddedKeystrokes(const TSrcEditKeyStrokes& added);
  void ReadRemovedKeystrokes(const TSrcEditKeyStrokes& removed);
  void SetFocus() override;

  // ------------------------------------------------------------ painting
  void SetRightEdge(int value);
  void SetRightEdgeColor(TColor value);
  void SetWordWrapGlyph(const TSrcGlyph& value) { FWordWrapGlyph->Assign(value); }

  // ------------------------------------------------------------ invalidation
  // Lines are 1-based; (-1, -1) means all of the text area or gutter.
  void InvalidateLine(int line);
  void InvalidateLines(int firstLine, int lastLine);
  void InvalidateGutterLine(int line);
  void InvalidateGutterLines(int firstLine, int lastLine);
  void InvalidateGutter() { InvalidateGutterLines(-1, -1); }
  void InvalidateSelection() { InvalidateLines(FBlockBegin.Line, FBlockEnd.Line); }

protected:
  // ------------------------------------------------------------ notifications
  virtual void DoOnStatusChange(TSrcStatusChanges changes);
  virtual void DoChange();
  virtual void DoOnPlaceMark(TSrcEditMark*& mark);
  virtual void DoOnClearBookmark(TSrcEditMark*& mark);
  void DoOnPaintTransient(TTransientType type) { DoOnPaintTransientEx(type, false); }
  // With lock, ttBefore and ttAfter nest: only the outermost pair fires.
  virtual void DoOnPaintTransientEx(TTransientType type, bool lock);
  // The answer of OnReplaceText for a match; raCancel without a handler.
  virtual TSrcReplaceAction DoOnReplaceText(const std::string& search, const std::string& replace, int line,
                                            int column);
  void HighlighterAttrChanged(TObject* sender);
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
  // Places the system caret at the caret's cell, shown only over the text.
  void UpdateCaret();
  void ShowCaret();
  void HideCaret();
  // The window messages of scrolling.
  void WMSize(TMessage& message);
  void WMHScroll(TMessage& message);
  void WMVScroll(TMessage& message);
  void WMMouseWheel(TMessage& message);
  // The drag-scroll timer: scrolls a step and moves the caret (and the
  // selection's end while the mouse is captured) to the pointer.
  void ScrollTimerHandler(TObject* sender);

  // ------------------------------------------------------------ input
  // Selects the word at the caret, outside the gutter.
  void DblClick() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
  void DragDrop(TObject* source, int x, int y) override;
  void DragCanceled() override;
  virtual void DoOnGutterClick(TMouseButton button, int x, int y);
  virtual void UpdateMouseCursor();
  // The window messages of input, focus, text and the clipboard.
  void WMSetFocus(TMessage& message);
  void WMKillFocus(TMessage& message);
  void WMGetDlgCode(TMessage& message);
  void WMSetCursor(TMessage& message);
  void WMGetText(TMessage& message);
  void WMSetText(TMessage& message);
  void WMImeComposition(TMessage& message);
  void WMImeNotify(TMessage& message);
  void WMDropFiles(TMessage& message);
  // The messages of this control; false for those the inherited WndProc
  // handles.
  bool InputMessage(TMessage& message);

  // ------------------------------------------------------------ commands
  virtual void ExecuteCommand(TSrcEditorCommand command, char aChar, const TSrcCommandData& data);
  virtual void DoOnProcessCommand(TSrcEditorCommand& command, char& aChar, const TSrcCommandData& data);
  virtual void DoOnCommandProcessed(TSrcEditorCommand command, char aChar, const TSrcCommandData& data);
  virtual void NotifyHookedCommandHandlers(bool afterProcessing, TSrcEditorCommand& command, char& aChar,
                                           const TSrcCommandData& data);

  // ------------------------------------------------------------ undo and redo
  // Replays the last item of the undo (redo) list and records its reverse
  // on the other list with the change number of the group being replayed.
  void UndoItem(uint32_t changeNumber);
  void RedoItem(uint32_t changeNumber);
  // The reverse of a replayed item goes onto the other list through this.
  using TReverseChange =
      std::function<void(TSrcChangeReason, const TBufferCoord&, const TBufferCoord&, const std::string&)>;
  // Items that only move the caret or the selection (an indent's text is
  // replayed by its own items) replay alike in both directions; false for
  // every other reason.
  bool ReplayPositionItem(const TSrcEditUndoItem& item, const TReverseChange& reverse);
  // After an item is replayed: its record of the marks moves them and goes
  // on with the reverse item pushed onto reverseList since the position.
  void ReplayMarkRecord(TSrcEditUndoItem& item, bool undo, TSrcEditUndoList& reverseList, size_t reversed);
  // The replayed range as it was recorded: no clamping to the text.
  void SetReplaySelection(const TBufferCoord& blockBegin, const TBufferCoord& blockEnd);
  bool ReplaceWithinLine(const TBufferCoord& start, const TBufferCoord& end, const std::string& text,
                         std::string& removed);
  void EndReplayBatch();
  void UpdateModifiedStatus();
  void SetListsGroupUndo();
  void KeepCaretInLine();

  // ------------------------------------------------------------ painting
  void Paint() override;
  virtual void PaintGutter(const TRect& clip, int firstRow, int lastRow);
  virtual void PaintTextLines(TRect clip, int firstRow, int lastRow, int firstColumn, int lastColumn);
  virtual void DoOnPaint();
  // The colours OnSpecialLineColors gives the line; false when it is not
  // special.
  virtual bool DoOnSpecialLineColors(int line, TColor& foreground, TColor& background);

  void SelectedColorsChanged(TObject* sender);
  void BookMarkOptionsChanged(TObject* sender);
  void WordWrapGlyphChange(TObject* sender);

private:
  friend class TSrcEditPlugin;
  friend class TSrcEditMarkList;
  // Paints the text rows of one paint (SrcEditPaint.cpp).
  friend class TSrcTextRowPainter;

  // Scans the lines from index (in range) on, from the state the
  // highlighter is in, and stores their ranges, to the last line or, with
  // untilAgreed, to the first that ends in the state stored for it; answers
  // the last line looked at.
  int ScanLines(int index, bool untilAgreed);

  // ------------------------------------------------------------ text-editing commands
  void DoDeleteLastChar();
  void DoDeleteChar();
  // ecDeleteWord, ecDeleteEOL.
  void DoDeleteToEnd(bool toLineEnd);
  // ecDeleteLastWord, ecDeleteBOL.
  void DoDeleteToStart(bool toLineStart);
  void DoDeleteLine();
  // ecLineBreak, ecInsertLine (the caret stays on the line).
  void DoLineBreak(bool moveCaret);
  void InsertLineAbove(int line);
  void DoTypeChar(char c);
  // The byte typed right after a lead byte is its trail byte: the two make
  // one character wherever the caret stood (keyboards without an input
  // method send a double-byte character as two character messages).
  struct TTypedLead;
  // Where the command that typed it left the caret and the undo list.
  void NoteTypedLead(TTypedLead& lead) const;
  bool IsTypedLeadIntact(const TTypedLead& lead) const;
  void TypeTrailByte(const TTypedLead& lead, char trail);
  void DoImeStr(const std::string& text);
  // Removes the selection recording crDelete / crDeleteAfterCursor.
  void DeleteSelectionRecorded(TSrcChangeReason reason);
  // Removes the running text from..to recorded under reason; the caret
  // lands at from.
  void DeleteRangeRecorded(TSrcChangeReason reason, const TBufferCoord& from, const TBufferCoord& to);
  // Replaces the selection by typed text, recorded as one undo step.
  TInsertedRange ReplaceSelectionRecorded(const std::string& text, TSrcTextBreaks breaks = tbLineStyle);
  // Inserts (overwrites with) one line of text at the caret, blanks first
  // up to a caret beyond the line's end; one undo step.
  void InsertAtCaretRecorded(std::string text, bool overwrite);
  // Blanks from the line's end up to the caret, recorded as added white
  // space.
  void FillToCaretRecorded();
  void KeepTypedCaretInView();
  // Sets a bookmark or moves / toggles it (ecSetMarker0..9).
  void ToggleBookMark(int bookmark, const TBufferCoord& position);
  // Drops the block dragged from source at the caret.
  void DropText(TCustomSrcEdit& source, bool move, bool after);
  // Paints the gutter's marks on the rows first..last.
  void PaintMarks(int firstLine, int lastLine, int firstRow, int lastRow);

  // Invalidates the rectangle, or gathers it while the line store changes.
  void InvalidateArea(const TRect& rect);
  // The rows first..last inside the window: their text area, or their
  // gutter.
  void InvalidateRows(int firstRow, int lastRow, bool gutter);

  // Text column mapping on one line's text: display column <-> character
  // index (1-based). A column on the second byte of a double-byte
  // character moves past it.
  int ColumnToCharIndex(std::string_view text, int column) const;
  int CharIndexToColumn(std::string_view text, int index) const;
  // The characters [first, last) of a line that a column selection over
  // the display columns left..right-1 covers: what is copied and what is
  // deleted.
  std::pair<int, int> ColumnRangeOnLine(std::string_view text, int left, int right) const;
  // Where block indent and unindent work on each highlighted line from
  // first down to the selection's end: column 1, or the character at a
  // column block's left edge; 0 on a line that ends before it.
  std::vector<int> BlockPlaces(int first, const TBufferCoord& end) const;
  // Block indent and unindent from the selection b..e: on each line whose
  // change is not 0, at its place, the unit goes in (a positive change, its
  // length) or that many bytes go out, in one undo step; caret and
  // selection move with the text.
  void ChangeBlockLines(const TBufferCoord& b, const TBufferCoord& e, const std::vector<int>& places,
                        const std::vector<int>& changes, const std::string& unit);
  // Positions are 32-bit; sums that may leave that range are done in
  // 64 bits and cut back.
  static int ClampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
  }
  // The end of the last line; (1, 1) for an empty text.
  TBufferCoord EndOfText() const;
  // SelLength, adding up the selected lines only while it is at most limit.
  long long SelLengthUpTo(long long limit) const;
  // Clamps a selection end as SetBlockBegin and SetBlockEnd do.
  TBufferCoord ClampBlockPoint(TBufferCoord value) const;
  // The last column the caret or a selection end may take on a line whose
  // end is lineEnd (its length + 1) while it may pass line ends: every
  // column of the line, and past its end up to the scroll width.
  int LastColumnPastEol(int lineEnd) const { return std::max(FMaxScrollWidth + 1, lineEnd); }
  // The columns the horizontal view scrolls over: the scroll width while
  // the caret may pass line ends, never less than the longest line.
  int HorzScrollRange();
  void SetTextOrigin();
  // With word wrap: a caret right of its row's end (column + 1) goes back
  // onto the row when the paint lock ends.
  void KeepWrappedCaretInRow();

  // Parts of SetSelTextPrimitiveEx: delete the selection b..e (ordered)
  // in the active mode, insert value at the caret in a mode.
  // True when deleting a block of lines emptied the text's last line.
  bool DeleteSelection(TBufferCoord& b, TBufferCoord& e);
  // Whether b..e (ordered, running text) spans every byte of the text.
  bool WholeTextBetween(const TBufferCoord& b, const TBufferCoord& e) const;
  // A list keeps the lines of its newest whole text only: before it takes
  // one, those it kept hold their text again.
  void KeepLinesOfNoOtherText(TSrcEditUndoList& list);
  // The lines of a whole text replaced in a replay go to the reverse item,
  // the first change in list since position.
  void KeepLinesOn(TSrcEditUndoList& list, size_t position, std::unique_ptr<TSrcLineRun> run);
  // Undoing the deletion of a whole text: its lines go back whole into the
  // one empty line it left (at {1,1}); false when the text has another
  // shape.
  bool PutBackWholeText(const TBufferCoord& at, TSrcLineRun& run);
  void TrimStoredLines();
  void ShiftUntrimmedLines(int index, int count);
  // The number of the step the outermost edit recorded; none when it
  // recorded nothing.
  std::optional<uint32_t> EditStepNumber() const;
  // Notes lines (0-based) an edit changes (see FEditedLines).
  void NoteEditedLines(int first, int last) {
    if (FEditDepth > 0) FEditedLines.Note(first, last);
  }
  // An empty line between a lone CR and a lone LF is written as CR LF,
  // which reads back as one break: when an edit leaves one, the line and
  // its two breaks become that one break, as they would in the bytes.
  void JoinCrLfBreaks();
  TInsertedRange InsertRunningText(std::vector<TSrcTextRow> rows, const TBufferCoord& start, TSrcTextBreaks breaks);
  TInsertedRange InsertWholeLines(std::vector<TSrcTextRow> rows, bool fillEmptiedLastLine, TSrcTextBreaks breaks);
  void RecordInsertion(TSrcChangeReason reason, const TInsertedRange& inserted, std::string_view value,
                       TSrcSelectionMode mode);
  // SetSelText without its edit scope and undo block: the insertion is
  // recorded under reason.
  TInsertedRange SetSelTextRecorded(TSrcChangeReason reason, std::string_view value,
                                    TSrcTextBreaks breaks = tbLineStyle);
  // Puts the block's begin before its end, as deleting and inserting expect.
  void OrderBlock();
  // Inserts value as a rectangle at a display column from the caret line
  // down; returns where the last row ends.
  TBufferCoord InsertRectangle(const std::vector<TSrcTextRow>& rows, int column, bool addToUndoList);
  // The selected text as the text holds it (a column block without the
  // blanks that fill its short rows, lines with their own breaks): what
  // deleting it removes.
  std::string SelTextAsStored();
  // SelText, its lines joined with CR LF or with the breaks they have.
  std::string SelectedText(bool storedBreaks) const;
  // Records deleting the selection (before it is deleted) with reason
  // crDelete or crDeleteAfterCursor; a column block as one normal item per
  // row inside one undo block.
  // withoutText: a whole text whose lines the deletion leaves on the item.
  void RecordSelectionDelete(TSrcChangeReason reason, bool withoutText = false);
  // Pastes the private block; false when it is not a valid block.
  bool PasteBlock(bool& pasteBegun);
  // Pastes the plain text; answers how many of its characters became '?'.
  int PastePlainText(bool& pasteBegun);
  // A mark leaves the list: its bookmark slot is freed.
  void MarkLeftList(TSrcEditMark* mark);
  // A mark moved by a line shift; merged when it comes to share its line
  // with the marks of lines joined to its own.
  void MoveMark(TSrcEditMark& mark, int line, bool merged);
  void ShiftMarks(const TSrcLineShift& shift);
  // The marks moved as a recorded change moved them (redo) or back (undo).
  void ReplayMarkShifts(const TSrcMarkShifts& record, bool undo);
  // What the edit records begins here: its undo items, and the marks' line
  // shifts with the lines the marks had before them.
  void RestartEditRecord();
  // The outermost edit's record of the marks goes with its undo step.
  void KeepMarkRecord();
  // Shows the vertical scroll hint while the thumb is dragged.
  void ShowScrollHint();
  // Selects a search match on one line in normal mode and centres its
  // line; the caret goes to its end, or to its start when searching back.
  void SelectSearchMatch(int line, int column, int length, bool backward);
  struct TLineMatch {
    int Found;  // 1-based column in the line as searched
    int Length;
    std::string With;
  };
  TBufferCoord ReplaceMatchesInLine(int line, std::string_view text, std::vector<TLineMatch>& matches, bool backward);

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
  // Nesting of edits; the lines (0-based) the edits stored untrimmed, kept
  // in step with lines inserted and deleted since; the undo list's push
  // position when the outermost edit began.
  int FEditDepth = 0;
  std::vector<int> FUntrimmedLines;
  int FLastUntrimmedLine = -1;
  size_t FUndoBeforeEdit = 0;
  // The outermost edit's line shifts and the marks it moved. While undo and
  // redo replay a change, the marks hold still through its line shifts:
  // the change's record moves them.
  TSrcMarkRecorder FMarkRecorder;
  bool FMarksHeld = false;
  // The deletion of the selection recorded on this item of this list: a
  // whole text deleted leaves its lines there.
  struct TKeptLinesPlace {
    TSrcEditUndoItem* Item = nullptr;
    TSrcEditUndoList* List = nullptr;
  };
  TKeptLinesPlace FKeepLinesIn;
  // Lines inserted now hold their ranges already: only the first of them
  // and the line after them are checked.
  bool FRangesHeld = false;
  uint64_t FRangesStamp = 0;
  // The lines (0-based) the outermost edit changed or gave another
  // neighbour, kept in step with lines inserted and deleted since: where it
  // may have left an empty line between a lone CR and a lone LF. Lines
  // inserted as one block count by their edges: among themselves they
  // stand as they came, the rows of one text (which reads CR LF as one
  // break), lines taken out whole and put back, or lines of one break.
  TSrcEditedLines FEditedLines;
  // A run of changes within one line being replayed (the line store's
  // report held back) and where the caret goes when it ends.
  bool FReplayBatch = false;
  TBufferCoord FReplayCaret;
  // While undo and redo replay a change: the caret goes exactly where the
  // change was, also beyond the scroll width or onto a byte that looks
  // like a trail byte (after a lone lead byte); the replay's end puts it
  // back within the line and on a character.
  bool FCaretExact = false;
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
  // The lead byte the last command typed, while it waits for its trail
  // byte: where it went, and what the undo list held before and after the
  // command.
  struct TTypedLead {
    char Lead = 0;
    TBufferCoord Caret;  // where typing it left the caret
    TBufferCoord After;  // right after it
    bool Overwrote = false;
    // Overwriting a double-byte character left a blank for its trail byte.
    bool Blanked = false;
    size_t UndoBefore = 0;
    size_t UndoAfter = 0;
    const TSrcEditUndoItem* UndoTop = nullptr;
  };
  std::optional<TTypedLead> FTypedLead;
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
  // Where the highlighter's scans of the long lines painted can go on from.
  TSrcScanPoints FScanPoints;

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
  // A handler may unregister itself or another one while they are called.
  TDelegateList<THookedCommandHandlerEntry> FHookedCommandHandlers{ddIgnore};
  // Plugins join and leave themselves; those still here are freed with the editor.
  std::vector<TSrcEditPlugin*> FPlugins;
  std::unique_ptr<TTimer> FScrollTimer;
  std::unique_ptr<TSrcInternalImage> FInternalImage;
  std::unique_ptr<ISrcEditBufferPlugin> FWordWrapPlugin;
  // Not owned.
  TSrcCustomHighlighter* FHighlighter = nullptr;
  TSrcEditSearchCustom* FSearchEngine = nullptr;
};

// The text without trailing blanks and TABs.
std::string TrimTrailingBlanks(std::string_view text);

// The run a command's changes belong to: successive typing (characters
// and composed input alike), line breaks or deletions of one kind are
// undone together under eoGroupUndo; every other command (ecNone) is a
// step of its own.
TSrcEditorCommand UndoRunOf(TSrcEditorCommand command);

// The editor's private clipboard format, "SrcEdit Control Block Type": a
// mode byte (0 normal, 1 line, 2 column), the text and a NUL; the block's
// size ends the text, which may hold NUL bytes.
TClipboardFormat BlockTypeClipboardFormat();

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
  explicit TSrcPaintLock(TCustomSrcEdit& edit) : FEnd(TEnd{&edit}) { edit.IncPaintLock(); }

private:
  struct TEnd {
    TCustomSrcEdit* Edit;
    void operator()() const { Edit->DecPaintLock(); }
  };
  TScopeExit<TEnd> FEnd;
};

// The editor's undo block: on the undo list in use when it began.
class TSrcEditUndoBlock {
public:
  explicit TSrcEditUndoBlock(TCustomSrcEdit& edit) : FBlock(edit.UndoList()) {}

private:
  TSrcUndoBlock FBlock;
};

// Both undo lists locked (no recording) for the scope.
// One edit of the text for a scope, also when an exception passes. Lines
// the edit stores keep their trailing blanks until the outermost edit ends:
// every step of the edit sees the text it wrote, and then, with
// eoTrimTrailingSpaces, the blanks go, recorded after the edit's own undo
// items so that undo brings them back first.
class TSrcEditScope {
public:
  explicit TSrcEditScope(TCustomSrcEdit& edit) : FEnd(TEnd{&edit}) { edit.BeginEdit(); }

private:
  struct TEnd {
    TCustomSrcEdit* Edit;
    void operator()() const { Edit->EndEdit(); }
  };
  TScopeExit<TEnd> FEnd;
};

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
