// OK in the settings dialog: every value is checked first, so that a value
// that cannot be taken stops OK before anything is written; then the
// makefile (unless the user keeps a makefile of their own, or declines to
// have one the program did not write replaced), the documents' colours, the
// registry, the open editors and AddFile.ini, in that order. A declined
// replacement leaves the project folder as it was but for the source lists
// the user changed.

#include "services/EditorSettings.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "dialogs/EnvironmentDlg.h"
#include "dialogs/MakefileReplaceQuestion.h"
#include "platform/MessageBoxes.h"
#include "platform/Streams.h"

namespace vk {

namespace {

// The editor page's numbers, checked before anything is written.
struct TEditorNumbers {
  int FontSize;
  int GutterWidth;
};

}  // namespace

void TEnvironmentDlg::OKBtnClick(TObject*) {
  // Each check raises the conversion error the error box reports; the
  // dialog then stays open with nothing written.
  const TMakefileOptions options = MakefileOptions();
  // "User makefile": the project's makefile is the user's, left as it is.
  const bool writeMakefile = RadioGroupMakeFile->ItemIndex() != 1;
  if (writeMakefile) CheckMakefileOptions(options);
  const int fontSize = StrToInt(ComboBoxFontSize->Text());
  if (fontSize < 1) throw EConvertError(Format("'%s' is not a valid font size", ComboBoxFontSize->Text().c_str()));
  StrToInt(ComboBoxTabstop->Text());
  StrToInt(ComboBoxUndoLimit->Text());
  // The spin edit keeps a typed number within its limits, as leaving it would.
  CBGutterWidth->SetValue(StrToInt(CBGutterWidth->Text()));

  const bool declined = writeMakefile && !WriteProjectMakefile(options);
  ApplyColors();
  WriteRegistry(fontSize);
  ApplyToEditors();
  if (!declined || McuCAddSourceEdit->Text() != FShownExtraSources.C ||
      McuAsmAddSourceEdit->Text() != FShownExtraSources.Asm)
    WriteAddFile();
  SetModalResult(mrOk);
}

bool TEnvironmentDlg::WriteProjectMakefile(const TMakefileOptions& options) {
  if (FProjectFolder.empty()) return true;  // no project, no project files
  // A makefile of the user's stays unless they agree; declined, it is left
  // as "User makefile" leaves it, and the settings are stored all the same.
  const auto losses = [&] {
    return MakefileReplacementLosses(FProjectFolder, FMainFile, FInstallFolder, MakefileText(options));
  };
  if (!MayReplaceMakefile(ProjectMakefilePath(FProjectFolder), losses)) return false;
  try {
    WriteMakefile(FProjectFolder, options);
  } catch (const EMakefileSave& e) {
    ShowMessage(e.Message());
  }
  return true;
}

void TEnvironmentDlg::ApplyColors() {
  if (!FSharedHighlighter) return;
  for (int i = 0; i < HighlighterAttrCount; ++i)
    HighlighterAttribute(*FSharedHighlighter, i).AssignColorAndStyle(HighlighterAttribute(*SrcAvrHl, i));
}

void TEnvironmentDlg::WriteRegistry(int fontSize) {
  WriteAttributeSettings(*SrcAvrHl);
  using namespace EditorValue;
  auto text = [](const char* name, const TControl* control) {
    return TSettingDefault{name, skString, control->Text(), 0};
  };
  auto flag = [](const char* name, bool on) { return TSettingDefault{name, skBool, "", on ? 1 : 0}; };
  auto number = [](const char* name, int value) { return TSettingDefault{name, skInteger, "", value}; };
  const int extMemory = ExtMemoryOptionsRadioGroup->ItemIndex();
  vk::WriteSettings(AttrKeyNames[EditorKeyIndex],
                    {
                        flag(Gutter, CBGutter->Checked()),
                        flag(GutterLineNumbers, CBLineNumbers->Checked()),
                        flag(GutterLineNumbersZero, CBLineNumbersZero->Checked()),
                        number(GutterWidth, CBGutterWidth->Value()),
                        text(EditorFont, ComboBoxFont),
                        number(EditorFontSize, fontSize),
                        text(GccIncludesPath, AvrGccIncludePathEdit),
                        text(GccLibrariesPath, AvrGccLibPathEdit),
                        text(GccBinPath, AvrGccBinPathEdit),
                        text(SouAvrMcuType, McuTypeComboBox),
                        text(SouSourceName, McuTargetEdit),
                        text(SouSourcePath, McuTargetDirEdit),
                        text(EditorPath, VornkitPathEdit),
                        text(EditorValue::AvrGccPath, AvrGccPathEdit),
                        text(McuFrq, McuFrqComboBox),
                        number(ExtMemoryOptionsName, extMemory <= 0 ? 0 : extMemory == 1 ? 1 : 2),
                        text(EditorValue::ExtMemoryOptionsEdit, ExtMemoryOptionsEdit),
                        flag(AvrGccVornkitBool, VornkitRadioGroup->ItemIndex() == 0),
                        flag(AutoIndentModeBool, CBAutoIndentMode->Checked()),
                        flag(CursorMoveEolBool, CBCursorMoveEol->Checked()),
                        flag(SmartTabBool, CBSmartTab->Checked()),
                        flag(InserModeBool, CBInserMode->Checked()),
                        flag(AutoInsertBool, CheckBoxAutoInsert->Checked()),
                        flag(AutoMakefileCreateBool, RadioGroupMakeFile->ItemIndex() == 0),
                        text(EditorTabstop, ComboBoxTabstop),
                        text(EditorUndoLimit, ComboBoxUndoLimit),
                    });
}

void TEnvironmentDlg::ApplyToEditors() {
  // The editors take the values just stored through the reader every
  // document window uses when it is shown, so an open document looks as
  // one opened afterwards will.
  for (const TOpenEditor& open : FEditors) {
    ApplyEditorKeySettings(*open.Editor);
    if (open.LineNumberCmd) open.LineNumberCmd->SetChecked(open.Editor->Gutter().Visible());
  }
}

void TEnvironmentDlg::WriteAddFile() {
  try {
    vk::WriteExtraSources(FProjectFolder, {McuCAddSourceEdit->Text(), McuAsmAddSourceEdit->Text()});
  } catch (const EStreamError&) {
    // Passed over: the makefile just written holds the lists the build
    // compiles.
  }
}

}  // namespace vk
