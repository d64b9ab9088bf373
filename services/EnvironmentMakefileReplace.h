#pragma once
// Before a project's makefile is written over: a makefile the settings
// dialog wrote is its own to write again; the wizard's is written over
// where the new one builds all it builds, else only when the user agrees;
// any other one (the user's) only when the user agrees. A makefile replaced
// on the user's word is kept beside the new one as "<name>.bak". This unit
// decides and keeps the copy; the forms that write makefiles (the settings
// dialog's OK, the makefile wizard) ask the question through
// dialogs/MakefileReplaceQuestion.

#include <string>
#include <vector>

#include "services/MakeDryRun.h"

namespace vk {

enum TMakefileReplace {
  mrFree,        // no file there, or one the settings dialog wrote: write it
  mrWizard,      // the wizard's file: write it where nothing is lost, else as mrForeign
  mrForeign,     // another origin's file: write it only when the user agrees
  mrUnreadable,  // neither known to be ours nor to be kept: it stays
};

// What stands at the path, with the bytes of a foreign file for its copy.
struct TMakefileReplaceCheck {
  TMakefileReplace State = mrFree;
  std::string Old;
};
TMakefileReplaceCheck CheckMakefileReplace(const std::string& path);

// What a new makefile will not do that the project's makefile does, as
// make tells of both (their dry runs, the new text not yet written).
struct TMakefileLosses {
  bool Known = false;   // make told what both run
  std::string Failure;  // else why not, as the question says it
  std::vector<std::string> Lines;
};
TMakefileLosses MakefileReplacementLosses(const std::string& projectFolder, const std::string& mainFile,
                                          const std::string& installFolder, const std::string& newText);

// The comparison of the two builds' commands, one line per difference,
// names relative to the project folder: each compile of the old build the
// new one does not run, or runs with another -mmcu, -O or -std, other
// -D/-U or -f options (as each macro and flag ends up), its -I folders in
// another order, or without an option the old one passes (an -I folder, a
// -W option, any other); a source the new build compiles and the old one
// does not; the main program's link with another -mmcu or its own options
// (-m..., -L, -T, ... beyond those the old compiles pass), without one of
// the old link's -Wl options (the map's name aside), -nostartfiles,
// -nostdlib, -nodefaultlibs, libraries or files, with -Wl options the old
// one does not pass, or taking objects and libraries in another order;
// each step of another program (besides the shell's and make's own) the
// new build does not run; each program file the old build writes (a
// link's, a conversion's) the new one does not; each target of the old
// makefile a user names (flash, program) the new one lacks. Options that
// do not change the program are none: dependency tracking (-M..., -Wp,-M...),
// the form of diagnostics, the map's name. Sources with the same
// differences share a line.
std::vector<std::string> ReplacementLosses(const TMakeDryRun& old, const TMakeDryRun& replacement,
                                           const std::string& projectFolder, const std::string& mainFile);

// The user's question for a foreign (or the wizard's) makefile, with what
// the new one will not do (losses nullptr: not asked), and the messages of the two failures
// ("<path> Do not open file!", "<path>.bak Do not save file!").
std::string MakefileReplaceQuestion(const std::string& path, const TMakefileLosses* losses = nullptr,
                                    TMakefileReplace state = mrForeign);
// Whether the question defaults to No: the new makefile would not do
// everything the old one does, or make could not tell.
bool ReplacementLosesWork(const TMakefileLosses* losses);
std::string MakefileUnreadableMessage(const std::string& path);
std::string MakefileBackupFailedMessage(const std::string& path);

// Saves the old bytes as "<path>.bak"; false when they could not be saved.
bool KeepMakefileBackup(const std::string& path, const std::string& old);

}  // namespace vk
