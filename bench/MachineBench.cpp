// Simulated instructions per second: a loop program run through RunProgram with the trace on
// (it is always on) and a host whose event pump does nothing, in time slices of about 1 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "LoopProgram.h"
#include "NovaMachine.h"

namespace {

constexpr std::uint64_t InstructionsPerRun = 50'000'000;

class TIdleHost : public TMachineHost {};

void BM_RunLoopWithTrace(benchmark::State& state) {
  TNovaMachine machine;
  TIdleHost host;
  machine.SetHost(&host);
  for (int i = 0; i < int(std::size(LoopProgram)); ++i) machine.Memory[LoopProgramAddress + i].Data = LoopProgram[i];
  machine.InstructionLimit = InstructionsPerRun;
  for (auto _ : state) {
    machine.PC = LoopProgramAddress;
    const TStopReason reason = machine.RunProgram();
    if (reason != srLimit) state.SkipWithError("the run stopped early");
  }
  state.SetItemsProcessed(std::int64_t(state.iterations() * InstructionsPerRun));
  state.counters["Minstr/s"] = benchmark::Counter(double(state.iterations() * InstructionsPerRun) / 1e6,
                                                  benchmark::Counter::kIsRate);
  state.counters["trace"] = machine.TraceCount();
}
// This machine's timings vary a lot from run to run: repeat, and report the median and the best.
BENCHMARK(BM_RunLoopWithTrace)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });

}  // namespace

BENCHMARK_MAIN();
