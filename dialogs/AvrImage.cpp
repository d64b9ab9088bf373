#include "dialogs/AvrImage.h"

#include "dialogs/FormLayout.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "platform/SysUtils.h"

namespace vk {

TImageForm* ImageForm = nullptr;

std::string McuPicturePath(const std::string& editorFolder, const TMcuRow& row) {
  return JoinPath(JoinPath(editorFolder, "image"), row.Picture);
}

TImageForm::TImageForm(TComponent* owner) : TForm(owner) {
  SetCaption("ImageForm");
  SetPosition(poMainFormCenter);
  SetBounds(0, 0, 682, 682);
  const int width = ClientWidth();

  Place(Label13, this, 16, 16, 0, 0, "AVR  MCU type:");
  Place(McuTypeText, this, 120, 12, 160, 21, "McuTypeText");
  McuTypeText->SetEnabled(false);
  McuTypeText->SetColor(clBtnFace);

  Place(Label19, this, 16, 46, 0, 0, "[Memory Sizes]");
  Place(Label107, this, 130, 46, 0, 0, "FLASH Sizes:");
  Place(Label11, this, 215, 46, 0, 0, "0");
  Place(Label20, this, 320, 46, 0, 0, "SRAM Sizes:");
  Place(Label12, this, 400, 46, 0, 0, "0");
  Place(Label21, this, 490, 46, 0, 0, "EEPROM Sizes:");
  Place(Label18, this, 585, 46, 0, 0, "0");
  for (TLabel* value : {Label11, Label12, Label18}) {
    value->Font().SetName("굴림체");
    value->Font().SetColor(clTeal);
  }

  Place(Image1, this, (width - 649) / 2, 72, 649, 513);
  Image1->SetCenter(true);

  Place(OKBtn, this, width - 104, 72 + 513 + 10, 88, 28, "OK");
  OKBtn->SetDefault(true);
  OKBtn->SetModalResult(mrOk);
  OKBtn->SetHint("Sace & Exit");
  OKBtn->OnClick = TNotifyEvent(this, &TImageForm::OKBtnClick);
  SetClientHeight(OKBtn->Top() + OKBtn->Height() + 10);
  OnShow = TNotifyEvent(this, &TImageForm::FormShow);
}

TImageForm::~TImageForm() {
  if (ImageForm == this) ImageForm = nullptr;
}

void TImageForm::ShowSizes(const std::string& flash, const std::string& sram, const std::string& eeprom) {
  Label11->SetCaption(flash);
  Label12->SetCaption(sram);
  Label18->SetCaption(eeprom);
}

void TImageForm::FormShow(TObject*) {
  TSettingsReader editorKey(AttrKeyNames[EditorKeyIndex]);
  const std::string part = editorKey.String(EditorValue::SouAvrMcuType).value_or("");
  McuTypeText->SetText(part);
  const TMcuRow* row = FindMcu(part);
  if (!row) {
    ShowSizes("0", "0", "0");
    Image1->SetPicture(TPicture());
    return;
  }
  ShowSizes(std::string(row->Flash) + "KBytes", std::string(row->Sram) + "Bytes", std::string(row->Eeprom) + "Bytes");
  // This part's picture, or none: never the one shown before.
  TPicture picture;
  if (const std::optional<std::string> folder = editorKey.String(EditorValue::EditorPath)) try {
      picture.LoadFromFile(McuPicturePath(*folder, *row));
    } catch (const Exception&) {
    }
  Image1->SetPicture(picture);
}

void TImageForm::OKBtnClick(TObject*) { Close(); }

}  // namespace vk
