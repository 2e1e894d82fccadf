#include "SelectFromListDlg.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "DialogService.h"
#include "QtText.h"

namespace {
constexpr int DesignClientWidth = 346;
constexpr int DesignClientHeight = 391;
}  // namespace

TSelectFromListDialog::TSelectFromListDialog(QWidget* parent) : QDialog(parent) {
  lbDesc = new QLabel(this);
  lbDesc->setWordWrap(true);
  lbxItems = new QListWidget(this);
  lbxItems->setSortingEnabled(false);
  lbxItems->setMinimumHeight(lbxItems->fontMetrics().height() * 8 + 2 * lbxItems->frameWidth());
  lbxItems->viewport()->installEventFilter(this);
  lbDesc->setBuddy(lbxItems);

  gbEdit = new QGroupBox(this);
  btAdd = new QPushButton(gbEdit);
  btRemove = new QPushButton(gbEdit);
  btChange = new QPushButton(gbEdit);
  btDefault = new QPushButton(gbEdit);
  auto* editColumn = new QVBoxLayout(gbEdit);
  for (QPushButton* b : {btAdd, btRemove, btChange, btDefault}) {
    b->setAutoDefault(false);
    editColumn->addWidget(b);
  }

  gbMove = new QGroupBox(this);
  btUp = new QToolButton(gbMove);
  btUp->setArrowType(Qt::UpArrow);
  btDown = new QToolButton(gbMove);
  btDown->setArrowType(Qt::DownArrow);
  auto* moveRow = new QHBoxLayout(gbMove);
  moveRow->addStretch(1);
  moveRow->addWidget(btUp);
  moveRow->addWidget(btDown);
  moveRow->addStretch(1);

  lbHint = new QLabel(this);
  lbHint->setWordWrap(true);
  btPrompt = new QPushButton(this);
  btOk = new QPushButton(this);
  btCancel = new QPushButton(this);
  btPrompt->setAutoDefault(false);
  btCancel->setAutoDefault(false);
  btOk->setDefault(true);

  FRightColumn = new QVBoxLayout;
  FRightColumn->setSpacing(dist);
  FRightColumn->addWidget(gbEdit);
  FRightColumn->addWidget(gbMove);
  FRightColumn->addWidget(lbHint);
  FRightColumn->addStretch(1);
  auto* closing = new QVBoxLayout;
  closing->setSpacing(4);
  closing->addWidget(btPrompt);
  closing->addWidget(btOk);
  closing->addWidget(btCancel);
  FRightColumn->addLayout(closing);

  auto* left = new QVBoxLayout;
  left->addWidget(lbDesc);
  left->addWidget(lbxItems, 1);
  auto* main = new QHBoxLayout(this);
  main->addLayout(left, 1);
  main->addLayout(FRightColumn);

  connect(btAdd, &QPushButton::clicked, this, &TSelectFromListDialog::AddItem);
  connect(btRemove, &QPushButton::clicked, this, &TSelectFromListDialog::RemoveItem);
  connect(btChange, &QPushButton::clicked, this, &TSelectFromListDialog::ChangeItem);
  connect(btDefault, &QPushButton::clicked, this, &TSelectFromListDialog::ResetToDefault);
  connect(btUp, &QToolButton::clicked, this, &TSelectFromListDialog::MoveUp);
  connect(btDown, &QToolButton::clicked, this, &TSelectFromListDialog::MoveDown);
  connect(btPrompt, &QPushButton::clicked, this, [this] { done(mrPrompt); });
  connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(lbxItems, &QListWidget::itemDoubleClicked, this, [this] { EditAt(MousePos()); });

  RetranslateUi();
  resize(DesignClientWidth, DesignClientHeight);
}

void TSelectFromListDialog::RetranslateUi() {
  if (!FOwnTitle) setWindowTitle(QtDialogsText("Select item from list"));
  gbEdit->setTitle(QtDialogsText("Edit items"));
  btAdd->setText(QtDialogsText("Add"));
  btAdd->setToolTip(QtDialogsText("Add item"));
  btRemove->setText(QtDialogsText("Remove"));
  btRemove->setToolTip(QtDialogsText("Remove item"));
  btChange->setText(QtDialogsText("Change"));
  btChange->setToolTip(QtDialogsText("Edit item"));
  btDefault->setText(QtDialogsText("Default"));
  btDefault->setToolTip(QtDialogsText("Reset to default values"));
  gbMove->setTitle(QtDialogsText("Move item"));
  btUp->setToolTip(QtDialogsText("Move item up"));
  btDown->setToolTip(QtDialogsText("Move item down"));
  btPrompt->setText(QtDialogsText("Prompt"));
  btOk->setText(QtDialogsText("OK"));
  btCancel->setText(QtDialogsText("Cancel"));
}

void TSelectFromListDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) RetranslateUi();
  QDialog::changeEvent(event);
}

