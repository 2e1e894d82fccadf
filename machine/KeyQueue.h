// The keys a person types on the teletype keyboard, kept in order and handed to the keyboard
// (TTI) one at a time. A person types faster than a 1970 teletype echoes, and a program of the
// time loses a key that comes while it is still busy with the one before (the key overwrites one
// not yet read, or its interrupt comes while the program's own output runs). So a key typed while
// another is under way waits until the program has taken that one and waits for the next: the
// typist's rule, as for a typed text file (TTypist). A program that never looks idle (it prints
// without end, or polls in a long loop) still gets its keys: a key counts as done anyway after
// FallbackInstructions more instructions. With the devices at real speed the keys also come no
// faster than a teletype line brings them, one character time apart.
//
// A reset of the devices (the machine's reset, program load, the program's own IORST) empties
// the queue and takes back a key on the keyboard that the program has not read (the teletype's
// flags outlast a reset), so keys typed long before a program starts do not reach it. The queue
// hears of the reset as it happens: a program may read the keyboard right after its IORST, in
// the same time slice.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "NovaMachine.h"
#include "Peripherals.h"
#include "Typist.h"

class TKeyQueue {
public:
  // Keys kept at most; a key typed beyond is refused.
  static constexpr std::size_t MaxKeys = 4096;
  // About three seconds of a Nova 800.
  static constexpr std::uint64_t FallbackInstructions = 3'000'000;

  TKeyQueue(TNovaMachine& Machine, const TPeripherals& Peripherals);
  TKeyQueue(const TKeyQueue&) = delete;
  TKeyQueue& operator=(const TKeyQueue&) = delete;

  // A typed key, converted as the keyboard does (backspace as rubout, a-z as A-Z when asked).
  // With no key under way (or the machine stopped) and the keyboard not done it is handed at
  // once; otherwise it waits. False when the queue is full.
  bool Type(int Key, bool Upcase);
  // One check, between two time slices of a run or after a step: hands the next key when the
  // program has taken the one before. True when a key was handed.
  bool Pump();
  void Clear();
  // Keys typed and not yet handed.
  std::size_t Waiting();

private:
  // Empties the queue when the devices have been reset since the last look.
  void NoteResets();
  // At a reset of the devices: the queue emptied, an unread key off the keyboard.
  void DevicesReset();
  // Hands the next key when the keyboard is free and the key before has settled: the program took
  // it and waits for the next (the typist's check, or the fallback, in Pump), or the machine is
  // stopped.
  bool TryHand();
  void Hand();

  TNovaMachine& FMachine;
  TTypist FTypist;
  std::deque<std::uint8_t> FKeys;
  std::uint64_t FResets;
  bool FUnderWay = false;          // a handed key has not settled yet
  std::uint64_t FHandedCount = 0;  // executed instructions when it was handed
  std::uint64_t FHandedTime = 0;   // and the simulated time
  // The machine's reset hook reaches the queue through this while the queue lives (either may go
  // first).
  std::shared_ptr<TKeyQueue*> FSelf;
};
