// The checker window's result list: the lines of a check run, kept compactly in one text buffer
// and shown by a view that asks only for the visible rows.
//
// The run appends lines at its own pace; the view learns of them in batches (Flush), when the
// window catches up. The list holds a bounded number of lines: a hostile tape can list hundreds
// of millions of contents lines, and what does not fit is counted instead and reported in one
// line at the end of the run (FinishRun).
#pragma once
#include <QAbstractListModel>
#include <cstddef>
#include <string>
#include <vector>

#include "ResultSink.h"

class TResultListModel : public QAbstractListModel, public TResultSink {
  Q_OBJECT
public:
  static constexpr std::size_t DefaultLineLimit = 1'000'000;
  static constexpr std::size_t DefaultByteLimit = 256u << 20;

  explicit TResultListModel(QObject* parent = nullptr);

  // TResultSink: what a check run reports.
  void ClearLines() override;
  void AppendLine(const std::string& line) override;
  void SelectLastLine() override;

  // Shows the lines appended since the last flush.
  void Flush();
  // At the end of a run: the line that counts the lines left out (when any were), then Flush.
  void FinishRun();
  // The row the run selected last and that the view has not been told of yet (-1: none); the
  // request is cleared.
  int TakeSelection();

  // Lines the view knows of.
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  QString Line(int row) const;
  QStringList Lines() const;
  // Lines held, shown or not yet.
  std::size_t StoredLines() const { return FStarts.size(); }
  // Lines of this run that did not fit.
  std::size_t LeftOut() const { return FLeftOut; }

  std::size_t LineLimit() const { return FLineLimit; }
  // The bounds of the list: lines and bytes of text (tests use small ones).
  void SetLimits(std::size_t lines, std::size_t bytes);

private:
  void Store(const std::string& line);
  std::string_view StoredLine(std::size_t row) const;

  std::string FText;                 // every line, one after the other
  std::vector<std::size_t> FStarts;  // where each line begins in FText
  std::size_t FShown = 0;            // lines announced to the view
  std::size_t FLeftOut = 0;
  bool FLeftOutReported = false;
  int FSelection = -1;
  std::size_t FLineLimit = DefaultLineLimit;
  std::size_t FByteLimit = DefaultByteLimit;
};
