#include "services/ProjectFiles.h"

#include <cstring>

#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

std::string ProjectMakefilePath(const std::string& projectFolder) {
  if (projectFolder.empty()) return "";
  // make's own order; the file system tells the spellings apart.
  for (const char* name : {"GNUmakefile", "makefile", "Makefile"}) {
    std::string path = JoinPath(projectFolder, name);
    if (FileExists(path)) return path;
  }
  return JoinPath(projectFolder, "makefile");
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

namespace {

const char* Find(const char* from, const char* end, char c) {
  const void* at = std::memchr(from, c, static_cast<size_t>(end - from));
  return at ? static_cast<const char*>(at) : end;
}

// Whether the line holds a '#' outside comments; the comment state goes on
// to the next line. Outside a comment only '/' and '#' matter, inside one
// only "*/", so the line is searched for those bytes alone: a large source
// costs little more than reading it.
bool IsDirectiveLine(std::string_view line, bool& inComment) {
  const char* at = line.data();
  const char* const end = at + line.size();
  bool directive = false;
  const char* hash = nullptr;  // the first '#' from where it was last looked for
  while (at < end) {
    if (inComment) {
      const char* star = Find(at, end, '*');
      if (end - star < 2) break;
      at = star + 1;
      // The '/' of "*/" is looked at again outside the comment ("*/*").
      if (*at == '/') inComment = false;
      continue;
    }
    if (!directive && (!hash || hash < at)) hash = Find(at, end, '#');
    const char* slash = Find(at, end, '/');
    if (hash < slash) directive = true;
    if (end - slash < 2) break;
    at = slash + 1;
    if (*at == '/') break;
    // The '*' of "/*" is looked at again inside the comment ("/*/").
    if (*at == '*') inComment = true;
  }
  return directive;
}

void AddQuotedIncludes(std::string_view line, std::vector<std::string>& names) {
  size_t keyword = line.find("include");
  if (keyword == std::string_view::npos) return;
  // "//" before the keyword ends the line before anything is taken.
  if (line.find("//") < keyword) return;
  size_t quote = std::string_view::npos;
  for (size_t p = keyword + 7; p < line.size(); ++p) {
    if (line.substr(p, 2) == "//") break;
    if (line[p] != '"') continue;
    if (quote != std::string_view::npos) names.emplace_back(line.substr(quote + 1, p - quote - 1));
    quote = p;
  }
}

template <class TLineAt>
std::vector<std::string> QuotedIncludesOf(int count, TLineAt lineAt) {
  std::vector<std::string> names;
  bool inComment = false;
  for (int i = 0; i < count; ++i) {
    const auto& line = lineAt(i);
    if (IsDirectiveLine(line, inComment)) AddQuotedIncludes(line, names);
  }
  return names;
}

}  // namespace

std::vector<std::string> QuotedIncludes(const TStrings& text) {
  return QuotedIncludesOf(text.Count(), [&text](int i) { return text.Get(i); });
}

std::vector<std::string> QuotedIncludes(const TSrcEditStringList& text) {
  return QuotedIncludesOf(text.Count(), [&text](int i) { return text.GetView(i); });
}

}  // namespace vk
