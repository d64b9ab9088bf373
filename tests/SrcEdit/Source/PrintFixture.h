#pragma once
// What the printing tests share: a fresh recording printer for each test
// and the text runs a recorded page drew, with their colours.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Printers.h"

namespace vk::test {

// One ExtTextOut of a recorded log, with the colours in force.
struct TRun {
  int X = 0;
  int Y = 0;
  std::string Text;
  TColorRef Color = 0;
  TColorRef Back = 0;
  friend bool operator==(const TRun&, const TRun&) = default;
  friend void PrintTo(const TRun& r, std::ostream* os) {
    *os << "{" << r.X << "," << r.Y << " \"" << r.Text << "\" " << std::hex << r.Color << "/" << r.Back << std::dec
        << "}";
  }
};

inline std::vector<TRun> RunsOf(const std::vector<std::string>& log) {
  std::vector<TRun> runs;
  TColorRef color = 0, back = 0;
  for (const std::string& line : log) {
    if (line.rfind("SetTextColor $", 0) == 0) color = std::stoul(line.substr(14), nullptr, 16);
    if (line.rfind("SetBkColor $", 0) == 0) back = std::stoul(line.substr(12), nullptr, 16);
    if (line.rfind("ExtTextOut ", 0) != 0) continue;
    TRun run{0, 0, "", color, back};
    sscanf(line.c_str(), "ExtTextOut %d %d", &run.X, &run.Y);
    size_t open = line.find('"');
    size_t close = line.rfind("\" dx ");
    if (close == std::string::npos) close = line.size() - 1;
    run.Text = line.substr(open + 1, close - open - 1);
    runs.push_back(run);
  }
  return runs;
}

// Where a text was drawn, without its colours.
struct TPlaced {
  int X = 0;
  int Y = 0;
  std::string Text;
  friend bool operator==(const TPlaced&, const TPlaced&) = default;
  friend void PrintTo(const TPlaced& p, std::ostream* os) { *os << "{" << p.X << "," << p.Y << " \"" << p.Text << "\"}"; }
};

inline std::vector<TPlaced> PlacedOf(const std::vector<TRun>& runs) {
  std::vector<TPlaced> placed;
  for (const TRun& run : runs) placed.push_back({run.X, run.Y, run.Text});
  return placed;
}

inline std::vector<std::string> TextsOf(const std::vector<TRun>& runs) {
  std::vector<std::string> texts;
  for (const TRun& run : runs) texts.push_back(run.Text);
  return texts;
}

// A recording printer in place of the process's printer for one test.
class TPrinterScope {
public:
  TPrinterScope() : FPrevious(SetPrinter(std::make_unique<TRecordingPrinter>())) {}
  ~TPrinterScope() { SetPrinter(std::move(FPrevious)); }
  TPrinterScope(const TPrinterScope&) = delete;
  TPrinterScope& operator=(const TPrinterScope&) = delete;
  TRecordingPrinter& Printer() { return static_cast<TRecordingPrinter&>(vk::Printer()); }

private:
  std::unique_ptr<TPrinter> FPrevious;
};

}  // namespace vk::test
