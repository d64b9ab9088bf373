#include "services/SettingsStore.h"

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "services/SharedTables.h"

namespace vk {

std::string SettingsKeyPath(std::string_view entry) { return "SOFTWARE\\ZE_VAD\\" + std::string(entry); }

std::vector<TSettingDefault> EditorDefaults(const std::string& installFolder) {
  using namespace EditorValue;
  return {
      {Gutter, skBool, "", 1},
      {GutterLineNumbers, skBool, "", 1},
      {GutterLineNumbersZero, skBool, "", 0},
      {GutterWidth, skInteger, "", 25},
      {EditorFont, skString, "Courier New", 0},
      {EditorFontSize, skInteger, "", 10},
      {AvrGccVornkitBool, skBool, "", 1},
      {AutoIndentModeBool, skBool, "", 0},
      {CursorMoveEolBool, skBool, "", 0},
      {SmartTabBool, skBool, "", 0},
      {InserModeBool, skBool, "", 1},
      {EditorTabstop, skString, "8", 0},
      {EditorUndoLimit, skString, "1024", 0},
      {AutoInsertBool, skBool, "", 0},
      {AutoMakefileCreateBool, skBool, "", 1},
      {GccIncludesPath, skString, ".", 0},
      {GccLibrariesPath, skString, ".", 0},
      {GccBinPath, skString, ".", 0},
      {SouAvrMcuType, skString, "atmega128", 0},
      {SouSourceName, skString, "demo", 0},
      {SouSourcePath, skString, installFolder, 0},
      {EditorPath, skString, installFolder, 0},
      {Version, skString, "Vornkit Ver3.8", 0},
      {AvrGccPath, skString, installFolder + "/WinAvr", 0},
      {ExtMemoryOptionsName, skInteger, "", 0},
      {McuFrq, skString, "16000000MHZ", 0},
  };
}

const std::array<TProjectHeaderField, ProjectHeaderFieldCount> ProjectHeaderFields = {{
    {"Project Name", "Vornkit Prj"},
    {"Author", "Your Name"},
    {"Company", "Your Company"},
    {"A Drafter", "Your Name"},
    {"Homepage", "http://www.example.com"},
    {"Email", "name@example.com"},
    {"Phone Number", "000-0000-0000"},
    {"Filename", "main.c"},
    {"Version", "1.0"},
    {"CreatedDate", "2008/05/20"},
    {"ModifiedDate", "2008/05/20"},
    {"License", "Your Company"},
    {"MCU Type", "ATmega128"},
    {"Clock Frequency", "Internal 8Mhz"},
    {"Add Source Name", " "},
    {"Compiler", "Vornkit Ver3.8(WinAvr-20080430)"},
    {"SubMenu", " "},
}};

TSrcHighlighterAttributes& HighlighterAttribute(const TSrcAvrHl& highlighter, int index) {
  TSrcHighlighterAttributes* const attributes[HighlighterAttrCount] = {
      highlighter.AsmAttri(),   highlighter.AvrGccKeyAttri(), highlighter.AvrVarAttri(),     highlighter.CommentAttri(),
      highlighter.DirecAttri(), highlighter.HexKeyAttri(),    highlighter.IdentifierAttri(), highlighter.InvalidAttri(),
      highlighter.KeyAttri(),   highlighter.NumberAttri(),    highlighter.SpaceAttri(),      highlighter.StringAttri(),
      highlighter.SymbolAttri()};
  return *attributes[index];
}

// ---- reading ----

TSettingsReader::TSettingsReader(std::string_view entry) : FOpen(FRegistry.OpenKeyReadOnly(SettingsKeyPath(entry))) {}

std::optional<std::string> TSettingsReader::String(const std::string& name) {
  if (!FOpen || FRegistry.GetDataType(name) != rdString) return std::nullopt;
  return FRegistry.ReadString(name);
}

std::optional<int> TSettingsReader::Integer(const std::string& name) {
  if (!FOpen || FRegistry.GetDataType(name) != rdInteger) return std::nullopt;
  return FRegistry.ReadInteger(name);
}

std::optional<bool> TSettingsReader::Bool(const std::string& name) {
  std::optional<int> value = Integer(name);
  if (!value) return std::nullopt;
  return *value != 0;
}

// ---- start-up ----

TInstallFolderLookup LookUpInstallFolder() {
  std::string readme = InstallerReadmeValue();
  return {readme + "Vornkit", readme.empty()};
}

bool IsFirstRun() {
  return TSettingsReader(AttrKeyNames[EditorKeyIndex]).String(EditorValue::Version).value_or("").empty();
}

namespace {

// One short-lived registry object per key, opened (created) for writing.
class TKeyWriter {
public:
  explicit TKeyWriter(std::string_view entry) {
    if (!FRegistry.OpenKey(SettingsKeyPath(entry), true))
      throw ERegistryException("Failed to create key " + SettingsKeyPath(entry));
  }
  TRegistry& Registry() { return FRegistry; }

private:
  TRegistry FRegistry;
};

}  // namespace

void WriteSettings(std::string_view entry, const std::vector<TSettingDefault>& values) {
  TKeyWriter key(entry);
  for (const TSettingDefault& value : values) {
    switch (value.Kind) {
      case skString:
        key.Registry().WriteString(value.Name, value.Text);
        break;
      case skInteger:
        key.Registry().WriteInteger(value.Name, value.Number);
        break;
      case skBool:
        key.Registry().WriteBool(value.Name, value.Number != 0);
        break;
    }
  }
}

void WriteAttributeSettings(const TSrcAvrHl& highlighter) {
  for (int i = 0; i < HighlighterAttrCount; ++i) {
    const TSrcHighlighterAttributes& attribute = HighlighterAttribute(highlighter, i);
    TKeyWriter key(AttrKeyNames[i]);
    key.Registry().WriteInteger(AttributeValue::Foreground, static_cast<int>(attribute.Foreground()));
    key.Registry().WriteInteger(AttributeValue::Background, static_cast<int>(attribute.Background()));
    key.Registry().WriteBool(AttributeValue::Bold, attribute.Style().Contains(fsBold));
    key.Registry().WriteBool(AttributeValue::Italic, attribute.Style().Contains(fsItalic));
  }
}

void WriteFirstRunDefaults(const TSrcAvrHl& highlighter, const std::string& installFolder) {
  WriteAttributeSettings(highlighter);
  WriteSettings(AttrKeyNames[EditorKeyIndex], EditorDefaults(installFolder));
  std::vector<TSettingDefault> project;
  for (const TProjectHeaderField& field : ProjectHeaderFields) project.push_back({field.Name, skString, field.Default, 0});
  WriteSettings(ProjectHeaderKey, project);
}

std::array<std::string, ProjectHeaderFieldCount> ReadProjectHeaderFields() {
  TSettingsReader reader(ProjectHeaderKey);
  std::array<std::string, ProjectHeaderFieldCount> values;
  for (int i = 0; i < ProjectHeaderFieldCount; ++i) values[i] = reader.String(ProjectHeaderFields[i].Name).value_or("");
  return values;
}

void RegisterFileAssociations(const std::string& installFolder) {
  struct TAssociation {
    const char* Extension;
    const char* Icon;
  };
  static constexpr TAssociation kAssociations[] = {
      {".c", "C_ICON.ico"}, {".h", "H_ICON.ico"}, {".s", "S_ICON.ico"}, {".rom", "ROM_ICON.ico"}};
  for (const TAssociation& association : kAssociations) {
    try {
      TRegistry registry;
      registry.SetRootKey(HKEY_CLASSES_ROOT);
      registry.SetLazyWrite(false);
      std::string extension = association.Extension;
      if (registry.OpenKey(extension + "\\shell\\open\\command", true)) {
        registry.WriteString("", installFolder + "/Vornkit.exe %1");
        registry.CloseKey();
      }
      if (registry.OpenKey(extension + "\\DefaultIcon", true)) {
        registry.WriteString("", installFolder + "/" + association.Icon + ", 0");
        registry.CloseKey();
      }
    } catch (const Exception&) {
      // No write access to the associations: the program starts all the same.
    }
  }
}

}  // namespace vk
