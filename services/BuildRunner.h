#pragma once
// The build's preparation: the makefile check, the files the clean step
// deletes, and the batch file AVRRUN.BAT in the install folder (in the
// user's state folder when the install folder is read-only), a shell script
// that changes to the project folder, puts the tool chain's folders in front
// of PATH and runs make.
//
// The build command, after saving and the optional include insertion:
//   1. MakefileReadable(project folder), else stop with a message;
//   2. when "AutoMakefileCreateBool" can be read: delete every file of
//      CleanFileList(project folder, BuildBaseName(main file));
//   3. WriteBuildScript(InstallFolder, project folder), else stop with a
//      message naming the script's folder;
//   4. an empty BuildBaseName: "File needs to be chosen!" and no run;
//      otherwise run "/bin/sh BuildScriptPath(InstallFolder)".

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vk {

inline constexpr const char* BuildScriptName = "AVRRUN.BAT";

// The main file's name without its extension: the name of every build
// product ("main.c" and "main.asm" give "main").
std::string BuildBaseName(std::string_view mainFile);

// The makefile make reads in the project folder (ProjectMakefilePath) is
// there and can be read (empty is fine).
bool MakefileReadable(const std::string& projectFolder);

// The object files of the extra C sources listed on an AddFile.ini line:
// "uart.c lcd.c" gives uart.o and lcd.o; each "." ends a name, so "a.b.c"
// gives a.o and b.o. Names that hold "/" or ".." are passed over: nothing
// outside the project folder is deleted.
std::vector<std::string> ExtraSourceObjects(std::string_view line);

// What the clean step deletes, in order: the extra C sources' objects (when
// AddFile.ini can be read), then the base name's .o, .lss, .elf, .hex, .map,
// .lst, .cof and .eep, all in the project folder; then the object and the
// listing of every source the makefile builds, so that a build after a
// change of the part links none made for the old one: the main file, the
// extra C and assembler sources of AddFile.ini and the makefile's C++
// sources (CPPSRC), in the project folder and in the makefile's object
// folder (OBJDIR) when that lies inside the project.
std::vector<std::string> CleanFileList(const std::string& projectFolder, const std::string& baseName);

// The folders the script puts in front of the inherited PATH.
std::vector<std::string> ToolChainFolders(const std::string& installFolder);
// The PATH the build's commands run with: those folders (as the file
// system spells them) in front of the inherited PATH. Other tool runs (the
// dry run, avr-size) find their programs where the build finds them.
std::string BuildSearchPath(const std::string& installFolder);

// Whether a word names a program that the script's shell runs: a file it may
// execute in a folder of the script's PATH, or, for a word holding "/", that
// file (relative ones from the project folder). Answers are kept, and so
// are the folders' listings: a word no folder lists is no program, without
// a look at the file in each folder (the names of a build's diagnostics are
// all different).
class TBuildPrograms {
public:
  TBuildPrograms(const std::string& installFolder, std::string projectFolder);
  bool operator()(const std::string& word) const;

private:
  // False when the folder, read once, does not list the name or does not
  // exist; true when it lists it or cannot be read.
  bool MayHold(const std::string& folder, const std::string& name) const;
  std::string FromProject(const std::string& path) const;

  std::vector<std::string> FFolders;
  std::string FProjectFolder;
  mutable std::map<std::string, bool> FKnown;
  mutable std::map<std::string, std::optional<std::unordered_set<std::string>>> FListings;
};

// A word the shell takes as it stands, whatever characters it holds.
std::string ShellQuote(std::string_view text);

// The script's text (LF line ends).
std::string BuildScriptText(const std::string& installFolder, const std::string& projectFolder);
// <installFolder>/AVRRUN.BAT, or AVRRUN.BAT in the user's state folder when
// the install folder is read-only (RunTimeFilePath).
std::string BuildScriptPath(const std::string& installFolder);
// Writes it to BuildScriptPath (the folder names as the file system spells
// them); raises EStreamError when it cannot.
void WriteBuildScript(const std::string& installFolder, const std::string& projectFolder);

}  // namespace vk
