// Instruction text speed: the disassembler runs once per visible row and listing line.
#include "NovaUtils.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

static void BM_CommandToStrListing(benchmark::State& state) {
  unsigned w = 0;
  for (auto _ : state) {
    std::string text = CommandToStr(int(w & 077777), std::uint16_t(w), nmOctal, true);
    benchmark::DoNotOptimize(text);
    w = (w + 4099) & 0xFFFF;  // walks all classes
  }
}
BENCHMARK(BM_CommandToStrListing);

static void BM_FormatWordOctal(benchmark::State& state) {
  unsigned w = 0;
  for (auto _ : state) {
    std::string text = FormatWord(w, nmOctal);
    benchmark::DoNotOptimize(text);
    w = (w + 4099) & 0xFFFF;
  }
}
BENCHMARK(BM_FormatWordOctal);

static void BM_StrToCommand(benchmark::State& state) {
  std::vector<std::string> lines;
  for (unsigned w = 0; w < 0x10000; w += 4099) lines.push_back(CommandToStr(-1, std::uint16_t(w), nmOctal, false));
  std::size_t i = 0;
  for (auto _ : state) {
    std::uint16_t word;
    benchmark::DoNotOptimize(StrToCommand(lines[i], 01000, word));
    benchmark::DoNotOptimize(word);
    i = (i + 1) % lines.size();
  }
}
BENCHMARK(BM_StrToCommand);

BENCHMARK_MAIN();
