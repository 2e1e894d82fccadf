// Machine state files of any content: refused with a reason, or read into a state that writes
// back to the same state and that a machine takes and runs with.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MachineState.h"
#include "NovaMachine.h"
#include "Peripherals.h"
#include "StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<TNovaMachine> machine = std::make_unique<TNovaMachine>();
  static const std::unique_ptr<TPeripherals> peripherals = std::make_unique<TPeripherals>(*machine);
  static const std::unique_ptr<TMachineState> state = std::make_unique<TMachineState>();
  static const std::unique_ptr<TMachineState> again = std::make_unique<TMachineState>();

  std::string why;
  if (!DecodeState(data, size, *state, why)) {
    FUZZ_CHECK(!why.empty());
    return 0;
  }
  // Written again in the newest format, a state holds all of its breakpoints.
  state->AllBreaks = true;
  const std::vector<std::uint8_t> bytes = EncodeState(*state);
  FUZZ_CHECK(DecodeState(bytes.data(), bytes.size(), *again, why));
  FUZZ_CHECK(*again == *state);

  // The files a state names may be anywhere: the machine gets the state without them.
  state->Readers = {};
  state->Outputs = {};
  std::vector<TAttachProblem> problems;
  FUZZ_CHECK(RestoreState(*state, *machine, *peripherals, problems));
  FUZZ_CHECK(problems.empty());
  // A condition that does not parse here leaves its breakpoint out.
  TMachineState& taken = *again;
  taken = CaptureState(*machine, *peripherals);
  for (const TBreakState& b : taken.Breaks)
    FUZZ_CHECK(std::find(state->Breaks.begin(), state->Breaks.end(), b) != state->Breaks.end());
  taken.Breaks = state->Breaks;
  FUZZ_CHECK(taken == *state);
  machine->SetSpeed(speed::Maximum);  // a timed run would keep to the wall clock
  machine->InstructionLimit = 200;
  machine->ResumeRun();
  return 0;
}
