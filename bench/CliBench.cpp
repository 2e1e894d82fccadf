// corvane-cli's own speed: the machine core's benchmark loop (LoopProgram.h), as a memory dump,
// run by `corvane-cli run` with an instruction limit. The machine's trace is always on; the
// timing is wall clock around the whole process, start-up included. Reports simulated
// instructions per second (median and best of several runs) against the target, and, for
// information, the cost of writing every instruction with --trace-out.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LoopProgram.h"
#include "MemoryDump.h"
#include "TimedProcess.h"

namespace {

constexpr double TargetMips = 170.0;
constexpr std::uint64_t LoopInstructions = 500'000'000;
constexpr std::uint64_t TracedInstructions = 5'000'000;
constexpr int Runs = 5;

const std::string Program = CORVANE_BINARY_DIR "/corvane-cli";

// Runs corvane-cli; seconds, or -1 on failure. Exit status 3: the instruction limit stopped the
// run, as intended.
double TimedRun(const std::vector<std::string>& args) { return TimedProcess(Program, args, 3); }

}  // namespace

int main() {
  char folder[] = "/tmp/corvane-cli-bench-XXXXXX";
  if (!mkdtemp(folder)) {
    std::perror("corvane-cli bench");
    return 1;
  }
  const std::string dump = std::string(folder) + "/loop.dmp";
  std::vector<TWord> words(LoopProgramAddress + std::size(LoopProgram) + 2, 0);
  std::copy(std::begin(LoopProgram), std::end(LoopProgram), words.begin() + LoopProgramAddress);
  TMachineError error;
  if (!WriteDumpFile(dump, words.data(), words.size(), error)) {
    std::fprintf(stderr, "corvane-cli bench: %s\n", ErrorText(error, elLine).c_str());
    return 1;
  }
  const std::string pc = "100";  // LoopProgramAddress in octal

  std::vector<double> mips;
  for (int i = 0; i < Runs; ++i) {
    const double s = TimedRun({"run", "--load-dump", dump, "--pc", pc, "--max-instructions",
                               std::to_string(LoopInstructions)});
    if (s <= 0) {
      std::fprintf(stderr, "corvane-cli bench: the run failed\n");
      std::remove(dump.c_str());
      rmdir(folder);
      return 1;
    }
    mips.push_back(double(LoopInstructions) / s / 1e6);
    std::printf("run %d: %.0f million instructions in %.2f s: %.1f Minstr/s\n", i + 1,
                double(LoopInstructions) / 1e6, s, mips.back());
  }
  std::sort(mips.begin(), mips.end());
  const double median = mips[mips.size() / 2];
  std::printf("corvane-cli run, loop with the trace on: median %.1f Minstr/s, best %.1f Minstr/s (target %.0f): %s\n",
              median, mips.back(), TargetMips, median >= TargetMips ? "met" : "NOT MET");

  const double traced = TimedRun({"run", "--load-dump", dump, "--pc", pc, "--max-instructions",
                                  std::to_string(TracedInstructions), "--trace-out", "/dev/null"});
  if (traced > 0)
    std::printf("with --trace-out /dev/null: %.1f Minstr/s (one line per instruction)\n",
                double(TracedInstructions) / traced / 1e6);
  std::remove(dump.c_str());
  rmdir(folder);
  return 0;
}
