#include "services/EnvironmentMakefileOther.h"

#include <optional>
#include <sstream>

#include "services/EnvironmentMakefile.h"
#include "services/EnvironmentMakefileText.h"
#include "services/MakefileVariables.h"

namespace vk {

namespace {

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

}  // namespace

void ReadOtherMakefileOptions(const TStrings& lines, TMakefileOptions& options) {
  TMakefileReading reading(lines);
  const TMakefileOptions defaults;
  for (const TMakefileRow& row : MakefileRows()) {
    const std::string name = MakefileVariableName(row);
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

}  // namespace vk
