#include "dialogs/ReplaceFind.h"

#include "dialogs/FindText.h"
#include "dialogs/FormLayout.h"

namespace vk {

TReplaceFind* ReplaceFind = nullptr;

TReplaceFind::TReplaceFind(TComponent* owner) : TForm(owner) {
  SetCaption("Replace text");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetBounds(0, 0, 353, 319);
  OnShow = TNotifyEvent(this, &TReplaceFind::FormShow);

  Place(Bevel1, this, 8, 8, 331, 66)->SetShape(bsFrame);
  Place(Label1, this, 18, 21, 0, 0, "&Text to find:")->SetFocusControl(ComboFindText);
  Place(ComboFindText, this, 104, 17, 225, 21)->SetDropDownCount(30);
  Place(LabelReplace, this, 18, 47, 0, 0, "&Replace with:")->SetFocusControl(ComboReplaceText);
  Place(ComboReplaceText, this, 104, 43, 225, 21)->SetDropDownCount(30);

  Place(GBOptions, this, 8, 82, 163, 92, "Options");
  Place(CBMatchCase, GBOptions, 10, 20, 147, 17, "&Case sensitive")->SetChecked(true);
  Place(CBWholeWord, GBOptions, 10, 43, 147, 17, "&Whole words only");
  Place(CBPrompt, GBOptions, 10, 66, 147, 17, "&Prompt on replace")->SetChecked(true);
  Place(GBDirection, this, 178, 82, 161, 92, "Direction");
  Place(RBForward, GBDirection, 10, 20, 145, 17, "Forward")->SetChecked(true);
  Place(RBBackward, GBDirection, 10, 43, 145, 17, "Backeard");
  Place(GBScope, this, 8, 181, 163, 68, "Scope");
  Place(RBGlobal, GBScope, 10, 20, 147, 17, "&Global")->SetChecked(true);
  Place(RBSelectedOnly, GBScope, 10, 43, 147, 17, "&Selected text");
  Place(GBOrigin, this, 178, 181, 161, 68, "Origin");
  Place(RBFromCursor, GBOrigin, 10, 20, 145, 17, "&Form cursor");
  Place(RBEntireScope, GBOrigin, 10, 43, 145, 17, "&Entire scope")->SetChecked(true);

  Place(OKBtn, this, 24, 260, 75, 25, "OK")->SetModalResult(mrOk);
  OKBtn->SetDefault(true);
  OKBtn->OnClick = TNotifyEvent(this, &TReplaceFind::OKBtnClick);
  Place(ReplaceAllBtn, this, 136, 260, 75, 25, "Replace &All")->SetModalResult(mrAll);
  ReplaceAllBtn->OnClick = TNotifyEvent(this, &TReplaceFind::OKBtnClick);
  Place(CancelBtn, this, 248, 260, 75, 25, "Cancel")->SetModalResult(mrCancel);
  CancelBtn->SetCancel(true);

  SetTabOrders({ComboFindText, ComboReplaceText, GBOptions, GBDirection, GBScope, GBOrigin, OKBtn, ReplaceAllBtn,
                CancelBtn});
}

void TReplaceFind::FormShow(TObject*) {
  SetActiveControl(ComboFindText);
  ShowSearchHistory(*ComboFindText, FFindHistory, "Cannot find the file[ReplaceF.ini]to read! ");
  ShowSearchHistory(*ComboReplaceText, FReplaceHistory, "Cannot find the file[ReplaceR.ini]to read! ");
}

void TReplaceFind::OKBtnClick(TObject*) {
  StoreSearchText(*ComboFindText, FFindHistory, hsWhenAdded, "Cannot find the file [ReplaceF.ini]to save!");
  StoreSearchText(*ComboReplaceText, FReplaceHistory, hsWhenAdded, "Cannot find the file [ReplaceR.ini]to save!");
}

}  // namespace vk
