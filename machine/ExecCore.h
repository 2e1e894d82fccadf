// The instruction engine, shared by ExecCommand and the run loop so that both inline it.
// PC, carry, the executed count and the trace position live in a local TRegs while executing;
// everything that can reach the host (I/O transfers, pumps) gets them stored back first and
// reloaded afterwards. The accumulators are always the machine's AC.
#pragma once
#include "NovaMachine.h"

#define CORVANE_INLINE inline __attribute__((always_inline))

namespace exec_tables {
// Carry base by (carry field << 1 | carry): keep, Z, O, C.
constexpr std::uint8_t CarryBase[8] = {0, 1, 0, 0, 1, 1, 1, 0};
// Skip codes that skip, as a bit mask, by (k << 1 | result is zero).
constexpr std::uint8_t SkipCodes[4] = {
    0x66,  // k = 0, r != 0: SKP SZC SNR SEZ
    0x56,  // k = 0, r = 0:  SKP SZC SZR SEZ
    0xaa,  // k = 1, r != 0: SKP SNC SNR SBN
    0x5a,  // k = 1, r = 0:  SKP SNC SZR SEZ
};
}  // namespace exec_tables

template <bool Checked>
CORVANE_INLINE void TNovaMachine::Touch(TWord a, std::uint8_t Kinds) {
  if constexpr (Checked) {
    if (Memory[a].Flags & Kinds) NoteAccess(a, Kinds);
  }
}

template <bool Exec, bool Checked>
CORVANE_INLINE int TNovaMachine::GetIndirectT(TWord a) {
  const int limit = IndirectLimit;
  for (int level = 0; level < limit; ++level) {
    a &= nova::AddrMask;
    TMemCell& cell = Memory[a];
    if constexpr (Exec) {
      // 20-27 octal count up, 30-37 octal count down, before the word is used: a read and a
      // write; any other word of the chain is read.
      if ((a & ~017) == 020) {
        Touch<Checked>(a, DataBreakFlags);
        if (a < 030)
          ++cell.Data;
        else
          --cell.Data;
      } else {
        Touch<Checked>(a, ReadBreakFlag);
      }
    }
    const TWord w = cell.Data;
    if (!(w & 0100000)) {  // bit 0 clear: the end of the chain
      if constexpr (Exec) FChainLevels = level + 1;  // for the timed modes' charge
      return w;
    }
    a = w;
  }
  if constexpr (Exec) FChainLevels = limit;
  return -1;
}

template <bool Exec, bool Checked>
CORVANE_INLINE int TNovaMachine::EffAddrT(TWord pc, TWord cmd) {
  const int mode = nova::IndexOf(cmd);
  TWord base;
  if (mode == 0) {
    base = TWord(nova::DispOf(cmd));
  } else {
    const TWord index = mode == 1 ? pc : AC[mode];
    base = TWord(index + nova::SignedDispOf(cmd));
  }
  const int e = (cmd & nova::IndirectBit) ? GetIndirectT<Exec, Checked>(base) : int(base & nova::AddrMask);
  if constexpr (!Exec) {
    FEvalAddr = e;
    FHost->ReportEffAddr(e);
  }
  return e;
}

