#pragma once
// Adding the AVR library's #include lines to a C source: automatically before
// a build, for the headers whose keywords the open documents use, and by hand
// ("Insert include") for a header picked in the file list.
//
// Before a build, with "AutoInsertBool" on and before anything is saved, the
// main window collects its documents (file name and lines, in window order)
// and calls
//   needed = NeededHeaders(documents);
//   InsertIncludes(main file's editor, PlanIncludeInsertion(its lines, needed));
// so the build compiles the new lines and the document shows as modified.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class TStrings;
class TCustomSrcEdit;

struct TIncludeDocument {
  std::string FileName;  // without folders
  const TStrings* Lines;
};

// The insertable headers whose keywords occur in the documents, in the order
// found (line by line, each line trying the headers in table order), each
// once. Documents named like a library header are not scanned. Keywords
// count anywhere: in code, strings, comments and longer identifiers.
std::vector<std::string> NeededHeaders(const std::vector<TIncludeDocument>& documents);

// The insertable headers the text already names, one per line at most; a
// line holding "//" names none (an include commented out).
std::vector<std::string> IncludedHeaders(const TStrings& lines);

struct TIncludeInsertion {
  int Index = 0;                   // where the lines go
  std::vector<std::string> Lines;  // "#include <...>", in their final order
};

// The needed headers the target does not name yet, the last found first, as
// lines where IncludeLinesStart says: above the target's own first #include,
// so that the headers it includes find the library's types and registers,
// else above its first line of code; below its leading comments and the
// definitions before them, never inside a comment, a continued directive or
// an #if (above the outermost #if around that #include or code).
TIncludeInsertion PlanIncludeInsertion(const TStrings& target, const std::vector<std::string>& needed);

// Inserts the lines (at the end of a text shorter than the index).
void InsertIncludes(TStrings& lines, const TIncludeInsertion& insertion);
// The same on an editor's text, as one change that undo takes back; the
// document is modified and the caret stays on its text.
void InsertIncludes(TCustomSrcEdit& editor, const TIncludeInsertion& insertion);

// "Insert include": the line for a file name ending in ".h"; nullopt for any
// other file, for which the command shows the name followed by
// NotAnIncludeFileText.
std::optional<std::string> IncludeLineFor(std::string_view fileName);
inline constexpr const char* NotAnIncludeFileText = "Not an include file";
// Where "Insert include" puts its line: below the last line that holds
// ".h", or below the first line when none does.
TIncludeInsertion ManualIncludeInsertion(const TStrings& lines, std::string includeLine);

}  // namespace vk
