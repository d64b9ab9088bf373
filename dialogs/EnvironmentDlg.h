#pragma once
// The settings dialog: twelve pages with the project's part and build
// options (which make its makefile), the tool-chain and editor folders, the
// project's extra sources, the editor's display options and the colours of
// the C-for-AVR highlighting.
//
// The environment command makes a new dialog each time, hands it the
// current project (its folder and main file), the highlighter the documents
// share and the editors of the open documents, and shows it modally:
//   Application().CreateForm(EnvironmentDlg);
//   EnvironmentDlg->SetProject(folder, mainFile);
//   EnvironmentDlg->SetTargets(&SrcAvrHl, editors);
//   EnvironmentDlg->ShowModal();
// Showing fills the controls from the registry, the project's AddFile.ini
// and its makefile, in that order; OK checks every value first and then
// writes the makefile, the colours, the registry, the editors and
// AddFile.ini; Cancel leaves everything as it was. The dialog frees itself
// when it closes.
//
// The implementation is split by concern:
//   EnvironmentDlg.cpp         the form, its buttons and its life cycle
//   EnvironmentDlgPages.cpp    the controls of the first eleven pages
//   EnvironmentDlgOptions.cpp  their handlers: defaults, radio groups,
//                              pickers, part information, source lists
//   EnvironmentDlgColors.cpp   the colour page with its preview
//   EnvironmentDlgLoad.cpp     filling the controls when shown
//   EnvironmentDlgApply.cpp    OK

#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "services/EnvironmentMakefile.h"
#include "services/ProjectFiles.h"
#include "platform/Actions.h"
#include "platform/Buttons.h"
#include "platform/CheckBoxes.h"
#include "platform/ColorGrids.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/ExtImages.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/ListBoxes.h"
#include "platform/Memos.h"
#include "platform/PageControls.h"
#include "platform/Panels.h"
#include "platform/RadioGroups.h"
#include "platform/SpinEdits.h"

namespace vk {

// The editor folder as the last showing read it; the tool-chain path
// defaults are built from it. It outlives the dialog.
extern std::string EditorFolderAtShow;

// An open document's editor, which OK brings up to date, and its command
// whose check mark follows the gutter (none: no check mark to follow).
struct TOpenEditor {
  TCustomSrcEdit* Editor = nullptr;
  TCustomAction* LineNumberCmd = nullptr;
};

class TEnvironmentDlg : public TForm {
public:
  explicit TEnvironmentDlg(TComponent* owner);
  ~TEnvironmentDlg() override;
  std::string ClassName() const override { return "TEnvironmentDlg"; }

  // The current project: its folder ("" for none: no project file is read
  // or written) and its main file's name.
  void SetProject(const std::string& folder, const std::string& mainFile);
  // The install folder, whose tool chain make and the compiler are found
  // in, as the build finds them.
  void SetInstallFolder(const std::string& folder) { FInstallFolder = folder; }
  // What OK applies to: the documents' highlighter (may be null) and the
  // open documents' editors.
  void SetTargets(TSrcAvrHl* sharedHighlighter, std::vector<TOpenEditor> editors);

  // The makefile's values as the controls show them, and the controls set
  // from them (except the external memory choice, which the file does not
  // carry).
  TMakefileOptions MakefileOptions() const;
  void ShowMakefileOptions(const TMakefileOptions& options);

