// Typing through the command processor on a generated 1,000,000-line C
// source, at the end of the last line and at line 500,000, against the same
// typing on a 1,000-line file in the same run: the time per keystroke
// (including the highlighter's range rescan and the invalidation) must not
// grow with the size of the file. Enter and Backspace near the top, in the
// middle and at the end of that source, with and without word wrap, against
// the same keys at the same places of the 1,000-line file. A replace-all
// over that source and the one Undo that takes it back, against building the
// same texts with memmem. Keys on lines of 10,000, 100,000 and 1,000,000
// bytes (font tables written as one initializer), each followed by the paint
// of its update region, against the same keys on a short line of the same
// file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <span>
#include <string>

#include "SrcEdit/Source/SrcEdit.h"
#include "SrcEdit/Source/SrcEditSearch.h"
#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "bench/BenchSupport.h"

namespace {

using namespace vk::bench;

// An editor with a window and the C highlighter, showing the file.
struct TEditorOnFile {
  explicit TEditorOnFile(int lineCount) {
    Edit.HandleNeeded();
    Edit.SetBounds(0, 0, 900, 700);
    Edit.Lines().SetTextStr(AvrSource(lineCount));
    Edit.SetHighlighter(&Highlighter);
  }
  ~TEditorOnFile() { Edit.SetHighlighter(nullptr); }
  vk::TSrcAvrHl Highlighter{nullptr};
  vk::TSrcEdit Edit{nullptr};
};

constexpr int Keystrokes = 1000;

// Types 1,000 characters at the end of the given line (0: the last).
void Typing(benchmark::State& state, int lineCount, int line, const std::string& key) {
  TEditorOnFile editor(lineCount);
  vk::TSrcEdit& edit = editor.Edit;
  const int target = line == 0 ? edit.Lines().Count() : line;
  long long keys = 0;
  for (auto _ : state) {
    edit.CommandProcessor(vk::ecGotoXY, 0,
                          vk::TBufferCoord{static_cast<int>(edit.Lines().Get(target - 1).size()) + 1, target});
    const double start = Now();
    for (int i = 0; i < Keystrokes; ++i) edit.CommandProcessor(vk::ecChar, static_cast<char>('a' + i % 26));
    Record(key, (Now() - start) / Keystrokes);
    keys += Keystrokes;
    edit.Update();
  }
  // Every keystroke typed, also beyond the scroll width.
  if (edit.Lines().Get(target - 1).size() < static_cast<size_t>(keys)) state.SkipWithError("keystrokes were lost");
}

void LastLineBig(benchmark::State& state) { Typing(state, 1000000, 0, "last line, 1,000,000 lines"); }
void MiddleBig(benchmark::State& state) { Typing(state, 1000000, 500000, "line 500,000 of 1,000,000"); }
void LastLineSmall(benchmark::State& state) { Typing(state, 1000, 0, "last line, 1,000 lines"); }
void MiddleSmall(benchmark::State& state) { Typing(state, 1000, 500, "line 500 of 1,000"); }

// ---------------------------------------------------------------- line breaks and joins
//
// At each place, 200 Enters in the middle of a line, then the 200 Backspaces
// that join the lines again; each figure is the time per key. The first
// Enter at a place is reported on its own: it moves the line store's gap
// (and the word wrap's) from the place edited before, which the keys after
// it at the same place do not. The places are lines without leading
// blanks, so that auto-indent adds nothing for Backspace to take away
// first: the second line, the line after the middle one and the last line
// (empty).

constexpr int Breaks = 200;

std::string BreakKey(const char* key, const char* where, int lineCount, bool wrap) {
  return std::string(key) + ", " + where + (lineCount == 1000 ? ", 1,000" : ", 1,000,000") + (wrap ? ", wrap" : "");
}

void BreakAndJoin(benchmark::State& state, int lineCount, bool wrap) {
  TEditorOnFile editor(lineCount);
  vk::TSrcEdit& edit = editor.Edit;
  edit.SetWordWrap(wrap);
  const struct {
    const char* Where;
    int Line;
  } places[] = {{"top", 2}, {"middle", lineCount / 2 + 2}, {"end", lineCount}};
  for (auto _ : state) {
    for (const auto& place : places) {
      const std::string before = edit.Lines().Get(place.Line - 1);
      edit.CommandProcessor(vk::ecGotoXY, 0, vk::TBufferCoord{static_cast<int>(before.size()) / 2 + 1, place.Line});
      const double start = Now();
      edit.CommandProcessor(vk::ecLineBreak, 0);
      const double first = Now();
      for (int i = 1; i < Breaks; ++i) edit.CommandProcessor(vk::ecLineBreak, 0);
      const double middle = Now();
      for (int i = 0; i < Breaks; ++i) edit.CommandProcessor(vk::ecDeleteLastChar, 0);
      const double end = Now();
      Record(BreakKey("first Enter", place.Where, lineCount, wrap), first - start);
      Record(BreakKey("Enter", place.Where, lineCount, wrap), (middle - first) / (Breaks - 1));
      Record(BreakKey("Backspace", place.Where, lineCount, wrap), (end - middle) / Breaks);
      edit.Update();
      // Every break was joined again.
      if (edit.Lines().Count() != lineCount || edit.Lines().Get(place.Line - 1) != before)
        state.SkipWithError("the joins did not restore the text");
    }
  }
}

void BreaksSmall(benchmark::State& state) { BreakAndJoin(state, 1000, false); }
void BreaksBig(benchmark::State& state) { BreakAndJoin(state, 1000000, false); }
void BreaksSmallWrapped(benchmark::State& state) { BreakAndJoin(state, 1000, true); }
void BreaksBigWrapped(benchmark::State& state) { BreakAndJoin(state, 1000000, true); }

// ---------------------------------------------------------------- long lines
//
// Lines 500,001, 500,009 and 500,017 of the 1,000,000-line source are font
// tables of 10,000, 100,000 and 1,000,000 bytes. On each of them and on line
// 500,004 (a comment of 45 bytes), taken in turn in each repetition: from
// the middle, 100 characters typed, the 100 Backspaces that take them away,
// 100 Rights and 100 Lefts; then 100 Ends and Homes in turn (End from the
// start, Home from the end), and at the end of the line 100 characters typed
// (taken away again, unmeasured). Typing starts with the caret at the
// window's left edge, the same place on every line. Every key is followed
// by the paint of the region it left to update. Each figure is the time per
// key.

constexpr int LongLineKeys = 100;

std::string FontTable(size_t length) {
  std::string table = "const uint8_t font[] PROGMEM = {";
  char entry[8];
  for (int i = 0; table.size() < length; ++i) {
    std::snprintf(entry, sizeof entry, "0x%02X, ", i & 0xFF);
    table += entry;
  }
  table.resize(length - 2);
  return table + "};";
}

struct TLongLine {
  int Line;
  const char* Name;
  size_t Length;  // 0: the line as the source has it
};

constexpr TLongLine kLongLines[] = {
    {500004, "short line", 0},
    {500001, "10,000-byte line", 10000},
    {500009, "100,000-byte line", 100000},
    {500017, "1,000,000-byte line", 1000000},
};

constexpr const char* kLineKeys[] = {"type, middle", "Backspace, middle", "Right", "Left", "End", "Home", "type, end"};

std::string LineKey(const char* key, const TLongLine& line) { return std::string(key) + ", " + line.Name; }

void KeysOnLongLine(benchmark::State& state) {
  TEditorOnFile editor(1000000);
  vk::TSrcEdit& edit = editor.Edit;
  for (const TLongLine& line : kLongLines)
    if (line.Length) edit.Lines().Put(line.Line - 1, FontTable(line.Length));
  const std::string original = edit.Lines().GetTextStr();
  auto press = [&](vk::TSrcEditorCommand command, char c) {
    edit.CommandProcessor(command, c);
    edit.Update();
  };
  auto keys = [&](const std::string& key, vk::TSrcEditorCommand command, char c = 0) {
    const double start = Now();
    for (int i = 0; i < LongLineKeys; ++i) press(command, c);
    Record(key, (Now() - start) / LongLineKeys);
  };
  // The caret at the column, at the window's left edge.
  auto place = [&](int column, int line) {
    edit.CommandProcessor(vk::ecGotoXY, 0, vk::TBufferCoord{column, line});
    edit.SetLeftChar(column);
    edit.Update();
  };
  auto on = [&](const TLongLine& line) {
    const int length = static_cast<int>(edit.Lines().Get(line.Line - 1).size());
    place(length / 2 + 1, line.Line);
    keys(LineKey("type, middle", line), vk::ecChar, 'a');
    keys(LineKey("Backspace, middle", line), vk::ecDeleteLastChar);
    keys(LineKey("Right", line), vk::ecRight);
    keys(LineKey("Left", line), vk::ecLeft);
    press(vk::ecLineStart, 0);
    double ends = 0, homes = 0;
    for (int i = 0; i < LongLineKeys; ++i) {
      const double start = Now();
      press(vk::ecLineEnd, 0);
      const double middle = Now();
      press(vk::ecLineStart, 0);
      ends += middle - start;
      homes += Now() - middle;
    }
    Record(LineKey("End", line), ends / LongLineKeys);
    Record(LineKey("Home", line), homes / LongLineKeys);
    place(length + 1, line.Line);
    keys(LineKey("type, end", line), vk::ecChar, 'a');
    for (int i = 0; i < LongLineKeys; ++i) edit.CommandProcessor(vk::ecDeleteLastChar, 0);
  };
  size_t first = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < std::size(kLongLines); ++i) on(kLongLines[(first + i) % std::size(kLongLines)]);
    ++first;
    if (edit.Lines().GetTextStr() != original) state.SkipWithError("the keys did not restore the text");
  }
}

