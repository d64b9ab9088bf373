#include "app/Program.h"

#include "app/CompilerDlg.h"
#include "app/FindText.h"
#include "app/Main.h"
#include "app/ReplaceFind.h"
#include "app/ReplaceSelect.h"
#include "dialogs/ASCIICode.h"
#include "dialogs/AvrImage.h"
#include "dialogs/BitToByte.h"
#include "dialogs/MakeFileWizzard.h"
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
