// The document window's editing commands: find and replace through their
// dialogs with the question at each hit, undo, redo and delete line through
// the editor's commands, the block comments and the separator line, and the
// gutter.

#include "SrcEdit/Source/SrcEditKeyCmds.h"
#include "app/ChildWin.h"
#include "services/EditCommands.h"
#include "dialogs/FindText.h"
#include "app/Main.h"
#include "dialogs/ReplaceFind.h"
#include "dialogs/ReplaceSelect.h"
#include "platform/MessageBoxes.h"
#include "platform/ScopeGuard.h"

namespace vk {

namespace {

// Whether the selection's first line, taken as the text to find, stands
// where it begins as whole words, by the search engine's own test.
bool StandsAsWholeWords(TCustomSrcEdit& editor, TSrcEditSearchCustom& engine, const std::string& text) {
  const TBufferCoord at = SelectedRun(editor).First;
  engine.SetOptions({ssoMatchCase, ssoWholeWord});
  engine.SetPattern(text);
  const int count = engine.FindAll(editor.Lines().GetView(at.Line - 1));
  for (int i = 0; i < count; ++i)
    if (engine.GetResult(i) == at.Char) return true;
  return false;
}

// "Whole words only" goes off for one search whose text is a selection
// that begins or ends inside a word, which the option would never find,
// and comes back on as the scope ends.
auto WholeWordsOffInsideAWord(TCheckBox& box, TCustomSrcEdit& editor, TSrcEditSearchCustom& engine,
                              const std::string& selected) {
  const bool off = box.Checked() && !selected.empty() && !StandsAsWholeWords(editor, engine, selected);
  if (off) box.SetChecked(false);
  return TScopeExit([&box, off] {
    if (off) box.SetChecked(true);
  });
}

}  // namespace

void TMDIChild::BindCommands() {
  EditFindCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditFindCmdExecute);
  EditReplaceCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditReplaceCmdExecute);
  Editor->OnReplaceText = TReplaceTextEvent(this, &TMDIChild::EditorReplaceText);
  EditUndoCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditUndoCmdExecute);
  EditRedoCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditRedoCmdExecute);
  EditlOneLineDel->OnExecute = TNotifyEvent(this, &TMDIChild::EditlOneLineDelExecute);
  EditInCommentCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditInCommentCmdExecute);
  EditOutCommentCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditOutCommentCmdExecute);
  EditLineCommentCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditLineCommentCmdExecute);
  EditLineNumberCmd->OnExecute = TNotifyEvent(this, &TMDIChild::EditLineNumberCmdExecute);
}

// ---------------------------------------------------------------- find and replace

void TMDIChild::EditFindCmdExecute(TObject*) {
  TScopeExit textFromSelection([] { FindFromToolbarFlag = 0; });
  const bool fromToolbar = FindFromToolbarFlag == 1;
  const std::string selected = fromToolbar ? "" : TrimRight(FirstLine(Editor->SelText()));
  FindForm->ComboFindText->SetText(fromToolbar ? MainForm->ComboBox2Find->Text() : selected);
  const auto wholeWords = WholeWordsOffInsideAWord(*FindForm->CBWholeWord, *Editor, *SrcEditSearch1, selected);
  FPromptMode = cmFind;
  const TModalResult result = FindForm->ShowModal();
  if (result != mrOk && result != mrAll) return;
  const std::string text = FindForm->ComboFindText->Text();
  if (text.empty()) {
    MessageBox("Select the string to find!", "Character to find!", MB_ICONERROR);
    return;
  }
  // A walk over every hit of the whole text that replaces nothing: the
  // question at each hit goes on or stops.
  TSrcSearchOptions options{ssoPrompt, ssoEntireScope, ssoReplaceAll};
  if (FindForm->CBMatchCase->Checked()) options.Include(ssoMatchCase);
  if (FindForm->CBWholeWord->Checked()) options.Include(ssoWholeWord);
  if (FindForm->RBSelectedOnly->Checked()) options.Include(ssoSelectedOnly);
  if (FindForm->RBBackward->Checked()) options.Include(ssoBackwards);
  if (Editor->SearchReplace(text, "", options) == 0)
    MessageBox("The end of the search!", "Character to find", MB_ICONERROR);
}

