// What the machine core tells the program around it (the main window, corvane-cli, tests).
// Every change of the machine's state is told here, named for what changed, whoever made it: the
// running program (at the end of a run or step, or at each event pump of a run) or an operation
// of the core called by a window, the command line or a test (at once). A view listens and
// decides itself what to repaint. Every function has an empty default; a machine without a host
// works.
#pragma once

class TMachineHost {
public:
  virtual ~TMachineHost() = default;

  // Processes pending window events (key presses, buttons, timers). Called during a run once per
  // time slice (about a millisecond), or after every instruction while "Show each program step"
  // is on. Anything may happen here, a stop or a reset included; it must not block.
  virtual void PumpEvents() {}

  // PC, carry, the accumulators or the interrupt flags changed (after a step, a stop, a reset, a
  // load, an edit; after every instruction while "Show each program step" is on).
  virtual void RegistersChanged() {}
  // The data switches changed.
  virtual void SwitchesChanged() {}
  // A run or step started or ended: Executing() and Running() tell which. Also told when
  // "Show each program step" is switched (how a run is shown changes).
  virtual void RunStateChanged() {}
  // The machine started (true) or stopped (false) running.
  virtual void RunningChanged(bool /*on*/) {}

  // Count words from First were written by an operation (an edit, a deposit, a program load).
  // First + Count never passes the end of memory.
  virtual void WordsChanged(int /*First*/, int /*Count*/) {}
  // Memory contents changed as a whole (a run or step ended, a dump was loaded, memory was
  // cleared).
  virtual void MemoryChanged() {}
  // MemSize changed (the memory size was set, or a bigger dump was loaded).
  virtual void MemSizeChanged(int /*size*/) {}

  // New entry counts of the debug lists (an entry's contents may have changed as well: a watch's
  // alert, a value taken over). During a run the trace and watch counts are reported at each
  // event pump and at the end of the run, never per instruction.
  virtual void TraceChanged(int /*count*/) {}
  virtual void WatchesChanged(int /*count*/) {}
  virtual void BreakpointsChanged(int /*count*/) {}

  // The machine went back to before output it had printed or punched: that output stays.
  virtual void OutputStays() {}
  // Evaluation mode: the effective address of the evaluated word for the "ADR:" field, -1 = none.
  virtual void ReportEffAddr(int /*addr*/) {}
};
