// The wizard's construction: the page control with its seven pages and the
// button panel below it.

#include "dialogs/FormLayout.h"
#include "dialogs/MakefileWizardForm.h"
#include "dialogs/about.h"

namespace vk {

namespace {

// A borderless memo that reads as static text.
void GuideText(TMemo* memo, TWinControl* page, int left, int top, int width, int height,
               std::initializer_list<const char*> lines) {
  Place(memo, page, left, top, width, height);
  memo->SetBorderStyle(bsNone);
  memo->SetReadOnly(true);
  memo->SetWordWrap(false);
  memo->SetColor(clBtnFace);
  memo->SetTabStop(false);
  for (const char* line : lines) memo->Lines().Add(line);
}

// The emblem of the first and the last page; the page does without it
// when it cannot be read.
void Emblem(TImage* image, TWinControl* page) {
  Place(image, page, 16, 16, 150, 150);
  image->SetStretch(true);
  try {
    image->Picture()->LoadFromFile(AboutPicturePath());
  } catch (const Exception&) {
  }
}

// A label with an edit and a button beside it, on one row.
void EditRow(TWinControl* page, int top, TLabel* label, const char* caption, int editLeft, TEdit* edit,
             const std::string& text, TButton* button, const char* buttonCaption, int buttonWidth) {
  Place(label, page, 16, top + 3, 0, 0, caption);
  Place(edit, page, editLeft, top, 490 - editLeft, 21, text);
  Place(button, page, 496, top - 1, buttonWidth, 23, buttonCaption);
}

}  // namespace

TFormMakeWizzard::TFormMakeWizzard(TComponent* owner) : TForm(owner) {
  SetCaption("MakeFileWizard");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  Font().SetName("MS Sans Serif");
  Font().SetSize(8);
  SetBounds(0, 0, 640, 480);  // a frame to size the client area in
  SetClientWidth(587);
  SetClientHeight(366);

  Place(Panel1, this, 0, 325, 587, 41);
  Panel1->SetAlign(alBottom);
  Place(BitBtn1, Panel1, 300, 8, 85, 25, "<&Back");
  BitBtn1->SetEnabled(false);
  BitBtn1->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BitBtn1Click);
  Place(BitBtn2, Panel1, 392, 8, 85, 25, "&Next>");
  BitBtn2->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BitBtn2Click);
  Place(BitBtn3, Panel1, 490, 8, 85, 25, "&Cancel");
  BitBtn3->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BitBtn3Click);
  BitBtn3->SetCancel(true);  // Esc cancels, as in every dialog

  Place(PageControl1, this, 0, 0, 587, 325);
  PageControl1->SetAlign(alClient);
  // The pages show no tabs, so the page control is no stop of its own; the
  // fields of a page come before the buttons below it.
  PageControl1->SetTabStop(false);
  PageControl1->SetTabOrder(0);
  for (TTabSheet* page : {TabSheet1, TabSheet2, TabSheet3, TabSheet4, TabSheet5, TabSheet6, TabSheet7}) {
    page->SetPageControl(PageControl1);
    page->SetTabVisible(false);
  }
  BuildWelcomePage();
  BuildToolPage();
  BuildFlagsPage();
  BuildSourcesPage();
  BuildFoldersPage();
  BuildMakefilePage();
  BuildEndPage();
  PageControl1->SetActivePage(TabSheet1);

  OpenDialog1->SetFilter("C  files [*.c]|*.c");
  OnShow = TNotifyEvent(this, &TFormMakeWizzard::FormShow);
  OnClose = TCloseEvent(this, &TFormMakeWizzard::FormClose);
}

void TFormMakeWizzard::BuildWelcomePage() {
  Emblem(Image3, TabSheet1);
  Place(Label1, TabSheet1, 190, 16, 0, 0, "Makefile Wizard");
  Label1->Font().SetStyle({fsBold, fsUnderline});
  GuideText(Memo2, TabSheet1, 190, 48, 380, 260,
            {"This is wizard window for Makefile.", "", "To build Makefile was not easy thing.",
             "From now, Let's  build the Makefile conveniently ", "with Vornkit.", "",
             "You can build Makefile with just mouse click in ", "window circumstances.", "", "Let's go next.",
             "(Press <NEXT> button)"});
}

