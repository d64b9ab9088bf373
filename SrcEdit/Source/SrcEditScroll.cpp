// The view geometry: the character cell, how many cells fit, the scroll
// bars over the text and the system caret.

#include "SrcEdit/Source/SrcEdit.h"

#include <algorithm>

#include "platform/Caret.h"

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
  FRowHeight += FExtraLineSpacing;
}

void TCustomSrcEdit::SizeOrFontChanged(bool fontChanged) {
  if (!HandleAllocated() || FCellWidth == 0) return;
  FColumnsInWindow = std::max(ClientWidth() - FGutterWidth - 2, 0) / FCellWidth;
  FRowsInWindow = FRowHeight > 0 ? ClientHeight() / FRowHeight : 0;
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
}

namespace {

// One bar over 1..maximum showing page cells from position; beyond the
// 16-bit range of a scroll bar the values are scaled to 0..32767.
void SetBar(TWinControl& control, int bar, uint32_t mask, int maximum, int page, int position) {
  TScrollInfo info;
  info.fMask = mask;
  if (maximum > 0x7FFF) {
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
  ShowScrollBar(control, bar, true);
  SetScrollInfo(control, bar, info, true);
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
  uint32_t mask = SIF_ALL | (FOptions.Contains(eoHideShowScrollbars) ? 0 : SIF_DISABLENOSCROLL);
  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !WordWrap()) {
    int maximum = FOptions.Contains(eoScrollPastEol) ? FMaxScrollWidth : std::max(FLines->GetLengthOfLongestLine(), 1);
    SetBar(*this, SB_HORZ, mask, maximum, FColumnsInWindow, FLeftChar);
  } else {
    ShowScrollBar(*this, SB_HORZ, false);
  }
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    int maximum = FLines->Count() + (FOptions.Contains(eoScrollPastEof) ? FRowsInWindow - 1 : 0);
    SetBar(*this, SB_VERT, mask, maximum, FRowsInWindow, FTopLine);
  } else {
    ShowScrollBar(*this, SB_VERT, false);
  }
}

void TCustomSrcEdit::SetMaxScrollWidth(int value) {
  value = std::clamp(value, 1, 0x7FFFFFFE);
  if (value == FMaxScrollWidth) return;
  FMaxScrollWidth = value;
  if (FOptions.Contains(eoScrollPastEol)) UpdateScrollBars();
}

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
  if (FPaintLockCount > 0 || !(Focused() || FAlwaysShowCaret)) {
    FStateFlags.Include(sfCaretChanged);
    return;
  }
  FStateFlags.Exclude(sfCaretChanged);
}

void TCustomSrcEdit::HideCaret() {
  if (FStateFlags.Contains(sfCaretVisible) && vk::HideCaret(this)) FStateFlags.Exclude(sfCaretVisible);
}

}  // namespace vk
