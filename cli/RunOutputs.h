// The output files of `corvane-cli run`: the punches and the printer, the trace and the saved
// dump. Each is opened once, before the run; that open is also the check that it can be written
// (so a pipe's reader sees one writer from the first byte to the last). The punches and the
// printer write into their files as they go (what they have written is there at least once a
// second, from their first byte on); the trace and the dump are put in place when the run has
// ended.
// Every output that cannot be opened or written is named, each once.
#pragma once
#include <string>

#include "NovaMachine.h"
#include "Peripherals.h"
#include "ReplacingFile.h"
#include "RunOptions.h"
#include "TraceWriter.h"

class TCliHost;

class TRunOutputs {
public:
  TRunOutputs(const TRunOptions& Options, TNovaMachine& Machine, TPeripherals& Peripherals, TTraceWriter& Trace)
      : FOptions(Options), FMachine(Machine), FPeripherals(Peripherals), FTrace(Trace) {}

  // Opens every output given; false when any cannot be opened, each of those reported on
  // standard error ("cannot write file NAME: reason"). Nothing is replaced by a failed start.
  bool Open();
  // The run does not start after all: every file is left as it was.
  void Discard();
  // After the run: the trace, the punches and the printer, then the dump are put in place; each
  // failure goes to the host. False when an output is lost: it could not be written at the end,
  // or a write during the run failed (that file was dropped and its stop reason tells why).
  bool Close(TCliHost& Host);

private:
  const TRunOptions& FOptions;
  TNovaMachine& FMachine;
  TPeripherals& FPeripherals;
  TTraceWriter& FTrace;
  TReplacingFile FDump;
  TReplacingFile FState;
};
