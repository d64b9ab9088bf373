#include "services/EnvironmentMakefileReplace.h"

#include <algorithm>
#include <map>
#include <set>

#include "services/EnvironmentMakefile.h"
#include "services/EnvironmentMakefileOther.h"
#include "services/MakeDryRun.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"

namespace vk {

namespace {

std::string BackupPath(const std::string& path) { return path + ".bak"; }

constexpr size_t MostLossLines = 20;

// A file as the question names it: relative to the project folder when it
// lies inside.
std::string ShownName(const std::string& projectFolder, const std::string& path) {
  return PathBelow(projectFolder, path).value_or(path);
}

// What a compile's options do, each kind as the compiler ends up with it.
struct TCompileTraits {
  std::string Part, Level, Standard;          // the last -mmcu=, -O, -std= ("": none)
  std::map<std::string, std::string> Macros;  // name: the last -D or -U of it
  std::map<std::string, std::string> Flags;   // -f name without "no-": the last -f of it
  std::vector<std::string> Others;            // the rest; -I folders absolute, listings alike
};

TCompileTraits Traits(const TCompileCommand& compile) {
  TCompileTraits traits;
  for (const std::string& word : compile.Options) {
    if (word.starts_with("-mmcu=")) {
      traits.Part = word;
    } else if (word.starts_with("-M")) {
      // dependency files: no part of what is compiled
    } else if (word.starts_with("-O")) {
      traits.Level = word;
    } else if (word.starts_with("-std=")) {
      traits.Standard = word;
    } else if (word.starts_with("-D") || word.starts_with("-U")) {
      traits.Macros[word.substr(2, word.find('=') - 2)] = word;
    } else if (word.starts_with("-f")) {
      std::string name = word.substr(2);
      if (name.starts_with("no-")) name.erase(0, 3);
      traits.Flags[name.substr(0, name.find('='))] = word;
    } else if (word.starts_with("-I") && word.size() > 2) {
      traits.Others.push_back("-I" + PathFrom(compile.Folder, word.substr(2)));
    } else {
      traits.Others.push_back(ListingOption(word).value_or(word));
    }
  }
  return traits;
}

// "-O3 in place of -Os", "with -O3", "without -Os"; nothing when alike.
void CompareValue(const std::string& old, const std::string& now, std::vector<std::string>& items) {
  if (old == now) return;
  if (old.empty())
    items.push_back("with " + now);
  else if (now.empty())
    items.push_back("without " + old);
  else
    items.push_back(now + " in place of " + old);
}

void CompareValues(const std::map<std::string, std::string>& old, const std::map<std::string, std::string>& now,
                   std::vector<std::string>& items) {
  std::set<std::string> names;
  for (const auto& [name, word] : old) names.insert(name);
  for (const auto& [name, word] : now) names.insert(name);
  for (const std::string& name : names) {
    const auto o = old.find(name), n = now.find(name);
    CompareValue(o == old.end() ? "" : o->second, n == now.end() ? "" : n->second, items);
  }
}

// Items of old missing in now ("without"), and of now missing in old ("with").
void CompareLists(const std::vector<std::string>& old, const std::vector<std::string>& now, const std::string& prefix,
                  bool both, std::vector<std::string>& items) {
  for (const std::string& word : old)
    if (std::find(now.begin(), now.end(), word) == now.end()) items.push_back("without " + prefix + word);
  if (both)
    for (const std::string& word : now)
      if (std::find(old.begin(), old.end(), word) == old.end()) items.push_back("with " + prefix + word);
}

// What the new compile of a source does otherwise than the old one.
std::vector<std::string> CompileDifferences(const TCompileCommand& old, const TCompileCommand& now) {
  const TCompileTraits o = Traits(old), n = Traits(now);
  std::vector<std::string> items;
  CompareValue(o.Part, n.Part, items);
  CompareValue(o.Level, n.Level, items);
  CompareValue(o.Standard, n.Standard, items);
  CompareValues(o.Macros, n.Macros, items);
  CompareValues(o.Flags, n.Flags, items);
  CompareLists(o.Others, n.Others, "", false, items);
  return items;
}

// The link's arguments that change the program: the map's name and the
// cross reference in it aside.
std::vector<std::string> ProgramLinkerArguments(const TLinkCommand& link) {
  std::vector<std::string> arguments = LinkerArguments(WithoutLinkerMap(link.Options));
  std::erase(arguments, "--cref");
  return arguments;
}

// The libraries and the files of the link besides the build's own objects,
// and its start-up choices.
std::vector<std::string> LinkedLibraries(const TLinkCommand& link, const TBuildCommands& build) {
  const std::set<std::string> objects = CompiledFiles(build);
  std::vector<std::string> libraries;
  for (const std::string& option : link.Options)
    if (option.starts_with("-l") || option == "-nostartfiles" || option == "-nostdlib" || option == "-nodefaultlibs")
      libraries.push_back(option);
  for (const std::string& path : link.InputPaths)
    if (!objects.contains(path)) libraries.push_back(path);
  return libraries;
}

// The programs of steps that change nothing the firmware is made of.
bool IsNeutralStep(const std::string& program) {
  for (const char* neutral : {"echo", "printf", "true", "false", ":", "test", "[", "mkdir", "rm", "make", "gmake",
                              "sleep", "avr-size"})
    if (program == neutral) return true;
  return IsAvrDriver(program);  // --version and the like
}

// A step's program, for a converting one with the kind of file it writes.
std::string StepKey(const TOtherCommand& step) {
  const std::string program = ProgramName(step.Words[0]);
  if (program.find("objcopy") == std::string::npos) return program;
  return program + " " + ExtractFileExt(step.Words.back());
}

// Lines of the same difference name their sources together.
class TLossLines {
public:
  void Add(const std::string& name, const std::string& difference) {
    auto [entry, added] = FNames.try_emplace(difference);
    if (added) FOrder.push_back(difference);
    if (std::find(entry->second.begin(), entry->second.end(), name) == entry->second.end())
      entry->second.push_back(name);
  }
  void AddLine(const std::string& line) { Add("", line); }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const std::string& difference : FOrder) {
      const std::vector<std::string>& names = FNames.at(difference);
      const std::string shown = JoinedWords(names, ", ");
      lines.push_back(shown.empty() ? difference : shown + ": " + difference);
    }
    return lines;
  }

private:
  std::vector<std::string> FOrder;
  std::map<std::string, std::vector<std::string>> FNames;
};

}  // namespace