void TFormMakeWizzard::BuildToolPage() {
  const TMakefileWizardValues values;
  Place(LabelMcu, TabSheet2, 16, 20, 0, 0, "Avr  Mcu type");
  Place(ComboAvrMpu, TabSheet2, 150, 16, 160, 21);
  for (const char* part : WizardParts) ComboAvrMpu->Items().Add(part);
  ComboAvrMpu->SetText(values.McuType);
  ComboAvrMpu->OnChange = TNotifyEvent(this, &TFormMakeWizzard::ComboAvrMpuChange);
  ComboAvrMpu->OnDropDown = TNotifyEvent(this, &TFormMakeWizzard::ComboAvrMpuDropDown);
  Place(LabelHex, TabSheet2, 16, 52, 0, 0, "Hex format type");
  Place(ComboBoxIhex, TabSheet2, 150, 48, 100, 21);
  ComboBoxIhex->Items().Add("ihex");
  ComboBoxIhex->Items().Add("srec");
  ComboBoxIhex->SetText(values.HexFormat);
  Place(LabelHexNote, TabSheet2, 260, 52, 0, 0, "(Intel format=ihex, srec=Motorola format)");
  EditRow(TabSheet2, 92, LabelIncPath, "Includes path", 150, Avr_GccIncPathEdit, values.IncludePath,
          Avr_GccIncPathBtn, "...", 28);
  EditRow(TabSheet2, 124, LabelLibPath, "Libraries path", 150, Avr_GccLibPathEdit, values.LibraryPath,
          Avr_GccLibPathBtn, "...", 28);
  EditRow(TabSheet2, 156, LabelBinPath, "Bin path", 150, Avr_GccBinPathEdit, values.BinPath, Avr_GccBinPathBtn,
          "...", 28);
  Place(Avr_GccDefaultPathBtn, TabSheet2, 150, 196, 90, 25, "&Default");
  Avr_GccIncPathBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccIncPathBtnClick);
  Avr_GccLibPathBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccLibPathBtnClick);
  Avr_GccBinPathBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccBinPathBtnClick);
  Avr_GccDefaultPathBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccDefaultPathBtnClick);
}

void TFormMakeWizzard::BuildFlagsPage() {
  const TMakefileWizardValues values;
  EditRow(TabSheet3, 16, LabelCompil, "Compiler flags", 130, Avr_GccDefaultCompilEdit, values.CompilerFlags,
          Avr_GccDefaultCompilBtn, "Default", 70);
  EditRow(TabSheet3, 48, LabelAsm, "Assembler flags", 130, Avr_GccDefaultAsmEdit, values.AssemblerFlags,
          Avr_GccDefaultAsmBtn, "Default", 70);
  EditRow(TabSheet3, 80, LabelLinker, "Linker flags", 130, Avr_GccDefaultLinkerEdit, values.LinkerFlags,
          Avr_GccDefaultLinkerBtn, "Default", 70);
  GuideText(Memo4, TabSheet3, 16, 130, 550, 60,
            {"Do not modify these option if you are not expert. ", "Refer to help file about these options."});
  Avr_GccDefaultCompilBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccDefaultCompilBtnClick);
  Avr_GccDefaultAsmBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccDefaultAsmBtnClick);
  Avr_GccDefaultLinkerBtn->OnClick = TNotifyEvent(this, &TFormMakeWizzard::Avr_GccDefaultLinkerBtnClick);
}

