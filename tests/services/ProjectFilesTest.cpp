#include "services/ProjectFiles.h"

#include <gtest/gtest.h>

#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "tests/services/ServicesTestSupport.h"

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

TEST(ProjectFilesTest, ExtraSourceStemsStayInsideTheProject) {
  const struct {
    const char* Line;
    std::vector<std::string> Stems;
  } cases[] = {
      {"uart.c lcd.c", {"uart", "lcd"}},
      {"a.b.c", {"a", "b"}},
      {"uart.S nodot  spi.c", {"uart", "spi"}},
      {"../up.c sub/x.c .c ok.c", {"ok"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtraSourceStems(c.Line), c.Stems) << c.Line;
}

TEST(ProjectFilesTest, QuotedIncludesOutsideCommentsAreListed) {
  const struct {
    std::vector<std::string> Text;
    std::vector<std::string> Names;
  } cases[] = {
      {{"#include \"lcd.h\"", "#include <avr/io.h>", "int x; # not a directive"}, {"lcd.h"}},
      {{"#include \"a.h\" // #include \"b.h\""}, {"a.h"}},
      {{"/* start", "#include \"hidden.h\"", "end */ #include \"seen.h\""}, {"seen.h"}},
      {{"// #include \"off.h\"", "#  include \"sp ace/x.h\""}, {"sp ace/x.h"}},
      {{"#include \"a.h\" \"b.h\""}, {"a.h", " ", "b.h"}},
      {{"#include \"open//x.h\""}, {}},
      {{"#define INC \"x.h\""}, {}},
      // "/*/" opens and closes; "*/*" closes and opens again.
      {{"/*/ #include \"a.h\"", "x */* #include \"b.h\"", "*/ /", "#include \"c.h\" /* x"}, {"a.h", "c.h"}},
      {{"#define X 1 /* open", "#include \"hidden.h\"", "*/ int y; // #"}, {}},
      {{"a / b # include \"d.h\"", "/**/#include \"e.h\"", "/* # */ include \"f.h\""}, {"d.h", "e.h"}},
  };
  for (const auto& c : cases) {
    TStringList text = test::ListOf(c.Text);
    EXPECT_EQ(QuotedIncludes(text), c.Names) << c.Text[0];
    TSrcEditStringList store;
    for (const std::string& line : c.Text) store.Add(line);
    EXPECT_EQ(QuotedIncludes(store), c.Names) << c.Text[0];
  }
}

}  // namespace
}  // namespace vk
