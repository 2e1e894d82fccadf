// Table models over the core's debugging lists: the trace ring, the watch list and the breakpoint
// list. Each model keeps the row count its view knows (changed by SetRows, which inserts or
// removes rows and never resets), and reads the texts of a row from the core only when the view
// paints it. A row at or past the core's live count has no texts, so a view that missed an update
// (hidden, cleared, a dump loaded) never reads past a list.
#pragma once
#include <QAbstractTableModel>
#include <QString>

#include "NovaMachine.h"
#include "NumberUtils.h"

class TMachineController;

class TDebugListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TDebugListModel(TNovaMachine& Machine, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The number of entries the core's list has now.
  virtual int LiveCount() const = 0;
  // The text of a cell; empty for a row past the live count.
  virtual QString CellText(int row, int column) const = 0;
  // The translated column caption.
  virtual QString Caption(int column) const = 0;
  // The column of the disassembly (it widens by a label's room while labels are shown).
  virtual int CommandColumn() const = 0;

  // UpdateView's part: inserts or removes rows at the end so that the view has count rows.
  void SetRows(int count);
  // The visible rows show the lists again (contents or captions changed).
  void Repaint();

  TNumMode NumFormat() const { return FNumFormat; }
  void SetNumFormat(TNumMode mode);
  // The controller whose symbols name the places and operands of the command column.
  void SetLabels(const TMachineController* controller) { FLabels = controller; }

protected:
  bool Live(int row) const { return row >= 0 && row < FRows && row < LiveCount(); }
  QString Word(std::uint16_t value) const;
  // The command column's text: the disassembly, with labels when the controller shows them.
  QString Command(int addr, std::uint16_t word) const;
  TNovaMachine& FMachine;
  const TMachineController* FLabels = nullptr;
  TNumMode FNumFormat = nmOctal;

private:
  int FRows = 0;
};

// The trace, oldest record first: "PC", "Command", "C", "AC0" .. "AC3".
class TTraceModel : public TDebugListModel {
  Q_OBJECT
public:
  enum { colPC, colCommand, colCarry, colAC0, colAC1, colAC2, colAC3, colCount };
  using TDebugListModel::TDebugListModel;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  int LiveCount() const override { return FMachine.TraceCount(); }
  int CommandColumn() const override { return colCommand; }
  QString CellText(int row, int column) const override;
  QString Caption(int column) const override;
};

// The watch list in address order: the alert and changed marks (painted), "Address", "Contents",
// "Command".
class TWatchModel : public TDebugListModel {
  Q_OBJECT
public:
  enum { colMarks, colAddress, colContents, colCommand, colCount };
  using TDebugListModel::TDebugListModel;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  int LiveCount() const override { return int(FMachine.Watch.size()); }
  int CommandColumn() const override { return colCommand; }
  QString CellText(int row, int column) const override;
  QString Caption(int column) const override;
  // The watch of a row; nullptr past the live count.
  const TWatchMem* Entry(int row) const;
};

// The breakpoints of every kind, by first word, kind and last word: "Kind", "Address" (a word or
// a range A-B), "Contents" and "Command" of the first word, "Condition", "Hits" (the hits since
// the reset, and the count a breakpoint stops at when it has one: "2/5").
class TBpModel : public TDebugListModel {
  Q_OBJECT
public:
  enum { colKind, colAddress, colContents, colCommand, colCondition, colHits, colCount };
  using TDebugListModel::TDebugListModel;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  int LiveCount() const override { return int(FMachine.Breakpoints().size()); }
  int CommandColumn() const override { return colCommand; }
  QString CellText(int row, int column) const override;
  QString Caption(int column) const override;
  // The breakpoint of a row; nullptr past the live count.
  const TBreakpoint* Entry(int row) const;
  // The first word of a row's breakpoint; -1 past the live count.
  int Address(int row) const;
};
