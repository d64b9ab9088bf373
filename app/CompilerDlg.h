#pragma once
// The build result box TCompilerDlg: the main file, the verdict with the
// error and warning counts, the part the build used, and flash, SRAM and
// EEPROM used by the program, read from the linker map beside the main
// source, against that part's sizes from the part table, with the locale's
// separators.
//
// The build, after classifying its output:
//   1. CompilerErrorCount, CompilerWarningCount := its counts;
//   2. creates a TCompilerDlg into CompilerDlg, calls SetProject(project
//      folder, main file) and SetErrorCountLines(the count memo's lines);
//   3. ShowModal (the result does not matter; closing frees the box).
// A build whose program size cannot be shown is an error: the box then
// shows one error and no warning, and so do the count memo's lines 1 and 3.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Buttons.h"
#include "platform/Forms.h"
#include "platform/Labels.h"
#include "platform/LocaleFormats.h"
#include "platform/Memos.h"
#include "platform/Panels.h"

namespace vk {

// Section sizes as the map gives them, hexadecimal digits without "0x".
// Sections the map does not list keep their start values: "0" for .text,
// .bss and .eeprom, "" for .data and .noinit (the variables a reset leaves
// as they were), which SRAM holds with .data and .bss.
struct TMapSizes {
  std::string Text = "0";
  std::string Data;
  std::string Bss = "0";
  std::string Eeprom = "0";
  std::string Noinit;
};

// Reads the output-section lines (".data  0x00800100  0x12 load address
// ...": name, start address, size). Input-section lines listed before them,
// such as the discarded sections of a build that drops unused code, are not
// the section's size.
TMapSizes ParseLinkerMap(const TStrings& map);

// <project folder>/<main file without its extension>.map
std::string LinkerMapPath(const std::string& projectFolder, const std::string& mainFile);

// The project's part in the settings ("SouAvrMcu Type"); "" when it cannot
// be read.
std::string ReadMcuType();

// The part whose start-up code the linker loaded first ("LOAD
// .../crtatmega16.o" gives atmega16); "" when the map names none (a program
// linked without start-up code).
std::string LinkerMapPart(const TStrings& map);

// The part the build used, which the totals are taken from: the map's
// (nullptr: none), else the one the project's makefile builds for
// (MakefilePart), else the settings' (ReadMcuType).
std::string BuildPart(const TStrings* map, const std::string& projectFolder);

struct TMemoryUse {
  // The line is shown: its size text is not empty.
  bool Shown = false;
  // The byte count is known: the map was read and the sizes are hexadecimal
  // numbers whose sum is below 2^64. Otherwise the box shows "Error" in its
  // place and Bytes is 0.
  bool Known = false;
  uint64_t Bytes = 0;
  // The part's size as the table gives it (KBytes for flash, bytes else);
  // "0" for a part the table does not hold.
  std::string TotalText = "0";
  uint64_t TotalBytes = 0;  // flash counts 1000 bytes per KByte
  // Bytes as a percentage of the total; none when the total is 0.
  std::optional<double> Percent;
};

struct TMemoryReport {
  std::string McuType;
  bool MapLoaded = false;
  TMemoryUse Flash, Sram, Eeprom;
  // No program size could be shown: the box says "Error" with one error and
  // no warning, and the main window's count memo follows.
  bool ProgramSizeMissing = false;
};

// The map's lines, or nullptr when the map could not be read; the part
// whose sizes are the totals.
TMemoryReport ComputeMemoryReport(const TStrings* map, const std::string& mcuType);
TMemoryReport ComputeMemoryReport(const std::string& mapPath, const std::string& mcuType);
// Replaces the lines with the map's; false, with no lines, when it cannot
// be read.
bool LoadLinkerMap(const std::string& mapPath, TStrings& lines);

// "436 Bytes (Total 128 KBytes) = 0.34% Full of FLASH": the unit is the
// total's ("KBytes" or "Bytes"), memory names it. An unknown byte count
// reads "Error" and a percentage that cannot be worked out (the total is 0)
// is left empty, as when the map could not be read.
std::string MemoryLineText(const TMemoryUse& use, const std::string& unit, const std::string& memory,
                           const TFormatSettings& settings = FormatSettings());

// Set by the build just before each showing.
extern int CompilerErrorCount;
extern int CompilerWarningCount;

class TCompilerDlg : public TForm {
public:
  explicit TCompilerDlg(TComponent* owner);
  std::string ClassName() const override { return "TCompilerDlg"; }

  // The current project: its folder and the main source's name ("" for
  // none).
  void SetProject(const std::string& folder, const std::string& mainFile);
  // The main window's count memo; none: nothing is written there.
  void SetErrorCountLines(TStrings* lines) { FErrorCountLines = lines; }

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

  std::string FProjectFolder;
  std::string FMainFile;
  TStrings* FErrorCountLines = nullptr;
};

extern TCompilerDlg* CompilerDlg;

}  // namespace vk
