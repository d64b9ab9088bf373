// The main window's life: made (dropped files accepted), first shown (the
// install folder, the first-run settings, the command states, the file
// associations), kept up to date when idle, and closed (with the question
// whether to save the open documents). Also the document command group
// that follows the document windows.

#include <initializer_list>

#include "app/ChildWin.h"
#include "app/Main.h"
#include "services/SettingsStore.h"
#include "dialogs/PrjName.h"
#include "platform/DropFiles.h"
#include "platform/FileIcons.h"

namespace vk {

void TMainForm::FormCreate(TObject*) {
  HandleNeeded();  // the window registers with its handle
  DragAcceptFiles(*this, true);
  ListView1->SetSmallImages(&FileIcons().SmallImages());
  ListView1->SetLargeImages(&FileIcons().LargeImages());
  PageControl1->SetActivePage(TabSheet2);
}

void TMainForm::WndProc(TMessage& message) {
  if (message.Msg == WM_DROPFILES) {
    DragFinish(static_cast<HDROP>(message.WParam));
    return;
  }
  TForm::WndProc(message);
}

void TMainForm::FormShow(TObject*) {
  if (FShown) return;
  FShown = true;
  TInstallFolderLookup lookup = LookUpInstallFolder();
  InstallFolder = lookup.Folder;
  if (lookup.Failed) ShowMessage(InstallFolderErrorText);

  if (IsFirstRun()) {
    // A registry that cannot be written is reported; the window still comes up.
    try {
      WriteFirstRunDefaults(*SrcAvrHl, InstallFolder);
    } catch (const Exception& e) {
      Application().HandleException(e);
    }
    if (PrjNameForm) PrjNameForm->SetFields(ReadProjectHeaderFields());
  }

  for (TMenuItem* item : {FileSave1, FileSaveAll1}) item->SetEnabled(false);
  for (TCustomAction* action : {FileSaveAsCmd, FileCloseAllCmd, FilePrinterCmd, RunRunCmd, SetupAvrCmd})
    action->SetEnabled(false);
  FilePrinterSetup1->SetEnabled(true);
  for (TCustomAction* action :
       {FileReOpenCmd, SetUpErrFontBlackCmd, SetUpErrFontGreenCmd, SetUpErrFontGrayCmd, SetUpErrFontRedCmd,
        SetUpErrColorWhiteCmd, SetUpErrColorTealCmd, SetUpErrColorGreenCmd, SetUpErrColorGrayCmd, HelpHelpCmd})
    action->SetEnabled(true);

  // The install folder stays the one beside the program, whatever folder
  // it was started from: the build script goes there (or to the user's
  // state folder when it is read-only), as the histories do.
  RegisterFileAssociations(InstallFolder);
}

void TMainForm::ActionList1Update(TBasicAction*, bool&) {
  TMDIChild* document = ActiveDocument();
  if (!document) return;
  EditUndoCmd->SetEnabled(document->Editor->CanUndo());
  EditRedoCmd->SetEnabled(document->Editor->CanRedo());
}

void TMainForm::FileExitCmdExecute(TObject*) { Close(); }

void TMainForm::FormClose(TObject*, TCloseAction& Action) {
  // The window painting during a build may be asked to close: it stays
  // until the build has ended, and asks whether to stop make. The program
  // goes on either way: the user closes it again once the build has ended.
  if (FBuilding) {
    Action = caNone;
    AskToStopBuild();
    return;
  }
  Action = caFree;
  if (!FileSaveAsCmd->Enabled()) return;
  switch (Application().MessageBox("Save to file?", "Save message", MB_YESNOCANCEL)) {
    case IDCANCEL:
      Action = caNone;
      break;
    case IDYES:
      // A new document whose Save dialog was cancelled keeps the program
      // running, so that its text is not lost.
      if (!SaveAll()) Action = caNone;
      break;
    default:
      break;
  }
}

void TMainForm::SetDocumentCommands(bool on, bool lastWindow) {
  for (TCustomAction* action : std::initializer_list<TCustomAction*>{
           FileSaveAsCmd, FilePrinterCmd, FileCloseAllCmd, EditUndoCmd, EditRedoCmd, EditLineCommentCmd,
           EditLineNumberCmd, EditlOneLineDelCmd, EditReplaceCmd, RunRunCmd, SetupAvrCmd, BtnFontMaxCmd,
           BtnFontMinCmd, ProjectCmd})
    action->SetEnabled(on);
  for (TMenuItem* item : {EditLineNumber1, PopIncludeAdd1, ProjectNameInsertComment1, ProjectNameDeleteComment2})
    item->SetEnabled(on);
  ToBtnFind->SetEnabled(on);
  ComboBox2Find->SetEnabled(on);
  if (!lastWindow) return;
  FileSaveCmd->SetEnabled(false);
  ShowDocumentState(nullptr);
  EditFindCmd->SetEnabled(false);
  FilePrinterSetup1->SetEnabled(true);
}

void TMainForm::ClearProjectViews() {
  SrcEditErrLine->Lines().Clear();
  MemoErrorCount->Lines().SetTextStr("Total Error:\r\n\r\nTotal Warning:\r\n\r\n");
  Memo1->Lines().Clear();
  TreeView1->Items()->Clear();
}

}  // namespace vk
