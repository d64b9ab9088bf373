#include "services/EnvironmentMakefile.h"

#include <algorithm>

#include "services/ProjectFiles.h"
#include "services/EnvironmentMakefileText.h"
#include "services/EnvironmentToolChain.h"
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
                                MakefileVariableName(row).c_str()));
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

// The lines as make joins them: a line ending in an odd number of "\"
// goes on in the next one, joined by one blank.
std::vector<std::string> JoinedMakefileLines(const TStrings& lines) {
  std::vector<std::string> joined;
  bool continued = false;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines.Get(i);
    if (continued)
      joined.back() = TrimRight(joined.back()) + " " + TrimLeft(line);
    else
      joined.push_back(line);
    const std::string& last = joined.back();
    const size_t backslashes = last.size() - (last.find_last_not_of('\\') + 1);
    continued = backslashes % 2 == 1;
    if (continued) joined.back().pop_back();
  }
  return joined;
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

bool IsOwnProjectMakefile(const std::string& projectFolder) {
  if (projectFolder.empty()) return false;
  try {
    return IsOwnMakefile(LoadBytesFromFile(ProjectMakefilePath(projectFolder)));
  } catch (const EStreamError&) {
    return false;
  }
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
  for (const std::string& line : JoinedMakefileLines(lines)) {
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

bool LoadMakefileOptions(const std::string& projectFolder, TMakefileOptions& options) {
  TStringList lines;
  lines.LoadFromFile(ProjectMakefilePath(projectFolder));
  if (lines.Count() > 0 && !IsSettingsMakefile(lines.Get(0))) return false;
  ReadMakefileOptions(lines, options);
  return true;
}

}  // namespace vk
