#include "app/BuildRunner.h"

#include "app/ProjectFiles.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

std::string BuildBaseName(std::string_view mainFile) {
  size_t dot = mainFile.rfind('.');
  return std::string(dot == std::string_view::npos ? mainFile : mainFile.substr(0, dot));
}

bool MakefileReadable(const std::string& projectFolder) {
  if (projectFolder.empty()) return false;  // no project
  // The names make itself looks for; the file system tells them apart.
  for (const char* name : {"GNUmakefile", "makefile", "Makefile"}) {
    try {
      TStringList makefile;
      makefile.LoadFromFile(JoinPath(projectFolder, name));
      return true;
    } catch (const EStreamError&) {
    }
  }
  return false;
}

std::vector<std::string> ExtraSourceObjects(std::string_view line) {
  std::vector<std::string> objects = ExtraSourceStems(line);
  for (std::string& object : objects) object += ".o";
  return objects;
}

std::vector<std::string> CleanFileList(const std::string& projectFolder, const std::string& baseName) {
  std::vector<std::string> files;
  if (std::optional<std::string> line = ReadExtraSourceLine(projectFolder))
    for (const std::string& object : ExtraSourceObjects(*line)) files.push_back(JoinPath(projectFolder, object));
  for (const char* extension : {".o", ".lss", ".elf", ".hex", ".map", ".lst", ".cof", ".eep"})
    files.push_back(JoinPath(projectFolder, baseName + extension));
  return files;
}

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string BuildScriptText(const std::string& installFolder, const std::string& projectFolder) {
  // The tool chain's folders below the install folder, in front of the PATH
  // the program inherited (Debian's tools are found there).
  std::string path;
  for (const char* folder :
       {"WinAVR", "WinAvr/avr/bin", "WinAVR/bin", "WinAVR/utils/bin", "WinAvr/libexec/gcc/avr/4.3.0", "WinAvr/avr/lib"})
    path += ShellQuote(JoinPath(installFolder, folder)) + ":";
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

void WriteBuildScript(const std::string& installFolder, const std::string& projectFolder) {
  SaveBytesToFile(JoinPath(installFolder, BuildScriptName), BuildScriptText(installFolder, projectFolder));
}

}  // namespace vk
