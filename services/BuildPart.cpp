#include "services/BuildPart.h"

#include <vector>

#include "services/EnvironmentMakefile.h"
#include "services/MakefileVariables.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

// The words of a command line, quotes around a word taken off.
std::vector<std::string> CommandWords(const std::string& command) {
  std::vector<std::string> words = TextWords(command);
  for (std::string& word : words)
    if (word.size() >= 2 && (word[0] == '\'' || word[0] == '"') && word.back() == word[0])
      word = word.substr(1, word.size() - 2);
  return words;
}

bool IsCompilerName(const std::string& word) {
  const std::string name = word.substr(word.find_last_of('/') + 1);
  for (const char* driver : {"avr-gcc", "avr-g++", "avr-c++"})
    if (name == driver || name.starts_with(std::string(driver) + "-")) return true;
  return false;
}

struct TCommandParts {
  std::optional<std::string> Link, Compile;
};

// A command avr-gcc runs with -mmcu=: the link's or the compile's part.
void ReadCommand(const std::string& command, TCommandParts& parts) {
  std::vector<std::string> words = CommandWords(command);
  size_t first = 0;
  while (first < words.size() && words[first].find('=') != std::string::npos) ++first;  // NAME=value settings
  if (first >= words.size() || !IsCompilerName(words[first])) return;
  std::optional<std::string> mmcu;
  bool compileOnly = false;
  for (size_t i = first + 1; i < words.size(); ++i) {
    if (words[i].starts_with("-mmcu=")) mmcu = words[i].substr(6);
    compileOnly = compileOnly || words[i] == "-c" || words[i] == "-S" || words[i] == "-E";
  }
  if (!mmcu) return;
  (compileOnly ? parts.Compile : parts.Link) = IsAvrPartName(*mmcu) ? *mmcu : "";
}

}  // namespace

std::string LinkerMapPart(const TStrings& map) {
  for (int i = 0; i < map.Count(); ++i) {
    const std::string line = map.Get(i);
    if (!line.starts_with("LOAD ")) continue;
    // The start-up code comes first; a program linked without it starts
    // with its own objects, whatever their names.
    const std::string file = Trim(line.substr(5));
    const std::string name = file.substr(file.find_last_of("/\\") + 1);
    if (!name.starts_with("crt") || !name.ends_with(".o")) return "";
    const std::string part = name.substr(3, name.size() - 5);
    return IsAvrPartName(part) ? part : "";
  }
  return "";
}

std::optional<std::string> CommandLinePart(const TStrings& output) {
  TCommandParts parts;
  std::string command;
  for (int i = 0; i < output.Count(); ++i) {
    command += output.Get(i);
    // make prints a command continued with "\" as it stands in the makefile.
    if (!command.empty() && command.back() == '\\') {
      command.back() = ' ';
      continue;
    }
    ReadCommand(command, parts);
    command.clear();
  }
  ReadCommand(command, parts);
  return parts.Link ? parts.Link : parts.Compile;
}

std::string ProjectSettingsPart(const std::string& projectFolder) {
  TSettingsReader key(AttrKeyNames[EditorKeyIndex]);
  const std::optional<std::string> folder = key.String(EditorValue::SouSourcePath);
  if (projectFolder.empty() || !folder || !SameFile(*folder, projectFolder)) return "";
  return key.String(EditorValue::SouAvrMcuType).value_or("");
}

std::string BuildPart(const TStrings* map, const TStrings* output, const std::string& projectFolder) {
  if (map)
    if (std::string part = LinkerMapPart(*map); !part.empty()) return part;
  if (output)
    if (std::optional<std::string> part = CommandLinePart(*output)) return *part;
  if (projectFolder.empty()) return "";
  TStringList makefile;
  try {
    makefile.LoadFromFile(ProjectMakefilePath(projectFolder));
  } catch (const EStreamError&) {
    return "";  // no makefile the settings wrote
  }
  if (std::string part = MakefilePart(makefile); !part.empty()) return part;
  // A makefile of another origin may take its part from anywhere (an
  // included file, the command line): the settings the dialog shows for it
  // are its guess, not what make built for.
  if (makefile.Count() == 0 || !IsOwnMakefile(makefile.Get(0))) return "";
  return ProjectSettingsPart(projectFolder);
}

}  // namespace vk
