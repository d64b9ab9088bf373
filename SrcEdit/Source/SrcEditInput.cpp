// The edge between the window system and the editor: window messages,
// keys and their chords, the mouse (clicks, selecting, dragging the
// selection), drag and drop of text between editors, dropped files, the
// input method, focus, the text and clipboard messages, and the keystroke
// table as forms store it (its differences from the defaults).

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Caret.h"
#include "platform/DropFiles.h"
#include "platform/Ime.h"
#include "platform/InputState.h"
#include "platform/SystemMetrics.h"

namespace vk {

namespace {

// The focus commands the editor hands to its events and hooked handlers.
constexpr TSrcEditorCommand FocusGainedCommand = 480;
constexpr TSrcEditorCommand FocusLostCommand = 481;

bool SameKeystroke(const TSrcEditKeyStroke& a, const TSrcEditKeyStroke& b) {
  return a.Command() == b.Command() && a.Key() == b.Key() && a.Shift() == b.Shift() && a.Key2() == b.Key2() &&
         a.Shift2() == b.Shift2();
}


}  // namespace

// ---------------------------------------------------------------- messages

void TCustomSrcEdit::WndProc(TMessage& message) {
  if (!InputMessage(message)) TCustomControl::WndProc(message);
}

bool TCustomSrcEdit::InputMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_SIZE: WMSize(message); return true;
    case WM_HSCROLL: WMHScroll(message); return true;
    case WM_VSCROLL: WMVScroll(message); return true;
    case WM_MOUSEWHEEL: WMMouseWheel(message); return true;
    case WM_ERASEBKGND:
      // Painting covers every pixel: nothing to erase.
      message.Result = 1;
      return true;
    case WM_CHAR:
      // Alt+Backspace types nothing.
      if (message.WParam == 8 && (message.LParam & AltMask)) {
        message.Msg = WM_NULL;
        return true;
      }
      return false;
    case WM_SETFOCUS: WMSetFocus(message); return true;
    case WM_KILLFOCUS: WMKillFocus(message); return true;
    case WM_GETDLGCODE: WMGetDlgCode(message); return true;
    case WM_SETCURSOR: WMSetCursor(message); return true;
    case WM_CAPTURECHANGED: FScrollTimer->SetEnabled(false); return false;
    case WM_CANCELMODE: return true;
    case WM_GETTEXT: WMGetText(message); return true;
    case WM_GETTEXTLENGTH:
      message.Result = ControlState().Contains(csDocking) ? 0 : static_cast<intptr_t>(FLines->TextLength());
      return true;
    case WM_SETTEXT: WMSetText(message); return true;
    case WM_CUT:
      if (!GetReadOnly()) CutToClipboard();
      message.Result = 1;
      return true;
    case WM_COPY:
      CopyToClipboard();
      message.Result = 1;
      return true;
    case WM_PASTE:
      if (!GetReadOnly()) PasteFromClipboard();
      message.Result = 1;
      return true;
    case WM_CLEAR:
      if (!GetReadOnly()) SetSelText("");
      return true;
    case WM_UNDO: Undo(); return true;
    case WM_IME_COMPOSITION: WMImeComposition(message); return true;
    case WM_IME_NOTIFY: WMImeNotify(message); return true;
    case WM_DROPFILES: WMDropFiles(message); return true;
    default: return false;
  }
}

void TCustomSrcEdit::WMSetFocus(TMessage&) {
  CommandProcessor(FocusGainedCommand, 0);
  InitializeCaret();
  if (FHideSelection && SelAvail()) InvalidateSelection();
}

void TCustomSrcEdit::WMKillFocus(TMessage& message) {
  TCustomControl::WndProc(message);
  CommandProcessor(FocusLostCommand, 0);
  if (Focused() || FAlwaysShowCaret) return;
  HideCaret();
  if (CaretState().Owner == this) DestroyCaret();
  if (FHideSelection && SelAvail()) InvalidateSelection();
}

