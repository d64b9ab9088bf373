#include "platform/FileSearch.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include "platform/DateTimes.h"
#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

TEST(FileSearchTest, MasksMatchAsOnTheOriginalPlatform) {
  struct Case {
    const char* Name;
    const char* Mask;
    bool Matches;
  } cases[] = {
      {"abc", "*.*", true},           {"a.b.c", "*.*", true},       {"abc", "*.", true},
      {"a.b", "*.", false},           {"ABC.c", "*.C", true},       {"abc.cpp", "*.c", false},
      {"x.c", "?.c", true},           {"xy.c", "?.c", false},       {"main.c", "m*n.c", true},
      {"makefile", "makefile.*", true}, {"makefile.bak", "makefile.*", true}, {"\xB0\xA1.c", "?.c", true},
      {"\xB0\x61.c", "\xB0\x41.c", false}, {"abc", "", false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Matches, MatchesFileMask(c.Name, c.Mask)) << c.Name << " ~ " << c.Mask;
}

class FileSearchTree : public testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"a.c", "B.C", "notes.txt", "noext", ".hidden.c", "ro.c"}) Touch(name);
    SaveBytesToFile(Folder.File("a.c"), "abc");
    for (const char* name : {"sub", ".git", "rodir"}) mkdir(Folder.File(name).c_str(), 0755);
    chmod(Folder.File("ro.c").c_str(), 0444);
    chmod(Folder.File("rodir").c_str(), 0555);
  }
  void Touch(const std::string& name) { SaveBytesToFile(Folder.File(name), ""); }

  std::vector<std::string> Find(const std::string& mask, int attr, int* result = nullptr) {
    std::vector<std::string> names;
    TSearchRec rec;
    int found = FindFirst(Folder.File(mask), attr, rec);
    if (result) *result = found;
    for (int r = found; r == 0; r = FindNext(rec)) names.push_back(rec.Name);
    FindClose(rec);
    return names;
  }

  test::TTempFolder Folder;
};

using Names = std::vector<std::string>;

TEST_F(FileSearchTree, AttributeFiltersKeepReadOnlyAndArchiveAndAskForTheRest) {
  struct Case {
    const char* Mask;
    int Attr;
    Names Expected;
  } cases[] = {
      {"*.c", 0, {"a.c", "B.C", "ro.c"}},
      {"*.c", faReadOnly | faHidden | faSysFile | faArchive, {".hidden.c", "a.c", "B.C", "ro.c"}},
      {"*.*", faDirectory, {".", "..", "a.c", "B.C", "noext", "notes.txt", "ro.c", "rodir", "sub"}},
      {"*.*", faAnyFile, {".", "..", ".git", ".hidden.c", "a.c", "B.C", "noext", "notes.txt", "ro.c", "rodir", "sub"}},
      {"*.", faDirectory, {"noext", "rodir", "sub"}},
      {"n*", 0, {"noext", "notes.txt"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Expected, Find(c.Mask, c.Attr)) << c.Mask << " attr " << c.Attr;
}

TEST_F(FileSearchTree, EntriesCarryAttributesSizeAndTime) {
  tm when{};
  when.tm_year = 108, when.tm_mon = 4, when.tm_mday = 20, when.tm_hour = 9, when.tm_min = 5, when.tm_sec = 6;
  when.tm_isdst = -1;
  timeval times[2] = {{mktime(&when), 0}, {mktime(&when), 0}};
  utimes(Folder.File("a.c").c_str(), times);

  struct Case {
    const char* Name;
    int Attr;
  } cases[] = {
      {"a.c", faArchive}, {"ro.c", faArchive | faReadOnly}, {"sub", faDirectory},
      {"rodir", faDirectory | faReadOnly}, {".git", faDirectory | faHidden}, {"..", faDirectory},
  };
  for (const auto& c : cases) {
    TSearchRec rec;
    ASSERT_EQ(0, FindFirst(Folder.File(c.Name), faAnyFile, rec)) << c.Name;
    EXPECT_EQ(c.Name, rec.Name);
    EXPECT_EQ(c.Attr, rec.Attr) << c.Name;
  }
  TSearchRec rec;
  ASSERT_EQ(0, FindFirst(Folder.File("a.c"), 0, rec));
  EXPECT_EQ(3, rec.Size);
  // The default settings' separators: the user's locale may have others.
  EXPECT_EQ("2008-05-20 09:05:06",
            FormatDateTime("yyyy-mm-dd hh:nn:ss", FileDateToDateTime(rec.Time), TFormatSettings()));
  EXPECT_EQ(rec.Time, FileAge(Folder.File("a.c")));
  EXPECT_EQ(-1, FileAge(Folder.File("none.c")));
}

TEST_F(FileSearchTree, FailuresAndTheCurrentFolder) {
  int result = 0;
  EXPECT_TRUE(Find("zzz*", faAnyFile, &result).empty());
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, result);
  EXPECT_TRUE(Find("missing/*.*", faAnyFile, &result).empty());
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, result);

  std::string previous = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Folder.Path()));
  TSearchRec rec;
  EXPECT_EQ(0, FindFirst("*.txt", 0, rec));
  EXPECT_EQ("notes.txt", rec.Name);
  EXPECT_EQ(ERROR_NO_MORE_FILES, FindNext(rec));
  SetCurrentDir(previous);

  TSearchRec root;
  ASSERT_EQ(0, FindFirst("/*.*", faDirectory, root));
  EXPECT_NE(".", root.Name);  // the root has no "." and ".." entries
}

