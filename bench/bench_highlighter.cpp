// Highlighting throughput: every line of a generated 1,000,000-line AVR C
// source is scanned through the highlighter base interface, as the editor
// does when it paints and rescans, against the same run's baseline of
// walking the same bytes with memchr for the line ends. Also counts heap
// allocations inside the scan: there must be none per token. The
// multi-language highlighter scans the same file with every "{".."}" block
// as a C region inside build-output text, so regions open and close within
// lines and run across lines.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "SrcEdit/Source/SrcHighlighterAvr.h"
#include "SrcEdit/Source/SrcHighlighterErrorWarning.h"
#include "SrcEdit/Source/SrcHighlighterMulti.h"

namespace {

size_t gAllocations = 0;

}  // namespace

// Out of line, so the compiler does not pair the inlined malloc and free
// with the allocations of the code that calls them.
__attribute__((noinline)) void* operator new(size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {

using namespace vk;

constexpr int kLineCount = 1000000;

struct TSource {
  std::string Text;  // the lines, each ended by LF
  std::vector<std::string_view> Lines;
};

// AVR-style C: registers, bit names, hex numbers, comments (also across
// lines), directives (also continued), strings and plain code.
const TSource& Source() {
  static const TSource source = [] {
    const char* shapes[] = {
        "#include <avr/io.h>",
        "#define F_CPU 8000000UL",
        "#define BAUD_PRESCALE (((F_CPU / (USART_BAUDRATE * 16UL))) - 1) \\",
        "        + 0",
        "/* Timer 0 drives the multiplexed display: every overflow shows",
        "   the next digit and reloads the counter. */",
        "ISR(TIMER0_OVF_vect)",
        "{",
        "    TCNT0 = 0x3C;            // reload for 1 ms",
        "    PORTB = (PORTB & 0xF0) | digits[current];",
        "    UCSRB |= _BV(RXEN) | _BV(TXEN) | _BV(RXCIE);",
        "    if (counter++ >= 250) { counter = 0; flags ^= 0x01; }",
        "    printf(\"value=%d\\n\", adc_read(3));",
        "    for (uint8_t i = 0; i < sizeof(buffer); i++) buffer[i] = pgm_read_byte(&table[i]);",
        "    eeprom_write_byte((uint8_t *)0x10, 'A');",
        "    TIMSK |= (1 << TOIE0); sei();",
        "    return result * 3.5e2 - offset;",
        "}",
        "",
    };
    TSource s;
    uint32_t seed = 12345;
    for (int i = 0; i < kLineCount; ++i) {
      seed = seed * 1103515245u + 12345u;
      // Pairs that open a construct are followed by their closing line.
      size_t shape = (seed >> 16) % std::size(shapes);
      if (shape == 3 || shape == 5) --shape;
      s.Text += shapes[shape];
      s.Text += '\n';
      if (shape == 2 || shape == 4) {
        s.Text += shapes[shape + 1];
        s.Text += '\n';
        ++i;
      }
    }
    for (size_t start = 0; start < s.Text.size();) {
      const size_t end = s.Text.find('\n', start);
      s.Lines.emplace_back(s.Text.data() + start, end - start);
      start = end + 1;
    }
    return s;
  }();
  return source;
}

void ScanThroughBase(benchmark::State& state, TSrcCustomHighlighter& hl) {
  const TSource& source = Source();
  size_t tokens = 0;
  const size_t allocationsBefore = gAllocations;
  for (auto _ : state) {
    hl.ResetRange();
    for (std::string_view line : source.Lines) {
      hl.SetLine(line, 0);
      while (!hl.GetEol()) {
        benchmark::DoNotOptimize(hl.GetTokenPos());
        benchmark::DoNotOptimize(hl.GetTokenAttribute());
        ++tokens;
        hl.Next();
      }
      hl.SetRange(hl.GetRange());
    }
  }
  const size_t allocations = gAllocations - allocationsBefore;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.Text.size()));
  state.counters["tokens"] = static_cast<double>(tokens) / static_cast<double>(state.iterations());
  state.counters["allocations"] = static_cast<double>(allocations);
}

void BM_HighlightThroughBase(benchmark::State& state) {
  TSrcAvrHl avr(nullptr);
  ScanThroughBase(state, avr);
}

void BM_MultiHighlightThroughBase(benchmark::State& state) {
  TSrcAvrHl avr(nullptr);
  TErrorWarningHl output(nullptr);
  TSrcMultiHl multi(nullptr);
  multi.SetDefaultHighlighter(&output);
  TScheme& block = *multi.Schemes()->Add();
  block.SetStartExpr("\\{");
  block.SetEndExpr("\\}");
  block.SetHighlighter(&avr);
  ScanThroughBase(state, multi);
}

void BM_MemchrLineWalk(benchmark::State& state) {
  const TSource& source = Source();
  for (auto _ : state) {
    const char* p = source.Text.data();
    const char* end = p + source.Text.size();
    size_t lines = 0;
    while (p < end) {
      p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))) + 1;
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.Text.size()));
}

BENCHMARK(BM_HighlightThroughBase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultiHighlightThroughBase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemchrLineWalk)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's throughput for the closing comparison.
class TThroughputReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& reports) override {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports)
      if (auto it = run.counters.find("bytes_per_second"); it != run.counters.end())
        BytesPerSecond[run.run_name.function_name] = it->second.value;
  }
  std::map<std::string, double> BytesPerSecond;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Source();  // built before timing starts
  TThroughputReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double highlight = reporter.BytesPerSecond["BM_HighlightThroughBase"] / 1e6;
  const double multi = reporter.BytesPerSecond["BM_MultiHighlightThroughBase"] / 1e6;
  const double baseline = reporter.BytesPerSecond["BM_MemchrLineWalk"] / 1e6;
  if (highlight > 0 && baseline > 0)
    std::printf("\nhighlighter %.1f MB/s, memchr line walk %.1f MB/s, highlighter/baseline %.3f\n", highlight, baseline,
                highlight / baseline);
  if (multi > 0 && baseline > 0)
    std::printf("multi-language highlighter %.1f MB/s, memchr line walk %.1f MB/s, multi/baseline %.3f\n", multi,
                baseline, multi / baseline);
  benchmark::Shutdown();
  return 0;
}
