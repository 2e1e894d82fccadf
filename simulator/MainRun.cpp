// TMainForm: run control (Run, Step, Step over, Stop, Reset, Program load, "Show each program
// step"), the file requests answered after a run, and closing during a run.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "DeviceTabs.h"
#include "InpValue.h"
#include "MachineController.h"
#include "CloseSignals.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "NumberEd.h"
#include "QtText.h"
#include "ScreenPlacement.h"
#include "TeletypePanel.h"
#include "Translate.h"

QTimer& TMainForm::ClockTimer() { return FController->ClockTimer(); }

bool TMainForm::MayStart() const { return !FMachine->Executing() && !FShutDownDone && !FCloseWanted; }

void TMainForm::AfterRun(TStopReason reason) {
  FController->FlushConsole();
  // A step may have taken the key handed last.
  gbTTY->KeyQueuePump();
  FRangeReported = false;
  gbTTY->UpdateReaderSwitches();
  if (reason != srRefused) {
    FShownStop = reason;
    ShowStopReason();
  }
  ShowRunState();
  // A close asked for during the run happens now, from the top level.
  if (FCloseWanted && !FMachine->Executing()) QTimer::singleShot(0, this, [this] { close(); });
}

void TMainForm::ShowStopReason() {
  if (FMachine->Running()) {
    // While running the line says so; the measured speed stands beside it.
    lbStatus->setText(QtText("Running"));
    return;
  }
  if (FShownStop < 0) return;
  QString text = ToQString(StopReasonText(TStopReason(FShownStop)));
  const std::string& detail = FMachine->LastStopDetail();
  if (!detail.empty()) text += QStringLiteral(": ") + ToQString(detail).replace(QStringLiteral("\r\n"), " ");
  lbStatus->setText(text);
}

TStopReason TMainForm::AnswerFileRequests(TStopReason reason, bool continues) {
  while (reason == srFileNeeded && FPeripherals->FileRequested()) {
    // The dialog shows the console as it is now.
    FController->FlushConsole();
    pcDevices->SelectFile(FPeripherals->RequestedDevice());
    if (FShutDownDone) break;  // a termination signal came while the dialog was open
    if (!FPeripherals->AnswerFileRequest() || !continues || FCloseWanted) return FMachine->LastStopReason();
    reason = FMachine->ContinueRun();
  }
  return reason;
}

void TMainForm::btRunClick() { RunCommand(ncCont); }

void TMainForm::btStepClick() { RunCommand(ncInstStep); }

void TMainForm::btStepOverClick() {
  if (!MayStart()) return;
  FPeripherals->SetLptDeclined(false);
  AfterRun(AnswerFileRequests(FMachine->StepOver(), true));
}

void TMainForm::btStopClick() {
  gbTTY->EndTyping();
  PanelCommand(ncStop);
}

void TMainForm::btResetClick() {
  gbTTY->EndTyping();
  PanelCommand(ncReset);
  // The Reset button (not the front panel's RESET) empties the console as well.
  FController->FlushConsole();
  gbTTY->mmTTO->clear();
}

void TMainForm::btPrgLoadClick() {
  if (!MayStart()) return;
  std::uint16_t v = FMachine->Switches;
  if (!ValueDialog().Execute(BelowLeft(edSwitches), QtText("Front panel switches:"), FNumFormat, v)) return;
  if (ValueDialog().ValueEdit()->CheckError()) return;
  FMachine->SetSwitches(v);
  RunCommand(ncProgLoad);
}

void TMainForm::btShowStepsClick(bool down) { FMachine->SetShowEachStep(down); }

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edSwitches && event->type() == QEvent::MouseButtonRelease) RegisterFieldClick(edSwitches);
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (FMachine->Executing()) {
    // Stop the run first; the window closes once the run has returned to the event loop.
    FCloseWanted = true;
    FMachine->RequestStop();
    event->ignore();
    return;
  }
  Shutdown(!TerminationSignalled());
  QMainWindow::closeEvent(event);
}
