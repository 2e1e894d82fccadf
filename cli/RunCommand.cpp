// corvane-cli run: the machine without a window.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <utility>

#include "CliHost.h"
#include "CliText.h"
#include "Commands.h"
#include "FileIdentity.h"
#include "RunOptions.h"

namespace {

constexpr int ExitHalted = 0;
constexpr int ExitError = 1;
constexpr int ExitLimit = 3;
constexpr int ExitStopped = 4;

const char* StopName(TStopReason reason) {
  switch (reason) {
    case srHalt: return "halt";
    case srLimit: return "limit";
    case srBreakpoint: return "breakpoint";
    case srStepOver: return "stepover";
    case srWatch: return "watch";
    case srDevice: return "device";
    case srChain: return "chain";
    default: return "stop";
  }
}

void OnSignal(int) { TCliHost::RequestStop(); }

void InstallSignals() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);  // a closed standard output is reported as an error
}

// The readers' files are opened here first to tell why one cannot be read.
bool CheckReadable(const std::string& name) {
  if (name.empty()) return true;
  std::string error;
  if (TInputStream::Open(name, error)) return true;
  ReportError(TrFormat("cannot read file %s: %s", {name, error}));
  return false;
}

bool CheckWritable(const std::string& name) {
  if (name.empty()) return true;
  TReplacingFile probe;
  std::string error;
  if (probe.Open(name, error)) {
    probe.Discard();
    return true;
  }
  ReportError(TrFormat("cannot write file %s: %s", {name, error}));
  return false;
}

