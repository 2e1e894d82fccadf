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
// The trace keeps the last TraceLength() executed instructions: this many unless set otherwise.
constexpr int DefaultTraceLength = 10000;
constexpr int MinTraceLength = 100;
constexpr int MaxTraceLength = 1000000;
constexpr int TraceCapacity = DefaultTraceLength;  // the old name of the default
// An indirect chain is cut after this many levels (real programs use far fewer; diagnostics
// go past 30000).
constexpr int MaxIndirectLevels = 1 << 20;

// Cell flags.
constexpr std::uint8_t BreakpointFlag = 1;
constexpr std::uint8_t StepOverFlag = 2;
constexpr std::uint8_t GoalFlag = 4;        // where "Run to here" or "Step out" stops
constexpr std::uint8_t ReadBreakFlag = 8;   // a read or access breakpoint covers the word
constexpr std::uint8_t WriteBreakFlag = 16; // a write or access breakpoint covers the word
// The marks looked at before an instruction is fetched.
constexpr std::uint8_t ExecMarks = BreakpointFlag | StepOverFlag | GoalFlag;
constexpr std::uint8_t DataBreakFlags = ReadBreakFlag | WriteBreakFlag;

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
  srData,         // a data breakpoint: a word was read or written (LastDataStop tells which)
  srRunTo,        // the address of "Run to here" was reached
};
constexpr TStopReason LastStopReasonValue = srRunTo;

// What a breakpoint stops on: arriving at an instruction, or the program reading or writing a
// word as data (access: either).
enum TBreakKind : int { bkExecute = 0, bkRead = 1, bkWrite = 2, bkAccess = 3 };

// Short translated text of a stop reason ("Halted", "Breakpoint", ...).
std::string StopReasonText(TStopReason reason);
