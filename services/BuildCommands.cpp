#include "services/BuildCommands.h"

#include <algorithm>
#include <optional>

#include "services/BuildRunner.h"
#include "services/MakeFolderLines.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"
#include "platform/StringLists.h"

namespace vk {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Splits a shell line into simple commands of words, as the shell reads it
// before it expands anything.
class TShellLineReader {
public:
  explicit TShellLineReader(std::string_view line) : FLine(line) {}

  std::vector<std::vector<std::string>> Read() {
    while (FAt < FLine.size()) {
      const char c = FLine[FAt];
      if (IsBlank(c)) {
        EndWord();
        ++FAt;
      } else if (c == '#' && !FInWord) {
        break;  // a comment to the line's end
      } else if (c == ';' || c == '&' || c == '|' || c == '(' || c == ')') {
        if (c == '&' && At(1) == '>') {
          Redirect();  // &> file
          continue;
        }
        EndCommand();
        ++FAt;
      } else if (c == '>' || c == '<') {
        Redirect();
      } else if (c == '\'') {
        const size_t end = FLine.find('\'', FAt + 1);
        Take(FLine.substr(FAt + 1, end == std::string_view::npos ? end : end - FAt - 1));
        FAt = end == std::string_view::npos ? FLine.size() : end + 1;
      } else if (c == '"') {
        DoubleQuoted();
      } else if (c == '\\') {
        if (At(1) != '\n') Take(FLine.substr(FAt + 1, 1));  // a backslash and line break join the lines
        FAt += 2;
      } else if (c == '`') {
        Verbatim(FLine.find('`', FAt + 1));
      } else if (c == '$' && (At(1) == '(' || At(1) == '{')) {
        Verbatim(Closing(FAt + 1));
      } else {
        Take(FLine.substr(FAt, 1));
        ++FAt;
      }
    }
    EndCommand();
    return std::move(FCommands);
  }

private:
  char At(size_t offset) const { return FAt + offset < FLine.size() ? FLine[FAt + offset] : '\0'; }

  void Take(std::string_view text) {
    FWord += text;
    FInWord = true;
  }

  void EndWord() {
    if (!FInWord) return;
    if (FRedirectTarget)
      FRedirectTarget = false;  // the file a redirection names is no argument
    else
      FWords.push_back(std::move(FWord));
    FWord.clear();
    FInWord = false;
  }

  void EndCommand() {
    EndWord();
    FRedirectTarget = false;
    if (!FWords.empty()) FCommands.push_back(std::move(FWords));
    FWords.clear();
  }

  // ">", ">>", "<", "2>&1", "&>", "<<": the operator and its file go; a
  // number just before it is the descriptor.
  void Redirect() {
    if (FInWord && IsAsciiNumber(FWord)) {
      FWord.clear();
      FInWord = false;
    }
    EndWord();
    while (FAt < FLine.size() && (FLine[FAt] == '>' || FLine[FAt] == '<' || FLine[FAt] == '&' || FLine[FAt] == '|'))
      ++FAt;
    // ">&2", "<&-": a descriptor, no file.
    if (FAt > 0 && FLine[FAt - 1] == '&' && (IsAsciiDigit(At(0)) || At(0) == '-')) {
      while (IsAsciiDigit(At(0)) || At(0) == '-') ++FAt;
      return;
    }
    FRedirectTarget = true;
  }

  void DoubleQuoted() {
    FInWord = true;
    for (++FAt; FAt < FLine.size() && FLine[FAt] != '"'; ++FAt) {
      const char c = FLine[FAt];
      if (c == '\\' && std::string_view("$`\"\\\n").find(At(1)) != std::string_view::npos && At(1) != '\0') {
        if (At(1) != '\n') FWord += At(1);
        ++FAt;
      } else if (c == '$' && At(1) == '(') {
        const size_t end = Closing(FAt + 1);
        FWord += FLine.substr(FAt, end == std::string_view::npos ? end : end + 1 - FAt);
        FAt = end == std::string_view::npos ? FLine.size() : end;
      } else {
        FWord += c;
      }
    }
    ++FAt;
  }

  // Text taken as written up to and including the closing character at end.
  void Verbatim(size_t end) {
    const size_t stop = end == std::string_view::npos ? FLine.size() : end + 1;
    Take(FLine.substr(FAt, stop - FAt));
    FAt = stop;
  }

  // The ")" or "}" that closes the bracket at open, quotes and nesting
  // considered.
  size_t Closing(size_t open) const {
    const char opening = FLine[open];
    const char closing = opening == '(' ? ')' : '}';
    int depth = 0;
    for (size_t i = open; i < FLine.size(); ++i) {
      const char c = FLine[i];
      if (c == '\\') {
        ++i;
      } else if (c == '\'') {
        i = FLine.find('\'', i + 1);
        if (i == std::string_view::npos) return i;
      } else if (c == opening) {
        ++depth;
      } else if (c == closing && --depth == 0) {
        return i;
      }
    }
    return std::string_view::npos;
  }

