#include "services/EnvironmentMakefile.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "services/ProjectFiles.h"
#include "services/EnvironmentMakefileText.h"
#include "services/EnvironmentToolChain.h"
#include "services/MakefileReader.h"
#include "services/MakefileVariables.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

namespace MakefileDefaults {

std::vector<std::string> CompilerOptions() {
  return {"-g$(DEBUG)", "$(CDEFS)", "-O$(OPT)", "-funsigned-char", "-funsigned-bitfields", "-fpack-struct",
          "-fshort-enums", "-Wall", "-Wstrict-prototypes", "-Wa,-adhlns=$(<:%.c=$(OBJDIR)/%.lst)",
          "$(patsubst %,-I%,$(EXTRAINCDIRS))", "$(CSTANDARD)"};
}

std::vector<std::string> CppCompilerOptions() {
  return {"-g$(DEBUG)", "$(CPPDEFS)", "-O$(OPT)", "-funsigned-char", "-funsigned-bitfields", "-fpack-struct",
          "-fshort-enums", "-fno-exceptions", "-Wall", "-Wundef", "-Wa,-adhlns=$(<:%.cpp=$(OBJDIR)/%.lst)",
          "$(patsubst %,-I%,$(EXTRAINCDIRS))"};
}

std::vector<std::string> LinkerOptions() {
  return {"-Wl,-Map=$(TARGET).map,--cref", "$(EXTMEMOPTS) ", "$(patsubst %,-L%,$(EXTRALIBDIRS))",
          "$(PRINTF_LIB) $(SCANF_LIB) $(MATH_LIB)"};
}

std::vector<std::string> BootLoaderLinkerOptions() {
  std::vector<std::string> lines = LinkerOptions();
  lines.push_back(BootLoaderStart);
  return lines;
}

std::vector<std::string> AvrdudeFlags() {
  return {"-p $(MCU) -P $(AVRDUDE_PORT) -c $(AVRDUDE_PROGRAMMER)", "$(AVRDUDE_NO_VERIFY)", "$(AVRDUDE_VERBOSE)",
          "$(AVRDUDE_ERASE_COUNTER)"};
}

}  // namespace MakefileDefaults

namespace {

const char* const CRLF = "\r\n";

// The variable name of an assignment text ("OBJDIR =" gives "OBJDIR").
std::string VariableName(const TMakefileRow& row) {
  std::string name = row.Assignment;
  if (row.Kind == TMakefileRow::mrSources) name = name.substr(0, name.find('='));
  if (!name.empty() && name.back() == '=') name.pop_back();
  return TrimRight(name);
}

// Option texts that earlier defaults wrote and that do not build: the
// assembler listing of a .s source overwrote the source, and external RAM
// for data did not link.
const std::pair<const char*, const char*> OutdatedDefaults[] = {
    {"$(ADEFS) -Wa,-adhlns=$(<:%.S=$(OBJDIR)/%.lst),-gstabs,--listing-cont-lines=100",
     MakefileDefaults::AssemblerOptions},
    {"-Wl,-Tdata=0x801100,--defsym=__heap_end=0x80ffff", MakefileDefaults::ExtMemoryForData},
};
// The boot loader's start lines once asked the linker for a map on the
// standard output (-M), which left no map file for the memory report.
const std::string_view OutdatedBootStart = "-Wl,-M,--section-start=";

void CheckValue(const TMakefileRow& row, const std::string& value) {
  const std::string written = Trim(value);
  if (written.find_first_of("\r\n") != std::string::npos || (!written.empty() && written.back() == '\\'))
    throw EMakefileValue(Format("The makefile value of %s must be one line (no line break, no \\ at its end)",
                                VariableName(row).c_str()));
}

void AppendEntry(std::string& text, const std::string& entry) {
  text += entry;
  text += CRLF;
}

void AppendComments(std::string& text, const std::vector<const char*>& comments) {
  if (comments.empty()) return;
  std::string entry;
  for (size_t i = 0; i < comments.size(); ++i) {
    if (i > 0) entry += CRLF;
    entry += comments[i];
  }
  AppendEntry(text, entry);
}

// A memo's lines as one entry: "NAME=" first, "NAME+=" after, each line
// ended, so the entry's own line break leaves an empty line. An empty memo
// still sets its variable, to nothing, so that reading the file back
// empties the memo rather than leaving it as it was.
std::string FlagGroup(const char* name, const std::vector<std::string>& lines) {
  std::string entry = std::string(name) + "=" + (lines.empty() ? "" : Trim(lines[0])) + CRLF;
  for (size_t i = 1; i < lines.size(); ++i) entry += std::string(name) + "+=" + Trim(lines[i]) + CRLF;
  return entry;
}

// A makefile line as the reader takes it: the variable name and its value,
// or nothing for a comment or a line without an assignment.
bool SplitAssignment(const std::string& line, std::string& name, std::string& value) {
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '#') return false;
    if (c == '=' || c == '+') {
      name = TrimRight(line.substr(0, i));
      // "+" skips the "=" of "+="; a "+" at the end leaves an empty value.
      const size_t start = c == '=' ? i + 1 : i + 2;
      value = start < line.size() ? line.substr(start) : "";
      return true;
    }
  }
  return false;
}

