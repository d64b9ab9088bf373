#pragma once
// The jump from an error-pane line to the source line it names: the file
// name and the line number are cut out of the pane line, then the line is
// selected in the document window of that file.
//
// On a double click the main window marks the pane line (MarkPaneLine), then
// with ParseErrorJump's result brings forward the document window of
// JumpPath (opening the file when no window shows it, and saying so when it
// cannot be read) and calls SelectErrorLine on its editor after giving it
// the focus, and maximises that window. A line that names no file and line
// moves nothing: no other document's line is marked in its stead.

#include <optional>
#include <string>
#include <string_view>

namespace vk {

class TCustomSrcEdit;

struct TErrorJump {
  // The file as the line names it, whatever its extension or without one
  // ("main.c", "usbdrv/usbdrvasm16.inc", "Makefile",
  // "/usr/lib/avr/include/util/delay.h"); a relative name is found from
  // the folder make was in (JumpPath).
  std::string File;
  int Line = 0;  // 1-based
};

// Where a pane line points to: the first "name:line" in it, the line number
// followed by ":" or the end of the line ("main.c:12:5: error: ...",
// "usbdrv/x.inc:48: Error: ..."), the name after the field in front of it
// ("main.o:/p/main.c:2: first defined here") without leading blanks.
// nullopt when the line holds none, so a tool's or a kind's word before ":"
// ("avr-gcc: error: ...", "Error: ...") is never taken for a file; also for
// a linker line "main.c:(.text+0x1a): undefined reference ..." and a line
// number 0.
std::optional<TErrorJump> ParseErrorJump(std::string_view paneLine);

// The jump's file as a path, decided on the file system: an absolute name
// as the tool wrote it; a relative one in the folder make was in when it
// printed the line (TPaneFolders of BuildOutput.h; the project folder where
// make named none), else in the project folder when only that holds it, and
// in make's folder when neither does; without "." and ".." steps.
std::string JumpPath(const TErrorJump& jump, const std::string& makeFolder, const std::string& projectFolder);

// The pane's caret line as a red bar: a column block over columns 1..500.
void MarkPaneLine(TCustomSrcEdit& pane);

// Caret to the start of the line, the line selected with a red background;
// a line past the end of the text selects the last line.
void SelectErrorLine(TCustomSrcEdit& editor, int line);

}  // namespace vk
