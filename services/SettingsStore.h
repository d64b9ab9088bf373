#pragma once
// The IDE's settings in the registry of the current user, below
// "SOFTWARE\ZE_VAD\": the editor key, one key per colour attribute of the
// C-for-AVR highlighter, and the project-header fields. This unit holds the
// layout, the first-run defaults, guarded reading, the install-folder lookup
// and the file associations.
//
// The main window's first show runs, in this order:
//   1. InstallFolder := LookUpInstallFolder().Folder (showing
//      InstallFolderErrorText when the lookup failed);
//   2. if IsFirstRun(): WriteFirstRunDefaults(SrcAvrHl, InstallFolder), then
//      ReadProjectHeaderFields() into the project-header dialog's edits;
//   3. the command states;
//   4. RegisterFileAssociations(InstallFolder).
// InstallFolder keeps the lookup's folder, whatever the current directory.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace vk {

class TSrcAvrHl;
class TSrcHighlighterAttributes;

// "SOFTWARE\ZE_VAD\" followed by the entry (an AttrKeyNames entry or
// ProjectHeaderKey).
std::string SettingsKeyPath(std::string_view entry);
inline constexpr const char* ProjectHeaderKey = "PRJNAME";

// Value names of the editor key, spelled exactly as stored.
namespace EditorValue {
inline constexpr const char* Version = "Vornkit VerSion";  // empty or missing: first run
inline constexpr const char* Gutter = "Gutter";
inline constexpr const char* GutterLineNumbers = "GutterLineNumbers";
inline constexpr const char* GutterLineNumbersZero = "GutterLineNumbersZero";
inline constexpr const char* GutterWidth = "GutterWidth";
inline constexpr const char* EditorFont = "EditorFont";
inline constexpr const char* EditorFontSize = "EditorFontSize";
inline constexpr const char* AvrGccVornkitBool = "AvrGccVornkitBool";
inline constexpr const char* AutoIndentModeBool = "AutoIndentModeBool";
inline constexpr const char* CursorMoveEolBool = "CursorMoveEolBool";
inline constexpr const char* SmartTabBool = "SmartTabBool";
inline constexpr const char* InserModeBool = "InserModeBool";
inline constexpr const char* EditorTabstop = "EditorTabstop";      // decimal text
inline constexpr const char* EditorUndoLimit = "EditorUndoLimit";  // decimal text
inline constexpr const char* AutoInsertBool = "AutoInsertBool";
inline constexpr const char* AutoMakefileCreateBool = "AutoMakefileCreateBool";
inline constexpr const char* GccIncludesPath = "GccIncludes Path";
inline constexpr const char* GccLibrariesPath = "GccLibraries Path";
inline constexpr const char* GccBinPath = "GccBin Path";
inline constexpr const char* SouAvrMcuType = "SouAvrMcu Type";
inline constexpr const char* SouSourceName = "SouSource Name";
inline constexpr const char* SouSourcePath = "SouSource Path";
inline constexpr const char* SouIncludePath = "SouInclude Path";
inline constexpr const char* EditorPath = "Editor Path";
inline constexpr const char* AvrGccPath = "AvrGcc Path";
inline constexpr const char* ExtMemoryOptionsName = "ExtMemoryOptions Name";
inline constexpr const char* ExtMemoryOptionsEdit = "ExtMemoryOptionsEdit";
inline constexpr const char* McuFrq = "McuFrq";
}  // namespace EditorValue

// Value names of each attribute key.
namespace AttributeValue {
inline constexpr const char* Foreground = "Foreground Color";
inline constexpr const char* Background = "Background Color";
inline constexpr const char* Bold = "fsBold";
inline constexpr const char* Italic = "fsItalic";
}  // namespace AttributeValue

// Truth values are stored as 0/1 integers.
enum TSettingKind { skString, skInteger, skBool };

struct TSettingDefault {
  const char* Name;
  TSettingKind Kind;
  std::string Text;  // skString
  int Number;        // skInteger, skBool
};

// The editor key's first-run values, in the order they are written.
std::vector<TSettingDefault> EditorDefaults(const std::string& installFolder);

// The project-header fields in header-line order, each with its value name
// and first-run value; the header block (dialogs/ProjectHeader) loads, saves
// and shows them in this order.
struct TProjectHeaderField {
  const char* Name;
  const char* Default;
};
inline constexpr int ProjectHeaderFieldCount = 17;
extern const std::array<TProjectHeaderField, ProjectHeaderFieldCount> ProjectHeaderFields;

// Attribute AttrKeyNames[index] (0..12) of the highlighter.
TSrcHighlighterAttributes& HighlighterAttribute(const TSrcAvrHl& highlighter, int index);

// Reads one key of the layout without creating it. Every read is guarded:
// a missing key, a missing value or a value of another kind gives nullopt.
class TSettingsReader {
public:
  explicit TSettingsReader(std::string_view entry);
  bool KeyExists() const { return FOpen; }
  bool ValueExists(const std::string& name) { return FOpen && FRegistry.ValueExists(name); }
  std::optional<std::string> String(const std::string& name);
  std::optional<int> Integer(const std::string& name);
  // Any integer but 0 is true.
  std::optional<bool> Bool(const std::string& name);

private:
  TRegistry FRegistry;
  bool FOpen;
};

struct TInstallFolderLookup {
  std::string Folder;   // the installer's folder followed by "Vornkit"
  bool Failed = false;  // the installer's entry gave nothing: Folder is "Vornkit"
};
TInstallFolderLookup LookUpInstallFolder();
inline constexpr const char* InstallFolderErrorText = "Registry GUID Error{4F7C21B98E0D4A6B95C3E1F0D2A7B6C5}!";

// Writes the values into the key below "SOFTWARE\ZE_VAD\" (created when
// missing), in order. Raises ERegistryException when it cannot be written.
void WriteSettings(std::string_view entry, const std::vector<TSettingDefault>& values);
// Writes the 13 attribute keys from the highlighter's colours and styles.
void WriteAttributeSettings(const TSrcAvrHl& highlighter);

// The marker value is empty, missing or unreadable.
bool IsFirstRun();
// Writes the 13 attribute keys from the highlighter's current colours and
// styles, the editor key's defaults and the project-header defaults. Raises
// ERegistryException when the registry cannot be written.
void WriteFirstRunDefaults(const TSrcAvrHl& highlighter, const std::string& installFolder);
// The 17 project-header values; a missing one reads as "".
std::array<std::string, ProjectHeaderFieldCount> ReadProjectHeaderFields();
// The open command and icon of ".c", ".h", ".s" and ".rom" in
// HKEY_CLASSES_ROOT; an extension that cannot be written is passed over.
void RegisterFileAssociations(const std::string& installFolder);

}  // namespace vk