void TCustomSrcEdit::WMGetDlgCode(TMessage& message) {
  TCustomControl::WndProc(message);
  message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FWantTabs) message.Result |= DLGC_WANTTAB;
  if (FWantReturns) message.Result |= DLGC_WANTALLKEYS;
}

void TCustomSrcEdit::WMSetCursor(TMessage& message) {
  if (LoWord(static_cast<uintptr_t>(message.LParam)) == HTCLIENT && HandleAllocated() && message.WParam == Handle() &&
      !ComponentState().Contains(csDesigning)) {
    UpdateMouseCursor();
    message.Result = 1;
    return;
  }
  TCustomControl::WndProc(message);
}

void TCustomSrcEdit::WMGetText(TMessage& message) {
  message.Result = 0;
  // A buffer of no size has no room even for the terminating NUL.
  if (message.WParam == 0 || !message.LParam) return;
  AnswerTextMessage(message, SrcGetText());
}

void TCustomSrcEdit::WMSetText(TMessage& message) {
  // 0 unless the text was taken.
  message.Result = 0;
  SrcSetText(MessageText(message));
  message.Result = -1;
}

void TCustomSrcEdit::SetFocus() {
  // A control registered to take the focus in the editor's place gets it.
  if (!FFocusList.empty())
    FFocusList.back()->SetFocus();
  else
    TCustomControl::SetFocus();
}

// ---------------------------------------------------------------- keys

TSrcEditorCommand TCustomSrcEdit::TranslateKeyCode(uint16_t code, TShiftState shift) {
  int index = FLastKey != 0 ? FKeystrokes->FindKeycode2(FLastKey, FLastShiftState, code, shift) : -1;
  if (index < 0) index = FKeystrokes->FindKeycode(code, shift);
  const TSrcEditorCommand command = index >= 0 ? FKeystrokes->Items(index)->Command() : ecNone;
  // An unbound key may start a chord: the next key is looked up with it.
  if (command == ecNone && code >= 30 && code <= 145) {
    FLastKey = code;
    FLastShiftState = shift;
  } else {
    FLastKey = 0;
    FLastShiftState = {};
  }
  return command;
}

void TCustomSrcEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  FKbdHandler->ExecuteKeyDown(this, key, shift);
  const TSrcEditorCommand command = TranslateKeyCode(key, shift);
  if (command == ecNone) {
    FStateFlags.Exclude(sfIgnoreNextChar);
    return;
  }
  // The character message of this key belongs to the command.
  key = 0;
  FStateFlags.Include(sfIgnoreNextChar);
  CommandProcessor(command, 0);
}

void TCustomSrcEdit::KeyUp(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  FKbdHandler->ExecuteKeyUp(this, key, shift);
}

void TCustomSrcEdit::KeyPress(char& key) {
  // The characters of an input-method result arrive once more as
  // character messages.
  if (FImeCount > 0) {
    --FImeCount;
    return;
  }
  if (FStateFlags.Contains(sfIgnoreNextChar)) {
    FStateFlags.Exclude(sfIgnoreNextChar);
    return;
  }
  TCustomControl::KeyPress(key);
  FKbdHandler->ExecuteKeyPress(this, key);
  CommandProcessor(ecChar, key);
}

// ---------------------------------------------------------------- the mouse

bool TCustomSrcEdit::IsPointInSelection(const TBufferCoord& position) const {
  const TBufferCoord b = BlockBegin();
  const TBufferCoord e = BlockEnd();
  if (position.Line < b.Line || position.Line > e.Line || b == e) return false;
  switch (FActiveSelectionMode) {
    case smLine: return true;
    case smColumn: {
      // The characters of the line that the block's columns take, as cut.
      int left = 0;
      int right = 0;
      ColumnBlockColumns(left, right);
      const auto [first, last] = ColumnRangeOnLine(FLines->GetView(position.Line - 1), left, right);
      return position.Char >= first && position.Char < last;
    }
    default:
      if (position.Line == b.Line && position.Char < b.Char) return false;
      return !(position.Line == e.Line && position.Char >= e.Char);
  }
}

void TCustomSrcEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  const TBufferCoord keptBegin = FBlockBegin;
  const TBufferCoord keptEnd = FBlockEnd;
  const bool hadSelection = button == mbLeft && SelAvail();
  if (hadSelection) FMouseDownPoint = {x, y};
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && shift.Contains(ssDouble)) return;
  FKbdHandler->ExecuteMouseDown(this, button, shift, x, y);
  const TBufferCoord clicked = DisplayToBufferPos(PixelsToRowColumn(x, y));
  if (button == mbRight) {
    if (!FOptions.Contains(eoRightMouseMovesCursor) || IsPointInSelection(clicked)) return;
    InvalidateSelection();
    FBlockEnd = FBlockBegin;
    ComputeCaret(x, y);
  } else if (button == mbLeft) {
    ComputeCaret(x, y);
    FBlockBegin = keptBegin;
    FBlockEnd = keptEnd;
    SetMouseCapture(true);
    FStateFlags.Exclude(sfWaitForDragging);
    // A press inside the selection may start dragging it.
    if (hadSelection && FOptions.Contains(eoDragDropEditing) && x >= FGutterWidth + 2 &&
        FSelectionMode == smNormal && IsPointInSelection(clicked)) {
      FStateFlags.Include(sfWaitForDragging);
    } else if (!FStateFlags.Contains(sfDblClicked)) {
      if (shift.Contains(ssShift)) {
        SetBlockEnd(CaretXY());
      } else {
        if (FOptions.Contains(eoAltSetsColumnMode) && FSelectionMode != smLine)
          SetSelectionMode(shift.Contains(ssAlt) ? smColumn : smNormal);
        SetBlockBegin(CaretXY());
      }
    }
  }
  if (x < FGutterWidth) FStateFlags.Include(sfPossibleGutterClick);
  if (button == mbRight && FStateFlags.Contains(sfPossibleGutterClick)) DoOnGutterClick(button, x, y);
  if (CanFocus() && !Focused()) SetFocus();
}

void TCustomSrcEdit::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (MouseCapture() && FStateFlags.Contains(sfWaitForDragging)) {
    if (std::abs(FMouseDownPoint.X - x) >= GetSystemMetrics(SM_CXDRAG) ||
        std::abs(FMouseDownPoint.Y - y) >= GetSystemMetrics(SM_CYDRAG)) {
      FStateFlags.Exclude(sfWaitForDragging);
      BeginDrag(false, -1);
    }
    return;
  }
  if (!shift.Contains(ssLeft) || !MouseCapture()) return;
  ComputeScroll(x, y);
  TDisplayCoord pos = PixelsToNearestRowColumn(x, y);
  pos.Row = std::max(1, std::min(pos.Row, GetDisplayLineCount()));
  // While the view scrolls the caret stays in its column (row).
  if (FScrollDeltaX != 0) pos.Column = DisplayX();
  if (FScrollDeltaY != 0) pos.Row = DisplayY();
  InternalSetCaretXY(DisplayToBufferPos(pos));
  SetBlockEnd(CaretXY());
  if (FStateFlags.Contains(sfPossibleGutterClick) && FBlockBegin.Line != FCaretY)
    FStateFlags.Include(sfGutterDragging);
}

void TCustomSrcEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  FKbdHandler->ExecuteMouseUp(this, button, shift, x, y);
  FScrollTimer->SetEnabled(false);
  SetMouseCapture(false);
  if (FStateFlags.Contains(sfPossibleGutterClick) && x < FGutterWidth && button != mbRight) {
    DoOnGutterClick(button, x, y);
  } else if (FStateFlags.Contains(sfWaitForDragging) && !FStateFlags.Contains(sfDblClicked)) {
    // A click in the selection that never became a drag places the caret.
    ComputeCaret(x, y);
    if (!shift.Contains(ssShift)) SetBlockBegin(CaretXY());
    SetBlockEnd(CaretXY());
    FStateFlags.Exclude(sfWaitForDragging);
  }
  FStateFlags.Exclude(sfDblClicked);
  FStateFlags.Exclude(sfPossibleGutterClick);
  FStateFlags.Exclude(sfGutterDragging);
}

