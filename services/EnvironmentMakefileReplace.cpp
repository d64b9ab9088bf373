#include "services/EnvironmentMakefileReplace.h"

#include "services/EnvironmentMakefile.h"
#include "platform/FilePaths.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Streams.h"

namespace vk {

bool MayReplaceMakefile(const std::string& path) {
  if (!FileExists(path)) return true;
  std::string old;
  try {
    old = LoadBytesFromFile(path);
  } catch (const EStreamError&) {
    // Neither known to be ours nor to be kept: it stays.
    ShowMessage(path + " Do not open file!");
    return false;
  }
  if (IsOwnMakefile(old)) return true;
  const std::string backup = path + ".bak";
  const std::string question = path + " was not written by Vornkit. Replace it? The old file is kept as " +
                               ExtractFileName(backup) + ".";
  if (Application().MessageBox(question, "Makefile message", MB_YESNO | MB_ICONWARNING) != IDYES) return false;
  try {
    SaveBytesToFile(backup, old);
  } catch (const EStreamError&) {
    ShowMessage(backup + " Do not save file!");
    return false;
  }
  return true;
}

}  // namespace vk
