#pragma once
// Where a C source's code begins, for lines that must come before it.

namespace vk {

class TStrings;

// The index at which lines stand before the first line of code (a line that
// is not a comment, a blank or a directive) and outside every comment,
// continued directive and #if: that line itself, or the line its comment
// or continued directive began on, or the outermost #if still open there;
// the end of a text without code.
int CodeStartLine(const TStrings& lines);

}  // namespace vk
