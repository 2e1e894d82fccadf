// Data breakpoints (which accesses are reads and writes), conditions and hit counts, step out,
// run to here, and the trace length.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "MachineTestSupport.h"

using namespace w;

namespace {

// One instruction at 0100 (HALT after it and after its skip), the words it works on, and the
// word watched. Reads and Writes: whether the instruction reads or writes that word.
struct TAccessCase {
  const char* Name;
  std::function<void(TNovaMachine&)> Setup;
  TWord Watched;
  bool Reads;
  bool Writes;
  TWord StopPC = 0101;  // where the run stops after it
  bool ByInterrupt = false;
};

void Put(TNovaMachine& m, std::initializer_list<std::pair<int, int>> words) {
  for (const auto& [a, v] : words) m.Memory[std::size_t(a)].Data = TWord(v);
}

const TAccessCase AccessCases[] = {
    {"STA page zero", [](TNovaMachine& m) { Put(m, {{0100, Sta(0, 050)}}); m.AC[0] = 7; }, 050, false, true},
    {"STA of the value already there",
     [](TNovaMachine& m) { Put(m, {{0100, Sta(0, 050)}, {050, 7}}); m.AC[0] = 7; }, 050, false, true},
    {"LDA relative", [](TNovaMachine& m) { Put(m, {{0100, Lda(1, 3, 1)}, {0103, 5}}); }, 0103, true, false},
    {"ISZ indexed by AC2",
     [](TNovaMachine& m) { Put(m, {{0100, Isz(3, 2)}, {0203, 4}}); m.AC[2] = 0200; }, 0203, true, true},
    {"DSZ page zero, skipping", [](TNovaMachine& m) { Put(m, {{0100, Dsz(040)}, {040, 1}}); }, 040, true, true, 0102},
    {"LDA indirect: a word of the chain",
     [](TNovaMachine& m) { Put(m, {{0100, Lda(0, 060, 0, true)}, {060, 0100070}, {070, 0400}}); }, 070, true, false},
    {"LDA indirect: the word loaded",
     [](TNovaMachine& m) { Put(m, {{0100, Lda(0, 060, 0, true)}, {060, 0100070}, {070, 0400}}); }, 0400, true, false},
    {"LDA through 20, counting up",
     [](TNovaMachine& m) { Put(m, {{0100, Lda(0, 020, 0, true)}, {020, 0477}}); }, 020, true, true},
    {"STA through 37, counting down",
     [](TNovaMachine& m) { Put(m, {{0100, Sta(0, 037, 0, true)}, {037, 0501}}); }, 037, true, true},
    {"STA through 37: the word stored",
     [](TNovaMachine& m) { Put(m, {{0100, Sta(0, 037, 0, true)}, {037, 0501}}); }, 0500, false, true},
    {"ISZ through 25, the counted word the chain's end",
     [](TNovaMachine& m) { Put(m, {{0100, Isz(025, 0, true)}, {025, 0477}}); }, 0500, true, true},
    {"JMP indirect reads its chain",
     [](TNovaMachine& m) { Put(m, {{0100, Jmp(060, 0, true)}, {060, 0110}, {0110, HALT}}); }, 060, true, false, 0110},
    {"JMP's target is only fetched",
     [](TNovaMachine& m) { Put(m, {{0100, Jmp(0110)}, {0110, HALT}}); }, 0110, false, false},
    {"the instruction's own fetch", [](TNovaMachine& m) { Put(m, {{0100, Lda(0, 050)}}); }, 0100, false, false},
    {"an arithmetic instruction", [](TNovaMachine& m) { Put(m, {{0100, Arith(ADD, 0, 1)}}); }, 0, false, false},
    {"the interrupt's store into 0",
     [](TNovaMachine& m) {
       Put(m, {{0100, Arith(MOV, 0, 0)}, {1, 0200}, {0200, HALT}});
       m.IntEnable = m.PreEnable = m.IrqFlag = true;
     },
     0, false, true, 0200, true},
    {"the interrupt's vector chain",
     [](TNovaMachine& m) {
       Put(m, {{0100, Arith(MOV, 0, 0)}, {1, 0100002}, {2, 0200}, {0200, HALT}});
       m.IntEnable = m.PreEnable = m.IrqFlag = true;
     },
     2, true, false, 0200, true},
};

class DataBreakTest : public MachineTest {
protected:
  TBreakpoint Break(TBreakKind kind, TWord first, TWord last, const char* condition = "", std::uint64_t count = 0) {
    TBreakpoint b;
    b.Kind = kind;
    b.First = first;
    b.Last = last;
    b.Condition = condition;
    b.Count = count;
    return b;
  }
  void Set(const TBreakpoint& b) {
    std::string error;
    ASSERT_TRUE(M.SetBreakpoint(b, &error)) << error;
  }
};

TEST_F(DataBreakTest, EachKindAgainstEachInstructionClass) {
  for (const TAccessCase& c : AccessCases)
    for (TBreakKind kind : {bkRead, bkWrite, bkAccess}) {
      SCOPED_TRACE(std::string(c.Name) + ", " + BreakKindName(kind));
      TNovaMachine m;
      m.Memory[0101].Data = m.Memory[0102].Data = HALT;
      c.Setup(m);
      TBreakpoint b;
      b.Kind = kind;
      b.First = b.Last = c.Watched;
      ASSERT_TRUE(m.SetBreakpoint(b));
      m.PC = 0100;
      m.InstructionLimit = 10;
      const bool stops = kind == bkRead ? c.Reads : kind == bkWrite ? c.Writes : c.Reads || c.Writes;
      const TStopReason reason = m.RunProgram();
      if (!stops) {
        EXPECT_EQ(reason, srHalt);
        continue;
      }
      ASSERT_EQ(reason, srData);
      EXPECT_EQ(m.PC, c.StopPC);  // after the instruction, before the next
      EXPECT_EQ(m.ExecutedCount(), 1u);
      const TNovaMachine::TDataStop& s = m.LastDataStop();
      EXPECT_EQ(s.Kind, kind);
      EXPECT_EQ(s.Addr, c.Watched);
      EXPECT_EQ(s.PC, 0100);
      EXPECT_EQ(s.Write, kind != bkRead && c.Writes);
      EXPECT_EQ(s.ByInterrupt, c.ByInterrupt);
      EXPECT_EQ(m.Breakpoints().front().Hits, 1u);
    }
}

TEST_F(DataBreakTest, StepsStopAsRunsDo) {
  Load(0100, {Sta(0, 050), HALT});
  Set(Break(bkWrite, 050, 050));
  M.PC = 0100;
  EXPECT_EQ(M.Step(), srData);
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(M.LastStopDetail(), "Stopped: write to 000050 by the instruction at 000100");
}

TEST_F(DataBreakTest, RangeStopsAtItsFirstWordReached) {
  // Stores 0 through the counting-up pointer at 20 into 0200, 0201, ... until the range.
  Load(020, {0177});
  Load(0100, {Sta(0, 020, 0, true), Jmp(0100)});
  Set(Break(bkAccess, 0300, 0377));
  EXPECT_EQ(RunFrom(0100), srData);
  EXPECT_EQ(M.LastDataStop().Addr, 0300);
  EXPECT_TRUE(M.LastDataStop().Write);
  EXPECT_EQ(M.Memory[020].Data, 0300);
  // Words beside the range are not watched.
  EXPECT_EQ(M.Memory[0277].Flags, 0);
  EXPECT_EQ(M.Memory[0300].Flags, DataBreakFlags);
  EXPECT_EQ(M.Memory[0377].Flags, DataBreakFlags);
  EXPECT_EQ(M.Memory[0400].Flags, 0);
}

TEST_F(DataBreakTest, ListAndCellFlagsAgree) {
  Set(Break(bkRead, 0100, 0103));
  Set(Break(bkWrite, 0102, 0110));
  M.SetBreakpoint(0102);
  EXPECT_EQ(M.Breakpoints().size(), 3u);
  EXPECT_EQ(M.BreakPoints, std::vector<TWord>{0102});
  EXPECT_EQ(M.Memory[0101].Flags, ReadBreakFlag);
  EXPECT_EQ(M.Memory[0102].Flags, DataBreakFlags | BreakpointFlag);
  EXPECT_EQ(M.Memory[0110].Flags, WriteBreakFlag);
  EXPECT_EQ(Host.BreakpointCounts.back(), 3);
  M.ClearBreakpoint(bkRead, 0100, 0103);
  EXPECT_EQ(M.Memory[0101].Flags, 0);
  EXPECT_EQ(M.Memory[0102].Flags, WriteBreakFlag | BreakpointFlag);
  std::string error;
  EXPECT_FALSE(M.SetBreakpoint(Break(bkRead, 0200, 0100), &error));
  EXPECT_FALSE(error.empty());
  M.ClearBreakpoints();
  EXPECT_TRUE(M.Breakpoints().empty());
  EXPECT_FALSE(M.HasDataBreakpoints());
  EXPECT_EQ(M.Memory[0102].Flags, 0);
}

// A data breakpoint set from the event pump of a run that has none yet: the run goes on in the
// loop that looks at the memory path, and stops at the store.
TEST_F(DataBreakTest, SetDuringARunTakesEffect) {
  Load(0100, {Sta(0, 050), Arith(INC, 0, 0), Jmp(0100)});
  M.SetPumpInterval(100);
  Host.OnPump = [&] {
    if (!M.HasDataBreakpoints() && M.ExecutedCount() >= 300) {
      TBreakpoint b;
      b.Kind = bkWrite;
      b.First = b.Last = 050;
      b.Condition = "[50] == 1000";
      M.SetBreakpoint(b);
    }
  };
  EXPECT_EQ(RunFrom(0100), srData);
  EXPECT_EQ(M.Memory[050].Data, 01000);
  EXPECT_EQ(M.PC, 0101);
}

struct TConditionCase {
  const char* Text;
  TNumMode Base;
  bool Parses;
  bool Holds;
};

// On AC0 = 5, AC1 = 0177777, PC = 01001, carry 1, [01234] = 0, [0100] = 012.
const TConditionCase ConditionCases[] = {
    {"AC0 == 5", nmOctal, true, true},
    {"ac0 != 5", nmOctal, true, false},
    {"PC > 1000 && CARRY", nmOctal, true, true},
    {"PC > 1001 || !CARRY", nmOctal, true, false},
    {"[1234] != 0", nmOctal, true, false},
    {"[PC - 701] == 12", nmOctal, true, true},
    {"AC0 + 3 == 10", nmOctal, true, true},
    {"AC0 + 3 == 8", nmDecimal, true, true},
    {"PC == 201", nmHex, true, true},
    {"AC1 == -1 && AC1 > 0", nmOctal, true, true},
    {"(AC1 & 17) == 17", nmOctal, true, true},
    {"AC0 == 101", nmBin, true, true},
    {"  ", nmOctal, true, true},
    {"AC0 ==", nmOctal, false, false},
    {"AC4 == 1", nmOctal, false, false},
    {"8 == 8", nmOctal, false, false},
    {"(AC0 == 5", nmOctal, false, false},
    {"[1234 == 0", nmOctal, false, false},
    {"AC0 = 5", nmOctal, false, false},
    {"200000 != 0", nmOctal, false, false},
    {"AC0 5", nmOctal, false, false},
};

TEST_F(DataBreakTest, ConditionsParseAndHold) {
  M.AC = {5, 0177777, 0, 0};
  M.PC = 01001;
  M.Carry = 1;
  M.Memory[0100].Data = 012;
  for (const TConditionCase& c : ConditionCases) {
    SCOPED_TRACE(c.Text);
    TBreakCondition cond;
    std::string error;
    ASSERT_EQ(cond.Parse(c.Text, c.Base, error), c.Parses) << error;
    if (!c.Parses) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(cond.Holds(M), c.Holds);
  }
}

TEST_F(DataBreakTest, ConditionsTooDeepAreRefused) {
  TBreakCondition cond;
  std::string error;
  EXPECT_FALSE(cond.Parse(std::string(100000, '(') + "1" + std::string(100000, ')'), nmOctal, error));
  EXPECT_FALSE(cond.Parse(std::string(100000, '!') + "1", nmOctal, error));
  std::string deep = "1";
  for (int i = 0; i < 40; ++i) deep = "1 + (" + deep + ")";
  EXPECT_FALSE(cond.Parse(deep, nmOctal, error));
  const TSymbolLookup labels = [](std::string_view name, int& value) {
    value = 0100;
    return name == "LOOP";
  };
  ASSERT_TRUE(cond.Parse("PC == LOOP", nmOctal, error, &labels));
  M.PC = 0100;
  EXPECT_TRUE(cond.Holds(M));
}

TEST_F(DataBreakTest, RefusedConditionChangesNothing) {
  M.SetBreakpoint(0100);
  std::string error;
  TBreakpoint b = Break(bkExecute, 0100, 0100, "AC0 == ");
  EXPECT_FALSE(M.SetBreakpoint(b, &error));
  EXPECT_EQ(error, "the condition ends too early");
  ASSERT_EQ(M.Breakpoints().size(), 1u);
  EXPECT_TRUE(M.Breakpoints().front().Condition.empty());
}

// A loop counting AC0 up from 0 at 0100; the breakpoint at 0101 with a condition or count.
TEST_F(DataBreakTest, ConditionsAndCountsOnExecuteBreakpoints) {
  struct {
    const char* Condition;
    std::uint64_t Count;
    TStopReason Reason;
    TWord Ac0;
  } cases[] = {
      {"AC0 == 3", 0, srBreakpoint, 3},
      {"AC0 > 30", 0, srLimit, 20},  // never true before the limit
      {"", 4, srBreakpoint, 4},
      {"AC0 & 1", 3, srBreakpoint, 5},  // the third time AC0 is odd
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Condition);
    TNovaMachine m;
    m.Memory[0100].Data = Arith(INC, 0, 0);
    m.Memory[0101].Data = Jmp(0100);
    TBreakpoint b = Break(bkExecute, 0101, 0101, c.Condition, c.Count);
    ASSERT_TRUE(m.SetBreakpoint(b));
    m.PC = 0100;
    m.InstructionLimit = 40;
    EXPECT_EQ(m.RunProgram(), c.Reason);
    EXPECT_EQ(m.AC[0], c.Ac0);
  }
}

