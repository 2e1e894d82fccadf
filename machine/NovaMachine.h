// The simulated Nova 800: registers, memory, the I/O bus with its six devices, the interrupt
// system, run control, breakpoints, watches and the trace. Plain C++; the program around it
// implements TMachineHost.
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Breakpoint.h"
#include "Devices.h"
#include "TimeTravel.h"
#include "MachineError.h"
#include "MachineHost.h"
#include "MachineTypes.h"
#include "PanelCommands.h"
#include "Throttle.h"

class TReplacingFile;

class TNovaMachine {
public:
  TNovaMachine();
  ~TNovaMachine();
  TNovaMachine(const TNovaMachine&) = delete;
  TNovaMachine& operator=(const TNovaMachine&) = delete;

  void SetHost(TMachineHost* host) { FHost = host ? host : &FNoHost; }
  TMachineHost& Host() const { return *FHost; }

  // ---- machine state. The program around the machine changes it through the operations below
  // (each tells the host what changed); tests may set it directly.
  std::array<TMemCell, MemoryWords> Memory{};
  int MemSize = MemoryWords;  // words in use, 1 to 32768; execution ignores it
  TWord PC = 0;
  TWord Carry = 0;
  TAccumulators AC{};
  TWord Switches = 0;
  bool PreEnable = false;
  bool IntEnable = false;
  bool IrqFlag = false;
  bool Running() const { return FRun; }  // a run is under way (not a step)

  // ---- changes from outside the running program (a window, the command line, a test), at any
  // time, also from the event pump of a run: the run goes on with the changed state.
  void SetPC(TWord Value);              // 15 bits; RegistersChanged
  void SetAC(int N, TWord Value);       // AC0 to AC3; RegistersChanged
  void SetCarry(TWord Value);           // 0 or 1 (the low bit); RegistersChanged
  void SetSwitches(TWord Value);        // SwitchesChanged
  void WriteWord(TWord Addr, TWord Value);  // WordsChanged
  // Count words from Addr on, addresses wrapping after 077777 (WordsChanged for each piece).
  void WriteWords(TWord Addr, const TWord* Words, int Count);

  // ---- devices, created in this order and bound to RequestInterrupt
  TOutDevice Tto;
  TTeletypeInput Tti;
  TOutDevice Ptp;
  TInDevice Ptr;
  TRtcDevice Rtc;
  TPrintDevice Lpt;
  // Slots by device code 0 to 77 octal; codes 0, 1 and 77 and unused codes stay empty.
  std::array<TDevice*, 64> IoDevices{};
  // PTR, PTP, TTI, TTO, RTC, LPT: the order of ticks and of INTA.
  static constexpr int TickOrder[6] = {nova::DevPTR, nova::DevPTP, nova::DevTTI,
                                       nova::DevTTO, nova::DevRTC, nova::DevLPT};

  // ---- debugging lists (change them through the operations below)
  // Sorted addresses of the execute breakpoints (of Breakpoints()); a cell has BreakpointFlag
  // exactly when listed.
  std::vector<TWord> BreakPoints;
  std::vector<TWatchMem> Watch;    // sorted by address; Alert may be switched directly
  bool ShowEachStep = false;       // "Show each program step": registers shown and events pumped per instruction
  void SetShowEachStep(bool On);   // RunStateChanged (how a run is shown changes)

  // ---- instruction execution
  // Carries out (Exec) or only evaluates the word as the instruction at PC; true when it skips
  // (the caller then adds 1 to PC). Evaluation changes nothing.
  bool ExecCommand(TWord Cmd, bool Exec);
  // Effective address of a memory-reference word, -1 when its indirect chain does not end.
  // Without Exec no auto-increment happens and the address is reported to the host.
  int GetEffAddr(TWord Cmd, bool Exec);
  // End of the indirect chain starting at Addr, -1 when the chain does not end.
  int GetIndirect(TWord Addr, bool Exec);
  void ClearRegisters();
  TWord ReadMemory(TWord Addr) const { return Memory[Addr & nova::AddrMask].Data; }
  // The register panel's preview: reports the effective address (-1 first) and returns the skip
  // result of the word at PC.
  bool EvaluateAtPC();
  // What the word at PC would do, changing nothing: whether it skips, and its effective address
  // (-1: it has none, or its indirect chain does not end).
  struct TPreview {
    bool Skip = false;
    int EffAddr = -1;
  };
  TPreview PreviewAtPC();