void TCustomSrcEdit::DoOnGutterClick(TMouseButton button, int x, int y) {
  if (!OnGutterClick) return;
  const int line = RowToLine(PixelsToRowColumn(x, y).Row);
  if (line > FLines->Count()) return;
  TSrcEditMarks marks{};
  FMarkList->GetMarksForLine(line, marks);
  TSrcEditMark* clicked = nullptr;
  int offset = 0;
  for (TSrcEditMark* mark : marks) {
    if (!mark) break;
    offset += FBookMarkOptions->Xoffset();
    if (offset > x) {
      clicked = mark;
      break;
    }
  }
  OnGutterClick(this, button, x, y, line, clicked);
}

void TCustomSrcEdit::UpdateMouseCursor() {
  TPoint pointer;
  GetCursorPos(pointer);
  pointer = ScreenToClient(pointer);
  TCursor cursor;
  if (pointer.X < FGutterWidth) {
    cursor = FGutter->Cursor();
  } else {
    const TBufferCoord position = DisplayToBufferPos(PixelsToRowColumn(pointer.X, pointer.Y));
    cursor = FOptions.Contains(eoDragDropEditing) && !MouseCapture() && IsPointInSelection(position) ? crArrow
                                                                                                   : Cursor();
    if (OnMouseCursor) OnMouseCursor(this, position, cursor);
    FKbdHandler->ExecuteMouseCursor(this, position, cursor);
  }
  SetPointerShape(cursor);
}

bool TCustomSrcEdit::GetPositionOfMouse(TBufferCoord& position) {
  TPoint pointer;
  GetCursorPos(pointer);
  pointer = ScreenToClient(pointer);
  if (pointer.X < 0 || pointer.Y < 0 || pointer.X > Width() || pointer.Y > Height()) return false;
  position = DisplayToBufferPos(PixelsToRowColumn(pointer.X, pointer.Y));
  return true;
}

std::string TCustomSrcEdit::GetWordAtMouse() {
  TBufferCoord position;
  return GetPositionOfMouse(position) ? GetWordAtRowCol(position) : std::string();
}

std::string TCustomSrcEdit::GetWordAtCursor() {
  const TBufferCoord savedBegin = FBlockBegin;
  const TBufferCoord savedEnd = FBlockEnd;
  const TSrcSelectionMode mode = FActiveSelectionMode;
  FBlockBegin = WordStart();
  FBlockEnd = WordEnd();
  FActiveSelectionMode = smNormal;
  std::string word = SelText();
  FBlockBegin = savedBegin;
  FBlockEnd = savedEnd;
  FActiveSelectionMode = mode;
  return word;
}

// ---------------------------------------------------------------- drag and drop of text

void TCustomSrcEdit::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  TCustomControl::DragOver(source, x, y, state, accept);
  if (!dynamic_cast<TCustomSrcEdit*>(source) || GetReadOnly()) return;
  accept = true;
  SetDragCursor(GetKeyState(VK_CONTROL) < 0 ? crMultiDrag : crDrag);
  if (source != this) {
    ComputeCaret(x, y);
  } else if (state == dsDragLeave) {
    ComputeCaret(FMouseDownPoint.X, FMouseDownPoint.Y);
  } else {
    TDisplayCoord pos = PixelsToNearestRowColumn(x, y);
    pos.Column = std::clamp(pos.Column, FLeftChar, std::max(FLeftChar, FLeftChar + FColumnsInWindow - 1));
    pos.Row = std::clamp(pos.Row, FTopLine, std::max(FTopLine, FTopLine + FRowsInWindow - 1));
    InternalSetCaretXY(DisplayToBufferPos(pos));
    ComputeScroll(x, y);
  }
}

