#pragma once
// The edit controls: TCustomEdit, the text field every edit control shares,
// and TEdit, the single-line field.
//
// The model types: a character message (WM_CHAR) runs OnKeyPress, whose
// handler may change the key or swallow it (0), and the key that is left
// replaces the selection; Backspace and Delete delete, Ctrl+C, Ctrl+X,
// Ctrl+V and Ctrl+Z copy, cut, paste and undo. A double-byte character
// arrives as its lead and trail byte and is typed whole. Positions are byte
// offsets in the text (a memo's line break counts two); a selection never
// ends inside a double-byte character.
//
// Setting the text from code fires OnChange when it changes, as every
// change of the text by the user does; it empties the undo buffer and puts
// the caret at the start. Undo takes back the last change by the user (a
// run of typed characters counts as one) and, done twice, redoes it.

#include <cstdint>
#include <string>

#include "platform/Controls.h"
#include "platform/EditMessages.h"
#include "platform/StandardActions.h"

namespace vk {

class TCustomEdit : public TWinControl, public TEditActionTarget {
public:
  explicit TCustomEdit(TComponent* owner);
  std::string ClassName() const override { return "TCustomEdit"; }

  // ----- the selection (EM_GETSEL / EM_SETSEL)
  int SelStart() const { return FSelStart; }
  // Puts the caret there, with nothing selected.
  void SetSelStart(int value) { Select(value, 0); }
  int SelLength() const override { return FSelLength; }
  void SetSelLength(int value) { Select(FSelStart, value); }
  std::string SelText() const;
  // Replaces the selection (EM_REPLACESEL without undo), no matter
  // ReadOnly or MaxLength; the caret goes after the new text.
  void SetSelText(const std::string& value);
  void SelectAll() override { Select(0, TextLength()); }
  // Deletes the selected text (not in a read-only control).
  void ClearSelection();

  // ----- what the user may do
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  // The most bytes the user can make the text (0: no limit); text set by
  // code is not cut.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  // Entering the field by keyboard selects all of its text.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }

  // ----- the edit actions
  bool CanUndo() const override { return FCanUndo; }
  void Undo() override;
  void ClearUndo() { FCanUndo = false; }
  // A copy the clipboard does not take raises EClipboardError; a cut then
  // deletes nothing.
  void CutToClipboard() override;
  void CopyToClipboard() override;
  void PasteFromClipboard() override;

  // The user changed the text in the screen's widget (its own menu, a
  // dropped text); the caret stands at caret.
  void UserEdit(const std::string& text, int caret);

  TNotifyEvent OnChange;

  // Also answers EM_GETSEL, EM_SETSEL, EM_REPLACESEL, EM_CANUNDO and
  // EM_UNDO. WM_KEYDOWN answers 1 when the key was taken (its OnKeyDown
  // handler swallowed it, or the edit deleted, copied or pasted with it):
  // a screen's widget must not handle it as well.
  void WndProc(TMessage& message) override;

protected:
  // The text as the control keeps it; a memo keeps lines.
  virtual std::string StoredText() const { return FText; }
  virtual void StoreText(const std::string& text) { FText = text; }
  virtual int TextLength() const { return static_cast<int>(FText.size()); }
  // What a paste inserts of the clipboard's text: up to the first line
  // break here.
  virtual std::string PastedText(const std::string& text) const;
  // Types a character (or a double-byte pair) the key press left; a
  // control character does nothing here.
  virtual void TypeChar(const std::string& chars);
  // Replaces the selection as the user does: not when read-only, cut to
  // MaxLength, recorded for Undo (typing joins the run before it).
  void UserReplace(const std::string& text, bool typing);
  // The text changed (from code): OnChange.
  void TextChanged() override { Change(); }
  // The stored text was changed by code other than WM_SETTEXT: the caret
  // goes to caret (the start of a character), the undo buffer empties, the
  // peer shows the text and OnChange fires.
  void StoredTextChanged(int caret);
  virtual void Change();
  // OnKeyDown, then the edit's own keys.
  void KeyDown(uint16_t& key, TShiftState shift) override;
  // An edit key that OnKeyDown left: true when the edit did something with
  // it (here Delete, Shift+Delete, Ctrl+Insert and Shift+Insert).
  virtual bool EditKey(uint16_t key, TShiftState shift);
  void DoEnter() override;

private:
  // Sets the selection, kept inside the text and whole characters.
  void Select(int start, int length);
  // Stores a changed text with the caret at caret, recorded for Undo;
  // false when the text is the same.
  bool ApplyEdit(const std::string& text, int caret, bool typing);
  // EM_REPLACESEL: the replacement is recorded for Undo with canUndo.
  void ReplaceSelection(const std::string& text, bool canUndo);


  std::string FText;
  int FSelStart = 0;
  int FSelLength = 0;
  bool FReadOnly = false;
  int FMaxLength = 0;
  TBorderStyle FBorderStyle = bsSingle;
  bool FAutoSelect = true;
  bool FCanUndo = false;
  bool FTypingRun = false;  // the last change was typing that may go on
  std::string FUndoText;
  int FUndoSelStart = 0;
  // The user's edit being stored: its whole text, which WM_SETTEXT
  // carries only up to a NUL byte.
  const std::string* FUserEditText = nullptr;
  bool FKeyTaken = false;
  char FLeadByte = 0;  // the first half of a double-byte character typed
};

class TEdit : public TCustomEdit {
public:
  explicit TEdit(TComponent* owner);
  std::string ClassName() const override { return "TEdit"; }
};

// A text's byte offset moved back to the start of the character it falls
// in.
int CharStartOffset(const std::string& text, int offset);

}  // namespace vk
