#pragma once
// Files of the current project: the project folder is the text of the main
// window's status-bar panel 4 (a folder path, usually ending in "/"); an
// empty text means there is no project.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FilePaths.h"

namespace vk {

class TStrings;
class TSrcEditStringList;

// The project's makefile as make finds it: the first of GNUmakefile,
// makefile and Makefile in the project folder, else "makefile" there (the
// name a new one gets). Every reader and writer of the project's makefile
// goes through it, so that they all mean the file make reads. "" without a
// project folder.
std::string ProjectMakefilePath(const std::string& projectFolder);

// The project's extra sources, "AddFile.ini" in the project folder: a
// marker line, then the C sources and the assembler sources, each line
// file names with their extensions separated by blanks.
struct TExtraSources {
  std::string C;
  std::string Asm;
};
inline constexpr const char* AddFileMarker = "[Vornkit extra sources]";
// Both lists ("" for a line the file does not have); nullopt when there is
// no project folder or the file cannot be read.
std::optional<TExtraSources> ReadExtraSources(const std::string& projectFolder);
// Writes the marker and both lists (CR LF after each line), or deletes the
// file when both lists are empty; without a project folder nothing is
// written. Raises EStreamError when the file cannot be written.
void WriteExtraSources(const std::string& projectFolder, const TExtraSources& sources);

// The C sources the project compiles besides its main file: line 1 of
// "AddFile.ini" in the project folder, as it stands ("" for a file of fewer
// than two lines). nullopt when there is no project folder or the file
// cannot be read.
std::optional<std::string> ReadExtraSourceLine(const std::string& projectFolder);

// The names on that line without their extensions: a blank starts a name,
// each "." ends one ("uart.c lcd.c" gives uart and lcd, "a.b.c" gives a and
// b, a name without a "." nothing). A name that holds "/" or ".." is passed
// over: nothing outside the project folder is named.
std::vector<std::string> ExtraSourceStems(std::string_view line);

// The names a C text includes in double quotes, in order, read from its
// directive lines: the lines that hold a '#' outside comments ("/*" and "*/"
// switch a block comment on and off, carried from line to line; "//" outside
// one ends the line). After the first "include" of such a line the first '"'
// opens a name and every later '"' ends one, the text since the '"' before
// it taken as it stands; "//" ends the line and drops a name not yet ended.
// Angle brackets name nothing. The editor's lines are read in place.
std::vector<std::string> QuotedIncludes(const TStrings& text);
std::vector<std::string> QuotedIncludes(const TSrcEditStringList& text);

}  // namespace vk
