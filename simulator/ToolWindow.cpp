// The trace, watch and breakpoint windows' common part.
#include "ToolWindow.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "IniFile.h"
#include "InpValue.h"
#include "MessageBoxes.h"
#include "NumberEd.h"
#include "MachineController.h"
#include "Navigator.h"
#include "QtText.h"
#include "RangeText.h"
#include "ScreenPlacement.h"

TToolWindow::TToolWindow(TMachineController& controller, TNavigator& navigator, TDebugListModel* model,
                         const char* objectName, QWidget* parent)
    : QWidget(parent, Qt::Window), FController(controller), FNavigator(navigator), FModel(model) {
  setObjectName(objectName);
  setAttribute(Qt::WA_QuitOnClose, false);
  model->setParent(this);
  model->SetLabels(&controller);
  connect(&controller, &TMachineController::OnSymbolsChanged, this, [this] {
    ShowLabelRoom();
    Refresh();
  });
  lvList = new QTableView(this);
  lvList->setObjectName("lvList");
  lvList->setModel(model);
  lvList->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvList->setSelectionMode(QAbstractItemView::SingleSelection);
  lvList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvList->setShowGrid(false);
  lvList->setWordWrap(false);
  lvList->setTextElideMode(Qt::ElideNone);
  lvList->verticalHeader()->hide();
  lvList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  lvList->verticalHeader()->setDefaultSectionSize(RowHeight);
  lvList->horizontalHeader()->setHighlightSections(false);
  lvList->horizontalHeader()->setStretchLastSection(false);
  lvList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lvList->installEventFilter(this);

  auto* bar = new QHBoxLayout;
  auto* group = new QButtonGroup(this);
  auto radio = [&](const char* name, TNumMode mode) {
    auto* r = new QRadioButton(this);
    r->setObjectName(name);
    group->addButton(r, mode);
    bar->addWidget(r);
    return r;
  };
  rbBin = radio("rbBin", nmBin);
  rbOctal = radio("rbOctal", nmOctal);
  rbDecimal = radio("rbDecimal", nmZeroDec);
  rbHex = radio("rbHex", nmHex);
  rbOctal->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, [this](int id) { SetNumFormat(TNumMode(id)); });
  bar->addStretch(1);
  FButtons = new QHBoxLayout;
  bar->addLayout(FButtons);
  btClose = new QPushButton(this);
  btClose->setObjectName("btClose");
  bar->addWidget(btClose);
  connect(btClose, &QPushButton::clicked, this, [this] { close(); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, btClose, &QPushButton::click);

  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(4, 4, 4, 4);
  v->addWidget(lvList, 1);
  v->addLayout(bar);

  FViewTimer.setSingleShot(true);
  FViewTimer.setInterval(ViewInterval);
  connect(&FViewTimer, &QTimer::timeout, this, [this] {
    if (FDirty && isVisible()) Apply();
  });
  setMinimumSize(320, 140);
}

TToolWindow::~TToolWindow() { SaveToIni(); }

void TToolWindow::RetranslateUi() {
  rbBin->setText(QtText("binary"));
  rbOctal->setText(QtText("octal"));
  rbDecimal->setText(QtText("decimal"));
  rbHex->setText(QtText("hex"));
  btClose->setText(QtText("Close"));
  FModel->Repaint();
}

void TToolWindow::LoadFromIni(const std::string& iniName, const std::string& section) {
  FIniName = iniName;
  FIniSection = section;
  if (iniName.empty() || section.empty()) return;
  const TIniFile ini(iniName);
  const int top = ini.ReadInteger(section, "Top", pos().y());
  const int left = ini.ReadInteger(section, "Left", pos().x());
  const int h = ini.ReadInteger(section, "Height", height());
  const int w = ini.ReadInteger(section, "Width", width());
  resize(w >= minimumWidth() ? w : width(), h >= minimumHeight() ? h : height());
  move(PlaceOnScreen(QPoint(left, top), size(), pkDialog));
}

void TToolWindow::SaveToIni() const {
  if (FIniName.empty() || FIniSection.empty()) return;
  TIniFile ini(FIniName);
  ini.WriteInteger(FIniSection, "Top", pos().y());
  ini.WriteInteger(FIniSection, "Left", pos().x());
  ini.WriteInteger(FIniSection, "Height", height());
  ini.WriteInteger(FIniSection, "Width", width());
  ini.UpdateFile();
}

void TToolWindow::UpdateView(int count) {
  FPending = std::max(count, 0);
  FDirty = true;
  if (!isVisible()) return;  // taken up when the window is shown
  // During a run the view follows at the pace of the view timer; otherwise at once.
  if (FViewTimer.isActive() && FController.Machine().Executing()) return;
  Apply();
}

void TToolWindow::Refresh() {
  if (!isVisible()) return;
  FDirty = true;
  if (FViewTimer.isActive() && FController.Machine().Executing()) return;
  Apply();
}

void TToolWindow::Apply() {
  FDirty = false;
  FModel->SetRows(FPending);
  const int rows = FModel->rowCount();
  if (rows > 0) {
    SelectRow(rows - 1);
    lvList->scrollToBottom();
  }
  lvList->viewport()->update();
  FViewTimer.start();
}

void TToolWindow::SetNumFormat(TNumMode mode) {
  FModel->SetNumFormat(mode);
  if (QAbstractButton* b = findChild<QButtonGroup*>()->button(FModel->NumFormat())) b->setChecked(true);
}

int TToolWindow::SelectedRow() const {
  const QModelIndexList rows = lvList->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void TToolWindow::SelectRow(int row) {
  if (row < 0 || row >= FModel->rowCount()) {
    lvList->selectionModel()->clearSelection();
    return;
  }
  const QModelIndex at = FModel->index(row, 0);
  lvList->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QToolButton* TToolWindow::AddBarButton(const char* name, const QString& sign) {
  auto* b = new QToolButton(this);
  b->setObjectName(name);
  b->setText(sign);
  b->setMinimumWidth(28);
  FButtons->addWidget(b);
  return b;
}

void TToolWindow::FitColumns() { SetColumnWidths(lvList->width()); }

void TToolWindow::ShowLabelRoom() {
  const bool wanted = FController.ShownSymbols() != nullptr;
  if (wanted == FLabelRoom) return;
  FLabelRoom = wanted;
  const int column = FModel->CommandColumn();
  const int room = lvList->fontMetrics().horizontalAdvance(QStringLiteral("LABEL:   "));
  lvList->setColumnWidth(column, std::max(0, lvList->columnWidth(column) + (wanted ? room : -room)));
  FitColumns();
}

void TToolWindow::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; the main window clears its check mark.
  QWidget::closeEvent(event);
  emit Closed();
}

void TToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ShowLabelRoom();
  // Whatever was missed while hidden: the live count now.
  FPending = FModel->LiveCount();
  Apply();
}

void TToolWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QWidget::changeEvent(event);
}

bool TToolWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lvList && event->type() == QEvent::Resize) FitColumns();
  return QWidget::eventFilter(watched, event);
}

bool TToolWindow::AskAddress(QWidget* below, const QString& desc, int& addr) {
  return FNavigator.AskAddress(BelowLeft(below), desc, NumFormat(), 0, addr);
}

void TToolWindow::SelectAfterRemoval(int row) {
  const int rows = FModel->rowCount();
  SelectRow(rows == 0 ? -1 : std::min(row, rows - 1));
}
