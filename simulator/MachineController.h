// TMachineController: the one object that hosts the machine core inside the window. It owns the
// machine and its peripherals for the whole run of the program, implements the core's host
// interfaces (machine, peripherals, clock timer) and turns their calls into Qt signals; the
// register panel, the memory grid, the console and the tool windows connect to those signals,
// change the machine only through its operations and never set themselves as the core's host.
//
// Teletype output is collected in a buffer and handed on when events are pumped (or, outside a
// run, from the event loop right after), never one widget call per character. Nothing here pumps
// events from inside an instruction.
#pragma once
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BreakCondition.h"
#include "Devices.h"
#include "MachineHost.h"
#include "MachineState.h"
#include "NovaMachine.h"
#include "NovaSymbols.h"
#include "Peripherals.h"

// The commands that replace the machine state at one stroke, which Undo takes back.
enum TUndoCommand : int { ucLoadDump, ucClearMemory, ucMemorySize, ucProgramLoad, ucLoadState, ucReset };

class TMachineController : public QObject, public TMachineHost, public TPeripheralHost, public TIntervalTimer {
  Q_OBJECT
public:
  explicit TMachineController(QObject* parent = nullptr);
  ~TMachineController() override;

  TNovaMachine& Machine() const { return *FMachine; }
  TPeripherals& Peripherals() const { return *FPeripherals; }

  // Answers a device that needs a file outside a run (a click that starts it, such as switching
  // the teletype reader on): the window's file dialogs; none: the device goes without. During a
  // run a device ends the run instead (AsksForFiles) and the window asks after it returned.
  std::function<bool(TPeriphDevice)> FileSelector;
  // Called at every event pump before the events run (the console flush comes first).
  std::function<void()> ProcessEvents;
  // Called at every event pump of a run, first (a typist types its next key here).
  std::function<void()> SliceEnded;

  // The effective address last reported for the "ADR:" field (-1: none).
  int EffAddr() const { return FEffAddr; }

  // Hands the buffered teletype output and printer lines to the windows now.
  void FlushConsole();
  // Printer lines kept between two flushes at most (the text area keeps no more either).
  static constexpr int MaxPendingLines = 5000;
  // During a run the windows get the output at most this often (a person reads no faster, and
  // the console's text area costs far more per call than per character).
  static constexpr std::chrono::milliseconds OutputInterval{25};
  // Teletype bytes kept between two flushes at most (the console keeps no more text either).
  static constexpr std::size_t MaxPendingBytes = 1 << 20;
  const std::string& PendingConsole() const { return FConsole; }

  // The clock timer (tmRtc); tests fire it with FireClock.
  QTimer& ClockTimer() { return FClock; }
  void FireClock();

  // The measured speed while running: every SpeedInterval the timer takes a sample, and
  // OnSpeedMeasured tells the instructions per second and, in a timed mode, the ratio of
  // simulated to wall-clock time. SampleSpeed takes one at a given steady-clock time (tests).
  static constexpr std::chrono::milliseconds SpeedInterval{500};
  QTimer& SpeedTimer() { return FSpeedTimer; }
  void SampleSpeed(std::int64_t NowNs);

  // ---- the program's symbols, shared by the views (grid, trace, watches, breakpoints, hints)
  const TSymbolTable& Symbols() const { return FSymbols; }
  void SetSymbols(TSymbolTable symbols);  // OnSymbolsChanged
  void ClearSymbols();                    // OnSymbolsChanged when there were any
  // "Labels off" hides them in the views; typed labels are still understood.
  bool LabelsShown() const { return FLabelsShown; }
  void SetLabelsShown(bool on);  // OnSymbolsChanged
  // The table the views hand to the disassembler: nullptr when labels are off or there are none.
  const TSymbolTable* ShownSymbols() const { return FLabelsShown && !FSymbols.Empty() ? &FSymbols : nullptr; }
  // The label of a place (a label, not an equate) as the views show it; empty when none or off.
  QString LabelOf(int addr) const;
  // The disassembly of a word at an address as every view shows it: the place's label in front
  // ("LOOP:  JMP     LEADR") and operands by name, while labels are shown. Address -1: unknown.
  QString CommandText(int addr, std::uint16_t word, TNumMode mode) const;
  // Typed text to an address (a number in the base Mode, or a label, either with +N or -N):
  // what Goto address and the add dialogs use. False with the message to show in Error.
  bool AddressFromText(const QString& text, TNumMode mode, int& addr, QString& error) const;
  // The labels for breakpoint conditions (TNovaMachine::SetBreakpoint's Symbols).
  const TSymbolLookup* SymbolLookup() const { return &FLookup; }

