// The main window's editing, view and tool commands: undo, redo and delete
// line, zoom, the comment commands and their states, the gutter, find and
// replace handed to the active document, the tool bar's find box, printing,
// help, the font editor, and the visibility of the tool bar, the side panel
// and the file list's view style.

#include <memory>

#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "app/ChildWin.h"
#include "services/EditCommands.h"
#include "dialogs/FindText.h"
#include "app/Main.h"
#include "services/ProjectFiles.h"
#include "services/SearchHistory.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/FilePaths.h"
#include "platform/MessageBoxes.h"
#include "platform/ScopeGuard.h"
#include "platform/Shell.h"

namespace vk {

void TMainForm::BindCommands() {
  EditUndoCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditUndoCmdExecute);
  EditRedoCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditRedoCmdExecute);
  EditlOneLineDelCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditlOneLineDelCmdExecute);
  BtnFontMaxCmd->OnExecute = TNotifyEvent(this, &TMainForm::BtnFontMaxCmdExecute);
  BtnFontMinCmd->OnExecute = TNotifyEvent(this, &TMainForm::BtnFontMinCmdExecute);
  EditInCommentCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditInCommentCmdExecute);
  EditInCommentCmd->OnUpdate = TNotifyEvent(this, &TMainForm::EditInCommentCmdUpdate);
  EditOutCommentCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditOutCommentCmdExecute);
  EditLineCommentCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditLineCommentCmdExecute);
  EditLineNumberCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditLineNumberCmdExecute);
  EditLineNumber1->OnClick = TNotifyEvent(this, &TMainForm::EditLineNumberCmdExecute);
  Edit1->OnClick = TNotifyEvent(this, &TMainForm::Edit1Click);
  EditFindCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditFindCmdExecute);
  ToBtnFind->OnClick = TNotifyEvent(this, &TMainForm::ToBtnFindClick);
  EditReplaceCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditReplaceCmdExecute);
  EditBitToByteCmd->OnExecute = TNotifyEvent(this, &TMainForm::EditBitToByteCmdExecute);
  ComboBox2Find->OnDropDown = TNotifyEvent(this, &TMainForm::ComboBox2FindDropDown);
  FilePrinterCmd->OnExecute = TNotifyEvent(this, &TMainForm::FilePrinterCmdExecute);
  FilePrintSetupCmd->OnExecute = TNotifyEvent(this, &TMainForm::FilePrintSetupCmdExecute);
  HelpHelpCmd->OnExecute = TNotifyEvent(this, &TMainForm::HelpHelpCmdExecute);
  HelpMega103->OnClick = TNotifyEvent(this, &TMainForm::HelpMega103Click);
  HelpMega603->OnClick = TNotifyEvent(this, &TMainForm::HelpMega603Click);
  FontEdit1->OnClick = TNotifyEvent(this, &TMainForm::FontEdit1Click);
  SetupToolBarShow1->OnClick = TNotifyEvent(this, &TMainForm::SetupToolBarShow1Click);
  SetupIncWindowShow1->OnClick = TNotifyEvent(this, &TMainForm::SetupIncWindowShow1Click);
}

// ---------------------------------------------------------------- editing

void TMainForm::EditUndoCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) document->Editor->CommandProcessor(ecUndo, 'a');
}

void TMainForm::EditRedoCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) document->Editor->CommandProcessor(ecRedo, 'a');
}

void TMainForm::EditlOneLineDelCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) document->Editor->CommandProcessor(ecDeleteLine, 'a');
}

void TMainForm::BtnFontMaxCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) ZoomEditorFont(*document->Editor, 2);
}

void TMainForm::BtnFontMinCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) ZoomEditorFont(*document->Editor, -2);
}

void TMainForm::EditInCommentCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) CommentInSelection(*document->Editor);
  FollowSelection();
}

void TMainForm::EditOutCommentCmdExecute(TObject*) {
  TMDIChild* document = ActiveDocument();
  if (document && !CommentOutSelection(*document->Editor)) ShowMessage(CommentIncorrectText);
  FollowSelection();
}

void TMainForm::FollowSelection() {
  TMDIChild* document = ActiveDocument();
  const bool selected = document && document->Editor->HasSelectedText();
  for (TMenuItem* item : {EditInComment1, EditOutComment1}) item->SetEnabled(selected);
  for (TCustomAction* action : {EditInCommentCmd, EditOutCommentCmd, EditBitToByteCmd}) action->SetEnabled(selected);
  for (TToolButton* button : {ToBtnInCommenItem, ToBtnOutCommentItem}) button->SetEnabled(selected);
  if (document) document->EnableSelectionCommands(selected);
}

