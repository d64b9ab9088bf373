#pragma once
// A project makefile in another format than the settings dialog's (the
// wizard's, the user's), read into the dialog's options.

namespace vk {

class TStrings;
struct TMakefileOptions;

// Reads the makefile so that what the options take from it stands on its
// own in the makefile MakefileText writes, where the file's other variables
// do not exist: each option variable it sets, expanded through its
// variables as make reads it (TMakefileReading), the memos' as one line
// without -mmcu= and the linker's with the map named after the target (the
// map the result box reads, asked for when the file asks for none); the
// part it builds for. What the file does not tell takes the options'
// defaults; an option the file does not set keeps its value.
void ReadOtherMakefileOptions(const TStrings& lines, TMakefileOptions& options);

}  // namespace vk
