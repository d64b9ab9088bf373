// What the settings dialog and the result box wait for on a makefile of
// another origin: make's dry run, on a project of 50 sources of which 10 are
// built by a sub-make, against the same dry run typed by hand (make -n -w -B
// through the shell, its output read and dropped), in the same run:
//   RunMakeDryRun with the commands read         vs  make -n by hand
//   the settings dialog's import of the makefile vs  make -n by hand
//   the question's comparison of the old and the new makefile (two dry
//   runs)                                        vs  make -n by hand, twice

#include <stdlib.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchSupport.h"
#include "services/EnvironmentMakefile.h"
#include "services/EnvironmentMakefileOther.h"
#include "services/EnvironmentMakefileReplace.h"
#include "services/MakeDryRun.h"

namespace {

using namespace vk::bench;

void WriteFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

// 40 sources beside main.c and 10 in lib/, which a sub-make archives; the
// top makefile links them with its own objects.
struct TProject {
  TProject() {
    std::string pattern = "/tmp/vk-bench-make-XXXXXX";
    Folder = mkdtemp(pattern.data());
    std::filesystem::create_directory(Folder + "/lib");
    std::string objects, libObjects;
    for (int i = 0; i < 40; ++i) {
      WriteFile(Folder + "/s" + std::to_string(i) + ".c", "int s" + std::to_string(i) + ";\n");
      objects += " s" + std::to_string(i) + ".o";
    }
    for (int i = 0; i < 10; ++i) {
      WriteFile(Folder + "/lib/l" + std::to_string(i) + ".c", "int l" + std::to_string(i) + ";\n");
      libObjects += " l" + std::to_string(i) + ".o";
    }
    WriteFile(Folder + "/main.c", "int main(void) { return 0; }\n");
    WriteFile(Folder + "/lib/Makefile", "CFLAGS = -mmcu=atmega8 -Os\nOBJ =" + libObjects +
                                            "\nlibl.a: $(OBJ)\n\tavr-ar rcs $@ $^\n"
                                            "%.o: %.c\n\tavr-gcc $(CFLAGS) -c $< -o $@\n");
    WriteFile(Folder + "/Makefile", "MCU = atmega8\nCFLAGS = -mmcu=$(MCU) -Os -Wall -DF_CPU=8000000UL\n"
                                    "OBJ = main.o" + objects + "\nall: main.elf\n"
                                    "lib/libl.a:\n\t$(MAKE) -C lib\n"
                                    "main.elf: $(OBJ) lib/libl.a\n\tavr-gcc $(CFLAGS) -Wl,-Map,main.map $^ -o $@\n"
                                    "%.o: %.c\n\tavr-gcc $(CFLAGS) -c $< -o $@\n");
  }
  ~TProject() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
  }
  std::string Folder;
};

const TProject& Project() {
  static TProject project;
  return project;
}

void MakeByHand() {
  const std::string command = "cd '" + Project().Folder + "' && LC_ALL=C make -n -w -B >/dev/null 2>&1 </dev/null";
  benchmark::DoNotOptimize(std::system(command.c_str()));
}

void DryRun(benchmark::State& state) {
  MeasureInTurn(state, {{"dry run", [] {
                           const vk::TMakeDryRun dryRun = vk::RunMakeDryRun(Project().Folder, "");
                           if (dryRun.Commands.Compiles.size() != 51) std::abort();
                         }},
                        {"make -n by hand", MakeByHand}});
}

void Import(benchmark::State& state) {
  MeasureInTurn(state, {{"settings import", [] {
                           vk::TMakefileOptions options;
                           benchmark::DoNotOptimize(vk::ImportOtherMakefile(Project().Folder, "main.c", "", options));
                         }},
                        {"make -n by hand (import)", MakeByHand}});
}

void Comparison(benchmark::State& state) {
  vk::TMakefileOptions options;
  options.Target = "main";
  vk::ImportOtherMakefile(Project().Folder, "main.c", "", options);
  const std::string text = vk::MakefileText(options);
  MeasureInTurn(state, {{"replacement question", [&] {
                           benchmark::DoNotOptimize(
                               vk::MakefileReplacementLosses(Project().Folder, "main.c", "", text));
                         }},
                        {"make -n by hand, twice", [] {
                           MakeByHand();
                           MakeByHand();
                         }}});
}

}  // namespace

BENCHMARK(DryRun)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(Import)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(Comparison)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatio("dry run", "make -n by hand");
  PrintRatio("settings import", "make -n by hand (import)");
  PrintRatio("replacement question", "make -n by hand, twice");
  return 0;
}
