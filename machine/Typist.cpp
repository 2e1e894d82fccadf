#include "Typist.h"

namespace {

// An I/O instruction (any transfer or skip) on the device.
bool IoOn(TWord word, int device) { return nova::IsIoClass(word) && nova::DeviceOf(word) == device; }

}  // namespace

bool TTypist::TestsDevice(int device) const {
  const int count = FMachine.TraceCount();
  for (int i = count < LoopWindow ? 0 : count - LoopWindow; i < count; ++i)
    if (IoOn(FMachine.TraceItem(i).Data, device)) return true;
  return false;
}

bool TTypist::ShortLoop(int device, bool acceptUntested) {
  const int count = FMachine.TraceCount();
  if (count < LoopWindow) return false;
  // Cheap first look: a loop that must test the device does so somewhere in the window.
  if (!acceptUntested && !TestsDevice(device)) return false;
  if (++FGeneration == 0) {
    FSeen.fill(0);
    FGeneration = 1;
  }
  int addresses = 0;
  for (int i = count - LoopWindow; i < count; ++i) {
    std::uint32_t& seen = FSeen[FMachine.TraceItem(i).PC & nova::AddrMask];
    if (seen != FGeneration) {
      seen = FGeneration;
      if (++addresses > LoopAddresses) return false;
    }
  }
  return true;
}

bool TTypist::WaitingNow() {
  const TTeletypeInput& tti = FMachine.Tti;
  // Output since the previous check carries a count at or after that check.
  const bool silent = FPeripherals.LastTtoOutputAt() < FLastCheck;
  if (tti.ReaderOn() || tti.DoneFlag() || FMachine.Tto.BusyFlag() || !silent) return false;
  return ShortLoop(nova::DevTTI, FMachine.IntEnable || tti.BusyFlag());
}

bool TTypist::Check() {
  const bool waiting = WaitingNow();
  FLastCheck = FMachine.ExecutedCount();
  FInRow = waiting ? FInRow + 1 : 0;
  return FInRow >= 2;
}

int TTypist::StalledReader() {
  const auto stalled = [this](const TInputStream* tape, const TDevice& device) {
    return tape && tape->RunOut() && device.BusyFlag() && !device.DoneFlag() &&
           ShortLoop(device.Adr(), FMachine.IntEnable);
  };
  if (stalled(FPeripherals.PtrFile.get(), FMachine.Ptr)) return nova::DevPTR;
  if (FMachine.Tti.ReaderOn() && stalled(FPeripherals.TtrFile.get(), FMachine.Tti)) return nova::DevTTI;
  return -1;
}
