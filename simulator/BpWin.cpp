// The breakpoints window.
#include "BpWin.h"

#include <QHBoxLayout>
#include <QTableView>
#include <QToolButton>

#include "BreakpointDlg.h"
#include "MachineController.h"
#include "Navigator.h"
#include "MessageBoxes.h"
#include "QtText.h"

TBpWin::TBpWin(TMachineController& controller, TNavigator& navigator, QWidget* parent)
    : TToolWindow(controller, navigator, new TBpModel(controller.Machine()), "BpWin", parent) {
  const int widths[TBpModel::colCount] = {70, 110, 70, 150, 150, 60};
  for (int c = 0; c < TBpModel::colCount; ++c) lvList->setColumnWidth(c, widths[c]);
  btAdd = AddBarButton("btAdd", QStringLiteral("+"));
  btEdit = AddBarButton("btEdit", QStringLiteral("\u270E"));
  btDelete = AddBarButton("btDelete", QStringLiteral("\u2212"));
  btDeleteAll = AddBarButton("btDeleteAll", QStringLiteral("\u2715"));
  connect(btAdd, &QToolButton::clicked, this, [this] { btAddClick(); });
  connect(btEdit, &QToolButton::clicked, this, [this] { btEditClick(); });
  connect(btDelete, &QToolButton::clicked, this, [this] { btDeleteClick(); });
  connect(btDeleteAll, &QToolButton::clicked, this, [this] { btDeleteAllClick(); });
  connect(lvList, &QTableView::doubleClicked, this, [this] { ListDblClick(); });
  TMachineController* c = &controller;
  connect(c, &TMachineController::OnBreakpointCountChanged, this, [this](int n) { UpdateView(n); });
  connect(c, &TMachineController::OnMemoryChanged, this, [this] { Refresh(); });
  connect(c, &TMachineController::OnRegistersChanged, this, [this] { Refresh(); });
  resize(700, 260);
  RetranslateUi();
}

TBpWin::~TBpWin() = default;

TBreakpointDialog& TBpWin::Dialog() {
  if (!FDialog) FDialog = std::make_unique<TBreakpointDialog>(FController, this);
  return *FDialog;
}

void TBpWin::RetranslateUi() {
  setWindowTitle(QtText("Breakpoints"));
  btAdd->setToolTip(QtText("Add breakpoint"));
  btEdit->setToolTip(QtText("Change selected breakpoint"));
  btDelete->setToolTip(QtText("Delete selected breakpoint"));
  btDeleteAll->setToolTip(QtText("Delete all breakpoints"));
  TToolWindow::RetranslateUi();
}

void TBpWin::SetColumnWidths(int listWidth) {
  // The condition takes what the other columns leave.
  int rest = listWidth - 21;
  for (int c = 0; c < TBpModel::colCount; ++c)
    if (c != TBpModel::colCondition) rest -= lvList->columnWidth(c);
  lvList->setColumnWidth(TBpModel::colCondition, SharedWidth(rest, 1));
}

void TBpWin::EditBreakpoint(QWidget* below, TBreakpoint B, const TBreakpoint* Old) {
  TNovaMachine& m = FController.Machine();
  const TBreakpoint old = Old ? *Old : TBreakpoint{};
  const bool replacing = Old != nullptr;
  Dialog().Execute(BelowLeft(below), NumFormat(), B, [&](const TBreakpoint& b, std::string& error) {
    // Labels in conditions: the program's symbols.
    if (!m.SetBreakpoint(b, &error, FController.SymbolLookup())) return false;
    if (replacing && !old.SameAs(b)) m.ClearBreakpoint(old.Kind, old.First, old.Last);
    return true;
  });
}

void TBpWin::btAddClick() {
  EditBreakpoint(btAdd, TBreakpoint{}, nullptr);
}

void TBpWin::btEditClick() {
  const TBreakpoint* selected = Breakpoints()->Entry(SelectedRow());
  if (!selected) return;
  const TBreakpoint old = *selected;
  EditBreakpoint(btEdit, old, &old);
}

void TBpWin::btDeleteClick() {
  const int row = SelectedRow();
  const TBreakpoint* b = Breakpoints()->Entry(row);
  if (!b) return;
  const TBreakpoint old = *b;
  FController.Machine().ClearBreakpoint(old.Kind, old.First, old.Last);
  SelectAfterRemoval(row);
}

void TBpWin::btDeleteAllClick() {
  if (!ConfirmMsg(QtText("Delete all breakpoints") + "?", NoPoint, QString(), this)) return;
  FController.Machine().ClearBreakpoints();
}

void TBpWin::ListDblClick() {
  const int addr = Breakpoints()->Address(SelectedRow());
  if (addr >= 0) FNavigator.ShowAddress(addr);
}
