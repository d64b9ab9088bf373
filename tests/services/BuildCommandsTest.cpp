#include "services/BuildCommands.h"

#include <gtest/gtest.h>

#include <cctype>

#include "platform/Processes.h"
#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

// A compile as "folder|source path|language|options|object", a link as
// "folder|output|map|input paths|options", options and inputs joined by blanks.
std::string Shown(const TCompileCommand& c) {
  std::string options;
  for (const std::string& option : c.Options) options += (options.empty() ? "" : " ") + option;
  return c.Folder + "|" + c.SourcePath + "|" + std::to_string(c.Language) + "|" + options + "|" + c.Object;
}

std::string Shown(const TLinkCommand& l) {
  std::string inputs, options;
  for (const std::string& input : l.InputPaths) inputs += (inputs.empty() ? "" : " ") + input;
  for (const std::string& option : l.Options) options += (options.empty() ? "" : " ") + option;
  return l.Folder + "|" + l.Output + "|" + l.Map + "|" + inputs + "|" + options;
}

TEST(BuildCommandsTest, TheDriversCommandsAsTheShellPassesThem) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* Name;
    Lines Printed;
    Lines Compiles, Links;
    size_t Others = 0;
    Lines Writes = {};  // by the other commands' redirections
  } cases[] = {
      {"a compile", {"avr-gcc -c -mmcu=atmega8 -Os -D X=1 main.c -o obj/main.o"},
       {"/p|/p/main.c|1|-mmcu=atmega8 -Os -DX=1|/p/obj/main.o"}, {}},
      {"several on a line, with echoes", {"echo Compiling; avr-gcc -c a.c && avr-g++ -c b.c || true"},
       {"/p|/p/a.c|1||/p/a.o", "/p|/p/b.c|2||/p/b.o"}, {}, 2},
      {"a continued line", {"avr-gcc -c -Os \\", "\t-Wall main.c"}, {"/p|/p/main.c|1|-Os -Wall|/p/main.o"}, {}},
      {"quotes, escapes and settings in front",
       {"CCACHE_DIR=/c /usr/bin/avr-gcc-5.4.0 -c '-DNAME=\"a b\"' \"my file.c\" -DQ=\\'x\\' 2>&1 >log"},
       {"/p|/p/my file.c|1|-DNAME=\"a b\" -DQ='x'|/p/my file.o"}, {}},
      {"cd on the line, then make's folder lines",
       {"cd lib && avr-gcc -c foo.c", "make[1]: Entering directory '/p/drv'", "avr-gcc -c led.c",
        "make[1]: Leaving directory '/p/drv'", "avr-gcc -c main.c"},
       {"/p/lib|/p/lib/foo.c|1||/p/lib/foo.o", "/p/drv|/p/drv/led.c|1||/p/drv/led.o", "/p|/p/main.c|1||/p/main.o"}, {}},
      {"languages by -x and by name",
       {"avr-gcc -c -x assembler-with-cpp usbdrv.inc -x none start.S tiny.s -o x.o", "avr-g++ -c a.c"},
       {"/p|/p/usbdrv.inc|3||/p/x.o", "/p|/p/start.S|3||/p/x.o", "/p|/p/tiny.s|4||/p/x.o", "/p|/p/a.c|2||/p/a.o"}, {}},
      {"a link with its map",
       {"avr-gcc -mmcu=atmega16 main.o uart.o -o blink.elf -Wl,-Map,out/blink.map,--cref -lm lib/libx.a"},
       {}, {"/p|/p/blink.elf|/p/out/blink.map|/p/main.o /p/uart.o /p/lib/libx.a|-mmcu=atmega16 -Wl,-Map,out/blink.map,--cref -lm"}},
      {"the map through -Xlinker, a program without a name",
       {"avr-gcc main.o -Xlinker -Map -Xlinker m.map -Wl,--gc-sections"},
       {}, {"/p|/p/a.out|/p/m.map|/p/main.o|-Xlinker -Map -Xlinker m.map -Wl,--gc-sections"}},
      {"compiled and linked in one", {"avr-gcc -mmcu=attiny85 -Os main.c -o main.elf"},
       {"/p|/p/main.c|1|-mmcu=attiny85 -Os|"}, {"/p|/p/main.elf||/p/main.c|-mmcu=attiny85 -Os"}},
      {"no compile: dependencies, questions, diagnostics, make's messages",
       {"avr-gcc -MM main.c > main.d", "avr-gcc --version", "main.c:3:1: warning: avr-gcc -c x.c",
        "make: *** [Makefile:3: all] Error 1", "avr-objcopy -O ihex main.elf main.hex"},
       {}, {}, 3, {"/p/main.d"}},
      {"long options, abbreviated too",
       {"avr-gcc --comp --define-macro X=1 --include-directory=inc --language c a.inc --output obj/a.o",
        "avr-gcc --machine mcu=atmega8 main.o --output main.elf --for-linker -Map=m.map --std=gnu99"},
       {"/p|/p/a.inc|1|-DX=1 -Iinc|/p/obj/a.o"},
       {"/p|/p/main.elf|/p/m.map|/p/main.o|-mmcu=atmega8 -Xlinker -Map=m.map -std=gnu99"}},
      {"options with an argument in the next word",
       {"avr-gcc -c -B /pack/dev -Os -dumpbase x -Xlinker --verbose -A q=a main.c"},
       {"/p|/p/main.c|1|-B/pack/dev -Os -dumpbase x -Xlinker --verbose -Aq=a|/p/main.o"}, {}},
      {"a subshell's cd stays in it",
       {"(cd drv && avr-gcc -c x.c); (avr-gcc -c y.c) && avr-gcc x.o -o m.elf"},
       {"/p/drv|/p/drv/x.c|1||/p/drv/x.o", "/p|/p/y.c|1||/p/y.o"}, {"/p|/p/m.elf||/p/x.o|"}},
      {"make's own message", {"Building for atmega8", "$TOOL --version", "avr-gcc -c main.c"},
       {"/p|/p/main.c|1||/p/main.o"}, {}, 1},
      {"continued as the shell joins them",
       {"make[1]: Entering directory '/p/drv'", "avr-gcc -c -mmcu=atmega8\\", "\t-Os x.c -DSEP=\\\\",
        "make[1]: Leaving directory '/p/drv'", "avr-gcc main.o -o m.elf"},
       {"/p/drv|/p/drv/x.c|1|-mmcu=atmega8 -Os -DSEP=\\|/p/drv/x.o"}, {"/p|/p/m.elf||/p/main.o|"}},
      {"env in front", {"env X=1 avr-gcc -c a.c", "env -u CFLAGS avr-gcc -c b.c"},
       {"/p|/p/a.c|1||/p/a.o", "/p|/p/b.c|1||/p/b.o"}, {}},
      {"paths by what they name", {"avr-gcc -c build/../main.c -o ./main.o", "avr-gcc ./main.o -o out/../m.elf"},
       {"/p|/p/main.c|1||/p/main.o"}, {"/p|/p/m.elf||/p/main.o|"}},
      {"what redirections write", {"echo '#define V 3' > version.h; avr-size m.elf >>log/../size.txt 2>/dev/null"},
       {}, {}, 2, {"/p/version.h", "/p/size.txt"}},
  };
  // The driver is known by name, installed or not; "Building" runs nothing.
  const TProgramTest isProgram = [](const std::string& word) { return word == "avr-objcopy" || word == "avr-size"; };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TBuildCommands commands = ReadBuildCommands(test::ListOf(c.Printed), "/p", isProgram);
    Lines compiles, links, writes;
    for (const TCompileCommand& compile : commands.Compiles) compiles.push_back(Shown(compile));
    for (const TLinkCommand& link : commands.Links) links.push_back(Shown(link));
    for (const TOtherCommand& other : commands.Others)
      writes.insert(writes.end(), other.Writes.begin(), other.Writes.end());
    EXPECT_EQ(compiles, c.Compiles);
    EXPECT_EQ(links, c.Links);
    EXPECT_EQ(commands.Others.size(), c.Others);
    EXPECT_EQ(writes, c.Writes);
  }
}

