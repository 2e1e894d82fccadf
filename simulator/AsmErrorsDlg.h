// TAsmErrorsDialog ("Assembler errors"): the errors of an assembly or of a symbol file in a list
// of file, line and message, which the user reads and copies ("Copy", Ctrl+C: the selected lines,
// or all of them, as FILE:LINE: message). Created for one call, run through the dialog service.
#pragma once
#include <QDialog>
#include <vector>

#include "SourceError.h"

class QLabel;
class QPushButton;
class QTreeWidget;

class TAsmErrorsDialog : public QDialog {
  Q_OBJECT
public:
  enum { colFile, colLine, colMessage };
  TAsmErrorsDialog(const QString& summary, const std::vector<TSourceError>& errors, QWidget* parent = nullptr);

  // The selected errors, or all of them when none is selected, one "FILE:LINE: message" a line.
  QString CopyText() const;
  void CopyClick();

  QLabel* lbSummary;
  QTreeWidget* lvErrors;
  QPushButton* btCopy;
  QPushButton* btClose;

private:
  std::vector<TSourceError> FErrors;
};

// Shows the errors in the dialog, modally (through the dialog service).
void ShowSourceErrors(const QString& summary, const std::vector<TSourceError>& errors, QWidget* parent);
