// TBreakpointDialog ("Breakpoint"): the kind, the first and last word, the condition and the
// count of one breakpoint, for adding a breakpoint and for changing one. The addresses and the
// numbers of the condition are read in the number base of the window that opened it.
#pragma once
#include <QDialog>
#include <functional>

#include "Breakpoint.h"
#include "NumberUtils.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TMachineController;

class TBreakpointDialog : public QDialog {
  Q_OBJECT
public:
  // Sets the breakpoint the dialog shows, the way the window wants it set; false with the reason
  // when refused (a condition that does not parse): the dialog stays open and shows the reason.
  using TApply = std::function<bool(const TBreakpoint& B, std::string& Error)>;

  // The addresses are read by the controller (a number in the base or a label).
  explicit TBreakpointDialog(const TMachineController& controller, QWidget* parent = nullptr);

  // Runs modally through the dialog service at Pos with B's values; OK hands the values to Apply
  // and closes once Apply took them. True when they were taken (B holds them then).
  bool Execute(QPoint Pos, TNumMode Base, TBreakpoint& B, const TApply& Apply);

  QComboBox* cbKind;
  QLineEdit* edFirst;
  QLineEdit* edLast;
  QLineEdit* edCondition;
  QSpinBox* edCount;
  QPushButton* btOk;
  QPushButton* btCancel;

  void done(int result) override;

protected:
  void changeEvent(QEvent* event) override;

private:
  void RetranslateUi();
  void KindChanged();
  // The values as typed; false (the reason shown, the field focused) when an address is wrong.
  bool Read(TBreakpoint& B);

  QLabel* lbKind;
  QLabel* lbFirst;
  QLabel* lbLast;
  QLabel* lbCondition;
  QLabel* lbCount;
  const TMachineController& FController;
  TNumMode FBase = nmOctal;
  TBreakpoint FEntry;
  TApply FApply;
};
