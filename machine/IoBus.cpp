// The I/O instructions, the processor's own functions (device code 77), device ticks and the
// interrupt cycle.
#include "ExecCore.h"
#include "Translate.h"

template <bool Exec>
bool TNovaMachine::ExecIoT(TWord cmd, bool& halt) {
  const int ac = nova::IoAcOf(cmd);
  const int transfer = nova::TransferOf(cmd);
  const int pulse = nova::PulseOf(cmd);
  const int code = nova::DeviceOf(cmd);

  if (code == nova::DevCPU) {
    if (transfer == 7) {  // Busy is the interrupt-on flag, Done is always 0
      switch (pulse) {
        case 0: return IntEnable;
        case 1: return !IntEnable;
        case 2: return false;
        default: return true;
      }
    }
    if constexpr (Exec) {
      switch (transfer) {
        case 1: AC[ac] = Switches; break;                       // READS
        case 3: AC[ac] = TWord(GetInterruptDevice()); break;     // INTA
        case 4: MaskOutDevices(AC[ac]); break;                   // MSKO
        case 5: ResetDevices(); break;                              // IORST
        case 6: halt = true; break;                                 // HALT
        default: break;
      }
      if (pulse == 1) {
        PreEnable = true;  // INTEN: on after the next instruction
      } else if (pulse == 2) {
        IntEnable = false;  // INTDS
        PreEnable = false;
      }
    }
    return false;
  }

  TDevice* dev = IoDevices[code];
  if (!dev) {  // absent: neither busy nor done, reads 0
    if (transfer == 7) return pulse == 1 || pulse == 3;
    if constexpr (Exec) {
      if (transfer == 1 || transfer == 3 || transfer == 5) AC[ac] = 0;
    }
    return false;
  }
  if (transfer == 7) {
    switch (pulse) {
      case 0: return dev->BusyFlag();
      case 1: return !dev->BusyFlag();
      case 2: return dev->DoneFlag();
      default: return !dev->DoneFlag();
    }
  }
  if constexpr (Exec) {
    switch (transfer) {
      case 1: AC[ac] = dev->DIA(); break;
      case 2: dev->DOA(AC[ac]); break;
      case 3: AC[ac] = dev->DIB(); break;
      case 4: dev->DOB(AC[ac]); break;
      case 5: AC[ac] = dev->DIC(); break;
      case 6: dev->DOC(AC[ac]); break;
      default: break;
    }
    switch (pulse) {
      case 1: dev->Start(); break;
      case 2: dev->Clear(); break;
      case 3: dev->Pulse(); break;
      default: break;
    }
  }
  return false;
}

template bool TNovaMachine::ExecIoT<true>(TWord, bool&);
template bool TNovaMachine::ExecIoT<false>(TWord, bool&);

// A transfer or pulse, with the registers in the machine's fields.
bool TNovaMachine::IoInstruction(TWord cmd) {
  bool halt = false;
  ExecIoT<true>(cmd, halt);
  if (halt) Stop(srHalt);
  UpdateAttention();
  return halt;
}

TWord TNovaMachine::Attention(TWord pc, TWord carry, int res) {
  if (!Watch.empty()) CheckWatchesRunning();
  if (FAttention & DataHitAttention) DataHits(pc, carry);
  if (res != exAbandoned) {  // an abandoned instruction takes no interrupt: PC stays on it
    if (IrqFlag && IntEnable) {
      pc = TakeInterrupt(pc);
      if (FAttention & DataHitAttention) DataHits(pc, carry);
    }
    IntEnable = PreEnable;
  }
  UpdateAttention();
  return pc;
}

void TNovaMachine::TickDevices() {
  if (FPlainTicks) {
    for (TDevice* d : FTickDevices) d->ProcessTick();
    FTickMask = AllDevicesMask;
    return;
  }
  const std::uint32_t mask = FTickMask;
  for (int i = 0; i < 6; ++i)
    if (mask & (1u << i)) FTickDevices[i]->ProcessTick();
  std::uint32_t still = 0;
  for (int i = 0; i < 6; ++i)
    if ((FTickMask & (1u << i)) && !FTickDevices[i]->TickIdle(IrqFlag)) still |= 1u << i;
  FTickMask = still;
}

TWord TNovaMachine::TakeInterrupt(TWord pc) {
  PreEnable = false;
  IntEnable = false;
  IrqFlag = false;
  WakeDevices();  // a device still requesting raises the latch again at the next tick
  // The store into 0 and the words of the vector chain are data accesses as an instruction's.
  FInInterrupt = true;
  Touch<true>(0, WriteBreakFlag);
  Memory[0].Data = pc;
  const int vector = GetIndirectT<true, true>(1);
  FInInterrupt = false;
  if (vector >= 0) return TWord(vector);
  Stop(srChain, _("The interrupt vector chain at location 1 does not end"));
  return pc;
}

void TNovaMachine::CheckInterrupt() {
  if (IrqFlag && IntEnable) PC = TakeInterrupt(PC & nova::AddrMask);
  IntEnable = PreEnable;
  UpdateAttention();
}

void TNovaMachine::RequestInterrupt(TDevice&) {
  IrqFlag = true;
  UpdateAttention();
}

int TNovaMachine::GetInterruptDevice() const {
  for (int code : TickOrder)
    if (IoDevices[code]->Interrupt()) return code;
  return 0;
}

void TNovaMachine::MaskOutDevices(TWord Mask) {
  for (TDevice* d : IoDevices)
    if (d) d->MaskOut(Mask);
}

void TNovaMachine::ResetDevices() {
  if (TapActive()) {
    ResetHook();
  } else {
    ++FDeviceResets;
    if (OnDevicesReset) OnDevicesReset();
  }
  for (TDevice* d : IoDevices)
    if (d) d->Reset();
}
