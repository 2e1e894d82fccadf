// Construction, the keyboard and the texts of the stop reasons.
#include "NovaMachine.h"

#include "ExecCore.h"
#include "Translate.h"

std::string StopReasonText(TStopReason reason) {
  switch (reason) {
    case srNone: return _("Step done");
    case srHalt: return _("Stopped by HALT");
    case srBreakpoint: return _("Stopped at a breakpoint");
    case srStepOver: return _("Stopped at the return address");
    case srWatch: return _("Stopped by a watched location");
    case srStop: return _("Stopped by the stop command");
    case srDevice: return _("Stopped by a device");
    case srChain: return _("Stopped: an indirect chain does not end");
    case srLimit: return _("Stopped: instruction limit reached");
    case srRefused: return _("Not started: the machine is already running");
    case srFileNeeded: return _("Stopped: a device needs a file");
    case srData: return _("Stopped by a data breakpoint");
    case srRunTo: return _("Stopped at the address run to");
  }
  return "";
}

TNovaMachine::TNovaMachine()
    : Tto(nova::DevTTO, 15, 10),
      Tti(nova::DevTTI, 14, 5),
      Ptp(nova::DevPTP, 13, 5),
      Ptr(nova::DevPTR, 11, 15),
      Rtc(nova::DevRTC, 13),
      Lpt(nova::DevLPT, 12, 5) {
  TDevice* created[] = {&Tto, &Tti, &Ptp, &Ptr, &Rtc, &Lpt};
  for (TDevice* d : created) {
    IoDevices[d->Adr()] = d;
    d->OnInterrupt = [this](TDevice& sender) { RequestInterrupt(sender); };
  }
  for (int i = 0; i < 6; ++i) {
    FTickDevices[i] = IoDevices[TickOrder[i]];
    FTickDevices[i]->BindTickMask(&FTickMask, 1u << i);
  }
  ApplyDeviceTiming();
  SetTraceLength(DefaultTraceLength);
}

TNovaMachine::~TNovaMachine() = default;

void TNovaMachine::ClearRegisters() {
  PC = 0;
  Carry = 0;
  AC = {};
}

std::uint8_t TNovaMachine::KeyToTtiByte(int Key, bool Upcase) {
  if (Key == 8) return 0177;
  std::uint8_t b = std::uint8_t(Key & 0xff);
  if (Upcase && b >= 'a' && b <= 'z') b &= 0337;
  return b;
}

void TNovaMachine::KeyPress(int Key, bool Upcase) { Tti.SetInputByte(KeyToTtiByte(Key, Upcase)); }
