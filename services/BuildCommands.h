#pragma once
// The commands a build runs, read from what make printed of them: the
// build's own echo of its commands, or make's dry run (MakeDryRun). Each
// printed line is a shell command line: several commands may stand on it
// (";", "&&", "||", "|"), a line ending in an odd number of "\" goes on in
// the next one (joined as the shell joins them: make has already taken the
// recipe's TAB off the next line, and a further TAB is a blank), words are
// quoted as the shell quotes them, "cd dir" moves the commands after it on
// its line but not those after the subshell "( ... )" it stands in, and
// make's folder lines (TMakeFolders) tell where each line ran. The AVR
// compiler driver's commands (avr-gcc, avr-g++, avr-c++, their versioned
// names, by a path too, also after "env NAME=value") are told apart into
// compiles and links with their options, its long options read as the short
// ones they stand for; every other program is a step of its own. Paths are
// given as written and also absolute with "." and ".." taken out, so that
// two spellings of one file compare equal.

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class TStrings;

// The simple commands of one shell command line, each as the words its
// program receives (quotes and escapes taken off, redirections and their
// files left out), the shell's own words in front of a command ("if",
// "then", "!", NAME=value settings, "exec", "command") taken off. A command
// substitution ("$(...)", backquotes) and a variable ("$X") stay as they
// are written, inside the word they stand in.
std::vector<std::vector<std::string>> ShellCommands(std::string_view line);

// A shell's variable setting in front of a command (NAME=value), its name
// in ASCII whatever the locale.
bool IsShellAssignment(std::string_view word);

// The languages the driver compiles a source as (its -x option, else the
// name's extension, as the driver decides).
enum TSourceLanguage { slNone, slC, slCpp, slAssemblerWithCpp, slAssembler };

// The language the driver compiles a file in by its name's extension (a
// C++ driver compiles ".c" as C++); slNone for a file it hands to the
// linker, headers included.
TSourceLanguage LanguageOfFile(const std::string& file, bool cppDriver = false);
// A source the driver compiles by its name, or a header of one (".h",
// ".hpp", ".inc", ...).
bool IsSourceName(const std::string& file);

// A path as a command in the folder names it: absolute, with "." and ".."
// taken out and no "/" at the end ("build/../main.c" in "/p" gives
// "/p/main.c"). Two spellings of one file give the same path.
std::string CommandPath(std::string_view folder, std::string_view path);

// The driver's arguments with its long options in the short spelling the
// driver reads them as: "--output FILE" and "--output=FILE" give "-o"
// "FILE", "--compile" gives "-c", "--std=c99" gives "-std=c99", an
// abbreviation the driver takes ("--comp") as the option it stands for.
// Every other word stays as it is.
std::vector<std::string> DriverShortWords(const std::vector<std::string>& arguments);

// A word's option as the driver takes it, long options in their short
// spelling, with the argument of a two-word option joined to it where the
// driver takes it joined ("-D" "X" gives "-DX", "-B" "dir" gives "-Bdir",
// "-include" "a.h" gives "-includea.h"); the options whose argument the
// driver takes only as the next word (-Xlinker, -Xassembler, -dumpbase,
// --param, ...) keep it as the next word.
struct TCompileCommand {
  std::string Folder;   // where it ran (absolute, normalised as CommandPath)
  std::string Driver;   // the program word as written
  std::string Source;   // as written, relative to Folder or absolute
  TSourceLanguage Language = slNone;
  // Every option of the command but -c, -S, -E, the -x before the source
  // and "-o file", in order.
  std::vector<std::string> Options;
  // The object it writes (CommandPath); "" when it writes none a link
  // takes (-S, -E, or a compile and link in one).
  std::string Object;
  std::string Line;  // the printed command, for messages
  std::string SourcePath;  // the source (CommandPath): compare by this
};

