#pragma once
// The replace dialog: the text to find, the replacement and the search
// options, with two histories in the editor folder: the texts looked for
// (ReplaceF.ini) and the replacements (ReplaceR.ini). It replaces nothing
// itself.
//
// The document window's replace command:
//   1. sets ComboFindText's text to the selection (ComboReplaceText keeps
//      the text of the last showing);
//   2. ShowModal (each showing reads both histories again);
//   3. goes on for mrOk (replace) and mrAll (replace all), reading the texts
//      of ComboFindText and ComboReplaceText and the Checked state of
//      CBMatchCase, CBWholeWord, CBPrompt, RBSelectedOnly, RBBackward and
//      RBEntireScope.
// Both buttons store both texts, each only when it is 1 to 29 bytes long;
// the texts the caller reads stay as typed or pre-filled.

#include <string>

#include "services/SearchHistory.h"
#include "platform/Buttons.h"
#include "platform/CheckBoxes.h"
#include "platform/ComboBoxes.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/Panels.h"

namespace vk {

class TReplaceFind : public TForm {
public:
  explicit TReplaceFind(TComponent* owner);
  std::string ClassName() const override { return "TReplaceFind"; }

  TBevel* Bevel1 = new TBevel(this);
  TLabel* Label1 = new TLabel(this);
  TComboBox* ComboFindText = new TComboBox(this);
  TLabel* LabelReplace = new TLabel(this);
  TComboBox* ComboReplaceText = new TComboBox(this);
  TGroupBox* GBOptions = new TGroupBox(this);
  TCheckBox* CBMatchCase = new TCheckBox(this);
  TCheckBox* CBWholeWord = new TCheckBox(this);
  TCheckBox* CBPrompt = new TCheckBox(this);
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

  const TSearchHistory& FindHistory() const { return FFindHistory; }
  const TSearchHistory& ReplaceHistory() const { return FReplaceHistory; }

private:
  void FormShow(TObject* sender);
  // Both buttons: each history gets its text.
  void OKBtnClick(TObject* sender);

  TSearchHistory FFindHistory{"ReplaceF.ini"};
  TSearchHistory FReplaceHistory{"ReplaceR.ini"};
};

// Made at start-up; lives until the program ends.
extern TReplaceFind* ReplaceFind;

}  // namespace vk
