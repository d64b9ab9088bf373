#include <gtest/gtest.h>

#include <filesystem>

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "services/SettingsStore.h"
#include "services/SharedTables.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

using test::TRegistryScope;

std::vector<std::string> ValueNames(HKEY root, const std::string& key) {
  TRegistry registry;
  registry.SetRootKey(root);
  TStringList names;
  if (registry.OpenKeyReadOnly(key)) registry.GetValueNames(names);
  return test::LinesOf(names);
}

// A value as "kind:text", the way the tables give it.
std::string Value(HKEY root, const std::string& key, const std::string& name) {
  TRegistry registry;
  registry.SetRootKey(root);
  if (!registry.OpenKeyReadOnly(key)) return "no key";
  switch (registry.GetDataType(name)) {
    case rdString:
      return "s:" + registry.ReadString(name);
    case rdInteger:
      return "i:" + IntToStr(registry.ReadInteger(name));
    default:
      return "missing";
  }
}

void WriteEditorString(const std::string& name, const std::string& value) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true));
  registry.WriteString(name, value);
}

TEST(SettingsStoreTest, FirstRunWritesEveryDefaultInOrder) {
  TRegistryScope scope;
  TSrcAvrHl highlighter(nullptr);
  // The main window's design changes a class default; that is what is stored.
  highlighter.CommentAttri()->SetForeground(0x00123456);
  highlighter.CommentAttri()->SetStyle({fsBold, fsItalic});
  ASSERT_TRUE(IsFirstRun());

  WriteFirstRunDefaults(highlighter, "/opt/vk/Vornkit");

  const std::vector<std::pair<std::string, std::string>> editor = {
      {"Gutter", "i:1"},
      {"GutterLineNumbers", "i:1"},
      {"GutterLineNumbersZero", "i:0"},
      {"GutterWidth", "i:25"},
      {"EditorFont", "s:Courier New"},
      {"EditorFontSize", "i:10"},
      {"AvrGccVornkitBool", "i:1"},
      {"AutoIndentModeBool", "i:0"},
      {"CursorMoveEolBool", "i:0"},
      {"SmartTabBool", "i:0"},
      {"InserModeBool", "i:1"},
      {"EditorTabstop", "s:8"},
      {"EditorUndoLimit", "s:1024"},
      {"AutoInsertBool", "i:0"},
      {"AutoMakefileCreateBool", "i:1"},
      {"GccIncludes Path", "s:."},
      {"GccLibraries Path", "s:."},
      {"GccBin Path", "s:."},
      {"SouAvrMcu Type", "s:atmega128"},
      {"SouSource Name", "s:demo"},
      {"SouSource Path", "s:/opt/vk/Vornkit"},
      {"Editor Path", "s:/opt/vk/Vornkit"},
      {"Vornkit VerSion", "s:Vornkit Ver3.8"},
      {"AvrGcc Path", "s:/opt/vk/Vornkit/WinAvr"},
      {"ExtMemoryOptions Name", "i:0"},
      {"McuFrq", "s:16000000MHZ"},
  };
  std::vector<std::string> names;
  for (const auto& [name, value] : editor) {
    names.push_back(name);
    EXPECT_EQ(Value(HKEY_CURRENT_USER, "SOFTWARE\\ZE_VAD\\Editor", name), value) << name;
  }
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, "SOFTWARE\\ZE_VAD\\Editor"), names);

  const std::vector<std::string> attributeNames = {"Foreground Color", "Background Color", "fsBold", "fsItalic"};
  for (int i = 0; i < HighlighterAttrCount; ++i) {
    std::string key = std::string("SOFTWARE\\ZE_VAD\\") + AttrKeyNames[i];
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, key), attributeNames) << key;
  }
  const std::string comment = "SOFTWARE\\ZE_VAD\\CommentAttri";
  EXPECT_EQ(Value(HKEY_CURRENT_USER, comment, "Foreground Color"), "i:" + IntToStr(0x00123456));
  EXPECT_EQ(Value(HKEY_CURRENT_USER, comment, "fsBold"), "i:1");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, comment, "fsItalic"), "i:1");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, "SOFTWARE\\ZE_VAD\\SpaceAttri", "Background Color"),
            "i:" + IntToStr(highlighter.SpaceAttri()->Background()));

  std::array<std::string, ProjectHeaderFieldCount> fields = ReadProjectHeaderFields();
  EXPECT_EQ(fields[0], "Vornkit Prj");
  EXPECT_EQ(fields[7], "main.c");
  EXPECT_EQ(fields[15], "Vornkit Ver3.8(WinAvr-20080430)");
  EXPECT_EQ(fields[16], " ");
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, "SOFTWARE\\ZE_VAD\\PRJNAME").back(), "SubMenu");
  EXPECT_FALSE(IsFirstRun());
}

