// Filling the settings dialog when it is shown: the registry (the colour
// attributes, then the editor key), the project's AddFile.ini, then its
// makefile, whose values win over the registry's; last the part's picture.
// The radio groups' handlers stay out of it, so that no value read is
// overwritten by a rule meant for the user's clicks.

#include "services/BuildRunner.h"
#include "services/EditorSettings.h"
#include "services/EnvironmentMakefileOther.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "dialogs/EnvironmentDlg.h"
#include "platform/MessageBoxes.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"

namespace vk {

namespace {

// The editor key, read value by value into the controls. A truth value or
// number that is missing (or of another kind) ends the reading: the
// controls after it keep their values. A missing text reads as "".
class TEditorKeyReader {
public:
  TEditorKeyReader() : FKey(AttrKeyNames[EditorKeyIndex]) {}
  bool Check(const char* name, TCheckBox* box) {
    std::optional<bool> on = FKey.Bool(name);
    if (on) box->SetChecked(*on);
    return on.has_value();
  }
  // True selects the first item, false the second.
  bool Choice(const char* name, TRadioGroup* group) {
    std::optional<bool> first = FKey.Bool(name);
    if (first) group->SetItemIndex(*first ? 0 : 1);
    return first.has_value();
  }
  std::optional<int> Number(const char* name) { return FKey.Integer(name); }
  void Text(const char* name, TControl* control) { control->SetText(FKey.String(name).value_or("")); }

private:
  TSettingsReader FKey;
};

std::vector<std::string> LinesOf(const TStrings& strings) {
  std::vector<std::string> lines;
  for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings.Get(i));
  return lines;
}

}  // namespace

void TEnvironmentDlg::FormShow(TObject*) {
  {
    TTempValue<bool> loading(FLoading, true);
    ApplyAttributeSettings(*SrcAvrHl);
    LoadEditorKey();
  }
  LoadExtraSources();
  ReadMakefileOptions();
  FShownExtraSources = {McuCAddSourceEdit->Text(), McuAsmAddSourceEdit->Text()};
  ShowMcuPicture();
}

void TEnvironmentDlg::LoadEditorKey() {
  // The project comes from the main window, however far the registry can
  // be read: OK writes the project's files there.
  McuTargetEdit->SetText(BuildBaseName(FMainFile));
  McuTargetDirEdit->SetText(FProjectFolder);

  using namespace EditorValue;
  TEditorKeyReader key;
  if (!key.Check(Gutter, CBGutter) || !key.Check(GutterLineNumbers, CBLineNumbers) ||
      !key.Check(GutterLineNumbersZero, CBLineNumbersZero))
    return;
  std::optional<int> gutterWidth = key.Number(GutterWidth);
  if (!gutterWidth) return;
  CBGutterWidth->SetValue(*gutterWidth);
  key.Text(EditorFont, ComboBoxFont);
  std::optional<int> fontSize = key.Number(EditorFontSize);
  if (!fontSize) return;
  ComboBoxFontSize->SetText(IntToStr(*fontSize));
  const std::pair<const char*, TControl*> paths[] = {
      {GccIncludesPath, AvrGccIncludePathEdit}, {GccLibrariesPath, AvrGccLibPathEdit},
      {GccBinPath, AvrGccBinPathEdit},          {SouAvrMcuType, McuTypeComboBox},
      {EditorPath, VornkitPathEdit},            {EditorValue::AvrGccPath, AvrGccPathEdit}};
  for (auto [name, control] : paths) key.Text(name, control);
  EditorFolderAtShow = VornkitPathEdit->Text();

  std::optional<int> extMemory = key.Number(ExtMemoryOptionsName);
  if (!extMemory) return;
  ShowExtMemoryIndex(*extMemory == 0 ? 0 : *extMemory == 1 ? 1 : 2);
  key.Text(EditorValue::ExtMemoryOptionsEdit, ExtMemoryOptionsEdit);
  ExtMemoryOptionsEdit->SetText(UpToDateOption(ExtMemoryOptionsEdit->Text()));
  if (!key.Choice(AvrGccVornkitBool, VornkitRadioGroup)) return;
  const std::pair<const char*, TCheckBox*> options[] = {{AutoIndentModeBool, CBAutoIndentMode},
                                                         {CursorMoveEolBool, CBCursorMoveEol},
                                                         {SmartTabBool, CBSmartTab},
                                                         {InserModeBool, CBInserMode},
                                                         {AutoInsertBool, CheckBoxAutoInsert}};
  for (auto [name, box] : options)
    if (!key.Check(name, box)) return;
  if (!key.Choice(AutoMakefileCreateBool, RadioGroupMakeFile)) return;
  key.Text(EditorTabstop, ComboBoxTabstop);
  key.Text(EditorUndoLimit, ComboBoxUndoLimit);
}

void TEnvironmentDlg::LoadExtraSources() {
  const TExtraSources sources = ReadExtraSources(FProjectFolder).value_or(TExtraSources());
  McuCAddSourceEdit->SetText(sources.C);
  McuAsmAddSourceEdit->SetText(sources.Asm);
}

void TEnvironmentDlg::ReadMakefileOptions() {
  if (FProjectFolder.empty()) return;  // no project, no makefile
  TMakefileOptions options = MakefileOptions();
  auto load = [&] {
    try {
      if (!LoadMakefileOptions(FProjectFolder, options)) {
        // Another format: make tells what it builds, and the fields follow
        // that; where make cannot tell they keep their values.
        TBusyCursor busy;
        ImportOtherMakefile(FProjectFolder, FMainFile, FInstallFolder, options);
      }
      return true;
    } catch (const EStreamError&) {
      return false;
    }
  };
  // Without a makefile (a fresh project) the controls keep what they hold:
  // the registry's values and the default options.
  if (!load()) {
    if (MessageBox(" makefile Cannot open file!", Application().Title(), MB_OKCANCEL) != IDCANCEL) return;
    if (!load()) {
      ShowMessage(ProjectMakefilePath(FProjectFolder) + "Cannot open file!");
      return;
    }
  }
  ShowMakefileOptions(options);
}

