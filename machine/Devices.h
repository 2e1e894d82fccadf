// The peripheral device classes: real time clock, output devices, line printer, input devices,
// and the teletype input with its reader switch.
#pragma once
#include <cstdint>
#include <functional>

#include "Device.h"

// The clock's interval timer, supplied by the host (a toolkit timer, or TSteadyTimer).
class TIntervalTimer {
public:
  virtual ~TIntervalTimer() = default;
  virtual void SetInterval(int ms) = 0;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
};

// Real time clock: Done each time the interval passes while the clock is busy.
class TRtcDevice : public TDevice {
public:
  TRtcDevice(int Adr, int Bit, TIntervalTimer* ATimer = nullptr);

  void DOA(TWord Value) override;  // frequency select: 20, 100, 10 or 1 ms
  void Clear() override;           // the timer stops
  void Start() override;           // the timer runs

  // The timer event.
  void TimeElapsed();

  // Replaces the timer; the new one takes over the current interval and run state.
  void SetTimer(TIntervalTimer* ATimer);
  TIntervalTimer* Timer() const { return FTimer; }
  int TimerInterval() const { return FInterval; }
  bool TimerEnabled() const { return FTimerOn; }

private:
  friend struct TStateAccess;
  friend class TNovaMachine;
  void EnableTimer(bool on);

  TIntervalTimer* FTimer;
  int FInterval = 100;
  bool FTimerOn = false;
};

// An output device (teletype printer, paper-tape punch): every S pulse sends OByte.
class TOutDevice : public TDevice {
public:
  using TByteOut = std::function<void(TDevice& sender, std::uint8_t AByte)>;

  TOutDevice(int Adr, int Bit, int Ticks);

  void Reset() override;  // clears the byte register only
  void DOA(TWord Value) override;
  void Start() override;

  std::uint8_t OutputByte() const { return OByte; }

  TByteOut OnByteOut;

protected:
  friend struct TStateAccess;
  friend class TNovaMachine;
  std::uint8_t OByte = 0;
};

// Line printer: 7-bit characters, control codes other than LF, FF and CR printed as spaces.
class TPrintDevice : public TOutDevice {
public:
  using TOutDevice::TOutDevice;

  TWord DIA() override;  // always 1
  void DOA(TWord Value) override;
};

// An input device (paper-tape reader): every S pulse to an idle reader asks for a byte.
class TInDevice : public TDevice {
public:
  TInDevice(int Adr, int Bit, int Ticks);

  void Reset() override;  // clears the byte register only
  TWord DIA() override;
  void Start() override;

  std::uint8_t InputByte() const { return IByte; }
  // Delivers a byte: the transfer completes (after the delay, or at once for a teletype key).
  void SetInputByte(std::uint8_t b);

  TNotifyEvent OnByteRequest;
  // Asks for the next byte: through the machine's tap when there is one, else OnByteRequest.
  void RequestByte() {
    if (Tap)
      Tap->ByteRequest(*this);
    else if (OnByteRequest)
      OnByteRequest(*this);
  }

protected:
  friend struct TStateAccess;
  friend class TNovaMachine;
  std::uint8_t IByte = 0;
};

// Teletype keyboard and reader: with the reader off, keys complete a transfer at once and ticks do
// nothing; with the reader on it works like the paper-tape reader, asking on every S pulse.
class TTeletypeInput : public TInDevice {
public:
  using TInDevice::TInDevice;

  void ProcessTick() override;
  void Reset() override;  // also switches the reader off
  void Complete() override;
  void Start() override;
  bool TickIdle(bool irqLatched) const override;

  bool ReaderOn() const { return FRdOn; }
  // Switching to a new state starts the device (asking for a byte when switched on).
  void SetReaderOn(bool v);

private:
  friend struct TStateAccess;
  friend class TNovaMachine;
  bool FRdOn = false;
};
