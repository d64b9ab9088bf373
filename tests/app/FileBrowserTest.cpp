#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "app/FileBrowser.h"
#include "app/ProjectTree.h"
#include "platform/DateTimes.h"
#include "platform/ListViews.h"
#include "platform/TreeViews.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

using TTexts = std::vector<std::string>;

// Fixed separators and date pattern, the user's put back afterwards.
class TFormatScope {
public:
  TFormatScope() : FSaved(FormatSettings()) {
    TFormatSettings settings;
    settings.ThousandSeparator = ",";
    settings.ShortDateFormat = "yyyy-mm-dd";
    SetFormatSettings(settings);
  }
  ~TFormatScope() { SetFormatSettings(FSaved); }

private:
  TFormatSettings FSaved;
};

TTexts Children(const TTreeNode& node) {
  TTexts texts;
  for (int i = 0; i < node.Count(); ++i) texts.push_back(node.Item(i)->Text());
  return texts;
}

TTexts Row(const TListItem& item) {
  TTexts texts{item.Caption()};
  for (int i = 0; i < item.SubItems()->Count(); ++i) texts.push_back(item.SubItems()->Get(i));
  return texts;
}

TEST(FileBrowserTest, SizesInWholeKilobytes) {
  TFormatScope format;
  const struct {
    int64_t Size;
    const char* Text;
  } cases[] = {{0, "0 KB"}, {1000, "0 KB"}, {1023, "0 KB"}, {1024, "1 KB"}, {1536, "1 KB"},
               {2048, "2 KB"}, {1234567, "1,205 KB"}, {int64_t{5} << 40, "5,368,709,120 KB"}};
  for (const auto& c : cases) EXPECT_EQ(FileSizeText(c.Size), c.Text) << c.Size;
}

TEST(FileBrowserTest, DrivesAndListedFiles) {
  EXPECT_EQ(DriveFolder("C:"), "/");
  EXPECT_EQ(DriveFolder("c:"), "/");
  EXPECT_EQ(DriveFolder("D:"), "");
  EXPECT_EQ(DriveFolder("/home/me"), "/home/me/");
  for (const char* name : {"main.c", "a.h", "start.s", "boot.asm"}) EXPECT_TRUE(OpensAsSource(name)) << name;
  for (const char* name : {"MAIN.C", "a.hex", "b.rom", "makefile", "x.c.bak"}) EXPECT_FALSE(OpensAsSource(name)) << name;
}

TEST(FileBrowserTest, TreeAndListOverAFolder) {
  TFormatScope format;
  test::TTempFolder folder;
  for (const char* dir : {"src", "Lib", ".git", "src/drivers"}) mkdir(folder.File(dir).c_str(), 0755);
  test::WriteTextFile(folder.File("main.c"), std::string(2048, 'x'));
  test::WriteTextFile(folder.File("uart.h"), std::string(1000, 'x'));
  test::WriteTextFile(folder.File("Boot.C"), "x");
  test::WriteTextFile(folder.File(".hidden.c"), "x");
  const time_t stamp = 1700000000;  // 14 November 2023, 22:13:20 UTC
  for (const char* file : {"main.c", "uart.h", "Boot.C", ".hidden.c"}) {
    utimbuf times{stamp, stamp};
    utime(folder.File(file).c_str(), &times);
  }
  const std::string date = DateTimeToStr(FileDateToDateTime(UnixTimeToFileDate(stamp)));

  TTreeView tree(nullptr);
  TTreeNode* root = tree.Items()->AddChild(nullptr, "C:");
  FillDirTree(tree, folder.Path() + "/", "*.*", 0);
  EXPECT_EQ(Children(*root), (TTexts{"Lib", "src"}));
  TTreeNode* src = root->Item(1);
  EXPECT_EQ(NodeFolderPath(*src), "src/");
  FillDirTree(tree, folder.Path() + "/" + NodeFolderPath(*src), "*.*", src->AbsoluteIndex());
  EXPECT_EQ(Children(*src), TTexts{"drivers"});
  EXPECT_EQ(NodeFolderPath(*src->Item(0)), "src/drivers/");
  FillDirTree(tree, "", "*.*", 0);  // a drive without a folder
  EXPECT_EQ(tree.Items()->Count(), 4);

  TListView list(nullptr);
  list.SetSortType(stText);
  const struct {
    const char* Mask;
    std::vector<TTexts> Rows;
  } cases[] = {
      {"*.c", {{".hidden.c", "0 KB", date}, {"Boot.C", "0 KB", date}, {"main.c", "2 KB", date}}},
      {"*.h", {{"uart.h", "0 KB", date}}},
      {"*.rom", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mask);
    FillFileList(list, folder.Path() + "/", c.Mask);
    std::vector<TTexts> rows;
    for (int i = 0; i < list.Items()->Count(); ++i) rows.push_back(Row(*list.Items()->Item(i)));
    EXPECT_EQ(rows, c.Rows);
  }
  FillFileList(list, folder.Path() + "/", "*.*");
  EXPECT_EQ(list.Items()->Count(), 4);  // folders are not listed
  FillFileList(list, "", "*.*");
  EXPECT_EQ(list.Items()->Count(), 0);
}

TEST(ProjectTreeTest, FunctionNamesOfLines) {
  const struct {
    const char* Line;
    const char* Name;
  } cases[] = {
      {"void init_port(void)", "init_port"},
      {"static void delay (int ms) {", "delay"},
      {"void domain(void)", "main"},
      {"int main(void)", "main"},
      {"void init_port(void);", ""},
      {"void *buffer;", ""},
      {"int add(int a, int b)", ""},
      {"void\tfoo(void)", "\tfoo"},
      {"void", ""},
      {"// void tick(void) is called by the timer", "tick"},
  };
  for (const auto& c : cases) EXPECT_EQ(FunctionNameOfLine(c.Line), c.Name) << c.Line;
}

TEST(ProjectTreeTest, FunctionsAreAddedOncePerTree) {
  TTreeView tree(nullptr);
  TTreeNode* main = tree.Items()->AddChild(nullptr, "main.c");
  TTreeNode* lcd = tree.Items()->AddChild(nullptr, "lcd.c");
  tree.Items()->AddChild(lcd, "lcd_init");
  TStringList lines = test::ListOf({"void lcd_init(void);", "void lcd_init(void)", "void tick(void)",
                                    "int main(void)", "void tick(void)"});
  AddFunctionNodes(tree, *main, lines);
  AddFunctionNodes(tree, *main, lines);
  EXPECT_EQ(Children(*main), (TTexts{"tick", "main"}));
  for (auto [text, image] : {std::pair{"main.c", 1}, {"X.C", 1}, {"io.h", 2}, {"A.H", 2}, {"boot.s", 3},
                             {"tick", 3}, {"c", 3}})
    EXPECT_EQ(ProjectNodeImage(text), image) << text;
}

}  // namespace
}  // namespace vk
