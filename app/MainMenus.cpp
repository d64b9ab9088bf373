// The main window's menu bar, the file list's popup menu and the tool bar.
// Menu items show English captions of their own over the actions' captions.

#include "app/ChildWin.h"
#include "app/Main.h"
#include "app/MenuLayout.h"
#include "app/ToolBarImages.h"

namespace vk {

void TMainForm::CreateMenus() {
  TMenuItem* bar = MainMenu1->Items();

  AddMenu(bar, File1, "&File", 0);
  Add(File1, FileNew1, "&New", FileNewCmd);
  Add(File1, FileOpen1, "&Open...", FileOpenCmd);
  Add(File1, FileReopen1, "&Reopen", FileReOpenCmd)->SetVisible(false);
  Add(File1, FileSave1, "&Save");
  FileSave1->SetShortCut(Ctrl('S'));
  FileSave1->SetTag(dcSave);
  FileSave1->OnClick = TNotifyEvent(this, &TMainForm::FileSave1Click);
  Add(File1, FileSaveAs1, "Save As...", FileSaveAsCmd);
  Add(File1, FileSaveAll1, "Save &All");
  FileSaveAll1->SetShortCut(Ctrl('S', {ssShift}));
  FileSaveAll1->SetTag(dcSaveAll);
  FileSaveAll1->OnClick = TNotifyEvent(this, &TMainForm::FileSaveAll1Click);
  Add(File1, FileClose1, "&Close", FileCloseCmd);
  Add(File1, FileCloseAll1, "Close All", FileCloseAllCmd);
  AddSeparator(this, File1);
  Add(File1, FilePrinter1, "&Print...", FilePrinterCmd)->SetShortCut(Ctrl('P'));
  Add(File1, FilePrinterSetup1, "Print &Setup", FilePrintSetupCmd);
  AddSeparator(this, File1);
  Add(File1, FileExit1, "E&xit", FileExitCmd);

  // A document window's own Edit menu (the same group) takes this one's
  // place while it is active. The find and replace items carry tags of
  // their own; their actions send the actions' tags.
  AddMenu(bar, Edit1, "&Edit", 2);
  Add(Edit1, EditUndo1, "&Undo", EditUndoCmd)->SetShortCut(Ctrl('Z'));
  Add(Edit1, EditRedo1, "&Redo", EditRedoCmd)->SetShortCut(Ctrl('Z', {ssShift}));
  AddSeparator(this, Edit1);
  Add(Edit1, EditCut1, "Cu&t", EditCutCmd);
  Add(Edit1, EditCopy1, "&Copy", EditCopyCmd);
  Add(Edit1, EditPaste1, "&Paste", EditPasteCmd);
  Add(Edit1, EditSelectAll1, "Se&lect All", EditSelectAllCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditInComment1, "Insert &Select Comment", EditInCommentCmd);
  Add(Edit1, EditOutComment1, "&Delete Select Comment", EditOutCommentCmd);
  Add(Edit1, EditLineComment1, "&Insert OneLine Comment", EditLineCommentCmd);
  Add(Edit1, EditlOneLineDel1, "&Delete OneLine ", EditlOneLineDelCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditFind1, "&Find...", EditFindCmd)->SetShortCut(Ctrl('F'));
  EditFind1->SetTag(dcReplace);
  Add(Edit1, EditReplace1, "&Replace...", EditReplaceCmd)->SetShortCut(Ctrl('R'));
  EditReplace1->SetTag(dcBitToByte);
  AddSeparator(this, Edit1);
  Add(Edit1, EditBitToByte1, "Bit To Byte Chang", EditBitToByteCmd);

  AddMenu(bar, Project1, "&Project", 3);
  Add(Project1, ProjectNameInsertComment1, "Project Name  Insert(Comment)", PrjNametInsertCommentCmd);
  Add(Project1, ProjectNameDeleteComment2, "Project Name Delete(Comment)", PrjNametDeleteCommentCmd);
  AddSeparator(this, Project1);
  Add(Project1, ProjectCmd1, "Project Comment SetUp", ProjectCmd);

  AddMenu(bar, Comfile1, "&Compile", 4);
  Add(Comfile1, ComfileRun1, "Compile and Build", RunRunCmd)->SetShortCut(ShortCut(VK_F9, {}));

  AddMenu(bar, Setup1, "&SetUp", 5);
  Add(Setup1, SetupAvr1, "Environment &Options...", SetupAvrCmd);
  AddSeparator(this, Setup1);
  Add(Setup1, EditLineNumber1, "Visible &Line Number ")->SetChecked(true);
  EditLineNumber1->SetEnabled(false);
  Add(Setup1, SetupToolBarShow1, "Visible &ToolBar ")->SetChecked(true);
  Add(Setup1, SetupIncWindowShow1, "Visible &File Windows")->SetChecked(true);
  Add(Setup1, SetupErrWindowShow1, "Visible &Error Windows")->SetChecked(true);
  AddSeparator(this, Setup1);
  Add(Setup1, SetupErrWindows1, "Environment &Error Windows");
  Add(SetupErrWindows1, SetUpErrFont1, "&Font Color...");
  Add(SetUpErrFont1, SetUpErrFontBlack1, "&Black", SetUpErrFontBlackCmd)->SetChecked(true);
  Add(SetUpErrFont1, SetUpErrFontGreen1, "Gr&een", SetUpErrFontGreenCmd);
  Add(SetUpErrFont1, SetUpErrFontGray1, "&Gray", SetUpErrFontGrayCmd);
  Add(SetUpErrFont1, SetUpErrFontRed1, "&Red", SetUpErrFontRedCmd);
  Add(SetupErrWindows1, SetUpErrColor1, "&Background Color");
  Add(SetUpErrColor1, SetUpErrColorWhite1, "&White", SetUpErrColorWhiteCmd)->SetChecked(true);
  Add(SetUpErrColor1, SetUpErrColorTeal1, "&Background", SetUpErrColorTealCmd);
  Add(SetUpErrColor1, SetUpErrColorGreen1, "&Green", SetUpErrColorGreenCmd);
  Add(SetUpErrColor1, SetUpErrColorGray1, "&Gray", SetUpErrColorGrayCmd);

  AddMenu(bar, Tools1, "&Tools", 6);
  Add(Tools1, WizzardMakefile1, "WizzardMakefile", WizzardMakefileCmd);
  Add(Tools1, ViewImageView1, "Mcu &Image View", ViewImageViewCmd);
  Add(Tools1, ViewAsciiCode1, "Ascii Code View", ViewAsciiCodeCmd);
  AddSeparator(this, Tools1);
  Add(Tools1, FontEdit1, "FontEdit");

  AddMenu(bar, Window1, "&Window", 9);
  Add(Window1, WindowCascade1, "", WindowCascadeCmd);
  Add(Window1, WindowTileHorizontal1, "", WindowTileHorizontalCmd);
  Add(Window1, WindowTileVertical1, "", WindowTileVerticalCmd);
  Add(Window1, WindowMinimizeAll1, "", WindowMinimizeAllCmd);
  Add(Window1, WindowArrangeAll1, "", WindowArrangeAllCmd);

  AddMenu(bar, Help1, "&Help", 10);
  Add(Help1, HelpHelp1, "&Vornkit Help", HelpHelpCmd);
  Add(Help1, HelpMega103, "Avr &Mega103");
  Add(Help1, HelpMega603, "Avr &Mega603");
  AddSeparator(this, Help1);
  Add(Help1, HelpAbout1, "", HelpAboutCmd);

  SetupErrWindowShow1->OnClick = TNotifyEvent(this, &TMainForm::SetupErrWindowShow1Click);

  SetMenu(MainMenu1);
  SetWindowMenu(Window1);

  // The file list's popup menu.
  for (auto [item, caption] :
       {std::pair{N14, "Large Icon"}, {N15, "Small Icon"}, {N17, "List Icon"}, {N19, "Report"}}) {
    Add(PopupMenu1->Items(), item, caption)->SetRadioItem(true);
    item->SetGroupIndex(1);
  }
  N19->SetChecked(true);
  AddSeparator(this, PopupMenu1->Items());
  Add(PopupMenu1->Items(), PopIncludeAdd1, "Insert include");
}

void TMainForm::CreateToolBar() {
  AddToolBarImages(*ImageList1);
  ToolBar2->SetParent(this);
  ToolBar2->SetBounds(0, 0, 1016, 29);
  ToolBar2->SetFlat(true);
  ToolBar2->SetImages(ImageList1);
  struct TButtonRow {
    TToolButton* Button;
    TBasicAction* Action;
    int Image;  // -1: a separator
    const char* Hint;
  };
  const TButtonRow buttons[] = {
      {ToBtnFileNewItem, FileNewCmd, tiNew, ""},
      {ToBtnFileOpenItem, FileOpenCmd, tiOpen, ""},
      {ToBtnFileSaveItem, nullptr, tiSave, "File Save"},
      {ToolButton1, nullptr, -1, ""},
      {ToBtnUndoItem, EditUndoCmd, tiUndo, ""},
      {ToBtnRedoItem, EditRedoCmd, tiRedo, ""},
      {ToolButton2, nullptr, -1, ""},
      {ToBtnInCommenItem, EditInCommentCmd, tiCommentIn, ""},
      {ToBtnOutCommentItem, EditOutCommentCmd, tiCommentOut, ""},
      {ToBtnLineNumberItem, EditLineNumberCmd, tiLineNumbers, ""},
      {ToolButton3, nullptr, -1, ""},
      {ToBtnFontMaxItem, BtnFontMaxCmd, tiFontLarger, ""},
      {ToBtnFontMinItem, BtnFontMinCmd, tiFontSmaller, ""},
      {ToolButton4, nullptr, -1, ""},
      {ImageToolButton, ViewImageViewCmd, tiMcuImage, ""},
      {ToBtnRun, RunRunCmd, tiRun, "Compile & Build "},
      {ToolButton5, nullptr, -1, ""},
      {ToBtnCommentInsert, PrjNametInsertCommentCmd, tiProjectNameInsert, "Project Name Insert Comment"},
      {ToBtnCommentDelete, PrjNametDeleteCommentCmd, tiProjectNameDelete, "Project Name Delete Comment"},
      {ToolButton6, nullptr, -1, ""},
  };
  for (const TButtonRow& row : buttons) {
    if (row.Image < 0) {
      row.Button->SetStyle(tbsSeparator);
      row.Button->SetWidth(8);
    }
    if (row.Action) row.Button->SetAction(row.Action);
    if (row.Image >= 0) row.Button->SetImageIndex(row.Image);
    if (*row.Hint) row.Button->SetHint(row.Hint);
    row.Button->SetParent(ToolBar2);
  }
  // The find box and its button end the row.
  ComboBox2Find->SetBounds(0, 0, 150, 21);
  ComboBox2Find->SetParent(ToolBar2);
  ToBtnFind->SetImageIndex(tiFind);
  ToBtnFind->SetHint("Find. Text");
  ToBtnFind->SetParent(ToolBar2);
  ToBtnFileSaveItem->OnClick = TNotifyEvent(this, &TMainForm::ToBtnFileSaveItemClick);
  ToBtnFileSaveItem->SetEnabled(false);
  ToBtnFind->SetTag(dcFindToolbar);
  ImageToolButton->SetEnabled(false);
  ToBtnFind->SetEnabled(false);
  ComboBox2Find->SetEnabled(false);
}

}  // namespace vk
