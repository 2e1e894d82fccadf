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
#include "RunControl.h"

TNovaFrontpanel& TMainForm::FrontPanel() {
  if (!FFrontPanel) {
    FFrontPanel = std::make_unique<TNovaFrontpanel>(this);
    FFrontPanel->OnClosed = [this] { itmFrontPanel->setChecked(false); };
    SetUpLiveLamps(*FFrontPanel);
    FRun->SetFrontPanel(FFrontPanel.get());
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

void TMainForm::FrontPanelCommand(QObject*, TNovaCommands Command) {
  FrontPanel();
  FRun->PanelSwitch(Command);
}
