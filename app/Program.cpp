#include "app/Program.h"

#include "app/Main.h"

namespace vk {

int RunProgram() {
  try {
    Application().CreateForm(MainForm);
    Application().Run();
  } catch (const std::exception& e) {
    Application().HandleException(e);
  }
  Application().Reset();
  return 0;
}

}  // namespace vk
