#pragma once
// The build result box TCompilerDlg: the main file, the verdict with the
// error and warning counts, the part the build used (BuildPart; "Unknown"
// when nothing tells it, and then no totals), and flash, SRAM and EEPROM
// used by the program, read from the linker map its link wrote or else
// from the program file (FindBuildProducts; "Unknown size" where neither
// can be read, or where a build that did not end well did not write them),
// against that part's sizes (PartSizes: the part table, else the tool
// chain; "Total unknown" where neither tells), with the locale's
// separators. Where the build's output does not tell, make is
// asked; the box waits for it under the hourglass.
//
// The build, after classifying its output:
//   1. CompilerErrorCount, CompilerWarningCount := its counts;
//   2. creates a TCompilerDlg into CompilerDlg, calls SetProject(project
//      folder, main file, install folder), SetBuildOutput(the output memo's
//      lines), SetErrorCountLines(the count memo's lines), SetBuildStopped
//      and SetBuildStart;
//   3. ShowModal (the result does not matter; closing frees the box).
// A build whose program size cannot be shown is an error: the box then
// shows one error and no warning, and so do the count memo's lines 1 and 3.
// A build the user stopped has the verdict "Stopped" with its own counts.

#include <cstdint>
#include <string>

#include "platform/Buttons.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/Memos.h"
#include "platform/Panels.h"
#include "services/MemoryReport.h"

namespace vk {

// Set by the build just before each showing.
extern int CompilerErrorCount;
extern int CompilerWarningCount;

class TCompilerDlg : public TForm {
public:
  explicit TCompilerDlg(TComponent* owner);
  std::string ClassName() const override { return "TCompilerDlg"; }

  // The current project: its folder and the main source's name ("" for
  // none), and the install folder, whose tool chain the build used.
  void SetProject(const std::string& folder, const std::string& mainFile, const std::string& installFolder);
  // The main window's count memo; none: nothing is written there.
  void SetErrorCountLines(TStrings* lines) { FErrorCountLines = lines; }
  // What the build printed, which tells the part its commands used; none:
  // the box does without.
  void SetBuildOutput(const TStrings* lines) { FBuildOutput = lines; }
  // The user stopped the build.
  void SetBuildStopped(bool stopped) { FBuildStopped = stopped; }
  // When the build started (TBuildEnd::StartNs): a build that did not end
  // well gives no figures of a map or program stamped before.
  void SetBuildStart(int64_t startNs) { FBuildStart = startNs; }

  TBevel* Bevel1 = new TBevel(this);
  TBevel* Bevel2 = new TBevel(this);
  TBevel* Bevel3 = new TBevel(this);
  TBevel* Bevel4 = new TBevel(this);
  TBevel* Bevel5 = new TBevel(this);
  TBevel* Bevel6 = new TBevel(this);
  TBevel* Bevel7 = new TBevel(this);
  TBevel* Bevel8 = new TBevel(this);
  TBevel* Bevel9 = new TBevel(this);
  TLabel* Label1 = new TLabel(this);
  TLabel* LblPrj = new TLabel(this);
  TLabel* LblComp = new TLabel(this);
  TLabel* LblErr = new TLabel(this);
  TLabel* Label6 = new TLabel(this);
  TLabel* LblNumErr = new TLabel(this);
  TLabel* Label4 = new TLabel(this);
  TLabel* LblNumWarn = new TLabel(this);
  TLabel* Label2 = new TLabel(this);
  TLabel* LbMcuType = new TLabel(this);
  TLabel* LbTotalMemory = new TLabel(this);
  TLabel* LblLines = new TLabel(this);
  TLabel* LbUseRam = new TLabel(this);
  TLabel* LbDataBss = new TLabel(this);
  TLabel* LbEeprom = new TLabel(this);
  TLabel* LbEepromMem = new TLabel(this);
  TButton* OKBtn = new TButton(this);  // closes the box
  // Never shown: the linker map's lines.
  TMemo* Memo1 = new TMemo(this);

private:
  void FormShow(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  // The build's figures against its part's sizes, asking make, avr-size
  // and avr-gcc where its output does not tell.
  TMemoryReport MeasureBuild();

  std::string FProjectFolder;
  std::string FMainFile;
  std::string FInstallFolder;
  TStrings* FErrorCountLines = nullptr;
  const TStrings* FBuildOutput = nullptr;
  bool FBuildStopped = false;
  int64_t FBuildStart = 0;
};

extern TCompilerDlg* CompilerDlg;

}  // namespace vk
