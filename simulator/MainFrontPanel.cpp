// TMainForm: the front panel. Its data switches set the switch register; its command switches
// act on the machine through the run control (FrontPanelCommand); the lamps show what
// PushFrontPanel hands over after each stop, step and change, and the RUN lamp blinks with the
// view timer while the machine runs.
#include <QAction>

#include "MachineController.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "NumberEd.h"
#include "RegisterPanel.h"

TNovaFrontpanel& TMainForm::FrontPanel() {
  if (!FFrontPanel) {
    FFrontPanel = std::make_unique<TNovaFrontpanel>(this);
    FFrontPanel->OnClosed = [this] { itmFrontPanel->setChecked(false); };
    SetUpLiveLamps(*FFrontPanel);
    connect(FController, &TMachineController::OnRunningChanged, FFrontPanel.get(), [this](bool on) {
      if (FFrontPanel->isVisible()) FFrontPanel->SetRun(on);
    });
  }
  return *FFrontPanel;
}

void TMainForm::PushFrontPanel() {
  if (!FFrontPanel || !FFrontPanel->isVisible()) return;
  const TNovaMachine& m = *FMachine;
  TNovaFrontpanel& p = *FFrontPanel;
  p.SetRun(m.Running());
  p.SetAddress(m.PC);
  p.SetCarry(m.Carry != 0);
  p.SetData(m.ReadMemory(m.PC));
  p.SetSwitches(m.Switches);
}

void TMainForm::SetSwitches(std::uint16_t value) { FMachine->SetSwitches(value); }

TStopReason TMainForm::PanelCommand(TNovaCommands Command) {
  TPanelLamps lamps;
  if (FFrontPanel) lamps.Address = FFrontPanel->Address();
  const TStopReason reason = FMachine->PanelCommand(Command, lamps);
  if (FFrontPanel && FFrontPanel->isVisible()) {
    FFrontPanel->SetAddress(lamps.Address);
    FFrontPanel->SetData(lamps.Data);
  }
  return reason;
}

void TMainForm::RunCommand(TNovaCommands Command) {
  if (!MayStart()) return;
  if (Command != ncInstStep) {
    FPeripherals->SetLptDeclined(false);
    FRangeReported = false;
  }
  AfterRun(AnswerFileRequests(PanelCommand(Command), Command != ncInstStep));
}

void TMainForm::FrontPanelCommand(QObject*, TNovaCommands Command) {
  FrontPanel();
  switch (Command) {
    case ncStop: btStopClick(); break;
    case ncStart:
    case ncCont:
    case ncInstStep:
    case ncProgLoad: RunCommand(Command); break;
    // Unlike the Reset button, the console stays as it is.
    default: PanelCommand(Command); break;
  }
}
