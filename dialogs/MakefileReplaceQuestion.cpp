#include "dialogs/MakefileReplaceQuestion.h"

#include "services/EnvironmentMakefileReplace.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"

namespace vk {

bool MayReplaceMakefile(const std::string& path) {
  const TMakefileReplaceCheck check = CheckMakefileReplace(path);
  switch (check.State) {
    case mrFree:
      return true;
    case mrUnreadable:
      ShowMessage(MakefileUnreadableMessage(path));
      return false;
    case mrForeign:
      break;
  }
  if (Application().MessageBox(MakefileReplaceQuestion(path), "Makefile message", MB_YESNO | MB_ICONWARNING) != IDYES)
    return false;
  if (KeepMakefileBackup(path, check.Old)) return true;
  ShowMessage(MakefileBackupFailedMessage(path));
  return false;
}

}  // namespace vk