void TCustomSrcEdit::DragCanceled() {
  FScrollTimer->SetEnabled(false);
  TCustomControl::DragCanceled();
}

void TCustomSrcEdit::DragDrop(TObject* source, int x, int y) {
  auto* from = dynamic_cast<TCustomSrcEdit*>(source);
  if (GetReadOnly() || !from || !from->SelAvail()) {
    TCustomControl::DragDrop(source, x, y);
    return;
  }
  TSrcPaintLock lock(*this);
  TCustomControl::DragDrop(source, x, y);
  ComputeCaret(x, y);
  const TBufferCoord drop = CaretXY();
  if (from == this) {
    const bool move = GetKeyState(VK_CONTROL) >= 0;
    const TBufferCoord b = BlockBegin();
    const TBufferCoord e = BlockEnd();
    const bool after = drop.Line > e.Line || (drop.Line == e.Line && (drop.Char > e.Char || (!move && drop.Char == e.Char)));
    const bool before =
        drop.Line < b.Line || (drop.Line == b.Line && (drop.Char < b.Char || (!move && drop.Char == b.Char)));
    // A move into the selection itself changes nothing.
    if (after || before) DropText(*this, move, after);
  } else {
    // A drag out of a read-only editor is always a copy.
    DropText(*from, GetKeyState(VK_SHIFT) < 0 && !from->GetReadOnly(), false);
  }
}

void TCustomSrcEdit::DropText(TCustomSrcEdit& source, bool move, bool after) {
  TBufferCoord drop = CaretXY();
  TSrcEditScope edit(*this);
  TSrcEditUndoBlock block(*this);
  const std::string text = source.SelText();
  if (move) {
    if (&source == this) {
      const TBufferCoord b = BlockBegin();
      const TBufferCoord e = BlockEnd();
      DeleteSelectionRecorded(crDelete);
      // The text after the selection moved left (and up) by what was
      // removed: the drop point follows it.
      if (after && drop.Line == e.Line) drop.Char -= e.Char - b.Char;
      if (after && e.Line > b.Line) drop.Line -= e.Line - b.Line;
    } else {
      // An edit of the source's own, which records all it changes.
      TSrcEditScope sourceEdit(source);
      TSrcEditUndoBlock sourceBlock(source);
      source.DeleteSelectionRecorded(crDelete);
    }
  }
  const TSrcChangeReason reason = &source == this ? crDragDropInsert : crInsert;
  const TSrcSelectionMode mode = FActiveSelectionMode;
  TInsertedRange inserted;
  {
    TOptionOn pastEol(FOptions, eoScrollPastEol);
    InternalSetCaretXY(drop);
    SetBlockBegin(drop);
    inserted = SetSelTextPrimitiveEx(mode, text, false);
  }
  // A dropped rectangle is taken back as one.
  if (mode == smColumn)
    FUndoList->AddChange(reason, drop, inserted.End, "", smColumn);
  else
    RecordInsertion(reason, inserted, text, mode);
  FBlockEnd = CaretXY();
  CommandProcessor(ecSelGotoXY, 0, drop);
}

// ---------------------------------------------------------------- dropped files and the input method

void TCustomSrcEdit::WMDropFiles(TMessage& message) {
  const HDROP drop = message.WParam;
  message.Result = 0;
  // The drop is finished also when the handler fails.
  TScopeExit finish([drop] { DragFinish(drop); });
  if (OnDropFiles) {
    TStringList files;
    const unsigned count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (unsigned i = 0; i < count; ++i) {
      char name[261] = {};
      DragQueryFile(drop, i, name, sizeof name);
      files.Add(name);
    }
    TPoint point;
    DragQueryPoint(drop, point);
    OnDropFiles(this, point.X, point.Y, files);
  }
}

