// The patient typist: decides, between two time slices of a run, whether the program is waiting
// for a key, so that a key typed now is neither lost nor overwritten; and whether it waits for a
// reader whose tape has run out.
//
// A program waits for a key when the keyboard (TTI) is not done, its reader is off, the
// teletype printer is idle and has printed nothing since the previous check, and the last
// LoopWindow instructions stayed in a short loop (at most LoopAddresses different addresses)
// that tests TTI, or that runs with interrupts on, or while TTI is started. A key is typed only
// when that holds at two checks in a row.
#pragma once
#include <array>
#include <cstdint>

#include "NovaMachine.h"
#include "Peripherals.h"

class TTypist {
public:
  static constexpr int LoopWindow = 256;
  static constexpr int LoopAddresses = 32;

  TTypist(const TNovaMachine& Machine, const TPeripherals& Peripherals)
      : FMachine(Machine), FPeripherals(Peripherals) {}

  // One check, at the end of a time slice; true when the program has been waiting for a key at
  // this check and the one before.
  bool Check();
  // A key has been typed: the next one needs two new checks.
  void Typed() { FInRow = 0; }

  // The single check's conditions.
  bool WaitingNow();

  // Whether the program waits for a reader whose tape has run out: the reader is busy and not
  // done, and the last LoopWindow instructions are a short loop that tests it or runs with
  // interrupts on. Returns the reader, or -1.
  int StalledReader();

private:
  // The last LoopWindow instructions use at most LoopAddresses addresses and, unless
  // acceptUntested, include an I/O instruction on the device.
  bool ShortLoop(int device, bool acceptUntested);
  bool TestsDevice(int device) const;

  const TNovaMachine& FMachine;
  const TPeripherals& FPeripherals;
  std::uint64_t FLastCheck = 0;
  int FInRow = 0;
  std::uint32_t FGeneration = 0;
  std::array<std::uint32_t, MemoryWords> FSeen{};
};