TEST_F(DataBreakTest, CountsStopFromTheNthArrivalAndResetWithTheMachine) {
  Load(0100, {Sta(0, 050), Arith(INC, 0, 0), Jmp(0100)});
  Set(Break(bkWrite, 050, 050, "", 3));
  EXPECT_EQ(RunFrom(0100), srData);
  EXPECT_EQ(M.Memory[050].Data, 2);
  EXPECT_EQ(M.Breakpoints().front().Hits, 3u);
  EXPECT_EQ(Host.BreakpointCounts.back(), 1);
  // From then on every arrival stops.
  M.InstructionLimit = 100;
  EXPECT_EQ(M.RunProgram(), srData);
  EXPECT_EQ(M.Memory[050].Data, 3);
  M.ResetCpu();
  EXPECT_EQ(M.Breakpoints().front().Hits, 0u);
  EXPECT_EQ(RunFrom(0100), srData);
  EXPECT_EQ(M.Breakpoints().front().Hits, 3u);
}

// main: JSR A at 0100, HALT. A at 0200 saves AC3, calls B (0300) which returns at once, then
// returns through the saved AC3.
class StepOutTest : public DataBreakTest {
protected:
  void SetUp() override {
    Load(0100, {Jsr(0200), HALT});
    Load(0200, {Sta(3, 040), Jsr(0300), Lda(3, 040), Jmp(0, 3)});
    Load(0300, {Jmp(0, 3)});
  }
};

