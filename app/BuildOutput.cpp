#include "app/BuildOutput.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "dialogs/EnvironmentMakefileText.h"
#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

struct TClassWord {
  std::string_view Word;
  TOutputLineClass Class;
};
// In their order of precedence at one position.
constexpr TClassWord kWords[] = {{"error", olError},
                                 {"warning", olWarning},
                                 {"undefined", olError},
                                 {"first defined", olError},
                                 {"multiple definition", olError}};

// The shell's own words that can start a command line, besides programs.
constexpr std::string_view kShellWords[] = {"cd",  "if",  "for",  "while", "until",
                                            "case", "set", "exec", "exit",  "export"};

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool IsNameChar(char c) { return c == '_' || std::isalnum(static_cast<unsigned char>(c)) != 0; }

// NAME=value in front of a command.
bool IsAssignment(std::string_view word) {
  size_t equals = word.find('=');
  if (equals == 0 || equals == std::string_view::npos || IsDigit(word[0])) return false;
  for (size_t i = 0; i < equals; ++i)
    if (!IsNameChar(word[i])) return false;
  return true;
}

// "file:line:column:" somewhere in the line: a compiler diagnostic that
// points at a column, after which the compiler echoes the source line.
bool PointsAtColumn(std::string_view line) {
  for (size_t colon = line.find(':'); colon != std::string_view::npos; colon = line.find(':', colon + 1)) {
    size_t pos = colon + 1;
    int fields = 0;
    while (fields < 2 && pos < line.size() && IsDigit(line[pos])) {
      while (pos < line.size() && IsDigit(line[pos])) ++pos;
      if (pos == line.size() || line[pos] != ':') break;
      ++pos;
      ++fields;
    }
    if (fields == 2) return true;
  }
  return false;
}

// Blanks with a "^" under the column, possibly "~" under the range and a "|"
// margin in front.
bool IsCaretLine(std::string_view line) {
  size_t pos = line.find_first_not_of(" \t");
  if (pos != std::string_view::npos && line[pos] == '|') ++pos;
  bool caret = false;
  for (; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '^')
      caret = true;
    else if (c != ' ' && c != '\t' && c != '~')
      return false;
  }
  return caret;
}

// The progress messages of the settings dialog's makefile, as its rules
// echo them ("Compiling C:", "Linking:" ...): the values of its MSG_
// variables, with the blanks between their words single as echo prints them.
std::vector<std::string> MakefileProgressMessages() {
  std::vector<std::string> messages;
  std::string_view rules = MakefileRules;
  for (size_t start = 0, end; start < rules.size(); start = end + 1) {
    end = std::min(rules.find('\n', start), rules.size());
    std::string_view line = rules.substr(start, end - start);
    size_t equals = line.find(" = ");
    if (!line.starts_with("MSG_") || equals == std::string_view::npos) continue;
    std::string message;
    for (char c : line.substr(equals + 3))
      if (c != ' ' || (!message.empty() && message.back() != ' ')) message += c;
    while (!message.empty() && message.back() == ' ') message.pop_back();
    messages.push_back(std::move(message));
  }
  return messages;
}

bool IsProgressMessage(std::string_view line) {
  static const std::vector<std::string> messages = MakefileProgressMessages();
  for (const std::string& message : messages)
    if (line.starts_with(message) && (line.size() == message.size() || line[message.size()] == ' ')) return true;
  return false;
}

// Where a diagnostic's message starts: after the location in front of it,
// "file:line:", "file:line:column:" or "file:(section+offset):" (an object
// file may come first); 0 for a line that starts with no location.
size_t MessageStart(std::string_view line) {
  size_t end = line.find(": ");
  if (end == std::string_view::npos) return 0;
  std::string_view location = line.substr(0, end);
  size_t colon = location.rfind(':');
  if (colon == std::string_view::npos) return 0;
  std::string_view field = location.substr(colon + 1);
  bool lineNumber = !field.empty() && std::all_of(field.begin(), field.end(), IsDigit);
  bool section = field.size() > 2 && field.front() == '(' && field.back() == ')';
  return lineNumber || section ? end + 1 : 0;
}

// The lines the compiler prints to say where the diagnostics below them
// are ("uart.c: In function 'f':", "main.c: At top level:", "In file
// included from main.c:1:0:" with its "from" lines): they name files but
// report nothing.
bool IsContextLine(std::string_view line) {
  if (line.starts_with("In file included from ")) return true;
  size_t text = line.find_first_not_of(' ');
  if (text > 0 && text != std::string_view::npos && line.substr(text).starts_with("from ")) return true;
  // The linker names the object file after its own name ("avr-ld: a.o: in
  // function `f':").
  size_t colon = line.rfind(": ");
  if (colon == std::string_view::npos || !line.ends_with(':')) return false;
  std::string_view place = line.substr(colon + 2);
  return place.starts_with("In function ") || place.starts_with("in function ") || place == "At top level:";
}

}  // namespace

TOutputLineClass ClassifyOutputLine(std::string_view line) {
  for (size_t pos = MessageStart(line); pos < line.size(); ++pos)
    for (const TClassWord& word : kWords)
      if (line.substr(pos, word.Word.size()) == word.Word) return word.Class;
  return olNone;
}

bool EchoesCommand(std::string_view line, const TProgramTest& isProgram) {
  constexpr std::string_view kBlanks = " \t";
  size_t start = 0;  // make prints a command from its first character
  while (start < line.size() && kBlanks.find(line[start]) == std::string_view::npos) {
    size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
    std::string_view word = line.substr(start, end - start);
    if (!IsAssignment(word)) {
      for (std::string_view shellWord : kShellWords)
        if (word == shellWord) return true;
      return isProgram(std::string(word));
    }
    start = line.find_first_not_of(kBlanks, end);
  }
  return false;
}

TBuildCounts ClassifyBuildOutput(const TStrings& output, TStrings& pane, const TProgramTest& isProgram) {
  TBuildCounts counts;
  int count = output.Count();
  bool continued = false;  // the previous line was a command ending in "\"
  for (int i = 0; i < count; ++i) {
    std::string line = output.Get(i);
    bool command = continued || EchoesCommand(line, isProgram);
    continued = command && !line.empty() && line.back() == '\\';
    if (command || IsProgressMessage(line) || IsContextLine(line)) continue;
    TOutputLineClass lineClass = ClassifyOutputLine(line);
    if (lineClass != olNone) {
      pane.Add(line);
      ++(lineClass == olError ? counts.Errors : counts.Warnings);
    }
    if (i + 2 < count && PointsAtColumn(line) && IsCaretLine(output.Get(i + 2))) i += 2;
  }
  return counts;
}

void AddBuildFailureLine(const TBuildEnd& end, TBuildCounts& counts, TStrings& pane) {
  if (counts.Errors > 0) return;
  std::string line;
  if (!end.Started)
    line = "error: the build could not be started";
  else if (end.Signal != 0)
    line = Format("error: the build was ended by signal %d", end.Signal);
  else if (end.ExitStatus != 0)
    line = Format("error: the build failed with exit status %d", end.ExitStatus);
  else
    return;
  pane.Add(line);
  ++counts.Errors;
}

std::string CountText(int count) { return count == 0 ? "Ok" : IntToStr(count); }

}  // namespace vk
