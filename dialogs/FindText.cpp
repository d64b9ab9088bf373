#include "dialogs/FindText.h"

#include "dialogs/FormLayout.h"
#include "services/SettingsStore.h"
#include "platform/MessageBoxes.h"

namespace vk {

TFindForm* FindForm = nullptr;

TFindForm::TFindForm(TComponent* owner) : TForm(owner) {
  SetCaption("Find text");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetBounds(0, 0, 349, 304);
  OnShow = TNotifyEvent(this, &TFindForm::FormShow);

  Place(Bevel1, this, 8, 8, 327, 41)->SetShape(bsFrame);
  Place(Label1, this, 18, 21, 0, 0, "&Text to find")->SetFocusControl(ComboFindText);
  Place(ComboFindText, this, 100, 17, 225, 21);
  ComboFindText->SetDropDownCount(30);

  Place(GBOptions, this, 8, 57, 161, 73, "Options");
  Place(CBMatchCase, GBOptions, 10, 20, 145, 17, "&Case sensitive")->SetChecked(true);
  Place(CBWholeWord, GBOptions, 10, 44, 145, 17, "&Whole words only")->SetChecked(true);
  Place(GBDirection, this, 176, 57, 159, 73, "Direction");
  Place(RBForward, GBDirection, 10, 20, 140, 17, "Forwor&d")->SetChecked(true);
  Place(RBBackward, GBDirection, 10, 44, 140, 17, "&Backword");
  Place(GBScope, this, 8, 138, 161, 73, "Scope");
  Place(RBGlobal, GBScope, 10, 20, 145, 17, "&Global")->SetChecked(true);
  Place(RBSelectedOnly, GBScope, 10, 44, 145, 17, "&Selected text");
  Place(GBOrigin, this, 176, 138, 159, 73, "Origin");
  Place(RBFromCursor, GBOrigin, 10, 20, 140, 17, "&From cursor")->SetChecked(true);
  Place(RBEntireScope, GBOrigin, 10, 44, 140, 17, "&Entire scope");

  Place(OKBtn, this, 24, 228, 75, 25, "Ok")->SetModalResult(mrOk);
  OKBtn->SetDefault(true);
  OKBtn->OnClick = TNotifyEvent(this, &TFindForm::OKBtnClick);
  Place(ReplaceAllBtn, this, 134, 228, 75, 25, "Find")->SetModalResult(mrAll);
  ReplaceAllBtn->OnClick = TNotifyEvent(this, &TFindForm::ReplaceAllBtnClick);
  Place(CancelBtn, this, 244, 228, 75, 25, "Cancel")->SetModalResult(mrCancel);
  CancelBtn->SetCancel(true);

  SetTabOrders({ComboFindText, GBOptions, GBDirection, GBScope, GBOrigin, OKBtn, ReplaceAllBtn, CancelBtn});
}

void TFindForm::FormShow(TObject*) {
  SetActiveControl(ComboFindText);
  ShowSearchHistory(*ComboFindText, FHistory, "Cannot find the file [FindF.ini] to read!");
}

void TFindForm::OKBtnClick(TObject*) {
  StoreSearchText(*ComboFindText, FHistory, hsWhenAdded, "Cannot find the file [FindF.ini] to save!");
}

// "Find" writes the history (cut to 40 entries) even when the text was not
// stored.
void TFindForm::ReplaceAllBtnClick(TObject*) {
  StoreSearchText(*ComboFindText, FHistory, hsAlways, "Cannot find the file [FindF.ini] to save!");
}

void ShowSearchHistory(TComboBox& combo, TSearchHistory& history, const std::string& readErrorText) {
  const std::string text = combo.Text();
  combo.Clear();
  const bool loaded = history.Load(LookUpInstallFolder().Folder) == hlLoaded;
  if (loaded)
    for (const std::string& entry : history.Entries()) combo.Items().Add(entry);
  combo.SetText(text);
  if (!loaded) MessageBox(readErrorText, "Error", MB_OK | MB_ICONERROR);
}

void StoreSearchText(const TComboBox& combo, TSearchHistory& history, THistorySave mode,
                     const std::string& saveErrorText) {
  if (history.Add(combo.Text(), mode) == haSaveFailed) MessageBox(saveErrorText, "Error", MB_OK | MB_ICONERROR);
}

}  // namespace vk