BENCHMARK(KeysOnLongLine)->Unit(benchmark::kMillisecond)->Iterations(8);

// ---------------------------------------------------------------- replace-all and its undo
//
// Every "the" of the 1,000,000-line source (375,000 matches on 250,000
// lines) becomes "that" in an editor with the highlighter and the default
// undo limit, as in a document window, and one Undo takes it all back. The
// baselines build the replaced and the restored text with memmem. Each
// figure is the minimum and the median of the repetitions.

const char* const kFound = "the";
const char* const kReplacement = "that";

void BaselineReplaceAll(benchmark::State& state) {
  const std::string text = AvrSource(1000000);
  for (auto _ : state) {
    const double start = Now();
    const std::string replaced = ReplaceBytes(text, kFound, kReplacement);
    const double middle = Now();
    const std::string restored = ReplaceBytes(replaced, kReplacement, kFound);
    Record("memmem replace", middle - start);
    Record("memmem restore", Now() - middle);
    if (restored != text) state.SkipWithError("the baseline changed the text");
  }
}

void EditorReplaceAll(benchmark::State& state) {
  TEditorOnFile editor(1000000);
  vk::TSrcEdit& edit = editor.Edit;
  vk::TSrcEditSearch engine(nullptr);
  edit.SetSearchEngine(&engine);
  const std::string original = edit.Lines().GetTextStr();
  const vk::TSrcSearchOptions options{vk::ssoReplaceAll, vk::ssoEntireScope, vk::ssoMatchCase};
  for (auto _ : state) {
    const double start = Now();
    const int found = edit.SearchReplace(kFound, kReplacement, options);
    const double middle = Now();
    edit.Undo();
    const double end = Now();
    Record("replace-all", middle - start);
    Record("undo of replace-all", end - middle);
    state.counters["matches"] = found;
    // One Undo took back every replacement.
    if (edit.CanUndo() || edit.Lines().GetTextStr() != original) state.SkipWithError("undo left the text changed");
  }
  edit.SetSearchEngine(nullptr);
}