  // ---- I/O bus and interrupts
  void TickDevices();
  void CheckInterrupt();
  void RequestInterrupt(TDevice& Sender);
  int GetInterruptDevice() const;
  void MaskOutDevices(TWord Mask);
  void ResetDevices();
  // How many times the devices have been reset (IORST, the machine reset).
  std::uint64_t DeviceResets() const { return FDeviceResets; }
  // Called at every reset of the devices, before the devices are reset (the typed-key queue).
  std::function<void()> OnDevicesReset;
  // Gone back, a change from outside makes the run differ from the history: the readers' tapes
  // are to be put back where they were at this moment (TapeRequestsAhead), before the next read.
  std::function<void()> OnDiverge;
  // Marks every device for the next tick (after anything outside the devices changed IrqFlag).
  void WakeDevices() { FTickMask = AllDevicesMask; }
  // Ticks all six devices on every instruction instead of only those whose tick can matter.
  // Results are the same; tests compare the two.
  void SetPlainTicks(bool on) { FPlainTicks = on; WakeDevices(); }
  // The typed key to TTI: backspace as rubout, a-z as A-Z when asked.
  void KeyPress(int Key, bool Upcase);
  static std::uint8_t KeyToTtiByte(int Key, bool Upcase);

  // ---- run control; each refuses (srRefused) while the machine is executing
  TStopReason RunProgram();
  TStopReason Step();      // one instruction
  TStopReason StepOver();  // a JSR runs until it returns to the word after it; others are a step
  TStopReason ProgramLoad();  // the bootstrap loader at 0 to 37 octal, then a run from 0
  // A run (as RunProgram) that also stops, with srRunTo, before the first instruction executed
  // at Addr. The mark is gone when the run stops, for whatever reason.
  TStopReason RunTo(TWord Addr);
  // Runs until the current subroutine returns: a run (as RunProgram) that also stops, with
  // srStepOver, before the first instruction executed at the return address. That is the one
  // recorded when the JSR into the subroutine was stepped (Step); for a subroutine entered
  // otherwise, AC3 now. When the run stops for another reason first, the detail says so. A
  // stepped JSR is remembered while only steps, step overs and step outs that reach their
  // return address follow; any other stop forgets them.
  TStopReason StepOut();
  // The address StepOut would stop at.
  TWord StepOutTarget() const;
  // Goes on with a run that ended for a file request (srFileNeeded) once it has been answered:
  // a run from PC that does not step over a HALT there, stops at once on a breakpoint or
  // step-over mark at PC, and keeps counting toward the instruction limit.
  TStopReason ContinueRun();
  // Goes on with a run that was cut short (an instruction limit, a stop command) as if it had
  // never ended, as after a whole-machine state was put back: a run from PC that does not step
  // over a HALT there and stops at once on a breakpoint or step-over mark at PC, with the
  // instruction limit counted afresh (MachineState.cpp).
  TStopReason ResumeRun();
  void RequestStop();  // the stop command: a run ends after the current instruction
  // Ends a run or step after the current instruction; the first reason given is the one
  // reported. Outside a run it only turns a stop for a file request that was not answered with
  // a file into this reason.
  void Stop(TStopReason Reason, std::string Detail = {});
  void ResetCpu();

