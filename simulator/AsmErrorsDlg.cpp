#include "AsmErrorsDlg.h"

#include <QApplication>
#include <algorithm>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "DialogService.h"
#include "PathUtils.h"
#include "QtText.h"

TAsmErrorsDialog::TAsmErrorsDialog(const QString& summary, const std::vector<TSourceError>& errors, QWidget* parent)
    : QDialog(parent), FErrors(errors) {
  setObjectName("AsmErrorsDialog");
  setWindowTitle(QtText("Assembler errors"));
  lbSummary = new QLabel(summary, this);
  lbSummary->setObjectName("lbSummary");
  lbSummary->setWordWrap(true);
  lvErrors = new QTreeWidget(this);
  lvErrors->setObjectName("lvErrors");
  lvErrors->setRootIsDecorated(false);
  lvErrors->setUniformRowHeights(true);
  lvErrors->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lvErrors->setHeaderLabels({QtText("File"), QtText("Line"), QtText("Message")});
  for (std::size_t i = 0; i < FErrors.size(); ++i) {
    const TSourceError& e = FErrors[i];
    auto* item = new QTreeWidgetItem(lvErrors);
    item->setText(colFile, ToQString(ExtractFileName(e.File)));
    item->setToolTip(colFile, ToQString(e.File));
    item->setText(colLine, e.Line > 0 ? QString::number(e.Line) : QString());
    item->setText(colMessage, ToQString(e.Message));
    item->setToolTip(colMessage, ToQString(e.Message));
  }
  lvErrors->header()->setStretchLastSection(true);
  lvErrors->resizeColumnToContents(colFile);
  lvErrors->resizeColumnToContents(colLine);
  if (lvErrors->topLevelItemCount() > 0) lvErrors->setCurrentItem(lvErrors->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
  btCopy = new QPushButton(QtText("&Copy"), this);
  btCopy->setObjectName("btCopy");
  btClose = new QPushButton(QtText("Close"), this);
  btClose->setObjectName("btClose");
  btClose->setDefault(true);
  connect(btCopy, &QPushButton::clicked, this, [this] { CopyClick(); });
  connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
  auto* copy = new QShortcut(QKeySequence::Copy, lvErrors);
  copy->setContext(Qt::WidgetShortcut);
  connect(copy, &QShortcut::activated, this, [this] { CopyClick(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btCopy);
  buttons->addWidget(btClose);
  auto* v = new QVBoxLayout(this);
  v->addWidget(lbSummary);
  v->addWidget(lvErrors, 1);
  v->addLayout(buttons);
  resize(640, 300);
}

QString TAsmErrorsDialog::CopyText() const {
  QList<QTreeWidgetItem*> items = lvErrors->selectedItems();
  std::vector<int> rows;
  for (QTreeWidgetItem* item : items) rows.push_back(lvErrors->indexOfTopLevelItem(item));
  std::sort(rows.begin(), rows.end());
  if (rows.empty())
    for (int i = 0; i < int(FErrors.size()); ++i) rows.push_back(i);
  QString text;
  for (int row : rows) text += ToQString(FErrors[std::size_t(row)].Text()) + '\n';
  return text;
}

void TAsmErrorsDialog::CopyClick() { QApplication::clipboard()->setText(CopyText()); }

void ShowSourceErrors(const QString& summary, const std::vector<TSourceError>& errors, QWidget* parent) {
  TAsmErrorsDialog dialog(summary, errors, parent);
  Dialogs().ExecDialog(dialog);
}
