#pragma once
// The makefile wizard: seven pages that only its buttons move between
// (welcome, part and paths, flags, sources, folders, the makefile text, the
// end). Arriving on the folders page builds the makefile text from the
// template in the editor folder (dialogs/MakefileWizard); finishing saves it
// as the makefile make reads in the main source's folder ("makefile" when
// there is none), replacing one the program did not write only when the
// user agrees. Each wizard is one run: its state, finished or not, ends
// with it.
//
// The form's construction is in MakeFileWizzardPages.cpp, its handlers here.

#include <string>

#include "services/MakefileWizardText.h"
#include "platform/Buttons.h"
#include "platform/ComboBoxes.h"
#include "platform/Dialogs.h"
#include "platform/Edits.h"
#include "platform/ExtImages.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/ListBoxes.h"
#include "platform/Memos.h"
#include "platform/PageControls.h"
#include "platform/Panels.h"

namespace vk {

class TStrings;

class TFormMakeWizzard : public TForm {
public:
  explicit TFormMakeWizzard(TComponent* owner);
  ~TFormMakeWizzard() override;
  std::string ClassName() const override { return "TFormMakeWizzard"; }

  static constexpr int PageTotal = 7;
  int PageIndex() const { return FPageIndex; }
  // This run saved its makefile or was finished without saving.
  bool Done() const { return FRun.Done(); }

  // Add the names (no folder) of the folder's "*.c" (or "*.s") files, any
  // letter case, whose attributes lie within attr, in the order the search
  // gives them; the user interface stays live meanwhile.
  void FindCSourceFiles(const std::string& folder, int attr, TStrings& names);
  void FindAsmSourceFiles(const std::string& folder, int attr, TStrings& names);
  // The buttons for the active page; on the folders page the makefile text.
  void UpdatePage();
  // The template, loaded and filled with the pages' values, into Memo1.
  void WriteMakefileHead();

  // ----- event handlers
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void BitBtn1Click(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
  void BitBtn3Click(TObject* Sender);
  void ComboAvrMpuChange(TObject* Sender);
  void ComboAvrMpuDropDown(TObject* Sender);
  void Avr_GccIncPathBtnClick(TObject* Sender);
  void Avr_GccLibPathBtnClick(TObject* Sender);
  void Avr_GccBinPathBtnClick(TObject* Sender);
  void Avr_GccDefaultPathBtnClick(TObject* Sender);
  void Avr_GccDefaultCompilBtnClick(TObject* Sender);
  void Avr_GccDefaultAsmBtnClick(TObject* Sender);
  void Avr_GccDefaultLinkerBtnClick(TObject* Sender);
  void BtnMainSourceClick(TObject* Sender);
  void BtnCSourceAddClick(TObject* Sender);
  void BtnAsmSourceAddClick(TObject* Sender);
  void ListBoxAddSourceCDblClick(TObject* Sender);
  void ListBoxAddSourceAsmDblClick(TObject* Sender);
  void BitBtnAddCancelCClick(TObject* Sender);
  void BitBtnAddCancelAsmClick(TObject* Sender);
  void EditSourceChange(TObject* Sender);
  void EditSourceMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void EditSourceKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);

  // ----- components
  TPageControl* PageControl1 = new TPageControl(this);
  TTabSheet* TabSheet1 = new TTabSheet(this);
  TTabSheet* TabSheet2 = new TTabSheet(this);
  TTabSheet* TabSheet3 = new TTabSheet(this);
  TTabSheet* TabSheet4 = new TTabSheet(this);
  TTabSheet* TabSheet5 = new TTabSheet(this);
  TTabSheet* TabSheet6 = new TTabSheet(this);
  TTabSheet* TabSheet7 = new TTabSheet(this);
  TPanel* Panel1 = new TPanel(this);
  TBitBtn* BitBtn1 = new TBitBtn(this);
  TBitBtn* BitBtn2 = new TBitBtn(this);
  TBitBtn* BitBtn3 = new TBitBtn(this);
  TOpenDialog* OpenDialog1 = new TOpenDialog(this);
  TSaveDialog* SaveDialog1 = new TSaveDialog(this);

