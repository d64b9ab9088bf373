#include "services/EnvironmentMakefileOther.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "services/BuildRunner.h"
#include "services/EnvironmentMakefile.h"
#include "services/MakeDryRun.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"

namespace vk {

namespace {

// The assembler listing option of the dialog's makefile: the listing of
// each source beside its object.
constexpr const char* ListingFile = "$(OBJDIR)/$(basename $<).lst";

// An option ready for the makefile: a word of the command as make must
// write it, or the makefile's own text (a variable, the listing name).
struct TMakefileOption {
  std::string Word;  // as the compiles passed it; the key that compares them
  std::string Text;  // as the makefile writes it
};

}  // namespace

std::optional<std::string> ListingOption(const std::string& word) {
  if (!word.starts_with("-Wa,")) return std::nullopt;
  std::vector<std::string> parts = CommaArguments(word);
  bool listing = false;
  for (std::string& part : parts)
    if (part.starts_with("-a") && part.find('=') != std::string::npos) {
      part = part.substr(0, part.find('=') + 1) + ListingFile;
      listing = true;
    }
  if (!listing) return std::nullopt;
  return "-Wa," + JoinedWords(parts, ",");
}

namespace {

// What the dialog's makefile passes to every compile itself, or what
// belongs to no compile's meaning: the part, the dependency files, -I.
bool PassedByTheRules(const std::string& word) {
  return word.starts_with("-mmcu=") || word.starts_with("-M") || word == "-I.";
}

// The options one compile passes, as the makefile would write them.
std::vector<TMakefileOption> CompileOptions(const TCompileCommand& compile) {
  std::vector<TMakefileOption> options;
  for (const std::string& word : compile.Options) {
    if (PassedByTheRules(word)) continue;
    if (std::optional<std::string> listing = ListingOption(word))
      options.push_back({*listing, *listing});
    else
      options.push_back({word, MakefileWord(word)});
  }
  return options;
}

// The options every compile passes, in the first one's order.
std::vector<TMakefileOption> CommonOptions(const std::vector<const TCompileCommand*>& compiles) {
  if (compiles.empty()) return {};
  std::vector<TMakefileOption> common = CompileOptions(*compiles.front());
  for (size_t i = 1; i < compiles.size(); ++i) {
    const std::vector<TMakefileOption> own = CompileOptions(*compiles[i]);
    std::erase_if(common, [&](const TMakefileOption& option) {
      return std::none_of(own.begin(), own.end(), [&](const TMakefileOption& o) { return o.Word == option.Word; });
    });
  }
  return common;
}

bool IsDefinition(const std::string& word) { return word.starts_with("-D") || word.starts_with("-U"); }

// "-DF_CPU=8000000UL": the frequency (8000000) and what follows it (UL).
std::optional<std::pair<std::string, std::string>> ClockDefinition(const std::string& word) {
  if (!word.starts_with("-DF_CPU=")) return std::nullopt;
  const std::string value = word.substr(8);
  const size_t digits = value.find_first_not_of("0123456789");
  const std::string number = value.substr(0, digits);
  const std::string suffix = digits == std::string::npos ? "" : value.substr(digits);
  if (number.empty() || suffix.find_first_not_of("uUlL") != std::string::npos) return std::nullopt;
  return std::pair{number, suffix};
}

// Sorts one language's common options into the dialog's fields and a
// line of the rest.
class TLanguageFields {
public:
  TLanguageFields(TMakefileOptions& options, std::vector<std::string>& includes)
      : FOptions(options), FIncludes(includes) {}

  // The -D and -U options, F_CPU through its field where the compiles
  // agree on it, as the definitions field holds them.
  std::string Definitions(const std::vector<TMakefileOption>& common) {
    std::vector<std::string> words;
    for (const TMakefileOption& option : common) {
      if (!IsDefinition(option.Word)) continue;
      const auto clock = ClockDefinition(option.Word);
      if (clock && (FOptions.McuFrq.empty() || FOptions.McuFrq == clock->first)) {
        FOptions.McuFrq = clock->first;
        words.push_back("-DF_CPU=$(F_CPU)" + clock->second);
      } else {
        words.push_back(option.Text);
      }
    }
    return JoinedWords(words);
  }

