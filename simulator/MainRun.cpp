// TMainForm: what the window does around a run (TRunControl runs it): the stop reason to the
// status line, the run state, Program load's switches dialog, and closing during a run.
#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

#include "CloseSignals.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryPanel.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RunControl.h"
#include "ScreenPlacement.h"
#include "StatusLine.h"
#include "SwitchesPanel.h"
#include "Translate.h"

QTimer& TMainForm::ClockTimer() { return FController->ClockTimer(); }

void TMainForm::ConnectRunControl() {
  connect(FRun, &TRunControl::RunStarts, gbMemory, &TMemoryPanel::ReportRangeAgain);
  connect(FRun, &TRunControl::RunEnded, this, [this](int reason) { AfterRun(TStopReason(reason)); });
}

void TMainForm::AfterRun(TStopReason reason) {
  gbMemory->ReportRangeAgain();
  FStatus->ShowStop(reason);
  ShowRunState();
  // A close asked for during the run happens now, from the top level.
  if (FRun->Closing() && !FMachine->Executing()) QTimer::singleShot(0, this, [this] { close(); });
}

void TMainForm::btPrgLoadClick() {
  if (!FRun->MayStart()) return;
  std::uint16_t v = FMachine->Switches;
  if (!ValueDialog().Execute(BelowLeft(gbSwitches->edSwitches), QtText("Front panel switches:"), FNumFormat, v)) return;
  if (ValueDialog().ValueEdit()->CheckError()) return;
  FRun->ProgramLoad(v);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (FMachine->Executing()) {
    // Stop the run first; the window closes once the run has returned to the event loop.
    FRun->Close();
    event->ignore();
    return;
  }
  Shutdown(!TerminationSignalled());
  QMainWindow::closeEvent(event);
}