void TFormMakeWizzard::BuildSourcesPage() {
  EditRow(TabSheet4, 16, LabelSource, " Main C source file name", 190, EditSource, "", BtnMainSource, "...", 28);
  EditRow(TabSheet4, 48, LabelAddC, "Add C source file name", 190, EditAddSorceC, "", BtnCSourceAdd, "Add", 60);
  EditRow(TabSheet4, 80, LabelAddAsm, "Add ASM source file name", 190, EditAssmbl, "", BtnAsmSourceAdd, "Add", 60);
  GuideText(Memo5, TabSheet4, 16, 120, 555, 130,
            {"*.C Main Source Name'Is where define file name which have extension of (*.c) to ", "compile.",
             "You can choose file with pressing button.", "",
             "*.Don't add the option of 'Add C Source Name' if you are not expert.",
             "*.If you have assembler file, add it to 'Assemble Source Name'. If not, left it blank.",
             "*.(Caution) There should be blank Between files."});
  // The pick panels lie over the page, so they are placed last.
  for (auto [panel, list, cancel] : {std::tuple{PanelCSourceAdd, ListBoxAddSourceC, BitBtnAddCancelC},
                                     std::tuple{PanelAsmSourceAdd, ListBoxAddSourceAsm, BitBtnAddCancelAsm}}) {
    Place(panel, TabSheet4, 190, 104, 300, 180);
    panel->Hide();
    Place(list, panel, 8, 8, 284, 130);
    Place(cancel, panel, 8, 146, 80, 25, "Cancel");
  }
  BtnMainSource->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BtnMainSourceClick);
  BtnCSourceAdd->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BtnCSourceAddClick);
  BtnAsmSourceAdd->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BtnAsmSourceAddClick);
  ListBoxAddSourceC->OnDblClick = TNotifyEvent(this, &TFormMakeWizzard::ListBoxAddSourceCDblClick);
  ListBoxAddSourceAsm->OnDblClick = TNotifyEvent(this, &TFormMakeWizzard::ListBoxAddSourceAsmDblClick);
  BitBtnAddCancelC->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BitBtnAddCancelCClick);
  BitBtnAddCancelAsm->OnClick = TNotifyEvent(this, &TFormMakeWizzard::BitBtnAddCancelAsmClick);
  EditSource->OnChange = TNotifyEvent(this, &TFormMakeWizzard::EditSourceChange);
  EditSource->OnMouseUp = TMouseEvent(this, &TFormMakeWizzard::EditSourceMouseUp);
  EditSource->OnKeyUp = TKeyEvent(this, &TFormMakeWizzard::EditSourceKeyUp);
}

void TFormMakeWizzard::BuildFoldersPage() {
  const struct {
    TLabel* Label;
    const char* Caption;
    TComboBox* Combo;
    TButton* Button;
  } rows[] = {
      {LabelAssemblerPath, "Assembl directory", CBAssemblerPath, AssemblerPathBtn},
      {LabelUnitPath, "Source directory", CBUnitPath, UnitPathBtn},
      {LabelLibPathDir, "Library directory", CBLibPath, LibPathBtn},
      {LabelIncPathDir, "Include directory", CBIncPath, IncPathBtn},
      {LabelObjPath, "Object directory", CBObjPath, ObjPathBtn},
  };
  int top = 16;
  for (const auto& row : rows) {
    Place(row.Label, TabSheet5, 16, top + 3, 0, 0, row.Caption);
    Place(row.Combo, TabSheet5, 150, top, 340, 21);
    row.Combo->SetEnabled(false);
    Place(row.Button, TabSheet5, 496, top - 1, 28, 23, "...");
    row.Button->SetEnabled(false);
    top += 32;
  }
  Place(Label18, TabSheet5, 16, top + 16, 0, 0,
        "This option will is made automatically if you define file name of 'Main Source ");
  Place(Label13, TabSheet5, 16, top + 32, 0, 0, "Name' in 4th window.");
}

void TFormMakeWizzard::BuildMakefilePage() {
  Place(Memo1, TabSheet6, 0, 0, TabSheet6->ClientWidth(), TabSheet6->ClientHeight());
  Memo1->SetAlign(alClient);
  Memo1->SetScrollBars(ssBoth);
  Memo1->SetWordWrap(false);
}

void TFormMakeWizzard::BuildEndPage() {
  Emblem(Image2, TabSheet7);
  GuideText(Memo3, TabSheet7, 190, 16, 380, 290,
            {"Now, it finished.", "Catch your breath.", "Finally, you may check whether error is ",
             "occurred in 6th window.", "(If there's error, go back to previous ", "window)",
             "If there's no error, then press <Done> ", "button.", "The Makefile is generated in Source ",
             "directory. See it.", "Now, you may be able to build Makefile for ",
             "yourself. Thank you very much. I come home."});
}

}  // namespace vk
