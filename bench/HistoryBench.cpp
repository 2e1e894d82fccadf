// Going back in time: the cost of recording (the 40-million-instruction loop with the history
// on and off, in the same run), the memory of a full history of 10 million instructions, and
// the time of one reverse step, a reverse run and a look for the last writer with it full.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "LoopProgram.h"
#include "NovaMachine.h"

namespace {

constexpr std::uint64_t LoopInstructions = 40'000'000;

class TIdleHost : public TMachineHost {};

void Prepare(TNovaMachine& m, std::uint64_t history) {
  for (int i = 0; i < int(std::size(LoopProgram)); ++i) m.Memory[LoopProgramAddress + i].Data = LoopProgram[i];
  m.SetHistorySize(history);
}

// Arg 0: the history off; 1: on, 10 million instructions.
void BM_Loop40M(benchmark::State& state) {
  TNovaMachine machine;
  TIdleHost host;
  machine.SetHost(&host);
  Prepare(machine, state.range(0) ? DefaultHistorySize : 0);
  machine.InstructionLimit = LoopInstructions;
  for (auto _ : state) {
    machine.PC = LoopProgramAddress;
    if (machine.RunProgram() != srLimit) state.SkipWithError("the run stopped early");
  }
  state.counters["Minstr/s"] = benchmark::Counter(double(state.iterations() * LoopInstructions) / 1e6,
                                                  benchmark::Counter::kIsRate);
  state.counters["history MiB"] = double(machine.HistoryBytes()) / (1 << 20);
}

// A machine whose history of 10 million instructions is full (the loop ran 12 million).
TNovaMachine& FullHistory() {
  static TNovaMachine* machine = [] {
    auto* m = new TNovaMachine;
    Prepare(*m, DefaultHistorySize);
    m->PC = LoopProgramAddress;
    m->InstructionLimit = 12'000'000;
    m->RunProgram();
    return m;
  }();
  return *machine;
}

void Report(benchmark::State& state, const TNovaMachine& m) {
  state.counters["history MiB"] = double(m.HistoryBytes()) / (1 << 20);
  state.counters["reaches back"] = double(m.ExecutedCount() - m.HistoryStart());
}

// Each iteration one instruction back from the end (then forward again, untimed).
void BM_ReverseStep(benchmark::State& state) {
  TNovaMachine& m = FullHistory();
  const std::uint64_t end = m.HistoryEnd();
  for (auto _ : state) {
    if (!m.ReverseStep()) state.SkipWithError("no reverse step");
    state.PauseTiming();
    m.TravelTo(end);
    state.ResumeTiming();
  }
  Report(state, m);
}

// The slowest reverse step: just after a frame, the most instructions to execute again.
void BM_ReverseStepFarthestFromAFrame(benchmark::State& state) {
  TNovaMachine& m = FullHistory();
  const std::uint64_t end = m.HistoryEnd();
  const std::uint64_t target = m.HistoryStart() + 2 * THistory::FrameInterval - 1;
  for (auto _ : state) {
    state.PauseTiming();
    m.TravelTo(target + 1);
    state.ResumeTiming();
    if (!m.ReverseStep()) state.SkipWithError("no reverse step");
  }
  m.TravelTo(end);
  Report(state, m);
}

// A reverse run that finds no breakpoint: the whole history looked through.
void BM_ReverseRunThroughAll(benchmark::State& state) {
  TNovaMachine& m = FullHistory();
  const std::uint64_t end = m.HistoryEnd();
  for (auto _ : state) {
    m.ReverseRun();
    state.PauseTiming();
    m.TravelTo(end);
    state.ResumeTiming();
  }
  Report(state, m);
}

// The last writer of a word the loop never writes: the whole history looked through.
void BM_LastWriterNone(benchmark::State& state) {
  TNovaMachine& m = FullHistory();
  for (auto _ : state) benchmark::DoNotOptimize(m.LastWriter(0200));
  Report(state, m);
}

// This machine's timings vary a lot from run to run: repeat, and report the median and the best.
#define CORVANE_HISTORY_BENCHMARK(name)                                 \
  BENCHMARK(name)                                                       \
      ->Unit(benchmark::kMillisecond)                                   \
      ->UseRealTime()                                                   \
      ->Repetitions(5)                                                  \
      ->ReportAggregatesOnly(true)                                      \
      ->ComputeStatistics("max", [](const std::vector<double>& v) {     \
        return *std::max_element(v.begin(), v.end());                   \
      })
// Off and on alternate, so that both see the same state of the machine.
CORVANE_HISTORY_BENCHMARK(BM_Loop40M)->Arg(0)->Arg(1)->Arg(0)->Arg(1);
CORVANE_HISTORY_BENCHMARK(BM_ReverseStep);
CORVANE_HISTORY_BENCHMARK(BM_ReverseStepFarthestFromAFrame);
CORVANE_HISTORY_BENCHMARK(BM_ReverseRunThroughAll);
CORVANE_HISTORY_BENCHMARK(BM_LastWriterNone);

}  // namespace

BENCHMARK_MAIN();