void TCustomSrcEdit::WMImeComposition(TMessage& message) {
  if (static_cast<uint32_t>(message.LParam) & GCS_RESULTSTR) {
    const HIMC context = ImmGetContext(*this);
    TScopeExit release([&] { ImmReleaseContext(*this, context); });
    // A length the input method cannot mean (below 1) is nothing typed.
    const int length = ImmGetCompositionString(context, GCS_RESULTSTR, nullptr, 0);
    if (length > 0) {
      std::string text(static_cast<size_t>(length), '\0');
      const int read = ImmGetCompositionString(context, GCS_RESULTSTR, text.data(), static_cast<uint32_t>(length));
      text.resize(static_cast<size_t>(std::clamp(read, 0, length)));
      FImeCount = length;
      CommandProcessor(ecImeStr, 0, text);
    }
  }
  TCustomControl::WndProc(message);
}

void TCustomSrcEdit::WMImeNotify(TMessage& message) {
  if (message.WParam == IMN_SETOPENSTATUS && HandleAllocated()) {
    const HIMC context = ImmGetContext(*this);
    ImmSetCompositionFont(context, Font().LogFont());
    ImmReleaseContext(*this, context);
  }
  TCustomControl::WndProc(message);
}

// ---------------------------------------------------------------- the keystroke table in forms

void TCustomSrcEdit::SetKeystrokes(const TSrcEditKeyStrokes* value) {
  if (value)
    FKeystrokes->Assign(*value);
  else
    FKeystrokes->Clear();
}

namespace {

// The table the differences are taken against: the ancestor's, else the
// defaults.
void FillBase(TSrcEditKeyStrokes& base, const TSrcEditKeyStrokes* ancestor) {
  if (ancestor)
    base.Assign(*ancestor);
  else
    base.ResetDefaults();
}

}  // namespace

bool TCustomSrcEdit::KeystrokesDiffer(const TSrcEditKeyStrokes* ancestor) const {
  TSrcEditKeyStrokes base(nullptr);
  FillBase(base, ancestor);
  if (base.Count() != FKeystrokes->Count()) return true;
  for (int i = 0; i < base.Count(); ++i)
    if (!SameKeystroke(*base.Items(i), *FKeystrokes->Items(i))) return true;
  return false;
}

void TCustomSrcEdit::WriteAddedKeystrokes(TSrcEditKeyStrokes& added, const TSrcEditKeyStrokes* ancestor) const {
  TSrcEditKeyStrokes base(nullptr);
  FillBase(base, ancestor);
  added.Clear();
  for (int i = 0; i < FKeystrokes->Count(); ++i) {
    const TSrcEditKeyStroke& stroke = *FKeystrokes->Items(i);
    const int at = base.FindShortcut2(stroke.ShortCut(), stroke.ShortCut2());
    if (at < 0 || base.Items(at)->Command() != stroke.Command()) added.Add()->Assign(stroke);
  }
}

void TCustomSrcEdit::WriteRemovedKeystrokes(TSrcEditKeyStrokes& removed, const TSrcEditKeyStrokes* ancestor) const {
  FillBase(removed, ancestor);
  for (int i = removed.Count() - 1; i >= 0; --i) {
    const TSrcEditKeyStroke& stroke = *removed.Items(i);
    const int at = FKeystrokes->FindShortcut2(stroke.ShortCut(), stroke.ShortCut2());
    if (at >= 0 && FKeystrokes->Items(at)->Command() == stroke.Command()) removed.Delete(i);
  }
}

void TCustomSrcEdit::ReadAddedKeystrokes(const TSrcEditKeyStrokes& added) {
  for (int i = 0; i < added.Count(); ++i) FKeystrokes->Add()->Assign(*added.Items(i));
}

void TCustomSrcEdit::ReadRemovedKeystrokes(const TSrcEditKeyStrokes& removed) {
  for (int i = 0; i < removed.Count(); ++i) {
    const TSrcEditKeyStroke& stroke = *removed.Items(i);
    const int at = FKeystrokes->FindShortcut2(stroke.ShortCut(), stroke.ShortCut2());
    if (at >= 0 && FKeystrokes->Items(at)->Command() == stroke.Command()) FKeystrokes->Delete(at);
  }
}

}  // namespace vk
