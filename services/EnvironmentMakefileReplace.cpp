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
// lies inside or beside it ("../shared/led.c", "." for the folder itself),
// else its path.
std::string ShownName(const std::string& projectFolder, const std::string& path) {
  if (std::optional<std::string> below = PathBelow(projectFolder, path)) return *below;
  const std::string folder = CommandPath(projectFolder, "");
  if (path == folder) return ".";
  const std::string parent = ExtractFilePath(folder);
  if (std::optional<std::string> beside = PathBelow(parent, path)) return "../" + *beside;
  return path;
}

// An option that tells how the compiler reports or tracks what it read
// (dependency files, the form of diagnostics), not what it makes.
bool IsBookkeeping(const std::string& word) {
  return word.starts_with("-M") || word.starts_with("-fdiagnostics-");
}

// -nostartfiles and its kin: which start-up files and libraries come along.
bool IsStartUpChoice(const std::string& word) {
  return word == "-nostartfiles" || word == "-nostdlib" || word == "-nodefaultlibs";
}

// What only a link takes (a compile and link in one passes it too).
bool IsLinkOnly(const std::string& word) {
  return word.starts_with("-Wl,") || word.starts_with("-l") || word.starts_with("-L") || IsStartUpChoice(word);
}

// A -Wp option without the dependency tracking it hands the preprocessor
// ("-Wp,-M,-MP,-MT,x.o,-MF,.dep/x.d" gives ""; any other part stays).
std::string WithoutPreprocessorTracking(const std::string& word) {
  std::vector<std::string> kept;
  const std::vector<std::string> parts = CommaArguments(word);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i] == "-MF" || parts[i] == "-MT" || parts[i] == "-MQ")
      ++i;  // and its file
    else if (!parts[i].starts_with("-M"))
      kept.push_back(parts[i]);
  }
  return kept.empty() ? "" : "-Wp," + JoinedWords(kept, ",");
}

// What a compile's options do, each kind as the compiler ends up with it.
struct TCompileTraits {
  std::string Part, Level, Standard;          // the last -mmcu=, -O, -std= ("": none)
  std::map<std::string, std::string> Macros;  // name: the last -D or -U of it
  std::map<std::string, std::string> Flags;   // -f name without "no-": the last -f of it
  std::vector<std::string> Includes;          // the -I folders as shown, in order
  std::vector<std::string> Others;            // the rest; listings alike
};