TEST(FilePathsTest, SplitsNamesAndDropsATrailingDotOnDelete) {
  struct Case {
    const char* Name;
    const char* Path;
    const char* File;
    const char* Ext;
  } cases[] = {
      {"/home/user/blink/main.c", "/home/user/blink/", "main.c", ".c"},
      {"main", "", "main", ""},
      {"/a.b/c", "/a.b/", "c", ""},
      {"x.tar.gz", "", "x.tar.gz", ".gz"},
      {"/home/user//lcd.h", "/home/user//", "lcd.h", ".h"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.Path, ExtractFilePath(c.Name));
    EXPECT_EQ(c.File, ExtractFileName(c.Name));
    EXPECT_EQ(c.Ext, ExtractFileExt(c.Name));
  }
  test::TTempFolder folder;
  SaveBytesToFile(folder.File("t.o"), "x");
  EXPECT_TRUE(FileExists(folder.File("t.o.")));
  EXPECT_TRUE(DeleteFile(folder.File("t.o.")));
  EXPECT_FALSE(FileExists(folder.File("t.o")));
  EXPECT_FALSE(DeleteFile(folder.File("t.o")));
  EXPECT_FALSE(DeleteFile(folder.Path()));
  EXPECT_TRUE(DirectoryExists(folder.Path()));
}

TEST(FilePathsTest, NamesAreUtf8OnDiskAndInTheCodePageInTheProgram) {
  const struct {
    std::string Program;
    std::string Disk;
    bool Back;  // the disk name comes back as the program's
  } cases[] = {
      {"main.c", "main.c", true},
      {"/p/프로젝트/main.c", "/p/\xED\x94\x84\xEB\xA1\x9C\xEC\xA0\x9D\xED\x8A\xB8/main.c", true},
      {"a\xFF.c", "a\xFF.c", false},         // no text of the code page: as it is
      {"?", "\xF0\x9F\x98\x80", false},    // an emoji: no form in the code page
      {"?", "\xC7\xD1.c", false},            // no UTF-8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Disk);
    if (c.Program != "?") {
      EXPECT_EQ(FileNameToDisk(c.Program), c.Disk);
    }
    EXPECT_EQ(FileNameFromDisk(c.Disk), c.Back ? std::optional(c.Program) : std::nullopt);
    if (!c.Back) {
      EXPECT_THROW(CheckedFileNameFromDisk(c.Disk), EFileNameError);
    }
  }

  // A folder and a file made by the program carry their UTF-8 names and are
  // found, listed, entered and removed by the program's names.
  test::TTempFolder temp;
  const std::string folder = temp.File("프로젝트"), file = folder + "/main.c";
  ForceFolders(folder);
  SaveBytesToFile(file, "int main;\n");
  struct stat info;
  EXPECT_EQ(0, stat(temp.File("\xED\x94\x84\xEB\xA1\x9C\xEC\xA0\x9D\xED\x8A\xB8/main.c").c_str(), &info));
  SaveBytesToFile(temp.File("\xF0\x9F\x98\x80"), "");  // made by another program
  EXPECT_TRUE(DirectoryExists(folder) && FileExists(file) && PathExists(folder));
  EXPECT_TRUE(SameFile(file, temp.File("프로젝트//main.c")));
  EXPECT_NE(-1, FileAge(file));
  std::vector<std::string> listed;
  TSearchRec rec;
  for (int r = FindFirst(temp.File("*.*"), faAnyFile, rec); r == 0; r = FindNext(rec)) listed.push_back(rec.Name);
  EXPECT_EQ(listed, (std::vector<std::string>{".", "..", "프로젝트"}));  // the emoji's file is left out
  const std::string previous = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(folder));
  EXPECT_EQ(folder, GetCurrentDir());
  SetCurrentDir(previous);
  EXPECT_TRUE(DeleteFile(file));
  EXPECT_FALSE(PathExists(file));
}

}  // namespace
}  // namespace vk
