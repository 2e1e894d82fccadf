// Arithmetic class, MUL and DIV, evaluation mode: tables of state -> state, one step each.
#include "MachineTestSupport.h"

using namespace w;

namespace {

struct TArithCase {
  const char* Name;
  TWord Word;    // acting on AC1 (source) and AC2 (destination)
  TWord S, D;    // AC1, AC2 before
  TWord Carry;   // before
  TWord WantD;   // AC2 after
  TWord WantCarry;
  bool WantSkip;
};

const TArithCase ArithCases[] = {
    {"COM", Arith(COM, 1, 2), 0, 7, 1, 0177777, 1, false},
    {"NEG of 0 complements carry", Arith(NEG, 1, 2), 0, 9, 0, 0, 1, false},
    {"NEG of 1 keeps carry", Arith(NEG, 1, 2), 1, 9, 0, 0177777, 0, false},
    {"MOV", Arith(MOV, 1, 2), 01234, 0, 1, 01234, 1, false},
    {"MOVC complements carry base", Arith(MOV, 1, 2, NoShift, C), 5, 0, 0, 5, 1, false},
    {"INC wraps and complements", Arith(INC, 1, 2), 0177777, 0, 0, 0, 1, false},
    {"INCO wraps back to 0", Arith(INC, 1, 2, NoShift, O), 0177777, 0, 0, 0, 0, false},
    {"ADC D>S complements", Arith(ADC, 1, 2), 3, 5, 0, 1, 1, false},
    {"ADC D=S", Arith(ADC, 1, 2), 5, 5, 0, 0177777, 0, false},
    {"SUB equal complements", Arith(SUB, 1, 2), 7, 7, 0, 0, 1, false},
    {"SUB D<S borrows", Arith(SUB, 1, 2), 8, 7, 0, 0177777, 0, false},
    {"ADD", Arith(ADD, 1, 2), 2, 3, 1, 5, 1, false},
    {"ADDZ carry out", Arith(ADD, 1, 2, NoShift, Z), 0100000, 0100000, 1, 0, 1, false},
    {"ANDZ", Arith(AND, 1, 2, NoShift, Z), 0170017, 0107770, 1, 0100010, 0, false},
    {"ANDO", Arith(AND, 1, 2, NoShift, O), 0170017, 0107770, 0, 0100010, 1, false},
    {"MOVL", Arith(MOV, 1, 2, L), 0100000, 0, 1, 1, 1, false},
    {"MOVR", Arith(MOV, 1, 2, R), 1, 0, 1, 0100000, 1, false},
    {"MOVS keeps carry", Arith(MOV, 1, 2, S), 0123456, 0, 1, 0027247, 1, false},
    {"MOVZL", Arith(MOV, 1, 2, L, Z), 0140000, 0, 1, 0100000, 1, false},
    {"ADDL of the carry out", Arith(ADD, 1, 2, L, Z), 0100000, 0100001, 0, 3, 0, false},
    {"SUBZ# SZR equal: skip, nothing stored", Arith(SUB, 1, 2, NoShift, Z, true, SZR), 4, 4, 0, 4, 0, true},
    {"SUBZ# SZR unequal", Arith(SUB, 1, 2, NoShift, Z, true, SZR), 4, 5, 0, 5, 0, false},
    {"SKP", Arith(MOV, 1, 2, NoShift, Keep, false, SKP), 1, 0, 0, 1, 0, true},
    {"SZC on carry 0", Arith(MOV, 1, 2, NoShift, Keep, false, SZC), 1, 0, 0, 1, 0, true},
    {"SZC on carry 1", Arith(MOV, 1, 2, NoShift, Keep, false, SZC), 1, 0, 1, 1, 1, false},
    {"SNC on carry 1", Arith(MOV, 1, 2, NoShift, Keep, false, SNC), 1, 0, 1, 1, 1, true},
    {"SNR on nonzero", Arith(MOV, 1, 2, NoShift, Keep, false, SNR), 1, 0, 0, 1, 0, true},
    {"SNR on zero", Arith(MOV, 1, 2, NoShift, Keep, false, SNR), 0, 1, 0, 0, 0, false},
    {"SEZ both zero", Arith(MOV, 1, 2, NoShift, Z, false, SEZ), 0, 1, 1, 0, 0, true},
    {"SEZ carry only zero", Arith(MOV, 1, 2, NoShift, Z, false, SEZ), 5, 1, 1, 5, 0, true},
    {"SEZ neither zero", Arith(MOV, 1, 2, NoShift, O, false, SEZ), 5, 1, 0, 5, 1, false},
    {"SBN both nonzero", Arith(MOV, 1, 2, NoShift, O, false, SBN), 5, 1, 0, 5, 1, true},
    {"SBN result zero", Arith(MOV, 1, 2, NoShift, O, false, SBN), 0, 1, 0, 0, 1, false},
};

class ArithmeticTest : public MachineTest, public ::testing::WithParamInterface<TArithCase> {};

TEST_P(ArithmeticTest, OneStep) {
  const TArithCase& c = GetParam();
  Load(0100, {c.Word});
  M.PC = 0100;
  M.AC = {0111, c.S, c.D, 0333};
  M.Carry = c.Carry;
  M.Step();
  EXPECT_EQ(M.AC[2], c.WantD);
  EXPECT_EQ(M.Carry, c.WantCarry);
  EXPECT_EQ(M.PC, c.WantSkip ? 0102 : 0101);
  EXPECT_EQ(M.AC[0], 0111);
  EXPECT_EQ(M.AC[3], 0333);
  EXPECT_EQ(M.AC[1], c.S);
}

INSTANTIATE_TEST_SUITE_P(Table, ArithmeticTest, ::testing::ValuesIn(ArithCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(MachineTest, SameSourceAndDestination) {
  Load(0100, {Arith(ADD, 3, 3, NoShift, Z)});  // ADDZ 3,3: doubling
  M.PC = 0100;
  M.AC[3] = 0100001;
  M.Step();
  EXPECT_EQ(M.AC[3], 2);
  EXPECT_EQ(M.Carry, 1);
}

struct TMulDivCase {
  const char* Name;
  TWord Word;
  TWord Ac0, Ac1, Ac2, Carry;
  TWord WantAc0, WantAc1, WantCarry;
};

const TMulDivCase MulDivCases[] = {
    {"MUL largest", nova::MulWord, 0177777, 0177777, 0177777, 1, 0177777, 0, 1},
    {"MUL small", nova::MulWord, 5, 3, 4, 0, 0, 17, 0},
    {"DIV by zero", nova::DivWord, 1, 2, 0, 0, 1, 2, 1},
    {"DIV overflow AC0 = AC2", nova::DivWord, 3, 2, 3, 0, 3, 2, 1},
    {"DIV", nova::DivWord, 1, 5, 3, 1, 0, 21847, 0},
    {"DIV with remainder", nova::DivWord, 0, 100, 7, 1, 2, 14, 0},
};

class MulDivTest : public MachineTest, public ::testing::WithParamInterface<TMulDivCase> {};

TEST_P(MulDivTest, OneStep) {
  const TMulDivCase& c = GetParam();
  Load(0100, {c.Word});
  M.PC = 0100;
  M.AC = {c.Ac0, c.Ac1, c.Ac2, 0777};
  M.Carry = c.Carry;
  M.Step();
  EXPECT_EQ(M.AC[0], c.WantAc0) << c.Name;
  EXPECT_EQ(M.AC[1], c.WantAc1) << c.Name;
  EXPECT_EQ(M.AC[2], c.Ac2) << c.Name;
  EXPECT_EQ(M.Carry, c.WantCarry) << c.Name;
  EXPECT_EQ(M.PC, 0101) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Table, MulDivTest, ::testing::ValuesIn(MulDivCases));

TEST_F(MachineTest, MulAndDivAreRecognisedOnlyAsWholeWords) {
  // DIA 0,1 is an I/O word to the absent device 1: AC0 := 0.
  Load(0100, {Io(DIA, 0, NoPulse, 1)});
  M.PC = 0100;
  M.AC = {7, 7, 7, 7};
  M.Step();
  EXPECT_EQ(M.AC[0], 0);
  EXPECT_EQ(M.AC[1], 7);
  EXPECT_EQ(M.PC, 0101);
}

TEST_F(MachineTest, EvaluationChangesNothing) {
  M.Memory[050].Data = 0177777;
  const TWord words[] = {nova::DivWord, Isz(050), Arith(ADD, 1, 2, L, C, false, SZC), Sta(1, 050),
                         Jsr(020, 0, true), nova::HaltWord, Io(DOA, 0, PS, TTO)};
  for (TWord word : words) {
    M.PC = 0100;
    M.AC = {1, 2, 0, 4};
    M.Carry = 0;
    M.Memory[020].Data = 0200;
    const std::uint64_t executed = M.ExecutedCount();
    M.ExecCommand(word, false);
    EXPECT_EQ(M.PC, 0100);
    EXPECT_EQ(M.AC, (TAccumulators{1, 2, 0, 4}));
    EXPECT_EQ(M.Carry, 0);
    EXPECT_EQ(M.Memory[050].Data, 0177777);
    EXPECT_EQ(M.Memory[020].Data, 0200);  // no auto-increment
    EXPECT_EQ(M.TraceCount(), 0);
    EXPECT_EQ(M.ExecutedCount(), executed);
    EXPECT_FALSE(M.Tto.BusyFlag());
  }
}

TEST_F(MachineTest, EvaluationGivesTheSkipAndTheAddress) {
  M.Memory[050].Data = 0177777;
  M.PC = 0100;
  EXPECT_TRUE(M.ExecCommand(Isz(050), false));  // would skip: 177777 + 1 = 0
  M.Memory[050].Data = 5;
  EXPECT_FALSE(M.ExecCommand(Isz(050), false));
  EXPECT_EQ(Host.EffAddrs, (std::vector<int>{050, 050}));

  Host.EffAddrs.clear();
  Load(0100, {Lda(0, -1, 1)});  // LDA 0,-1,PC: address 77 octal
  EXPECT_FALSE(M.EvaluateAtPC());
  EXPECT_EQ(Host.EffAddrs, (std::vector<int>{-1, 077}));

  Host.EffAddrs.clear();
  Load(0100, {Arith(MOV, 0, 0)});
  M.EvaluateAtPC();
  EXPECT_EQ(Host.EffAddrs, (std::vector<int>{-1}));  // not a memory reference: stays empty

  M.Tto.Start();
  M.PC = 0100;
  EXPECT_TRUE(M.ExecCommand(Skp(BN, TTO), false));  // device flags are read
}

TEST_F(MachineTest, HaltStaysOnItsWord) {
  Load(0100, {nova::HaltWord});
  M.PC = 0100;
  EXPECT_EQ(M.Step(), srHalt);
  EXPECT_EQ(M.PC, 0100);
  M.Step();
  EXPECT_EQ(M.PC, 0100);
  EXPECT_EQ(M.TraceCount(), 2);
}

TEST_F(MachineTest, ProgramCounterWrapsAtTheTopOfMemory) {
  Load(077777, {Arith(MOV, 0, 0, NoShift, Keep, false, SKP)});
  M.PC = 077777;
  M.Step();
  EXPECT_EQ(M.PC, 1);  // 77777 + 1 wraps to 0, the skip adds one more
  Load(077777, {Arith(MOV, 0, 0)});
  M.PC = 077777;
  M.Step();
  EXPECT_EQ(M.PC, 0);
}

}  // namespace
