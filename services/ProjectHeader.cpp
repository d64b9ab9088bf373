#include "services/ProjectHeader.h"

#include "SrcEdit/Source/SrcEdit.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/FilePaths.h"
#include "platform/Registry.h"
#include "platform/StringLists.h"
#include "platform/SysUtils.h"

namespace vk {

const char* const HeaderAlreadyCreatedMessage = "Already Created[Project] Comment!";
const char* const HeaderNotFoundMessage = "Cannot Found [Project] Comment!";
const char* const PrjNameSaveFailedMessage = "Not an Registry file";

static_assert(PrjNameFieldCount == ProjectHeaderFieldCount, "one edit per stored field");

namespace {

const char* const StartMarker = "__VornkitPrjName__START";
const char* const EndMarker = "__VornkitPrjName__END";

// The block's first and last lines, 80 characters each.
std::string StartLine() { return std::string("/*") + StartMarker + std::string(55, '-'); }
std::string EndLine() { return std::string(57, '-') + EndMarker + "*/"; }

// The text after "n." on block line n, in field order.
const char* const FieldLabels[PrjNameFieldCount] = {
    " Project Name      :",
    " Author\t        :",
    " Company\t        :",
    " A Drafter\t        :",
    " Homepage\t        :",
    " Email\t        :",
    " Phone Number      :",
    " Filename\t        :",
    " Version\t        :",
    " CreatedDate       :",
    " ModifiedDate\t:",
    " License\t        :",
    " MCU Type\t        :",
    " Clock Frequency\t:",
    " Add Source Name\t:",
    " Compiler\t        :",
    " SubMenu\t        :",
};

const char* ValueName(int field) { return ProjectHeaderFields[field].Name; }

// The five fields the insert command takes from the project, stored in the
// registry; a failure ends the writing quietly.
void StoreProjectFields(const TProjectHeaderContext& context) {
  std::string mcuType, clock;
  {
    TSettingsReader editorKey(AttrKeyNames[EditorKeyIndex]);
    mcuType = editorKey.String(EditorValue::SouAvrMcuType).value_or("");
    clock = editorKey.String(EditorValue::McuFrq).value_or("");
  }
  TRegistry reg;
  try {
    if (!reg.OpenKey(SettingsKeyPath(ProjectHeaderKey), true)) return;
    reg.WriteString(ValueName(pfModifiedDate), ModificationStamp(context.Now));
    reg.WriteString(ValueName(pfMcuType), mcuType);
    reg.WriteString(ValueName(pfClockFrequency), clock);
    reg.WriteString(ValueName(pfAddSourceName), ReadExtraSourceLine(context.ProjectFolder).value_or(""));
    reg.WriteString(ValueName(pfFilename), ExtractFileName(context.Caption));
  } catch (const ERegistryException&) {
  }
}

}  // namespace

std::vector<std::string> ProjectHeaderLines(const TPrjNameFields& fields) {
  std::vector<std::string> lines;
  lines.push_back(StartLine());
  for (int n = 0; n < PrjNameFieldCount; ++n)
    lines.push_back(std::to_string(n + 1) + "." + FieldLabels[n] + fields[n]);
  lines.push_back(EndLine());
  return lines;
}

std::string ModificationStamp(const std::tm& local) {
  return Format("%04d-%02d-%02d-%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min);
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

TProjectHeaderPosition FindProjectHeader(const TStrings& lines, TMarkerMatch match) {
  const std::string start = match == mmWholeLine ? StartLine() : StartMarker;
  const std::string end = match == mmWholeLine ? EndLine() : EndMarker;
  const auto holds = [match](const std::string& line, const std::string& marker) {
    return match == mmWholeLine ? line == marker : line.find(marker) != std::string::npos;
  };
  TProjectHeaderPosition at;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = lines.Get(i);
    if (holds(line, start)) at.Start = i;
    if (holds(line, end)) {
      at.End = i;
      break;
    }
  }
  return at;
}

void LoadPrjNameFields(TPrjNameFields& fields) {
  TSettingsReader reader(ProjectHeaderKey);
  if (!reader.KeyExists()) return;
  for (int n = 0; n < PrjNameFieldCount; ++n) {
    const std::optional<std::string> value = reader.ValueExists(ValueName(n)) ? reader.String(ValueName(n)) : "";
    if (!value) return;  // a value of another kind ends the reading
    fields[n] = *value;
  }
}

bool SavePrjNameFields(TPrjNameFields& fields) {
  bool saved = false;
  {
    TRegistry reg;
    try {
      if (reg.OpenKey(SettingsKeyPath(ProjectHeaderKey), true)) {
        for (int n = 0; n < PrjNameFieldCount; ++n) reg.WriteString(ValueName(n), fields[n]);
        saved = true;
      }
    } catch (const ERegistryException&) {
    }
  }
  LoadPrjNameFields(fields);
  return saved;
}

TProjectHeaderResult InsertProjectHeader(TCustomSrcEdit& editor, TPrjNameFields& fields,
                                         const TProjectHeaderContext& context) {
  const TProjectHeaderPosition at = FindProjectHeader(editor.Lines(), mmAnywhere);
  StoreProjectFields(context);
  LoadPrjNameFields(fields);
  if (at.Exists()) return phAlreadyCreated;
  std::string block;
  for (const std::string& line : ProjectHeaderLines(fields)) block += line + "\r\n";
  // An empty document gets the block's lines alone.
  if (editor.Lines().Count() == 0) block.resize(block.size() - 2);
  editor.ReplaceRange({1, 1}, {1, 1}, block);
  return phChanged;
}

TProjectHeaderResult DeleteProjectHeader(TCustomSrcEdit& editor) {
  // A field's text stands inside the block and may hold a marker's text:
  // only whole marker lines tell where the block begins and ends.
  const TProjectHeaderPosition at = FindProjectHeader(editor.Lines(), mmWholeLine);
  // An END without a START above it is no block: nothing is removed.
  if (!at.Exists() || at.Start < 0) return phNotFound;
  const TStrings& lines = editor.Lines();
  const auto endOf = [&](int line) { return TBufferCoord{static_cast<int>(lines.Get(line).size()) + 1, line + 1}; };
  TBufferCoord from{1, at.Start + 1};
  TBufferCoord to{1, at.End + 2};
  if (at.End + 1 >= lines.Count()) {
    // The block ends the text: take the line break above it instead.
    to = endOf(at.End);
    if (at.Start > 0) from = endOf(at.Start - 1);
  }
  editor.ReplaceRange(from, to, "");
  return phChanged;
}

}  // namespace vk
