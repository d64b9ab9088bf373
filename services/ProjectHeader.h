#pragma once
// The project-header comment block: 19 lines at the top of a source that
// list the 17 project fields stored under SOFTWARE\ZE_VAD\PRJNAME. The
// insert and delete commands act on an editor as one undo step each; the
// field dialog loads and stores the fields through this unit.

#include <array>
#include <ctime>
#include <string>
#include <vector>

namespace vk {

class TCustomSrcEdit;
class TStrings;

// The 17 fields in block order; each is one edit of the field dialog. Their
// registry value names are those of ProjectHeaderFields (app/SettingsStore.h).
enum TPrjNameField {
  pfProjectName, pfAuthor, pfCompany, pfDrafter, pfHomepage, pfEmail, pfPhoneNumber, pfFilename, pfVersion,
  pfCreatedDate, pfModifiedDate, pfLicense, pfMcuType, pfClockFrequency, pfAddSourceName, pfCompiler, pfSubMenu,
  PrjNameFieldCount
};
using TPrjNameFields = std::array<std::string, PrjNameFieldCount>;

// Texts the commands and the dialog show.
extern const char* const HeaderAlreadyCreatedMessage;  // insert into a source that has a block
extern const char* const HeaderNotFoundMessage;        // delete from a source without one
extern const char* const PrjNameSaveFailedMessage;     // the dialog's OK could not store the fields

// The 19 lines of the block for the field texts.
std::vector<std::string> ProjectHeaderLines(const TPrjNameFields& fields);

// "YYYY-MM-DD-hh:mm" of a local time.
std::string ModificationStamp(const std::tm& local);
// The local clock now.
std::tm LocalTimeNow();

// Where a block stands: the last START line above the first END line below
// line 0. An END line of 0 (or none) means there is no block. A line holds
// a marker when the marker's text occurs in it (mmAnywhere), or when it is
// the block's first or last line exactly (mmWholeLine).
struct TProjectHeaderPosition {
  int Start = -1;
  int End = 0;
  bool Exists() const { return End > 0; }
};
enum TMarkerMatch { mmAnywhere, mmWholeLine };
TProjectHeaderPosition FindProjectHeader(const TStrings& lines, TMarkerMatch match);

// The dialog's load: the 17 values into the fields; a missing value gives
// an empty text; a missing key or a failed read leaves the fields not yet
// read as they were.
void LoadPrjNameFields(TPrjNameFields& fields);
// The dialog's OK: writes the 17 values, then reads them back into the
// fields. False when the writing failed (the dialog shows
// PrjNameSaveFailedMessage); the read-back happens either way.
bool SavePrjNameFields(TPrjNameFields& fields);

// What the insert command takes from the rest of the program.
struct TProjectHeaderContext {
  std::string ProjectFolder;  // status-bar panel 4; empty without a project
  std::string Caption;        // the document window's caption: the file's full path
  std::tm Now{};              // the local time of the command
};

enum TProjectHeaderResult { phChanged, phAlreadyCreated, phNotFound };

// The insert command: refreshes the fields "ModifiedDate", "MCU Type",
// "Clock Frequency", "Add Source Name" and "Filename" in the registry,
// reloads all 17 into the fields, then puts the block above the first line
// unless the source already has one (phAlreadyCreated: the text is left
// alone, the fields are refreshed all the same). One undo step; the editor
// is marked modified.
TProjectHeaderResult InsertProjectHeader(TCustomSrcEdit& editor, TPrjNameFields& fields,
                                         const TProjectHeaderContext& context);

// The delete command: removes the block's lines from START to END as one
// undo step, the markers being whole marker lines (a field's text that
// holds a marker's text is no marker). phNotFound, with the text
// unchanged, when there is no END line below line 0 or no START line at or
// above it.
TProjectHeaderResult DeleteProjectHeader(TCustomSrcEdit& editor);

}  // namespace vk