void TMainForm::Edit1Click(TObject*) { FollowSelection(); }

// The idle update, too, goes by the selection: a comment item offered
// without one would do nothing, its action being off.
void TMainForm::EditInCommentCmdUpdate(TObject*) { FollowSelection(); }

void TMainForm::EditLineCommentCmdExecute(TObject*) {
  // The active document's own caret line: the line last reported may be
  // another window's.
  if (TMDIChild* document = ActiveDocument()) InsertSeparatorLine(*document->Editor, document->Editor->CaretY());
}

void TMainForm::EditLineNumberCmdExecute(TObject*) {
  if (TMDIChild* document = ActiveDocument()) document->ToggleGutter();
}

// ---------------------------------------------------------------- find and replace in the document

void TMainForm::EditFindCmdExecute(TObject*) { SendDocumentCommand(EditFindCmd->Tag()); }

void TMainForm::ToBtnFindClick(TObject*) { SendDocumentCommand(ToBtnFind->Tag()); }

void TMainForm::EditReplaceCmdExecute(TObject*) { SendDocumentCommand(EditReplaceCmd->Tag()); }

void TMainForm::EditBitToByteCmdExecute(TObject*) { SendDocumentCommand(EditBitToByteCmd->Tag()); }

void TMainForm::ComboBox2FindDropDown(TObject*) {
  // Read where the find dialog writes it: the editor folder of the
  // settings, not the current folder.
  TSearchHistory history("FindF.ini");
  ShowSearchHistory(*ComboBox2Find, history, "Cannot find the file[FindF.ini]to read! ");
}

// ---------------------------------------------------------------- printing

void TMainForm::FilePrinterCmdExecute(TObject*) {
  TMDIChild* document = ActiveDocument();
  if (!document || !PrintDialog->Execute()) return;
  // A plain-text control lays the text out on the printer's pages.
  auto text = std::make_unique<TRichEdit>(this);
  text->SetVisible(false);
  text->SetParent(this);
  text->SetAlign(alClient);
  text->Lines().Assign(document->Editor->Lines());
  SetPanelText(spPrint, "Print...");
  TScopeExit printed([this] { SetPanelText(spPrint, ""); });
  text->Print(ExtractFileName(document->Caption()));
}

void TMainForm::FilePrintSetupCmdExecute(TObject*) { PrinterSetupDialog->Execute(); }

// ---------------------------------------------------------------- help and the font editor

void TMainForm::ShowHelpFile(const std::string& name) {
  std::string folder = TSettingsReader(AttrKeyNames[EditorKeyIndex]).String(EditorValue::EditorPath).value_or("");
  if (folder.empty()) folder = LookUpInstallFolder().Folder;
  const std::string path = JoinPath(folder, name);
  if (!FileExists(path)) {
    MessageBox("Cannot find the help file[" + path + "]! ", "Error", MB_ICONERROR);
    return;
  }
  Shell().OpenHelp(path);
}

void TMainForm::HelpHelpCmdExecute(TObject*) { ShowHelpFile("VornkitHelpE.HLP"); }

void TMainForm::HelpMega103Click(TObject*) { ShowHelpFile("MEGA103-603.HLP"); }

void TMainForm::HelpMega603Click(TObject*) { ShowHelpFile("MEGA103-603.HLP"); }

void TMainForm::FontEdit1Click(TObject*) {
  // Beside the program's files, wherever the program was started from.
  const std::string program = JoinPath(LookUpInstallFolder().Folder, "FontEdit/FontEdit.exe");
  if (!FileExists(program)) {
    MessageBox("FontEdit is not installed[" + program + "]! ", "Error", MB_ICONERROR);
    return;
  }
  Shell().StartProgram(program, {});
}

// ---------------------------------------------------------------- tool bar and side panel

void TMainForm::SetupToolBarShow1Click(TObject*) {
  const bool show = !SetupToolBarShow1->Checked();
  ToolBar2->SetVisible(show);
  SetupToolBarShow1->SetChecked(show);
}

void TMainForm::SetupIncWindowShow1Click(TObject*) {
  const bool show = !SetupIncWindowShow1->Checked();
  if (show) {
    // The splitter goes back to the panel's right edge.
    IncludeFilePanel1->SetVisible(true);
    Splitter2->SetLeft(IncludeFilePanel1->Left() + IncludeFilePanel1->Width());
  } else {
    IncludeFilePanel1->SetVisible(false);
  }
  Splitter2->SetVisible(show);
  SetupIncWindowShow1->SetChecked(show);
}

}  // namespace vk