// One instruction's class work. Returns exSkip, exNoSkip, or exAbandoned (indirect chain cut).
template <bool Exec, bool Checked>
CORVANE_INLINE int TNovaMachine::ExecuteT(TRegs& r, TWord cmd) {
  const auto next = [&r] { r.PC = TWord((r.PC + 1) & nova::AddrMask); };

  if (cmd & nova::ArithBit) {  // arithmetic class
    const std::uint32_t s = AC[nova::AcsOf(cmd)];
    const std::uint32_t d = AC[nova::AcdOf(cmd)];
    const std::uint32_t c = exec_tables::CarryBase[(nova::CarryOf(cmd) << 1) | r.Carry];
    std::uint32_t f;
    switch (nova::FunctionOf(cmd)) {
      case 0: f = s ^ 0xffffu; break;            // COM
      case 1: f = (s ^ 0xffffu) + 1; break;      // NEG
      case 2: f = s; break;                      // MOV
      case 3: f = s + 1; break;                  // INC
      case 4: f = d + (s ^ 0xffffu); break;      // ADC
      case 5: f = d + (s ^ 0xffffu) + 1; break;  // SUB
      case 6: f = d + s; break;                  // ADD
      default: f = d & s; break;                 // AND
    }
    std::uint32_t R = ((c << 16) + f) & 0x1ffffu;
    switch (nova::ShiftOf(cmd)) {
      case 0: break;
      case 1: R = ((R << 1) | (R >> 16)) & 0x1ffffu; break;  // 17-bit rotate left
      case 2: R = (R >> 1) | ((R & 1u) << 16); break;       // 17-bit rotate right
      default: R = (R & 0x10000u) | ((R >> 8) & 0xffu) | ((R & 0xffu) << 8); break;  // swap bytes
    }
    const std::uint32_t k = R >> 16;
    const TWord res = TWord(R);
    if constexpr (Exec) {
      if (!nova::NoLoadOf(cmd)) {
        AC[nova::AcdOf(cmd)] = res;
        r.Carry = TWord(k);
      }
      next();
    }
    return (exec_tables::SkipCodes[(k << 1) | (res == 0)] >> nova::SkipOf(cmd)) & 1;
  }

  const int group = nova::GroupOf(cmd);
  if (group != 3) {  // memory reference
    const int e = EffAddrT<Exec, Checked>(r.PC, cmd);
    if (e < 0) {
      if constexpr (Exec) {
        ChainCut(r.PC);
        return exAbandoned;
      }
      return exNoSkip;
    }
    const int op = nova::OpOrAcOf(cmd);
    if (group == 1) {  // LDA
      if constexpr (Exec) {
        Touch<Checked>(TWord(e), ReadBreakFlag);
        AC[op] = Memory[e].Data;
        next();
      }
      return exNoSkip;
    }
    if (group == 2) {  // STA
      if constexpr (Exec) {
        Touch<Checked>(TWord(e), WriteBreakFlag);
        Memory[e].Data = AC[op];
        next();
      }
      return exNoSkip;
    }
    switch (op) {
      case 0:  // JMP
        if constexpr (Exec) r.PC = TWord(e);
        return exNoSkip;
      case 1:  // JSR
        if constexpr (Exec) {
          AC[3] = TWord((r.PC + 1) & nova::AddrMask);
          r.PC = TWord(e);
        }
        return exNoSkip;
      default: {  // ISZ, DSZ
        const TWord v = TWord(Memory[e].Data + (op == 2 ? 1 : -1));
        if constexpr (Exec) {
          Touch<Checked>(TWord(e), DataBreakFlags);
          Memory[e].Data = v;
          next();
        }
        return v == 0;
      }
    }
  }

  // I/O class
  if (cmd == nova::MulWord) {
    if constexpr (Exec) {
      const std::uint32_t p = std::uint32_t(AC[1]) * AC[2] + AC[0];
      AC[0] = TWord(p >> 16);
      AC[1] = TWord(p);
      next();
    }
    return exNoSkip;
  }
  if (cmd == nova::DivWord) {
    if constexpr (Exec) {
      if (AC[0] >= AC[2]) {
        r.Carry = 1;
      } else {
        const std::uint32_t n = (std::uint32_t(AC[0]) << 16) | AC[1];
        r.Carry = 0;
        AC[1] = TWord(n / AC[2]);
        AC[0] = TWord(n % AC[2]);
      }
      next();
    }
    return exNoSkip;
  }
  bool halt = false;
  if constexpr (Exec) {
    if (nova::TransferOf(cmd) == 7) {  // skip tests touch nothing but flags
      const bool skip = ExecIoT<false>(cmd, halt);
      next();
      return skip;
    }
    StoreRegs(r);
    halt = IoInstruction(cmd);
    r = LoadRegs();
    if (!halt) next();
    return exNoSkip;
  } else {
    return ExecIoT<false>(cmd, halt);
  }
}

CORVANE_INLINE void TNovaMachine::WriteTrace(TRegs& r, TWord pc, TWord cmd) {
  TTraceData* t = r.Trace;
  t->PC = pc;
  t->Data = cmd;
  t->Carry = r.Carry;
  // Copied word by word: one wide load right after a narrow store to an accumulator would miss
  // store forwarding and stall.
  t->ACs[0] = AC[0];
  t->ACs[1] = AC[1];
  t->ACs[2] = AC[2];
  t->ACs[3] = AC[3];
  if (++r.Trace == FTraceEnd) {
    r.Trace = FTraceData;
    FTraceFull = true;
  }
}

// Tick, the class work and the trace record of one executed instruction. The watch check and
// the interrupt cycle follow in AfterInstruction, and only when FAttention asks for them.
template <bool Checked>
CORVANE_INLINE int TNovaMachine::ExecuteOne(TRegs& r, TWord cmd) {
  if (FTickMask) TickDevices();
  ++r.Count;
  const TWord pc = r.PC;
  if constexpr (Checked) FExecPC = pc;
  const int res = ExecuteT<true, Checked>(r, cmd);
  WriteTrace(r, pc, cmd);
  return res;
}

// The skip, then (when there are watches, the interrupt flags need a look, or a data breakpoint
// was reached) the watch check, the data breakpoints and the interrupt cycle.
CORVANE_INLINE void TNovaMachine::AfterInstruction(TRegs& r, int res) {
  if (res == exSkip) {
    // A branch, not a conditional move: the next fetch should not wait for the skip result.
    __asm__("");
    r.PC = TWord((r.PC + 1) & nova::AddrMask);
  }
  if (FAttention) r.PC = Attention(r.PC, r.Carry, res);
}
