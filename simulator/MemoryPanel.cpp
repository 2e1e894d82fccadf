// TMemoryPanel: the memory grid with its headers, history and context menu, and what they do.
#include "MemoryPanel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "InpCommand.h"
#include "InpValue.h"
#include "MachineController.h"
#include "MemoryModel.h"
#include "Navigator.h"
#include "NumberEd.h"
#include "QtText.h"
#include "RangeText.h"
#include "ScreenPlacement.h"

namespace {
// A memory reference word with page-zero or PC-relative addressing.
bool SeekableWord(TWord w) { return !(w & nova::ArithBit) && nova::GroupOf(w) != 3 && nova::IndexOf(w) < 2; }

// The breakpoint of the kind on exactly that word; nullptr when there is none.
const TBreakpoint* OneWordBreak(const TNovaMachine& m, TBreakKind kind, int row) {
  for (const TBreakpoint& b : m.Breakpoints())
    if (b.Kind == kind && b.First == row && b.Last == row) return &b;
  return nullptr;
}
}  // namespace

TMemoryPanel::TMemoryPanel(TMachineController& controller, TNavigator& navigator, QWidget* parent)
    : QGroupBox(parent), FController(controller), FMachine(controller.Machine()), FNavigator(navigator) {
  setObjectName("gbMemory");
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(4, 2, 4, 4);
  v->setSpacing(2);
  auto* header = new QHBoxLayout;
  header->setSpacing(0);
  const int widths[4] = {16, 60, 60, 0};
  for (int i = 0; i < 4; ++i) {
    FHeader[i] = new QLabel(this);
    FHeader[i]->setFrameShape(QFrame::Panel);
    FHeader[i]->setFrameShadow(QFrame::Raised);
    if (widths[i]) FHeader[i]->setFixedWidth(widths[i]);
    header->addWidget(FHeader[i], widths[i] ? 0 : 1);
  }
  btLast = new QToolButton(this);
  btLast->setObjectName("btLast");
  btLast->setArrowType(Qt::LeftArrow);
  btNext = new QToolButton(this);
  btNext->setObjectName("btNext");
  btNext->setArrowType(Qt::RightArrow);
  header->addWidget(btLast);
  header->addWidget(btNext);
  v->addLayout(header);
  sgMemory = new TMemoryView(controller, this);
  sgMemory->setMinimumWidth(330);
  v->addWidget(sgMemory, 1);
  connect(btLast, &QToolButton::clicked, this, [this] { btLastClick(); });
  connect(btNext, &QToolButton::clicked, this, [this] { btNextClick(); });
  connect(sgMemory, &TMemoryView::CellPressed, this, &TMemoryPanel::CellPressed);
  connect(sgMemory, &TMemoryView::CellActivated, this, &TMemoryPanel::CellActivated);

  pmMemory = new QMenu(this);
  pmMemory->setObjectName("pmMemory");
  itmSetPC = pmMemory->addAction(QString(), this, [this] { SetPCClick(); });
  itmEditContents = pmMemory->addAction(QString(), this, [this] {
    CellActivated(sgMemory->SelectedRow(), sgMemory->SelectedColumn());
  });
  pmMemory->addSeparator();
  itmSeekAddress = pmMemory->addAction(QString(), this, [this] { SeekAddressClick(); });
  itmGotoAddress = pmMemory->addAction(QString(), this, [this] { GotoAddressClick(); });
  pmMemory->addSeparator();
  itmToggleBreakpoint = pmMemory->addAction(QString(), this, [this] { ToggleBreakpointClick(); });
  itmWatchLocationPm = pmMemory->addAction(QString(), this, [this] { WatchLocationClick(); });
  itmBreakOnWrite = pmMemory->addAction(QString(), this, [this] { BreakOnClick(bkWrite); });
  itmBreakOnRead = pmMemory->addAction(QString(), this, [this] { BreakOnClick(bkRead); });
  for (QAction* a : {itmBreakOnWrite, itmBreakOnRead}) a->setCheckable(true);
  pmMemory->addSeparator();
  itmRunToHere = pmMemory->addAction(QString(), this, [this] { RunToHereClick(); });
  pmMemory->addSeparator();
  itmCancel = pmMemory->addAction(QString());

  connect(&controller, &TMachineController::OnRegistersChanged, this, [this] { FollowPC(); });
  connect(&controller, &TMachineController::OnWordsChanged, this, [this](int first, int count) {
    if (FMachine.PC >= first && FMachine.PC < first + count) FollowPC();
  });
  connect(&controller, &TMachineController::OnMemorySizeChanged, this, [this](int) { setTitle(Caption()); });
}

