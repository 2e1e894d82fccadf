// TMainForm: the register panel, the memory grid and their actions, the address history and the
// front panel switch field.
#include <iostream>

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QToolTip>

#include "DeviceTabs.h"
#include "DialogService.h"
#include "Indicators.h"
#include "InpCommand.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MainForm.h"
#include "MemoryModel.h"
#include "MessageBoxes.h"
#include "NovaUtils.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RegisterPanel.h"
#include "ScreenPlacement.h"
#include "SelectFromListDlg.h"
#include "Translate.h"

namespace {
// A memory reference word with page-zero or PC-relative addressing.
bool SeekableWord(TWord w) { return (w & 0160000) < 0060000 && (w & 0001000) == 0; }
}  // namespace

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

void TMainForm::ShowOutOfRange() {
  // Once per stop: a run with "Show each program step" would otherwise ask once per instruction.
  if (FRangeReported) return;
  FRangeReported = true;
  ErrorBox(QtText("Address out of range:\r\n0 .. ") + ToQString(FormatWord(FMachine->MemSize, FNumFormat)));
}

bool TMainForm::AskAddress(const QString& desc, int initial, int& addr) {
  std::uint16_t v = std::uint16_t(initial);
  if (!ValueDialog().Execute(MousePos(), desc, FNumFormat, v)) return false;
  if (ValueDialog().ValueEdit()->CheckError()) return false;  // the warning sound was played
  if (v > 077777) {
    ErrorBox(QtText("Address out of range:\r\n0 .. ") + ToQString(FormatWord(077777, FNumFormat)), MousePos());
    return false;
  }
  addr = v;
  return true;
}

void TMainForm::ShowRegisters() {
  TNovaMachine& m = *FMachine;
  gbRegister->siIntEn->SetIndicate(m.IntEnable);
  gbRegister->siIrq->SetIndicate(m.IrqFlag);
  const bool inside = m.PC < m.MemSize;
  if (!inside)
    ShowOutOfRange();
  else
    sgMemory->SelectRow(m.PC);
  // Keep a line of context below the selected row: once it reaches the last fully visible line
  // the grid scrolls so that it is the second row.
  const int sel = sgMemory->SelectedRow();
  if (sel > 1 && sel - sgMemory->TopRow() > sgMemory->VisibleRows() - 2) sgMemory->SetTopRow(sel - 1);
  const TWord word = m.ReadMemory(m.PC);
  gbRegister->edPC->SetValue(m.PC);
  gbRegister->edCmd->SetValue(word);
  gbRegister->edCommand->setText(ToQString(CommandToStr(m.PC & 077777, word, FNumFormat, false)));
  gbRegister->edCarry->SetValue(m.Carry);
  for (int i = 0; i < 4; ++i) gbRegister->edAC[i]->SetValue(m.AC[i]);
  const bool skip = m.EvaluateAtPC();
  const int adr = FController->EffAddr();
  if (adr >= 0)
    gbRegister->edAdr->SetValue(adr);
  else
    gbRegister->edAdr->clear();
  gbRegister->aiSkip->SetIndicate(skip);
  gbRegister->aiSkip->SetDirection(skip ? adDown : adRight);
  edSwitches->SetValue(m.Switches);
  gbRegister->siRun->SetIndicate(m.Running());
  PushFrontPanel();
  // A reset (the button, the panel, a dump load, the program's IORST) may have dropped keys.
  ShowKeysWaiting();
}

void TMainForm::FillMemoryView() { sgMemory->Model()->Fill(); }

