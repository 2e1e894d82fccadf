// Simulated instructions per second: a loop program run through RunProgram with the trace on
// (it is always on) and a host whose event pump does nothing, in time slices of about 1 ms;
// without breakpoints, and with data breakpoints of several sizes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "LoopProgram.h"
#include "NovaMachine.h"

namespace {

constexpr std::uint64_t InstructionsPerRun = 50'000'000;

class TIdleHost : public TMachineHost {};

// The loop with the breakpoints that Setup sets (none: the plain loop).
void RunLoop(benchmark::State& state, void (*Setup)(TNovaMachine&)) {
  TNovaMachine machine;
  TIdleHost host;
  machine.SetHost(&host);
  for (int i = 0; i < int(std::size(LoopProgram)); ++i) machine.Memory[LoopProgramAddress + i].Data = LoopProgram[i];
  if (Setup) Setup(machine);
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

void BM_RunLoopWithTrace(benchmark::State& state) { RunLoop(state, nullptr); }

TBreakpoint DataBreak(TBreakKind kind, TWord first, TWord last, const char* condition = "") {
  TBreakpoint b;
  b.Kind = kind;
  b.First = first;
  b.Last = last;
  b.Condition = condition;
  return b;
}

// One data breakpoint on a word the loop does not touch: the checked loop's own cost.
void BM_DataBreakOne(benchmark::State& state) {
  RunLoop(state, [](TNovaMachine& m) { m.SetBreakpoint(DataBreak(bkAccess, 0200, 0200)); });
}
// A range of 1000 words (1000 to 2747) beside the loop.
void BM_DataBreakRange1000(benchmark::State& state) {
  RunLoop(state, [](TNovaMachine& m) { m.SetBreakpoint(DataBreak(bkAccess, 01000, 02747)); });
}
// A write breakpoint on the sum the loop stores at every pass, with a condition that never
// holds: the cost of a breakpoint reached 1 instruction in 6 and evaluated each time.
void BM_DataBreakReachedEachPass(benchmark::State& state) {
  RunLoop(state, [](TNovaMachine& m) { m.SetBreakpoint(DataBreak(bkWrite, 0120, 0120, "PC == 0 && AC0 == 0")); });
}

// This machine's timings vary a lot from run to run: repeat, and report the median and the best.
#define CORVANE_LOOP_BENCHMARK(name)                                    \
  BENCHMARK(name)                                                       \
      ->Unit(benchmark::kMillisecond)                                   \
      ->UseRealTime()                                                   \
      ->Repetitions(7)                                                  \
      ->ReportAggregatesOnly(true)                                      \
      ->ComputeStatistics("max", [](const std::vector<double>& v) {     \
        return *std::max_element(v.begin(), v.end());                   \
      })
CORVANE_LOOP_BENCHMARK(BM_RunLoopWithTrace);
CORVANE_LOOP_BENCHMARK(BM_DataBreakOne);
CORVANE_LOOP_BENCHMARK(BM_DataBreakRange1000);
CORVANE_LOOP_BENCHMARK(BM_DataBreakReachedEachPass);

}  // namespace

BENCHMARK_MAIN();
