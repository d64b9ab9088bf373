#include "services/BuildRunner.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "services/EnvironmentMakefile.h"
#include "services/ProjectFiles.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "platform/UserFolders.h"

namespace vk {

std::string BuildBaseName(std::string_view mainFile) {
  size_t dot = mainFile.rfind('.');
  return std::string(dot == std::string_view::npos ? mainFile : mainFile.substr(0, dot));
}

bool MakefileReadable(const std::string& projectFolder) {
  const std::string path = ProjectMakefilePath(projectFolder);
  if (path.empty()) return false;  // no project
  try {
    TStringList makefile;
    makefile.LoadFromFile(path);
    return true;
  } catch (const EStreamError&) {
    return false;
  }
}

std::vector<std::string> ExtraSourceObjects(std::string_view line) {
  std::vector<std::string> objects = ExtraSourceStems(line);
  for (std::string& object : objects) object += ".o";
  return objects;
}

namespace {

// The makefile's object folder when it lies inside the project: a relative
// folder without ".." or a make reference. nullopt for the project folder
// itself and for any other.
std::optional<std::string> ProjectObjectFolder(const std::string& projectFolder, const std::string& objDir) {
  if (objDir.empty() || objDir == "." || objDir == "./" || objDir.starts_with('/') ||
      objDir.find("..") != std::string::npos || objDir.find('$') != std::string::npos)
    return std::nullopt;
  return JoinPath(projectFolder, objDir);
}

}  // namespace

std::vector<std::string> CleanFileList(const std::string& projectFolder, const std::string& baseName) {
  std::vector<std::string> files;
  const std::optional<TExtraSources> extra = ReadExtraSources(projectFolder);
  if (extra)
    for (const std::string& object : ExtraSourceObjects(extra->C)) files.push_back(JoinPath(projectFolder, object));
  for (const char* extension : {".o", ".lss", ".elf", ".hex", ".map", ".lst", ".cof", ".eep"})
    files.push_back(JoinPath(projectFolder, baseName + extension));

  // An object of any source made with other options (another part) would be
  // linked into the new program: every source's object and listing goes.
  TMakefileOptions makefile;
  try {
    LoadMakefileOptions(projectFolder, makefile);
  } catch (const EStreamError&) {
    // No makefile to name C++ sources or an object folder.
  }
  std::vector<std::string> stems{baseName};
  const auto addStems = [&stems](const std::string& list) {
    for (std::string& stem : ExtraSourceStems(list)) stems.push_back(std::move(stem));
  };
  if (extra) {
    addStems(extra->C);
    addStems(extra->Asm);
  }
  addStems(makefile.CppAddSources);
  std::vector<std::string> folders{projectFolder};
  if (std::optional<std::string> objects = ProjectObjectFolder(projectFolder, makefile.ObjDir))
    folders.push_back(*objects);
  for (const std::string& folder : folders)
    for (const std::string& stem : stems)
      for (const char* extension : {".o", ".lst"})
        if (std::string file = JoinPath(folder, stem + extension); std::ranges::find(files, file) == files.end())
          files.push_back(std::move(file));
  return files;
}

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> ToolChainFolders(const std::string& installFolder) {
  std::vector<std::string> folders;
  for (const char* folder :
       {"WinAVR", "WinAvr/avr/bin", "WinAVR/bin", "WinAVR/utils/bin", "WinAvr/libexec/gcc/avr/4.3.0", "WinAvr/avr/lib"})
    folders.push_back(JoinPath(installFolder, folder));
  return folders;
}

std::string BuildSearchPath(const std::string& installFolder) {
  std::string path;
  for (const std::string& folder : ToolChainFolders(installFolder)) path += FileNameToDisk(folder) + ":";
  const char* inherited = std::getenv("PATH");
  return path + (inherited ? inherited : "");
}

TBuildPrograms::TBuildPrograms(const std::string& installFolder, std::string projectFolder)
    : FFolders(ToolChainFolders(installFolder)), FProjectFolder(std::move(projectFolder)) {
  const char* inherited = std::getenv("PATH");
  std::string_view rest = inherited ? inherited : "";
  for (;;) {
    size_t colon = rest.find(':');
    const std::string folder(rest.substr(0, colon));
    FFolders.push_back(FileNameFromDisk(folder).value_or(folder));
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
}

// The script runs in the project folder: relative names start there.
std::string TBuildPrograms::FromProject(const std::string& path) const {
  return PathFrom(FProjectFolder, path);
}

bool TBuildPrograms::MayHold(const std::string& folder, const std::string& name) const {
  auto [listing, added] = FListings.try_emplace(folder);
  if (added) {
    if (DIR* dir = opendir(FileNameToDisk(FromProject(folder)).c_str())) {
      listing->second.emplace();
      while (const dirent* entry = readdir(dir))
        if (std::optional<std::string> name = FileNameFromDisk(entry->d_name)) listing->second->insert(*name);
      closedir(dir);
    } else if (errno == ENOENT || errno == ENOTDIR) {
      listing->second.emplace();  // no folder there: it holds nothing
    }
  }
  return !listing->second || listing->second->contains(name);
}

bool TBuildPrograms::operator()(const std::string& word) const {
  auto [known, added] = FKnown.try_emplace(word, false);
  if (!added) return known->second;
  auto executable = [&](const std::string& name) {
    std::string path = FileNameToDisk(FromProject(name));
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
  };
  if (word.find('/') != std::string::npos) return known->second = executable(word);
  for (const std::string& folder : FFolders)
    if (MayHold(folder, word) && executable(JoinPath(folder, word))) return known->second = true;
  return false;
}

std::string BuildScriptText(const std::string& installFolder, const std::string& projectFolder) {
  // The tool chain's folders in front of the PATH the program inherited
  // (Debian's tools are found there).
  std::string path;
  for (const std::string& folder : ToolChainFolders(installFolder)) path += ShellQuote(folder) + ":";
  return "#!/bin/sh\n"
         "cd / || exit 1\n"
         "PATH=" +
         path +
         "\"$PATH\"; export PATH\n"
         "cd " +
         ShellQuote(projectFolder) +
         " || exit 1\n"
         "make\n";
}

std::string BuildScriptPath(const std::string& installFolder) {
  return RunTimeFilePath(installFolder, BuildScriptName);
}

void WriteBuildScript(const std::string& installFolder, const std::string& projectFolder) {
  // The shell reads the script's folder names as the file system spells them.
  SaveBytesToFile(BuildScriptPath(installFolder), FileNameToDisk(BuildScriptText(installFolder, projectFolder)));
}

}  // namespace vk