// The driver's temporary files ("/tmp/ccAb12Cd.s") as "/TMP.s".
std::string WithoutTemporaryNames(std::string line) {
  for (size_t at = 0; (at = line.find("/cc", at)) != std::string::npos; ++at)
    if (at + 9 < line.size() && line[at + 9] == '.' &&
        std::all_of(line.begin() + at + 3, line.begin() + at + 9, [](char c) { return std::isalnum(c) != 0; }))
      line.replace(at, 9, "/TMP");
  return line;
}

// The short spelling of a long option makes the installed driver run the
// same commands (temporary file names aside).
TEST(BuildCommandsTest, LongOptionsReadAsTheDriverReadsThem) {
  if (system("command -v avr-gcc >/dev/null 2>&1") != 0) GTEST_SKIP() << "avr-gcc is not installed";
  test::TTempFolder folder;
  test::WriteTextFile(folder.File("x.c"), "int main(void) { return 0; }\n");
  auto driverRuns = [&](std::vector<std::string> words) {
    words.insert(words.begin(), {"avr-gcc", "-###"});
    words.push_back("x.c");
    TProcessRunner runner;
    TOutputLines output;
    runner.OnLine = output.Event();
    runner.SetCommand(words);
    runner.SetDirectory(folder.Path());
    std::string text = Format("status %d\n", runner.Run());
    for (const std::string& line : output.Lines)
      if (!line.starts_with("Configured with")) text += WithoutTemporaryNames(line) + "\n";
    return text;
  };
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {"--output", "o.elf"}, {"--output=o.elf"}, {"--comp"}, {"--define-macro", "X=1"},
           {"--include-directory=inc"},
           {"--language", "c++"}, {"--prefix", "/d"}, {"--optimize=s"}, {"--debug"}, {"--machine", "mcu=atmega8"},
           {"--machine-no-call-prologues"}, {"--warn-shadow"}, {"--for-assembler", "-ahl"}, {"--for-linker=-Map=m.map"},
           {"--std", "gnu99"}, {"--library-directory", "lib"}, {"--undefine-macro=X"}, {"--pedantic"},
           {"--write-dependencies"}, {"--include-barrier"}, {"--dump=a"}, {"--assert", "q=a"}})
    EXPECT_EQ(driverRuns(DriverShortWords(words)), driverRuns(words)) << words[0];
}

TEST(BuildCommandsTest, ThePartIsTheOneTheCommandsAgreeOn) {
  const struct {
    std::vector<std::string> Printed;
    const char* Part;
  } cases[] = {
      {{"avr-gcc -c -mmcu=atmega8 a.c", "avr-gcc -mmcu=atmega16 -mmcu=atmega8 a.o -o a.elf"}, "atmega8"},
      {{"avr-gcc -c -mmcu=atmega8 a.c", "avr-gcc a.o -o a.elf"}, "atmega8"},  // the link names none
      {{"avr-gcc -mmcu=atmega8 a.o -o a.elf", "avr-gcc -mmcu=atmega16 b.o -o b.elf"}, ""},
      {{"avr-gcc -c -mmcu=avr5 a.c"}, ""},
      {{"avr-gcc -c a.c"}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandsPart(ReadBuildCommands(test::ListOf(c.Printed), "/p")), c.Part);
}

}  // namespace
}  // namespace vk
