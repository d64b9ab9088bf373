#pragma once
// The user's own folders: where the settings are kept, and where the program
// writes at run time what its install folder cannot take (a system-wide
// install, a read-only mount).

#include <string>

namespace vk {

// $variable when it is set, else the home folder followed by belowHome
// ("XDG_CONFIG_HOME", ".config" gives ~/.config), in the code page.
std::string UserFolder(const char* variable, const char* belowHome);

// $XDG_STATE_HOME/vornkit, else ~/.local/state/vornkit.
std::string UserStateFolder();

// Where the program writes its file `name` that belongs in `folder`: there,
// unless the folder is read-only; then in UserStateFolder() (made when
// missing), where it starts as a copy of the folder's file when there is
// one. A folder without any write permission counts as read-only even for
// the superuser, as read-only files do; a missing folder does not.
std::string RunTimeFilePath(const std::string& folder, const std::string& name);

}  // namespace vk
