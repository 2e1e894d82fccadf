#include "Device.h"

TDevice::TDevice(int Adr, int Bit, int Ticks)
    : FAdr(TWord(Adr)), FMaskBit(TWord(1u << (15 - (Bit & 15)))), FTickCount(Ticks) {}

void TDevice::BindTickMask(std::uint32_t* mask, std::uint32_t bit) {
  FTickMaskPtr = mask;
  FTickMaskBit = bit;
  Wake();
}

bool TDevice::TickIdle(bool irqLatched) const {
  if (FTick != 0 || (FBusy && FCompleted)) return false;
  const bool request = !FMask && FDone;
  if (FIrq != request) return false;
  return !(request && !irqLatched && OnInterrupt);
}

void TDevice::ProcessTick() {
  if (FTick != 0) {
    --FTick;
    return;
  }
  if (FBusy && FCompleted) {
    if (Waiting()) return;
    FDone = true;
    FBusy = false;
    FCompleted = false;
  }
  FIrq = !FMask && FDone;
  RaiseInterrupt();
}

void TDevice::Reset() {
  Clear();
  FMask = false;
  Wake();
}

void TDevice::Complete() {
  FCompleted = true;
  Wake();
}

TWord TDevice::DIA() { return 0; }
TWord TDevice::DIB() { return 0; }
TWord TDevice::DIC() { return 0; }
void TDevice::DOA(TWord) {}
void TDevice::DOB(TWord) {}
void TDevice::DOC(TWord) {}

void TDevice::Clear() {
  FBusy = false;
  FDone = false;
  FIrq = false;
  FCompleted = false;
  Wake();
}

void TDevice::Start() {
  FBusy = true;
  FDone = false;
  FIrq = false;
  StartDelay();
  Wake();
}

void TDevice::Pulse() {}

void TDevice::MaskOut(TWord Mask) {
  FMask = (Mask & FMaskBit) != 0;
  FIrq = !FMask && FDone;
  Wake();
  RaiseInterrupt();
}
