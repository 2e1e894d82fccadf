#include "MemoryModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "Fonts.h"
#include "MachineController.h"
#include "NovaUtils.h"
#include "QtText.h"

TMemoryModel::TMemoryModel(TMachineController& Controller, QObject* parent)
    : QAbstractTableModel(parent),
      FController(Controller),
      FMachine(Controller.Machine()),
      FRows(Controller.Machine().MemSize) {}

int TMemoryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRows; }

int TMemoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QString TMemoryModel::CellText(int row, int column) const {
  if (row < 0 || row >= FRows || row >= MemoryWords) return QString();
  const TWord data = FMachine.Memory[row].Data;
  switch (column) {
    case colAddress: return QString::fromLatin1(FormatWord(row, FNumFormat).c_str());
    case colContents: return QString::fromLatin1(FormatWord(data, FNumFormat).c_str());
    case colCommand: return FController.CommandText(row, data, FNumFormat);
    default: return QString();
  }
}

QVariant TMemoryModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
  return CellText(index.row(), index.column());
}

void TMemoryModel::SetNumFormat(TNumMode mode) {
  FNumFormat = mode;
  Fill();
}

void TMemoryModel::Fill() {
  const int rows = FMachine.MemSize;
  if (rows != FRows) {
    // Only a size change resets the model; a refill just repaints what is visible.
    if (rows > FRows) {
      beginInsertRows(QModelIndex(), FRows, rows - 1);
      FRows = rows;
      endInsertRows();
    } else {
      beginRemoveRows(QModelIndex(), rows, FRows - 1);
      FRows = rows;
      endRemoveRows();
    }
  }
  if (FRows > 0) emit dataChanged(index(0, 0), index(FRows - 1, 3), {Qt::DisplayRole});
}

// ---- painting

int TMemoryDelegate::DataStopRow() const {
  if (FMachine.Running() || FMachine.LastStopReason() != srData) return -1;
  return FMachine.LastDataStop().Addr;
}

TMemoryDelegate::TMemoryDelegate(TMemoryView* view, TNovaMachine& Machine)
    : QStyledItemDelegate(view), FView(view), FMachine(Machine) {}

void TMemoryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int row = index.row();
  const QPalette& pal = FView->palette();
  QColor bg;
  if (FView->Greyed())
    bg = pal.color(QPalette::Button);
  else if (row == FMachine.PC)
    bg = QColor(255, 157, 157);
  else if (row == DataStopRow())
    bg = QColor(255, 214, 110);
  else if (row == FView->SelectedRow())
    bg = QColor(187, 196, 217);
  else if (FView->selectionModel() && FView->selectionModel()->isSelected(index))
    bg = QColor(191, 232, 162);
  else
    bg = pal.color(QPalette::Base);
  const QRect r = option.rect;
  painter->fillRect(r, bg);
  if (index.column() == TMemoryModel::colMark) {
    if (row < MemoryWords && (FMachine.Memory[row].Flags & DataBreakFlags)) {
      // A data breakpoint: a square, below an execute breakpoint's circle.
      painter->save();
      painter->setPen(QPen(QColor(150, 90, 0), 1));
      painter->setBrush(QColor(255, 170, 0));
      painter->drawRect(QRect(QPoint(r.left() + 3, r.top() + 3), QPoint(r.left() + r.height() - 3, r.bottom() - 3)));
      painter->restore();
    }
    if (row < MemoryWords && (FMachine.Memory[row].Flags & BreakpointFlag)) {
      painter->save();
      painter->setRenderHint(QPainter::Antialiasing, true);
      painter->setPen(QPen(Qt::black, 1));
      painter->setBrush(QColor(255, 0, 0));
      painter->drawEllipse(QRect(QPoint(r.left() + 2, r.top() + 2), QPoint(r.left() + r.height() - 2, r.bottom() - 2)));
      painter->restore();
    }
    return;
  }
  painter->setPen(pal.color(QPalette::Text));
  painter->setFont(option.font);
  painter->drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                    static_cast<const TMemoryModel*>(index.model())->CellText(row, index.column()));
}

// ---- view