bool TSelectFromListDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lbxItems->viewport() && event->type() == QEvent::Resize) FitColumns();
  return QDialog::eventFilter(watched, event);
}

int TSelectFromListDialog::Execute(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint,
                                   TSelectOptions Options, int ACols, TTextChange Convert, const QString& Default,
                                   QStringList& SList, QString& AText, bool ShowCancel, TCheckEntry CheckEntry) {
  TSelectFromListArgs args;
  args.Pos = APos;
  args.Title = Titel;
  args.Desc = Desc;
  args.Hint = Hint;
  args.Options = Options;
  args.Cols = ACols;
  args.Convert = Convert;
  args.Default = Default;
  args.ShowCancel = ShowCancel;
  args.CheckEntry = std::move(CheckEntry);
  return Dialogs().SelectFromList(*this, args, SList, AText);
}

int TSelectFromListDialog::Run(const TSelectFromListArgs& args, QStringList& SList, QString& AText) {
  FOwnTitle = !args.Title.isEmpty();
  setWindowTitle(FOwnTitle ? args.Title : QtDialogsText("Select item from list"));
  btCancel->setVisible(args.ShowCancel);
  FCheckEntry = args.CheckEntry;
  FText.clear();

  FDesc = args.Desc;
  lbDesc->setText(args.Desc);
  lbDesc->setVisible(!args.Desc.isEmpty());
  lbxItems->setToolTip(args.Desc);
  lbHint->setText(args.Hint);
  lbHint->setVisible(!args.Hint.isEmpty());
  lbHint->setFocusPolicy(args.Hint.isEmpty() ? Qt::NoFocus : Qt::TabFocus);

  FEdit = args.Options.testFlag(soEdit);
  btPrompt->setVisible(args.Options.testFlag(soPrompt));
  gbEdit->setVisible(FEdit);
  gbMove->setVisible(args.Options.testFlag(soOrder));
  DefDelimitedText = args.Default;
  btDefault->setVisible(!args.Default.isEmpty());

  lbxItems->clear();
  lbxItems->addItems(SList);
  SetColumns(args.Cols);
  lbxItems->setSelectionMode(args.Options.testFlag(soMulti) ? QAbstractItemView::ExtendedSelection
                                                            : QAbstractItemView::SingleSelection);
  lbxItems->clearSelection();
  lbxItems->setCurrentRow(-1);
  for (int i = 0; i < lbxItems->count(); ++i)
    if (lbxItems->item(i)->text().compare(AText, Qt::CaseInsensitive) == 0) {
      SelectRow(i);
      break;
    }

  // Height: the visible parts of the right-hand column (hidden ones leave no gap).
  layout()->activate();
  const QMargins m = layout()->contentsMargins();
  resize(DesignClientWidth, std::max(FRightColumn->minimumSize().height() + m.top() + m.bottom(),
                                     minimumSizeHint().height()));
  PlaceWidget(this, args.Pos, pkDialog);
  lbxItems->setFocus();

  const int result = Dialogs().ExecDialog(*this);
  if (result == mrCancel) return mrCancel;
  QStringList entries = Entries();
  if (args.Convert != tcNone)
    for (QString& e : entries) e = args.Convert == tcLower ? e.toLower() : e.toUpper();
  if (FEdit) SList = entries;
  QStringList chosen;
  for (int i = 0; i < lbxItems->count(); ++i)
    if (lbxItems->item(i)->isSelected()) chosen << entries[i];
  if (!args.Options.testFlag(soMulti) && chosen.size() > 1) chosen = chosen.mid(0, 1);
  FText = chosen.join(QLatin1Char('|'));
  AText = FText;
  return result == mrPrompt ? mrPrompt : mrOk;
}

QStringList TSelectFromListDialog::Entries() const {
  QStringList entries;
  for (int i = 0; i < lbxItems->count(); ++i) entries << lbxItems->item(i)->text();
  return entries;
}

QStringList TSelectFromListDialog::SplitDefaultList(const QString& text) {
  QStringList entries;
  const auto separator = [](QChar c) { return c == QLatin1Char(',') || c.isSpace(); };
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    while (i < n && separator(text[i])) ++i;
    if (i >= n) break;
    QString entry;
    while (i < n && !separator(text[i])) {
      if (text[i] == QLatin1Char('"')) {
        ++i;
        while (i < n) {
          if (text[i] == QLatin1Char('"')) {
            if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
              entry += QLatin1Char('"');
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          entry += text[i++];
        }
      } else {
        entry += text[i++];
      }
    }
    if (!entry.isEmpty()) entries << entry;
  }
  return entries;
}

void TSelectFromListDialog::SetColumns(int cols) {
  FCols = std::max(cols, 1);
  if (FCols == 1) {
    lbxItems->setFlow(QListView::TopToBottom);
    lbxItems->setWrapping(false);
    lbxItems->setGridSize(QSize());
  } else {
    // Entries run down the first column, then the next, scrolling sideways.
    lbxItems->setFlow(QListView::TopToBottom);
    lbxItems->setWrapping(true);
    lbxItems->setResizeMode(QListView::Adjust);
  }
  FitColumns();
}

