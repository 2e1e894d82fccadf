// The whole-file assembler on a generated source of 20,000 lines: labels, every instruction
// class, forward references, equates, data words and texts, comments. Assembling it (both
// passes) should take well under a second; the tape and the listing are measured beside it.
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "AsmOutput.h"
#include "Assembler.h"

namespace {

constexpr int Lines = 20000;

// Groups of ten lines; each jumps forward to the next group's label, reads a word of its own
// and one through page zero.
std::string GeneratedSource() {
  std::string s = "        .TITL BENCH\n        .LOC 400\nZERO = 20\n";
  int count = 3;
  const auto add = [&](std::initializer_list<std::string_view> parts) {
    for (std::string_view p : parts) s.append(p);
    s += '\n';
    ++count;
  };
  int g = 0;
  for (; count + 10 + 2 <= Lines; ++g) {
    const std::string n = std::to_string(g), next = std::to_string(g + 1), value = std::to_string(g % 100);
    add({"L", n, ":   LDA 0,W", n, "       ; a word of this group"});
    add({"        ADDZL# 0,1,SZC"});
    add({"        STA 1,@ZERO"});
    add({"        DOAS 0,TTO"});
    add({"        SKPDN TTO"});
    add({"        JMP .-1"});
    add({"        ISZ W", n});
    add({"        JMP L", next});
    add({"W", n, ":   ", value, ".+1B0"});
    add({g % 4 == 0 ? "        .TXT /G<15><12>/" : "; a comment line"});
  }
  while (count + 2 < Lines) add({"; filler"});
  add({"L", std::to_string(g), ": HALT"});
  add({"        .END L0"});
  return s;
}

const std::string& Source() {
  static const std::string source = GeneratedSource();
  return source;
}

TAsmProgram AssembleSource() {
  std::vector<TAsmSource> sources;
  sources.push_back({"bench.sr", Source()});
  return Assemble(std::move(sources));
}

void BM_Assemble20000Lines(benchmark::State& state) {
  for (auto _ : state) {
    TAsmProgram p = AssembleSource();
    if (!p.Ok()) state.SkipWithError(p.ErrorText(p.Errors[0]).c_str());
    benchmark::DoNotOptimize(p.Words.data());
  }
  state.counters["lines"] = double(AssembleSource().Lines.size());
  state.counters["lines/s"] = benchmark::Counter(double(Lines), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Assemble20000Lines)->Unit(benchmark::kMillisecond);

void BM_TapeAndListingOf20000Lines(benchmark::State& state) {
  const TAsmProgram p = AssembleSource();
  for (auto _ : state) {
    std::vector<std::uint8_t> tape = AbsoluteTape(p);
    std::string listing = ListingText(p);
    benchmark::DoNotOptimize(tape.data());
    benchmark::DoNotOptimize(listing.data());
  }
}
BENCHMARK(BM_TapeAndListingOf20000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
