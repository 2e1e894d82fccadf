// Run, step, step over, stop reasons, the instruction limit, event pumping, nested commands,
// reset and program load.
#include "MachineTestSupport.h"

using namespace w;

namespace {

constexpr TWord Nop = Arith(MOV, 0, 0);
constexpr TWord IncAc0 = Arith(INC, 0, 0);

TEST_F(MachineTest, RunStepsOverThePlainHaltOnly) {
  Load(0100, {nova::HaltWord, IncAc0, nova::HaltWord});
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.PC, 0102);
  EXPECT_EQ(M.ExecutedCount(), 2u);
  EXPECT_EQ(M.LastStopReason(), srHalt);

  Load(0200, {067077});  // HALT coded with AC1
  EXPECT_EQ(RunFrom(0200), srHalt);
  EXPECT_EQ(M.PC, 0200);
  EXPECT_EQ(M.ExecutedCount(), 3u);
  EXPECT_EQ(M.TraceItem(M.TraceCount() - 1).PC, 0200);
}

TEST_F(MachineTest, BreakpointStopsBeforeTheInstruction) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetBreakpoint(0100);
  EXPECT_EQ(RunFrom(0100), srBreakpoint);  // not before the first word
  EXPECT_EQ(M.PC, 0100);
  EXPECT_EQ(M.AC[0], 1);
  EXPECT_EQ(M.ExecutedCount(), 2u);
  EXPECT_EQ(M.RunProgram(), srBreakpoint);  // a new run executes it first
  EXPECT_EQ(M.AC[0], 2);
}

TEST_F(MachineTest, StepOverStopsAtTheReturnAddress) {
  Load(0100, {Jsr(0200), nova::HaltWord, nova::HaltWord});
  Load(0200, {Arith(INC, 1, 1), Jmp(0, 3)});  // returns with JMP 0,3
  M.PC = 0100;
  EXPECT_EQ(M.StepOver(), srStepOver);
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(M.AC[1], 1);
  EXPECT_EQ(M.Memory[0101].Flags, 0);
}

TEST_F(MachineTest, StepOverWithASkipReturnLeavesTheMark) {
  Load(0100, {Jsr(0200), nova::HaltWord, nova::HaltWord});
  Load(0200, {Jmp(1, 3)});  // skip return to 102
  M.PC = 0100;
  EXPECT_EQ(M.StepOver(), srHalt);
  EXPECT_EQ(M.PC, 0102);
  EXPECT_EQ(M.Memory[0101].Flags, StepOverFlag);
}

TEST_F(MachineTest, StepOverOfOtherWordsIsAStep) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.PC = 0100;
  EXPECT_EQ(M.StepOver(), srNone);
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(M.ExecutedCount(), 1u);

  M.SetMemSize(0200);
  Load(0177, {Jsr(0300)});
  M.PC = 0177;  // MemSize - 1
  EXPECT_EQ(M.StepOver(), srNone);
  EXPECT_EQ(M.PC, 0300);
  EXPECT_EQ(M.Memory[0200].Flags, 0);
}

TEST_F(MachineTest, BreakpointWinsOverTheStepOverMark) {
  Load(0100, {Jsr(0200), nova::HaltWord});
  Load(0200, {Jmp(0, 3)});
  M.SetBreakpoint(0101);
  M.PC = 0100;
  EXPECT_EQ(M.StepOver(), srBreakpoint);
  EXPECT_EQ(M.Memory[0101].Flags, BreakpointFlag | StepOverFlag);
}

TEST_F(MachineTest, InstructionLimitIsExact) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetPumpInterval(1000);
  EXPECT_EQ(RunFrom(0100, 12345), srLimit);
  EXPECT_EQ(M.ExecutedCount(), 12345u);
  M.SetPumpInterval(0);
  EXPECT_EQ(RunFrom(0100, 3), srLimit);
  EXPECT_EQ(M.ExecutedCount(), 12348u);
}

TEST_F(MachineTest, DeterministicPumpingAndCounts) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetPumpInterval(100);
  Host.OnPump = [&] {
    if (Host.Pumps == 5) M.RequestStop();
  };
  EXPECT_EQ(RunFrom(0100), srStop);
  EXPECT_EQ(M.ExecutedCount(), 500u);
  EXPECT_EQ(M.AC[0], 250);
  // The trace count is reported at each pump and at the end, not per instruction.
  EXPECT_EQ(Host.TraceCounts, (std::vector<int>{100, 200, 300, 400, 500, 500}));
  EXPECT_EQ(Host.Lamps, (std::vector<bool>{true, false, false}));
}

TEST_F(MachineTest, TimeSlicesPumpEvents) {
  Load(0100, {IncAc0, Jmp(0100)});
  Host.OnPump = [&] { M.RequestStop(); };
  EXPECT_EQ(RunFrom(0100, ~std::uint64_t(0)), srStop);
  EXPECT_EQ(Host.Pumps, 1);
}

TEST_F(MachineTest, ShowEachStepRefreshesAndPumpsPerInstruction) {
  Load(0100, {IncAc0, IncAc0, IncAc0, nova::HaltWord});
  M.ShowEachStep = true;
  std::vector<TWord> seen;
  Host.OnRegistersChanged = [&] { seen.push_back(M.AC[0]); };
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(Host.Pumps, 4);
  EXPECT_EQ(seen, (std::vector<TWord>{1, 2, 3, 3, 3}));  // per step, then at the end
}

