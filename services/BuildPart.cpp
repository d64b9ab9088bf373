#include "services/BuildPart.h"

#include <optional>

#include "services/BuildCommands.h"
#include "services/BuildRunner.h"
#include "services/EnvironmentMakefile.h"
#include "services/EnvironmentToolChain.h"
#include "services/MakeDryRun.h"
#include "services/ProjectFiles.h"
#include "services/MemoryReport.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/FilePaths.h"
#include "platform/FileStamps.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

// The makefile make reads in the project folder, as its bytes; none when
// there is none or it cannot be read.
std::optional<std::string> ProjectMakefileText(const std::string& projectFolder) {
  try {
    return LoadBytesFromFile(ProjectMakefilePath(projectFolder));
  } catch (const EStreamError&) {
    return std::nullopt;
  }
}

// The part of the program's own makefile: its last MCU line ("MCU=atmega16"
// in the settings dialog's, "\tMCU=atmega16" in the wizard's).
std::string OwnMakefilePart(const std::string& text) {
  TStringList lines;
  lines.SetTextStr(text);
  std::string part;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = Trim(lines.Get(i));
    if (!line.starts_with("MCU")) continue;
    const std::string rest = TrimLeft(line.substr(3));
    if (rest.starts_with('=')) part = MmcuSpelling(Trim(rest.substr(1)));
  }
  return IsAvrPartName(part) ? part : "";
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

std::string ProjectSettingsPart(const std::string& projectFolder) {
  TSettingsReader key(AttrKeyNames[EditorKeyIndex]);
  const std::optional<std::string> folder = key.String(EditorValue::SouSourcePath);
  if (projectFolder.empty() || !folder || !SameFile(*folder, projectFolder)) return "";
  return key.String(EditorValue::SouAvrMcuType).value_or("");
}

TBuildProducts FindBuildProducts(const TStrings* output, const std::string& projectFolder,
                                 const std::string& mainFile, const std::string& installFolder, bool askMake) {
  TBuildProducts products;
  TBuildCommands shown;
  if (output) shown = ReadBuildCommands(*output, projectFolder);
  products.Part = CommandsPart(shown);
  std::optional<TLinkCommand> link;
  if (const TLinkCommand* main = MainLink(shown, mainFile)) link = *main;
  const std::optional<std::string> makefile =
      projectFolder.empty() ? std::nullopt : ProjectMakefileText(projectFolder);
  products.OwnMakefile = makefile && IsOwnMakefile(*makefile);
  if (makefile && (products.Part.empty() || !link)) {
    if (products.OwnMakefile) {
      if (products.Part.empty()) products.Part = OwnMakefilePart(*makefile);
    } else if (askMake) {
      // Another makefile: make tells what it runs (without one, nothing).
      if (const TMakeDryRun dryRun = RunMakeDryRun(projectFolder, installFolder); dryRun.Known) {
        if (products.Part.empty()) products.Part = CommandsPart(dryRun.Commands);
        if (const TLinkCommand* main = MainLink(dryRun.Commands, mainFile); main && !link) link = *main;
      }
    }
  }
  if (link) {
    products.Map = link->Map;
    products.Program = link->Output;
  } else if (!projectFolder.empty()) {
    // No command tells: the program's own makefile names both after the
    // main file, and so does the build nothing else tells of.
    products.Map = LinkerMapPath(projectFolder, mainFile);
    products.Program = JoinPath(projectFolder, BuildBaseName(mainFile) + ".elf");
  }
  return products;
}

bool WrittenSince(const std::string& file, int64_t startNs) {
  const TFileStamp stamp = FileStampOf(file);
  return stamp.Exists && stamp.ModifiedNs >= startNs;
}

std::string BuildPart(const TStrings* map, const TBuildProducts& products, const std::string& projectFolder) {
  if (map)
    if (std::string part = LinkerMapPart(*map); !part.empty()) return part;
  if (!products.Part.empty()) return products.Part;
  // The settings the dialog shows for a makefile of another origin are its
  // guess, not what make built for.
  return products.OwnMakefile ? ProjectSettingsPart(projectFolder) : "";
}

}  // namespace vk
