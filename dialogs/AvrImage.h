#pragma once
// The part-picture viewer: the package picture and the memory sizes of the
// project's part ("SouAvrMcu Type"), read again every time it is shown.
// A part without a row in the part table, or whose picture cannot be
// loaded, shows no stale values: the sizes go back to "0" (an unknown
// part) and the picture is cleared.

#include <string>

#include "services/SharedTables.h"
#include "platform/Buttons.h"
#include "platform/Edits.h"
#include "platform/ExtImages.h"
#include "platform/Forms.h"
#include "platform/Labels.h"

namespace vk {

// The part's picture below the editor folder's "image" folder.
std::string McuPicturePath(const std::string& editorFolder, const TMcuRow& row);

class TImageForm : public TForm {
public:
  explicit TImageForm(TComponent* owner);
  ~TImageForm() override;
  std::string ClassName() const override { return "TImageForm"; }

  // ----- event handlers
  void FormShow(TObject* Sender);
  void OKBtnClick(TObject* Sender);

  // ----- components
  TLabel* Label13 = new TLabel(this);
  TEdit* McuTypeText = new TEdit(this);
  TLabel* Label19 = new TLabel(this);
  TLabel* Label107 = new TLabel(this);
  TLabel* Label11 = new TLabel(this);  // flash
  TLabel* Label20 = new TLabel(this);
  TLabel* Label12 = new TLabel(this);  // SRAM
  TLabel* Label21 = new TLabel(this);
  TLabel* Label18 = new TLabel(this);  // EEPROM
  TImage* Image1 = new TImage(this);
  TButton* OKBtn = new TButton(this);

private:
  void ShowSizes(const std::string& flash, const std::string& sram, const std::string& eeprom);
};

// The instance made at start-up, which the view command shows.
extern TImageForm* ImageForm;

}  // namespace vk
