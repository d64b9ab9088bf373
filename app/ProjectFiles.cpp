#include "app/ProjectFiles.h"

#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

std::optional<std::string> ReadExtraSourceLine(const std::string& projectFolder) {
  // Without a project there is no list, and no file elsewhere is read.
  if (projectFolder.empty()) return std::nullopt;
  TStringList addFile;
  try {
    addFile.LoadFromFile(JoinPath(projectFolder, "AddFile.ini"));
  } catch (const EStreamError&) {
    return std::nullopt;
  }
  return addFile.Count() > 1 ? addFile.Get(1) : "";
}

}  // namespace vk