  // ---- the front panel's commands (PanelCommands.h), with Switches as the switch word.
  // EXAMINE and DEPOSIT act at Lamps.Address and show the word on Lamps.Data; RESET, START,
  // CONTINUE, INST STEP and PROG LOAD leave the lamps at PC and its word. Returns the stop
  // reason of the commands that run or step, otherwise srNone.
  TStopReason PanelCommand(TNovaCommands Command, TPanelLamps& Lamps);
  // Running, stepping or loading: the run loop or a step is on the stack.
  bool Executing() const { return FInExec; }
  TStopReason LastStopReason() const { return FLastStopReason; }
  const std::string& LastStopDetail() const { return FLastStopDetail; }
  // What the last srData stop was: the breakpoint's kind, the word, the address of the
  // instruction that read or wrote it (after which the interrupt came, when ByInterrupt), and
  // whether it was written.
  struct TDataStop {
    TBreakKind Kind = bkAccess;
    TWord Addr = 0;
    TWord PC = 0;
    bool Write = false;
    bool ByInterrupt = false;
  };
  const TDataStop& LastDataStop() const { return FLastDataStop; }
  std::uint64_t ExecutedCount() const { return FExecuted; }
  // A run stops with srLimit after this many executed instructions (0: no limit).
  std::uint64_t InstructionLimit = 0;
  // An indirect chain is cut after this many levels (the fuzz target cuts endless ones sooner).
  int IndirectLimit = MaxIndirectLevels;
  // 0: pump events by time, about once a millisecond; n: after every n instructions.
  void SetPumpInterval(std::uint32_t n) { FPumpInterval = n; }
  std::uint32_t PumpInterval() const { return FPumpInterval; }
  static const std::array<TWord, 32> Bootstrap;

  // ---- speed (Throttle.h): speed::Maximum, speed::Nova800, or instructions per second. The
  // timed modes charge each instruction its time (the Nova 800 table in Timing.h, or 1/rate),
  // and hold the run back at slice ends so that simulated time keeps to the wall clock. A change
  // during a run takes effect at the next slice end.
  void SetSpeed(std::uint32_t Speed);
  std::uint32_t Speed() const { return FSpeed; }
  bool Timed() const { return FSpeed != speed::Maximum; }
  // Simulated time in nanoseconds, charged in the timed modes only (runs and steps).
  std::uint64_t SimTimeNs() const { return FSimTime; }
  // Nova 800 mode: the teletype, the tape reader and punch and the line printer are Done their
  // characters' real time after Start (on by default).
  void SetRealSpeedDevices(bool on);
  bool RealSpeedDevices() const { return FRealSpeedDevices; }
  // Whether the devices now run at real speed (Nova 800 mode with the option on).
  bool DevicesAtRealSpeed() const { return FSpeed == speed::Nova800 && FRealSpeedDevices; }
  // The throttle's clock (nullptr: the steady clock).
  void SetThrottleClock(TThrottleClock* Clock) { FThrottle.SetClock(Clock); }
  const TThrottle& Throttle() const { return FThrottle; }

  // ---- memory
  void ClearMemory();      // Data of 0 .. MemSize-1 := 0 (flags stay), PC := 0, watches take the zeros
  int SetMemSize(int n);   // limited to 1 .. 32768; returns the new size (MemSizeChanged)
  // Memory from a dump file: every cell's flags cleared, the listed breakpoints marked again
  // (KeepBreakpoints) or the list emptied; a bigger dump raises MemSize; then a reset.
  bool LoadDump(const std::string& FileName, bool KeepBreakpoints, TMachineError* Error = nullptr);
  // The same with the words of a dump read before (DumpWords, MemoryDump.h).
  void LoadDumpWords(const std::vector<TWord>& Words, bool KeepBreakpoints);
  bool SaveDump(const std::string& FileName, TMachineError* Error = nullptr);
  // Into a file opened before (see WriteDumpTo).
  bool SaveDump(TReplacingFile& File, TMachineError* Error = nullptr);

  // ---- breakpoints of all kinds, sorted by first word, then kind, then last word. The cells
  // a data breakpoint covers carry ReadBreakFlag or WriteBreakFlag (both for access), and only
  // while one is set does the run look at them (the run loop has a variant that does). Every
  // operation tells the host the new count of Breakpoints() (BreakpointsChanged); so does a
  // run whose hit counts changed, at each pump and at its end.
  const std::vector<TBreakpoint>& Breakpoints() const { return FBreaks; }
  // Adds B, or replaces the breakpoint of its kind and words, with its hit count at 0. Refused
  // (false, nothing changed, the reason in Error) when its condition does not parse or its
  // range is reversed; an execute breakpoint is one word (Last is taken as First).
  bool SetBreakpoint(const TBreakpoint& B, std::string* Error = nullptr, const TSymbolLookup* Symbols = nullptr);
  // Adds them all at once (restoring settings); those refused are left out. Returns how many.
  int AddBreakpoints(const std::vector<TBreakpoint>& List);
  void ClearBreakpoint(TBreakKind Kind, TWord First, TWord Last);
  bool HasDataBreakpoints() const { return !FDataBreaks.empty(); }
  // Every hit count to 0 (a reset does it).
  void ResetHitCounts();
  // Execute breakpoints by address, as before kinds existed; ClearBreakpoints clears all kinds.
  static std::string AddrKey(TWord Addr);
  void SetBreakpoint(TWord Addr);
  void ClearBreakpoint(TWord Addr);
  void ToggleBreakpoint(TWord Addr);
  void SetBreakpoints(const std::vector<TWord>& Addrs);  // all at once (restoring settings)
  void ClearBreakpoints();
  bool HasBreakpoint(TWord Addr) const { return Memory[Addr & nova::AddrMask].Flags & BreakpointFlag; }

