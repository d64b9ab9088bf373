#include "app/ChildWin.h"

#include "services/EditorSettings.h"
#include "app/Main.h"
#include "app/MenuLayout.h"
#include "platform/MessageBoxes.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"

namespace vk {

uint8_t FindFromToolbarFlag = 0;
int CurrentLine = 0;

bool IsNewFileCaption(const std::string& caption) {
  return caption.compare(0, 6, "NONAME") == 0 || caption.compare(0, 6, "Noname") == 0;
}

bool IsNonameCaption(const std::string& caption) { return caption.compare(0, 6, "NONAME") == 0; }

TMDIChild::TMDIChild(TComponent* owner) : TForm(owner) {
  SetFormStyle(fsMDIChild);
  SetPosition(poDefault);
  SetBounds(0, 0, 640, 480);
  SetWindowState(wsMaximized);
  OnShow = TNotifyEvent(this, &TMDIChild::FormShow);
  OnClose = TCloseEvent(this, &TMDIChild::FormClose);

  Editor->SetParent(this);
  TFont font;
  font.SetName("Courier New");
  font.SetHeight(-13);
  Editor->SetFont(font);
  font.SetHeight(-11);
  Editor->Gutter().SetFont(font);
  Editor->SetHighlighter(MainForm->SrcAvrHl);
  Editor->SetRightEdge(100);
  Editor->SetSearchEngine(SrcEditSearch1);
  Editor->SetWantTabs(true);
  Editor->SetPopupMenu(PopupMenu1);
  // Shift+Enter and F1 run no editor command here.
  for (TShortCut key : {ShortCut(VK_RETURN, {ssShift}), ShortCut(VK_F1, {})})
    if (int index = Editor->Keystrokes().FindShortcut(key); index >= 0) Editor->Keystrokes().Delete(index);
  Editor->OnStatusChange = TStatusChangeEvent(this, &TMDIChild::EditorStatusChange);
  Editor->OnKeyDown = TKeyEvent(this, &TMDIChild::EditorKeyDown);
  Editor->OnKeyUp = TKeyEvent(this, &TMDIChild::EditorKeyUp);
  Editor->OnMouseDown = TMouseEvent(this, &TMDIChild::EditorMouseDown);
  Editor->OnMouseMove = TMouseMoveEvent(this, &TMDIChild::EditorMouseMove);
  Editor->OnMouseUp = TMouseEvent(this, &TMDIChild::EditorMouseUp);
  Editor->OnEnter = TNotifyEvent(this, &TMDIChild::EditorEnter);
  Editor->OnPasteReplaced = TPasteReplacedEvent(this, &TMDIChild::EditorPasteReplaced);
  SetActiveControl(Editor);

  CreateActions();
  CreateMenus();
  BindCommands();
  FollowUndoState();
}

TMDIChild::~TMDIChild() {
  if (LastMDIChild == this) LastMDIChild = nullptr;
}

void TMDIChild::CreateActions() {
  struct TRow {
    TCustomAction* Action;
    const char* Caption;
    TShortCut ShortCut;
  };
  const TRow rows[] = {
      {EditUndoCmd, "&Undo", Ctrl('Z')},
      {EditRedoCmd, "&Redo", Ctrl('Z', {ssShift})},
      {EditCutCmd, "Cu&t", Ctrl('X')},
      {EditCopyCmd, "&Copy", Ctrl('C')},
      {EditPasteCmd, "&Paste", Ctrl('V')},
      {EditSelectAllCmd, "Se&lect All", Ctrl('A')},
      {EditInCommentCmd, "Insert &Select Comment", scNone},
      {EditOutCommentCmd, "&Delete Select Comment", scNone},
      {EditLineCommentCmd, "Insert &OneLine Comment", scNone},
      {EditLineNumberCmd, "Visible &Line Number ", scNone},
      {EditFindCmd, "&Find...", Ctrl('F')},
      {EditReplaceCmd, "&Replace...", Ctrl('R')},
      {EditlOneLineDel, "&Delete OneLine ", Ctrl('Y')},
      {EditBitToByteCmd, "Bit To Byte Chang", Ctrl('B')},
  };
  for (const TRow& row : rows) {
    row.Action->SetActionList(ActionList1);
    row.Action->SetCategory("Edit");
    row.Action->SetCaption(row.Caption);
    row.Action->SetShortCut(row.ShortCut);
  }
  EditLineNumberCmd->SetChecked(true);
  EditBitToByteCmd->SetEnabled(false);
  EditBitToByteCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditBitToByteCmdExecute);
}