TEST_F(MachineTest, CommandsAreRefusedWhileRunning) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetPumpInterval(10);
  std::vector<TStopReason> nested;
  Host.OnPump = [&] {
    nested = {M.RunProgram(), M.Step(), M.StepOver(), M.ProgramLoad()};
    M.RequestStop();
  };
  EXPECT_EQ(RunFrom(0100), srStop);
  EXPECT_EQ(nested, (std::vector<TStopReason>(4, srRefused)));
  EXPECT_EQ(M.ExecutedCount(), 10u);
  EXPECT_EQ(M.Memory[0].Data, 0);  // no bootstrap
}

TEST_F(MachineTest, ChangesMadeDuringAPumpAreSeen) {
  Load(0100, {IncAc0, Jmp(0100)});
  Load(0200, {nova::HaltWord});
  M.SetPumpInterval(7);
  Host.OnPump = [&] {
    M.PC = 0200;
    M.AC[1] = 0777;
  };
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_EQ(M.PC, 0200);
  EXPECT_EQ(M.ExecutedCount(), 8u);
  EXPECT_EQ(M.AC[1], 0777);
}

TEST_F(MachineTest, ResetDuringARun) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetPumpInterval(50);
  Host.OnPump = [&] { M.ResetCpu(); };
  EXPECT_EQ(RunFrom(0100), srStop);
  EXPECT_EQ(M.PC, 2);
  EXPECT_EQ(M.AC[0], 0);
  EXPECT_EQ(M.TraceCount(), 0);
  EXPECT_EQ(M.ExecutedCount(), 50u);
}

TEST_F(MachineTest, ResetCpu) {
  Load(0100, {IncAc0, INTEN, Nop});
  M.PC = 0100;
  M.SetBreakpoint(0500);
  M.AddWatch(0501);
  Steps(3);
  ASSERT_TRUE(M.IntEnable);
  M.IrqFlag = true;
  M.Carry = 1;
  M.ResetCpu();
  EXPECT_EQ(M.PC, 2);
  EXPECT_EQ(M.AC, TAccumulators{});
  EXPECT_EQ(M.Carry, 0);
  EXPECT_FALSE(M.IntEnable || M.PreEnable || M.IrqFlag);
  EXPECT_EQ(M.TraceCount(), 0);
  EXPECT_EQ(Host.TraceCounts.back(), 0);
  EXPECT_EQ(M.Memory[0100].Data, IncAc0);
  EXPECT_EQ(M.BreakPoints.size(), 1u);
  EXPECT_EQ(M.Watch.size(), 1u);
}

TEST_F(MachineTest, ClearMemoryAndMemSize) {
  M.SetMemSize(0100);
  Load(0, {1, 2, 3});
  M.Memory[077].Data = 7;
  M.Memory[0100].Data = 8;
  M.SetBreakpoint(1);
  M.ClearMemory();
  EXPECT_EQ(M.Memory[1].Data, 0);
  EXPECT_EQ(M.Memory[077].Data, 0);
  EXPECT_EQ(M.Memory[0100].Data, 8);  // beyond MemSize
  EXPECT_EQ(M.Memory[1].Flags, BreakpointFlag);
  EXPECT_EQ(M.PC, 0);
  EXPECT_EQ(M.SetMemSize(0), 1);
  EXPECT_EQ(M.SetMemSize(65535), 32768);
}

TEST_F(MachineTest, KeyPress) {
  EXPECT_EQ(TNovaMachine::KeyToTtiByte(8, false), 0177);
  EXPECT_EQ(TNovaMachine::KeyToTtiByte('q', true), 0121);
  EXPECT_EQ(TNovaMachine::KeyToTtiByte('q', false), 'q');
  EXPECT_EQ(TNovaMachine::KeyToTtiByte('{', true), '{');
  EXPECT_EQ(TNovaMachine::KeyToTtiByte(0x141, false), 0101);  // low 8 bits
  M.KeyPress('a', true);
  EXPECT_TRUE(M.Tti.DoneFlag());
  EXPECT_EQ(M.Tti.InputByte(), 0101);
  EXPECT_TRUE(M.IrqFlag);
}

TEST_F(MachineTest, ProgramLoadPlacesTheBootstrap) {
  M.Switches = 0100000 | 020;  // an empty device code: the loader never gets a byte
  M.Memory[0].Flags = BreakpointFlag;
  M.InstructionLimit = 5000;
  EXPECT_EQ(M.ProgramLoad(), srLimit);
  // The loader patched the device code (plus one) into its I/O words.
  for (int a = 0; a < 32; ++a) {
    const bool patched = a == 014 || a == 030 || a == 032;
    EXPECT_EQ(M.Memory[a].Data, TNovaMachine::Bootstrap[a] + (patched ? 021 : 0)) << a;
  }
  EXPECT_EQ(M.Memory[0].Flags, BreakpointFlag);
  EXPECT_EQ(M.Memory[0377].Data, 0377);  // the jump to itself
  EXPECT_EQ(M.PC, 0377);
}

}  // namespace
