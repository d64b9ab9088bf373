#include "platform/UserFolders.h"

#include <sys/stat.h>

#include <optional>

#include <gtest/gtest.h>

#include "platform/FilePaths.h"
#include "platform/Streams.h"
#include "tests/platform/TempFolder.h"

namespace vk {
namespace {

// Sets an environment variable for one scope.
class TEnvironmentScope {
public:
  TEnvironmentScope(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~TEnvironmentScope() { FOld ? setenv(FName, FOld->c_str(), 1) : unsetenv(FName); }

private:
  const char* FName;
  std::optional<std::string> FOld;
};

TEST(UserFoldersTest, WhatARunWritesGoesToTheUserWhenItsFolderIsReadOnly) {
  const struct {
    const char* Name;
    bool ReadOnly;
    bool Missing;
    const char* Shipped;   // the folder's copy, nullptr: none
    const char* Kept;      // the user's copy from before, nullptr: none
    bool StateUsable;      // the state folder can be made
    bool InState;          // the answer is the user's copy
    const char* Text;      // what the answer holds afterwards, nullptr: nothing
  } cases[] = {
      {"writable folder", false, false, "shipped", nullptr, true, false, "shipped"},
      {"missing folder: its write fails", false, true, nullptr, nullptr, true, false, nullptr},
      {"read-only: starts from the shipped copy", true, false, "shipped", nullptr, true, true, "shipped"},
      {"read-only: the user's copy stays", true, false, "shipped", "kept", true, true, "kept"},
      {"read-only, nothing shipped", true, false, nullptr, nullptr, true, true, nullptr},
      {"read-only, no state folder", true, false, "shipped", nullptr, false, true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder temp;
    const std::string folder = temp.File("설치"), home = temp.File("state");
    if (!c.Missing) ForceFolders(folder);
    if (c.Shipped) SaveBytesToFile(folder + "/FindF.ini", c.Shipped);
    if (c.Kept) {
      ForceFolders(home + "/vornkit");
      SaveBytesToFile(home + "/vornkit/FindF.ini", c.Kept);
    }
    if (!c.StateUsable) SaveBytesToFile(home, "a file where the folder would be");
    if (c.ReadOnly) chmod(FileNameToDisk(folder).c_str(), 0555);
    TEnvironmentScope state("XDG_STATE_HOME", home.c_str());
    const std::string path = RunTimeFilePath(folder, "FindF.ini");
    EXPECT_EQ(path, c.InState ? home + "/vornkit/FindF.ini" : folder + "/FindF.ini");
    EXPECT_EQ(FileExists(path), c.Text != nullptr);
    if (c.Text) {
      EXPECT_EQ(LoadBytesFromFile(path), c.Text);
    }
  }
  // Without $XDG_STATE_HOME the folder is below the home folder.
  TEnvironmentScope noState("XDG_STATE_HOME", nullptr), home("HOME", "/home/\xED\x95\x9C");
  EXPECT_EQ(UserStateFolder(), "/home/한/.local/state/vornkit");
}

}  // namespace
}  // namespace vk
