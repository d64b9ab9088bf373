#include "dialogs/MakefileWizardForm.h"

#include "services/ProjectFiles.h"
#include "dialogs/MakefileReplaceQuestion.h"
#include "dialogs/PartListBox.h"
#include "services/EnvironmentToolChain.h"
#include "platform/FilePaths.h"
#include "platform/FileSearch.h"
#include "platform/MessageBoxes.h"
#include "platform/StringLists.h"

namespace vk {

TFormMakeWizzard* FormMakeWizzard = nullptr;

namespace {

void FindSourceFiles(const std::string& folder, const char* mask, int attr, TStrings& names) {
  TSearchRec rec;
  for (int found = FindFirst(JoinPath(folder, mask), attr, rec); found == 0; found = FindNext(rec)) {
    if ((rec.Attr & ~attr) != 0) continue;
    names.Add(rec.Name);
    // A large folder must not freeze the window while it is read.
    Application().ProcessMessages();
  }
  FindClose(rec);
}

}  // namespace

TFormMakeWizzard::~TFormMakeWizzard() {
  if (FormMakeWizzard == this) FormMakeWizzard = nullptr;
}

void TFormMakeWizzard::FindCSourceFiles(const std::string& folder, int attr, TStrings& names) {
  FindSourceFiles(folder, "*.c", attr, names);
}

void TFormMakeWizzard::FindAsmSourceFiles(const std::string& folder, int attr, TStrings& names) {
  FindSourceFiles(folder, "*.s", attr, names);
}

// ----- moving between the pages

void TFormMakeWizzard::ShowPage(int index) {
  FPageIndex = index;
  PageControl1->SetActivePage(PageControl1->Pages(index));
  UpdatePage();
}

void TFormMakeWizzard::UpdatePage() {
  BitBtn1->SetEnabled(FPageIndex > 0);
  BitBtn2->SetCaption(FPageIndex == PageTotal - 1 ? "&Completion" : "&Next>");
  BitBtn2->SetEnabled(FPageIndex != 3 || !EditSource->Text().empty());
  // Every arrival on the folders page builds the text anew, so edits made
  // on the makefile page are lost by going back past it.
  if (FPageIndex == 4) WriteMakefileHead();
}

void TFormMakeWizzard::FormShow(TObject*) { PageControl1->SetActivePage(PageControl1->Pages(0)); }

void TFormMakeWizzard::BitBtn1Click(TObject*) {
  if (FPageIndex > 0) ShowPage(FPageIndex - 1);
}

void TFormMakeWizzard::BitBtn2Click(TObject*) {
  if (FPageIndex < PageTotal - 1)
    ShowPage(FPageIndex + 1);
  else
    Finish();
}

void TFormMakeWizzard::BitBtn3Click(TObject*) { Close(); }

void TFormMakeWizzard::FormClose(TObject*, TCloseAction& Action) {
  if (FRun.Done()) {
    Action = caHide;
    return;
  }
  Action = Application().MessageBox("Exit?", "Exit message", MB_YESNO) == IDYES ? caFree : caNone;
}

// ----- the makefile

void TFormMakeWizzard::ReadValues() {
  TMakefileWizardValues& values = FRun.Values;
  values.McuType = ComboAvrMpu->Text();
  values.HexFormat = ComboBoxIhex->Text();
  values.IncludePath = Avr_GccIncPathEdit->Text();
  values.LibraryPath = Avr_GccLibPathEdit->Text();
  values.BinPath = Avr_GccBinPathEdit->Text();
  values.CompilerFlags = Avr_GccDefaultCompilEdit->Text();
  values.AssemblerFlags = Avr_GccDefaultAsmEdit->Text();
  values.LinkerFlags = Avr_GccDefaultLinkerEdit->Text();
  values.MainSource = EditSource->Text();
  values.SourceFolder = CBUnitPath->Text();
  values.CSources = EditAddSorceC->Text();
  values.AsmSources = EditAssmbl->Text();
}

void TFormMakeWizzard::WriteMakefileHead() {
  std::string editorFolder;
  try {
    editorFolder = WizardEditorFolder();
  } catch (const EMakefileWizard& e) {
    ShowMessage(e.Message());
  }
  ReadValues();
  try {
    FRun.BuildLines(editorFolder);
  } catch (const EMakefileWizard& e) {
    // The run keeps no lines and will not save: the page shows nothing.
    ShowMessage(e.Message());
  }
  TStringsUpdate update(Memo1->Lines());
  Memo1->Lines().Clear();
  for (const std::string& line : FRun.Lines) Memo1->Lines().Add(line);
}

void TFormMakeWizzard::Finish() {
  if (CBUnitPath->Text().empty()) {
    ShowMessage("C Source Target File needs to be chosen!");
    return;
  }
  switch (Application().MessageBox("Do you want to build Makefile?", "Creation message", MB_YESNOCANCEL)) {
    case IDYES: {
      ReadValues();
      const TStrings& lines = Memo1->Lines();
      FRun.Lines.clear();
      for (int i = 0; i < lines.Count(); ++i) FRun.Lines.push_back(lines.Get(i));
      try {
        // A makefile of the user's that they keep: the wizard stays on its
        // last page, as after a failed save.
        const auto losses = [this] {
          return MakefileReplacementLosses(FRun.Values.SourceFolder, WizardMainName(FRun.Values.MainSource) + ".c",
                                           "", FRun.Text());
        };
        if (!FRun.Save([&](const std::string& path) { return MayReplaceMakefile(path, losses); })) return;
      } catch (const EMakefileWizard& e) {
        // Nothing was written; the wizard stays on its last page.
        ShowMessage(e.Message());
        return;
      }
      break;
    }
    case IDNO:
      FRun.Finish();
      break;
    default:
      return;
  }
  Close();
}

// ----- page 1: the part and the tool chain

void TFormMakeWizzard::ComboAvrMpuChange(TObject*) { TakeChosenPart(*ComboAvrMpu); }

// Parts the installed compiler cannot build C for carry a mark.
void TFormMakeWizzard::ComboAvrMpuDropDown(TObject*) { MarkPartList(*ComboAvrMpu); }

void TFormMakeWizzard::ShowChosenFolder() {
  std::string folder;
  SelectDirectory("Select a directory", "", folder);
  ShowMessage(folder);
}

void TFormMakeWizzard::Avr_GccIncPathBtnClick(TObject*) { ShowChosenFolder(); }

void TFormMakeWizzard::Avr_GccLibPathBtnClick(TObject*) { ShowChosenFolder(); }

void TFormMakeWizzard::Avr_GccBinPathBtnClick(TObject*) { ShowChosenFolder(); }

void TFormMakeWizzard::Avr_GccDefaultPathBtnClick(TObject*) {
  const TMakefileWizardValues defaults;
  Avr_GccIncPathEdit->SetText(defaults.IncludePath);
  Avr_GccLibPathEdit->SetText(defaults.LibraryPath);
  Avr_GccBinPathEdit->SetText(defaults.BinPath);
}

// ----- page 2: the flags

void TFormMakeWizzard::Avr_GccDefaultCompilBtnClick(TObject*) {
  Avr_GccDefaultCompilEdit->SetText(TMakefileWizardValues().CompilerFlags);
}

void TFormMakeWizzard::Avr_GccDefaultAsmBtnClick(TObject*) {
  Avr_GccDefaultAsmEdit->SetText(TMakefileWizardValues().AssemblerFlags);
}

void TFormMakeWizzard::Avr_GccDefaultLinkerBtnClick(TObject*) {
  Avr_GccDefaultLinkerEdit->SetText(TMakefileWizardValues().LinkerFlags);
}

// ----- page 3: the sources

void TFormMakeWizzard::BtnMainSourceClick(TObject*) {
  if (!OpenDialog1->Execute()) return;
  const std::string& file = OpenDialog1->FileName();
  const std::string name = ExtractFileName(file);
  if (const std::string problem = SourceNameProblem(name); !problem.empty()) {
    ShowMessage(problem);
    return;
  }
  const size_t dot = name.rfind('.');
  std::string folder = ExtractFilePath(file);
  if (folder.size() > 1) folder.pop_back();  // the root keeps its "/"
  CBUnitPath->SetText(folder);
  EditSource->SetText(dot == std::string::npos || dot == 0 ? name : name.substr(0, dot));
}

bool TFormMakeWizzard::OpenPickPanel(TPanel* panel, TListBox* list) {
  if (CBUnitPath->Text().empty()) return false;
  panel->Show();
  list->Clear();
  return true;
}

void TFormMakeWizzard::BtnCSourceAddClick(TObject*) {
  if (OpenPickPanel(PanelCSourceAdd, ListBoxAddSourceC))
    FindCSourceFiles(CBUnitPath->Text(), faAnyFile, ListBoxAddSourceC->Items());
}

void TFormMakeWizzard::BtnAsmSourceAddClick(TObject*) {
  if (OpenPickPanel(PanelAsmSourceAdd, ListBoxAddSourceAsm))
    FindAsmSourceFiles(CBUnitPath->Text(), faAnyFile, ListBoxAddSourceAsm->Items());
}

void TFormMakeWizzard::TakePicked(TListBox* list, TEdit* edit, TPanel* panel) {
  if (list->ItemIndex() < 0) return;
  const std::string picked = list->Items().Get(list->ItemIndex());
  if (const std::string problem = SourceNameProblem(picked); !problem.empty()) {
    ShowMessage(problem);  // the list stays open for another pick
    return;
  }
  const std::string text = edit->Text();
  edit->SetText(text.empty() ? picked : text + " " + picked);
  panel->Hide();
}

void TFormMakeWizzard::ListBoxAddSourceCDblClick(TObject*) {
  TakePicked(ListBoxAddSourceC, EditAddSorceC, PanelCSourceAdd);
}

void TFormMakeWizzard::ListBoxAddSourceAsmDblClick(TObject*) {
  TakePicked(ListBoxAddSourceAsm, EditAssmbl, PanelAsmSourceAdd);
}

void TFormMakeWizzard::BitBtnAddCancelCClick(TObject*) { PanelCSourceAdd->Hide(); }

void TFormMakeWizzard::BitBtnAddCancelAsmClick(TObject*) { PanelAsmSourceAdd->Hide(); }

void TFormMakeWizzard::EditSourceChange(TObject*) { BitBtn2->SetEnabled(!EditSource->Text().empty()); }

void TFormMakeWizzard::EditSourceMouseUp(TObject* Sender, TMouseButton, TShiftState, int, int) {
  EditSourceChange(Sender);
}

void TFormMakeWizzard::EditSourceKeyUp(TObject* Sender, uint16_t&, TShiftState) { EditSourceChange(Sender); }

}  // namespace vk