TEST(SettingsStoreTest, FirstRunTestLooksOnlyAtAReadableNonEmptyMarker) {
  const struct {
    const char* Marker;  // nullptr: an integer value
    bool FirstRun;
  } cases[] = {{"", true}, {"Vornkit Ver9.9", false}, {nullptr, true}};
  for (const auto& c : cases) {
    TRegistryScope scope;
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true));
    c.Marker ? registry.WriteString("Vornkit VerSion", c.Marker) : registry.WriteInteger("Vornkit VerSion", 3);
    EXPECT_EQ(IsFirstRun(), c.FirstRun) << (c.Marker ? c.Marker : "integer");
  }
}

TEST(SettingsStoreTest, ProjectHeaderFieldsReadMissingAndMistypedValuesAsEmpty) {
  TRegistryScope scope;
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("SOFTWARE\\ZE_VAD\\PRJNAME", true));
  registry.WriteString("Author", "Kim");
  registry.WriteInteger("Email", 5);
  std::array<std::string, ProjectHeaderFieldCount> fields = ReadProjectHeaderFields();
  EXPECT_EQ(fields[1], "Kim");
  EXPECT_EQ(fields[5], "");
  EXPECT_EQ(fields[0], "");
}

TEST(SettingsStoreTest, InstallFolderIsTheInstallersFolderWithVornkit) {
  setenv("VORNKIT_INSTALL_README", "/opt/vk/", 1);
  EXPECT_EQ(LookUpInstallFolder().Folder, "/opt/vk/Vornkit");
  EXPECT_FALSE(LookUpInstallFolder().Failed);
  setenv("VORNKIT_INSTALL_README", "", 1);
  EXPECT_EQ(LookUpInstallFolder().Folder, "Vornkit");
  EXPECT_TRUE(LookUpInstallFolder().Failed);
  unsetenv("VORNKIT_INSTALL_README");
}

TEST(SettingsStoreTest, AssociationsNameTheInstallFolder) {
  TRegistryScope scope;
  RegisterFileAssociations("/opt/vk/Vornkit");
  for (const char* extension : {".c", ".h", ".s", ".rom"}) {
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, extension + std::string("\\shell\\open\\command"), ""),
              "s:/opt/vk/Vornkit/Vornkit.exe %1");
  }
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".c\\DefaultIcon", ""), "s:/opt/vk/Vornkit/C_ICON.ico, 0");
  EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".rom\\DefaultIcon", ""), "s:/opt/vk/Vornkit/ROM_ICON.ico, 0");
  EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, "SOFTWARE\\ZE_VAD\\Editor").empty());
}

TEST(SettingsStoreTest, AssociationsThatCannotBeWrittenArePassedOverSilently) {
  TRegistryScope scope;
  // A folder in the place of the root key's file: it cannot be read, so the
  // registry refuses every change to that root key.
  std::filesystem::create_directory(scope.Folder().File("HKEY_CLASSES_ROOT.reg"));
  EXPECT_NO_THROW(RegisterFileAssociations("/opt/vk/Vornkit"));
  TakeRegistryReports();
  WriteEditorString("Vornkit VerSion", "x");
  EXPECT_FALSE(IsFirstRun());
}

TEST(SettingsStoreTest, ReaderGivesNothingForMissingOrMistypedValues) {
  TRegistryScope scope;
  EXPECT_FALSE(TSettingsReader("Editor").KeyExists());
  EXPECT_FALSE(TSettingsReader("Editor").String("EditorFont"));
  WriteEditorString("EditorFont", "Mono");
  TSettingsReader reader("Editor");
  EXPECT_EQ(reader.String("EditorFont"), "Mono");
  EXPECT_EQ(reader.String("editorfont"), "Mono");
  EXPECT_FALSE(reader.Integer("EditorFont"));
  EXPECT_FALSE(reader.Bool("EditorFont"));
  EXPECT_FALSE(reader.String("Gutter"));
}

}  // namespace
}  // namespace vk
