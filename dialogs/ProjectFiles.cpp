#include "dialogs/ProjectFiles.h"

#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

std::string ProjectFilePath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string AddFileCSources(const std::string& folder) {
  // Without a project there is no list, and no file at the root is read.
  if (folder.empty()) return "";
  TStringList lines;
  try {
    lines.LoadFromFile(ProjectFilePath(folder, "AddFile.ini"));
  } catch (const EStreamError&) {
    return "";
  }
  return lines.Count() > 1 ? lines.Get(1) : "";
}

}  // namespace vk
