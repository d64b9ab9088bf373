#pragma once
// The bit/byte converter's form: the bits as eight check boxes beside the
// byte text, kept in step; the document window hands it the selection and
// puts the byte text in its place on OK.

#include <array>
#include <string>

#include "platform/Buttons.h"
#include "platform/CheckBoxes.h"
#include "platform/Edits.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "services/BitToByteText.h"

namespace vk {

class TBitToByteForm : public TForm {
public:
  explicit TBitToByteForm(TComponent* owner);
  ~TBitToByteForm() override;
  std::string ClassName() const override { return "TBitToByteForm"; }

  // The box of bit n (0 the least significant).
  TCheckBox* BitBox(int bit) const { return FBoxes[static_cast<size_t>(bit)]; }

  // ----- event handlers
  // The text handed in becomes the byte text, written as the boxes write it
  // ("0X3F") when it holds a byte, on every showing.
  void FormShow(TObject* Sender);
  // A text that holds a byte ticks its bits; any other leaves the boxes.
  void EditByteChange(TObject* Sender);
  // The ticked boxes become the byte text.
  void CheckBox0Click(TObject* Sender);

  // ----- components, the boxes from left to right
  TCheckBox* CheckBox7 = new TCheckBox(this);
  TCheckBox* CheckBox6 = new TCheckBox(this);
  TCheckBox* CheckBox5 = new TCheckBox(this);
  TCheckBox* CheckBox4 = new TCheckBox(this);
  TCheckBox* CheckBox3 = new TCheckBox(this);
  TCheckBox* CheckBox2 = new TCheckBox(this);
  TCheckBox* CheckBox1 = new TCheckBox(this);
  TCheckBox* CheckBox0 = new TCheckBox(this);
  TLabel* Label1 = new TLabel(this);
  TEdit* FindTextEdit = new TEdit(this);
  TLabel* Label2 = new TLabel(this);
  TEdit* EditByte = new TEdit(this);
  TLabel* Label3 = new TLabel(this);
  TButton* OKBtn = new TButton(this);

private:
  const std::array<TCheckBox*, 8> FBoxes{CheckBox0, CheckBox1, CheckBox2, CheckBox3,
                                         CheckBox4, CheckBox5, CheckBox6, CheckBox7};
};

// The instance made at start-up, which the document window's command shows.
extern TBitToByteForm* BitToByteForm;

}  // namespace vk
