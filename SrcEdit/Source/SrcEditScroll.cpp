// The view geometry: the character cell, how many cells fit, the first
// visible row, the scroll bars with their messages and hint, the wheel, the
// drag-scroll timer, keeping the caret in view and the system caret.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>
#include <cmath>

#include "platform/Caret.h"
#include "platform/HintWindow.h"
#include "platform/Ime.h"
#include "platform/InputState.h"
#include "platform/SystemMetrics.h"

namespace vk {

void TCustomSrcEdit::RecalcCharExtent() {
  // Only bold and italic change a cell; measure each combination in use.
  static const TFontStyles Combinations[4] = {{}, {fsItalic}, {fsBold}, {fsBold, fsItalic}};
  bool used[4] = {};
  auto use = [&](TFontStyles style) {
    used[(style.Contains(fsBold) ? 2 : 0) + (style.Contains(fsItalic) ? 1 : 0)] = true;
  };
  if (FHighlighter && FHighlighter->GetAttribCount() > 0) {
    for (int i = 0; i < FHighlighter->GetAttribCount(); ++i) use(FHighlighter->GetAttribute(i)->Style());
  } else {
    use(Font().Style());
  }
  FRowHeight = 0;
  FCellWidth = 0;
  FTextDrawer->SetBaseFont(&Font());
  for (int i = 0; i < 4; ++i) {
    if (!used[i]) continue;
    FTextDrawer->SetBaseStyle(Combinations[i]);
    FRowHeight = std::max(FRowHeight, FTextDrawer->GetCharHeight());
    FCellWidth = std::max(FCellWidth, FTextDrawer->GetCharWidth());
  }
  // Every pixel conversion divides by these: a negative line spacing or a
  // font without width must not make them 0.
  FRowHeight = std::max(FRowHeight + FExtraLineSpacing, 1);
  FCellWidth = std::max(FCellWidth, 1);
}

void TCustomSrcEdit::SizeOrFontChanged(bool fontChanged) {
  if (!HandleAllocated() || FCellWidth == 0) return;
  FColumnsInWindow = std::max(ClientWidth() - FGutterWidth - 2, 0) / FCellWidth;
  FRowsInWindow = ClientHeight() / FRowHeight;
  if (FWordWrapPlugin) {
    FWordWrapPlugin->DisplayChanged();
    Invalidate();
  }
  if (fontChanged) {
    if (FGutter->ShowLineNumbers())
      GutterChanged(this);
    else
      UpdateScrollBars();
    InitializeCaret();
    FStateFlags.Exclude(sfCaretChanged);
    Invalidate();
  } else {
    UpdateScrollBars();
  }
  FStateFlags.Exclude(sfScrollbarChanged);
  // The limits depend on the window's size.
  if (!FOptions.Contains(eoScrollPastEol)) SetLeftChar(FLeftChar);
  if (!FOptions.Contains(eoScrollPastEof)) SetTopLine(FTopLine);
}

void TCustomSrcEdit::WMSize(TMessage& message) {
  TCustomControl::WndProc(message);
  SizeOrFontChanged(false);
}

// ---------------------------------------------------------------- scroll bars

namespace {

// One bar over 1..maximum showing page cells from position; beyond the
// 16-bit range of a scroll bar the values are scaled to 0..32767. The bar
// hides (with hideWhenAllShown) when the page shows the whole range.
void SetBar(TWinControl& control, int bar, bool hideWhenAllShown, int maximum, int page, int position) {
  TScrollInfo info;
  info.fMask = SIF_ALL | (hideWhenAllShown ? 0 : SIF_DISABLENOSCROLL);
  const bool scaled = maximum > 0x7FFF;
  if (scaled) {
    info.nMin = 0;
    info.nMax = 0x7FFF;
    info.nPage = static_cast<uint32_t>(std::max(MulDiv(0x7FFF, page, maximum), 0));
    info.nPos = MulDiv(0x7FFF, position, maximum);
  } else {
    info.nMin = 1;
    info.nMax = std::max(maximum, 1);
    info.nPage = static_cast<uint32_t>(std::max(page, 0));
    info.nPos = position;
  }
  ShowScrollBar(control, bar, !(hideWhenAllShown && !scaled && page >= info.nMax));
  SetScrollInfo(control, bar, info, true);
}

// Arrows of a bar whose page shows first..first+page-1 of 1..maximum: with
// nothing to scroll (or always, with disableArrows) an arrow that cannot
// move the view is disabled.
void SetArrows(TWinControl& control, int bar, bool disableArrows, int maximum, int page, int first,
               bool atEnd) {
  if (!disableArrows && page < maximum) {
    EnableScrollBar(control, bar, ESB_ENABLE_BOTH);
    return;
  }
  if (first > 1 || page < maximum) {
    EnableScrollBar(control, bar, ESB_ENABLE_BOTH);
    if (first <= 1)
      EnableScrollBar(control, bar, ESB_DISABLE_LEFT);
    else if (atEnd)
      EnableScrollBar(control, bar, ESB_DISABLE_RIGHT);
  } else {
    EnableScrollBar(control, bar, ESB_DISABLE_BOTH);
  }
}

}  // namespace

void TCustomSrcEdit::UpdateScrollBars() {
  if (!HandleAllocated() || FPaintLockCount > 0) {
    FStateFlags.Include(sfScrollbarChanged);
    return;
  }
  FStateFlags.Exclude(sfScrollbarChanged);
  if (FScrollBars == ssNone) {
    ShowScrollBar(*this, SB_BOTH, false);
    return;
  }
  const bool hide = FOptions.Contains(eoHideShowScrollbars);
  const bool disableArrows = FOptions.Contains(eoDisableScrollArrows);
  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !WordWrap()) {
    const int maximum = HorzScrollRange();
    SetBar(*this, SB_HORZ, hide, maximum, FColumnsInWindow, FLeftChar);
    const long long lastVisible = static_cast<long long>(FLeftChar) + FColumnsInWindow - 1;
    SetArrows(*this, SB_HORZ, disableArrows, maximum, FColumnsInWindow, FLeftChar, lastVisible >= maximum);
  } else {
    ShowScrollBar(*this, SB_HORZ, false);
  }
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    const int rows = GetDisplayLineCount();
    int maximum = rows + (FOptions.Contains(eoScrollPastEof) ? FRowsInWindow - 1 : 0);
    SetBar(*this, SB_VERT, hide, maximum, FRowsInWindow, FTopLine);
    // A view scrolled past the end keeps its down arrow.
    const long long lastVisible = static_cast<long long>(FTopLine) + FRowsInWindow - 1;
    SetArrows(*this, SB_VERT, disableArrows, maximum, FRowsInWindow, FTopLine, lastVisible == rows);
  } else {
    ShowScrollBar(*this, SB_VERT, false);
  }
}

