// Simulated instructions per second: a loop program run through RunProgram with the trace on
// (it is always on) and a host whose event pump does nothing, in time slices of about 1 ms.
#include <benchmark/benchmark.h>

#include "NovaMachine.h"

namespace {

// 000100  LDA 0,120   load the running sum
// 000101  ADD 1,0     add the counter
// 000102  STA 0,120   store the sum
// 000103  INC 1,1     count up
// 000104  DSZ 121     count the passes down
// 000105  JMP 100     loop
// 000106  JMP 100     (after DSZ reached zero) loop on
constexpr TWord LoopProgram[] = {020120, 0123000, 040120, 0125400, 014121, 000100, 000100};
constexpr std::uint64_t InstructionsPerRun = 50'000'000;

class TIdleHost : public TMachineHost {};

void BM_RunLoopWithTrace(benchmark::State& state) {
  TNovaMachine machine;
  TIdleHost host;
  machine.SetHost(&host);
  for (int i = 0; i < int(std::size(LoopProgram)); ++i) machine.Memory[0100 + i].Data = LoopProgram[i];
  machine.InstructionLimit = InstructionsPerRun;
  for (auto _ : state) {
    machine.PC = 0100;
    const TStopReason reason = machine.RunProgram();
    if (reason != srLimit) state.SkipWithError("the run stopped early");
  }
  state.SetItemsProcessed(std::int64_t(state.iterations() * InstructionsPerRun));
  state.counters["Minstr/s"] = benchmark::Counter(double(state.iterations() * InstructionsPerRun) / 1e6,
                                                  benchmark::Counter::kIsRate);
  state.counters["trace"] = machine.TraceCount();
}
BENCHMARK(BM_RunLoopWithTrace)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
