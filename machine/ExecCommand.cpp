// Instruction execution and evaluation on the machine's own registers.
#include "ExecCore.h"
#include "SafeFormat.h"
#include "Translate.h"

bool TNovaMachine::ExecCommand(TWord Cmd, bool Exec) {
  TRegs r = LoadRegs();
  if (!Exec) return ExecuteT<false>(r, Cmd) == exSkip;
  CountEdit();
  const int res = ExecuteOne(r, Cmd);
  StoreRegs(r);
  if (!Watch.empty()) CheckWatchesRunning();
  return res == exSkip;
}

int TNovaMachine::GetEffAddr(TWord Cmd, bool Exec) {
  const TWord pc = PC & nova::AddrMask;
  if (Exec) CountEdit();
  return Exec ? EffAddrT<true>(pc, Cmd) : EffAddrT<false>(pc, Cmd);
}

int TNovaMachine::GetIndirect(TWord Addr, bool Exec) {
  if (Exec) CountEdit();
  return Exec ? GetIndirectT<true>(Addr) : GetIndirectT<false>(Addr);
}

bool TNovaMachine::EvaluateAtPC() {
  FHost->ReportEffAddr(-1);
  return ExecCommand(Memory[PC & nova::AddrMask].Data, false);
}

TNovaMachine::TPreview TNovaMachine::PreviewAtPC() {
  FEvalAddr = -1;
  TPreview p;
  p.Skip = ExecCommand(Memory[PC & nova::AddrMask].Data, false);
  p.EffAddr = FEvalAddr;
  return p;
}

void TNovaMachine::ChainCut(TWord pc) {
  Stop(srChain, SafeFormat(_("The indirect chain of the instruction at %s does not end"), AddrKey(pc)));
}
