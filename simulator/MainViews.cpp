// TMainForm: what the window does for its panels: the number base they all show, everything
// shown again, the run state of the buttons and the view timer, the address question of the
// navigator and the one error box.
#include <iostream>

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QToolButton>

#include "DeviceTabs.h"
#include "DumpActions.h"
#include "DialogService.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryPanel.h"
#include "MessageBoxes.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RangeText.h"
#include "RegisterPanel.h"
#include "ScreenPlacement.h"
#include "SwitchesPanel.h"

QPoint TMainForm::Below(QWidget* w) const { return BelowLeft(w); }

void TMainForm::ErrorBox(const QString& text, QPoint at) {
  if (FShutdownErrors) {
    FShutdownErrors->append(text);
    return;
  }
  if (FShutDownDone) {
    // After a shutdown without a user nobody would answer the box.
    std::cerr << "corvane: " << QString(text).replace("\r\n", " ").toStdString() << std::endl;
    return;
  }
  ErrorMsg(text, at, QString(), this);
}

bool TMainForm::AskAddress(QPoint at, const QString& desc, TNumMode mode, int initial, int& addr) {
  if (!FController->Symbols().Empty()) {
    QString text = ToQString(FormatWord(initial, mode)).trimmed();
    if (!InputString(at, QtText("Address"), desc, text, this)) return false;
    QString error;
    if (FController->AddressFromText(text, mode, addr, error)) return true;
    ErrorBox(error, at);
    return false;
  }
  std::uint16_t v = std::uint16_t(initial);
  if (!ValueDialog().Execute(at, desc, mode, v)) return false;
  if (ValueDialog().ValueEdit()->CheckError()) return false;  // the warning sound was played
  if (v > 077777) {
    ErrorBox(AddressOutOfRangeText(077777, mode), at);
    return false;
  }
  addr = v;
  return true;
}

void TMainForm::ShowRegisters() {
  gbRegister->ShowRegisters();
  gbMemory->FollowPC();
  gbSwitches->ShowSwitches();
  PushFrontPanel();
}

void TMainForm::ApplyNumFormat() {
  gbRegister->SetNumFormat(FNumFormat);
  gbSwitches->SetNumFormat(FNumFormat);
  pcDevices->SetNumFormat(FNumFormat);
  gbMemory->SetNumFormat(FNumFormat);
  FDumps->SetNumFormat(FNumFormat);
}

void TMainForm::SetNumFormat(TNumMode mode) {
  FNumFormat = mode == nmDecimal ? nmZeroDec : mode;
  if (QAbstractButton* b = FNumGroup->button(FNumFormat)) b->setChecked(true);
  ApplyNumFormat();
  ShowRegisters();
}

void TMainForm::ShowRunState() {
  const bool run = FMachine->Running();
  if (run)
    FViewTimer.start();
  else
    FViewTimer.stop();
  const bool executing = FMachine->Executing();
  btStop->setEnabled(executing);
  itmStop->setEnabled(true);
}

void TMainForm::tmViewTimer() {
  // The RUN lamp blinks while the machine runs.
  if (FFrontPanel && FFrontPanel->isVisible()) FFrontPanel->SetRun(!FFrontPanel->Run());
  ShowLiveLamps();
}

void TMainForm::ShowAddress(int Addr) { gbMemory->ShowAddress(Addr); }
