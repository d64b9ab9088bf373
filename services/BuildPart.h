#pragma once
// The part a build used, which the result box reports and takes the memory
// sizes of: what the build itself shows first (the start-up code the linker
// loaded, the -mmcu= option avr-gcc ran with), then the part the project's
// makefile builds for as make reads it, last the settings stored for this
// project, which tell only beside a makefile the program wrote (the
// settings dialog's or the wizard's). Another project's settings, and the
// settings beside a makefile of another origin, tell nothing.

#include <optional>
#include <string>

namespace vk {

class TStrings;

// The part whose start-up code the linker loaded first ("LOAD
// .../crtatmega16.o" gives atmega16); "" when the map names none (a program
// linked without start-up code).
std::string LinkerMapPart(const TStrings& map);

// The part of the last link command the build's output shows avr-gcc
// running (as make printed it), else of its last compile command: the
// command's last -mmcu= option. "" when that option names no part (an
// architecture such as avr5); none when the output shows no such command.
std::optional<std::string> CommandLinePart(const TStrings& output);

// The settings' part ("SouAvrMcu Type") when the settings were stored for
// this project folder ("SouSource Path"); "" otherwise.
std::string ProjectSettingsPart(const std::string& projectFolder);

// The map's part (map nullptr: none), else the output's (nullptr: none),
// else the part of the makefile make reads (MakefilePart), else, when that
// makefile is the settings dialog's or the wizard's own (IsOwnMakefile),
// ProjectSettingsPart; "" when nothing tells it.
std::string BuildPart(const TStrings* map, const TStrings* output, const std::string& projectFolder);

}  // namespace vk
