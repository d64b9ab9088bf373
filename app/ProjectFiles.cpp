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

std::vector<std::string> ExtraSourceStems(std::string_view line) {
  std::vector<std::string> stems;
  size_t start = 0;
  while (start < line.size()) {
    size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    std::string_view word = line.substr(start, end - start);
    start = end + 1;
    if (word.find('/') != std::string_view::npos || word.find("..") != std::string_view::npos) continue;
    for (size_t dot; (dot = word.find('.')) != std::string_view::npos; word.remove_prefix(dot + 1))
      if (dot > 0) stems.emplace_back(word.substr(0, dot));
  }
  return stems;
}

std::vector<std::string> DirectiveLines(const TStrings& text) {
  std::vector<std::string> directives;
  bool inComment = false;
  for (int i = 0; i < text.Count(); ++i) {
    const std::string line = text.Get(i);
    bool directive = false;
    for (size_t p = 0; p < line.size(); ++p) {
      // Only these characters matter: the rest of a large source costs one
      // comparison each.
      if (line[p] != '/' && line[p] != '*' && line[p] != '#') continue;
      std::string_view at = std::string_view(line).substr(p, 2);
      if (at == "/*")
        inComment = true;
      else if (at == "*/")
        inComment = false;
      else if (!inComment && at == "//")
        break;
      else if (!inComment && line[p] == '#')
        directive = true;
    }
    if (directive) directives.push_back(line);
  }
  return directives;
}

std::vector<std::string> QuotedIncludes(const std::vector<std::string>& directiveLines) {
  std::vector<std::string> names;
  for (const std::string& line : directiveLines) {
    size_t keyword = line.find("include");
    if (keyword == std::string::npos) continue;
    // "//" before the keyword ends the line before anything is taken.
    size_t comment = line.find("//");
    if (comment < keyword) continue;
    size_t quote = std::string::npos;
    for (size_t p = keyword + 7; p < line.size(); ++p) {
      if (line.compare(p, 2, "//") == 0) break;
      if (line[p] != '"') continue;
      if (quote != std::string::npos) names.push_back(line.substr(quote + 1, p - quote - 1));
      quote = p;
    }
  }
  return names;
}

}  // namespace vk
