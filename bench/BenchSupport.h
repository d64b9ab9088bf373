// What the benchmark programs share: a clock, the seconds of each
// repetition per key, the closing "ours against baseline" lines (minimum and
// median), a generated AVR C source and the memmem replacement baseline.

#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vk::bench {

// <chrono> cannot be compiled for the ANSI code page (its unit suffixes do
// not convert), so time is read from the monotonic clock directly.
inline double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds of every repetition (per run, or per whatever a program
// measures), by key, for the closing comparison.
inline std::map<std::string, std::vector<double>>& Samples() {
  static std::map<std::string, std::vector<double>> samples;
  return samples;
}

inline void Record(const std::string& key, double seconds) { Samples()[key].push_back(seconds); }

// Times body once per iteration, each time a repetition of key.
template <class Body>
void Measure(benchmark::State& state, const std::string& key, Body body) {
  for (auto _ : state) {
    const double start = Now();
    body();
    Record(key, Now() - start);
  }
}

// Runs every side once per iteration, one after the other, so that all of
// them are measured under the same conditions of a busy machine. The order
// turns with each iteration: what one side leaves behind (the allocator's
// free memory, the caches) falls on each of the others in turn.
inline void MeasureInTurn(benchmark::State& state,
                          std::initializer_list<std::pair<std::string, std::function<void()>>> sides) {
  const std::vector<std::pair<std::string, std::function<void()>>> all(sides);
  size_t first = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < all.size(); ++i) {
      const auto& [key, body] = all[(first + i) % all.size()];
      const double start = Now();
      body();
      Record(key, Now() - start);
    }
    ++first;
  }
}

// What is reported of a key's repetitions: the fastest, which shows the
// work itself, and the median, which shows what a user typically waits.
struct TFigures {
  double Min = 0;
  double Median = 0;
};

inline TFigures Figures(const std::string& key) {
  std::vector<double> sorted = Samples().at(key);
  std::sort(sorted.begin(), sorted.end());
  const size_t n = sorted.size();
  return {sorted.front(), n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2};
}

// How a figure is printed: the unit's name and how many of it make a second.
struct TUnit {
  const char* Name;
  double PerSecond;
};
inline constexpr TUnit kMilliseconds{"ms", 1e3};

// One line "ours against baseline": minimum and median of each and their
// ratios (>1: ours is slower); nothing when a filter left either side out
// of the run.
inline void PrintRatio(const std::string& ours, const std::string& baseline, TUnit unit = kMilliseconds) {
  const auto& samples = Samples();
  if (!samples.count(ours) || !samples.count(baseline)) return;
  const TFigures a = Figures(ours);
  const TFigures b = Figures(baseline);
  std::printf("%-30s min %9.2f median %9.2f %-6s vs %-24s min %9.2f median %9.2f, ratio min %.2fx median %.2fx\n",
              ours.c_str(), a.Min * unit.PerSecond, a.Median * unit.PerSecond, unit.Name, baseline.c_str(),
              b.Min * unit.PerSecond, b.Median * unit.PerSecond, a.Min / b.Min, a.Median / b.Median);
}

// The text with every `from` replaced by `to`, built from the bytes: copy up
// to each match found by memmem, append the replacement. The baseline of the
// editor's replace-all.
inline std::string ReplaceBytes(const std::string& text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (const void* hit = memmem(at, static_cast<size_t>(end - at), from.data(), from.size())) {
    const char* match = static_cast<const char*>(hit);
    out.append(at, match);
    out.append(to);
    at = match + from.size();
  }
  out.append(at, end);
  return out;
}

// The eight line shapes of typical AVR C: register writes, declarations,
// comments, loops, directives, braces and an empty line. Each takes the line
// number and its low byte.
inline constexpr const char* kAvrLineShapes[] = {
    "\tPORTB |= (1 << PB3);\t\t// set the LED pin on the board",
    "static uint8_t counter_%d = 0x%02X;",
    "\tif (TCNT0 > 0x80) { ADCSRA |= _BV(ADSC); counter_%d++; }",
    "/* delay loop for the display, step %d */",
    "\tfor (i = 0; i < %d; i++) _delay_ms(10);",
    "#define BAUD_%d 9600UL",
    "}",
    "",
};

// lineCount lines taking the shapes in turn, each ended by CR LF.
inline std::string AvrSource(int lineCount, std::span<const char* const> shapes = kAvrLineShapes) {
  std::string text;
  text.reserve(static_cast<size_t>(lineCount) * 42);
  char buffer[128];
  for (int i = 0; i < lineCount; ++i) {
    std::snprintf(buffer, sizeof buffer, shapes[static_cast<size_t>(i) % shapes.size()], i, i & 0xFF);
    text += buffer;
    text += "\r\n";
  }
  return text;
}

}  // namespace vk::bench
