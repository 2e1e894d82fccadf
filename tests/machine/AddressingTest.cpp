// Effective addresses, indirect chains with auto-increment and auto-decrement, the jump and
// modify group, and chains that never end.
#include "MachineTestSupport.h"

using namespace w;

namespace {

struct TAddrCase {
  const char* Name;
  TWord Word;
  TWord Ac2, Ac3;
  int Want;
};

// PC = 000100 in every case.
const TAddrCase AddrCases[] = {
    {"page zero 377", Lda(0, 0377), 0, 0, 0377},
    {"PC relative -1", Lda(0, 0377, 1), 0, 0, 077},
    {"PC relative +177", Lda(0, 0177, 1), 0, 0, 0277},
    {"AC2 relative wraps at 177777", Lda(0, 2, 2), 0177777, 0, 1},
    {"AC3 relative -200", Lda(0, 0200, 3), 0, 0100, 077700},
    {"AC2 with bit 0 set", Lda(0, 0, 2), 0100000, 0, 0},
    {"indirect", Lda(0, 060, 0, true), 0, 0, 0200},
    {"indirect chain", Lda(0, 061, 0, true), 0, 0, 0300},
};

class EffAddrTest : public MachineTest, public ::testing::WithParamInterface<TAddrCase> {};

TEST_P(EffAddrTest, Address) {
  const TAddrCase& c = GetParam();
  M.Memory[060].Data = 0200;
  M.Memory[061].Data = 0100062;
  M.Memory[062].Data = 0300;
  M.PC = 0100;
  M.AC = {0, 0, c.Ac2, c.Ac3};
  EXPECT_EQ(M.GetEffAddr(c.Word, true), c.Want) << c.Name;
  EXPECT_EQ(M.GetEffAddr(c.Word, false), c.Want) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Table, EffAddrTest, ::testing::ValuesIn(AddrCases));

TEST_F(MachineTest, AutoIncrementBeforeUse) {
  M.Memory[020].Data = 0477;
  Load(0100, {Jmp(020, 0, true)});
  M.PC = 0100;
  M.Step();
  EXPECT_EQ(M.Memory[020].Data, 0500);
  EXPECT_EQ(M.PC, 0500);
}

TEST_F(MachineTest, AutoDecrementBeforeUse) {
  M.Memory[037].Data = 0201;
  M.Memory[0200].Data = 04242;
  Load(0100, {Lda(1, 037, 0, true)});
  M.PC = 0100;
  M.Step();
  EXPECT_EQ(M.Memory[037].Data, 0200);
  EXPECT_EQ(M.AC[1], 04242);
}

TEST_F(MachineTest, ChainThroughAnAutoIncrementLocationTwice) {
  M.Memory[040].Data = 0100020;  // -> 20
  M.Memory[020].Data = 0100037;  // counts up to 100040 -> 40, then to 100041 -> 41
  M.Memory[041].Data = 0600;
  Load(0100, {Jmp(040, 0, true)});
  M.PC = 0100;
  M.Step();
  EXPECT_EQ(M.PC, 0600);
  EXPECT_EQ(M.Memory[020].Data, 0100041);
}

TEST_F(MachineTest, JumpAndModifyGroup) {
  Load(0100, {Jsr(0, 3)});  // JSR 0,3
  M.PC = 0100;
  M.AC[3] = 0500;
  M.Step();
  EXPECT_EQ(M.PC, 0500);
  EXPECT_EQ(M.AC[3], 0101);

  M.Memory[050].Data = 0177777;
  Load(0200, {Isz(050)});
  M.PC = 0200;
  M.Step();
  EXPECT_EQ(M.Memory[050].Data, 0);
  EXPECT_EQ(M.PC, 0202);

  M.Memory[050].Data = 1;
  Load(0200, {Dsz(050)});
  M.PC = 0200;
  M.Step();
  EXPECT_EQ(M.Memory[050].Data, 0);
  EXPECT_EQ(M.PC, 0202);

  M.Memory[050].Data = 5;
  Load(0200, {Isz(050)});
  M.PC = 0200;
  M.Step();
  EXPECT_EQ(M.Memory[050].Data, 6);
  EXPECT_EQ(M.PC, 0201);
}

TEST_F(MachineTest, StoreKeepsTheCellFlags) {
  M.SetBreakpoint(0300);
  Load(0100, {Sta(2, 0, 3)});
  M.PC = 0100;
  M.AC = {0, 0, 01234, 0300};
  M.Step();
  EXPECT_EQ(M.Memory[0300].Data, 01234);
  EXPECT_EQ(M.Memory[0300].Flags, BreakpointFlag);
}

TEST_F(MachineTest, LongChainsAreFollowed) {
  // 30000 levels, more than diagnostics use.
  const int first = 0100, levels = 30000;
  for (int i = 0; i < levels - 1; ++i) M.Memory[first + i].Data = TWord(0100000 | (first + i + 1));
  M.Memory[first + levels - 1].Data = 0123;
  EXPECT_EQ(M.GetIndirect(first, true), 0123);
}

TEST_F(MachineTest, EndlessChainAbandonsTheInstruction) {
  M.Memory[0100].Data = 0100100;  // points to itself
  Load(0200, {Jmp(0100, 0, true)});
  M.PC = 0200;
  EXPECT_EQ(M.Step(), srChain);
  EXPECT_EQ(M.PC, 0200);
  EXPECT_EQ(M.TraceCount(), 1);
  EXPECT_EQ(M.TraceItem(0).PC, 0200);
  EXPECT_FALSE(M.LastStopDetail().empty());

  EXPECT_EQ(RunFrom(0200), srChain);
  EXPECT_EQ(M.PC, 0200);
  EXPECT_EQ(M.ExecutedCount(), 2u);
}

TEST_F(MachineTest, EndlessChainInEvaluationGivesNoAddress) {
  M.Memory[0100].Data = 0100100;
  M.PC = 0200;
  Host.EffAddrs.clear();
  EXPECT_FALSE(M.ExecCommand(Isz(0100, 0, true), false));
  EXPECT_EQ(Host.EffAddrs, (std::vector<int>{-1}));
  EXPECT_EQ(M.GetIndirect(0100, false), -1);
}

TEST_F(MachineTest, EndlessInterruptVectorStopsTheRun) {
  M.Memory[1].Data = 0100001;
  Load(0100, {INTEN, Arith(MOV, 0, 0), Jmp(0102)});
  M.IrqFlag = true;
  EXPECT_EQ(RunFrom(0100), srChain);
  EXPECT_EQ(M.Memory[0].Data, 0102);  // taken after the instruction following INTEN
  EXPECT_FALSE(M.IntEnable);
  EXPECT_FALSE(M.IrqFlag);
}

}  // namespace