  std::string_view FLine;
  size_t FAt = 0;
  std::string FWord;
  bool FInWord = false;
  bool FRedirectTarget = false;
  std::vector<std::string> FWords;
  std::vector<std::vector<std::string>> FCommands;
};

// The shell's words that stand in front of a command, and the commands
// that run no program of their own.
constexpr std::string_view kLeadingWords[] = {"if", "then", "else", "elif", "do", "while", "until", "!", "{", "time",
                                              "exec", "command"};
constexpr std::string_view kNoProgram[] = {"for", "case", "esac", "fi", "done", "}", "in"};

template <size_t N>
bool IsOneOf(const std::string& word, const std::string_view (&list)[N]) {
  return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

// The command with the shell's words and settings in front of it taken off.
std::vector<std::string> ProgramWords(std::vector<std::string> words) {
  size_t first = 0;
  while (first < words.size() && (IsOneOf(words[first], kLeadingWords) || IsShellAssignment(words[first]))) ++first;
  // env NAME=value ... program
  if (first < words.size() && ProgramName(words[first]) == "env") {
    ++first;
    while (first < words.size() && (IsShellAssignment(words[first]) || words[first].starts_with("-"))) ++first;
  }
  words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(first));
  if (!words.empty() && IsOneOf(words[0], kNoProgram)) words.clear();
  return words;
}

// Options whose argument may stand in the next word; the driver also takes
// them joined, which is how they are kept.
constexpr std::string_view kJoinable[] = {"-D",       "-U",       "-I",         "-L",   "-l",  "-o",
                                          "-T",       "-u",       "-include",   "-imacros",    "-isystem",
                                          "-iquote",  "-idirafter", "-MF",      "-MT",  "-MQ", "-e"};
// Options whose argument stands in the next word and stays there.
constexpr std::string_view kSeparate[] = {"-Xlinker", "-Xassembler", "-Xpreprocessor", "--param", "-aux-info", "-z"};

// Whether the word asks the driver for a fact rather than a build.
bool AsksOnly(const std::string& word) {
  return word == "--version" || word == "-dumpversion" || word == "-dumpmachine" || word == "--help" ||
         word == "-###" || word.starts_with("-print-") || word == "--target-help";
}

TSourceLanguage LanguageOfName(const std::string& name) {
  if (name == "c" || name == "c-header" || name == "cpp-output") return slC;
  if (name == "c++" || name == "c++-header" || name == "c++-cpp-output") return slCpp;
  if (name == "assembler-with-cpp") return slAssemblerWithCpp;
  if (name == "assembler") return slAssembler;
  return slNone;
}

// The language the driver compiles a file in by its name; slNone for a
// file it hands to the linker.
TSourceLanguage LanguageOfFile(const std::string& file, bool cppDriver) {
  const std::string extension = ExtractFileExt(file);
  if (extension == ".c" || extension == ".i") return cppDriver ? slCpp : slC;
  for (const char* cpp : {".cc", ".cp", ".cxx", ".cpp", ".CPP", ".c++", ".C", ".ii"})
    if (extension == cpp) return slCpp;
  if (extension == ".S" || extension == ".sx") return slAssemblerWithCpp;
  if (extension == ".s") return slAssembler;
  return slNone;
}

// One driver command: its options, inputs and what it makes.
struct TDriverCommand {
  std::vector<std::string> Options;
  struct TInput {
    std::string File;
    TSourceLanguage Language;
  };
  std::vector<TInput> Inputs;
  std::vector<std::string> Linked;  // the inputs and -l options in order
  std::optional<std::string> Output;
  char StopsAt = 0;  // 'c', 'S' or 'E' (no link); 0 for a link
  bool DependenciesOnly = false;  // -M or -MM without -MD
  bool AsksOnly = false;
};

TDriverCommand ReadDriverCommand(const std::vector<std::string>& words) {
  TDriverCommand command;
  const std::string driver = ProgramName(words[0]);
  const bool cppDriver = driver.find("g++") != std::string::npos || driver.find("c++") != std::string::npos;
  std::optional<TSourceLanguage> forced;  // by -x
  bool dependencies = false, dependenciesToFile = false;
  for (size_t i = 1; i < words.size(); ++i) {
    std::string word = words[i];
    const bool hasNext = i + 1 < words.size();
    if (word == "-x" || (word.starts_with("-x") && word.size() > 2 && word[2] != 'L')) {
      const std::string name = word == "-x" ? (hasNext ? words[++i] : "") : word.substr(2);
      forced = name == "none" ? std::nullopt : std::optional(LanguageOfName(name));
      continue;
    }
    if (IsOneOf(word, kJoinable) && hasNext) word += words[++i];
    if (word.starts_with("-o") && word.size() > 2) {
      command.Output = word.substr(2);
      continue;
    }
    if (word == "-c" || word == "-S" || word == "-E") {
      command.StopsAt = word[1];
      continue;
    }
    if (word == "-M" || word == "-MM") dependencies = true;
    if (word == "-MD" || word == "-MMD") dependenciesToFile = true;
    command.AsksOnly = command.AsksOnly || AsksOnly(word);
    if (word.starts_with("-") && word.size() > 1) {
      command.Options.push_back(word);
      if (word.starts_with("-l")) command.Linked.push_back(word);
      if (IsOneOf(word, kSeparate) && hasNext) command.Options.push_back(words[++i]);
    } else if (word.starts_with("@")) {
      command.Options.push_back(word);  // a file of options
    } else {
      command.Inputs.push_back({word, forced ? *forced : LanguageOfFile(word, cppDriver)});
      command.Linked.push_back(word);
    }
  }
  command.DependenciesOnly = dependencies && !dependenciesToFile;
  return command;
}

// How many of the linker arguments from i on name the map it writes: 1 for
// "-Map=x.map", 2 for "-Map" "x.map", 0 for any other.
size_t MapArguments(const std::vector<std::string>& arguments, size_t i) {
  const std::string& argument = arguments[i];
  if (argument.starts_with("-Map=") || argument.starts_with("--Map=")) return 1;
  return (argument == "-Map" || argument == "--Map") && i + 1 < arguments.size() ? 2 : 0;
}

// The map file the linker arguments ask for; "" for none.
std::string LinkerMap(const std::vector<std::string>& options) {
  const std::vector<std::string> arguments = LinkerArguments(options);
  std::string map;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const size_t count = MapArguments(arguments, i);
    if (count == 1) map = arguments[i].substr(arguments[i].find('=') + 1);
    if (count == 2) map = arguments[++i];
  }
  return map;
}

