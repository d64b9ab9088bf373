#pragma once
// The ASCII table window: the table of the codes 0 to 127 in an editor
// memo, shown without blocking. The main window makes a new one for each
// showing, so every showing starts from the table as built here.

#include <string>

#include "SrcEdit/Source/SrcMemo.h"
#include "platform/Buttons.h"
#include "platform/Forms.h"

namespace vk {

class TASCIICodeForm : public TForm {
public:
  explicit TASCIICodeForm(TComponent* owner);
  ~TASCIICodeForm() override;
  std::string ClassName() const override { return "TASCIICodeForm"; }

  // ----- event handlers
  void Button1Click(TObject* Sender);

  // ----- components
  TSrcMemo* SrcMemo1 = new TSrcMemo(this);
  TButton* Button1 = new TButton(this);

private:
  // The window grows to show the whole table in the memo's font.
  void FitTable();
};

// The instance made at start-up; the view command makes a new one here.
extern TASCIICodeForm* ASCIICodeForm;

}  // namespace vk
