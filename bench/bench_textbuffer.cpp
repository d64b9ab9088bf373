// Loading and saving a 1,000,000-line C source through the editor's line
// store, and loading it as a document window does (into an editor with the
// AVR highlighter, whose line states are found as the lines arrive), against
// reading the bytes, splitting them into string views and writing them back
// with fwrite, measured in the same run.

#include <malloc.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditTextBuffer.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "bench/BenchSupport.h"

namespace {

using namespace vk::bench;

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
    const std::string text = AvrSource(1000000);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
  }();
  return name;
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

// The three loads in turn: reading and splitting the bytes, the bare line
// store, and an editor as a document window loads a file (with a window and
// the AVR highlighter attached).
void Loads(benchmark::State& state) {
  MeasureInTurn(state, {{"baseline load",
                         [] {
                           std::string data = ReadFile(SourceFile());
                           auto lines = SplitLines(data);
                           benchmark::DoNotOptimize(lines.data());
                         }},
                        {"store load",
                         [] {
                           vk::TSrcEditStringList store;
                           store.LoadFromFile(SourceFile());
                           benchmark::DoNotOptimize(store.Count());
                         }},
                        {"editor load, highlighted", [] {
                           vk::TSrcAvrHl highlighter(nullptr);
                           vk::TSrcEdit edit(nullptr);
                           edit.HandleNeeded();
                           edit.SetBounds(0, 0, 900, 700);
                           edit.SetHighlighter(&highlighter);
                           edit.Lines().LoadFromFile(SourceFile());
                           benchmark::DoNotOptimize(edit.Lines().Count());
                           edit.SetHighlighter(nullptr);
                         }}});
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

BENCHMARK(Loads)->Unit(benchmark::kMillisecond)->Iterations(12);
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
  // Freed memory stays with the allocator, so that no repetition pays for
  // the pages another one gave back.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  PrintRatio("store load", "baseline load");
  PrintRatio("editor load, highlighted", "store load");
  PrintRatio("editor load, highlighted", "baseline load");
  PrintRatio("store save", "baseline save");
  ReportMemory();
  std::remove((Folder() + "/big.c").c_str());
  std::remove((Folder() + "/baseline.c").c_str());
  std::remove((Folder() + "/store.c").c_str());
  rmdir(Folder().c_str());
  benchmark::Shutdown();
}
