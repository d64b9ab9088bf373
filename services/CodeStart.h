#pragma once
// Where a C source's code begins, for #include lines that must come before it.

namespace vk {

class TStrings;

// The index at which new #include lines stand before everything that may
// need them: the first #include before the first line of code (the lines
// above it, a "#define F_CPU" say, stay above), or the outermost #if
// around it, so that the header it names sees them whether the condition
// holds or not; with no such #include, the first line of code (a line that
// is not a comment, a blank or a directive) or the line its comment or
// continued directive began on, or the outermost #if still open there; the
// end of a text without either. Never inside a comment or a continued line.
int IncludeLinesStart(const TStrings& lines);

}  // namespace vk
