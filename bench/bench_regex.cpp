// TRegex against PCRE2 (interpreter, no JIT) and std::regex: compile each
// typical pattern, and find every match in a 10 MB source-like subject.
// std::regex scans a 1 MB slice and its time is scaled by 10 (it is too slow
// for the whole subject within a few seconds). The closing lines give, per
// pattern, the minimum and median of the repetitions and TRegex's ratio to
// each other engine (>1: TRegex is slower).

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <regex>
#include <string>

#include "SrcEdit/Source/SrcRegex.h"
#include "bench/BenchSupport.h"

namespace {

using namespace vk::bench;

constexpr size_t kSubjectSize = 10 * 1024 * 1024;
constexpr size_t kStdSliceSize = kSubjectSize / 10;

struct TCase {
  const char* Name;
  const char* Pattern;
};

// "." stops at line ends in every engine (TRegex: modifier s off).
const TCase kCases[] = {
    {"literal", "needle_function"},
    {"class-run", "[0-9]+"},
    {"keywords", "\\b(if|else|while|for|return|switch|case)\\b"},
    {"backtracking", "(\\w+)\\s*\\((.*)\\)\\s*;"},
    {"scheme-open", "<\\?php"},
    {"scheme-close", "\\?>"},
};

const std::string& Subject() {
  static const std::string subject = [] {
    static const char* const lines[] = {
        "    int value_%d = compute_total(alpha, %d);\n",
        "    if (count > %d) { return result_%d; }\n",
        "<?php echo $name_%d; $total += %d; ?>\n",
        "// a comment line with words, numbers %d and %d more words\n",
        "    while (index < limit_%d) index += %d;\n",
        "  else { switch (state) { case %d: break; default: state = %d; } }\n",
    };
    std::mt19937 random(42);
    std::string text;
    char line[160];
    for (int n = 0; text.size() < kSubjectSize; ++n) {
      const char* format = n % 997 == 0 ? "    needle_function(%d, %d);\n" : lines[random() % 6];
      std::snprintf(line, sizeof line, format, static_cast<int>(random() % 10000), static_cast<int>(random() % 100));
      text += line;
    }
    text.resize(kSubjectSize);
    return text;
  }();
  return subject;
}

// ---- The three engines ------------------------------------------------------------

int64_t CountOurs(vk::TRegex& regex) {
  int64_t count = 0;
  if (regex.ExecPos(1))
    do ++count;
    while (regex.ExecNext());
  return count;
}

struct TPcre {
  explicit TPcre(const char* pattern) {
    int error;
    PCRE2_SIZE offset;
    Code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0, &error, &offset, nullptr);
    Data = pcre2_match_data_create_from_pattern(Code, nullptr);
  }
  ~TPcre() {
    pcre2_match_data_free(Data);
    pcre2_code_free(Code);
  }
  int64_t Count(const std::string& subject) const {
    int64_t count = 0;
    PCRE2_SIZE start = 0;
    auto text = reinterpret_cast<PCRE2_SPTR>(subject.data());
    while (start <= subject.size() && pcre2_match(Code, text, subject.size(), start, 0, Data, nullptr) > 0) {
      PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(Data);
      ++count;
      start = ovector[1] > ovector[0] ? ovector[1] : ovector[1] + 1;
    }
    return count;
  }
  pcre2_code* Code;
  pcre2_match_data* Data;
};

int64_t CountStd(const std::regex& regex, const std::string& subject) {
  return std::distance(std::sregex_iterator(subject.begin(), subject.end(), regex), std::sregex_iterator());
}

void PrepareOurs(vk::TRegex& regex, const char* pattern) {
  regex.SetModifierStr("-s");
  regex.SetExpression(pattern);
}

// ---- Benchmarks -----------------------------------------------------------------------

// The key of an engine's figures for a pattern.
std::string Key(const char* what, const TCase& c, const char* engine) {
  return std::string(what) + "/" + c.Name + "/" + engine;
}