std::vector<std::string> ReplacementLosses(const TBuildCommands& old, const TBuildCommands& replacement,
                                           const std::string& projectFolder, const std::string& mainFile) {
  TLossLines losses;
  auto compileOf = [](const TBuildCommands& build, const std::string& source) -> const TCompileCommand* {
    for (const TCompileCommand& compile : build.Compiles)
      if (PathFrom(compile.Folder, compile.Source) == source) return &compile;
    return nullptr;
  };
  for (const TCompileCommand& compile : old.Compiles) {
    const std::string source = PathFrom(compile.Folder, compile.Source);
    const std::string name = ShownName(projectFolder, source);
    if (const TCompileCommand* now = compileOf(replacement, source)) {
      const std::vector<std::string> items = CompileDifferences(compile, *now);
      if (!items.empty()) losses.Add(name, "compiled " + JoinedWords(items, ", "));
    } else {
      losses.Add(name, "not compiled");
    }
  }
  for (const TCompileCommand& compile : replacement.Compiles) {
    const std::string source = PathFrom(compile.Folder, compile.Source);
    if (!compileOf(old, source)) losses.Add(ShownName(projectFolder, source), "compiled, which the old makefile does not");
  }

  if (const TLinkCommand* oldLink = MainLink(old, mainFile)) {
    const std::string program = ShownName(projectFolder, oldLink->Output);
    if (const TLinkCommand* link = MainLink(replacement, mainFile)) {
      std::vector<std::string> items;
      CompareLists(ProgramLinkerArguments(*oldLink), ProgramLinkerArguments(*link), "-Wl,", true, items);
      CompareLists(LinkedLibraries(*oldLink, old), LinkedLibraries(*link, replacement), "", false, items);
      if (!items.empty()) losses.AddLine("the link of " + program + ": " + JoinedWords(items, ", "));
    } else {
      losses.AddLine(program + ": not linked");
    }
  }

  std::set<std::string> steps;
  for (const TOtherCommand& step : replacement.Others) steps.insert(StepKey(step));
  for (const TOtherCommand& step : old.Others) {
    if (IsNeutralStep(ProgramName(step.Words[0])) || steps.contains(StepKey(step))) continue;
    std::string line = Trim(step.Line);
    if (line.size() > 100) line = line.substr(0, 100) + "...";
    losses.AddLine("not run: " + line);
  }
  return losses.Lines();
}

TMakefileLosses MakefileReplacementLosses(const std::string& projectFolder, const std::string& mainFile,
                                          const std::string& installFolder, const std::string& newText) {
  const TMakeDryRun old = RunMakeDryRun(projectFolder, installFolder);
  if (!old.Known)
    return {false, "make cannot tell what it builds (" + old.Failure + "), so the new makefile may build something else",
            {}};
  const TMakeDryRun now = DryRunMakefileText(projectFolder, installFolder, newText);
  if (!now.Known)
    return {false, "make cannot tell what the new makefile builds (" + now.Failure + "), so it may build something else",
            {}};
  return {true, "", ReplacementLosses(old.Commands, now.Commands, projectFolder, mainFile)};
}

TMakefileReplaceCheck CheckMakefileReplace(const std::string& path) {
  if (!FileExists(path)) return {};
  TMakefileReplaceCheck check;
  try {
    check.Old = LoadBytesFromFile(path);
  } catch (const EStreamError&) {
    return {mrUnreadable, {}};
  }
  if (IsOwnMakefile(check.Old)) return {};
  check.State = mrForeign;
  return check;
}

std::string MakefileReplaceQuestion(const std::string& path, const TMakefileLosses* losses) {
  std::string question = path + " was not written by Vornkit. Replace it? The old file is kept as " +
                         ExtractFileName(BackupPath(path)) + ".";
  if (!losses) return question;
  if (!losses->Known) return question + "\n\n" + losses->Failure + ".";
  if (losses->Lines.empty()) return question;
  question += "\n\nThe new makefile will not build the same:";
  for (size_t i = 0; i < losses->Lines.size() && i < MostLossLines; ++i) question += "\n- " + losses->Lines[i];
  if (losses->Lines.size() > MostLossLines)
    question += Format("\n- and %d more", static_cast<int>(losses->Lines.size() - MostLossLines));
  return question;
}

bool ReplacementLosesWork(const TMakefileLosses* losses) {
  return losses && (!losses->Known || !losses->Lines.empty());
}

std::string MakefileUnreadableMessage(const std::string& path) { return path + " Do not open file!"; }

std::string MakefileBackupFailedMessage(const std::string& path) { return BackupPath(path) + " Do not save file!"; }

bool KeepMakefileBackup(const std::string& path, const std::string& old) {
  try {
    SaveBytesToFile(BackupPath(path), old);
  } catch (const EStreamError&) {
    return false;
  }
  return true;
}

}  // namespace vk
