#include "dialogs/PrjName.h"

#include "dialogs/FormLayout.h"
#include "platform/MessageBoxes.h"

namespace vk {

TPrjNameForm* PrjNameForm = nullptr;

namespace {

// The label beside each field's edit, in field order.
const char* const FieldCaptions[PrjNameFieldCount] = {
    "Project Name:", "Author:",        "A Company:",    "A Drafter:", "Homepage:",        "Email:",
    "Phone Number:", "Filename:",      "Version:",      "Created Date:", "Modified Date:", "License:",
    "MCU Type:",     "Clock Frequency:", "Add Source Name:", "Compiler Name:", "SubMenu"};

constexpr int RowHeight = 32;

}  // namespace

TPrjNameForm::TPrjNameForm(TComponent* owner) : TForm(owner) {
  SetCaption("PrjNameForm");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetBounds(0, 0, 734, 665);
  const int width = ClientWidth();

  Place(Panel1, this, 8, 8, width - 16, 16 + PrjNameFieldCount * RowHeight);
  Panel1->SetBevelOuter(bvLowered);
  Panel1->SetTabOrder(0);
  const TKeyPressEvent enterMovesOn(this, &TPrjNameForm::ProjectNameEditKeyPress);
  for (int field = 0; field < PrjNameFieldCount; ++field) {
    const int top = 12 + field * RowHeight;
    Labels[field] = Place(new TLabel(this), Panel1, 16, top + 4, 0, 0, FieldCaptions[field]);
    TEdit* edit = FieldEdit(field);
    Place(edit, Panel1, 160, top, Panel1->ClientWidth() - 176, 23);
    edit->SetTag(field);
    edit->SetTabStop(true);
    edit->SetTabOrder(field);
    edit->OnKeyPress = enterMovesOn;
  }

  const int buttonTop = Panel1->Top() + Panel1->Height() + 16;
  Place(Button1, this, width - 216, buttonTop, 96, 28, "OK");
  Button1->OnClick = TNotifyEvent(this, &TPrjNameForm::BitBtnOkClick);
  Button1->SetTabOrder(1);
  Place(Button2, this, width - 112, buttonTop, 96, 28, "Cencel");
  Button2->OnClick = TNotifyEvent(this, &TPrjNameForm::BitBtnCencelClick);
  Button2->SetTabOrder(2);
  SetClientHeight(buttonTop + 28 + 16);
  OnShow = TNotifyEvent(this, &TPrjNameForm::FormShow);
}

TPrjNameForm::~TPrjNameForm() {
  if (PrjNameForm == this) PrjNameForm = nullptr;
}

TPrjNameFields TPrjNameForm::Fields() const {
  TPrjNameFields fields;
  for (int field = 0; field < PrjNameFieldCount; ++field) fields[field] = FieldEdit(field)->Text();
  return fields;
}

void TPrjNameForm::SetFields(const TPrjNameFields& fields) {
  for (int field = 0; field < PrjNameFieldCount; ++field) FieldEdit(field)->SetText(fields[field]);
}

void TPrjNameForm::FormShow(TObject*) {
  TPrjNameFields fields = Fields();
  LoadPrjNameFields(fields);
  SetFields(fields);
}

void TPrjNameForm::BitBtnOkClick(TObject*) {
  TPrjNameFields fields = Fields();
  const bool saved = SavePrjNameFields(fields);
  SetFields(fields);
  if (!saved) ShowMessage(PrjNameSaveFailedMessage);
  Close();
}

void TPrjNameForm::BitBtnCencelClick(TObject*) { Close(); }

void TPrjNameForm::ProjectNameEditKeyPress(TObject*, char& Key) {
  if (Key != '\r') return;
  Key = 0;
  Perform(WM_NEXTDLGCTL, 0, 0);
}

}  // namespace vk
