// The handlers of the settings dialog's option pages: the Default buttons,
// the radio groups, the folder pickers, the part information, the extra
// source pickers and the editor page's number boxes.

#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/PartSizes.h"
#include "services/SharedTables.h"
#include "dialogs/EnvironmentDlg.h"
#include "dialogs/PartListBox.h"
#include "services/EnvironmentToolChain.h"
#include "platform/Dialogs.h"
#include "platform/FileSearch.h"
#include "platform/MessageBoxes.h"
#include "platform/ScopeGuard.h"

namespace vk {

namespace {

// Where the tool chain lies when it is not inside the editor folder: the
// system's own installation.
const char* const SystemToolChainFolder = "/usr";
// The picture of a part that has none (or whose picture is missing).
const char* const NoPictureName = "NotFoundImage.jpg";

// A whole number in the box is kept within low..high; other text is left
// for OK to refuse.
void KeepWithin(TComboBox* box, int low, int high) {
  int value = 0;
  try {
    value = StrToInt(box->Text());
  } catch (const EConvertError&) {
    return;
  }
  if (value < low)
    box->SetText(IntToStr(low));
  else if (value > high)
    box->SetText(IntToStr(high));
}

// The font boxes take list items only: the text becomes the chosen item,
// or empty when the text is none.
void TakeListItem(TComboBox* box) {
  const int index = box->ItemIndex();
  box->SetText(index >= 0 ? box->Items().Get(index) : std::string());
}

// The files in the folder whose names match the mask ("*.c"), into the
// list; a bare mask searches the current folder.
void ListSources(const std::string& folder, const std::string& mask, TStrings& list) {
  // Files only: a folder is no source.
  const int attributes = faAnyFile & ~faDirectory;
  TSearchRec rec;
  for (int found = FindFirst(folder.empty() ? mask : JoinPath(folder, mask), attributes, rec); found == 0;
       found = FindNext(rec))
    if ((rec.Attr & ~attributes) == 0) list.Add(rec.Name);
  FindClose(rec);
}

}  // namespace

// ---------------------------------------------------------------- Default buttons

void TEnvironmentDlg::CompilerOptionsDefaultBtnClick(TObject*) {
  SetMemoLines(CompilerOptionsMemo, MakefileDefaults::CompilerOptions());
  SetMemoLines(CppCompilerOptionsMemo, MakefileDefaults::CppCompilerOptions());
}

void TEnvironmentDlg::ExtlMemoryOptionsDefaultBtnClick(TObject*) {
  // The button stands beside the external memory controls: it resets them.
  ShowExtMemoryIndex(0);
  ExtMemoryOptionsEdit->SetText("");
}

void TEnvironmentDlg::DorUOptionsDefaultBtnClick(TObject*) {
  for (TEdit* edit : {McuCuOptionEdit, McuCppuOptionEdit, McuAuOptionEdit})
    edit->SetText(MakefileDefaults::DorUOption);
}

void TEnvironmentDlg::IOptionsDefaultBtnClick(TObject*) { McuIoptionEdit->SetText(""); }

void TEnvironmentDlg::OptimizationlevelDefaultBtnClick(TObject*) {
  McuOptimizComboBox->SetText(MakefileDefaults::Optimization);
}

void TEnvironmentDlg::AssemblerOptionsDefaultBtnClick(TObject*) {
  McuAssemblerOptionEdit->SetText(MakefileDefaults::AssemblerOptions);
}

void TEnvironmentDlg::LinkerOptionsDefaultBtnClick(TObject*) {
  SetMemoLines(LinkerOptionsMemo, MakefileDefaults::LinkerOptions());
}

void TEnvironmentDlg::LinkOptBootDefaultBtnClick(TObject*) {
  SetMemoLines(LinkerOptionsMemo, MakefileDefaults::BootLoaderLinkerOptions());
}

void TEnvironmentDlg::LibraryOptionsDefaultButtonClick(TObject*) {
  // The version choices go back with their texts, so that neither shows a
  // floating-point choice beside the standard library's text.
  PrintfOptionsRadioGroup->SetItemIndex(0);
  ScanfOptionsRadioGroup->SetItemIndex(0);
  McuLibPrintfOptionEdit->SetText(MakefileDefaults::PrintfLib);
  McuLibScanfOptionEdit->SetText(MakefileDefaults::ScanfLib);
  McuLibMathOptionEdit->SetText(MakefileDefaults::MathLib);
}

void TEnvironmentDlg::PrinterOptBootDefaultBtnClick(TObject*) {
  // Empty texts mean the standard versions.
  PrintfOptionsRadioGroup->SetItemIndex(0);
  ScanfOptionsRadioGroup->SetItemIndex(0);
  for (TEdit* edit : {McuLibPrintfOptionEdit, McuLibScanfOptionEdit, McuLibMathOptionEdit}) edit->SetText("");
}

void TEnvironmentDlg::DebugFormatDefaultBtnClick(TObject*) {
  McuDebugFormatEdit->SetText(MakefileDefaults::DebugFormat);
}

void TEnvironmentDlg::McuAvrHardwareOptionDefaultBtnClick(TObject*) {
  using namespace MakefileDefaults;
  const std::pair<TEdit*, const char*> values[] = {
      {McuAvrHardwareOptionEdit, AvrdudeProgrammer}, {McuAvrDudePortEdit, AvrdudePort},
      {McuAvrDudeWriteEepromEdit, AvrdudeWriteEeprom}, {McuAvrDudeWriteFlashEdit, AvrdudeWriteFlash},
      {McuAvrDudeEraseCntEdit, AvrdudeEraseCounter},  {McuAvrDudeNoVerifyEdit, AvrdudeNoVerify}};
  for (auto [edit, value] : values) edit->SetText(value);
}

void TEnvironmentDlg::McuAvrDudeFlagsDefaultBtnClick(TObject*) {
  SetMemoLines(McuAvrDudeFlagsMemo, MakefileDefaults::AvrdudeFlags());
}

void TEnvironmentDlg::Avr_GccDefaultPathBtnClick(TObject*) {
  for (TEdit* edit : {AvrGccIncludePathEdit, AvrGccLibPathEdit, AvrGccBinPathEdit})
    edit->SetText(JoinPath(EditorFolderAtShow, "."));
  ObjDirEdit->SetText(MakefileDefaults::ObjDir);
}

void TEnvironmentDlg::Avr_GccDirDefaultPathBtnClick(TObject*) {
  // The choice first: its rule would otherwise rewrite the default path.
  VornkitRadioGroup->SetItemIndex(0);
  AvrGccPathEdit->SetText(JoinPath(LookUpInstallFolder().Folder, "WinAvr"));
}

void TEnvironmentDlg::EditMainDefaultPathBtnClick(TObject*) {
  VornkitPathEdit->SetText(LookUpInstallFolder().Folder);
  CheckBoxAutoInsert->SetChecked(false);
}

void TEnvironmentDlg::Button3Click(TObject*) {
  CBGutter->SetChecked(true);
  CBLineNumbers->SetChecked(false);
  CBLineNumbersZero->SetChecked(false);
  CBGutterWidth->SetValue(25);
  ComboBoxFont->SetText("Courier New");
  ComboBoxFontSize->SetText("10");
  ComboBoxTabstop->SetText("8");
  ComboBoxUndoLimit->SetText("1024");
  CBAutoIndentMode->SetChecked(true);
  CBCursorMoveEol->SetChecked(false);
  CBSmartTab->SetChecked(false);
  CBInserMode->SetChecked(true);
}

// ---------------------------------------------------------------- radio groups

void TEnvironmentDlg::ShowExtMemoryIndex(int index) {
  {
    TTempValue<bool> loading(FLoading, true);
    ExtMemoryOptionsRadioGroup->SetItemIndex(index);
  }
  ExtMemoryOptionsEdit->SetEnabled(index != 0);
  ExtMemoryOptionsEdit->SetColor(index != 0 ? clWindow : clBtnFace);
}

void TEnvironmentDlg::ExtMemoryOptionsRadioGroupClick(TObject*) {
  if (FLoading) return;
  const int index = ExtMemoryOptionsRadioGroup->ItemIndex();
  ExtMemoryOptionsEdit->SetText(index <= 0   ? ""
                                : index == 1 ? MakefileDefaults::ExtMemoryForData
                                             : MakefileDefaults::ExtMemoryForHeap);
  ShowExtMemoryIndex(index);
}

void TEnvironmentDlg::PrintfOptionsRadioGroupClick(TObject*) {
  if (FLoading) return;
  McuLibPrintfOptionEdit->SetText(PrintfOptionsRadioGroup->ItemIndex() == 1 ? MakefileDefaults::PrintfFloatLib
                                                                            : MakefileDefaults::PrintfLib);
}

void TEnvironmentDlg::ScanfOptionsRadioGroupClick(TObject*) {
  if (FLoading) return;
  McuLibScanfOptionEdit->SetText(ScanfOptionsRadioGroup->ItemIndex() == 1 ? MakefileDefaults::ScanfFloatLib
                                                                          : MakefileDefaults::ScanfLib);
}

void TEnvironmentDlg::VornkitRadioGroupClick(TObject*) {
  if (FLoading) return;
  AvrGccPathEdit->SetText(VornkitRadioGroup->ItemIndex() == 0 ? JoinPath(VornkitPathEdit->Text(), "WinAvr")
                                                              : SystemToolChainFolder);
}

// ---------------------------------------------------------------- folder pickers

void TEnvironmentDlg::FolderPickerClick(TObject*) {
  // The folder is shown for the user to type; the edit stays as it is.
  std::string folder;
  SelectDirectory("Select a directory", "", folder);
  ShowMessage(folder);
}

// ---------------------------------------------------------------- the part

void TEnvironmentDlg::McuTypeComboBoxChange(TObject*) {
  ShowMcuInfo();
  TakeChosenPart(*McuTypeComboBox);
}

// Parts the installed compiler cannot build C for carry a mark.
void TEnvironmentDlg::McuTypeComboBoxDropDown(TObject*) { MarkPartList(*McuTypeComboBox); }

void TEnvironmentDlg::ShowMcuInfo() {
  const int row = McuTypeComboBox->ItemIndex();
  if (row >= 0 && row < McuCount) ShowMcuRow(row);
}

void TEnvironmentDlg::ShowMcuPicture() {
  const int row = IndexOfMcu(McuTypeComboBox->Text());
  if (row >= 0)
    ShowMcuRow(row);
  else
    ShowToolChainSizes(McuTypeComboBox->Text());
}

// A part the table lacks (one a makefile names): its sizes as the tool
// chain gives them.
void TEnvironmentDlg::ShowToolChainSizes(const std::string& part) {
  const TPartSizes sizes = PartSizes(MmcuSpelling(part), FInstallFolder);
  const std::tuple<TLabel*, std::optional<uint64_t>, uint64_t, const char*> rows[] = {
      {Label11, sizes.Flash, 1024, "KBytes"}, {Label12, sizes.Sram, 1, "Bytes"}, {Label18, sizes.Eeprom, 1, "Bytes"}};
  for (const auto& [label, bytes, unit, name] : rows)
    label->SetCaption(bytes ? PartSizeText(bytes, unit) + name : "Unknown");
}

void TEnvironmentDlg::ShowMcuRow(int row) {
  const TMcuRow& mcu = McuTable[static_cast<size_t>(row)];
  LoadPartPicture(mcu.Picture);
  Label11->SetCaption(std::string(mcu.Flash) + "KBytes");
  Label18->SetCaption(std::string(mcu.Eeprom) + "Bytes");
  Label12->SetCaption(std::string(mcu.Sram) + "Bytes");
}

void TEnvironmentDlg::LoadPartPicture(const std::string& picture) {
  const std::string folder = JoinPath(VornkitPathEdit->Text(), "image");
  for (const std::string& name : {picture, std::string(NoPictureName)}) {
    try {
      Image1->Picture()->LoadFromFile(JoinPath(folder, name));
      return;
    } catch (const Exception&) {
    }
  }
  // Neither picture can be read: none, rather than the last part's.
  Image1->SetPicture(TPicture());
}

// ---------------------------------------------------------------- extra sources

void TEnvironmentDlg::OpenSourcePicker(TPanel* panel, TListBox* list, const std::string& mask) {
  for (TPanel* other : {PanelCSourceAdd, PanelCppSourceAdd, PanelAsmSourceAdd}) other->SetVisible(other == panel);
  TStringsUpdate update(list->Items());
  list->Clear();
  // The project's own folder, where its sources are.
  ListSources(FProjectFolder, mask, list->Items());
}

void TEnvironmentDlg::TakePickedSource(TListBox* list, TEdit* edit, TPanel* panel) {
  const int index = list->ItemIndex();
  if (index < 0) return;
  const std::string name = list->Items().Get(index);
  if (const std::string problem = SourceNameProblem(name); !problem.empty()) {
    ShowMessage(problem);  // the list stays open for another pick
    return;
  }
  edit->SetText(edit->Text().empty() ? name : edit->Text() + " " + name);
  panel->SetVisible(false);
}

void TEnvironmentDlg::BtnCSourceAddClick(TObject*) { OpenSourcePicker(PanelCSourceAdd, ListBoxAddSourceC, "*.c"); }

void TEnvironmentDlg::BtnCppSourceAddClick(TObject*) {
  OpenSourcePicker(PanelCppSourceAdd, ListBoxAddSourceCpp, "*.cpp");
}

void TEnvironmentDlg::BtnAsmSourceAddClick(TObject*) {
  OpenSourcePicker(PanelAsmSourceAdd, ListBoxAddSourceAsm, "*.s");
}

void TEnvironmentDlg::ListBoxAddSourceCDblClick(TObject*) {
  TakePickedSource(ListBoxAddSourceC, McuCAddSourceEdit, PanelCSourceAdd);
}

void TEnvironmentDlg::ListBoxAddSourceCppDblClick(TObject*) {
  TakePickedSource(ListBoxAddSourceCpp, McuCppAddSourceEdit, PanelCppSourceAdd);
}

void TEnvironmentDlg::ListBoxAddSourceAsmDblClick(TObject*) {
  TakePickedSource(ListBoxAddSourceAsm, McuAsmAddSourceEdit, PanelAsmSourceAdd);
}

void TEnvironmentDlg::BitBtnAddCancelCClick(TObject*) { PanelCSourceAdd->SetVisible(false); }

void TEnvironmentDlg::BitBtnAddCancelCppClick(TObject*) { PanelCppSourceAdd->SetVisible(false); }

void TEnvironmentDlg::BitBtnAddCancelAsmClick(TObject*) { PanelAsmSourceAdd->SetVisible(false); }

// ---------------------------------------------------------------- the editor page

void TEnvironmentDlg::ComboBoxTabstopChange(TObject*) { KeepWithin(ComboBoxTabstop, 1, 255); }

void TEnvironmentDlg::ComboBoxUndoLimitChange(TObject*) { KeepWithin(ComboBoxUndoLimit, 1, 32767); }

// The font takes effect with OK, so that Cancel leaves the documents as
// they were.
void TEnvironmentDlg::ComboBoxFontChange(TObject*) { TakeListItem(ComboBoxFont); }

void TEnvironmentDlg::ComboBoxFontSizeChange(TObject*) { TakeListItem(ComboBoxFontSize); }

}  // namespace vk
