// TRunControl: the window's run commands beside the controller: Run, Step, Step over, Step out,
// Run to here, Stop, Reset, Program load, the front panel's command switches and "Show each program step". Each
// goes to the core's operation (PanelCommand with the front panel's lamps, StepOver,
// RequestStop); a device that ended the run for a file is answered once the run has returned
// (the file dialog of the device tabs, through the controller) and the run goes on. After every
// run or step RunEnded tells the window, which shows the stop reason and the run state.
//
// A typing under way ends with Stop and Reset; the Reset button (not the front panel's RESET)
// also empties the console. Reset and Program load can be undone (the controller's RecordUndo;
// the Reset button's undo brings the console's text back).
//
// Going back in time (the machine's history): Reverse step, Reverse run, and a journey to a moment
// (a trace record, just after a word's last write). Each tells WentBack; the views follow the
// machine's notifications as after a step.
#pragma once
#include <QObject>

#include "NovaMachine.h"
#include "PanelCommands.h"

class TMachineController;
class TNovaFrontpanel;
class TTeletypePanel;

class TRunControl : public QObject {
  Q_OBJECT
public:
  TRunControl(TMachineController& controller, TTeletypePanel& teletype, QObject* parent = nullptr);

  // The front panel whose ADDRESS and DATA lamps the panel commands read and set (none: the
  // commands start from zero lamps).
  void SetFrontPanel(TNovaFrontpanel* panel) { FPanel = panel; }

  void Run();       // CONTINUE
  void Step();      // INST STEP
  void StepOver();
  // Runs until the current subroutine returns (TNovaMachine::StepOut).
  void StepOut();
  // "Run to here": a run that stops at the address (TNovaMachine::RunTo).
  void RunTo(TWord addr);
  void Stop();
  // Goes on with a run that was cut short as if it had never ended (TNovaMachine::ResumeRun):
  // the resumed session's run.
  void Resume();
  void Reset();
  // PROG LOAD with these switches.
  void ProgramLoad(std::uint16_t switches);
  void ShowEachStep(bool on);

  // One instruction back (TNovaMachine::ReverseStep); false when nothing was done.
  bool ReverseStep();
  // Back to the last stop a run would have made, or the start of the history (srNone); srRefused
  // when nothing was done (TNovaMachine::ReverseRun).
  TStopReason ReverseRun();
  // To the moment Count (ExecutedCount) within the history; false when it is outside.
  bool TravelTo(std::uint64_t Count);
  // To just before the instruction of a trace record; false when the history does not reach it.
  bool TravelToTrace(int Index);
  // Whether there is history to go back into now (and no run under way).
  bool MayGoBack() const;
  // A command switch of the front panel. Unlike the Reset button, its RESET leaves the console.
  void PanelSwitch(TNovaCommands Command);
  // A front panel command with the panel's lamps; the views follow the machine's notifications.
  TStopReason PanelCommand(TNovaCommands Command);

  // Whether a run may start now: not while one runs, nor once the window is closing.
  bool MayStart() const;
  // The window is to close: a run under way is asked to stop, no run starts any more, and a
  // file chosen for a device after the run does not continue it.
  void Close();
  bool Closing() const { return FClosing; }
  // The window has shut down: a file dialog open at that moment gets no answer.
  void ShutDown() { FShutDown = true; }

signals:
  // A run command other than a step is about to start.
  void RunStarts();
  // A run or step has returned (srRefused: it was not started by the core).
  void RunEnded(int reason);
  // A journey in time has arrived (ReverseRun: the stop it found, srNone at the start of the
  // history; the other journeys srNone).
  void WentBack(int reason);

private:
  // START, CONTINUE, INST STEP, PROG LOAD: the command, the file requests answered.
  void RunCommand(TNovaCommands Command);
  // A device that needed a file ended the run: the file dialog, the answer, and the run goes on
  // (Continues) with a file or as the device does without one. Returns the last stop reason.
  TStopReason AnswerFileRequests(TStopReason reason, bool Continues);
  void Ended(TStopReason reason);
  void Arrived(TStopReason reason);

  TMachineController& FController;
  TTeletypePanel& FTeletype;
  TNovaFrontpanel* FPanel = nullptr;
  bool FClosing = false;
  bool FShutDown = false;
};
