// Tape file checker: binary-mode checking of generated tapes, in bytes per second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "GeneratedTapes.h"
#include "ResultSink.h"
#include "TapeChecker.h"

namespace {

constexpr int TapeCount = 4;
constexpr std::size_t TapeSize = 8u << 20;  // 4 tapes of 8 MiB

class TNullSink : public TResultSink {
public:
  void ClearLines() override {}
  void AppendLine(const std::string& line) override { Bytes += line.size(); }
  void SelectLastLine() override {}
  std::size_t Bytes = 0;
};

TTapeFolder& Tapes() {
  static TTapeFolder folder(TapeCount, TapeSize);
  return folder;
}

void RunCheck(benchmark::State& state, bool contents) {
  TTapeFolder& tapes = Tapes();
  TNullSink sink;
  TTapeChecker checker(sink);
  const TCheckParams params{cmBinary, tapes.Path, "*.ab", false, contents};
  for (auto _ : state) {
    if (checker.Run(params) != crComplete) state.SkipWithError("run failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * tapes.Bytes));
  state.counters["MB"] = static_cast<double>(tapes.Bytes) / 1e6;
}

void BM_CheckBinaryTapes(benchmark::State& state) { RunCheck(state, false); }
void BM_CheckBinaryTapesWithContents(benchmark::State& state) { RunCheck(state, true); }

}  // namespace

BENCHMARK(BM_CheckBinaryTapes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckBinaryTapesWithContents)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
