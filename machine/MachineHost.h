// What the machine core tells the program around it (the main window, corvane-cli, tests).
// Every function has an empty default; a machine without a host works.
#pragma once

class TMachineHost {
public:
  virtual ~TMachineHost() = default;

  // Processes pending window events (key presses, buttons, timers). Called during a run once per
  // time slice (about a millisecond), or after every instruction while "Show each program step"
  // is on. Anything may happen here, a stop or a reset included; it must not block.
  virtual void PumpEvents() {}

  // The registers changed (after a step, a stop, a reset, a load; after every instruction while
  // "Show each program step" is on).
  virtual void RegistersChanged() {}
  // A run or step started or ended: Executing() and FRun tell which.
  virtual void RunStateChanged() {}
  // Memory contents changed as a whole (a run ended, a dump was loaded, memory was cleared).
  virtual void MemoryChanged() {}
  // The machine started (true) or stopped (false) running.
  virtual void RunningChanged(bool /*on*/) {}

  // New entry counts of the debug lists. During a run the trace and watch counts are reported at
  // each event pump and at the end of the run, never per instruction.
  virtual void TraceChanged(int /*count*/) {}
  virtual void WatchesChanged(int /*count*/) {}
  virtual void BreakpointsChanged(int /*count*/) {}

  // Evaluation mode: the effective address of the evaluated word for the "ADR:" field, -1 = none.
  virtual void ReportEffAddr(int /*addr*/) {}

  // MemSize was raised by loading a dump.
  virtual void MemSizeChanged(int /*size*/) {}
};
