#include "RunControl.h"

#include "Console.h"
#include "MachineController.h"
#include "NovaFrontpanel.h"
#include "TeletypePanel.h"

TRunControl::TRunControl(TMachineController& controller, TTeletypePanel& teletype, QObject* parent)
    : QObject(parent), FController(controller), FTeletype(teletype) {}

bool TRunControl::MayStart() const { return !FController.Machine().Executing() && !FShutDown && !FClosing; }

void TRunControl::Close() {
  FClosing = true;
  FController.Machine().RequestStop();
}

TStopReason TRunControl::PanelCommand(TNovaCommands Command) {
  TPanelLamps lamps;
  if (FPanel) lamps.Address = FPanel->Address();
  const TStopReason reason = FController.Machine().PanelCommand(Command, lamps);
  if (FPanel && FPanel->isVisible()) {
    FPanel->SetAddress(lamps.Address);
    FPanel->SetData(lamps.Data);
  }
  return reason;
}

TStopReason TRunControl::AnswerFileRequests(TStopReason reason, bool continues) {
  TPeripherals& p = FController.Peripherals();
  while (reason == srFileNeeded && p.FileRequested()) {
    // The dialog shows the console as it is now.
    FController.SelectFile(p.RequestedDevice());
    if (FShutDown) break;  // a termination signal came while the dialog was open
    if (!p.AnswerFileRequest() || !continues || FClosing) return FController.Machine().LastStopReason();
    reason = FController.Machine().ContinueRun();
  }
  return reason;
}

void TRunControl::Ended(TStopReason reason) {
  FController.FlushConsole();
  // A step may have taken the key handed last.
  FTeletype.KeyQueuePump();
  FTeletype.UpdateReaderSwitches();
  emit RunEnded(reason);
}

void TRunControl::RunCommand(TNovaCommands Command) {
  if (!MayStart()) return;
  if (Command != ncInstStep) {
    FController.Peripherals().SetLptDeclined(false);
    emit RunStarts();
  }
  Ended(AnswerFileRequests(PanelCommand(Command), Command != ncInstStep));
}

void TRunControl::Run() { RunCommand(ncCont); }

void TRunControl::Step() { RunCommand(ncInstStep); }

void TRunControl::StepOver() {
  if (!MayStart()) return;
  FController.Peripherals().SetLptDeclined(false);
  Ended(AnswerFileRequests(FController.Machine().StepOver(), true));
}

void TRunControl::StepOut() {
  if (!MayStart()) return;
  FController.Peripherals().SetLptDeclined(false);
  Ended(AnswerFileRequests(FController.Machine().StepOut(), true));
}

void TRunControl::RunTo(TWord addr) {
  if (!MayStart()) return;
  FController.Peripherals().SetLptDeclined(false);
  emit RunStarts();
  Ended(AnswerFileRequests(FController.Machine().RunTo(addr), true));
}

void TRunControl::Resume() {
  if (!MayStart()) return;
  FController.Peripherals().SetLptDeclined(false);
  emit RunStarts();
  Ended(AnswerFileRequests(FController.Machine().ResumeRun(), true));
}

void TRunControl::Stop() {
  FTeletype.EndTyping();
  PanelCommand(ncStop);
}

void TRunControl::Reset() {
  FTeletype.EndTyping();
  // Undo brings back the console's text as well.
  FController.FlushConsole();
  if (!FController.Machine().Executing())
    FController.RecordUndo(ucReset, [console = FTeletype.mmTTO, text = FTeletype.mmTTO->toPlainText()] {
      console->SetPlainText(text);
    });
  PanelCommand(ncReset);
  // The Reset button (not the front panel's RESET) empties the console as well.
  FController.FlushConsole();
  FTeletype.mmTTO->clear();
}

void TRunControl::ProgramLoad(std::uint16_t switches) {
  if (!MayStart()) return;
  FController.RecordUndo(ucProgramLoad);
  FController.Machine().SetSwitches(switches);
  RunCommand(ncProgLoad);
}

void TRunControl::ShowEachStep(bool on) { FController.Machine().SetShowEachStep(on); }

void TRunControl::PanelSwitch(TNovaCommands Command) {
  switch (Command) {
    case ncStop: Stop(); break;
    case ncStart:
    case ncCont:
    case ncInstStep: RunCommand(Command); break;
    case ncProgLoad:
      if (MayStart()) FController.RecordUndo(ucProgramLoad);
      RunCommand(Command);
      break;
    default:
      if (Command == ncReset && !FController.Machine().Executing()) FController.RecordUndo(ucReset);
      PanelCommand(Command);
      break;
  }
}

bool TRunControl::MayGoBack() const {
  const TNovaMachine& m = FController.Machine();
  return MayStart() && m.HistorySize() > 0 && m.ExecutedCount() > m.HistoryStart();
}

bool TRunControl::ReverseStep() {
  if (!MayGoBack()) return false;
  FTeletype.EndTyping();
  if (!FController.Machine().ReverseStep()) return false;
  Arrived(srNone);
  return true;
}

TStopReason TRunControl::ReverseRun() {
  if (!MayGoBack()) return srRefused;
  FTeletype.EndTyping();
  const TStopReason reason = FController.Machine().ReverseRun();
  if (reason != srRefused) Arrived(reason);
  return reason;
}

bool TRunControl::TravelTo(std::uint64_t Count) {
  if (!MayStart()) return false;
  FTeletype.EndTyping();
  if (!FController.Machine().TravelTo(Count)) return false;
  Arrived(srNone);
  return true;
}

bool TRunControl::TravelToTrace(int Index) {
  if (!MayStart()) return false;
  FTeletype.EndTyping();
  if (!FController.Machine().TravelToTrace(Index)) return false;
  Arrived(srNone);
  return true;
}

void TRunControl::Arrived(TStopReason reason) {
  FController.FlushConsole();
  FTeletype.UpdateReaderSwitches();
  emit WentBack(reason);
}
