#include "SrcEdit/Source/SrcEditHotKey.h"

#include "platform/Caret.h"

namespace vk {

namespace {

// The pieces of the shown text.
const char* const ShiftText = "Shift+";
const char* const CtrlText = "Ctrl+";
const char* const AltText = "Alt+";
const char* const NoneText = "(None)";

// The key is itself a modifier that is held (Shift, Ctrl or Alt alone).
bool IsModifierKey(uint16_t key, TShiftState shift) {
  return (key == VK_SHIFT && shift.Contains(ssShift)) || (key == VK_CONTROL && shift.Contains(ssCtrl)) ||
         (key == VK_MENU && shift.Contains(ssAlt));
}

}  // namespace

THKInvalidKey ShiftStateToInvalidKey(TShiftState shift) {
  bool s = shift.Contains(ssShift);
  bool c = shift.Contains(ssCtrl);
  bool a = shift.Contains(ssAlt);
  if (s && c && a) return hcShiftCtrlAlt;
  if (c && a) return hcCtrlAlt;
  if (s && a) return hcShiftAlt;
  if (s && c) return hcShiftCtrl;
  if (a) return hcAlt;
  if (c) return hcCtrl;
  if (s) return hcShift;
  return hcNone;
}

TShiftState ModifiersToShiftState(THKModifiers modifiers) {
  TShiftState shift;
  if (modifiers.Contains(hkShift)) shift.Include(ssShift);
  if (modifiers.Contains(hkCtrl)) shift.Include(ssCtrl);
  if (modifiers.Contains(hkAlt)) shift.Include(ssAlt);
  return shift;
}

std::string HotKeyText(uint16_t key, TShiftState shift) {
  std::string text;
  if (shift.Contains(ssCtrl)) text += CtrlText;
  if (shift.Contains(ssShift)) text += ShiftText;
  if (shift.Contains(ssAlt)) text += AltText;
  if (key != 0) text += ShortCutToText(ShortCut(key, {}));
  return text.empty() ? NoneText : text;
}

TSrcHotKey::TSrcHotKey(TComponent* owner) : TCustomControl(owner) {
  SetHotKey(ShortCut('A', {}));
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
}

void TSrcHotKey::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  RecreateWnd();
}

TShiftState TSrcHotKey::ValidShift(TShiftState shift) const {
  return FInvalidKeys.Contains(ShiftStateToInvalidKey(shift)) ? ModifiersToShiftState(FModifiers) : shift;
}

void TSrcHotKey::SetHotKey(TShortCut value) {
  uint16_t key = 0;
  TShiftState shift;
  ShortCutToKey(value, key, shift);
  // Modifiers without a key are no shortcut: the value clears it, instead of
  // storing the replacement modifiers alone (such as a bare Alt+).
  if (key == 0) {
    FHotKey = 0;
    ShowText(NoneText);
    return;
  }
  shift = ValidShift(shift);
  FHotKey = ShortCut(key, shift);
  ShowText(HotKeyText(key, shift));
}

void TSrcHotKey::SetInvalidKeys(THKInvalidKeys value) {
  FInvalidKeys = value;
  SetHotKey(FHotKey);
}

void TSrcHotKey::SetModifiers(THKModifiers value) {
  FModifiers = value;
  SetHotKey(FHotKey);
}

void TSrcHotKey::ShowText(const std::string& text) {
  SetText(text);
  Invalidate();
}

void TSrcHotKey::MoveCaretToTextEnd() {
  int inset = BorderWidth() + 1;
  SetCaretPos(Canvas().TextWidth(Text()) + inset, inset);
}

void TSrcHotKey::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
  params.Style |= WS_CLIPCHILDREN;
  if (FBorderStyle == bsSingle) params.Style |= WS_BORDER;
  if (NewStyleControls && Ctl3D() && FBorderStyle == bsSingle) {
    params.Style &= ~WS_BORDER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TSrcHotKey::Paint() {
  TRect r = ClientRect();
  InflateRect(r, -BorderWidth(), -BorderWidth());
  Canvas().Brush().SetColor(Color());
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().FillRect(r);
  Canvas().TextRect(r, BorderWidth() + 1, BorderWidth() + 1, Text());
}

void TSrcHotKey::KeyDown(uint16_t& key, TShiftState shift) {
  uint16_t textKey = key;
  FModifierOnly = IsModifierKey(key, shift);
  shift = ValidShift(shift);
  if (FModifierOnly) {
    FHotKey = 0;
    textKey = 0;
  } else {
    FHotKey = ShortCut(key, shift);
  }
  std::string text = HotKeyText(textKey, shift);
  if (text != Text()) {
    ShowText(text);
    MoveCaretToTextEnd();
  }
}

void TSrcHotKey::KeyUp(uint16_t&, TShiftState) {
  if (!FModifierOnly) return;
  ShowText(NoneText);
  MoveCaretToTextEnd();
}

void TSrcHotKey::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  SetFocus();
}

void TSrcHotKey::DoExit() {
  TCustomControl::DoExit();
  if (FModifierOnly) ShowText(NoneText);
}

void TSrcHotKey::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      // Arrow keys and Tab are keys to capture, not to move between controls.
      message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
      return;
    case WM_SETFOCUS:
      TCustomControl::WndProc(message);
      Canvas().Font().Assign(Font());
      // Height is negative for a font given in pixels: the caret is the
      // character height plus 2.
      CreateCaret(*this, 1, 2 - Font().Height());
      MoveCaretToTextEnd();
      ShowCaret(this);
      return;
    case WM_KILLFOCUS:
      TCustomControl::WndProc(message);
      DestroyCaret();
      return;
    default:
      TCustomControl::WndProc(message);
  }
}

}  // namespace vk
