#include "platform/IniFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/Streams.h"
#include "platform/StringLists.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

class IniFilesTest : public ::testing::Test {
protected:
  void TearDown() override { TSafeFileStream::SetRenameForTesting(nullptr); }
  void WriteFile(const std::string& text) { std::ofstream(FFile, std::ios::binary) << text; }

  test::TTempFolder FTemp;
  const std::string FFile = FTemp.File("test.ini");
};

TEST_F(IniFilesTest, AttributesRoundTripInTheirFileLayout) {
  {
    TIniFile ini(FFile);
    EXPECT_FALSE(fs::exists(FFile));  // nothing written yet
    ini.WriteInteger("Comment", "Background", 536870911);
    ini.WriteInteger("Comment", "Foreground", 255);
    ini.WriteInteger("Comment", "Style", 3);
    ini.WriteBool("Options", "Enabled", true);
    ini.WriteString("Options", "Name", "Courier New");
  }
  EXPECT_EQ(LoadBytesFromFile(FFile),
            "[Comment]\nBackground=536870911\nForeground=255\nStyle=3\n"
            "[Options]\nEnabled=1\nName=Courier New\n");
  TIniFile ini(FFile);
  EXPECT_EQ(ini.ReadInteger("Comment", "Background", 0), 0x1FFFFFFF);
  EXPECT_EQ(ini.ReadInteger("Comment", "Style", 0), 3);
  EXPECT_TRUE(ini.ReadBool("Options", "Enabled", false));
  EXPECT_EQ(ini.ReadString("Options", "Name", ""), "Courier New");
  EXPECT_EQ(ini.ReadString("Options", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadInteger("Missing", "Style", 7), 7);
}

TEST_F(IniFilesTest, NamesIgnoreLetterCaseAndKeepTheirSpelling) {
  TIniFile ini(FFile);
  ini.WriteString("Comment", "Foreground", "1");
  ini.WriteString("COMMENT", "foreground", "2");  // the same entry
  EXPECT_EQ(ini.ReadString("comment", "FOREGROUND", ""), "2");
  TStringList names;
  ini.ReadSection("cOMMENT", names);
  EXPECT_EQ(names.Text(), "Foreground\r\n");
  ini.ReadSections(names);
  EXPECT_EQ(names.Text(), "Comment\r\n");
  EXPECT_TRUE(ini.ValueExists("COMMENT", "FOREGROUND"));
  EXPECT_EQ(LoadBytesFromFile(FFile), "[Comment]\nForeground=2\n");
}

TEST_F(IniFilesTest, ValuesReadBackAsWritten) {
  const char* values[] = {"", "plain", "  leading and trailing  ", "\"quoted\"", "'single'", "\"", "a=b",
                          "\xC7\xD1\xB1\xDB", "tab\tinside", "; not a comment"};
  {
    TIniFile ini(FFile);
    for (size_t i = 0; i < std::size(values); ++i) ini.WriteString("Values", "V" + std::to_string(i), values[i]);
  }
  TIniFile ini(FFile);
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(ini.ReadString("Values", "V" + std::to_string(i), "?"), values[i]) << i;
}

TEST_F(IniFilesTest, ReadsAFileWrittenByHand) {
  WriteFile(
      "; settings\r\n"
      "[ Colors ]\r\n"
      "  Back  =  12  \r\n"
      "Hex=0x1F\r\n"
      "Dollar=$10\r\n"
      "Word=twelve\r\n"
      "Quoted=\" x \"\r\n"
      "no equals sign\r\n"
      "\r\n"
      "[Empty]\r\n"
      "[colors]\r\n"
      "Back=99\r\n"
      "Extra=1\r\n");
  TIniFile ini(FFile);
  EXPECT_EQ(ini.ReadInteger("Colors", "Back", 0), 12);  // the first section of the name
  EXPECT_EQ(ini.ReadInteger("Colors", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Colors", "Dollar", 0), 16);
  EXPECT_EQ(ini.ReadInteger("Colors", "Word", -1), -1);
  EXPECT_FALSE(ini.ReadBool("Colors", "Word", false));
  EXPECT_EQ(ini.ReadString("Colors", "Quoted", ""), " x ");
  EXPECT_FALSE(ini.ValueExists("Colors", "Extra"));
  EXPECT_FALSE(ini.SectionExists("Empty"));  // a section without keys
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.SectionExists("COLORS"));
  TStringList lines;
  ini.ReadSections(lines);
  EXPECT_EQ(lines.Text(), "Colors\r\nEmpty\r\n");
  ini.ReadSectionValues("Colors", lines);
  EXPECT_EQ(lines.Text(), "Back=12\r\nHex=0x1F\r\nDollar=$10\r\nWord=twelve\r\nQuoted= x \r\n");
  ini.ReadSection("Missing", lines);
  EXPECT_EQ(lines.Count(), 0);

  // A change keeps every other line, and the file's line breaks.
  ini.WriteInteger("Colors", "Back", 13);
  ini.WriteString("Colors", "New", "n");
  EXPECT_EQ(LoadBytesFromFile(FFile),
            "; settings\r\n"
            "[ Colors ]\r\n"
            "Back=13\r\n"
            "Hex=0x1F\r\n"
            "Dollar=$10\r\n"
            "Word=twelve\r\n"
            "Quoted=\" x \"\r\n"
            "New=n\r\n"
            "no equals sign\r\n"
            "\r\n"
            "[Empty]\r\n"
            "[colors]\r\n"
            "Back=99\r\n"
            "Extra=1\r\n");
}

TEST_F(IniFilesTest, ErasingSectionsAndKeys) {
  TIniFile ini(FFile);
  ini.WriteString("A", "x", "1");
  ini.WriteString("A", "y", "2");
  ini.WriteString("B", "z", "3");
  ini.DeleteKey("a", "X");
  ini.DeleteKey("A", "missing");
  ini.EraseSection("b");
  ini.EraseSection("missing");
  ini.UpdateFile();
  EXPECT_EQ(LoadBytesFromFile(FFile), "[A]\ny=2\n");
  EXPECT_EQ(TIniFile(FFile).ReadString("A", "y", ""), "2");
}

TEST_F(IniFilesTest, WhatTheFileCannotHoldIsRefused) {
  TIniFile ini(FFile);
  ini.WriteString("S", "k", "v");
  struct Case {
    std::string section, key, value;
  } cases[] = {{"S", "k", "two\nlines"}, {"S", "k", "cr\r"}, {"S", "a=b", "v"},   {"S", "", "v"},
               {"S]", "k", "v"},         {"S\nT", "k", "v"}, {"S", "[k", "v"},    {"S", ";k", "v"}};
  for (const Case& c : cases) {
    try {
      ini.WriteString(c.section, c.key, c.value);
      ADD_FAILURE() << c.section << "/" << c.key << "/" << c.value;
    } catch (const EIniFileException& e) {
      EXPECT_EQ(e.Message(), "Unable to write to " + FFile);
    }
  }
  EXPECT_EQ(LoadBytesFromFile(FFile), "[S]\nk=v\n");
}

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

TEST_F(IniFilesTest, AFailedSaveRaisesAndChangesNothing) {
  TIniFile ini(FFile);
  ini.WriteString("S", "k", "old");
  TSafeFileStream::SetRenameForTesting(&FailingRename);
  EXPECT_THROW(ini.WriteString("S", "k", "new"), EIniFileException);
  EXPECT_THROW(ini.WriteString("T", "k", "new"), EIniFileException);
  EXPECT_THROW(ini.EraseSection("S"), EIniFileException);
  ini.WriteString("S", "k", "old");  // unchanged: nothing to save
  TSafeFileStream::SetRenameForTesting(nullptr);
  EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
  EXPECT_FALSE(ini.SectionExists("T"));
  EXPECT_EQ(LoadBytesFromFile(FFile), "[S]\nk=old\n");
}

TEST_F(IniFilesTest, AFileThatCannotBeReadIsNeverOverwritten) {
  fs::create_directory(FFile);
  TIniFile ini(FFile);
  EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_THROW(ini.WriteString("S", "k", "v"), EIniFileException);
  EXPECT_TRUE(fs::is_directory(FFile));
}

}  // namespace
}  // namespace vk
