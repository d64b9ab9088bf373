#pragma once
// Where the compile of a project's main file finds the headers it names in
// double quotes besides the main file's own folder: its -iquote folders,
// then its -I folders, as make's dry run prints the compile. The open road
// looks there for a header that is not beside the main file (a shared core
// folder, say).

#include <string>
#include <vector>

#include "services/BuildCommands.h"

namespace vk {

// The folders of the compile of mainPath among the commands, in the order
// the compiler searches them, each absolute (a relative one taken from the
// folder the compile ran in); none when no compile reads mainPath.
std::vector<std::string> QuotedHeaderFolders(const TBuildCommands& commands, const std::string& mainPath);

// The same, of the commands make's dry run in the project folder prints;
// none when make cannot tell.
std::vector<std::string> AskQuotedHeaderFolders(const std::string& projectFolder, const std::string& mainFile,
                                                const std::string& installFolder);

}  // namespace vk
