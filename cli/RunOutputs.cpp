#include "RunOutputs.h"

#include <memory>

#include "CliHost.h"
#include "CliText.h"
#include "StateFile.h"

namespace {

struct TDeviceOutput {
  TPeriphDevice Dev;
  std::string TRunOptions::*Name;
};
constexpr TDeviceOutput DeviceOutputs[] = {{pdPtp, &TRunOptions::Ptp}, {pdTtp, &TRunOptions::Ttp}, {pdLpt, &TRunOptions::Lpt}};

}  // namespace

bool TRunOutputs::Open() {
  bool ok = true;
  const auto open = [&ok](const std::string& name, auto&& opener) {
    if (name.empty()) return;
    std::string error;
    if (opener(error)) return;
    ReportError(TrFormat("cannot write file %s: %s", {name, error}));
    ok = false;
  };
  for (const TDeviceOutput& o : DeviceOutputs) {
    const std::string& name = FOptions.*o.Name;
    open(name, [&](std::string& error) { return FPeripherals.OpenOutput(o.Dev, name, error); });
  }
  open(FOptions.TraceOut, [&](std::string& error) { return FTrace.Open(FOptions.TraceOut, error); });
  open(FOptions.SaveDump, [&](std::string& error) { return FDump.Open(FOptions.SaveDump, error); });
  open(FOptions.SaveState, [&](std::string& error) { return FState.Open(FOptions.SaveState, error); });
  if (!ok) Discard();
  return ok;
}

void TRunOutputs::Discard() {
  for (const TDeviceOutput& o : DeviceOutputs) FPeripherals.OutputFile(o.Dev)->Discard();
  FDump.Discard();
  FState.Discard();
}

bool TRunOutputs::Close(TCliHost& Host) {
  bool ok = true;
  std::string error;
  // A file that is no longer open was dropped after a write error during the run.
  if (!FOptions.TraceOut.empty()) {
    if (!FTrace.IsOpen())
      ok = false;
    else if (!FTrace.Commit(error))
      Host.NoteError(TrFormat("cannot write file %s: %s", {FOptions.TraceOut, error}));
  }
  for (const TDeviceOutput& o : DeviceOutputs)
    if (!(FOptions.*o.Name).empty() && !FPeripherals.OutputFile(o.Dev)->IsOpen()) ok = false;
  // The state with the files still attached; the files hold its positions once closed.
  std::unique_ptr<TMachineState> state;
  if (FState.IsOpen()) state = std::make_unique<TMachineState>(CaptureState(FMachine, FPeripherals));
  FPeripherals.CloseAll();  // reports through the host
  TMachineError dumpError;
  if (FDump.IsOpen() && !FMachine.SaveDump(FDump, &dumpError)) Host.NoteError(ErrorText(dumpError, elLine));
  TMachineError stateError;
  if (state && !WriteStateTo(FState, *state, stateError)) Host.NoteError(ErrorText(stateError, elLine));
  return ok && Host.Errors().empty();
}
