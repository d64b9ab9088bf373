#pragma once
// The words of a line of text, as a command line or a linker map lists
// them: the runs between white space (blanks, tabs, line breaks).

#include <string>
#include <string_view>
#include <vector>

namespace vk {

std::vector<std::string> TextWords(const std::string& text);

// The words with the separator (one blank unless given) between them.
std::string JoinedWords(const std::vector<std::string>& words, std::string_view separator = " ");

// An ASCII digit, and a text of them (at least one), whatever the locale:
// a byte of a double-byte character is none.
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiNumber(std::string_view text);

}  // namespace vk
