#include "platform/Edits.h"

#include <algorithm>

#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/InputState.h"
#include "platform/ScopeGuard.h"

namespace vk {

int CharStartOffset(const std::string& text, int offset) {
  offset = std::clamp(offset, 0, static_cast<int>(text.size()));
  if (offset < static_cast<int>(text.size()) && CodePage::ByteTypeAt(text, static_cast<size_t>(offset)) == mbTrailByte) --offset;
  return offset;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

// ---------------------------------------------------------------- properties

void TCustomEdit::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  NotifyPeer(ppStyle);
}

void TCustomEdit::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (value == FMaxLength) return;
  FMaxLength = value;
  NotifyPeer(ppStyle);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  NotifyPeer(ppStyle);
}

// ---------------------------------------------------------------- the selection

void TCustomEdit::Select(int start, int length) {
  const std::string text = StoredText();
  const int size = static_cast<int>(text.size());
  start = std::clamp(start, 0, size);
  int end = CharStartOffset(text, start + std::clamp(length, 0, size - start));
  start = CharStartOffset(text, start);
  if (start == FSelStart && end - start == FSelLength) return;
  FSelStart = start;
  FSelLength = end - start;
  FTypingRun = false;
  NotifyPeer(ppSelection);
}

std::string TCustomEdit::SelText() const {
  return StoredText().substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength));
}

void TCustomEdit::SetSelText(const std::string& value) { ReplaceSelection(value, false); }

void TCustomEdit::ReplaceSelection(const std::string& text, bool canUndo) {
  const std::string old = StoredText();
  const std::string edited =
      old.substr(0, static_cast<size_t>(FSelStart)) + text + old.substr(static_cast<size_t>(FSelStart + FSelLength));
  if (ApplyEdit(edited, FSelStart + static_cast<int>(text.size()), false) && !canUndo) FCanUndo = false;
}

void TCustomEdit::ClearSelection() {
  if (FSelLength > 0) UserReplace("", false);
}

// ---------------------------------------------------------------- changes

bool TCustomEdit::ApplyEdit(const std::string& text, int caret, bool typing) {
  const std::string old = StoredText();
  if (text == old) {
    Select(caret, 0);
    return false;
  }
  if (!(typing && FTypingRun && FCanUndo)) {
    FUndoText = old;
    FUndoSelStart = FSelStart;
  }
  FCanUndo = true;
  {
    TTempValue storing(FUserEditText, &text);
    Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(text.c_str()));
  }
  FSelStart = CharStartOffset(text, caret);
  FSelLength = 0;
  FTypingRun = typing;
  NotifyPeer(ppText);
  Change();
  return true;
}

void TCustomEdit::StoredTextChanged(int caret) {
  FCanUndo = false;
  FTypingRun = false;
  FSelStart = std::clamp(caret, 0, TextLength());
  FSelLength = 0;
  NotifyPeer(ppText);
  Change();
}

void TCustomEdit::UserReplace(const std::string& text, bool typing) {
  if (FReadOnly) return;
  std::string inserted = text;
  if (FMaxLength > 0) {
    const int room = FMaxLength - (TextLength() - FSelLength);
    if (room <= 0 && !inserted.empty()) return;
    if (static_cast<int>(inserted.size()) > room) inserted.resize(static_cast<size_t>(CharStartOffset(inserted, room)));
  }
  const std::string old = StoredText();
  ApplyEdit(old.substr(0, static_cast<size_t>(FSelStart)) + inserted + old.substr(static_cast<size_t>(FSelStart + FSelLength)),
            FSelStart + static_cast<int>(inserted.size()), typing);
}