void TSelectFromListDialog::FitColumns() {
  if (FCols <= 1) return;
  const QSize grid(std::max(lbxItems->viewport()->width() / FCols, 20), lbxItems->fontMetrics().height() + 4);
  if (lbxItems->gridSize() != grid) lbxItems->setGridSize(grid);
}

bool TSelectFromListDialog::Accepts(const QString& text) const { return !FCheckEntry || FCheckEntry(text); }

void TSelectFromListDialog::RejectEntry(const QString& text) {
  ErrorMsg(QSafeFormat(QtDialogsText("Invalid entry: \"%s\""), text), MousePos(), QString(), this);
}

QPoint TSelectFromListDialog::ButtonPoint(const QWidget* button) const { return BelowLeft(button, -100, 10); }

int TSelectFromListDialog::CurrentRow() const {
  const QList<QListWidgetItem*> selected = lbxItems->selectedItems();
  if (selected.isEmpty()) return -1;
  QListWidgetItem* current = lbxItems->currentItem();
  if (current && current->isSelected()) return lbxItems->row(current);
  return lbxItems->row(selected.constFirst());
}

void TSelectFromListDialog::SelectRow(int row) {
  lbxItems->clearSelection();
  if (row < 0 || row >= lbxItems->count()) {
    lbxItems->setCurrentRow(-1);
    return;
  }
  lbxItems->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  lbxItems->scrollToItem(lbxItems->item(row));
}

void TSelectFromListDialog::AddItem() {
  QString text;
  if (!InputString(ButtonPoint(btAdd), QtDialogsText("Add item"), FDesc, text, this)) return;
  if (!Accepts(text)) {
    RejectEntry(text);
    return;
  }
  lbxItems->addItem(text);
  SelectRow(lbxItems->count() - 1);
}

void TSelectFromListDialog::RemoveItem() {
  if (lbxItems->selectionMode() != QAbstractItemView::SingleSelection) {
    const QList<QListWidgetItem*> selected = lbxItems->selectedItems();
    if (selected.isEmpty()) return;
    if (!ConfirmMsg(QtDialogsText("Remove all selected items?"), ButtonPoint(btRemove), QString(), this)) return;
    for (QListWidgetItem* item : selected) delete lbxItems->takeItem(lbxItems->row(item));
    return;
  }
  const int row = CurrentRow();
  if (row < 0) return;
  const QString entry = lbxItems->item(row)->text();
  if (!ConfirmMsg(QSafeFormat(QtDialogsText("Remove item: \"%s\"?"), entry), ButtonPoint(btRemove), QString(), this))
    return;
  delete lbxItems->takeItem(row);
  SelectRow(std::min(row, lbxItems->count() - 1));
}

void TSelectFromListDialog::ChangeItem() {
  const int row = CurrentRow();
  if (row < 0) return;
  QString text = lbxItems->item(row)->text();
  if (!InputString(ButtonPoint(btChange), QtDialogsText("Edit item"), FDesc, text, this)) return;
  if (!Accepts(text)) {
    RejectEntry(text);
    return;
  }
  lbxItems->item(row)->setText(text);
}

void TSelectFromListDialog::ResetToDefault() {
  if (!ConfirmMsg(QtDialogsText("Reset to default values") + QLatin1Char('?'), ButtonPoint(btDefault), QString(),
                  this))
    return;
  lbxItems->clear();
  lbxItems->addItems(SplitDefaultList(DefDelimitedText));
  SelectRow(-1);
}

void TSelectFromListDialog::SwapRows(int a, int b) {
  QListWidgetItem* upper = lbxItems->takeItem(std::max(a, b));
  lbxItems->insertItem(std::min(a, b), upper);
}

void TSelectFromListDialog::MoveUp() {
  const int row = CurrentRow();
  if (row <= 0) return;
  SwapRows(row - 1, row);
  SelectRow(row - 1);
}

void TSelectFromListDialog::MoveDown() {
  const int row = CurrentRow();
  if (row < 0 || row >= lbxItems->count() - 1) return;
  SwapRows(row, row + 1);
  SelectRow(row + 1);
}

void TSelectFromListDialog::EditAt(QPoint mousePos) {
  if (!FEdit) {
    accept();
    return;
  }
  const int row = CurrentRow();
  if (row < 0) return;
  QString text = lbxItems->item(row)->text();
  if (!InputString(mousePos + QPoint(-20, 20), QtDialogsText("Edit item"), FDesc, text, this)) return;
  // The entry check applies here as for "Change": a double click must not let a rejected text in.
  if (!Accepts(text)) {
    RejectEntry(text);
    return;
  }
  lbxItems->item(row)->setText(text);
}
