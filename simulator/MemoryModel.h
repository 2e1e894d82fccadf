// The memory grid sgMemory: a table model over the core's memory (columns "S", address, contents,
// command) and a view with uniform rows that paints its cells itself. Only the rows the view shows
// are ever formatted, so a refill costs the same at 32768 words as at 100.
//
// The view listens to the controller: written words, the registers (the PC row), breakpoints,
// the symbols and the run state repaint it, memory as a whole and its size refill it. Nobody
// refreshes it by hand. With symbols, the command column shows a row's label in front of its
// disassembly and operands by name.
//
// Rows are 16 px high, or as high as the grid's font needs when that is more; every rule of the
// view (visible rows, scrolling, the menu below a row) works from the row height it really has.
#pragma once
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include "NovaMachine.h"
#include "NumberUtils.h"

class TMachineController;

class TMemoryModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum { colMark = 0, colAddress = 1, colContents = 2, colCommand = 3 };
  explicit TMemoryModel(TMachineController& Controller, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  TNumMode NumFormat() const { return FNumFormat; }
  void SetNumFormat(TNumMode mode);
  // FillMemoryView: the row count follows MemSize, the visible rows show the memory again.
  void Fill();
  // Column texts of a row (the grid's cell texts).
  QString CellText(int row, int column) const;

private:
  TMachineController& FController;
  TNovaMachine& FMachine;
  TNumMode FNumFormat = nmOctal;
  int FRows;
};

class TMemoryView;

// Paints one cell: background by the first matching rule (greyed, PC, the word a data breakpoint
// stopped at, selected), text at 2 px, the breakpoint circle and the data breakpoint square.
class TMemoryDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  TMemoryDelegate(TMemoryView* view, TNovaMachine& Machine);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // The word the last stop by a data breakpoint was for (-1: the last stop was another).
  int DataStopRow() const;

private:
  TMemoryView* FView;
  TNovaMachine& FMachine;
};

class TMemoryView : public QTableView {
  Q_OBJECT
public:
  static constexpr int DefaultRowHeight = 16;
  TMemoryView(TMachineController& Controller, QWidget* parent = nullptr);

  TMemoryModel* Model() const { return FModel; }
  // The grid's selected row (the current cell's row; -1 for none).
  int SelectedRow() const;
  int SelectedColumn() const;
  // Selects the row (current column kept) and scrolls it into view; out-of-range rows do nothing.
  void SelectRow(int row);
  int TopRow() const;
  void SetTopRow(int row);
  int VisibleRows() const;  // fully visible rows
  // The height of every row as the view lays it out.
  int RowHeight() const;
  // First and last row of the range selection (the selected row alone without a range).
  std::pair<int, int> SelectionRange() const;
  // The whole grid greys out while the machine runs without "Show each program step".
  bool Greyed() const;
  // Whole rows: a row is scrolled just far enough to be fully visible.
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
  void CellPressed(Qt::MouseButton button, int row, int column, QPoint globalPos, int rowBefore);
  void CellActivated(int row, int column);  // double click, Enter

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  // The whole rows of the old and the new current cell take their colours again.
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
  // 16 px, or the font's line height when that is more.
  void FitRowHeight();

  TNovaMachine& FMachine;
  TMemoryModel* FModel;
};