struct TLinkCommand {
  std::string Folder;
  std::string Driver;
  // Every option but "-o file"; the inputs stay out.
  std::vector<std::string> Options;
  // Objects, libraries given as files and sources, as written.
  std::vector<std::string> Inputs;
  std::string Output;  // the program it writes (CommandPath; a.out when unnamed)
  std::string Map;     // the linker map it asks for (CommandPath); "" for none
  std::string Line;
  std::vector<std::string> InputPaths;  // the inputs, in order (CommandPath)
  // The inputs and the -l libraries as written, in the command's order:
  // the linker takes them in that order.
  std::vector<std::string> Linked;
};

// A command of another program ("avr-objcopy -O ihex main.elf main.hex",
// "python3 gen.py"), or of the driver that neither compiles nor links
// (--version, -MM).
struct TOtherCommand {
  std::string Folder;
  std::vector<std::string> Words;
  std::string Line;
  // The files its redirections write ("> f", ">> f", "2> f", "&> f"),
  // in order (CommandPath); /dev/null is none.
  std::vector<std::string> Writes;
};

struct TBuildCommands {
  std::vector<TCompileCommand> Compiles;  // one per source
  std::vector<TLinkCommand> Links;
  std::vector<TOtherCommand> Others;
};

// Whether a word names a program that the build's shell would run.
using TProgramTest = std::function<bool(const std::string& word)>;

// The commands of the printed lines, relative names taken from the folder
// make started in (projectFolder) or the one its folder lines entered. A
// command that compiles and links in one ("avr-gcc -mmcu=m main.c -o
// main.elf") is both a compile of each source and a link. Lines that are no
// commands (diagnostics) give no compile or link; with isProgram, a line
// whose first command runs neither a program, nor the driver (known by
// name), nor one of the shell's own commands, nor a word the shell still
// expands ("$CC") is none either (make's own messages, $(info ...)).
TBuildCommands ReadBuildCommands(const TStrings& lines, const std::string& projectFolder,
                                 const TProgramTest& isProgram = {});

// The link that writes the program named after the main file ("main.c":
// main.elf, main, ...), else the last link; nullptr for none.
const TLinkCommand* MainLink(const TBuildCommands& commands, const std::string& mainFile);

// The files the compiles read and write (their sources and objects), as
// CommandPath gives them: a link input (InputPaths) among them is the
// build's own, any other a library or a file from elsewhere.
std::set<std::string> CompiledFiles(const TBuildCommands& commands);

// The part the -mmcu= options of the commands name: the links', else the
// compiles'; "" when none names one, when one names an architecture
// (avr5), or when they name different parts.
std::string CommandsPart(const TBuildCommands& commands);

// A part name as -mmcu takes it: letters and digits, starting with a
// letter, and not one of the compiler's architectures (avr5, avrxmega2,
// avrtiny), which name a family of cores rather than a part.
bool IsAvrPartName(std::string_view name);

// The name of the program the words run ("/usr/bin/avr-gcc" gives
// "avr-gcc"); whether it is the AVR compiler driver.
std::string ProgramName(const std::string& word);
bool IsAvrDriver(const std::string& word);

// The arguments a "-Wl,a,b" or "-Wa,a,b" option hands on, split at its
// commas.
std::vector<std::string> CommaArguments(std::string_view option);

// Whether the driver takes the option's argument as the next word, where
// the options of a command keep it (-Xlinker, -z, -specs, --param, ...).
bool TakesSeparateArgument(const std::string& option);

// The linker's own arguments of an option list, in order: those of every
// "-Wl,a,b" and "-Xlinker a".
std::vector<std::string> LinkerArguments(const std::vector<std::string>& options);

// The options without the linker map they ask for ("-Map=x.map" or "-Map"
// "x.map" in a -Wl option or through -Xlinker); the rest of a -Wl option
// stays together, and one left with nothing goes.
std::vector<std::string> WithoutLinkerMap(const std::vector<std::string>& options);

}  // namespace vk
