#include "platform/Streams.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

bool RunningAsRoot() { return geteuid() == 0; }

TEST(SafeFileStreamTest, CommitReplacesTheFileAndKeepsItsPermissions) {
  test::TTempFolder folder;
  std::string name = folder.File("a.c");
  SaveBytesToFile(name, "old");
  chmod(name.c_str(), 0640);
  SaveBytesToFile(name, "new text");
  EXPECT_EQ("new text", LoadBytesFromFile(name));
  struct stat info;
  ASSERT_EQ(0, stat(name.c_str(), &info));
  EXPECT_EQ(0640u, info.st_mode & 0777);
  EXPECT_EQ(1, std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
}

TEST(SafeFileStreamTest, WithoutCommitTheOldFileStays) {
  test::TTempFolder folder;
  std::string name = folder.File("a.c");
  SaveBytesToFile(name, "old");
  {
    TSafeFileStream stream(name);
    stream.WriteBuffer("partial", 7);
  }
  EXPECT_EQ("old", LoadBytesFromFile(name));
  EXPECT_EQ(1, std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
}

int FailingRename(const char*, const char*) {
  errno = EIO;
  return -1;
}

TEST(SafeFileStreamTest, AFailedRenameRaisesAndLeavesTheOldFile) {
  test::TTempFolder folder;
  std::string name = folder.File("a.c");
  SaveBytesToFile(name, "old");
  TSafeFileStream::SetRenameForTesting(&FailingRename);
  try {
    SaveBytesToFile(name, "new");
    ADD_FAILURE() << "saved";
  } catch (const EWriteError& e) {
    EXPECT_EQ("Cannot save file \"" + name + "\". Input/output error", e.Message());
  }
  TSafeFileStream::SetRenameForTesting(nullptr);
  EXPECT_EQ("old", LoadBytesFromFile(name));
  EXPECT_EQ(1, std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
}

// Given the stamp the caller saw the target with, the save replaces the
// target only while it still has that stamp: a file another program wrote,
// replaced, deleted or created meanwhile stays as that program left it.
TEST(SafeFileStreamTest, ACommitLeavesATargetChangedSinceItsExpectedStamp) {
  const struct {
    const char* Name;
    bool Exists;                         // the target when its stamp was taken
    void (*Change)(const std::string&);  // what another program does then; nullptr: nothing
    const char* Left;                    // the target afterwards; nullptr: none
  } cases[] = {
      {"unchanged", true, nullptr, "new"},
      {"written in place", true, [](const std::string& f) { std::ofstream(f) << "other"; }, "other"},
      {"replaced by a rename", true, [](const std::string& f) { SaveBytesToFile(f, "other"); }, "other"},
      {"deleted", true, [](const std::string& f) { std::remove(f.c_str()); }, nullptr},
      {"missing, still missing", false, nullptr, "new"},
      {"missing, created", false, [](const std::string& f) { SaveBytesToFile(f, "other"); }, "other"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder folder;
    const std::string name = folder.File("a.c");
    if (c.Exists) SaveBytesToFile(name, "old");
    TSafeFileStream stream(name);
    stream.SetExpectedTarget(FileStampOf(name));
    stream.WriteBuffer("new", 3);
    if (c.Change) c.Change(name);
    if (std::string(c.Left ? c.Left : "") == "new") {
      stream.Commit();
    } else {
      EXPECT_THROW(stream.Commit(), ETargetChangedError);
    }
    EXPECT_EQ(fs::exists(name), c.Left != nullptr);
    if (c.Left) {
      EXPECT_EQ(LoadBytesFromFile(name), c.Left);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), c.Left ? 1 : 0);
  }
}

// A file that takes no more bytes (the full device) or no new size: the
// error names the file and the system's reason.
TEST(FileStreamTest, AFailedWriteNamesTheFileAndTheReason) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const struct {
    const char* Name;
    void (*Write)(TStream&);
    const char* Reason;
  } cases[] = {
      {"bytes", [](TStream& s) { s.WriteBuffer("text", 4); }, "No space left on device"},
      {"a size", [](TStream& s) { s.SetSize(10); }, "Invalid argument"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TFileStream full("/dev/full", fmOpenWrite);
    try {
      c.Write(full);
      ADD_FAILURE() << "written";
    } catch (const EWriteError& e) {
      EXPECT_EQ(std::string("Cannot write file \"/dev/full\". ") + c.Reason, e.Message());
    }
  }
}

TEST(SafeFileStreamTest, AReadOnlyFileIsNotReplaced) {
  test::TTempFolder folder;
  std::string name = folder.File("a.c");
  SaveBytesToFile(name, "old");
  chmod(name.c_str(), 0444);
  try {
    SaveBytesToFile(name, "new");
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ("Cannot create file \"" + name + "\". Permission denied", e.Message());
  }
  EXPECT_EQ("old", LoadBytesFromFile(name));
}

TEST(SafeFileStreamTest, AFolderThatRefusesNewFilesFailsTheSave) {
  test::TTempFolder folder;
  EXPECT_THROW(SaveBytesToFile(folder.File("missing/a.c"), "new"), EFCreateError);
  if (RunningAsRoot()) GTEST_SKIP() << "folder permissions do not bind root";
  std::string name = folder.File("a.c");
  SaveBytesToFile(name, "old");
  chmod(folder.Path().c_str(), 0555);
  EXPECT_THROW(SaveBytesToFile(name, "new"), EFCreateError);
  chmod(folder.Path().c_str(), 0755);
  EXPECT_EQ("old", LoadBytesFromFile(name));
}

TEST(SafeFileStreamTest, SavingThroughALinkKeepsTheLink) {
  test::TTempFolder folder;
  std::string target = folder.File("real.c");
  std::string link = folder.File("link.c");
  SaveBytesToFile(target, "old");
  ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
  SaveBytesToFile(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ("new", LoadBytesFromFile(target));
}

TEST(FileStreamTest, OpenErrorsNameTheFile) {
  test::TTempFolder folder;
  std::string missing = folder.File("missing.c");
  try {
    TFileStream stream(missing, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ("Cannot open file \"" + missing + "\". No such file or directory", e.Message());
  }
  EXPECT_THROW(TFileStream(folder.Path(), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(folder.File("no/such/dir.c"), fmCreate), EFCreateError);
}

TEST(FileStreamTest, ATrailingDotIsDroppedFromTheName) {
  test::TTempFolder folder;
  {
    TFileStream stream(folder.File("makefile."), fmCreate);
    stream.WriteBuffer("all:", 4);
  }
  EXPECT_TRUE(fs::exists(folder.File("makefile")));
  EXPECT_EQ("all:", LoadBytesFromFile(folder.File("makefile.")));
  EXPECT_EQ("..", NativeFileName(".."));
  EXPECT_EQ("a/.", NativeFileName("a/."));
}

TEST(MemoryStreamTest, ReadsWritesSeeksAndReportsShortReads) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  EXPECT_EQ(6, stream.Size());
  stream.SetPosition(2);
  char buffer[8] = {};
  stream.ReadBuffer(buffer, 3);
  EXPECT_STREQ("cde", buffer);
  EXPECT_THROW(stream.ReadBuffer(buffer, 5), EReadError);
  stream.SetPosition(4);
  stream.WriteBuffer("XYZ", 3);
  EXPECT_EQ("abcdXYZ", stream.DataString());
  stream.SetSize(2);
  EXPECT_EQ(2, stream.Position());
  EXPECT_EQ("ab", stream.DataString());
  // Bytes the stream grows by without a write read as zeros.
  stream.SetSize(4);
  stream.SetPosition(6);
  stream.WriteBuffer("Q", 1);
  EXPECT_EQ(std::string("ab\0\0\0\0Q", 7), stream.DataString());
}

}  // namespace
}  // namespace vk
