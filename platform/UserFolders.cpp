#include "platform/UserFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

namespace {

// A folder the environment names, in the code page where it has a form there.
std::string FromEnvironment(const std::string& folder) { return FileNameFromDisk(folder).value_or(folder); }

// A folder that is there but cannot take new files. (A missing one is not
// read-only: writing there fails and says so.)
bool FolderReadOnly(const std::string& folder) {
  const std::string disk = FileNameToDisk(folder.empty() ? "." : folder);
  struct stat info;
  return stat(disk.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && IsReadOnlyFile(disk, info.st_mode);
}

}  // namespace

std::string UserFolder(const char* variable, const char* belowHome) {
  if (const char* folder = std::getenv(variable); folder && *folder) return FromEnvironment(folder);
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : "";
  }
  return FromEnvironment(home) + "/" + belowHome;
}

std::string UserStateFolder() { return UserFolder("XDG_STATE_HOME", ".local/state") + "/vornkit"; }

std::string RunTimeFilePath(const std::string& folder, const std::string& name) {
  const std::string path = JoinPath(folder, name);
  if (!FolderReadOnly(folder)) return path;
  const std::string state = UserStateFolder();
  const std::string copy = JoinPath(state, name);
  try {
    ForceFolders(state);
    if (!FileExists(copy) && FileExists(path)) SaveBytesToFile(copy, LoadBytesFromFile(path));
  } catch (const EStreamError&) {
    // Nothing to start from: the program's own write of the file reports a
    // folder that cannot be used.
  }
  return copy;
}

}  // namespace vk