class TCommandReader {
public:
  explicit TCommandReader(const std::string& projectFolder) : FFolders(projectFolder) {}

  void ReadLine(const std::string& line) {
    if (FFolders.Read(line)) return;
    std::string folder = FFolders.Current();
    for (std::vector<std::string>& words : ShellCommands(line)) {
      words = ProgramWords(std::move(words));
      if (words.empty()) continue;
      if (words[0] == "cd") {
        // The commands after it on the line run there.
        folder = PathFrom(folder, words.size() > 1 ? words[1] : "~");
        continue;
      }
      if (IsAvrDriver(words[0]))
        ReadDriver(folder, words, line);
      else if (!words[0].ends_with(':'))  // "make: ***", "main.c:3:1:": no command
        FCommands.Others.push_back({folder, std::move(words), line});
    }
  }

  TBuildCommands Take() { return std::move(FCommands); }

private:
  void ReadDriver(const std::string& folder, std::vector<std::string>& words, const std::string& line) {
    TDriverCommand command = ReadDriverCommand(words);
    if (command.AsksOnly || command.DependenciesOnly || command.Inputs.empty()) {
      FCommands.Others.push_back({folder, std::move(words), line});
      return;
    }
    for (const TDriverCommand::TInput& input : command.Inputs) {
      if (input.Language == slNone) continue;
      // -c writes the object named, else one named after the source in the folder.
      std::string object;
      if (command.StopsAt == 'c')
        object = PathFrom(folder, command.Output.value_or(BuildBaseName(ExtractFileName(input.File)) + ".o"));
      FCommands.Compiles.push_back({folder, words[0], input.File, input.Language, command.Options, object, line});
    }
    if (command.StopsAt) return;
    TLinkCommand link{folder, words[0], command.Options, {},
                      PathFrom(folder, command.Output.value_or("a.out")), "", line, {}};
    for (const TDriverCommand::TInput& input : command.Inputs) link.Inputs.push_back(input.File);
    link.Linked = std::move(command.Linked);
    if (std::string map = LinkerMap(link.Options); !map.empty()) link.Map = PathFrom(folder, map);
    FCommands.Links.push_back(std::move(link));
  }

  TMakeFolders FFolders;
  TBuildCommands FCommands;
};

// The part of the last -mmcu= option of the options; none when they name none.
std::optional<std::string> OptionsPart(const std::vector<std::string>& options) {
  std::optional<std::string> part;
  for (const std::string& option : options)
    if (option.starts_with("-mmcu=")) part = option.substr(6);
  return part;
}

}  // namespace

std::vector<std::vector<std::string>> ShellCommands(std::string_view line) { return TShellLineReader(line).Read(); }

bool IsShellAssignment(std::string_view word) {
  const size_t equals = word.find('=');
  if (equals == 0 || equals == std::string_view::npos || IsAsciiDigit(word[0])) return false;
  return std::all_of(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(equals),
                     [](char c) { return c == '_' || IsAsciiDigit(c) || IsAsciiLetter(c); });
}

