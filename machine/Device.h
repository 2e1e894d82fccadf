// The device base on the I/O bus: Busy and Done flags, interrupt mask and request, delay ticks.
#pragma once
#include <cstdint>
#include <functional>

#include "MachineTypes.h"

class TDevice;
class TInDevice;

// What a device's flags and byte register hold (whole-machine states, the history).
struct TDeviceState {
  bool Busy = false;
  bool Done = false;
  bool Mask = false;
  bool Irq = false;        // its interrupt request
  bool Completed = false;  // a transfer has completed and waits for its delay
  std::int32_t Tick = 0;   // delay ticks left
  std::uint64_t Due = 0;   // real-speed timing: the simulated time the transfer may be done
  std::uint8_t Byte = 0;   // the input or output byte register (0 for the clock)
  bool operator==(const TDeviceState&) const = default;
};

// Stands between the devices and the files and console they exchange bytes with, while the
// machine keeps a history: it records what came in, and when the machine goes over the same
// instructions again it gives the recorded answers and holds back the output already made.
class TDeviceTap {
public:
  virtual ~TDeviceTap() = default;
  // In place of OnByteRequest.
  virtual void ByteRequest(TInDevice& Device) = 0;
  // Whether OnByteOut is to be called.
  virtual bool LetOut(TDevice& Device) = 0;
};

class TDevice {
public:
  using TNotifyEvent = std::function<void(TDevice& sender)>;

  // Adr: device code; Bit: mask bit number 0 to 15 (bit 0 the most significant); Ticks: delay.
  TDevice(int Adr, int Bit, int Ticks);
  virtual ~TDevice() = default;
  TDevice(const TDevice&) = delete;
  TDevice& operator=(const TDevice&) = delete;

  virtual void ProcessTick();
  virtual void Reset();
  virtual void Complete();
  virtual TWord DIA();
  virtual TWord DIB();
  virtual TWord DIC();
  virtual void DOA(TWord Value);
  virtual void DOB(TWord Value);
  virtual void DOC(TWord Value);
  virtual void Clear();
  virtual void Start();
  virtual void Pulse();

  // MSKO: masked when the device's bit is set in Mask.
  void MaskOut(TWord Mask);

  bool BusyFlag() const { return FBusy; }
  bool DoneFlag() const { return FDone; }
  bool Interrupt() const { return FIrq; }
  bool Masked() const { return FMask; }
  bool Completed() const { return FCompleted; }
  TWord Adr() const { return FAdr; }
  TWord MaskBit() const { return FMaskBit; }
  std::int32_t TickCount() const { return FTickCount; }
  std::int32_t TicksLeft() const { return FTick; }

  // Real-speed timing: with a delay, Done comes DelayNs of simulated time (*Clock) after Start
  // instead of after the tick count; 0 goes back to the tick count.
  void SetRealTime(const std::uint64_t* Clock, std::uint32_t DelayNs) {
    FSimClock = Clock;
    FDelayNs = Clock ? DelayNs : 0;
    Wake();
  }
  std::uint32_t DelayNs() const { return FDelayNs; }
  // The simulated time at which a started transfer may be Done (real-speed timing).
  std::uint64_t DueNs() const { return FDue; }

  // The flags and timers, with Byte as given (the byte register is the subclass's), and put back.
  TDeviceState State(std::uint8_t Byte) const {
    return TDeviceState{FBusy, FDone, FMask, FIrq, FCompleted, FTick, FDue, Byte};
  }
  void SetState(const TDeviceState& s) {
    FBusy = s.Busy;
    FDone = s.Done;
    FMask = s.Mask;
    FIrq = s.Irq;
    FCompleted = s.Completed;
    FTick = s.Tick;
    FDue = s.Due;
    Wake();
  }
  // Called whenever the device's interrupt request is found set.
  TNotifyEvent OnInterrupt;
  // Set by the machine while it keeps a history.
  TDeviceTap* Tap = nullptr;

  // The machine's tick fast path: a device marks itself in *mask (with bit) whenever its state may
  // make a tick do something, and the machine ticks only marked devices.
  void BindTickMask(std::uint32_t* mask, std::uint32_t bit);
  // True when a tick cannot change anything observable, given the machine's interrupt latch
  // (a request that is already latched needs no tick to raise it again).
  virtual bool TickIdle(bool irqLatched) const;

protected:
  friend struct TStateAccess;  // whole-machine states (MachineState.cpp)
  friend class TNovaMachine;   // its history (TimeTravel.cpp)
  void Wake() {
    if (FTickMaskPtr) *FTickMaskPtr |= FTickMaskBit;
  }
  void RaiseInterrupt() {
    if (FIrq && OnInterrupt) OnInterrupt(*this);
  }
  // The delay of a transfer that starts now: the tick count, or the real time.
  void StartDelay() {
    if (FDelayNs) {
      FTick = 0;
      FDue = *FSimClock + FDelayNs;
    } else {
      FTick = FTickCount;
    }
  }
  // Real-speed timing holds a completed transfer until its time has come.
  bool Waiting() const { return FDelayNs && *FSimClock < FDue; }

  bool FBusy = false;
  bool FDone = false;
  bool FMask = false;
  bool FIrq = false;
  bool FCompleted = false;
  TWord FAdr;
  TWord FMaskBit;
  std::int32_t FTickCount;
  std::int32_t FTick = 0;
  const std::uint64_t* FSimClock = nullptr;
  std::uint32_t FDelayNs = 0;
  std::uint64_t FDue = 0;

private:
  std::uint32_t* FTickMaskPtr = nullptr;
  std::uint32_t FTickMaskBit = 0;
};