  // ----- event handlers
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void OKBtnClick(TObject* Sender);
  void CancelBtnClick(TObject* Sender);
  void McuTypeComboBoxChange(TObject* Sender);
  void McuTypeComboBoxDropDown(TObject* Sender);
  void CompilerOptionsDefaultBtnClick(TObject* Sender);
  void ExtlMemoryOptionsDefaultBtnClick(TObject* Sender);
  void DorUOptionsDefaultBtnClick(TObject* Sender);
  void IOptionsDefaultBtnClick(TObject* Sender);
  void OptimizationlevelDefaultBtnClick(TObject* Sender);
  void AssemblerOptionsDefaultBtnClick(TObject* Sender);
  void LinkerOptionsDefaultBtnClick(TObject* Sender);
  void LinkOptBootDefaultBtnClick(TObject* Sender);
  void LibraryOptionsDefaultButtonClick(TObject* Sender);
  void PrinterOptBootDefaultBtnClick(TObject* Sender);
  void DebugFormatDefaultBtnClick(TObject* Sender);
  void McuAvrHardwareOptionDefaultBtnClick(TObject* Sender);
  void McuAvrDudeFlagsDefaultBtnClick(TObject* Sender);
  void Avr_GccDefaultPathBtnClick(TObject* Sender);
  void Avr_GccDirDefaultPathBtnClick(TObject* Sender);
  void EditMainDefaultPathBtnClick(TObject* Sender);
  void Button3Click(TObject* Sender);
  void ExtMemoryOptionsRadioGroupClick(TObject* Sender);
  void PrintfOptionsRadioGroupClick(TObject* Sender);
  void ScanfOptionsRadioGroupClick(TObject* Sender);
  void VornkitRadioGroupClick(TObject* Sender);
  // The folder pickers (all six buttons).
  void FolderPickerClick(TObject* Sender);
  void BtnCSourceAddClick(TObject* Sender);
  void BtnCppSourceAddClick(TObject* Sender);
  void BtnAsmSourceAddClick(TObject* Sender);
  void ListBoxAddSourceCDblClick(TObject* Sender);
  void ListBoxAddSourceCppDblClick(TObject* Sender);
  void ListBoxAddSourceAsmDblClick(TObject* Sender);
  void BitBtnAddCancelCClick(TObject* Sender);
  void BitBtnAddCancelCppClick(TObject* Sender);
  void BitBtnAddCancelAsmClick(TObject* Sender);
  void ComboBoxTabstopChange(TObject* Sender);
  void ComboBoxUndoLimitChange(TObject* Sender);
  void ComboBoxFontChange(TObject* Sender);
  void ComboBoxFontSizeChange(TObject* Sender);
  void LBElementsClick(TObject* Sender);
  void ColorGridChange(TObject* Sender);
  void CBBoldClick(TObject* Sender);
  void CBItalicClick(TObject* Sender);
  void ColorDefaultBtnClick(TObject* Sender);

  // The part's picture and sizes: by the part list's selection, and by the
  // part box's text.
  void ShowMcuInfo();
  void ShowMcuPicture();
  // The colour page: the selected element's attribute into the controls,
  // and the controls into it.
  void ShowElementAttributes();
  void ApplyElementAttributes();
  // The memo's lines become these.
  static void SetMemoLines(TMemo* memo, const std::vector<std::string>& lines);

  // ----- the form
  TPageControl* PageControl = new TPageControl(this);
  TPanel* Panel1 = new TPanel(this);
  TButton* OKBtn = new TButton(this);
  TButton* CancelBtn = new TButton(this);

  // ----- McuType
  TTabSheet* AVRType = new TTabSheet(this);
  TLabel* Label13 = new TLabel(this);
  TComboBox* McuTypeComboBox = new TComboBox(this);
  TLabel* Label106 = new TLabel(this);
  TPanel* Panel2 = new TPanel(this);
  TImage* Image1 = new TImage(this);
  TLabel* Label19 = new TLabel(this);
  TLabel* Label107 = new TLabel(this);
  TLabel* Label11 = new TLabel(this);
  TLabel* Label20 = new TLabel(this);
  TLabel* Label12 = new TLabel(this);
  TLabel* Label21 = new TLabel(this);
  TLabel* Label18 = new TLabel(this);

  // ----- McuOptions
  TTabSheet* TabSheet2 = new TTabSheet(this);
  TLabel* Label32 = new TLabel(this);
  TComboBox* McuFileFormatComboBox = new TComboBox(this);
  TLabel* Label33 = new TLabel(this);
  TComboBox* McuFrqComboBox = new TComboBox(this);
  TLabel* Label56 = new TLabel(this);
  TRadioGroup* ExtMemoryOptionsRadioGroup = new TRadioGroup(this);
  TEdit* ExtMemoryOptionsEdit = new TEdit(this);
  TButton* ExtlMemoryOptionsDefaultBtn = new TButton(this);
  TRadioGroup* RadioGroupRomHex = new TRadioGroup(this);
  TRadioGroup* RadioGroupMakeFile = new TRadioGroup(this);