  // ---- watches; every operation tells the host the new count (WatchesChanged)
  void AddWatch(TWord Addr);                          // with the location's value now
  void AddWatches(const std::vector<TWord>& Addrs);   // all at once (restoring settings)
  void RemoveWatch(TWord Addr);
  void ClearWatches();
  void SetWatchAlert(TWord Addr, bool On);  // a change of the location stops a run
  // Compares the watched locations with the values seen last (Running: marks the changed
  // ones) and takes the new values; true when one with alert changed.
  bool CheckWatches(bool InRun);

  // ---- trace: the last TraceLength() executed instructions, oldest first
  void AddTraceItem(const TTraceData& Item);
  int TraceCount() const { return FTraceFull ? FTraceLength : FTracePos; }
  int TraceLength() const { return FTraceLength; }
  // MinTraceLength to MaxTraceLength records; the newest records stay (TraceChanged). Also from
  // the event pump of a run. A time slice is never longer than the trace, so a host that takes
  // the new records at each pump sees every one.
  void SetTraceLength(int Length);
  const TTraceData& TraceItem(int i) const;
  void ClearTrace();  // TraceChanged(0)

  // ---- going back in time (TimeTravel.h). Off by default; on, the machine keeps what it needs to
  // go back at least Instructions executed instructions, in memory bounded by that size
  // (HistoryBytes). Going back puts registers, memory, devices and interrupts back as they were;
  // output already made stays made (the host is told, OutputStays), and running forward again
  // gives the readers and the keyboard what they were given the first time, so it repeats what
  // happened, until a change from outside makes the run differ (the rest of the history is then
  // dropped). Each journey tells the host what changed, as a step does; all refuse while the
  // machine is executing.
  void SetHistorySize(std::uint64_t Instructions);  // 0: off, and what was recorded is dropped
  std::uint64_t HistorySize() const { return FHistory ? FHistory->Size : 0; }
  // The moments the history can go to: HistoryStart() to HistoryEnd() (ExecutedCount() values).
  std::uint64_t HistoryStart() const;
  std::uint64_t HistoryEnd() const;
  bool GoneBack() const { return FHistory && FHistory->ReplayTo; }
  std::size_t HistoryBytes() const { return FHistory ? FHistory->Bytes() : 0; }
  // To the moment when Count instructions had been executed; false (nothing changed) outside
  // the history.
  bool TravelTo(std::uint64_t Count);
  bool ReverseStep();  // one instruction back
  // Back to the last moment before now at which a run would have stopped for an execute
  // breakpoint (before the instruction), a data breakpoint or a watch with alert (after it), a
  // condition holding (counts are not looked at going back); or to the start of the history.
  // Returns srBreakpoint, srData or srWatch, srNone at the start, srRefused when nothing was
  // done (LastStopReason and LastStopDetail tell it too).
  TStopReason ReverseRun();
  // The instruction that last wrote the word (a store of any value, as a write breakpoint sees
  // it), before now within the history. Changes nothing.
  TLastWrite LastWriter(TWord Addr);
  // To just before the instruction of trace record Index (TraceItem) was executed.
  bool TravelToTrace(int Index);
  // Gone back: how many of the reader's requests for a byte after now moved its tape on (a byte
  // read, or a trailer byte counted at the end of the tape; a request of a tape that had run out
  // moved nothing). The teletype's counts only while its reader was on. 0 at the head.
  std::uint64_t TapeRequestsAhead(bool Teletype) const;

private:
  friend struct TStateAccess;  // whole-machine states (MachineState.cpp)