void TMainForm::ApplyNumFormat() {
  for (TNumberEdit* e : {gbRegister->edPC, gbRegister->edCmd, gbRegister->edAdr, gbRegister->edAC[0],
                         gbRegister->edAC[1], gbRegister->edAC[2], gbRegister->edAC[3], pcDevices->Ptr.edByte,
                         pcDevices->Ptp.edByte}) {
    const bool empty = e->text().isEmpty();
    e->SetNumMode(FNumFormat);
    if (empty) e->clear();
  }
  if (sgMemory->Model()->NumFormat() != FNumFormat)
    sgMemory->Model()->SetNumFormat(FNumFormat);
  else
    FillMemoryView();
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
  const bool grey = run && !btShowSteps->isChecked();
  const QPalette::ColorRole role = grey ? QPalette::Button : QPalette::Base;
  for (QLineEdit* e : gbRegister->findChildren<QLineEdit*>()) {
    QPalette p = e->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(role));
    e->setPalette(p);
  }
  gbRegister->aiRun->SetAnimate(run);
  gbRegister->siRun->SetIndicate(run);
  const bool executing = FMachine->Executing();
  btStop->setEnabled(executing);
  itmStop->setEnabled(true);
  sgMemory->viewport()->update();
}

void TMainForm::tmViewTimer() {
  // The RUN lamp blinks while the machine runs.
  if (FFrontPanel && FFrontPanel->isVisible()) FFrontPanel->SetRun(!FFrontPanel->Run());
  ShowLiveLamps();
}

void TMainForm::ShowMemory(int Addr) {
  if (Addr < 0 || Addr >= FMachine->MemSize) return;
  sgMemory->SelectRow(Addr);
}

void TMainForm::InvalidateMemView() { sgMemory->viewport()->update(); }

void TMainForm::CenterMemoryRow(int row) {
  const int count = sgMemory->Model()->rowCount();
  if (count <= 0) return;
  row = std::clamp(row, 0, count - 1);
  sgMemory->SelectRow(row);
  const int v = sgMemory->VisibleRows();
  const int h = v / 2;
  int top;
  if (row < h)
    top = 0;
  else if (count - row < h)
    top = count - v;
  else
    top = row - h;
  sgMemory->SetTopRow(std::max(0, top));
  InvalidateMemView();
}

void TMainForm::PushAddress(int row) {
  if (MemStackPtr < 64 && MemStack[MemStackPtr] == row) return;
  if (MemStackPtr == 64) {
    std::move(MemStack.begin() + 1, MemStack.end(), MemStack.begin());
    MemStackPtr = 63;
  }
  MemStack[MemStackPtr] = row;
  ++MemStackPtr;
  MemStackCnt = MemStackPtr;
  btLast->setEnabled(MemStackPtr > 1);
  btNext->setEnabled(false);
}

void TMainForm::ClearHistory() {
  MemStack.fill(0);
  MemStackPtr = MemStackCnt = 0;
  btLast->setEnabled(false);
  btNext->setEnabled(false);
}

void TMainForm::btLastClick() {
  if (MemStackPtr > 0) {
    if (MemStackPtr >= MemStackCnt) --MemStackPtr;
    if (MemStackPtr > 0) --MemStackPtr;
    CenterMemoryRow(MemStack[MemStackPtr]);
  }
  btLast->setEnabled(MemStackPtr > 0);
  btNext->setEnabled(true);
}

void TMainForm::btNextClick() {
  if (MemStackPtr < MemStackCnt - 1) {
    ++MemStackPtr;
    CenterMemoryRow(MemStack[MemStackPtr]);
  }
  btNext->setEnabled(MemStackPtr < MemStackCnt - 1);
  btLast->setEnabled(MemStackPtr > 0);
}

void TMainForm::btmemUpClick() { CenterMemoryRow(sgMemory->SelectedRow() - int(edMemStep->Value() & 0xFFFF)); }

void TMainForm::btmemDownClick() { CenterMemoryRow(sgMemory->SelectedRow() + int(edMemStep->Value() & 0xFFFF)); }

void TMainForm::MemoryCellPressed(Qt::MouseButton button, int row, int column, QPoint globalPos, int rowBefore) {
  PushAddress(button == Qt::LeftButton ? row : std::max(rowBefore, 0));
  sgMemory->SelectRow(row);
  ContentsCol = column == TMemoryModel::colContents;
  itmSeekAddress->setEnabled(ContentsCol || SeekableWord(FMachine->ReadMemory(TWord(row))));
  if (button == Qt::RightButton) pmMemory->popup(globalPos + QPoint(0, sgMemory->RowHeight()));
}

