// The sample programs as the build assembles them, program-loaded from the paper-tape reader as
// the front panel does: the greeting, the lamp chaser and its speed, the interrupt-driven echo.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "NovaMachine.h"
#include "Peripherals.h"

namespace {

const std::string Samples = CORVANE_BINARY_DIR "/samples/";

// The value of a sample's symbol, from the symbol file the build writes beside its tape.
int Symbol(const std::string& sample, const std::string& name) {
  std::ifstream in(Samples + sample + ".sym");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(name + " ", 0) == 0) return std::stoi(line.substr(name.size() + 1), nullptr, 8);
  ADD_FAILURE() << name << " is not in " << sample << ".sym";
  return 0;
}

struct TTeletype : TPeripheralHost {
  std::string Out;
  void TeletypeOut(std::uint8_t b) override { Out += char(b); }
};

class SamplesTest : public ::testing::Test {
protected:
  // Program load of the sample's tape with the switches at 000012; runs until it stops or the
  // instruction limit.
  TStopReason ProgramLoad(const std::string& sample, std::uint64_t limit) {
    EXPECT_TRUE(P.OpenPtrFile(Samples + sample + ".bin"));
    M.Switches = 012;
    M.InstructionLimit = limit;
    return M.ProgramLoad();
  }
  TStopReason Run(std::uint64_t limit) {
    M.InstructionLimit = limit;
    return M.RunProgram();
  }
  TNovaMachine M;
  TTeletype Tty;
  TPeripherals P{M, &Tty};
};

TEST_F(SamplesTest, HelloPrintsItsGreetingAndHalts) {
  EXPECT_EQ(ProgramLoad("hello", 100000), srHalt);
  EXPECT_EQ(Tty.Out, "HELLO, WORLD!\r\n");
}

// The light moves one lamp to the right per step, the leftmost again after the rightmost; the
// switches set how many instructions a step takes.
TEST_F(SamplesTest, LampChaserRunsAtTheSpeedOfTheSwitches) {
  const int light = Symbol("lamps", "LIGHT");
  ASSERT_EQ(ProgramLoad("lamps", 20000), srLimit);
  M.Switches = 0;
  std::vector<TWord> seen;
  for (int i = 0; i < 400 && seen.size() < 18; ++i) {
    Run(100);
    if (seen.empty() || seen.back() != M.Memory[light].Data) seen.push_back(M.Memory[light].Data);
  }
  ASSERT_GE(seen.size(), 18u);
  for (std::size_t i = 1; i < seen.size(); ++i) {
    const TWord expected = seen[i - 1] == 1 ? 0100000 : TWord(seen[i - 1] >> 1);
    EXPECT_EQ(seen[i], expected) << i;
  }
  // Counted in instructions: a step with the switches at 000007 takes eight times as long as one
  // at 000000.
  const auto stepLength = [&](TWord switches) {
    M.Switches = switches;
    const TWord start = M.Memory[light].Data;
    for (int n = 0; M.Memory[light].Data == start && n < 1'000'000; ++n) Run(1);
    const TWord next = M.Memory[light].Data;
    std::uint64_t length = 0;
    for (; M.Memory[light].Data == next && length < 1'000'000; ++length) Run(1);
    return length;
  };
  const std::uint64_t fast = stepLength(0), slow = stepLength(7);
  EXPECT_NEAR(double(slow) / double(fast), 8.0, 0.1) << fast << " " << slow;
}

TEST_F(SamplesTest, EchoAnswersEveryKeyFromItsInterrupts) {
  ASSERT_EQ(ProgramLoad("echo", 20000), srLimit);
  EXPECT_TRUE(M.IntEnable);
  // Keys typed faster than the printer prints: the queue holds them.
  for (char key : std::string("NOVA\r")) {
    M.KeyPress(key, false);
    Run(2000);
  }
  Run(20000);
  EXPECT_EQ(Tty.Out, "NOVA\r\n");
  M.KeyPress(033, false);
  EXPECT_EQ(Run(20000), srHalt);
}

}  // namespace
