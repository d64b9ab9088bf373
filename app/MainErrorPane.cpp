// The build's results in the main window: the output sorted into the error
// pane with the counts beside it, the result box, the double click that
// shows a pane line's source line, and the pane's view and colour menus.

#include "services/BuildOutput.h"
#include "services/BuildRunner.h"
#include "app/ChildWin.h"
#include "dialogs/CompilerDlg.h"
#include "services/ErrorJump.h"
#include "app/Main.h"
#include "services/ProjectFiles.h"

namespace vk {

int ErrorCount = 0;
int WarningCount = 0;

namespace {

// Lines 1 and 3 of the count memo, which a person may have typed away.
void SetCountLine(TStrings& lines, int index, int count) {
  while (lines.Count() <= index) lines.Add("");
  lines.Put(index, CountText(count));
}

}  // namespace

void TMainForm::ParseBuildOutput(const TBuildEnd& end) {
  TStrings& pane = SrcEditErrLine->Lines();
  pane.Clear();
  FPaneFolders = {};
  TBuildCounts counts =
      ClassifyBuildOutput(Memo1->Lines(), pane, TBuildPrograms(InstallFolder, ProjectFolder()), &FPaneFolders);
  AddBuildFailureLine(end, counts, pane);
  ShowBuildCounts(counts.Errors, counts.Warnings);
}

void TMainForm::ShowBuildCounts(int errors, int warnings) {
  ErrorCount = errors;
  WarningCount = warnings;
  SetCountLine(MemoErrorCount->Lines(), 1, ErrorCount);
  SetCountLine(MemoErrorCount->Lines(), 3, WarningCount);
}

void TMainForm::ShowCompilerResult(const TBuildEnd& end) {
  CompilerErrorCount = ErrorCount;
  CompilerWarningCount = WarningCount;
  // A fresh box every time: it frees itself when it closes.
  Application().CreateForm(CompilerDlg);
  CompilerDlg->SetProject(ProjectFolder(), MainFileName(), InstallFolder);
  CompilerDlg->SetErrorCountLines(&MemoErrorCount->Lines());
  CompilerDlg->SetBuildOutput(&Memo1->Lines());
  CompilerDlg->SetBuildStopped(end.Stopped);
  CompilerDlg->SetBuildStart(end.StartNs);
  CompilerDlg->ShowModal();
}

void TMainForm::SrcEditErrLineDblClick(TObject*) {
  // The editor's own double click has put the caret on the clicked line.
  TStrings& pane = SrcEditErrLine->Lines();
  int paneLine = SrcEditErrLine->CaretY();
  if (paneLine > pane.Count()) return;
  MarkPaneLine(*SrcEditErrLine);
  std::optional<TErrorJump> jump = ParseErrorJump(pane.Get(paneLine - 1));
  if (!jump) return;
  // The file the line names, or none: a file that cannot be read is
  // reported, and no other document's line is marked instead.
  TMDIChild* target = ShowFile(JumpPath(*jump, FPaneFolders.Of(paneLine - 1), ProjectFolder()));
  if (!target) return;
  target->Editor->SetFocus();
  SelectErrorLine(*target->Editor, jump->Line);
  target->SetWindowState(wsMaximized);
}

void TMainForm::SetupErrWindowShow1Click(TObject*) {
  bool show = !SetupErrWindowShow1->Checked();
  if (show) ErrorPanel->SetAlign(alBottom);
  ErrorPanel->SetVisible(show);
  Splitter1->SetVisible(show);
  SetupErrWindowShow1->SetChecked(show);
}

void TMainForm::SetUpErrColorCmdExecute(TObject* Sender) {
  for (TMenuItem* submenu : {SetUpErrFont1, SetUpErrColor1})
    for (int i = 0; i < submenu->Count(); ++i)
      if (submenu->Items(i)->Action() == Sender)
        for (int j = 0; j < submenu->Count(); ++j) submenu->Items(j)->SetChecked(j == i);
}

}  // namespace vk
