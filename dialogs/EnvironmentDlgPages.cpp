// The controls of the settings dialog's first eleven pages at their design
// places, with their design texts and handlers. The option values a fresh
// project starts from come from MakefileDefaults (see the constructor).

#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "dialogs/EnvironmentDlg.h"
#include "services/EnvironmentToolChain.h"

namespace vk {

namespace {

void SetItems(TStrings& items, std::initializer_list<const char*> texts) {
  TStringsUpdate update(items);
  for (const char* text : texts) items.Add(text);
}

// The label beside a control that names the makefile variable it feeds.
std::string VariableCaption(const char* variable) { return std::string("=\"") + variable + "\""; }

}  // namespace

void TEnvironmentDlg::CreatePartPages() {
  // McuType: the part with its picture and memory sizes.
  PlaceLabel(Label13, AVRType, 16, 14, "MCU type:");
  Place(McuTypeComboBox, AVRType, 100, 10, 160, 21);
  McuTypeComboBox->SetHint("Avr CPU Type");
  McuTypeComboBox->SetDropDownCount(35);
  {
    TStringsUpdate update(McuTypeComboBox->Items());
    for (const TMcuRow& row : McuTable) McuTypeComboBox->Items().Add(row.Name);
  }
  McuTypeComboBox->OnChange = TNotifyEvent(this, &TEnvironmentDlg::McuTypeComboBoxChange);
  McuTypeComboBox->OnDropDown = TNotifyEvent(this, &TEnvironmentDlg::McuTypeComboBoxDropDown);
  AddLabel(AVRType, 268, 14, VariableCaption("MCU"));
  PlaceLabel(Label106, AVRType, 340, 14, "MCU `ATtiny11,12,13,14,15' supported for assembler only");
  Place(Panel2, AVRType, 16, 40, 811, 529);
  Panel2->SetBevelOuter(bvLowered);
  Place(Image1, Panel2, 8, 8, 649, 513);
  Image1->SetCenter(true);
  Image1->SetAutoSize(true);
  PlaceLabel(Label19, Panel2, 668, 20, "[Memory Sizes]");
  PlaceLabel(Label107, Panel2, 668, 56, "FLASH Sizes:");
  PlaceLabel(Label11, Panel2, 690, 74, "0");
  PlaceLabel(Label20, Panel2, 668, 104, "SRAM Sizes:");
  PlaceLabel(Label12, Panel2, 690, 122, "0");
  PlaceLabel(Label21, Panel2, 668, 152, "EEPROM Sizes:");
  PlaceLabel(Label18, Panel2, 690, 170, "0");
  for (TLabel* value : {Label11, Label12, Label18}) value->Font().SetColor(clTeal);

  // McuOptions: output format, clock, external memory, makefile choice.
  PlaceLabel(Label32, TabSheet2, 16, 16, "Output File format:");
  Place(McuFileFormatComboBox, TabSheet2, 180, 12, 120, 21)->SetHint("Format Type");
  SetItems(McuFileFormatComboBox->Items(), {"ihex", "srec", "binary"});
  AddLabel(TabSheet2, 308, 16, VariableCaption("FORMAT"));
  AddLabel(TabSheet2, 420, 16, "Output format. (can be srec, ihex, binary)");
  PlaceLabel(Label33, TabSheet2, 16, 48, "MCU frequency:");
  Place(McuFrqComboBox, TabSheet2, 180, 44, 120, 21)->SetHint("Avr CPU Type");
  McuFrqComboBox->SetDropDownCount(35);
  SetItems(McuFrqComboBox->Items(), {"1000000", "1843200", "2000000", "3686400", "4000000", "7372800", "8000000",
                                     "11059200", "14745600", "16000000", "18432000", "20000000", "32000000 "});
  PlaceLabel(Label56, TabSheet2, 308, 48, "MHZ");
  AddLabel(TabSheet2, 420, 48, VariableCaption("F_CPU"));
  Place(ExtMemoryOptionsRadioGroup, TabSheet2, 16, 84, 560, 96)->SetCaption("External Memory Options Select");
  SetItems(ExtMemoryOptionsRadioGroup->Items(),
           {"Not Use external Options", "64 KB of external RAM used for variables (.data/.bss) and heap",
            "64 KB of external RAM only used for heap"});
  ExtMemoryOptionsRadioGroup->SetItemIndex(0);
  ExtMemoryOptionsRadioGroup->OnClick = TNotifyEvent(this, &TEnvironmentDlg::ExtMemoryOptionsRadioGroupClick);
  Place(ExtMemoryOptionsEdit, TabSheet2, 16, 190, 560, 21)->SetHint("Comfiler options");
  ExtMemoryOptionsEdit->SetEnabled(false);
  ExtMemoryOptionsEdit->SetColor(clBtnFace);
  PlaceDefaultButton(ExtlMemoryOptionsDefaultBtn, TabSheet2, 586, 188, 80, "Default",
                     &TEnvironmentDlg::ExtlMemoryOptionsDefaultBtnClick);
  AddLabel(TabSheet2, 676, 194, VariableCaption("EXTMEMOPTS"));
  Place(RadioGroupRomHex, TabSheet2, 16, 228, 270, 72)->SetCaption("ROM or HEX Create Options");
  SetItems(RadioGroupRomHex->Items(), {"\"ROM\" File Create", "\"HEX\" File Create"});
  RadioGroupRomHex->SetItemIndex(0);
  Place(RadioGroupMakeFile, TabSheet2, 306, 228, 270, 72)->SetCaption("Makefile Options");
  SetItems(RadioGroupMakeFile->Items(), {"Auto Create \"makefile\"", "User \"makefile\""});
  RadioGroupMakeFile->SetItemIndex(0);
  AddLabel(TabSheet2, 306, 306, "With User \"makefile\", OK leaves the makefile as it is.");
}

void TEnvironmentDlg::CreateCompilerPages() {
  // Compiler.
  AddLabel(ComfilerOption, 16, 8, VariableCaption("CFLAGS"));
  Place(CompilerOptionsMemo, ComfilerOption, 16, 26, 400, 230);
  AddLabel(ComfilerOption, 428, 8, VariableCaption("CPPFLAGS"));
  Place(CppCompilerOptionsMemo, ComfilerOption, 428, 26, 400, 230);
  for (TMemo* memo : {CompilerOptionsMemo, CppCompilerOptionsMemo}) {
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->SetHint("Comfiler options");
  }
  PlaceDefaultButton(CompilerOptionsDefaultBtn, ComfilerOption, 16, 262, 80, "Default",
                     &TEnvironmentDlg::CompilerOptionsDefaultBtnClick);
  PlaceLabel(Label34, ComfilerOption, 16, 304, "C Standard level:");
  Place(McuCstandardComboBox, ComfilerOption, 180, 300, 140, 21);
  SetItems(McuCstandardComboBox->Items(), {"-std=gnu99", "-std=c89 ", "-std=gnu89", "-std=c99"});
  AddLabel(ComfilerOption, 590, 304, VariableCaption("CSTANDARD"));
  PlaceLabel(Label60, ComfilerOption, 16, 336, "Optimization level:");
  Place(McuOptimizComboBox, ComfilerOption, 180, 332, 60, 21);
  SetItems(McuOptimizComboBox->Items(), {"0", "1", "2", "3", "s"});
  PlaceDefaultButton(OptimizationlevelDefaultBtn, ComfilerOption, 680, 330, 80, "Default",
                     &TEnvironmentDlg::OptimizationlevelDefaultBtnClick);
  AddLabel(ComfilerOption, 590, 336, VariableCaption("OPT"));
  const std::tuple<TEdit*, int, const char*> options[] = {
      {McuCuOptionEdit, 368, "CDEFS"}, {McuCppuOptionEdit, 396, "CPPDEFS"}, {McuAuOptionEdit, 424, "ADEFS"}};
  for (auto [edit, top, variable] : options) {
    AddLabel(ComfilerOption, 16, top + 4, "-D or -U options: ");
    Place(edit, ComfilerOption, 180, top, 400, 21)->SetHint("Comfiler options");
    AddLabel(ComfilerOption, 590, top + 4, VariableCaption(variable));
  }
  PlaceDefaultButton(DorUOptionsDefaultBtn, ComfilerOption, 680, 394, 80, "Default",
                     &TEnvironmentDlg::DorUOptionsDefaultBtnClick);
  DorUOptionsDefaultBtn->SetTabOrder(McuCppuOptionEdit->TabOrder() + 1);  // in the middle row, beside its field
  AddLabel(ComfilerOption, 16, 460, " I options:");
  Place(McuIoptionEdit, ComfilerOption, 180, 456, 400, 21)->SetHint("Comfiler options");
  AddLabel(ComfilerOption, 590, 460, VariableCaption("CINCS"));
  PlaceDefaultButton(IOptionsDefaultBtn, ComfilerOption, 680, 454, 80, "Default",
                     &TEnvironmentDlg::IOptionsDefaultBtnClick);
  PlaceLabel(Label69, ComfilerOption, 16, 492, "Assembler Options:");
  Place(McuAssemblerOptionEdit, ComfilerOption, 180, 488, 400, 21)->SetHint("Comfiler options");
  AddLabel(ComfilerOption, 590, 492, VariableCaption("ASFLAGS"));
  PlaceDefaultButton(AssemblerOptionsDefaultBtn, ComfilerOption, 680, 486, 80, "Default",
                     &TEnvironmentDlg::AssemblerOptionsDefaultBtnClick);

  // Linker, with the boot loaders' start addresses to copy from.
  PlaceLabel(Label83, TabSheet11, 16, 10, "Linker Options(LDFLAGS)");
  Place(LinkerOptionsMemo, TabSheet11, 16, 30, 520, 200);
  LinkerOptionsMemo->SetScrollBars(ssBoth);
  LinkerOptionsMemo->SetWordWrap(false);
  LinkerOptionsMemo->SetHint("Linker options");
  PlaceDefaultButton(LinkerOptionsDefaultBtn, TabSheet11, 552, 30, 150, "Default",
                     &TEnvironmentDlg::LinkerOptionsDefaultBtnClick);
  PlaceDefaultButton(LinkOptBootDefaultBtn, TabSheet11, 552, 62, 150, "BootLoder Default",
                     &TEnvironmentDlg::LinkOptBootDefaultBtnClick);
  AddLabel(TabSheet11, 552, 96, "Default(mega128 8KByte)");
  AddLabel(TabSheet11, 16, 242, "--The Editbox end line  add  BootLoader start address--");
  Place(Memo2, TabSheet11, 16, 262, 520, 236);
  Memo2->SetReadOnly(true);
  Memo2->SetColor(clBtnFace);
  Memo2->SetScrollBars(ssBoth);
  Memo2->SetWordWrap(false);
  for (const char* line : {"-Wl,--section-start=.text=0x1800# mega8 2KBytes",
                           "-Wl,--section-start=.text=0x1800# mega8515 2KBytes",
                           "-Wl,--section-start=.text=0x1800# mega8535 2KBytes",
                           "-Wl,--section-start=.text=0x3800# mega16 2KBytes",
                           "-Wl,--section-start=.text=0x7000# mega32 4KBytes",
                           "-Wl,--section-start=.text=0xE000# mega64 8KBytes",
                           "-Wl,--section-start=.text=0x3800# mega162 2KBytes",
                           "-Wl,--section-start=.text=0x3800# mega163 2KBytes",
                           "-Wl,--section-start=.text=0x3800# mega169 2KBytes",
                           "-Wl,--section-start=.text=0x1E000# meag128 8KBytes",
                           "-Wl,--section-start=.text=0x1F000# meag1250,1251 8KBytes",
                           "-Wl,--section-start=.text=0x3E000# meag1280,1281 8KBytes",
                           "-Wl,--section-start=.text=0x3E000# meag2560,2561 8KBytes"})
    Memo2->Lines().Add(line);

  // Library.
  Place(PrintfOptionsRadioGroup, TabSheet13, 16, 12, 300, 70)->SetCaption("Printf version Options");
  SetItems(PrintfOptionsRadioGroup->Items(), {"the Standard printf version", "Floating point printf version"});
  PrintfOptionsRadioGroup->SetItemIndex(0);
  PrintfOptionsRadioGroup->OnClick = TNotifyEvent(this, &TEnvironmentDlg::PrintfOptionsRadioGroupClick);
  Place(McuLibPrintfOptionEdit, TabSheet13, 330, 36, 360, 21)->SetHint("Linker options");
  AddLabel(TabSheet13, 700, 40, VariableCaption("PRINTF_LIB"));
  Place(ScanfOptionsRadioGroup, TabSheet13, 16, 92, 300, 70)->SetCaption("Scanf version Options");
  SetItems(ScanfOptionsRadioGroup->Items(), {"the Standard scanf version", "Floating point scanf version"});
  ScanfOptionsRadioGroup->SetItemIndex(0);
  ScanfOptionsRadioGroup->OnClick = TNotifyEvent(this, &TEnvironmentDlg::ScanfOptionsRadioGroupClick);
  Place(McuLibScanfOptionEdit, TabSheet13, 330, 116, 360, 21)->SetHint("Linker options");
  AddLabel(TabSheet13, 700, 120, VariableCaption("SCANF_LIB"));
  PlaceLabel(Label102, TabSheet13, 16, 180, "Library Math Options :");
  Place(McuLibMathOptionEdit, TabSheet13, 330, 176, 360, 21)->SetHint("Linker options");
  AddLabel(TabSheet13, 700, 180, VariableCaption("MATH_LIB"));
  PlaceDefaultButton(LibraryOptionsDefaultButton, TabSheet13, 16, 214, 80, "Default",
                     &TEnvironmentDlg::LibraryOptionsDefaultButtonClick);
  PlaceDefaultButton(PrinterOptBootDefaultBtn, TabSheet13, 104, 214, 150, "BootLoder Default",
                     &TEnvironmentDlg::PrinterOptBootDefaultBtnClick);

  // Debugging.
  PlaceLabel(Label64, TabSheet12, 16, 16, "Debugging format:");
  Place(McuDebugFormatEdit, TabSheet12, 180, 12, 160, 21)->SetHint("Comfiler options");
  PlaceDefaultButton(DebugFormatDefaultBtn, TabSheet12, 350, 10, 80, "Default",
                     &TEnvironmentDlg::DebugFormatDefaultBtnClick);
  AddLabel(TabSheet12, 440, 16, VariableCaption("DEBUG"));
  AddLabel(TabSheet12, 16, 56, "Native formats for AVR-GCC's -g are dwarf-2 [default] or stabs.");
  AddLabel(TabSheet12, 16, 76, "AVR [Extended] COFF format requires stabs, plus an avr-objcopy run.");
}

void TEnvironmentDlg::CreateProgrammingPage() {
  const std::tuple<TLabel*, const char*, TEdit*, const char*> rows[] = {
      {Label90, "VRDUDE Hardware Options:", McuAvrHardwareOptionEdit, "AVRDUDE_PROGRAMMER"},
      {Label115, "VRDUDE Port Options:", McuAvrDudePortEdit, "AVRDUDE_PORT"},
      {Label113, "VRDUDE Write_Eeprom :", McuAvrDudeWriteEepromEdit, "AVRDUDE_WRITE_EEPROM"},
      {Label116, "VRDUDE Write_Flash :", McuAvrDudeWriteFlashEdit, "AVRDUDE_WRITE_FLASH"},
      {Label112, "Erase  counter:", McuAvrDudeEraseCntEdit, "AVRDUDE_ERASE_COUNTER"},
      {Label114, "Verifiy Options:", McuAvrDudeNoVerifyEdit, "AVRDUDE_NO_VERIFY"},
  };
  int top = 12;
  for (auto [label, caption, edit, variable] : rows) {
    PlaceLabel(label, TabSheet14, 16, top + 4, caption);
    Place(edit, TabSheet14, 210, top, 300, 21)->SetHint("Linker options");
    AddLabel(TabSheet14, 520, top + 4, VariableCaption(variable));
    top += 28;
  }
  PlaceDefaultButton(McuAvrHardwareOptionDefaultBtn, TabSheet14, 740, 10, 80, "Default",
                     &TEnvironmentDlg::McuAvrHardwareOptionDefaultBtnClick);
  McuAvrHardwareOptionDefaultBtn->SetTabOrder(McuAvrHardwareOptionEdit->TabOrder() + 1);  // in the first row
  PlaceLabel(Label94, TabSheet14, 16, 190, "avrdude Options");
  Place(McuAvrDudeFlagsMemo, TabSheet14, 16, 208, 494, 110);
  McuAvrDudeFlagsMemo->SetScrollBars(ssBoth);
  McuAvrDudeFlagsMemo->SetWordWrap(false);
  McuAvrDudeFlagsMemo->SetHint("Linker options");
  AddLabel(TabSheet14, 520, 212, VariableCaption("AVRDUDE_FLAGS"));
  PlaceDefaultButton(McuAvrDudeFlagsDefaultBtn, TabSheet14, 740, 208, 80, "Default",
                     &TEnvironmentDlg::McuAvrDudeFlagsDefaultBtnClick);
  top = 336;
  for (const char* help : {"Programming hardware: alf avr910 avrisp bascom bsd",
                           "dt006 pavr picoweb pony-stk200 sp12 stk200 stk500",
                           "/dev/ttyUSB0 = a programmer on a USB serial port",
                           "/dev/ttyS0 = the first serial port, /dev/parport0 = the parallel port",
                           "AVRDUDE_VERBOSE = -v -v",
                           "-y: count the erase cycles (the counter needs to be initialized first using -Yn)",
                           "-V: no verification after programming the device",
                           "Type: avrdude -c ? to get a full listing of the programmers."}) {
    AddLabel(TabSheet14, 16, top, help);
    top += 20;
  }
}

void TEnvironmentDlg::CreatePathPages() {
  // AvrGccPath: the tool chain's folders, the object folder.
  const std::tuple<TLabel*, const char*, TEdit*, TButton*> folders[] = {
      {Label7, "Includes path", AvrGccIncludePathEdit, Avr_GccIncPathBtn},
      {Label9, "Libraries path", AvrGccLibPathEdit, Avr_GccLibPathBtn},
      {Label10, "Bin path", AvrGccBinPathEdit, Avr_GccBinPathBtn},
      {Label147, "ObjDir path:", ObjDirEdit, Button1},
  };
  int top = 12;
  for (auto [label, caption, edit, picker] : folders) {
    PlaceLabel(label, AvrGccPath, 16, top + 4, caption);
    Place(edit, AvrGccPath, 150, top, 480, 21);
    Place(picker, AvrGccPath, 636, top - 1, 28, 23)->SetCaption("...");
    picker->OnClick = TNotifyEvent(this, &TEnvironmentDlg::FolderPickerClick);
    top += 32;
  }
  AddLabel(AvrGccPath, 672, 16, VariableCaption("EXTRAINCDIRS"));
  AddLabel(AvrGccPath, 672, 112, VariableCaption("OBJDIR"));
  AvrGccLibPathEdit->SetText("$(AVR)/WinAvr/Avr/Lib");
  AvrGccBinPathEdit->SetText("$(AVR)/WinAvr/Bin");
  PlaceDefaultButton(Avr_GccDefaultPathBtn, AvrGccPath, 150, 140, 80, "&Default",
                     &TEnvironmentDlg::Avr_GccDefaultPathBtnClick);
  Place(VornkitRadioGroup, AvrGccPath, 16, 184, 300, 70)->SetCaption("AvrGcc path");
  SetItems(VornkitRadioGroup->Items(), {"Yes(Within the Vornkit )", "No(Not )"});
  VornkitRadioGroup->SetItemIndex(0);
  VornkitRadioGroup->OnClick = TNotifyEvent(this, &TEnvironmentDlg::VornkitRadioGroupClick);
  const std::string installFolder = LookUpInstallFolder().Folder;
  PlaceLabel(Label6, AvrGccPath, 16, 276, "AvrGcc path");
  Place(AvrGccPathEdit, AvrGccPath, 150, 272, 480, 21)->SetText(JoinPath(installFolder, "WinAvr"));
  Place(Avr_GccPathBtn, AvrGccPath, 636, 271, 28, 23)->SetCaption("...");
  Avr_GccPathBtn->OnClick = TNotifyEvent(this, &TEnvironmentDlg::FolderPickerClick);
  PlaceDefaultButton(Avr_GccDirDefaultPathBtn, AvrGccPath, 150, 304, 80, "&Default",
                     &TEnvironmentDlg::Avr_GccDirDefaultPathBtnClick);
  AddLabel(AvrGccPath, 240, 308, JoinPath(installFolder, "WinAvr"));

  // VornkitPath: the editor folder.
  PlaceLabel(Label3, TabSheet1, 16, 16, "Vornkit path:");
  Place(VornkitPathEdit, TabSheet1, 130, 12, 500, 21)->SetText(installFolder);
  Place(VornkitPathBtn, TabSheet1, 636, 11, 28, 23)->SetCaption("...");
  VornkitPathBtn->OnClick = TNotifyEvent(this, &TEnvironmentDlg::FolderPickerClick);
  PlaceDefaultButton(EditMainDefaultPathBtn, TabSheet1, 130, 44, 80, "&Default",
                     &TEnvironmentDlg::EditMainDefaultPathBtnClick);
  Place(CheckBoxAutoInsert, TabSheet1, 16, 88, 400, 17)->SetCaption("Add header file(AVR GCC) autometically");
}

void TEnvironmentDlg::CreateSourcePage() {
  PlaceLabel(el_CBUnitPath, SourceAdd, 16, 16, "Source directory:");
  Place(McuTargetDirEdit, SourceAdd, 220, 12, 480, 21)->SetEnabled(false);
  McuTargetDirEdit->SetColor(clBtnFace);
  Place(UnitPathBtn, SourceAdd, 706, 11, 28, 23)->SetCaption("...");
  UnitPathBtn->SetEnabled(false);
  PlaceLabel(Label8, SourceAdd, 16, 48, "Main C source file name");
  Place(McuTargetEdit, SourceAdd, 220, 44, 200, 21)->SetColor(clBtnFace);
  McuTargetEdit->SetReadOnly(true);
  AddLabel(SourceAdd, 430, 48, VariableCaption("TARGET"));

  struct TRow {
    TLabel* Label;
    const char* Caption;
    TEdit* Edit;
    TButton* Add;
    const char* Hint;
    void (TEnvironmentDlg::*AddClick)(TObject*);
    TPanel* Panel;
    TListBox* List;
    void (TEnvironmentDlg::*ListDblClick)(TObject*);
    TBitBtn* Cancel;
    void (TEnvironmentDlg::*CancelClick)(TObject*);
    const char* Variable;
  };
  const TRow rows[] = {
      {Label5, "Add C source file name", McuCAddSourceEdit, BtnCSourceAdd,
       "  여기를 누르면 메인소스 디렉토리의 C파일을 불러옴니다  ", &TEnvironmentDlg::BtnCSourceAddClick, PanelCSourceAdd,
       ListBoxAddSourceC, &TEnvironmentDlg::ListBoxAddSourceCDblClick, BitBtnAddCancelC,
       &TEnvironmentDlg::BitBtnAddCancelCClick, "SRC"},
      {Label149, "Add C++ source file name:", McuCppAddSourceEdit, BtnCppSourceAdd,
       "  여기를 누르면 메인소스 디렉토리의 C파일을 불러옴니다  ", &TEnvironmentDlg::BtnCppSourceAddClick,
       PanelCppSourceAdd, ListBoxAddSourceCpp, &TEnvironmentDlg::ListBoxAddSourceCppDblClick, BitBtnAddCancelCpp,
       &TEnvironmentDlg::BitBtnAddCancelCppClick, "CPPSRC"},
      {Label4, "Add  ASM source file name", McuAsmAddSourceEdit, BtnAsmSourceAdd,
       "  여기를 누르면 메인소스 디렉토리의 어셈블 파일을 불러옴니다  ", &TEnvironmentDlg::BtnAsmSourceAddClick,
       PanelAsmSourceAdd, ListBoxAddSourceAsm, &TEnvironmentDlg::ListBoxAddSourceAsmDblClick, BitBtnAddCancelAsm,
       &TEnvironmentDlg::BitBtnAddCancelAsmClick, "ASRC"},
  };
  int top = 84;
  for (const TRow& row : rows) {
    PlaceLabel(row.Label, SourceAdd, 16, top + 4, row.Caption);
    Place(row.Edit, SourceAdd, 220, top, 480, 21);
    Place(row.Add, SourceAdd, 706, top - 1, 60, 23)->SetCaption("Add");
    row.Add->SetHint(row.Hint);
    row.Add->OnClick = TNotifyEvent(this, row.AddClick);
    AddLabel(SourceAdd, 772, top + 4, VariableCaption(row.Variable));
    // The pickers share one place below the rows; one shows at a time.
    Place(row.Panel, SourceAdd, 220, 184, 480, 264)->SetVisible(false);
    Place(row.List, row.Panel, 8, 8, 464, 214)->SetHint("Double click");
    row.List->OnDblClick = TNotifyEvent(this, row.ListDblClick);
    Place(row.Cancel, row.Panel, 8, 230, 80, 25)->SetCaption("Cancel");
    row.Cancel->OnClick = TNotifyEvent(this, row.CancelClick);
    top += 32;
  }
}

void TEnvironmentDlg::CreateEditorPage() {
  const std::pair<TCheckBox*, const char*> gutter[] = {{CBGutter, "Show line number window"},
                                                        {CBLineNumbers, "marking line number "},
                                                        {CBLineNumbersZero, "Line numbering from 0 "}};
  int top = 16;
  for (auto [box, caption] : gutter) {
    Place(box, Display, 16, top, 300, 17)->SetCaption(caption);
    top += 24;
  }
  PlaceLabel(el_EditGutter, Display, 16, 96, "Line number window width:");
  Place(CBGutterWidth, Display, 220, 92, 60, 21);
  CBGutterWidth->SetMinValue(0);
  CBGutterWidth->SetMaxValue(500);
  CBGutterWidth->SetValue(25);

  PlaceLabel(el_FontComboBox, Display, 16, 136, "Font:");
  Place(ComboBoxFont, Display, 120, 132, 200, 21)->SetText("Courier New");
  {
    TStrings& fonts = ComboBoxFont->Items();
    TStringsUpdate update(fonts);
    for (const char* korean : {"굴림", "굴림체", "궁서", "궁서체", "돋움", "돋움체", "바탕", "바탕체", "새굴림",
                               "휴먼매직체", "휴먼옛체", "Fixedsys", "HY견고딕", "HY견명조", "HY궁서B", "HY그래픽M",
                               "HY신명조", "HY얕은샘물M", "HY엽서L", "HY중고딕", "HY헤드라인M", "System", "Terminal"})
      fonts.Add(std::string("@") + korean);
    for (const char* name :
         {"굴림", "굴림체", "궁서", "궁서체", "돋움", "돋움체", "바탕", "바탕체", "새굴림", "휴먼매직체", "휴먼옛체",
          "Arial", "Arial Black", "Arial Narrow", "Book Antiqua", "Bookman Old Style", "Century Gothic",
          "Comic Sans MS", "Courier", "Courier New", "Default", "Fixedsys", "Fixedsys", "Garamond", "HY견고딕",
          "HY견명조", "HY궁서B", "HY그래픽M", "HY신명조", "HY얕은샘물M", "HY엽서L", "HY중고딕", "HY헤드라인M", "Impact",
          "Lucida Console", "Marlett", "Modern", "MS Outlook", "MS Sans Serif", "MS Serif", "Small Fonts", "Symbol",
          "Symbol", "System", "System", "Tahoma", "Terminal", "Terminal", "Times New Roman", "Trebuchet MS", "Verdana",
          "Webdings", "Wingdings"})
      fonts.Add(name);
  }
  ComboBoxFont->OnChange = TNotifyEvent(this, &TEnvironmentDlg::ComboBoxFontChange);
  PlaceLabel(el_FontSizeComboBox1, Display, 340, 136, "Size:");
  Place(ComboBoxFontSize, Display, 400, 132, 60, 21)->SetText("10");
  SetItems(ComboBoxFontSize->Items(),
           {"10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"});
  ComboBoxFontSize->OnChange = TNotifyEvent(this, &TEnvironmentDlg::ComboBoxFontSizeChange);

  PlaceLabel(Label22, Display, 16, 168, "&Tab Stops:");
  Place(ComboBoxTabstop, Display, 120, 164, 60, 21)->SetText("8");
  ComboBoxTabstop->SetMaxLength(3);
  {
    TStringsUpdate update(ComboBoxTabstop->Items());
    for (int i = 1; i <= 30; ++i) ComboBoxTabstop->Items().Add(IntToStr(i));
  }
  ComboBoxTabstop->OnChange = TNotifyEvent(this, &TEnvironmentDlg::ComboBoxTabstopChange);
  PlaceLabel(Label23, Display, 200, 168, "Undo &limit:");
  Place(ComboBoxUndoLimit, Display, 300, 164, 80, 21)->SetText("1024");
  ComboBoxUndoLimit->SetMaxLength(5);
  SetItems(ComboBoxUndoLimit->Items(), {"0", "8", "16", "32", "64", "128", "256", "512", "1024", "2048", "4096",
                                        "8192", "16384", "32768"});
  ComboBoxUndoLimit->OnChange = TNotifyEvent(this, &TEnvironmentDlg::ComboBoxUndoLimitChange);

  const std::tuple<TCheckBox*, const char*, bool> options[] = {{CBAutoIndentMode, "&Auto indent mode", true},
                                                               {CBCursorMoveEol, "Cursor move &Eol", false},
                                                               {CBSmartTab, "S&mart tap", false},
                                                               {CBInserMode, "&Insert mode", true}};
  top = 208;
  for (auto [box, caption, checked] : options) {
    Place(box, Display, 16, top, 250, 17)->SetCaption(caption);
    box->SetChecked(checked);
    top += 24;
  }
  PlaceDefaultButton(Button3, Display, 16, 316, 80, "&Default", &TEnvironmentDlg::Button3Click);
}

}  // namespace vk