// A value of a makefile the dialog did not write, as it stands in the
// dialog's makefile: one line, a "$" kept as make would keep it.
std::optional<std::string> StandAlone(const std::optional<std::string>& value) {
  if (!value || value->find_first_of("\r\n") != std::string::npos) return std::nullopt;
  std::string text = Trim(*value);
  if (!text.empty() && text.back() == '\\') return std::nullopt;
  for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + 2)) text.insert(at, "$");
  return text;
}

// The map the linker is asked for ("-Wl,-Map,x.map", "-Wl,-Map=x.map")
// named after the target, which the result box reads; false when the
// option asks for none.
bool NameMapAfterTarget(std::string& word) {
  if (!word.starts_with("-Wl,")) return false;
  std::vector<std::string> parts;
  for (size_t at = 0; at != std::string::npos;) {
    const size_t comma = word.find(',', at);
    parts.push_back(word.substr(at, comma - at));
    at = comma == std::string::npos ? comma : comma + 1;
  }
  bool named = false;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].starts_with("-Map=")) {
      parts[i] = "-Map=$(TARGET).map";
      named = true;
    } else if (parts[i] == "-Map" && i + 1 < parts.size()) {
      parts[++i] = "$(TARGET).map";
      named = true;
    }
  }
  word = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) word += "," + parts[i];
  return named;
}

// A flag variable's words as one memo line: without -mmcu= (the part row
// passes the part), and for the linker with the map the result box reads.
std::vector<std::string> StandAloneFlags(const std::string& name, const std::string& value) {
  std::string line;
  bool asksForMap = false;
  std::istringstream words(value);
  for (std::string word; words >> word;) {
    if (word.starts_with("-mmcu=")) continue;
    if (name == "LDFLAGS") asksForMap = NameMapAfterTarget(word) || asksForMap;
    line += (line.empty() ? "" : " ") + word;
  }
  std::vector<std::string> lines;
  if (name == "LDFLAGS" && !asksForMap) lines.push_back(MakefileDefaults::LinkerOptions().front());
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The row that the variable sets; nullptr for none.
const TMakefileRow* ReadBackRow(const std::string& name) {
  for (const TMakefileRow& row : MakefileRows())
    if (row.ReadBack && VariableName(row) == name) return &row;
  return nullptr;
}

}  // namespace

std::string UpToDateOption(const std::string& value) {
  for (auto [outdated, current] : OutdatedDefaults)
    if (value == outdated) return current;
  if (value.starts_with(OutdatedBootStart)) return "-Wl," + value.substr(std::string_view("-Wl,-M,").size());
  return value;
}

void CheckMakefileOptions(const TMakefileOptions& options) {
  for (const TMakefileRow& row : MakefileRows()) {
    if (row.Text) CheckValue(row, options.*row.Text);
    if (row.Lines)
      for (const std::string& line : options.*row.Lines) CheckValue(row, line);
  }
  // Every object is compiled to $(OBJDIR)/name.o: an empty folder name
  // would put them into "/", a blank would split the name in two.
  const std::string objDir = Trim(options.ObjDir);
  if (objDir.empty() || objDir.find_first_of(" \t") != std::string::npos)
    throw EMakefileValue("ObjDir must name one folder, without blanks (. is the project folder)");
}

