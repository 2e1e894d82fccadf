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

void TMainForm::SetSwitches(std::uint16_t value) {
  FMachine->Switches = value;
  edSwitches->SetValue(value);
}

void TMainForm::FrontPanelCommand(QObject*, TNovaCommands Command) {
  TNovaMachine& m = *FMachine;
  TNovaFrontpanel& p = FrontPanel();
  switch (Command) {
    case ncDepAc0:
    case ncDepAc1:
    case ncDepAc2:
    case ncDepAc3: {
      const int n = (Command - ncDepAc0) / 2;
      m.AC[n] = p.Switches();
      gbRegister->edAC[n]->SetValue(m.AC[n]);
      p.SetData(m.AC[n]);
      break;
    }
    case ncExAc0:
    case ncExAc1:
    case ncExAc2:
    case ncExAc3: p.SetData(m.AC[(Command - ncExAc0) / 2]); break;
    case ncReset:
      // Unlike the Reset button, the console stays as it is.
      m.ResetCpu();
      UpdateReaderSwitches();
      ShowRegisters();
      break;
    case ncStop: btStopClick(); break;
    case ncStart:
      if (!MayStart()) return;
      m.PC = TWord(p.Switches() & 077777);
      gbRegister->edPC->SetValue(m.PC);
      btRunClick();
      break;
    case ncCont: btRunClick(); break;
    case ncDepNext:
    case ncDep: {
      if (Command == ncDepNext) p.SetAddress(std::uint16_t((p.Address() + 1) & 077777));
      const TWord a = p.Address();
      m.Memory[a].Data = p.Switches();
      p.SetData(m.Memory[a].Data);
      FillMemoryView();
      // As an edit of that cell in the grid: the register panel follows the word at PC.
      if (a == m.PC) ShowRegisters();
      break;
    }
    case ncEx: p.SetAddress(std::uint16_t(p.Switches() & 077777)); p.SetData(m.ReadMemory(p.Address())); break;
    case ncExNext:
      p.SetAddress(std::uint16_t((p.Address() + 1) & 077777));
      p.SetData(m.ReadMemory(p.Address()));
      break;
    case ncMemStep: break;
    case ncInstStep: btStepClick(); break;
    case ncProgLoad:
      if (!MayStart()) return;
      LptDeclined = false;
      FRangeReported = false;
      AfterRun(m.ProgramLoad());
      break;
  }
}
