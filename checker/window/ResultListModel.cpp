#include "ResultListModel.h"

#include "QtText.h"
#include "SafeFormat.h"
#include "Translate.h"

TResultListModel::TResultListModel(QObject* parent) : QAbstractListModel(parent) {}

void TResultListModel::ClearLines() {
  beginResetModel();
  FText.clear();
  FStarts.clear();
  FShown = 0;
  FLeftOut = 0;
  FLeftOutReported = false;
  FSelection = -1;
  endResetModel();
}

void TResultListModel::AppendLine(const std::string& line) {
  if (FStarts.size() >= FLineLimit || FText.size() + line.size() > FByteLimit) {
    ++FLeftOut;
    return;
  }
  Store(line);
}

void TResultListModel::Store(const std::string& line) {
  FStarts.push_back(FText.size());
  FText += line;
}

void TResultListModel::SelectLastLine() {
  // A line that was left out cannot be selected; the selection stays where it was.
  if (FLeftOut == 0 && !FStarts.empty()) FSelection = static_cast<int>(FStarts.size() - 1);
}

void TResultListModel::Flush() {
  if (FShown == FStarts.size()) return;
  beginInsertRows(QModelIndex(), static_cast<int>(FShown), static_cast<int>(FStarts.size() - 1));
  FShown = FStarts.size();
  endInsertRows();
}

void TResultListModel::FinishRun() {
  if (FLeftOut > 0 && !FLeftOutReported) {
    Store(SafeFormat(_("%u more lines left out: the list keeps at most %u lines"), FLeftOut, FLineLimit));
    FLeftOutReported = true;
    FSelection = static_cast<int>(FStarts.size() - 1);
  }
  Flush();
}

int TResultListModel::TakeSelection() {
  const int row = FSelection < static_cast<int>(FShown) ? FSelection : -1;
  if (row >= 0) FSelection = -1;
  return row;
}

int TResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(FShown);
}

std::string_view TResultListModel::StoredLine(std::size_t row) const {
  const std::size_t start = FStarts[row];
  const std::size_t end = row + 1 < FStarts.size() ? FStarts[row + 1] : FText.size();
  return std::string_view(FText).substr(start, end - start);
}

QVariant TResultListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(FShown)) return QVariant();
  return ToQString(StoredLine(static_cast<std::size_t>(index.row())));
}

QString TResultListModel::Line(int row) const {
  if (row < 0 || row >= static_cast<int>(FShown)) return QString();
  return ToQString(StoredLine(static_cast<std::size_t>(row)));
}

QStringList TResultListModel::Lines() const {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(FShown));
  for (std::size_t row = 0; row < FShown; ++row) lines << ToQString(StoredLine(row));
  return lines;
}

void TResultListModel::SetLimits(std::size_t lines, std::size_t bytes) {
  FLineLimit = lines;
  FByteLimit = bytes;
}
