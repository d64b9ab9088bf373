#include "dialogs/ASCIICode.h"

#include "app/FormLayout.h"
#include "dialogs/AsciiCodeTable.h"

namespace vk {

TASCIICodeForm* ASCIICodeForm = nullptr;

TASCIICodeForm::TASCIICodeForm(TComponent* owner) : TForm(owner) {
  SetCaption("ASCIICodeForm");
  SetPosition(poDesktopCenter);
  SetBounds(0, 0, 1090, 648);
  const int width = ClientWidth(), height = ClientHeight();

  Place(SrcMemo1, this, 0, 0, width, height - 48);
  SrcMemo1->SetAnchors({akLeft, akTop, akRight, akBottom});
  SrcMemo1->Font().SetName("Courier New");
  SrcMemo1->Font().SetHeight(-13);
  SrcMemo1->Gutter().SetVisible(false);
  SrcMemo1->SetRightEdge(0);  // no margin line across the table
  SrcMemo1->SetInsertCaret(ctHorizontalLine);
  TSrcEditKeyStrokes& keys = SrcMemo1->Keystrokes();
  for (const auto& [key, shift] : {std::pair<uint16_t, TShiftState>{VK_RETURN, {ssShift}}, {VK_F1, {}}})
    if (const int index = keys.FindKeycode(key, shift); index >= 0) keys.Delete(index);
  for (const std::string& line : AsciiCodeTableLines()) SrcMemo1->Lines().Add(line);

  Place(Button1, this, (width - 96) / 2, height - 38, 96, 28, "OK");
  Button1->SetAnchors({akLeft, akBottom});
  Button1->OnClick = TNotifyEvent(this, &TASCIICodeForm::Button1Click);
}

TASCIICodeForm::~TASCIICodeForm() {
  if (ASCIICodeForm == this) ASCIICodeForm = nullptr;
}

void TASCIICodeForm::Button1Click(TObject*) { Close(); }

}  // namespace vk
