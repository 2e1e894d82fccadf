// The machine without its memory and its lists: processor, interrupts, devices, speed and
// simulated time. A whole-machine state (MachineState.h) and each moment the history keeps
// (TimeTravel.h) hold one; TNovaMachine takes it and puts it back in one place
// (RegisterState.cpp), so a field added here is copied everywhere at once.
#pragma once
#include <array>
#include <cstdint>

#include "Device.h"
#include "MachineTypes.h"

// The devices in the machine's tick order (PTR, PTP, TTI, TTO, RTC, LPT).
constexpr int StateDeviceCount = 6;

struct TRegisterState {
  // ---- processor
  TWord PC = 0;
  TWord Carry = 0;
  TAccumulators AC{};
  TWord Switches = 0;
  bool PreEnable = false;  // INTEN given: interrupts on after the next instruction
  bool IntEnable = false;
  bool IrqFlag = false;    // the interrupt request latch
  int MemSize = MemoryWords;

  // ---- devices
  std::array<TDeviceState, StateDeviceCount> Devices{};
  bool TtiReaderOn = false;
  int RtcInterval = 100;  // ms: 20, 100, 10 or 1
  bool RtcTimerOn = false;

  // ---- speed and simulated time
  std::uint32_t Speed = 0;  // speed::Maximum, speed::Nova800 or instructions per second
  bool RealSpeedDevices = true;
  std::uint64_t SimTimeNs = 0;
  std::uint64_t RateRemainder = 0;  // a fixed rate's time not yet charged (ns * rate)

  bool operator==(const TRegisterState&) const = default;
};