  // ---- undo (ControllerUndo.cpp). Before such a command the whole machine state and the
  // symbols are kept (at most MaxUndo records, the oldest going first); Undo puts the newest
  // back (PutBackState: output made stays made) and the views follow the notifications.
  // WindowPart puts back what the window keeps of it (the dump's name in the caption).
  static constexpr std::size_t MaxUndo = 10;
  void RecordUndo(TUndoCommand Command, std::function<void()> WindowPart = {});  // OnUndoChanged
  void DropUndo();  // the command just recorded was refused
  void ClearUndo();
  bool CanUndo() const { return !FUndo.empty(); }
  TUndoCommand UndoCommand() const { return FUndo.back().Command; }  // the one Undo takes back
  // False when there is nothing to undo or the machine is executing; a file that cannot be
  // attached again is reported (OnErrorReported).
  bool Undo();
  // The state file loaded (LoadMachineState), to be undone with Undo.
  bool LoadState(const std::string& Name, TMachineError& Error, std::vector<TAttachProblem>& Problems);

  // ---- TMachineHost
  void PumpEvents() override;
  // After every stop, step or load: what the punches and the printer wrote goes to their files.
  void RegistersChanged() override {
    FPeripherals->FlushOutputs();
    emit OnRegistersChanged();
  }
  void SwitchesChanged() override { emit OnSwitchesChanged(); }
  void RunStateChanged() override { emit OnRunStateChanged(); }
  void WordsChanged(int first, int count) override { emit OnWordsChanged(first, count); }
  void MemoryChanged() override { emit OnMemoryChanged(); }
  void RunningChanged(bool on) override;
  void TraceChanged(int count) override { emit OnTraceCountChanged(count); }
  void WatchesChanged(int count) override { emit OnWatchCountChanged(count); }
  void BreakpointsChanged(int count) override { emit OnBreakpointCountChanged(count); }
  void ReportEffAddr(int addr) override { FEffAddr = addr; }
  void MemSizeChanged(int size) override { emit OnMemorySizeChanged(size); }
  void OutputStays() override { emit OnOutputStays(); }

  // ---- TPeripheralHost. A device that needs a file ends the run (srFileNeeded); the window
  // asks once the run has returned.
  bool AsksForFiles() const override { return true; }
  bool SelectFile(TPeriphDevice dev) override;
  void TeletypeOut(std::uint8_t b) override;
  void PrinterLine(const std::string& line) override;
  void PrinterClear() override;
  void PositionChanged(TPeriphDevice dev, std::int64_t pos, int byte) override {
    emit OnDevicePositionChanged(dev, qint64(pos), byte);
  }
  void AttachmentChanged(TPeriphDevice dev) override { emit OnDeviceAttachmentChanged(dev); }
  void ReportFailure(const TMachineError& error) override {
    emit OnErrorReported(QString::fromStdString(ErrorText(error)));
  }
  void OptionsChanged() override { emit OnPeripheralOptionsChanged(); }

  // ---- TIntervalTimer
  void SetInterval(int ms) override { FClock.setInterval(ms); }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return FClock.isActive(); }

signals:
  void OnRegistersChanged();
  void OnSwitchesChanged();
  void OnRunStateChanged();
  // Count words from First were written by an operation (an edit, a deposit).
  void OnWordsChanged(int first, int count);
  void OnMemoryChanged();  // memory contents as a whole
  void OnRunningChanged(bool on);
  void OnTraceCountChanged(int count);
  void OnWatchCountChanged(int count);
  void OnBreakpointCountChanged(int count);
  void OnMemorySizeChanged(int size);
  // A journey back in time went back over output that was printed, punched or written: it stays.
  void OnOutputStays();
  // Teletype output bytes (7 bits) since the last flush, in order.
  void OnConsoleOutput(const QByteArray& bytes);
  // Finished printer lines since the last flush (after a clear when Cleared is set).
  void OnPrinterLines(const QStringList& lines, bool cleared);
  void OnDevicePositionChanged(int dev, qint64 pos, int byte);
  void OnDeviceAttachmentChanged(int dev);
  // A reader's text choice, the punch switch, the text file types or the printer's refusal.
  void OnPeripheralOptionsChanged();
  void OnErrorReported(const QString& text);
  // Instructions per second, and simulated seconds per second (negative at maximum speed).
  void OnSpeedMeasured(double ips, double ratio);
  // The symbols or the labels switch changed: the views show their texts again.
  void OnSymbolsChanged();
  // A command was recorded for Undo, or undone.
  void OnUndoChanged();

private:
  // The peripherals go before the machine they are bound to.
  std::unique_ptr<TNovaMachine> FMachine;
  std::unique_ptr<TPeripherals> FPeripherals;
  std::string FConsole;
  QStringList FPrinter;
  bool FPrinterCleared = false;
  QTimer FConsoleFlush;
  std::chrono::steady_clock::time_point FLastFlush{};
  QTimer FClock;
  QTimer FSpeedTimer;
  struct TSpeedSample {
    std::int64_t Wall = -1;  // -1: none yet
    std::uint64_t Executed = 0;
    std::uint64_t Sim = 0;
  } FSpeedBase;
  int FEffAddr = -1;
  TSymbolTable FSymbols;
  bool FLabelsShown = true;
  TSymbolLookup FLookup;
  struct TUndoRecord {
    TUndoCommand Command;
    TMachineState State;
    TSymbolTable Symbols;
    std::function<void()> WindowPart;
  };
  std::deque<TUndoRecord> FUndo;  // oldest first
};
