#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "services/BuildRunner.h"
#include "services/EnvironmentMakefileText.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

TEST(BuildRunnerTest, BaseNameDropsTheRealExtension) {
  const struct {
    const char* Main;
    const char* Base;
  } cases[] = {{"main.c", "main"}, {"x.asm", "x"}, {"a.b.c", "a.b"}, {"prog", "prog"}, {".c", ""}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(BuildBaseName(c.Main), c.Base) << c.Main;
}

TEST(BuildRunnerTest, ExtraSourcesNeverReachOutsideTheProject) {
  const struct {
    const char* Line;
    std::vector<std::string> Objects;
  } cases[] = {
      {"uart.c lcd.c", {"uart.o", "lcd.o"}},
      {"x.c y.S", {"x.o", "y.o"}},
      {"a.b.c", {"a.o", "b.o"}},
      {"noext  .c", {}},
      {"../evil.c sub/x.c /etc/passwd.c ok.c", {"ok.o"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtraSourceObjects(c.Line), c.Objects) << c.Line;
}

// The extra C sources' objects, the main file's products, then the object
// and listing of every other source the makefile builds, also in its object
// folder when that lies inside the project.
TEST(BuildRunnerTest, CleanListsEveryObjectAndListingOfTheBuild) {
  const std::string OwnFirstLine = std::string(MakefileRows().front().Comments.front()) + "\r\n";
  const struct {
    const char* Name;
    const char* AddFile;   // nullptr: none
    const char* Makefile;  // nullptr: none
    std::vector<std::string> First, Then;  // before and after the main file's products
  } cases[] = {
      {"no lists", nullptr, nullptr, {}, {}},
      {"C and assembler sources", "marker\r\nuart.c ../up.c\r\nstart.s twice.S\r\n", nullptr, {"uart.o"},
       {"uart.lst", "start.o", "start.lst", "twice.o", "twice.lst"}},
      {"C++ sources and an object folder", "marker\r\nuart.c\r\n", "OBJDIR = obj\r\nCPPSRC=c2.cpp sub/x.cpp\r\n",
       {"uart.o"},
       {"uart.lst", "c2.o", "c2.lst", "obj/main.o", "obj/main.lst", "obj/uart.o", "obj/uart.lst", "obj/c2.o",
        "obj/c2.lst"}},
      {"an object folder outside the project", nullptr, "OBJDIR=../obj\r\n", {}, {}},
      {"an object folder at the root", nullptr, "OBJDIR=/tmp\r\n", {}, {}},
      {"an object folder make names", nullptr, "OBJDIR=$(HOME)\r\n", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder project;
    if (c.AddFile) test::WriteTextFile(project.File("AddFile.ini"), c.AddFile);
    // The clean runs beside the settings dialog's makefile alone.
    if (c.Makefile) test::WriteTextFile(project.File("makefile"), OwnFirstLine + c.Makefile);
    std::vector<std::string> files;
    for (const std::string& file : c.First) files.push_back(project.File(file));
    for (const char* extension : {".o", ".lss", ".elf", ".hex", ".map", ".lst", ".cof", ".eep"})
      files.push_back(project.File(std::string("main") + extension));
    for (const std::string& file : c.Then) files.push_back(project.File(file));
    EXPECT_EQ(CleanFileList(project.Path() + "/", "main"), files);
  }
}

TEST(BuildRunnerTest, MakefileCheckAcceptsWhatMakeReads) {
  const struct {
    const char* Name;  // nullptr: none
    bool Folder;       // a folder of that name: cannot be read
    bool Readable;
  } cases[] = {
      {"makefile", false, true}, {"Makefile", false, true}, {nullptr, false, false}, {"makefile", true, false}};
  for (const auto& c : cases) {
    test::TTempFolder project;
    if (c.Name && c.Folder) mkdir(project.File(c.Name).c_str(), 0700);
    if (c.Name && !c.Folder) test::WriteTextFile(project.File(c.Name), "");
    EXPECT_EQ(MakefileReadable(project.Path()), c.Readable) << (c.Name ? c.Name : "none") << c.Folder;
  }
  EXPECT_FALSE(MakefileReadable(""));
}

TEST(BuildRunnerTest, ProgramsAreWhatTheScriptsShellFinds) {
  test::TTempFolder temp;
  std::string install = temp.File("inst"), project = temp.File("my project");
  for (const std::string& folder : {install, install + "/WinAVR", install + "/WinAVR/bin", project})
    mkdir(folder.c_str(), 0700);
  auto addFile = [](const std::string& path, mode_t mode) {
    test::WriteTextFile(path, "#!/bin/sh\n");
    chmod(path.c_str(), mode);
  };
  addFile(install + "/WinAVR/bin/avr-tool", 0700);
  addFile(install + "/WinAVR/bin/readme", 0600);
  addFile(project + "/run.sh", 0700);
  mkdir((install + "/WinAVR/bin/subdir").c_str(), 0700);
  TBuildPrograms programs(install, project + "/");
  const struct {
    std::string Word;
    bool Program;
  } cases[] = {
      {"avr-tool", true}, {"readme", false}, {"subdir", false}, {"sh", true},  // from the inherited PATH
      {"./run.sh", true}, {project + "/run.sh", true}, {"run.sh", false},      {"main.c:3:", false},
  };
  for (const auto& c : cases) EXPECT_EQ(programs(c.Word), c.Program) << c.Word;
  EXPECT_TRUE(programs("avr-tool"));  // asked again
}

TEST(BuildRunnerTest, RelativePathFoldersStartAtTheProject) {
  test::TTempFolder temp;
  const std::string project = temp.File("project");
  for (const std::string& folder : {project, project + "/tools"}) mkdir(folder.c_str(), 0700);
  for (const std::string& file : {project + "/tools/gen", project + "/here"}) {
    test::WriteTextFile(file, "#!/bin/sh\n");
    chmod(file.c_str(), 0700);
  }
  const std::string inherited = std::getenv("PATH");
  setenv("PATH", "tools::/nonexistent", 1);
  const struct {
    std::string Word;
    bool Program;
  } cases[] = {{"gen", true}, {"here", true}, {"tools", false}, {"sh", false}, {"gen2", false}};
  TBuildPrograms programs(temp.File("install"), project + "/");
  for (const auto& c : cases) EXPECT_EQ(programs(c.Word), c.Program) << c.Word;
  setenv("PATH", inherited.c_str(), 1);
}

TEST(BuildRunnerTest, ScriptQuotesEveryPath) {
  EXPECT_EQ(BuildScriptText("/opt/it's", "/p/a b; rm -rf x/"),
            "#!/bin/sh\n"
            "cd / || exit 1\n"
            "PATH='/opt/it'\\''s/WinAVR':'/opt/it'\\''s/WinAvr/avr/bin':'/opt/it'\\''s/WinAVR/bin':"
            "'/opt/it'\\''s/WinAVR/utils/bin':'/opt/it'\\''s/WinAvr/libexec/gcc/avr/4.3.0':"
            "'/opt/it'\\''s/WinAvr/avr/lib':\"$PATH\"; export PATH\n"
            "cd '/p/a b; rm -rf x/' || exit 1\n"
            "make\n");
}

// The written script run by the shell builds in folders whose names hold
// blanks, quotes and shell syntax, and runs nothing else.
TEST(BuildRunnerTest, ScriptRunsMakeInTheProjectFolderAndNothingElse) {
  if (system("command -v make >/dev/null 2>&1") != 0) GTEST_SKIP() << "make is not installed";
  test::TTempFolder temp;
  std::string install = temp.File("inst dir");
  mkdir(install.c_str(), 0700);
  for (const char* name : {"a b; echo INJECTED", "it's $(echo INJECTED) `echo INJECTED`"}) {
    SCOPED_TRACE(name);
    std::string project = temp.File(name);
    mkdir(project.c_str(), 0700);
    test::WriteTextFile(project + "/makefile", "all:\n\t@pwd\n\t@echo \"$$PATH\"\n");
    WriteBuildScript(install, project + "/");
    test::TCommandResult result = test::RunCommand(temp.Path(), "/bin/sh " + ShellQuote(install + "/AVRRUN.BAT"));
    EXPECT_EQ(result.Status, 0);
    ASSERT_EQ(result.Lines.size(), 2u) << ::testing::PrintToString(result.Lines);
    EXPECT_EQ(result.Lines[0], project);
    EXPECT_EQ(result.Lines[1].rfind(install + "/WinAVR:" + install + "/WinAvr/avr/bin:", 0), 0u);
    EXPECT_NE(result.Lines[1].find(":/usr/bin"), std::string::npos);
  }
}

TEST(BuildRunnerTest, ScriptStopsWhenTheProjectFolderIsGone) {
  test::TTempFolder temp;
  WriteBuildScript(temp.Path(), temp.File("gone"));
  test::TCommandResult result = test::RunCommand(temp.Path(), "/bin/sh AVRRUN.BAT");
  EXPECT_NE(result.Status, 0);
  EXPECT_TRUE(std::none_of(result.Lines.begin(), result.Lines.end(),
                           [](const std::string& line) { return line.find("make") == 0; }));
}

}  // namespace
}  // namespace vk
