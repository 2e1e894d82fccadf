// Tape file checker: binary-mode checking of generated tapes, in bytes per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

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

void PutWord(std::string& tape, std::uint16_t w) {
  tape += static_cast<char>(w & 0xFF);
  tape += static_cast<char>(w >> 8);
}

// Data blocks of 1 to 16 words with gaps of 0 to 7 NUL frames, a repeat block now and then,
// a start block at the end.
std::string MakeTape(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string tape(97, '\0');
  std::uint16_t address = 0;
  while (tape.size() < size) {
    tape.append(random() % 8, '\0');
    if (random() % 64 == 0) {
      const std::uint16_t w = 0177700, value = static_cast<std::uint16_t>(random());
      for (std::uint16_t word : {w, address, static_cast<std::uint16_t>(-(w + address + value)), value})
        PutWord(tape, word);
      address = static_cast<std::uint16_t>(address + 077);
      continue;
    }
    const unsigned n = 1 + random() % 16;
    const std::uint16_t w = static_cast<std::uint16_t>(0x10000 - n);
    std::uint16_t sum = static_cast<std::uint16_t>(w + address);
    std::uint16_t words[16];
    for (unsigned i = 0; i < n; ++i) sum = static_cast<std::uint16_t>(sum + (words[i] = random()));
    for (std::uint16_t word : {w, address, static_cast<std::uint16_t>(-sum)}) PutWord(tape, word);
    for (unsigned i = 0; i < n; ++i) PutWord(tape, words[i]);
    address = static_cast<std::uint16_t>((address + n) & 077777);
  }
  for (std::uint16_t word : {std::uint16_t(1), std::uint16_t(0100000), std::uint16_t(077777)}) PutWord(tape, word);
  return tape;
}

class TTapeFolder {
public:
  TTapeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "checker-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data())) Path = pattern;
    for (int i = 0; i < TapeCount; ++i) {
      const std::string tape = MakeTape(TapeSize, 1000 + i);
      std::ofstream(Path + "/tape" + std::to_string(i) + ".ab", std::ios::binary) << tape;
      Bytes += tape.size();
    }
  }
  ~TTapeFolder() {
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
  }
  std::string Path;
  std::size_t Bytes = 0;
};

TTapeFolder& Tapes() {
  static TTapeFolder folder;
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