void PrintRegisters(const TNovaMachine& m, TStopReason reason) {
  char line[160];
  std::snprintf(line, sizeof line, "PC=%06o AC0=%06o AC1=%06o AC2=%06o AC3=%06o C=%d ION=%d STEPS=%llu STOP=%s\n",
                unsigned(m.PC), unsigned(m.Akkus[0]), unsigned(m.Akkus[1]), unsigned(m.Akkus[2]),
                unsigned(m.Akkus[3]), int(m.FCarry & 1), m.IntEnable ? 1 : 0,
                static_cast<unsigned long long>(m.ExecutedCount()), StopName(reason));
  std::string text = line;
  if (m.Timed()) {
    // Simulated time in seconds, to the nanosecond.
    const std::uint64_t ns = m.SimTimeNs();
    std::snprintf(line, sizeof line, " TIME=%llu.%09llus", static_cast<unsigned long long>(ns / 1'000'000'000u),
                  static_cast<unsigned long long>(ns % 1'000'000'000u));
    text.insert(text.size() - 1, line);
  }
  std::cerr << text;
}

// An output file that is also an input would be overwritten while it is read, or after it.
bool CheckOutputsAreNotInputs(const TRunOptions& o) {
  const std::pair<const char*, const std::string*> inputs[] = {
      {"--ptr", &o.Ptr}, {"--ttr", &o.Ttr}, {"--load-dump", &o.LoadDump}};
  const std::pair<const char*, const std::string*> outputs[] = {
      {"--ptp", &o.Ptp}, {"--ttp", &o.Ttp}, {"--lpt", &o.Lpt}, {"--save-dump", &o.SaveDump}, {"--trace-out", &o.TraceOut}};
  for (const auto& [outOption, outName] : outputs)
    for (const auto& [inOption, inName] : inputs)
      if (IsSameFile(*outName, *inName)) {
        ReportError(TrFormat("%s %s is the same file as %s %s: nothing is written",
                             {outOption, *outName, inOption, *inName}));
        return false;
      }
  return true;
}

// Everything a run needs, set up from the options; false after an error (reported).
bool Prepare(const TRunOptions& o, TNovaMachine& machine, TPeripherals& peripherals, TCliHost& host,
             TTraceWriter& trace) {
  if (!CheckOutputsAreNotInputs(o)) return false;
  for (const std::string* name : {&o.Ptr, &o.Ttr})
    if (!CheckReadable(*name)) return false;
  for (const std::string* name : {&o.Ptp, &o.Ttp, &o.Lpt, &o.SaveDump, &o.TraceOut})
    if (!CheckWritable(*name)) return false;

  machine.ResetCpu();
  if (o.MemSize > 0) machine.SetMemSize(o.MemSize);
  if (!o.LoadDump.empty()) {
    TMachineError error;
    if (!machine.LoadDump(o.LoadDump, false, &error)) {
      ReportError(ErrorText(error, elLine));
      return false;
    }
  }
  if (o.Pc >= 0) machine.SetPC(TWord(o.Pc));
  if (o.Switches >= 0) machine.SetSwitches(TWord(o.Switches));
  // The bootstrap would wait for ever for a device that is not there.
  const int loadDevice = machine.FSwitches & 077;
  if (o.ProgLoad && !machine.IoDevices[std::size_t(loadDevice)]) {
    ReportError(TrFormat("--prog-load: no device has the code %s (the low six bits of --switches; 12 is the paper-tape reader)",
                         {FormatOctal(unsigned(loadDevice), 2)}));
    return false;
  }
  for (int address : o.Breaks) machine.SetBreakpoint(TWord(address));

  bool ok = true;
  if (!o.Ptr.empty()) {
    ok = ok && peripherals.OpenPtrFile(o.Ptr);
    peripherals.PtrText = o.PtrText;
  }
  if (ok && !o.Ttr.empty()) {
    ok = peripherals.OpenTtrFile(o.Ttr);
    peripherals.TtrText = o.TtrText;
    ok = ok && peripherals.SetTeletypeReader(true);
  }
  if (ok && !o.Ptp.empty()) ok = peripherals.AttachOutput(pdPtp, o.Ptp);
  if (ok && !o.Ttp.empty()) ok = peripherals.AttachOutput(pdTtp, o.Ttp);
  if (ok && !o.Lpt.empty()) ok = peripherals.AttachOutput(pdLpt, o.Lpt);
  peripherals.TtyPunch = !o.Ttp.empty();
  if (ok && !o.TraceOut.empty()) {
    std::string error;
    ok = trace.Open(o.TraceOut, error);
    if (!ok) host.NoteError(TrFormat("cannot write file %s: %s", {o.TraceOut, error}));
    host.SetTrace(ok ? &trace : nullptr);
  }
  if (!ok) {
    ReportError(host.Error().empty() ? Tr("the devices could not be prepared") : host.Error());
    return false;
  }
  machine.InstructionLimit = o.MaxInstructions;
  machine.SetSpeed(o.Speed);
  machine.SetPumpInterval(TCliHost::SliceInstructions);
  return true;
}

}  // namespace

int RunCommand(int argc, char** argv) {
  TRunOptions options;
  if (const int status = ReadRunOptions(argc, argv, options); status >= 0) return status;

  TNovaMachine machine;
  TPeripherals peripherals(machine);
  TKeyInput keys;
  TCliHost host(machine, peripherals, keys);
  TTraceWriter trace(machine);
  machine.SetHost(&host);
  peripherals.SetHost(&host);
  if (!Prepare(options, machine, peripherals, host, trace)) return ExitError;

  InstallSignals();
  // Raw mode first: a key typed as soon as the notice is seen must not be cooked or echoed.
  keys.Start();
  if (keys.IsTerminal()) std::cerr << Tr("corvane-cli: Ctrl-E ends the run") << std::endl;
  // The front panel's PROG LOAD, or its CONTINUE at PC.
  TPanelLamps lamps;
  const TStopReason reason = machine.PanelCommand(options.ProgLoad ? ncProgLoad : ncCont, lamps);
  keys.Finish();
  host.FlushOutput();

  std::string error;
  if (trace.IsOpen() && !trace.Commit(error)) host.NoteError(TrFormat("cannot write file %s: %s", {options.TraceOut, error}));
  peripherals.CloseAll();
  TMachineError dumpError;
  if (!options.SaveDump.empty() && !machine.SaveDump(options.SaveDump, &dumpError))
    host.NoteError(ErrorText(dumpError, elLine));

  if (options.Regs) PrintRegisters(machine, reason);
  const std::string& detail = machine.LastStopDetail();
  if (!detail.empty() && detail != host.Error()) ReportError(detail);
  if (!host.Error().empty()) return ReportError(host.Error());
  switch (reason) {
    case srHalt: return ExitHalted;
    case srLimit: return ExitLimit;
    default: return ExitStopped;
  }
}