int TCustomSrcEdit::HorzScrollRange() {
  const int longest = std::max(FLines->GetLengthOfLongestLine(), 1);
  return FOptions.Contains(eoScrollPastEol) ? std::max(FMaxScrollWidth, longest) : longest;
}

void TCustomSrcEdit::SetMaxScrollWidth(int value) {
  value = std::clamp(value, 1, 0x7FFFFFFE);
  if (value == FMaxScrollWidth) return;
  FMaxScrollWidth = value;
  if (FOptions.Contains(eoScrollPastEol)) UpdateScrollBars();
}

void TCustomSrcEdit::SetTopLine(int value) {
  const int rows = GetDisplayLineCount();
  const long long upper = FOptions.Contains(eoScrollPastEof) ? rows : static_cast<long long>(rows) - FRowsInWindow + 1;
  value = static_cast<int>(std::max<long long>(std::min<long long>(value, upper), 1));
  if (value == FTopLine) return;
  const long long shift = static_cast<long long>(FTopLine) - value;
  FTopLine = value;
  // A short move shifts the pixels: only the uncovered band repaints.
  if (std::llabs(shift) < FRowsInWindow)
    ScrollWindow(0, static_cast<int>(shift * FRowHeight));
  else
    Invalidate();
  UpdateScrollBars();
  StatusChanged({scTopLine});
}