void TMDIChild::EditReplaceCmdExecute(TObject*) {
  const std::string selected = TrimRight(FirstLine(Editor->SelText()));
  ReplaceFind->ComboFindText->SetText(selected);
  const auto wholeWords = WholeWordsOffInsideAWord(*ReplaceFind->CBWholeWord, *Editor, *SrcEditSearch1, selected);
  FPromptMode = cmReplace;
  const TModalResult result = ReplaceFind->ShowModal();
  if (result != mrOk && result != mrAll) return;
  const std::string text = ReplaceFind->ComboFindText->Text();
  if (text.empty()) {
    MessageBox("Select the string to find!", "Character to find", MB_ICONERROR);
    return;
  }
  TSrcSearchOptions options{ssoReplace};
  if (ReplaceFind->CBMatchCase->Checked()) options.Include(ssoMatchCase);
  if (ReplaceFind->CBWholeWord->Checked()) options.Include(ssoWholeWord);
  if (ReplaceFind->CBPrompt->Checked()) options.Include(ssoPrompt);
  if (ReplaceFind->RBSelectedOnly->Checked()) options.Include(ssoSelectedOnly);
  if (ReplaceFind->RBBackward->Checked()) options.Include(ssoBackwards);
  if (ReplaceFind->RBEntireScope->Checked()) options.Include(ssoEntireScope);
  if (result == mrAll) {
    options.Include(ssoEntireScope);
    options.Include(ssoReplaceAll);
  }
  // Normal selection mode from here on, once the search has taken a column
  // block or whole lines as its scope: "Selected text" is what the person
  // selected.
  TScopeExit normalMode([this] { Editor->SetSelectionMode(smNormal); });
  if (Editor->SearchReplace(text, ReplaceFind->ComboReplaceText->Text(), options) == 0)
    MessageBox("The end of the search! ", "Character to find", MB_ICONERROR);
}

void TMDIChild::EditorReplaceText(TObject*, const std::string& ASearch, const std::string&, int, int,
                                  TSrcReplaceAction& Action) {
  const TPoint caret = Editor->ClientToScreen({Editor->CaretXPix(), Editor->CaretYPix()});
  ReplaceSelect->PlaceNear(caret.X, caret.Y);
  ReplaceSelect->SetMode(FPromptMode, ASearch);
  Action = ReplaceSelect->Ask();
}

// ---------------------------------------------------------------- editing

void TMDIChild::EditUndoCmdExecute(TObject*) { Editor->CommandProcessor(ecUndo, 'a'); }

void TMDIChild::EditRedoCmdExecute(TObject*) { Editor->CommandProcessor(ecRedo, 'a'); }

void TMDIChild::EditlOneLineDelExecute(TObject*) { Editor->CommandProcessor(ecDeleteLine, 'a'); }

void TMDIChild::EditInCommentCmdExecute(TObject*) {
  CommentInSelection(*Editor);
  FollowSelection();
}

void TMDIChild::EditOutCommentCmdExecute(TObject*) {
  if (!CommentOutSelection(*Editor)) ShowMessage(CommentIncorrectText);
  FollowSelection();
}

void TMDIChild::FollowSelection() { MainForm->FollowSelection(); }

void TMDIChild::EditLineCommentCmdExecute(TObject*) { InsertSeparatorLine(*Editor, Editor->CaretY()); }

void TMDIChild::EditLineNumberCmdExecute(TObject*) { ToggleGutter(); }

void TMDIChild::ToggleGutter() {
  const bool visible = !Editor->Gutter().Visible();
  Editor->Gutter().SetVisible(visible);
  EditLineNumberCmd->SetChecked(visible);
  MainForm->EditLineNumber1->SetChecked(visible);
}

}  // namespace vk
