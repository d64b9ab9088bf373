#pragma once
// The find dialog: the text to look for in the active document and the
// search options, with the texts looked for before (FindF.ini in the editor
// folder) in the text field's list. It searches nothing itself.
//
// The document window's find command:
//   1. sets ComboFindText's text (the selection's first line, or the
//      tool-bar find box);
//   2. ShowModal (each showing reads the history again);
//   3. goes on for mrOk and mrAll alike, reading ComboFindText's text and
//      the Checked state of CBMatchCase, CBWholeWord, RBSelectedOnly,
//      RBBackward and RBEntireScope.
// The buttons store the text in the history but never change it: the
// caller reads the text as typed or pre-filled. Options keep their states
// from one showing to the next.

#include <string>

#include "services/SearchHistory.h"
#include "platform/Buttons.h"
#include "platform/CheckBoxes.h"
#include "platform/ComboBoxes.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/Panels.h"

namespace vk {

class TFindForm : public TForm {
public:
  explicit TFindForm(TComponent* owner);
  std::string ClassName() const override { return "TFindForm"; }

  TBevel* Bevel1 = new TBevel(this);
  TLabel* Label1 = new TLabel(this);
  TComboBox* ComboFindText = new TComboBox(this);
  TGroupBox* GBOptions = new TGroupBox(this);
  TCheckBox* CBMatchCase = new TCheckBox(this);
  TCheckBox* CBWholeWord = new TCheckBox(this);
  TGroupBox* GBDirection = new TGroupBox(this);
  TRadioButton* RBForward = new TRadioButton(this);
  TRadioButton* RBBackward = new TRadioButton(this);
  TGroupBox* GBScope = new TGroupBox(this);
  TRadioButton* RBGlobal = new TRadioButton(this);
  TRadioButton* RBSelectedOnly = new TRadioButton(this);
  TGroupBox* GBOrigin = new TGroupBox(this);
  TRadioButton* RBFromCursor = new TRadioButton(this);
  TRadioButton* RBEntireScope = new TRadioButton(this);
  TButton* OKBtn = new TButton(this);
  TButton* ReplaceAllBtn = new TButton(this);
  TButton* CancelBtn = new TButton(this);

  const TSearchHistory& History() const { return FHistory; }

private:
  void FormShow(TObject* sender);
  void OKBtnClick(TObject* sender);
  void ReplaceAllBtnClick(TObject* sender);

  TSearchHistory FHistory{"FindF.ini"};
};

// Made at start-up; lives until the program ends.
extern TFindForm* FindForm;

// What both search dialogs do with a history field.
// On showing: the combo box's list becomes the history (empty, with the
// read error box, when the file cannot be read); its text stays.
void ShowSearchHistory(TComboBox& combo, TSearchHistory& history, const std::string& readErrorText);
// On a button: the text goes into the history (the save error box when the
// file cannot be written); the combo box's text stays.
void StoreSearchText(const TComboBox& combo, TSearchHistory& history, THistorySave mode,
                     const std::string& saveErrorText);

}  // namespace vk