  // page 0: welcome
  TImage* Image3 = new TImage(this);
  TMemo* Memo2 = new TMemo(this);
  TLabel* Label1 = new TLabel(this);
  // page 1: the part, the hex format and the tool chain's folders
  TLabel* LabelMcu = new TLabel(this);
  TComboBox* ComboAvrMpu = new TComboBox(this);
  TLabel* LabelHex = new TLabel(this);
  TComboBox* ComboBoxIhex = new TComboBox(this);
  TLabel* LabelHexNote = new TLabel(this);
  TLabel* LabelIncPath = new TLabel(this);
  TEdit* Avr_GccIncPathEdit = new TEdit(this);
  TButton* Avr_GccIncPathBtn = new TButton(this);
  TLabel* LabelLibPath = new TLabel(this);
  TEdit* Avr_GccLibPathEdit = new TEdit(this);
  TButton* Avr_GccLibPathBtn = new TButton(this);
  TLabel* LabelBinPath = new TLabel(this);
  TEdit* Avr_GccBinPathEdit = new TEdit(this);
  TButton* Avr_GccBinPathBtn = new TButton(this);
  TButton* Avr_GccDefaultPathBtn = new TButton(this);
  // page 2: the flags
  TLabel* LabelCompil = new TLabel(this);
  TEdit* Avr_GccDefaultCompilEdit = new TEdit(this);
  TButton* Avr_GccDefaultCompilBtn = new TButton(this);
  TLabel* LabelAsm = new TLabel(this);
  TEdit* Avr_GccDefaultAsmEdit = new TEdit(this);
  TButton* Avr_GccDefaultAsmBtn = new TButton(this);
  TLabel* LabelLinker = new TLabel(this);
  TEdit* Avr_GccDefaultLinkerEdit = new TEdit(this);
  TButton* Avr_GccDefaultLinkerBtn = new TButton(this);
  TMemo* Memo4 = new TMemo(this);
  // page 3: the sources
  TLabel* LabelSource = new TLabel(this);
  TEdit* EditSource = new TEdit(this);
  TButton* BtnMainSource = new TButton(this);
  TLabel* LabelAddC = new TLabel(this);
  TEdit* EditAddSorceC = new TEdit(this);
  TButton* BtnCSourceAdd = new TButton(this);
  TLabel* LabelAddAsm = new TLabel(this);
  TEdit* EditAssmbl = new TEdit(this);
  TButton* BtnAsmSourceAdd = new TButton(this);
  TMemo* Memo5 = new TMemo(this);
  TPanel* PanelCSourceAdd = new TPanel(this);
  TListBox* ListBoxAddSourceC = new TListBox(this);
  TBitBtn* BitBtnAddCancelC = new TBitBtn(this);
  TPanel* PanelAsmSourceAdd = new TPanel(this);
  TListBox* ListBoxAddSourceAsm = new TListBox(this);
  TBitBtn* BitBtnAddCancelAsm = new TBitBtn(this);
  // page 4: the folders (only the source folder carries a value)
  TLabel* LabelAssemblerPath = new TLabel(this);
  TComboBox* CBAssemblerPath = new TComboBox(this);
  TButton* AssemblerPathBtn = new TButton(this);
  TLabel* LabelUnitPath = new TLabel(this);
  TComboBox* CBUnitPath = new TComboBox(this);
  TButton* UnitPathBtn = new TButton(this);
  TLabel* LabelLibPathDir = new TLabel(this);
  TComboBox* CBLibPath = new TComboBox(this);
  TButton* LibPathBtn = new TButton(this);
  TLabel* LabelIncPathDir = new TLabel(this);
  TComboBox* CBIncPath = new TComboBox(this);
  TButton* IncPathBtn = new TButton(this);
  TLabel* LabelObjPath = new TLabel(this);
  TComboBox* CBObjPath = new TComboBox(this);
  TButton* ObjPathBtn = new TButton(this);
  TLabel* Label18 = new TLabel(this);
  TLabel* Label13 = new TLabel(this);
  // page 5: the makefile text
  TMemo* Memo1 = new TMemo(this);
  // page 6: the end
  TImage* Image2 = new TImage(this);
  TMemo* Memo3 = new TMemo(this);

private:
  void BuildWelcomePage();
  void BuildToolPage();
  void BuildFlagsPage();
  void BuildSourcesPage();
  void BuildFoldersPage();
  void BuildMakefilePage();
  void BuildEndPage();
  void ShowPage(int index);
  // The controls' texts into the run's values.
  void ReadValues();
  // The folder picker of page 1: the chosen folder is shown, not taken.
  void ShowChosenFolder();
  // Opens an empty pick panel; false, with nothing shown, before a main
  // source gave the folder to list.
  bool OpenPickPanel(TPanel* panel, TListBox* list);
  void TakePicked(TListBox* list, TEdit* edit, TPanel* panel);
  // The finishing step on the last page.
  void Finish();

  TMakefileWizardRun FRun;
  int FPageIndex = 0;
};

// The wizard made at start-up; the wizard command makes a new one here.
extern TFormMakeWizzard* FormMakeWizzard;

}  // namespace vk
