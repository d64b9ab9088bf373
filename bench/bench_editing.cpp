// Typing through the command processor on a generated 1,000,000-line C
// source, at the end of the last line and at line 500,000, against the same
// typing on a 1,000-line file in the same run: the time per keystroke
// (including the highlighter's range rescan and the invalidation) must not
// grow with the size of the file.

#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"

namespace {

// <chrono> cannot be compiled for the ANSI code page (its unit suffixes do
// not convert), so time is read from the monotonic clock directly.
double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string Source(int lineCount) {
  const char* lines[] = {
      "\tPORTB |= (1 << PB3);\t\t// set the LED pin on the board",
      "static uint8_t counter_%d = 0x%02X;",
      "\tif (TCNT0 > 0x80) { ADCSRA |= _BV(ADSC); counter_%d++; }",
      "/* delay loop for the display, step %d */",
      "\tfor (i = 0; i < %d; i++) _delay_ms(10);",
      "#define BAUD_%d 9600UL",
      "}",
      "",
  };
  std::string text;
  char buffer[128];
  for (int i = 0; i < lineCount; ++i) {
    std::snprintf(buffer, sizeof buffer, lines[i % 8], i, i & 0xFF);
    text += buffer;
    text += "\r\n";
  }
  return text;
}

// An editor with a window and the C highlighter, showing the file.
struct TEditorOnFile {
  explicit TEditorOnFile(int lineCount) {
    Edit.HandleNeeded();
    Edit.SetBounds(0, 0, 900, 700);
    Edit.Lines().SetTextStr(Source(lineCount));
    Edit.SetHighlighter(&Highlighter);
  }
  ~TEditorOnFile() { Edit.SetHighlighter(nullptr); }
  vk::TSrcAvrHl Highlighter{nullptr};
  vk::TSrcEdit Edit{nullptr};
};

std::map<std::string, double> secondsPerKey;
constexpr int Keystrokes = 1000;

// Types 1,000 characters at the end of the given line (0: the last).
void Typing(benchmark::State& state, int lineCount, int line, const std::string& key) {
  TEditorOnFile editor(lineCount);
  vk::TSrcEdit& edit = editor.Edit;
  const int target = line == 0 ? edit.Lines().Count() : line;
  double total = 0;
  long long keys = 0;
  for (auto _ : state) {
    edit.SetMaxScrollWidth(1 << 20);
    edit.CommandProcessor(vk::ecGotoXY, 0,
                          vk::TBufferCoord{static_cast<int>(edit.Lines().Get(target - 1).size()) + 1, target});
    const double start = Now();
    for (int i = 0; i < Keystrokes; ++i) edit.CommandProcessor(vk::ecChar, static_cast<char>('a' + i % 26));
    total += Now() - start;
    keys += Keystrokes;
    edit.Update();
  }
  secondsPerKey[key] = total / static_cast<double>(keys);
  // Every keystroke typed (none refused at the scroll width).
  if (edit.Lines().Get(target - 1).size() < static_cast<size_t>(keys)) state.SkipWithError("keystrokes were lost");
}

void LastLineBig(benchmark::State& state) { Typing(state, 1000000, 0, "last line, 1,000,000 lines"); }
void MiddleBig(benchmark::State& state) { Typing(state, 1000000, 500000, "line 500,000 of 1,000,000"); }
void LastLineSmall(benchmark::State& state) { Typing(state, 1000, 0, "last line, 1,000 lines"); }
void MiddleSmall(benchmark::State& state) { Typing(state, 1000, 500, "line 500 of 1,000"); }

BENCHMARK(LastLineSmall)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(MiddleSmall)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LastLineBig)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(MiddleBig)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  auto report = [](const char* big, const char* small) {
    if (!secondsPerKey.count(big) || !secondsPerKey.count(small)) return;
    std::printf("%-28s %7.2f us per keystroke; %-24s %7.2f us; ratio %.2fx\n", big, secondsPerKey[big] * 1e6, small,
                secondsPerKey[small] * 1e6, secondsPerKey[big] / secondsPerKey[small]);
  };
  report("last line, 1,000,000 lines", "last line, 1,000 lines");
  report("line 500,000 of 1,000,000", "line 500 of 1,000");
  benchmark::Shutdown();
}