TEST_F(StepOutTest, AcrossANestedJsrToTheSteppedReturn) {
  M.PC = 0100;
  M.Step();  // into A
  ASSERT_EQ(M.PC, 0200);
  M.Step();
  M.Step();  // into B
  ASSERT_EQ(M.PC, 0300);
  EXPECT_EQ(M.StepOutTarget(), 0202);
  EXPECT_EQ(M.StepOut(), srStepOver);
  EXPECT_EQ(M.PC, 0202);
  // AC3 now holds B's return; the recorded return of A counts.
  EXPECT_EQ(M.StepOutTarget(), 0101);
  EXPECT_EQ(M.StepOut(), srStepOver);
  EXPECT_EQ(M.PC, 0101);
  EXPECT_EQ(M.Memory[0101].Flags, 0);
}

TEST_F(StepOutTest, EnteredOtherwiseUsesAC3) {
  M.PC = 0200;
  M.AC[3] = 0101;
  EXPECT_EQ(M.StepOut(), srStepOver);
  EXPECT_EQ(M.PC, 0101);
}

TEST_F(StepOutTest, AHaltFirstIsSaid) {
  Load(0300, {HALT});
  M.PC = 0100;
  M.Step();
  EXPECT_EQ(M.StepOut(), srHalt);
  EXPECT_EQ(M.PC, 0300);
  EXPECT_EQ(M.LastStopDetail(), "Stopped by HALT before the return to 000101");
  EXPECT_EQ(M.Memory[0101].Flags, 0);
  // The stepped JSR is forgotten with any other stop: AC3 (B's return) counts now.
  EXPECT_EQ(M.StepOutTarget(), 0202);
}

