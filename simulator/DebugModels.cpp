// The models of the trace, watch and breakpoint windows.
#include "DebugModels.h"

#include "MachineController.h"
#include "NovaUtils.h"
#include "QtText.h"

TDebugListModel::TDebugListModel(TNovaMachine& Machine, QObject* parent)
    : QAbstractTableModel(parent), FMachine(Machine) {}

int TDebugListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRows; }

QVariant TDebugListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || !Live(index.row())) return QVariant();
  return CellText(index.row(), index.column());
}

QVariant TDebugListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return QVariant();
  if (role == Qt::DisplayRole) return Caption(section);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return QVariant();
}

void TDebugListModel::SetRows(int count) {
  count = std::max(count, 0);
  if (count > FRows) {
    beginInsertRows(QModelIndex(), FRows, count - 1);
    FRows = count;
    endInsertRows();
  } else if (count < FRows) {
    beginRemoveRows(QModelIndex(), count, FRows - 1);
    FRows = count;
    endRemoveRows();
  }
}


void TDebugListModel::Repaint() {
  if (FRows > 0) emit dataChanged(index(0, 0), index(FRows - 1, columnCount() - 1), {Qt::DisplayRole});
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void TDebugListModel::SetNumFormat(TNumMode mode) {
  FNumFormat = mode == nmDecimal ? nmZeroDec : mode;
  Repaint();
}

QString TDebugListModel::Word(std::uint16_t value) const {
  char buf[20];
  return QString::fromLatin1(buf, qsizetype(FormatWordInto(buf, value, FNumFormat)));
}

QString TDebugListModel::Command(int addr, std::uint16_t word) const {
  return FLabels ? FLabels->CommandText(addr, word, nmOctal) : ToQString(CommandToStr(addr, word, nmOctal, true));
}

// ---- trace

int TTraceModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colCount; }

QString TTraceModel::CellText(int row, int column) const {
  if (!Live(row)) return QString();
  const TTraceData& t = FMachine.TraceItem(row);
  switch (column) {
    case colPC: return Word(t.PC);
    case colCommand: return Command(t.PC & 077777, t.Data);
    case colCarry: return QString(QChar('0' + (t.Carry & 7)));
    case colAC0:
    case colAC1:
    case colAC2:
    case colAC3: return Word(t.ACs[column - colAC0]);
    default: return QString();
  }
}

QString TTraceModel::Caption(int column) const {
  switch (column) {
    case colPC: return QStringLiteral("PC");
    case colCommand: return QtText("Command");
    case colCarry: return QStringLiteral("C");
    case colAC0: return QStringLiteral("AC0");
    case colAC1: return QStringLiteral("AC1");
    case colAC2: return QStringLiteral("AC2");
    case colAC3: return QStringLiteral("AC3");
    default: return QString();
  }
}

// ---- watches

int TWatchModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colCount; }

const TWatchMem* TWatchModel::Entry(int row) const { return Live(row) ? &FMachine.Watch[std::size_t(row)] : nullptr; }

QString TWatchModel::CellText(int row, int column) const {
  const TWatchMem* w = Entry(row);
  if (!w) return QString();
  switch (column) {
    case colAddress: return Word(w->Addr);
    case colContents:
      return Word(w->Data) + QStringLiteral(" (") + QString::fromLatin1(FormatByte(w->Data >> 8, FNumFormat).c_str()) +
             QChar(' ') + QString::fromLatin1(FormatByte(w->Data & 0xFF, FNumFormat).c_str()) + QChar(')');
    case colCommand: return Command(w->Addr, w->Data);
    default: return QString();
  }
}

QString TWatchModel::Caption(int column) const {
  switch (column) {
    case colAddress: return QtText("Address");
    case colContents: return QtText("Contents");
    case colCommand: return QtText("Command");
    default: return QString();
  }
}

// ---- breakpoints

int TBpModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colCount; }

const TBreakpoint* TBpModel::Entry(int row) const {
  return Live(row) ? &FMachine.Breakpoints()[std::size_t(row)] : nullptr;
}

int TBpModel::Address(int row) const {
  const TBreakpoint* b = Entry(row);
  return b ? b->First : -1;
}

QString TBpModel::CellText(int row, int column) const {
  const TBreakpoint* b = Entry(row);
  if (!b) return QString();
  const TWord data = FMachine.ReadMemory(b->First);
  switch (column) {
    case colKind: return ToQString(BreakKindText(b->Kind));
    case colAddress: return b->Last == b->First ? Word(b->First) : Word(b->First) + QChar('-') + Word(b->Last);
    case colContents: return Word(data);
    case colCommand: return Command(b->First, data);
    case colCondition: return ToQString(b->Condition);
    case colHits: {
      QString text = QString::number(qulonglong(b->Hits));
      if (b->Count > 1) text += QChar('/') + QString::number(qulonglong(b->Count));
      return text;
    }
    default: return QString();
  }
}

QString TBpModel::Caption(int column) const {
  switch (column) {
    case colKind: return QtText("Kind");
    case colAddress: return QtText("Address");
    case colContents: return QtText("Contents");
    case colCommand: return QtText("Command");
    case colCondition: return QtText("Condition");
    case colHits: return QtText("Hits");
    default: return QString();
  }
}
