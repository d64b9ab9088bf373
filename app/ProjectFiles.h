#pragma once
// Files of the current project: the project folder is the text of the main
// window's status-bar panel 4 (a folder path, usually ending in "/"); an
// empty text means there is no project.

#include <optional>
#include <string>
#include <string_view>

namespace vk {

// folder + "/" + name, without doubling a "/" the folder ends with; the
// name alone for an empty folder (never a file at the root).
std::string JoinPath(std::string_view folder, std::string_view name);

// The C sources the project compiles besides its main file: line 1 of
// "AddFile.ini" in the project folder, as it stands ("" for a file of fewer
// than two lines). nullopt when there is no project folder or the file
// cannot be read.
std::optional<std::string> ReadExtraSourceLine(const std::string& projectFolder);

}  // namespace vk