  // The registers the run loop keeps in locals; the accumulators stay in AC.
  struct TRegs {
    TWord PC;
    TWord Carry;
    std::uint64_t Count;  // executed instructions
    TTraceData* Trace;    // where the next trace record goes
  };
  enum { exNoSkip = 0, exSkip = 1, exAbandoned = 2 };
  static constexpr std::uint32_t AllDevicesMask = 0x3f;
  static constexpr std::uint32_t ClockCheckInterval = 4096;

  TRegs LoadRegs() { return TRegs{TWord(PC & nova::AddrMask), Carry, FExecuted, FTraceData + FTracePos}; }
  void StoreRegs(const TRegs& r) {
    PC = r.PC;
    Carry = r.Carry;
    FExecuted = r.Count;
    FTracePos = int(r.Trace - FTraceData);
  }

  // The execution engine (ExecCore.h).
  // Checked: the variant that looks for data breakpoints at each data access.
  template <bool Exec, bool Checked = false> int GetIndirectT(TWord a);
  template <bool Exec, bool Checked = false> int EffAddrT(TWord pc, TWord cmd);
  template <bool Exec, bool Checked = false> int ExecuteT(TRegs& r, TWord cmd);
  template <bool Exec> bool ExecIoT(TWord cmd, bool& halt);
  template <bool Checked = false> inline int ExecuteOne(TRegs& r, TWord cmd);
  inline void AfterInstruction(TRegs& r, int res);
  // A data access of the word at a (Kinds: ReadBreakFlag, WriteBreakFlag or both), looked at
  // only in the checked variant.
  template <bool Checked> void Touch(TWord a, std::uint8_t Kinds);
  // The access hit a flagged word: marks the data breakpoints it reaches.
  void NoteAccess(TWord a, std::uint8_t Kinds);
  // After the instruction (or the interrupt cycle): the data breakpoints reached, their
  // conditions and counts, and the stop.
  void DataHits(TWord pc, TWord carry);
  // An arrival at B: its condition, then its count; true when it stops the run.
  bool Reached(TBreakpoint& B);
  // The execute breakpoint at Pc was arrived at (registers in the machine's fields).
  bool ExecuteBreakReached(TWord Pc);
  // B into FBreaks in its place (Replace: also over one of its kind and words); false (Error:
  // why) for a reversed range or a condition that does not parse.
  bool InsertBreak(TBreakpoint B, bool Replace, std::string* Error, const TSymbolLookup* Symbols);
  // BreakPoints, the cell flags and the data breakpoint table from FBreaks, then the host told.
  void BreaksChanged();
  // The flags of the cells from FBreaks (all other breakpoint flags cleared).
  void RemarkBreaks();
  void ForgetSteppedCalls() { FSteppedCalls.clear(); }
  void SetGoal(TWord Addr, TStopReason Reason);
  void ClearGoal();
  inline void WriteTrace(TRegs& r, TWord pc, TWord cmd);
  bool IoInstruction(TWord cmd);  // true when it halted
  void ChainCut(TWord pc);
  TWord TakeInterrupt(TWord pc);  // returns the new PC
  bool CheckWatchesRunning();
  // Returns the new PC; the carry is for the conditions of data breakpoints.
  TWord Attention(TWord pc, TWord carry, int res);
  // Whether the per-instruction slow path is needed: watches exist, the interrupt flags are
  // not at rest (a request with interrupts on, or an enable still to take effect), or the
  // instruction reached a data breakpoint (kept until it has been looked at).
  static constexpr std::uint32_t DataHitAttention = 4;
  void UpdateAttention() {
    FAttention = (FAttention & DataHitAttention) | (Watch.empty() ? 0u : 1u) |
                 (((IrqFlag && IntEnable) || IntEnable != PreEnable) ? 2u : 0u);
  }

  void BeginExec();
  void EndExec();