// ---------------------------------------------------------------- scroll messages

void TCustomSrcEdit::WMVScroll(TMessage& message) {
  message.Result = 0;
  const int page = FOptions.Contains(eoScrollByOneLess) ? FRowsInWindow - 1 : FRowsInWindow;
  const int rows = GetDisplayLineCount();
  switch (LoWord(message.WParam)) {
    case SB_LINEUP: SetTopLine(FTopLine - 1); break;
    case SB_LINEDOWN: SetTopLine(FTopLine + 1); break;
    case SB_PAGEUP: SetTopLine(FTopLine - page); break;
    case SB_PAGEDOWN: SetTopLine(FTopLine + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      FIsScrolling = true;
      const int position = SmallHi(message.WParam);
      // A bar of more rows than a scroll bar counts runs over 0..32767.
      SetTopLine(rows < 0x8000 ? position : MulDiv(rows + FRowsInWindow - 1, position, 0x7FFF));
      if (FOptions.Contains(eoShowScrollHint)) ShowScrollHint();
      break;
    }
    case SB_TOP: SetTopLine(1); break;
    case SB_BOTTOM: SetTopLine(rows); break;
    case SB_ENDSCROLL:
      FIsScrolling = false;
      if (FOptions.Contains(eoShowScrollHint)) SharedHintWindow().ReleaseHint();
      break;
    default: break;
  }
  Update();
  if (OnScroll) OnScroll(this, sbVertical);
}

void TCustomSrcEdit::WMHScroll(TMessage& message) {
  message.Result = 0;
  const int page = FOptions.Contains(eoScrollByOneLess) ? FColumnsInWindow - 1 : FColumnsInWindow;
  const bool pastEol = FOptions.Contains(eoScrollPastEol);
  const int maximum = HorzScrollRange();
  switch (LoWord(message.WParam)) {
    case SB_LINELEFT: SetLeftChar(FLeftChar - 1); break;
    case SB_LINERIGHT: SetLeftChar(FLeftChar + 1); break;
    case SB_PAGELEFT: SetLeftChar(FLeftChar - page); break;
    case SB_PAGERIGHT: SetLeftChar(ClampToInt(static_cast<long long>(FLeftChar) + page)); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      FIsScrolling = true;
      const int position = SmallHi(message.WParam);
      SetLeftChar(maximum < 0x8000 ? position : MulDiv(maximum, position, 0x7FFF));
      break;
    }
    case SB_LEFT: SetLeftChar(1); break;
    case SB_RIGHT:
      SetLeftChar(pastEol ? maximum - FColumnsInWindow + 1 : maximum);
      break;
    case SB_ENDSCROLL: FIsScrolling = false; break;
    default: break;
  }
  if (OnScroll) OnScroll(this, sbHorizontal);
}

void TCustomSrcEdit::ShowScrollHint() {
  THintWindow& hint = SharedHintWindow();
  hint.SetColor(FScrollHintColor);
  std::string text;
  if (FScrollHintFormat == shfTopLineOnly) {
    text = Format("Top Line: %d", RowToLine(FTopLine));
  } else {
    const int rows = std::min(FRowsInWindow, GetDisplayLineCount() - FTopLine);
    text = Format("%d - %d", RowToLine(FTopLine), RowToLine(FTopLine + rows));
  }
  if (text.size() > 255) text.resize(255);
  TRect rect = hint.CalcHintRect(200, text);
  TPoint at{ClientWidth() - rect.Width() - 4, 10};
  if (FOptions.Contains(eoScrollHintFollows)) {
    // Beside the thumb of the vertical bar.
    TScrollInfo info;
    info.fMask = SIF_ALL;
    GetScrollInfo(*this, SB_VERT, info);
    const int button = GetSystemMetrics(SM_CYVSCROLL);
    const double track = static_cast<double>(ClientHeight() - 2 * button) * info.nTrackPos / std::max(info.nMax, 1);
    at.Y = static_cast<int>(std::lround(track)) + rect.Height() / 2 + button;
  }
  at = ClientToScreen(at);
  OffsetRect(rect, at.X, at.Y);
  hint.ActivateHint(rect, text);
  hint.Update();
}

