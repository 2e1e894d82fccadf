// The Nova 800 timing table: what each instruction class costs in simulated time, and the
// peripheral speeds of real-speed mode. This is the only place these figures live;
// docs/real-speed.md gives each row's source, or says that it is assumed.
#pragma once
#include <cstdint>

#include "MachineTypes.h"

namespace nova800 {

// Instruction classes, one row each in ClassNs.
enum TTimingClass : int {
  tcAlu,          // COM NEG MOV INC ADC SUB ADD AND, with any shift and skip
  tcLda,          // LDA
  tcSta,          // STA
  tcJmp,          // JMP
  tcJsr,          // JSR
  tcIszDsz,       // ISZ, DSZ
  tcIo,           // I/O transfers, pulses and skips, and the processor's own (device 77: HALT, INTA, ...)
  tcMul,          // MUL
  tcDiv,          // DIV
  tcDivOverflow,  // DIV whose quotient does not fit (AC0 >= AC2): flagged at once
  tcIndirect,     // added for each word read in an indirect chain
  tcClassCount
};

// Nanoseconds per class.                       documented (D) or assumed (A)
inline constexpr std::uint32_t ClassNs[tcClassCount] = {
    800,   // tcAlu          D  ADD 0.8 us
    1600,  // tcLda          D  LDA 1.6 us
    1600,  // tcSta          A  one memory cycle per memory reference, as LDA
    800,   // tcJmp          A  no memory reference besides the fetch
    800,   // tcJsr          A  as JMP
    1600,  // tcIszDsz       A  one read-modify-write memory cycle
    1600,  // tcIo           A  the fetch and one I/O bus cycle
    8800,  // tcMul          A  as DIV
    8800,  // tcDiv          D  8.8 us
    1600,  // tcDivOverflow  D  1.6 us
    800,   // tcIndirect     A  one memory cycle per level
};

// Peripheral speeds in characters per second (real-speed devices).
inline constexpr std::uint32_t TeletypeCps = 10;       // printer and reader, 110 baud
inline constexpr std::uint32_t TapeReaderCps = 300;    // paper-tape reader
inline constexpr std::uint32_t TapePunchCps = 60;      // paper-tape punch
inline constexpr std::uint32_t LinePrinterCps = 400;   // assumed: 300 lines a minute of 80 characters

constexpr std::uint32_t CharacterNs(std::uint32_t cps) { return 1'000'000'000u / cps; }

// The class of an instruction word.
constexpr TTimingClass InstructionClass(TWord cmd) {
  if (cmd & nova::ArithBit) return tcAlu;
  switch (nova::GroupOf(cmd)) {
    case 0: {
      const int op = nova::OpOrAcOf(cmd);
      return op == 0 ? tcJmp : op == 1 ? tcJsr : tcIszDsz;
    }
    case 1: return tcLda;
    case 2: return tcSta;
    default: return cmd == nova::MulWord ? tcMul : cmd == nova::DivWord ? tcDiv : tcIo;
  }
}

// Whether the word is a memory reference through an indirect chain.
constexpr bool IsIndirectReference(TWord cmd) {
  return !(cmd & nova::ArithBit) && nova::GroupOf(cmd) != 3 && nova::IndirectOf(cmd);
}

// The time of one instruction without its indirect levels, given the accumulators before it
// (a DIV that overflows takes the short time).
constexpr std::uint32_t BaseNs(TWord cmd, const TAccumulators& ac) {
  const TTimingClass c = InstructionClass(cmd);
  if (c == tcDiv && ac[0] >= ac[2]) return ClassNs[tcDivOverflow];
  return ClassNs[c];
}

}  // namespace nova800
