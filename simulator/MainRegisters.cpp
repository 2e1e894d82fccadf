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
#include "RangeText.h"
#include "RegisterPanel.h"
#include "ScreenPlacement.h"
#include "SelectFromListDlg.h"
#include "Translate.h"

namespace {
// A memory reference word with page-zero or PC-relative addressing.
bool SeekableWord(TWord w) { return !(w & nova::ArithBit) && nova::GroupOf(w) != 3 && nova::IndexOf(w) < 2; }
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
  ErrorBox(AddressOutOfRangeText(FMachine->MemSize, FNumFormat));
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
  FollowRegisters();
}

void TMainForm::FollowRegisters() {
  TNovaMachine& m = *FMachine;
  const bool inside = m.PC < m.MemSize;
  if (!inside)
    ShowOutOfRange();
  else
    sgMemory->SelectRow(m.PC);
  // Keep a line of context below the selected row: once it reaches the last fully visible line
  // the grid scrolls so that it is the second row.
  const int sel = sgMemory->SelectedRow();
  if (sel > 1 && sel - sgMemory->TopRow() > sgMemory->VisibleRows() - 2) sgMemory->SetTopRow(sel - 1);
  edSwitches->SetValue(m.Switches);
  PushFrontPanel();
}

void TMainForm::FillMemoryView() { sgMemory->Model()->Fill(); }

void TMainForm::ApplyNumFormat() {
  gbRegister->SetNumFormat(FNumFormat);
  pcDevices->SetNumFormat(FNumFormat);
  if (sgMemory->Model()->NumFormat() != FNumFormat) sgMemory->Model()->SetNumFormat(FNumFormat);
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
  if (button == Qt::RightButton) ShowBreakItems(row);
  if (button == Qt::RightButton) pmMemory->popup(globalPos + QPoint(0, sgMemory->RowHeight()));
}

void TMainForm::MemoryCellActivated(int row, int column) {
  if (row < 0 || row >= FMachine->MemSize) return;
  TNovaMachine& m = *FMachine;
  const QString rowText = ToQString(FormatWord(row, FNumFormat));
  if (column == TMemoryModel::colMark) {
    ToggleBreakpointClick();
  } else if (column == TMemoryModel::colContents) {
    std::uint16_t v = m.ReadMemory(TWord(row));
    if (ValueDialog().Execute(MousePos(), QSafeFormat(QtText("Memory cell %s - Value:"), rowText), FNumFormat, v) &&
        !ValueDialog().ValueEdit()->CheckError())
      m.WriteWord(TWord(row), v);
  } else if (column == TMemoryModel::colCommand) {
    std::uint16_t v = m.ReadMemory(TWord(row));
    if (CommandDialog().Execute(MousePos(), QSafeFormat(QtText("Memory cell %s - Command:"), rowText), TWord(row),
                                FNumFormat, v))
      m.WriteWord(TWord(row), v);
  }
}

void TMainForm::SetPCClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine->SetPC(TWord(row));
}

void TMainForm::SeekAddressClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  const TWord w = FMachine->ReadMemory(TWord(row));
  int target = -1;
  if (ContentsCol) {
    target = w & nova::AddrMask;  // an address has 15 bits
    ContentsCol = false;
  } else if (SeekableWord(w)) {
    target = nova::IndexOf(w) == 1 ? (row + nova::SignedDispOf(w)) & nova::AddrMask : nova::DispOf(w);
  }
  if (target < 0) return;
  if (target >= FMachine->MemSize) {
    ErrorBox(AddressOutOfRangeText(FMachine->MemSize, FNumFormat),
             MousePos());
    return;
  }
  sgMemory->SelectRow(target);
  PushAddress(target);
}

void TMainForm::GotoAddressClick() {
  int addr = 0;
  if (!AskAddress(MousePos(), QtText("Goto address:"), FNumFormat, std::max(sgMemory->SelectedRow(), 0), addr)) return;
  if (addr >= FMachine->MemSize) {
    ErrorBox(AddressOutOfRangeText(FMachine->MemSize, FNumFormat),
             MousePos());
    return;
  }
  sgMemory->SelectRow(addr);
  PushAddress(addr);
}

void TMainForm::ToggleBreakpointClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine->ToggleBreakpoint(TWord(row));
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

void TMainForm::btSwitchesToPCClick() { FMachine->SetPC(FMachine->Switches); }

void TMainForm::PreSwitchChosen(const QString& entry) {
  try {
    const std::int64_t v = ParseOctal(entry.trimmed().toStdString());
    if (v < 0 || v > 0177777) throw EConvertError(entry.toStdString());
    FMachine->SetSwitches(TWord(v));
  } catch (const EConvertError&) {
    ErrorBox(QSafeFormat(QtText("%s is not a valid octal value"), entry));
  }
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
  if (field != edSwitches) {
    gbRegister->EditField(field);
    return;
  }
  std::uint16_t v = FMachine->Switches;
  if (!ValueDialog().Execute(Below(edSwitches), QtText("Front panel switches:"), FNumFormat, v)) return;
  if (ValueDialog().ValueEdit()->CheckError()) return;
  FMachine->SetSwitches(v);
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
  HintWin->setText("=> " + ToQString(FormatWord(word, FNumFormat)) + " - " + FController->CommandText(a, word, FNumFormat));
  const QFontMetrics fm(HintWin->font());
  HintWin->resize(fm.horizontalAdvance(HintWin->text()) + 10, fm.height() + 5);
  HintWin->move(adr->mapToGlobal(QPoint(20, adr->height() + 2)));
  HintWin->show();
}
