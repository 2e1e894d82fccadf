// The front panel's commands.
#include "NovaMachine.h"

TStopReason TNovaMachine::PanelCommand(TNovaCommands Command, TPanelLamps& Lamps) {
  const TWord switches = Switches;
  const auto atPC = [this, &Lamps] {
    Lamps.Address = TWord(PC & nova::AddrMask);
    Lamps.Data = ReadMemory(Lamps.Address);
  };
  TStopReason reason = srNone;
  switch (Command) {
    case ncDepAc0:
    case ncDepAc1:
    case ncDepAc2:
    case ncDepAc3:
      SetAC((Command - ncDepAc0) / 2, switches);
      Lamps.Data = switches;
      return srNone;
    case ncExAc0:
    case ncExAc1:
    case ncExAc2:
    case ncExAc3: Lamps.Data = AC[std::size_t((Command - ncExAc0) / 2)]; return srNone;
    case ncDepNext:
    case ncDep:
      if (Command == ncDepNext) Lamps.Address = TWord((Lamps.Address + 1) & nova::AddrMask);
      Lamps.Address &= nova::AddrMask;
      WriteWord(Lamps.Address, switches);
      Lamps.Data = ReadMemory(Lamps.Address);
      return srNone;
    case ncEx:
    case ncExNext:
      Lamps.Address = TWord((Command == ncEx ? switches : Lamps.Address + 1) & nova::AddrMask);
      Lamps.Data = ReadMemory(Lamps.Address);
      return srNone;
    case ncStop: RequestStop(); return srNone;
    case ncMemStep: return srNone;
    case ncReset: ResetCpu(); break;
    case ncStart:
      if (Executing()) return srRefused;
      SetPC(switches);
      reason = RunProgram();
      break;
    case ncCont: reason = RunProgram(); break;
    case ncInstStep: reason = Step(); break;
    case ncProgLoad: reason = ProgramLoad(); break;
  }
  if (reason != srRefused) atPC();
  return reason;
}
