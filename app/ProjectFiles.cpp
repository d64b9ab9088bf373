#include "app/ProjectFiles.h"

#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

std::optional<TExtraSources> ReadExtraSources(const std::string& projectFolder) {
  // Without a project there is no list, and no file elsewhere is read.
  if (projectFolder.empty()) return std::nullopt;
  TStringList addFile;
  try {
    addFile.LoadFromFile(JoinPath(projectFolder, "AddFile.ini"));
  } catch (const EStreamError&) {
    return std::nullopt;
  }
  return TExtraSources{addFile.Count() > 1 ? addFile.Get(1) : "", addFile.Count() > 2 ? addFile.Get(2) : ""};
}

void WriteExtraSources(const std::string& projectFolder, const TExtraSources& sources) {
  if (projectFolder.empty()) return;
  const std::string path = JoinPath(projectFolder, "AddFile.ini");
  if (sources.C.empty() && sources.Asm.empty())
    DeleteFile(path);
  else
    SaveBytesToFile(path, std::string(AddFileMarker) + "\r\n" + sources.C + "\r\n" + sources.Asm + "\r\n");
}

std::optional<std::string> ReadExtraSourceLine(const std::string& projectFolder) {
  std::optional<TExtraSources> sources = ReadExtraSources(projectFolder);
  if (!sources) return std::nullopt;
  return sources->C;
}

}  // namespace vk