void TMemoryPanel::RetranslateUi() {
  FHeader[0]->setText(QtText("S"));
  FHeader[1]->setText(QtText("  Address"));
  FHeader[2]->setText(QtText("  Contents"));
  FHeader[3]->setText(QtText("  Command"));
  btLast->setToolTip(QtText("Goto last address"));
  btNext->setToolTip(QtText("Goto next address"));
  itmSetPC->setText(QtText("Set &PC"));
  itmEditContents->setText(QtText("&Edit contents"));
  itmSeekAddress->setText(QtText("&Seek address"));
  itmGotoAddress->setText(QtText("&Goto address"));
  itmToggleBreakpoint->setText(QtText("Toggle &breakpoint"));
  itmWatchLocationPm->setText(QtText("&Watch location"));
  itmBreakOnWrite->setText(QtText("Break on w&rite"));
  itmBreakOnRead->setText(QtText("Break on re&ad"));
  itmRunToHere->setText(QtText("R&un to here"));
  itmCancel->setText(QtText("&Cancel"));
  setTitle(Caption());
}

void TMemoryPanel::SetNumFormat(TNumMode mode) {
  FNumFormat = mode;
  if (sgMemory->Model()->NumFormat() != mode) sgMemory->Model()->SetNumFormat(mode);
}

QString TMemoryPanel::Caption() const {
  // n words are 2n bytes.
  const int n = FMachine.MemSize;
  return QtText("Program memory") + " (" + QString::number(n) + " " + QtText("words") + " = " +
         ToQString(FormatSize(2 * std::int64_t(n), false)) + ")";
}

void TMemoryPanel::ShowOutOfRange() {
  // Once per stop: a run with "Show each program step" would otherwise ask once per instruction.
  if (FRangeReported) return;
  FRangeReported = true;
  emit ErrorReported(AddressOutOfRangeText(FMachine.MemSize, FNumFormat), QPoint(-1, -1));
}

void TMemoryPanel::FollowPC() {
  if (FMachine.PC >= FMachine.MemSize)
    ShowOutOfRange();
  else
    sgMemory->SelectRow(FMachine.PC);
  // Keep a line of context below the selected row: once it reaches the last fully visible line
  // the grid scrolls so that it is the second row.
  const int sel = sgMemory->SelectedRow();
  if (sel > 1 && sel - sgMemory->TopRow() > sgMemory->VisibleRows() - 2) sgMemory->SetTopRow(sel - 1);
}

void TMemoryPanel::ShowAddress(int addr) {
  if (addr < 0 || addr >= FMachine.MemSize) return;
  sgMemory->SelectRow(addr);
}

void TMemoryPanel::CenterRow(int row) {
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
  sgMemory->viewport()->update();
}

void TMemoryPanel::MoveSelection(int delta) { CenterRow(sgMemory->SelectedRow() + delta); }

