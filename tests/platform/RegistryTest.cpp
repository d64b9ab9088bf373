#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <fstream>

#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("VORNKIT_REGISTRY_DIR", FFolder.c_str(), 1);
    TakeRegistryReports();
  }
  void TearDown() override {
    TSafeFileStream::SetRenameForTesting(nullptr);
    unsetenv("VORNKIT_REGISTRY_DIR");
  }

  // The store reloads when the folder changes; the same folder spelled with
  // a trailing "/" makes it read the files again.
  void ReloadFromDisk() {
    FFlip = !FFlip;
    setenv("VORNKIT_REGISTRY_DIR", (FFolder + (FFlip ? "/" : "")).c_str(), 1);
  }
  std::string File(const char* root = "HKEY_CURRENT_USER") const { return FFolder + "/" + root + ".reg"; }
  void WriteFile(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

  test::TTempFolder FTemp;
  const std::string& FFolder = FTemp.Path();
  bool FFlip = false;
};

const std::string kEditorKey = "SOFTWARE\\ZE_VAD\\Editor";

TEST_F(RegistryTest, EveryValueKindSurvivesAReloadFromDisk) {
  const std::string binary = std::string("\x00\x01\xFF\x7F", 4) + std::string(60, '\xAB');  // wraps over lines
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kEditorKey, true));
    reg.WriteString("Vornkit VerSion", "Vornkit Ver3.8");
    reg.WriteString("Path", "C:\\dir\\\"quoted\"\\");
    reg.WriteString("Lines", "one\r\ntwo\n");
    reg.WriteString("Korean", "\xC7\xD1\xB1\xDB");
    reg.WriteString("Empty", "");
    reg.WriteString("", "default value");
    reg.WriteInteger("GutterWidth", 25);
    reg.WriteInteger("Negative", -2);
    reg.WriteInteger("Color", 0x1FFFFFFF);
    reg.WriteBool("Gutter", true);
    reg.WriteBool("Zero", false);
    reg.WriteBinaryData("Blob", binary.data(), static_cast<int>(binary.size()));
    reg.WriteBinaryData("NoBytes", nullptr, 0);
  }
  ReloadFromDisk();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(kEditorKey));
  EXPECT_EQ(reg.ReadString("Vornkit VerSion"), "Vornkit Ver3.8");
  EXPECT_EQ(reg.ReadString("Path"), "C:\\dir\\\"quoted\"\\");
  EXPECT_EQ(reg.ReadString("Lines"), "one\r\ntwo\n");
  EXPECT_EQ(reg.ReadString("Korean"), "\xC7\xD1\xB1\xDB");
  EXPECT_EQ(reg.ReadString("Empty"), "");
  EXPECT_TRUE(reg.ValueExists("Empty"));
  EXPECT_EQ(reg.ReadString(""), "default value");
  EXPECT_EQ(reg.ReadInteger("GutterWidth"), 25);
  EXPECT_EQ(reg.ReadInteger("Negative"), -2);
  EXPECT_EQ(reg.ReadInteger("Color"), 0x1FFFFFFF);
  EXPECT_TRUE(reg.ReadBool("Gutter"));
  EXPECT_FALSE(reg.ReadBool("Zero"));
  char buffer[100] = {};
  ASSERT_EQ(reg.ReadBinaryData("Blob", buffer, sizeof buffer), static_cast<int>(binary.size()));
  EXPECT_EQ(std::string(buffer, binary.size()), binary);
  EXPECT_EQ(reg.GetDataType("NoBytes"), rdBinary);
  EXPECT_EQ(reg.ReadBinaryData("NoBytes", buffer, sizeof buffer), 0);
  EXPECT_TRUE(TakeRegistryReports().empty());
}

