// The machine's registers, devices and speed taken and put back: the one copy that whole-machine
// states and the history share.
#include "NovaMachine.h"

TRegisterState TNovaMachine::TakeRegs() const {
  TRegisterState s;
  s.PC = TWord(PC & nova::AddrMask);
  s.Carry = TWord(Carry & 1);
  s.AC = AC;
  s.Switches = Switches;
  s.PreEnable = PreEnable;
  s.IntEnable = IntEnable;
  s.IrqFlag = IrqFlag;
  s.MemSize = MemSize;
  const TDevice* const devices[StateDeviceCount] = {&Ptr, &Ptp, &Tti, &Tto, &Rtc, &Lpt};
  const std::uint8_t bytes[StateDeviceCount] = {Ptr.IByte, Ptp.OByte, Tti.IByte, Tto.OByte, 0, Lpt.OByte};
  for (int i = 0; i < StateDeviceCount; ++i) s.Devices[std::size_t(i)] = devices[i]->State(bytes[i]);
  s.TtiReaderOn = Tti.FRdOn;
  s.RtcInterval = Rtc.FInterval;
  s.RtcTimerOn = Rtc.FTimerOn;
  s.Speed = FSpeed;
  s.RealSpeedDevices = FRealSpeedDevices;
  s.SimTimeNs = FSimTime;
  s.RateRemainder = FRateRemainder;
  return s;
}

void TNovaMachine::PutRegs(const TRegisterState& s) {
  PC = TWord(s.PC & nova::AddrMask);
  Carry = TWord(s.Carry & 1);
  AC = s.AC;
  Switches = s.Switches;
  PreEnable = s.PreEnable;
  IntEnable = s.IntEnable;
  IrqFlag = s.IrqFlag;
  MemSize = s.MemSize < 1 ? 1 : s.MemSize > MemoryWords ? MemoryWords : s.MemSize;
  // The speed first: it sets the devices' real-speed timing, which the device states follow.
  const std::uint32_t speed = speed::Normalize(s.Speed);
  if (FSpeed != speed) {
    FSpeed = speed;
    if (FInExec && FRun) {
      FSpeedSwitch = true;
      FRun = false;
    }
  }
  FRealSpeedDevices = s.RealSpeedDevices;
  ApplyDeviceTiming();
  FSimTime = s.SimTimeNs;
  FRateRemainder = s.RateRemainder;
  TDevice* const devices[StateDeviceCount] = {&Ptr, &Ptp, &Tti, &Tto, &Rtc, &Lpt};
  for (int i = 0; i < StateDeviceCount; ++i) devices[i]->SetState(s.Devices[std::size_t(i)]);
  Ptr.IByte = s.Devices[0].Byte;
  Ptp.OByte = s.Devices[1].Byte;
  Tti.IByte = s.Devices[2].Byte;
  Tto.OByte = s.Devices[3].Byte;
  Lpt.OByte = s.Devices[5].Byte;
  Tti.FRdOn = s.TtiReaderOn;
  if (Rtc.FInterval != s.RtcInterval) {
    Rtc.FInterval = s.RtcInterval;
    if (Rtc.FTimer) Rtc.FTimer->SetInterval(s.RtcInterval);
  }
  if (Rtc.FTimerOn != s.RtcTimerOn) {
    Rtc.FTimerOn = s.RtcTimerOn;
    if (Rtc.FTimer) Rtc.FTimer->SetEnabled(s.RtcTimerOn);
  }
  WakeDevices();
  UpdateAttention();
}
