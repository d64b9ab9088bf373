// The build command (F9): the project's makefile checked, the windows'
// files checked for changes made on disk, the #include lines inserted, the
// changed documents saved, the main file's window in front, the last
// build's products deleted only beside a makefile the program wrote (any
// other makefile does its own cleaning, and a project may ship its
// .hex), AVRRUN.BAT written and run by the shell with
// its output in Memo1 as it comes (and a way to stop it), then the error
// pane and the result box (MainErrorPane.cpp).

#include "services/BuildOutput.h"
#include "services/BuildRunner.h"
#include "app/ChildWin.h"
#include "app/Main.h"
#include "services/EnvironmentMakefile.h"
#include "services/ProjectFiles.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "platform/FilePaths.h"
#include "platform/FileStamps.h"
#include "platform/InputHold.h"
#include "platform/MessageBoxes.h"
#include "platform/Processes.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"

namespace vk {

namespace {

// "AutoInsertBool" as the last build could read it.
bool GAutoInsert = false;

}  // namespace

void TMainForm::RunRunCmdExecute(TObject*) {
  // The output is read while the window paints: F9 meanwhile starts nothing.
  if (FBuilding) return;
  FBuilding = true;
  TScopeExit building([this] { FBuilding = false; });

  PageControl1->SetActivePage(TabSheet3);
  // Nothing of the last build stays beside this one's, also when this one
  // stops before make runs.
  SrcEditErrLine->Lines().Clear();
  Memo1->Lines().Clear();
  ShowBuildCounts(0, 0);

  // A build that cannot run changes and saves nothing.
  const std::string folder = ProjectFolder();
  if (!MakefileReadable(folder)) {
    ShowMessage(JoinPath(folder, "'makefile'") + "Cannot open file!");
    return;
  }
  // make, the error jump and the saved files see one text: a window whose
  // file another program changed shows it, or asks over changes of its own.
  for (int i = 0; i < DocumentCount(); ++i) Documents(i)->ReloadIfChangedOnDisk();
  TSettingsReader editorKey(AttrKeyNames[EditorKeyIndex]);
  if (std::optional<bool> autoInsert = editorKey.Bool(EditorValue::AutoInsertBool)) GAutoInsert = *autoInsert;
  // Before saving, so that make compiles the inserted lines.
  if (GAutoInsert) AutoInsertIncludes();
  // Whether or not a key has enabled the Save All item yet: a change made
  // without the keyboard (a paste from the menu) is built too. make reads
  // the files: one left unwritten would build a text no window shows.
  if (TMDIChild* unsaved = SaveChangedDocuments()) {
    ShowMessage(unsaved->Caption() + NotSavedBuildText);
    return;
  }
  if (!ShowMainFileWindow()) {
    ShowMessage("Cannot move to the line with more than one files already opened");
    return;
  }
  const std::string baseName = BuildBaseName(MainFileName());
  // Only beside a makefile the program wrote are these its products:
  // another makefile does its own cleaning, and a project may ship its .hex.
  if (IsOwnProjectMakefile(folder))
    for (const std::string& product : CleanFileList(folder, baseName)) DeleteFile(product);
  try {
    WriteBuildScript(InstallFolder, folder);
  } catch (const EStreamError&) {
    ShowMessage(ExtractFilePath(BuildScriptPath(InstallFolder)) + "AvrRun.bat" + "Cannot open file!");
    return;
  }
  const int64_t started = FileClockFloorNs();
  TBuildEnd end;
  if (baseName.empty())
    ShowMessage("File needs to be chosen!");
  else
    end = RunBuildScript();
  end.StartNs = started;
  ParseBuildOutput(end);
  ShowCompilerResult(end);
}

TBuildEnd TMainForm::RunBuildScript() {
  TProcessRunner runner;
  runner.SetCommand({"/bin/sh", BuildScriptPath(InstallFolder)});
  runner.OnLine = TLineEvent(this, &TMainForm::BuildOutputLine);
  // The keys typed meanwhile reach their window when make has ended, before
  // the result box is up, so that none answers it.
  TInputHold hold({Memo1});
  hold.OnStopRequest = TStopRequestEvent(this, &TMainForm::AskToStopBuild);
  TTempValue<TProcessRunner*> running(FBuildRunner, &runner);
  try {
    int status = runner.Run();
    // The shell reports a command that a signal ended as 128 + the signal.
    return {true, status, status > 128 ? status - 128 : 0, runner.Stopped()};
  } catch (const EProcessError&) {
    return {false, 0, 0};
  }
}

// Coloured tool output: the page shows, and the classification reads, the
// text without its control sequences.
void TMainForm::BuildOutputLine(const std::string& line) { Memo1->Lines().Add(WithoutControlSequences(line)); }

void TMainForm::AskToStopBuild() {
  if (!FBuildRunner || FBuildRunner->Stopped() || FAskingToStop) return;
  TTempValue<bool> asking(FAskingToStop, true);
  if (Application().MessageBox(StopBuildText, "Compile message", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
      IDYES)
    FBuildRunner->Stop();
}

}  // namespace vk
