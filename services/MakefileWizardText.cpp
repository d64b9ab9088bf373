#include "services/MakefileWizardText.h"

#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "services/EnvironmentToolChain.h"
#include "platform/Streams.h"
#include "platform/StringLists.h"

namespace vk {

const std::array<const char*, 77> WizardParts = {
    "at90S1200",  "attiny11",   "attiny12",   "attiny15",   "attiny28",    "attiny13",    "attiny22",   "attiny24",
    "attiny25",   "attiny26",   "attiny44",   "attiny45",   "attiny84",    "attiny85",    "attiny261",  "attiny461",
    "attiny861",  "attiny2313", "at90S2323",  "at90S2333",  "at90S2343",   "at90S4414",   "at90S4433",  "at90S4434",
    "at90S8515",  "at90C8534",  "at90S8535",  "at86rf401",  "atmega103",   "atmega603",   "at43usb320", "at43usb355",
    "at76c711",   "atmega8",    "atmega48",   "atmega88",   "atmega8515",  "atmega8535",  "at90PWM2",   "at90PWM3",
    "atmega16",   "atmega161",  "atmega162",  "atmega163",  "atmega164P",  "atmega165",   "atmega165p", "atmega168",
    "atmega169",  "atmega169p", "atmega32",   "atmega323",  "atmega324P",  "atmega325",   "atmega3250", "atmega329",
    "atmega3290", "atmega406",  "atmega640",  "atmega64",   "atmega644",   "atmega644P",  "atmega645",  "atmega6450",
    "atmega649",  "atmega6490", "atmega128",  "atmega1280", "atmega1281",  "at90CAN32",   "at90CAN64",  "at90CAN128",
    "at90USB646", "at90USB647", "at90USB1286", "at90USB1287", "at94K"};

const char* const WizardCutLine = "$(TRG).o : $(TRG).c";

namespace {

// The template lines the wizard rewrites, by 0-based line number.
enum : int {
  IncDirLine = 10, LibDirLine = 11, BinDirLine = 12, FormatLine = 14, McuLine = 16, TargetLine = 18,
  SrcLine = 20, AsrcLine = 22, CompilerLine = 28, AssemblerLine = 29, LinkerLine = 30
};

}  // namespace

std::vector<TWizardSource> WizardSources(std::string_view list) {
  std::vector<TWizardSource> sources;
  size_t at = 0;
  while (at < list.size()) {
    const size_t start = list.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    size_t end = list.find_first_of(" \t", start);
    if (end == std::string_view::npos) end = list.size();
    const std::string file(list.substr(start, end - start));
    const size_t dot = file.rfind('.');
    sources.push_back({dot == std::string::npos || dot == 0 ? file : file.substr(0, dot), file});
    at = end;
  }
  return sources;
}

std::string WizardTemplatePath(const std::string& editorFolder) {
  return JoinPath(editorFolder, "makefile.");
}

std::string WizardEditorFolder() {
  const char* const name = EditorValue::EditorPath;
  TSettingsReader editorKey(AttrKeyNames[EditorKeyIndex]);
  if (!editorKey.ValueExists(name)) return "";
  if (std::optional<std::string> folder = editorKey.String(name)) return *folder;
  throw EMakefileWizard("'" + SettingsKeyPath(AttrKeyNames[EditorKeyIndex]) + "\\" + name + "'Cannot open file!");
}

std::string WizardMainName(const std::string& typed) {
  std::string name = TrimRight(typed);
  if (name.size() > 2 && name.ends_with(".c")) name.resize(name.size() - 2);
  return name;
}

std::vector<std::string> WizardMakefileLines(const TStrings& templateLines, const TMakefileWizardValues& values,
                                             const std::string& templatePath) {
  if (templateLines.Count() < WizardTemplateMinLines)
    throw EMakefileWizard(templatePath + " is too short for a makefile template!");
  std::vector<std::string> lines;
  for (int i = 0; i < templateLines.Count(); ++i) lines.push_back(templateLines.Get(i));

  // A blank at the end of a value would change what make reads ("main "
  // makes "main .c"), so values go in without trailing blanks.
  const auto value = [](const std::string& text) { return TrimRight(text); };
  lines[IncDirLine] = "\tINCDIR=" + value(values.IncludePath);
  lines[LibDirLine] = "\tLIBDIR=" + value(values.LibraryPath);
  // The template puts the bin folder in front of PATH (the shell make runs
  // recipes with is the system's).
  lines[BinDirLine] = "\tBINDIR=" + value(values.BinPath);
  lines[FormatLine] = "     FORMAT=" + value(values.HexFormat);
  lines[McuLine] = "\tMCU=" + MmcuSpelling(values.McuType);
  lines[TargetLine] = "\tTRG=" + WizardMainName(values.MainSource);
  lines[SrcLine] = "\tSRC=$(TRG).c";
  lines[AsrcLine] = "\tASRC=";
  lines[CompilerLine] = "\tCPFLAGS=" + value(values.CompilerFlags);
  lines[AssemblerLine] = "\tASFLAGS=" + value(values.AssemblerFlags);
  lines[LinkerLine] = "\tLDFLAGS=" + value(values.LinkerFlags);

  const std::vector<TWizardSource> cSources = WizardSources(values.CSources);
  const std::vector<TWizardSource> asmSources = WizardSources(values.AsmSources);
  if (!cSources.empty() || !asmSources.empty()) {
    lines[SrcLine] += " " + value(values.CSources);
    if (!asmSources.empty()) lines[AsrcLine] += " " + value(values.AsmSources);
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == WizardCutLine) {
      lines.resize(i + 1);
      break;
    }
  }
  for (const auto* list : {&cSources, &asmSources})
    for (const TWizardSource& source : *list) lines.push_back(source.Name + ".o: " + source.File);
  return lines;
}

void TMakefileWizardRun::BuildLines(const std::string& editorFolder) {
  Lines.clear();
  const std::string path = WizardTemplatePath(editorFolder);
  TStringList templateLines;
  try {
    templateLines.LoadFromFile(path);
  } catch (const EStreamError&) {
    FTemplateError = JoinPath(editorFolder, "makefile") + "Cannot open file!";
    throw EMakefileWizard(FTemplateError);
  }
  try {
    Lines = WizardMakefileLines(templateLines, Values, NativeFileName(path));
  } catch (const EMakefileWizard& e) {
    FTemplateError = e.Message();
    throw;
  }
  FTemplateError.clear();
}

std::string TMakefileWizardRun::Text() const {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  return text;
}

bool TMakefileWizardRun::Save(const std::function<bool(const std::string& path)>& mayReplace) {
  if (Values.SourceFolder.empty()) throw EMakefileWizard("C Source Target File needs to be chosen!");
  if (!HasLines()) throw EMakefileWizard(FTemplateError);
  const std::string path = ProjectMakefilePath(Values.SourceFolder);
  if (mayReplace && !mayReplace(path)) return false;
  try {
    SaveBytesToFile(path, Text());
  } catch (const EStreamError& e) {
    throw EMakefileWizard(e.Message());
  }
  FDone = true;
  return true;
}

}  // namespace vk
