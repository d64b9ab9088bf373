// TRegex against PCRE2 (interpreter, no JIT) and std::regex: compile each
// typical pattern, and find every match in a 10 MB source-like subject.
// std::regex scans a 1 MB slice and its time is scaled by 10 (it is too slow
// for the whole subject within a few seconds). A table of figures and
// ratios follows the benchmark output.

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <regex>
#include <string>

#include "SrcEdit/Source/SrcRegex.h"

namespace {

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

void MatchOurs(benchmark::State& state, const char* pattern) {
  vk::TRegex regex;
  PrepareOurs(regex, pattern);
  regex.SetInputString(Subject());
  for (auto _ : state) benchmark::DoNotOptimize(CountOurs(regex));
  state.counters["matches"] = static_cast<double>(CountOurs(regex));
}

void MatchPcre(benchmark::State& state, const char* pattern) {
  TPcre pcre(pattern);
  for (auto _ : state) benchmark::DoNotOptimize(pcre.Count(Subject()));
  state.counters["matches"] = static_cast<double>(pcre.Count(Subject()));
}

void MatchStd(benchmark::State& state, const char* pattern) {
  std::regex regex(pattern);
  std::string slice = Subject().substr(0, kStdSliceSize);
  for (auto _ : state) benchmark::DoNotOptimize(CountStd(regex, slice));
  state.counters["matches(1MB)"] = static_cast<double>(CountStd(regex, slice));
}

void CompileOurs(benchmark::State& state, const char* pattern) {
  vk::TRegex regex;
  PrepareOurs(regex, pattern);
  for (auto _ : state) regex.Compile();
}

void CompilePcre(benchmark::State& state, const char* pattern) {
  for (auto _ : state) TPcre pcre(pattern);
}

void CompileStd(benchmark::State& state, const char* pattern) {
  for (auto _ : state) benchmark::DoNotOptimize(std::regex(pattern));
}

// Keeps each run's time per iteration for the closing table.
class TTableReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) Times[run.run_name.function_name] = run.GetAdjustedRealTime();
  }

  void PrintTable() const {
    std::printf("\nPer pattern (match: all matches in 10 MB, ms; compile: us). std::regex match time is\n"
                "its 1 MB slice scaled by 10. Ratio = other engine's time / TRegex time (>1: TRegex faster).\n");
    std::printf("%-14s %-8s %12s %12s %12s %10s %10s\n", "pattern", "what", "TRegex", "PCRE2", "std::regex",
                "PCRE2/ours", "std/ours");
    for (const TCase& c : kCases) {
      PrintRow(c.Name, "match", 10.0);
      PrintRow(c.Name, "compile", 1.0);
    }
  }

  std::map<std::string, double> Times;  // per iteration, in each benchmark's unit

private:
  void PrintRow(const std::string& name, const std::string& what, double stdFactor) const {
    double ours = Times.at(what + "/" + name + "/TRegex");
    double pcre = Times.at(what + "/" + name + "/PCRE2");
    double std = Times.at(what + "/" + name + "/std::regex") * stdFactor;
    std::printf("%-14s %-8s %12.3f %12.3f %12.3f %10.2f %10.2f\n", name.c_str(), what.c_str(), ours, pcre, std,
                pcre / ours, std / ours);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Subject();
  for (const TCase& c : kCases) {
    std::string name = c.Name;
    benchmark::RegisterBenchmark(("match/" + name + "/TRegex").c_str(), MatchOurs, c.Pattern)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark(("match/" + name + "/PCRE2").c_str(), MatchPcre, c.Pattern)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark(("match/" + name + "/std::regex").c_str(), MatchStd, c.Pattern)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    benchmark::RegisterBenchmark(("compile/" + name + "/TRegex").c_str(), CompileOurs, c.Pattern)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("compile/" + name + "/PCRE2").c_str(), CompilePcre, c.Pattern)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("compile/" + name + "/std::regex").c_str(), CompileStd, c.Pattern)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  TTableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.Times.size() == 6 * std::size(kCases)) reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
