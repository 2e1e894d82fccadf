// The simulated Nova 800: registers, memory, the I/O bus with its six devices, the interrupt
// system, run control, breakpoints, watches and the trace. Plain C++; the program around it
// implements TMachineHost.
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Devices.h"
#include "MachineHost.h"
#include "MachineTypes.h"
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

  // ---- machine state
  std::array<TMemCell, MemoryWords> Memory{};
  int MemSize = MemoryWords;  // words in use, 1 to 32768; execution ignores it
  TWord PC = 0;
  TWord FCarry = 0;
  TAkkus Akkus{};
  TWord FSwitches = 0;
  bool PreEnable = false;
  bool IntEnable = false;
  bool IrqFlag = false;
  bool FRun = false;

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
  std::vector<TWord> BreakPoints;  // sorted addresses; a cell has BreakpointFlag exactly when listed
  std::vector<TWatchMem> Watch;    // sorted by address; Alert may be switched directly
  bool ShowEachStep = false;       // "Show each program step": registers shown and events pumped per instruction

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

  // ---- I/O bus and interrupts
  bool ExecIoCommand(TWord Cmd, bool Exec, bool& Halt);
  void TickDevices();
  void CheckInterrupt();
  void RequestInterrupt(TDevice& Sender);
  int GetInterruptDevice() const;
  void MaskOutDevices(TWord Mask);
  void ResetDevices();
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
  TStopReason btStepClick();
  TStopReason btStepOverClick();
  TStopReason ProgramLoad();
  void btStopClick();  // stop command: the run ends after the current instruction
  // Ends a run; the first reason given during a run or step is the one reported.
  void Stop(TStopReason Reason, std::string Detail = {});
  void ResetCpu();
  // Running, stepping or loading: the run loop or a step is on the stack.
  bool Executing() const { return FInExec; }
  TStopReason LastStopReason() const { return FLastStopReason; }
  const std::string& LastStopDetail() const { return FLastStopDetail; }
  std::uint64_t ExecutedCount() const { return FExecuted; }
  // A run stops with srLimit after this many executed instructions (0: no limit).
  std::uint64_t InstructionLimit = 0;
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
  void ClearMemory();      // Data of 0 .. MemSize-1 := 0 (flags stay), PC := 0
  int SetMemSize(int n);   // limited to 1 .. 32768; returns the new size
  bool LoadDump(const std::string& FileName, bool KeepBreakpoints, std::string* Error = nullptr);
  bool SaveDump(const std::string& FileName, std::string* Error = nullptr);
  // Into a file opened before (see WriteDumpTo).
  bool SaveDump(TReplacingFile& File, std::string* Error = nullptr);

  // ---- breakpoints. Every list operation except the *Item ones (restoring settings) tells the
  // host the new count.
  static std::string AddrKey(TWord Addr);
  void SetBreakpoint(TWord Addr);
  void ClearBreakpoint(TWord Addr);
  void AddBreakpointItem(TWord Addr);
  // Many at once (restoring settings: up to every address), in any order; repeats are dropped.
  void AddBreakpointItems(const std::vector<TWord>& Addrs);
  void RemoveBreakpointItem(TWord Addr);
  int DeleteBreakpoint(TWord Addr);  // returns the count left
  void DeleteAllBreakpoints();

  // ---- watches
  void AddWatch(TWord Addr);
  void AddWatchItem(TWord Addr, TWord Data);
  // Many at once with the value 0, in any order, repeats dropped; the host is told once.
  void AddWatchItems(const std::vector<TWord>& Addrs);
  int DeleteWatch(TWord Addr);  // returns the count left
  void ClearWatches();
  bool CheckWatches(bool Running);

  // ---- trace: the last TraceCapacity executed instructions, oldest first
  void AddTraceItem(const TTraceData& Item);
  int TraceCount() const { return FTraceFull ? TraceCapacity : FTracePos; }
  const TTraceData& TraceItem(int i) const;
  void ClearTrace();

