// Taking a whole-machine state from the machine and its peripherals, and putting it back.
#include "MachineState.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>

#include "NovaMachine.h"
#include "Peripherals.h"
#include "SafeFormat.h"
#include "Translate.h"

std::string AttachProblemText(const TAttachProblem& Problem, TErrorLayout Layout) {
  return SafeFormat("%s: %s", PeriphDeviceName(Problem.Dev), ErrorText(Problem.Error, Layout));
}

// The one place that reads and writes the fields the operations keep to themselves.
struct TStateAccess {
  // A file as it is found from any folder: a state may be loaded by a program started elsewhere.
  static std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
  }

  static void Capture(const TNovaMachine& m, const TPeripherals& p, TMachineState& s) {
    static_cast<TRegisterState&>(s) = m.TakeRegs();
    for (int a = 0; a < MemoryWords; ++a) s.Memory[std::size_t(a)] = m.Memory[std::size_t(a)].Data;
    s.Executed = m.FExecuted;
    s.LastStop = m.FLastStopReason;

    s.Breakpoints = m.BreakPoints;
    s.Breaks.clear();
    for (const TBreakpoint& b : m.FBreaks)
      if (b.Kind != bkExecute || !b.Condition.empty() || b.Count != 0 || b.Hits != 0)
        s.Breaks.push_back(TBreakState{b.Kind, b.First, b.Last, b.Condition, b.Base, b.Count, b.Hits});
    s.AllBreaks = true;
    s.StepOverMarks.clear();
    for (int a = 0; a < MemoryWords; ++a)
      if (m.Memory[std::size_t(a)].Flags & StepOverFlag) s.StepOverMarks.push_back(TWord(a));
    s.Watches = m.Watch;
    s.Trace.resize(std::size_t(m.TraceCount()));
    for (int i = 0; i < m.TraceCount(); ++i) s.Trace[std::size_t(i)] = m.TraceItem(i);

    for (int i = 0; i < 2; ++i) {
      TReaderState& r = s.Readers[std::size_t(i)];
      r = TReaderState{};
      const TPeriphDevice dev = StateReaders[i];
      if (const TInputStream* f = p.InputFile(dev)) {
        r.Attached = true;
        r.Path = Absolute(f->FName);
        r.Text = dev == pdTtr ? p.TtrText : p.PtrText;
        r.Start = f->Start();
        r.Position = f->Position();
        r.TrailerCount = f->TrailerCount;
      }
      for (const TPeripherals::TQueuedTape& q : p.FQueues[std::size_t(i)]) r.Queue.push_back({Absolute(q.File->FName), q.Text});
    }
    for (int i = 0; i < 3; ++i) {
      TOutputState& o = s.Outputs[std::size_t(i)];
      o = TOutputState{};
      const TReplacingFile& f = StateOutputs[i] == pdTtp ? p.TtpFile : StateOutputs[i] == pdPtp ? p.PtpFile : p.LptFile;
      if (f.IsOpen()) o = TOutputState{true, Absolute(f.Name()), f.Position()};
    }
    s.TtyPunch = p.TtyPunch;
    s.LptDeclined = p.LptDeclined;
    s.LptLine = p.LptLine;
    s.LastTtoOutputAt = p.FLastTtoOutputAt;
  }

  static void RestoreMachine(const TMachineState& s, TNovaMachine& m) {
    m.DropHistory();
    for (int a = 0; a < MemoryWords; ++a) m.Memory[std::size_t(a)] = TMemCell{s.Memory[std::size_t(a)], 0};
    // The state's breakpoints take the place of the machine's (a state of format 1 held only
    // the execute ones: the machine's data breakpoints stay). A condition that does not parse
    // here (a label this program does not know) leaves its breakpoint out.
    m.FGoal = -1;
    if (s.AllBreaks)
      m.FBreaks.clear();
    else
      std::erase_if(m.FBreaks, [](const TBreakpoint& b) { return b.Kind == bkExecute; });
    for (TWord a : s.Breakpoints) {
      TBreakpoint b;
      b.First = b.Last = TWord(a & nova::AddrMask);
      m.InsertBreak(b, false, nullptr, nullptr);
    }
    for (const TBreakState& k : s.Breaks) {
      TBreakpoint b;
      b.Kind = k.Kind;
      b.First = k.First;
      b.Last = k.Last;
      b.Condition = k.Condition;
      b.Base = k.Base;
      b.Count = k.Count;
      if (!m.InsertBreak(b, true, nullptr, nullptr)) continue;
      for (TBreakpoint& in : m.FBreaks)
        if (in.SameAs(b)) in.Hits = k.Hits;
    }
    m.RemarkBreaks();
    m.ForgetSteppedCalls();
    for (TWord a : s.StepOverMarks) m.Memory[a & nova::AddrMask].Flags |= StepOverFlag;
    m.Watch = s.Watches;
    m.FRun = false;
    m.FExecuted = s.Executed;
    m.FLastStopReason = s.LastStop;
    m.FLastStopDetail.clear();
    const int memSize = m.MemSize;
    m.PutRegs(s);
    // The clock's timer follows the state even where the machine's fields already agreed.
    if (m.Rtc.FTimer) {
      m.Rtc.FTimer->SetInterval(m.Rtc.FInterval);
      m.Rtc.FTimer->SetEnabled(m.Rtc.FTimerOn);
    }

    // The newest records that fit the machine's trace.
    const std::size_t length = std::size_t(m.FTraceLength);
    const std::size_t n = s.Trace.size() < length ? s.Trace.size() : length;
    for (std::size_t i = 0; i < n; ++i) m.FTrace[i] = s.Trace[s.Trace.size() - n + i];
    m.FTracePos = int(n % length);
    m.FTraceFull = n == length;
    m.FTraceReportedAt = m.FExecuted;
    m.FTraceDirty = false;
    m.FWatchesDirty = false;
    m.WakeDevices();
    m.UpdateAttention();

    TMachineHost& host = m.Host();
    if (m.MemSize != memSize) host.MemSizeChanged(m.MemSize);
    host.SwitchesChanged();
    host.MemoryChanged();
    host.RegistersChanged();
    host.BreakpointsChanged(int(m.FBreaks.size()));
    host.WatchesChanged(int(m.Watch.size()));
    host.TraceChanged(m.TraceCount());
  }

  // The reader's tape opened again at its saved position; false with the problem.
  static std::unique_ptr<TInputStream> OpenReader(const TReaderState& r, TMachineError& error) {
    struct stat st {};
    if (::stat(r.Path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
      error = TMachineError{ekNotFound, r.Path, std::strerror(errno)};
      return nullptr;
    }
    std::string why;
    std::unique_ptr<TInputStream> f = TInputStream::Open(r.Path, why);
    if (!f) {
      error = TMachineError{ekRead, r.Path, why};
      return nullptr;
    }
    if (f->Size() < r.Position || !f->SetStart(r.Start)) {
      error = ShortFile(r.Path, r.Position);
      return nullptr;
    }
    while (f->Position() < r.Position) {
      const int c = f->ReadByte(why);
      if (c == TInputStream::rdError) {
        error = TMachineError{ekRead, r.Path, why};
        return nullptr;
      }
      if (c == TInputStream::rdEnd) {
        error = ShortFile(r.Path, r.Position);
        return nullptr;
      }
    }
    f->TrailerCount = r.TrailerCount;
    return f;
  }

  static TMachineError ShortFile(const std::string& path, std::int64_t position) {
    return TMachineError{ekRead, path,
                         SafeFormat(_("it is shorter than the saved position %s"), std::to_string(position))};
  }

  // The punch or printer file opened again, holding its first Position bytes; false with the
  // problem. A device or a pipe is written on as it is.
  static bool OpenOutput(TPeripherals& p, TPeriphDevice dev, const TOutputState& o, TMachineError& error) {
    struct stat st {};
    const bool exists = ::stat(o.Path.c_str(), &st) == 0;
    if (!exists && (errno == ENOENT || errno == ENOTDIR) && o.Position > 0) {
      error = TMachineError{ekNotFound, o.Path, std::strerror(errno)};
      return false;
    }
    const bool regular = exists && S_ISREG(st.st_mode);
    if (regular && std::int64_t(st.st_size) < o.Position) {
      error = ShortFile(o.Path, o.Position);
      return false;
    }
    std::string why;
    std::FILE* in = nullptr;
    if (regular && o.Position > 0 && !(in = OpenRegularFile(o.Path, why))) {
      error = TMachineError{ekRead, o.Path, why};
      return false;
    }
    if (!p.OpenOutput(dev, o.Path, why)) {
      if (in) std::fclose(in);
      error = TMachineError{ekOpen, o.Path, why};
      return false;
    }
    TReplacingFile& file = *p.OutputFile(dev);
    char buffer[8192];
    std::int64_t left = in ? o.Position : 0;
    while (left > 0) {
      const std::size_t want = left < std::int64_t(sizeof buffer) ? std::size_t(left) : sizeof buffer;
      const std::size_t got = std::fread(buffer, 1, want, in);
      if (got == 0 || !file.Write(buffer, got, why)) {
        error = got == 0 ? ShortFile(o.Path, o.Position) : TMachineError{ekWrite, o.Path, why};
        std::fclose(in);
        file.Discard();
        return false;
      }
      left -= std::int64_t(got);
    }
    if (in) std::fclose(in);
    return true;
  }

  // Whether the output device has the state's file attached now.
  static bool SameOutput(TPeripherals& p, TPeriphDevice dev, const TOutputState& o) {
    const TReplacingFile* f = p.OutputFile(dev);
    const bool open = f && f->IsOpen();
    return open == o.Attached && (!open || Absolute(f->Name()) == o.Path);
  }

  // KeepOutputs: a punch or the printer with the state's file attached keeps it as it is.
  static void RestorePeripherals(const TMachineState& s, TPeripherals& p, std::vector<TAttachProblem>& problems,
                                 bool KeepOutputs) {
    bool keep[3] = {};
    for (int i = 0; i < 3; ++i) keep[i] = KeepOutputs && SameOutput(p, StateOutputs[i], s.Outputs[std::size_t(i)]);
    p.TtrFile.reset();
    p.PtrFile.reset();
    for (auto& queue : p.FQueues) queue.clear();
    for (int i = 0; i < 3; ++i)
      if (!keep[i]) p.CloseOutput(StateOutputs[i]);
    p.FRequest = TPeripherals::TFileRequest{};
    for (int i = 0; i < 2; ++i) {
      const TReaderState& r = s.Readers[std::size_t(i)];
      const TPeriphDevice dev = StateReaders[i];
      TMachineError error;
      if (r.Attached) {
        if (std::unique_ptr<TInputStream> f = OpenReader(r, error)) {
          (dev == pdTtr ? p.TtrText : p.PtrText) = r.Text;
          (dev == pdTtr ? p.TtrFile : p.PtrFile) = std::move(f);
        } else {
          problems.push_back({dev, error});
        }
      }
      for (const TQueuedTapeState& q : r.Queue) {
        TReaderState head;
        head.Path = q.Path;
        if (std::unique_ptr<TInputStream> f = OpenReader(head, error))
          p.FQueues[std::size_t(i)].push_back({std::move(f), q.Text});
        else
          problems.push_back({dev, error});
      }
    }
    for (int i = 0; i < 3; ++i) {
      const TOutputState& o = s.Outputs[std::size_t(i)];
      TMachineError error;
      if (!keep[i] && o.Attached && !OpenOutput(p, StateOutputs[i], o, error))
        problems.push_back({StateOutputs[i], error});
    }
    p.TtyPunch = s.TtyPunch;
    p.LptDeclined = s.LptDeclined;
    if (!keep[2]) p.LptLine = s.LptLine;
    p.FLastTtoOutputAt = s.LastTtoOutputAt;

    for (TPeriphDevice dev : {pdTtr, pdTtp, pdPtr, pdPtp, pdLpt}) p.FHost->AttachmentChanged(dev);
    for (TPeriphDevice dev : StateReaders)
      if (const TInputStream* f = p.InputFile(dev))
        p.FHost->PositionChanged(dev, f->Position(), f->RunOut() ? -1 : p.InputDevice(dev).InputByte());
    for (TPeriphDevice dev : StateOutputs)
      if (const TReplacingFile* f = p.OutputFile(dev); f && f->IsOpen()) p.FHost->PositionChanged(dev, f->Position(), 0);
  }
};

TMachineState CaptureState(const TNovaMachine& Machine, const TPeripherals& Peripherals) {
  TMachineState state;
  TStateAccess::Capture(Machine, Peripherals, state);
  return state;
}

bool RestoreState(const TMachineState& State, TNovaMachine& Machine, TPeripherals& Peripherals,
                  std::vector<TAttachProblem>& Problems) {
  if (Machine.Executing()) return false;
  TStateAccess::RestoreMachine(State, Machine);
  TStateAccess::RestorePeripherals(State, Peripherals, Problems, false);
  return true;
}

bool PutBackState(const TMachineState& State, TNovaMachine& Machine, TPeripherals& Peripherals,
                  std::vector<TAttachProblem>& Problems) {
  if (Machine.Executing()) return false;
  TStateAccess::RestoreMachine(State, Machine);
  TStateAccess::RestorePeripherals(State, Peripherals, Problems, true);
  return true;
}

TStopReason TNovaMachine::ResumeRun() {
  if (FInExec) return srRefused;
  FLeft = InstructionLimit ? InstructionLimit : ~std::uint64_t(0);
  return Run(true);
}
