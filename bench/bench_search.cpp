// Searching, replacing and wrapping a generated 1,000,000-line C source in
// the editor, each against a plain loop over the same bytes measured in the
// same run: a search for a word the text does not hold against memmem; a
// replace-all of a word found 100,000 times, and its undo, against building
// the replaced text with memmem; wrapping every line at 80 columns, the
// first time after loading (cold: no line measured yet) and again (warm),
// against counting the rows of each line.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "bench/BenchSupport.h"

namespace {

using namespace vk::bench;

constexpr int kLines = 1000000;

// The AVR shapes and two more; "blink" is on every tenth line, so 100,000
// times. The last line has no line break, so the editor holds kLines lines.
const std::string& SourceText() {
  static const std::string text = [] {
    std::vector<const char*> shapes(std::begin(kAvrLineShapes), std::end(kAvrLineShapes));
    shapes.push_back("\tblink(PORTD, %d);");
    shapes.push_back("\tuart_puts(\"value %d\\r\\n\");");
    std::string all = AvrSource(kLines, shapes);
    all.resize(all.size() - 2);
    return all;
  }();
  return text;
}

// A headless editor holding the text, with room for the whole history of
// a replace-all.
struct TEditorWithText {
  TEditorWithText() {
    Edit.HandleNeeded();
    // A text area of exactly 80 columns: the frame's share is found by
    // sizing and measuring.
    for (int i = 0; i < 3; ++i) {
      const int frame = Edit.Width() - Edit.ClientWidth();
      Edit.SetBounds(0, 0, frame + Edit.GutterWidth() + 2 + 80 * Edit.CellWidth(), 600);
    }
    Edit.SetMaxUndo(1 << 22);
    Edit.SetSearchEngine(&Engine);
    Edit.SrcSetText(SourceText());
  }
  vk::TSrcEdit Edit{nullptr};
  vk::TSrcEditSearch Engine{nullptr};
};

TEditorWithText& Editor() {
  static auto* editor = new TEditorWithText;
  return *editor;
}

const char* const kAbsent = "wdt_reset";

void BaselineSearch(benchmark::State& state) {
  const std::string& text = SourceText();
  Measure(state, "memmem search", [&] {
    benchmark::DoNotOptimize(memmem(text.data(), text.size(), kAbsent, std::strlen(kAbsent)));
  });
}

void EditorSearch(benchmark::State& state) {
  vk::TSrcEdit& edit = Editor().Edit;
  Measure(state, "editor search", [&] {
    if (edit.SearchReplace(kAbsent, "", {vk::ssoEntireScope, vk::ssoMatchCase}) != 0) std::abort();
  });
}

void EditorSearchAnyCase(benchmark::State& state) {
  vk::TSrcEdit& edit = Editor().Edit;
  Measure(state, "editor search, any case", [&] {
    if (edit.SearchReplace(kAbsent, "", {vk::ssoEntireScope}) != 0) std::abort();
  });
}

void BaselineReplace(benchmark::State& state) {
  const std::string& text = SourceText();
  for (auto _ : state) {
    double start = Now();
    std::string replaced = ReplaceBytes(text, "blink", "toggle_led");
    double middle = Now();
    std::string back = ReplaceBytes(replaced, "toggle_led", "blink");
    Record("memmem replace", middle - start);
    Record("memmem restore", Now() - middle);
    if (back != text) std::abort();
  }
}

void EditorReplaceAllAndUndo(benchmark::State& state) {
  vk::TSrcEdit& edit = Editor().Edit;
  for (auto _ : state) {
    double start = Now();
    const int found =
        edit.SearchReplace("blink", "toggle_led", {vk::ssoReplaceAll, vk::ssoEntireScope, vk::ssoMatchCase});
    double middle = Now();
    edit.Undo();
    Record("editor replace-all", middle - start);
    Record("editor undo", Now() - middle);
    if (found != kLines / 10 || edit.Lines().Get(8) != "\tblink(PORTD, 8);" || edit.CanUndo()) std::abort();
  }
}

void BaselineWrap(benchmark::State& state) {
  const std::string& text = SourceText();
  Measure(state, "row count", [&] {
    // Rows of 80 columns per line, TABs expanded to stops of 8.
    long rows = 0;
    int column = 0;
    for (char c : text) {
      if (c == '\n') {
        rows += column / 80 + 1;
        column = 0;
      } else if (c == '\t') {
        column = (column / 8 + 1) * 8;
      } else if (c != '\r') {
        ++column;
      }
    }
    rows += column / 80 + 1;
    benchmark::DoNotOptimize(rows);
  });
}

// The first wrap after the text was loaded, as a user switching word wrap
// on in a freshly opened file waits for it; then the same wrap again.
void EditorWrap(benchmark::State& state) {
  vk::TSrcEdit& edit = Editor().Edit;
  if (edit.ColumnsInWindow() != 80) std::abort();
  for (auto _ : state) {
    edit.SrcSetText(SourceText());
    for (const char* key : {"editor word wrap, cold", "editor word wrap, warm"}) {
      const double start = Now();
      edit.SetWordWrap(true);
      benchmark::DoNotOptimize(edit.GetDisplayLineCount());
      Record(key, Now() - start);
      edit.SetWordWrap(false);
    }
  }
}

BENCHMARK(BaselineSearch)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(EditorSearch)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(EditorSearchAnyCase)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BaselineReplace)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(EditorReplaceAllAndUndo)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BaselineWrap)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(EditorWrap)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  PrintRatio("editor search", "memmem search");
  PrintRatio("editor search, any case", "memmem search");
  PrintRatio("editor replace-all", "memmem replace");
  PrintRatio("editor undo", "memmem restore");
  PrintRatio("editor word wrap, cold", "row count");
  PrintRatio("editor word wrap, warm", "row count");
  benchmark::Shutdown();
}
