#pragma once
// The text of the ASCII table window: a header line and 32 rows, row r
// showing the codes r, r + 32, r + 64 and r + 96 with their character,
// hexadecimal, octal and decimal values, separated by TABs.

#include <string>
#include <vector>

namespace vk {

// The header line followed by the 32 rows.
std::vector<std::string> AsciiCodeTableLines();

// What the table shows for a code below 128: "Ctrl-@ NUL" ... "Ctrl-_ US",
// "Space", "DEL", or the character itself.
std::string AsciiCodeLabel(int code);

}  // namespace vk