void TMainForm::MemoryCellActivated(int row, int column) {
  if (row < 0 || row >= FMachine->MemSize) return;
  TNovaMachine& m = *FMachine;
  const QString rowText = ToQString(FormatWord(row, FNumFormat));
  if (column == TMemoryModel::colMark) {
    ToggleBreakpointClick();
  } else if (column == TMemoryModel::colContents) {
    std::uint16_t v = m.Memory[row].Data;
    if (ValueDialog().Execute(MousePos(), QSafeFormat(QtText("Memory cell %s - Value:"), rowText), FNumFormat, v) &&
        !ValueDialog().ValueEdit()->CheckError()) {
      m.Memory[row].Data = v;
      if (row == m.PC) ShowRegisters();
    }
  } else if (column == TMemoryModel::colCommand) {
    std::uint16_t v = m.Memory[row].Data;
    if (CommandDialog().Execute(MousePos(), QSafeFormat(QtText("Memory cell %s - Command:"), rowText), TWord(row),
                                FNumFormat, v)) {
      m.Memory[row].Data = v;
      if (row == m.PC) ShowRegisters();
    }
  }
  InvalidateMemView();
}

void TMainForm::SetPCClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine->PC = TWord(row);
  ShowRegisters();
  InvalidateMemView();
}

void TMainForm::SeekAddressClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  const TWord w = FMachine->ReadMemory(TWord(row));
  int target = -1;
  if (ContentsCol) {
    target = w & 077777;  // an address has 15 bits
    ContentsCol = false;
  } else if (SeekableWord(w)) {
    const int disp = w & 0377;
    target = (w & 0000400) ? (row + std::int8_t(disp)) & 077777 : disp;
  }
  if (target < 0) return;
  if (target >= FMachine->MemSize) {
    ErrorBox(QtText("Address out of range:\r\n0 .. ") + ToQString(FormatWord(FMachine->MemSize, FNumFormat)),
             MousePos());
    return;
  }
  sgMemory->SelectRow(target);
  InvalidateMemView();
  PushAddress(target);
}

void TMainForm::GotoAddressClick() {
  int addr = 0;
  if (!AskAddress(QtText("Goto address:"), std::max(sgMemory->SelectedRow(), 0), addr)) return;
  if (addr >= FMachine->MemSize) {
    ErrorBox(QtText("Address out of range:\r\n0 .. ") + ToQString(FormatWord(FMachine->MemSize, FNumFormat)),
             MousePos());
    return;
  }
  sgMemory->SelectRow(addr);
  PushAddress(addr);
  InvalidateMemView();
}

void TMainForm::ToggleBreakpointClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  if (FMachine->Memory[row].Flags & BreakpointFlag)
    FMachine->ClearBreakpoint(TWord(row));
  else
    FMachine->SetBreakpoint(TWord(row));
  InvalidateMemView();
}

void TMainForm::WatchLocationClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine->AddWatch(TWord(row));
}

void TMainForm::btPCClick() {
  if (FMachine->PC < FMachine->MemSize) sgMemory->SelectRow(FMachine->PC);
}

void TMainForm::btAddWatchClick() {
  if (gbRegister->edAdr->text().isEmpty()) {
    WarningBeep();
    return;
  }
  FMachine->AddWatch(TWord(gbRegister->edAdr->Value() & 077777));
}

void TMainForm::btSwitchesToPCClick() {
  FMachine->PC = TWord(FMachine->Switches & 077777);
  ShowRegisters();
  InvalidateMemView();
}

void TMainForm::PreSwitchChosen(const QString& entry) {
  try {
    const std::int64_t v = ParseOctal(entry.trimmed().toStdString());
    if (v < 0 || v > 0177777) throw EConvertError(entry.toStdString());
    FMachine->Switches = TWord(v);
  } catch (const EConvertError&) {
    ErrorBox(QSafeFormat(QtText("%s is not a valid octal value"), entry));
  }
  ShowRegisters();
}