  // ----- Compiler
  TTabSheet* ComfilerOption = new TTabSheet(this);
  TMemo* CompilerOptionsMemo = new TMemo(this);
  TButton* CompilerOptionsDefaultBtn = new TButton(this);
  TMemo* CppCompilerOptionsMemo = new TMemo(this);
  TLabel* Label34 = new TLabel(this);
  TComboBox* McuCstandardComboBox = new TComboBox(this);
  TLabel* Label60 = new TLabel(this);
  TComboBox* McuOptimizComboBox = new TComboBox(this);
  TButton* OptimizationlevelDefaultBtn = new TButton(this);
  TEdit* McuCuOptionEdit = new TEdit(this);
  TEdit* McuCppuOptionEdit = new TEdit(this);
  TEdit* McuAuOptionEdit = new TEdit(this);
  TButton* DorUOptionsDefaultBtn = new TButton(this);
  TEdit* McuIoptionEdit = new TEdit(this);
  TButton* IOptionsDefaultBtn = new TButton(this);
  TLabel* Label69 = new TLabel(this);
  TEdit* McuAssemblerOptionEdit = new TEdit(this);
  TButton* AssemblerOptionsDefaultBtn = new TButton(this);

  // ----- Linker
  TTabSheet* TabSheet11 = new TTabSheet(this);
  TLabel* Label83 = new TLabel(this);
  TMemo* LinkerOptionsMemo = new TMemo(this);
  TButton* LinkerOptionsDefaultBtn = new TButton(this);
  TButton* LinkOptBootDefaultBtn = new TButton(this);
  TMemo* Memo2 = new TMemo(this);

  // ----- Library
  TTabSheet* TabSheet13 = new TTabSheet(this);
  TRadioGroup* PrintfOptionsRadioGroup = new TRadioGroup(this);
  TEdit* McuLibPrintfOptionEdit = new TEdit(this);
  TRadioGroup* ScanfOptionsRadioGroup = new TRadioGroup(this);
  TEdit* McuLibScanfOptionEdit = new TEdit(this);
  TLabel* Label102 = new TLabel(this);
  TEdit* McuLibMathOptionEdit = new TEdit(this);
  TButton* LibraryOptionsDefaultButton = new TButton(this);
  TButton* PrinterOptBootDefaultBtn = new TButton(this);

  // ----- Debugging
  TTabSheet* TabSheet12 = new TTabSheet(this);
  TLabel* Label64 = new TLabel(this);
  TEdit* McuDebugFormatEdit = new TEdit(this);
  TButton* DebugFormatDefaultBtn = new TButton(this);

  // ----- Programming
  TTabSheet* TabSheet14 = new TTabSheet(this);
  TLabel* Label90 = new TLabel(this);
  TEdit* McuAvrHardwareOptionEdit = new TEdit(this);
  TButton* McuAvrHardwareOptionDefaultBtn = new TButton(this);
  TLabel* Label115 = new TLabel(this);
  TEdit* McuAvrDudePortEdit = new TEdit(this);
  TLabel* Label113 = new TLabel(this);
  TEdit* McuAvrDudeWriteEepromEdit = new TEdit(this);
  TLabel* Label116 = new TLabel(this);
  TEdit* McuAvrDudeWriteFlashEdit = new TEdit(this);
  TLabel* Label112 = new TLabel(this);
  TEdit* McuAvrDudeEraseCntEdit = new TEdit(this);
  TLabel* Label114 = new TLabel(this);
  TEdit* McuAvrDudeNoVerifyEdit = new TEdit(this);
  TLabel* Label94 = new TLabel(this);
  TMemo* McuAvrDudeFlagsMemo = new TMemo(this);
  TButton* McuAvrDudeFlagsDefaultBtn = new TButton(this);

