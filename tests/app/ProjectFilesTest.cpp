#include "app/ProjectFiles.h"

#include <gtest/gtest.h>

#include "tests/app/AppTestSupport.h"

namespace vk {
namespace {

TEST(ProjectFilesTest, JoinedPathsNeverPointAtTheRoot) {
  const struct {
    const char* Folder;
    const char* Path;
  } cases[] = {{"/p", "/p/main.c"}, {"/p/", "/p/main.c"}, {"", "main.c"}, {"/", "/main.c"}};
  for (const auto& c : cases) EXPECT_EQ(JoinPath(c.Folder, "main.c"), c.Path) << c.Folder;
}

TEST(ProjectFilesTest, ExtraSourceLineIsTheSecondLineOfAddFile) {
  const struct {
    const char* Text;  // nullptr: no AddFile.ini
    std::optional<std::string> Line;
  } cases[] = {{"[marker]\r\na.c b.c\r\ntwice.S\r\n", "a.c b.c"}, {"[marker]\r\n", ""}, {nullptr, std::nullopt}};
  for (const auto& c : cases) {
    test::TTempFolder project;
    if (c.Text) test::WriteTextFile(project.File("AddFile.ini"), c.Text);
    EXPECT_EQ(ReadExtraSourceLine(project.Path() + "/"), c.Line) << (c.Text ? c.Text : "none");
  }
  EXPECT_EQ(ReadExtraSourceLine(""), std::nullopt);  // no project
}

}  // namespace
}  // namespace vk