void TMemoryPanel::PushAddress(int row) {
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

void TMemoryPanel::ClearHistory() {
  MemStack.fill(0);
  MemStackPtr = MemStackCnt = 0;
  btLast->setEnabled(false);
  btNext->setEnabled(false);
}

void TMemoryPanel::btLastClick() {
  if (MemStackPtr > 0) {
    if (MemStackPtr >= MemStackCnt) --MemStackPtr;
    if (MemStackPtr > 0) --MemStackPtr;
    CenterRow(MemStack[MemStackPtr]);
  }
  btLast->setEnabled(MemStackPtr > 0);
  btNext->setEnabled(true);
}

void TMemoryPanel::btNextClick() {
  if (MemStackPtr < MemStackCnt - 1) {
    ++MemStackPtr;
    CenterRow(MemStack[MemStackPtr]);
  }
  btNext->setEnabled(MemStackPtr < MemStackCnt - 1);
  btLast->setEnabled(MemStackPtr > 0);
}

void TMemoryPanel::CellPressed(Qt::MouseButton button, int row, int column, QPoint globalPos, int rowBefore) {
  PushAddress(button == Qt::LeftButton ? row : std::max(rowBefore, 0));
  sgMemory->SelectRow(row);
  ContentsCol = column == TMemoryModel::colContents;
  itmSeekAddress->setEnabled(ContentsCol || SeekableWord(FMachine.ReadMemory(TWord(row))));
  if (button == Qt::RightButton) ShowBreakItems(row);
  if (button == Qt::RightButton) pmMemory->popup(globalPos + QPoint(0, sgMemory->RowHeight()));
}

void TMemoryPanel::CellActivated(int row, int column) {
  if (row < 0 || row >= FMachine.MemSize) return;
  const QString rowText = ToQString(FormatWord(row, FNumFormat));
  if (column == TMemoryModel::colMark) {
    ToggleBreakpointClick();
  } else if (column == TMemoryModel::colContents) {
    std::uint16_t v = FMachine.ReadMemory(TWord(row));
    TValueDialog& dialog = FNavigator.ValueDialog();
    if (dialog.Execute(MousePos(), QSafeFormat(QtText("Memory cell %s - Value:"), rowText), FNumFormat, v) &&
        !dialog.ValueEdit()->CheckError())
      FMachine.WriteWord(TWord(row), v);
  } else if (column == TMemoryModel::colCommand) {
    std::uint16_t v = FMachine.ReadMemory(TWord(row));
    if (FNavigator.CommandDialog().Execute(MousePos(), QSafeFormat(QtText("Memory cell %s - Command:"), rowText),
                                           TWord(row), FNumFormat, v))
      FMachine.WriteWord(TWord(row), v);
  }
}

void TMemoryPanel::SetPCClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine.SetPC(TWord(row));
}

void TMemoryPanel::SeekAddressClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  const TWord w = FMachine.ReadMemory(TWord(row));
  int target = -1;
  if (ContentsCol) {
    target = w & nova::AddrMask;  // an address has 15 bits
    ContentsCol = false;
  } else if (SeekableWord(w)) {
    target = nova::IndexOf(w) == 1 ? (row + nova::SignedDispOf(w)) & nova::AddrMask : nova::DispOf(w);
  }
  if (target < 0) return;
  if (target >= FMachine.MemSize) {
    emit ErrorReported(AddressOutOfRangeText(FMachine.MemSize, FNumFormat), MousePos());
    return;
  }
  sgMemory->SelectRow(target);
  PushAddress(target);
}

void TMemoryPanel::GotoAddressClick() {
  int addr = 0;
  if (!FNavigator.AskAddress(MousePos(), QtText("Goto address:"), FNumFormat, std::max(sgMemory->SelectedRow(), 0), addr))
    return;
  if (addr >= FMachine.MemSize) {
    emit ErrorReported(AddressOutOfRangeText(FMachine.MemSize, FNumFormat), MousePos());
    return;
  }
  sgMemory->SelectRow(addr);
  PushAddress(addr);
}

void TMemoryPanel::ToggleBreakpointClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine.ToggleBreakpoint(TWord(row));
}

void TMemoryPanel::WatchLocationClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0) return;
  FMachine.AddWatch(TWord(row));
}

void TMemoryPanel::ShowBreakItems(int row) {
  itmBreakOnWrite->setChecked(OneWordBreak(FMachine, bkWrite, row) != nullptr);
  itmBreakOnRead->setChecked(OneWordBreak(FMachine, bkRead, row) != nullptr);
}

void TMemoryPanel::BreakOnClick(TBreakKind kind) {
  const int row = sgMemory->SelectedRow();
  if (row < 0 || row >= MemoryWords) return;
  if (OneWordBreak(FMachine, kind, row)) {
    FMachine.ClearBreakpoint(kind, TWord(row), TWord(row));
    return;
  }
  TBreakpoint b;
  b.Kind = kind;
  b.First = b.Last = TWord(row);
  FMachine.SetBreakpoint(b);
}

void TMemoryPanel::RunToHereClick() {
  const int row = sgMemory->SelectedRow();
  if (row < 0 || row >= FMachine.MemSize) return;
  emit RunToWanted(TWord(row));
}
