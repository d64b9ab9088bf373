#include "app/Program.h"

#include "app/Main.h"
#include "dialogs/ASCIICode.h"
#include "dialogs/AvrImage.h"
#include "dialogs/BitToByte.h"
#include "dialogs/MakeFileWizzard.h"
#include "dialogs/PrjName.h"

namespace vk {

void CreateStartupForms() {
  Application().CreateForm(MainForm);
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
