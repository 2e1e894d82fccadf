// TWritePrgDialog ("Write program"): the range, columns and number base of a program listing.
#pragma once
#include <QDialog>
#include <cstdint>

#include "NumberUtils.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TNumberEdit;

class TWritePrgDialog : public QDialog {
  Q_OBJECT
public:
  enum { wmAddress = 1, wmContents = 2, wmCommand = 4 };
  explicit TWritePrgDialog(QWidget* parent = nullptr);

  // Runs modally through the dialog service at Pos (negative: centred). On OK the arguments hold
  // the chosen values and the result is true. Addresses that are not valid (above 077777, or text
  // that does not read as a number) keep the dialog open with the warning sound.
  bool Execute(QPoint Pos, TNumMode& ANumMode, int& AFirst, int& ALast, int& AMode);

  TNumberEdit* edStart;
  TNumberEdit* edEnd;
  QCheckBox* cbAddress;
  QCheckBox* cbContents;
  QCheckBox* cbCommand;
  QRadioButton* rbBin;
  QRadioButton* rbOctal;
  QRadioButton* rbDecimal;
  QRadioButton* rbHex;
  QPushButton* btOk;
  QPushButton* btCancel;

  void done(int result) override;

protected:
  void changeEvent(QEvent* event) override;

private:
  void RetranslateUi();
  void SetBase(TNumMode mode);
  QLabel* lbStart;
  QLabel* lbEnd;
  QGroupBox* gbColumns;
  QGroupBox* gbNumFormat;
};