bool IsAvrPartName(std::string_view name) {
  if (name.empty() || !IsAsciiLetter(name[0]) || name.starts_with("avr")) return false;
  return std::all_of(name.begin(), name.end(), [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c); });
}

std::string ProgramName(const std::string& word) { return word.substr(word.find_last_of('/') + 1); }

bool IsAvrDriver(const std::string& word) {
  const std::string name = ProgramName(word);
  for (const char* driver : {"avr-gcc", "avr-g++", "avr-c++"})
    if (name == driver || name.starts_with(std::string(driver) + "-")) return true;
  return false;
}

std::vector<std::string> CommaArguments(std::string_view option) {
  std::vector<std::string> arguments;
  const size_t first = option.find(',');
  if (first == std::string_view::npos) return arguments;
  for (size_t at = first + 1; at <= option.size();) {
    const size_t comma = std::min(option.find(',', at), option.size());
    arguments.emplace_back(option.substr(at, comma - at));
    at = comma + 1;
  }
  return arguments;
}

std::vector<std::string> LinkerArguments(const std::vector<std::string>& options) {
  std::vector<std::string> arguments;
  for (size_t i = 0; i < options.size(); ++i) {
    const std::string& option = options[i];
    if (option == "-Xlinker" && i + 1 < options.size()) {
      arguments.push_back(options[++i]);
    } else if (option.starts_with("-Wl,")) {
      for (std::string& argument : CommaArguments(option)) arguments.push_back(std::move(argument));
    }
  }
  return arguments;
}

std::vector<std::string> WithoutLinkerMap(const std::vector<std::string>& options) {
  std::vector<std::string> kept;
  for (size_t i = 0; i < options.size(); ++i) {
    const std::string& option = options[i];
    if (option == "-Xlinker" && i + 1 < options.size()) {
      // "-Xlinker -Map -Xlinker x.map" hands the file on in a pair of its own.
      std::vector<std::string> arguments{options[i + 1]};
      if (i + 3 < options.size() && options[i + 2] == "-Xlinker") arguments.push_back(options[i + 3]);
      if (const size_t count = MapArguments(arguments, 0); count > 0) {
        i += 2 * count - 1;
        continue;
      }
      kept.insert(kept.end(), {option, options[++i]});
    } else if (option.starts_with("-Wl,")) {
      const std::vector<std::string> arguments = CommaArguments(option);
      std::vector<std::string> rest;
      for (size_t a = 0; a < arguments.size(); ++a)
        if (const size_t count = MapArguments(arguments, a); count > 0)
          a += count - 1;
        else
          rest.push_back(arguments[a]);
      if (!rest.empty()) kept.push_back("-Wl," + JoinedWords(rest, ","));
    } else {
      kept.push_back(option);
    }
  }
  return kept;
}

TBuildCommands ReadBuildCommands(const TStrings& lines, const std::string& projectFolder) {
  TCommandReader reader(projectFolder);
  std::string command;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines.Get(i);
    // A line ending in "\" goes on in the next one (make prints the
    // recipe's continued lines as the makefile has them, each after a tab).
    if (line.ends_with('\\')) {
      command += line.substr(0, line.size() - 1);
      continue;
    }
    command += command.empty() || !line.starts_with('\t') ? line : line.substr(1);
    reader.ReadLine(command);
    command.clear();
  }
  if (!command.empty()) reader.ReadLine(command);
  return reader.Take();
}

const TLinkCommand* MainLink(const TBuildCommands& commands, const std::string& mainFile) {
  if (commands.Links.empty()) return nullptr;
  const std::string base = BuildBaseName(mainFile);
  for (const TLinkCommand& link : commands.Links)
    if (BuildBaseName(ExtractFileName(link.Output)) == base) return &link;
  return &commands.Links.back();
}

std::set<std::string> CompiledFiles(const TBuildCommands& commands) {
  std::set<std::string> files;
  for (const TCompileCommand& compile : commands.Compiles) {
    files.insert(PathFrom(compile.Folder, compile.Source));
    if (!compile.Object.empty()) files.insert(compile.Object);
  }
  return files;
}

std::string CommandsPart(const TBuildCommands& commands) {
  std::optional<std::string> part;
  bool agree = true;
  auto take = [&](const std::vector<std::string>& options) {
    const std::optional<std::string> own = OptionsPart(options);
    if (!own) return;
    if (part && *part != *own) agree = false;
    part = own;
  };
  for (const TLinkCommand& link : commands.Links) take(link.Options);
  if (!part)
    for (const TCompileCommand& compile : commands.Compiles) take(compile.Options);
  if (!part || !agree || !IsAvrPartName(*part)) return "";
  return *part;
}

}  // namespace vk
