#pragma once
// The words of a line of text, as a command line or a linker map lists
// them: the runs between white space (blanks, tabs, line breaks).

#include <string>
#include <vector>

namespace vk {

std::vector<std::string> TextWords(const std::string& text);

// The words with one blank between them.
std::string JoinedWords(const std::vector<std::string>& words);

}  // namespace vk
