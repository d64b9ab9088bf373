#pragma once
// The jump from an error-pane line to the source line it names: the file
// name and the line number are cut out of the pane line, then the line is
// selected in the document window of that file.
//
// On a double click the main window marks the pane line (MarkPaneLine), then
// with ParseErrorJump's result brings forward the document window of
// JumpPath (opening the file when no window shows it; else the active window
// when File is empty) and calls SelectErrorLine on its editor after giving
// it the focus, and maximises that window.

#include <optional>
#include <string>
#include <string_view>

namespace vk {

class TCustomSrcEdit;

struct TErrorJump {
  // The source (C, C++ or assembler) or header as the line names it, with
  // the folders the tool wrote ("main.c", "/usr/lib/avr/include/util/delay.h");
  // a relative name is in the folder make was in (JumpPath). Empty when the
  // line names no source or header: the jump goes to the active document.
  std::string File;
  int Line = 0;  // 1-based
};

// Where a pane line points to; nullopt when it holds no usable line number
// (a linker line "main.c:(.text+0x1a): undefined reference ..." or a line
// number 0).
std::optional<TErrorJump> ParseErrorJump(std::string_view paneLine);

// The jump's file as a path: an absolute name as the tool wrote it, a
// relative one in the folder make was in when it printed the line
// (TPaneFolders of BuildOutput.h), which is the project folder where make
// named none; without "." and ".." steps.
std::string JumpPath(const TErrorJump& jump, const std::string& makeFolder, const std::string& projectFolder);

// The pane's caret line as a red bar: a column block over columns 1..500.
void MarkPaneLine(TCustomSrcEdit& pane);

// Caret to the start of the line, the line selected with a red background;
// a line past the end of the text selects the last line.
void SelectErrorLine(TCustomSrcEdit& editor, int line);

}  // namespace vk