void TMainForm::PredefinedSwitchesClick() {
  TSelectFromListArgs args;
  QStringList list = FPreSwitches;
  QString text;
  const int r = ListDialog().Execute(MousePos(), QtText("Predefined switches"), QString(), QtText("Octal values only"),
                                     soEdit | soOrder, 1, tcNone, QStringLiteral("000012,177777"), list, text, true,
                                     [](const QString& e) {
                                       std::int64_t v = 0;
                                       return TryParseOctal(e.trimmed().toStdString(), v) && v >= 0 && v <= 0177777;
                                     });
  if (r == mrCancel) return;
  FPreSwitches = list;
  cbPreSwitches->clear();
  cbPreSwitches->addItems(FPreSwitches);
  cbPreSwitches->setCurrentIndex(-1);
}

void TMainForm::RegisterFieldClick(QWidget* field) {
  TNovaMachine& m = *FMachine;
  TRegisterPanel& r = *gbRegister;
  if (field == r.edCmd || field == r.edCommand) {
    if (m.PC > 077777) return;
    std::uint16_t v = m.Memory[m.PC].Data;
    if (CommandDialog().Execute(Below(r.edCmd), QtText("Assembler command:"), m.PC, FNumFormat, v)) {
      m.Memory[m.PC].Data = v;
      FillMemoryView();
      ShowRegisters();
    }
    return;
  }
  if (field == r.edAdr) return;
  QString desc;
  TNumberEdit* edit = static_cast<TNumberEdit*>(field);
  std::uint16_t v = 0;
  int ac = -1;
  if (field == r.edPC) {
    desc = QtText("Program counter:");
    v = m.PC;
  } else if (field == r.edCarry) {
    desc = QtText("Carry:");
    v = m.Carry;
  } else if (field == edSwitches) {
    desc = QtText("Front panel switches:");
    v = m.Switches;
  } else {
    for (int i = 0; i < 4; ++i)
      if (field == r.edAC[i]) ac = i;
    if (ac < 0) return;
    static const char* const texts[4] = {N_("Accumulator 0:"), N_("Accumulator 1:"), N_("Accumulator 2:"),
                                         N_("Accumulator 3:")};
    desc = QtText(texts[ac]);
    v = m.AC[ac];
  }
  if (!ValueDialog().Execute(Below(edit), desc, FNumFormat, v)) return;
  if (ValueDialog().ValueEdit()->CheckError()) return;
  if (field == r.edPC) {
    if (v > 077777) {
      ErrorBox(QtText("Address out of range:\r\n0 .. ") + ToQString(FormatWord(077777, FNumFormat)), Below(edit));
      return;
    }
    m.PC = v;
    ShowRegisters();
    InvalidateMemView();
    return;
  }
  if (field == r.edCarry) {
    m.Carry = v & 1;
    ShowRegisters();
    r.edAC[0]->setFocus();
  } else if (field == edSwitches) {
    m.Switches = v;
    ShowRegisters();
  } else {
    m.AC[ac] = v;
    ShowRegisters();
    r.edAC[(ac + 1) % 4]->setFocus();
  }
}

void TMainForm::ShowAdrHint(bool show) {
  TNumberEdit* adr = gbRegister->edAdr;
  if (!show || adr->text().isEmpty()) {
    if (HintWin) HintWin->hide();
    return;
  }
  if (!HintWin) {
    HintWin = new QLabel(this, Qt::ToolTip);
    HintWin->setObjectName("HintWin");
    HintWin->setAutoFillBackground(true);
    HintWin->setBackgroundRole(QPalette::ToolTipBase);
    HintWin->setForegroundRole(QPalette::ToolTipText);
    HintWin->setPalette(QToolTip::palette());
    HintWin->setFrameShape(QFrame::Box);
  }
  const TWord a = TWord(adr->Value() & 077777);
  const TWord word = FMachine->ReadMemory(a);
  HintWin->setFont(adr->font());
  HintWin->setText("=> " + ToQString(FormatWord(word, FNumFormat)) + " - " +
                   ToQString(CommandToStr(a, word, FNumFormat, true)));
  const QFontMetrics fm(HintWin->font());
  HintWin->resize(fm.horizontalAdvance(HintWin->text()) + 10, fm.height() + 5);
  HintWin->move(adr->mapToGlobal(QPoint(20, adr->height() + 2)));
  HintWin->show();
}
