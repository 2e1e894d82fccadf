// The front panel's commands as the core carries them out: one table of the commands that
// examine and deposit, and the commands that run, step, load and reset.
#include "MachineTestSupport.h"

using namespace w;

namespace {

constexpr TWord IncAc0 = Arith(INC, 0, 0);

struct TPanelCase {
  const char* Name;
  TNovaCommands Command;
  TWord Switches;
  TPanelLamps Before;
  TPanelLamps After;
  std::function<void(const TNovaMachine&)> Check;  // may be empty
};

class PanelTable : public ::testing::TestWithParam<TPanelCase> {};

TEST_P(PanelTable, ExamineAndDeposit) {
  const TPanelCase& c = GetParam();
  TNovaMachine m;
  TRecordingHost host;
  m.SetHost(&host);
  for (int a = 0; a < MemoryWords; ++a) m.Memory[std::size_t(a)].Data = TWord(a ^ 0125252);
  m.AC = {0100, 0101, 0102, 0103};
  m.PC = 0500;
  m.Switches = c.Switches;
  TPanelLamps lamps = c.Before;
  EXPECT_EQ(m.PanelCommand(c.Command, lamps), srNone);
  EXPECT_EQ(lamps, c.After);
  EXPECT_EQ(m.PC, 0500);
  EXPECT_EQ(m.ExecutedCount(), 0u);
  if (c.Check) c.Check(m);
}

constexpr TWord Pattern(int a) { return TWord(a ^ 0125252); }

const TPanelCase PanelCases[] = {
    {"DepositAc2", ncDepAc2, 0177777, {0300, 0}, {0300, 0177777},
     [](const TNovaMachine& m) { EXPECT_EQ(m.AC, (TAccumulators{0100, 0101, 0177777, 0103})); }},
    {"ExamineAc3", ncExAc3, 0, {0300, 0}, {0300, 0103}, {}},
    {"Examine", ncEx, 01234, {0300, 0}, {01234, Pattern(01234)}, {}},
    {"ExamineIgnoresTheTopBit", ncEx, 0177777, {0, 0}, {077777, Pattern(077777)}, {}},
    {"ExamineNext", ncExNext, 0, {0300, 0}, {0301, Pattern(0301)}, {}},
    {"ExamineNextWraps", ncExNext, 0, {077777, 0}, {0, Pattern(0)}, {}},
    {"Deposit", ncDep, 0123456, {0300, 0}, {0300, 0123456},
     [](const TNovaMachine& m) { EXPECT_EQ(m.Memory[0300].Data, 0123456); }},
    {"DepositNextWraps", ncDepNext, 7, {077777, 0}, {0, 7},
     [](const TNovaMachine& m) {
       EXPECT_EQ(m.Memory[0].Data, 7);
       EXPECT_EQ(m.Memory[077777].Data, Pattern(077777));
     }},
    {"MemStepDoesNothing", ncMemStep, 0, {0300, 5}, {0300, 5}, {}},
    {"StopWhileStopped", ncStop, 0, {0300, 5}, {0300, 5}, {}},
};

INSTANTIATE_TEST_SUITE_P(Commands, PanelTable, ::testing::ValuesIn(PanelCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(MachineTest, PanelDepositsTellTheHost) {
  TPanelLamps lamps{0100, 0};
  M.Switches = 5;
  M.PanelCommand(ncDep, lamps);
  M.PanelCommand(ncDepAc0, lamps);
  EXPECT_EQ(Host.Told, (std::vector<std::string>{"words 000100+1", "registers"}));
}

TEST_F(MachineTest, PanelStartRunsFromTheSwitches) {
  Load(0200, {IncAc0, nova::HaltWord});
  M.Switches = 0100200;  // the top bit is not an address bit
  TPanelLamps lamps{0, 0};
  EXPECT_EQ(M.PanelCommand(ncStart, lamps), srHalt);
  EXPECT_EQ(M.PC, 0201);
  EXPECT_EQ(M.AC[0], 1);
  EXPECT_EQ(lamps, (TPanelLamps{0201, nova::HaltWord}));  // the lamps show PC again
  // CONTINUE runs on from PC: over the HALT that stopped it.
  M.Memory[0202].Data = 067077;
  EXPECT_EQ(M.PanelCommand(ncCont, lamps), srHalt);
  EXPECT_EQ(M.PC, 0202);
}

TEST_F(MachineTest, PanelInstStepAndReset) {
  Load(0100, {IncAc0, IncAc0});
  M.PC = 0100;
  TPanelLamps lamps{0300, 0};
  EXPECT_EQ(M.PanelCommand(ncInstStep, lamps), srNone);
  EXPECT_EQ(M.ExecutedCount(), 1u);
  EXPECT_EQ(lamps, (TPanelLamps{0101, IncAc0}));
  EXPECT_EQ(M.PanelCommand(ncReset, lamps), srNone);
  EXPECT_EQ(M.PC, 2);
  EXPECT_EQ(M.TraceCount(), 0);
  EXPECT_EQ(lamps.Address, 2);
}

TEST_F(MachineTest, PanelProgramLoadRunsTheLoader) {
  M.Switches = 012;  // the reader, which never delivers here: the loader waits for it
  M.InstructionLimit = 10000;
  M.PC = 0500;
  TPanelLamps lamps;
  EXPECT_EQ(M.PanelCommand(ncProgLoad, lamps), srLimit);
  for (int a : {0, 1, 2, 013, 037})  // words the loader does not patch
    EXPECT_EQ(M.Memory[std::size_t(a)].Data, TNovaMachine::Bootstrap[std::size_t(a)]);
  EXPECT_EQ(M.TraceItem(0).PC, 0);  // started at 0
  EXPECT_LT(M.PC, 040);
  EXPECT_EQ(lamps, (TPanelLamps{M.PC, M.Memory[M.PC].Data}));
}

TEST_F(MachineTest, PanelStopAndRefusedStartDuringARun) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetPumpInterval(100);
  TPanelLamps lamps{0300, 1};
  TStopReason nested = srNone;
  Host.OnPump = [&] {
    M.Switches = 0200;
    nested = M.PanelCommand(ncStart, lamps);  // refused: PC stays
    M.PanelCommand(ncStop, lamps);
  };
  EXPECT_EQ(RunFrom(0100), srStop);
  EXPECT_EQ(nested, srRefused);
  EXPECT_EQ(M.PC, 0100);
  EXPECT_EQ(lamps, (TPanelLamps{0300, 1}));
}

}  // namespace
