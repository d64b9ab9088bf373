#pragma once
// The makefile wizard's makefile: the template file "makefile." of the
// editor folder with its variable lines rewritten from the wizard's pages,
// cut after the line that compiles the main source, and one dependency
// line per extra source appended.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SysUtils.h"

namespace vk {

class TStrings;

// A wizard step that cannot go on; the text is the message to show.
class EMakefileWizard : public Exception {
  using Exception::Exception;
};

// The values of the wizard's controls, named after them; a new object holds
// their values at creation.
struct TMakefileWizardValues {
  std::string McuType = "atmega128";                                                   // ComboAvrMpu
  std::string HexFormat = "ihex";                                                      // ComboBoxIhex
  std::string IncludePath = ".";                                                       // Avr_GccIncPathEdit
  std::string LibraryPath = "$(AVR)/WinAvr/Avr/Lib";                                   // Avr_GccLibPathEdit
  std::string BinPath = "$(AVR)/WinAvr/Bin";  // Avr_GccBinPathEdit: put in front of the makefile's PATH
  std::string CompilerFlags = "-g -O3 -Wall -Wstrict-prototypes -Wa,-ahlms=$(<:.c=.lst)";  // Avr_GccDefaultCompilEdit
  std::string AssemblerFlags = "-Wa,-gstabs";                                          // Avr_GccDefaultAsmEdit
  std::string LinkerFlags = "-Wl,-Map=$(TRG).map,--cref";                              // Avr_GccDefaultLinkerEdit
  std::string MainSource;                                                              // EditSource: name without ".c"
  std::string SourceFolder;                                                            // CBUnitPath
  std::string CSources;                                                                // EditAddSorceC
  std::string AsmSources;                                                              // EditAssmbl
};

// The main source's name as the template's TRG takes it: without the
// blanks after it and without ".c" where the user typed one ("main.c"
// gives "main", as the file picker gives it).
std::string WizardMainName(const std::string& typed);

// The wizard's own part list, in its order (not the shared part table).
extern const std::array<const char*, 77> WizardParts;

// The line after which the wizard cuts the template.
extern const char* const WizardCutLine;
// A template has at least this many lines (the last one rewritten is 30).
inline constexpr int WizardTemplateMinLines = 31;

// One extra source of a list: the file as written and its name without the
// last extension ("x.cc" gives x, "a.b.c" gives a.b).
struct TWizardSource {
  std::string Name;
  std::string File;
  bool operator==(const TWizardSource&) const = default;
};
// The files of a list separated by blanks or TABs.
std::vector<TWizardSource> WizardSources(std::string_view list);

// The template's path in the editor folder, as the wizard names it.
std::string WizardTemplatePath(const std::string& editorFolder);
// The editor folder from the registry value "Editor Path"; empty when it is
// missing. Raises EMakefileWizard when the value cannot be read.
std::string WizardEditorFolder();

// The makefile lines from the template lines. Raises EMakefileWizard when
// the template has fewer than WizardTemplateMinLines lines.
std::vector<std::string> WizardMakefileLines(const TStrings& templateLines, const TMakefileWizardValues& values,
                                             const std::string& templatePath = "makefile");

// One run of the wizard: its values, the text of its makefile page, and
// whether the run has finished. Each wizard owns one, so nothing of a run
// carries over into the next.
class TMakefileWizardRun {
public:
  TMakefileWizardValues Values;
  // The makefile page's lines; the user may edit them before saving.
  std::vector<std::string> Lines;

  // Builds Lines anew from the template in the editor folder. A missing or
  // too short template empties Lines, raises EMakefileWizard with the
  // message, and leaves the run unable to save until a build succeeds.
  void BuildLines(const std::string& editorFolder);
  bool HasLines() const { return FTemplateError.empty(); }

  // Lines as the makefile's text, each ended by CR LF.
  std::string Text() const;
  // Saves Lines as the source folder's makefile, the file make reads there
  // (ProjectMakefilePath), and finishes the run. Raises EMakefileWizard,
  // writing nothing, when no main source was chosen or the lines were not
  // built from a usable template, and with the system's message when the
  // file cannot be saved (the old one stays). Before writing, mayReplace
  // (when given) is asked about the file: no leaves it, and the run
  // unfinished, and answers false.
  bool Save(const std::function<bool(const std::string& path)>& mayReplace = nullptr);
  // Finishes the run without saving.
  void Finish() { FDone = true; }
  bool Done() const { return FDone; }

private:
  std::string FTemplateError = "No makefile was built from the template!";
  bool FDone = false;
};

}  // namespace vk