TCompileTraits Traits(const TCompileCommand& compile, const std::string& projectFolder) {
  TCompileTraits traits;
  for (const std::string& option : compile.Options) {
    const std::string word = option.starts_with("-Wp,") ? WithoutPreprocessorTracking(option) : option;
    if (word.empty() || IsBookkeeping(word) || IsLinkOnly(word)) continue;
    if (word.starts_with("-mmcu=")) {
      traits.Part = word;
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
      traits.Includes.push_back("-I" + ShownName(projectFolder, CommandPath(compile.Folder, word.substr(2))));
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

// The items both lists hold, in the first one's order.
std::vector<std::string> Common(const std::vector<std::string>& first, const std::vector<std::string>& second) {
  std::vector<std::string> common;
  for (const std::string& item : first)
    if (std::find(second.begin(), second.end(), item) != second.end()) common.push_back(item);
  return common;
}

// The items both lists hold stand in another order in the second.
bool InAnotherOrder(const std::vector<std::string>& old, const std::vector<std::string>& now) {
  return Common(old, now) != Common(now, old);
}

// What the new compile of a source does otherwise than the old one.
std::vector<std::string> CompileDifferences(const TCompileCommand& old, const TCompileCommand& now,
                                            const std::string& projectFolder) {
  const TCompileTraits o = Traits(old, projectFolder), n = Traits(now, projectFolder);
  std::vector<std::string> items;
  CompareValue(o.Part, n.Part, items);
  CompareValue(o.Level, n.Level, items);
  CompareValue(o.Standard, n.Standard, items);
  CompareValues(o.Macros, n.Macros, items);
  CompareValues(o.Flags, n.Flags, items);
  CompareLists(o.Includes, n.Includes, "", false, items);
  if (InAnotherOrder(o.Includes, n.Includes)) items.push_back("with the -I folders in another order");
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
    if (option.starts_with("-l") || IsStartUpChoice(option)) libraries.push_back(option);
  for (const std::string& path : link.InputPaths)
    if (!objects.contains(path)) libraries.push_back(path);
  return libraries;
}

// What the link takes in its order: each object as the source compiled
// into it, each other file by its path, each -l library as written.
std::vector<std::string> LinkOrder(const TLinkCommand& link, const TBuildCommands& build,
                                   const std::string& projectFolder) {
  std::vector<std::string> order;
  for (const std::string& item : link.Linked) {
    std::string name = item.starts_with("-l") ? item : CommandPath(link.Folder, item);
    for (const TCompileCommand& compile : build.Compiles)
      if (compile.Object == name) name = compile.SourcePath;
    order.push_back(ShownName(projectFolder, name));
  }
  return order;
}

// The link's options that only concern compiling, or how the driver
// reports: no difference to the program it links.
bool IsCompileOnly(const std::string& word) {
  for (const char* prefix : {"-D", "-U", "-I", "-std=", "-O", "-g", "-f", "-W", "-Xassembler", "-Xpreprocessor",
                             "--param", "-aux-info", "-dump"})
    if (word.starts_with(prefix)) return !word.starts_with("-flto") && !word.starts_with("-Wl,");
  return IsBookkeeping(word);
}

// The link's own options that change the program (an option with its
// argument word as one), but its part, its linker arguments and its
// libraries, which are compared by themselves.
std::vector<std::string> LinkOptions(const TLinkCommand& link) {
  std::vector<std::string> options;
  for (size_t i = 0; i < link.Options.size(); ++i) {
    std::string word = link.Options[i];
    if (TakesSeparateArgument(word) && i + 1 < link.Options.size()) word += " " + link.Options[++i];
    if (word.starts_with("-Xlinker") || word.starts_with("-Wl,") || word.starts_with("-mmcu=") ||
        word.starts_with("-l") || IsStartUpChoice(word) || IsCompileOnly(word))
      continue;
    options.push_back(word);
  }
  return options;
}

// The part the link names (its last -mmcu=); "" for none.
std::string LinkPart(const TLinkCommand& link) {
  std::string part;
  for (const std::string& word : link.Options)
    if (word.starts_with("-mmcu=")) part = word;
  return part;
}

// What the new link of the program does otherwise than the old one.
std::vector<std::string> LinkDifferences(const TLinkCommand& oldLink, const TBuildCommands& old,
                                         const TLinkCommand& link, const TBuildCommands& replacement,
                                         const std::string& projectFolder) {
  std::vector<std::string> items;
  CompareValue(LinkPart(oldLink), LinkPart(link), items);
  const std::vector<std::string> oldOptions = LinkOptions(oldLink), options = LinkOptions(link);
  CompareLists(oldOptions, options, "", false, items);
  // Options the old compiles pass too came along with them (the dialog's
  // link passes its compile options).
  std::set<std::string> compiled;
  for (const TCompileCommand& compile : old.Compiles) compiled.insert(compile.Options.begin(), compile.Options.end());
  for (const std::string& option : options)
    if (!compiled.contains(option) && std::find(oldOptions.begin(), oldOptions.end(), option) == oldOptions.end())
      items.push_back("with " + option);
  CompareLists(ProgramLinkerArguments(oldLink), ProgramLinkerArguments(link), "-Wl,", true, items);
  CompareLists(LinkedLibraries(oldLink, old), LinkedLibraries(link, replacement), "", false, items);
  const std::vector<std::string> oldOrder = LinkOrder(oldLink, old, projectFolder);
  const std::vector<std::string> order = LinkOrder(link, replacement, projectFolder);
  if (InAnotherOrder(oldOrder, order))
    items.push_back("in the order " + JoinedWords(Common(order, oldOrder), ", ") + " in place of " +
                    JoinedWords(Common(oldOrder, order), ", "));
  return items;
}

// The program file a converting step writes (avr-objcopy ... main.elf
// main.hex); "" for another step.
std::string ConvertedFile(const TOtherCommand& step) {
  if (ProgramName(step.Words[0]).find("objcopy") == std::string::npos || step.Words.size() < 3 ||
      step.Words.back().starts_with("-"))
    return "";
  return CommandPath(step.Folder, step.Words.back());
}

// The program files a build writes: what its links and its converting
// steps write.
std::set<std::string> ProgramFiles(const TBuildCommands& build) {
  std::set<std::string> files;
  for (const TLinkCommand& link : build.Links) files.insert(link.Output);
  for (const TOtherCommand& step : build.Others)
    if (const std::string file = ConvertedFile(step); !file.empty()) files.insert(file);
  return files;
}

// Every file a build writes: its objects, programs, maps and what its
// steps write.
std::set<std::string> WrittenFiles(const TBuildCommands& build) {
  std::set<std::string> files = ProgramFiles(build);
  for (const TCompileCommand& compile : build.Compiles) files.insert(compile.Object);
  for (const TLinkCommand& link : build.Links) files.insert(link.Map);
  for (const TOtherCommand& step : build.Others) files.insert(step.Writes.begin(), step.Writes.end());
  return files;
}

// A target a user names to make (flash, program), not a file of the build.
bool IsUsersTarget(const std::string& target) { return target.find_first_of("./%$") == std::string::npos; }

// The programs of steps that change nothing the firmware is made of.
bool IsNeutralStep(const std::string& program) {
  for (const char* neutral : {"echo", "printf", "true", "false", ":", "test", "[", "mkdir", "rm", "make", "gmake",
                              "sleep", "avr-size"})
    if (program == neutral) return true;
  return IsAvrDriver(program);  // --version and the like
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

std::vector<std::string> ReplacementLosses(const TMakeDryRun& oldRun, const TMakeDryRun& replacementRun,
                                           const std::string& projectFolder, const std::string& mainFile) {
  const TBuildCommands& old = oldRun.Commands;
  const TBuildCommands& replacement = replacementRun.Commands;
  TLossLines losses;
  auto compileOf = [](const TBuildCommands& build, const std::string& source) -> const TCompileCommand* {
    for (const TCompileCommand& compile : build.Compiles)
      if (compile.SourcePath == source) return &compile;
    return nullptr;
  };
  for (const TCompileCommand& compile : old.Compiles) {
    const std::string& source = compile.SourcePath;
    const std::string name = ShownName(projectFolder, source);
    if (const TCompileCommand* now = compileOf(replacement, source)) {
      const std::vector<std::string> items = CompileDifferences(compile, *now, projectFolder);
      if (!items.empty()) losses.Add(name, "compiled " + JoinedWords(items, ", "));
    } else {
      losses.Add(name, "not compiled");
    }
  }
  for (const TCompileCommand& compile : replacement.Compiles) {
    const std::string& source = compile.SourcePath;
    if (!compileOf(old, source)) losses.Add(ShownName(projectFolder, source), "compiled, which the old makefile does not");
  }

  if (const TLinkCommand* oldLink = MainLink(old, mainFile)) {
    const std::string program = ShownName(projectFolder, oldLink->Output);
    if (const TLinkCommand* link = MainLink(replacement, mainFile)) {
      const std::vector<std::string> items = LinkDifferences(*oldLink, old, *link, replacement, projectFolder);
      if (!items.empty()) losses.AddLine("the link of " + program + ": " + JoinedWords(items, ", "));
    } else {
      losses.AddLine(program + ": not linked");
    }
  }

  std::set<std::string> steps;
  for (const TOtherCommand& step : replacement.Others) steps.insert(ProgramName(step.Words[0]));
  const std::set<std::string> files = WrittenFiles(replacement);
  for (const TOtherCommand& step : old.Others) {
    // A step that writes a file the new build does not write is missed,
    // whatever program writes it (echo ... > version.h).
    const bool writesMore =
        std::any_of(step.Writes.begin(), step.Writes.end(), [&](const std::string& f) { return !files.contains(f); });
    // A conversion is judged by the file it writes (below).
    if (!ConvertedFile(step).empty() ||
        (!writesMore && (IsNeutralStep(ProgramName(step.Words[0])) || steps.contains(ProgramName(step.Words[0])))))
      continue;
    std::string line = Trim(step.Line);
    if (line.size() > 100) line = line.substr(0, 100) + "...";
    losses.AddLine("not run: " + line);
  }
  const std::set<std::string> written = ProgramFiles(replacement);
  for (const std::string& file : ProgramFiles(old))
    if (!written.contains(file)) losses.AddLine("not written: " + ShownName(projectFolder, file));
  for (const std::string& target : oldRun.Targets)
    if (IsUsersTarget(target) &&
        std::find(replacementRun.Targets.begin(), replacementRun.Targets.end(), target) == replacementRun.Targets.end())
      losses.AddLine("no target " + target);
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
  return {true, "", ReplacementLosses(old, now, projectFolder, mainFile)};
}

TMakefileReplaceCheck CheckMakefileReplace(const std::string& path) {
  if (!FileExists(path)) return {};
  TMakefileReplaceCheck check;
  try {
    check.Old = LoadBytesFromFile(path);
  } catch (const EStreamError&) {
    return {mrUnreadable, {}};
  }
  if (IsSettingsMakefile(check.Old)) return {};
  check.State = IsOwnMakefile(check.Old) ? mrWizard : mrForeign;
  return check;
}

std::string MakefileReplaceQuestion(const std::string& path, const TMakefileLosses* losses,
                                    TMakefileReplace state) {
  const char* origin = state == mrWizard ? " was written by the makefile wizard." : " was not written by Vornkit.";
  std::string question =
      path + origin + " Replace it? The old file is kept as " + ExtractFileName(BackupPath(path)) + ".";
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
