#pragma once
// A temporary AVR project built with the real tool chain: a main source
// that calls into two C sources and one assembler source, so a link that
// misses any of them fails.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/platform/TempFolder.h"

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
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(File(name), std::ios::binary) << text;
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Runs make in the folder; true when it succeeded. Output holds what it
  // printed, for the failure message.
  bool Make(std::string& output) const {
    output.clear();
    FILE* pipe = popen(("cd '" + Folder() + "' && make 2>&1").c_str(), "r");
    if (!pipe) return false;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    return pclose(pipe) == 0;
  }

private:
  TTempFolder FFolder;
};

}  // namespace vk::test
