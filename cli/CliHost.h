// What corvane-cli run puts around the machine: the event pump between time slices (clock
// timer, keyboard, signals), teletype output to standard output, the trace file, and the
// answers to the peripherals (no file dialogs: a device without a file stops the run).
#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "KeyInput.h"
#include "NovaMachine.h"
#include "Peripherals.h"
#include "SteadyTimer.h"
#include "TraceWriter.h"
#include "Typist.h"

class TCliHost : public TMachineHost, public TPeripheralHost {
public:
  using TClock = std::chrono::steady_clock;
  // After the end of piped input, a wait for a key this long ends the run; so does a wait for a
  // reader whose tape has run out.
  static constexpr std::chrono::seconds InputEndWait{10};
  // Instructions per time slice at maximum speed (the pump runs after this many; a timed run
  // pumps after each of its time slices).
  static constexpr std::uint32_t SliceInstructions = 8192;

  TCliHost(TNovaMachine& Machine, TPeripherals& Peripherals, TKeyInput& Keys);

  void SetTrace(TTraceWriter* Trace) { FTrace = Trace; }

  // ---- TMachineHost
  void PumpEvents() override;
  void TraceChanged(int count) override;

  // ---- TPeripheralHost (nobody is asked for files: a device without one goes without)
  void TeletypeOut(std::uint8_t b) override;
  void ReportFailure(const TMachineError& error) override { NoteError(ErrorText(error, elLine)); }

  // Notes an error of the run (each once).
  void NoteError(const std::string& text);

  // Writes pending teletype output; false (and the error noted) when standard output fails.
  bool FlushOutput();
  // The errors (files, output) met during the run and while closing its files, each once, in
  // the order they came; any of them makes the exit status 1.
  const std::vector<std::string>& Errors() const { return FErrors; }

  // A signal asks the run to end (set from a signal handler).
  static void RequestStop();

private:
  void Fail(const std::string& text);
  void Keyboard(TClock::time_point now);
  void Stall(TClock::time_point now, const std::string& message);

  TNovaMachine& FMachine;
  TPeripherals& FPeripherals;
  TKeyInput& FKeys;
  TTraceWriter* FTrace = nullptr;
  TTypist FTypist;
  TSteadyTimer FClock;
  std::string FOut;
  std::vector<std::string> FErrors;
  TClock::time_point FLastTerminalPoll{};
  bool FStalled = false;
  TClock::time_point FStallStart{};
};
