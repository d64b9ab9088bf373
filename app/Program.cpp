#include "app/Program.h"

#include "dialogs/CompilerDlg.h"
#include "dialogs/FindText.h"
#include "app/Main.h"
#include "dialogs/ReplaceFind.h"
#include "dialogs/ReplaceSelect.h"
#include "dialogs/AsciiCodeForm.h"
#include "dialogs/AvrImage.h"
#include "dialogs/BitToByteForm.h"
#include "dialogs/MakefileWizardForm.h"
#include "dialogs/PrjName.h"

namespace vk {

void CreateStartupForms() {
  Application().CreateForm(MainForm);
  Application().CreateForm(ReplaceSelect);
  Application().CreateForm(ReplaceFind);
  Application().CreateForm(FindForm);
  Application().CreateForm(CompilerDlg);
  Application().CreateForm(FormMakeWizzard);
  Application().CreateForm(ImageForm);
  Application().CreateForm(PrjNameForm);
  Application().CreateForm(BitToByteForm);
  Application().CreateForm(ASCIICodeForm);
}

int RunProgram() {
  try {
    CreateStartupForms();
    Application().Run();
  } catch (const std::exception& e) {
    Application().HandleException(e);
  }
  Application().Reset();
  return 0;
}

}  // namespace vk
