#include "dialogs/ReplaceSelect.h"

#include <algorithm>

#include "dialogs/FormLayout.h"
#include "platform/Dialogs.h"

namespace vk {

TReplaceSelect* ReplaceSelect = nullptr;

namespace {

// A label shows "&&" as one ampersand and takes a single one as a key mark.
std::string LabelText(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '&' ? std::string("&&") : std::string(1, c);
  return shown;
}

}  // namespace

TReplaceSelect::TReplaceSelect(TComponent* owner) : TForm(owner) {
  SetCaption("Confirm");
  SetBorderStyle(bsDialog);
  SetBounds(0, 0, 483, 129);
  OnCreate = TNotifyEvent(this, &TReplaceSelect::FormCreate);
  OnShow = TNotifyEvent(this, &TReplaceSelect::FormShow);

  Place(Image, this, 15, 5, 32, 32);
  Place(LabelTxt, this, 60, 10, 0, 0, "Replace the found character?");
  const struct {
    TButton* Button;
    const char* Caption;
    TModalResult Result;
  } buttons[] = {
      {YesBtn, "&OK", mrYes}, {NoBtn, "&NO", mrNo}, {CancelBtn, "&Cancel", mrCancel}, {AllBtn, "&All", mrAll}};
  int left = 63;
  for (const auto& b : buttons) {
    Place(b.Button, this, left, 55, 75, 25, b.Caption)->SetModalResult(b.Result);
    b.Button->SetAnchors({akTop, akRight});
    left += 80;
  }
  YesBtn->SetDefault(true);
  CancelBtn->SetCancel(true);
}

void TReplaceSelect::FormCreate(TObject*) {
  TBitmap icon;
  if (DialogService().StandardIcon(IDI_QUESTION, icon)) Image->Picture()->Assign(icon);
  FDesignWidth = Width();
  FRightMargin = FDesignWidth - (AllBtn->Left() + AllBtn->Width());
  std::unique_ptr<TCanvas> canvas = CreateScreenCanvas();
  canvas->Font().Assign(Font());
  FGapY = 2 * canvas->TextHeight("W");
  FGapX = 2 * canvas->TextWidth("W");
}

void TReplaceSelect::PlaceNear(int x, int y) {
  const int top = y + Height() + FGapY > Screen().Height() ? y - Height() - FGapY : y + FGapY;
  const int left = x + Width() + FGapX > Screen().Width() ? x - Width() - FGapX : x + FGapX;
  KeepOnScreen(left, top);
}

void TReplaceSelect::KeepOnScreen(int left, int top) {
  left = std::max(0, std::min(left, Screen().Width() - Width()));
  top = std::max(0, std::min(top, Screen().Height() - Height()));
  SetBounds(left, top, Width(), Height());
}

void TReplaceSelect::SetMode(TConfirmMode mode, const std::string& foundText) {
  FMode = mode;
  FFoundText = foundText;
  const bool replace = mode == cmReplace;
  SetCaption(replace ? "Replace the found character?" : "The found character?");
  YesBtn->SetCaption(replace ? "OK" : "Next");
  NoBtn->SetCaption("NO");
  NoBtn->SetVisible(replace);
  CancelBtn->SetCaption("Cancel");
  AllBtn->SetCaption("All");
  AllBtn->SetVisible(replace);
}

// The question fits: the box widens for a long text, keeping its left edge
// where it can, and is never narrower than designed.
void TReplaceSelect::FormShow(TObject*) {
  LabelTxt->SetCaption("found character " + LabelText(FFoundText) + "Replace?");
  SetWidth(std::max(FDesignWidth, LabelTxt->Left() + LabelTxt->Width() + FRightMargin));
  KeepOnScreen(Left(), Top());
}

TSrcReplaceAction TReplaceSelect::Ask() { return ActionFor(FMode, ShowModal()); }

TSrcReplaceAction TReplaceSelect::ActionFor(TConfirmMode mode, TModalResult result) {
  switch (result) {
    case mrYes: return mode == cmReplace ? raReplace : raSkip;
    case mrNo: return mode == cmReplace ? raSkip : raCancel;
    case mrAll: return mode == cmReplace ? raReplaceAll : raCancel;
    default: return raCancel;
  }
}

}  // namespace vk
