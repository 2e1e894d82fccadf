// Run, step, step over, stop, reset and program load.
#include "ExecCore.h"
#include "Timing.h"
#include "SafeFormat.h"
#include "Translate.h"

const std::array<TWord, 32> TNovaMachine::Bootstrap = {
    0062677, 0060477, 0024026, 0107400, 0124000, 0010014, 0010030, 0010032,
    0125404, 0000005, 0030016, 0050377, 0060077, 0101102, 0000377, 0004030,
    0101065, 0000017, 0004027, 0046026, 0010100, 0000022, 0000077, 0126420,
    0063577, 0000030, 0060477, 0107363, 0000030, 0125300, 0001400, 0000000,
};

void TNovaMachine::BeginExec() {
  if (FHistory) NoteOutsideChanges();
  FInExec = true;
  FStopReason = srNone;
  FStopDetail.clear();
  FDataStop = TDataStop{};
  // Accesses noted outside a run (an interrupt taken by CheckInterrupt) stop nothing.
  FAttention &= ~DataHitAttention;
  for (TDataBreak& d : FDataBreaks) d.Touched = 0;
  WakeDevices();
  UpdateAttention();
}

void TNovaMachine::EndExec() {
  FInExec = false;
  FLastStopReason = FStopReason;
  FLastStopDetail = FStopDetail;
  FLastDataStop = FDataStop;
}

void TNovaMachine::Stop(TStopReason Reason, std::string Detail) {
  FRun = false;
  if (!FInExec) {
    // After the run: a file request that got no file becomes what the device then did.
    if (FLastStopReason == srFileNeeded) {
      FLastStopReason = Reason;
      FLastStopDetail = std::move(Detail);
    }
    return;
  }
  if (FStopReason == srNone) {
    FStopReason = Reason;
    FStopDetail = std::move(Detail);
  }
}

void TNovaMachine::FlushNotifications(bool Final) {
  if (Final || FTraceDirty || FTraceReportedAt != FExecuted) {
    FTraceDirty = false;
    FTraceReportedAt = FExecuted;
    FHost->TraceChanged(TraceCount());
  }
  if (FWatchesDirty) {
    FWatchesDirty = false;
    FHost->WatchesChanged(int(Watch.size()));
  }
  if (FBreaksDirty) {
    FBreaksDirty = false;
    FHost->BreakpointsChanged(int(FBreaks.size()));
  }
}

std::uint32_t TNovaMachine::NextSlice(std::uint64_t left) const {
  // Gone back: the slice ends where recorded changes are to be replayed.
  if (FHistory && FHistory->ReplayTo) left = std::min(left, HistoryLeft());
  std::uint32_t slice = ShowEachStep ? 1 : FPumpInterval ? FPumpInterval : ClockCheckInterval;
  // A host that takes the new trace records at each pump must find them all still there.
  if (slice > std::uint32_t(FTraceLength)) slice = std::uint32_t(FTraceLength);
  return left < slice ? std::uint32_t(left) : slice;
}

void TNovaMachine::SliceEnd(std::uint64_t left, bool Timed) {
  bool pump = true;
  if (ShowEachStep) {
    FHost->RegistersChanged();
  } else if (!Timed && !FPumpInterval) {
    const auto now = std::chrono::steady_clock::now();
    pump = now - FLastPump >= std::chrono::milliseconds(1);
    if (pump) FLastPump = now;
  }
  if (FHistory) {
    HistoryArrive();
    if (pump) HistoryLeave();
  }
  if (pump) {
    FlushNotifications();
    FInPump = true;
    FHost->PumpEvents();
    FInPump = false;
    if (FHistory) NoteOutsideChanges();
    WakeDevices();  // the host may have changed interrupt state directly
    UpdateAttention();
  }
  if (left == 0 && FRun) Stop(srLimit);
}

void TNovaMachine::HoldBack(std::uint32_t ran) {
  if (FSpeed != speed::Nova800) ChargeFixed(ran);
  FThrottle.Hold(FSimTime);
}