// ---------------------------------------------------------------- the makefile's controls

TMakefileOptions TEnvironmentDlg::MakefileOptions() const {
  TMakefileOptions options;
  options.McuType = McuTypeComboBox->Text();
  options.McuFrq = McuFrqComboBox->Text();
  options.FileFormat = McuFileFormatComboBox->Text();
  options.Target = McuTargetEdit->Text();
  options.ObjDir = ObjDirEdit->Text();
  options.CAddSources = McuCAddSourceEdit->Text();
  options.CppAddSources = McuCppAddSourceEdit->Text();
  options.AsmAddSources = McuAsmAddSourceEdit->Text();
  options.Optimization = McuOptimizComboBox->Text();
  options.DebugFormat = McuDebugFormatEdit->Text();
  options.IncludePath = AvrGccIncludePathEdit->Text();
  options.CStandard = McuCstandardComboBox->Text();
  options.CDefs = McuCuOptionEdit->Text();
  options.AsmDefs = McuAuOptionEdit->Text();
  options.CppDefs = McuCppuOptionEdit->Text();
  options.IOptions = McuIoptionEdit->Text();
  options.CompilerOptions = LinesOf(CompilerOptionsMemo->Lines());
  options.CppCompilerOptions = LinesOf(CppCompilerOptionsMemo->Lines());
  options.AssemblerOptions = McuAssemblerOptionEdit->Text();
  options.PrintfLib = McuLibPrintfOptionEdit->Text();
  options.ScanfLib = McuLibScanfOptionEdit->Text();
  options.MathLib = McuLibMathOptionEdit->Text();
  options.ExtMemoryIndex = std::max(ExtMemoryOptionsRadioGroup->ItemIndex(), 0);
  options.ExtMemoryOptions = ExtMemoryOptionsEdit->Text();
  options.LinkerOptions = LinesOf(LinkerOptionsMemo->Lines());
  options.AvrdudeProgrammer = McuAvrHardwareOptionEdit->Text();
  options.AvrdudePort = McuAvrDudePortEdit->Text();
  options.AvrdudeWriteEeprom = McuAvrDudeWriteEepromEdit->Text();
  options.AvrdudeWriteFlash = McuAvrDudeWriteFlashEdit->Text();
  options.AvrdudeEraseCounter = McuAvrDudeEraseCntEdit->Text();
  options.AvrdudeNoVerify = McuAvrDudeNoVerifyEdit->Text();
  options.AvrdudeFlags = LinesOf(McuAvrDudeFlagsMemo->Lines());
  return options;
}

void TEnvironmentDlg::ShowMakefileOptions(const TMakefileOptions& options) {
  const std::pair<TControl*, const std::string&> texts[] = {
      {McuTypeComboBox, options.McuType},
      {McuFrqComboBox, options.McuFrq},
      {McuFileFormatComboBox, options.FileFormat},
      {McuTargetEdit, options.Target},
      {ObjDirEdit, options.ObjDir},
      {McuCAddSourceEdit, options.CAddSources},
      {McuCppAddSourceEdit, options.CppAddSources},
      {McuAsmAddSourceEdit, options.AsmAddSources},
      {McuOptimizComboBox, options.Optimization},
      {McuDebugFormatEdit, options.DebugFormat},
      {AvrGccIncludePathEdit, options.IncludePath},
      {McuCstandardComboBox, options.CStandard},
      {McuCuOptionEdit, options.CDefs},
      {McuAuOptionEdit, options.AsmDefs},
      {McuCppuOptionEdit, options.CppDefs},
      {McuIoptionEdit, options.IOptions},
      {McuAssemblerOptionEdit, options.AssemblerOptions},
      {McuLibPrintfOptionEdit, options.PrintfLib},
      {McuLibScanfOptionEdit, options.ScanfLib},
      {McuLibMathOptionEdit, options.MathLib},
      {ExtMemoryOptionsEdit, options.ExtMemoryOptions},
      {McuAvrHardwareOptionEdit, options.AvrdudeProgrammer},
      {McuAvrDudePortEdit, options.AvrdudePort},
      {McuAvrDudeWriteEepromEdit, options.AvrdudeWriteEeprom},
      {McuAvrDudeWriteFlashEdit, options.AvrdudeWriteFlash},
      {McuAvrDudeEraseCntEdit, options.AvrdudeEraseCounter},
      {McuAvrDudeNoVerifyEdit, options.AvrdudeNoVerify},
  };
  for (auto [control, text] : texts) control->SetText(text);
  const std::pair<TMemo*, const std::vector<std::string>&> memos[] = {
      {CompilerOptionsMemo, options.CompilerOptions},
      {CppCompilerOptionsMemo, options.CppCompilerOptions},
      {LinkerOptionsMemo, options.LinkerOptions},
      {McuAvrDudeFlagsMemo, options.AvrdudeFlags},
  };
  for (auto [memo, lines] : memos) SetMemoLines(memo, lines);
}

void TEnvironmentDlg::SetMemoLines(TMemo* memo, const std::vector<std::string>& lines) {
  TStringsUpdate update(memo->Lines());
  memo->Lines().Clear();
  for (const std::string& line : lines) memo->Lines().Add(line);
}

}  // namespace vk
