#pragma once
// Helpers of the IDE core's and the dialogs' tests: a private registry,
// text files, the AVR tool chain run on small projects in temporary folders.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/FilePaths.h"
#include "platform/StringLists.h"
#include "tests/platform/RegistryScope.h"
#include "tests/platform/TempFolder.h"

namespace vk::test {

// The files by the program's names (in the code page).
inline void WriteTextFile(const std::string& fileName, const std::string& text) {
  std::ofstream(FileNameToDisk(fileName), std::ios::binary) << text;
}

inline std::string ReadTextFile(const std::string& fileName) {
  std::ifstream in(FileNameToDisk(fileName), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::string> LinesOf(const TStrings& strings) {
  std::vector<std::string> lines;
  for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings.Get(i));
  return lines;
}

inline TStringList ListOf(const std::vector<std::string>& lines) {
  TStringList list;
  for (const std::string& line : lines) list.Add(line);
  return list;
}

// Runs a shell command in a folder; its standard output and error as lines
// and its exit status.
struct TCommandResult {
  std::vector<std::string> Lines;
  int Status = -1;
};

inline TCommandResult RunCommand(const std::string& folder, const std::string& command) {
  TCommandResult result;
  std::string line = "cd '" + folder + "' && LC_ALL=C " + command + " 2>&1 </dev/null";
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return result;
  std::string text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  int status = pclose(pipe);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  TStringList lines;
  lines.SetTextStr(text);
  result.Lines = LinesOf(lines);
  return result;
}

inline bool HaveAvrToolChain() {
  return system("command -v avr-gcc >/dev/null 2>&1 && command -v avr-size >/dev/null 2>&1") == 0;
}

// The section sizes avr-size reports for main.elf in the folder.
inline std::map<std::string, uint64_t> AvrSectionSizes(const std::string& folder) {
  std::map<std::string, uint64_t> sections;
  for (const std::string& line : RunCommand(folder, "avr-size -A main.elf").Lines) {
    std::istringstream fields(line);
    std::string name;
    uint64_t bytes = 0;
    if (fields >> name >> bytes) sections[name] = bytes;
  }
  return sections;
}

// avr-size's figures for the AVR (-C) of main.elf in the folder, for the
// part: "Program" (.text and .data), "Data" (.data, .bss and .noinit) and
// "EEPROM", each with the percentage of the part it prints. A memory the
// program does not use is not listed.
struct TAvrSizeFigure {
  uint64_t Bytes = 0;
  double Percent = 0;
};
inline std::map<std::string, TAvrSizeFigure> AvrSizeFigures(const std::string& folder, const std::string& part) {
  std::map<std::string, TAvrSizeFigure> figures;
  for (const std::string& line : RunCommand(folder, "avr-size -C --mcu=" + part + " main.elf").Lines) {
    std::istringstream fields(line);  // "Program:    7990 bytes (97.5% Full)"
    std::string name, unit;
    char open = 0;
    TAvrSizeFigure figure;
    if (fields >> name >> figure.Bytes >> unit >> open >> figure.Percent && name.ends_with(':') && open == '(')
      figures[name.substr(0, name.size() - 1)] = figure;
  }
  return figures;
}

// A memory line of the result box says what avr-size says: the same bytes
// and, as far as avr-size's one decimal tells, the same percentage (below
// 1,000%, so with no thousands separator).
inline void ExpectAvrSizeFigure(const std::string& line, const TAvrSizeFigure& figure) {
  EXPECT_TRUE(line.starts_with(std::to_string(figure.Bytes) + " Bytes (Total ")) << line;
  const size_t equals = line.find(") = ");
  ASSERT_NE(equals, std::string::npos) << line;
  std::string percent = line.substr(equals + 4);
  std::replace(percent.begin(), percent.end(), ',', '.');
  EXPECT_NEAR(std::strtod(percent.c_str(), nullptr), figure.Percent, 0.0551) << line;
}

// The architecture avr-objdump reads from each of the files ("avr:5"), by
// the name given.
inline std::map<std::string, std::string> AvrArchitectures(const std::string& folder,
                                                           const std::vector<std::string>& files) {
  std::string command = "avr-objdump -f";
  for (const std::string& file : files) command += " '" + file + "'";
  std::map<std::string, std::string> architectures;
  std::string file;
  for (const std::string& line : RunCommand(folder, command).Lines) {
    if (const size_t format = line.find(":     file format "); format != std::string::npos) file = line.substr(0, format);
    if (line.starts_with("architecture: ")) architectures[file] = line.substr(14, line.find(',') - 14);
  }
  return architectures;
}

#define VK_REQUIRE_AVR_TOOL_CHAIN() \
  if (!::vk::test::HaveAvrToolChain()) GTEST_SKIP() << "avr-gcc and avr-size are not installed (./x installs them)"

}  // namespace vk::test