std::uint32_t TNovaMachine::NextTimedSlice(std::uint64_t left) const {
  if (FHistory && FHistory->ReplayTo) left = std::min(left, HistoryLeft());
  std::uint64_t slice = 1;
  if (!ShowEachStep) {
    // Nova 800: at most a slice's time of the fastest instructions (the charged time ends it
    // earlier); a fixed rate: a slice's time of instructions.
    slice = FSpeed == speed::Nova800 ? std::uint64_t(TThrottle::SliceNs) / nova800::ClassNs[nova800::tcAlu]
                                     : std::uint64_t(FSpeed) * TThrottle::SliceNs / 1'000'000'000u;
    if (slice == 0) slice = 1;
    // Never longer than the pump interval asked for, nor than the trace: a host that takes the
    // new trace records at each pump must find them all still there.
    if (FPumpInterval && slice > FPumpInterval) slice = FPumpInterval;
    if (slice > std::uint64_t(FTraceLength)) slice = std::uint64_t(FTraceLength);
  }
  return std::uint32_t(left < slice ? left : slice);
}

void TNovaMachine::ChargeFixed(std::uint64_t n) {
  if (n == 0 || FSpeed == speed::Maximum || FSpeed == speed::Nova800) return;  // changed during the pump
  const std::uint64_t total = n * 1'000'000'000u + FRateRemainder;
  FSimTime += total / FSpeed;
  FRateRemainder = total % FSpeed;
}

CORVANE_INLINE std::uint64_t TNovaMachine::Nova800Ns(TWord cmd, std::uint64_t baseNs) const {
  if (nova800::IsIndirectReference(cmd))
    baseNs += std::uint64_t(FChainLevels) * nova800::ClassNs[nova800::tcIndirect];
  return baseNs;
}

void TNovaMachine::ChargeStep(TWord cmd, const TAccumulators& before) {
  if (FSpeed == speed::Nova800)
    FSimTime += Nova800Ns(cmd, nova800::BaseNs(cmd, before));
  else if (FSpeed != speed::Maximum)
    ChargeFixed(1);
}

void TNovaMachine::SetSpeed(std::uint32_t Speed) {
  Speed = speed::Normalize(Speed);
  if (Speed == FSpeed) return;
  FSpeed = Speed;
  FRateRemainder = 0;
  if (FInExec && FRun) {
    // The run loop in use ends after this pump, and RunProgram goes on with the other one.
    FSpeedSwitch = true;
    FRun = false;
  }
  ApplyDeviceTiming();
}

void TNovaMachine::SetRealSpeedDevices(bool on) {
  FRealSpeedDevices = on;
  ApplyDeviceTiming();
}

void TNovaMachine::ApplyDeviceTiming() {
  using namespace nova800;
  const bool real = DevicesAtRealSpeed();
  const auto delay = [real](std::uint32_t cps) { return real ? CharacterNs(cps) : 0u; };
  Tto.SetRealTime(&FSimTime, delay(TeletypeCps));
  Tti.SetRealTime(&FSimTime, delay(TeletypeCps));
  Ptr.SetRealTime(&FSimTime, delay(TapeReaderCps));
  Ptp.SetRealTime(&FSimTime, delay(TapePunchCps));
  Lpt.SetRealTime(&FSimTime, delay(LinePrinterCps));
}

