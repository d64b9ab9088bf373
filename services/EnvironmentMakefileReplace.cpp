#include "services/EnvironmentMakefileReplace.h"

#include "services/EnvironmentMakefile.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

namespace {

std::string BackupPath(const std::string& path) { return path + ".bak"; }

}  // namespace

TMakefileReplaceCheck CheckMakefileReplace(const std::string& path) {
  if (!FileExists(path)) return {};
  TMakefileReplaceCheck check;
  try {
    check.Old = LoadBytesFromFile(path);
  } catch (const EStreamError&) {
    return {mrUnreadable, {}};
  }
  if (IsOwnMakefile(check.Old)) return {};
  check.State = mrForeign;
  return check;
}

std::string MakefileReplaceQuestion(const std::string& path) {
  return path + " was not written by Vornkit. Replace it? The old file is kept as " +
         ExtractFileName(BackupPath(path)) + ".";
}

std::string MakefileUnreadableMessage(const std::string& path) { return path + " Do not open file!"; }

std::string MakefileBackupFailedMessage(const std::string& path) { return BackupPath(path) + " Do not save file!"; }

bool KeepMakefileBackup(const std::string& path, const std::string& old) {
  try {
    SaveBytesToFile(BackupPath(path), old);
  } catch (const EStreamError&) {
    return false;
  }
  return true;
}

}  // namespace vk
