#include "services/BuildCommands.h"

#include <algorithm>
#include <filesystem>
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

// A simple command of a shell line: its words, the files its redirections
// name for writing, and the subshells "( ... )" it stands in.
struct TShellCommand {
  std::vector<std::string> Words;
  std::vector<std::string> Writes;
  int Depth = 0;         // subshells around it
  int NewSubshells = 0;  // of those, the ones opened since the command before
};

// Splits a shell line into simple commands of words, as the shell reads it
// before it expands anything.
class TShellLineReader {
public:
  explicit TShellLineReader(std::string_view line) : FLine(line) {}

  std::vector<TShellCommand> Read() {
    while (FAt < FLine.size()) {
      const char c = FLine[FAt];
      if (c == '\n') {
        EndCommand();  // a line break the shell was not told to join
        ++FAt;
      } else if (IsBlank(c)) {
        EndWord();
        ++FAt;
      } else if (c == '#' && !FInWord) {
        FAt = std::min(FLine.find('\n', FAt), FLine.size());  // a comment to the line's end
      } else if (c == ';' || c == '&' || c == '|' || c == '(' || c == ')') {
        if (c == '&' && At(1) == '>') {
          Redirect();  // &> file
          continue;
        }
        EndCommand();
        if (c == '(') {
          ++FDepth;
          ++FNewSubshells;
        } else if (c == ')' && FDepth > 0) {
          --FDepth;
          FNewSubshells = std::min(FNewSubshells, FDepth);
        }
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
    // The file a redirection names is no argument.
    if (FRedirectTarget == rtWritten)
      FCommand.Writes.push_back(std::move(FWord));
    else if (FRedirectTarget == rtNone)
      FCommand.Words.push_back(std::move(FWord));
    FRedirectTarget = rtNone;
    FWord.clear();
    FInWord = false;
  }

  void EndCommand() {
    EndWord();
    FRedirectTarget = rtNone;
    if (!FCommand.Words.empty() || !FCommand.Writes.empty()) {
      FCommand.Depth = FDepth;
      FCommand.NewSubshells = FNewSubshells;
      FNewSubshells = 0;
      FCommands.push_back(std::move(FCommand));
    }
    FCommand = {};
  }

  // ">", ">>", "<", "2>&1", "&>", "<<": the operator and its file go; a
  // number just before it is the descriptor.
  void Redirect() {
    if (FInWord && IsAsciiNumber(FWord)) {
      FWord.clear();
      FInWord = false;
    }
    EndWord();
    const bool writes = FLine[FAt] != '<';
    while (FAt < FLine.size() && (FLine[FAt] == '>' || FLine[FAt] == '<' || FLine[FAt] == '&' || FLine[FAt] == '|'))
      ++FAt;
    // ">&2", "<&-": a descriptor, no file.
    if (FAt > 0 && FLine[FAt - 1] == '&' && (IsAsciiDigit(At(0)) || At(0) == '-')) {
      while (IsAsciiDigit(At(0)) || At(0) == '-') ++FAt;
      return;
    }
    FRedirectTarget = writes ? rtWritten : rtRead;
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

  enum TRedirectTarget { rtNone, rtRead, rtWritten };

  std::string_view FLine;
  size_t FAt = 0;
  std::string FWord;
  bool FInWord = false;
  TRedirectTarget FRedirectTarget = rtNone;
  int FDepth = 0;
  int FNewSubshells = 0;
  TShellCommand FCommand;
  std::vector<TShellCommand> FCommands;
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
  // env [-i] [-u NAME] NAME=value ... program
  if (first < words.size() && ProgramName(words[first]) == "env") {
    for (++first; first < words.size() && (IsShellAssignment(words[first]) || words[first].starts_with("-")); ++first)
      if (words[first] == "-u" || words[first] == "-C" || words[first] == "-S") ++first;
  }
  words.erase(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(first));
  if (!words.empty() && IsOneOf(words[0], kNoProgram)) words.clear();
  return words;
}

// The driver's options whose argument may stand in the next word (as the
// driver itself tells: "avr-gcc -### OPTION WORD" takes WORD as no input);
// the driver also takes them joined, which is how they are kept.
constexpr std::string_view kJoinable[] = {
    "-A",        "-B",        "-D",       "-F",         "-I",           "-L",          "-MF",
    "-MQ",       "-MT",       "-T",       "-U",         "-e",           "-l",          "-o",
    "-u",        "-idirafter", "-imacros", "-imultilib", "-include",     "-iprefix",    "-iquote",
    "-isysroot", "-isystem",  "-iwithprefix", "-iwithprefixbefore"};
// Options whose argument stands in the next word and stays there: the
// driver takes them joined as other options, or not at all.
constexpr std::string_view kSeparate[] = {
    "-Xlinker", "-Xassembler", "-Xpreprocessor", "--param",   "-aux-info", "-z",       "-Tbss",
    "-Tdata",   "-Ttext",      "-dumpbase",      "-dumpdir",  "-specs",    "-wrapper", "-d",
    "-CLASSPATH", "-classpath", "-bootclasspath", "-encoding", "-extdirs", "-faux-classpath",
    "-fintrinsic-modules-path", "-gnatO"};

// How a long option of the driver takes its argument.
enum TLongArgument {
  laNone,      // "--compile": none
  laNext,      // "--output FILE" or "--output=FILE": the short option's next word
  laJoined,    // "--std c99" or "--std=c99": joined to the short option
  laOptional,  // "--optimize" or "--optimize=s": joined when given
  laPrefix,    // "--warn-shadow": the rest of the word, joined
};

// The driver's long options and the short ones it reads them as, as the
// installed driver answers "avr-gcc -### --LONG ..." (its
// COLLECT_GCC_OPTIONS line). All are listed, so that an abbreviation is
// taken only where the driver finds it unique.
constexpr struct {
  std::string_view Long, Short;
  TLongArgument Argument;
} kLongOptions[] = {
    {"--CLASSPATH", "-fclasspath=", laJoined},
    {"--all-warnings", "-Wall", laNone},
    {"--ansi", "-ansi", laNone},
    {"--assemble", "-S", laNone},
    {"--assert", "-A", laNext},
    {"--bootclasspath", "-fbootclasspath=", laJoined},
    {"--classpath", "-fclasspath=", laJoined},
    {"--comments", "-C", laNone},
    {"--comments-in-macros", "-CC", laNone},
    {"--compile", "-c", laNone},
    {"--coverage", "-coverage", laNone},
    {"--debug", "-g", laOptional},
    {"--define-macro", "-D", laNext},
    {"--dependencies", "-M", laNone},
    {"--dump", "-d", laJoined},
    {"--dumpbase", "-dumpbase", laNext},
    {"--dumpdir", "-dumpdir", laNext},
    {"--encoding", "-fencoding=", laJoined},
    {"--entry", "-e", laNext},
    {"--extdirs", "-fextdirs=", laJoined},
    {"--extra-warnings", "-Wextra", laNone},
    {"--for-assembler", "-Xassembler", laNext},
    {"--for-linker", "-Xlinker", laNext},
    {"--force-link", "-u", laNext},
    {"--help", "--help", laOptional},
    {"--imacros", "-imacros", laNext},
    {"--include", "-include", laNext},
    {"--include-barrier", "-I-", laNone},
    {"--include-directory", "-I", laNext},
    {"--include-directory-after", "-idirafter", laNext},
    {"--include-prefix", "-iprefix", laNext},
    {"--include-with-prefix", "-iwithprefix", laNext},
    {"--include-with-prefix-after", "-iwithprefix", laNext},
    {"--include-with-prefix-before", "-iwithprefixbefore", laNext},
    {"--language", "-x", laNext},
    {"--library-directory", "-L", laNext},
    {"--machine", "-m", laJoined},
    {"--machine-", "-m", laPrefix},
    {"--no-canonical-prefixes", "-no-canonical-prefixes", laNone},
    {"--no-integrated-cpp", "-no-integrated-cpp", laNone},
    {"--no-line-commands", "-P", laNone},
    {"--no-standard-includes", "-nostdinc", laNone},
    {"--no-standard-libraries", "-nostdlib", laNone},
    {"--no-sysroot-suffix", "-no-sysroot-suffix", laNone},
    {"--no-warnings", "-w", laNone},
    {"--optimize", "-O", laOptional},
    {"--output", "-o", laNext},
    {"--output-class-directory", "-foutput-class-dir=", laJoined},
    {"--output-pch=", "--output-pch=", laPrefix},
    {"--param", "--param", laNext},
    {"--pass-exit-codes", "-pass-exit-codes", laNone},
    {"--pedantic", "-Wpedantic", laNone},
    {"--pedantic-errors", "-pedantic-errors", laNone},
    {"--pie", "-pie", laNone},
    {"--pipe", "-pipe", laNone},
    {"--prefix", "-B", laNext},
    {"--preprocess", "-E", laNone},
    {"--print-file-name", "-print-file-name=", laJoined},
    {"--print-libgcc-file-name", "-print-libgcc-file-name", laNone},
    {"--print-missing-file-dependencies", "-MG", laNone},
    {"--print-multi-directory", "-print-multi-directory", laNone},
    {"--print-multi-lib", "-print-multi-lib", laNone},
    {"--print-multi-os-directory", "-print-multi-os-directory", laNone},
    {"--print-multiarch", "-print-multiarch", laNone},
    {"--print-prog-name", "-print-prog-name=", laJoined},
    {"--print-search-dirs", "-print-search-dirs", laNone},
    {"--print-sysroot", "-print-sysroot", laNone},
    {"--print-sysroot-headers-suffix", "-print-sysroot-headers-suffix", laNone},
    {"--profile", "-p", laNone},
    {"--resource", "-fcompile-resource=", laJoined},
    {"--save-temps", "-save-temps", laNone},
    {"--shared", "-shared", laNone},
    {"--specs", "-specs=", laJoined},
    {"--static", "-static", laNone},
    {"--std", "-std=", laJoined},
    {"--symbolic", "-symbolic", laNone},
    {"--sysroot", "--sysroot=", laJoined},
    {"--target-help", "--target-help", laNone},
    {"--time", "-time", laNone},
    {"--trace-includes", "-H", laNone},
    {"--traditional", "-traditional", laNone},
    {"--traditional-cpp", "-traditional-cpp", laNone},
    {"--trigraphs", "-trigraphs", laNone},
    {"--undefine-macro", "-U", laNext},
    {"--user-dependencies", "-MM", laNone},
    {"--verbose", "-v", laNone},
    {"--version", "--version", laNone},
    {"--warn-", "-W", laPrefix},
    {"--write-dependencies", "-MD", laNone},
    {"--write-user-dependencies", "-MMD", laNone},
};
using TLongOption = std::remove_reference_t<decltype(kLongOptions[0])>;

// The long option a word names: exactly, by a prefix option's start, or as
// the one option whose name it abbreviates (without "=", as the driver
// takes abbreviations); nullptr for none.
const TLongOption* FindLongOption(std::string_view name, bool hasValue) {
  for (const TLongOption& option : kLongOptions)
    if (option.Argument != laPrefix && option.Long == name) return &option;
  for (const TLongOption& option : kLongOptions)
    if (option.Argument == laPrefix && name.starts_with(option.Long) && name.size() > option.Long.size())
      return &option;
  if (hasValue) return nullptr;
  const TLongOption* found = nullptr;
  for (const TLongOption& option : kLongOptions)
    if (option.Long.starts_with(name)) {
      if (found) return nullptr;  // ambiguous: the driver refuses it
      found = &option;
    }
  return found && found->Argument != laPrefix ? found : nullptr;
}

// Whether the word asks the driver for a fact rather than a build.
bool AsksOnly(const std::string& word) {
  return word == "--version" || word == "-dumpversion" || word == "-dumpmachine" || word == "--help" ||
         word.starts_with("--help=") || word == "-###" || word.starts_with("-print-") || word == "--target-help";
}

// The extensions of the files the driver compiles by their names, and of
// their headers (slNone).
constexpr struct {
  std::string_view Extension;
  TSourceLanguage Language;
} kSourceExtensions[] = {
    {".c", slC},       {".i", slC},     {".cc", slCpp},   {".cp", slCpp},  {".cxx", slCpp},
    {".cpp", slCpp},   {".CPP", slCpp}, {".c++", slCpp},  {".C", slCpp},   {".ii", slCpp},
    {".S", slAssemblerWithCpp},         {".sx", slAssemblerWithCpp},       {".s", slAssembler},
    {".h", slNone},    {".hh", slNone}, {".hpp", slNone}, {".inc", slNone},
};

TSourceLanguage LanguageOfName(const std::string& name) {
  if (name == "c" || name == "c-header" || name == "cpp-output") return slC;
  if (name == "c++" || name == "c++-header" || name == "c++-cpp-output") return slCpp;
  if (name == "assembler-with-cpp") return slAssemblerWithCpp;
  if (name == "assembler") return slAssembler;
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

TDriverCommand ReadDriverCommand(const std::vector<std::string>& program) {
  TDriverCommand command;
  const std::string driver = ProgramName(program[0]);
  std::vector<std::string> words = DriverShortWords(program);
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

// The shell's own commands, which no folder of PATH need hold.
constexpr std::string_view kShellBuiltins[] = {"cd",   ":",    ".",     "set",   "export", "exit",  "unset",
                                               "eval", "trap", "umask", "wait",  "shift",  "read",  "return",
                                               "test", "[",    "echo",  "printf", "true",  "false", "ulimit"};

// A program word that is a command wherever a program test finds it: the
// shell's own, the driver's (known by name, installed or not), or one the
// shell still expands.
bool IsCommandWord(const std::string& word) {
  return IsOneOf(word, kShellBuiltins) || IsAvrDriver(word) || word.find_first_of("$`") != std::string::npos;
}

// The command as it was printed, its continued lines joined.
std::string WithoutLineBreaks(const std::string& command) {
  std::string line;
  for (size_t at = 0; at < command.size(); ++at)
    if (command[at] == '\\' && at + 1 < command.size() && command[at + 1] == '\n')
      ++at;
    else
      line += command[at];
  return line;
}

class TCommandReader {
public:
  TCommandReader(const std::string& projectFolder, const TProgramTest& isProgram)
      : FFolders(projectFolder), FIsProgram(isProgram) {}

  // A command of one or more printed lines (a continued line's "\" and
  // line break kept, for the shell reader to join).
  void ReadLine(const std::string& command) {
    if (FFolders.Read(command)) return;
    const std::string line = WithoutLineBreaks(command);
    // The folder of each subshell the commands stand in, outermost first.
    std::vector<std::string> folders{CommandPath(FFolders.Current(), "")};
    bool first = true;
    for (TShellCommand& shell : TShellLineReader(command).Read()) {
      folders.resize(static_cast<size_t>(std::max(shell.Depth - shell.NewSubshells, 0)) + 1);
      while (folders.size() < static_cast<size_t>(shell.Depth) + 1) folders.push_back(folders.back());
      std::string& folder = folders.back();
      std::vector<std::string> words = ProgramWords(std::move(shell.Words));
      if (words.empty()) continue;
      // make's own messages stand where commands would, but run nothing.
      if (first && FIsProgram && !IsCommandWord(words[0]) && !FIsProgram(words[0])) return;
      first = false;
      if (words[0] == "cd") {
        // The commands after it in its subshell run there.
        folder = CommandPath(folder, words.size() > 1 ? words[1] : "~");
        continue;
      }
      if (IsAvrDriver(words[0]))
        ReadDriver(folder, words, line, shell.Writes);
      else if (!words[0].ends_with(':'))  // "make: ***", "main.c:3:1:": no command
        AddOther(folder, std::move(words), line, shell.Writes);
    }
  }

  TBuildCommands Take() { return std::move(FCommands); }

private:
  void AddOther(const std::string& folder, std::vector<std::string> words, const std::string& line,
                const std::vector<std::string>& redirected) {
    std::vector<std::string> writes;
    for (const std::string& file : redirected)
      if (file != "/dev/null") writes.push_back(CommandPath(folder, file));
    FCommands.Others.push_back({folder, std::move(words), line, std::move(writes)});
  }

  void ReadDriver(const std::string& folder, std::vector<std::string>& words, const std::string& line,
                  const std::vector<std::string>& redirected) {
    TDriverCommand command = ReadDriverCommand(words);
    if (command.AsksOnly || command.DependenciesOnly || command.Inputs.empty()) {
      AddOther(folder, std::move(words), line, redirected);
      return;
    }
    for (const TDriverCommand::TInput& input : command.Inputs) {
      if (input.Language == slNone) continue;
      // -c writes the object named, else one named after the source in the folder.
      std::string object;
      if (command.StopsAt == 'c')
        object = CommandPath(folder, command.Output.value_or(BuildBaseName(ExtractFileName(input.File)) + ".o"));
      FCommands.Compiles.push_back({folder, words[0], input.File, input.Language, command.Options, object, line,
                                    CommandPath(folder, input.File)});
    }
    if (command.StopsAt) return;
    TLinkCommand link{folder, words[0], command.Options, {}, CommandPath(folder, command.Output.value_or("a.out")),
                      "",     line,     {}, {}};
    for (const TDriverCommand::TInput& input : command.Inputs) {
      link.Inputs.push_back(input.File);
      link.InputPaths.push_back(CommandPath(folder, input.File));
    }
    link.Linked = std::move(command.Linked);
    if (std::string map = LinkerMap(link.Options); !map.empty()) link.Map = CommandPath(folder, map);
    FCommands.Links.push_back(std::move(link));
  }

  TMakeFolders FFolders;
  const TProgramTest& FIsProgram;
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

std::vector<std::vector<std::string>> ShellCommands(std::string_view line) {
  std::vector<std::vector<std::string>> commands;
  for (TShellCommand& command : TShellLineReader(line).Read())
    if (!command.Words.empty()) commands.push_back(std::move(command.Words));
  return commands;
}

TSourceLanguage LanguageOfFile(const std::string& file, bool cppDriver) {
  const std::string extension = ExtractFileExt(file);
  for (const auto& [known, language] : kSourceExtensions)
    if (extension == known) return language == slC && cppDriver ? slCpp : language;
  return slNone;
}

bool IsSourceName(const std::string& file) {
  const std::string extension = ExtractFileExt(file);
  return std::any_of(std::begin(kSourceExtensions), std::end(kSourceExtensions),
                     [&](const auto& known) { return extension == known.Extension; });
}

std::string CommandPath(std::string_view folder, std::string_view path) {
  std::string normal = std::filesystem::path(PathFrom(folder, path)).lexically_normal().string();
  if (normal.size() > 1 && normal.ends_with('/')) normal.pop_back();
  return normal;
}

std::vector<std::string> DriverShortWords(const std::vector<std::string>& arguments) {
  std::vector<std::string> words;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    const bool hasNext = i + 1 < arguments.size();
    // The argument of an option is no option, whatever it looks like.
    if (hasNext && (word == "-x" || IsOneOf(word, kJoinable) || IsOneOf(word, kSeparate))) {
      words.insert(words.end(), {word, arguments[++i]});
      continue;
    }
    const size_t equals = word.find('=');
    const TLongOption* option =
        word.starts_with("--") ? FindLongOption(std::string_view(word).substr(0, equals), equals != std::string::npos)
                               : nullptr;
    const bool joined = equals != std::string::npos;
    const std::string shortName(option ? option->Short : "");
    if (!option || (option->Argument == laNone && joined) ||
        ((option->Argument == laNext || option->Argument == laJoined) && !joined && !hasNext)) {
      words.push_back(word);  // no long option, or one the driver refuses
    } else if (option->Argument == laPrefix) {
      words.push_back(shortName + word.substr(option->Long.size()));
    } else if (option->Argument == laNone || option->Argument == laOptional) {
      words.push_back(shortName + (joined ? word.substr(equals + 1) : ""));
    } else {
      std::string value = joined ? word.substr(equals + 1) : arguments[++i];
      if (option->Argument == laNext)
        words.insert(words.end(), {shortName, std::move(value)});
      else
        words.push_back(shortName + value);
    }
  }
  return words;
}

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

bool TakesSeparateArgument(const std::string& option) { return IsOneOf(option, kSeparate); }

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

TBuildCommands ReadBuildCommands(const TStrings& lines, const std::string& projectFolder,
                                 const TProgramTest& isProgram) {
  TCommandReader reader(projectFolder, isProgram);
  std::string command;
  for (int i = 0; i < lines.Count(); ++i) {
    // A line ending in an odd number of "\" goes on in the next one, which
    // make prints with the recipe's own TAB taken off; the shell drops the
    // "\" and the line break and nothing else.
    command += lines.Get(i);
    const size_t kept = command.find_last_not_of('\\');
    if ((command.size() - (kept == std::string::npos ? 0 : kept + 1)) % 2 == 1) {
      command += '\n';
      continue;
    }
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
    files.insert(compile.SourcePath);
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
