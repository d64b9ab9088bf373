#include "services/HeaderSearch.h"

#include "services/MakeDryRun.h"
#include "platform/FilePaths.h"

namespace vk {

std::vector<std::string> QuotedHeaderFolders(const TBuildCommands& commands, const std::string& mainPath) {
  for (const TCompileCommand& compile : commands.Compiles) {
    if (!SameFile(PathFrom(compile.Folder, compile.Source), mainPath)) continue;
    // The options keep a two-word folder joined to its option.
    std::vector<std::string> quoted, included;
    for (const std::string& option : compile.Options) {
      if (option.starts_with("-iquote") && option.size() > 7)
        quoted.push_back(PathFrom(compile.Folder, option.substr(7)));
      else if (option.starts_with("-I") && option.size() > 2 && option != "-I-")
        included.push_back(PathFrom(compile.Folder, option.substr(2)));
    }
    quoted.insert(quoted.end(), included.begin(), included.end());
    return quoted;
  }
  return {};
}

std::vector<std::string> AskQuotedHeaderFolders(const std::string& projectFolder, const std::string& mainFile,
                                                const std::string& installFolder) {
  const TMakeDryRun dryRun = RunMakeDryRun(projectFolder, installFolder);
  if (!dryRun.Known) return {};
  return QuotedHeaderFolders(dryRun.Commands, JoinPath(projectFolder, mainFile));
}

}  // namespace vk
