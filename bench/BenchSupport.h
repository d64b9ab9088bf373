// What the benchmark programs share: a clock, the seconds measured per key,
// the closing "ours against baseline" lines, and a generated AVR C source.

#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <map>
#include <span>
#include <string>

namespace vk::bench {

// <chrono> cannot be compiled for the ANSI code page (its unit suffixes do
// not convert), so time is read from the monotonic clock directly.
inline double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds per run (or per whatever a program measures), by key, for the
// closing comparison.
inline std::map<std::string, double>& Seconds() {
  static std::map<std::string, double> seconds;
  return seconds;
}

// Times body once per iteration and keeps the mean under key.
template <class Body>
void Measure(benchmark::State& state, const std::string& key, Body body) {
  double total = 0;
  for (auto _ : state) {
    const double start = Now();
    body();
    total += Now() - start;
  }
  Seconds()[key] = total / static_cast<double>(state.iterations());
}

// How a figure is printed: the unit's name and how many of it make a second.
struct TUnit {
  const char* Name;
  double PerSecond;
};
inline constexpr TUnit kMilliseconds{"ms", 1e3};

// One line "ours vs baseline, ratio" (>1: ours is slower); nothing when a
// filter left either side out of the run.
inline void PrintRatio(const std::string& ours, const std::string& baseline, TUnit unit = kMilliseconds) {
  const auto& seconds = Seconds();
  if (!seconds.count(ours) || !seconds.count(baseline)) return;
  const double a = seconds.at(ours);
  const double b = seconds.at(baseline);
  std::printf("%-26s %9.2f %s vs %-22s %9.2f %s, ratio %.2fx\n", ours.c_str(), a * unit.PerSecond, unit.Name,
              baseline.c_str(), b * unit.PerSecond, unit.Name, a / b);
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
