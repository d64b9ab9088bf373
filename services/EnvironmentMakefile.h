#pragma once
// The project makefile that the settings dialog owns: a variable section
// written from the dialog's option controls, followed by fixed rules. The
// dialog copies its controls into TMakefileOptions, writes the file from it,
// and reads an existing file back into it.

#include <string>
#include <string_view>
#include <vector>

#include "platform/SysUtils.h"

namespace vk {

class TStrings;

// A value that the makefile cannot hold as the control shows it; the text
// names the makefile variable.
class EMakefileValue : public Exception {
  using Exception::Exception;
};

// A makefile that could not be saved; the text is the message to show.
class EMakefileSave : public Exception {
  using Exception::Exception;
};

// The option sets behind the dialog's Default buttons. A fresh project
// starts from them, so its makefile compiles with CFLAGS and links a map.
namespace MakefileDefaults {
inline constexpr const char* McuType = "atmega128";
inline constexpr const char* McuFrq = "16000000";
inline constexpr const char* FileFormat = "ihex";
inline constexpr const char* ObjDir = ".";
inline constexpr const char* Optimization = "3";
inline constexpr const char* DebugFormat = "dwarf-2";
inline constexpr const char* IncludePath = "$(AVR)/WinAVR/avr/include";
inline constexpr const char* CStandard = "-std=gnu99";
inline constexpr const char* DorUOption = "-DF_CPU=$(F_CPU)UL";
// The listing is named after the source whether it ends in .S or .s (a
// substitution of %.S alone would hand a .s source to the listing option,
// which would overwrite it).
inline constexpr const char* AssemblerOptions =
    "$(ADEFS) -Wa,-adhlns=$(OBJDIR)/$(basename $<).lst,-gstabs,--listing-cont-lines=100";
inline constexpr const char* PrintfLib = "-Wl,-u,vfprintf -lprintf_min";
inline constexpr const char* PrintfFloatLib = " -Wl,-u,vfprintf -lprintf_flt";
inline constexpr const char* ScanfLib = "-Wl,-u,vfscanf -lscanf_min";
inline constexpr const char* ScanfFloatLib = "-Wl,-u,vfscanf -lscanf_flt";
inline constexpr const char* MathLib = "-lm";
// Data placed in the external RAM needs the linker's data region widened
// to it (up to 0x810000); the part's own region ends with its internal RAM.
inline constexpr const char* ExtMemoryForData =
    "-Wl,-Tdata=0x801100,--defsym=__heap_end=0x80ffff,--defsym=__DATA_REGION_LENGTH__=0xff00";
inline constexpr const char* ExtMemoryForHeap = "-Wl,--defsym=__heap_start=0x801100,--defsym=__heap_end=0x807fff";
inline constexpr const char* AvrdudeProgrammer = "stk500v2";
// The serial device of a USB programmer.
inline constexpr const char* AvrdudePort = "/dev/ttyUSB0";
inline constexpr const char* AvrdudeWriteEeprom = "-U eeprom:w:$(TARGET).eep";
inline constexpr const char* AvrdudeWriteFlash = "-U flash:w:$(TARGET).hex";
inline constexpr const char* AvrdudeEraseCounter = "-y";
inline constexpr const char* AvrdudeNoVerify = "-V";
inline constexpr const char* BootLoaderStart = "-Wl,--section-start=.text=0x1E000";

std::vector<std::string> CompilerOptions();
std::vector<std::string> CppCompilerOptions();
std::vector<std::string> LinkerOptions();
// The linker options with the boot loader's start address as a fifth line.
std::vector<std::string> BootLoaderLinkerOptions();
std::vector<std::string> AvrdudeFlags();
}  // namespace MakefileDefaults

// The values of the dialog's controls that the makefile carries, named after
// the controls (a memo is one string per line). A new object holds the
// dialog's values for a fresh project.
struct TMakefileOptions {
  std::string McuType = MakefileDefaults::McuType;                    // McuTypeComboBox
  std::string McuFrq = MakefileDefaults::McuFrq;                      // McuFrqComboBox
  std::string FileFormat = MakefileDefaults::FileFormat;              // McuFileFormatComboBox
  std::string Target;                                                 // McuTargetEdit
  std::string ObjDir = MakefileDefaults::ObjDir;                      // ObjDirEdit
  std::string CAddSources;                                            // McuCAddSourceEdit
  std::string CppAddSources;                                          // McuCppAddSourceEdit
  std::string AsmAddSources;                                          // McuAsmAddSourceEdit
  std::string Optimization = MakefileDefaults::Optimization;          // McuOptimizComboBox
  std::string DebugFormat = MakefileDefaults::DebugFormat;            // McuDebugFormatEdit
  std::string IncludePath = MakefileDefaults::IncludePath;            // AvrGccIncludePathEdit
  std::string CStandard = MakefileDefaults::CStandard;                // McuCstandardComboBox
  std::string CDefs = MakefileDefaults::DorUOption;                   // McuCuOptionEdit
  std::string AsmDefs = MakefileDefaults::DorUOption;                 // McuAuOptionEdit
  std::string CppDefs = MakefileDefaults::DorUOption;                 // McuCppuOptionEdit
  std::string IOptions;                                               // McuIoptionEdit
  std::vector<std::string> CompilerOptions = MakefileDefaults::CompilerOptions();        // CompilerOptionsMemo
  std::vector<std::string> CppCompilerOptions = MakefileDefaults::CppCompilerOptions();  // CppCompilerOptionsMemo
  std::string AssemblerOptions = MakefileDefaults::AssemblerOptions;  // McuAssemblerOptionEdit
  std::string PrintfLib = MakefileDefaults::PrintfLib;                // McuLibPrintfOptionEdit
  std::string ScanfLib = MakefileDefaults::ScanfLib;                  // McuLibScanfOptionEdit
  std::string MathLib = MakefileDefaults::MathLib;                    // McuLibMathOptionEdit
  int ExtMemoryIndex = 0;                                             // ExtMemoryOptionsRadioGroup
  std::string ExtMemoryOptions;                                       // ExtMemoryOptionsEdit
  std::vector<std::string> LinkerOptions = MakefileDefaults::LinkerOptions();  // LinkerOptionsMemo
  std::string AvrdudeProgrammer = MakefileDefaults::AvrdudeProgrammer;       // McuAvrHardwareOptionEdit
  std::string AvrdudePort = MakefileDefaults::AvrdudePort;                   // McuAvrDudePortEdit
  std::string AvrdudeWriteEeprom = MakefileDefaults::AvrdudeWriteEeprom;     // McuAvrDudeWriteEepromEdit
  std::string AvrdudeWriteFlash = MakefileDefaults::AvrdudeWriteFlash;       // McuAvrDudeWriteFlashEdit
  std::string AvrdudeEraseCounter = MakefileDefaults::AvrdudeEraseCounter;   // McuAvrDudeEraseCntEdit
  std::string AvrdudeNoVerify = MakefileDefaults::AvrdudeNoVerify;           // McuAvrDudeNoVerifyEdit
  std::vector<std::string> AvrdudeFlags = MakefileDefaults::AvrdudeFlags();  // McuAvrDudeFlagsMemo

