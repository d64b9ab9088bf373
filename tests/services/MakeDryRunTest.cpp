#include "services/MakeDryRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

TEST(MakeDryRunTest, MakeTellsWhatItWouldRunOrThatItCannot) {
  if (system("command -v make >/dev/null 2>&1") != 0) GTEST_SKIP() << "make is not installed";
  const struct {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Files;
    bool Known;
    std::vector<std::string> Compiles;  // the sources, relative to the project
    const char* Failure = "";
    size_t Steps = 0;  // commands of other programs
    const char* Text = nullptr;  // the program's own makefile text, asked of through a temporary file
  } cases[] = {
      {"up to date: every command all the same",
       {{"main.c", ""}, {"main.o", ""}, {"Makefile", "main.o: main.c\n\t@avr-gcc -c main.c\n"}}, true, {"main.c"}},
      {"a rule that refuses to remake a source: the sources named instead",
       {{"main.c", ""},
        {"Makefile", "SRC = main.c\nmain.o: $(SRC)\n\tavr-gcc -c $(SRC)\n$(SRC): ; $(error cannot make $@)\n"}},
       true,
       {"main.c"}},
      {"a sub-make", {{"lib/foo.c", ""}, {"lib/makefile", "foo.o:\n\tavr-gcc -c foo.c\n"}, {"makefile", "all:\n\t$(MAKE) -C lib\n"}},
       true, {"lib/foo.c"}, "", 1},
      {"make's own messages are no steps",
       {{"main.c", ""},
        {"Makefile", "$(info Building for atmega8)\nmain.o: main.c\n\t$(info Compiling)\n\tavr-gcc -c main.c\n"}},
       true, {"main.c"}},
      {"a process make leaves running holds the output",
       {{"main.c", ""}, {"Makefile", "X := $(shell setsid sleep 25 >&2 &)\nmain.o: main.c\n\tavr-gcc -c main.c\n"}},
       true, {"main.c"}},
      {"a make that does not end", {{"Makefile", "X := $(shell sleep 30)\nall: ; @:\n"}}, false, {},
       "make did not end within 20 seconds"},
      {"make fails", {{"Makefile", "all: missing.o\n"}}, false, {},
       "make: *** No rule to make target 'missing.o', needed by 'all'.  Stop."},
      {"no makefile", {}, false, {}, "make: *** No targets specified and no makefile found.  Stop."},
      // Asking changes no file, though make remakes a makefile it can.
      {"an included settings file with a rule to make it",
       {{"config.mk", "MCU = atmega328p\n"},
        {"config.mk.example", "MCU = atmega8\n"},
        {"Makefile", "all:\n\tavr-gcc -mmcu=$(MCU) -c main.c\ninclude config.mk\nconfig.mk: ; cp config.mk.example $@\n"}},
       true, {"main.c"}},
      {"a makefile made from its .in file",
       {{"Makefile.in", "all:\n"}, {"Makefile", "all:\n\tavr-gcc -c main.c\nMakefile: Makefile.in ; cp $< $@\n"}}, true,
       {"main.c"}},
      {"included makefiles every target remakes: no noise",
       {{"Makefile.a", "A = 1\n"}, {"Makefile", "all:\n\tavr-gcc -c main.c\ninclude Makefile.*\n%: ; @echo No target named $@\n"}},
       true, {"main.c"}},
      {"an included makefile missing: not made",
       {{"Makefile", "all:\n\tavr-gcc -c main.c\ninclude gen.mk\ngen.mk: ; echo A=1 > $@\n"}}, false, {},
       "make would make gen.mk first"},
      {"the program's own text makes a folder while read", {}, true, {"main.c"}, "", 0,
       "-include $(shell mkdir .dep 2>/dev/null) $(wildcard .dep/*)\nall:\n\tavr-gcc -c main.c\n"},
  };
  // Every file of the project, by name, with its bytes.
  const auto files = [](const std::string& folder) {
    std::map<std::string, std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      found[entry.path().string()] = entry.is_directory() ? "/" : test::ReadTextFile(entry.path().string());
    return found;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TTempFolder project;
    for (const auto& [name, text] : c.Files) {
      ForceFolders(ExtractFilePath(project.File(name)));
      test::WriteTextFile(project.File(name), text);
    }
    const auto before = files(project.Path());
    const TMakeDryRun dryRun = c.Text ? DryRunMakefileText(project.Path(), "", c.Text) : RunMakeDryRun(project.Path(), "");
    EXPECT_EQ(files(project.Path()), before);
    for (const std::string& line : dryRun.Lines) EXPECT_EQ(line.find("No target named"), std::string::npos) << line;
    EXPECT_EQ(dryRun.Known, c.Known) << ::testing::PrintToString(dryRun.Lines);
    EXPECT_EQ(dryRun.Failure, c.Failure);
    std::vector<std::string> compiles;
    for (const TCompileCommand& compile : dryRun.Commands.Compiles)
      compiles.push_back(PathFrom(compile.Folder, compile.Source).substr(project.Path().size() + 1));
    EXPECT_EQ(compiles, c.Compiles);
    EXPECT_EQ(dryRun.Commands.Others.size(), c.Steps);
  }
}

}  // namespace
}  // namespace vk
