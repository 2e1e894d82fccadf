// Changes from outside the running program: registers, switches, memory words, the memory size.
// Each tells the host what changed.
#include <algorithm>

#include "NovaMachine.h"

void TNovaMachine::SetPC(TWord Value) {
  PC = TWord(Value & nova::AddrMask);
  FHost->RegistersChanged();
}

void TNovaMachine::SetAC(int N, TWord Value) {
  AC[std::size_t(N & 3)] = Value;
  FHost->RegistersChanged();
}

void TNovaMachine::SetCarry(TWord Value) {
  Carry = TWord(Value & 1);
  FHost->RegistersChanged();
}

void TNovaMachine::SetSwitches(TWord Value) {
  Switches = Value;
  FHost->SwitchesChanged();
}

void TNovaMachine::SetShowEachStep(bool On) {
  ShowEachStep = On;
  FHost->RunStateChanged();
}

void TNovaMachine::WriteWord(TWord Addr, TWord Value) {
  Addr &= nova::AddrMask;
  Memory[Addr].Data = Value;
  CountEdit();
  FHost->WordsChanged(Addr, 1);
}

void TNovaMachine::WriteWords(TWord Addr, const TWord* Words, int Count) {
  if (Count > MemoryWords) Count = MemoryWords;
  CountEdit();
  int first = Addr & nova::AddrMask;
  while (Count > 0) {
    const int piece = std::min(Count, MemoryWords - first);
    for (int i = 0; i < piece; ++i) Memory[std::size_t(first + i)].Data = Words[i];
    FHost->WordsChanged(first, piece);
    Words += piece;
    Count -= piece;
    first = 0;
  }
}

void TNovaMachine::ClearMemory() {
  for (int a = 0; a < MemSize; ++a) Memory[std::size_t(a)].Data = 0;
  CountEdit();
  PC = 0;
  // As after loading a dump: the watches take the new values without alerts.
  CheckWatches(false);
  FHost->MemoryChanged();
  FHost->RegistersChanged();
}

int TNovaMachine::SetMemSize(int n) {
  n = n < 1 ? 1 : n > MemoryWords ? MemoryWords : n;
  if (n != MemSize) {
    MemSize = n;
    FHost->MemSizeChanged(MemSize);
  }
  return MemSize;
}
