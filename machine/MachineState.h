// A whole-machine state: everything that decides what the machine does next, taken from a
// machine and its peripherals and put back into them. A state put back into a machine goes on
// exactly as the machine it was taken from would have gone on (docs/state-files.md lists what
// a state holds; StateFile.h keeps it in a file).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Breakpoint.h"
#include "MachineError.h"
#include "MachineTypes.h"
#include "Peripherals.h"
#include "RegisterState.h"

class TNovaMachine;
class TPeripherals;


// A tape waiting for the reader (tape after tape).
struct TQueuedTapeState {
  std::string Path;
  bool Text = false;
  bool operator==(const TQueuedTapeState&) const = default;
};

// The tape in a reader.
struct TReaderState {
  bool Attached = false;
  std::string Path;
  bool Text = false;            // a text tape (a form feed starts its trailer)
  std::int64_t Start = 0;       // where the tape was put in (after the label of a binary tape)
  std::int64_t Position = 0;    // bytes read from the file's start
  std::int32_t TrailerCount = 0;
  std::vector<TQueuedTapeState> Queue;
  bool operator==(const TReaderState&) const = default;
};

// The file of a punch or the printer.
struct TOutputState {
  bool Attached = false;
  std::string Path;
  std::int64_t Position = 0;  // bytes written
  bool operator==(const TOutputState&) const = default;
};

// A breakpoint that is more than a plain execute breakpoint: a data breakpoint, or one with a
// condition, a count or hits.
struct TBreakState {
  TBreakKind Kind = bkExecute;
  TWord First = 0;
  TWord Last = 0;
  std::string Condition;
  TNumMode Base = nmOctal;
  std::uint64_t Count = 0;
  std::uint64_t Hits = 0;
  bool operator==(const TBreakState&) const = default;
};

// The readers (TTY reader, PTR) and the outputs (TTY punch, PTP, LPT) in this order.
inline constexpr TPeriphDevice StateReaders[2] = {pdTtr, pdPtr};
inline constexpr TPeriphDevice StateOutputs[3] = {pdTtp, pdPtp, pdLpt};

// The registers, devices and speed (TRegisterState), and memory, the lists and the peripherals.
struct TMachineState : TRegisterState {
  // ---- memory and the count
  std::array<TWord, MemoryWords> Memory{};  // all 32768 words, whatever the memory size
  std::uint64_t Executed = 0;          // instructions executed since the machine was made
  TStopReason LastStop = srNone;       // why the last run or step ended

  // ---- debugging
  std::vector<TWord> Breakpoints;    // sorted: the execute breakpoints' addresses
  // The breakpoints with more to them, sorted by first word, kind, last word; an execute one's
  // address is in Breakpoints as well.
  std::vector<TBreakState> Breaks;
  // The breakpoints above are all of them; false in a state of format 1, which held only the
  // execute addresses: the machine's data breakpoints then stay.
  bool AllBreaks = true;
  std::vector<TWord> StepOverMarks;  // sorted; a step over that is under way
  std::vector<TWatchMem> Watches;    // sorted by address
  std::vector<TTraceData> Trace;     // oldest first, at most MaxTraceLength

  // ---- peripherals
  std::array<TReaderState, 2> Readers{};  // StateReaders
  std::array<TOutputState, 3> Outputs{};  // StateOutputs
  bool TtyPunch = false;
  bool LptDeclined = false;
  std::string LptLine;
  std::uint64_t LastTtoOutputAt = 0;

  bool operator==(const TMachineState&) const = default;
};

// A file of the saved state that could not be attached again: it is gone (ekNotFound), cannot
// be read (ekRead), or is shorter than the saved position (ekRead, System says so).
struct TAttachProblem {
  TPeriphDevice Dev = pdTtr;
  TMachineError Error;
  bool operator==(const TAttachProblem&) const = default;
};
// "PTR: ..." for a message box or a line.
std::string AttachProblemText(const TAttachProblem& Problem, TErrorLayout Layout = elBox);

// The state of the machine and its peripherals now (between runs, or from the event pump).
TMachineState CaptureState(const TNovaMachine& Machine, const TPeripherals& Peripherals);

// Puts the state back: the machine and its devices as they were, the attached files attached
// again at their saved positions (the files attached now are closed first). A file that cannot
// be attached again is left detached and listed in Problems; everything else is put back all
// the same. The hosts are told what changed. False (and nothing changed) while the machine is
// executing.
bool RestoreState(const TMachineState& State, TNovaMachine& Machine, TPeripherals& Peripherals,
                  std::vector<TAttachProblem>& Problems);
// Undo's way back: as RestoreState, except that output made stays made. A punch or the printer
// that has the state's file attached now keeps it as it is (what it wrote since stays written,
// and the printer its line); only an attachment that differs is put back.
bool PutBackState(const TMachineState& State, TNovaMachine& Machine, TPeripherals& Peripherals,
                  std::vector<TAttachProblem>& Problems);
