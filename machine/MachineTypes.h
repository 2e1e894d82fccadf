// Basic types of the machine core: memory cells, accumulators, trace and watch records, stop reasons.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "NovaWord.h"

using TWord = std::uint16_t;

// AC0 to AC3.
using TAccumulators = std::array<TWord, 4>;

constexpr int MemoryWords = 32768;
constexpr int TraceCapacity = 10000;
// An indirect chain is cut after this many levels (real programs use far fewer; diagnostics
// go past 30000).
constexpr int MaxIndirectLevels = 1 << 20;

// Cell flags.
constexpr std::uint8_t BreakpointFlag = 1;
constexpr std::uint8_t StepOverFlag = 2;

struct TMemCell {
  TWord Data = 0;
  std::uint8_t Flags = 0;
};

// One executed instruction: its address and word, carry and accumulators after it.
struct TTraceData {
  TWord PC = 0;
  TWord Data = 0;
  TWord Carry = 0;
  TAccumulators ACs{};
  bool operator==(const TTraceData&) const = default;
};

// One watched location.
struct TWatchMem {
  TWord Addr = 0;      // 0 to 077777
  TWord Data = 0;      // value seen at the last check
  bool Alert = false;  // a change stops the run
  bool Changed = false;  // changed during the last executed instruction
  bool operator==(const TWatchMem&) const = default;
};

// Why a run (or a step) ended.
enum TStopReason : int {
  srNone = 0,     // nothing stopped it (a step that completed normally)
  srHalt,         // HALT executed
  srBreakpoint,   // breakpoint at the next instruction
  srStepOver,     // the step-over mark was reached
  srWatch,        // a watched location with alert changed
  srStop,         // the stop command (or a reset)
  srDevice,       // a device needed a file, or a file could not be read or written
  srChain,        // an indirect chain did not end
  srLimit,        // the instruction limit was reached
  srRefused,      // not started: the machine is already executing
  srFileNeeded,   // a device needs a file: the program asks for one, then continues the run
};

// Short translated text of a stop reason ("Halted", "Breakpoint", ...).
std::string StopReasonText(TStopReason reason);