void TCustomSrcEdit::WMMouseWheel(TMessage& message) {
  if (ComponentState().Contains(csDesigning)) return;
  TCustomControl::WndProc(message);
  int linesPerNotch;
  if (GetKeyState(VK_CONTROL) < 0) {
    linesPerNotch = FOptions.Contains(eoHalfPageScroll) ? FRowsInWindow >> 1 : FRowsInWindow;
  } else {
    linesPerNotch = WheelScrollLines();
  }
  // A partial notch waits for the rest of its delta.
  const int sum = FMouseWheelAccumulator + SmallHi(message.WParam);
  FMouseWheelAccumulator = sum % WHEEL_DELTA;
  if (linesPerNotch == -1 || linesPerNotch > FRowsInWindow) linesPerNotch = FRowsInWindow;
  SetTopLine(ClampToInt(FTopLine - static_cast<long long>(sum / WHEEL_DELTA) * linesPerNotch));
  Update();
  if (OnScroll) OnScroll(this, sbVertical);
}

// ---------------------------------------------------------------- drag scrolling

void TCustomSrcEdit::ScrollTimerHandler(TObject*) {
  TPoint pointer;
  GetCursorPos(pointer);
  pointer = ScreenToClient(pointer);
  const int rows = GetDisplayLineCount();
  TDisplayCoord pos = PixelsToRowColumn(pointer.X, pointer.Y);
  pos.Row = std::max(1, std::min(pos.Row, rows));
  if (FScrollDeltaX != 0) {
    SetLeftChar(ClampToInt(static_cast<long long>(FLeftChar) + FScrollDeltaX));
    pos.Column = ClampToInt(static_cast<long long>(FLeftChar) + (FScrollDeltaX > 0 ? FColumnsInWindow : 0));
  }
  if (FScrollDeltaY != 0) {
    // Shift scrolls a page per tick.
    const long long step = GetKeyState(VK_SHIFT) < 0 ? static_cast<long long>(FScrollDeltaY) * FRowsInWindow : FScrollDeltaY;
    SetTopLine(ClampToInt(FTopLine + step));
    pos.Row = FTopLine + (FScrollDeltaY > 0 ? FRowsInWindow - 1 : 0);
    pos.Row = std::max(1, std::min(pos.Row, rows));
  }
  const TBufferCoord target = DisplayToBufferPos(pos);
  if (target != CaretXY()) {
    TSrcPaintLock lock(*this);
    InternalSetCaretXY(target);
    if (MouseCapture()) SetBlockEnd(CaretXY());
  }
  ComputeScroll(pointer.X, pointer.Y);
}

// ---------------------------------------------------------------- keeping the caret in view

void TCustomSrcEdit::EnsureCursorPosVisibleEx(bool forceToMiddle) {
  TSrcPaintLock lock(*this);
  const TDisplayCoord caret = DisplayXY();
  const long long x = caret.Column;
  if (x < FLeftChar)
    SetLeftChar(caret.Column);
  else if (x < static_cast<long long>(FLeftChar) + FColumnsInWindow || FColumnsInWindow <= 0)
    SetLeftChar(FLeftChar);
  else
    SetLeftChar(ClampToInt(x - FColumnsInWindow + 1));

  const long long y = caret.Row;
  if (!forceToMiddle) {
    if (y < FTopLine)
      SetTopLine(caret.Row);
    else if (y > static_cast<long long>(FTopLine) + std::max(FRowsInWindow, 1) - 1)
      SetTopLine(ClampToInt(y - FRowsInWindow + 1));
    else
      SetTopLine(FTopLine);
    return;
  }
  // Centred: a caret above the view (also on the row just above it) or
  // on the last rows of the view brings its row to the middle.
  const int half = FRowsInWindow / 2;
  if (y < FTopLine)
    SetTopLine(y - half < 0 ? 1 : ClampToInt(y - half + 1));
  else if (y > static_cast<long long>(FTopLine) + FRowsInWindow - 2)
    SetTopLine(ClampToInt(y - (FRowsInWindow - 1) + half));
}

