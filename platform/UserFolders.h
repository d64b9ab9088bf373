#pragma once
// The user's own folders, such as the one where the settings are kept.

#include <string>

namespace vk {

// $variable when it is set, else the home folder followed by belowHome
// ("XDG_CONFIG_HOME", ".config" gives ~/.config), in the code page.
std::string UserFolder(const char* variable, const char* belowHome);

}  // namespace vk