BENCHMARK(BaselineReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(EditorReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK(LastLineSmall)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(MiddleSmall)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(LastLineBig)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(MiddleBig)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK(BreaksSmall)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BreaksBig)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BreaksSmallWrapped)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BreaksBigWrapped)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  // Seconds are kept per keystroke here.
  constexpr TUnit kMicrosecondsPerKey{"us/key", 1e6};
  PrintRatio("last line, 1,000,000 lines", "last line, 1,000 lines", kMicrosecondsPerKey);
  PrintRatio("line 500,000 of 1,000,000", "line 500 of 1,000", kMicrosecondsPerKey);
  for (const bool wrap : {false, true})
    for (const char* key : {"first Enter", "Enter", "Backspace"})
      for (const char* where : {"top", "middle", "end"})
        PrintRatio(BreakKey(key, where, 1000000, wrap), BreakKey(key, where, 1000, wrap), kMicrosecondsPerKey);
  for (const char* key : kLineKeys)
    for (const TLongLine& line : std::span(kLongLines).subspan(1))
      PrintRatio(LineKey(key, line), LineKey(key, kLongLines[0]), kMicrosecondsPerKey);
  PrintRatio("replace-all", "memmem replace");
  PrintRatio("undo of replace-all", "memmem restore");
  benchmark::Shutdown();
}