private:
  // The registers the run loop keeps in locals; the accumulators stay in Akkus.
  struct TRegs {
    TWord PC;
    TWord Carry;
    std::uint64_t Count;  // executed instructions
    TTraceData* Trace;    // where the next trace record goes
  };
  enum { exNoSkip = 0, exSkip = 1, exAbandoned = 2 };
  static constexpr std::uint32_t AllDevicesMask = 0x3f;
  static constexpr std::uint32_t ClockCheckInterval = 4096;

  TRegs LoadRegs() { return TRegs{TWord(PC & nova::AddrMask), FCarry, FExecuted, FTrace.data() + FTracePos}; }
  void StoreRegs(const TRegs& r) {
    PC = r.PC;
    FCarry = r.Carry;
    FExecuted = r.Count;
    FTracePos = int(r.Trace - FTrace.data());
  }

  // The execution engine (ExecCore.h).
  template <bool Exec> int GetIndirectT(TWord a);
  template <bool Exec> int EffAddrT(TWord pc, TWord cmd);
  template <bool Exec> int ExecuteT(TRegs& r, TWord cmd);
  template <bool Exec> bool ExecIoT(TWord cmd, bool& halt);
  inline int ExecuteOne(TRegs& r, TWord cmd);
  inline void AfterInstruction(TRegs& r, int res);
  inline void WriteTrace(TRegs& r, TWord pc, TWord cmd);
  bool IoInstruction(TWord cmd);  // true when it halted
  void ChainCut(TWord pc);
  TWord TakeInterrupt(TWord pc);  // returns the new PC
  bool CheckWatchesRunning();
  TWord Attention(TWord pc, int res);  // returns the new PC
  // Whether the per-instruction slow path is needed: watches exist, or the interrupt flags are
  // not at rest (a request with interrupts on, or an enable still to take effect).
  void UpdateAttention() {
    FAttention = (Watch.empty() ? 0u : 1u) |
                 (((IrqFlag && IntEnable) || IntEnable != PreEnable) ? 2u : 0u);
  }

  void BeginExec();
  void EndExec();
  std::uint32_t NextSlice(std::uint64_t left) const;
  void SliceEnd(std::uint64_t left);
  // The run loop; Timed charges simulated time and holds back at slice ends. Returns when FRun
  // is cleared: the run ends, or the speed changed (FSpeedSwitch) and the other loop goes on.
  template <bool Timed> void RunLoop();
  void RunTimed();
  void RunMaximum();
  std::uint32_t NextTimedSlice(std::uint64_t left) const;
  void TimedSliceEnd(std::uint64_t left, std::uint32_t ran);
  // Fixed rate: the time of n instructions, the remainder carried to the next call.
  void ChargeFixed(std::uint64_t n);
  // One instruction executed by a step, charged as the run would.
  void ChargeStep(TWord cmd, const TAkkus& before);
  void ApplyDeviceTiming();
  // Reports changed trace and watch counts (the trace count always when Final).
  void FlushNotifications(bool Final = false);

  TMachineHost FNoHost;
  TMachineHost* FHost = &FNoHost;

  std::uint32_t FTickMask = AllDevicesMask;
  std::uint32_t FAttention = 0;
  bool FPlainTicks = false;
  TDevice* FTickDevices[6] = {};

  bool FInExec = false;
  TStopReason FStopReason = srNone;
  std::string FStopDetail;
  TStopReason FLastStopReason = srNone;
  std::string FLastStopDetail;
  std::uint64_t FExecuted = 0;
  std::uint32_t FPumpInterval = 0;
  std::chrono::steady_clock::time_point FLastPump{};

  alignas(64) std::array<TTraceData, TraceCapacity> FTrace{};
  int FTracePos = 0;  // where the next record goes
  bool FTraceFull = false;
  std::uint64_t FTraceReportedAt = 0;
  bool FTraceDirty = false;
  bool FWatchesDirty = false;

  std::uint32_t FSpeed = speed::Maximum;
  bool FSpeedSwitch = false;  // the speed changed during a run: the loop is left at the slice end
  bool FRealSpeedDevices = true;
  std::uint64_t FSimTime = 0;
  std::uint64_t FRateRemainder = 0;  // fixed rate: ns * rate not yet charged
  int FChainLevels = 0;              // words read by the last executed indirect chain
  std::uint64_t FLeft = 0;           // instructions left before the limit, during a run
  TThrottle FThrottle;
};