TEST_F(RegistryTest, FileIsInTheRegistryEditorFormat) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\ZE_VAD\\CommentAttri", true));
    reg.WriteInteger("Foreground Color", 0x1f);
    reg.WriteString("Name", "a\\b \"c\"");
    reg.WriteString("", "x");
    reg.WriteBinaryData("Bin", "\x01\xfe", 2);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey(".c\\DefaultIcon", true));
    reg.WriteString("", "/opt/C_ICON.ico, 0");
  }
  EXPECT_EQ(LoadBytesFromFile(File()),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_CURRENT_USER\\SOFTWARE]\n"
            "\n[HKEY_CURRENT_USER\\SOFTWARE\\ZE_VAD]\n"
            "\n[HKEY_CURRENT_USER\\SOFTWARE\\ZE_VAD\\CommentAttri]\n"
            "\"Foreground Color\"=dword:0000001f\n"
            "\"Name\"=\"a\\\\b \\\"c\\\"\"\n"
            "@=\"x\"\n"
            "\"Bin\"=hex:01,fe\n");
  EXPECT_EQ(LoadBytesFromFile(File("HKEY_CLASSES_ROOT")),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_CLASSES_ROOT\\.c]\n"
            "\n[HKEY_CLASSES_ROOT\\.c\\DefaultIcon]\n"
            "@=\"/opt/C_ICON.ico, 0\"\n");
  EXPECT_FALSE(fs::exists(File("HKEY_LOCAL_MACHINE")));
}

TEST_F(RegistryTest, ReadsAFileWrittenByHand) {
  WriteFile(File(),
            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
            "; settings\r\n"
            "[HKEY_CURRENT_USER]\r\n"
            "\"Top\"=dword:1\r\n"
            "[hkey_current_user\\Software\\A]\r\n"
            "@=\"def\"\r\n"
            "\"Bin\"=hex:00,01,\\\r\n"
            "  02,03\r\n"
            "\"Text\"=hex(1):61,0a,62\r\n"
            "\"Dup\"=\"old\"\r\n"
            "\"DUP\"=\"new\"\r\n");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\", false));
  EXPECT_EQ(reg.ReadInteger("Top"), 1);
  ASSERT_TRUE(reg.OpenKey("Software\\A", false));
  EXPECT_EQ(reg.ReadString(""), "def");
  EXPECT_EQ(reg.GetDataSize("Bin"), 4);
  EXPECT_EQ(reg.ReadString("Text"), "a\nb");
  EXPECT_EQ(reg.ReadString("dup"), "new");
  TStringList names;
  reg.GetValueNames(names);
  EXPECT_EQ(names.Text(), "\r\nBin\r\nText\r\nDup\r\n");
  EXPECT_TRUE(TakeRegistryReports().empty());
}

TEST_F(RegistryTest, NamesIgnoreLetterCaseAndKeepTheirSpelling) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kEditorKey, true));
  reg.WriteString("Vornkit VerSion", "1");
  ASSERT_TRUE(reg.OpenKey("\\software\\ze_vad\\EDITOR", false));
  EXPECT_EQ(reg.CurrentPath(), "software\\ze_vad\\EDITOR");
  EXPECT_EQ(reg.ReadString("VORNKIT VERSION"), "1");
  reg.WriteString("vornkit version", "2");
  // Two-byte characters whose trail bytes are 'A' and 'a' are different names.
  reg.WriteInteger("\xB0\x41", 1);
  reg.WriteInteger("\xB0\x61", 2);
  EXPECT_EQ(reg.ReadInteger("\xB0\x41"), 1);
  TStringList names;
  reg.GetValueNames(names);
  EXPECT_EQ(names.Text(), "Vornkit VerSion\r\n\xB0\x41\r\n\xB0\x61\r\n");
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZE_VAD", false));
  reg.GetKeyNames(names);
  EXPECT_EQ(names.Text(), "Editor\r\n");
  ReloadFromDisk();
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\ZE_VAD\\Editor"));
  EXPECT_EQ(reg.ReadString("Vornkit VerSion"), "2");
}

