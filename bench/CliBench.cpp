// corvane-cli's own speed: the machine core's benchmark loop (LoopProgram.h), as a memory dump,
// run by `corvane-cli run` with an instruction limit. The machine's trace is always on; the
// timing is wall clock around the whole process, start-up included. Reports simulated
// instructions per second (median and best of several runs) against the target, and, for
// information, the cost of writing every instruction with --trace-out.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LoopProgram.h"
#include "MemoryDump.h"

extern char** environ;

namespace {

constexpr double TargetMips = 170.0;
constexpr std::uint64_t LoopInstructions = 500'000'000;
constexpr std::uint64_t TracedInstructions = 5'000'000;
constexpr int Runs = 5;

const std::string Program = CORVANE_BINARY_DIR "/corvane-cli";

// Runs corvane-cli with the arguments, standard streams on /dev/null; seconds, or -1 on failure.
double TimedRun(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(Program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int error = posix_spawn(&pid, Program.c_str(), &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (error != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  // Exit status 3: the instruction limit stopped the run, as intended.
  return WIFEXITED(status) && WEXITSTATUS(status) == 3 ? took.count() : -1;
}

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
  std::string error;
  if (!WriteDumpFile(dump, words.data(), words.size(), error)) {
    std::fprintf(stderr, "corvane-cli bench: %s\n", error.c_str());
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
