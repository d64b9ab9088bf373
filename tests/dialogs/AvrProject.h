#pragma once
// A temporary AVR project built with the real tool chain: a main source
// that calls into two C sources and one assembler source, so a link that
// misses any of them fails.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/app/AppTestSupport.h"

namespace vk::test {

class TAvrProject {
public:
  TAvrProject() {
    Write("main.c",
          "#include <avr/io.h>\n"
          "int add_a(int x);\nint add_b(int x);\nunsigned char asm_twice(unsigned char x);\n"
          "int main(void) {\n  DDRB = 0xFF;\n  PORTB = (unsigned char)add_a(add_b(asm_twice(PINB)));\n"
          "  for (;;) {\n  }\n}\n");
    Write("a.c", "int add_a(int x) { return x + 1; }\n");
    Write("b.c", "int add_b(int x) { return x + 2; }\n");
    Write("twice.S", ".global asm_twice\nasm_twice:\n  add r24, r24\n  ret\n");
  }

  static bool ToolChainInstalled() {
    return std::system("command -v make >/dev/null 2>&1 && command -v avr-gcc >/dev/null 2>&1") == 0;
  }

  const std::string& Folder() const { return FFolder.Path(); }
  std::string File(const std::string& name) const { return FFolder.File(name); }
  void Write(const std::string& name, const std::string& text) const { WriteTextFile(File(name), text); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
  std::string Read(const std::string& name) const { return ReadTextFile(File(name)); }

  // Runs make in the folder and checks that the link took in every source.
  void ExpectMakeLinksEverySource() const {
    const TCommandResult make = RunCommand(Folder(), "make");
    std::string output;
    for (const std::string& line : make.Lines) output += line + "\n";
    ASSERT_EQ(make.Status, 0) << output;
    ASSERT_TRUE(Exists("main.map")) << output;
    const std::string map = Read("main.map");
    for (const char* object : {"main.o", "a.o", "b.o", "twice.o"})
      EXPECT_NE(map.find(object), std::string::npos) << object;
  }

private:
  TTempFolder FFolder;
};

}  // namespace vk::test