template <bool Timed, bool Checked>
CORVANE_INLINE void TNovaMachine::RunLoop() {
  std::uint64_t left = FLeft;
  std::uint32_t slice = Timed ? NextTimedSlice(left) : NextSlice(left);
  std::uint32_t count = slice;
  std::uint64_t sliceEnd = 0;
  if constexpr (Timed) {
    FThrottle.Start(FSimTime);
    sliceEnd = FSimTime + TThrottle::SliceNs;
  } else {
    FLastPump = std::chrono::steady_clock::now();
  }
  TRegs r = LoadRegs();
  TWord cmd = Memory[r.PC].Data;
  for (;;) {
    if constexpr (Timed) {
      if (FSpeed == speed::Nova800) {
        const std::uint64_t base = nova800::BaseNs(cmd, AC);
        const int res = ExecuteOne<Checked>(r, cmd);
        FSimTime += Nova800Ns(cmd, base);
        AfterInstruction(r, res);
      } else {
        AfterInstruction(r, ExecuteOne<Checked>(r, cmd));
      }
    } else {
      AfterInstruction(r, ExecuteOne<Checked>(r, cmd));
    }
    bool sliceDone = --count == 0;
    if constexpr (Timed) sliceDone = sliceDone || FSimTime >= sliceEnd;
    if (sliceDone) {
      const std::uint32_t ran = slice - count;
      left -= ran;
      StoreRegs(r);
      if constexpr (Timed) HoldBack(ran);
      SliceEnd(left, Timed);
      if constexpr (Timed) sliceEnd = FSimTime + TThrottle::SliceNs;
      r = LoadRegs();
      slice = count = Timed ? NextTimedSlice(left) : NextSlice(left);
      if (slice == 0) slice = count = 1;  // limit reached: the run has been stopped
    }
    if (!FRun) break;
    // Breakpoint, step-over mark and goal at the next instruction, fetched here with its flags.
    const TMemCell cell = Memory[r.PC];
    if (cell.Flags & ExecMarks) {
      StoreRegs(r);  // a condition reads the registers
      if (StopAtMark(r.PC, cell.Flags)) break;
    }
    cmd = cell.Data;
  }
  StoreRegs(r);
  if constexpr (Timed) {
    if (FSpeed != speed::Nova800) ChargeFixed(slice - count);  // the part of the last slice
  }
  FLeft = left;
}

// Kept out of RunProgram, whose maximum-speed loop stays as compact as it was. The checked
// variants run while data breakpoints exist.
__attribute__((noinline)) void TNovaMachine::RunTimed() { RunLoop<true, false>(); }
__attribute__((noinline)) void TNovaMachine::RunMaximum() { RunLoop<false, false>(); }
__attribute__((noinline)) void TNovaMachine::RunTimedChecked() { RunLoop<true, true>(); }
__attribute__((noinline)) void TNovaMachine::RunMaximumChecked() { RunLoop<false, true>(); }

bool TNovaMachine::StopAtMark(TWord Pc, std::uint8_t Flags) {
  if ((Flags & BreakpointFlag) && ExecuteBreakReached(Pc)) {
    Stop(srBreakpoint);
    return true;
  }
  if (Flags & StepOverFlag) {
    Memory[Pc].Flags = std::uint8_t(Flags & ~StepOverFlag);
    Stop(srStepOver);
    return true;
  }
  if ((Flags & GoalFlag) && FGoal == Pc) {
    Stop(FGoalReason);
    return true;
  }
  return false;
}

void TNovaMachine::SetGoal(TWord Addr, TStopReason Reason) {
  ClearGoal();
  FGoal = Addr & nova::AddrMask;
  FGoalReason = Reason;
  Memory[std::size_t(FGoal)].Flags |= GoalFlag;
}

void TNovaMachine::ClearGoal() {
  if (FGoal >= 0) Memory[std::size_t(FGoal)].Flags &= std::uint8_t(~GoalFlag);
  FGoal = -1;
}

TStopReason TNovaMachine::Run(bool MarksFirst) {
  BeginExec();
  FRun = true;
  FHost->RunStateChanged();
  FHost->RunningChanged(true);
  for (bool marks = MarksFirst;; marks = true) {
    if (marks) {
      // Nothing has been executed yet, or only the change of speed ended the loop: the marks of
      // the next instruction are still to be seen.
      if (FLeft == 0) {
        Stop(srLimit);
        break;
      }
      const TWord pc = PC & nova::AddrMask;
      if (StopAtMark(pc, Memory[pc].Flags)) break;
    }
    FSpeedSwitch = false;
    FLoopChecked = !FDataBreaks.empty();
    if (Timed())
      FLoopChecked ? RunTimedChecked() : RunTimed();
    else
      FLoopChecked ? RunMaximumChecked() : RunMaximum();
    if (!FSpeedSwitch || FStopReason != srNone) break;
    FRun = true;
  }

  if (FHistory) {
    HistoryArrive();
    HistoryLeave();
  }
  if (FStopReason == srNone) FStopReason = srStop;  // FRun cleared directly
  // A run that asks for a file goes on once it has one; any other stop ends it.
  if (FStopReason != srFileNeeded) {
    ClearGoal();
    if (FStopReason != srStepOver) ForgetSteppedCalls();
  }
  EndExec();
  FHost->RunStateChanged();
  FHost->RunningChanged(false);
  FHost->MemoryChanged();
  FHost->RegistersChanged();
  FlushNotifications(true);
  return FLastStopReason;
}

