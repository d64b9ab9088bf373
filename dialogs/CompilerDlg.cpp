// The result box's form: its rows and the show handler that fills them.

#include "dialogs/CompilerDlg.h"
#include "dialogs/FormLayout.h"
#include "services/BuildPart.h"
#include "services/ProjectFiles.h"

namespace vk {

int CompilerErrorCount = 0;
int CompilerWarningCount = 0;
TCompilerDlg* CompilerDlg = nullptr;

namespace {

// Wide enough for a memory line of a large program in the desktop's
// dialog font.
constexpr int BoxWidth = 440;  // client width
constexpr int RowTop = 8;
constexpr int RowStep = 26;
constexpr int ValueLeft = 100;

int RowY(int row) { return RowTop + row * RowStep; }

}  // namespace

TCompilerDlg::TCompilerDlg(TComponent* owner) : TForm(owner) {
  SetCaption("Background compiling windows");
  SetBorderStyle(bsDialog);
  SetPosition(poMainFormCenter);
  SetBounds(0, 0, BoxWidth, 215);
  SetClientWidth(BoxWidth);
  SetClientHeight(215);
  OnShow = TNotifyEvent(this, &TCompilerDlg::FormShow);
  OnClose = TCloseEvent(this, &TCompilerDlg::FormClose);

  // One framed row each, the verdict's row parted by two lines.
  TBevel* rows[] = {Bevel1, Bevel2, Bevel3, Bevel4, Bevel5, Bevel6};
  for (int row = 0; row < 6; ++row) Place(rows[row], this, 8, RowY(row), BoxWidth - 16, 23);
  Place(Bevel7, this, 170, RowY(1), 2, 23)->SetShape(bsLeftLine);
  Place(Bevel8, this, 300, RowY(1), 2, 23)->SetShape(bsLeftLine);
  Place(Bevel9, this, 8, RowY(6) + 4, BoxWidth - 16, 2)->SetShape(bsTopLine);

  const int text = 5;  // a label's top within its row
  Place(Label1, this, 16, RowY(0) + text, 0, 0, "Project:");
  Place(LblPrj, this, ValueLeft, RowY(0) + text, 0, 0, "LblPrj");
  Place(LblComp, this, 16, RowY(1) + text, 0, 0, "Compiling");
  Place(LblErr, this, ValueLeft, RowY(1) + text, 0, 0, "0");
  Place(Label6, this, 180, RowY(1) + text, 0, 0, "Errors:");
  Place(LblNumErr, this, 236, RowY(1) + text, 0, 0, "0");
  Place(Label4, this, 310, RowY(1) + text, 0, 0, "Warnings:");
  Place(LblNumWarn, this, 380, RowY(1) + text, 0, 0, "0");
  Place(Label2, this, 16, RowY(2) + text, 0, 0, "MCU type:");
  Place(LbMcuType, this, ValueLeft, RowY(2) + text, 0, 0, "0");
  Place(LbTotalMemory, this, 16, RowY(3) + text, 0, 0, "Program size:");
  Place(LblLines, this, ValueLeft, RowY(3) + text, 0, 0, "0");
  Place(LbUseRam, this, 16, RowY(4) + text, 0, 0, "SRAM size:");
  Place(LbDataBss, this, ValueLeft, RowY(4) + text, 0, 0, "0");
  Place(LbEeprom, this, 16, RowY(5) + text, 0, 0, "EEPROM size:");
  Place(LbEepromMem, this, ValueLeft, RowY(5) + text, 0, 0, "0");
  LblComp->Font().SetStyle({fsBold});
  LblErr->Font().SetStyle({fsBold});
  LblErr->Font().SetColor(clRed);
  for (TLabel* title : {Label2, LbTotalMemory, LbUseRam, LbEeprom}) title->Font().SetColor(clBlue);
  // The long values reach to their row's right edge, whatever their text.
  for (TLabel* value : {LblPrj, LbMcuType, LblLines, LbDataBss, LbEepromMem}) {
    value->SetAutoSize(false);
    value->SetWidth(BoxWidth - 12 - ValueLeft);
  }

  Place(OKBtn, this, (BoxWidth - 75) / 2, RowY(6) + 12, 75, 25, "OK")->SetModalResult(mrOk);
  OKBtn->SetDefault(true);
  Memo1->SetParent(this);
  Memo1->SetVisible(false);
  Memo1->SetWordWrap(false);
  Memo1->SetWantReturns(false);
}

void TCompilerDlg::SetProject(const std::string& folder, const std::string& mainFile,
                              const std::string& installFolder) {
  FProjectFolder = folder;
  FMainFile = mainFile;
  FInstallFolder = installFolder;
}

void TCompilerDlg::FormShow(TObject*) {
  LblPrj->SetCaption(JoinPath(FProjectFolder, FMainFile));
  LblNumErr->SetCaption(std::to_string(CompilerErrorCount));
  LblNumWarn->SetCaption(std::to_string(CompilerWarningCount));
  LblErr->SetCaption(FBuildStopped ? "Stopped" : CompilerErrorCount == 0 ? "Ok" : "Error");

  // The box is up while make or avr-size is asked: meanwhile its rows show
  // nothing rather than their design text "0", which a row the report
  // leaves out gets back.
  for (TLabel* row : {LbMcuType, LblLines, LbDataBss, LbEepromMem}) row->SetCaption("");
  const TMemoryReport report = MeasureBuild();
  LbMcuType->SetCaption(report.McuType.empty() ? "Unknown" : report.McuType);
  LblLines->SetCaption(report.Flash.Shown ? MemoryLineText(report.Flash, "KBytes", "FLASH") : "0");
  LbDataBss->SetCaption(report.Sram.Shown ? MemoryLineText(report.Sram, "Bytes", "SRAM") : "0");
  LbEepromMem->SetCaption(report.Eeprom.Shown ? MemoryLineText(report.Eeprom, "Bytes", "EEPROM") : "0");

  if (!report.ProgramSizeMissing || FBuildStopped) return;
  LblErr->SetCaption("Error");
  LblNumErr->SetCaption("1");
  LblNumWarn->SetCaption("0");
  if (FErrorCountLines && FErrorCountLines->Count() > 3) {
    FErrorCountLines->Put(1, "1");
    FErrorCountLines->Put(3, "0");
  }
}

TMemoryReport TCompilerDlg::MeasureBuild() {
  TBusyCursor busy;
  const TBuildProducts products =
      FindBuildProducts(FBuildOutput, FProjectFolder, FMainFile, FInstallFolder, !FBuildStopped);
  // A build that failed or was stopped is measured only by what it wrote
  // itself; one that ended well left its program as make keeps it, remade
  // or up to date.
  const int64_t since = CompilerErrorCount == 0 && !FBuildStopped ? 0 : FBuildStart;
  const bool loaded =
      !products.Map.empty() && WrittenSince(products.Map, since) && LoadLinkerMap(products.Map, Memo1->Lines());
  const TStrings* map = loaded ? &Memo1->Lines() : nullptr;
  std::optional<TMapSizes> sizes;
  if (map)
    sizes = ParseLinkerMap(*map);
  else if (!products.Program.empty() && WrittenSince(products.Program, since))
    sizes = ProgramFileSizes(products.Program, FInstallFolder);
  return ComputeMemoryReport(sizes, BuildPart(map, products, FProjectFolder), FInstallFolder);
}

// Each showing is a new box.
void TCompilerDlg::FormClose(TObject*, TCloseAction& action) { action = caFree; }

}  // namespace vk
