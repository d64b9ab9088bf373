// Loading and saving a 1,000,000-line C source through the editor's line
// store, against reading the bytes, splitting them into string views and
// writing them back with fwrite, measured in the same run.

#include <malloc.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEditTextBuffer.h"

namespace {

// <chrono> cannot be compiled for the ANSI code page (its unit suffixes do
// not convert), so time is read from the monotonic clock directly.
double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string Folder() {
  static std::string folder = [] {
    std::string pattern = "/tmp/vk-bench-XXXXXX";
    return std::string(mkdtemp(pattern.data()));
  }();
  return folder;
}

const std::string& SourceFile() {
  static std::string name = [] {
    std::string path = Folder() + "/big.c";
    std::string text;
    text.reserve(42u << 20);
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
    char buffer[128];
    for (int i = 0; i < 1000000; ++i) {
      std::snprintf(buffer, sizeof buffer, lines[i % 8], i, i & 0xFF);
      text += buffer;
      text += "\r\n";
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
  }();
  return name;
}

std::map<std::string, double> secondsPerRun;

template <class Body>
void Measure(benchmark::State& state, const char* key, Body body) {
  double total = 0;
  for (auto _ : state) {
    double start = Now();
    body();
    total += Now() - start;
  }
  secondsPerRun[key] = total / static_cast<double>(state.iterations());
}

std::string ReadFile(const std::string& name) {
  std::FILE* f = std::fopen(name.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  std::string data(static_cast<size_t>(std::ftell(f)), '\0');
  std::fseek(f, 0, SEEK_SET);
  if (std::fread(data.data(), 1, data.size(), f) != data.size()) std::abort();
  std::fclose(f);
  return data;
}

std::vector<std::string_view> SplitLines(const std::string& data) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = start;
    while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
    lines.emplace_back(data.data() + start, end - start);
    start = end;
    if (start < data.size() && data[start] == '\r') ++start;
    if (start < data.size() && data[start] == '\n') ++start;
  }
  return lines;
}

void BaselineLoad(benchmark::State& state) {
  Measure(state, "baseline load", [] {
    std::string data = ReadFile(SourceFile());
    auto lines = SplitLines(data);
    benchmark::DoNotOptimize(lines.data());
  });
}

void StoreLoad(benchmark::State& state) {
  Measure(state, "store load", [] {
    vk::TSrcEditStringList store;
    store.LoadFromFile(SourceFile());
    benchmark::DoNotOptimize(store.Count());
  });
}

void BaselineSave(benchmark::State& state) {
  std::string data = ReadFile(SourceFile());
  auto lines = SplitLines(data);
  std::string target = Folder() + "/baseline.c";
  Measure(state, "baseline save", [&] {
    std::FILE* f = std::fopen(target.c_str(), "wb");
    for (size_t i = 0; i < lines.size(); ++i) {
      std::fwrite(lines[i].data(), 1, lines[i].size(), f);
      if (i + 1 < lines.size()) std::fwrite("\r\n", 1, 2, f);
    }
    std::fclose(f);
  });
}

void StoreSave(benchmark::State& state) {
  vk::TSrcEditStringList store;
  store.LoadFromFile(SourceFile());
  std::string target = Folder() + "/store.c";
  Measure(state, "store save", [&] { store.SaveToFile(target); });
}

BENCHMARK(BaselineLoad)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StoreLoad)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BaselineSave)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StoreSave)->Unit(benchmark::kMillisecond)->Iterations(5);

// Heap in use by a loaded store, against the size of its file.
void ReportMemory() {
  size_t fileSize = ReadFile(SourceFile()).size();
  auto inUse = [] {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
  };
  size_t before = inUse();
  auto* store = new vk::TSrcEditStringList;
  store->LoadFromFile(SourceFile());
  size_t after = inUse();
  std::printf("loaded store: %.1f MB of heap for a %.1f MB file (%.2fx)\n", (after - before) / 1e6, fileSize / 1e6,
              double(after - before) / double(fileSize));
  delete store;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  auto ratio = [](const char* ours, const char* base) {
    if (!secondsPerRun.count(ours) || !secondsPerRun.count(base)) return;
    std::printf("%-11s %8.1f ms, baseline %8.1f ms, ratio %.2fx\n", ours, secondsPerRun[ours] * 1e3,
                secondsPerRun[base] * 1e3, secondsPerRun[ours] / secondsPerRun[base]);
  };
  ratio("store load", "baseline load");
  ratio("store save", "baseline save");
  ReportMemory();
  std::remove((Folder() + "/big.c").c_str());
  std::remove((Folder() + "/baseline.c").c_str());
  std::remove((Folder() + "/store.c").c_str());
  rmdir(Folder().c_str());
  benchmark::Shutdown();
}