  // ----- AvrGccPath
  TTabSheet* AvrGccPath = new TTabSheet(this);
  TLabel* Label7 = new TLabel(this);
  TEdit* AvrGccIncludePathEdit = new TEdit(this);
  TButton* Avr_GccIncPathBtn = new TButton(this);
  TLabel* Label9 = new TLabel(this);
  TEdit* AvrGccLibPathEdit = new TEdit(this);
  TButton* Avr_GccLibPathBtn = new TButton(this);
  TLabel* Label10 = new TLabel(this);
  TEdit* AvrGccBinPathEdit = new TEdit(this);
  TButton* Avr_GccBinPathBtn = new TButton(this);
  TButton* Avr_GccDefaultPathBtn = new TButton(this);
  TRadioGroup* VornkitRadioGroup = new TRadioGroup(this);
  TLabel* Label6 = new TLabel(this);
  TEdit* AvrGccPathEdit = new TEdit(this);
  TButton* Avr_GccPathBtn = new TButton(this);
  TButton* Avr_GccDirDefaultPathBtn = new TButton(this);
  TLabel* Label147 = new TLabel(this);
  TEdit* ObjDirEdit = new TEdit(this);
  TButton* Button1 = new TButton(this);

  // ----- SourceAdd
  TTabSheet* SourceAdd = new TTabSheet(this);
  TLabel* el_CBUnitPath = new TLabel(this);
  TComboBox* McuTargetDirEdit = new TComboBox(this);
  TButton* UnitPathBtn = new TButton(this);
  TLabel* Label8 = new TLabel(this);
  TEdit* McuTargetEdit = new TEdit(this);
  TLabel* Label5 = new TLabel(this);
  TEdit* McuCAddSourceEdit = new TEdit(this);
  TButton* BtnCSourceAdd = new TButton(this);
  TPanel* PanelCSourceAdd = new TPanel(this);
  TListBox* ListBoxAddSourceC = new TListBox(this);
  TBitBtn* BitBtnAddCancelC = new TBitBtn(this);
  TLabel* Label149 = new TLabel(this);
  TEdit* McuCppAddSourceEdit = new TEdit(this);
  TButton* BtnCppSourceAdd = new TButton(this);
  TPanel* PanelCppSourceAdd = new TPanel(this);
  TListBox* ListBoxAddSourceCpp = new TListBox(this);
  TBitBtn* BitBtnAddCancelCpp = new TBitBtn(this);
  TLabel* Label4 = new TLabel(this);
  TEdit* McuAsmAddSourceEdit = new TEdit(this);
  TButton* BtnAsmSourceAdd = new TButton(this);
  TPanel* PanelAsmSourceAdd = new TPanel(this);
  TListBox* ListBoxAddSourceAsm = new TListBox(this);
  TBitBtn* BitBtnAddCancelAsm = new TBitBtn(this);

  // ----- VornkitPath
  TTabSheet* TabSheet1 = new TTabSheet(this);
  TLabel* Label3 = new TLabel(this);
  TEdit* VornkitPathEdit = new TEdit(this);
  TButton* VornkitPathBtn = new TButton(this);
  TButton* EditMainDefaultPathBtn = new TButton(this);
  TCheckBox* CheckBoxAutoInsert = new TCheckBox(this);

  // ----- Editor
  TTabSheet* Display = new TTabSheet(this);
  TCheckBox* CBGutter = new TCheckBox(this);
  TCheckBox* CBLineNumbers = new TCheckBox(this);
  TCheckBox* CBLineNumbersZero = new TCheckBox(this);
  TLabel* el_EditGutter = new TLabel(this);
  TCSpinEdit* CBGutterWidth = new TCSpinEdit(this);
  TLabel* el_FontComboBox = new TLabel(this);
  TComboBox* ComboBoxFont = new TComboBox(this);
  TLabel* el_FontSizeComboBox1 = new TLabel(this);
  TComboBox* ComboBoxFontSize = new TComboBox(this);
  TLabel* Label22 = new TLabel(this);
  TComboBox* ComboBoxTabstop = new TComboBox(this);
  TLabel* Label23 = new TLabel(this);
  TComboBox* ComboBoxUndoLimit = new TComboBox(this);
  TCheckBox* CBAutoIndentMode = new TCheckBox(this);
  TCheckBox* CBCursorMoveEol = new TCheckBox(this);
  TCheckBox* CBSmartTab = new TCheckBox(this);
  TCheckBox* CBInserMode = new TCheckBox(this);
  TButton* Button3 = new TButton(this);

