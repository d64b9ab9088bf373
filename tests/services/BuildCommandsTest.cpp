#include "services/BuildCommands.h"

#include <gtest/gtest.h>

#include "tests/services/ServicesTestSupport.h"

namespace vk {
namespace {

// A compile as "folder|source|language|options|object", a link as
// "folder|output|map|inputs|options", options and inputs joined by blanks.
std::string Shown(const TCompileCommand& c) {
  std::string options;
  for (const std::string& option : c.Options) options += (options.empty() ? "" : " ") + option;
  return c.Folder + "|" + c.Source + "|" + std::to_string(c.Language) + "|" + options + "|" + c.Object;
}

std::string Shown(const TLinkCommand& l) {
  std::string inputs, options;
  for (const std::string& input : l.Inputs) inputs += (inputs.empty() ? "" : " ") + input;
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
  } cases[] = {
      {"a compile", {"avr-gcc -c -mmcu=atmega8 -Os -D X=1 main.c -o obj/main.o"},
       {"/p|main.c|1|-mmcu=atmega8 -Os -DX=1|/p/obj/main.o"}, {}},
      {"several on a line, with echoes", {"echo Compiling; avr-gcc -c a.c && avr-g++ -c b.c || true"},
       {"/p|a.c|1||/p/a.o", "/p|b.c|2||/p/b.o"}, {}, 2},
      {"a continued line", {"avr-gcc -c -Os \\", "\t-Wall main.c"}, {"/p|main.c|1|-Os -Wall|/p/main.o"}, {}},
      {"quotes, escapes and settings in front",
       {"CCACHE_DIR=/c /usr/bin/avr-gcc-5.4.0 -c '-DNAME=\"a b\"' \"my file.c\" -DQ=\\'x\\' 2>&1 >log"},
       {"/p|my file.c|1|-DNAME=\"a b\" -DQ='x'|/p/my file.o"}, {}},
      {"cd on the line, then make's folder lines",
       {"cd lib && avr-gcc -c foo.c", "make[1]: Entering directory '/p/drv'", "avr-gcc -c led.c",
        "make[1]: Leaving directory '/p/drv'", "avr-gcc -c main.c"},
       {"/p/lib|foo.c|1||/p/lib/foo.o", "/p/drv|led.c|1||/p/drv/led.o", "/p|main.c|1||/p/main.o"}, {}},
      {"languages by -x and by name",
       {"avr-gcc -c -x assembler-with-cpp usbdrv.inc -x none start.S tiny.s -o x.o", "avr-g++ -c a.c"},
       {"/p|usbdrv.inc|3||/p/x.o", "/p|start.S|3||/p/x.o", "/p|tiny.s|4||/p/x.o", "/p|a.c|2||/p/a.o"}, {}},
      {"a link with its map",
       {"avr-gcc -mmcu=atmega16 main.o uart.o -o blink.elf -Wl,-Map,out/blink.map,--cref -lm lib/libx.a"},
       {}, {"/p|/p/blink.elf|/p/out/blink.map|main.o uart.o lib/libx.a|-mmcu=atmega16 -Wl,-Map,out/blink.map,--cref -lm"}},
      {"the map through -Xlinker, a program without a name",
       {"avr-gcc main.o -Xlinker -Map -Xlinker m.map -Wl,--gc-sections"},
       {}, {"/p|/p/a.out|/p/m.map|main.o|-Xlinker -Map -Xlinker m.map -Wl,--gc-sections"}},
      {"compiled and linked in one", {"avr-gcc -mmcu=attiny85 -Os main.c -o main.elf"},
       {"/p|main.c|1|-mmcu=attiny85 -Os|"}, {"/p|/p/main.elf||main.c|-mmcu=attiny85 -Os"}},
      {"no compile: dependencies, questions, diagnostics, make's messages",
       {"avr-gcc -MM main.c > main.d", "avr-gcc --version", "main.c:3:1: warning: avr-gcc -c x.c",
        "make: *** [Makefile:3: all] Error 1", "avr-objcopy -O ihex main.elf main.hex"},
       {}, {}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TBuildCommands commands = ReadBuildCommands(test::ListOf(c.Printed), "/p");
    Lines compiles, links;
    for (const TCompileCommand& compile : commands.Compiles) compiles.push_back(Shown(compile));
    for (const TLinkCommand& link : commands.Links) links.push_back(Shown(link));
    EXPECT_EQ(compiles, c.Compiles);
    EXPECT_EQ(links, c.Links);
    EXPECT_EQ(commands.Others.size(), c.Others);
  }
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