void TMDIChild::CreateMenus() {
  AddMenu(MainMenu1->Items(), Edit1, "&Edit(E)", 2);
  Add(Edit1, EditUndo1, "", EditUndoCmd);
  Add(Edit1, EditRedo1, "", EditRedoCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditCut1, "", EditCutCmd);
  Add(Edit1, EditCopy1, "", EditCopyCmd);
  Add(Edit1, EditPaste1, "", EditPasteCmd);
  Add(Edit1, EditSelctAll1, "", EditSelectAllCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditLineNumber1, "", EditLineNumberCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditInComment1, "", EditInCommentCmd);
  Add(Edit1, EditOutComment1, "", EditOutCommentCmd);
  Add(Edit1, EditLineComment1, "", EditLineCommentCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditFind1, "", EditFindCmd);
  Add(Edit1, EditReplace1, "", EditReplaceCmd);
  AddSeparator(this, Edit1);
  Add(Edit1, EditBitToByteCmd1, "Bit To Byte Chang", MainForm->EditBitToByteCmd);
  SetMenu(MainMenu1);

  const std::pair<TMenuItem*, TCustomAction*> popup[] = {
      {PoEditUndo1, EditUndoCmd},        {PoEditRedo1, EditRedoCmd},
      {PoEditCut1, EditCutCmd},          {PoEditlOneLineDel1, EditlOneLineDel},
      {PoEditCopy1, EditCopyCmd},        {PoEditPaste1, EditPasteCmd},
      {PoEditSelctAll1, EditSelectAllCmd}, {PoEditInComment1, EditInCommentCmd},
      {PoEditOutComment1, EditOutCommentCmd}, {PoEditLineComment1, EditLineCommentCmd},
      {PoEditFind1, EditFindCmd},        {PoEditReplace1, EditReplaceCmd},
      {PoEditBitToByte, EditBitToByteCmd},
  };
  for (auto [item, action] : popup) Add(PopupMenu1->Items(), item, "", action);
}

// ---------------------------------------------------------------- showing, saving, closing

void TMDIChild::FormShow(TObject*) {
  Editor->SetAlign(alClient);
  ApplyEditorSettings(*Editor, *MainForm->SrcAvrHl);
  EditLineNumberCmd->SetChecked(Editor->Gutter().Visible());
}

void TMDIChild::Load(TDiskFile& file, const std::string& path) {
  Editor->Lines().LoadFromStream(file.Bytes);
  FDiskFile.Remember(file);
  NoteNulBytes(path, std::string_view(file.Bytes.Memory(), static_cast<size_t>(file.Bytes.Size())));
}

void TMDIChild::NoteNulBytes(const std::string& path, std::string_view bytes) {
  // One search of the bytes rather than one per line.
  FHeldNulBytes = bytes.find('\0') != std::string_view::npos;
  if (FHeldNulBytes) MessageBox(path + NulBytesOpenText, "Open message", MB_ICONWARNING);
}

int TMDIChild::Ask(const std::string& text, const std::string& caption, uint32_t flags) {
  TTempValue asking(FAsking, true);
  return MessageBox(text, caption, flags);
}

bool TMDIChild::Save(TSaveRequest request) {
  if (FHeldNulBytes && Editor->Modified() &&
      Ask(Caption() + NulBytesSaveText, "Save message", MB_YESNO | MB_ICONWARNING) != IDYES)
    return false;
  // A program that keeps changing the file is reported after a few rounds
  // rather than raced for ever.
  for (int round = 1;; ++round) {
    const std::optional<TFileStamp> expected = AskToWriteOverDiskFile(request);
    if (!expected) return false;
    try {
      WriteTo(Caption(), expected);
      return true;
    } catch (const ETargetChangedError&) {
      // Another program wrote the file after the check: its new state is
      // asked about.
      if (round == 3) throw;
    }
  }
}

void TMDIChild::WriteTo(const std::string& fileName, const std::optional<TFileStamp>& expected) {
  TSafeFileStream file(fileName);
  if (expected) file.SetExpectedTarget(*expected);
  const uint64_t hash = SaveHashed(Editor->Lines(), file);
  file.Commit();
  FDiskFile.Written(fileName, hash);
  Editor->SetModified(false);
}

bool TMDIChild::SaveBeforeClose() {
  switch (Ask("Save to file?", "Save message", MB_YESNOCANCEL)) {
    case IDYES:
      break;
    case IDNO:
      return true;
    default:
      return false;
  }
  if (!IsNewFileCaption(Caption())) return Save(srThisDocument);
  TSaveDialog& dialog = *MainForm->SaveDialog;
  dialog.SetFileName(Caption());
  if (!dialog.Execute()) return false;
  WriteTo(dialog.FileName());
  return true;
}

