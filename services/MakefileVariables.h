#pragma once
// A makefile's variables read as make reads them, as far as the memory
// report needs them to tell the part a build was made for: the lines joined
// where a "\" continues them, the assignments in file order ("=", ":=",
// "::=", "?=", "+=", also after "override" or "export"), recipe lines left
// out, and the references $(NAME) and ${NAME} to variables the file sets.
// Conditionals and included files are not followed; a value that needs a
// function, the shell, the environment or make's command line is unknown.

#include <string>
#include <vector>

namespace vk {

class TStrings;

// The lines as make reads them: a line ending in "\" continues on the next,
// joined by one blank.
std::vector<std::string> MakefileLogicalLines(const TStrings& lines);

// The part a makefile builds for: the value of its MCU variable, else the
// first "-mmcu=" option it passes whose part is known (a makefile may name
// it through another variable: -mmcu=$(MCU_TARGET)). "" when it names none
// that the file alone tells.
std::string MakefilePart(const TStrings& lines);

}  // namespace vk