void TCustomEdit::UserEdit(const std::string& text, int caret) {
  std::string edited = text;
  if (FMaxLength > 0 && static_cast<int>(edited.size()) > FMaxLength)
    edited.resize(static_cast<size_t>(CharStartOffset(edited, FMaxLength)));
  ApplyEdit(edited, caret, false);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::Undo() {
  // The text undone becomes the undo text, so a second Undo redoes.
  if (FCanUndo && !FReadOnly) ApplyEdit(std::string(FUndoText), FUndoSelStart, false);
}

// ---------------------------------------------------------------- the clipboard

void TCustomEdit::CopyToClipboard() {
  if (FSelLength > 0 && !Clipboard().SetAsText(SelText()))
    throw EClipboardError("Cannot put the text on the clipboard");
}

void TCustomEdit::CutToClipboard() {
  if (FSelLength == 0 || FReadOnly) return;
  CopyToClipboard();
  UserReplace("", false);
}

void TCustomEdit::PasteFromClipboard() {
  const std::string text = PastedText(Clipboard().AsText());
  if (!text.empty()) UserReplace(text, false);
}

std::string TCustomEdit::PastedText(const std::string& text) const { return text.substr(0, text.find_first_of("\r\n")); }

// ---------------------------------------------------------------- keys

void TCustomEdit::TypeChar(const std::string& chars) {
  const auto c = static_cast<unsigned char>(chars[0]);
  switch (c) {
    case 0x01: SelectAll(); return;
    case 0x03: CopyToClipboard(); return;
    case 0x16: PasteFromClipboard(); return;
    case 0x18: CutToClipboard(); return;
    case 0x1A: Undo(); return;
    case '\b':
      if (FSelLength == 0 && FSelStart > 0) {
        // The character before the caret, both bytes of a double-byte one.
        const int start = CharStartOffset(StoredText(), FSelStart - 1);
        Select(start, FSelStart - start);
      }
      UserReplace("", false);
      return;
    default:
      if (c >= 0x20) UserReplace(chars, true);
  }
}

void TCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  if (key && EditKey(key, shift)) key = 0;
  FKeyTaken = key == 0;
}

bool TCustomEdit::EditKey(uint16_t key, TShiftState shift) {
  const bool shifted = shift.Contains(ssShift), ctrl = shift.Contains(ssCtrl);
  if (key == VK_DELETE && shifted) {
    CutToClipboard();
  } else if (key == VK_DELETE && !ctrl) {
    const std::string text = StoredText();
    if (FSelLength == 0 && FSelStart < static_cast<int>(text.size()))
      Select(FSelStart, static_cast<int>(CodePage::CharLength(text.data(), text.size(), static_cast<size_t>(FSelStart))));
    ClearSelection();
  } else if (key == VK_INSERT && ctrl) {
    CopyToClipboard();
  } else if (key == VK_INSERT && shifted) {
    PasteFromClipboard();
  } else {
    return false;
  }
  return true;
}

void TCustomEdit::DoEnter() {
  if (FAutoSelect && !ControlState().Contains(csLButtonDown)) SelectAll();
  TWinControl::DoEnter();
}

// ---------------------------------------------------------------- messages

void TCustomEdit::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT:
      if (FUserEditText) {
        StoreText(*FUserEditText);
      } else {
        StoreText(MessageText(message));
        FCanUndo = false;
        FTypingRun = false;
        FSelStart = 0;
        FSelLength = 0;
      }
      message.Result = 1;
      return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      AnswerTextMessage(message, StoredText());
      return;
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
      return;
    case WM_KEYDOWN: {
      TTempValue taken(FKeyTaken, false);
      TWinControl::WndProc(message);
      message.Result = FKeyTaken ? 1 : 0;
      return;
    }
    case WM_CHAR: {
      if (!Enabled()) return;
      char key = static_cast<char>(message.WParam);
      KeyPress(key);
      if (key == 0) {
        FLeadByte = 0;
        return;
      }
      if (FLeadByte) {
        const char pair[] = {FLeadByte, key, 0};
        FLeadByte = 0;
        TypeChar(pair);
      } else if (CodePage::IsLeadByte(static_cast<unsigned char>(key))) {
        FLeadByte = key;
      } else {
        TypeChar(std::string(1, key));
      }
      return;
    }
    case EM_GETSEL: {
      const int end = FSelStart + FSelLength;
      if (message.WParam) *reinterpret_cast<int32_t*>(message.WParam) = FSelStart;
      if (message.LParam) *reinterpret_cast<int32_t*>(message.LParam) = end;
      message.Result = MakeLParam(FSelStart, end);
      return;
    }
    case EM_SETSEL: {
      // A start of -1 removes the selection; an end of -1 means the end.
      const int start = static_cast<int>(static_cast<intptr_t>(message.WParam));
      int end = static_cast<int>(message.LParam);
      if (start < 0) {
        Select(FSelStart, 0);
        return;
      }
      if (end < 0) end = TextLength();
      Select(std::min(start, end), std::abs(end - start));
      return;
    }
    case EM_REPLACESEL: {
      ReplaceSelection(MessageText(message), message.WParam != 0);
      return;
    }
    case EM_CANUNDO:
      message.Result = FCanUndo ? 1 : 0;
      return;
    case EM_UNDO:
      message.Result = FCanUndo && !FReadOnly ? 1 : 0;
      Undo();
      return;
    default:
      TWinControl::WndProc(message);
  }
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

}  // namespace vk
