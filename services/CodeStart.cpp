#include "services/CodeStart.h"

#include <string>
#include <string_view>

#include "platform/StringLists.h"

namespace vk {

namespace {

// What reading a C source line by line has seen so far, as the preprocessor
// sees it: comments, directives with their backslash continuations, and the
// conditionals still open.
struct TPrologueState {
  bool InComment = false;      // inside /* ... */
  bool InLineComment = false;  // a // comment continued by a trailing backslash
  bool InDirective = false;    // a directive continued by a trailing backslash
  char Quote = 0;              // inside a directive's string or character literal
  int OpenConditionals = 0;
  int OuterConditional = 0;    // the line of the outermost open #if
  int FirstInclude = -1;       // the first #include's line, or that of the outermost #if around it
  int LineStart = 0;           // the last line that began outside comments and continued lines
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Counts the conditionals and notes where the first #include stands: an
// #if around it may hold what the header needs, so the outermost #if.
void ReadDirective(TPrologueState& state, const std::string& line, size_t hash) {
  size_t start = line.find_first_not_of(" \t", hash + 1);
  if (start == std::string::npos) return;
  size_t end = line.find_first_not_of("abcdefghijklmnopqrstuvwxyz_0123456789", start);
  std::string_view name = std::string_view(line).substr(start, end == std::string::npos ? end : end - start);
  if (name == "include") {
    if (state.FirstInclude < 0)
      state.FirstInclude = state.OpenConditionals == 0 ? state.LineStart : state.OuterConditional;
  } else if (name == "if" || name == "ifdef" || name == "ifndef") {
    if (state.OpenConditionals++ == 0) state.OuterConditional = state.LineStart;
  } else if (name == "endif" && state.OpenConditionals > 0) {
    --state.OpenConditionals;
  }
}

// Reads one line; true when it holds code.
bool ReadLine(TPrologueState& state, const std::string& line) {
  for (size_t i = 0; i < line.size() && !state.InLineComment; ++i) {
    const char c = line[i];
    const char next = i + 1 < line.size() ? line[i + 1] : 0;
    if (state.InComment) {
      if (c == '*' && next == '/') {
        state.InComment = false;
        ++i;
      }
    } else if (state.Quote) {
      if (c == '\\') ++i;  // an escaped quote
      else if (c == state.Quote) state.Quote = 0;
    } else if (c == '/' && (next == '*' || next == '/')) {
      (next == '*' ? state.InComment : state.InLineComment) = true;
      ++i;
    } else if (state.InDirective) {
      if (c == '"' || c == '\'') state.Quote = c;
    } else if (c == '#') {
      state.InDirective = true;
      ReadDirective(state, line, i);
    } else if (!IsBlank(c)) {
      return true;
    }
  }
  return false;
}

}  // namespace

int IncludeLinesStart(const TStrings& lines) {
  TPrologueState state;
  bool continued = false;
  for (int i = 0;; ++i) {
    if (!continued) {
      state.InLineComment = state.InDirective = false;
      state.Quote = 0;
      if (!state.InComment) state.LineStart = i;
    }
    if (i == lines.Count()) break;
    const std::string line = lines.Get(i);
    if (ReadLine(state, line)) break;
    continued = line.ends_with('\\');
  }
  if (state.FirstInclude >= 0) return state.FirstInclude;
  return state.OpenConditionals > 0 ? state.OuterConditional : state.LineStart;
}

}  // namespace vk
