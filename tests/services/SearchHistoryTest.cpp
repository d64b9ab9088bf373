#include <gtest/gtest.h>
#include <sys/stat.h>

#include "services/SearchHistory.h"
#include "platform/Registry.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

using TEntries = std::vector<std::string>;

TEntries Numbered(int count) {
  TEntries entries;
  for (int i = 0; i < count; ++i) entries.push_back("text" + std::to_string(i));
  return entries;
}

std::string FileText(const TEntries& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + "\r\n";
  return text;
}

class SearchHistoryTest : public ::testing::Test {
protected:
  test::TRegistryScope Registry;
  test::TTempFolder Install;
  std::string File() const { return Install.File("FindF.ini"); }
};

TEST_F(SearchHistoryTest, AddKeepsTheNewestDistinctStorableTexts) {
  const std::string korean15 =
      "\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB"
      "\xC7\xD1\xB1\xDB\xC7\xD1\xB1\xDB\xC7\xD1";  // 30 bytes
  const struct {
    const char* Name;
    TEntries Before;
    std::string Text;
    THistorySave Mode;
    TEntries After;
    THistoryAdd Result;
  } cases[] = {
      {"new text first", {"a", "b"}, "c", hsWhenAdded, {"c", "a", "b"}, haSaved},
      {"used again moves up", {"a", "b", "c"}, "b", hsWhenAdded, {"b", "a", "c"}, haSaved},
      {"case makes another text", {"abc"}, "ABC", hsWhenAdded, {"ABC", "abc"}, haSaved},
      {"29 bytes", {}, std::string(29, 'x'), hsWhenAdded, {std::string(29, 'x')}, haSaved},
      {"30 bytes", {"a"}, std::string(30, 'x'), hsWhenAdded, {"a"}, haUnchanged},
      {"30 bytes of double-byte text", {"a"}, korean15, hsWhenAdded, {"a"}, haUnchanged},
      {"empty, written anyway", {"a"}, "", hsAlways, {"a"}, haSaved},
      {"a text over lines keeps its first", {"a", "ab"}, "ab\r\ncd", hsWhenAdded, {"ab", "a"}, haSaved},
      {"a lone CR or LF breaks it too", {}, "ab\rcd\nef", hsWhenAdded, {"ab"}, haSaved},
      {"an empty first line is not stored", {"a"}, "\r\nab", hsWhenAdded, {"a"}, haUnchanged},
      {"the oldest leaves", Numbered(40), "new", hsWhenAdded,
       [] {
         TEntries e = Numbered(39);
         e.insert(e.begin(), "new");
         return e;
       }(),
       haSaved},
      {"a long hand-made file is cut to 40", Numbered(45), "", hsAlways, Numbered(40), haSaved},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::WriteTextFile(File(), FileText(c.Before));
    TSearchHistory history("FindF.ini");
    ASSERT_EQ(history.Load(Install.Path()), hlLoaded);
    EXPECT_EQ(history.Entries(), c.Before);
    EXPECT_EQ(history.Add(c.Text, c.Mode), c.Result);
    EXPECT_EQ(history.Entries(), c.After);
    EXPECT_EQ(test::ReadTextFile(File()), FileText(c.Result == haSaved ? c.After : c.Before));
  }
}

TEST_F(SearchHistoryTest, AMissingFileIsCreatedAnUnreadableOneIsNeverOverwritten) {
  TSearchHistory history("FindF.ini");
  EXPECT_EQ(history.Load(Install.Path()), hlMissing);
  EXPECT_EQ(history.Add("first", hsWhenAdded), haSaved);
  EXPECT_EQ(test::ReadTextFile(File()), "first\r\n");

  // The file can no longer be read (a folder stands in its place).
  ASSERT_EQ(std::remove(File().c_str()), 0);
  mkdir(File().c_str(), 0700);
  EXPECT_EQ(history.Load(Install.Path()), hlUnreadable);
  EXPECT_EQ(history.Entries(), TEntries{"first"});
  EXPECT_EQ(history.Add("second", hsAlways), haKeptUnread);
  EXPECT_EQ(history.Entries(), (TEntries{"second", "first"}));
}

TEST_F(SearchHistoryTest, AFailedSaveIsReported) {
  TSearchHistory history("FindF.ini");
  history.Load(Install.File("no such folder"));
  EXPECT_EQ(history.Add("x", hsWhenAdded), haSaveFailed);
}

TEST_F(SearchHistoryTest, TheFileLivesInTheEditorFolder) {
  test::TTempFolder editor;
  TSearchHistory history("ReplaceR.ini");
  history.Load(Install.Path());
  EXPECT_EQ(history.FilePath(), Install.File("ReplaceR.ini"));  // no "Editor Path"

  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("SOFTWARE\\ZE_VAD\\Editor", true));
  registry.WriteString("Editor Path", editor.Path());
  history.Load(Install.Path());
  EXPECT_EQ(history.FilePath(), editor.File("ReplaceR.ini"));
  registry.WriteInteger("Editor Path", 1);  // another kind: the last folder stays
  history.Load(Install.Path());
  EXPECT_EQ(history.FilePath(), editor.File("ReplaceR.ini"));
  registry.WriteString("Editor Path", "");  // empty: the install folder, never "/"
  history.Load(Install.Path());
  EXPECT_EQ(history.FilePath(), Install.File("ReplaceR.ini"));
}

}  // namespace
}  // namespace vk
