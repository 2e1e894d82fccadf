// The program trace window.
#include "TraceWin.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "DialogService.h"
#include "Fonts.h"
#include "MachineController.h"
#include "MessageBoxes.h"
#include "Navigator.h"
#include "NovaUtils.h"
#include "QtText.h"
#include "ReplacingFile.h"

TTraceWin::TTraceWin(TMachineController& controller, TNavigator& navigator, QWidget* parent)
    : TToolWindow(controller, navigator, new TTraceModel(controller.Machine()), "TraceWin", parent) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  const QFont header = lvList->horizontalHeader()->font();
  lvList->setFont(PixelFont("Courier New", 12));
  lvList->horizontalHeader()->setFont(header);
  const int widths[TTraceModel::colCount] = {75, 150, 30, 75, 75, 75, 75};
  for (int c = 0; c < TTraceModel::colCount; ++c) lvList->setColumnWidth(c, widths[c]);
  btClear = new QPushButton(this);
  btClear->setObjectName("btClear");
  ButtonBar()->addWidget(btClear);
  connect(btClear, &QPushButton::clicked, this, [this] { btClearClick(); });
  btSave = new QPushButton(this);
  btSave->setObjectName("btSave");
  ButtonBar()->addWidget(btSave);
  connect(btSave, &QPushButton::clicked, this, [this] { btSaveClick(); });
  connect(lvList, &QTableView::doubleClicked, this, [this] { ListDblClick(); });
  connect(&controller, &TMachineController::OnTraceCountChanged, this, [this](int n) { UpdateView(n); });
  resize(640, 300);
  RetranslateUi();
}

void TTraceWin::RetranslateUi() {
  setWindowTitle(QtText("Program trace"));
  btClear->setText(QtText("Clear"));
  btSave->setText(QtText("Save .."));
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
  if (TravelToRecord && TravelToRecord(row)) return;
  const QString pc = Trace()->CellText(row, TTraceModel::colPC);
  if (pc.isEmpty()) return;
  FNavigator.ShowAddress(ParseNumber(pc.toStdString(), NumFormat()));
}

void TTraceWin::btSaveClick() {
  TFileDialogArgs args;
  args.Title = QtText("Save trace");
  args.Filter = QtText("Text files") + "|*.txt|" + QtText("all") + "|*.*";
  args.DefaultExt = "txt";
  QString file;
  if (!Dialogs().SaveFile(args, file, this) || file.isEmpty()) return;
  std::string error;
  if (!SaveTrace(file.toStdString(), error))
    ErrorMsg(QtText("Error writing file:") + "\r\n" + ToQString(error), NoPoint, QString(), this);
}

bool TTraceWin::SaveTrace(const std::string& name, std::string& error) const {
  TReplacingFile file;
  if (!file.Open(name, error)) return false;
  const TTraceModel& model = *Trace();
  const TNumMode base = model.NumFormat();
  const int width = std::max(NumModeWordWidth[base], 3);
  std::string line;
  auto cell = [&](std::string_view text, int w) {
    line += text;
    if (int(text.size()) < w) line.append(std::size_t(w - int(text.size())), ' ');
    line += "  ";
  };
  for (int c = 0; c < TTraceModel::colCount; ++c)
    cell(model.Caption(c).toStdString(), c == TTraceModel::colCommand ? 20 : c == TTraceModel::colCarry ? 1 : width);
  char buf[20];
  const TNovaMachine& m = FController.Machine();
  for (int i = -1, n = m.TraceCount(); i < n; ++i) {
    if (i >= 0) {
      const TTraceData& t = m.TraceItem(i);
      line.clear();
      cell(std::string_view(buf, FormatWordInto(buf, t.PC, base)), width);
      cell(CommandToStr(t.PC & 077777, t.Data, nmOctal, true), 20);
      cell(std::string(1, char('0' + (t.Carry & 7))), 1);
      for (TWord ac : t.ACs) cell(std::string_view(buf, FormatWordInto(buf, ac, base)), width);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    line += '\n';
    if (!file.Write(line.data(), line.size(), error)) return false;
  }
  return file.Commit(error);
}