TEST_F(RegistryTest, NamesWithSpacesAndBackslashes) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Key With Spaces\\ [x] ", true));
  reg.WriteString("value\\with\\backslashes", "v");
  reg.WriteString(" spaced \"name\" ", "w");
  ReloadFromDisk();
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\key with spaces"));
  TStringList names;
  reg.GetKeyNames(names);
  EXPECT_EQ(names.Text(), " [x] \r\n");
  ASSERT_TRUE(reg.OpenKeyReadOnly(" [X] "));
  EXPECT_EQ(reg.CurrentPath(), "key with spaces\\ [X] ");
  EXPECT_EQ(reg.ReadString("VALUE\\WITH\\BACKSLASHES"), "v");
  EXPECT_EQ(reg.ReadString(" spaced \"name\" "), "w");
  // A backslash separates keys; empty parts name nothing.
  EXPECT_TRUE(reg.KeyExists("\\\\Key With Spaces\\\\ [x] \\"));
  // Names that a line of the file cannot hold are refused.
  EXPECT_FALSE(reg.OpenKey("\\bad\nkey", true));
  EXPECT_THROW(reg.CreateKey("\\bad\rkey"), ERegistryException);
  ASSERT_TRUE(reg.OpenKey("\\Key With Spaces", false));
  EXPECT_THROW(reg.WriteString("two\nlines", "x"), ERegistryException);
}

TEST_F(RegistryTest, ReadsRaiseAsTheClassLibraryDoes) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kEditorKey, true));
  reg.WriteString("Text", "12");
  reg.WriteInteger("Number", 12);
  reg.WriteBinaryData("Blob", "abcd", 4);
  struct Case {
    const char* what;
    std::function<void()> read;
    const char* message;  // nullptr: no exception
  } cases[] = {
      {"missing integer", [&] { reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
      {"missing boolean", [&] { reg.ReadBool("Missing"); }, "Failed to get data for 'Missing'"},
      {"string as integer", [&] { reg.ReadInteger("Text"); }, "Invalid data type for 'Text'"},
      {"string as boolean", [&] { reg.ReadBool("Text"); }, "Invalid data type for 'Text'"},
      {"binary as integer", [&] { reg.ReadInteger("Blob"); }, "Invalid data type for 'Blob'"},
      {"integer as string", [&] { reg.ReadString("Number"); }, "Invalid data type for 'Number'"},
      {"integer as binary", [&] { char b[8]; reg.ReadBinaryData("Number", b, 8); }, "Invalid data type for 'Number'"},
      {"binary too large", [&] { char b[3]; reg.ReadBinaryData("Blob", b, 3); }, "Invalid data type for 'Blob'"},
      {"missing string", [&] { EXPECT_EQ(reg.ReadString("Missing"), ""); }, nullptr},
      {"missing binary", [&] { char b[1]; EXPECT_EQ(reg.ReadBinaryData("Missing", b, 1), 0); }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.message) {
      c.read();
      continue;
    }
    try {
      c.read();
      ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  EXPECT_EQ(reg.GetDataType("Text"), rdString);
  EXPECT_EQ(reg.GetDataType("Number"), rdInteger);
  EXPECT_EQ(reg.GetDataType("Blob"), rdBinary);
  EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
  EXPECT_EQ(reg.GetDataSize("Text"), 3);
  EXPECT_EQ(reg.GetDataSize("Number"), 4);
  EXPECT_EQ(reg.GetDataSize("Missing"), -1);
  // A write replaces a value of another kind.
  reg.WriteInteger("Text", 5);
  EXPECT_EQ(reg.ReadInteger("Text"), 5);
  EXPECT_TRUE(reg.ReadBool("Text"));
}

TEST_F(RegistryTest, OpeningKeys) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey(kEditorKey, false));
  EXPECT_FALSE(reg.OpenKeyReadOnly(kEditorKey));
  EXPECT_FALSE(reg.KeyExists(kEditorKey));
  EXPECT_TRUE(reg.CreateKey(kEditorKey));
  EXPECT_TRUE(reg.CreateKey(kEditorKey));  // again: it exists
  EXPECT_EQ(reg.CurrentPath(), "");
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\ZE_VAD", false));
  // Relative to the open key, or from the root with a leading "\".
  EXPECT_TRUE(reg.KeyExists("Editor"));
  EXPECT_FALSE(reg.KeyExists("SOFTWARE"));
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE"));
  ASSERT_TRUE(reg.OpenKey("Editor", false));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ZE_VAD\\Editor");
  // A failed open leaves the open key as it was.
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ZE_VAD\\Editor");
  ASSERT_TRUE(reg.OpenKey("Sub", true));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ZE_VAD\\Editor\\Sub");
  // Without an open key, values can be neither read nor written.
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentPath(), "");
  EXPECT_FALSE(reg.ValueExists("x"));
  EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
  TStringList names;
  names.Add("stale");
  reg.GetKeyNames(names);
  EXPECT_EQ(names.Count(), 0);
  // Read-only: values read, changes refused.
  ASSERT_TRUE(reg.OpenKey(kEditorKey, false));
  reg.WriteInteger("x", 1);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + kEditorKey));
  EXPECT_EQ(reg.ReadInteger("x"), 1);
  EXPECT_THROW(reg.WriteInteger("x", 2), ERegistryException);
  EXPECT_FALSE(reg.DeleteValue("x"));
  ASSERT_TRUE(reg.OpenKey("\\" + kEditorKey, false));
  EXPECT_TRUE(reg.DeleteValue("X"));
  EXPECT_FALSE(reg.DeleteValue("x"));
  // An unknown root key has no keys.
  reg.SetRootKey(0x1234);
  EXPECT_FALSE(reg.OpenKey("a", true));
  EXPECT_THROW(reg.CreateKey("a"), ERegistryException);
}

