// The operator's front panel as the machine sees it: the codes of its command switches and the
// two rows of lamps that EXAMINE and DEPOSIT drive. TNovaMachine::PanelCommand carries the
// commands out, with the data switches (Switches) as the switch word; the window's panel, the
// command line and the tests call it alike.
#pragma once
#include "MachineTypes.h"

// In the order of the switches on the panel (push up, push down).
enum TNovaCommands : int {
  ncDepAc0, ncExAc0, ncDepAc1, ncExAc1, ncDepAc2, ncExAc2, ncDepAc3, ncExAc3,
  ncReset, ncStop, ncStart, ncCont, ncDep, ncDepNext, ncEx, ncExNext, ncMemStep, ncInstStep, ncProgLoad
};
constexpr int NovaCommandCount = ncProgLoad + 1;

// The address lamps (the examine/deposit address, 15 bits) and the data lamps. They belong to
// the panel that shows them; a command reads and sets them.
struct TPanelLamps {
  TWord Address = 0;
  TWord Data = 0;
  bool operator==(const TPanelLamps&) const = default;
};
