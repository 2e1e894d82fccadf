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

  // ---- memory
  void ClearMemory();      // Data of 0 .. MemSize-1 := 0 (flags stay), PC := 0
  int SetMemSize(int n);   // limited to 1 .. 32768; returns the new size
  bool LoadDump(const std::string& FileName, bool KeepBreakpoints, std::string* Error = nullptr);
  bool SaveDump(const std::string& FileName, std::string* Error = nullptr);

  // ---- breakpoints. Every list operation except the *Item ones (restoring settings) tells the
  // host the new count.
  static std::string AddrKey(TWord Addr);
  void SetBreakpoint(TWord Addr);
  void ClearBreakpoint(TWord Addr);
  void AddBreakpointItem(TWord Addr);
  void RemoveBreakpointItem(TWord Addr);
  int DeleteBreakpoint(TWord Addr);  // returns the count left
  void DeleteAllBreakpoints();

  // ---- watches
  void AddWatch(TWord Addr);
  void AddWatchItem(TWord Addr, TWord Data);
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

  std::array<TTraceData, TraceCapacity> FTrace{};
  int FTracePos = 0;  // where the next record goes
  bool FTraceFull = false;
  std::uint64_t FTraceReportedAt = 0;
  bool FTraceDirty = false;
  bool FWatchesDirty = false;
};
