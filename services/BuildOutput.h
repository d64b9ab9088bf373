#pragma once
// Sorting a build's output into the error pane: the lines that hold one of
// five words are copied and counted as errors or warnings. Also the pane line
// that reports a build that failed without saying so.
//
// After a build the main window calls, in this order: ClassifyBuildOutput
// (output memo into the emptied pane, with the build's TBuildPrograms from
// BuildRunner.h telling commands apart, and the pane lines' folders kept
// for the error jump), AddBuildFailureLine (with how the
// build ended), then shows CountText of both counts in the count memo and
// hands the counts to the result box.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "services/BuildCommands.h"

namespace vk {

class TStrings;

enum TOutputLineClass { olNone, olError, olWarning };

// A diagnostic's class from the word its message opens with, after the
// location in front of it ("error_handler.c:2:7: ", "avr-gcc: ",
// "/usr/bin/avr-ld: main.o:(.text+0x4): "): the leftmost of "error",
// "warning", "undefined", "first defined", "multiple definition" and the
// assembler's "Error:" and "Warning:" among the message's leading plain words
// ("fatal error: ...", "undefined reference to `f'"), case-sensitive and as
// whole words; "warning" counts as a warning, the others as errors. Neither
// a file nor a symbol decides, whatever its name: the compilers' context
// lines ("uart.cpp: In member function 'void error_log::put(char)':",
// "required from here"), notes, make's "*** [makefile:388: error.o] Error 1"
// are none.
TOutputLineClass ClassifyOutputLine(std::string_view line);

struct TBuildCounts {
  int Errors = 0;
  int Warnings = 0;
};

// Whether make printed the line as a command it runs: it starts with a
// program or one of the shell's own words (after NAME=value settings). A
// tool's diagnostic starts with a location or with the tool's name and ":".
bool EchoesCommand(std::string_view line, const TProgramTest& isProgram);

// Where make was when it printed each line that the classification copied
// to the pane, so that a relative file name in the line can be found: the
// folder of make's last "make[1]: Entering directory '/p/lib'" line that no
// "Leaving directory" line has left (nested as make prints them; older makes
// quote `/p/lib'), "" for the folder make started in.
struct TPaneFolders {
  std::vector<std::string> Lines;  // one for each pane line, in pane order
  // The folder of the 0-based pane line; "" for a line that no build's
  // output put there.
  std::string Of(int line) const;
};

// Appends every error and warning line of the output to the pane, once each,
// and counts them (ClassifyOutputLine); with folders, appends the folder of
// each line appended. Lines that are not the tools' diagnostics are neither
// copied nor counted, whatever words they hold: the commands make prints
// before running them (with their continuation lines after a "\"), make's
// folder lines, the progress messages the settings dialog's makefile echoes
// before each step ("Compiling C: error_handler.c", "Linking: error.elf"),
// the compilers' context lines, and the source line the compiler echoes
// under a diagnostic with a caret line below it.
TBuildCounts ClassifyBuildOutput(const TStrings& output, TStrings& pane, const TProgramTest& isProgram,
                                 TPaneFolders* folders = nullptr);

// How the build's child ended.
struct TBuildEnd {
  bool Started = true;   // false: the child could not be started
  int ExitStatus = 0;    // when it exited
  int Signal = 0;        // non-zero: ended by this signal
  bool Stopped = false;  // the user stopped it
  // When it started, by FileClockFloorNs: a file stamped before is no
  // product of it. 0: files of any time count.
  int64_t StartNs = 0;
};

// A build that failed (could not start, exited non-zero or was killed)
// without printing an error line gets one pane line that says so, counted
// as an error, so that the verdict is not "Ok". A build the user stopped
// always gets "error: the build was stopped": the tools' own errors do not
// say that the rest was never built.
void AddBuildFailureLine(const TBuildEnd& end, TBuildCounts& counts, TStrings& pane);

// A line of the build's output as the output page shows it and the
// classification reads it: without the ECMA-48 control sequences that
// coloured tool output holds (CSI sequences such as colours "ESC[01;31m" and
// erase-line "ESC[K"; control strings such as a link "ESC]8;;url ESC\",
// ended by ST or BEL; ESC with a final byte, "ESC(B"). Only 7-bit forms are
// sequences: a byte of 0x80 or above is a byte of the code page's text,
// never a C1 control. What no sequence can hold stays as text: a sequence
// broken off keeps the bytes after its part that fits.
std::string WithoutControlSequences(std::string_view line);

// A count as the count memo shows it: "Ok" for none.
std::string CountText(int count);

}  // namespace vk
