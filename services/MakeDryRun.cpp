#include "services/MakeDryRun.h"

#include <unistd.h>

#include <cstdlib>

#include "services/BuildRunner.h"
#include "platform/FilePaths.h"
#include "platform/FileSearch.h"
#include "platform/Processes.h"
#include "platform/ScopeGuard.h"
#include "platform/StringLists.h"

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

}  // namespace

TMakeDryRun DryRunMakefileText(const std::string& projectFolder, const std::string& installFolder,
                               const std::string& text) {
  const char* temp = std::getenv("TMPDIR");
  std::string name = std::string(temp && *temp ? temp : "/tmp") + "/vornkit-makefile-XXXXXX";
  const int file = mkstemp(name.data());
  if (file < 0) return {false, "Cannot write a temporary makefile", false, {}, {}};
  TScopeExit remove([&name] { unlink(name.c_str()); });
  const bool written = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(file);
  if (!written) return {false, "Cannot write a temporary makefile", false, {}, {}};
  return RunMakeDryRun(projectFolder, installFolder, FileNameFromDisk(name).value_or(name));
}

TMakeDryRun RunMakeDryRun(const std::string& projectFolder, const std::string& installFolder,
                          const std::string& makefile) {
  std::vector<std::string> arguments{"make", "-n", "-w"};
  if (!makefile.empty()) arguments.insert(arguments.end(), {"-f", makefile});
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
  if (result.Known) {
    TStringList lines;
    for (const std::string& line : result.Lines) lines.Add(line);
    result.Commands = ReadBuildCommands(lines, projectFolder, TBuildPrograms(installFolder, projectFolder));
  }
  return result;
}

}  // namespace vk
