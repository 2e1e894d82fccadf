#include "KeyQueue.h"

TKeyQueue::TKeyQueue(TNovaMachine& Machine, const TPeripherals& Peripherals)
    : FMachine(Machine), FTypist(Machine, Peripherals), FResets(Machine.DeviceResets()),
      FSelf(std::make_shared<TKeyQueue*>(this)) {
  FMachine.OnDevicesReset = [self = std::weak_ptr<TKeyQueue*>(FSelf)] {
    if (const auto queue = self.lock()) (*queue)->DevicesReset();
  };
}

void TKeyQueue::DevicesReset() {
  // With the reader off only a key makes the keyboard done: one the program has not read.
  if (!FMachine.Tti.ReaderOn() && FMachine.Tti.DoneFlag()) FMachine.Tti.Clear();
  FResets = FMachine.DeviceResets();
  Clear();
}

void TKeyQueue::NoteResets() {
  if (FMachine.DeviceResets() == FResets) return;
  FResets = FMachine.DeviceResets();
  Clear();
}

void TKeyQueue::Clear() {
  FKeys.clear();
  FUnderWay = false;
}

std::size_t TKeyQueue::Waiting() {
  NoteResets();
  return FKeys.size();
}

void TKeyQueue::Hand() {
  const std::uint8_t b = FKeys.front();
  FKeys.pop_front();
  FUnderWay = true;
  FTypist.Typed();
  FHandedCount = FMachine.ExecutedCount();
  FHandedTime = FMachine.SimTimeNs();
  FMachine.Tti.SetInputByte(b);
}

bool TKeyQueue::TryHand() {
  const TTeletypeInput& tti = FMachine.Tti;
  if (FKeys.empty() || tti.DoneFlag()) return false;
  // Stopped, nothing runs that could still be busy with a key taken.
  if (FUnderWay && !FMachine.Running()) FUnderWay = false;
  if (FUnderWay) return false;
  // A teletype line brings one character per character time.
  if (tti.DelayNs() && FMachine.SimTimeNs() < FHandedTime + tti.DelayNs()) return false;
  Hand();
  return true;
}

bool TKeyQueue::Type(int Key, bool Upcase) {
  NoteResets();
  if (FKeys.size() >= MaxKeys) return false;
  FKeys.push_back(TNovaMachine::KeyToTtiByte(Key, Upcase));
  TryHand();
  return true;
}

bool TKeyQueue::Pump() {
  NoteResets();
  if (FUnderWay && FMachine.Running()) {
    // The typist looks at every check, so that its two checks in a row are two slices.
    const bool waiting = FTypist.Check();
    const bool fallback = !FMachine.Tti.DoneFlag() && FMachine.ExecutedCount() - FHandedCount >= FallbackInstructions;
    if (waiting || fallback) FUnderWay = false;
  }
  return TryHand();
}