TEST_F(RegistryTest, DeletingKeys) {
  TRegistry reg, other;
  ASSERT_TRUE(reg.OpenKey("\\A\\B\\C", true));
  reg.WriteString("v", "1");
  ASSERT_TRUE(other.OpenKey("\\A\\B\\C", false));
  EXPECT_FALSE(reg.DeleteKey("\\"));  // not the root key
  EXPECT_FALSE(reg.DeleteKey("\\A\\Missing"));
  ASSERT_TRUE(reg.OpenKey("\\A", false));
  EXPECT_TRUE(reg.DeleteKey("b"));  // with everything below it
  EXPECT_FALSE(reg.KeyExists("B"));
  // The other object's key is gone: nothing to read, nothing to write into.
  EXPECT_FALSE(other.ValueExists("v"));
  EXPECT_THROW(other.WriteString("v", "2"), ERegistryException);
  ReloadFromDisk();
  EXPECT_TRUE(reg.KeyExists("\\A"));
  EXPECT_FALSE(reg.KeyExists("\\A\\B"));
}

TEST_F(RegistryTest, RootKeysAreSeparate) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\.c", true));
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  EXPECT_EQ(reg.CurrentPath(), "");
  EXPECT_FALSE(reg.KeyExists("\\.c"));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.KeyExists("\\.c"));
  reg.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_TRUE(reg.KeyExists("\\.c"));
}