TMemoryView::TMemoryView(TMachineController& Controller, QWidget* parent)
    : QTableView(parent), FMachine(Controller.Machine()) {
  setObjectName("sgMemory");
  FModel = new TMemoryModel(Controller, this);
  setModel(FModel);
  setItemDelegate(new TMemoryDelegate(this, FMachine));
  setFont(PixelFont("Courier New", 13));
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FitRowHeight();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setColumnWidth(0, 16);
  setColumnWidth(1, 60);
  setColumnWidth(2, 60);
  setShowGrid(true);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrap(false);
  setTabKeyNavigation(false);
  setCurrentIndex(FModel->index(0, 2));
  const auto repaint = [this] { viewport()->update(); };
  connect(&Controller, &TMachineController::OnWordsChanged, this, repaint);
  connect(&Controller, &TMachineController::OnRegistersChanged, this, repaint);
  connect(&Controller, &TMachineController::OnBreakpointCountChanged, this, repaint);
  connect(&Controller, &TMachineController::OnRunStateChanged, this, repaint);
  connect(&Controller, &TMachineController::OnSymbolsChanged, this, repaint);
  connect(&Controller, &TMachineController::OnMemoryChanged, FModel, &TMemoryModel::Fill);
  connect(&Controller, &TMachineController::OnMemorySizeChanged, FModel, &TMemoryModel::Fill);
}

bool TMemoryView::Greyed() const { return FMachine.Running() && !FMachine.ShowEachStep; }

int TMemoryView::SelectedRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

int TMemoryView::SelectedColumn() const { return currentIndex().isValid() ? currentIndex().column() : 2; }

void TMemoryView::SelectRow(int row) {
  if (row < 0 || row >= FModel->rowCount()) return;
  const int col = currentIndex().isValid() ? currentIndex().column() : 2;
  setCurrentIndex(FModel->index(row, col));
  scrollTo(FModel->index(row, col));
  viewport()->update();
}

void TMemoryView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  const int row = index.row();
  const int top = TopRow();
  const int v = VisibleRows();
  switch (hint) {
    case PositionAtTop: SetTopRow(row); break;
    case PositionAtBottom: SetTopRow(row - v + 1); break;
    case PositionAtCenter: SetTopRow(row - v / 2); break;
    case EnsureVisible:
      if (row < top)
        SetTopRow(row);
      else if (row > top + v - 1)
        SetTopRow(row - v + 1);
      break;
  }
}

int TMemoryView::TopRow() const { return verticalScrollBar()->value(); }

void TMemoryView::SetTopRow(int row) { verticalScrollBar()->setValue(std::max(0, row)); }

int TMemoryView::RowHeight() const { return std::max(1, verticalHeader()->defaultSectionSize()); }

int TMemoryView::VisibleRows() const { return std::max(1, viewport()->height() / RowHeight()); }

void TMemoryView::FitRowHeight() {
  const int height = std::max(DefaultRowHeight, QFontMetrics(font()).height() + 1);
  // The minimum first: the header bounds a default size by the minimum it has at that moment,
  // and its own minimum follows the style's font, which may want more than 16 px.
  verticalHeader()->setMinimumSectionSize(height);
  verticalHeader()->setDefaultSectionSize(height);
}

void TMemoryView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  // The view repaints only the two cells; the selected row's colour spans all four columns.
  for (const QModelIndex& at : {previous, current})
    if (at.isValid()) viewport()->update(QRect(0, rowViewportPosition(at.row()), viewport()->width(), RowHeight()));
}

void TMemoryView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitRowHeight();
}

std::pair<int, int> TMemoryView::SelectionRange() const {
  int first = SelectedRow(), last = first;
  if (selectionModel()) {
    const QModelIndexList list = selectionModel()->selectedIndexes();
    if (list.size() > 1) {
      first = last = list.front().row();
      for (const QModelIndex& i : list) {
        first = std::min(first, i.row());
        last = std::max(last, i.row());
      }
    }
  }
  return {std::max(first, 0), std::max(last, 0)};
}

void TMemoryView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex at = indexAt(event->position().toPoint());
  const int before = SelectedRow();
  if (!at.isValid()) return;  // below the last row: nothing selected or pushed
  if (event->button() == Qt::LeftButton) QTableView::mousePressEvent(event);
  emit CellPressed(event->button(), at.row(), at.column(), event->globalPosition().toPoint(), before);
}

void TMemoryView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex at = indexAt(event->position().toPoint());
  if (!at.isValid() || event->button() != Qt::LeftButton) return;
  setCurrentIndex(at);
  emit CellActivated(at.row(), at.column());
}

void TMemoryView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
    const QModelIndex at = currentIndex();
    emit CellActivated(at.row(), at.column());
    if (at.row() < FModel->rowCount() - 1) setCurrentIndex(FModel->index(at.row() + 1, at.column()));
    return;
  }
  QTableView::keyPressEvent(event);
}

void TMemoryView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  setColumnWidth(3, std::max(60, viewport()->width() - 136));
}
