// Throttle accuracy on the real clock: the loop program (LoopProgram.h) run for about two
// seconds at 1,000, 100,000 and 1,000,000 instructions per second and in Nova 800 mode. Reports
// the error of the wall-clock time against the simulated time in percent (negative: the run was
// fast), the longest wall-clock gap between two event pumps (a slice and its hold), and how
// often lost time was let go.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "LoopProgram.h"
#include "NovaMachine.h"
#include "Throttle.h"

namespace {

using TClock = std::chrono::steady_clock;

class TPumpTimes : public TMachineHost {
public:
  void PumpEvents() override {
    const TClock::time_point now = TClock::now();
    if (FLast != TClock::time_point{}) Longest = std::max(Longest, now - FLast);
    FLast = now;
  }
  TClock::duration Longest{};

private:
  TClock::time_point FLast{};
};

struct TCase {
  const char* Name;
  std::uint32_t Speed;
  std::uint64_t Instructions;  // about two seconds' worth
};

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
  // The loop program charges 1.6 + 0.8 + 1.6 + 0.8 + 1.6 + 0.8 = 7.2 us for 6 instructions in
  // Nova 800 mode: 1.2 us on average.
  const TCase cases[] = {
      {"1,000/s", 1'000, std::uint64_t(1'000 * seconds)},
      {"100,000/s", 100'000, std::uint64_t(100'000 * seconds)},
      {"1,000,000/s", 1'000'000, std::uint64_t(1'000'000 * seconds)},
      {"Nova 800", speed::Nova800, std::uint64_t(seconds * 1e9 / 1200)},
  };
  std::printf("%-12s %12s %10s %10s %10s %9s %8s\n", "speed", "instructions", "simulated", "wall", "error", "worst", "dropped");
  for (const TCase& c : cases) {
    TNovaMachine machine;
    TPumpTimes host;
    machine.SetHost(&host);
    for (int i = 0; i < int(std::size(LoopProgram)); ++i) machine.Memory[LoopProgramAddress + i].Data = LoopProgram[i];
    machine.PC = LoopProgramAddress;
    machine.SetSpeed(c.Speed);
    machine.InstructionLimit = c.Instructions;
    const TClock::time_point start = TClock::now();
    const TStopReason reason = machine.RunProgram();
    const double wall = std::chrono::duration<double>(TClock::now() - start).count();
    if (reason != srLimit) {
      std::fprintf(stderr, "throttle bench: the run at %s stopped early\n", c.Name);
      return 1;
    }
    const double simulated = double(machine.SimTimeNs()) / 1e9;
    std::printf("%-12s %12llu %9.4fs %9.4fs %+9.3f%% %7.2fms %8llu\n", c.Name,
                static_cast<unsigned long long>(c.Instructions), simulated, wall, (wall - simulated) / simulated * 100,
                std::chrono::duration<double, std::milli>(host.Longest).count(),
                static_cast<unsigned long long>(machine.Throttle().LagsDropped()));
  }
  return 0;
}