TEST_F(RegistryTest, ADamagedFileIsSetAsideAndReported) {
  const char* damaged[] = {
      "REGEDIT4\n",
      "Windows Registry Editor Version 5.00\n\"v\"=\"outside a key\"\n",
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\x]\n",
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n\"v\"=dword:123456789\n",
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n\"v\"=\"unterminated\n",
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n\"v\"=hex:0g\n",
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n\"v\"=\"bad \\escape\"\n",
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\\\x]\n",
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n\"v\"=hex:01,\\\n",
  };
  for (const char* text : damaged) {
    SCOPED_TRACE(text);
    WriteFile(File(), text);
    ReloadFromDisk();
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("\\x"));
    std::vector<std::string> reports = TakeRegistryReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("HKEY_CURRENT_USER.reg.bad"), std::string::npos) << reports[0];
    EXPECT_FALSE(fs::exists(File()));
    EXPECT_EQ(LoadBytesFromFile(File() + ".bad"), text);
    // The registry works afresh, and the set-aside file stays as it was.
    ASSERT_TRUE(reg.OpenKey("\\fresh", true));
    EXPECT_TRUE(fs::exists(File()));
    fs::remove(File() + ".bad");
  }
  // A second damaged file does not replace the first one set aside.
  WriteFile(File(), "first");
  ReloadFromDisk();
  TRegistry().KeyExists("x");
  WriteFile(File(), "second");
  ReloadFromDisk();
  TRegistry().KeyExists("x");
  EXPECT_EQ(TakeRegistryReports().size(), 2u);
  EXPECT_EQ(LoadBytesFromFile(File() + ".bad"), "first");
  EXPECT_EQ(LoadBytesFromFile(File() + ".1.bad"), "second");
}

TEST_F(RegistryTest, AFileThatCannotBeReadIsNeverOverwritten) {
  fs::create_directory(File());  // exists, but reading it fails
  ReloadFromDisk();
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("\\x", true));
  EXPECT_THROW(reg.CreateKey("\\x"), ERegistryException);
  EXPECT_EQ(TakeRegistryReports().size(), 1u);
  EXPECT_TRUE(fs::is_directory(File()));
}

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

TEST_F(RegistryTest, ACrashBeforeTheRenameKeepsTheOldFileAndTheOldValues) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kEditorKey, true));
  reg.WriteString("Name", "old");
  reg.WriteInteger("Number", 1);
  const std::string before = LoadBytesFromFile(File());
  TSafeFileStream::SetRenameForTesting(&FailingRename);
  EXPECT_THROW(reg.WriteString("Name", "new"), ERegistryException);
  EXPECT_THROW(reg.WriteString("Added", "new"), ERegistryException);
  EXPECT_FALSE(reg.DeleteValue("Number"));
  EXPECT_FALSE(reg.OpenKey("Sub\\Key", true));
  EXPECT_FALSE(reg.DeleteKey("\\SOFTWARE"));
  // Rewriting what is stored needs no save.
  reg.WriteString("Name", "old");
  TSafeFileStream::SetRenameForTesting(nullptr);
  EXPECT_EQ(LoadBytesFromFile(File()), before);
  // Memory holds what the file holds.
  EXPECT_EQ(reg.ReadString("Name"), "old");
  EXPECT_FALSE(reg.ValueExists("Added"));
  EXPECT_EQ(reg.ReadInteger("Number"), 1);
  EXPECT_FALSE(reg.KeyExists("Sub"));
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE"));
  for (const fs::directory_entry& entry : fs::directory_iterator(FFolder))
    EXPECT_EQ(entry.path().filename(), "HKEY_CURRENT_USER.reg");  // no temporary files left behind
}

TEST_F(RegistryTest, FolderFallsBackToTheConfigurationFolder) {
  unsetenv("VORNKIT_REGISTRY_DIR");
  const char* old = getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", (FFolder + "/config").c_str(), 1);
  EXPECT_TRUE(TRegistry().CreateKey("\\x"));
  EXPECT_TRUE(fs::exists(FFolder + "/config/ZE_VAD/HKEY_CURRENT_USER.reg"));
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(RegistryTest, InstallerReadmeIsTheFolderOfTheProgram) {
  std::string readme = InstallerReadmeValue();
  ASSERT_FALSE(readme.empty());
  EXPECT_EQ(readme.back(), '/');
  EXPECT_EQ(fs::path(readme) / "", fs::canonical("/proc/self/exe").parent_path() / "");
  setenv("VORNKIT_INSTALL_README", "/opt/vk/", 1);
  EXPECT_EQ(InstallerReadmeValue(), "/opt/vk/");
  unsetenv("VORNKIT_INSTALL_README");
}

}  // namespace
}  // namespace vk