void TMDIChild::FormClose(TObject*, TCloseAction& Action) {
  if (Editor->Modified() && !SaveBeforeClose()) {
    Action = caNone;
    return;
  }
  Action = caFree;

  // This window still counts among the documents.
  const bool last = MainForm->DocumentCount() == 1;
  MainForm->SetDocumentCommands(!last, last);
  for (TCustomAction* action : {EditFindCmd, EditReplaceCmd}) action->SetEnabled(!last);
  if (last) {
    MainForm->ClearProjectViews();
    MainForm->SetPanelText(spProjectFolder, "");
    MainForm->SetPanelText(spMainFile, "");
  }
  // The window is gone for the commands from here on, though it is freed
  // later: an idle update before then must not take the main window's Undo
  // state from its editor, the focused edit target.
  if (Editor->Focused()) TWinControl::RemoveFocus(false);
  FClosing = true;
  // The selection commands follow the window that is left in front, or go
  // off with the last one.
  MainForm->FollowSelection();
}

// ---------------------------------------------------------------- the document command

void TMDIChild::WndProc(TMessage& message) {
  if (message.Msg == WM_DOCUMENTCOMMAND) {
    DoCommand(message);
    return;
  }
  if (message.Msg == WM_CHECKDISKFILE) {
    ReloadIfChangedOnDisk();
    return;
  }
  TForm::WndProc(message);
}

void TMDIChild::DoCommand(TMessage& message) {
  switch (message.WParam) {
    case dcSave:
      Save(srThisDocument);
      break;
    case dcSaveAll:
      // Save All writes what changed: an unchanged file, a header nobody
      // may write among them, has nothing to write.
      if (Editor->Modified()) Save(srEveryDocument);
      break;
    case dcFind:
      FindFromToolbarFlag = 0;
      PoEditFind1->Click();
      break;
    case dcFindToolbar:
      FindFromToolbarFlag = 1;
      PoEditFind1->Click();
      break;
    case dcReplace:
      PoEditReplace1->Click();
      break;
    case dcBitToByte:
      PoEditBitToByte->Click();
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------- the editor's events

void TMDIChild::EditorStatusChange(TObject*, TSrcStatusChanges) {
  // Every change, made by a key or not, reaches the panels, the save
  // commands and the selection commands (a window behind another one leaves
  // the main window's alone).
  MainForm->ShowDocumentState(this);
  CurrentLine = Editor->CaretY();
  FollowUndoState();
  // An answer about another program's change covers the changes made
  // here: with none left (undone, saved, reloaded) a change on disk is new.
  if (!Editor->Modified()) FDiskFile.ForgetAnswer();
  if (MainForm->ActiveDocument() == this) FollowSelection();
}

void TMDIChild::FollowUndoState() {
  EditUndoCmd->SetEnabled(Editor->CanUndo());
  EditRedoCmd->SetEnabled(Editor->CanRedo());
}

void TMDIChild::EnableSelectionCommands(bool hasSelection) {
  for (TMenuItem* item : {EditInComment1, EditOutComment1, PoEditInComment1, PoEditOutComment1})
    item->SetEnabled(hasSelection);
  EditBitToByteCmd->SetEnabled(hasSelection);
}

// The window came to the front (the editor takes the focus then): the
// panels and the selection commands show its state, and its file is
// checked once the focus has settled. The focus that the program hands back
// as its box or dialog goes is no coming to the front: after No to a
// reload, the file is checked again when the user brings the window to
// the front, saves or builds.
void TMDIChild::EditorEnter(TObject*) {
  if (!Screen().FocusReturning()) PostMessage(this, WM_CHECKDISKFILE, 0, 0);
  MainForm->ShowDocumentState(this);
  if (MainForm->ActiveDocument() == this) FollowSelection();
}

void TMDIChild::EditorKeyDown(TObject*, uint16_t&, TShiftState) {
  MainForm->ShowDocumentState(this);
  FollowSelection();
}

void TMDIChild::EditorKeyUp(TObject*, uint16_t&, TShiftState) {
  MainForm->ShowDocumentState(this);
  FollowSelection();
}

void TMDIChild::EditorMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  Editor->SelectedColor().SetBG(clHighlight);
  FollowSelection();
}

void TMDIChild::EditorMouseMove(TObject*, TShiftState, int X, int Y) {
  MainForm->SetPanelText(spMouse, "X" + IntToStr(X) + "-Y" + IntToStr(Y));
  MainForm->ShowDocumentState(this);
  FollowSelection();
}

void TMDIChild::EditorMouseUp(TObject*, TMouseButton, TShiftState, int, int) { FollowSelection(); }

}  // namespace vk