// TRegex and PCRE2 in turn, so that both see the same machine.
void Match(benchmark::State& state, const TCase& c) {
  vk::TRegex regex;
  PrepareOurs(regex, c.Pattern);
  regex.SetInputString(Subject());
  TPcre pcre(c.Pattern);
  MeasureInTurn(state, {{Key("match", c, "TRegex"), [&] { benchmark::DoNotOptimize(CountOurs(regex)); }},
                        {Key("match", c, "PCRE2"), [&] { benchmark::DoNotOptimize(pcre.Count(Subject())); }}});
  const int64_t matches = CountOurs(regex);
  if (matches != pcre.Count(Subject())) state.SkipWithError("the engines found different matches");
  state.counters["matches"] = static_cast<double>(matches);
}

void MatchStd(benchmark::State& state, const TCase& c) {
  std::regex regex(c.Pattern);
  std::string slice = Subject().substr(0, kStdSliceSize);
  for (auto _ : state) {
    const double start = Now();
    benchmark::DoNotOptimize(CountStd(regex, slice));
    Record(Key("match", c, "std::regex x10"), (Now() - start) * (kSubjectSize / kStdSliceSize));
  }
  state.counters["matches(1MB)"] = static_cast<double>(CountStd(regex, slice));
}

// Compiling takes microseconds: each repetition is a batch of compiles.
constexpr int kCompiles = 100;

template <class Compile>
void MeasureCompiles(benchmark::State& state, const std::string& key, Compile compile) {
  for (auto _ : state) {
    const double start = Now();
    for (int i = 0; i < kCompiles; ++i) compile();
    Record(key, (Now() - start) / kCompiles);
  }
}

void CompileOurs(benchmark::State& state, const TCase& c) {
  vk::TRegex regex;
  PrepareOurs(regex, c.Pattern);
  MeasureCompiles(state, Key("compile", c, "TRegex"), [&] { regex.Compile(); });
}

void CompilePcre(benchmark::State& state, const TCase& c) {
  MeasureCompiles(state, Key("compile", c, "PCRE2"), [&] { TPcre pcre(c.Pattern); });
}

void CompileStd(benchmark::State& state, const TCase& c) {
  MeasureCompiles(state, Key("compile", c, "std::regex"), [&] { benchmark::DoNotOptimize(std::regex(c.Pattern)); });
}

}  // namespace

int main(int argc, char** argv) {
  Subject();
  for (const TCase& c : kCases) {
    const std::string name = c.Name;
    auto add = [&](const char* what, const char* engine, void (*run)(benchmark::State&, const TCase&), int times,
                   benchmark::TimeUnit unit) {
      benchmark::RegisterBenchmark((std::string(what) + "/" + name + "/" + engine).c_str(), run, c)
          ->Unit(unit)
          ->Iterations(times);
    };
    add("match", "TRegex and PCRE2", Match, 7, benchmark::kMillisecond);
    add("match", "std::regex", MatchStd, 3, benchmark::kMillisecond);
    add("compile", "TRegex", CompileOurs, 21, benchmark::kMicrosecond);
    add("compile", "PCRE2", CompilePcre, 21, benchmark::kMicrosecond);
    add("compile", "std::regex", CompileStd, 21, benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::printf("\nmatch: every match in 10 MB (std::regex: its 1 MB slice x10); compile: one pattern\n");
  constexpr TUnit kMicroseconds{"us", 1e6};
  for (const TCase& c : kCases) {
    PrintRatio(Key("match", c, "TRegex"), Key("match", c, "PCRE2"));
    PrintRatio(Key("match", c, "TRegex"), Key("match", c, "std::regex x10"));
    PrintRatio(Key("compile", c, "TRegex"), Key("compile", c, "PCRE2"), kMicroseconds);
    PrintRatio(Key("compile", c, "TRegex"), Key("compile", c, "std::regex"), kMicroseconds);
  }
  benchmark::Shutdown();
  return 0;
}