// ---------------------------------------------------------------- the system caret

void TCustomSrcEdit::InitializeCaret() {
  TSrcEditCaretType type = FInsertMode ? FInsertCaret : FOverwriteCaret;
  int width = FCellWidth;
  int height = FRowHeight - 2;
  FCaretOffset = {0, 0};
  switch (type) {
    case ctVerticalLine:
      width = 2;
      FCaretOffset = {-1, 0};
      break;
    case ctHorizontalLine:
      height = 2;
      FCaretOffset = {0, FRowHeight - 2};
      break;
    case ctHalfBlock:
      height = (FRowHeight - 2) / 2;
      FCaretOffset = {0, height};
      break;
    case ctBlock:
      break;
  }
  FStateFlags.Exclude(sfCaretVisible);
  if (Focused() || FAlwaysShowCaret) {
    CreateCaret(*this, width, height);
    UpdateCaret();
  }
}

void TCustomSrcEdit::UpdateCaret() {
  if (FPaintLockCount > 0 || !HandleAllocated() || !(Focused() || FAlwaysShowCaret)) {
    FStateFlags.Include(sfCaretChanged);
    return;
  }
  FStateFlags.Exclude(sfCaretChanged);
  TDisplayCoord pos = DisplayXY();
  if (WordWrap() && pos.Column > FColumnsInWindow + 1) pos.Column = FColumnsInWindow + 1;
  TPoint pixel = RowColumnToPixels(pos);
  const int x = pixel.X + FCaretOffset.X;
  const int y = pixel.Y + FCaretOffset.Y + 1;
  SetCaretPos(x, y);
  TRect textArea = ClientRect();
  textArea.Left += FGutterWidth;
  if (PtInRect(textArea, {x, y}))
    ShowCaret();
  else
    HideCaret();
  // The input method composes at the caret.
  HIMC context = ImmGetContext(*this);
  TCompositionForm form;
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {x, y};
  ImmSetCompositionWindow(context, form);
  ImmReleaseContext(*this, context);
}

void TCustomSrcEdit::ShowCaret() {
  if (FOptions.Contains(eoNoCaret) || FStateFlags.Contains(sfCaretVisible)) return;
  if (vk::ShowCaret(this)) FStateFlags.Include(sfCaretVisible);
}

void TCustomSrcEdit::HideCaret() {
  if (FStateFlags.Contains(sfCaretVisible) && vk::HideCaret(this)) FStateFlags.Exclude(sfCaretVisible);
}

// ---------------------------------------------------------------- properties

void TCustomSrcEdit::SetInsertCaret(TSrcEditCaretType value) {
  if (value == FInsertCaret) return;
  FInsertCaret = value;
  InitializeCaret();
}

void TCustomSrcEdit::SetOverwriteCaret(TSrcEditCaretType value) {
  if (value == FOverwriteCaret) return;
  FOverwriteCaret = value;
  InitializeCaret();
}

void TCustomSrcEdit::SetInsertMode(bool value) {
  if (value == FInsertMode) return;
  FInsertMode = value;
  if (!ComponentState().Contains(csDesigning)) InitializeCaret();
  StatusChanged({scInsertMode});
}

void TCustomSrcEdit::SetTabWidth(int value) {
  value = std::clamp(value, 1, 256);
  if (value == FTabWidth) return;
  FTabWidth = value;
  FLines->SetTabWidth(value);
  Invalidate();
  if (FWordWrapPlugin) {
    FWordWrapPlugin->Reset();
    InvalidateGutter();
  }
}

void TCustomSrcEdit::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

}  // namespace vk