  bool operator==(const TMakefileOptions&) const = default;
};

// The option text as today's defaults write it, when an earlier default
// wrote it and it does not build (a .s listing that overwrote the source,
// external RAM for data that did not link, a boot loader line that left no
// map); any other text as it is.
std::string UpToDateOption(const std::string& value);

// Raises EMakefileValue when a value would not mean in the makefile what its
// control shows: a line break, or a backslash at its end (which would join
// the next line); or when the object folder is empty (the objects would go
// to "/") or holds a blank. Blanks at the ends are fine: they are not
// written.
void CheckMakefileOptions(const TMakefileOptions& options);

// The whole file, CR LF after every line. Values are written without the
// blanks at their ends (make would keep trailing ones: "32000000 " would
// make F_CPU a broken number), the part in the spelling -mmcu takes (lower
// case), and an empty memo as its variable set to nothing. Raises
// EMakefileValue as CheckMakefileOptions does.
std::string MakefileText(const TMakefileOptions& options);

// Writes the project's makefile (ProjectMakefilePath: the file make reads,
// "makefile" for a new one) anew, atomically. Without a project folder
// nothing is written and the answer is false. A value the
// file cannot hold raises EMakefileValue before anything is written; a
// failed save raises EMakefileSave with the message to show and leaves the
// old file as it was.
bool WriteMakefile(const std::string& projectFolder, const TMakefileOptions& options);

// The text begins with the first line MakefileText writes (blanks and a CR
// at its end aside): the file is in the format ReadMakefileOptions reads.
bool IsSettingsMakefile(std::string_view text);

// IsSettingsMakefile, or the text begins with the wizard template's first
// line: the program wrote it and may write it anew.
bool IsOwnMakefile(std::string_view text);

// The makefile make reads in the project folder (ProjectMakefilePath) is
// there and IsOwnMakefile.
bool IsOwnProjectMakefile(const std::string& projectFolder);

// Sets the option of one makefile variable (exact, case-sensitive name) to
// the value without the blanks at its ends, through UpToDateOption; a flag
// variable appends it as a new memo line (an empty value adds none). False
// for a name that sets nothing, including TARGET, SRC, ASRC and
// EXTRAINCDIRS, which the dialog fills from its other stores.
bool SetMakefileOption(TMakefileOptions& options, const std::string& name, const std::string& value);

// Reads the variable lines of a makefile into the options. Lines continued
// with a backslash are joined first, as make joins them. A memo is emptied
// and refilled when the file sets its variable; every option the file does
// not set keeps its value, so a hand-written makefile that names only the
// part leaves the compiler and linker options as they were.
void ReadMakefileOptions(const TStrings& lines, TMakefileOptions& options);

// Loads the project's makefile (ProjectMakefilePath) and reads it with
// ReadMakefileOptions when it is empty or IsSettingsMakefile; false, with
// the options unchanged, for a makefile of another format, whose options
// make tells (ImportOtherMakefile). Raises the stream error when it cannot
// be loaded; the options are then unchanged, so a project without a
// makefile keeps the defaults.
bool LoadMakefileOptions(const std::string& projectFolder, TMakefileOptions& options);

}  // namespace vk
