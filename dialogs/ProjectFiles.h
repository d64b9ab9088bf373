#pragma once
// Files of the current project: the project folder is the text of the main
// window's status-bar panel 4 (a folder path, usually ending in "/").

#include <string>

namespace vk {

// The file in the project folder, joined with one "/" whether or not the
// folder text ends in one.
std::string ProjectFilePath(const std::string& folder, const std::string& name);

// The C sources the project compiles besides its main file: line 1 of
// "AddFile.ini" in the project folder, as it stands. Empty when there is no
// project folder, no such file, or a file of fewer than two lines.
std::string AddFileCSources(const std::string& folder);

}  // namespace vk
