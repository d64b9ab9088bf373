#include "dialogs/MakefileReplaceQuestion.h"

#include <optional>

#include "services/EnvironmentMakefileReplace.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"

namespace vk {

bool MayReplaceMakefile(const std::string& path, const TMakefileLossesQuery& losses) {
  const TMakefileReplaceCheck check = CheckMakefileReplace(path);
  switch (check.State) {
    case mrFree:
      return true;
    case mrUnreadable:
      ShowMessage(MakefileUnreadableMessage(path));
      return false;
    case mrWizard:
    case mrForeign:
      break;
  }
  std::optional<TMakefileLosses> lost;
  if (losses) {
    TBusyCursor busy;  // make is asked about both makefiles
    lost = losses();
  }
  const TMakefileLosses* shown = lost ? &*lost : nullptr;
  const bool losesWork = ReplacementLosesWork(shown);
  if (check.State == mrWizard && shown && !losesWork) return true;
  const uint32_t defaultButton = losesWork ? MB_DEFBUTTON2 : 0;
  if (Application().MessageBox(MakefileReplaceQuestion(path, shown, check.State), "Makefile message",
                               MB_YESNO | MB_ICONWARNING | defaultButton) != IDYES)
    return false;
  if (KeepMakefileBackup(path, check.Old)) return true;
  ShowMessage(MakefileBackupFailedMessage(path));
  return false;
}

}  // namespace vk
