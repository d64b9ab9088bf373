#include "services/MakeDryRun.h"

#include <algorithm>
#include <set>

#include "services/BuildRunner.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"
#include "platform/FileSearch.h"
#include "platform/Processes.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"
#include "platform/TempFiles.h"

namespace vk {

namespace {

constexpr int SourceFolderDepth = 4;
constexpr size_t MostSourceNames = 2000;

// The source names in the folder below the project folder and in its
// folders (hidden ones left out), a few levels deep.
void AddSourceNames(const std::string& folder, const std::string& relative, int depth,
                    std::vector<std::string>& names) {
  std::vector<std::string> folders;
  TSearchRec entry;
  const std::string searched = relative.empty() ? folder : JoinPath(folder, relative);
  for (int found = FindFirst(JoinPath(searched, "*.*"), faDirectory, entry);
       found == 0 && names.size() < MostSourceNames; found = FindNext(entry)) {
    if (entry.Name == "." || entry.Name == "..") continue;
    const std::string path = relative.empty() ? entry.Name : relative + "/" + entry.Name;
    if (entry.Attr & faDirectory)
      folders.push_back(path);
    else if (IsSourceName(entry.Name))
      names.push_back(path);
  }
  if (depth > 1)
    for (const std::string& path : folders) AddSourceNames(folder, path, depth - 1, names);
}

// The source files below the project folder (C, C++, assembler and their
// headers), as names relative to it, at most a few levels deep: what -W
// names.
std::vector<std::string> ProjectSourceNames(const std::string& projectFolder) {
  std::vector<std::string> names;
  AddSourceNames(projectFolder, "", SourceFolderDepth, names);
  return names;
}

// make's message when it stops ("make: *** No rule to make target ...");
// else its last line.
std::string FailureOf(const std::vector<std::string>& lines, int status) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line)
    if (line->find("*** ") != std::string::npos) return *line;
  return lines.empty() ? Format("make ended with exit status %d", status) : lines.back();
}

TMakeDryRun Run(const std::string& projectFolder, const std::string& installFolder,
                const std::vector<std::string>& arguments) {
  TMakeDryRun result;
  TProcessRunner runner;
  TOutputLines output;
  runner.OnLine = output.Event();
  runner.SetCommand(arguments);
  runner.SetDirectory(projectFolder);
  runner.SetEnvironment("PATH", BuildSearchPath(installFolder));
  runner.SetTimeLimit(MakeDryRunTimeLimit);
  int status;
  try {
    status = runner.Run();
  } catch (const EProcessError& e) {
    result.Failure = e.Message();
    return result;
  }
  result.Lines = std::move(output.Lines);
  if (runner.TimedOut())
    result.Failure = Format("make did not end within %d seconds", MakeDryRunTimeLimit / 1000);
  else if (status != 0)
    result.Failure = FailureOf(result.Lines, status);
  else
    result.Known = true;
  result.Ended = !runner.TimedOut();
  return result;
}

// The makefile make reads in the folder when none is named, in make's order.
std::string FoundMakefile(const std::string& projectFolder) {
  for (const char* name : {"GNUmakefile", "makefile", "Makefile"})
    if (FileExists(JoinPath(projectFolder, name))) return name;
  return "";
}

struct TMakefilesRead {
  std::string Failure;  // make did not end: asking again would not either
  std::vector<std::string> Names;
  std::string Missing;  // the first one make needs and would have to make
  std::vector<std::string> Targets;
};

// The explicit targets of make's data base (-p): the "# Files" part's
// rules but those marked "# Not a target:" and make's special targets.
std::vector<std::string> ExplicitTargets(const std::vector<std::string>& lines) {
  std::vector<std::string> targets;
  bool files = false, notTarget = false;
  for (const std::string& line : lines) {
    if (line == "# Files" || line.starts_with("# files hash-table")) files = line == "# Files";
    if (!files || line.empty() || line[0] == '\t') continue;
    if (line[0] == '#') {
      notTarget = line == "# Not a target:";
      continue;
    }
    const size_t colon = line.find(':');
    if (!notTarget && colon != std::string::npos && colon > 0 && line[0] != '.')
      targets.push_back(line.substr(0, colon));
    notTarget = false;
  }
  return targets;
}

