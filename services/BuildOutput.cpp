#include "services/BuildOutput.h"

#include <algorithm>

#include "services/BuildCommands.h"
#include "services/MakeFolderLines.h"
#include "services/TextWords.h"
#include "platform/FilePaths.h"
#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {

namespace {

struct TClassWord {
  std::string_view Word;
  TOutputLineClass Class;
};
// In their order of precedence at one position. The assembler writes its
// two kinds capitalised, always with their ":" (make's "Error 1" is none).
constexpr TClassWord kWords[] = {{"error", olError},
                                 {"warning", olWarning},
                                 {"undefined", olError},
                                 {"first defined", olError},
                                 {"multiple definition", olError},
                                 {"Error:", olError},
                                 {"Warning:", olWarning}};

// The shell's own words that can start a command line, besides programs.
constexpr std::string_view kShellWords[] = {"cd",  "if",  "for",  "while", "until",
                                            "case", "set", "exec", "exit",  "export"};

// ASCII only, whatever the locale: a byte of a double-byte character or of
// a quotation mark is no part of a name.
bool IsNameChar(char c) { return c == '_' || IsAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "file:line:column:" somewhere in the line: a compiler diagnostic that
// points at a column, after which the compiler echoes the source line.
bool PointsAtColumn(std::string_view line) {
  for (size_t colon = line.find(':'); colon != std::string_view::npos; colon = line.find(':', colon + 1)) {
    size_t pos = colon + 1;
    int fields = 0;
    while (fields < 2 && pos < line.size() && IsAsciiDigit(line[pos])) {
      while (pos < line.size() && IsAsciiDigit(line[pos])) ++pos;
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

// The diagnostic word a message opens with, in its leading plain words (the
// compilers' kind "error", "fatal error", "internal compiler error", the
// assembler's "Error:", the linker's "undefined reference to"); olNone for
// another message. The plain words end at the first other character: a
// quoted symbol ("In member function 'void error_log::put(char)':"), a
// ":" after the kind ("note: ..."), a file's extension. A word counts whole,
// followed by a blank, ":" or the end of the line, so that neither a symbol
// nor a file named like a diagnostic ("error_log", "error.o") decides.
TOutputLineClass MessageClass(std::string_view message) {
  size_t pos = message.find_first_not_of(' ');
  while (pos < message.size() && IsNameChar(message[pos])) {
    for (const TClassWord& word : kWords) {
      size_t end = pos + word.Word.size();
      if (message.substr(pos, word.Word.size()) == word.Word &&
          (end == message.size() || message[end] == ' ' || message[end] == ':'))
        return word.Class;
    }
    while (pos < message.size() && IsNameChar(message[pos])) ++pos;
    while (pos < message.size() && message[pos] == ' ') ++pos;
  }
  return olNone;
}

// "main.c:12", "main.c:12:5", "main.o:/p/main.c:2", "main.c:(.text+0x1a)":
// a place with a line number or an object file's section.
bool EndsWithLineField(std::string_view location) {
  size_t colon = location.rfind(':');
  if (colon == std::string_view::npos) return false;
  std::string_view field = location.substr(colon + 1);
  bool lineNumber = IsAsciiNumber(field);
  bool section = field.size() > 2 && field.front() == '(' && field.back() == ')';
  return lineNumber || section;
}

// Where a line's message starts, after the location in front of it: the
// names of a tool and of files, each followed by ": " ("avr-gcc: ",
// "/usr/bin/avr-ld: main.o: "), then at most one place with a line number or
// a section ("error_handler.c:2:7: ", "b.o:(.data+0x0): "), where a name may
// hold blanks. A name with a blank but no line number ("In function 'f'")
// is the message itself, and so is a diagnostic word ("error: ...").
size_t MessageStart(std::string_view line) {
  size_t pos = 0;
  for (size_t separator; (separator = line.find(": ", pos)) != std::string_view::npos; pos = separator + 2) {
    std::string_view name = line.substr(pos, separator - pos);
    if (EndsWithLineField(name)) return separator + 2;
    if (name.empty() || name.find(' ') != std::string_view::npos || MessageClass(line.substr(pos)) != olNone)
      return pos;
  }
  return pos;
}

constexpr char kEscape = '\x1b';

bool InRange(char c, unsigned char low, unsigned char high) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= low && byte <= high;
}

// One past the control sequence whose ESC stands at pos.
size_t ControlSequenceEnd(std::string_view line, size_t pos) {
  size_t next = pos + 1;
  if (next == line.size()) return next;
  const char kind = line[next];
  if (kind == '[') {  // CSI: parameter bytes, intermediate bytes, the final byte
    size_t end = next + 1;
    while (end < line.size() && InRange(line[end], 0x30, 0x3F)) ++end;
    while (end < line.size() && InRange(line[end], 0x20, 0x2F)) ++end;
    return end < line.size() && InRange(line[end], 0x40, 0x7E) ? end + 1 : end;
  }
  if (kind == ']' || kind == 'P' || kind == 'X' || kind == '^' || kind == '_') {
    // A control string (OSC, DCS, SOS, PM, APC) up to ST or BEL; another ESC
    // ends it too, and starts a sequence of its own.
    for (size_t end = next + 1; end < line.size(); ++end) {
      if (line[end] == '\x07') return end + 1;
      if (line[end] == kEscape) return end + 1 < line.size() && line[end + 1] == '\\' ? end + 2 : end;
    }
    return next + 1;  // never ended: its text stays
  }
  size_t end = next;  // intermediate bytes, then the final byte
  while (end < line.size() && InRange(line[end], 0x20, 0x2F)) ++end;
  return end < line.size() && InRange(line[end], 0x30, 0x7E) ? end + 1 : next;
}

}  // namespace

std::string TPaneFolders::Of(int line) const {
  return line >= 0 && line < static_cast<int>(Lines.size()) ? Lines[line] : std::string();
}

TOutputLineClass ClassifyOutputLine(std::string_view line) { return MessageClass(line.substr(MessageStart(line))); }

bool EchoesCommand(std::string_view line, const TProgramTest& isProgram) {
  constexpr std::string_view kBlanks = " \t";
  size_t start = 0;  // make prints a command from its first character
  while (start < line.size() && kBlanks.find(line[start]) == std::string_view::npos) {
    size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
    std::string_view word = line.substr(start, end - start);
    if (!IsShellAssignment(word)) {
      for (std::string_view shellWord : kShellWords)
        if (word == shellWord) return true;
      return isProgram(std::string(word));
    }
    start = line.find_first_not_of(kBlanks, end);
  }
  return false;
}

TBuildCounts ClassifyBuildOutput(const TStrings& output, TStrings& pane, const TProgramTest& isProgram,
                                 TPaneFolders* folders) {
  TBuildCounts counts;
  TMakeFolders makeFolders;
  int count = output.Count();
  bool continued = false;  // the previous line was a command ending in "\"
  for (int i = 0; i < count; ++i) {
    std::string line = output.Get(i);
    bool command = continued || EchoesCommand(line, isProgram);
    continued = command && !line.empty() && line.back() == '\\';
    if (command || makeFolders.Read(line)) continue;
    TOutputLineClass lineClass = ClassifyOutputLine(line);
    if (lineClass != olNone) {
      pane.Add(line);
      if (folders) folders->Lines.push_back(makeFolders.Current());
      ++(lineClass == olError ? counts.Errors : counts.Warnings);
    }
    if (i + 2 < count && PointsAtColumn(line) && IsCaretLine(output.Get(i + 2))) i += 2;
  }
  return counts;
}

void AddBuildFailureLine(const TBuildEnd& end, TBuildCounts& counts, TStrings& pane) {
  if (counts.Errors > 0 && !end.Stopped) return;
  std::string line;
  if (end.Stopped)
    line = "error: the build was stopped";
  else if (!end.Started)
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

std::string WithoutControlSequences(std::string_view line) {
  std::string text;
  size_t pos = 0;
  for (size_t escape; (escape = line.find(kEscape, pos)) != std::string_view::npos;
       pos = ControlSequenceEnd(line, escape))
    text.append(line.substr(pos, escape - pos));
  return text.append(line.substr(pos));
}

std::string CountText(int count) { return count == 0 ? "Ok" : IntToStr(count); }

}  // namespace vk
