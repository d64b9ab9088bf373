#pragma once
// A project makefile in another format than the settings dialog's (the
// wizard's, the user's), read into the dialog's options.

namespace vk {

class TStrings;
struct TMakefileOptions;

// Reads the makefile so that what the options take from it stands on its
// own in the makefile MakefileText writes, where the file's other variables
// do not exist: each option variable it sets, expanded through its
// variables as make reads it (TMakefileReading); the part it builds for.
// Its compile options, also those of a variable that holds a compiler
// command (COMPILE = avr-gcc -Os ...), go into the fields they set (the -O
// level, F_CPU, the -I folders and those of EXTRAINCDIRS, -g, -std) and
// after the dialog's own options, each once, so that every compile
// carries the fields; the linker's as one line with the map named after
// the target (the map the result box reads, asked for when the file asks
// for none). What the file does not tell takes the options' defaults, but
// no printf or scanf library is forced in that its own link does not ask
// for; an option the file does not set keeps its value.
void ReadOtherMakefileOptions(const TStrings& lines, TMakefileOptions& options);

}  // namespace vk
