#include "app/Program.h"

#include "app/CompilerDlg.h"
#include "app/FindText.h"
#include "app/Main.h"
#include "app/ReplaceFind.h"
#include "app/ReplaceSelect.h"

namespace vk {

int RunProgram() {
  try {
    Application().CreateForm(MainForm);
    Application().CreateForm(ReplaceSelect);
    Application().CreateForm(ReplaceFind);
    Application().CreateForm(FindForm);
    Application().CreateForm(CompilerDlg);
    Application().Run();
  } catch (const std::exception& e) {
    Application().HandleException(e);
  }
  Application().Reset();
  return 0;
}

}  // namespace vk