std::string MakefileText(const TMakefileOptions& options) {
  CheckMakefileOptions(options);
  std::string text;
  for (const TMakefileRow& row : MakefileRows()) {
    switch (row.Kind) {
      case TMakefileRow::mrText:
        AppendComments(text, row.Comments);
        AppendEntry(text, row.Assignment + Trim(options.*row.Text));
        break;
      case TMakefileRow::mrPart:
        AppendComments(text, row.Comments);
        AppendEntry(text, row.Assignment + MmcuSpelling(options.*row.Text));
        break;
      case TMakefileRow::mrSources: {
        AppendComments(text, row.Comments);
        const std::string sources = Trim(options.*row.Text);
        AppendEntry(text, sources.empty() ? row.Assignment : row.Assignment + (" " + sources));
        break;
      }
      case TMakefileRow::mrFlags:
        AppendComments(text, row.Comments);
        AppendEntry(text, FlagGroup(row.Assignment, options.*row.Lines));
        break;
      case TMakefileRow::mrExtMemory:
        if (options.ExtMemoryIndex == 0) break;
        AppendComments(text, ExtMemoryComments(options.ExtMemoryIndex));
        AppendEntry(text, row.Assignment + Trim(options.*row.Text));
        break;
    }
  }
  std::string rules = MakefileRules;
  for (size_t at = rules.find('\n'); at != std::string::npos; at = rules.find('\n', at + 2)) rules.insert(at, "\r");
  AppendEntry(text, rules);
  return text;
}

bool WriteMakefile(const std::string& projectFolder, const TMakefileOptions& options) {
  const std::string text = MakefileText(options);
  if (projectFolder.empty()) return false;
  const std::string path = ProjectMakefilePath(projectFolder);
  try {
    SaveBytesToFile(path, text);
  } catch (const EStreamError&) {
    throw EMakefileSave(path + " Do not save the makefile file!");
  }
  return true;
}

bool IsOwnMakefile(std::string_view text) {
  // The wizard copies its template, whose first line names it, and rewrites
  // only the values below.
  constexpr std::string_view kWizardFirstLine = "# Makefile template of the Vornkit makefile wizard";
  return text.starts_with(kWizardFirstLine) || IsSettingsMakefile(text);
}

bool SetMakefileOption(TMakefileOptions& options, const std::string& name, const std::string& value) {
  const TMakefileRow* row = ReadBackRow(name);
  if (!row) return false;
  const std::string text = UpToDateOption(Trim(value));
  if (!row->Lines)
    options.*row->Text = text;
  else if (!text.empty())
    (options.*row->Lines).push_back(text);
  return true;
}

void ReadMakefileOptions(const TStrings& lines, TMakefileOptions& options) {
  std::vector<const TMakefileRow*> memosRead;
  std::string name, value;
  for (const std::string& line : MakefileLogicalLines(lines)) {
    if (!SplitAssignment(line, name, value)) continue;
    // The file's first line for a memo replaces what the memo held.
    const TMakefileRow* row = ReadBackRow(name);
    if (row && row->Lines && std::find(memosRead.begin(), memosRead.end(), row) == memosRead.end()) {
      (options.*row->Lines).clear();
      memosRead.push_back(row);
    }
    SetMakefileOption(options, name, value);
  }
}

bool IsSettingsMakefile(std::string_view text) {
  const std::string_view firstLine = MakefileRows().front().Comments.front();
  if (!text.starts_with(firstLine)) return false;
  text.remove_prefix(firstLine.size());
  const size_t end = text.find_first_not_of(" \t\r");
  return end == std::string_view::npos || text[end] == '\n';
}

void ReadOtherMakefileOptions(const TStrings& lines, TMakefileOptions& options) {
  TMakefileReading reading(lines);
  const TMakefileOptions defaults;
  for (const TMakefileRow& row : MakefileRows()) {
    const std::string name = VariableName(row);
    if (!row.ReadBack || row.Kind == TMakefileRow::mrPart || !reading.Sets(name)) continue;
    const std::optional<std::string> value = StandAlone(reading.Value(name));
    if (row.Lines)
      options.*row.Lines = value ? StandAloneFlags(name, *value) : defaults.*row.Lines;
    else
      options.*row.Text = value.value_or(defaults.*row.Text);
  }
  const std::string part = reading.Part();
  options.McuType = part.empty() ? defaults.McuType : part;
}

void LoadMakefileOptions(const std::string& projectFolder, TMakefileOptions& options) {
  TStringList lines;
  lines.LoadFromFile(ProjectMakefilePath(projectFolder));
  if (lines.Count() == 0 || IsSettingsMakefile(lines.Get(0)))
    ReadMakefileOptions(lines, options);
  else
    ReadOtherMakefileOptions(lines, options);
}

}  // namespace vk
