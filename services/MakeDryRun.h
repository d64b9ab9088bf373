#pragma once
// What make would run to build a project, asked of make itself: its dry run
// (make -n -w) with every target forced as -B forces it, in the project
// folder, with the build's environment (the tool chain's folders in front
// of PATH, LC_ALL=C, standard input from /dev/null, no make variables of a
// make that started the program), in a process group of its own that is
// ended after a time limit. A makefile whose -B remakes a source (a rule
// that stops when asked to make one) is asked again with the project's
// sources named by -W instead. Asking changes no file: make remakes a
// makefile it reads before it prints anything, even under -n, so every
// makefile it reads (learned first from its trace) is kept as it is (-o);
// the folders the program's own text makes while make reads it go again.
// make -n still runs what the project's makefile runs while it is read
// ($(shell ...)) and its recipe lines marked "+", as the build's make does.
// Its lines are read by ReadBuildCommands with the build's program test
// (TBuildPrograms), so that make's own messages ($(info ...)) are no
// commands.

#include <string>
#include <vector>

#include "services/BuildCommands.h"

namespace vk {

inline constexpr int MakeDryRunTimeLimit = 20000;  // milliseconds

struct TMakeDryRun {
  // make ran to its end and succeeded: the commands are what it would run.
  bool Known = false;
  // Why they are unknown: make's last message, the time limit, or why make
  // could not start.
  std::string Failure;
  bool Ended = false;               // make started and ended by itself
  std::vector<std::string> Lines;  // what make printed
  TBuildCommands Commands;
  // The makefile's explicit targets ("all", "flash", "main.hex"), make's
  // special ones (".PHONY") aside.
  std::vector<std::string> Targets;
};

// makefile: "" for the one make finds in the folder itself, else the file
// make reads (-f).
TMakeDryRun RunMakeDryRun(const std::string& projectFolder, const std::string& installFolder,
                          const std::string& makefile = "");

// The dry run of a makefile text that is not written yet, as if it stood
// in the project folder (through a temporary file make reads with -f).
TMakeDryRun DryRunMakefileText(const std::string& projectFolder, const std::string& installFolder,
                               const std::string& text);

}  // namespace vk