TEST_F(DataBreakTest, RunToHereIsGoneAfterAnyStop) {
  Load(0100, {Arith(INC, 0, 0), Arith(INC, 0, 0), Arith(INC, 0, 0), HALT});
  M.PC = 0100;
  EXPECT_EQ(M.RunTo(0102), srRunTo);
  EXPECT_EQ(M.PC, 0102);
  EXPECT_EQ(M.AC[0], 2);
  EXPECT_EQ(M.Memory[0102].Flags, 0);
  // A breakpoint before it, a halt before it: the mark is gone either way.
  M.SetBreakpoint(0101);
  M.PC = 0100;
  EXPECT_EQ(M.RunTo(0102), srBreakpoint);
  EXPECT_EQ(M.Memory[0102].Flags, 0);
  M.ClearBreakpoints();
  M.PC = 0100;
  EXPECT_EQ(M.RunTo(0104), srHalt);
  EXPECT_EQ(M.Memory[0104].Flags, 0);
  M.PC = 0100;
  EXPECT_EQ(M.RunProgram(), srHalt);  // nothing stops it at 0102 any more
}

TEST_F(DataBreakTest, TraceLengthKeepsTheNewest) {
  Load(0100, {Arith(INC, 0, 0), Jmp(0100)});
  EXPECT_EQ(M.TraceLength(), DefaultTraceLength);
  RunFrom(0100, 500);
  M.SetTraceLength(300);
  EXPECT_EQ(M.TraceCount(), 300);
  EXPECT_EQ(M.TraceItem(299).PC, 0101);
  EXPECT_EQ(M.TraceItem(299).ACs[0], 250);
  M.SetTraceLength(5);
  EXPECT_EQ(M.TraceLength(), MinTraceLength);
  M.SetTraceLength(MaxTraceLength + 1);
  EXPECT_EQ(M.TraceLength(), MaxTraceLength);
  EXPECT_EQ(M.TraceCount(), MinTraceLength);
  RunFrom(0100, 2'000'000);
  EXPECT_EQ(M.TraceCount(), MaxTraceLength);
  EXPECT_EQ(M.TraceItem(MaxTraceLength - 1).PC, 0101);
}

// A host that takes the new trace records at each pump sees every one, at every speed, when it
// asks for pumps by count or runs timed.
TEST_F(DataBreakTest, SlicesNeverOutgrowTheTrace) {
  Load(0100, {Arith(INC, 0, 0), Jmp(0100)});
  M.SetTraceLength(1000);
  // At maximum speed without a pump interval, events are pumped by time, not by count.
  const std::pair<std::uint32_t, std::uint32_t> runs[] = {
      {speed::Maximum, 8192}, {100'000'000, 0}, {100'000'000, 8192}, {speed::Nova800, 0}, {speed::Nova800, 8192}};
  for (const auto& [speed, interval] : runs) {
    SCOPED_TRACE(std::to_string(speed) + " " + std::to_string(interval));
    M.SetSpeed(speed);
    {
      M.SetPumpInterval(interval);
      std::uint64_t seen = M.ExecutedCount(), most = 0;
      Host.OnPump = [&] {
        most = std::max(most, M.ExecutedCount() - seen);
        seen = M.ExecutedCount();
      };
      RunFrom(0100, 20000);
      EXPECT_LE(most, 1000u);
    }
  }
}

}  // namespace
