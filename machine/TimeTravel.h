// What the machine keeps to go back in time: whole states of memory, registers and devices at
// intervals (frames), and between them what came from outside and cannot be worked out again
// (a byte a reader was given, the keyboard's state after a reset, every change made while the
// program ran: a typed key, a clock tick, an edit). Going back restores the newest frame before
// the moment and executes forward again to it with the recorded inputs and without output.
// All of it is allocated when the history is switched on; recording allocates nothing.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "Device.h"
#include "MachineTypes.h"
#include "RegisterState.h"

// A whole state at the moment Count (instructions executed), and where the records that follow
// it begin.
struct THistoryFrame {
  std::uint64_t Count = 0;
  std::uint64_t EventPos = 0;
  std::uint64_t PointPos = 0;
  TRegisterState Regs;
  std::array<TWord, MemoryWords> Memory{};
};

// What a device's partner did to it during the instruction Count: a reader's answer to a
// request for a byte, or the keyboard's state after the hook of a reset.
struct THistoryEvent {
  enum TKind : std::uint8_t { evByte, evReset };
  std::uint64_t Count = 0;
  TKind Kind = evByte;
  std::uint8_t Slot = 0;  // in TRegisterState::Devices
  std::uint8_t Byte = 0;
  std::uint8_t Flags = 0;  // Busy 1, Done 2, Mask 4, Irq 8, Completed 16, reader on 32, the latch 64
};

// Registers and devices as changed from outside after the moment Count (the event pump of a
// run, or between two runs).
struct THistoryPoint {
  std::uint64_t Count = 0;
  TRegisterState Regs;
};

// A ring of records numbered from 0 on; First to End are kept.
template <class T>
struct THistoryRing {
  std::vector<T> Items;
  std::uint64_t First = 0;
  std::uint64_t End = 0;
  void Allocate(std::size_t n) {
    Items.assign(n, T{});
    First = End = 0;
  }
  bool Full() const { return End - First == Items.size(); }
  bool Empty() const { return End == First; }
  T& operator[](std::uint64_t n) { return Items[std::size_t(n % Items.size())]; }
  const T& operator[](std::uint64_t n) const { return Items[std::size_t(n % Items.size())]; }
};

// The instruction that last wrote a word (TNovaMachine::LastWriter).
struct TLastWrite {
  bool Found = false;
  TWord Addr = 0;
  TWord PC = 0;             // the instruction's address (the one the interrupt came after)
  bool ByInterrupt = false; // the interrupt's store of PC into 0
  std::uint64_t Step = 0;   // ExecutedCount() just after it
  TWord Old = 0;
  TWord New = 0;
  bool operator==(const TLastWrite&) const = default;
};

// What a history covers unless asked otherwise.
constexpr std::uint64_t DefaultHistorySize = 10'000'000;
// The largest history one may ask for.
constexpr std::uint64_t MaxHistorySize = 100'000'000;

struct THistory {
  // A frame at least this many instructions after the one before.
  static constexpr std::uint64_t FrameInterval = 1u << 18;
  std::uint64_t Size = 0;  // instructions to cover at least
  THistoryRing<THistoryFrame> Frames;
  THistoryRing<THistoryEvent> Events;
  THistoryRing<THistoryPoint> Points;
  // Gone back: the moment recorded last, up to which the records are replayed (0: at the head).
  std::uint64_t ReplayTo = 0;
  std::uint64_t EventCursor = 0;  // the next record to replay
  std::uint64_t PointCursor = 0;
  // What the machine was left as by the last run, step, pump or journey: a difference found at
  // the next start is a change from outside.
  std::uint64_t HeadCount = 0;
  std::uint64_t HeadEdits = 0;
  TRegisterState HeadRegs;
  bool NeedFrame = true;
  std::uint64_t LastOutputAt = 0;  // ExecutedCount() at the last output byte let out
  // A look for the last write of one word (LastWriter).
  int ProbeAddr = -1;
  bool ProbeHit = false;
  bool ProbeByInterrupt = false;
  TWord ProbeOld = 0;
  TTraceData Scratch[1];  // where the trace records of a replay go

  // How many records of each kind a history of that many instructions keeps, and the memory
  // they take (what Bytes() says once it is allocated).
  struct TCapacity {
    std::size_t Frames, Events, Points;
  };
  static TCapacity CapacityFor(std::uint64_t Instructions) {
    return {std::size_t((Instructions + FrameInterval - 1) / FrameInterval + 2),
            std::size_t(Instructions / 64 > 4096 ? Instructions / 64 : 4096),
            std::size_t(Instructions / 1024 > 1024 ? Instructions / 1024 : 1024)};
  }
  static std::size_t BytesFor(std::uint64_t Instructions) {
    const TCapacity c = CapacityFor(Instructions);
    return sizeof(THistory) + c.Frames * sizeof(THistoryFrame) + c.Events * sizeof(THistoryEvent) +
           c.Points * sizeof(THistoryPoint);
  }

  std::size_t Bytes() const {
    return sizeof(*this) + Frames.Items.capacity() * sizeof(THistoryFrame) +
           Events.Items.capacity() * sizeof(THistoryEvent) + Points.Items.capacity() * sizeof(THistoryPoint);
  }
};