  // ---- the history (TimeTravel.cpp)
  void ByteRequest(TInDevice& Device);
  bool LetOut(TDevice& Device);
  // Recording or replaying the answers of the world outside: executing, not in the event pump.
  bool TapActive() const { return FHistory && FInExec && !FInPump; }
  void CountEdit() { ++FEdits; }
  TRegisterState TakeRegs() const;
  void PutRegs(const TRegisterState& Regs);
  void TakeFrame();
  void PushEvent(THistoryEvent::TKind Kind, int Slot);
  void ApplyEvent(const THistoryEvent& Event);
  // The reset hook's answer (the keyboard), recorded or replayed.
  void ResetHook();
  // A change from outside while gone back: the records after now are dropped.
  void Diverge();
  // Changes from outside since the machine was left (before a run or step, after a pump).
  void NoteOutsideChanges();
  // The machine has arrived at a moment by executing: the records of it replayed, the head
  // reached, a frame when one is due.
  void HistoryArrive();
  void HistoryLeave();  // the state now is what the next start compares with
  // Instructions until the next moment with records to replay (gone back), else the maximum.
  std::uint64_t HistoryLeft() const;
  void ClearHistory();
  void DropHistory();  // a state put back: the history starts anew at the next start
  // Executes to Target as the run did, with the recorded answers and no output or trace; Scan:
  // notes the last moment a run would have stopped at.
  enum TReplayMode { rmPlain, rmScan, rmProbe };
  template <bool Checked> void ReplayTo(std::uint64_t Target, TReplayMode Mode);
  void Replay(std::uint64_t Target, TReplayMode Mode);
  // Frame j put back, the records from it to be replayed.
  void RestoreFrame(std::uint64_t j);
  // The newest frame at or before Count.
  std::uint64_t FrameAt(std::uint64_t Count) const;
  // Around the replays of an operation: the trace (Scratch: the replay's records go nowhere),
  // the hit counts and the watches kept, no stops and no pumps.
  void BeginReplay(bool Scratch);
  void EndReplay();
  void ReplayFrom(std::uint64_t Frame, std::uint64_t Target, TReplayMode Mode);
  // The replay to the moment Count before Now, the trace as it was then; ends the replay.
  void GoBackTo(std::uint64_t Count, std::uint64_t Now);
  // After a journey from the moment Now: where the head is, and the host told.
  void Arrived(std::uint64_t Now);
  void DropNewestTrace(std::uint64_t n);
  struct TReplaySave {
    std::vector<std::uint64_t> Hits;
    std::vector<TWatchMem> Watches;
    bool Scratch = false;
    TTraceData* Data = nullptr;
    TTraceData* End = nullptr;
    int Pos = 0;
    bool Full = false;
    std::uint64_t Head = 0;
    int MemSize = 0;
    TWord Switches = 0;
  };
  TReplaySave FReplaySave;
  std::uint64_t FReplayBefore = 0;  // a scan notes stops before this moment
  struct TReplayStop {
    bool Found = false;
    std::uint64_t At = 0;
    TStopReason Reason = srNone;
    std::string Detail;
    TDataStop Data;
  };
  TReplayStop FReplayStop;
  TLastWrite FReplayWrite;
  // The run loop and what follows it, for RunProgram, StepOver and ContinueRun; MarksFirst:
  // the marks at PC stop the run before anything is executed.
  TStopReason Run(bool MarksFirst);
  // A breakpoint, step-over mark or goal (Flags of the cell at Pc) ends the run: true, and the
  // step-over mark is taken off. The registers are in the machine's fields.
  bool StopAtMark(TWord Pc, std::uint8_t Flags);
  void InsertWatch(TWord Addr);
  std::uint32_t NextSlice(std::uint64_t left) const;
  // Between two time slices of a run, with the registers in the machine's fields: the register
  // display, the event pump (a plain run pumps about once a millisecond, a timed run after every
  // slice) and the instruction limit.
  void SliceEnd(std::uint64_t left, bool Timed);
  // The run loop; Timed charges simulated time and holds back at slice ends. Returns when FRun
  // is cleared: the run ends, or the speed changed (FSpeedSwitch) and the other loop goes on.
  template <bool Timed, bool Checked> void RunLoop();
  void RunTimed();
  void RunMaximum();
  void RunTimedChecked();
  void RunMaximumChecked();
  std::uint32_t NextTimedSlice(std::uint64_t left) const;
  // A timed slice of ran instructions has ended: its charge at a fixed rate, then the hold until
  // the wall clock has caught up.
  void HoldBack(std::uint32_t ran);
  // Fixed rate: the time of n instructions, the remainder carried to the next call.
  void ChargeFixed(std::uint64_t n);
  // One instruction executed by a step, charged as the run would.
  void ChargeStep(TWord cmd, const TAccumulators& before);
  // The Nova 800 time of the instruction just executed, given its time without indirect levels.
  std::uint64_t Nova800Ns(TWord cmd, std::uint64_t baseNs) const;
  void ApplyDeviceTiming();
  // Reports changed trace and watch counts (the trace count always when Final).
  void FlushNotifications(bool Final = false);

