#include "Typist.h"

namespace {

// An I/O instruction (any transfer or skip) on the teletype keyboard.
bool TestsTti(TWord word) { return (word & 0160000) == 0060000 && (word & 077) == nova::DevTTI; }

}  // namespace

bool TTypist::ShortLoop(bool needTtiTest) {
  const int count = FMachine.TraceCount();
  if (count < LoopWindow) return false;
  if (++FGeneration == 0) {
    FSeen.fill(0);
    FGeneration = 1;
  }
  bool testsTti = false;
  int addresses = 0;
  for (int i = count - LoopWindow; i < count; ++i) {
    const TTraceData& t = FMachine.TraceItem(i);
    if (needTtiTest && !testsTti) testsTti = TestsTti(t.Data);
    std::uint32_t& seen = FSeen[t.PC & nova::AddrMask];
    if (seen != FGeneration) {
      seen = FGeneration;
      if (++addresses > LoopAddresses) return false;
    }
  }
  return testsTti || !needTtiTest;
}

bool TTypist::WaitingNow() {
  const TTeletypeInput& tti = FMachine.Tti;
  // Output since the previous check carries a count at or after that check.
  const bool silent = FPeripherals.LastTtoOutputAt() < FLastCheck;
  if (tti.ReaderOn() || tti.DoneFlag() || FMachine.Tto.BusyFlag() || !silent) return false;
  const bool needTtiTest = !FMachine.IntEnable && !tti.BusyFlag();
  if (needTtiTest) {
    // Cheap first look: the window must test TTI at all.
    const int count = FMachine.TraceCount();
    bool any = false;
    for (int i = count < LoopWindow ? 0 : count - LoopWindow; i < count && !any; ++i)
      any = TestsTti(FMachine.TraceItem(i).Data);
    if (!any) return false;
  }
  return ShortLoop(needTtiTest);
}

bool TTypist::Check() {
  const bool waiting = WaitingNow();
  FLastCheck = FMachine.ExecutedCount();
  FInRow = waiting ? FInRow + 1 : 0;
  return FInRow >= 2;
}
