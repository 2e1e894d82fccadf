// The trace ring, watches with change detection and alerts, and the breakpoint list.
#include "MachineTestSupport.h"

using namespace w;

namespace {

constexpr TWord IncAc0 = Arith(INC, 0, 0);

TEST_F(MachineTest, TraceRingKeepsTheLast10000) {
  Load(0100, {IncAc0, Jmp(0100)});
  M.SetPumpInterval(997);
  EXPECT_EQ(RunFrom(0100, 10001), srLimit);
  ASSERT_EQ(M.TraceCount(), TraceCapacity);
  // The first record is the second executed instruction (JMP 100), the last is the 10001st.
  EXPECT_EQ(M.TraceItem(0).PC, 0101);
  EXPECT_EQ(M.TraceItem(0).ACs[0], 1);
  const TTraceData& last = M.TraceItem(TraceCapacity - 1);
  EXPECT_EQ(last.PC, 0100);
  EXPECT_EQ(last.Data, IncAc0);
  EXPECT_EQ(last.ACs[0], 5001);
  // Continues correctly across a later run and a single step.
  M.Step();
  EXPECT_EQ(M.TraceItem(TraceCapacity - 1).PC, 0101);
  EXPECT_EQ(M.TraceItem(0).PC, 0100);
}

TEST_F(MachineTest, TraceRecordsTheStateAfterTheInstruction) {
  Load(0100, {Arith(ADD, 1, 2, NoShift, O), nova::HaltWord});
  M.AC = {0, 3, 4, 0};
  M.PC = 0100;
  M.Step();
  M.Step();
  ASSERT_EQ(M.TraceCount(), 2);
  EXPECT_EQ(M.TraceItem(0).PC, 0100);
  EXPECT_EQ(M.TraceItem(0).Carry, 1);
  EXPECT_EQ(M.TraceItem(0).ACs, (TAccumulators{0, 3, 7, 0}));
  EXPECT_EQ(M.TraceItem(1).Data, nova::HaltWord);

  TTraceData manual;
  manual.PC = 01234;
  M.AddTraceItem(manual);
  EXPECT_EQ(M.TraceCount(), 3);
  EXPECT_EQ(M.TraceItem(2).PC, 01234);
  M.ClearTrace();
  EXPECT_EQ(M.TraceCount(), 0);
}

TEST_F(MachineTest, WatchAlertStopsAfterTheStore) {
  Load(0100, {IncAc0, Sta(0, 0200), IncAc0, Jmp(0100)});
  M.AddWatch(0200);
  M.AddWatch(0300);
  M.Watch[0].Alert = true;
  EXPECT_EQ(RunFrom(0100), srWatch);
  EXPECT_EQ(M.PC, 0102);
  EXPECT_EQ(M.TraceItem(M.TraceCount() - 1).Data, Sta(0, 0200));
  EXPECT_TRUE(M.Watch[0].Changed);
  EXPECT_EQ(M.Watch[0].Data, 1);
  EXPECT_FALSE(M.Watch[1].Changed);
  EXPECT_NE(M.LastStopDetail().find("000200"), std::string::npos);
}

TEST_F(MachineTest, WatchesWithoutAlertOnlyMark) {
  Load(0100, {IncAc0, Sta(0, 0200), IncAc0, nova::HaltWord});
  M.AddWatch(0200);
  EXPECT_EQ(RunFrom(0100), srHalt);
  EXPECT_FALSE(M.Watch[0].Changed);  // changed two instructions before the end
  EXPECT_EQ(M.Watch[0].Data, 1);
  EXPECT_FALSE(Host.WatchCounts.empty());
}

TEST_F(MachineTest, ChangesBetweenInstructionsAreSeen) {
  Load(0100, {IncAc0, IncAc0});
  M.AddWatch(0200);
  M.PC = 0100;
  M.Step();
  EXPECT_FALSE(M.Watch[0].Changed);
  M.Memory[0200].Data = 5;  // the user edits the cell
  M.Step();
  EXPECT_TRUE(M.Watch[0].Changed);
}

TEST_F(MachineTest, WatchListOperations) {
  M.Memory[0200].Data = 7;
  M.AddWatch(0200);
  M.Memory[0200].Data = 8;
  M.AddWatch(0100200);  // the same address: the first entry and its value stay
  ASSERT_EQ(M.Watch.size(), 1u);
  EXPECT_EQ(M.Watch[0].Data, 7);
  M.Memory[0100].Data = 0;
  M.AddWatch(0100);
  EXPECT_EQ(M.Watch[0].Addr, 0100);  // sorted by address

  M.Memory[0100].Data = 3;
  EXPECT_FALSE(M.CheckWatches(false));  // takes the values, marks nothing
  EXPECT_EQ(M.Watch[0].Data, 3);
  EXPECT_EQ(M.Watch[1].Data, 8);
  EXPECT_FALSE(M.Watch[0].Changed || M.Watch[1].Changed);

  M.Watch[1].Alert = true;
  M.Memory[0200].Data = 9;
  EXPECT_TRUE(M.CheckWatches(true));
  EXPECT_TRUE(M.Watch[1].Changed);

  M.RemoveWatch(0777);
  EXPECT_EQ(M.Watch.size(), 2u);
  EXPECT_EQ(Host.WatchCounts.back(), 2);
  M.RemoveWatch(0100100);  // the address has 15 bits
  EXPECT_EQ(M.Watch.size(), 1u);
  EXPECT_EQ(Host.WatchCounts.back(), 1);
  M.ClearWatches();
  EXPECT_TRUE(M.Watch.empty());
  EXPECT_EQ(Host.WatchCounts.back(), 0);
}

TEST_F(MachineTest, BreakpointListFollowsTheFlags) {
  M.SetBreakpoint(0300);
  M.SetBreakpoint(0100);
  M.SetBreakpoint(0100300);  // the same cell
  EXPECT_EQ(M.BreakPoints, (std::vector<TWord>{0100, 0300}));
  EXPECT_EQ(M.Memory[0300].Flags, BreakpointFlag);
  EXPECT_EQ(Host.BreakpointCounts.back(), 2);

  M.ClearBreakpoint(0100);
  EXPECT_EQ(M.Memory[0100].Flags, 0);
  EXPECT_EQ(M.BreakPoints, (std::vector<TWord>{0300}));

  M.ClearBreakpoint(0100);  // not listed: unchanged
  EXPECT_EQ(M.BreakPoints.size(), 1u);
  M.ClearBreakpoint(0300);
  EXPECT_TRUE(M.BreakPoints.empty());
  EXPECT_EQ(M.Memory[0300].Flags, 0);
  EXPECT_EQ(Host.BreakpointCounts.back(), 0);

  M.SetBreakpoint(0500);
  M.Memory[0500].Flags |= StepOverFlag;
  M.ClearBreakpoints();
  EXPECT_TRUE(M.BreakPoints.empty());
  EXPECT_EQ(M.Memory[0500].Flags, StepOverFlag);
  EXPECT_EQ(TNovaMachine::AddrKey(0100777), "000777");
}

}  // namespace