  // The other options in order, the definitions where the first stood
  // (through their variable), the -I folders gathered; a field (-O, -g,
  // -std) through its variable where the option says it may.
  std::vector<std::string> Rest(const std::vector<TMakefileOption>& common, const std::string& definitions,
                                const std::function<std::optional<std::string>(const std::string&)>& field) {
    std::vector<std::string> rest;
    bool definitionsPlaced = false;
    for (const TMakefileOption& option : common) {
      if (option.Word.starts_with("-I")) {
        if (std::find(FIncludes.begin(), FIncludes.end(), option.Text) == FIncludes.end())
          FIncludes.push_back(option.Text);
      } else if (IsDefinition(option.Word)) {
        if (!definitionsPlaced) rest.push_back(definitions);
        definitionsPlaced = true;
      } else if (std::optional<std::string> text = field(option.Word)) {
        if (!text->empty()) rest.push_back(*text);
      } else {
        rest.push_back(option.Text);
      }
    }
    return rest;
  }

private:
  TMakefileOptions& FOptions;
  std::vector<std::string>& FIncludes;
};

// The last option of the list that starts with the prefix; none.
std::optional<std::string> LastWith(const std::vector<TMakefileOption>& options, const std::string& prefix) {
  std::optional<std::string> last;
  for (const TMakefileOption& option : options)
    if (option.Word.starts_with(prefix)) last = option.Word;
  return last;
}

size_t CountWith(const std::vector<TMakefileOption>& options, const std::string& prefix) {
  return static_cast<size_t>(std::count_if(options.begin(), options.end(),
                                           [&](const TMakefileOption& o) { return o.Word.starts_with(prefix); }));
}

// The C compiles' options into the C fields and memo.
void ReadCOptions(const std::vector<TMakefileOption>& common, TMakefileOptions& options,
                  std::vector<std::string>& includes) {
  TLanguageFields fields(options, includes);
  options.CDefs = fields.Definitions(common);
  const std::optional<std::string> level = LastWith(common, "-O");
  const std::optional<std::string> standard = LastWith(common, "-std=");
  const bool oneDebug = CountWith(common, "-g") == 1;
  options.Optimization = level ? level->substr(2) : "";
  options.CStandard = standard.value_or("");
  options.DebugFormat = oneDebug ? LastWith(common, "-g")->substr(2) : "";
  // Only the last -O and -std count, as with the compiler.
  std::vector<std::string> memo = fields.Rest(common, "$(CDEFS)", [&](const std::string& word) {
    if (word.starts_with("-O")) return std::optional<std::string>(word == *level ? "-O$(OPT)" : "");
    if (word.starts_with("-std=")) return std::optional<std::string>(word == *standard ? "$(CSTANDARD)" : "");
    if (word.starts_with("-g") && oneDebug) return std::optional<std::string>("-g$(DEBUG)");
    return std::optional<std::string>();
  });
  if (options.CDefs.empty()) memo.insert(memo.begin(), "$(CDEFS)");
  options.CompilerOptions = memo;
}

// A language's options where only the definitions have a field: that
// field, and the rest with its variable where the first definition stood
// (first where none does).
std::vector<std::string> DefinitionsAndRest(const std::vector<TMakefileOption>& common, TMakefileOptions& options,
                                            std::vector<std::string>& includes, std::string& definitions,
                                            const char* variable) {
  TLanguageFields fields(options, includes);
  definitions = fields.Definitions(common);
  std::vector<std::string> rest =
      fields.Rest(common, variable, [](const std::string&) { return std::optional<std::string>(); });
  if (definitions.empty()) rest.insert(rest.begin(), variable);
  return rest;
}

// A file of the build as the dialog's makefile names it: relative to the
// project folder, inside it, without a blank; none otherwise.
std::optional<std::string> ProjectName(const std::string& projectFolder, const std::string& folder,
                                       const std::string& file) {
  std::optional<std::string> name = PathBelow(projectFolder, PathFrom(folder, file));
  if (!name) return std::nullopt;
  while (name->starts_with("./")) name->erase(0, 2);
  if (name->empty() || name->find_first_of(" \t") != std::string::npos || name->find("..") != std::string::npos)
    return std::nullopt;
  return name;
}

// The link's options the dialog's link does not pass already, then the
// libraries and files it takes besides the build's own in the link's
// order (an archive before the -l library it needs stays before it), the
// map named after the target instead of the link's.
std::vector<std::string> LinkerLines(const TLinkCommand& link, const std::vector<std::string>& cOptions,
                                     const std::set<std::string>& objects, const std::string& projectFolder) {
  std::vector<std::string> words;
  const std::vector<std::string> options = WithoutLinkerMap(link.Options);
  for (size_t i = 0; i < options.size(); ++i) {
    const std::string& word = options[i];
    if (word == "-Xlinker" && i + 1 < options.size()) {
      words.insert(words.end(), {word, MakefileWord(options[++i])});
      continue;
    }
    if (PassedByTheRules(word) || IsDefinition(word) || word.starts_with("-I") || word.starts_with("-l") ||
        std::find(cOptions.begin(), cOptions.end(), word) != cOptions.end())
      continue;
    words.push_back(MakefileWord(word));
  }
  // The libraries, -l or files, each in its place among the others.
  for (const std::string& item : link.Linked) {
    const std::string path = CommandPath(link.Folder, item);
    if (item.starts_with("-l"))
      words.push_back(MakefileWord(item));
    else if (!objects.contains(path))
      words.push_back(MakefileWord(ProjectName(projectFolder, link.Folder, item).value_or(path)));
  }
  std::vector<std::string> lines{"-Wl,-Map=$(TARGET).map,--cref"};
  if (!words.empty()) lines.push_back(JoinedWords(words));
  return lines;
}

// The output format of the command that converts the program into the
// flash image (avr-objcopy -O ihex ... main.hex); none.
std::optional<std::string> FlashFormat(const TBuildCommands& commands) {
  for (const TOtherCommand& command : commands.Others) {
    if (ProgramName(command.Words[0]).find("objcopy") == std::string::npos) continue;
    const std::vector<std::string>& words = command.Words;
    const bool eeprom = std::find(words.begin(), words.end(), "-j") != words.end();
    for (size_t i = 1; i + 1 < words.size(); ++i)
      if (words[i] == "-O" && !eeprom) return words[i + 1];
  }
  return std::nullopt;
}

}  // namespace

std::string MakefileWord(const std::string& word) {
  constexpr std::string_view kPlain =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-+=.,/:@%^";
  const bool plain = !word.empty() && word.find_first_not_of(kPlain) == std::string::npos;
  const std::string shell = plain ? word : ShellQuote(word);
  std::string text;
  for (char c : shell) {
    if (c == '$')
      text += "$$";
    else if (c == '#')
      text += "\\#";
    else
      text += c;
  }
  return text;
}

void ReadOtherMakefileOptions(const TBuildCommands& commands, const std::string& projectFolder,
                              const std::string& mainFile, TMakefileOptions& options) {
  if (const std::string part = CommandsPart(commands); !part.empty()) options.McuType = part;
  const TLinkCommand* link = MainLink(commands, mainFile);
  std::set<std::string> linked;  // the objects and sources the link takes
  if (link)
    linked.insert(link->InputPaths.begin(), link->InputPaths.end());

  // The compiles of the program's objects, by language, and their sources.
  std::vector<const TCompileCommand*> c, cpp, assembler;
  std::vector<std::string> cSources, cppSources, assemblerSources;
  for (const TCompileCommand& compile : commands.Compiles) {
    if (link && !linked.contains(compile.Object.empty() ? compile.SourcePath : compile.Object)) continue;
    const bool isC = compile.Language == slC, isCpp = compile.Language == slCpp;
    (isC ? c : isCpp ? cpp : assembler).push_back(&compile);
    std::vector<std::string>& sources = isC ? cSources : isCpp ? cppSources : assemblerSources;
    const std::optional<std::string> name = ProjectName(projectFolder, compile.Folder, compile.Source);
    if (name && *name != mainFile && std::find(sources.begin(), sources.end(), *name) == sources.end())
      sources.push_back(*name);
  }
  options.CAddSources = JoinedWords(cSources);
  options.CppAddSources = JoinedWords(cppSources);
  options.AsmAddSources = JoinedWords(assemblerSources);

  options.McuFrq.clear();
  std::vector<std::string> includes;
  const std::vector<TMakefileOption> cCommon = CommonOptions(c);
  if (!c.empty()) ReadCOptions(cCommon, options, includes);
  if (!cpp.empty())
    options.CppCompilerOptions = DefinitionsAndRest(CommonOptions(cpp), options, includes, options.CppDefs, "$(CPPDEFS)");
  if (!assembler.empty())
    options.AssemblerOptions =
        JoinedWords(DefinitionsAndRest(CommonOptions(assembler), options, includes, options.AsmDefs, "$(ADEFS)"));
  options.IOptions = JoinedWords(includes);

  if (link) {
    std::vector<std::string> cWords;
    for (const TMakefileOption& option : cCommon) cWords.push_back(option.Word);
    options.LinkerOptions = LinkerLines(*link, cWords, CompiledFiles(commands), projectFolder);
    options.PrintfLib.clear();
    options.ScanfLib.clear();
    options.MathLib.clear();
    options.ExtMemoryIndex = 0;
  }
  if (std::optional<std::string> format = FlashFormat(commands)) options.FileFormat = *format;
}

bool ImportOtherMakefile(const std::string& projectFolder, const std::string& mainFile,
                         const std::string& installFolder, TMakefileOptions& options) {
  const TMakeDryRun dryRun = RunMakeDryRun(projectFolder, installFolder);
  if (dryRun.Known) ReadOtherMakefileOptions(dryRun.Commands, projectFolder, mainFile, options);
  return dryRun.Known;
}

}  // namespace vk
