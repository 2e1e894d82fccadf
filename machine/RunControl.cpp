// Run, step, step over, stop, reset and program load.
#include "ExecCore.h"
#include "Translate.h"

const std::array<TWord, 32> TNovaMachine::Bootstrap = {
    0062677, 0060477, 0024026, 0107400, 0124000, 0010014, 0010030, 0010032,
    0125404, 0000005, 0030016, 0050377, 0060077, 0101102, 0000377, 0004030,
    0101065, 0000017, 0004027, 0046026, 0010100, 0000022, 0000077, 0126420,
    0063577, 0000030, 0060477, 0107363, 0000030, 0125300, 0001400, 0000000,
};

void TNovaMachine::BeginExec() {
  FInExec = true;
  FStopReason = srNone;
  FStopDetail.clear();
  WakeDevices();
  UpdateAttention();
}

void TNovaMachine::EndExec() {
  FInExec = false;
  FLastStopReason = FStopReason;
  FLastStopDetail = FStopDetail;
}

void TNovaMachine::Stop(TStopReason Reason, std::string Detail) {
  FRun = false;
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
}

std::uint32_t TNovaMachine::NextSlice(std::uint64_t left) const {
  std::uint32_t slice = ShowEachStep ? 1 : FPumpInterval ? FPumpInterval : ClockCheckInterval;
  return left < slice ? std::uint32_t(left) : slice;
}

// Between two time slices: register display, event pump, instruction limit. Registers are in the
// machine's fields here.
void TNovaMachine::SliceEnd(std::uint64_t left) {
  bool pump = true;
  if (ShowEachStep) {
    FHost->RegistersChanged();
  } else if (!FPumpInterval) {
    const auto now = std::chrono::steady_clock::now();
    pump = now - FLastPump >= std::chrono::milliseconds(1);
    if (pump) FLastPump = now;
  }
  if (pump) {
    FlushNotifications();
    FHost->PumpEvents();
    WakeDevices();  // the host may have changed interrupt state directly
    UpdateAttention();
  }
  if (left == 0 && FRun) Stop(srLimit);
}

TStopReason TNovaMachine::RunProgram() {
  if (FInExec) return srRefused;
  BeginExec();
  if (Memory[PC & nova::AddrMask].Data == nova::HaltWord) PC = TWord((PC + 1) & nova::AddrMask);
  FRun = true;
  FHost->RunStateChanged();
  FHost->RunningChanged(true);

  std::uint64_t left = InstructionLimit ? InstructionLimit : ~std::uint64_t(0);
  std::uint32_t slice = NextSlice(left);
  std::uint32_t count = slice;
  FLastPump = std::chrono::steady_clock::now();
  TRegs r = LoadRegs();
  TWord cmd = Memory[r.PC].Data;
  for (;;) {
    AfterInstruction(r, ExecuteOne(r, cmd));
    if (--count == 0) {
      left -= slice;
      StoreRegs(r);
      SliceEnd(left);
      r = LoadRegs();
      slice = count = NextSlice(left);
      if (slice == 0) slice = count = 1;  // limit reached: the run has been stopped
    }
    if (!FRun) break;
    // Breakpoint and step-over mark at the next instruction, fetched here with its flags.
    const TMemCell cell = Memory[r.PC];
    if (cell.Flags) {
      if (cell.Flags & BreakpointFlag) {
        Stop(srBreakpoint);
        break;
      }
      if (cell.Flags & StepOverFlag) {
        Memory[r.PC].Flags = std::uint8_t(cell.Flags & ~StepOverFlag);
        Stop(srStepOver);
        break;
      }
    }
    cmd = cell.Data;
  }
  StoreRegs(r);

  if (FStopReason == srNone) FStopReason = srStop;  // FRun cleared directly
  EndExec();
  FHost->RunStateChanged();
  FHost->RunningChanged(false);
  FHost->MemoryChanged();
  FHost->RegistersChanged();
  FlushNotifications(true);
  return FLastStopReason;
}

TStopReason TNovaMachine::btStepClick() {
  if (FInExec) return srRefused;
  BeginExec();
  TRegs r = LoadRegs();
  AfterInstruction(r, ExecuteOne(r, Memory[r.PC].Data));
  StoreRegs(r);
  EndExec();
  FHost->MemoryChanged();
  FHost->RegistersChanged();
  FlushNotifications(true);
  return FLastStopReason;
}

TStopReason TNovaMachine::btStepOverClick() {
  if (FInExec) return srRefused;
  const TWord pc = PC & nova::AddrMask;
  if (pc == MemSize - 1 || (Memory[pc].Data & nova::JsrMask) != nova::JsrWord) return btStepClick();
  Memory[(pc + 1) & nova::AddrMask].Flags |= StepOverFlag;
  return RunProgram();
}

void TNovaMachine::btStopClick() {
  Stop(srStop);
  FHost->RunStateChanged();
  FHost->RunningChanged(false);
}

void TNovaMachine::ResetCpu() {
  if (FRun) Stop(srStop, _("Stopped by a reset"));
  FRun = false;
  ClearTrace();
  FHost->TraceChanged(0);
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
  for (int a = 0; a < int(Bootstrap.size()); ++a) Memory[a].Data = Bootstrap[a];
  PC = 0;
  FHost->MemoryChanged();
  FHost->RegistersChanged();
  return RunProgram();
}
