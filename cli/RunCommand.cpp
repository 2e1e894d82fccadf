// corvane-cli run: the machine without a window.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <tuple>
#include <utility>
#include <vector>

#include "CliHost.h"
#include "CliText.h"
#include "Commands.h"
#include "FileIdentity.h"
#include "RunOptions.h"
#include "RunOutputs.h"
#include "StateFile.h"

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

void PrintRegisters(const TNovaMachine& m, TStopReason reason) {
  char line[160];
  char stop[32];
  if (reason == srData)
    std::snprintf(stop, sizeof stop, "%s@%06o", BreakKindName(m.LastDataStop().Kind), unsigned(m.LastDataStop().Addr));
  else
    std::snprintf(stop, sizeof stop, "%s", StopName(reason));
  std::snprintf(line, sizeof line, "PC=%06o AC0=%06o AC1=%06o AC2=%06o AC3=%06o C=%d ION=%d STEPS=%llu STOP=%s\n",
                unsigned(m.PC), unsigned(m.AC[0]), unsigned(m.AC[1]), unsigned(m.AC[2]),
                unsigned(m.AC[3]), int(m.Carry & 1), m.IntEnable ? 1 : 0,
                static_cast<unsigned long long>(m.ExecutedCount()), stop);
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

// The line that tells the instruction of this run (from the count First on) that last wrote the
// word.
std::string LastWriterLine(TNovaMachine& m, TWord addr, std::uint64_t first) {
  const TLastWrite w = m.LastWriter(addr);
  char line[160];
  if (w.Found && w.Step > first)
    std::snprintf(line, sizeof line, "LAST-WRITER %06o PC=%06o STEP=%llu OLD=%06o NEW=%06o\n", unsigned(addr),
                  unsigned(w.PC), static_cast<unsigned long long>(w.Step - first), unsigned(w.Old), unsigned(w.New));
  else
    std::snprintf(line, sizeof line, "LAST-WRITER %06o none\n", unsigned(addr));
  return line;
}

// An output file that is also an input would be overwritten while it is read, or after it.
bool CheckOutputsAreNotInputs(const TRunOptions& o) {
  std::vector<std::pair<const char*, const std::string*>> inputs = {{"--load-dump", &o.LoadDump},
                                                                     {"--load-state", &o.LoadState}};
  for (const std::string& tape : o.Ptr) inputs.emplace_back("--ptr", &tape);
  for (const std::string& tape : o.Ttr) inputs.emplace_back("--ttr", &tape);
  const std::pair<const char*, const std::string*> outputs[] = {
      {"--ptp", &o.Ptp}, {"--ttp", &o.Ttp}, {"--lpt", &o.Lpt}, {"--save-dump", &o.SaveDump}, {"--trace-out", &o.TraceOut},
      {"--save-state", &o.SaveState}};
  for (const auto& [outOption, outName] : outputs)
    for (const auto& [inOption, inName] : inputs)
      // A state is read whole before the run and written whole after it: one file may be both.
      if (!(outName == &o.SaveState && inName == &o.LoadState) && IsSameFile(*outName, *inName)) {
        ReportError(TrFormat("%s %s is the same file as %s %s: nothing is written",
                             {outOption, *outName, inOption, *inName}));
        return false;
      }
  return true;
}

// Everything a run needs, set up from the options; false after an error (reported).
bool Prepare(const TRunOptions& o, TNovaMachine& machine, TPeripherals& peripherals, TCliHost& host,
             TTraceWriter& trace, TRunOutputs& outputs) {
  if (!CheckOutputsAreNotInputs(o)) return false;
  for (const std::vector<std::string>* tapes : {&o.Ptr, &o.Ttr})
    for (const std::string& name : *tapes)
      if (!CheckReadable(name)) return false;
  if (!o.LoadState.empty()) {
    // The state takes the place of the reset; the options below apply after it.
    TMachineError error;
    std::vector<TAttachProblem> problems;
    if (!LoadMachineState(o.LoadState, machine, peripherals, error, problems)) {
      ReportError(ErrorText(error, elLine));
      return false;
    }
    for (const TAttachProblem& problem : problems) ReportError(AttachProblemText(problem, elLine));
    // An output given here replaces the state's; its file stays as it was.
    for (const auto& [dev, name] : {std::pair{pdPtp, &o.Ptp}, std::pair{pdTtp, &o.Ttp}, std::pair{pdLpt, &o.Lpt}})
      if (!name->empty()) peripherals.OutputFile(dev)->Discard();
  } else {
    machine.ResetCpu();
  }
  if (!outputs.Open()) return false;

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
  const int loadDevice = machine.Switches & 077;
  if (o.ProgLoad && !machine.IoDevices[std::size_t(loadDevice)]) {
    ReportError(TrFormat("--prog-load: no device has the code %s (the low six bits of --switches; 12 is the paper-tape reader)",
                         {FormatOctal(unsigned(loadDevice), 2)}));
    return false;
  }
  for (const TBreakpoint& b : o.Breaks) machine.SetBreakpoint(b);
  if (o.TraceLength) machine.SetTraceLength(o.TraceLength);

  // The first tape in the reader, the others waiting for it to run out.
  bool ok = true;
  for (const auto& [dev, tapes, text] : {std::tuple{pdPtr, &o.Ptr, o.PtrText}, std::tuple{pdTtr, &o.Ttr, o.TtrText}}) {
    if (!tapes->empty()) peripherals.ClearQueue(dev);  // the tapes given take the place of a state's
    for (std::size_t i = 0; ok && i < tapes->size(); ++i)
      ok = i == 0 ? peripherals.OpenInput(dev, (*tapes)[i], text) : peripherals.QueueInput(dev, (*tapes)[i], text);
  }
  if (ok && !o.Ttr.empty()) ok = peripherals.SetTeletypeReader(true);
  if (!o.Ttp.empty() || o.LoadState.empty()) peripherals.TtyPunch = !o.Ttp.empty();
  host.SetTrace(trace.IsOpen() ? &trace : nullptr);
  if (!ok) {
    ReportError(host.Errors().empty() ? Tr("the devices could not be prepared") : host.Errors().front());
    return false;
  }
  machine.InstructionLimit = o.MaxInstructions;
  if (o.SpeedGiven || o.LoadState.empty()) machine.SetSpeed(o.Speed);
  machine.SetPumpInterval(TCliHost::SliceInstructions);
  if (o.Reverse || o.LastWriter >= 0) machine.SetHistorySize(std::max(o.Reverse, DefaultHistorySize));
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
  TRunOutputs outputs(options, machine, peripherals, trace);
  machine.SetHost(&host);
  peripherals.SetHost(&host);
  if (!Prepare(options, machine, peripherals, host, trace, outputs)) {
    outputs.Discard();
    return ExitError;
  }

  InstallSignals();
  // Raw mode first: a key typed as soon as the notice is seen must not be cooked or echoed.
  keys.Start();
  if (keys.IsTerminal()) std::cerr << Tr("corvane-cli: Ctrl-E ends the run") << std::endl;
  // The front panel's PROG LOAD, or its CONTINUE at PC.
  TPanelLamps lamps;
  // A state saved when a run was cut short goes on as if that run had not ended, unless the
  // options have started the machine elsewhere.
  const TStopReason saved = machine.LastStopReason();
  const bool resume = !options.LoadState.empty() && !options.ProgLoad && options.Pc < 0 && options.LoadDump.empty() &&
                      (saved == srLimit || saved == srStop);
  const std::uint64_t first = machine.ExecutedCount();
  const TStopReason reason = resume ? machine.ResumeRun() : machine.PanelCommand(options.ProgLoad ? ncProgLoad : ncCont, lamps);
  keys.Finish();
  host.FlushOutput();

  bool gone = true;
  if (options.Reverse) {
    const std::uint64_t now = machine.ExecutedCount();
    const std::uint64_t reach = now - std::max(machine.HistoryStart(), first);
    if (options.Reverse > reach) {
      ReportError(TrFormat("--reverse %s: the run can be gone back only %s instructions",
                           {std::to_string(options.Reverse), std::to_string(reach)}));
      gone = false;
    } else {
      machine.TravelTo(now - options.Reverse);
    }
  }
  const std::string lastWriter =
      options.LastWriter >= 0 ? LastWriterLine(machine, TWord(options.LastWriter), first) : std::string();
  if (!gone) {
    outputs.Discard();
    std::cerr << lastWriter;
    return ExitError;
  }

  const bool outputsKept = outputs.Close(host);

  if (options.Regs) PrintRegisters(machine, reason);
  std::cerr << lastWriter;
  // The stop reason, then every error, each once (a write error that stopped the run is both).
  std::vector<std::string> messages;
  const auto add = [&messages](const std::string& text) {
    if (!text.empty() && std::find(messages.begin(), messages.end(), text) == messages.end()) messages.push_back(text);
  };
  add(machine.LastStopDetail());
  for (const std::string& error : host.Errors()) add(error);
  for (const std::string& message : messages) ReportError(message);
  if (!outputsKept) return ExitError;
  switch (reason) {
    case srHalt: return ExitHalted;
    case srLimit: return ExitLimit;
    default: return ExitStopped;
  }
}
