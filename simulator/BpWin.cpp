// The breakpoints window.
#include "BpWin.h"

#include <QHBoxLayout>
#include <QTableView>
#include <QToolButton>

#include "MachineController.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "QtText.h"

TBpWin::TBpWin(TMainForm& form, QWidget* parent) : TToolWindow(form, new TBpModel(form.Machine()), "BpWin", parent) {
  const int widths[TBpModel::colCount] = {100, 100, 210};
  for (int c = 0; c < TBpModel::colCount; ++c) lvList->setColumnWidth(c, widths[c]);
  btAdd = AddBarButton("btAdd", QStringLiteral("+"));
  btDelete = AddBarButton("btDelete", QStringLiteral("\u2212"));
  btDeleteAll = AddBarButton("btDeleteAll", QStringLiteral("\u2715"));
  connect(btAdd, &QToolButton::clicked, this, [this] { btAddClick(); });
  connect(btDelete, &QToolButton::clicked, this, [this] { btDeleteClick(); });
  connect(btDeleteAll, &QToolButton::clicked, this, [this] { btDeleteAllClick(); });
  connect(lvList, &QTableView::doubleClicked, this, [this] { ListDblClick(); });
  TMachineController* c = &form.Controller();
  connect(c, &TMachineController::OnBreakpointCountChanged, this, [this](int n) { UpdateView(n); });
  connect(c, &TMachineController::OnMemoryChanged, this, [this] { Refresh(); });
  connect(c, &TMachineController::OnRegistersChanged, this, [this] { Refresh(); });
  resize(470, 260);
  RetranslateUi();
}

void TBpWin::RetranslateUi() {
  setWindowTitle(QtText("Breakpoints"));
  btAdd->setToolTip(QtText("Add breakpoint"));
  btDelete->setToolTip(QtText("Delete selected breakpoint"));
  btDeleteAll->setToolTip(QtText("Delete all breakpoints"));
  TToolWindow::RetranslateUi();
}

void TBpWin::SetColumnWidths(int listWidth) {
  const int w = SharedWidth(listWidth - lvList->columnWidth(TBpModel::colCommand) - 21, 2);
  lvList->setColumnWidth(TBpModel::colAddress, w);
  lvList->setColumnWidth(TBpModel::colContents, w);
}

void TBpWin::btAddClick() {
  int addr = 0;
  if (AskAddress(btAdd, QtText("Add breakpoint:"), addr)) FForm.Machine().SetBreakpoint(TWord(addr));
  FForm.InvalidateMemView();
}

void TBpWin::btDeleteClick() {
  const int row = SelectedRow();
  const int addr = Breakpoints()->Address(row);
  if (addr < 0) return;
  FForm.Machine().ClearBreakpoint(TWord(addr));
  const int left = int(FForm.Machine().BreakPoints.size());
  UpdateView(left);
  SelectAfterRemoval(row);
  FForm.InvalidateMemView();
}

void TBpWin::btDeleteAllClick() {
  if (!ConfirmMsg(QtText("Delete all breakpoints") + "?", NoPoint, QString(), this)) return;
  FForm.Machine().ClearBreakpoints();
  UpdateView(0);
  FForm.InvalidateMemView();
}

void TBpWin::ListDblClick() {
  const int addr = Breakpoints()->Address(SelectedRow());
  if (addr >= 0) FForm.ShowMemory(addr);
}