  TMachineHost FNoHost;
  TMachineHost* FHost = &FNoHost;

  std::uint64_t FDeviceResets = 0;
  std::uint32_t FTickMask = AllDevicesMask;
  std::uint32_t FAttention = 0;
  bool FPlainTicks = false;
  TDevice* FTickDevices[6] = {};

  bool FRun = false;
  bool FInExec = false;
  TStopReason FStopReason = srNone;
  std::string FStopDetail;
  TStopReason FLastStopReason = srNone;
  std::string FLastStopDetail;
  std::uint64_t FExecuted = 0;
  std::uint32_t FPumpInterval = 0;
  std::chrono::steady_clock::time_point FLastPump{};

  std::vector<TTraceData> FTrace;
  TTraceData* FTraceData = nullptr;  // FTrace's records
  TTraceData* FTraceEnd = nullptr;
  int FTraceLength = DefaultTraceLength;
  int FTracePos = 0;  // where the next record goes
  bool FTraceFull = false;
  std::uint64_t FTraceReportedAt = 0;
  bool FTraceDirty = false;
  bool FWatchesDirty = false;

  std::uint32_t FSpeed = speed::Maximum;
  // The speed or the presence of data breakpoints changed during a run: the loop is left at
  // the slice end and the run goes on in the other one.
  bool FSpeedSwitch = false;
  bool FLoopChecked = false;  // the loop running is the checked variant
  bool FRealSpeedDevices = true;
  std::uint64_t FSimTime = 0;
  std::uint64_t FRateRemainder = 0;  // fixed rate: ns * rate not yet charged
  int FChainLevels = 0;              // words read by the last executed indirect chain
  int FEvalAddr = -1;                // the effective address of the last evaluated word

  std::vector<TBreakpoint> FBreaks;
  // The data breakpoints, for the memory path: the words, which accesses, and what the
  // instruction being executed did to them.
  struct TDataBreak {
    TWord First, Last;
    std::uint8_t Kinds;    // ReadBreakFlag, WriteBreakFlag
    std::size_t Index;     // in FBreaks
    std::uint8_t Touched;  // the accesses of the instruction at At (0: none)
    TWord At;
    bool ByInterrupt;
  };
  std::vector<TDataBreak> FDataBreaks;
  bool FBreaksDirty = false;  // a hit count changed during the run
  TWord FExecPC = 0;          // the instruction being executed (checked variant)
  bool FInInterrupt = false;  // the interrupt cycle is making the accesses
  TDataStop FDataStop, FLastDataStop;
  int FGoal = -1;  // the address of GoalFlag, -1: none
  TStopReason FGoalReason = srRunTo;
  static constexpr std::size_t MaxSteppedCalls = 256;
  std::vector<TWord> FSteppedCalls;  // return addresses of stepped JSRs, the newest last
  std::uint64_t FLeft = ~std::uint64_t(0);  // instructions left before the limit of the last run
  TThrottle FThrottle;

  std::unique_ptr<THistory> FHistory;
  std::uint64_t FEdits = 0;  // memory changes by operations
  bool FInPump = false;
  bool FReplaying = false;   // a journey's replay: no stops, no pumps
  // The devices' tap while a history is kept. A member rather than a base class: the machine
  // itself has no table of virtual functions, and the fields of the run loop keep their places.
  struct TTap final : TDeviceTap {
    explicit TTap(TNovaMachine& Machine) : M(Machine) {}
    void ByteRequest(TInDevice& Device) override { M.ByteRequest(Device); }
    bool LetOut(TDevice& Device) override { return M.LetOut(Device); }
    TNovaMachine& M;
  };
  TTap FTap{*this};
};
