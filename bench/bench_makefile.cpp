// Reading a makefile as the settings dialog and the result box read it (a
// value and the part), on files whose targets each depend on all later
// ones and set a variable of their own, against a makefile of variables
// alone of the same size measured in the same run:
//   12 linked targets (about 500 bytes)   vs  as many bytes of variables
//   linked targets filling 4 KB           vs  4 KB of variables

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "platform/StringLists.h"
#include "services/MakefileVariables.h"

namespace {

using namespace vk::bench;

// t0 ... t<n-1>, each depending on all later ones, each with a variable;
// the last one compiles.
std::string LinkedTargets(int targets) {
  std::string text = "MCU = atmega8\nCFLAGS = -Os -mmcu=$(MCU)\n";
  for (int t = 0; t < targets; ++t) {
    text += "t" + std::to_string(t) + ":";
    for (int later = t + 1; later < targets; ++later) text += " t" + std::to_string(later);
    text += "\nt" + std::to_string(t) + ": V = " + std::to_string(t) + "\n";
  }
  return text + "t" + std::to_string(targets - 1) + ":\n\tavr-gcc $(CFLAGS) -c main.c\n";
}

// Variables alone up to the size, and one rule that compiles.
std::string PlainOfSize(size_t bytes) {
  std::string text = "MCU = atmega8\nCFLAGS = -Os -mmcu=$(MCU)\nall:\n\tavr-gcc $(CFLAGS) -c main.c\n";
  for (int i = 0; text.size() < bytes; ++i) text += "V" + std::to_string(i) + " = value " + std::to_string(i) + "\n";
  return text;
}

// The smallest count of linked targets that fills the size.
int TargetsFilling(size_t bytes) {
  int targets = 2;
  while (LinkedTargets(targets).size() < bytes) ++targets;
  return targets;
}

vk::TStringList Lines(const std::string& text) {
  vk::TStringList lines;
  lines.SetText(text);
  return lines;
}

void Read(const vk::TStringList& lines) {
  vk::TMakefileReading reading(lines);
  benchmark::DoNotOptimize(reading.Value("CFLAGS"));
  benchmark::DoNotOptimize(reading.Part());
}

void Compare(benchmark::State& state, const std::string& name, int targets) {
  const std::string linked = LinkedTargets(targets);
  const vk::TStringList linkedLines = Lines(linked), plainLines = Lines(PlainOfSize(linked.size()));
  state.SetLabel(std::to_string(targets) + " targets, " + std::to_string(linked.size()) + " bytes");
  MeasureInTurn(state, {{name + " linked", [&] { Read(linkedLines); }}, {name + " plain", [&] { Read(plainLines); }}});
}

void Small(benchmark::State& state) { Compare(state, "12 targets", 12); }
void Large(benchmark::State& state) { Compare(state, "4 KB", TargetsFilling(4096)); }

BENCHMARK(Small)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(Large)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::printf("\nreading a makefile, one value and the part\n");
  PrintRatio("12 targets linked", "12 targets plain");
  PrintRatio("4 KB linked", "4 KB plain");
  benchmark::Shutdown();
  return 0;
}
