#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/FilePaths.h"

namespace vk {

namespace {

// A folder the environment names, in the code page where it has a form there.
std::string FromEnvironment(const std::string& folder) { return FileNameFromDisk(folder).value_or(folder); }

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

}  // namespace vk
