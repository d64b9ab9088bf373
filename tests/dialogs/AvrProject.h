#pragma once
// A temporary AVR project: a main source that calls into two C sources and
// one assembler source.

#include <filesystem>
#include <string>

#include "tests/services/ServicesTestSupport.h"

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

  const std::string& Folder() const { return FFolder.Path(); }
  std::string File(const std::string& name) const { return FFolder.File(name); }
  void Write(const std::string& name, const std::string& text) const { WriteTextFile(File(name), text); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
  std::string Read(const std::string& name) const { return ReadTextFile(File(name)); }

private:
  TTempFolder FFolder;
};

}  // namespace vk::test