  // ----- Color
  TTabSheet* Color = new TTabSheet(this);
  TLabel* LabelItems = new TLabel(this);
  TListBox* LBElements = new TListBox(this);
  TLabel* LabelColor = new TLabel(this);
  TCColorGrid* ColorGrid = new TCColorGrid(this);
  TGroupBox* GroupBox1 = new TGroupBox(this);
  TCheckBox* CBBold = new TCheckBox(this);
  TCheckBox* CBItalic = new TCheckBox(this);
  TButton* ColorDefaultBtn = new TButton(this);
  TLabel* LabelView = new TLabel(this);
  // The preview's highlighter: the colours being edited.
  TSrcAvrHl* SrcAvrHl = new TSrcAvrHl(this);
  TSrcEdit* EditColor = new TSrcEdit(this);

private:
  // A control put on its parent at its design place.
  template <class T>
  T* Place(T* control, TWinControl* parent, int left, int top, int width, int height) {
    control->SetBounds(left, top, width, height);
    control->SetParent(parent);
    return control;
  }
  TLabel* PlaceLabel(TLabel* label, TWinControl* parent, int left, int top, const std::string& caption);
  // A label that only explains (no name of its own).
  TLabel* AddLabel(TWinControl* parent, int left, int top, const std::string& caption) {
    return PlaceLabel(new TLabel(this), parent, left, top, caption);
  }
  // A button with the hint "Default" and its handler.
  TButton* PlaceDefaultButton(TButton* button, TWinControl* parent, int left, int top, int width, const char* caption,
                              void (TEnvironmentDlg::*handler)(TObject*));

  // EnvironmentDlgPages.cpp
  void CreatePartPages();
  void CreateCompilerPages();
  void CreateProgrammingPage();
  void CreatePathPages();
  void CreateSourcePage();
  void CreateEditorPage();
  // EnvironmentDlgColors.cpp
  void CreateColorPage();

  // EnvironmentDlgLoad.cpp
  void LoadEditorKey();
  void LoadExtraSources();
  void ReadMakefileOptions();
  // The external memory choice and its edit's state, without the group's
  // click handler.
  void ShowExtMemoryIndex(int index);

  // EnvironmentDlgApply.cpp
  // false when the makefile there stays (the user declined its replacement)
  bool WriteProjectMakefile(const TMakefileOptions& options);
  void ApplyColors();
  void WriteRegistry(int fontSize);
  void ApplyToEditors();
  void WriteAddFile();

  // EnvironmentDlgOptions.cpp
  // Shows a row's picker panel with the project folder's sources of the mask.
  void OpenSourcePicker(TPanel* panel, TListBox* list, const std::string& mask);
  // The picked name appended to the row's edit, then the panel hidden.
  void TakePickedSource(TListBox* list, TEdit* edit, TPanel* panel);
  // The part's picture from the editor folder's image/ folder; the picture
  // for parts without one when it cannot be loaded.
  void LoadPartPicture(const std::string& picture);
  // The sizes of the part table's row.
  void ShowMcuRow(int row);
  void ShowToolChainSizes(const std::string& part);

  std::string FProjectFolder;
  std::string FMainFile;
  std::string FInstallFolder;
  TSrcAvrHl* FSharedHighlighter = nullptr;
  std::vector<TOpenEditor> FEditors;
  // The source lists as the dialog showed them (from AddFile.ini or the
  // makefile's import).
  TExtraSources FShownExtraSources;
  // Set while the show step fills the controls: the radio groups' handlers
  // then leave the values read alone.
  bool FLoading = false;
  // Set while the colour controls show an attribute: their handlers then
  // write nothing back.
  bool FElementLoading = false;
};

extern TEnvironmentDlg* EnvironmentDlg;

}  // namespace vk
