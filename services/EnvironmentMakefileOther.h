#pragma once
// A project makefile in another format than the settings dialog's (the
// wizard's, the user's), taken into the dialog's options from what make
// says it runs (its dry run, MakeDryRun), so that the makefile the dialog
// writes from them compiles the same sources with the same options and
// links them alike. What the dialog's format cannot hold (a source outside
// the project folder, an option one file alone gets, a step it has no
// place for) is left out here; the question before the old file is
// replaced names it (EnvironmentMakefileReplace).

#include <optional>
#include <string>

#include "services/BuildCommands.h"

namespace vk {

struct TMakefileOptions;

// Sets the options from the commands of a build (those that make the main
// file's program, see MainLink):
// - the part from their -mmcu= options (kept when they name none);
// - the sources the link takes, by language, relative to the project folder
//   (the main file is the makefile's own, named after the target);
// - per language the options every one of its compiles passes: the -O
//   level, the -g format, F_CPU, the -D and -U options and the C standard in
//   the fields the compile options name through their variables, the -I
//   folders as the -I options, and the rest as one line each, in the order
//   the compiles pass them; a field no compile sets is empty and named by
//   no option;
// - the link's options (beyond those every C compile passes, which the
//   dialog's link passes too) and the libraries and other files it takes,
//   with the map named after the target, and no library fields of the
//   dialog's own;
// - the output format the flash image is converted to.
// Options of a language no compile uses keep their values.
void ReadOtherMakefileOptions(const TBuildCommands& commands, const std::string& projectFolder,
                              const std::string& mainFile, TMakefileOptions& options);

// Asks make what the project's makefile runs (RunMakeDryRun) and reads its
// commands into the options; false, the options as they were, when make
// cannot tell.
bool ImportOtherMakefile(const std::string& projectFolder, const std::string& mainFile,
                         const std::string& installFolder, TMakefileOptions& options);

// "-Wa,-adhlns=main.lst,-gstabs": the assembler listing option with its
// listing file named as the dialog's makefile names each source's; none
// for another option.
std::optional<std::string> ListingOption(const std::string& word);

// A word as it stands in a makefile variable that a recipe passes to the
// shell: quoted for the shell where it holds what the shell reads, "$"
// doubled and "#" escaped for make.
std::string MakefileWord(const std::string& word);

}  // namespace vk
