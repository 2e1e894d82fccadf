// The program trace window.
#include "TraceWin.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "Navigator.h"
#include "MachineController.h"
#include "QtText.h"

TTraceWin::TTraceWin(TMachineController& controller, TNavigator& navigator, QWidget* parent)
    : TToolWindow(controller, navigator, new TTraceModel(controller.Machine()), "TraceWin", parent) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  const int widths[TTraceModel::colCount] = {75, 150, 30, 75, 75, 75, 75};
  for (int c = 0; c < TTraceModel::colCount; ++c) lvList->setColumnWidth(c, widths[c]);
  btClear = new QPushButton(this);
  btClear->setObjectName("btClear");
  ButtonBar()->addWidget(btClear);
  connect(btClear, &QPushButton::clicked, this, [this] { btClearClick(); });
  connect(lvList, &QTableView::doubleClicked, this, [this] { ListDblClick(); });
  connect(&controller, &TMachineController::OnTraceCountChanged, this, [this](int n) { UpdateView(n); });
  resize(640, 300);
  RetranslateUi();
}

void TTraceWin::RetranslateUi() {
  setWindowTitle(QtText("Program trace"));
  btClear->setText(QtText("Clear"));
  TToolWindow::RetranslateUi();
}

void TTraceWin::SetColumnWidths(int listWidth) {
  const int w = SharedWidth(listWidth - lvList->columnWidth(TTraceModel::colCommand) -
                                lvList->columnWidth(TTraceModel::colCarry) - 21,
                            5);
  for (int c : {TTraceModel::colPC, TTraceModel::colAC0, TTraceModel::colAC1, TTraceModel::colAC2, TTraceModel::colAC3})
    lvList->setColumnWidth(c, w);
}

void TTraceWin::btClearClick() {
  FController.Machine().ClearTrace();
  UpdateView(0);
}

void TTraceWin::ListDblClick() {
  const int row = SelectedRow();
  if (row < 0) return;
  const QString pc = Trace()->CellText(row, TTraceModel::colPC);
  if (pc.isEmpty()) return;
  FNavigator.ShowAddress(ParseNumber(pc.toStdString(), NumFormat()));
}