TStopReason TNovaMachine::RunProgram() {
  if (FInExec) return srRefused;
  if (Memory[PC & nova::AddrMask].Data == nova::HaltWord) PC = TWord((PC + 1) & nova::AddrMask);
  FLeft = InstructionLimit ? InstructionLimit : ~std::uint64_t(0);
  return Run(false);
}

TStopReason TNovaMachine::ContinueRun() {
  if (FInExec) return srRefused;
  return Run(true);
}

TStopReason TNovaMachine::Step() {
  if (FInExec) return srRefused;
  BeginExec();
  TRegs r = LoadRegs();
  const TWord cmd = Memory[r.PC].Data;
  const TAccumulators before = AC;
  const int res = FDataBreaks.empty() ? ExecuteOne<false>(r, cmd) : ExecuteOne<true>(r, cmd);
  if (FSpeed != speed::Maximum) ChargeStep(cmd, before);
  AfterInstruction(r, res);
  StoreRegs(r);
  if (FHistory) {
    HistoryArrive();
    HistoryLeave();
  }
  // The return of a stepped JSR, then a new one.
  if (!FSteppedCalls.empty() && PC == FSteppedCalls.back()) FSteppedCalls.pop_back();
  if ((cmd & nova::JsrMask) == nova::JsrWord && res != exAbandoned) {
    if (FSteppedCalls.size() == MaxSteppedCalls) FSteppedCalls.erase(FSteppedCalls.begin());
    FSteppedCalls.push_back(AC[3]);
  }
  EndExec();
  FHost->MemoryChanged();
  FHost->RegistersChanged();
  FlushNotifications(true);
  return FLastStopReason;
}

TStopReason TNovaMachine::StepOver() {
  if (FInExec) return srRefused;
  const TWord pc = PC & nova::AddrMask;
  if (pc == MemSize - 1 || (Memory[pc].Data & nova::JsrMask) != nova::JsrWord) return Step();
  Memory[(pc + 1) & nova::AddrMask].Flags |= StepOverFlag;
  return RunProgram();
}

TStopReason TNovaMachine::RunTo(TWord Addr) {
  if (FInExec) return srRefused;
  SetGoal(Addr, srRunTo);
  return RunProgram();
}

TWord TNovaMachine::StepOutTarget() const {
  return FSteppedCalls.empty() ? TWord(AC[3] & nova::AddrMask) : FSteppedCalls.back();
}

TStopReason TNovaMachine::StepOut() {
  if (FInExec) return srRefused;
  const TWord target = StepOutTarget();
  SetGoal(target, srStepOver);
  const TStopReason reason = RunProgram();
  if (reason == srStepOver) {
    if (!FSteppedCalls.empty() && FSteppedCalls.back() == target) FSteppedCalls.pop_back();
  } else if (reason != srFileNeeded && reason != srRefused) {
    const std::string why = FLastStopDetail.empty() ? StopReasonText(reason) : FLastStopDetail;
    FLastStopDetail = SafeFormat(_("%s before the return to %s"), why, AddrKey(target));
  }
  return reason;
}

void TNovaMachine::RequestStop() {
  if (FInExec) Stop(srStop);
  FHost->RunStateChanged();
  FHost->RunningChanged(false);
}

void TNovaMachine::ResetCpu() {
  if (FRun) Stop(srStop, _("Stopped by a reset"));
  FRun = false;
  ForgetSteppedCalls();
  ResetHitCounts();
  ClearTrace();
  FTraceDirty = false;
  FTraceReportedAt = FExecuted;
  PreEnable = false;
  IntEnable = false;
  IrqFlag = false;
  ResetDevices();
  WakeDevices();
  UpdateAttention();
  ClearRegisters();
  PC = 2;
  FHost->RegistersChanged();
}

TStopReason TNovaMachine::ProgramLoad() {
  if (FInExec) return srRefused;
  WriteWords(0, Bootstrap.data(), int(Bootstrap.size()));
  SetPC(0);
  return RunProgram();
}
