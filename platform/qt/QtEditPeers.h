#pragma once
// Peers of the edit controls: QLineEdit for TEdit, QPlainTextEdit for memos
// and rich edits, QSpinBox for the spin edit.
//
// In an edit or a memo the model types: the widget hands every key to the
// model (WM_KEYDOWN, then WM_CHAR for what the key types, and the input
// method's result as characters), so OnKeyDown and OnKeyPress see and may
// swallow it, and the widget shows the text and selection the model has.
// Keys the model leaves (the caret and selection keys) move the widget's
// caret, and the selection the user makes reaches the model as EM_SETSEL.
// A change the widget makes itself (its own menu, a dropped text) reaches
// the model as UserEdit. A memo's widget follows a burst of changes (a
// build adding its output line by line) once, before the event loop waits
// or the user's next input. A memo emptied from code shows the end of
// what is added to it, until the user scrolls away from there (and again
// once the user scrolls back to the end).

#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QSpinBox>
#include <string>

#include "platform/Memos.h"
#include "platform/SpinEdits.h"
#include "platform/qt/QtPeer.h"

namespace vk {

// An edit text as the widget holds it: one Qt character for each
// character (a double-byte one included), a line break as '\n'.
QString EditTextToQString(const std::string& text);
// The widget's index of a byte offset of the text, and back.
int EditIndexOf(const std::string& text, int offset);
int EditOffsetOf(const std::string& text, int index);

class TQtEditPeer : public TQtWidgetPeer {
public:
  explicit TQtEditPeer(TCustomEdit& edit);
  void PropertyChanged(TPeerProperty property) override;

private:
  void ShowText();
  void ShowSelection();
  void ReportSelection();

  TCustomEdit& FEdit;
  QLineEdit* FLine;
};

class TQtMemoPeer : public TQtWidgetPeer {
public:
  explicit TQtMemoPeer(TCustomMemo& memo);
  void PropertyChanged(TPeerProperty property) override;
  void Attached() override;
  // Brings the widget to the model's text and selection now.
  void Sync();

private:
  void SyncLater();
  // Replaces what differs between the widget's text and the model's.
  void ShowWholeText();
  // Replaces the widget's lines from first on by the model's; the lines
  // before it are the same in both.
  void ShowLinesFrom(int first);
  void ShowSelection();
  // The widget's index of a byte offset of the model's text.
  int WidgetIndexOf(int offset) const;
  // The model's offset of the widget's character index: the inverse.
  int ModelOffsetOf(int index) const;
  void ReportSelection();
  void ReportEdit();

  TCustomMemo& FMemo;
  QPlainTextEdit* FText;
  bool FSyncPending = false;
  // The widget's text may differ from the model's anywhere: it is new, or
  // the user changed it.
  bool FWidgetChanged = true;
  // The view keeps showing the text's end.
  bool FFollowing = false;
};

class TQtSpinEditPeer : public TQtWidgetPeer {
public:
  explicit TQtSpinEditPeer(TCSpinEdit& spin);
  void PropertyChanged(TPeerProperty property) override;

private:
  TCSpinEdit& FSpin;
  QSpinBox* FBox;
};

}  // namespace vk
