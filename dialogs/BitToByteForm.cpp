#include "dialogs/BitToByteForm.h"

#include "dialogs/FormLayout.h"

namespace vk {

TBitToByteForm* BitToByteForm = nullptr;

TBitToByteForm::TBitToByteForm(TComponent* owner) : TForm(owner) {
  SetCaption("BitToByte Chang Form");
  SetBorderStyle(bsDialog);
  SetBounds(0, 0, 640, 480);  // a frame to size the client area in
  SetClientWidth(591);
  SetClientHeight(114);
  const TNotifyEvent boxClick(this, &TBitToByteForm::CheckBox0Click);
  for (int bit = 7; bit >= 0; --bit) {
    TCheckBox* box = Place(BitBox(bit), this, 12 + (7 - bit) * 30, 24, 30, 17, std::to_string(bit));
    box->OnClick = boxClick;
  }
  Place(Label1, this, 258, 25, 0, 0, "=");
  Place(FindTextEdit, this, 272, 22, 128, 21, "TEXT");
  FindTextEdit->SetReadOnly(true);
  FindTextEdit->SetBorderStyle(bsNone);
  FindTextEdit->SetColor(clBtnFace);
  Place(Label2, this, 408, 25, 0, 0, "=");
  Place(EditByte, this, 422, 22, 96, 21, "0x00");
  EditByte->SetColor(clWhite);
  EditByte->OnChange = TNotifyEvent(this, &TBitToByteForm::EditByteChange);
  Place(Label3, this, 524, 25, 0, 0, "(HEX)");
  Place(OKBtn, this, 250, 70, 91, 28, "OK");
  OKBtn->SetDefault(true);
  OKBtn->SetModalResult(mrOk);
  OnShow = TNotifyEvent(this, &TBitToByteForm::FormShow);
}

TBitToByteForm::~TBitToByteForm() {
  if (BitToByteForm == this) BitToByteForm = nullptr;
}

void TBitToByteForm::FormShow(TObject*) {
  EditByte->SetText(FindTextEdit->Text());
  // The same text as before fires no change; the boxes follow it all the same.
  EditByteChange(EditByte);
  // Boxes that were in the byte's state already clicked nothing: the byte
  // text is written from them all the same.
  if (ByteFromText(EditByte->Text())) CheckBox0Click(this);
}

void TBitToByteForm::EditByteChange(TObject*) {
  const std::optional<uint8_t> byte = ByteFromText(EditByte->Text());
  if (!byte) return;
  // Each box's click writes the text of the boxes so far, which reads back
  // as those boxes: the exchange settles with the last box.
  for (int bit = 7; bit >= 0; --bit) BitBox(bit)->SetChecked(BitOf(*byte, bit));
}

void TBitToByteForm::CheckBox0Click(TObject*) {
  int byte = 0;
  for (int bit = 0; bit < 8; ++bit)
    if (BitBox(bit)->Checked()) byte |= 1 << bit;
  EditByte->SetText(ByteText(static_cast<uint8_t>(byte)));
}

}  // namespace vk
