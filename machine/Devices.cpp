#include "Devices.h"

// ---- real time clock

TRtcDevice::TRtcDevice(int Adr, int Bit, TIntervalTimer* ATimer) : TDevice(Adr, Bit, 0), FTimer(ATimer) {
  SetTimer(ATimer);
}

void TRtcDevice::SetTimer(TIntervalTimer* ATimer) {
  FTimer = ATimer;
  if (FTimer) {
    FTimer->SetInterval(FInterval);
    FTimer->SetEnabled(FTimerOn);
  }
}

void TRtcDevice::EnableTimer(bool on) {
  FTimerOn = on;
  if (FTimer) FTimer->SetEnabled(on);
}

void TRtcDevice::DOA(TWord Value) {
  static constexpr int Intervals[4] = {20, 100, 10, 1};
  const int interval = Intervals[Value & 3];
  if (interval == FInterval) return;  // a running timer keeps its phase
  FInterval = interval;
  if (FTimer) FTimer->SetInterval(FInterval);
}

void TRtcDevice::Clear() {
  EnableTimer(false);
  TDevice::Clear();
}

void TRtcDevice::Start() {
  if (!FTimerOn) EnableTimer(true);
  TDevice::Start();
}

void TRtcDevice::TimeElapsed() {
  if (!FBusy) return;
  FDone = true;
  FBusy = false;
  // Not marked completed: a restarted clock must wait for the next interval, not finish at the
  // next tick.
  FCompleted = false;
  Wake();
}

// ---- output devices

TOutDevice::TOutDevice(int Adr, int Bit, int Ticks) : TDevice(Adr, Bit, Ticks) {}

void TOutDevice::Reset() { OByte = 0; }

void TOutDevice::DOA(TWord Value) { OByte = std::uint8_t(Value & 0377); }

void TOutDevice::Start() {
  TDevice::Start();
  if (OnByteOut && (!Tap || Tap->LetOut(*this))) OnByteOut(*this, OByte);
  Complete();
}

TWord TPrintDevice::DIA() { return 1; }

void TPrintDevice::DOA(TWord Value) {
  OByte = std::uint8_t(Value & 0177);
  if (OByte < 32 && OByte != 10 && OByte != 12 && OByte != 13) OByte = 32;
}

// ---- input devices

TInDevice::TInDevice(int Adr, int Bit, int Ticks) : TDevice(Adr, Bit, Ticks) {}

void TInDevice::Reset() { IByte = 0; }

TWord TInDevice::DIA() { return IByte; }

void TInDevice::Start() {
  const bool wasBusy = FBusy;
  TDevice::Start();
  if (!wasBusy) RequestByte();
}

void TInDevice::SetInputByte(std::uint8_t b) {
  IByte = b;
  Complete();
}

// ---- teletype input

void TTeletypeInput::ProcessTick() {
  if (FRdOn) TDevice::ProcessTick();
}

bool TTeletypeInput::TickIdle(bool irqLatched) const { return !FRdOn || TDevice::TickIdle(irqLatched); }

void TTeletypeInput::Reset() {
  IByte = 0;
  FRdOn = false;
  Wake();
}

void TTeletypeInput::Complete() {
  if (FRdOn) {
    FCompleted = true;
    Wake();
    return;
  }
  FDone = true;
  FBusy = false;
  FIrq = !FMask;
  Wake();
  RaiseInterrupt();
}

void TTeletypeInput::Start() {
  FBusy = true;
  FDone = false;
  FIrq = false;
  Wake();
  if (FRdOn) {
    RequestByte();
    StartDelay();
  }
}

void TTeletypeInput::SetReaderOn(bool v) {
  if (v == FRdOn) return;
  FRdOn = v;
  Wake();
  Start();
}