// The makefiles make reads (the one it starts with and every one that
// includes, found or not), as its trace names them and as MAKEFILE_LIST
// names those it found: make remakes each it has a rule for before it
// prints a command, -n or not, and always under -B, so the dry run must
// keep each of them as it is (-o). A makefile read last stops make once
// all are read, before it remakes any; make's data base then gives the
// explicit targets.
TMakefilesRead ReadMakefiles(const std::string& projectFolder, const std::string& installFolder,
                             const std::string& makefile) {
  const std::string first = makefile.empty() ? FoundMakefile(projectFolder) : makefile;
  constexpr std::string_view kFound = "makefiles read: ";
  const TTempTextFile stop("vornkit-stop-",
                           "$(info " + std::string(kFound) + "$(MAKEFILE_LIST))$(error the makefiles are read)\n");
  if (first.empty() || !stop.Written()) return {};
  const TMakeDryRun trace =
      Run(projectFolder, installFolder, {"make", "-n", "-r", "-p", "--debug=v", "-f", first, "-f", stop.FileName()});
  std::vector<std::string> found;
  for (const std::string& line : trace.Lines)
    if (line.starts_with(kFound)) found = TextWords(line.substr(kFound.size()));
  constexpr std::string_view kReading = "Reading makefile '";
  TMakefilesRead read;
  if (!trace.Ended) read.Failure = trace.Failure;
  read.Targets = ExplicitTargets(trace.Lines);
  for (const std::string& name : found)
    if (name != stop.FileName()) read.Names.push_back(name);
  for (const std::string& line : trace.Lines) {
    if (!line.starts_with(kReading)) continue;
    const std::string rest = line.substr(kReading.size());
    const size_t end = std::min(rest.find("' ("), rest.rfind("'..."));
    const std::string name = rest.substr(0, end);
    // Found as named, or in an include folder (MAKEFILE_LIST names its path).
    const bool wasFound = std::any_of(found.begin(), found.end(), [&](const std::string& path) {
      return path == name || path.ends_with("/" + name);
    });
    if (end == std::string::npos || wasFound) continue;
    read.Names.push_back(name);
    const bool needed = rest.find("(don't care)", end) == std::string::npos;
    if (needed && read.Missing.empty()) read.Missing = name;
  }
  return read;
}

// The names in a folder.
std::set<std::string> EntryNames(const std::string& folder) {
  std::set<std::string> names;
  TSearchRec entry;
  for (int found = FindFirst(JoinPath(folder, "*.*"), faAnyFile, entry); found == 0; found = FindNext(entry))
    names.insert(entry.Name);
  return names;
}

}  // namespace

TMakeDryRun DryRunMakefileText(const std::string& projectFolder, const std::string& installFolder,
                               const std::string& text) {
  const TTempTextFile makefile("vornkit-makefile-", text);
  if (!makefile.Written()) return {false, "Cannot write a temporary makefile", false, {}, {}, {}};
  // The folders the text makes while make reads it ($(shell mkdir ...))
  // belong to a build, not to the question: they go again while empty.
  const std::set<std::string> before = EntryNames(projectFolder);
  TScopeExit removeMadeFolders([&] {
    for (const std::string& name : EntryNames(projectFolder))
      if (!before.contains(name)) RemoveEmptyDir(JoinPath(projectFolder, name));
  });
  return RunMakeDryRun(projectFolder, installFolder, makefile.FileName());
}

TMakeDryRun RunMakeDryRun(const std::string& projectFolder, const std::string& installFolder,
                          const std::string& makefile) {
  std::vector<std::string> arguments{"make", "-n", "-w"};
  if (!makefile.empty()) arguments.insert(arguments.end(), {"-f", makefile});
  const TMakefilesRead makefiles = ReadMakefiles(projectFolder, installFolder, makefile);
  if (!makefiles.Failure.empty()) return {false, makefiles.Failure, false, {}, {}, {}};
  // make would write that one first, and read what it wrote.
  if (!makefiles.Missing.empty())
    return {false, "make would make " + makefiles.Missing + " first", true, {}, {}, makefiles.Targets};
  for (const std::string& name : makefiles.Names) arguments.insert(arguments.end(), {"-o", name});
  std::vector<std::string> forced = arguments;
  forced.push_back("-B");
  TMakeDryRun result = Run(projectFolder, installFolder, forced);
  // A makefile that refuses to remake its sources is asked with them named
  // as changed instead.
  if (!result.Known && result.Ended) {
    std::vector<std::string> named = arguments;
    for (const std::string& source : ProjectSourceNames(projectFolder)) named.insert(named.end(), {"-W", source});
    if (TMakeDryRun again = Run(projectFolder, installFolder, named); again.Known) result = std::move(again);
  }
  result.Targets = makefiles.Targets;
  if (result.Known) {
    TStringList lines;
    for (const std::string& line : result.Lines) lines.Add(line);
    result.Commands = ReadBuildCommands(lines, projectFolder, TBuildPrograms(installFolder, projectFolder));
  }
  return result;
}

}  // namespace vk
